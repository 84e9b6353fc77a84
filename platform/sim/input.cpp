// The person at the screen (mouse and keyboard) and the interception components.
#include <algorithm>
#include <cstring>

#include "platform/sim/desktop.h"
#include "platform/sim/state.h"

namespace platform::sim {

namespace {

constexpr LRESULT kMaActivate = 1;
constexpr LRESULT kMaActivateAndEat = 2;
constexpr LRESULT kMaNoActivateAndEat = 4;

// The character a key gives on a US layout, or 0 when it gives none.
int KeyChar(int vk, int shift) {
  bool shifted = (shift & SHIFT_MASK) != 0;
  if (shift & ALT_MASK) return 0;
  if (vk >= 'A' && vk <= 'Z') {
    if (shift & CTRL_MASK) return vk - 'A' + 1;
    return shifted ? vk : vk + 32;
  }
  if (shift & CTRL_MASK) return 0;
  if (vk >= '0' && vk <= '9') return shifted ? ")!@#$%^&*("[vk - '0'] : vk;
  if (vk >= 0x60 && vk <= 0x69) return '0' + (vk - 0x60);
  switch (vk) {
    case VK_SPACE:
      return ' ';
    case VK_RETURN:
      return 13;
    case VK_TAB:
      return 9;
    case VK_BACK:
      return 8;
    case VK_ESCAPE:
      return 27;
    case 0x6A:
      return '*';
    case 0x6B:
      return '+';
    case 0x6D:
      return '-';
    case 0x6E:
      return '.';
    case 0x6F:
      return '/';
    case 0xBA:
      return shifted ? ':' : ';';
    case 0xBB:
      return shifted ? '+' : '=';
    case 0xBC:
      return shifted ? '<' : ',';
    case 0xBD:
      return shifted ? '_' : '-';
    case 0xBE:
      return shifted ? '>' : '.';
    case 0xBF:
      return shifted ? '?' : '/';
    case 0xC0:
      return shifted ? '~' : '`';
    case 0xDB:
      return shifted ? '{' : '[';
    case 0xDC:
      return shifted ? '|' : '\\';
    case 0xDD:
      return shifted ? '}' : ']';
    case 0xDE:
      return shifted ? '"' : '\'';
    default:
      return 0;
  }
}

// The key and shift state that type a character, or vk 0 when no key gives it.
std::pair<int, int> KeyFor(unsigned char c) {
  if (c == '\r' || c == '\n') return {VK_RETURN, 0};
  if (c == '\t') return {VK_TAB, 0};
  if (c == 8) return {VK_BACK, 0};
  if (c >= 'a' && c <= 'z') return {c - 32, 0};
  if (c >= 'A' && c <= 'Z') return {c, SHIFT_MASK};
  static const int candidates[] = {'0',  '1',  '2',      '3',  '4',  '5',  '6',  '7',
                                   '8',  '9',  VK_SPACE, 0xBA, 0xBB, 0xBC, 0xBD, 0xBE,
                                   0xBF, 0xC0, 0xDB,     0xDC, 0xDD, 0xDE};
  for (int vk : candidates) {
    if (KeyChar(vk, 0) == c) return {vk, 0};
    if (KeyChar(vk, SHIFT_MASK) == c) return {vk, SHIFT_MASK};
  }
  return {0, 0};
}

}  // namespace

// ---- Hit-testing ----

HWND Desktop::WindowFromPoint(POINT screenPoint) {
  State& s = *state_;
  std::function<HWND(const Window&)> deepest = [&](const Window& parent) -> HWND {
    POINT origin = ClientOrigin(parent);
    RECT client = ClientRectIn(parent);
    if (parent.hwnd != s.desktop &&
        (screenPoint.x < origin.x || screenPoint.y < origin.y ||
         screenPoint.x >= origin.x + client.Width() || screenPoint.y >= origin.y + client.Height()))
      return parent.hwnd;
    for (HWND h : parent.children) {
      Window* c = Find(h);
      if (!c || !(c->style & WS_VISIBLE) || (c->style & WS_MINIMIZE)) continue;
      POINT o = WindowOrigin(*c);
      if (screenPoint.x < o.x || screenPoint.y < o.y || screenPoint.x >= o.x + c->rect.Width() ||
          screenPoint.y >= o.y + c->rect.Height())
        continue;
      // A disabled child is where the point lands for its parent.
      if (c->style & WS_DISABLED) return (c->style & WS_CHILD) ? parent.hwnd : c->hwnd;
      return deepest(*c);
    }
    return parent.hwnd;
  };
  Window* d = Find(s.desktop);
  HWND hit = deepest(*d);
  return hit == s.desktop ? s.desktop : hit;
}

// ---- Mouse ----

void Desktop::PressMouse(HWND target, POINT screenPoint) {
  State& s = *state_;
  Window* w = Find(target);
  if (!w) return;
  HWND root = GetAncestor(target, GA_ROOT);
  const LRESULT hit =
      SendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(screenPoint.x, screenPoint.y));
  if (!Find(target)) return;
  // Parents hear of the click first, then the window says whether it activates.
  for (Window* c = w; c && (c->style & WS_CHILD) && !(c->exStyle & WS_EX_NOPARENTNOTIFY);
       c = Find(c->parent)) {
    HWND parent = c->parent;
    POINT p = screenPoint;
    ScreenToClient(parent, p);
    SendMessage(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, 0), MAKELPARAM(p.x, p.y));
    if (!Find(target)) return;
  }
  // A child is never the active window, so it is always asked; activating an already active
  // top-level changes nothing.
  LRESULT ma = kMaActivate;
  if (target != s.active) {
    ma = SendMessage(target, WM_MOUSEACTIVATE, root,
                     MAKELPARAM(static_cast<int>(hit), WM_LBUTTONDOWN));
    if ((ma == kMaActivate || ma == kMaActivateAndEat || ma == 0) && Find(root) && root != s.active)
      Activate(root);
  }
  if (!Find(target)) return;
  SendMessage(target, WM_SETCURSOR, target, MAKELPARAM(static_cast<int>(hit), WM_LBUTTONDOWN));
  if (ma == kMaActivateAndEat || ma == kMaNoActivateAndEat) return;
  DeliverMouse(target, WM_LBUTTONDOWN, MK_LBUTTON, screenPoint);
}

