#include "widgets/aolf_button.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"

namespace widgets {

using namespace platform;

namespace {

int Px(int twips) {
  return gfx::TwipsToPixels(twips);
}

// The picture with every pixel opaque: a plain source copy takes the colours as they are.
gfx::Image Opaque(gfx::Image image) {
  for (gfx::Color& p : image.pixels) p &= 0xFFFFFF;
  return image;
}

}  // namespace

AOLFButton::AOLFButton(ui::Parent parent, std::string name, int x, int y, int width, int height,
                       int index)
    : ui::Control(parent, name, index,
                  ui::WindowParams{"AOLFButton", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, name,
                                   x, y, width, height}) {
  ui::Control::SetFont(ButtonFont());
}

void AOLFButton::SetCaption(const std::string& caption) {
  SetWindowTextRaw(caption);
  Draw(0, false);
}
void AOLFButton::SetStyle(int32_t style) {
  style_ = style;
  Draw(0, false);
}
void AOLFButton::SetPicture(std::optional<gfx::Image> picture) {
  picture_ = std::move(picture);
  Draw(0, false);
}
void AOLFButton::SetGraphical(bool graphical) {
  graphical_ = graphical;
  Draw(0, false);
}
void AOLFButton::SetAutoSize(int32_t autoSize) {
  autoSize_ = autoSize;
  Draw(0, false);
}
void AOLFButton::SetForeColor(OleColor color) {
  look_.foreColor = color;
  ui::Control::SetForeColor(ResolveColor(color));
  Draw(0, false);
}
void AOLFButton::SetBackColor(OleColor color) {
  look_.backColor = color;
  ui::Control::SetBackColor(ResolveColor(color));
  Draw(0, false);
}
void AOLFButton::SetAOLColors(bool aolColors) {
  aolColors_ = aolColors;
  if (aolColors) {
    look_.backColor = kHostFace;
    ui::Control::SetBackColor(kHostFace);
    look_.foreColor = kHostText;
    ui::Control::SetForeColor(kHostText);
    look_.borderLight = kHostEdge;
    if (style_ == 1) {
      look_.borderDark = 0;
      look_.backColorClick = SystemColor(COLOR_HIGHLIGHT);
    } else {
      look_.borderDark = kHostEdge;
      look_.backColorClick = kHostFace;
    }
  }
  Draw(0, false);
}
void AOLFButton::SetBorderLight(OleColor color) {
  look_.borderLight = color;
  Draw(0, false);
}
void AOLFButton::SetBorderDark(OleColor color) {
  look_.borderDark = color;
  Draw(0, false);
}
void AOLFButton::SetBackColorClick(OleColor color) {
  look_.backColorClick = color;
  Draw(0, false);
}
void AOLFButton::SetToolTipMessage(const std::string& text) {
  look_.toolTipMessage = text;
  Draw(0, false);
}
void AOLFButton::SetGoDown(bool goDown) {
  look_.goDown = goDown;
  Draw(0, false);
}
void AOLFButton::SetShadow(bool shadow) {
  shadow_ = shadow;
  Draw(0, false);
}

void AOLFButton::AmbientBackColorChanged() {
  Draw(0, false);
}

std::string AOLFButton::GetFromINI(const std::string& section, const std::string& key,
                                   const std::string& directory) const {
  return settings::ReadINI(section, key, directory);
}

void AOLFButton::ShowAboutBox() {
  MessageBoxA(hwnd(), "AOLFButton: a button in the look of the AOL client.", "About", MB_OK);
}

void AOLFButton::Draw(int offsetTwips, bool pressed) {
  drawnOffset_ = offsetTwips;
  drawnPressed_ = pressed;
  Refresh();
}

void AOLFButton::Paint(gfx::Canvas& canvas) {
  DrawOn(canvas, drawnOffset_, drawnPressed_);
}

void AOLFButton::DrawOn(gfx::Canvas& canvas, int offsetTwips, bool pressed) const {
  const int W = gfx::PixelsToTwips(canvas.Width());
  const int H = gfx::PixelsToTwips(canvas.Height());
  const int o = offsetTwips;
  // Pixels of a point given in twips, moved by the offset.
  auto X = [&](int twips) { return Px(twips + o); };
  auto Y = X;

  // 1. Clear with the container's background colour.
  ui::Control* container = ui::Control::FromHwnd(ParentHwnd());
  canvas.Fill(container != nullptr ? container->BackColor() : GetSysColor(COLOR_BTNFACE));

  // 2. The frame.
  const COLORREF light = ResolveColor(look_.borderLight);
  const COLORREF dark = ResolveColor(look_.borderDark);
  const int inner = shadow_ ? 60 : 10;  // the right and bottom lines, inside the edges
  const int corner = shadow_ ? 45 : 5;  // where their end pieces stop
  canvas.Line(X(0), Y(0), X(0), Y(H - inner), light);
  canvas.Line(X(0), Y(0), X(W - inner), Y(0), light);
  canvas.Line(X(W - inner), Y(0), X(W - inner), Y(H - corner), dark);
  canvas.Line(X(0), Y(H - inner), X(W - corner), Y(H - inner), dark);

  // 3. The face, to 75 twips from the right and bottom with the shadow, 25 without.
  const int faceInset = shadow_ ? 75 : 25;
  const int faceLeft = X(15), faceTop = Y(15);
  const int faceRight = X(W - faceInset), faceBottom = Y(H - faceInset);  // included
  const int faceWidth = faceRight - faceLeft + 1, faceHeight = faceBottom - faceTop + 1;
  canvas.FillRect(faceLeft, faceTop, faceWidth, faceHeight,
                  ResolveColor(pressed ? look_.backColorClick : look_.backColor));

  // 4. The shadow: three pairs of lines from the inside out.
  if (shadow_) {
    for (int i = 0; i < 3; ++i) {
      const int inset = kShadowInsets[i];
      canvas.Line(X(W - inset), Y(inset), X(W - inset), Y(H - inset) + 1, kShadowGreys[i]);
      canvas.Line(X(inset), Y(H - inset), X(W - inset) + 1, Y(H - inset), kShadowGreys[i]);
    }
  }

  // 5. The picture on the face.
  if (graphical_ && picture_ && picture_->width > 0 && picture_->height > 0) {
    const gfx::Image image = Opaque(*picture_);
    canvas.SetClip(faceLeft, faceTop, std::max(faceWidth, 0), std::max(faceHeight, 0));
    if (autoSize_ == 2) {
      canvas.DrawImageStretched(image, faceLeft, faceTop, Px(W - faceInset), Px(H - faceInset));
    } else {
      canvas.DrawImage(image, faceLeft, faceTop);
    }
    canvas.ResetClip();
  }

  // 6. The caption, centred, raised 22 twips with the shadow.
  const std::string caption = Caption();
  if (!caption.empty()) {
    const int lift = shadow_ ? 22 : 0;
    const int textW = gfx::PixelsToTwips(gfx::Canvas::TextWidth(caption, Font()));
    const int textH = gfx::PixelsToTwips(gfx::Canvas::TextHeight(Font()));
    canvas.DrawText(X((W - textW) / 2 - lift), Y((H - textH) / 2 - lift), caption, Font(),
                    ResolveColor(look_.foreColor));
  }

  // 7. The focus dots, 30 twips apart, inverting while pressed with a distinct press colour.
  if (hasFocus_) {
    const bool invert =
        pressed && ResolveColor(look_.backColorClick) != ResolveColor(look_.backColor);
    canvas.SetInvert(invert);
    const int right = shadow_ ? W - 70 : W - 40;
    const int bottom = shadow_ ? H - 70 : H - 40;
    for (int x = 60; x <= right; x += 30) {
      canvas.SetPixel(X(x), Y(45), kFocusDots);
      canvas.SetPixel(X(x), Y(bottom), kFocusDots);
    }
    for (int y = 60; y <= bottom; y += 30) {
      canvas.SetPixel(X(45), Y(y), kFocusDots);
      canvas.SetPixel(X(right), Y(y), kFocusDots);
    }
    canvas.SetInvert(false);
  }
}

LRESULT AOLFButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (msg) {
    case WM_SETFOCUS:
      hasFocus_ = true;
      if (mouseHeld_)
        Draw(PressedOffset(), true);
      else
        Draw(0, false);
      Raise(OnGotFocus);
      return 0;
    case WM_KILLFOCUS:
      hasFocus_ = false;
      mouseHeld_ = false;
      Draw(0, false);
      Raise(OnLostFocus);
      return 0;
    case WM_LBUTTONDOWN:
      MouseDown(wParam, x, y);
      return 0;
    case WM_RBUTTONDOWN:
      HandleMouseDown(ui::kRightButton, ShiftState(), x, y);
      return 0;
    case WM_RBUTTONUP:
      HandleMouseUp(ui::kRightButton, ShiftState(), x, y);
      return 0;
    case WM_MOUSEMOVE:
      MouseMove(wParam, x, y);
      return 0;
    case WM_LBUTTONUP:
      MouseUp(x, y);
      return 0;
    case WM_CAPTURECHANGED:
      return 0;
    default:
      return ui::Control::WindowProc(msg, wParam, lParam);
  }
}

