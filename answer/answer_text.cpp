#include "answer/answer_text.h"

#include "host/text.h"
#include "platform/ansi.h"

namespace answer {

std::string AnswerLink() {
  return std::string("<A HREF=") + kWebSiteHost + ">" + kLinkText + "</A>";
}

std::string NormalizeName(const std::string& name) {
  std::string lower = platform::AnsiLower(name);
  host::ReplaceText(lower, " ", "");
  return lower;
}

bool SameName(const std::string& a, const std::string& b) {
  return NormalizeName(a) == NormalizeName(b);
}

std::string GeneralAnswer(std::string message, const std::string& screenName) {
  host::ReplaceText(message, "{SN}", screenName);
  return message + "\r" + AnswerLink();
}

std::string PersonalAnswer(std::string message) {
  if (!message.empty() && message.back() == '\n') message.pop_back();
  if (!message.empty() && message.back() == '\r') message.pop_back();
  return message + "\r" + AnswerLink();
}

bool HasMessageText(const std::string& message) {
  return message.find_first_not_of(" \t\r\n") != std::string::npos;
}

std::optional<std::string> MessageFile(const std::string& folder, const std::string& name) {
  if (name.find_first_of("\\/:") != std::string::npos) return std::nullopt;
  if (name == "." || name == "..") return std::nullopt;
  return folder + name + ".Mes";
}

bool EndsWithAutoAnswer(const std::string& conversation) {
  size_t end = conversation.size();
  while (end > 0) {
    const size_t start = conversation.find_last_of("\r\n", end - 1);
    const size_t from = start == std::string::npos ? 0 : start + 1;
    std::string line = conversation.substr(from, end - from);
    const size_t first = line.find_first_not_of(" \t");
    if (first != std::string::npos) {
      const size_t last = line.find_last_not_of(" \t");
      return line.substr(first, last - first + 1) == kLinkText;
    }
    if (start == std::string::npos) break;
    end = start;
  }
  return false;
}

}  // namespace answer
