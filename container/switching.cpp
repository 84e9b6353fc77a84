// Choosing the IM to show (tab strip or IM list), closing an adopted IM, and handing the keyboard
// focus back to the shown IM after clicks on the program's panels.
//
// The adopted IMs are entries kept in three places in the same order: item n of List1 (the
// window's handle), tab n + 1 and row n of ctList1. An entry is known by its position, never by
// its caption, since two IMs may come from one screen name; the selected tab names the chosen
// entry, and the row and List1's selection follow it.
#include "container/main_window.h"
#include "host/text.h"
#include "host/window_access.h"
#include "platform/win32.h"

namespace container {

using namespace platform;

HWND MainWindow::ContainerWindow() {
  const HWND container = Scanned(containerScan_, host::FindPallionChild);
  if (container != 0 || !float_) return container;
  return FindWindowEx(float_->hwnd(), 0, "AOL Child", nullptr);
}

int MainWindow::SelectedEntry() const {
  const int entry = TabStrip1.SelectedItem() - 1;
  return entry >= 0 && entry < List1.ListCount() ? entry : -1;
}

HWND MainWindow::EntryIM(int entry) const {
  const HWND im = ListIM(entry);
  // The client may have closed it, or it may no longer be adopted.
  if (im == 0 || !IsWindow(im) || GetParent(im) != IMHolder()) return 0;
  return im;
}

HWND MainWindow::ChosenIM() {
  const int entry = SelectedEntry();
  if (entry < 0) return 0;
  const HWND im = EntryIM(entry);
  if (im == 0) DropEntry(entry);
  return im;
}

void MainWindow::TabStrip1Click() {
  const int entry = SelectedEntry();
  if (entry < 0) return;
  const HWND im = EntryIM(entry);
  if (im == 0) {
    // An IM the person closed with the client's own box: its tab goes, and the neighbour that
    // takes its place is chosen instead.
    DropEntry(entry);
    return;
  }
  ctList1.SetListIndex(entry);
  List1.SetListIndex(entry);

  BringWindowToTop(ContainerWindow());
  BringWindowToTop(im);

  const std::string name = TabStrip1.SelectedCaption();
  const std::string caption = kCaptionPrefix + name;
  SetCaption(caption);
  host::SetText(ContainerWindow(), caption);
  if (FloatMode()) frmIMFloat().SetCaption(caption);

  BringIMtoTop();
  const HWND shown = host::FindCurrentIM();
  host::CloseEditImage(shown);

  if (!host::IsIMStaticVisible(shown)) {
    AOButtonNotifyAOL.SetEnabled(false);
    mnuNotifyAOL.SetEnabled(false);
  } else {
    AOButtonNotifyAOL.SetEnabled(true);
    AOButtonMail.SetEnabled(true);
    mnuNotifyAOL.SetEnabled(true);
  }
  mnuIgnore[0]->SetCaption("Only Ignore " + name + " this session");
  mnuIgnore[1]->SetCaption("Always Ignore " + name);
}

void MainWindow::ctList1Click() {
  TabStrip1.SetSelectedItem(ctList1.ListIndex() + 1);
}

void MainWindow::ctList1CurrentRowChanged() {
  const int row = ctList1.ListIndex();
  List1.SetListIndex(row);
  // A row made current by the arrow keys shows its IM, as a click on it does; the tab
  // selection routine makes the row current again, which changes nothing then.
  if (row >= 0 && row + 1 != TabStrip1.SelectedItem()) TabStrip1.SetSelectedItem(row + 1);
}

void MainWindow::CloseIM(HWND im) {
  const int entry = im == 0 ? -1 : List1.FindExact(std::to_string(im));
  if (entry < 0) return;
  if (EntryIM(entry) != 0) host::CloseWin(im);
  DropEntry(entry);
}

void MainWindow::DropEntry(int entry) {
  const bool selected = TabStrip1.SelectedItem() == entry + 1;
  List1.RemoveItem(entry);
  ctList1.RemoveItem(entry);
  // Removing the selected tab selects the one that takes its place, which shows its IM.
  TabStrip1.Remove(entry + 1);
  ctList1.SetHeaderText("Current IMs: " + std::to_string(ctList1.RowCount()));

  if (TabStrip1.Count() == 0) {
    ClearIMs();
    host::HideWin(ContainerWindow());
    return;
  }
  const int chosen = SelectedEntry();
  if (chosen < 0) return;
  ctList1.SetListIndex(chosen);
  List1.SetListIndex(chosen);
  if (selected) AdjustSize3();
}

void MainWindow::PanelClicked() {
  BringWindowToTop(ContainerWindow());
  host::ClickIntoInput(host::FindCurrentIM());
}

void MainWindow::GiveKeysBackToShownIM() {
  const HWND shown = host::FindCurrentIM();
  if (GetFocus() == host::FindIMInputOf(shown)) return;
  if (host::HasUnreadMark(host::GetCaption(shown))) return;
  host::ClickIntoInput(shown);
}

void MainWindow::KeepKeysOnShownIM() {
  const HWND shown = host::FindCurrentIM();
  if (shown == 0) return;
  for (HWND w = GetFocus(); w != 0; w = GetParent(w)) {
    if (w == shown) return;
    if (GetParent(w) != IMHolder()) continue;
    // The keyboard is in another adopted IM, out of the person's sight.
    host::ClickIntoInput(shown);
    return;
  }
}

}  // namespace container
