// The notification window frmLiveUpdate: the update check (the program's version against the
// one published on the maker's site) and, in announcement mode, the urgent news. Borderless and
// topmost on the tiled background, dragged by a press anywhere; either button unloads it.
#pragma once

#include <array>
#include <string>

#include "ui/form.h"
#include "ui/label.h"
#include "ui/picture_box.h"
#include "widgets/ao_button.h"

namespace online {

class LiveUpdateForm : public ui::Form {
 public:
  static constexpr int kWidth = 340;
  static constexpr int kHeight = 190;

  LiveUpdateForm();

  ui::Label& lblCaption;
  ui::Label& lblText;
  std::array<ui::Label*, 5> lblVersion{};  // (1) to (4); [0] is unused
  ui::PictureBox& Line1;
  ui::PictureBox& ImgEPoint;
  widgets::AOButton& AOButtonLiveUpdate0;  // "Yes": opens the upgrade page
  widgets::AOButton& AOButtonLiveUpdate1;  // "OK" / "No": closes
  ui::PictureBox& picIMtile;

  // Shows the window and runs the update check (one fetch of the published version).
  void ShowUpdateCheck();
  // Shows the window with an announcement instead.
  void ShowAnnouncement(const std::string& text);
  // The announcement layout: no version lines, a taller text, the announcement caption, one
  // "OK" button.
  void UrgentNews();

 private:
  void FormLoad();
  void ButtonClicked(int index);
};

// The one notification window of the program (made on first use; unloaded, not destroyed, by
// its buttons). DestroyLiveUpdate removes it before the platform goes.
LiveUpdateForm& LiveUpdate();
LiveUpdateForm* CurrentLiveUpdate();
void DestroyLiveUpdate();

}  // namespace online
