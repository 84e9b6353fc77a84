// A list box: text items with an item-data number each, one selected item (ListIndex, -1 for
// none), chosen by a click or the arrow keys. Click is raised when the user clicks an item and
// when the selection changes from code or from the keyboard. A hidden list works the same.
// Answers the LB_ messages (strings as NUL-terminated ANSI pointers, as in one process).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

class ListBox : public Control {
 public:
  ListBox(Parent parent, std::string name, int x = 0, int y = 0, int width = 120, int height = 95,
          int index = -1);

  // Inserts at `index` (-1: at the end); returns the new item's index. The selection stays on
  // its item.
  int AddItem(const std::string& text, int index = -1);
  // Removes an item; false for an index out of range. Removing the selected item leaves
  // nothing selected.
  bool RemoveItem(int index);
  void Clear();
  int ListCount() const { return static_cast<int>(items_.size()); }
  std::string List(int index) const;  // "" out of range
  void SetList(int index, const std::string& text);
  int64_t ItemData(int index) const;
  void SetItemData(int index, int64_t data);
  int NewIndex() const { return newIndex_; }  // the index of the last added item

  int ListIndex() const { return listIndex_; }
  void SetListIndex(int index);                          // -1 clears; out of range is ignored
  std::string Text() const { return List(listIndex_); }  // the selected item's text
  // The first item whose text equals `text` without regard to case, or -1.
  int FindExact(const std::string& text) const;
  int TopIndex() const { return topIndex_; }
  void SetTopIndex(int index);
  int ItemHeight() const;
  int VisibleRows() const;

 protected:
  platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam,
                               platform::LPARAM lParam) override;
  void Paint(gfx::Canvas& canvas) override;
  bool TakesFocus() const override { return true; }
  void HandleMouseDown(int button, int shift, int x, int y) override;
  void HandleClick() override;
  void HandleKeyDown(int& keyCode, int shift) override;

 private:
  struct Item {
    std::string text;
    int64_t data = 0;
  };
  void Select(int index, bool raise);
  void ScrollIntoView();
  bool HasScrollBar() const;

  std::vector<Item> items_;
  int listIndex_ = -1;
  int topIndex_ = 0;
  int newIndex_ = -1;
  bool clickOnItem_ = false;
};

}  // namespace ui
