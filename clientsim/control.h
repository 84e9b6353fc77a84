// A window of the client backed by a C++ object. The object lives while its window does: the
// registry holds it and drops it at WM_NCDESTROY; window procedures hold only weak references,
// so a window that outlives the client falls back to DefWindowProc.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "gfx/canvas.h"
#include "platform/win32.h"

namespace clientsim {

class Control;

class Registry {
 public:
  void Add(std::shared_ptr<Control> control);
  void Remove(Control* control);
  void Clear();
  platform::UINT NextTimerId() { return nextTimerId_++; }

 private:
  std::map<Control*, std::shared_ptr<Control>> live_;
  platform::UINT nextTimerId_ = 100;
};

class Control : public std::enable_shared_from_this<Control> {
 public:
  virtual ~Control() = default;
  platform::HWND hwnd() const { return hwnd_; }
  void SetFace(gfx::Color face) { face_ = face; }

  // Creates the control's window; the registry keeps `control` alive until WM_NCDESTROY.
  static platform::HWND Create(const std::shared_ptr<Registry>& registry,
                               const std::shared_ptr<Control>& control, platform::DWORD exStyle,
                               const std::string& className, const std::string& title,
                               platform::DWORD style, int x, int y, int width, int height,
                               platform::HWND parent);

 protected:
  virtual platform::LRESULT Handle(platform::UINT msg, platform::WPARAM wParam,
                                   platform::LPARAM lParam);
  // Painting of the client area; the default fills it with the face colour.
  virtual void Paint(gfx::Canvas& canvas, int width, int height);
  // Runs `action` once after `ms` of (virtual) time, while the window lives.
  void After(platform::UINT ms, std::function<void()> action);
  platform::LRESULT Default(platform::UINT msg, platform::WPARAM wParam, platform::LPARAM lParam) {
    return platform::DefWindowProc(hwnd_, msg, wParam, lParam);
  }

  platform::HWND hwnd_ = 0;
  std::weak_ptr<Registry> registry_;
  gfx::Color face_ = 0xC0C0C0;  // the client's face colour, which its look chooses
};

// ---- Drawing in the classic look ----
constexpr gfx::Color kFace = 0xC0C0C0;
constexpr gfx::Color kShadow = 0x808080;
constexpr gfx::Color kDarkShadow = 0x000000;
constexpr gfx::Color kHighlight = 0xFFFFFF;
constexpr gfx::Color kWhite = 0xFFFFFF;
constexpr gfx::Color kBlack = 0x000000;

void DrawRaised(gfx::Canvas& canvas, int x, int y, int width, int height);
void DrawSunken(gfx::Canvas& canvas, int x, int y, int width, int height);
// Text centred in a rectangle.
void DrawCentred(gfx::Canvas& canvas, int x, int y, int width, int height, const std::string& text,
                 gfx::Color color, const gfx::Font& font = {});

// The text of a WM_SETTEXT / WM_GETTEXT exchange.
std::string TextFromLParam(platform::LPARAM lParam);
// Copies text into a WM_GETTEXT buffer of `size` bytes; returns the characters copied.
platform::LRESULT CopyToBuffer(const std::string& text, platform::WPARAM size,
                               platform::LPARAM buffer);

}  // namespace clientsim
