// The system's own control classes on the simulated desktop: "Edit", "Button", "ListBox",
// "Static" and "MDIClient", behaving as the system's do. A window of one of these classes
// carries a SystemControl; the desktop's DefWindowProc hands the window's messages to it, so a
// procedure that subclasses the control still gets its behaviour by calling DefWindowProc, as
// CallWindowProc with the original procedure does on Windows.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform::sim {

class Desktop;

class SystemControl {
 public:
  SystemControl(Desktop& desktop, DWORD style) : desktop_(desktop), style_(style) {}
  virtual ~SystemControl() = default;
  virtual LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  // The default processing of a child of this control that it takes over (an MDI client does
  // it for its children); nothing when the child's own default applies.
  virtual std::optional<LRESULT> ChildDefault(HWND self, HWND child, UINT msg) {
    (void)self, (void)child, (void)msg;
    return std::nullopt;
  }

 protected:
  // The desktop's processing for any window.
  LRESULT Default(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // WM_COMMAND(MAKEWPARAM(id, code), hwnd) to the control's parent.
  void Notify(HWND hwnd, UINT code);
  Desktop& desktop_;
  DWORD style_;  // the window's style at creation
};

// The system classes' names as the system spells them.
const std::vector<std::string>& SystemControlClasses();
// The behaviour of a new window of the named system class (any case), made with this style and
// title; null for other classes.
std::shared_ptr<SystemControl> MakeSystemControl(Desktop& desktop, const std::string& className,
                                                 DWORD style, const std::string& title);

}  // namespace platform::sim
