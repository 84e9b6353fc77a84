// What a page of the settings window is: an object that builds its controls inside the frame
// the window gives it, loads its stored state when the window loads, and fills itself each
// time its tab is chosen. Pages live in the folders of the features they set.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "container/main_window.h"
#include "host/text_files.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "ui/form.h"
#include "ui/frame.h"
#include "ui/list_box.h"
#include "widgets/message_box.h"

namespace settings {

// What a page is built with: the settings window (which owns the page's controls, so they are
// found by name on it), the page's frame (the controls' parent) and the main window whose
// lists, menus and look the page edits.
struct PageContext {
  ui::Form& window;
  ui::Frame& frame;
  container::MainWindow& main;
};

// A control of a page: made inside `parent` (the page's frame or a frame on it) and owned by
// the settings window.
template <class T, class... Args>
T& MakeControl(ui::Form& window, ui::Control& parent, Args&&... args) {
  return window.Own(std::make_unique<T>(parent, std::forward<Args>(args)...));
}

// A list kept twice (the main window's, which a feature enforces, and the page's, whose file
// it is): before the page rewrites the file from its copy, names that reached the file or the
// main window's list another way since the page was filled (another program, the main
// window's menus) join both copies, so that the rewrite loses none of them.
inline void GatherListCopies(ui::ListBox& shown, ui::ListBox& enforced, const std::string& file) {
  std::vector<std::string> names;
  host::LoadList(file, [&names](const std::string& name) { names.push_back(name); });
  for (int i = 0; i < enforced.ListCount(); ++i) names.push_back(enforced.List(i));
  const auto contains = [](const ui::ListBox& list, const std::string& name) {
    for (int i = 0; i < list.ListCount(); ++i) {
      if (list.List(i) == name) return true;
    }
    return false;
  };
  for (const std::string& name : names) {
    if (!contains(shown, name)) shown.AddItem(name);
    if (!contains(enforced, name)) enforced.AddItem(name);
  }
}

// Writes the page's copy of a list to its file; says so when the file cannot be written.
inline bool SaveListCopy(const ui::ListBox& shown, const std::string& file, platform::HWND owner) {
  std::vector<std::string> names;
  for (int i = 0; i < shown.ListCount(); ++i) names.push_back(shown.List(i));
  if (host::SaveList(file, names)) return true;
  widgets::ShowMessageBox(owner, "The list could not be saved to " + file + ".", 0,
                          "List not saved");
  return false;
}

// A title or screen name typed for a file of its own: true when it can name that file; else
// the person is told why and false comes back.
inline bool AcceptFileTitle(const std::string& title, platform::HWND owner) {
  if (platform::IsUsableFileName(title)) return true;
  widgets::ShowMessageBox(owner,
                          "\"" + title +
                              "\" cannot be used: a name may not contain \\ / : * ? \" < > |, "
                              "end with a dot or a space, or be a name Windows keeps for a device "
                              "(CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9).",
                          0, "Name not allowed");
  return false;
}

// Asks for a text in the program's message box with OK and Cancel; nothing on Cancel (or when
// the box was closed without a button).
inline std::optional<std::string> AskForText(platform::HWND owner, const std::string& prompt,
                                             const std::string& title, const std::string& initial) {
  widgets::MessageBoxResult.clear();
  if (widgets::ShowMessageBox(owner, prompt, 1, title, true, initial) != "OK") return std::nullopt;
  return widgets::MessageBoxInput;
}

class SettingsPage {
 public:
  virtual ~SettingsPage() = default;
  // A step of the window's SettingsFromINI: the stored state into the page's controls. Runs
  // each time the window is loaded, in the order of the tabs.
  virtual void LoadSettings() {}
  // The page's tab was chosen and its frame is now the one shown.
  virtual void Shown() {}
};

}  // namespace settings
