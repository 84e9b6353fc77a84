// Menus of the simulated desktop: menu bars, pop-ups, and choosing items as a person does.
#include <algorithm>

#include "platform/sim/desktop.h"
#include "platform/sim/state.h"

namespace platform::sim {

namespace {

constexpr UINT kMsgfMenu = 2;  // WM_ENTERIDLE from a menu
constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_POPUP;

struct ItemRef {
  Menu* menu = nullptr;
  size_t index = 0;
};

// Finds an item by position, or by command searching submenus before the pop-up item itself.
ItemRef FindItem(std::map<HMENU, Menu>& menus, HMENU handle, UINT item, UINT flags, int depth = 0) {
  auto it = menus.find(handle);
  if (it == menus.end() || depth > 32) return {};
  Menu& menu = it->second;
  if (flags & MF_BYPOSITION) {
    if (item >= menu.items.size()) return {};
    return ItemRef{&menu, item};
  }
  ItemRef fallback;
  for (size_t i = 0; i < menu.items.size(); ++i) {
    MenuItem& mi = menu.items[i];
    if (mi.flags & MF_POPUP) {
      ItemRef inner = FindItem(menus, mi.sub, item, flags, depth + 1);
      if (inner.menu) return inner;
      if (mi.id == item && !fallback.menu) fallback = ItemRef{&menu, i};
    } else if (mi.id == item) {
      return ItemRef{&menu, i};
    }
  }
  return fallback;
}

MenuItem MakeItem(UINT flags, uintptr_t idOrSubmenu, const std::string& text) {
  MenuItem mi;
  mi.flags = flags & kStateBits;
  mi.id = static_cast<UINT>(idOrSubmenu);
  if (flags & MF_POPUP) mi.sub = static_cast<HMENU>(idOrSubmenu);
  if (!(flags & MF_SEPARATOR)) mi.text = text;
  return mi;
}

}  // namespace

// Item texts compare without the "&" marks, the accelerator part after a tab, and case.
std::string MenuKey(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\t') break;
    if (c != '&') out += c;
  }
  return AnsiLower(out);
}

HMENU Desktop::CreateMenu() {
  State& s = *state_;
  HMENU h = s.nextMenu;
  s.nextMenu += 2;
  s.menus[h] = Menu{};
  return h;
}

HMENU Desktop::CreatePopupMenu() {
  HMENU h = CreateMenu();
  state_->menus[h].popup = true;
  return h;
}

bool Desktop::DestroyMenu(HMENU menu) {
  State& s = *state_;
  auto it = s.menus.find(menu);
  if (it == s.menus.end()) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return false;
  }
  std::vector<HMENU> subs;
  for (const auto& mi : it->second.items)
    if (mi.flags & MF_POPUP) subs.push_back(mi.sub);
  s.menus.erase(it);
  for (HMENU sub : subs)
    if (s.menus.count(sub)) DestroyMenu(sub);
  return true;
}

HMENU Desktop::GetMenu(HWND hwnd) {
  Window* w = Need(hwnd);
  if (!w) return 0;
  if (w->style & WS_CHILD) return w->id;
  return w->menu;
}

bool Desktop::SetMenu(HWND hwnd, HMENU menu) {
  State& s = *state_;
  Window* w = Need(hwnd);
  if (!w) return false;
  if (w->style & WS_CHILD) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if (menu != 0 && !s.menus.count(menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return false;
  }
  w->menu = menu;
  SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, 0);
  SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, 0);
  return true;
}

HMENU Desktop::GetSubMenu(HMENU menu, int position) {
  State& s = *state_;
  auto it = s.menus.find(menu);
  if (it == s.menus.end()) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return 0;
  }
  if (position < 0 || static_cast<size_t>(position) >= it->second.items.size()) return 0;
  const MenuItem& mi = it->second.items[static_cast<size_t>(position)];
  return (mi.flags & MF_POPUP) ? mi.sub : 0;
}

int Desktop::GetMenuItemCount(HMENU menu) {
  auto it = state_->menus.find(menu);
  if (it == state_->menus.end()) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return -1;
  }
  return static_cast<int>(it->second.items.size());
}

UINT Desktop::GetMenuItemID(HMENU menu, int position) {
  auto it = state_->menus.find(menu);
  if (it == state_->menus.end()) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return 0xFFFFFFFF;
  }
  if (position < 0 || static_cast<size_t>(position) >= it->second.items.size()) return 0xFFFFFFFF;
  const MenuItem& mi = it->second.items[static_cast<size_t>(position)];
  return (mi.flags & MF_POPUP) ? 0xFFFFFFFF : mi.id;
}

