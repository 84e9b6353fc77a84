#include "styling/fade_presets.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>

#include "host/text.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "platform/win32.h"

namespace styling {
namespace {

constexpr const char* kSection = "Fader";
constexpr size_t kProfileBuffer = 750;
constexpr platform::COLORREF kMaxColour = 0xFFFFFF;

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  for (size_t i = 0; i < suffix.size(); ++i) {
    unsigned char a = static_cast<unsigned char>(text[text.size() - suffix.size() + i]);
    unsigned char b = static_cast<unsigned char>(suffix[i]);
    if (std::tolower(a) != std::tolower(b)) return false;
  }
  return true;
}

// The whole-number value of a profile text: blanks around an optional sign, digits and an
// optional fraction, rounded with ties to even. None for anything else or a value out of the
// 32-bit range.
std::optional<int64_t> WholeNumber(const std::string& text) {
  size_t pos = 0, end = text.size();
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (pos < end && blank(text[pos])) ++pos;
  while (end > pos && blank(text[end - 1])) --end;
  if (pos == end) return std::nullopt;
  bool negative = false;
  if (text[pos] == '+' || text[pos] == '-') {
    negative = text[pos] == '-';
    ++pos;
  }
  double value = 0.0;
  size_t digits = 0;
  while (pos < end && text[pos] >= '0' && text[pos] <= '9') {
    value = value * 10.0 + (text[pos++] - '0');
    ++digits;
  }
  if (pos < end && text[pos] == '.') {
    ++pos;
    double scale = 0.1;
    while (pos < end && text[pos] >= '0' && text[pos] <= '9') {
      value += (text[pos++] - '0') * scale;
      scale /= 10.0;
      ++digits;
    }
  }
  if (pos != end || digits == 0) return std::nullopt;
  if (negative) value = -value;
  // Checked before rounding, so no out-of-range conversion happens.
  if (value < std::numeric_limits<int32_t>::min() - 0.5 ||
      value > std::numeric_limits<int32_t>::max() + 0.5) {
    return std::nullopt;
  }
  int64_t whole = host::RoundHalfEven(value);
  if (whole < std::numeric_limits<int32_t>::min() || whole > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return whole;
}

std::string ReadKey(const std::string& path, const std::string& key) {
  return platform::GetPrivateProfileString(kSection, key.c_str(), "", kProfileBuffer, path);
}

}  // namespace

std::optional<std::string> PresetFileFor(const std::string& fadesFolder, const std::string& name) {
  size_t cut = name.find_last_of("\\/:");
  std::string base = cut == std::string::npos ? name : name.substr(cut + 1);
  if (base.empty() || base == "Untitled") return std::nullopt;
  if (base.find_first_not_of('.') == std::string::npos) return std::nullopt;
  if (!EndsWithNoCase(base, ".Fad")) base += ".Fad";
  if (!platform::IsUsableFileName(base)) return std::nullopt;
  std::string path = fadesFolder;
  if (path.empty() || path.back() != '\\') path += '\\';
  return path + base;
}

bool SavePreset(const std::string& path, int count,
                const std::array<platform::COLORREF, 4>& colours) {
  std::string text = "[Fader]\r\nColors=" + std::to_string(count) + "\r\n";
  if (count >= 2 && count <= 4) {
    for (int k = 1; k <= count; ++k) {
      text += "Color" + std::to_string(k) + "=" + std::to_string(colours[k - 1]) + "\r\n";
    }
  }
  return platform::files::WriteAll(path, text);
}

Preset ReadPreset(const std::string& path) {
  Preset preset;
  if (auto count = WholeNumber(ReadKey(path, "Colors"))) preset.count = static_cast<int>(*count);
  for (int k = 1; k <= 4; ++k) {
    auto value = WholeNumber(ReadKey(path, "Color" + std::to_string(k)));
    if (value && *value >= 0 && *value <= kMaxColour) {
      preset.colours[k - 1] = static_cast<platform::COLORREF>(*value);
    }
  }
  return preset;
}

std::optional<int> LoadedColourCount(const Preset& preset, bool fiveMeansFour) {
  if (!preset.count) return std::nullopt;
  int count = *preset.count;
  if (count >= 2 && count <= 4) return count;
  if (count == 5 && fiveMeansFour) return 4;
  return std::nullopt;
}

std::vector<std::string> ListPresets(const std::string& fadesFolder) {
  std::vector<std::string> names;
  for (std::string& file : platform::files::List(fadesFolder, "*.Fad")) {
    if (file.size() >= 4) names.push_back(file.substr(0, file.size() - 4));
  }
  return names;
}

std::optional<std::string> PresetCursor::Next(const std::vector<std::string>& names) {
  if (names.empty()) return std::nullopt;
  // Presets may have been deleted since the last call: a cursor past the end wraps too.
  if (position_ < 0 || static_cast<size_t>(position_) >= names.size()) position_ = 0;
  return names[static_cast<size_t>(position_++)];
}

std::optional<Preset> NextSavedPreset(PresetCursor& cursor, const std::string& fadesFolder) {
  std::optional<std::string> name = cursor.Next(ListPresets(fadesFolder));
  if (!name) return std::nullopt;
  return ReadPreset(fadesFolder + "\\" + *name + ".Fad");
}

UniformDraw ClockSeededDraw() {
  static std::mt19937 generator(
      static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  return [] {
    // 53 random bits scaled into [0, 1); never 1.
    uint64_t high = generator() >> 5, low = generator() >> 6;
    return static_cast<double>(high * 67108864 + low) / 9007199254740992.0;
  };
}

platform::COLORREF RandomColor(const UniformDraw& draw) {
  auto component = [&] {
    return static_cast<platform::COLORREF>(
        std::clamp<int64_t>(host::RoundHalfEven(draw() * 255.0), 0, 255));
  };
  platform::COLORREF red = component();
  platform::COLORREF green = component();
  platform::COLORREF blue = component();
  return red + 256 * green + 65536 * blue;
}

std::array<platform::COLORREF, 4> RandomFade(const UniformDraw& draw) {
  std::array<platform::COLORREF, 4> colours{};
  for (auto& colour : colours) colour = RandomColor(draw);
  return colours;
}

}  // namespace styling
