#include "gfx/classic.h"

#include <algorithm>

#include "gfx/pixels.h"
#include "gfx/text.h"

namespace gfx::classic {

namespace {

constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>(r | (g << 8) | (b << 16));
}

constexpr Color kSchemeColors[31] = {
    Rgb(192, 192, 192),  // scroll bar
    Rgb(0, 128, 128),    // desktop
    Rgb(0, 0, 128),      // active caption
    Rgb(128, 128, 128),  // inactive caption
    Rgb(192, 192, 192),  // menu
    Rgb(255, 255, 255),  // window
    Rgb(0, 0, 0),        // window frame
    Rgb(0, 0, 0),        // menu text
    Rgb(0, 0, 0),        // window text
    Rgb(255, 255, 255),  // caption text
    Rgb(192, 192, 192),  // active border
    Rgb(192, 192, 192),  // inactive border
    Rgb(128, 128, 128),  // application workspace
    Rgb(0, 0, 128),      // highlight
    Rgb(255, 255, 255),  // highlight text
    Rgb(192, 192, 192),  // button face
    Rgb(128, 128, 128),  // button shadow
    Rgb(128, 128, 128),  // grey text
    Rgb(0, 0, 0),        // button text
    Rgb(192, 192, 192),  // inactive caption text
    Rgb(255, 255, 255),  // button highlight
    Rgb(0, 0, 0),        // 3D dark shadow
    Rgb(223, 223, 223),  // 3D light
    Rgb(0, 0, 0),        // tooltip text
    Rgb(255, 255, 225),  // tooltip background
    Rgb(181, 181, 181),  // alternate button face
    Rgb(0, 0, 255),      // hot-tracked item
    Rgb(16, 132, 208),   // active caption gradient end
    Rgb(192, 192, 192),  // inactive caption gradient end
    Rgb(0, 0, 128),      // menu highlight
    Rgb(192, 192, 192),  // menu bar
};

// Classic drawing paints colours even when the caller left the canvas inverting.
class PaintMode {
 public:
  explicit PaintMode(Canvas& canvas, bool invert = false)
      : canvas_(canvas), saved_(canvas.Invert()) {
    canvas_.SetInvert(invert);
  }
  ~PaintMode() { canvas_.SetInvert(saved_); }
  PaintMode(const PaintMode&) = delete;
  PaintMode& operator=(const PaintMode&) = delete;

