// What Windows accepts as the name of a file in a folder: the characters it refuses, and the
// names it keeps for devices.
#pragma once

#include <string>

namespace platform {

// Control characters and \ / : * ? " < > |.
bool UnsafeInFileName(unsigned char c);
// CON, PRN, AUX, NUL, COM1-9 and LPT1-9, alone or before an extension ("aux.txt"), name
// devices, without regard to case and to spaces before the extension.
bool IsDeviceName(const std::string& name);
// A name that makes exactly one file of that name in the folder it is put in: not empty, no
// unsafe character, no device name, and no dot or space at its end (which Windows drops).
bool IsUsableFileName(const std::string& name);

}  // namespace platform
