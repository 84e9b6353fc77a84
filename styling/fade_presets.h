// Fade presets: small private-profile files "<name>.Fad" in the program's Fades folder, section
// "Fader", with "Colors=n" and "Color1=".."Colorn=" (colour values in decimal). Also the preset
// cycling of "Random From Saved CS" and the random colours of "Random Fade".
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace styling {

// The file dialogs' filter for presets.
inline constexpr const char* kFadeFileFilter = "Fade Files (Fad)|*.Fad;";

// The file of the preset `name` inside `fadesFolder` (Windows-style path). A name typed with a
// folder part ("..\x", "a/b", "C:\x") keeps only its last part, so a preset is always a file
// of that folder; ".Fad" is added unless the name already ends with it (any case). None for a
// name that is empty, "Untitled", only dots, or no usable file name (a device name such as
// "CON" or "aux.txt", a character Windows refuses in a name).
std::optional<std::string> PresetFileFor(const std::string& fadesFolder, const std::string& name);

// Writes a preset, replacing the file: "[Fader]", "Colors=<count>", then one line per colour
// for a count of 2 to 4 (none for any other count). CRLF line ends. False when it could not be
// written.
bool SavePreset(const std::string& path, int count,
                const std::array<platform::COLORREF, 4>& colours);

struct Preset {
  std::optional<int> count;  // "Colors"; none when missing or not a whole number
  // "Color1".."Color4"; none when missing, not a whole number, or not a colour value
  std::array<std::optional<platform::COLORREF>, 4> colours;
};

// Reads "Colors" and "Color1".."Color4" of section "Fader" through the platform's profile
// function (keys without regard to case or order). A missing or damaged file gives nothing.
Preset ReadPreset(const std::string& path);

// The number of colours a preset sets: 2, 3 or 4; a count of 5 gives 4 where the caller allows
// it (the random cycling and the settings page do, the fade bar does not). None otherwise.
std::optional<int> LoadedColourCount(const Preset& preset, bool fiveMeansFour);

// Names of the presets in `fadesFolder`, in the platform's listing order: each "*.Fad" file
// name without its last four characters.
std::vector<std::string> ListPresets(const std::string& fadesFolder);

// The preset cursor of "Random From Saved CS": each call takes the next name of the listing,
// starting again at the first after the last.
class PresetCursor {
 public:
  // None when there are no presets.
  std::optional<std::string> Next(const std::vector<std::string>& names);
  int Position() const { return position_; }

 private:
  int position_ = 0;  // presets taken since the last wrap
};

// "Random From Saved CS": the next preset of the folder's listing, read. None when the folder
// has no presets.
std::optional<Preset> NextSavedPreset(PresetCursor& cursor, const std::string& fadesFolder);

// A uniform draw in [0, 1).
using UniformDraw = std::function<double()>;
// Draws from the program's one generator, seeded from the system clock at its first use; every
// draw function returned shares it, so it goes on from wherever it stands.
UniformDraw ClockSeededDraw();

// One random colour: red, green and blue drawn in that order, each draw * 255 rounded with ties
// to even (kept to 0..255); red + 256 * green + 65536 * blue.
platform::COLORREF RandomColor(const UniformDraw& draw);
// Four random colours, for colour buttons 1 to 4 in turn.
std::array<platform::COLORREF, 4> RandomFade(const UniformDraw& draw);

}  // namespace styling
