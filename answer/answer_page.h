// The "Auto Answer" page of the settings window: the answer mode (the same state as the main
// window's "IM Answer" menu), the switch for personal messages, the listed members kept in
// "\ListedMembers.lst" and twice in memory (the main window's list, which the engine reads,
// and this page's), and the editors of the away and personal messages.
#pragma once

#include <array>
#include <memory>

#include "answer/messages_page.h"
#include "settings/settings_window_page.h"
#include "ui/check_box.h"
#include "ui/frame.h"
#include "ui/list_box.h"
#include "ui/option_button.h"
#include "widgets/ao_button.h"

namespace answer {

inline constexpr const char* kAnswerOptionCaptions[] = {"",
                                                        "Off",
                                                        "All Instant Messages",
                                                        "All Except Chat Room",
                                                        "All Except Listed Members",
                                                        "Only Listed Members",
                                                        "Chat Room Only"};

class AnswerPage : public settings::SettingsPage {
 public:
  explicit AnswerPage(const settings::PageContext& context);

  ui::Frame& frameAutoAnswer;
  std::array<ui::OptionButton*, 7> optIMAnswer{};  // (1) to (6); [0] is unused
  ui::CheckBox& chkPersonalized;
  ui::Frame& frameListedMembers;
  ui::ListBox& lstListedMembers;
  std::array<widgets::AOButton*, 3> AOButtonListedMembers{};  // Add, Remove, Clear
  MessagesEditor messages;

  // The window's load: the listed members from their file, and the option of the main
  // window's checked "IM Answer" item.
  void LoadSettings() override;
  // The tab was chosen: AddAutoAnswer.
  void Shown() override;

  void optIMAnswerClick(int index);
  void chkPersonalizedClick();
  void AOButtonListedMembersClick(int index);

 private:
  std::string ListFile() const;
  // Lists the main window's copy changed without the page, then writes the file from the page.
  void SaveListedMembers();

  ui::Form& window_;
  container::MainWindow& main_;
};

}  // namespace answer
