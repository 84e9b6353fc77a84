#include "ui/check_box.h"

#include "gfx/classic.h"
#include "platform/win32.h"
#include "ui/option_button.h"

namespace ui {

using namespace platform;
namespace classic = gfx::classic;

CheckBox::CheckBox(Parent parent, std::string name, const std::string& caption, int x, int y,
                   int width, int height, int index)
    : GlyphButton(parent, std::move(name), index,
                  WindowParams{"ThunderRT5CheckBox", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                               caption, x, y, width, height}) {}

void CheckBox::SetValue(int value) {
  if (value < 0 || value > 2 || value == value_) return;
  value_ = value;
  Invalidate();
  Raise(OnClick);
}

void CheckBox::HandleClick() {
  SetValue(value_ == 1 ? 0 : 1);
}

LRESULT CheckBox::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case BM_GETCHECK:
      return value_;
    case BM_SETCHECK:
      if (wParam <= 2) {
        value_ = static_cast<int>(wParam);
        Invalidate();
      }
      return 0;
    default:
      return GlyphButton::WindowProc(msg, wParam, lParam);
  }
}

void CheckBox::Paint(gfx::Canvas& canvas) {
  canvas.Fill(BackColor());
  const int boxY = (canvas.Height() - classic::kCheckBoxSize) / 2;
  classic::DrawCheckBox(canvas, 0, boxY, value_ != 0, Enabled() && value_ != 2);
  PaintCaption(canvas, classic::kCheckBoxSize + 4);
}

OptionButton::OptionButton(Parent parent, std::string name, const std::string& caption, int x,
                           int y, int width, int height, int index)
    : GlyphButton(parent, std::move(name), index,
                  WindowParams{"ThunderRT5OptionButton", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                               caption, x, y, width, height}) {}

void OptionButton::ClearSiblings() {
  HWND parent = GetParent(hwnd());
  if (parent == 0) return;
  for (HWND h = GetWindow(parent, GW_CHILD); h != 0; h = GetWindow(h, GW_HWNDNEXT)) {
    if (h == hwnd()) continue;
    if (auto* other = dynamic_cast<OptionButton*>(Control::FromHwnd(h))) {
      if (other->value_) {
        other->value_ = false;
        other->Invalidate();
      }
    }
  }
}

void OptionButton::SetValue(bool value) {
  if (value == value_) return;
  value_ = value;
  Invalidate();
  if (value) {
    ClearSiblings();
    Raise(OnClick);
  }
}

void OptionButton::HandleClick() {
  if (value_) {
    Raise(OnClick);
  } else {
    SetValue(true);
  }
}

LRESULT OptionButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case BM_GETCHECK:
      return value_ ? 1 : 0;
    case BM_SETCHECK:
      value_ = wParam != 0;
      Invalidate();
      return 0;
    default:
      return GlyphButton::WindowProc(msg, wParam, lParam);
  }
}

void OptionButton::Paint(gfx::Canvas& canvas) {
  canvas.Fill(BackColor());
  const int y = (canvas.Height() - classic::kOptionButtonSize) / 2;
  classic::DrawOptionButton(canvas, 0, y, value_, Enabled());
  PaintCaption(canvas, classic::kOptionButtonSize + 5);
}

}  // namespace ui
