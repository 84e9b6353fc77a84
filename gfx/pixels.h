// Pixel arithmetic shared by the drawing code.
#pragma once

#include "gfx/canvas.h"

namespace gfx {

// `over` laid on `under` with coverage `alpha` (0..255), per channel, rounded.
inline Color BlendColor(Color under, Color over, int alpha) {
  if (alpha >= 255) return over & 0xFFFFFF;
  if (alpha <= 0) return under & 0xFFFFFF;
  Color out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int u = static_cast<int>((under >> shift) & 0xFF);
    const int o = static_cast<int>((over >> shift) & 0xFF);
    out |= static_cast<Color>((o * alpha + u * (255 - alpha) + 127) / 255) << shift;
  }
  return out;
}

}  // namespace gfx