 private:
  Canvas& canvas_;
  bool saved_;
};

// One ring of an edge: top and left in `topLeft`, bottom and right (with the far corners)
// in `bottomRight`.
void Ring(Canvas& c, const Rect& r, Color topLeft, Color bottomRight) {
  if (r.width <= 0 || r.height <= 0) return;
  c.FillRect(r.x, r.y, r.width - 1, 1, topLeft);
  c.FillRect(r.x, r.y, 1, r.height - 1, topLeft);
  c.FillRect(r.x, r.Bottom() - 1, r.width, 1, bottomRight);
  c.FillRect(r.Right() - 1, r.y, 1, r.height, bottomRight);
}

struct EdgeColors {
  int outerTL, outerBR, innerTL, innerBR;  // -1: no inner ring
};

EdgeColors ColorsOf(Edge edge) {
  switch (edge) {
    case Edge::Raised:
      return {k3DLight, k3DDkShadow, kBtnHighlight, kBtnShadow};
    case Edge::Sunken:
      return {kBtnShadow, kBtnHighlight, k3DDkShadow, k3DLight};
    case Edge::Etched:
      return {kBtnShadow, kBtnHighlight, kBtnHighlight, kBtnShadow};
    case Edge::Bump:
      return {k3DLight, k3DDkShadow, kBtnShadow, kBtnHighlight};
    case Edge::RaisedThin:
      return {kBtnHighlight, kBtnShadow, -1, -1};
    case Edge::SunkenThin:
      return {kBtnShadow, kBtnHighlight, -1, -1};
    case Edge::Button:
      return {kBtnHighlight, k3DDkShadow, k3DLight, kBtnShadow};
    case Edge::ButtonPushed:
      return {k3DDkShadow, kBtnHighlight, kBtnShadow, k3DLight};
  }
  return {kBtnShadow, kBtnHighlight, -1, -1};
}

// Pixel rows of the round option button: O outer ring, I inner ring, x inside.
constexpr const char* kOptionMask[kOptionButtonSize] = {
    "....OOOO....", "..OOIIIIOO..", ".OIIxxxxIIO.", ".OIxxxxxxIO.", "OIxxxxxxxxIO", "OIxxxxxxxxIO",
    "OIxxxxxxxxIO", "OIxxxxxxxxIO", ".OIxxxxxxIO.", ".OIIxxxxIIO.", "..OOIIIIOO..", "....OOOO....",
};
constexpr const char* kOptionDot[4] = {".XX.", "XXXX", "XXXX", ".XX."};

// The check mark: for each column from x 3 to 9 of the box, its top row (three rows tall).
constexpr int kCheckTop[7] = {5, 6, 7, 6, 5, 4, 3};

// Caption glyphs for a 16x14 button, drawn centred in other sizes.
constexpr const char* kCloseGlyph[7] = {
    "XX....XX", ".XX..XX.", "..XXXX..", "...XX...", "..XXXX..", ".XX..XX.", "XX....XX",
};
constexpr const char* kMinimizeGlyph[2] = {"XXXXXX", "XXXXXX"};
constexpr const char* kMaximizeGlyph[9] = {
    "XXXXXXXXX", "XXXXXXXXX", "X.......X", "X.......X", "X.......X",
    "X.......X", "X.......X", "X.......X", "XXXXXXXXX",
};
constexpr const char* kRestoreGlyph[9] = {
    "..XXXXXX.", "..XXXXXX.", "..X....X.", "XXXXXX.X.", "XXXXXX.X.",
    "X....XXX.", "X....X...", "X....X...", "XXXXXX...",
};

template <size_t Rows>
void DrawMask(Canvas& c, int x, int y, const char* const (&rows)[Rows], Color color) {
  for (size_t row = 0; row < Rows; ++row) {
    for (int col = 0; rows[row][col] != '\0'; ++col) {
      if (rows[row][col] == 'X') c.SetPixel(x + col, y + static_cast<int>(row), color);
    }
  }
}

template <size_t Rows>
int MaskWidth(const char* const (&rows)[Rows]) {
  return static_cast<int>(std::char_traits<char>::length(rows[0]));
}

// Mnemonic parsing: the shown text and the index in it of the underlined letter (or -1).
std::string Parse(const std::string& text, int* mnemonic) {
  std::string out;
  *mnemonic = -1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out += text[i];
      continue;
    }
    if (i + 1 >= text.size()) break;  // a lone trailing "&" shows nothing
    ++i;
    if (text[i] != '&' && *mnemonic < 0) *mnemonic = static_cast<int>(out.size());
    out += text[i];
  }
  return out;
}

std::string Ellipsized(const std::string& text, const Font& font, int width) {
  if (Canvas::TextWidth(text, font) <= width) return text;
  std::string cut = text;
  while (!cut.empty() && Canvas::TextWidth(cut + "...", font) > width) cut.pop_back();
  return cut.empty() ? std::string() : cut + "...";
}

}  // namespace

Color SysColor(int index) {
  if (index < 0 || index > 30) return 0;
  return kSchemeColors[index];
}

Font SystemFont() {
  Font f;
  f.face = "MS Sans Serif";
  f.sizePoints = 8.25;
  return f;
}

Font CaptionFont() {
  Font f = SystemFont();
  f.bold = true;
  return f;
}

int EdgeWidth(Edge edge) {
  return ColorsOf(edge).innerTL < 0 ? 1 : 2;
}

Rect DrawEdge(Canvas& canvas, const Rect& r, Edge edge, bool fillFace) {
  PaintMode mode(canvas);
  const EdgeColors e = ColorsOf(edge);
  Ring(canvas, r, SysColor(e.outerTL), SysColor(e.outerBR));
  Rect inside = r.Inset(1);
  if (e.innerTL >= 0) {
    Ring(canvas, inside, SysColor(e.innerTL), SysColor(e.innerBR));
    inside = inside.Inset(1);
  }
  if (fillFace && inside.width > 0 && inside.height > 0) {
    canvas.FillRect(inside.x, inside.y, inside.width, inside.height, SysColor(kBtnFace));
  }
  return inside;
}

