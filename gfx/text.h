// Font details beyond what the canvas offers: where font files come from, and the metrics a
// caller needs to line text up on a baseline.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "gfx/canvas.h"

namespace gfx {

// The host folder holding the TrueType files (the Liberation families). Changing it drops
// every loaded font and cached glyph.
void SetFontDirectory(const std::string& hostFolder);
const std::string& FontDirectory();

// Where the TrueType bytes of a family and style come from. Without a source the Liberation
// files of FontDirectory() are read; a backend whose system has other fonts installs its own.
// Changing it drops every loaded font and cached glyph.
enum class FontFamily { Sans = 0, Serif = 1, Mono = 2 };
using FontSource =
    std::function<std::vector<unsigned char>(FontFamily family, bool bold, bool italic)>;
void SetFontSource(FontSource source);  // an empty source goes back to the font directory

// The font's pixel size (em height): points at 96 dots per inch, rounded, at least 1.
int FontPixelSize(const Font& font);
// Pixels from the top of the text cell to the baseline.
int TextAscent(const Font& font);

}  // namespace gfx
