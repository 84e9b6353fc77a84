#include "ui/list_box.h"

#include <algorithm>
#include <cstring>

#include "gfx/classic.h"
#include "platform/ansi.h"
#include "platform/win32.h"
#include "ui/list_rows.h"

namespace ui {

using namespace platform;
using namespace listrows;
namespace classic = gfx::classic;

ListBox::ListBox(Parent parent, std::string name, int x, int y, int width, int height, int index)
    : Control(parent, std::move(name), index,
              WindowParams{"ThunderRT5ListBox", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, "", x,
                           y, width, height}) {
  SetBackColor(GetSysColor(COLOR_WINDOW));
}

int ListBox::AddItem(const std::string& text, int index) {
  if (index < 0 || index > ListCount()) index = ListCount();
  items_.insert(items_.begin() + index, Item{text, 0});
  listIndex_ = AfterInsertion(listIndex_, index);
  newIndex_ = index;
  Invalidate();
  return index;
}

bool ListBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return false;
  items_.erase(items_.begin() + index);
  listIndex_ = AfterRemoval(listIndex_, index);
  topIndex_ = ClampTop(topIndex_, ListCount(), 1);
  Invalidate();
  return true;
}

void ListBox::Clear() {
  items_.clear();
  listIndex_ = -1;
  topIndex_ = 0;
  newIndex_ = -1;
  Invalidate();
}

std::string ListBox::List(int index) const {
  if (index < 0 || index >= ListCount()) return "";
  return items_[index].text;
}

void ListBox::SetList(int index, const std::string& text) {
  if (index < 0 || index >= ListCount()) return;
  items_[index].text = text;
  Invalidate();
}

int64_t ListBox::ItemData(int index) const {
  if (index < 0 || index >= ListCount()) return 0;
  return items_[index].data;
}

void ListBox::SetItemData(int index, int64_t data) {
  if (index >= 0 && index < ListCount()) items_[index].data = data;
}

void ListBox::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) return;
  Select(index, true);
}

void ListBox::Select(int index, bool raise) {
  if (index == listIndex_) return;
  listIndex_ = index;
  ScrollIntoView();
  Invalidate();
  if (raise) Raise(OnClick);
}

int ListBox::FindExact(const std::string& text) const {
  for (int i = 0; i < ListCount(); ++i) {
    if (platform::EqualNoCase(items_[i].text, text)) return i;
  }
  return -1;
}

int ListBox::ItemHeight() const {
  return gfx::Canvas::TextHeight(Font());
}

int ListBox::VisibleRows() const {
  return std::max((ClientHeight() - 2 * kBorder) / std::max(ItemHeight(), 1), 1);
}

bool ListBox::HasScrollBar() const {
  return ListCount() > VisibleRows();
}

void ListBox::SetTopIndex(int index) {
  topIndex_ = ClampTop(index, ListCount(), VisibleRows());
  Invalidate();
}

void ListBox::ScrollIntoView() {
  topIndex_ = TopShowing(listIndex_, topIndex_, VisibleRows());
}

void ListBox::HandleMouseDown(int button, int shift, int x, int y) {
  clickOnItem_ = false;
  const int width = ClientWidth();
  const gfx::Rect bar{width - kBorder - kScrollWidth, kBorder, kScrollWidth,
                      ClientHeight() - 2 * kBorder};
  if (HasScrollBar() && x >= bar.x) {
    SetTopIndex(TopAfterScrollClick(bar, x, y, topIndex_, VisibleRows(), ListCount()));
  } else if (button == kLeftButton && y >= kBorder) {
    const int row = topIndex_ + (y - kBorder) / std::max(ItemHeight(), 1);
    if (row < ListCount()) {
      clickOnItem_ = true;
      Select(row, false);
    }
  }
  Control::HandleMouseDown(button, shift, x, y);
}

void ListBox::HandleClick() {
  if (clickOnItem_) Raise(OnClick);
  clickOnItem_ = false;
}

