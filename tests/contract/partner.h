// What the second process of the cross-process cases does, written against the seam alone: on
// the simulated desktop it runs as another process of the same desktop, under Windows as a
// second instance of the contract executable (see contract_main.cpp).
#pragma once

#include <string>

#include "platform/win32.h"

namespace contract::partner {

constexpr const char* kClass = "ContractPartner";
constexpr platform::UINT kOpenCommand = 1;
constexpr platform::UINT kPopupCommand = 1001;
constexpr const char* kPopupCaption = "Pallion";

// A window of the partner's class keeps in its caption the last click or command it got.
inline void RegisterClass() {
  using namespace platform;
  WindowClass cls;
  cls.name = kClass;
  cls.proc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_LBUTTONDOWN) {
      SetWindowText(h, "clicked");
      return 0;
    }
    if (m == WM_COMMAND) {
      SetWindowText(h, "command " + std::to_string(LOWORD(w)));
      return 0;
    }
    return DefWindowProc(h, m, w, l);
  };
  platform::RegisterClass(cls);
}

inline std::string ClientCaption(const std::string& tag) {
  return "Partner " + tag;
}

// The client's part: a frame with a menu bar (File > Open), and inside it a window that notes
// its clicks and a multi-line edit control that has the focus.
inline void MakeClient(const std::string& tag) {
  using namespace platform;
  RegisterClass();
  HWND frame = CreateWindowEx(0, kClass, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300, 0,
                              0, nullptr);
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenu(file, MF_STRING, kOpenCommand, "&Open");
  AppendMenu(bar, MF_POPUP, file, "&File");
  SetMenu(frame, bar);
  CreateWindowEx(0, kClass, "target", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50, frame, 1, nullptr);
  // Lines are not wrapped at the control's width: each line of the text is one line.
  HWND lines = CreateWindowEx(0, "Edit", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL,
                              10, 70, 300, 100, frame, 2, nullptr);
  // In front, the person's keys going to the edit control.
  SetForegroundWindow(frame);
  SetFocus(lines);
  // Found by its caption once everything is there.
  SetWindowText(frame, ClientCaption(tag));
}

inline std::string AreaCaption(const std::string& tag) {
  return "Area " + tag;
}
inline std::string GuardedCaption(const std::string& tag) {
  return "guarded " + tag;
}
// Captions the test gives the adopter's window to make it fail, or end through the seam.
constexpr const char* kCrashCaption = "crash";
constexpr const char* kExitCaption = "exit";
constexpr const char* kReleaseCaption = "release";  // takes the leftovers back, then ends

// The interceptor's part, as the program takes a client's window: a window the client's thread
// makes inside `home` for it adopts `im` (so that it outlives the interceptor), a pop-up joins
// the menu bar of `menuOwner`, and all of it is left with the client's process to undo (the
// caption of the interceptor's own window says whether that was accepted). The guard's handle.
inline platform::HANDLE Adopt(const std::string& tag, platform::HWND home, platform::HWND im,
                              platform::HWND menuOwner) {
  using namespace platform;
  RegisterClass();
  HWND area = CreateWindowEx(0, kClass, AreaCaption(tag), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 420, 10,
                             300, 300, 0, 0, nullptr);
  const HWND holder = CreateChildInOwner(home, 230, 10, 240, 200);
  SetParent(im, holder);
  HMENU popup = CreatePopupMenu();
  AppendMenu(popup, MF_STRING, kPopupCommand, "Control Panel");
  AppendMenu(GetMenu(menuOwner), MF_POPUP, popup, kPopupCaption);
  DrawMenuBar(menuOwner);
  Leftovers leftovers;
  leftovers.area = holder;
  leftovers.home = home;
  leftovers.container = holder;
  leftovers.menuBarOwner = menuOwner;
  leftovers.menuCaptions = {kPopupCaption};
  const HANDLE guard = GuardLeftovers(leftovers);
  if (guard != 0) SetWindowText(area, GuardedCaption(tag));
  return guard;
}

}  // namespace contract::partner
