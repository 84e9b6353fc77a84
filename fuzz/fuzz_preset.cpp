// Fade presets: the file of a typed preset name stays in the Fades folder, and any file bytes
// give only counts and colours a fade can use.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "styling/fade_presets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string name = in.ConsumeRandomLengthString(48);
  const std::string content = in.ConsumeRemainingBytesAsString();

  const std::string folder = "C:\\Pallion\\Fades";
  if (auto file = styling::PresetFileFor(folder, name)) {
    const std::string inside = file->substr(std::min(file->size(), folder.size() + 1));
    if (!file->starts_with(folder + "\\") || inside.find_first_of("\\/:") != std::string::npos ||
        inside.size() < 4) {
      fuzzing::Fail("a preset name leaves the Fades folder", name + " -> " + *file);
    }
  }

  const std::string path = fuzzing::PutProgramFile("\\Fades\\Fuzzed.Fad", content);
  const styling::Preset preset = styling::ReadPreset(path);
  for (const auto& colour : preset.colours) {
    if (colour && *colour > 0xFFFFFF)
      fuzzing::Fail("a colour out of range", std::to_string(*colour));
  }
  for (bool fiveMeansFour : {false, true}) {
    if (auto count = styling::LoadedColourCount(preset, fiveMeansFour)) {
      if (*count < 2 || *count > 4) fuzzing::Fail("a colour count out of range");
    }
  }
  return 0;
}
