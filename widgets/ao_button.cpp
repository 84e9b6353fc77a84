#include "widgets/ao_button.h"

#include "gfx/classic.h"
#include "platform/win32.h"

namespace widgets {

using namespace platform;

namespace {

gfx::Font DefaultFont() {
  gfx::Font font;
  font.face = "Tahoma";
  return font;
}

// The font of the control's container, or the default when the container is not ours.
gfx::Font ContainerFont(HWND parent, const gfx::Font& fallback) {
  ui::Control* container = ui::Control::FromHwnd(parent);
  return container != nullptr ? container->Font() : fallback;
}

}  // namespace

AOButton::AOButton(ui::Parent parent, std::string name, const std::string& caption, int x, int y,
                   int width, int height, int index)
    : ui::Control(parent, std::move(name), index,
                  ui::WindowParams{"AOButton", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, caption,
                                   x, y, width, height}) {
  ui::Control::SetFont(DefaultFont());
  ui::Control::SetBackColor(ResolveColor(backColor_));
  LayoutCaption();
}

void AOButton::SetBackColor(OleColor color) {
  backColor_ = color;
  ui::Control::SetBackColor(ResolveColor(color));
  ShowBackground(color);
}

void AOButton::SetBorderLight(OleColor color) {
  borderLight_ = color;
  Invalidate();
}

void AOButton::SetBorderDark(OleColor color) {
  borderDark_ = color;
  Invalidate();
}

void AOButton::SetBackColorClick(OleColor color) {
  backColorClick_ = color;
}

void AOButton::SetForeColor(OleColor color) {
  foreColor_ = color;
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
  current_ = backColor_;
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
  const COLORREF light = ResolveColor(borderLight_);
  const COLORREF dark = ResolveColor(borderDark_);
  canvas.Line(0, 0, w, 0, light);
  canvas.Line(0, 0, 0, h, light);
  const int bottom = gfx::TwipsToPixels(heightTwips - 15);
  const int right = gfx::TwipsToPixels(widthTwips - 10);
  canvas.Line(0, bottom, w, bottom, dark);
  canvas.Line(right, 0, right, h, dark);
  // The caption part, centred over its width, transparent.
  const std::string caption = Caption();
  if (caption.empty()) return;
  const int textWidth = gfx::Canvas::TextWidth(caption, Font());
  const int x = (captionWidth_ - textWidth) / 2;
  if (Enabled()) {
    canvas.DrawText(x, captionTop_, caption, Font(), ResolveColor(foreColor_));
  } else {
    gfx::classic::DrawEmbossedText(canvas, x, captionTop_, caption, Font());
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
  ShowBackground(backColorClick_);
  ui::Control::HandleMouseDown(button, shift, x, y);
}

void AOButton::HandleMouseMove(int button, int shift, int x, int y) {
  SetToolTipText(toolTipMessage_);
  ui::Control::HandleMouseMove(button, shift, x, y);
}

void AOButton::HandleMouseUp(int button, int shift, int x, int y) {
  ShowBackground(backColor_);
  ui::Control::HandleMouseUp(button, shift, x, y);
}

void AOButton::HandleClick() {
  const HWND self = hwnd();
  ui::Control::HandleClick();
  // The click handler may have destroyed the control (a message box unloads itself).
  if (goDown_ && self != 0 && Control::FromHwnd(self) == this) LayoutCaption();
}

PropertyBag AOButton::WriteProperties() const {
  return PropertyBag{
      {"BackColor", ColorText(backColor_)},
      {"ForeColor", ColorText(foreColor_)},
      {"Enabled", FlagText(Enabled())},
      {"Font", FontText(Font())},
      {"Caption", Caption()},
      {"FontBold", FlagText(Font().bold)},
      {"FontItalic", FlagText(Font().italic)},
      {"FontUnderline", FlagText(Font().underline)},
      {"GoDown", FlagText(goDown_)},
      {"BorderLight", ColorText(borderLight_)},
      {"BorderDark", ColorText(borderDark_)},
      {"BackColorClick", ColorText(backColorClick_)},
      {"MousePointer", std::to_string(mousePointer_)},
      {"MouseIcon", mouseIcon_},
      {"ToolTipMessage", toolTipMessage_},
  };
}

void AOButton::ReadProperties(const PropertyBag& bag) {
  SetBackColor(ReadColor(bag, "BackColor", kDefaultBackColor));
  SetForeColor(ReadColor(bag, "ForeColor", kDefaultForeColor));
  SetEnabled(widgets::ReadFlag(bag, "Enabled", true));
  gfx::Font font = ReadFont(bag, "Font", ContainerFont(ParentHwnd(), DefaultFont()));
  font.bold = widgets::ReadFlag(bag, "FontBold", false);
  font.italic = widgets::ReadFlag(bag, "FontItalic", false);
  font.underline = widgets::ReadFlag(bag, "FontUnderline", false);
  SetFont(font);
  SetCaption(ReadText(bag, "Caption", kDefaultCaption));
  goDown_ = widgets::ReadFlag(bag, "GoDown", false);
  SetBorderLight(ReadColor(bag, "BorderLight", kDefaultBorderLight));
  SetBorderDark(ReadColor(bag, "BorderDark", kDefaultBorderDark));
  SetBackColorClick(ReadColor(bag, "BackColorClick", kDefaultBackColor));
  const int32_t pointer = ReadNumber(bag, "MousePointer", 0);
  mousePointer_ = pointer >= INT16_MIN && pointer <= INT16_MAX ? static_cast<int16_t>(pointer) : 0;
  mouseIcon_ = ReadText(bag, "MouseIcon", "");
  toolTipMessage_ = ReadText(bag, "ToolTipMessage", "");
}

void AOButton::About() {
  MessageBoxA(hwnd(), "dfd", "Pallion", MB_OK);
}

}  // namespace widgets
