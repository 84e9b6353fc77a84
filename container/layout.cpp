// Placement of the program's panels inside the container and of the shown IM window inside the
// IM area, for the two looks (tabs or IM list, graphical or not) and the two client versions;
// the button bar; the tiled background; Float Mode.
#include <algorithm>
#include <optional>

#include "container/main_window.h"
#include "gfx/canvas.h"
#include "host/text.h"
#include "host/window_access.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"

namespace container {

using namespace platform;

namespace {

// How much taller than the IM area the shown IM window is made, so that its caption, border and
// the client's own buttons fall outside the area.
constexpr int kExtraAol6 = 109;
constexpr int kExtraAol7 = 128;
// The strip of the fade bar, from the bottom of the IM area: its top and its bottom. Expanded,
// the bar covers the whole strip, so that none of the client's own formatting buttons shows
// beside it; collapsed, they show.
constexpr int kStripTop = 98;
constexpr int kStripBottom = 74;

// Background colours of the looks when no picture is loaded.
constexpr gfx::Color kPlainBack = 0xC0C0C0;
constexpr gfx::Color kGraphicalBack = RGB(0, 56, 120);

int Twips(int twips) {
  return gfx::TwipsToPixels(twips);
}

}  // namespace

void MainWindow::ReadContainerRect() {
  RECT r;
  if (GetWindowRect(ContainerWindow(), r)) ContainerRect = r;
}

void MainWindow::ReadIMAreaRect() {
  RECT r;
  if (GetWindowRect(picIM.hwnd(), r)) IMAreaRect = r;
}

HWND MainWindow::IMHolder() const {
  return imHolder_ != 0 ? imHolder_ : picIM.hwnd();
}

void MainWindow::MakeIMHolder(HWND container) {
  imHolder_ = CreateChildInOwner(container, 0, 0, 0, 0);
  host::SetIMArea(IMHolder());
  PlaceIMHolder();
}

void MainWindow::PlaceIMHolder() {
  if (imHolder_ == 0) return;
  RECT inside;
  POINT origin{0, 0};
  POINT parent{0, 0};
  if (!GetClientRect(picIM.hwnd(), inside) || !ClientToScreen(picIM.hwnd(), origin) ||
      !ClientToScreen(GetParent(imHolder_), parent)) {
    return;
  }
  // The panels that lie over the edge of the IM area (the frame line and the buttons under it)
  // stay over the IMs: the holder ends where they begin.
  int top = origin.y;
  int bottom = origin.y + inside.Height();
  for (HWND over = GetWindow(picIM.hwnd(), GW_HWNDPREV); over != 0;
       over = GetWindow(over, GW_HWNDPREV)) {
    RECT r;
    if (!IsWindowVisible(over) || !GetWindowRect(over, r)) continue;
    if (r.right <= origin.x || r.left >= origin.x + inside.Width()) continue;
    if (r.bottom <= top || r.top >= bottom) continue;
    if (r.top > top) {
      bottom = r.top;
    } else {
      top = r.bottom;
    }
  }
  SetWindowPos(imHolder_, HWND_TOP, origin.x - parent.x, top - parent.y, inside.Width(),
               std::max(0, bottom - top), SWP_NOACTIVATE);
}

void MainWindow::MoveContainerTo(int x, int y, int width, int height) {
  const HWND container = ContainerWindow();
  if (container == 0) return;
  POINT p{x, y};
  ScreenToClient(GetParent(container), p);
  MoveWindow(container, p.x, p.y, width, height, true);
}

void MainWindow::RestoreSavedPlace() {
  const auto place = settings::ReadPlace();
  RECT area;
  if (!place || !GetWindowRect(host::FindMDI(), area)) return;
  // Damaged or hand-edited values (negative sizes, -2147483648, a place on no screen) must not
  // put the container out of reach: it is kept whole on the client's MDI area, at least its
  // minimum size.
  const int width =
      std::clamp(place->width, kMinContainerWidth, std::max(kMinContainerWidth, area.Width()));
  const int height =
      std::clamp(place->height, kMinContainerHeight, std::max(kMinContainerHeight, area.Height()));
  const int left = std::clamp(place->left, area.left, std::max(area.left, area.right - width));
  const int top = std::clamp(place->top, area.top, std::max(area.top, area.bottom - height));
  MoveContainerTo(left, top, width, height);
}

void MainWindow::AdjustSize() {
  RestoreSavedPlace();
  ReadContainerRect();
  Picture1.Move(0, 0, ContainerRect.Width() - 7, ContainerRect.Height() - 27);
  TabStrip1.SetVisible(true);
  Frame1.SetVisible(true);
  ctList1.SetVisible(false);
  PlacePanels(Caller::AdjustSize, true, false);
}

void MainWindow::AdjustSize2() {
  const bool tabs = UseTabs();
  const bool graphical = Graphical();
  TabStrip1.SetVisible(tabs);
  ctList1.SetVisible(!tabs);
  Frame1.SetVisible(tabs && !graphical);
  ArrangeButtons();
  ApplyLookPictures();
  PlacePanels(Caller::AdjustSize2, tabs, graphical);
  // The button bar and the frame lie over the tab strip's lower part.
  picButtonsHold.ZOrder();
  Frame1.ZOrder();
  Picture2.ZOrder();
  PlaceIM(host::IsAOL7 ? kExtraAol7 : kExtraAol6, tabs);
}

void MainWindow::AdjustSize3() {
  LayOut(host::IsAOL7 ? kExtraAol7 : kExtraAol6);
}

void MainWindow::AdjustSizeAOL7() {
  LayOut(kExtraAol7);
}

void MainWindow::LayOut(int extraHeight) {
  const bool tabs = UseTabs();
  PlacePanels(Caller::AdjustSize3, tabs, Graphical());
  PlaceIM(extraHeight, tabs);
}

void MainWindow::PlacePanels(Caller caller, bool tabs, bool graphical) {
  ReadContainerRect();
  const int cw = ContainerRect.Width();
  const int ch = ContainerRect.Height();
  if (tabs) {
    TabStrip1.Move(4, 5, cw - 16, graphical ? ch - 77 : ch - 35);
    if (caller == Caller::AdjustSize3) {
      picIM.Move(TabStrip1.ClientLeft(), TabStrip1.ClientTop() + 2, TabStrip1.ClientWidth(),
                 TabStrip1.ClientHeight() - (graphical ? 2 : 43));
    } else {
      picIM.Move(8, 30, cw - 24, graphical ? ch - 106 : ch - 114);
    }
    if (graphical) {
      picButtonsHold.Move(-4, ch - 72, caller == Caller::AdjustSize2 ? cw : cw + 4, 53);
    } else {
      picButtonsHold.Move(8, ch - 87, cw - 24, 53);
      Frame1.Move(10, ch - 89, cw - 28, 4);
    }
    ctList1.Move(6, 10, ctList1.Width(), 10);
  } else {
    TabStrip1.Move(4, ch - 72, cw - 17, 40);
    if (graphical) {
      picIM.Move(123, 5, cw - 136, ch - 78);
      picButtonsHold.Move(0, ch - 72, cw + 4, 53);
      ctList1.Move(4, 4, 115, picButtonsHold.Top() - 5);
    } else {
      picIM.Move(123, 5, cw - 136, ch - 97);
      picButtonsHold.Move(4, ch - 88, cw - 17, 57);
      ctList1.Move(4, 4, 115, picButtonsHold.Top() - 8);
    }
  }
  // Centred in the main window's units (twips), as the button bar is measured.
  if (tabs) {
    const int outer = gfx::PixelsToTwips(Picture1.Width());
    const int inner = gfx::PixelsToTwips(Picture2.Width());
    const double left = graphical ? (outer - inner + 125) / 2.0 : (outer - inner - 250) / 2.0;
    Picture2.SetLeft(Twips(static_cast<int>(host::RoundHalfEven(left))));
  }
  PlaceIMHolder();
}

void MainWindow::PlaceShownIM(int extraHeight) {
  const HWND im = host::FindCurrentIM();
  if (im == 0) return;
  const int iw = IMAreaRect.Width();
  const int ih = IMAreaRect.Height();
  MoveWindow(im, -8, -26, iw + 17, ih + extraHeight, true);
  // The view and the input box are laid over the whole IM area but for the strip of the fade
  // bar between them, measured from the IM area itself, so that nothing else of the IM window
  // (its labels, its own buttons) shows, whatever the client's window frame measures.
  POINT area{0, 0};
  POINT inner{0, 0};
  ClientToScreen(IMHolder(), area);
  ClientToScreen(im, inner);
  const int dx = area.x - inner.x;
  const int dy = area.y - inner.y;
  const HWND view = host::FirstChild(im, host::IsAOL7 ? "RICHCNTLREADONLY" : "RICHCNTL");
  MoveWindow(view, dx, dy, iw, ih - kStripTop, true);
  MoveWindow(host::FindIMInput(), dx, dy + ih - kStripBottom, iw, kStripBottom, true);
}

void MainWindow::PlaceIM(int extraHeight, bool tabs) {
  ReadContainerRect();
  ReadIMAreaRect();
  const int cw = ContainerRect.Width();
  const int iw = IMAreaRect.Width();
  const int ih = IMAreaRect.Height();
  PlaceShownIM(extraHeight);

  if (picIMSide.ParentHwnd() != IMHolder()) picIMSide.SetParent(IMHolder());
  if (picMiddleBar.ParentHwnd() != IMHolder()) picMiddleBar.SetParent(IMHolder());
  const bool expanded = AOButtonMiddle[0]->Caption() == "S";
  if (tabs) {
    picIMSide.Move(cw - 33, ih - 100, 5, 28);
    if (expanded) {
      picMiddleBar.Move(0, ih - kStripTop, iw, kStripTop - kStripBottom);
    } else {
      picMiddleBar.Move(iw - 33, ih - kStripTop, 23, 24);
    }
  } else {
    picIMSide.Move(iw - 8, ih - 99, 10, 27);
    if (expanded) {
      picMiddleBar.Move(0, ih - kStripTop, iw, kStripTop - kStripBottom);
    } else {
      picMiddleBar.Move(iw - 35, ih - kStripTop, 25, 24);
    }
  }
  picMiddleBar.ZOrder();
  picIMSide.ZOrder();
}

void MainWindow::BringIMtoTop() {
  if (host::FindCurrentIM() == 0) return;
  ReadIMAreaRect();
  PlaceShownIM(host::IsAOL7 ? kExtraAol7 : kExtraAol6);
  host::ClickIntoInput(host::FindCurrentIM());
}

void MainWindow::ArrangeButtons() {
  const bool graphical = Graphical();
  const int height = Twips(graphical ? 300 : 225);
  const int width = Twips(900);
  const int row1 = Twips(graphical ? 0 : 60);
  const int row2 = Twips(360);
  auto place = [&](widgets::AOLFButton& b, int leftTwips, int top, bool visible) {
    b.Move(Twips(leftTwips), top, width, height);
    b.SetVisible(visible);
  };
  if (UseTabs()) {
    place(AOButtonSend, 0, row1, true);
    place(AOButtonCloseIM, 1150, row1, true);
    place(AOButtonGetProfile, 2300, row1, true);
    place(AOButtonLocate, 0, row2, true);
    place(AOButtonIMAnswer, 1150, row2, true);
    place(AOButtonOptions, 2300, row2, true);
    place(AOButtonNotifyAOL, 3450, row1, false);
    place(AOButtonMail, 3450, row2, false);
  } else {
    place(AOButtonSend, 0, row1, true);
    place(AOButtonCloseIM, 1150, row1, true);
    place(AOButtonGetProfile, 2300, row1, true);
    place(AOButtonLocate, 3450, row1, true);
    place(AOButtonIMAnswer, 2300, row2, true);
    place(AOButtonOptions, 3450, row2, true);
    place(AOButtonMail, 0, row2, true);
    place(AOButtonNotifyAOL, 1150, row2, true);
  }
}

void MainWindow::ApplyLookPictures() {
  if (Graphical()) {
    for (ui::PictureBox* p : {&Picture1, &picMiddleBar, &picButtonsHold, &Picture2}) {
      p->SetBackColor(kGraphicalBack);
    }
    ChangeIMImage();
    return;
  }
  for (ui::PictureBox* p : {&Picture1, &picMiddleBar, &picButtonsHold, &Picture2}) {
    p->SetPicture(std::nullopt);
    p->SetBackColor(kPlainBack);
  }
}

void MainWindow::ChangeIMImage() {
  RECT mdi;
  if (GetWindowRect(host::FindMDI(), mdi)) picIMtile.Move(0, 0, mdi.Width(), mdi.Height());

  const std::string location = settings::ReadSetting(settings::keys::kGraLocation);
  if (!location.empty()) {
    if (auto image = gfx::Image::Load(files::HostPath(location).string())) {
      picIMLoad.SetPicture(std::move(image));
    }
  }
  const auto& tile = picIMLoad.Picture();
  if (tile && tile->width > 0 && tile->height > 0) {
    gfx::Canvas composed(std::max(1, picIMtile.ScaleWidth()), std::max(1, picIMtile.ScaleHeight()));
    for (int x = 0; x <= composed.Width(); x += tile->width) {
      for (int y = 0; y <= composed.Height(); y += tile->height) composed.DrawImage(*tile, x, y);
    }
    const gfx::Image picture = composed.ToImage();
    picIMtile.SetPicture(picture);
    for (ui::PictureBox* p : {&Picture1, &picMiddleBar, &picButtonsHold, &Picture2}) {
      p->SetPicture(picture);
    }
  }
  ctList1.Move(4, 4);
}

// ---- Float Mode ----

ui::Form& MainWindow::frmIMFloat() {
  if (!float_) {
    float_ = std::make_unique<ui::Form>("frmIMFloat", kContainerCaption, ui::BorderStyle::Sizable);
    float_->Move(120, 120, 380, 360);
    float_->OnLoad = [this] { host::StayOnTop(float_->hwnd()); };
    float_->OnResize = [this] {
      if (FloatMode()) FloatAdjustSize3();
    };
    float_->OnUnload = [this](bool&) {
      if (!float_->Visible() || exited_) return;
      // Closing the floating window is the container's close box: the IMs are logged and
      // closed; the container goes back to the client so that it is there for the next IM.
      CloseAllIMs();
      ClearIMs();
      const HWND container = ContainerWindow();
      SetFloatMode(false);
      host::HideWin(container);
    };
  }
  return *float_;
}

void MainWindow::SetFloatMode(bool on) {
  ui::Form& floating = frmIMFloat();
  if (on) {
    if (FloatMode()) return;
    const HWND container = ContainerWindow();
    RECT docked;
    if (GetWindowRect(container, docked)) dockedPlace_ = docked;
    mnuEntertoSend[2]->SetChecked(true);
    floating.Show();
    platform::SetParent(container, floating.hwnd());
    FloatAdjustSize3();
    return;
  }
  if (!FloatMode()) return;
  mnuEntertoSend[2]->SetChecked(false);
  const HWND container = FindWindowEx(floating.hwnd(), 0, "AOL Child", nullptr);
  RECT r;
  if (container != 0 && GetWindowRect(container, r)) {
    platform::SetParent(container, host::FindMDI());
    MoveContainerTo(r.left, r.top, r.Width(), r.Height());
  }
  floating.Hide();
}

void MainWindow::LeaveFloatModeForExit() {
  if (!FloatMode()) return;
  SetFloatMode(false);
  if (dockedPlace_) {
    const RECT& r = *dockedPlace_;
    MoveContainerTo(r.left, r.top, r.Width(), r.Height());
  }
}

void MainWindow::FloatAdjustSize3() {
  if (!float_) return;
  const HWND container = FindWindowEx(float_->hwnd(), 0, "AOL Child", nullptr);
  RECT frame, inner;
  if (container == 0 || !GetWindowRect(container, frame) || !GetClientRect(container, inner)) {
    return;
  }
  // The container's border and caption lie outside the floating window's client area, which
  // its own client area covers exactly, whatever the client's frame measures.
  POINT origin{0, 0};
  ClientToScreen(container, origin);
  const int left = origin.x - frame.left;
  const int top = origin.y - frame.top;
  const int across = frame.Width() - inner.Width();
  const int down = frame.Height() - inner.Height();
  MoveWindow(container, -left, -top, float_->ClientWidth() + across, float_->ClientHeight() + down,
             true);
  ReadContainerRect();
  Picture1.Move(0, 0, ContainerRect.Width() - 5, ContainerRect.Height() - 27);
  AdjustSize3();
}

}  // namespace container
