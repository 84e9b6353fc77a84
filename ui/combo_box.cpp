#include "ui/combo_box.h"

#include <algorithm>

#include "gfx/classic.h"
#include "platform/ansi.h"
#include "platform/win32.h"
#include "ui/list_rows.h"

namespace ui {

using namespace platform;
using namespace listrows;
namespace classic = gfx::classic;

ComboBox::ComboBox(Parent parent, std::string name, int x, int y, int width, int height, int index)
    : Control(parent, std::move(name), index,
              WindowParams{"ThunderRT5ComboBox", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, "", x,
                           y, width, height}) {
  SetBackColor(GetSysColor(COLOR_WINDOW));
}

int ComboBox::AddItem(const std::string& text, int index) {
  if (index < 0 || index > ListCount()) index = ListCount();
  items_.insert(items_.begin() + index, text);
  listIndex_ = AfterInsertion(listIndex_, index);
  Invalidate();
  return index;
}

bool ComboBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return false;
  items_.erase(items_.begin() + index);
  listIndex_ = AfterRemoval(listIndex_, index);
  Invalidate();
  return true;
}

void ComboBox::Clear() {
  items_.clear();
  listIndex_ = -1;
  Invalidate();
}

std::string ComboBox::List(int index) const {
  if (index < 0 || index >= ListCount()) return "";
  return items_[index];
}

void ComboBox::SetListIndex(int index) {
  if (index < -1 || index >= ListCount() || index == listIndex_) return;
  listIndex_ = index;
  Invalidate();
  Raise(OnClick);
}

std::string ComboBox::Text() const {
  return List(listIndex_);
}

bool ComboBox::SetText(const std::string& text) {
  for (int i = 0; i < ListCount(); ++i) {
    if (platform::EqualNoCase(items_[i], text)) {
      SetListIndex(i);
      return true;
    }
  }
  return false;
}

void ComboBox::HandleClick() {
  if (hwnd() == 0 || items_.empty()) return;
  HMENU popup = CreatePopupMenu();
  for (int i = 0; i < ListCount(); ++i) {
    AppendMenu(popup, MF_STRING | (i == listIndex_ ? MF_CHECKED : 0), i + 1, items_[i]);
  }
  POINT p{0, Height()};
  ClientToScreen(hwnd(), p);
  const int chosen = TrackPopupMenu(popup, TPM_RETURNCMD, p.x, p.y, hwnd());
  DestroyMenu(popup);
  if (chosen > 0) SetListIndex(chosen - 1);
}

void ComboBox::HandleKeyDown(int& keyCode, int shift) {
  Control::HandleKeyDown(keyCode, shift);
  if (const auto target = ArrowKeyTarget(keyCode, listIndex_, ListCount())) SetListIndex(*target);
}

void ComboBox::Paint(gfx::Canvas& canvas) {
  canvas.Fill(BackColor());
  const gfx::Rect inner =
      classic::DrawEdge(canvas, {0, 0, canvas.Width(), canvas.Height()}, classic::Edge::Sunken);
  const int button = std::min(16, inner.width);
  const gfx::Rect text{inner.x, inner.y, inner.width - button, inner.height};
  const int h = gfx::Canvas::TextHeight(Font());
  const int y = text.y + (text.height - h) / 2;
  if (HasFocus()) {
    canvas.FillRect(text.x + 1, y, text.width - 2, h, classic::SysColor(classic::kHighlight));
    canvas.DrawText(text.x + 2, y, Text(), Font(), classic::SysColor(classic::kHighlightText));
  } else {
    canvas.DrawText(text.x + 2, y, Text(), Font(),
                    Enabled() ? ForeColor() : classic::SysColor(classic::kGrayText));
  }
  classic::DrawScrollArrow(canvas, {text.Right(), inner.y, button, inner.height},
                           classic::Arrow::Down, false, Enabled());
}

}  // namespace ui
