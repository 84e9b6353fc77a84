#include "platform/win32/hook/handback.h"

#include "platform/leftovers.h"
#include "platform/win32/backend.h"
#include "platform/win32/leftovers_wire.h"

namespace platform::win32::hook {

int UndoDescribedLeftovers(const std::string& description) {
  const std::optional<Leftovers> leftovers = DecodeLeftovers(description);
  if (!leftovers) return 0;
  Win32System system;
  return UndoLeftovers(system, *leftovers);
}

}  // namespace platform::win32::hook