void Desktop::DeliverMouse(HWND target, UINT msg, WPARAM wParam, POINT screenPoint) {
  State& s = *state_;
  s.cursor = screenPoint;
  HWND to = Find(s.capture) ? s.capture : target;
  if (!Find(to)) return;
  POINT p = screenPoint;
  ScreenToClient(to, p);
  Posted m{to, msg, wParam, MAKELPARAM(p.x, p.y), true, 0};
  m.queue = Find(to)->process;
  s.input.push_back(m);
}

void Desktop::MouseDown(HWND hwnd, int clientX, int clientY) {
  Window* w = Find(hwnd);
  if (!w) return;
  POINT p{clientX, clientY};
  ClientToScreen(hwnd, p);
  State& s = *state_;
  if (!Find(s.capture) && (!IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd))) return;
  PressMouse(hwnd, p);
  RunPending();
}

void Desktop::MouseUp(HWND hwnd, int clientX, int clientY) {
  Window* w = Find(hwnd);
  if (!w) return;
  POINT p{clientX, clientY};
  ClientToScreen(hwnd, p);
  State& s = *state_;
  if (!Find(s.capture) && (!IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd))) return;
  DeliverMouse(hwnd, WM_LBUTTONUP, 0, p);
  RunPending();
}

void Desktop::Click(HWND hwnd, int clientX, int clientY) {
  RECT c;
  if (!GetClientRect(hwnd, c)) return;
  if (clientX < 0) clientX = c.Width() / 2;
  if (clientY < 0) clientY = c.Height() / 2;
  // A person moves the mouse to what they click; whoever holds the capture sees it go.
  POINT target{clientX, clientY};
  ClientToScreen(hwnd, target);
  if (!(state_->cursor == target)) MouseMoveTo(target);
  if (!Find(hwnd)) return;
  MouseDown(hwnd, clientX, clientY);
  if (Find(hwnd) || Find(state_->capture)) MouseUp(hwnd, clientX, clientY);
}

