// Stored properties of the program's own controls: a bag of name -> text, as a form keeps the
// design-time values of a control, with the conversions of colours, flags, numbers and fonts.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "gfx/canvas.h"
#include "platform/types.h"

namespace widgets {

using PropertyBag = std::map<std::string, std::string>;

// A colour as a control stores it: a plain 0x00BBGGRR value, or 0x80000000 + n for the system
// colour n, looked up when the control paints.
using OleColor = uint32_t;
inline constexpr OleColor kSystemColorFlag = 0x80000000u;
constexpr OleColor SystemColor(int index) {
  return kSystemColorFlag | static_cast<uint32_t>(index);
}
// The colour to paint with: system colours resolved at the moment of the call.
platform::COLORREF ResolveColor(OleColor color);

std::string ColorText(OleColor color);  // decimal, unsigned
std::string FlagText(bool value);       // "True" / "False"
std::string FontText(const gfx::Font& font);

// Readers of a bag: the stored value when present and well formed, else `fallback`.
std::string ReadText(const PropertyBag& bag, const std::string& name, const std::string& fallback);
OleColor ReadColor(const PropertyBag& bag, const std::string& name, OleColor fallback);
bool ReadFlag(const PropertyBag& bag, const std::string& name, bool fallback);
int32_t ReadNumber(const PropertyBag& bag, const std::string& name, int32_t fallback);
gfx::Font ReadFont(const PropertyBag& bag, const std::string& name, const gfx::Font& fallback);

// Parsers of single values; nothing when the text is not one.
std::optional<OleColor> ParseColor(const std::string& text);
std::optional<bool> ParseFlag(const std::string& text);
std::optional<int32_t> ParseNumber(const std::string& text);
std::optional<gfx::Font> ParseFont(const std::string& text);

}  // namespace widgets
