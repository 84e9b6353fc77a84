#include "widgets/ao_button.h"

#include "gfx/classic.h"
#include "platform/win32.h"

namespace widgets {

using namespace platform;

AOButton::AOButton(ui::Parent parent, std::string name, const std::string& caption, int x, int y,
                   int width, int height, int index)
    : ui::Control(parent, std::move(name), index,
                  ui::WindowParams{"AOButton", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, caption,
                                   x, y, width, height}) {
  ui::Control::SetFont(ButtonFont());
  ui::Control::SetBackColor(ResolveColor(look_.backColor));
  LayoutCaption();
}

void AOButton::SetBackColor(OleColor color) {
  look_.backColor = color;
  ui::Control::SetBackColor(ResolveColor(color));
  ShowBackground(color);
}

void AOButton::SetBorderLight(OleColor color) {
  look_.borderLight = color;
  Invalidate();
}

void AOButton::SetBorderDark(OleColor color) {
  look_.borderDark = color;
  Invalidate();
}

void AOButton::SetBackColorClick(OleColor color) {
  look_.backColorClick = color;
}

void AOButton::SetForeColor(OleColor color) {
  look_.foreColor = color;
  ui::Control::SetForeColor(ResolveColor(color));
}

void AOButton::SetCaption(const std::string& caption) {
  SetWindowTextRaw(caption);
  Invalidate();
}

void AOButton::SetFontBold(bool bold) {
  gfx::Font font = Font();
  font.bold = bold;
  SetFont(font);
}

void AOButton::SetFontItalic(bool italic) {
  gfx::Font font = Font();
  font.italic = italic;
  SetFont(font);
}

void AOButton::SetFontUnderline(bool underline) {
  gfx::Font font = Font();
  font.underline = underline;
  SetFont(font);
}

void AOButton::ShowBackground(OleColor color) {
  current_ = color;
  Refresh();
}

void AOButton::LayoutCaption() {
  const int widthTwips = gfx::PixelsToTwips(ClientWidth());
  const int heightTwips = gfx::PixelsToTwips(ClientHeight());
  captionWidth_ = gfx::TwipsToPixels(widthTwips + 10);
  captionTop_ = gfx::TwipsToPixels(heightTwips / 2 - 100);
}

void AOButton::HandleResize() {
  // The background keeps the colour last set through BackColor.
  current_ = look_.backColor;
  LayoutCaption();
  ui::Control::HandleResize();
}

void AOButton::Paint(gfx::Canvas& canvas) {
  const int w = canvas.Width();
  const int h = canvas.Height();
  const int widthTwips = gfx::PixelsToTwips(w);
  const int heightTwips = gfx::PixelsToTwips(h);
  // The background part.
  canvas.Fill(ResolveColor(current_));
  // The border lines: top and left light, bottom and right dark.
  const COLORREF light = ResolveColor(look_.borderLight);
  const COLORREF dark = ResolveColor(look_.borderDark);
  canvas.Line(0, 0, w, 0, light);
  canvas.Line(0, 0, 0, h, light);
  const int bottom = gfx::TwipsToPixels(heightTwips - 15);
  const int right = gfx::TwipsToPixels(widthTwips - 10);
  canvas.Line(0, bottom, w, bottom, dark);
  canvas.Line(right, 0, right, h, dark);
  // The caption part, centred over its width, transparent.
  const std::string caption = Caption();
  if (caption.empty()) return;
  const int textWidth = gfx::classic::MnemonicTextWidth(caption, Font());
  const int x = (captionWidth_ - textWidth) / 2;
  if (Enabled()) {
    gfx::classic::DrawMnemonicText(canvas, x, captionTop_, caption, Font(),
                                   ResolveColor(look_.foreColor));
  } else {
    gfx::classic::DrawEmbossedText(canvas, x, captionTop_, gfx::classic::StripMnemonic(caption),
                                   Font());
  }
}

LRESULT AOButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SHOWWINDOW && wParam == 0) {
    LRESULT r = ui::Control::WindowProc(msg, wParam, lParam);
    Raise(OnHide);
    return r;
  }
  return ui::Control::WindowProc(msg, wParam, lParam);
}

void AOButton::HandleMouseDown(int button, int shift, int x, int y) {
  ShowBackground(look_.backColorClick);
  ui::Control::HandleMouseDown(button, shift, x, y);
}

void AOButton::HandleMouseMove(int button, int shift, int x, int y) {
  SetToolTipText(look_.toolTipMessage);
  ui::Control::HandleMouseMove(button, shift, x, y);
}

void AOButton::HandleMouseUp(int button, int shift, int x, int y) {
  ShowBackground(look_.backColor);
  ui::Control::HandleMouseUp(button, shift, x, y);
}

void AOButton::HandleClick() {
  const HWND self = hwnd();
  ui::Control::HandleClick();
  // The click handler may have destroyed the control (a message box unloads itself).
  if (look_.goDown && self != 0 && Control::FromHwnd(self) == this) LayoutCaption();
}

PropertyBag AOButton::WriteProperties() const {
  PropertyBag bag = WriteButtonProperties(*this, look_);
  bag.insert({
      {"FontBold", FlagText(Font().bold)},
      {"FontItalic", FlagText(Font().italic)},
      {"FontUnderline", FlagText(Font().underline)},
      {"MousePointer", std::to_string(mousePointer_)},
      {"MouseIcon", mouseIcon_},
  });
  return bag;
}

void AOButton::ReadProperties(const PropertyBag& bag) {
  const ButtonLook read = ReadButtonLook(bag, {.backColor = kDefaultBackColor,
                                               .foreColor = kDefaultForeColor,
                                               .borderLight = kDefaultBorderLight,
                                               .borderDark = kDefaultBorderDark,
                                               .backColorClick = kDefaultBackColor,
                                               .toolTipMessage = "",
                                               .goDown = false});
  SetBackColor(read.backColor);
  SetForeColor(read.foreColor);
  SetEnabled(widgets::ReadFlag(bag, "Enabled", true));
  gfx::Font font = ReadFont(bag, "Font", ContainerFont(ParentHwnd()));
  font.bold = widgets::ReadFlag(bag, "FontBold", false);
  font.italic = widgets::ReadFlag(bag, "FontItalic", false);
  font.underline = widgets::ReadFlag(bag, "FontUnderline", false);
  SetFont(font);
  SetCaption(ReadText(bag, "Caption", kDefaultCaption));
  look_.goDown = read.goDown;
  SetBorderLight(read.borderLight);
  SetBorderDark(read.borderDark);
  SetBackColorClick(read.backColorClick);
  const int32_t pointer = ReadNumber(bag, "MousePointer", 0);
  mousePointer_ = pointer >= INT16_MIN && pointer <= INT16_MAX ? static_cast<int16_t>(pointer) : 0;
  mouseIcon_ = ReadText(bag, "MouseIcon", "");
  look_.toolTipMessage = read.toolTipMessage;
}

void AOButton::About() {
  MessageBoxA(hwnd(), "dfd", "Pallion", MB_OK);
}

}  // namespace widgets
