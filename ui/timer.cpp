#include "ui/timer.h"

#include "platform/win32.h"

namespace ui {

using namespace platform;

namespace {
constexpr UINT kTimerId = 1;

WindowParams TimerParams(const Parent& parent) {
  WindowParams p;
  p.className = "ThunderRT5Timer";
  p.style = parent.hwnd != 0 ? WS_CHILD : WS_POPUP;
  return p;
}
}  // namespace

Timer::Timer(Parent parent, std::string name, unsigned interval, bool enabled, int index)
    : Control(parent, std::move(name), index, TimerParams(parent)),
      interval_(interval),
      enabled_(enabled) {
  Restart();
}

Timer::~Timer() {
  if (running_ && hwnd() != 0 && !ProcessEnded()) KillTimer(hwnd(), kTimerId);
}

void Timer::SetInterval(unsigned milliseconds) {
  interval_ = milliseconds;
  Restart();
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void Timer::Restart() {
  if (hwnd() == 0) return;
  if (running_) KillTimer(hwnd(), kTimerId);
  running_ = enabled_ && interval_ > 0;
  if (running_) SetTimer(hwnd(), kTimerId, interval_, nullptr);
}

LRESULT Timer::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER && wParam == kTimerId) {
    if (running_) Raise(OnTick);
    return 0;
  }
  return Control::WindowProc(msg, wParam, lParam);
}

}  // namespace ui