void AOLFButton::MouseDown(WPARAM, int x, int y) {
  const HWND self = hwnd();
  if (GetFocus() != self) platform::SetFocus(self);
  if (Control::FromHwnd(self) != this) return;
  SetCapture(self);
  mouseHeld_ = true;
  if (hasFocus_) Draw(PressedOffset(), true);
  HandleMouseDown(ui::kLeftButton, ShiftState(), x, y);
}

void AOLFButton::MouseMove(WPARAM wParam, int x, int y) {
  const HWND self = hwnd();
  const bool buttonHeld = (wParam & MK_LBUTTON) != 0;
  if (GetCapture() != self) {
    // Just entered. The capture marks the mouse as inside until it leaves.
    Raise(OnMouseEnter);
    if (Control::FromHwnd(self) != this) return;
    SetCapture(self);
    if (!buttonHeld) mouseHeld_ = false;
    if (buttonHeld && hasFocus_) Draw(PressedOffset(), true);
  }
  const bool outside = x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight();
  if (outside && GetCapture() == self) {
    ReleaseCapture();
    Raise(OnMouseLeave);
    if (Control::FromHwnd(self) != this) return;
    Draw(0, false);
  }
  const int held = (buttonHeld || mouseHeld_) ? ui::kLeftButton : 0;
  HandleMouseMove(held, ShiftState(), x, y);
  if (Control::FromHwnd(self) == this) SetToolTipText(look_.toolTipMessage);
}

