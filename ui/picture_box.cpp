#include "ui/picture_box.h"

#include "gfx/classic.h"
#include "platform/win32.h"

namespace ui {

using namespace platform;

PictureBox::PictureBox(Parent parent, std::string name, int x, int y, int width, int height,
                       int index)
    : Control(parent, std::move(name), index,
              WindowParams{"ThunderRT5PictureBoxDC",
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, "", x, y,
                           width, height}) {}

void PictureBox::SetPicture(std::optional<gfx::Image> picture) {
  picture_ = std::move(picture);
  if (persistent_ && picture_) persistent_->DrawImage(*picture_, 0, 0);
  Invalidate();
}

void PictureBox::SetBorderStyle(int style) {
  borderStyle_ = style;
  Invalidate();
}

void PictureBox::DrawBackground(gfx::Canvas& canvas) const {
  canvas.Fill(BackColor());
  if (picture_) canvas.DrawImage(*picture_, 0, 0);
}

gfx::Canvas& PictureBox::Canvas() {
  if (!persistent_) {
    persistent_.emplace(std::max(ClientWidth(), 1), std::max(ClientHeight(), 1), BackColor());
    DrawBackground(*persistent_);
  }
  Invalidate();
  return *persistent_;
}

void PictureBox::Cls() {
  if (persistent_) DrawBackground(*persistent_);
  Invalidate();
}

void PictureBox::HandleResize() {
  if (persistent_) {
    persistent_->Resize(std::max(ClientWidth(), 1), std::max(ClientHeight(), 1), BackColor());
  }
  Control::HandleResize();
}

void PictureBox::Paint(gfx::Canvas& canvas) {
  if (persistent_) {
    canvas.Fill(BackColor());
    canvas.Blit(*persistent_, 0, 0, persistent_->Width(), persistent_->Height(), 0, 0);
  } else {
    DrawBackground(canvas);
  }
  if (OnPaint) {
    auto copy = OnPaint;
    copy(canvas);
  }
  if (borderStyle_ == 1) {
    gfx::classic::DrawEdge(canvas, {0, 0, canvas.Width(), canvas.Height()},
                           gfx::classic::Edge::Sunken);
  }
}

}  // namespace ui
