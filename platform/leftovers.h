// Undoing what the program put into the client's windows: the adopted windows go back to the
// client's MDI client, the program's pop-up leaves the client's menu bar, and the window the
// program took over is closed. Written against the seam alone, so that whatever runs in the
// client's process when the program has died (the simulated desktop, the Win32 hook library)
// does the same.
#pragma once

#include <string>
#include <vector>

#include "platform/system.h"

namespace platform {

// Where a window given back to the client's MDI client appears: at 220, 125, 390 x 300, in
// front and active, as the client's own IMs open.
void HandBackWindow(System& system, HWND window, HWND mdiClient);

// Deletes every top-level item of the window's menu bar whose caption is one of `captions`, and
// redraws the bar.
void RemoveMenuBarItems(System& system, HWND owner, const std::vector<std::string>& captions);

// Run in the client's process once the program has ended without giving its windows back: each
// window of the calling process inside `area` goes back to `home`, shown, the bottom one first
// so that the one shown last stays in front; then the program's pop-up leaves the menu bar and
// the container is closed. Nothing goes back when `home` has gone. The number given back.
int UndoLeftovers(System& system, const Leftovers& leftovers);

}  // namespace platform
