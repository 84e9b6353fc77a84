#include "online/live_update.h"

#include <memory>

#include "host/window_access.h"
#include "online/published_text.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "widgets/message_box.h"
#include "widgets/tiled_background.h"

namespace online {

using namespace platform;

namespace {

constexpr gfx::Color kPlainBackground = 11169024;
constexpr gfx::Color kTextColor = 0xFFFFFF;
constexpr int kButtonTop = 156;
constexpr int kAnnouncementTextHeight = 105;  // 1575 twips

gfx::Font Tahoma(bool bold) {
  gfx::Font font;
  font.face = "Tahoma";
  font.bold = bold;
  return font;
}

std::unique_ptr<LiveUpdateForm>& Instance() {
  static std::unique_ptr<LiveUpdateForm> form;
  return form;
}

}  // namespace

LiveUpdateForm::LiveUpdateForm()
    : ui::Form("frmLiveUpdate", "", ui::BorderStyle::None),
      lblCaption(
          Add<ui::Label>("lblCaption", "Pallion Live Update Notification", 10, 7, kWidth - 20, 16)),
      lblText(
          Add<ui::Label>("lblText", "Connecting to Morvane Sotware...", 56, 32, kWidth - 68, 60)),
      Line1(Add<ui::PictureBox>("Line1", 56, 134, kWidth - 68, 1)),
      ImgEPoint(Add<ui::PictureBox>("ImgEPoint", 12, 34, 32, 32)),
      AOButtonLiveUpdate0(
          Add<widgets::AOButton>("AOButtonLiveUpdate", "Yes", 90, kButtonTop, 75, 22, 0)),
      AOButtonLiveUpdate1(
          Add<widgets::AOButton>("AOButtonLiveUpdate", "OK", 175, kButtonTop, 75, 22, 1)),
      picIMtile(Add<ui::PictureBox>("picIMtile", 0, 0, 1, 1)) {
  Move(0, 0, kWidth, kHeight);
  SetBackColor(kPlainBackground);
  picIMtile.SetVisible(false);
  const char* captions[] = {"", "Your version of Pallion:", "",
                            "Updated version of Pallion:", "Hold.."};
  for (int i = 1; i <= 4; ++i) {
    const int x = i % 2 == 1 ? 56 : 216;
    const int y = i <= 2 ? 98 : 116;
    lblVersion[i] = &Add<ui::Label>("lblVersion", captions[i], x, y, i % 2 == 1 ? 158 : 110, 16, i);
  }
  for (ui::Label* label :
       {&lblCaption, &lblText, lblVersion[1], lblVersion[2], lblVersion[3], lblVersion[4]}) {
    label->SetOpaque(false);
    label->SetForeColor(kTextColor);
    label->SetFont(Tahoma(label == &lblCaption));
  }
  Line1.SetBackColor(kTextColor);
  ImgEPoint.SetPicture(widgets::ExclamationPicture());
  ImgEPoint.SetBackColor(kPlainBackground);
  for (widgets::AOButton* button : {&AOButtonLiveUpdate0, &AOButtonLiveUpdate1}) {
    button->SetFontBold(true);
    const int index = button->Index();
    button->OnClick = [this, index] { ButtonClicked(index); };
  }
  auto drag = [this](int button, int, int, int) {
    if (button == ui::kLeftButton) host::DragForm(hwnd());
  };
  for (ui::Control* part : std::initializer_list<ui::Control*>{this, &lblCaption, &lblText}) {
    part->OnMouseDown = drag;
  }
  OnLoad = [this] { FormLoad(); };
}

void LiveUpdateForm::FormLoad() {
  host::StayOnTop(hwnd());
  widgets::ApplyTiledBackground(*this, picIMtile, widgets::LoadMessageBoxPicture());
  RECT screen;
  GetWindowRect(GetDesktopWindow(), screen);
  Move((screen.Width() - kWidth) / 2, (screen.Height() - kHeight) / 2);
}

void LiveUpdateForm::ShowUpdateCheck() {
  Show();
  lblVersion[2]->SetCaption(kVersion);
  // The fetch blocks; the window shows "Connecting..." meanwhile.
  UpdateWindow(hwnd());
  const std::optional<std::string> published = FetchPublished(kVersionFile);
  switch (CompareVersion(published)) {
    case VersionCheck::UpdateAvailable:
      lblText.SetCaption(
          "There is an updated version of Pallion avaliable at the Pallion Homepage.\r\r"
          "Would you like to upgrade now?");
      AOButtonLiveUpdate0.SetVisible(true);
      AOButtonLiveUpdate1.SetCaption("No");
      break;
    case VersionCheck::UpToDate:
      lblText.SetCaption("There are no updated versions avaliable.");
      AOButtonLiveUpdate0.SetVisible(false);
      AOButtonLiveUpdate1.SetCaption("OK");
      break;
    case VersionCheck::Failed:
      lblText.SetCaption(
          "Could not reach the Pallion web site to check for updates. Please try again later.");
      AOButtonLiveUpdate0.SetVisible(false);
      AOButtonLiveUpdate1.SetCaption("OK");
      break;
  }
  lblVersion[4]->SetCaption(published && !published->empty() ? *published : "unknown");
}

void LiveUpdateForm::ShowAnnouncement(const std::string& text) {
  Show();
  UrgentNews();
  lblText.SetCaption(text);
}

void LiveUpdateForm::UrgentNews() {
  for (int i = 1; i <= 4; ++i) lblVersion[i]->SetVisible(false);
  Line1.SetVisible(false);
  lblText.SetHeight(kAnnouncementTextHeight);
  lblCaption.SetCaption("Important Announcement from Morvane Software");
  AOButtonLiveUpdate0.SetVisible(false);
  AOButtonLiveUpdate1.SetCaption("OK");
}

void LiveUpdateForm::ButtonClicked(int index) {
  host::PlaySoundFile(settings::FolderPath(widgets::kClickSound));
  if (index == 0) host::RunKeyword(SiteURL(kUpgradePage));
  Unload();
}

LiveUpdateForm& LiveUpdate() {
  auto& form = Instance();
  // A window left from an earlier check is made anew, so no layout of the other mode remains.
  if (form && !(form->hwnd() != 0 && IsWindowVisible(form->hwnd()))) form.reset();
  if (!form) form = std::make_unique<LiveUpdateForm>();
  return *form;
}

LiveUpdateForm* CurrentLiveUpdate() {
  return Instance().get();
}

void DestroyLiveUpdate() {
  Instance().reset();
}

}  // namespace online
