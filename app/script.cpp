#include "app/script.h"

#include <cctype>
#include <cmath>
#include <sstream>
#include <string_view>

namespace app {

std::optional<std::vector<std::string>> SplitWords(const std::string& line, std::string& error) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    if (std::isspace(static_cast<unsigned char>(line[i]))) {
      ++i;
      continue;
    }
    std::string word;
    if (line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
          word += line[i++];
        } else if (c == '\\' && i < line.size() && line[i] == 'r') {
          word += '\r';
          ++i;
        } else if (c == '"') {
          closed = true;
          break;
        } else {
          word += c;
        }
      }
      if (!closed) {
        error = "a quoted text is not closed";
        return std::nullopt;
      }
    } else {
      while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
        word += line[i++];
    }
    words.push_back(word);
  }
  return words;
}

ParsedScript ParseScript(const std::string& text) {
  ParsedScript script;
  // Editors on Windows start UTF-8 files with a byte-order mark; it is not part of the text.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  std::istringstream in(text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size())
                                                         : text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    std::string error;
    auto words = SplitWords(line, error);
    if (!words) {
      script.errors.push_back("line " + std::to_string(number) + ": " + error);
      continue;
    }
    script.lines.push_back({number, std::move(*words)});
  }
  return script;
}

std::optional<uint64_t> ParseDuration(const std::string& text) {
  size_t end = 0;
  while (end < text.size() &&
         (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.')) {
    ++end;
  }
  if (end == 0) return std::nullopt;
  double value = 0;
  try {
    value = std::stod(text.substr(0, end));
  } catch (...) {
    return std::nullopt;
  }
  std::string unit = text.substr(end);
  double scale = 0;
  if (unit.empty() || unit == "ms") {
    scale = 1;
  } else if (unit == "s") {
    scale = 1000;
  } else if (unit == "m" || unit == "min") {
    scale = 60000;
  } else if (unit == "h") {
    scale = 3600000;
  } else {
    return std::nullopt;
  }
  double ms = value * scale;
  if (!std::isfinite(ms) || ms < 0 || ms > 1e12) return std::nullopt;
  return static_cast<uint64_t>(std::llround(ms));
}

}  // namespace app
