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

std::vector<gfx::classic::MenuEntry> Entries(const Menu& menu) {
  std::vector<gfx::classic::MenuEntry> out;
  for (const MenuItem& mi : menu.items) {
    gfx::classic::MenuEntry e;
    e.text = mi.text;
    e.separator = (mi.flags & MF_SEPARATOR) != 0;
    e.checked = (mi.flags & MF_CHECKED) != 0;
    e.grayed = (mi.flags & (MF_GRAYED | MF_DISABLED)) != 0;
    e.submenu = (mi.flags & MF_POPUP) != 0;
    out.push_back(e);
  }
  return out;
}

// The texts a menu bar shows and, for each, its item's position in the menu.
std::vector<std::string> BarTexts(const Menu& menu, std::vector<int>* positions = nullptr) {
  std::vector<std::string> texts;
  for (size_t i = 0; i < menu.items.size(); ++i) {
    if (menu.items[i].flags & MF_SEPARATOR) continue;
    texts.push_back(menu.items[i].text);
    if (positions) positions->push_back(static_cast<int>(i));
  }
  return texts;
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
    std::vector<int> positions;
    auto it = state_->menus.find(w.menu);
    if (it != state_->menus.end()) items = BarTexts(it->second, &positions);
    // The item whose drop-down is open shows pressed in.
    int selected = -1;
    if (state_->menuBarWindow == w.hwnd) {
      auto at = std::find(positions.begin(), positions.end(), state_->menuBarItem);
      if (at != positions.end()) selected = static_cast<int>(at - positions.begin());
    }
    classic::DrawMenuBar(screen, gfx::Rect{o.x + border, y, barWidth, kMenuBarHeight}, items,
                         classic::SystemFont(), selected);
  }
}

RECT Desktop::MenuBarItemRect(const Window& w, int position) const {
  auto it = state_->menus.find(w.menu);
  if ((w.style & WS_CHILD) || it == state_->menus.end()) return {};
  std::vector<int> positions;
  const std::vector<std::string> texts = BarTexts(it->second, &positions);
  auto at = std::find(positions.begin(), positions.end(), position);
  if (at == positions.end()) return {};
  const POINT o = WindowOrigin(w);
  const RECT in = Insets(w);
  const int border = in.left;
  int y = o.y + border;
  if ((w.style & WS_CAPTION) == WS_CAPTION) y += kCaptionHeight;
  const std::vector<gfx::Rect> rects = gfx::classic::LayoutMenuBar(
      gfx::Rect{o.x + border, y, w.rect.Width() - 2 * border, kMenuBarHeight}, texts,
      gfx::classic::SystemFont());
  const gfx::Rect& r = rects[static_cast<size_t>(at - positions.begin())];
  return RECT{r.x, r.y, r.Right(), r.Bottom()};
}

void Desktop::OpenMenuAt(HMENU menu, POINT at) {
  State& s = *state_;
  auto it = s.menus.find(menu);
  if (it == s.menus.end()) return;
  const std::vector<gfx::classic::MenuEntry> entries = Entries(it->second);
  const int width = gfx::classic::PopupMenuWidth(entries, gfx::classic::SystemFont());
  const int height = gfx::classic::PopupMenuHeight(entries);
  // A menu that would run off the screen opens to the left of, or above, the point.
  if (at.x + width > s.options.width) at.x = std::max(0, at.x - width);
  if (at.y + height > s.options.height) at.y = std::max(0, s.options.height - height);
  s.openMenus.push_back({menu, at, -1});
}

POINT Desktop::SubmenuCorner(HMENU parent, POINT parentAt, int position) const {
  auto it = state_->menus.find(parent);
  if (it == state_->menus.end()) return parentAt;
  const std::vector<gfx::classic::MenuEntry> entries = Entries(it->second);
  int top = gfx::classic::kMenuBorder;
  for (int i = 0; i < position && i < static_cast<int>(entries.size()); ++i) {
    top += entries[static_cast<size_t>(i)].separator ? gfx::classic::kMenuSeparatorHeight
                                                     : gfx::classic::kMenuItemHeight;
  }
  const int width = gfx::classic::PopupMenuWidth(entries, gfx::classic::SystemFont());
  return POINT{parentAt.x + width - gfx::classic::kMenuBorder,
               parentAt.y + top - gfx::classic::kMenuBorder};
}

