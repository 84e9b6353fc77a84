// The private-profile engine over any file bytes: reading names, sections and keys, and edits
// that must read back as written.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/ini_file.h"

namespace {

using platform::ini::GetProfileString;
using platform::ini::WriteProfileString;

constexpr size_t kBuffer = 4096;

// A name the engine cannot read any other way: letters, digits and inner spaces.
bool Plain(const std::string& name) {
  if (name.empty() || name.front() == ' ' || name.back() == ' ') return false;
  for (char c : name) {
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == ' ')) return false;
  }
  return true;
}

void ExpectRead(const std::string& content, const std::string& section, const std::string& key,
                const std::string& expected, const char* after) {
  const std::string got =
      GetProfileString(content, section.c_str(), key.c_str(), "<none>", kBuffer);
  if (got != expected) {
    fuzzing::Fail(
        std::string("read after ") + after + " differs",
        "[" + section + "] " + key + ": got \"" + got + "\", wanted \"" + expected + "\"");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string section = in.ConsumeRandomLengthString(24);
  const std::string key = in.ConsumeRandomLengthString(24);
  const size_t bufferSize = in.ConsumeIntegralInRange<size_t>(0, 300);
  const std::string content = in.ConsumeRemainingBytesAsString();

  for (const std::optional<std::string>& file :
       {std::optional<std::string>(content), std::optional<std::string>()}) {
    for (size_t cut : {bufferSize, kBuffer}) {
      const std::string names = GetProfileString(file, nullptr, nullptr, nullptr, cut);
      const std::string keys = GetProfileString(file, section.c_str(), nullptr, nullptr, cut);
      const std::string value = GetProfileString(file, section.c_str(), key.c_str(), "d", cut);
      for (const std::string* read : {&names, &keys, &value}) {
        if (cut == 0 ? !read->empty() : read->size() > cut - 1) {
          fuzzing::Fail("a read overran its buffer", std::to_string(read->size()) + " bytes");
        }
      }
    }
  }

  // Edits with the input's own names: never fail for a section, whatever the file holds.
  if (!WriteProfileString(content, section.c_str(), key.c_str(), "value")) {
    fuzzing::Fail("writing a key failed");
  }
  WriteProfileString(content, section.c_str(), nullptr, nullptr);
  WriteProfileString(content, section.c_str(), key.c_str(), nullptr);

  if (!Plain(section) || !Plain(key)) return 0;
  const std::string value = "fuzzed value 1";
  std::optional<std::string> edited =
      WriteProfileString(content, section.c_str(), key.c_str(), value.c_str());
  ExpectRead(*edited, section, key, value, "writing the key");
  edited = WriteProfileString(edited, section.c_str(), key.c_str(), nullptr);
  ExpectRead(*edited, section, key, "<none>", "deleting the key");
  edited = WriteProfileString(edited, section.c_str(), key.c_str(), value.c_str());
  edited = WriteProfileString(edited, section.c_str(), nullptr, nullptr);
  ExpectRead(*edited, section, key, "<none>", "deleting the section");
  return 0;
}
