// The IM log: the begin line put into every adopted IM's conversation view, and the writer that
// appends a conversation to "\IM Logs\" screen name "\" date ".txt" in the program folder.
#pragma once

#include <string>

#include "platform/types.h"

namespace imlog {

// " Begin IM - " date "     " time CR LF " " for the given moment (short date, "h:mm AM/PM").
std::string BeginLine(const platform::DateTime& when);
// " End IM - " date "     " time CR LF " " for the given moment.
std::string EndLine(const platform::DateTime& when);
// Replaces the first character of the IM window's conversation view with the begin line of
// now (EM_SETSEL 0, 1 and EM_REPLACESEL).
void PutBeginLine(platform::HWND im);
// Appends the IM window's conversation and the end line to its log file of today. False when
// nothing was written (no screen name, no log root, a file that cannot be written).
bool WriteIMLog(platform::HWND im);

}  // namespace imlog
