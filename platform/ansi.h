// The program's strings are ANSI (Windows-1252) bytes, as on Windows. These convert them for
// the host: file names, terminal output, glyph lookup.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The Unicode code point of one Windows-1252 byte (undefined bytes map to themselves).
char32_t AnsiToCodepoint(unsigned char c);
std::string AnsiToUtf8(const std::string& ansi);
// Characters outside Windows-1252 become '?'.
std::string Utf8ToAnsi(const std::string& utf8);

}  // namespace platform
