// The bodies the maker's site sends (the published version, the urgent news): any bytes give
// either nothing or a plain text without surrounding blanks or control bytes.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "online/published_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<std::string> text = online::PublishedText(std::string(data, data + size));
  online::CompareVersion(text);
  if (!text) return 0;
  for (char c : *text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 && c != '\t' && c != '\r' && c != '\n') {
      fuzzing::Fail("a control byte in a published text");
    }
  }
  if (!text->empty() && (std::isspace(static_cast<unsigned char>(text->front())) ||
                         std::isspace(static_cast<unsigned char>(text->back())))) {
    fuzzing::Fail("blanks left around a published text");
  }
  if (size > 0 && text->size() > size) fuzzing::Fail("a published text longer than its body");
  return 0;
}
