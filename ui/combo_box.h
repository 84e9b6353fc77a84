// A drop-down list combo box: a list of items of which one is shown (Text) and chosen
// (ListIndex). A click opens the list as a pop-up; the arrow keys step through it. Click is
// raised when the chosen item changes.
#pragma once

#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

class ComboBox : public Control {
 public:
  ComboBox(Parent parent, std::string name, int x = 0, int y = 0, int width = 120, int height = 21,
           int index = -1);

  int AddItem(const std::string& text, int index = -1);  // returns the new item's index
  bool RemoveItem(int index);
  void Clear();
  int ListCount() const { return static_cast<int>(items_.size()); }
  std::string List(int index) const;
  int ListIndex() const { return listIndex_; }
  void SetListIndex(int index);  // -1 clears; out of range is ignored
  std::string Text() const;      // the chosen item's text, "" when none
  // Chooses the first item equal to `text` (ignoring case); false when there is none.
  bool SetText(const std::string& text);

 protected:
  void Paint(gfx::Canvas& canvas) override;
  bool TakesFocus() const override { return true; }
  void HandleClick() override;
  void HandleKeyDown(int& keyCode, int shift) override;

 private:
  std::vector<std::string> items_;
  int listIndex_ = -1;
};

}  // namespace ui
