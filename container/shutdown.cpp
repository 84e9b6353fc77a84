// The end of the program: the adopted IMs are logged and closed or handed back to the client,
// the program's menu leaves the client's menu bar, the container's place is saved, the watches
// stop, the container closes and the process ends.
#include "container/main_window.h"
#include "host/window_access.h"
#include "imlog/im_log.h"
#include "platform/leftovers.h"
#include "platform/win32.h"
#include "settings/settings_store.h"

namespace container {

using namespace platform;

std::vector<std::string> HostMenuCaptions() {
  return {kHostMenuCaption, kHostMenuCaptionAppended};
}

void MainWindow::GuardLeftovers() {
  Leftovers leftovers;
  leftovers.area = IMHolder();
  leftovers.home = host::FindMDI();
  leftovers.container = host::FindPallionChild();
  leftovers.menuBarOwner = host::FindAOL();
  leftovers.menuCaptions = HostMenuCaptions();
  leftoversGuard_ = platform::GuardLeftovers(leftovers);
}

void MainWindow::StopGuardingLeftovers() {
  if (leftoversGuard_ != 0) Unhook(leftoversGuard_);
  leftoversGuard_ = 0;
}

void MainWindow::ExitProgram() {
  if (exited_) return;
  exited_ = true;
  Timer1.SetEnabled(false);
  // From here the IMs are logged below when they are to be; none is logged as it closes.
  SubClassIMs.SetHWnd(0);

  if (settings::ReadSetting(settings::keys::kLogIMs) == "1") {
    for (int i = 0; i < List1.ListCount(); ++i) {
      const HWND im = ListIM(i);
      if (im != 0 && IsWindow(im)) imlog::WriteIMLog(im);
    }
  }
  // Out of the floating window first, whose own close would close every IM.
  LeaveFloatModeForExit();
  const std::string closeIMs = settings::ReadSetting(settings::keys::kCloseIMs);
  if (closeIMs == "1") {
    for (int i = 0; i < List1.ListCount(); ++i) SendMessage(ListIM(i), WM_CLOSE, 0, 0);
  } else if (closeIMs == "0" || closeIMs.empty()) {
    const HWND mdi = host::FindMDI();
    for (int i = 0; i < List1.ListCount(); ++i) {
      HandBackWindow(Current(), ListIM(i), mdi);
    }
  }

  Hide();
  RemoveMenuBarItems(Current(), host::FindAOL(), HostMenuCaptions());

  const HWND container = ContainerWindow();
  RECT r;
  if (container != 0 && GetWindowRect(container, r)) {
    ContainerRect = r;
    settings::WritePlace({r.left, r.top, r.Width(), r.Height()});
  }

  // From here what the program put into the client is undone or left as the exit means it.
  StopGuardingLeftovers();
  WinHook1.Stop();
  SubClass2.SetHWnd(0);
  SubClassPallion.SetHWnd(0);
  SubClassMDI.SetHWnd(0);
  SubClassMenu.SetHWnd(0);
  WinHook3.Stop();
  Timer1.SetEnabled(false);
  TimerScanIM.SetEnabled(false);

  host::CloseWin(container);
  host::Pause(3);

  if (float_) float_->Unload();
  for (const auto& unload : std::vector<std::function<void()>>(unloaders)) {
    if (unload) unload();
  }
  Unload();
  platform::ExitProcess();
}

}  // namespace container
