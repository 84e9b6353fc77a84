// The demo's scenario language: any script text is read into lines and words or refused line by
// line; the words of a line, written back quoted, read as the same words; durations are bounded.
#include <cstdint>
#include <string>

#include "app/script.h"
#include "fuzz/fuzz_support.h"

namespace {

std::string Quoted(const std::string& word) {
  std::string quoted = "\"";
  for (char c : word) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const app::ParsedScript script = app::ParseScript(std::string(data, data + size));
  int previous = 0;
  for (const app::ScriptLine& line : script.lines) {
    if (line.number <= previous) fuzzing::Fail("line numbers do not grow");
    previous = line.number;
    std::string written;
    for (const std::string& word : line.words) {
      written += Quoted(word) + " ";
      if (auto ms = app::ParseDuration(word); ms && *ms > 1000000000000ull) {
        fuzzing::Fail("a duration beyond its bound", word);
      }
    }
    std::string error;
    const auto again = app::SplitWords(written, error);
    if (!again || *again != line.words) {
      fuzzing::Fail("quoted words read back differently", "line " + std::to_string(line.number));
    }
  }
  return 0;
}
