// Saving the colours of a fade as a preset, as the person does it from the fade bar and from the
// settings window's Fade page: the save dialog in the Fades folder, then the file written.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/types.h"

namespace styling {

// Asks for a name with the save dialog and writes the preset. A name that cannot name a file
// of the Fades folder, or a file that cannot be written, is told to the person in a message box
// over `owner`. The preset's name (its file name without ".Fad") when it was saved; nothing
// when the person cancelled or it was not saved.
std::optional<std::string> SavePresetAs(platform::HWND owner, int count,
                                        const std::array<platform::COLORREF, 4>& colours);

}  // namespace styling
