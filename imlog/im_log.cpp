#include "imlog/im_log.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "host/window_access.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"

namespace imlog {

using platform::HWND;

namespace {

// What was written for each IM window still alive: the conversation text of its last log.
std::map<HWND, std::string>& Logged() {
  static std::map<HWND, std::string> logged;
  return logged;
}

// Every IM window this run has put its begin line into (or found one in), while it lives.
std::set<HWND>& Adopted() {
  static std::set<HWND> adopted;
  return adopted;
}

// Called after each log entry written for a window.
std::vector<std::function<void(HWND)>>& Listeners() {
  static std::vector<std::function<void(HWND)>> listeners;
  return listeners;
}

void ForgetDeadWindows() {
  auto& logged = Logged();
  for (auto it = logged.begin(); it != logged.end();) {
    it = platform::IsWindow(it->first) ? std::next(it) : logged.erase(it);
  }
  std::erase_if(Adopted(), [](HWND im) { return !platform::IsWindow(im); });
}

// The number, with leading zeros up to `width` digits.
std::string Padded(int number, size_t width) {
  std::string digits = std::to_string(number);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

// 0 for Sunday.
int DayOfWeek(const platform::DateTime& when) {
  static const int kMonthOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  const int month = std::clamp(when.month, 1, 12);
  const int year = month < 3 ? when.year - 1 : when.year;
  const int day = year + year / 4 - year / 100 + year / 400 + kMonthOffsets[month - 1] + when.day;
  return ((day % 7) + 7) % 7;
}

// Every line end (CR, LF or CR LF) as CR LF.
std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += "\r\n";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The begin line at the top of a conversation (up to its line end), or "" when it has none.
std::string BeginLineOf(const std::string& conversation) {
  if (!conversation.starts_with(" Begin IM - ")) return "";
  return conversation.substr(0, conversation.find_first_of("\r\n"));
}

// What the conversation holds beyond the text logged before; nothing when it does not continue
// that text.
std::optional<std::string> GrowthSince(const std::string& conversation, const std::string& logged) {
  if (!conversation.starts_with(logged)) return std::nullopt;
  return conversation.substr(logged.size());
}

std::string WithoutLeadingLineBreaks(const std::string& text) {
  size_t start = text.find_first_not_of("\r\n");
  return start == std::string::npos ? std::string() : text.substr(start);
}

}  // namespace

std::string FormatDate(const platform::DateTime& when, const std::string& picture) {
  static const char* const kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
  static const char* const kMonths[] = {"January",   "February", "March",    "April",
                                        "May",       "June",     "July",     "August",
                                        "September", "October",  "November", "December"};
  const int month = std::clamp(when.month, 1, 12);
  std::string out;
  size_t i = 0;
  while (i < picture.size()) {
    const char c = picture[i];
    size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    if (c == '\'') {
      // Quoted text; two quotes stand for one.
      size_t j = i + 1;
      for (; j < picture.size(); ++j) {
        if (picture[j] != '\'') {
          out += picture[j];
        } else if (j + 1 < picture.size() && picture[j + 1] == '\'') {
          out += '\'';
          ++j;
        } else {
          break;
        }
      }
      i = j + 1;
      continue;
    }
    if (c == 'd') {
      if (run >= 4)
        out += kDays[DayOfWeek(when)];
      else if (run == 3)
        out += std::string(kDays[DayOfWeek(when)]).substr(0, 3);
      else
        out += Padded(when.day, run);
    } else if (c == 'M') {
      if (run >= 4)
        out += kMonths[month - 1];
      else if (run == 3)
        out += std::string(kMonths[month - 1]).substr(0, 3);
      else
        out += Padded(month, run);
    } else if (c == 'y') {
      out += run >= 3 ? Padded(when.year, 4) : Padded(when.year % 100, run);
    } else if (c == 'g') {
      // The era: none in the Gregorian calendar's usual pictures.
    } else {
      out.append(run, c);
    }
    i += run;
  }
  return out;
}

std::string ShortDate(const platform::DateTime& when) {
  return FormatDate(when, platform::GetShortDateFormat());
}

std::string ShortTime(const platform::DateTime& when) {
  int hour = when.hour % 12;
  if (hour == 0) hour = 12;
  std::string minute = std::to_string(when.minute);
  if (minute.size() < 2) minute = "0" + minute;
  return std::to_string(hour) + ":" + minute + (when.hour < 12 ? " AM" : " PM");
}

std::string BeginLine(const platform::DateTime& when) {
  return " Begin IM - " + ShortDate(when) + "     " + ShortTime(when) + "\r\n ";
}

std::string EndLine(const platform::DateTime& when) {
  return " End IM - " + ShortDate(when) + "     " + ShortTime(when) + "\r\n ";
}

std::optional<std::string> LogFolderName(const std::string& screenName) {
  std::string name = screenName;
  for (char& c : name) {
    if (platform::UnsafeInFileName(static_cast<unsigned char>(c))) c = '_';
  }
  if (name.find_first_not_of(". ") == std::string::npos) return std::nullopt;
  // The file system drops dots and spaces at the end of a name; keep them distinct.
  for (size_t i = name.size(); i > 0 && (name[i - 1] == '.' || name[i - 1] == ' '); --i) {
    name[i - 1] = '_';
  }
  if (platform::IsDeviceName(name)) name += '_';
  return name;
}

std::string LogFileName(const platform::DateTime& when) {
  std::string date = ShortDate(when);
  for (char& c : date) {
    if (platform::UnsafeInFileName(static_cast<unsigned char>(c))) c = '-';
  }
  return date + ".txt";
}

std::optional<std::string> LogFilePath(const std::string& screenName,
                                       const platform::DateTime& when) {
  auto folder = LogFolderName(screenName);
  if (!folder) return std::nullopt;
  return settings::FolderPath(settings::kLogsFolder) + *folder + "\\" + LogFileName(when);
}

HWND ConversationView(HWND im) {
  if (im == 0) return 0;
  return host::FirstChild(im, host::IsAOL7 ? "RICHCNTLREADONLY" : "RICHCNTL");
}

void PutBeginLine(HWND im) {
  HWND view = ConversationView(im);
  if (view == 0) return;
  // An IM adopted again keeps its begin line. When an earlier run held it, what it shows was
  // logged as that run handed it back, and only what follows is logged later, under that begin
  // line again; when this run held it before (Reset IMs), it is logged as any other. An earlier
  // run that died logged only what its recovery journal held: that was noted when the journal
  // was recovered, and what followed is still to be logged.
  ForgetDeadWindows();
  const std::string conversation = host::GetEditText(view);
  const bool heldBefore = !Adopted().insert(im).second;
  if (!BeginLineOf(conversation).empty()) {
    if (!heldBefore && !Logged().contains(im)) Logged()[im] = conversation;
    return;
  }
  const std::string line = BeginLine(platform::Now());
  platform::SendMessage(view, platform::EM_SETSEL, 0, 1);
  platform::SendMessage(view, platform::EM_REPLACESEL, 0,
                        reinterpret_cast<platform::LPARAM>(line.c_str()));
}

std::optional<Unlogged> UnloggedPart(HWND im) {
  ForgetDeadWindows();
  if (im == 0 || !platform::IsWindow(im)) return std::nullopt;
  const std::string screenName = host::GetIMScreenName(im);
  if (screenName.empty() || !LogFolderName(screenName)) return std::nullopt;
  HWND view = ConversationView(im);
  if (view == 0) return std::nullopt;
  if (!platform::files::IsDirectory(settings::FolderPath(settings::kLogsFolder))) {
    return std::nullopt;
  }

  const std::string conversation = host::GetEditText(view);
  std::string text = conversation;
  auto previous = Logged().find(im);
  if (previous != Logged().end()) {
    const std::optional<std::string> grown = GrowthSince(conversation, previous->second);
    if (grown) {
      text = WithoutLeadingLineBreaks(*grown);
      if (text.empty()) return Unlogged{screenName, conversation, ""};
      // A later part of a conversation is filed under its begin line again.
      const std::string begin = BeginLineOf(conversation);
      if (!begin.empty()) text = begin + "\r\n " + text;
    }
  }
  return Unlogged{screenName, conversation, text};
}

bool AppendLogEntry(const std::string& screenName, const std::string& text,
                    const platform::DateTime& when) {
  auto folderName = LogFolderName(screenName);
  if (!folderName) return false;
  const std::string root = settings::FolderPath(settings::kLogsFolder);
  if (!platform::files::IsDirectory(root)) return false;
  const std::string folder = root + *folderName;
  if (!platform::files::IsDirectory(folder) && !platform::files::MakeDirectory(folder)) {
    return false;
  }
  const std::string path = folder + "\\" + LogFileName(when);
  return platform::files::Append(path, WithCrLf(text) + "\r\n" + EndLine(when) + "\r\n");
}

bool WriteIMLog(HWND im) {
  const std::optional<Unlogged> part = UnloggedPart(im);
  if (!part) return false;
  if (part->text.empty()) return true;
  if (!AppendLogEntry(part->screenName, part->text, platform::Now())) return false;
  Logged()[im] = part->conversation;
  for (const auto& listener : std::vector<std::function<void(HWND)>>(Listeners())) {
    if (listener) listener(im);
  }
  return true;
}

bool LogHolds(const std::string& screenName, const std::string& text,
              const platform::DateTime& when) {
  const auto path = LogFilePath(screenName, when);
  if (!path) return false;
  const auto log = platform::files::ReadAll(*path);
  return log && log->find(WithCrLf(text) + "\r\n End IM - ") != std::string::npos;
}

bool NoteLogged(HWND im, const std::string& screenName, const std::string& conversation) {
  ForgetDeadWindows();
  if (im == 0 || !platform::IsWindow(im) || host::GetIMScreenName(im) != screenName) return false;
  // The view found by its class, as the client's version is not known before an adoption.
  HWND view = host::FirstChild(im, "RICHCNTLREADONLY");
  if (view == 0) view = host::FirstChild(im, "RICHCNTL");
  if (view == 0 || !GrowthSince(host::GetEditText(view), conversation)) return false;
  Logged()[im] = conversation;
  return true;
}

void AddLogWrittenListener(std::function<void(HWND)> listener) {
  Listeners().push_back(std::move(listener));
}

void ForgetLoggedIMs() {
  Logged().clear();
  Adopted().clear();
  Listeners().clear();
}

}  // namespace imlog
