// The leftovers' description as bytes, as the program hands it to the hook library in the
// client's process.
#pragma once

#include <optional>
#include <string>

#include "platform/system.h"

namespace platform::win32 {

std::string EncodeLeftovers(const Leftovers& leftovers);
// nullopt when the bytes are not a whole description.
std::optional<Leftovers> DecodeLeftovers(const std::string& bytes);

}  // namespace platform::win32
