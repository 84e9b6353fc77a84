#include "widgets/about.h"

#include "host/window_access.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "widgets/message_box.h"
#include "widgets/tiled_background.h"

namespace widgets {

namespace {

constexpr gfx::Color kTextColor = 0xFFFFFF;
constexpr gfx::Color kLinkColor = 0x80FFFF;  // light yellow: clickable
constexpr int kButtonTop = 188;

std::unique_ptr<AboutForm>& Instance() {
  static std::unique_ptr<AboutForm> about;
  return about;
}

void PlayClick() {
  host::PlaySoundFile(settings::FolderPath(kClickSound));
}

// The picture of the window: a blue disc with the program's initial.
gfx::Image IconPicture() {
  gfx::Canvas canvas(32, 32, 0xFFFFFF);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const int dx = 2 * x - 31, dy = 2 * y - 31;
      if (dx * dx + dy * dy <= 31 * 31) canvas.SetPixel(x, y, 0xAA6D00);
    }
  }
  gfx::Font font;
  font.face = "Arial";
  font.sizePoints = 16;
  font.bold = true;
  canvas.DrawText((32 - gfx::Canvas::TextWidth("P", font)) / 2,
                  (32 - gfx::Canvas::TextHeight(font)) / 2, "P", font, 0xFFFFFF);
  return canvas.ToImage();
}

}  // namespace

AboutForm::AboutForm()
    : ui::Form("frmAbout", kAboutCaption, ui::BorderStyle::FixedDialog),
      picIcon(Add<ui::PictureBox>("picIcon", 14, 14, 32, 32)),
      lblTitle(Add<ui::Label>("lblTitle", kAboutTitle, 56, 18, 250, 20)),
      lblBy(Add<ui::Label>("lblBy", "By:", 56, 52, 80, 17)),
      lblBy2(Add<ui::Label>("lblBy2", kMakerName, 140, 52, 170, 17)),
      lblVersion(Add<ui::Label>("lblVersion", "Version:", 56, 72, 80, 17)),
      lblVersion2(Add<ui::Label>("lblVersion2", kProgramVersion, 140, 72, 170, 17)),
      Label1(Add<ui::Label>("Label1", "Release Date:", 56, 92, 80, 17)),
      Label2(Add<ui::Label>("Label2", kReleaseDate, 140, 92, 170, 17)),
      lblemail(Add<ui::Label>("lblemail", "E-Mail:", 56, 112, 80, 17)),
      lblemail2(Add<ui::Label>("lblemail2", kSupportMail, 140, 112, 170, 17)),
      lblWebSite(Add<ui::Label>("lblWebSite", "Website:", 56, 132, 80, 17)),
      lblWebSite2(Add<ui::Label>("lblWebSite2", kWebSite, 140, 132, 170, 17)),
      AOButtonAbout0(Add<AOButton>("AOButtonAbout", "OK", 30, kButtonTop, 75, 23, 0)),
      AOButtonAbout1(Add<AOButton>("AOButtonAbout", "Help", 120, kButtonTop, 75, 23, 1)),
      AOButtonAbout2(Add<AOButton>("AOButtonAbout", "Updates", 210, kButtonTop, 75, 23, 2)),
      picIMtile(Add<ui::PictureBox>("picIMtile", 0, 0, 1, 1)) {
  Move(200, 150, kWidth, kHeight);
  SetBackColor(AOButton::kDefaultBackColor);
  picIMtile.SetVisible(false);
  picIcon.SetPicture(IconPicture());
  gfx::Font title;
  title.face = "Arial";
  title.sizePoints = 11;
  title.bold = true;
  lblTitle.SetFont(title);
  for (ui::Label* label : {&lblTitle, &lblBy, &lblBy2, &lblVersion, &lblVersion2, &Label1, &Label2,
                           &lblemail, &lblemail2, &lblWebSite, &lblWebSite2}) {
    label->SetOpaque(false);
    label->SetForeColor(kTextColor);
  }
  for (ui::Label* link : {&lblemail2, &lblWebSite2}) {
    gfx::Font font = link->Font();
    font.underline = true;
    link->SetFont(font);
    link->SetForeColor(kLinkColor);
  }
  lblemail2.OnClick = [] {
    PlayClick();
    host::RunKeyword(std::string("mailto:") + kSupportMail);
  };
  lblWebSite2.OnClick = [] {
    PlayClick();
    host::RunKeyword(kWebSite);
  };
  for (int i = 0; i < 3; ++i) Button(i).OnClick = [this, i] { ButtonClick(i); };
  OnLoad = [this] { FormLoad(); };
}

AOButton& AboutForm::Button(int index) {
  return index == 0 ? AOButtonAbout0 : index == 1 ? AOButtonAbout1 : AOButtonAbout2;
}

void AboutForm::FormLoad() {
  host::StayOnTop(hwnd());
  ApplyTiledBackground(*this, picIMtile, LoadMessageBoxPicture());
}

void AboutForm::ButtonClick(int index) {
  PlayClick();
  switch (index) {
    case 0:
      Unload();
      break;
    case 1: {
      const std::string file = settings::FolderPath(settings::kAboutHelpFile);
      if (!platform::files::Exists(file)) {
        ShowMessageBox(hwnd(), kHelpMissing, 0, "Help");
        break;
      }
      platform::ShellExecute(hwnd(), "open", file, platform::files::ProgramFolder(),
                             platform::SW_SHOW);
      break;
    }
    case 2:
      if (OnCheckForUpdates) {
        const auto check = OnCheckForUpdates;
        check();
      } else {
        ShowMessageBox(hwnd(), "Checking for updates is not available in this version.", 0,
                       "Updates");
      }
      break;
    default:
      break;
  }
}

AboutForm& ShowAbout(std::function<void()> checkForUpdates) {
  auto& about = Instance();
  if (!about) about = std::make_unique<AboutForm>();
  about->OnCheckForUpdates = std::move(checkForUpdates);
  about->Show();
  platform::SetForegroundWindow(about->hwnd());
  return *about;
}

AboutForm* frmAbout() {
  return Instance().get();
}

void DestroyAbout() {
  Instance().reset();
}

}  // namespace widgets
