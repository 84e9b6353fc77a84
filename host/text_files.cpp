#include "host/text_files.h"

#include "platform/files.h"
#include "platform/win32.h"

namespace host {

std::optional<std::string> LoadTextFile(const std::string& path) {
  std::optional<std::string> content = platform::files::ReadAll(path);
  if (!content) return std::nullopt;
  if (!content->empty() && content->back() == '\n') content->pop_back();
  if (!content->empty() && content->back() == '\r') content->pop_back();
  return content;
}

bool SaveTextFile(const std::string& path, const std::string& text) {
  return platform::files::WriteAll(path, text + "\r\n");
}

namespace {

std::string Trimmed(const std::string& item) {
  size_t first = item.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  size_t last = item.find_last_not_of(" \t");
  return item.substr(first, last - first + 1);
}

}  // namespace

bool LoadList(const std::string& path, const std::function<void(const std::string&)>& add) {
  std::optional<std::string> content = platform::files::ReadAll(path);
  if (!content) return false;
  size_t start = 0;
  while (start < content->size()) {
    size_t end = content->find_first_of("\r\n,", start);
    if (end == std::string::npos) end = content->size();
    std::string item = Trimmed(content->substr(start, end - start));
    start = end + 1;
    if (end + 1 < content->size() && (*content)[end] == '\r' && (*content)[end + 1] == '\n') {
      ++start;
    }
    if (item.empty()) continue;
    if (add) add(item);
    platform::DoEvents();
  }
  return true;
}

bool SaveList(const std::string& path, const std::vector<std::string>& items) {
  std::string content;
  for (const std::string& item : items) content += item + "\r\n";
  return platform::files::WriteAll(path, content);
}

}  // namespace host