void Desktop::ClickAt(POINT screenPoint) {
  State& s = *state_;
  // The taskbar lies over the windows: a click on a button brings its window back and to the
  // front; elsewhere on the taskbar nothing happens.
  if (s.options.taskbar && screenPoint.y >= s.options.height - kTaskbarHeight &&
      screenPoint.y < s.options.height) {
    s.cursor = screenPoint;
    for (const auto& [hwnd, r] : TaskbarButtons()) {
      if (screenPoint.x < r.left || screenPoint.x >= r.right) continue;
      const Window* w = Find(hwnd);
      if (w != nullptr && (w->style & WS_MINIMIZE)) ShowWindow(hwnd, SW_RESTORE);
      SetForegroundWindow(hwnd);
      RunPending();
      break;
    }
    return;
  }
  if (!(s.cursor == screenPoint)) MouseMoveTo(screenPoint);
  HWND hit = WindowFromPoint(screenPoint);
  if (hit == s.desktop || !Find(hit)) {
    s.cursor = screenPoint;
    return;
  }
  if (!Find(s.capture) && IsWindowEnabled(hit))
    PressMouse(hit, screenPoint);
  else
    DeliverMouse(hit, WM_LBUTTONDOWN, MK_LBUTTON, screenPoint);
  RunPending();
  HWND up = Find(hit) ? hit : WindowFromPoint(screenPoint);
  DeliverMouse(up, WM_LBUTTONUP, 0, screenPoint);
  RunPending();
}

void Desktop::MouseMoveTo(POINT screenPoint) {
  State& s = *state_;
  HWND hit = WindowFromPoint(screenPoint);
  s.cursor = screenPoint;
  if (Find(s.capture) || (hit != s.desktop && Find(hit))) {
    DeliverMouse(hit, WM_MOUSEMOVE, 0, screenPoint);
    RunPending();
  }
}

// ---- Keyboard ----

void Desktop::PressKey(int virtualKey, int shift) {
  State& s = *state_;
  s.heldShift = shift;
  s.heldKey = virtualKey;
  int key = virtualKey;
  int noPass = 0;
  std::vector<HANDLE> hooks;
  for (auto& [h, hook] : s.keyHooks) hooks.push_back(h);
  for (HANDLE h : hooks) {
    auto it = s.keyHooks.find(h);
    if (it == s.keyHooks.end()) continue;
    if (it->second.process != 0 && !ProcessAlive(it->second.process)) continue;
    KeyHookProc proc = it->second.proc;
    ProcessScope scope(*this, it->second.process);
    proc(key, shift, noPass);
    if (noPass) break;
  }
  HWND to = s.focus;
  if (!noPass && Find(to)) {
    UINT down = (shift & ALT_MASK) ? WM_SYSKEYDOWN : WM_KEYDOWN;
    UINT up = (shift & ALT_MASK) ? WM_SYSKEYUP : WM_KEYUP;
    DWORD queue = Find(to)->process;
    Posted press{to, down, static_cast<WPARAM>(key), 1, true, 0};
    press.queue = queue;
    press.character = static_cast<WPARAM>(KeyChar(key, shift));
    s.input.push_back(press);
    Posted release{to, up, static_cast<WPARAM>(key), static_cast<LPARAM>(0xC0000001u), true, 0};
    release.queue = queue;
    s.input.push_back(release);
    RunPending();
  }
  s.heldShift = 0;
  s.heldKey = 0;
}

void Desktop::TypeText(const std::string& ansiText) {
  State& s = *state_;
  for (size_t i = 0; i < ansiText.size(); ++i) {
    auto c = static_cast<unsigned char>(ansiText[i]);
    if (c == '\n' && i > 0 && ansiText[i - 1] == '\r') continue;
    auto [vk, shift] = KeyFor(c);
    if (vk != 0) {
      PressKey(vk, shift);
    } else if (Find(s.focus)) {
      // Characters no key gives arrive as they do from an input method: a WM_CHAR alone.
      Posted m{s.focus, WM_CHAR, c, 1, true, 0};
      m.queue = Find(s.focus)->process;
      s.input.push_back(m);
      RunPending();
    }
  }
}

int16_t Desktop::GetKeyState(int virtualKey) {
  const State& s = *state_;
  bool down = false;
  if (virtualKey == VK_SHIFT)
    down = (s.heldShift & SHIFT_MASK) != 0;
  else if (virtualKey == VK_CONTROL)
    down = (s.heldShift & CTRL_MASK) != 0;
  else if (virtualKey == VK_MENU)
    down = (s.heldShift & ALT_MASK) != 0;
  else
    down = virtualKey != 0 && virtualKey == s.heldKey;
  return down ? static_cast<int16_t>(0x8000 - 0x10000) : 0;
}

