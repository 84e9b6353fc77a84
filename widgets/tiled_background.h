// The tiled background of the program's small windows: a picture painted over and over from
// the top-left, both ends of each row and column included, and the composed image made the
// window's background picture.
#pragma once

#include <optional>

#include "gfx/canvas.h"
#include "ui/form.h"
#include "ui/picture_box.h"

namespace widgets {

// The source picture tiled over a width x height image: for x from 0 to width in steps of the
// picture's width, and within that y from 0 to height likewise, the picture is painted at
// (x, y). `background` shows where the picture is transparent. An empty picture gives the
// background alone.
gfx::Image ComposeTiled(const gfx::Image& source, int width, int height, gfx::Color background);

// Gives `tile` the form's client size, composes the tiled source picture on it and makes the
// result the form's background picture. Without a source the form keeps a plain background.
void ApplyTiledBackground(ui::Form& form, ui::PictureBox& tile,
                          const std::optional<gfx::Image>& source);

}  // namespace widgets
