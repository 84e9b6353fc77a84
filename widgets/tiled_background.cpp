#include "widgets/tiled_background.h"

#include <algorithm>

namespace widgets {

gfx::Image ComposeTiled(const gfx::Image& source, int width, int height, gfx::Color background) {
  gfx::Canvas canvas(std::max(width, 1), std::max(height, 1), background);
  if (source.width > 0 && source.height > 0) {
    for (int x = 0; x <= width; x += source.width) {
      for (int y = 0; y <= height; y += source.height) canvas.DrawImage(source, x, y);
    }
  }
  return canvas.ToImage();
}

void ApplyTiledBackground(ui::Form& form, ui::PictureBox& tile,
                          const std::optional<gfx::Image>& source) {
  if (!source || source->width <= 0 || source->height <= 0) {
    form.SetPicture(std::nullopt);
    return;
  }
  const int width = form.ClientWidth();
  const int height = form.ClientHeight();
  tile.Move(tile.Left(), tile.Top(), width, height);
  gfx::Image composed = ComposeTiled(*source, width, height, form.BackColor());
  tile.Canvas().DrawImage(composed, 0, 0);
  form.SetPicture(std::move(composed));
}

}  // namespace widgets
