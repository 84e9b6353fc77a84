// Choosing the IM to show (tab strip or IM list), closing the shown IM, and handing the keyboard
// focus back to the shown IM after clicks on the program's panels.
#include "container/main_window.h"
#include "host/window_access.h"
#include "platform/win32.h"

namespace container {

using namespace platform;

HWND MainWindow::ContainerWindow() {
  const HWND container = host::FindPallionChild();
  if (container != 0 || !float_) return container;
  return FindWindowEx(float_->hwnd(), 0, "AOL Child", nullptr);
}

void MainWindow::TabStrip1Click() {
  const std::string name = TabStrip1.SelectedCaption();
  for (int row = 0; row < ctList1.RowCount(); ++row) {
    if (ctList1.CellText(row, 0) == name) {
      ctList1.SetListIndex(row);
      break;
    }
  }
  if (ctList1.ListIndex() >= 0) List1.SetListIndex(ctList1.ListIndex());

  BringWindowToTop(ContainerWindow());
  BringWindowToTop(SelectedIM());

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
  const std::string name = ctList1.CellText(ctList1.ListIndex(), 0);
  for (int tab = 1; tab <= TabStrip1.Count(); ++tab) {
    if (TabStrip1.Item(tab).caption == name) {
      TabStrip1.SetSelectedItem(tab);
      return;
    }
  }
}

void MainWindow::ctList1CurrentRowChanged() {
  List1.SetListIndex(ctList1.ListIndex());
}

void MainWindow::CloseTopIM() {
  const HWND shown = host::FindCurrentIM();
  if (shown == 0) return;
  host::CloseWin(shown);

  // The three collections are kept in step; should nothing be selected, the shown IM's entry
  // is the one that goes.
  int index = List1.ListIndex();
  if (index < 0) index = List1.FindExact(std::to_string(shown));
  if (index >= 0) {
    List1.RemoveItem(index);
    ctList1.RemoveItem(index);
    TabStrip1.Remove(index + 1);
  }

  const std::string selected = TabStrip1.SelectedCaption();
  for (int row = 0; row < ctList1.RowCount(); ++row) {
    if (ctList1.CellText(row, 0) == selected) {
      ctList1.SetListIndex(row);
      break;
    }
  }
  ctList1.SetHeaderText("Current IMs: " + std::to_string(ctList1.RowCount()));

  BringWindowToTop(SelectedIM());
  host::SetText(ContainerWindow(), kCaptionPrefix + selected);
  BringIMtoTop();
  AdjustSize3();

  if (List1.ListIndex() < 0) {
    ClearIMs();
    host::HideWin(ContainerWindow());
  }
}

void MainWindow::PanelClicked() {
  BringWindowToTop(ContainerWindow());
  SendMessage(host::FindIMInput(), WM_LBUTTONDOWN, 0, 0);
}

}  // namespace container
