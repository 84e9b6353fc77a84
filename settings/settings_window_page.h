// What the pages of the settings window that edit the main window are built with, and the
// helpers they share for lists kept twice, file titles and typed texts.
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
#include "settings/settings_page.h"
#include "settings/settings_store.h"
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

// Writes a key of the settings file for a page. A write that fails is told, once until a write
// succeeds again, so that a settings file that cannot be written brings one message and not
// one for every key.
inline bool StoreSetting(const std::string& key, const std::string& value, platform::HWND owner) {
  static bool told = false;
  if (WriteSetting(key, value)) {
    told = false;
    return true;
  }
  if (!told) {
    told = true;
    widgets::ShowMessageBox(owner,
                            "The setting " + key + " could not be saved to " + SettingsPath() + ".",
                            0, "Setting not saved");
  }
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

}  // namespace settings
