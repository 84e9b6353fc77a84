// Reactions to the watched windows: the container (close box, sizing, painting, activation),
// the client's MDI client and main window, and the program's button on the client's toolbar.
#include <initializer_list>

#include "container/main_window.h"
#include "gfx/canvas.h"
#include "host/window_access.h"
#include "imlog/im_log.h"
#include "platform/win32.h"
#include "settings/settings_store.h"

namespace container {

using namespace platform;

namespace {

// The fade bar shows its last button only when it is wider than this (twips).
constexpr int kMiddleBarFullTwips = 4380;

bool IsRepaintMessage(UINT msg) {
  return msg == WM_PAINT || msg == WM_NCACTIVATE;
}

// Puts a control on top of its siblings unless it is there already, so that painting never
// causes more painting.
void ToTop(ui::Control& control) {
  const HWND parent = control.ParentHwnd();
  if (parent != 0 && GetWindow(parent, GW_CHILD) == control.hwnd()) return;
  control.ZOrder();
}

}  // namespace

void MainWindow::CloseAllIMs() {
  const bool log = settings::ReadSetting(settings::keys::kLogIMs) == "1";
  for (int i = 0; i < List1.ListCount(); ++i) {
    const HWND im = ListIM(i);
    if (im == 0 || !IsWindow(im)) continue;
    if (log) imlog::WriteIMLog(im);
    SendMessage(im, WM_CLOSE, 0, 0);
  }
}

void MainWindow::SubClassPallionMessage(WatchedMessage& m, bool& noPass) {
  switch (m.msg) {
    case WM_CLOSE:
      noPass = true;
      CloseAllIMs();
      ClearIMs();
      host::HideWin(ContainerWindow());
      break;
    case WM_SIZE:
      if (!FloatMode()) {
        ReadContainerRect();
        const int width = ContainerRect.Width();
        const int height = ContainerRect.Height();
        if (width < kMinContainerWidth || height < kMinContainerHeight) {
          MoveContainerTo(ContainerRect.left, ContainerRect.top,
                          std::max(width, kMinContainerWidth),
                          std::max(height, kMinContainerHeight));
          ReadContainerRect();
        }
        Picture1.Move(0, 0, ContainerRect.Width() - 5, ContainerRect.Height() - 27);
        if (host::IsAOL7) {
          AdjustSizeAOL7();
        } else {
          AdjustSize3();
        }
      }
      ToTop(picIMSide);
      ToTop(picButtonsHold);
      ToTop(Frame1);
      AOButtonMiddle[8]->SetVisible(gfx::PixelsToTwips(picMiddleBar.Width()) > kMiddleBarFullTwips);
      ctList1.Move(4, 4);
      break;
    case WM_PAINT:
    case WM_NCACTIVATE:
      TabStrip1.Invalidate();
      Picture1.Invalidate();
      break;
    case WM_CHILDACTIVATE:
      GiveKeysBackToShownIM();
      break;
    default:
      break;
  }
}

void MainWindow::SubClass2Message(WatchedMessage& m, bool&) {
  if (!IsRepaintMessage(m.msg)) return;
  const std::initializer_list<ui::Control*> panels = {
      &AOButtonSend,    &AOButtonLocate,   &AOButtonGetProfile, &AOButtonNotifyAOL,
      &AOButtonOptions, &AOButtonIMAnswer, &AOButtonCloseIM,    &AOButtonMail,
      &Picture2,        &picButtonsHold,   &picMenuIM};
  for (ui::Control* c : panels) c->Invalidate();
  for (widgets::AOButton* b : AOButtonMiddle) b->Invalidate();
  for (int i = 1; i <= 4; ++i) cmdColor[i]->Invalidate();
  SendMessage(picIM.hwnd(), WM_NCPAINT, 1, 0);
  SendMessage(picButtonsHold.hwnd(), WM_NCPAINT, 1, 0);
  ToTop(picMiddleBar);
  ReadIMAreaRect();
  picMiddleBar.Invalidate();
}

void MainWindow::SubClassMDIMessage(WatchedMessage& m, bool&) {
  const HWND aol = host::FindAOL();
  if (m.hwnd == aol) {
    // Closed, or gone without a word: either way the client is going, and what Pallion holds
    // is logged and given up while the client's windows still stand.
    if (m.msg == WM_CLOSE || m.msg == WM_DESTROY) ExitProgram();
    return;
  }
  picMenuIM.Invalidate();
  if (m.msg != WM_SIZE && !IsRepaintMessage(m.msg)) return;
  ToTop(picIMSide);
  ToTop(picMiddleBar);
  ReadIMAreaRect();
  const HWND active = host::FirstChild(host::FindMDI(), "AOL Child");
  if (host::GetCaption(active).rfind(kContainerCaption, 0) == 0) GiveKeysBackToShownIM();
  ReadContainerRect();
}

void MainWindow::SubClassIMsMessage(WatchedMessage& m, bool&) {
  if (m.msg != WM_DESTROY) return;
  if (settings::ReadSetting(settings::keys::kLogIMs) == "1") imlog::WriteIMLog(m.hwnd);
}

void MainWindow::WinHook3Mouse(HWND, UINT& msg, WPARAM, LPARAM) {
  if (msg == WM_LBUTTONDOWN) {
    host::PlaySoundFile(settings::FolderPath(std::string(settings::kSoundsFolder) + "Menu.icp"));
    const HWND toolbar = host::FindToolbar();
    RECT icon;
    if (GetWindowRect(host::NthChildExact(toolbar, "_AOL_Icon", 5), icon)) {
      Move(icon.left - 2, icon.bottom - 40, 5000, 5000);
    }
    msg = 0;
    PopupMenu(mnuIMS, 0, 0);
  }
  msg = 0;
}

}  // namespace container
