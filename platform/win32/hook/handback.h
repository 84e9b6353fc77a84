// The hook library's way back into the seam: undoes a leftovers' description in the calling
// process (the client's) with the Win32 backend, as the simulated desktop does.
#pragma once

#include <string>

namespace platform::win32::hook {

// The number of windows given back; 0 when the description is damaged.
int UndoDescribedLeftovers(const std::string& description);

}  // namespace platform::win32::hook
