#include "ui/list_rows.h"

#include <algorithm>
#include <cctype>

#include "gfx/classic.h"
#include "platform/win32.h"

namespace ui::listrows {

namespace classic = gfx::classic;

int AfterInsertion(int selected, int index) {
  return selected >= index ? selected + 1 : selected;
}

int AfterRemoval(int selected, int index) {
  if (selected == index) return -1;
  return selected > index ? selected - 1 : selected;
}

int ClampTop(int top, int count, int visible) {
  return std::clamp(top, 0, std::max(count - visible, 0));
}

int TopShowing(int selected, int top, int visible) {
  if (selected < 0) return top;
  if (selected < top) top = selected;
  if (selected >= top + visible) top = selected - visible + 1;
  return top;
}

int ScrollStep(int y, int height) {
  return y < height / 2 ? -1 : 1;
}

std::optional<int> ArrowKeyTarget(int keyCode, int selected, int count) {
  if (count == 0) return std::nullopt;
  if (keyCode == platform::VK_DOWN) return std::min(selected + 1, count - 1);
  if (keyCode == platform::VK_UP) return std::max(selected - 1, 0);
  return std::nullopt;
}

void PaintScrollBar(gfx::Canvas& canvas, int x, int top, int bottom, int topRow, int visible,
                    int count) {
  canvas.FillRect(x, top, kScrollWidth, bottom - top, classic::SysColor(classic::kScrollBar));
  classic::DrawScrollArrow(canvas, {x, top, kScrollWidth, kScrollWidth}, classic::Arrow::Up, false,
                           topRow > 0);
  classic::DrawScrollArrow(canvas, {x, bottom - kScrollWidth, kScrollWidth, kScrollWidth},
                           classic::Arrow::Down, false, topRow + visible < count);
}

}  // namespace ui::listrows
