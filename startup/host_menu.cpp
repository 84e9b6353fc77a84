#include "startup/host_menu.h"

#include <string>

#include "container/main_window.h"
#include "host/window_access.h"
#include "imlog/im_log.h"
#include "platform/files.h"
#include "platform/leftovers.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "widgets/message_box.h"

namespace startup {

using namespace platform;

namespace {

enum Command : UINT {
  kControlPanel = 1001,
  kHelp = 1003,
  kCheckForUpdates = 1004,
  kResetIMs = 1006,
  kSaveIM = 1007,
  kTellaFriend = 1009,
  kAdvertise = 1010,
  kAbout = 1011,
  kExit = 1013,
};

void Open(const std::function<void()>& show) {
  if (show) show();
}

void Help(container::MainWindow& main) {
  const std::string file = settings::FolderPath(settings::kMenuHelpFile);
  if (!files::Exists(file)) {
    widgets::ShowMessageBox(main.hwnd(),
                            "The help file Pallion.chm is not in the program's folder.", 0, "Help");
    return;
  }
  ShellExecute(main.hwnd(), "open", file, files::ProgramFolder(), SW_SHOW);
}

void CheckForUpdates(container::MainWindow& main) {
  if (host::GetUserSN().empty()) {
    widgets::ShowMessageBox(main.hwnd(), "You are not signed on to AOL. Please sign on to AOL.", 0,
                            "Not signed on");
    return;
  }
  if (main.TimerUrgentNews.Enabled()) {
    widgets::ShowMessageBox(main.hwnd(), "Wait few more minutes before using this feature.", 0,
                            "Please Wait");
    return;
  }
  Open(HostMenuTargets().showLiveUpdate);
}

}  // namespace

HostMenuWindows& HostMenuTargets() {
  static HostMenuWindows windows;
  return windows;
}

bool BuildHostMenu(container::MainWindow& main) {
  const HWND aol = host::FindAOL();
  const HMENU bar = GetMenu(aol);
  if (bar == 0) return false;
  const int last = GetMenuItemCount(bar) - 1;
  if (last < 0 || GetMenuString(bar, static_cast<UINT>(last), MF_BYPOSITION) !=
                      container::kHostMenuCaptionAppended) {
    return false;
  }
  // The pop-up is filled before it joins the bar: the client (another process on Windows) may
  // show or read the bar at any moment and must never find the menu half made.
  const HMENU popup = CreatePopupMenu();
  if (popup == 0) return false;
  UINT id = kFirstCommand;
  for (const char* caption : kHostMenuItems) {
    const std::string text = caption;
    AppendMenu(popup, text == "-" ? MF_SEPARATOR : MF_STRING, id++, text == "-" ? "" : text);
  }
  if (!ModifyMenu(bar, static_cast<UINT>(last), MF_BYPOSITION | MF_POPUP, popup,
                  container::kHostMenuCaption)) {
    DestroyMenu(popup);
    return false;
  }
  DrawMenuBar(aol);

  container::MainWindow* target = &main;
  main.SubClassMenu.onMessage = [target](WatchedMessage& m, bool&) {
    // Only a menu choice: a control of the client notifying its parent (its handle in lParam)
    // or one of the client's accelerators (high word 1) may carry the same identifiers.
    if (m.msg == WM_COMMAND && m.lParam == 0 && HIWORD(m.wParam) == 0) {
      HostMenuCommand(*target, LOWORD(m.wParam));
    }
  };
  main.SubClassMenu.SetHWnd(aol);
  return true;
}

void HostMenuCommand(container::MainWindow& main, UINT id) {
  switch (id) {
    case kControlPanel:
      Open(HostMenuTargets().showSettings);
      break;
    case kHelp:
      Help(main);
      break;
    case kCheckForUpdates:
      CheckForUpdates(main);
      break;
    case kResetIMs:
      ResetIMs(main);
      break;
    case kSaveIM:
      SaveIM(main);
      break;
    case kTellaFriend:
      main.TimerTellaFriend.SetEnabled(true);
      break;
    case kAdvertise:
      main.TimerAdvertise.SetEnabled(true);
      break;
    case kAbout:
      Open(HostMenuTargets().showAbout);
      break;
    case kExit:
      main.ExitProgram();
      break;
    default:
      break;
  }
}

void ResetIMs(container::MainWindow& main) {
  const HWND mdi = host::FindMDI();
  // Without the client's MDI client (the IMs float in Pallion's own window then) they would go
  // back nowhere and never be gathered again: they stay.
  if (host::FindCurrentIM() == 0 || mdi == 0) return;
  main.Timer1.SetEnabled(false);
  for (int i = 0; i < main.List1.ListCount(); ++i) {
    const HWND im = main.ListIM(i);
    if (im == 0 || !IsWindow(im)) continue;
    HandBackWindow(Current(), im, mdi);
  }
  main.ClearIMs();
  main.Timer1.SetEnabled(true);
}

void SaveIM(container::MainWindow& main) {
  const HWND im = host::FindCurrentIM();
  if (im == 0) return;
  host::GetRichHTML(imlog::ConversationView(im), main.hwnd());
  host::RunAOLMenu(0, 0);
  host::Pause(1);
  host::RunAOLMenu(1, 4);
}

}  // namespace startup
