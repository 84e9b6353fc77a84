#include "platform/leftovers.h"

#include <algorithm>

namespace platform {

namespace {

constexpr int kBackLeft = 220;
constexpr int kBackTop = 125;
constexpr int kBackWidth = 390;
constexpr int kBackHeight = 300;

bool OwnedByCaller(System& system, HWND window) {
  DWORD owner = 0;
  system.GetWindowThreadProcessId(window, &owner);
  return owner != 0 && owner == system.GetCurrentProcessId();
}

}  // namespace

void HandBackWindow(System& system, HWND window, HWND mdiClient) {
  system.SetWindowPos(window, HWND_TOP, kBackLeft, kBackTop, kBackWidth, kBackHeight, 0);
  system.SetParent(window, mdiClient);
}

void RemoveMenuBarItems(System& system, HWND owner, const std::vector<std::string>& captions) {
  const HMENU bar = system.GetMenu(owner);
  if (bar == 0) return;
  for (int position = system.GetMenuItemCount(bar) - 1; position >= 0; --position) {
    const std::string caption =
        system.GetMenuString(bar, static_cast<UINT>(position), MF_BYPOSITION);
    if (std::find(captions.begin(), captions.end(), caption) != captions.end()) {
      system.DeleteMenu(bar, static_cast<UINT>(position), MF_BYPOSITION | MF_POPUP);
    }
  }
  system.DrawMenuBar(owner);
}

int UndoLeftovers(System& system, const Leftovers& leftovers) {
  int given = 0;
  if (leftovers.area != 0 && system.IsWindow(leftovers.home)) {
    std::vector<HWND> adopted;  // top first
    for (HWND w = system.GetWindow(leftovers.area, GW_CHILD); w != 0;
         w = system.GetWindow(w, GW_HWNDNEXT)) {
      if (OwnedByCaller(system, w)) adopted.push_back(w);
    }
    for (auto it = adopted.rbegin(); it != adopted.rend(); ++it) {
      HandBackWindow(system, *it, leftovers.home);
      system.ShowWindow(*it, SW_SHOW);
      ++given;
    }
  }
  if (leftovers.menuBarOwner != 0 && !leftovers.menuCaptions.empty()) {
    RemoveMenuBarItems(system, leftovers.menuBarOwner, leftovers.menuCaptions);
  }
  if (system.IsWindow(leftovers.container) && OwnedByCaller(system, leftovers.container)) {
    system.PostMessage(leftovers.container, WM_CLOSE, 0, 0);
  }
  return given;
}

}  // namespace platform