std::string Desktop::GetMenuString(HMENU menu, UINT item, UINT flags) {
  ItemRef ref = FindItem(state_->menus, menu, item, flags);
  if (!ref.menu) return {};
  return ref.menu->items[ref.index].text;
}

UINT Desktop::GetMenuState(HMENU menu, UINT item, UINT flags) {
  State& s = *state_;
  ItemRef ref = FindItem(s.menus, menu, item, flags);
  if (!ref.menu) return 0xFFFFFFFF;
  const MenuItem& mi = ref.menu->items[ref.index];
  if (mi.flags & MF_POPUP) {
    auto sub = s.menus.find(mi.sub);
    UINT count = sub == s.menus.end() ? 0 : static_cast<UINT>(sub->second.items.size());
    return (count << 8) | (mi.flags & 0xFF);
  }
  return mi.flags;
}

bool Desktop::AppendMenu(HMENU menu, UINT flags, uintptr_t idOrSubmenu, const std::string& text) {
  auto it = state_->menus.find(menu);
  if (it == state_->menus.end()) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return false;
  }
  it->second.items.push_back(MakeItem(flags, idOrSubmenu, text));
  return true;
}

bool Desktop::InsertMenu(HMENU menu, UINT position, UINT flags, uintptr_t idOrSubmenu,
                         const std::string& text) {
  State& s = *state_;
  auto it = s.menus.find(menu);
  if (it == s.menus.end()) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return false;
  }
  MenuItem mi = MakeItem(flags, idOrSubmenu, text);
  if (flags & MF_BYPOSITION) {
    auto& items = it->second.items;
    size_t at = std::min<size_t>(position, items.size());
    items.insert(items.begin() + static_cast<ptrdiff_t>(at), mi);
    return true;
  }
  ItemRef ref = FindItem(s.menus, menu, position, flags);
  if (!ref.menu) return false;
  ref.menu->items.insert(ref.menu->items.begin() + static_cast<ptrdiff_t>(ref.index), mi);
  return true;
}

