// The end of the program: the adopted IMs are logged and closed or handed back to the client,
// the program's menu leaves the client's menu bar, the container's place is saved, the watches
// stop, the container closes and the process ends.
#include "container/main_window.h"
#include "host/window_access.h"
#include "imlog/im_log.h"
#include "platform/win32.h"
#include "settings/settings_store.h"

namespace container {

using namespace platform;

namespace {

// Where IMs given back to the client appear in its MDI area.
constexpr int kBackLeft = 220;
constexpr int kBackTop = 125;
constexpr int kBackWidth = 390;
constexpr int kBackHeight = 300;

// Deletes the program's pop-up from the client's menu bar, found by its caption, so the client's
// own menus stay whatever their number.
void RemoveProgramMenu(HWND aol) {
  const HMENU bar = GetMenu(aol);
  if (bar == 0) return;
  for (int position = GetMenuItemCount(bar) - 1; position >= 0; --position) {
    const std::string caption = GetMenuString(bar, static_cast<UINT>(position), MF_BYPOSITION);
    if (caption == kHostMenuCaption || caption == kHostMenuCaptionAppended) {
      DeleteMenu(bar, static_cast<UINT>(position), MF_BYPOSITION | MF_POPUP);
    }
  }
  DrawMenuBar(aol);
}

}  // namespace

void HandBackIM(HWND im, HWND mdi) {
  SetWindowPos(im, HWND_TOP, kBackLeft, kBackTop, kBackWidth, kBackHeight, 0);
  platform::SetParent(im, mdi);
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
      HandBackIM(ListIM(i), mdi);
    }
  }

  Hide();
  const HWND aol = host::FindAOL();
  RemoveProgramMenu(aol);

  const HWND container = ContainerWindow();
  RECT r;
  if (container != 0 && GetWindowRect(container, r)) {
    ContainerRect = r;
    settings::WritePlace({r.left, r.top, r.Width(), r.Height()});
  }

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
