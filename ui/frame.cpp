#include "ui/frame.h"

#include "gfx/classic.h"
#include "platform/win32.h"

namespace ui {

using namespace platform;

Frame::Frame(Parent parent, std::string name, const std::string& caption, int x, int y, int width,
             int height, int index)
    : Control(
          parent, std::move(name), index,
          WindowParams{"ThunderRT5Frame", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                       0, caption, x, y, width, height}) {}

void Frame::SetCaption(const std::string& caption) {
  SetWindowTextRaw(caption);
  Invalidate();
}

void Frame::SetBorderStyle(int style) {
  borderStyle_ = style;
  Invalidate();
}

void Frame::Paint(gfx::Canvas& canvas) {
  canvas.Fill(BackColor());
  if (borderStyle_ == 0) return;
  const std::string caption = Caption();
  const int textHeight = gfx::Canvas::TextHeight(Font());
  const int top = caption.empty() ? 0 : textHeight / 2;
  gfx::classic::DrawEdge(canvas, {0, top, canvas.Width(), canvas.Height() - top},
                         gfx::classic::Edge::Etched);
  if (caption.empty()) return;
  const int w = gfx::classic::MnemonicTextWidth(caption, Font());
  canvas.FillRect(6, 0, w + 4, textHeight, BackColor());
  if (Enabled()) {
    gfx::classic::DrawMnemonicText(canvas, 8, 0, caption, Font(), ForeColor());
  } else {
    gfx::classic::DrawEmbossedText(canvas, 8, 0, gfx::classic::StripMnemonic(caption), Font());
  }
}

}  // namespace ui
