// The About window opened from both menus: what it shows, and its three buttons and two links.
#include "startup/about_menu.h"

#include <gtest/gtest.h>

#include "container/main_window.h"
#include "platform/files.h"
#include "platform/sim/desktop.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "startup/host_menu.h"
#include "support/container_fixture.h"
#include "support/ui_person.h"
#include "support/widgets_person.h"
#include "widgets/about.h"
#include "widgets/message_box.h"

namespace {

using platform::sim::Event;

class AboutTest : public ::testing::Test {
 protected:
  AboutTest() : person(world.desktop) { startup::AttachAbout(*world.main); }
  ~AboutTest() override {
    widgets::DestroyAbout();
    widgets::DestroyMessageBoxes();
    startup::HostMenuTargets() = {};
  }
  widgets::AboutForm& Shown() {
    widgets::AboutForm* about = widgets::frmAbout();
    EXPECT_NE(about, nullptr);
    EXPECT_TRUE(about != nullptr && platform::IsWindowVisible(about->hwnd()));
    return *about;
  }

  containerfix::World world;
  uitest::Person person;
};

TEST_F(AboutTest, BothMenusShowTheVersionAndDateOnTop) {
  startup::HostMenuCommand(*world.main, 1011);
  world.desktop.RunPending();
  widgets::AboutForm& about = Shown();
  EXPECT_EQ(about.Caption(), "About Pallion");
  EXPECT_EQ(about.lblVersion2.Caption(), "2.0.55");
  EXPECT_EQ(about.Label2.Caption(), "April 26, 2001");
  EXPECT_EQ(about.lblTitle.Caption(), "Pallion \xB2\xB7\xBA for AOL 6.0");
  EXPECT_NE(platform::GetWindowLong(about.hwnd(), platform::GWL_EXSTYLE) & platform::WS_EX_TOPMOST,
            0);
  person.Click(about.AOButtonAbout0);
  EXPECT_FALSE(platform::IsWindowVisible(about.hwnd()));

  world.main->mnuAOlAbout->OnClick();
  world.desktop.RunPending();
  EXPECT_TRUE(platform::IsWindowVisible(Shown().hwnd()));
}

TEST_F(AboutTest, EveryButtonLiesWhollyInsideTheWindow) {
  startup::HostMenuCommand(*world.main, 1011);
  world.desktop.RunPending();
  widgets::AboutForm& about = Shown();
  for (int i = 0; i < 3; ++i) {
    const widgets::AOButton& button = about.Button(i);
    EXPECT_LE(button.Left() + button.Width(), about.ClientWidth()) << i;
    EXPECT_LE(button.Top() + button.Height(), about.ClientHeight()) << i;
  }
}

TEST_F(AboutTest, HelpOpensTheHelpFileOrSaysItIsMissing) {
  startup::HostMenuCommand(*world.main, 1011);
  widgets::AboutForm& about = Shown();
  widgets_person::AnswerNextMessageBox(world.desktop, "OK");
  person.Click(about.AOButtonAbout1);
  EXPECT_EQ(widgets::CurrentMessageBox()->lblText.Caption(), widgets::kHelpMissing);

  world.WriteProgramFile("\\Help.chm", "help");
  person.Click(about.AOButtonAbout1);
  const Event& e = world.desktop.Events().back();
  EXPECT_EQ(e.kind, Event::Kind::ShellOpen);
  EXPECT_EQ(e.text, settings::FolderPath("\\Help.chm"));
  EXPECT_EQ(e.detail, "open");
}

TEST_F(AboutTest, UpdatesRunsTheMenusUpdateCheck) {
  int opened = 0;
  startup::HostMenuTargets().showLiveUpdate = [&] { ++opened; };
  startup::HostMenuCommand(*world.main, 1011);
  widgets::AboutForm& about = Shown();
  world.main->TimerUrgentNews.SetEnabled(true);
  widgets_person::AnswerNextMessageBox(world.desktop, "OK");
  person.Click(about.AOButtonAbout2);
  EXPECT_EQ(widgets::CurrentMessageBox()->lblCaption.Caption(), "Please Wait");
  EXPECT_EQ(opened, 0);
  world.main->TimerUrgentNews.SetEnabled(false);
  person.Click(about.AOButtonAbout2);
  EXPECT_EQ(opened, 1);

  // Without a check to run, the button says so rather than pretending.
  about.OnCheckForUpdates = nullptr;
  widgets_person::AnswerNextMessageBox(world.desktop, "OK");
  person.Click(about.AOButtonAbout2);
  EXPECT_EQ(widgets::CurrentMessageBox()->lblText.Caption(),
            "Checking for updates is not available in this version.");
}

TEST_F(AboutTest, TheLinksRunTheirKeywordsInTheClient) {
  startup::HostMenuCommand(*world.main, 1011);
  widgets::AboutForm& about = Shown();
  person.Click(about.lblemail2);
  world.desktop.RunFor(2000);
  person.Click(about.lblWebSite2);
  world.desktop.RunFor(2000);
  EXPECT_EQ(world.client->KeywordsRun(),
            (std::vector<std::string>{"mailto:support@pallion.com", "http://www.pallion.com"}));
}

}  // namespace
