#include "widgets/properties.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <vector>

#include "platform/win32.h"

namespace widgets {

namespace {

std::string Trim(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t at = text.find(separator, start);
    parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) break;
    start = at + 1;
  }
  return parts;
}

}  // namespace

platform::COLORREF ResolveColor(OleColor color) {
  if (color & kSystemColorFlag) return platform::GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0xFFFFFF;
}

std::string ColorText(OleColor color) {
  return std::to_string(color);
}

std::string FlagText(bool value) {
  return value ? "True" : "False";
}

std::string FontText(const gfx::Font& font) {
  char size[32];
  std::snprintf(size, sizeof size, "%g", font.sizePoints);
  std::string text = font.face + ";" + size;
  if (font.bold) text += ";bold";
  if (font.italic) text += ";italic";
  if (font.underline) text += ";underline";
  if (font.strikethrough) text += ";strikethrough";
  return text;
}

std::optional<OleColor> ParseColor(const std::string& text) {
  std::optional<int32_t> signedValue = ParseNumber(text);
  if (signedValue) return static_cast<OleColor>(*signedValue);
  // Values with the system-colour flag are written unsigned.
  const std::string t = Trim(text);
  uint32_t value = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return value;
}

std::optional<bool> ParseFlag(const std::string& text) {
  const std::string t = Lower(Trim(text));
  if (t == "true" || t == "-1" || t == "1") return true;
  if (t == "false" || t == "0") return false;
  return std::nullopt;
}

std::optional<int32_t> ParseNumber(const std::string& text) {
  const std::string t = Trim(text);
  int32_t value = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return value;
}

std::optional<gfx::Font> ParseFont(const std::string& text) {
  std::vector<std::string> parts = Split(text, ';');
  gfx::Font font;
  font.face = Trim(parts[0]);
  if (font.face.empty()) return std::nullopt;
  if (parts.size() > 1) {
    const std::string size = Trim(parts[1]);
    char* end = nullptr;
    const double points = std::strtod(size.c_str(), &end);
    if (size.empty() || end != size.c_str() + size.size() || !(points > 0 && points < 1000)) {
      return std::nullopt;
    }
    font.sizePoints = points;
  }
  for (size_t i = 2; i < parts.size(); ++i) {
    const std::string style = Lower(Trim(parts[i]));
    if (style == "bold")
      font.bold = true;
    else if (style == "italic")
      font.italic = true;
    else if (style == "underline")
      font.underline = true;
    else if (style == "strikethrough")
      font.strikethrough = true;
    else
      return std::nullopt;
  }
  return font;
}

std::string ReadText(const PropertyBag& bag, const std::string& name, const std::string& fallback) {
  auto it = bag.find(name);
  return it == bag.end() ? fallback : it->second;
}

OleColor ReadColor(const PropertyBag& bag, const std::string& name, OleColor fallback) {
  auto it = bag.find(name);
  if (it == bag.end()) return fallback;
  return ParseColor(it->second).value_or(fallback);
}

bool ReadFlag(const PropertyBag& bag, const std::string& name, bool fallback) {
  auto it = bag.find(name);
  if (it == bag.end()) return fallback;
  return ParseFlag(it->second).value_or(fallback);
}

int32_t ReadNumber(const PropertyBag& bag, const std::string& name, int32_t fallback) {
  auto it = bag.find(name);
  if (it == bag.end()) return fallback;
  return ParseNumber(it->second).value_or(fallback);
}

gfx::Font ReadFont(const PropertyBag& bag, const std::string& name, const gfx::Font& fallback) {
  auto it = bag.find(name);
  if (it == bag.end()) return fallback;
  return ParseFont(it->second).value_or(fallback);
}

}  // namespace widgets
