// Discovery of IM windows under the client's MDI client, their adoption into the IM area, and
// the unread marks of the tabs and IM-list rows.
#include <string>

#include "container/main_window.h"
#include "host/text.h"
#include "host/window_access.h"
#include "imlog/im_log.h"
#include "platform/win32.h"
#include "settings/settings_store.h"

namespace container {

using namespace platform;

namespace {

// 1-based position of the first occurrence, 0 when absent (as the platform's InStr gives it).
size_t FirstAt(const std::string& text, const char* part) {
  const size_t at = text.find(part);
  return at == std::string::npos ? 0 : at + 1;
}

}  // namespace

HWND MainWindow::Scanned(TreeScan& memo, HWND (*scan)()) {
  // Read before the scan: a change while it runs makes the next call scan again.
  const uint64_t version = WindowTreeVersion();
  if (memo.version != version) {
    memo.found = scan();
    memo.version = version;
  }
  return memo.found;
}

void MainWindow::Timer1Tick() {
  HWND im = Scanned(imScan_, host::FindIMWindow);
  if (im != 0) {
    if (ignoreCheck) ignoreCheck(im);
    if (exited_) return;
    AddIMs(im);
  }
  if (exited_) return;
  if (host::FindCurrentIM() == 0) {
    ClearIMs();
    host::HideWin(ContainerWindow());
  }
  const HWND shown = host::FindCurrentIM();
  const HWND editImage = host::FirstChild(shown, "_AOL_EditImage");
  if (shown != 0 && editImage != 0 && IsWindowVisible(editImage)) {
    SendMessage(editImage, WM_CLOSE, 0, 0);
    ReadContainerRect();
    const RECT r = ContainerRect;
    MoveContainerTo(r.left, r.top, r.Width(), r.Height() - 1);
    MoveContainerTo(r.left, r.top, r.Width(), r.Height() + 1);
  }
}

void MainWindow::AddIMs(HWND& daIM) {
  // A window that is gone by now (closed by the ignore check, or by the client) is not shown.
  if (daIM == 0 || !IsWindow(daIM)) return;
  ctList1.Move(4, 4);
  if (settings::ReadSetting(settings::keys::kAutoAcceptIMs) == "1") host::ClickOKIcon(daIM);
  host::ClickRespondIcon(daIM);
  host::CloseEditImage(daIM);

  const bool accepted = host::GetFirstIconText(daIM) != "OK";
  const HWND icon11 = host::GetIMIcon11(daIM);
  if (accepted && !(icon11 != 0 && IsWindowVisible(icon11))) {
    // Also inside the floating window, when Float Mode was chosen before this IM came.
    host::ShowWin(ContainerWindow());
    const std::string name = host::GetIMScreenName(daIM);
    const std::string caption = host::GetCaption(daIM);
    if (name == "$im_off" || name == "$im_on" || FirstAt(caption, "IM To: $im_off") == 2 ||
        FirstAt(caption, "IM To: $im_on") == 2) {
      host::CloseWin(daIM);
      return;
    }
    platform::SetParent(daIM, IMHolder());
    if (!name.empty()) {
      TabStrip1.Add(name);
      List1.AddItem(std::to_string(daIM));
      SubClassIMs.AddHWnd(daIM);

      if (FindWindowEx(daIM, 0, "RICHCNTLREADONLY", nullptr) != 0) {
        host::IsAOL7 = true;
        AOButtonGetProfile.SetCaption("Get Info");
        AOButtonMail.SetCaption("Get Profile");
        host::ClickIcon(host::FindAOL());
      } else {
        host::IsAOL7 = false;
      }
      imlog::PutBeginLine(daIM);
      for (const auto& listener : adoptionListeners) listener(daIM);

      ReadIMAreaRect();
      AdjustSize2();
      AdjustSize3();

      ctList1.SetListIndex(SelectedEntry());
      const int row = ctList1.AddItem(name);
      ctList1.SetCellPicture(row, 1,
                             host::IsIMStaticVisible(daIM) ? kPicStatusShown : kPicStatusHidden);
      ctList1.SetHeaderText("Current IMs: " + std::to_string(ctList1.RowCount()));

      host::Pause(0.6);
      if (exited_) return;

      const size_t from = FirstAt(host::GetCaption(daIM), "IM From");
      if (from == 2 || from == 3) {
        host::PlaySoundFile(
            settings::FolderPath(std::string(settings::kSoundsFolder) + "Chat.icp"));
      }
      BringWindowToTop(SelectedIM());
      AdjustSize3();
      KeepKeysOnShownIM();
      if (TabStrip1.Count() == 1) TabStrip1.SetSelectedItem(1);
      Frame1.ZOrder();
      picMiddleBar.ZOrder();
      picIMSide.ZOrder();
    }
  }
  ctList1.Move(4, 4);
}

void MainWindow::TimerScanIMTick() {
  // Each entry's own tab and row carry its mark, also when two IMs share a screen name.
  for (int i = 0; i < List1.ListCount() && i < TabStrip1.Count(); ++i) {
    const HWND im = EntryIM(i);
    if (im == 0) continue;
    const bool unread = host::HasUnreadMark(host::GetCaption(im));
    const int image = TabStrip1.Item(i + 1).image;
    if (!unread && (image == kTabUnread || image == kTabNew)) {
      TabStrip1.SetImage(i + 1, kTabRead);
      ctList1.SetCellPicture(i, 2, kPicRead);
    } else if (unread && (image == kTabRead || image == kTabNew)) {
      TabStrip1.SetImage(i + 1, kTabUnread);
      ctList1.SetCellPicture(i, 2, kPicUnread);
    }
  }
}

}  // namespace container
