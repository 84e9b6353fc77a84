#include "online/published_text.h"

#include "platform/win32.h"
#include "platform/ansi.h"
#include "settings/settings_store.h"

namespace online {

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool LooksLikeHtml(const std::string& text) {
  if (text.empty() || text[0] != '<') return false;
  const std::string head = platform::AnsiLower(text.substr(0, 512));
  for (const char* mark : {"<!doctype", "<html", "<head", "<body", "<?xml"}) {
    if (head.find(mark) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

std::string SiteAddress() {
  std::string site = settings::ReadSetting(kSiteKey);
  while (!site.empty() && (IsSpace(site.back()) || site.back() == '/')) site.pop_back();
  while (!site.empty() && IsSpace(site.front())) site.erase(site.begin());
  return site.empty() ? kDefaultSite : site;
}

std::string SiteURL(const std::string& path) {
  const std::string site = SiteAddress();
  const std::string lower = platform::AnsiLower(site);
  const bool hasScheme = lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0;
  return (hasScheme ? "" : "http://") + site + path;
}

std::optional<std::string> PublishedText(const std::optional<std::string>& body) {
  if (!body) return std::nullopt;
  std::string text = *body;
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 && !IsSpace(c)) return std::nullopt;
  }
  size_t first = 0;
  while (first < text.size() && IsSpace(text[first])) ++first;
  size_t last = text.size();
  while (last > first && IsSpace(text[last - 1])) --last;
  text = text.substr(first, last - first);
  if (LooksLikeHtml(text)) return std::nullopt;
  return text;
}

std::optional<std::string> FetchPublished(const std::string& path) {
  return PublishedText(platform::HttpGet(SiteURL(path)));
}

VersionCheck CompareVersion(const std::optional<std::string>& published) {
  if (!published || published->empty()) return VersionCheck::Failed;
  return *published == kVersion ? VersionCheck::UpToDate : VersionCheck::UpdateAvailable;
}

}  // namespace online