std::string StripMnemonic(const std::string& text) {
  int mnemonic = -1;
  return Parse(text, &mnemonic);
}

char MnemonicLetter(const std::string& text) {
  int mnemonic = -1;
  const std::string shown = Parse(text, &mnemonic);
  if (mnemonic < 0) return 0;
  return static_cast<char>(std::toupper(static_cast<unsigned char>(shown[mnemonic])));
}

int MnemonicTextWidth(const std::string& text, const Font& font) {
  return Canvas::TextWidth(StripMnemonic(text), font);
}

int DrawMnemonicText(Canvas& canvas, int x, int y, const std::string& text, const Font& font,
                     Color color, bool underlineMnemonic) {
  PaintMode mode(canvas);
  int mnemonic = -1;
  const std::string shown = Parse(text, &mnemonic);
  const int advance = canvas.DrawText(x, y, shown, font, color);
  if (underlineMnemonic && mnemonic >= 0) {
    const int left = Canvas::TextWidth(shown.substr(0, static_cast<size_t>(mnemonic)), font);
    const int width = Canvas::TextWidth(shown.substr(static_cast<size_t>(mnemonic), 1), font);
    const int row = std::min(TextAscent(font) + 1, Canvas::TextHeight(font) - 1);
    canvas.FillRect(x + left, y + row, width, 1, color);
  }
  return advance;
}

int DrawEmbossedText(Canvas& canvas, int x, int y, const std::string& text, const Font& font) {
  DrawMnemonicText(canvas, x + 1, y + 1, text, font, SysColor(kBtnHighlight));
  return DrawMnemonicText(canvas, x, y, text, font, SysColor(kGrayText));
}

void DrawButton(Canvas& canvas, const Rect& r, const std::string& caption, const Font& font,
                const ButtonState& state) {
  if (r.width <= 0 || r.height <= 0) return;
  PaintMode mode(canvas);
  canvas.FillRect(r.x, r.y, r.width, r.height, SysColor(kBtnFace));
  Rect inner = r;
  if (state.isDefault || state.pressed) {
    canvas.DrawRect(r.x, r.y, r.width, r.height, SysColor(k3DDkShadow));
    inner = r.Inset(1);
  }
  if (state.pressed) {
    canvas.DrawRect(inner.x, inner.y, inner.width, inner.height, SysColor(kBtnShadow));
  } else {
    DrawEdge(canvas, inner, Edge::Button);
  }
  const int shift = state.pressed ? 1 : 0;
  const int tx = r.x + (r.width - MnemonicTextWidth(caption, font)) / 2 + shift;
  const int ty = r.y + (r.height - Canvas::TextHeight(font)) / 2 + shift;
  if (state.enabled) {
    DrawMnemonicText(canvas, tx, ty, caption, font, SysColor(kBtnText));
  } else {
    DrawEmbossedText(canvas, tx, ty, caption, font);
  }
  if (state.focused && state.enabled) DrawFocusRect(canvas, r.Inset(4));
}

void DrawFocusRect(Canvas& canvas, const Rect& r) {
  PaintMode mode(canvas, true);
  canvas.DottedRect(r.x, r.y, r.width, r.height, 2, 0);
}

CaptionLayout LayoutCaptionButtons(const Rect& bar, const CaptionButtons& buttons) {
  CaptionLayout layout;
  const int h = std::max(0, bar.height - 4);
  const int w = h + 2;
  const int top = bar.y + 2;
  int right = bar.Right() - 2;
  if (buttons.close) {
    layout.close = {right - w, top, w, h};
    right -= w + 2;  // the close button stands apart
  }
  if (buttons.maximize) {
    layout.maximize = {right - w, top, w, h};
    right -= w;
  }
  if (buttons.minimize) layout.minimize = {right - w, top, w, h};
  return layout;
}

