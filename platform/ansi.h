// The program's strings are ANSI (Windows-1252) bytes, as on Windows. These convert them for
// the host: file names, terminal output, glyph lookup.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The Unicode code point of one Windows-1252 byte (undefined bytes map to themselves).
char32_t AnsiToCodepoint(unsigned char c);
std::string AnsiToUtf8(const std::string& ansi);
// Characters outside Windows-1252 become '?'.
std::string Utf8ToAnsi(const std::string& utf8);

// The platform's case mapping of Windows-1252 letters (A-Z, the accented capitals, \x8A/\x9A,
// \x8C/\x9C, \x8E/\x9E, \x9F/\xFF). Names the platform matches without regard to case
// (profile sections and keys, file names, window classes, screen names) are compared under it.
char AnsiLower(char c);
std::string AnsiLower(std::string text);
std::string AnsiUpper(std::string text);
bool EqualNoCase(std::string_view a, std::string_view b);

}  // namespace platform
