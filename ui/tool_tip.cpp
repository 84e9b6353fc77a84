#include "ui/tool_tip.h"

#include "gfx/canvas.h"
#include "gfx/classic.h"
#include "platform/win32.h"
#include "ui/control.h"

namespace ui::tooltip {

using namespace platform;

namespace {

constexpr UINT kTimerId = 1;
constexpr const char* kClassName = "tooltips_class32";

struct State {
  // The tip window belongs to one process of one installed platform; another one makes its
  // own (a handle of another platform may name an unrelated window).
  const System* system = nullptr;
  DWORD process = 0;
  HWND window = 0;
  const Control* over = nullptr;
  std::string text;
};

State& Tip() {
  static State state;
  const System* system = &Current();
  const DWORD process = GetCurrentProcessId();
  if (state.system != system || state.process != process) {
    state = State{};
    state.system = system;
    state.process = process;
  }
  return state;
}

// A platform made at the address of an earlier one may hand out the same handle numbers, so
// the tip window is known by its class as well as its handle.
bool Valid(HWND window) {
  return window != 0 && IsWindow(window) && GetClassName(window) == kClassName;
}

gfx::Font TipFont() {
  gfx::Font font;
  font.face = "Tahoma";
  font.sizePoints = 8.25;
  return font;
}

void Show() {
  State& s = Tip();
  POINT cursor;
  if (!Valid(s.window) || s.text.empty() || !GetCursorPos(cursor)) return;
  const int width = gfx::Canvas::TextWidth(s.text, TipFont()) + 8;
  const int height = gfx::Canvas::TextHeight(TipFont()) + 4;
  SetWindowText(s.window, s.text);
  SetWindowPos(s.window, HWND_TOPMOST, cursor.x, cursor.y + 20, width, height,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Hide() {
  State& s = Tip();
  if (Valid(s.window)) {
    KillTimer(s.window, kTimerId);
    ShowWindow(s.window, SW_HIDE);
  }
}

LRESULT TipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      KillTimer(hwnd, kTimerId);
      Show();
      return 0;
    case WM_PAINT: {
      if (gfx::Canvas* canvas = BeginPaint(hwnd)) {
        canvas->Fill(gfx::classic::SysColor(gfx::classic::kInfoBk));
        canvas->DrawRect(0, 0, canvas->Width(), canvas->Height(), 0);
        canvas->DrawText(4, 2, GetWindowText(hwnd), TipFont(),
                         gfx::classic::SysColor(gfx::classic::kInfoText));
      }
      EndPaint(hwnd);
      return 0;
    }
    case WM_NCDESTROY:
      if (Tip().window == hwnd) Tip().window = 0;
      return DefWindowProc(hwnd, msg, wParam, lParam);
    default:
      return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

HWND TipWindow() {
  State& s = Tip();
  if (Valid(s.window)) return s.window;
  WindowClass cls;  // registering again is refused harmlessly
  cls.name = kClassName;
  cls.proc = TipProc;
  RegisterClass(cls);
  s.over = nullptr;
  s.text.clear();
  s.window = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, 1, 1,
                            0, 0, nullptr);
  return s.window;
}

}  // namespace

void MouseMoved(Control& control) {
  State& s = Tip();
  POINT cursor;
  const std::string text = GetCursorPos(cursor) ? Control::ToolTipAt(cursor) : "";
  if (&control == s.over && text == s.text) return;
  Hide();
  s.over = &control;
  s.text = text;
  if (text.empty()) return;
  if (HWND window = TipWindow(); window != 0) {
    Tip().over = &control;
    Tip().text = text;
    SetTimer(window, kTimerId, kDelayMs, nullptr);
  }
}

void MousePressed() {
  Hide();
  Tip().over = nullptr;
}

void Forget(const Control& control) {
  if (Tip().over != &control) return;
  Hide();
  Tip().over = nullptr;
  Tip().text.clear();
}

HWND Window() {
  return Tip().window;
}

bool Showing() {
  return Tip().window != 0 && IsWindowVisible(Tip().window);
}

std::string ShownText() {
  return Showing() ? GetWindowText(Tip().window) : std::string();
}

}  // namespace ui::tooltip