void DrawCaptionBar(Canvas& canvas, const Rect& bar, const std::string& title, bool active,
                    const CaptionButtons& buttons) {
  if (bar.width <= 0 || bar.height <= 0) return;
  PaintMode mode(canvas);
  const Color from = SysColor(active ? kActiveCaption : kInactiveCaption);
  const Color to = SysColor(active ? kGradientActiveCaption : kGradientInactiveCaption);
  for (int i = 0; i < bar.width; ++i) {
    const int alpha = bar.width > 1 ? i * 255 / (bar.width - 1) : 0;
    canvas.FillRect(bar.x + i, bar.y, 1, bar.height, BlendColor(from, to, alpha));
  }
  const CaptionLayout layout = LayoutCaptionButtons(bar, buttons);
  int titleRight = bar.Right() - 2;
  for (const Rect* b : {&layout.minimize, &layout.maximize, &layout.close}) {
    if (b->width > 0) titleRight = std::min(titleRight, b->x - 2);
  }
  const Font font = CaptionFont();
  const int tx = bar.x + 3;
  const int ty = bar.y + (bar.height - Canvas::TextHeight(font)) / 2;
  const std::string shown = Ellipsized(title, font, titleRight - tx);
  canvas.DrawText(tx, ty, shown, font, SysColor(active ? kCaptionText : kInactiveCaptionText));
  if (layout.minimize.width > 0) {
    DrawCaptionButton(canvas, layout.minimize, CaptionGlyph::Minimize);
  }
  if (layout.maximize.width > 0) {
    DrawCaptionButton(canvas, layout.maximize,
                      buttons.maximized ? CaptionGlyph::Restore : CaptionGlyph::Maximize);
  }
  if (layout.close.width > 0) DrawCaptionButton(canvas, layout.close, CaptionGlyph::Close);
}

void DrawCaptionButton(Canvas& canvas, const Rect& r, CaptionGlyph glyph, bool pressed,
                       bool enabled) {
  if (r.width <= 0 || r.height <= 0) return;
  PaintMode mode(canvas);
  DrawEdge(canvas, r, pressed ? Edge::ButtonPushed : Edge::Button, true);
  const int shift = pressed ? 1 : 0;
  auto place = [&](const auto& mask, int rows, int& x, int& y) {
    x = r.x + (r.width - MaskWidth(mask)) / 2 + shift;
    y = r.y + (r.height - rows) / 2 + shift;
  };
  auto paint = [&](const auto& mask, int x, int y) {
    if (!enabled) DrawMask(canvas, x + 1, y + 1, mask, SysColor(kBtnHighlight));
    DrawMask(canvas, x, y, mask, SysColor(enabled ? kBtnText : kGrayText));
  };
  int x = 0, y = 0;
  switch (glyph) {
    case CaptionGlyph::Close:
      place(kCloseGlyph, 7, x, y);
      paint(kCloseGlyph, x, y);
      break;
    case CaptionGlyph::Minimize:
      x = r.x + (r.width - MaskWidth(kMinimizeGlyph)) / 2 - 1 + shift;
      y = r.Bottom() - 5 + shift;
      paint(kMinimizeGlyph, x, y);
      break;
    case CaptionGlyph::Maximize:
      place(kMaximizeGlyph, 9, x, y);
      paint(kMaximizeGlyph, x, y);
      break;
    case CaptionGlyph::Restore:
      place(kRestoreGlyph, 9, x, y);
      paint(kRestoreGlyph, x, y);
      break;
  }
}

void DrawCheckBox(Canvas& canvas, int x, int y, bool checked, bool enabled) {
  PaintMode mode(canvas);
  const Rect inside = DrawEdge(canvas, {x, y, kCheckBoxSize, kCheckBoxSize}, Edge::Sunken);
  canvas.FillRect(inside.x, inside.y, inside.width, inside.height,
                  SysColor(enabled ? kWindow : kBtnFace));
  if (!checked) return;
  const Color mark = SysColor(enabled ? kWindowText : kGrayText);
  for (int i = 0; i < 7; ++i) canvas.FillRect(x + 3 + i, y + kCheckTop[i], 1, 3, mark);
}

