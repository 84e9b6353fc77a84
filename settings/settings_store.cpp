#include "settings/settings_store.h"

#include <charconv>

#include "platform/ansi.h"
#include "platform/files.h"
#include "platform/ini_file.h"

namespace settings {

namespace {

// What the platform's buffer of 750 characters holds: 749 and the final NUL.
constexpr size_t kReadBufferSize = 750;

std::optional<int32_t> ParseWholeNumber(const std::string& text) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return std::nullopt;
  size_t end = text.find_last_not_of(' ') + 1;
  const bool plus = text[begin] == '+';
  if (plus) ++begin;
  if (begin >= end || (plus && (text[begin] < '0' || text[begin] > '9'))) return std::nullopt;
  int32_t number = 0;
  const char* first = text.data() + begin;
  const char* last = text.data() + end;
  auto [stop, error] = std::from_chars(first, last, number);
  if (error != std::errc() || stop != last) return std::nullopt;
  return number;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::string FolderPath(const std::string& relative) {
  std::string folder = platform::files::ProgramFolder();
  if (!folder.empty() && folder.back() == '\\' && !relative.empty() && relative.front() == '\\') {
    folder.pop_back();
  }
  return folder + relative;
}

std::string SettingsPath() {
  return FolderPath(kSettingsFile);
}

std::string ReadINI(const std::string& section, const std::string& key,
                    const std::string& filePath) {
  const std::string lowerKey = platform::AnsiLower(key);
  return platform::ini::GetProfileString(platform::files::ReadAll(filePath), section.c_str(),
                                         lowerKey.c_str(), "", kReadBufferSize);
}

bool WriteINI(const std::string& section, const std::string& key, const std::string& value,
              const std::string& filePath) {
  std::optional<std::string> content = platform::files::ReadAll(filePath);
  // A file that is there but cannot be read is never replaced by one holding a single key.
  if (!content && platform::files::Exists(filePath)) return false;
  if (!content) {
    const std::string folder = FolderOf(filePath);
    if (!folder.empty() && !platform::files::IsDirectory(folder)) return false;
  }
  const std::string upperKey = platform::AnsiUpper(key);
  const std::string stored = value.substr(0, value.find_first_of("\r\n"));
  std::optional<std::string> updated =
      platform::ini::WriteProfileString(content, section.c_str(), upperKey.c_str(), stored.c_str());
  if (!updated) return false;
  return updated == content || platform::files::WriteAll(filePath, *updated);
}

std::string ReadSetting(const std::string& key) {
  return ReadINI(kGeneral, key, SettingsPath());
}

bool WriteSetting(const std::string& key, const std::string& value) {
  return WriteINI(kGeneral, key, value, SettingsPath());
}

bool ReadFlag(const std::string& key, bool whenOther) {
  const std::string text = ReadSetting(key);
  if (text == "1") return true;
  if (text == "0") return false;
  return whenOther;
}

std::optional<int32_t> ReadNumber(const std::string& key) {
  return ParseWholeNumber(ReadSetting(key));
}

std::optional<int32_t> ReadColor(const std::string& key) {
  return ReadNumber(key);
}

bool ReadUseTabs() {
  return ReadSetting(keys::kStyle) == "1";
}

bool ReadGraphical() {
  return ReadSetting(keys::kGraphical) != "1";
}

int ReadNumOfColors() {
  const std::string text = ReadSetting(keys::kNumOfColors);
  if (text == "2") return 2;
  if (text == "3") return 3;
  return 4;
}

std::optional<Place> ReadPlace() {
  std::optional<int32_t> left = ReadNumber(keys::kLeft);
  std::optional<int32_t> top = ReadNumber(keys::kTop);
  std::optional<int32_t> width = ReadNumber(keys::kWidth);
  std::optional<int32_t> height = ReadNumber(keys::kHeight);
  if (!left || !top || !width || !height) return std::nullopt;
  return Place{*left, *top, *width, *height};
}

bool WritePlace(const Place& place) {
  // Each key is tried even when one before it failed.
  bool written = WriteSetting(keys::kLeft, std::to_string(place.left));
  written &= WriteSetting(keys::kTop, std::to_string(place.top));
  written &= WriteSetting(keys::kWidth, std::to_string(place.width));
  written &= WriteSetting(keys::kHeight, std::to_string(place.height));
  return written;
}

}  // namespace settings
