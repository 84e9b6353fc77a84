#include "startup/recovery.h"

#include <memory>
#include <vector>

#include "container/main_window.h"
#include "imlog/im_log.h"
#include "ui/timer.h"
#include "widgets/message_box.h"

namespace startup {

namespace {

std::string Conversations(size_t n) {
  return std::to_string(n) + (n == 1 ? " conversation" : " conversations");
}

}  // namespace

std::string RecoveredNotice(const imlog::Recovery& recovery) {
  std::string notice;
  if (recovery.recovered > 0) {
    notice = "Pallion did not end properly last time. " +
             Conversations(static_cast<size_t>(recovery.recovered)) +
             (recovery.recovered == 1 ? " that was" : " that were") +
             " open then have been saved to your IM logs.";
  }
  if (!recovery.unsaved.empty()) {
    notice += std::string(notice.empty() ? "" : " ") + Conversations(recovery.unsaved.size()) +
              " from last time could not be written to the IM logs; Pallion keeps " +
              (recovery.unsaved.size() == 1 ? "it" : "them") +
              " and tries again at its next start.";
  }
  if (recovery.damaged) {
    notice += std::string(notice.empty() ? "" : " ") +
              "Part of the recovery file could not be read; it is kept as " +
              std::string(imlog::kDamagedRecoveryFile).substr(1) + " in Pallion's folder.";
  }
  return notice;
}

void AttachRecovery(container::MainWindow& main) {
  container::MainWindow* m = &main;
  auto journal = std::make_shared<imlog::RecoveryJournal>([m] {
    std::vector<platform::HWND> ims;
    for (int i = 0; i < m->List1.ListCount(); ++i) {
      if (const platform::HWND im = m->ListIM(i); im != 0) ims.push_back(im);
    }
    return ims;
  });

  imlog::Recovery recovery = imlog::RecoverJournal();
  journal->Carry(recovery.unsaved);

  auto& keeper = main.Add<ui::Timer>("TimerRecovery", imlog::RecoveryJournal::kSaveIntervalMs);
  keeper.OnTick = [journal] { journal->Update(); };
  // A new IM is in the journal at once: a program that dies before the next save would
  // otherwise leave a window whose begin line makes the next run take all of it as logged.
  main.adoptionListeners.push_back([journal](platform::HWND) { journal->Update(); });
  std::weak_ptr<imlog::RecoveryJournal> weak = journal;
  imlog::AddLogWrittenListener([weak](platform::HWND im) {
    if (auto j = weak.lock()) j->Logged(im);
  });
  // The exit's logs are written by then: what is left of the journal is what could not be.
  main.unloaders.push_back([journal] { journal->Update(); });

  const std::string notice = RecoveredNotice(recovery);
  if (notice.empty()) return;
  auto& tell = main.Add<ui::Timer>("TimerRecovered", kRecoveredNoticeMs);
  tell.OnTick = [m, &tell, notice] {
    tell.SetEnabled(false);
    widgets::ShowMessageBox(m->hwnd(), notice, 0, kRecoveredCaption);
  };
}

}  // namespace startup