bool Desktop::ModifyMenu(HMENU menu, UINT position, UINT flags, uintptr_t idOrSubmenu,
                         const std::string& text) {
  State& s = *state_;
  if (!s.menus.count(menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return false;
  }
  ItemRef ref = FindItem(s.menus, menu, position, flags);
  if (!ref.menu) return false;
  MenuItem old = ref.menu->items[ref.index];
  MenuItem replacement = MakeItem(flags, idOrSubmenu, text);
  ref.menu->items[ref.index] = replacement;
  // A replaced drop-down menu goes with its item, unless the item keeps it.
  if ((old.flags & MF_POPUP) && replacement.sub != old.sub && s.menus.count(old.sub))
    DestroyMenu(old.sub);
  return true;
}

bool Desktop::RemoveMenu(HMENU menu, UINT position, UINT flags) {
  State& s = *state_;
  if (!s.menus.count(menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return false;
  }
  ItemRef ref = FindItem(s.menus, menu, position, flags);
  if (!ref.menu) return false;
  ref.menu->items.erase(ref.menu->items.begin() + static_cast<ptrdiff_t>(ref.index));
  return true;
}

bool Desktop::DeleteMenu(HMENU menu, UINT position, UINT flags) {
  // As RemoveMenu, and the item's drop-down menu goes with it.
  const ItemRef ref = FindItem(state_->menus, menu, position, flags);
  const MenuItem removed = ref.menu ? ref.menu->items[ref.index] : MenuItem{};
  if (!RemoveMenu(menu, position, flags)) return false;
  if ((removed.flags & MF_POPUP) && state_->menus.count(removed.sub)) DestroyMenu(removed.sub);
  return true;
}

DWORD Desktop::CheckMenuItem(HMENU menu, UINT item, UINT flags) {
  ItemRef ref = FindItem(state_->menus, menu, item, flags);
  if (!ref.menu) return 0xFFFFFFFF;
  MenuItem& mi = ref.menu->items[ref.index];
  DWORD previous = mi.flags & MF_CHECKED;
  mi.flags = (mi.flags & ~MF_CHECKED) | (flags & MF_CHECKED);
  return previous;
}

DWORD Desktop::EnableMenuItem(HMENU menu, UINT item, UINT flags) {
  ItemRef ref = FindItem(state_->menus, menu, item, flags);
  if (!ref.menu) return 0xFFFFFFFF;
  MenuItem& mi = ref.menu->items[ref.index];
  DWORD previous = mi.flags & (MF_GRAYED | MF_DISABLED);
  mi.flags = (mi.flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
  return previous;
}

bool Desktop::DrawMenuBar(HWND hwnd) {
  return Need(hwnd) != nullptr;
}

namespace {

// The position of the item with the given text in a menu, or -1.
int FindByText(const Menu& menu, const std::string& text) {
  std::string key = MenuKey(text);
  for (size_t i = 0; i < menu.items.size(); ++i) {
    const MenuItem& mi = menu.items[i];
    if (!(mi.flags & MF_SEPARATOR) && MenuKey(mi.text) == key) return static_cast<int>(i);
  }
  return -1;
}

bool Choosable(const MenuItem& mi) {
  return !(mi.flags & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR | MF_POPUP));
}

}  // namespace

bool Desktop::ChooseMenuItem(HWND hwnd, const std::vector<std::string>& path) {
  State& s = *state_;
  Window* w = Find(hwnd);
  if (!w || path.empty() || (w->style & WS_CHILD) || !s.menus.count(w->menu)) return false;
  HMENU menu = w->menu;
  SendMessage(hwnd, WM_ENTERMENULOOP, FALSE, 0);
  SendMessage(hwnd, WM_INITMENU, menu, 0);
  UINT chosen = 0;
  bool found = false;
  int opened = 0;
  s.openMenus.clear();
  s.menuBarWindow = hwnd;
  for (size_t level = 0; level < path.size(); ++level) {
    auto it = s.menus.find(menu);
    if (it == s.menus.end()) break;
    int pos = FindByText(it->second, path[level]);
    if (pos < 0) break;
    MenuItem mi = it->second.items[static_cast<size_t>(pos)];
    if (mi.flags & (MF_GRAYED | MF_DISABLED)) break;
    bool last = level + 1 == path.size();
    // What the person points at shows selected: the bar's item, then an item of the drop-down.
    if (level == 0) {
      s.menuBarItem = pos;
    } else if (!s.openMenus.empty()) {
      s.openMenus.back().highlighted = pos;
    }
    if (mi.flags & MF_POPUP) {
      if (last || !s.menus.count(mi.sub)) break;
      SendMessage(hwnd, WM_INITMENUPOPUP, mi.sub, MAKELPARAM(pos, 0));
      ++opened;
      const Window* frame = Find(hwnd);
      if (frame == nullptr) break;
      if (level == 0) {
        const RECT item = MenuBarItemRect(*frame, pos);
        OpenMenuAt(mi.sub, POINT{item.left, item.bottom + 1});  // under the bar
      } else {
        OpenMenuAt(mi.sub, SubmenuCorner(s.openMenus.back().menu, s.openMenus.back().at, pos));
      }
      menu = mi.sub;
      continue;
    }
    if (last && Choosable(mi)) {
      chosen = mi.id;
      found = true;
    }
    break;
  }
  if (found && s.menuShownListener && Find(hwnd)) s.menuShownListener();
  s.openMenus.clear();
  s.menuBarWindow = 0;
  s.menuBarItem = -1;
  if (!Find(hwnd)) return false;
  for (int i = 0; i < opened; ++i) SendMessage(hwnd, WM_UNINITMENUPOPUP, 0, 0);
  SendMessage(hwnd, WM_MENUSELECT, 0xFFFF0000, 0);
  SendMessage(hwnd, WM_EXITMENULOOP, FALSE, 0);
  if (!found || !Find(hwnd)) return false;
  PostMessage(hwnd, WM_COMMAND, MAKEWPARAM(static_cast<int>(chosen), 0), 0);
  RunPending();
  return true;
}

void Desktop::AnswerNextPopupMenu(const std::string& itemText) {
  state_->popupAnswers.push_back(itemText);
}

void Desktop::SetMenuShownListener(std::function<void()> listener) {
  state_->menuShownListener = std::move(listener);
}

int Desktop::TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
  State& s = *state_;
  if (!s.menus.count(menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return 0;
  }
  if (!Need(owner)) return 0;
  if (s.tracking) {
    SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
    return 0;
  }
  s.tracking = true;
  SendMessage(owner, WM_ENTERMENULOOP, TRUE, 0);
  SendMessage(owner, WM_INITMENU, menu, 0);
  SendMessage(owner, WM_INITMENUPOPUP, menu, 0);
  if (Find(owner)) SendMessage(owner, WM_ENTERIDLE, kMsgfMenu, 0);
  std::string answer;
  if (!s.popupAnswers.empty()) {
    answer = s.popupAnswers.front();
    s.popupAnswers.pop_front();
  }
  // The answer may name an item of a submenu; the first match in menu order is taken.
  UINT chosen = 0;
  std::string chosenText;
  // Where each submenu hangs: its menu and position there.
  std::map<HMENU, std::pair<HMENU, int>> hangsFrom;
  HMENU chosenIn = 0;
  int chosenAt = -1;
  if (!answer.empty()) {
    std::vector<HMENU> todo{menu};
    for (size_t i = 0; i < todo.size() && chosenText.empty(); ++i) {
      auto it = s.menus.find(todo[i]);
      if (it == s.menus.end()) continue;
      for (size_t pos = 0; pos < it->second.items.size(); ++pos) {
        const MenuItem& mi = it->second.items[pos];
        if ((mi.flags & MF_POPUP) && !(mi.flags & (MF_GRAYED | MF_DISABLED)) &&
            !hangsFrom.count(mi.sub) && mi.sub != menu) {
          todo.push_back(mi.sub);
          hangsFrom[mi.sub] = {todo[i], static_cast<int>(pos)};
        }
        if (Choosable(mi) && MenuKey(mi.text) == MenuKey(answer)) {
          chosen = mi.id;
          chosenText = mi.text;
          chosenIn = todo[i];
          chosenAt = static_cast<int>(pos);
          break;
        }
      }
    }
  }
  // On the screen: the menu, the submenus leading to the chosen item, that item selected.
  if (Find(owner)) {
    std::vector<std::pair<HMENU, int>> chain;  // from the chosen item's menu out
    if (chosenIn != 0) {
      chain.push_back({chosenIn, chosenAt});
      for (HMENU m = chosenIn; m != menu && hangsFrom.count(m);) {
        chain.push_back(hangsFrom[m]);
        m = hangsFrom[m].first;
      }
    }
    s.openMenus.clear();
    s.menuBarWindow = 0;
    OpenMenuAt(menu, POINT{x, y});
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      s.openMenus.back().highlighted = it->second;
      if (it + 1 != chain.rend()) {
        const State::OpenMenu& parent = s.openMenus.back();
        OpenMenuAt((it + 1)->first, SubmenuCorner(parent.menu, parent.at, it->second));
      }
    }
    if (s.menuShownListener) s.menuShownListener();
    s.openMenus.clear();
  }
  if (Find(owner)) {
    SendMessage(owner, WM_UNINITMENUPOPUP, menu, 0);
    SendMessage(owner, WM_MENUSELECT, 0xFFFF0000, 0);
    SendMessage(owner, WM_EXITMENULOOP, TRUE, 0);
  }
  s.tracking = false;
  Record(Event::Kind::PopupMenu, chosenText, "");
  if (flags & TPM_RETURNCMD) return chosenText.empty() ? 0 : static_cast<int>(chosen);
  if (!chosenText.empty() && Find(owner))
    PostMessage(owner, WM_COMMAND, MAKEWPARAM(static_cast<int>(chosen), 0), 0);
  return 1;
}

std::string Desktop::DumpMenu(HMENU menu) const {
  const State& s = *state_;
  std::string out;
  std::function<void(HMENU, int)> dump = [&](HMENU h, int depth) {
    auto it = s.menus.find(h);
    if (it == s.menus.end() || depth > 32) return;
    for (const MenuItem& mi : it->second.items) {
      out += std::string(static_cast<size_t>(depth) * 2, ' ');
      if (mi.flags & MF_SEPARATOR) {
        out += "-----\n";
        continue;
      }
      out += (mi.flags & MF_CHECKED) ? "[x] " : "[ ] ";
      out += "\"" + mi.text + "\"";
      if (mi.flags & MF_POPUP) {
        out += " popup";
      } else {
        out += " id=" + std::to_string(mi.id);
      }
      if (mi.flags & MF_GRAYED) out += " grayed";
      if (mi.flags & MF_DISABLED) out += " disabled";
      out += "\n";
      if (mi.flags & MF_POPUP) dump(mi.sub, depth + 1);
    }
  };
  dump(menu, 0);
  return out;
}

}  // namespace platform::sim
