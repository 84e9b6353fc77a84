// The demo's scenario language: one command per line, words separated by blanks, texts in
// double quotes (\" and \\ inside), "#" starts a comment line. Scripts are UTF-8 text; the
// runner converts texts for the program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app {

struct ScriptLine {
  int number = 0;  // 1-based line in the script
  std::vector<std::string> words;
};

struct ParsedScript {
  std::vector<ScriptLine> lines;
  std::vector<std::string> errors;  // "line N: ..." for each line that cannot be read
};

// Splits one line into words; nullopt with `error` set when a quote is not closed.
std::optional<std::vector<std::string>> SplitWords(const std::string& line, std::string& error);
ParsedScript ParseScript(const std::string& text);
// "2s", "500ms", "1.5s", "3m", "250" (milliseconds) -> milliseconds.
std::optional<uint64_t> ParseDuration(const std::string& text);

}  // namespace app
