#include "ui/menu.h"

#include <algorithm>

#include "platform/win32.h"
#include "ui/form.h"

namespace ui {

using namespace platform;

Menu::Menu(Menu* parent, Form* form, std::string name, std::string caption, int index, UINT id)
    : parent_(parent),
      form_(form),
      name_(std::move(name)),
      caption_(std::move(caption)),
      index_(index),
      id_(id) {}

Menu::~Menu() = default;

Menu& Menu::Root() {
  Menu* m = this;
  while (m->parent_ != nullptr) m = m->parent_;
  return *m;
}

Menu& Menu::Add(const std::string& name, const std::string& caption, int index) {
  Menu& root = Root();
  items_.push_back(
      std::unique_ptr<Menu>(new Menu(this, form_, name, caption, index, root.nextId_++)));
  Changed();
  return *items_.back();
}

bool Menu::Remove(Menu& item) {
  auto it = std::find_if(items_.begin(), items_.end(),
                         [&](const std::unique_ptr<Menu>& m) { return m.get() == &item; });
  if (it == items_.end()) return false;
  items_.erase(it);
  Changed();
  return true;
}

void Menu::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  Changed();
}
void Menu::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Changed();
}
void Menu::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Changed();
}
void Menu::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Changed();
}

void Menu::Changed() {
  if (form_ != nullptr) form_->RebuildMenuBar();
}

Menu* Menu::FindById(UINT id) {
  if (id_ == id && parent_ != nullptr) return this;
  for (auto& item : items_) {
    if (Menu* found = item->FindById(id)) return found;
  }
  return nullptr;
}

Menu* Menu::Find(const std::string& name, int index) {
  if (parent_ != nullptr && name_ == name && index_ == index) return this;
  for (auto& item : items_) {
    if (Menu* found = item->Find(name, index)) return found;
  }
  return nullptr;
}

void Menu::Click() {
  if (!OnClick) return;
  auto copy = OnClick;
  copy();
}

void Menu::FillPlatformMenu(HMENU menu) const {
  for (const auto& item : items_) {
    if (!item->visible_) continue;
    if (item->IsSeparator()) {
      AppendMenu(menu, MF_SEPARATOR, 0, "");
      continue;
    }
    UINT flags = MF_STRING;
    if (item->checked_) flags |= MF_CHECKED;
    if (!item->enabled_) flags |= MF_GRAYED;
    if (!item->items_.empty()) {
      HMENU sub = CreatePopupMenu();
      item->FillPlatformMenu(sub);
      AppendMenu(menu, flags | MF_POPUP, sub, item->caption_);
    } else {
      AppendMenu(menu, flags, item->id_, item->caption_);
    }
  }
}

}  // namespace ui
