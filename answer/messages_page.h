// The editors of the away messages ("\Messages\*.Mes", one of them in use, named by
// LastMessage) and the personal messages ("\MessagesPer\*.Mes", one per screen name) on the
// "Auto Answer" page of the settings window. Every edit is written to its file at once.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "settings/settings_window_page.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/list_box.h"
#include "ui/text_box.h"
#include "widgets/ao_button.h"

namespace answer {

inline constexpr const char* kDefaultAwayMessage =
    "Hi {SN}, I am not at the computer right now.  My IM's are being Auto-Answered by "
    "Pallion\xB2\xB7\xBA. Your message has been recorded. I'll get back to you soon.";
inline constexpr const char* kDefaultMessageTitle = "Default Message";
inline constexpr const char* kNoPersonalMessages =
    "No Personalized Auto IM-Answer for any members. Please add a Screen Name.";

class MessagesEditor {
 public:
  // Builds the editors inside the page's frame, the away messages from (x, y), the personal
  // messages from (x, personalY).
  MessagesEditor(const settings::PageContext& context, int x, int y, int personalY, int width);

  ui::ComboBox& ComboMessage;
  ui::TextBox& txtMessage;  // hidden: the title of the away message being edited
  ui::TextBox& txtAwayMessage;
  std::array<widgets::AOButton*, 3> AOButtonIMAnswer{};  // New, Rename, Delete
  ui::ListBox& lstPersonalized;
  ui::TextBox& txtPersonalizedMessage;
  std::array<widgets::AOButton*, 3> AOButtonPersonalized{};  // New, Rename, Delete

  // Fills both editors from the folders; `chkPersonalized` is set from "Personalized" when
  // there is a personal message.
  void AddAutoAnswer(ui::CheckBox& chkPersonalized);

  void ComboMessageClick();
  void lstPersonalizedClick();
  void AOButtonIMAnswerClick(int index);
  void AOButtonPersonalizedClick(int index);

  void NewAwayMessage();
  void RenameAwayMessage();
  void DeleteAwayMessage();
  void NewPersonalMessage();
  void RenamePersonalMessage();
  void DeletePersonalMessage();

 private:
  // Saves a text box to its message file; a write that fails is told once until one succeeds.
  void SaveAway();
  void SavePersonal();
  void Saved(bool ok);
  // Sets a text box without writing it anywhere.
  void SetQuietly(ui::TextBox& box, const std::string& text);
  // Asks for a text with OK and Cancel; nothing on Cancel.
  std::optional<std::string> Ask(const std::string& prompt, const std::string& title,
                                 const std::string& initial);
  // Asks "Delete?" with Yes and No; true for Yes.
  bool Confirm(const std::string& prompt);
  void Tell(const std::string& prompt, const std::string& title);

  ui::Form& window_;
  container::MainWindow& main_;
  bool quiet_ = false;
  bool failureShown_ = false;
};

}  // namespace answer
