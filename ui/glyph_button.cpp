#include "ui/glyph_button.h"

#include "gfx/classic.h"
#include "platform/win32.h"

namespace ui {

using namespace platform;
namespace classic = gfx::classic;

GlyphButton::GlyphButton(Parent parent, std::string name, int index, const WindowParams& params)
    : Control(parent, std::move(name), index, params) {}

void GlyphButton::SetCaption(const std::string& caption) {
  SetWindowTextRaw(caption);
  Invalidate();
}

void GlyphButton::HandleKeyUp(int& keyCode, int shift) {
  Control::HandleKeyUp(keyCode, shift);
  if (keyCode == VK_SPACE) HandleClick();
}

LRESULT GlyphButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == BM_CLICK) {
    HandleClick();
    return 0;
  }
  return Control::WindowProc(msg, wParam, lParam);
}

void GlyphButton::PaintCaption(gfx::Canvas& canvas, int textX) const {
  const std::string caption = Caption();
  const int h = gfx::Canvas::TextHeight(Font());
  const int y = (canvas.Height() - h) / 2;
  if (Enabled()) {
    classic::DrawMnemonicText(canvas, textX, y, caption, Font(), ForeColor());
  } else {
    classic::DrawEmbossedText(canvas, textX, y, classic::StripMnemonic(caption), Font());
  }
  if (HasFocus() && !caption.empty()) {
    const int w = classic::MnemonicTextWidth(caption, Font());
    classic::DrawFocusRect(canvas, {textX - 1, y, w + 2, h});
  }
}

}  // namespace ui
