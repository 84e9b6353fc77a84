// The "Ignore List" page of the settings window: the session list and the permanent list, each
// shown here and enforced by the main window's list of the same name. Adding a name blocks it
// in the client, removing it unblocks it, clearing only empties the lists. The permanent list's
// file "\IgnorePerm.lst" is rewritten from this page's copy after each change.
#pragma once

#include <array>

#include "settings/settings_window_page.h"
#include "ui/label.h"
#include "ui/list_box.h"
#include "ui/text_box.h"
#include "widgets/ao_button.h"

namespace ignore {

inline constexpr const char* kSessionListCaption = "Ignore List for this session only";
inline constexpr const char* kPermanentListCaption = "Permanent Ignore List";

class IgnorePage : public settings::SettingsPage {
 public:
  explicit IgnorePage(const settings::PageContext& context);

  ui::Label& lblIgnoreTem;
  ui::TextBox& txtIgnoreTem;
  ui::ListBox& lstIgnoreTem;
  ui::Label& lblIgnorePer;
  ui::TextBox& txtIgnorePer;
  ui::ListBox& lstIgnorePer;
  // 0-2 the session list's Add Name, Remove Name, Clear List; 3-5 the permanent list's.
  std::array<widgets::AOButton*, 6> AOButtonIgnoreList{};

  // The tab was chosen: the session list copied from the main window, the permanent list
  // read from its file.
  void Shown() override;
  void AOButtonIgnoreListClick(int index);

 private:
  std::string PermanentFile() const;

  ui::Form& window_;
  container::MainWindow& main_;
};

}  // namespace ignore