void DrawOptionButton(Canvas& canvas, int x, int y, bool selected, bool enabled) {
  PaintMode mode(canvas);
  for (int row = 0; row < kOptionButtonSize; ++row) {
    for (int col = 0; col < kOptionButtonSize; ++col) {
      const char kind = kOptionMask[row][col];
      // The rings split along the rising diagonal: upper left dark, lower right light.
      const bool upperLeft =
          col + row < kOptionButtonSize - 1 || (col + row == kOptionButtonSize - 1 && col > row);
      Color color = 0;
      if (kind == 'O') {
        color = SysColor(upperLeft ? kBtnShadow : kBtnHighlight);
      } else if (kind == 'I') {
        color = SysColor(upperLeft ? k3DDkShadow : k3DLight);
      } else if (kind == 'x') {
        color = SysColor(enabled ? kWindow : kBtnFace);
      } else {
        continue;
      }
      canvas.SetPixel(x + col, y + row, color);
    }
  }
  if (selected)
    DrawMask(canvas, x + 4, y + 4, kOptionDot, SysColor(enabled ? kWindowText : kGrayText));
}

std::vector<Rect> LayoutMenuBar(const Rect& bar, const std::vector<std::string>& items,
                                const Font& font) {
  std::vector<Rect> rects;
  int x = bar.x;
  for (const std::string& item : items) {
    const int w = MnemonicTextWidth(item, font) + 12;
    rects.push_back({x, bar.y, w, std::max(0, bar.height - 1)});
    x += w;
  }
  return rects;
}

std::vector<Rect> DrawMenuBar(Canvas& canvas, const Rect& bar,
                              const std::vector<std::string>& items, const Font& font,
                              int selected) {
  PaintMode mode(canvas);
  canvas.FillRect(bar.x, bar.y, bar.width, bar.height, SysColor(kMenuBar));
  const std::vector<Rect> rects = LayoutMenuBar(bar, items, font);
  const int textHeight = Canvas::TextHeight(font);
  for (size_t i = 0; i < rects.size(); ++i) {
    const Rect& r = rects[i];
    const bool open = static_cast<int>(i) == selected;
    if (open) DrawEdge(canvas, r, Edge::SunkenThin);
    const int shift = open ? 1 : 0;
    DrawMnemonicText(canvas, r.x + 6 + shift, r.y + (r.height - textHeight) / 2 + shift, items[i],
                     font, SysColor(kMenuText));
  }
  return rects;
}

void DrawTab(Canvas& canvas, const Rect& r, const std::string& text, const Font& font,
             bool selected) {
  if (r.width <= 0 || r.height <= 0) return;
  PaintMode mode(canvas);
  const Rect t = selected ? Rect{r.x - 2, r.y, r.width + 4, r.height + 1}
                          : Rect{r.x, r.y + 2, r.width, r.height - 2};
  if (t.width < 4 || t.height < 3) return;
  const Color light = SysColor(kBtnHighlight);
  const Color dark = SysColor(k3DDkShadow);
  const Color shadow = SysColor(kBtnShadow);
  canvas.FillRect(t.x + 1, t.y + 1, t.width - 2, t.height - 1, SysColor(kBtnFace));
  canvas.FillRect(t.x, t.y + 2, 1, t.height - 2, light);           // left side
  canvas.SetPixel(t.x + 1, t.y + 1, light);                        // rounded corner
  canvas.FillRect(t.x + 2, t.y, t.width - 4, 1, light);            // top
  canvas.SetPixel(t.Right() - 2, t.y + 1, dark);                   // rounded corner
  canvas.FillRect(t.Right() - 1, t.y + 2, 1, t.height - 2, dark);  // right side
  canvas.FillRect(t.Right() - 2, t.y + 2, 1, t.height - 2, shadow);
  const int tx = t.x + (t.width - MnemonicTextWidth(text, font)) / 2;
  const int ty = t.y + (t.height - Canvas::TextHeight(font)) / 2;
  DrawMnemonicText(canvas, tx, ty, text, font, SysColor(kBtnText));
}

