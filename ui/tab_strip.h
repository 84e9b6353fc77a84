// A tab strip: a row of tabs (caption, key, picture index into an image list, drawn left of
// the caption) over a panel. Tabs are numbered from 1; SelectedItem is 0 when there is none.
// Click is raised when a tab is chosen by the user (also the one already chosen) or selected
// from code, and when removing the selected tab selects its neighbour. The client area is
// where the program places the panel's contents, in the parent's coordinates.
//
// When the tabs do not fit in the row, a pair of scroll arrows at the right end of the row
// moves the tabs by one; the selected tab is always scrolled into view.
#pragma once

#include <string>
#include <vector>

#include "gfx/classic.h"
#include "ui/control.h"
#include "ui/image_list.h"

namespace ui {

struct Tab {
  std::string caption;
  std::string key;
  int image = 0;  // 0: none
  std::string toolTip;
};

class TabStrip : public Control {
 public:
  TabStrip(Parent parent, std::string name, int x = 0, int y = 0, int width = 300, int height = 200,
           int index = -1);

  // Inserts a tab at `position` (1-based; 0 or out of range: at the end); returns its index.
  // The first tab of an empty strip becomes selected without a Click.
  int Add(const std::string& caption, const std::string& key = "", int image = 0, int position = 0);
  // Removes a tab; false out of range. Removing the selected tab selects the tab that takes
  // its place (or the one before it when it was the last) and raises Click.
  bool Remove(int index);
  void Clear();  // no tabs, nothing selected, no Click
  int Count() const { return static_cast<int>(tabs_.size()); }
  const Tab& Item(int index) const;  // an empty tab out of range
  void SetCaption(int index, const std::string& caption);
  void SetImage(int index, int image);
  int IndexOfKey(const std::string& key) const;  // 0 when absent

  int SelectedItem() const { return selected_; }
  // Selects a tab and raises Click, as a click on it does; out of range is ignored.
  void SetSelectedItem(int index);
  std::string SelectedCaption() const { return Item(selected_).caption; }

  void SetImageList(const ImageList* images);

  // The panel's inner rectangle in the parent's client coordinates.
  int ClientLeft() const;
  int ClientTop() const;
  int ClientWidth() const;
  int ClientHeight() const;

  // The tab's rectangle in the control's client coordinates, as scrolled; empty out of range
  // and for tabs scrolled out to the left.
  gfx::Rect TabRect(int index) const;
  int TabRowHeight() const;
  int HitTest(int x, int y) const;  // the tab under a point, or 0 (also on the arrows)

  // Scrolling: the first tab shown (1 when none), whether the arrows show, and where.
  int FirstShownTab() const { return first_; }
  bool ScrollArrowsShown() const;
  gfx::Rect ScrollLeftRect() const;  // empty while the arrows are hidden
  gfx::Rect ScrollRightRect() const;
  // Whether the whole tab lies left of the arrows.
  bool TabFullyShown(int index) const;

 protected:
  void Paint(gfx::Canvas& canvas) override;
  bool TakesFocus() const override { return true; }
  void HandleMouseDown(int button, int shift, int x, int y) override;
  void HandleClick() override {}
  void HandleKeyDown(int& keyCode, int shift) override;
  void HandleResize() override;

 private:
  int TabWidth(const Tab& tab) const;
  int TabsRight() const;  // where the tabs' room ends: the arrows, or the control's edge
  bool CanScrollRight() const;
  void KeepSelectedInView();

  std::vector<Tab> tabs_;
  int selected_ = 0;
  int first_ = 1;
  const ImageList* images_ = nullptr;
};

}  // namespace ui