void Desktop::PaintOpenMenus(gfx::Canvas& screen) {
  for (const State::OpenMenu& open : state_->openMenus) {
    auto it = state_->menus.find(open.menu);
    if (it == state_->menus.end()) continue;
    gfx::classic::DrawPopupMenu(screen, open.at.x, open.at.y, Entries(it->second),
                                gfx::classic::SystemFont(), open.highlighted);
  }
}

std::vector<std::pair<HWND, RECT>> Desktop::TaskbarButtons() const {
  const State& s = *state_;
  std::vector<std::pair<HWND, RECT>> out;
  if (!s.options.taskbar) return out;
  // A button for each shown top-level window with a caption that no other window owns, in the
  // order they were made.
  std::vector<HWND> shown;
  for (const auto& [hwnd, w] : s.windows) {
    if (w->parent != s.desktop || w->owner != 0 || !(w->style & WS_VISIBLE) ||
        (w->style & WS_CAPTION) != WS_CAPTION || (w->exStyle & WS_EX_TOOLWINDOW)) {
      continue;
    }
    shown.push_back(hwnd);
  }
  constexpr int kStart = 60, kClock = 64, kMaxButton = 160;
  const int top = s.options.height - kTaskbarHeight + 4;
  const int room = s.options.width - kStart - kClock - 8;
  const int n = static_cast<int>(shown.size());
  const int each = n == 0 ? 0 : std::min(kMaxButton, room / n);
  for (int i = 0; i < n; ++i) {
    const int x = kStart + i * each;
    out.push_back({shown[static_cast<size_t>(i)], RECT{x, top, x + each - 3, top + 22}});
  }
  return out;
}

void Desktop::PaintTaskbar(gfx::Canvas& screen) {
  namespace classic = gfx::classic;
  const State& s = *state_;
  if (!s.options.taskbar) return;
  const int top = s.options.height - kTaskbarHeight;
  screen.FillRect(0, top, s.options.width, kTaskbarHeight, kFace);
  screen.FillRect(0, top + 1, s.options.width, 1, 0xFFFFFF);
  gfx::Font bold = classic::SystemFont();
  bold.bold = true;
  classic::DrawButton(screen, gfx::Rect{2, top + 4, 54, 22}, "Start", bold);
  for (const auto& [hwnd, r] : TaskbarButtons()) {
    const Window* w = Find(hwnd);
    if (w == nullptr) continue;
    const gfx::Rect b{r.left, r.top, r.right - r.left, r.bottom - r.top};
    const bool active = s.active == hwnd;
    classic::DrawEdge(screen, b, active ? classic::Edge::Sunken : classic::Edge::Button, true);
    gfx::Font font = classic::SystemFont();
    font.bold = active;
    screen.SetClip(b.x + 3, b.y, b.width - 6, b.height);
    screen.DrawText(b.x + 5 + (active ? 1 : 0),
                    b.y + (b.height - gfx::Canvas::TextHeight(font)) / 2 + (active ? 1 : 0),
                    w->text, font, kBlack);
    screen.ResetClip();
  }
  // The clock: the desktop's own time.
  const DateTime now = Now();
  char clock[16];
  std::snprintf(clock, sizeof clock, "%d:%02d %s", (now.hour + 11) % 12 + 1, now.minute,
                now.hour < 12 ? "AM" : "PM");
  const gfx::Rect box{s.options.width - 66, top + 4, 62, 22};
  classic::DrawEdge(screen, box, classic::Edge::SunkenThin, true);
  screen.DrawText(box.x + (box.width - gfx::Canvas::TextWidth(clock, classic::SystemFont())) / 2,
                  box.y + (box.height - gfx::Canvas::TextHeight(classic::SystemFont())) / 2, clock,
                  classic::SystemFont(), kBlack);
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
  PaintTaskbar(screen);
  PaintOpenMenus(screen);
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
