// The classic late-1990s desktop look: system colours, 3D edges, push buttons, caption bars,
// check and option glyphs, focus rectangles, menu bars, tabs and scroll arrows, drawn on a
// canvas with the platform's colours and proportions. Rectangles are in canvas coordinates
// (the canvas origin applies).
#pragma once

#include <string>
#include <vector>

#include "gfx/canvas.h"

namespace gfx {

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  int Right() const { return x + width; }    // excluded
  int Bottom() const { return y + height; }  // excluded
  bool Contains(int px, int py) const {
    return px >= x && py >= y && px < Right() && py < Bottom();
  }
  Rect Inset(int d) const { return {x + d, y + d, width - 2 * d, height - 2 * d}; }
  bool operator==(const Rect&) const = default;
};

namespace classic {

// The standard system colour indices (GetSysColor).
enum SysColorIndex : int {
  kScrollBar = 0,
  kBackground = 1,
  kActiveCaption = 2,
  kInactiveCaption = 3,
  kMenu = 4,
  kWindow = 5,
  kWindowFrame = 6,
  kMenuText = 7,
  kWindowText = 8,
  kCaptionText = 9,
  kActiveBorder = 10,
  kInactiveBorder = 11,
  kAppWorkspace = 12,
  kHighlight = 13,
  kHighlightText = 14,
  kBtnFace = 15,
  kBtnShadow = 16,
  kGrayText = 17,
  kBtnText = 18,
  kInactiveCaptionText = 19,
  kBtnHighlight = 20,
  k3DDkShadow = 21,
  k3DLight = 22,
  kInfoText = 23,
  kInfoBk = 24,
  kHotLight = 26,
  kGradientActiveCaption = 27,
  kGradientInactiveCaption = 28,
  kMenuHilight = 29,
  kMenuBar = 30,
};

// The classic scheme's colour for an index 0..30; 0 (black) for any other index.
Color SysColor(int index);

// The dialog font ("MS Sans Serif" 8.25) and its bold form for captions.
Font SystemFont();
Font CaptionFont();

enum class Edge {
  Raised,        // window and panel edge: light/dark outside, white/grey inside
  Sunken,        // text box and well: grey/white outside, black/light inside
  Etched,        // group box line: grey/white, then white/grey
  Bump,          // raised outside, sunken inside
  RaisedThin,    // one pixel: white top-left, grey bottom-right
  SunkenThin,    // one pixel: grey top-left, white bottom-right
  Button,        // push button: white/black outside, light/grey inside
  ButtonPushed,  // a caption or scroll button held down
};
int EdgeWidth(Edge edge);  // 1 or 2
// Draws the border inside `r` (the bottom and right lines own the far corners) and returns
// the rectangle within it. With `fillFace` the inside is filled with the button face colour.
Rect DrawEdge(Canvas& canvas, const Rect& r, Edge edge, bool fillFace = false);

// Text with "&" marking the mnemonic letter ("&&" is a plain "&").
std::string StripMnemonic(const std::string& text);
// The letter "&" marks, in upper case (0 when the text marks none).
char MnemonicLetter(const std::string& text);
int MnemonicTextWidth(const std::string& text, const Font& font);
// Draws the text with the mnemonic letter underlined; returns the advance.
int DrawMnemonicText(Canvas& canvas, int x, int y, const std::string& text, const Font& font,
                     Color color, bool underlineMnemonic = true);
// Disabled text: grey, with a white copy one pixel down and right.
int DrawEmbossedText(Canvas& canvas, int x, int y, const std::string& text, const Font& font);

struct ButtonState {
  bool pressed = false;
  bool focused = false;
  bool isDefault = false;
  bool enabled = true;
};
// A push button: face, 3D edge, caption centred (with its mnemonic), focus rectangle.
void DrawButton(Canvas& canvas, const Rect& r, const std::string& caption, const Font& font,
                const ButtonState& state = {});

// The dotted, inverting focus rectangle (drawing it twice removes it).
void DrawFocusRect(Canvas& canvas, const Rect& r);

constexpr int kCaptionHeight = 18;
enum class CaptionGlyph { Minimize, Maximize, Restore, Close };
struct CaptionButtons {
  bool minimize = true;
  bool maximize = true;
  bool close = true;
  bool maximized = false;  // the maximise button shows the restore glyph
};
// Where the caption buttons sit in a caption bar; absent buttons get an empty rectangle.
struct CaptionLayout {
  Rect minimize, maximize, close;
};
CaptionLayout LayoutCaptionButtons(const Rect& bar, const CaptionButtons& buttons);
// The caption bar: gradient (navy to blue when active, greys when not), the title in bold
// (cut short with "..." when it would run under the buttons), and the caption buttons.
void DrawCaptionBar(Canvas& canvas, const Rect& bar, const std::string& title, bool active,
                    const CaptionButtons& buttons = {});
void DrawCaptionButton(Canvas& canvas, const Rect& r, CaptionGlyph glyph, bool pressed = false,
                       bool enabled = true);

constexpr int kCheckBoxSize = 13;
// A 13x13 sunken white box, with the check mark when checked; grey inside when disabled.
void DrawCheckBox(Canvas& canvas, int x, int y, bool checked, bool enabled = true);
constexpr int kOptionButtonSize = 12;
// A 12x12 round sunken well with the dot when selected.
void DrawOptionButton(Canvas& canvas, int x, int y, bool selected, bool enabled = true);

constexpr int kMenuBarHeight = 19;
// The item rectangles of a menu bar, left to right.
std::vector<Rect> LayoutMenuBar(const Rect& bar, const std::vector<std::string>& items,
                                const Font& font);
// The strip with its items; `selected` (or -1) is drawn pressed in. Returns the item rectangles.
std::vector<Rect> DrawMenuBar(Canvas& canvas, const Rect& bar,
                              const std::vector<std::string>& items, const Font& font,
                              int selected = -1);

// A tab of a tab strip. `r` is the tab's place in the strip; an unselected tab is drawn two
// pixels lower, the selected one two pixels wider on each side and reaching one pixel into
// the panel below so it joins it.
void DrawTab(Canvas& canvas, const Rect& r, const std::string& text, const Font& font,
             bool selected);

enum class Arrow { Up, Down, Left, Right };
void DrawScrollArrow(Canvas& canvas, const Rect& r, Arrow arrow, bool pressed = false,
                     bool enabled = true);

// A vertical scroll bar in `r` for `visible` of `total` rows starting at row `first`: square
// arrows at both ends, the track between them and the thumb, sized and placed for the part in
// view (no thumb when everything is in view or the track is too short for one).
struct ScrollBarLayout {
  Rect up, down, track, thumb;
};
ScrollBarLayout LayoutVScrollBar(const Rect& r, int first, int visible, int total);
enum class ScrollPart { None, LineUp, LineDown, PageUp, PageDown, Thumb };
ScrollPart HitScrollBar(const ScrollBarLayout& bar, int x, int y);
// The first row for a thumb dragged so its top lies at `thumbTop`.
int ScrollPositionForThumb(const ScrollBarLayout& bar, int thumbTop, int visible, int total);
void DrawVScrollBar(Canvas& canvas, const Rect& r, int first, int visible, int total);

// An open drop-down or pop-up menu: a raised box of items (text with an optional "\t" and a
// shortcut, check marks, greyed items, separators, an arrow for a submenu), `highlighted` (or
// -1) drawn selected.
struct MenuEntry {
  std::string text;
  bool separator = false;
  bool checked = false;
  bool grayed = false;
  bool submenu = false;
};
constexpr int kMenuBorder = 3;
constexpr int kMenuItemHeight = 18;
constexpr int kMenuSeparatorHeight = 9;
int PopupMenuWidth(const std::vector<MenuEntry>& items, const Font& font);
int PopupMenuHeight(const std::vector<MenuEntry>& items);
// Draws the menu with its top-left corner at (x, y); returns the item rectangles.
std::vector<Rect> DrawPopupMenu(Canvas& canvas, int x, int y, const std::vector<MenuEntry>& items,
                                const Font& font, int highlighted = -1);

}  // namespace classic
}  // namespace gfx
