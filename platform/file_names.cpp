#include "platform/file_names.h"

#include "platform/ansi.h"

namespace platform {

bool UnsafeInFileName(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' ||
         c == '"' || c == '<' || c == '>' || c == '|';
}

bool IsDeviceName(const std::string& name) {
  std::string base = AnsiUpper(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

bool IsUsableFileName(const std::string& name) {
  if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
  for (char c : name) {
    if (UnsafeInFileName(static_cast<unsigned char>(c))) return false;
  }
  return !IsDeviceName(name);
}

}  // namespace platform
