#include "clientsim/control.h"

#include <cstring>

namespace clientsim {

using namespace platform;

void Registry::Add(std::shared_ptr<Control> control) {
  Control* key = control.get();
  live_[key] = std::move(control);
}

void Registry::Remove(Control* control) {
  live_.erase(control);
}

void Registry::Clear() {
  // Moved out first: destroying a control must not touch the map it is destroyed from.
  auto doomed = std::move(live_);
  live_.clear();
}

HWND Control::Create(const std::shared_ptr<Registry>& registry,
                     const std::shared_ptr<Control>& control, DWORD exStyle,
                     const std::string& className, const std::string& title, DWORD style, int x,
                     int y, int width, int height, HWND parent) {
  control->registry_ = registry;
  registry->Add(control);
  std::weak_ptr<Control> weak = control;
  std::weak_ptr<Registry> weakRegistry = registry;
  WNDPROC proc = [weak, weakRegistry](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    auto self = weak.lock();
    if (!self) return DefWindowProc(h, msg, w, l);
    if (self->hwnd_ == 0) self->hwnd_ = h;
    const LRESULT result = self->Handle(msg, w, l);
    if (msg == WM_NCDESTROY) {
      if (auto reg = weakRegistry.lock()) reg->Remove(self.get());
      self->hwnd_ = 0;
    }
    return result;
  };
  const HWND hwnd =
      CreateWindowEx(exStyle, className, title, style, x, y, width, height, parent, 0, proc);
  if (hwnd == 0) {
    registry->Remove(control.get());
    return 0;
  }
  control->hwnd_ = hwnd;
  return hwnd;
}

LRESULT Control::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    gfx::Canvas* canvas = BeginPaint(hwnd_);
    if (canvas != nullptr) {
      RECT r;
      GetClientRect(hwnd_, r);
      Paint(*canvas, r.Width(), r.Height());
    }
    EndPaint(hwnd_);
    return 0;
  }
  return Default(msg, wParam, lParam);
}

void Control::Paint(gfx::Canvas& canvas, int width, int height) {
  canvas.FillRect(0, 0, width, height, face_);
}

void Control::After(UINT ms, std::function<void()> action) {
  auto registry = registry_.lock();
  if (!registry || hwnd_ == 0) return;
  const UINT id = registry->NextTimerId();
  std::weak_ptr<Control> weak = weak_from_this();
  SetTimer(hwnd_, id, ms, [weak, action = std::move(action)](HWND h, UINT timerId) {
    KillTimer(h, timerId);
    if (auto self = weak.lock()) action();
  });
}

void DrawRaised(gfx::Canvas& c, int x, int y, int w, int h) {
  if (w < 2 || h < 2) return;
  c.FillRect(x, y, w, 1, kHighlight);
  c.FillRect(x, y, 1, h, kHighlight);
  c.FillRect(x, y + h - 1, w, 1, kDarkShadow);
  c.FillRect(x + w - 1, y, 1, h, kDarkShadow);
  c.FillRect(x + 1, y + h - 2, w - 2, 1, kShadow);
  c.FillRect(x + w - 2, y + 1, 1, h - 2, kShadow);
}

void DrawSunken(gfx::Canvas& c, int x, int y, int w, int h) {
  if (w < 2 || h < 2) return;
  c.FillRect(x, y, w, 1, kShadow);
  c.FillRect(x, y, 1, h, kShadow);
  c.FillRect(x, y + h - 1, w, 1, kHighlight);
  c.FillRect(x + w - 1, y, 1, h, kHighlight);
  c.FillRect(x + 1, y + 1, w - 2, 1, kDarkShadow);
  c.FillRect(x + 1, y + 1, 1, h - 2, kDarkShadow);
}

void DrawCentred(gfx::Canvas& c, int x, int y, int w, int h, const std::string& text,
                 gfx::Color color, const gfx::Font& font) {
  const int tw = gfx::Canvas::TextWidth(text, font);
  const int th = gfx::Canvas::TextHeight(font);
  c.DrawText(x + (w - tw) / 2, y + (h - th) / 2, text, font, color);
}

std::string TextFromLParam(LPARAM lParam) {
  if (lParam == 0) return {};
  return std::string(reinterpret_cast<const char*>(lParam));
}

LRESULT CopyToBuffer(const std::string& text, WPARAM size, LPARAM buffer) {
  if (size == 0 || buffer == 0) return 0;
  const size_t n = std::min<size_t>(text.size(), size - 1);
  char* out = reinterpret_cast<char*>(buffer);
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

}  // namespace clientsim