void ListBox::HandleKeyDown(int& keyCode, int shift) {
  Control::HandleKeyDown(keyCode, shift);
  if (const auto target = ArrowKeyTarget(keyCode, listIndex_, ListCount())) Select(*target, true);
}

LRESULT ListBox::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const int index = static_cast<int>(static_cast<intptr_t>(wParam));
  switch (msg) {
    case LB_ADDSTRING:
      return lParam ? AddItem(reinterpret_cast<const char*>(lParam)) : LB_ERR;
    case LB_INSERTSTRING:
      if (lParam == 0 || index > ListCount()) return LB_ERR;
      return AddItem(reinterpret_cast<const char*>(lParam), index);
    case LB_DELETESTRING:
      return RemoveItem(index) ? ListCount() : LB_ERR;
    case LB_RESETCONTENT:
      Clear();
      return 0;
    case LB_GETCOUNT:
      return ListCount();
    case LB_GETCURSEL:
      return listIndex_;
    case LB_SETCURSEL:
      if (index < 0 || index >= ListCount()) {
        Select(-1, false);
        return LB_ERR;
      }
      Select(index, false);
      return index;
    case LB_GETTEXTLEN:
      if (index < 0 || index >= ListCount()) return LB_ERR;
      return static_cast<LRESULT>(items_[index].text.size());
    case LB_GETTEXT: {
      if (index < 0 || index >= ListCount() || lParam == 0) return LB_ERR;
      const std::string& text = items_[index].text;
      std::memcpy(reinterpret_cast<char*>(lParam), text.c_str(), text.size() + 1);
      return static_cast<LRESULT>(text.size());
    }
    case LB_GETITEMDATA:
      if (index < 0 || index >= ListCount()) return LB_ERR;
      return static_cast<LRESULT>(items_[index].data);
    case LB_SETITEMDATA:
      if (index < 0 || index >= ListCount()) return LB_ERR;
      items_[index].data = static_cast<int64_t>(lParam);
      return 1;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT: {
      if (lParam == 0 || ListCount() == 0) return LB_ERR;
      const std::string wanted = reinterpret_cast<const char*>(lParam);
      const int start = (index < 0 || index >= ListCount()) ? 0 : index + 1;
      for (int n = 0; n < ListCount(); ++n) {
        const int i = (start + n) % ListCount();
        const std::string& text = items_[i].text;
        const bool match = msg == LB_FINDSTRINGEXACT
                               ? platform::EqualNoCase(text, wanted)
                               : platform::EqualNoCase(text.substr(0, wanted.size()), wanted);
        if (match) return i;
      }
      return LB_ERR;
    }
    default:
      return Control::WindowProc(msg, wParam, lParam);
  }
}

void ListBox::Paint(gfx::Canvas& canvas) {
  canvas.Fill(BackColor());
  const gfx::Rect inner =
      classic::DrawEdge(canvas, {0, 0, canvas.Width(), canvas.Height()}, classic::Edge::Sunken);
  const bool scroll = HasScrollBar();
  const int textWidth = inner.width - (scroll ? kScrollWidth : 0);
  canvas.SetClip(inner.x, inner.y, textWidth, inner.height);
  const int h = ItemHeight();
  const gfx::Color textColor = Enabled() ? ForeColor() : classic::SysColor(classic::kGrayText);
  for (int i = topIndex_, y = inner.y; i < ListCount() && y < inner.Bottom(); ++i, y += h) {
    if (i == listIndex_) {
      canvas.FillRect(inner.x, y, textWidth, h, classic::SysColor(classic::kHighlight));
      canvas.DrawText(inner.x + 2, y, items_[i].text, Font(),
                      classic::SysColor(classic::kHighlightText));
      if (HasFocus()) classic::DrawFocusRect(canvas, {inner.x, y, textWidth, h});
    } else {
      canvas.DrawText(inner.x + 2, y, items_[i].text, Font(), textColor);
    }
  }
  canvas.ResetClip();
  if (scroll) {
    PaintScrollBar(canvas, inner.Right() - kScrollWidth, inner.y, inner.Bottom(), topIndex_,
                   VisibleRows(), ListCount());
  }
}

}  // namespace ui
