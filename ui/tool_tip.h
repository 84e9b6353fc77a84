// The program's tool tips: a small yellow window that shows the tip of the control under the
// mouse once the mouse has rested on it for a moment, and goes when the mouse moves on or a
// button is pressed.
#pragma once

#include <string>

#include "platform/types.h"

namespace ui {

class Control;

namespace tooltip {

constexpr unsigned kDelayMs = 500;

// Called by every control for the mouse messages it receives.
void MouseMoved(Control& control);
void MousePressed();
// A control that goes away takes its tip with it.
void Forget(const Control& control);

// The tip window (0 before the first tip) and whether it shows, for tests and the demo.
platform::HWND Window();
bool Showing();
std::string ShownText();

}  // namespace tooltip
}  // namespace ui
