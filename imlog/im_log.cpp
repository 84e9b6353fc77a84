#include "imlog/im_log.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "host/text.h"
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

void ForgetDeadWindows() {
  auto& logged = Logged();
  for (auto it = logged.begin(); it != logged.end();) {
    it = platform::IsWindow(it->first) ? std::next(it) : logged.erase(it);
  }
}

std::string WithoutLeadingLineBreaks(const std::string& text) {
  size_t start = text.find_first_not_of("\r\n");
  return start == std::string::npos ? std::string() : text.substr(start);
}

}  // namespace

std::string ShortDate(const platform::DateTime& when) {
  return std::to_string(when.month) + "/" + std::to_string(when.day) + "/" +
         std::to_string(when.year);
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
  host::ReplaceText(date, "/", "-");
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
  const std::string line = BeginLine(platform::Now());
  platform::SendMessage(view, platform::EM_SETSEL, 0, 1);
  platform::SendMessage(view, platform::EM_REPLACESEL, 0,
                        reinterpret_cast<platform::LPARAM>(line.c_str()));
}

bool WriteIMLog(HWND im) {
  ForgetDeadWindows();
  if (im == 0 || !platform::IsWindow(im)) return false;
  const std::string screenName = host::GetIMScreenName(im);
  if (screenName.empty()) return false;
  auto folderName = LogFolderName(screenName);
  if (!folderName) return false;
  HWND view = ConversationView(im);
  if (view == 0) return false;

  const std::string root = settings::FolderPath(settings::kLogsFolder);
  if (!platform::files::IsDirectory(root)) return false;
  const std::string folder = root + *folderName;
  if (!platform::files::IsDirectory(folder) && !platform::files::MakeDirectory(folder)) {
    return false;
  }

  const std::string conversation = host::GetEditText(view);
  std::string text = conversation;
  auto previous = Logged().find(im);
  if (previous != Logged().end() && conversation.rfind(previous->second, 0) == 0) {
    if (conversation.size() == previous->second.size()) return true;
    text = WithoutLeadingLineBreaks(conversation.substr(previous->second.size()));
    if (text.empty()) return true;
  }

  const platform::DateTime now = platform::Now();
  const std::string path = folder + "\\" + LogFileName(now);
  if (!platform::files::Append(path, text + "\r\n" + EndLine(now) + "\r\n")) return false;
  Logged()[im] = conversation;
  return true;
}

void ForgetLoggedIMs() {
  Logged().clear();
}

}  // namespace imlog