void DrawScrollArrow(Canvas& canvas, const Rect& r, Arrow arrow, bool pressed, bool enabled) {
  if (r.width <= 0 || r.height <= 0) return;
  PaintMode mode(canvas);
  if (pressed) {
    canvas.FillRect(r.x, r.y, r.width, r.height, SysColor(kBtnFace));
    canvas.DrawRect(r.x, r.y, r.width, r.height, SysColor(kBtnShadow));
  } else {
    DrawEdge(canvas, r, Edge::Button, true);
  }
  const int n = std::max(1, (std::min(r.width, r.height) - 4) / 3);  // rows of the triangle
  const int shift = pressed ? 1 : 0;
  const int cx = r.x + (r.width - 1) / 2 + shift;
  const int cy = r.y + (r.height - 1) / 2 + shift;
  auto triangle = [&](int dx, int dy, Color color) {
    for (int i = 0; i < n; ++i) {
      // Row i counted from the tip; the tip points the arrow's way.
      const int half = i;
      const int along = n / 2 - i;
      switch (arrow) {
        case Arrow::Up:
          canvas.FillRect(cx - half + dx, cy - along + dy, 2 * half + 1, 1, color);
          break;
        case Arrow::Down:
          canvas.FillRect(cx - half + dx, cy + along + dy, 2 * half + 1, 1, color);
          break;
        case Arrow::Left:
          canvas.FillRect(cx - along + dx, cy - half + dy, 1, 2 * half + 1, color);
          break;
        case Arrow::Right:
          canvas.FillRect(cx + along + dx, cy - half + dy, 1, 2 * half + 1, color);
          break;
      }
    }
  };
  if (!enabled) triangle(1, 1, SysColor(kBtnHighlight));
  triangle(0, 0, SysColor(enabled ? kBtnText : kGrayText));
}

ScrollBarLayout LayoutVScrollBar(const Rect& r, int first, int visible, int total) {
  ScrollBarLayout bar;
  const int arrow = std::min(r.width, r.height / 2);
  bar.up = {r.x, r.y, r.width, arrow};
  bar.down = {r.x, r.Bottom() - arrow, r.width, arrow};
  bar.track = {r.x, r.y + arrow, r.width, std::max(0, r.height - 2 * arrow)};
  constexpr int kMinThumb = 8;
  if (total > visible && visible > 0 && bar.track.height >= kMinThumb) {
    const int length =
        std::clamp(static_cast<int>(static_cast<int64_t>(bar.track.height) * visible / total),
                   kMinThumb, bar.track.height);
    const int range = total - visible;
    const int at = static_cast<int>(static_cast<int64_t>(bar.track.height - length) *
                                    std::clamp(first, 0, range) / range);
    bar.thumb = {r.x, bar.track.y + at, r.width, length};
  }
  return bar;
}

ScrollPart HitScrollBar(const ScrollBarLayout& bar, int x, int y) {
  if (bar.up.Contains(x, y)) return ScrollPart::LineUp;
  if (bar.down.Contains(x, y)) return ScrollPart::LineDown;
  if (!bar.track.Contains(x, y)) return ScrollPart::None;
  if (bar.thumb.height == 0) return ScrollPart::None;
  if (bar.thumb.Contains(x, y)) return ScrollPart::Thumb;
  return y < bar.thumb.y ? ScrollPart::PageUp : ScrollPart::PageDown;
}

int ScrollPositionForThumb(const ScrollBarLayout& bar, int thumbTop, int visible, int total) {
  const int room = bar.track.height - bar.thumb.height;
  const int range = total - visible;
  if (room <= 0 || range <= 0) return 0;
  const int at = std::clamp(thumbTop - bar.track.y, 0, room);
  return static_cast<int>((static_cast<int64_t>(at) * range + room / 2) / room);
}

void DrawVScrollBar(Canvas& canvas, const Rect& r, int first, int visible, int total) {
  if (r.width <= 0 || r.height <= 0) return;
  PaintMode mode(canvas);
  const ScrollBarLayout bar = LayoutVScrollBar(r, first, visible, total);
  // The track is the classic half-tone of highlight and face.
  canvas.FillRect(bar.track.x, bar.track.y, bar.track.width, bar.track.height, SysColor(kBtnFace));
  for (int y = bar.track.y; y < bar.track.Bottom(); ++y) {
    for (int x = bar.track.x + (y & 1); x < bar.track.Right(); x += 2) {
      canvas.SetPixel(x, y, SysColor(kBtnHighlight));
    }
  }
  const bool scrolls = total > visible;
  DrawScrollArrow(canvas, bar.up, Arrow::Up, false, scrolls && first > 0);
  DrawScrollArrow(canvas, bar.down, Arrow::Down, false, scrolls && first + visible < total);
  if (bar.thumb.height > 0) DrawEdge(canvas, bar.thumb, Edge::Button, true);
}

