// Away and personal message files (.Mes): the file of a message name stays in its folder, and
// any message text gives answers that end with the answer link.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "answer/answer_text.h"
#include "fuzz/fuzz_support.h"
#include "host/text_files.h"

namespace {

void ExpectLinkLine(const std::string& answer, const char* which) {
  if (!answer.ends_with("\r" + answer::AnswerLink())) {
    fuzzing::Fail(std::string("the ") + which + " answer does not end with the link line");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string name = in.ConsumeRandomLengthString(32);
  const std::string screenName = in.ConsumeRandomLengthString(24);
  const std::string content = in.ConsumeRemainingBytesAsString();

  const std::string folder = "C:\\Pallion\\MessagesPer\\";
  if (auto file = answer::MessageFile(folder, name)) {
    const std::string inside = file->substr(folder.size());
    const std::string stem = inside.substr(0, inside.size() - 4);
    if (!file->starts_with(folder) || !file->ends_with(".Mes") ||
        stem.find_first_of("\\/:") != std::string::npos || stem == "." || stem == "..") {
      fuzzing::Fail("a message name leaves its folder", name + " -> " + *file);
    }
  }

  const std::string path = fuzzing::PutProgramFile("\\Messages\\Fuzzed.Mes", content);
  const std::optional<std::string> message = host::LoadTextFile(path);
  if (!message) fuzzing::Fail("an existing message file was not read");
  std::string expected = content;
  if (!expected.empty() && expected.back() == '\n') expected.pop_back();
  if (!expected.empty() && expected.back() == '\r') expected.pop_back();
  if (*message != expected) fuzzing::Fail("the message read is not the file's text");

  ExpectLinkLine(answer::GeneralAnswer(*message, screenName), "general");
  ExpectLinkLine(answer::PersonalAnswer(*message), "personal");
  answer::HasMessageText(*message);
  answer::EndsWithAutoAnswer(*message);
  return 0;
}
