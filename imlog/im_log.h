// The IM log: the begin line put into every adopted IM's conversation view, and the writer that
// appends a conversation to "\IM Logs\" screen name "\" date ".txt" in the program folder.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/types.h"

namespace imlog {

// The date as a short-date picture spells it: d, dd (day), ddd, dddd (its name), M, MM (month),
// MMM, MMMM (its name), y, yy (year in the century), yyyy (the whole year), 'quoted' text; other
// characters stand as they are.
std::string FormatDate(const platform::DateTime& when, const std::string& picture);
// The date in the system's short-date format (12/24/2001 with "M/d/yyyy") and the time
// "h:mm AM/PM" (9:05 PM).
std::string ShortDate(const platform::DateTime& when);
std::string ShortTime(const platform::DateTime& when);

// " Begin IM - " date "     " time CR LF " " for the given moment (short date, "h:mm AM/PM").
std::string BeginLine(const platform::DateTime& when);
// " End IM - " date "     " time CR LF " " for the given moment.
std::string EndLine(const platform::DateTime& when);

// The name of a correspondent's log folder: the screen name with every character that a file
// name cannot hold ("\", "/", ":", "*", "?", """, "<", ">", "|", control characters, and dots or
// spaces at the end) replaced by "_", and a device name (CON, NUL, COM1, ...) followed by "_".
// The same screen name always gives the same folder. Nothing for a name that is empty or only
// dots and spaces.
std::optional<std::string> LogFolderName(const std::string& screenName);
// The day's file name: the short date with "/" (and any other character a file name cannot
// hold) turned into "-", then ".txt" (12-24-2001.txt, 24.12.2001.txt).
std::string LogFileName(const platform::DateTime& when);
// Program folder + "\IM Logs\" + folder name + "\" + file name; nothing when the screen name
// has no folder.
std::optional<std::string> LogFilePath(const std::string& screenName,
                                       const platform::DateTime& when);

// The IM window's conversation view: its first "RICHCNTLREADONLY" child under AOL 7
// (host::IsAOL7), its first "RICHCNTL" child otherwise.
platform::HWND ConversationView(platform::HWND im);

// Replaces the first character of the IM window's conversation view with the begin line of
// now (EM_SETSEL 0, 1 and EM_REPLACESEL). A view that begins with a begin line already keeps
// it; when it is an IM an earlier run of the program held (and logged as it handed it back),
// what it shows now counts as logged.
void PutBeginLine(platform::HWND im);

// Appends the IM window's conversation and the end line to its log file of today. The "\IM
// Logs\" root must exist; the correspondent's folder is made when missing.
//
// The file's lines end with CR LF (the view's bare CRs and LFs become CR LF).
//
// The writer remembers what it wrote for each IM window while that window lives, so an IM that
// is logged again (the container's close box, then the program's exit) is not written twice:
// unchanged, nothing is added; grown since, the conversation's begin line and the new lines are
// added, with an end line.
//
// True when the conversation is in the log (now or already). False when nothing was written:
// no window, no screen name or one that cannot name a folder, no conversation view, no log
// root, or a folder or file that cannot be written.
bool WriteIMLog(platform::HWND im);

// What WriteIMLog would write for the IM window now.
struct Unlogged {
  std::string screenName;
  std::string conversation;  // the whole conversation as read from the view
  std::string text;          // the part not logged yet, under its begin line; "" for none
};
// Nothing when it could not be logged (no window, no screen name or one that cannot name a
// folder, no conversation view, no log root).
std::optional<Unlogged> UnloggedPart(platform::HWND im);
// Appends one logged conversation: the text (its line ends made CR LF) and the end line of
// `when`, in the correspondent's file of the day of `when`; the correspondent's folder is made
// when missing. False when nothing could be written.
bool AppendLogEntry(const std::string& screenName, const std::string& text,
                    const platform::DateTime& when);
// True when the correspondent's file of that day holds the text as one logged conversation
// (followed by its end line).
bool LogHolds(const std::string& screenName, const std::string& text,
              const platform::DateTime& when);
// Takes the conversation as logged for the IM window, when the window is still that
// correspondent's and its conversation goes on from it: later logs add only what follows (a
// conversation recovered after a crash while its window lives on). False when not taken.
bool NoteLogged(platform::HWND im, const std::string& screenName, const std::string& conversation);
// Called with the IM window after each log entry WriteIMLog writes.
void AddLogWrittenListener(std::function<void(platform::HWND)> listener);

// Forgets what was logged and adopted for every window, and the listeners (a new run of the
// program).
void ForgetLoggedIMs();

}  // namespace imlog