namespace {
constexpr int kMenuCheckColumn = 17;
constexpr int kMenuArrowColumn = 17;
constexpr int kMenuShortcutGap = 16;

void SplitShortcut(const std::string& text, std::string& label, std::string& shortcut) {
  const size_t tab = text.find('\t');
  label = text.substr(0, tab);
  shortcut = tab == std::string::npos ? std::string() : text.substr(tab + 1);
}
}  // namespace

int PopupMenuWidth(const std::vector<MenuEntry>& items, const Font& font) {
  int labels = 0, shortcuts = 0;
  for (const MenuEntry& e : items) {
    if (e.separator) continue;
    std::string label, shortcut;
    SplitShortcut(e.text, label, shortcut);
    labels = std::max(labels, MnemonicTextWidth(label, font));
    if (!shortcut.empty()) shortcuts = std::max(shortcuts, MnemonicTextWidth(shortcut, font));
  }
  if (shortcuts > 0) shortcuts += kMenuShortcutGap;
  return 2 * kMenuBorder + kMenuCheckColumn + labels + shortcuts + kMenuArrowColumn;
}

int PopupMenuHeight(const std::vector<MenuEntry>& items) {
  int h = 2 * kMenuBorder;
  for (const MenuEntry& e : items) h += e.separator ? kMenuSeparatorHeight : kMenuItemHeight;
  return h;
}

std::vector<Rect> DrawPopupMenu(Canvas& canvas, int x, int y, const std::vector<MenuEntry>& items,
                                const Font& font, int highlighted) {
  PaintMode mode(canvas);
  const int width = PopupMenuWidth(items, font);
  DrawEdge(canvas, {x, y, width, PopupMenuHeight(items)}, Edge::Raised, true);
  canvas.FillRect(x + 2, y + 2, width - 4, PopupMenuHeight(items) - 4, SysColor(kMenu));
  std::vector<Rect> rects;
  int top = y + kMenuBorder;
  const int textHeight = Canvas::TextHeight(font);
  for (size_t i = 0; i < items.size(); ++i) {
    const MenuEntry& e = items[i];
    const Rect r{x + kMenuBorder, top, width - 2 * kMenuBorder,
                 e.separator ? kMenuSeparatorHeight : kMenuItemHeight};
    rects.push_back(r);
    top += r.height;
    if (e.separator) {
      DrawEdge(canvas, {r.x + 1, r.y + r.height / 2 - 1, r.width - 2, 2}, Edge::SunkenThin);
      continue;
    }
    const bool lit = static_cast<int>(i) == highlighted;
    if (lit) canvas.FillRect(r.x, r.y, r.width, r.height, SysColor(kHighlight));
    const Color ink = e.grayed ? SysColor(kGrayText) : SysColor(lit ? kHighlightText : kMenuText);
    const int ty = r.y + (r.height - textHeight) / 2;
    if (e.checked) {
      // The check mark: a short stroke down and a long one up, three pixels thick.
      const int cx = r.x + 4, cy = r.y + r.height / 2 - 1;
      for (int k = 0; k < 7; ++k) {
        const int dy = k <= 2 ? k : 4 - k;
        canvas.FillRect(cx + k, cy + dy - 1, 1, 3, ink);
      }
    }
    std::string label, shortcut;
    SplitShortcut(e.text, label, shortcut);
    if (e.grayed && !lit) {
      DrawEmbossedText(canvas, r.x + kMenuCheckColumn, ty, StripMnemonic(label), font);
    } else {
      DrawMnemonicText(canvas, r.x + kMenuCheckColumn, ty, label, font, ink);
    }
    if (!shortcut.empty()) {
      const int sx = r.Right() - kMenuArrowColumn - MnemonicTextWidth(shortcut, font);
      DrawMnemonicText(canvas, sx, ty, shortcut, font, ink, false);
    }
    if (e.submenu) {
      const int ax = r.Right() - kMenuArrowColumn / 2 - 2, ay = r.y + r.height / 2;
      for (int k = 0; k < 4; ++k) canvas.FillRect(ax + k, ay - 3 + k, 1, 7 - 2 * k, ink);
    }
  }
  return rects;
}

}  // namespace gfx::classic
