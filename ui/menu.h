// Menus of a form: a tree of items with caption, check mark, enabled and visible states, and a
// Click event. The visible top-level items of a form's tree make its menu bar; any item with
// children can be shown as a pop-up menu (Form::PopupMenu). A caption of "-" is a separator.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/types.h"

namespace ui {

class Form;

class Menu {
 public:
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;
  ~Menu();

  // Appends an item; index >= 0 for an item of a menu array.
  Menu& Add(const std::string& name, const std::string& caption, int index = -1);
  // Removes a child item (with its children); false when it is not a child of this menu.
  bool Remove(Menu& item);

  const std::string& Name() const { return name_; }
  int Index() const { return index_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool IsSeparator() const { return caption_ == "-"; }

  size_t Count() const { return items_.size(); }
  Menu& Item(size_t position) { return *items_.at(position); }
  Menu* ParentMenu() const { return parent_; }
  // The command identifier that the platform reports for this item.
  platform::UINT Id() const { return id_; }

  // Searches this item and its descendants.
  Menu* FindById(platform::UINT id);
  Menu* Find(const std::string& name, int index = -1);

  // Raises the Click event, as choosing the item does.
  void Click();
  std::function<void()> OnClick;

  // Fills a platform menu with the visible children of this item (pop-ups for items that have
  // children of their own).
  void FillPlatformMenu(platform::HMENU menu) const;

 private:
  friend class Form;
  Menu(Menu* parent, Form* form, std::string name, std::string caption, int index,
       platform::UINT id);
  void Changed();
  Menu& Root();

  Menu* parent_ = nullptr;
  Form* form_ = nullptr;
  std::string name_;
  std::string caption_;
  int index_ = -1;
  platform::UINT id_ = 0;
  platform::UINT nextId_ = 100;  // used on the root
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  std::vector<std::unique_ptr<Menu>> items_;
};

}  // namespace ui
