// Window captions and screen names as the client writes them: the IM caption test, the screen
// name of a caption, the engine's comparison of names and the case-blind replace.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "answer/answer_text.h"
#include "fuzz/fuzz_support.h"
#include "host/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string search = in.ConsumeRandomLengthString(16);
  const std::string replacement = in.ConsumeRandomLengthString(16);
  const std::string caption = in.ConsumeRemainingBytesAsString();

  host::IsIMCaption(caption);
  const std::string name = host::ScreenNameFromCaption(caption);
  if (!name.empty() && caption.find(name) == std::string::npos) {
    fuzzing::Fail("the screen name is not part of its caption", caption + " -> " + name);
  }
  const std::string normal = answer::NormalizeName(name);
  if (normal.find(' ') != std::string::npos || answer::NormalizeName(normal) != normal) {
    fuzzing::Fail("a normalised name changes when normalised again", name);
  }
  if (!answer::SameName(name, normal)) fuzzing::Fail("a name differs from its normal form", name);

  std::string text = caption;
  const std::string replaced = host::ReplaceText(text, search, replacement);
  if (replaced != text) fuzzing::Fail("the replace returned other text than it left");
  if (search.empty() && text != caption) fuzzing::Fail("an empty search changed the text");
  return 0;
}
