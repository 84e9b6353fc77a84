// Font details beyond what the canvas offers: where font files come from, and the metrics a
// caller needs to line text up on a baseline.
#pragma once

#include <string>

#include "gfx/canvas.h"

namespace gfx {

// The host folder holding the TrueType files (the Liberation families). Changing it drops
// every loaded font and cached glyph.
void SetFontDirectory(const std::string& hostFolder);
const std::string& FontDirectory();

// The font's pixel size (em height): points at 96 dots per inch, rounded, at least 1.
int FontPixelSize(const Font& font);
// Pixels from the top of the text cell to the baseline.
int TextAscent(const Font& font);

}  // namespace gfx
