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

int TopAfterScrollClick(const gfx::Rect& bar, int x, int y, int top, int visible, int count) {
  const classic::ScrollBarLayout layout = classic::LayoutVScrollBar(bar, top, visible, count);
  switch (classic::HitScrollBar(layout, x, y)) {
    case classic::ScrollPart::LineUp:
      return ClampTop(top - 1, count, visible);
    case classic::ScrollPart::LineDown:
      return ClampTop(top + 1, count, visible);
    case classic::ScrollPart::PageUp:
      return ClampTop(top - visible, count, visible);
    case classic::ScrollPart::PageDown:
      return ClampTop(top + visible, count, visible);
    case classic::ScrollPart::Thumb:
    case classic::ScrollPart::None:
      break;
  }
  return top;
}

std::optional<int> ArrowKeyTarget(int keyCode, int selected, int count) {
  if (count == 0) return std::nullopt;
  if (keyCode == platform::VK_DOWN) return std::min(selected + 1, count - 1);
  if (keyCode == platform::VK_UP) return std::max(selected - 1, 0);
  return std::nullopt;
}

void PaintScrollBar(gfx::Canvas& canvas, int x, int top, int bottom, int topRow, int visible,
                    int count) {
  classic::DrawVScrollBar(canvas, {x, top, kScrollWidth, bottom - top}, topRow, visible, count);
}

}  // namespace ui::listrows
