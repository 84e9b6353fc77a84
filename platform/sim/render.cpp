// Painting the simulated screen, screenshots and the textual dumps of the window tree.
#include <algorithm>
#include <cstdio>

#include "gfx/canvas.h"
#include "gfx/classic.h"
#include "platform/sim/desktop.h"
#include "platform/sim/state.h"

namespace platform::sim {

namespace {

constexpr COLORREF kFace = 0xC0C0C0;
constexpr COLORREF kShadow = 0x808080;
constexpr COLORREF kActiveCaption = 0x800000;    // navy
constexpr COLORREF kInactiveCaption = 0x808080;  // grey
constexpr COLORREF kBlack = 0x000000;

RECT Intersect(RECT a, RECT b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

bool Empty(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

}  // namespace

COLORREF Desktop::GetSysColor(int index) {
  switch (index) {
    case 0:
      return kFace;  // scroll bar
    case COLOR_DESKTOP:
      return kDesktopColor;
    case COLOR_ACTIVECAPTION:
      return kActiveCaption;
    case 3:
      return kInactiveCaption;
    case 4:
      return kFace;  // menu
    case COLOR_WINDOW:
      return 0xFFFFFF;
    case 6:
      return kBlack;  // window frame
    case 7:
      return kBlack;  // menu text
    case COLOR_WINDOWTEXT:
      return kBlack;
    case 9:
      return 0xFFFFFF;  // caption text
    case 10:
    case 11:
      return kFace;  // borders
    case COLOR_APPWORKSPACE:
      return kShadow;
    case COLOR_HIGHLIGHT:
      return kActiveCaption;
    case COLOR_HIGHLIGHTTEXT:
      return 0xFFFFFF;
    case COLOR_BTNFACE:
      return kFace;
    case 16:
      return kShadow;  // button shadow
    case 17:
      return kShadow;  // grey text
    case 18:
      return kBlack;  // button text
    case 19:
      return kFace;  // inactive caption text
    case 20:
      return 0xFFFFFF;  // button highlight
    case 21:
      return kBlack;  // 3D dark shadow
    case 22:
      return kFace;  // 3D light
    case 23:
      return kBlack;  // info text
    case 24:
      return 0xE1FFFF;  // info background
    default:
      return 0;
  }
}

gfx::Canvas* Desktop::BeginPaint(HWND hwnd) {
  State& s = *state_;
  Window* w = Need(hwnd);
  if (!w) return nullptr;
  if (s.paintWindow == hwnd && s.paintTarget) return s.paintTarget;
  RECT c = ClientRectIn(*w);
  s.scratch = gfx::Canvas(std::max(c.Width(), 1), std::max(c.Height(), 1),
                          w->background == 0xFFFFFFFF ? kFace : w->background);
  return &s.scratch;
}

void Desktop::EndPaint(HWND) {}

void Desktop::PaintNonClient(gfx::Canvas& screen, const Window& w, RECT clip) {
  namespace classic = gfx::classic;
  POINT o = WindowOrigin(w);
  int width = w.rect.Width(), height = w.rect.Height();
  RECT in = Insets(w);
  screen.SetOrigin(0, 0);
  screen.SetClip(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
  int border = in.left;
  if (border >= 2) {
    screen.FillRect(o.x, o.y, width, height, kFace);
    classic::DrawEdge(screen, gfx::Rect{o.x, o.y, width, height}, classic::Edge::Raised);
  } else if (border == 1) {
    screen.DrawRect(o.x, o.y, width, height, kBlack);
  }
  int y = o.y + border;
  int barWidth = width - 2 * border;
  if ((w.style & WS_CAPTION) == WS_CAPTION) {
    bool active = state_->active == w.hwnd || GetAncestor(w.hwnd, GA_ROOT) == state_->active;
    classic::CaptionButtons buttons;
    buttons.minimize = (w.style & WS_MINIMIZEBOX) != 0;
    buttons.maximize = (w.style & WS_MAXIMIZEBOX) != 0;
    buttons.close = (w.style & WS_SYSMENU) != 0;
    buttons.maximized = (w.style & WS_MAXIMIZE) != 0;
    classic::DrawCaptionBar(screen, gfx::Rect{o.x + border, y, barWidth, kCaptionHeight - 1},
                            w.text, active, buttons);
    screen.FillRect(o.x + border, y + kCaptionHeight - 1, barWidth, 1, kFace);
    y += kCaptionHeight;
  }
  if (!(w.style & WS_CHILD) && w.menu != 0) {
    std::vector<std::string> items;
    auto it = state_->menus.find(w.menu);
    if (it != state_->menus.end()) {
      for (const MenuItem& mi : it->second.items)
        if (!(mi.flags & MF_SEPARATOR)) items.push_back(mi.text);
    }
    classic::DrawMenuBar(screen, gfx::Rect{o.x + border, y, barWidth, kMenuBarHeight}, items,
                         classic::SystemFont());
  }
}

void Desktop::RenderWindow(gfx::Canvas& screen, HWND hwnd, RECT clip) {
  State& s = *state_;
  Window* w = Find(hwnd);
  if (!w || !(w->style & WS_VISIBLE) || (w->style & WS_MINIMIZE)) return;
  POINT o = WindowOrigin(*w);
  RECT wr = Intersect(RECT{o.x, o.y, o.x + w->rect.Width(), o.y + w->rect.Height()}, clip);
  if (Empty(wr)) return;
  PaintNonClient(screen, *w, wr);
  POINT co = ClientOrigin(*w);
  RECT c = ClientRectIn(*w);
  RECT cr = Intersect(RECT{co.x, co.y, co.x + c.Width(), co.y + c.Height()}, wr);
  screen.SetOrigin(0, 0);
  screen.ResetClip();
  if (Empty(cr)) return;
  // The window paints on a canvas of its own client area, which starts as what lies beneath.
  gfx::Canvas client(std::max(c.Width(), 1), std::max(c.Height(), 1), kFace);
  client.Blit(screen, co.x, co.y, c.Width(), c.Height(), 0, 0);
  gfx::Canvas* savedTarget = s.paintTarget;
  HWND savedWindow = s.paintWindow;
  s.paintTarget = &client;
  s.paintWindow = hwnd;
  SendMessage(hwnd, WM_PAINT, 0, 0);
  s.paintTarget = savedTarget;
  s.paintWindow = savedWindow;
  client.SetOrigin(0, 0);
  client.ResetClip();
  screen.Blit(client, cr.left - co.x, cr.top - co.y, cr.right - cr.left, cr.bottom - cr.top,
              cr.left, cr.top);
  if (!(w = Find(hwnd))) return;
  std::vector<HWND> kids = w->children;
  for (auto it = kids.rbegin(); it != kids.rend(); ++it) RenderWindow(screen, *it, cr);
}

gfx::Canvas Desktop::RenderScreen() {
  State& s = *state_;
  gfx::Canvas screen(s.options.width, s.options.height, kDesktopColor);
  RECT all{0, 0, s.options.width, s.options.height};
  std::vector<HWND> tops = Find(s.desktop)->children;
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) RenderWindow(screen, *it, all);
  screen.SetOrigin(0, 0);
  screen.ResetClip();
  return screen;
}

bool Desktop::SaveScreenshot(const std::string& hostPath) {
  return RenderScreen().SavePng(hostPath);
}

bool Desktop::SaveWindowShot(HWND hwnd, const std::string& hostPath) {
  State& s = *state_;
  Window* w = Find(hwnd);
  if (!w) return false;
  POINT o = WindowOrigin(*w);
  int width = std::max(w->rect.Width(), 1), height = std::max(w->rect.Height(), 1);
  // The window alone over the desktop colour; parts off the screen stay desktop-coloured.
  gfx::Canvas screen(s.options.width, s.options.height, kDesktopColor);
  RenderWindow(screen, hwnd, RECT{0, 0, s.options.width, s.options.height});
  gfx::Canvas shot(width, height, kDesktopColor);
  shot.Blit(screen, o.x, o.y, width, height, 0, 0);
  return shot.SavePng(hostPath);
}

COLORREF Desktop::GetScreenPixel(int x, int y) {
  State& s = *state_;
  if (x < 0 || y < 0 || x >= s.options.width || y >= s.options.height) return 0xFFFFFFFF;
  return RenderScreen().GetPixel(x, y);
}

std::string Desktop::DumpTree(HWND root) const {
  const State& s = *state_;
  if (root == 0) root = s.desktop;
  std::string out;
  std::function<void(HWND, int)> dump = [&](HWND h, int depth) {
    Window* w = Find(h);
    if (!w) return;
    POINT o = WindowOrigin(*w);
    bool visible = true;
    for (Window* a = w; a; a = Find(a->parent))
      if (!(a->style & WS_VISIBLE)) visible = false;
    char line[96];
    std::snprintf(line, sizeof line, "0x%08X ", static_cast<unsigned>(h));
    out += std::string(static_cast<size_t>(depth) * 2, ' ') + line;
    out += "\"" + w->className + "\" \"" + w->text + "\" ";
    out += (w->style & WS_VISIBLE) ? (visible ? "visible" : "visible(hidden parent)") : "hidden";
    std::snprintf(line, sizeof line, " (%d,%d)-(%d,%d) ", o.x, o.y, o.x + w->rect.Width(),
                  o.y + w->rect.Height());
    out += line;
    out += ProcessName(w->process);
    out += "\n";
    for (HWND c : w->children) dump(c, depth + 1);
  };
  dump(root, 0);
  return out;
}

}  // namespace platform::sim
