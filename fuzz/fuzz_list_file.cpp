// List files (the ignore list, ListedMembers.lst): any bytes read item by item, and a list
// written back reads as the same items.
#include <cstdint>
#include <string>
#include <vector>

#include "answer/answer_text.h"
#include "fuzz/fuzz_support.h"
#include "host/text_files.h"

namespace {

std::vector<std::string> Load(const std::string& path) {
  std::vector<std::string> items;
  if (!host::LoadList(path, [&items](const std::string& item) { items.push_back(item); })) {
    fuzzing::Fail("an existing list file was not read", path);
  }
  return items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path =
      fuzzing::PutProgramFile("\\ListedMembers.lst", std::string(data, data + size));
  const std::vector<std::string> items = Load(path);
  for (const std::string& item : items) {
    if (item.empty() || item.find_first_of("\r\n,") != std::string::npos || item.front() == ' ' ||
        item.front() == '\t' || item.back() == ' ' || item.back() == '\t') {
      fuzzing::Fail("an item kept a separator or a blank at its ends", item);
    }
    if (answer::NormalizeName(item).find(' ') != std::string::npos) {
      fuzzing::Fail("a normalised name kept a space", item);
    }
  }
  if (!host::SaveList(path, items)) fuzzing::Fail("the list could not be written", path);
  if (Load(path) != items) fuzzing::Fail("the list written back reads differently");
  return 0;
}
