#include "platform/win32/leftovers_wire.h"

#include <cstring>

namespace platform::win32 {

namespace {

void Put(std::string& out, uint32_t value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

bool Take(const std::string& in, size_t& at, uint32_t& value) {
  if (in.size() - at < sizeof value) return false;
  std::memcpy(&value, in.data() + at, sizeof value);
  at += sizeof value;
  return true;
}

}  // namespace

// Four windows, the number of captions, then each caption as its length and its bytes.
std::string EncodeLeftovers(const Leftovers& leftovers) {
  std::string out;
  for (HWND hwnd : {leftovers.area, leftovers.home, leftovers.container, leftovers.menuBarOwner})
    Put(out, hwnd);
  Put(out, static_cast<uint32_t>(leftovers.menuCaptions.size()));
  for (const std::string& caption : leftovers.menuCaptions) {
    Put(out, static_cast<uint32_t>(caption.size()));
    out += caption;
  }
  return out;
}

std::optional<Leftovers> DecodeLeftovers(const std::string& bytes) {
  Leftovers leftovers;
  size_t at = 0;
  uint32_t count = 0;
  if (!Take(bytes, at, leftovers.area) || !Take(bytes, at, leftovers.home) ||
      !Take(bytes, at, leftovers.container) || !Take(bytes, at, leftovers.menuBarOwner) ||
      !Take(bytes, at, count)) {
    return std::nullopt;
  }
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t length = 0;
    if (!Take(bytes, at, length) || bytes.size() - at < length) return std::nullopt;
    leftovers.menuCaptions.push_back(bytes.substr(at, length));
    at += length;
  }
  if (at != bytes.size()) return std::nullopt;
  return leftovers;
}

}  // namespace platform::win32
