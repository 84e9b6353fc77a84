// The "General" page of the settings window: the "Other" options, the background picture
// option with the pictures folder's list, and the look (tabs or the IM list). Every change is
// written to the settings file and shown by the main window at once.
#pragma once

#include <array>
#include <string>

#include "settings/settings_store.h"
#include "settings/settings_window_page.h"
#include "ui/check_box.h"
#include "ui/list_box.h"
#include "ui/option_button.h"
#include "ui/text_box.h"
#include "widgets/ao_button.h"

namespace settings {

// The "Other" check boxes by index, with the keys they set.
inline constexpr const char* kOtherCaptions[] = {
    "Enter key sends IM", "Tab key switches IM", "Close IMs when exiting Pallion",
    "Automatically accept IMs from the Internet", "Log Instant Messages"};
inline constexpr const char* kOtherKeys[] = {keys::kEnterKeySendsIM, keys::kTabKeySwitchesIM,
                                             keys::kCloseIMs, keys::kAutoAcceptIMs, keys::kLogIMs};

inline constexpr const char* kDefaultImageText = "Default Image";
inline constexpr const char* kPictureFilter =
    "Picture Files (*.bmp;*.jpg;*.gif;*.art)|*.bmp;*.jpg;*.gif;*.art|Bitmap Files "
    "(*.bmp)|*.bmp|JPEG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|ART Files (*.art)|*.art";

class GeneralPage : public SettingsPage {
 public:
  explicit GeneralPage(const PageContext& context);

  ui::Frame& frame1Other;
  std::array<ui::CheckBox*, 5> ChkOtherFrame1{};
  ui::Frame& FrameGraphical;
  std::array<ui::OptionButton*, 2> optGraphical{};  // 0 "False", 1 "True"
  ui::TextBox& txtGraphical;
  ui::ListBox& File1;  // the pictures folder's files
  widgets::AOButton& AOButtonBrowse2;
  ui::Frame& frameStyle;
  std::array<ui::OptionButton*, 2> optStyle{};  // 0 "Use Tabs", 1 "Use List Box"

  // The folder File1 lists: the program folder followed by "\WallPapers".
  std::string File1Path() const;
  void RefreshFile1();

  void LoadSettings() override;

  void ChkOtherFrame1Click(int index);
  void optStyleClick(int index);
  void optGraphicalClick(int index);
  void File1Click();
  void AOButtonBrowse2Click();

 private:
  ui::Form& window_;
  container::MainWindow& main_;
  // While the stored state is loaded the controls' events do nothing; loading runs the
  // handlers it needs itself.
  bool loading_ = false;
};

}  // namespace settings
