// Pure text rules of the host routines: the case-insensitive replace, the IM caption test, the
// screen name of an IM caption, and the program's rounding rule.
#pragma once

#include <cstdint>
#include <string>

namespace host {

// Replaces every occurrence of `search` (compared without regard to case) by `replacement`,
// scanning on after each inserted replacement so it is never replaced again. The text argument
// is overwritten with the result, which is also returned. An empty search leaves it unchanged.
std::string ReplaceText(std::string& text, const std::string& search,
                        const std::string& replacement);

// True when a window caption marks an IM window (case-sensitive, first occurrences):
// "Instant Message" at 1-based position 1, 2 or 3; "Internet Message" at 1; "IM From" at 2 or 3;
// "IM To" at 2.
bool IsIMCaption(const std::string& caption);

// True when an IM caption carries the client's mark of a message nobody has read yet: ">" right
// before "IM From:".
bool HasUnreadMark(const std::string& caption);

// The correspondent's screen name in an IM caption: what follows the first ":" and the one
// character after it, cut before " [" when a "[" follows. "" when there is no ":" or nothing
// follows it.
std::string ScreenNameFromCaption(const std::string& caption);

// The program's rounding of a fraction to a whole number: to the nearest, ties to the even
// neighbour (0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -0.5 -> 0). NaN gives 0; huge values saturate.
int64_t RoundHalfEven(double value);

}  // namespace host