// ---- Interception ----

HANDLE Desktop::WatchWindow(HWND hwnd, WatchProc proc) {
  State& s = *state_;
  if (!Need(hwnd)) return 0;
  if (!proc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  HANDLE h = s.NewHandle();
  s.watches[h] = Watch{hwnd, std::move(proc), s.current};
  return h;
}

bool Desktop::UnwatchWindow(HANDLE watch) {
  if (state_->watches.erase(watch) == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return true;
}

HANDLE Desktop::SetKeyboardHook(KeyHookProc proc) {
  State& s = *state_;
  if (!proc) {
    SetLastError(ERROR_INVALID_FILTER_PROC);
    return 0;
  }
  HANDLE h = s.NewHandle();
  s.keyHooks[h] = KeyHook{std::move(proc), s.current};
  return h;
}

HANDLE Desktop::SetMouseHook(HWND hwnd, MouseHookProc proc) {
  State& s = *state_;
  if (!Need(hwnd)) return 0;
  if (!proc) {
    SetLastError(ERROR_INVALID_FILTER_PROC);
    return 0;
  }
  HANDLE h = s.NewHandle();
  s.mouseHooks[h] = MouseHook{hwnd, std::move(proc), s.current};
  return h;
}

bool Desktop::Unhook(HANDLE hook) {
  State& s = *state_;
  if (s.keyHooks.erase(hook) == 0 && s.mouseHooks.erase(hook) == 0 && s.guards.erase(hook) == 0) {
    SetLastError(ERROR_INVALID_HOOK_HANDLE);
    return false;
  }
  return true;
}

std::string Desktop::GetEditLine(HWND edit, int lineFromOne) {
  if (!Need(edit) || lineFromOne < 1) return {};
  WPARAM line = static_cast<WPARAM>(lineFromOne - 1);
  LRESULT start = SendMessage(edit, EM_LINEINDEX, line, 0);
  size_t length = 0;
  if (start >= 0) {
    LRESULT n = SendMessage(edit, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
    if (n > 0) length = static_cast<size_t>(n);
  }
  // Lines are read whole up to a bound, so a control that claims a huge length cannot make
  // the reader allocate without limit.
  constexpr size_t kMaxLine = size_t{1} << 24;
  length = std::min(length, kMaxLine);
  if (length + 2 > 0xFFFF) {
    // Longer than EM_GETLINE's WORD-sized buffer can take: a rich edit gives the line's
    // characters as a range, an edit control its whole text to cut the line from.
    std::vector<char> range(length + 1, '\0');
    TEXTRANGEA request;
    request.chrg = {static_cast<int32_t>(start), static_cast<int32_t>(start + length)};
    request.lpstrText = range.data();
    LRESULT got = SendMessage(edit, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&request));
    if (got > 0) return std::string(range.data(), std::min(static_cast<size_t>(got), length));
    const size_t all = static_cast<size_t>(
        std::clamp<LRESULT>(SendMessage(edit, WM_GETTEXTLENGTH, 0, 0), 0, LRESULT{kMaxLine} * 4));
    std::vector<char> whole(all + 1, '\0');
    const LRESULT copied =
        SendMessage(edit, WM_GETTEXT, all + 1, reinterpret_cast<LPARAM>(whole.data()));
    const size_t held = std::min(static_cast<size_t>(std::max<LRESULT>(copied, 0)), all);
    const size_t from = static_cast<size_t>(start);
    return from < held ? std::string(whole.data() + from, std::min(length, held - from))
                       : std::string();
  }
  // The first WORD of the buffer gives its size in characters; the line may fill it unterminated.
  size_t size = std::clamp<size_t>(length + 2, 1024, 0xFFFF);
  std::vector<char> buf(size + 1, '\0');
  uint16_t word = static_cast<uint16_t>(size);
  std::memcpy(buf.data(), &word, sizeof word);
  LRESULT copied = SendMessage(edit, EM_GETLINE, line, reinterpret_cast<LPARAM>(buf.data()));
  if (copied <= 0) return {};
  size_t n = std::min(static_cast<size_t>(copied), size);
  std::string text(buf.data(), n);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
  return text;
}

}  // namespace platform::sim
