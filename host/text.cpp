#include "host/text.h"

#include <cmath>

#include "platform/ansi.h"

namespace host {

std::string ReplaceText(std::string& text, const std::string& search,
                        const std::string& replacement) {
  if (search.empty()) return text;
  const std::string needle = platform::AnsiLower(search);
  std::string lowered = platform::AnsiLower(text);
  const std::string loweredReplacement = platform::AnsiLower(replacement);
  size_t from = 0;
  while (from <= lowered.size()) {
    size_t p = lowered.find(needle, from);
    if (p == std::string::npos) break;
    text.replace(p, search.size(), replacement);
    lowered.replace(p, search.size(), loweredReplacement);
    from = p + replacement.size();
  }
  return text;
}

namespace {

// The 1-based position of the first occurrence of `what`, 0 when absent.
size_t FirstPosition(const std::string& text, const char* what) {
  size_t p = text.find(what);
  return p == std::string::npos ? 0 : p + 1;
}

}  // namespace

bool HasUnreadMark(const std::string& caption) {
  return caption.find(">IM From:") != std::string::npos;
}

bool IsIMCaption(const std::string& caption) {
  size_t instant = FirstPosition(caption, "Instant Message");
  if (instant >= 1 && instant <= 3) return true;
  if (FirstPosition(caption, "Internet Message") == 1) return true;
  size_t from = FirstPosition(caption, "IM From");
  if (from == 2 || from == 3) return true;
  return FirstPosition(caption, "IM To") == 2;
}

std::string ScreenNameFromCaption(const std::string& caption) {
  size_t colon = caption.find(':');
  if (colon == std::string::npos) return "";
  if (colon + 2 >= caption.size()) return "";
  std::string name = caption.substr(colon + 2);
  size_t bracket = name.find('[');
  if (bracket != std::string::npos) {
    name.resize(bracket);
    // The client writes "Name [Away]"; only that separating space goes, never a letter.
    if (!name.empty() && name.back() == ' ') name.pop_back();
  }
  return name;
}

int64_t RoundHalfEven(double value) {
  // Saturates far outside any count the program uses instead of overflowing.
  constexpr double kLimit = 9.0e18;
  if (std::isnan(value)) return 0;
  if (value >= kLimit) return static_cast<int64_t>(kLimit);
  if (value <= -kLimit) return -static_cast<int64_t>(kLimit);
  double floor = std::floor(value);
  double fraction = value - floor;
  auto whole = static_cast<int64_t>(floor);
  if (fraction > 0.5) return whole + 1;
  if (fraction < 0.5) return whole;
  return (whole % 2 == 0) ? whole : whole + 1;
}

}  // namespace host
