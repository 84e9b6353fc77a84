// frmAbout: the program's title, version and release date, the maker and their contact, and
// three buttons: OK, the help file, and the update check. Shown not modal and kept on top, on
// the tiled background of the message box.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/form.h"
#include "ui/label.h"
#include "ui/picture_box.h"
#include "widgets/ao_button.h"

namespace widgets {

inline constexpr const char* kAboutCaption = "About Pallion";
inline constexpr const char* kAboutTitle = "Pallion \xB2\xB7\xBA for AOL 6.0";
inline constexpr const char* kProgramVersion = "2.0.55";
inline constexpr const char* kReleaseDate = "April 26, 2001";
inline constexpr const char* kMakerName = "Morvane Software";
inline constexpr const char* kSupportMail = "support@pallion.com";
inline constexpr const char* kWebSite = "http://www.pallion.com";
inline constexpr const char* kHelpMissing =
    "The help file Help.chm is not in the program's folder.";

class AboutForm : public ui::Form {
 public:
  static constexpr int kWidth = 320;
  static constexpr int kHeight = 250;

  AboutForm();

  ui::PictureBox& picIcon;
  ui::Label& lblTitle;
  ui::Label& lblBy;
  ui::Label& lblBy2;
  ui::Label& lblVersion;
  ui::Label& lblVersion2;
  ui::Label& Label1;
  ui::Label& Label2;
  ui::Label& lblemail;
  ui::Label& lblemail2;
  ui::Label& lblWebSite;
  ui::Label& lblWebSite2;
  AOButton& AOButtonAbout0;  // "OK"
  AOButton& AOButtonAbout1;  // "Help"
  AOButton& AOButtonAbout2;  // "Updates"
  ui::PictureBox& picIMtile;

  AOButton& Button(int index);
  void ButtonClick(int index);

  // The update check that "Updates" starts (the same checks as the menus' "Check for
  // Updates"); the button says that no check is available while none is given.
  std::function<void()> OnCheckForUpdates;

 private:
  void FormLoad();
};

// The About window of the program (made on first use), shown not modal and brought to the
// front; `checkForUpdates` becomes its update check.
AboutForm& ShowAbout(std::function<void()> checkForUpdates);
// The About window when it was made, else nullptr.
AboutForm* frmAbout();
// Destroys the About window (at shutdown, before the platform goes).
void DestroyAbout();

}  // namespace widgets
