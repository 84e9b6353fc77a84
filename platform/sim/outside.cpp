// What the simulated desktop does outside the window tree: sounds, dialogs, the web, the
// printer and private-profile files. Each is recorded as an event; dialogs take queued answers.
#include <cstdio>
#include <filesystem>

#include "platform/files.h"
#include "platform/ini_file.h"
#include "platform/sim/desktop.h"
#include "platform/sim/printer.h"
#include "platform/sim/state.h"

namespace platform::sim {

bool Desktop::PlaySound(const std::string& path, UINT) {
  if (ProcessEnded()) return false;
  // A missing file plays nothing: the program always asks for no default sound.
  if (path.empty() || !files::Exists(path) || files::IsDirectory(path)) return false;
  Record(Event::Kind::Sound, path, "");
  return true;
}

void Desktop::PlaySystemSound(const std::string& alias) {
  if (ProcessEnded()) return;
  Record(Event::Kind::SystemSound, alias, "");
}

bool Desktop::ShellExecute(HWND, const std::string& verb, const std::string& file,
                           const std::string&, int) {
  if (ProcessEnded() || file.empty()) return false;
  Record(Event::Kind::ShellOpen, file, verb.empty() ? "open" : verb);
  return true;
}

std::optional<COLORREF> Desktop::ChooseColor(HWND, COLORREF) {
  State& s = *state_;
  if (ProcessEnded()) return std::nullopt;
  std::optional<COLORREF> answer;
  if (!s.colorAnswers.empty()) {
    answer = s.colorAnswers.front();
    s.colorAnswers.pop_front();
  }
  Record(Event::Kind::ColorDialog, "", answer ? std::to_string(*answer) : "cancel");
  return answer;
}

std::optional<std::string> Desktop::GetOpenFileName(HWND, const FileDialogOptions& options) {
  State& s = *state_;
  if (ProcessEnded()) return std::nullopt;
  std::optional<std::string> answer;
  if (!s.fileAnswers.empty()) {
    answer = s.fileAnswers.front();
    s.fileAnswers.pop_front();
  }
  Record(Event::Kind::OpenDialog, options.initialDir, answer ? *answer : "cancel");
  return answer;
}

std::optional<std::string> Desktop::GetSaveFileName(HWND, const FileDialogOptions& options) {
  State& s = *state_;
  if (ProcessEnded()) return std::nullopt;
  std::optional<std::string> answer;
  if (!s.fileAnswers.empty()) {
    answer = s.fileAnswers.front();
    s.fileAnswers.pop_front();
  }
  Record(Event::Kind::SaveDialog, options.initialDir, answer ? *answer : "cancel");
  return answer;
}

int Desktop::MessageBoxA(HWND, const std::string& text, const std::string& caption, UINT type) {
  State& s = *state_;
  if (ProcessEnded()) return 0;
  int answer = 0;
  if (!s.messageBoxAnswers.empty()) {
    answer = s.messageBoxAnswers.front();
    s.messageBoxAnswers.pop_front();
  }
  if (answer == 0) {
    // Unanswered: closed the way the box allows (OK alone, otherwise Cancel / No).
    UINT buttons = type & 0xF;
    answer = buttons == MB_OK ? IDOK : buttons == MB_YESNO ? IDNO : IDCANCEL;
  }
  Record(Event::Kind::MessageBox, text, caption);
  return answer;
}

std::string Desktop::InputBox(const std::string& prompt, const std::string&, const std::string&) {
  State& s = *state_;
  if (ProcessEnded()) return {};
  std::string answer;
  if (!s.inputBoxAnswers.empty()) {
    answer = s.inputBoxAnswers.front();
    s.inputBoxAnswers.pop_front();
  }
  Record(Event::Kind::InputBox, prompt, answer);
  return answer;
}

std::optional<std::string> Desktop::HttpGet(const std::string& url) {
  if (ProcessEnded()) return std::nullopt;
  std::optional<std::string> body = HttpFetch(url, state_->options.http);
  Record(Event::Kind::HttpGet, url, body ? "ok" : "fail");
  return body;
}

bool Desktop::PrintText(const std::string& documentName, const std::string& text) {
  State& s = *state_;
  if (ProcessEnded() || !s.options.printerInstalled) return false;
  std::vector<gfx::Canvas> pages = LayOutPages(documentName, text);
  if (!pages.empty()) ++s.printedDocuments;
  for (size_t i = 0; i < pages.size(); ++i) {
    if (s.printerFolder.empty()) continue;
    char name[64];
    std::snprintf(name, sizeof name, "print-%03d-page-%03zu.png", s.printedDocuments, i + 1);
    if (!pages[i].SavePng((std::filesystem::path(s.printerFolder) / name).string())) {
      return false;
    }
  }
  Record(Event::Kind::Print, documentName, text);
  for (gfx::Canvas& page : pages) s.printedPages.push_back(std::move(page));
  return true;
}

void Desktop::SetPrinterFolder(const std::string& hostFolder) {
  state_->printerFolder = hostFolder;
}

const std::vector<gfx::Canvas>& Desktop::PrintedPages() const {
  return state_->printedPages;
}

void Desktop::AnswerColorDialog(std::optional<COLORREF> color) {
  state_->colorAnswers.push_back(color);
}
void Desktop::AnswerFileDialog(std::optional<std::string> path) {
  state_->fileAnswers.push_back(std::move(path));
}
void Desktop::AnswerMessageBox(int result) {
  state_->messageBoxAnswers.push_back(result);
}
void Desktop::AnswerInputBox(std::string text) {
  state_->inputBoxAnswers.push_back(std::move(text));
}

// ---- Private-profile files ----

std::string Desktop::GetPrivateProfileString(const char* section, const char* key,
                                             const char* defaultValue, size_t size,
                                             const std::string& file) {
  std::optional<std::string> content;
  if (!file.empty() && files::Exists(file) && !files::IsDirectory(file))
    content = files::ReadAll(file);
  return ini::GetProfileString(content, section, key, defaultValue, size);
}

bool Desktop::WritePrivateProfileString(const char* section, const char* key, const char* value,
                                        const std::string& file) {
  if (file.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  std::optional<std::string> content;
  if (files::Exists(file)) {
    if (files::IsDirectory(file)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return false;
    }
    content = files::ReadAll(file);
    if (!content) {
      SetLastError(ERROR_ACCESS_DENIED);
      return false;
    }
  }
  auto updated = ini::WriteProfileString(content, section, key, value);
  if (!updated) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if (content && *updated == *content) return true;
  // The platform makes no folders: a file in a missing folder cannot be written.
  auto folder = files::HostPath(file).parent_path();
  if (!folder.empty() && !std::filesystem::is_directory(folder)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  if (!files::WriteAll(file, *updated)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return true;
}

}  // namespace platform::sim
