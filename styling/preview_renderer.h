// Draws HTML-tagged text as the fade engine makes it onto a canvas, roughly as the client would
// show it: character by character, with "font color", b, i, u, s, sup and sub tags. Not a
// general HTML layout: no wrapping, no entities, every other tag ignored.
#pragma once

#include <string>

#include "gfx/canvas.h"

namespace styling {

// Where drawing ended, with the font and colour the last tags left.
struct PenState {
  int x = 0;      // pixels from the left margin
  int y = 0;      // top of the current line
  int shift = 0;  // -1 while superscript, +1 while subscript
  gfx::Font font;
  gfx::Color color = 0;
  bool stopped = false;  // a "<" without a ">" after it ended the drawing there
};

constexpr int kPreviewLeftMargin = 2;
constexpr int kPreviewLineHeight = 16;

// Clears the canvas to white and draws `text` from its top-left corner in Arial 10 pt, black
// until a colour tag. A carriage return, or the literal marker "+chr13+", starts a new line.
PenState DrawFormattedText(gfx::Canvas& canvas, const std::string& text);

}  // namespace styling