void AOLFButton::MouseUp(int x, int y) {
  const HWND self = hwnd();
  const bool wasHeld = mouseHeld_;
  const bool inside = x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight();
  // Kept so that the next move outside tells the button the mouse has left.
  SetCapture(self);
  mouseHeld_ = false;
  Draw(0, false);
  HandleMouseUp(ui::kLeftButton, ShiftState(), x, y);
  if (Control::FromHwnd(self) != this) return;
  if (wasHeld && inside && hasFocus_) HandleClick();
}

PropertyBag AOLFButton::WriteProperties() const {
  PropertyBag bag = WriteButtonProperties(*this, look_);
  bag.insert({
      {"Shadow", FlagText(shadow_)},
      {"Style", std::to_string(style_)},
      {"Picture", picturePath_},
      {"Graphical", FlagText(graphical_)},
      {"AutoSize", std::to_string(autoSize_)},
      {"AOLColors", FlagText(aolColors_)},
  });
  return bag;
}

void AOLFButton::ReadProperties(const PropertyBag& bag) {
  shadow_ = widgets::ReadFlag(bag, "Shadow", true);
  SetWindowTextRaw(ReadText(bag, "Caption", Name()));
  style_ = ReadNumber(bag, "Style", 0);
  SetFont(ReadFont(bag, "Font", ContainerFont(ParentHwnd())));
  SetEnabled(widgets::ReadFlag(bag, "Enabled", true));
  picturePath_ = ReadText(bag, "Picture", "");
  picture_.reset();
  if (!picturePath_.empty()) picture_ = gfx::Image::Load(files::HostPath(picturePath_).string());
  graphical_ = widgets::ReadFlag(bag, "Graphical", false);
  autoSize_ = ReadNumber(bag, "AutoSize", 0);
  look_ = ReadButtonLook(bag, HostLook());
  aolColors_ = widgets::ReadFlag(bag, "AOLColors", true);
  ui::Control::SetBackColor(ResolveColor(look_.backColor));
  ui::Control::SetForeColor(ResolveColor(look_.foreColor));
  Draw(0, false);
}

}  // namespace widgets
