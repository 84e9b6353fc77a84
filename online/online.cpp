#include "online/online.h"

#include <memory>

#include "host/window_access.h"
#include "online/live_update.h"
#include "online/promotion.h"
#include "online/published_text.h"
#include "settings/settings_store.h"

namespace online {

namespace {
// ReadINI gives back at most this many characters.
constexpr size_t kStoredLimit = 749;
}  // namespace

std::string StoredAnnouncement(const std::string& text) {
  std::string line;
  for (size_t i = 0; i < text.size() && line.size() < kStoredLimit; ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      line += ' ';
    } else {
      line += c;
    }
  }
  return line;
}

void UrgentNewsCheck::Tick() {
  if (!armed_) {
    armed_ = true;
    return;
  }
  if (host::GetUserSN().empty()) return;
  // Stopped before the fetch, which may let events run: the check runs once.
  main_.TimerUrgentNews.SetEnabled(false);
  const std::optional<std::string> news = FetchPublished(kNewsFile);
  if (!news || news->empty()) return;
  const std::string stored = StoredAnnouncement(*news);
  if (stored == settings::ReadSetting(settings::keys::kUrgentNews)) return;
  LiveUpdate().ShowAnnouncement(*news);
  settings::WriteSetting(settings::keys::kUrgentNews, stored);
}

void ShowLiveUpdate() {
  LiveUpdate().ShowUpdateCheck();
}

void Attach(container::MainWindow& main) {
  auto news = std::make_shared<UrgentNewsCheck>(main);
  main.TimerUrgentNews.OnTick = [news] { news->Tick(); };
  container::MainWindow* target = &main;
  main.TimerAdvertise.OnTick = [target] { TimerAdvertiseTick(*target); };
  main.TimerTellaFriend.OnTick = [target] { TimerTellaFriendTick(*target); };
  // The start's advert: the timer runs once the main window has loaded.
  main.TimerAdvertise.SetEnabled(true);
  main.unloaders.push_back([] { DestroyLiveUpdate(); });
}

}  // namespace online
