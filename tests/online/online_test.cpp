// The online services driven as the person does (the client's menu, the input box, the chat
// room) against a real web server on this machine.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "clientsim/client.h"
#include "container/main_window.h"
#include "host/window_access.h"
#include "imlog/im_log.h"
#include "online/live_update.h"
#include "online/online.h"
#include "online/promotion.h"
#include "online/published_text.h"
#include "platform/sim/desktop.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "startup/first_window.h"
#include "support/container_fixture.h"
#include "platform/sim/web_server.h"
#include "support/widgets_person.h"
#include "widgets/message_box.h"

namespace {

using namespace platform;

constexpr const char* kProgramMenu = "Palli&on \xB2\xB7\xBA";

sim::DesktopOptions ShortFetches() {
  sim::DesktopOptions options;
  options.http.connectTimeoutMs = 500;
  options.http.totalTimeoutMs = 500;
  return options;
}

class Online : public ::testing::Test {
 protected:
  Online() : desktop(ShortFetches()) {}

  // The client signed on as Alice (unless told otherwise) and the program started with the
  // local server as its web site.
  void Start(bool signedOn = true) {
    folder = containerfix::EnterDesktop(desktop, "online");
    settings::WriteSetting(online::kSiteKey, server.Base());
    aol = desktop.CreateProcess("AOL");
    client = std::make_unique<clientsim::Client>();
    client->Start();
    if (signedOn) client->SignOn("Alice");
    desktop.RunFor(1000);
    StartProgram();
  }
  void StartProgram() {
    pallion = desktop.CreateProcess("Pallion");
    sim::Desktop::ProcessScope scope(desktop, pallion);
    program = std::make_unique<startup::Program>();
    ASSERT_EQ(program->Start(), startup::StartResult::Running);
  }
  void TearDown() override {
    online::DestroyLiveUpdate();
    widgets::DestroyMessageBoxes();
    program.reset();
    client.reset();
    imlog::ForgetLoggedIMs();
    containerfix::LeaveDesktop(folder);
  }

  bool Choose(const std::string& item) {
    return desktop.ChooseMenuItem(client->MainWindow(), {kProgramMenu, item});
  }
  // The notification window when it is shown.
  online::LiveUpdateForm* ShownWindow() {
    online::LiveUpdateForm* form = online::CurrentLiveUpdate();
    return form != nullptr && form->hwnd() != 0 && IsWindowVisible(form->hwnd()) ? form : nullptr;
  }
  // Lets the urgent-news check run (its second tick comes 24 s after start).
  void PassNewsCheck() { desktop.RunFor(30000); }
  std::string StoredNews() { return settings::ReadSetting(settings::keys::kUrgentNews); }

  platform::sim::WebServer server;
  sim::Desktop desktop;
  std::string folder;
  DWORD aol = 0;
  DWORD pallion = 0;
  std::unique_ptr<clientsim::Client> client;
  std::unique_ptr<startup::Program> program;
};

TEST_F(Online, ANewerPublishedVersionOffersTheUpgradePage) {
  server.Set("/IMVersion.txt", platform::sim::Body("2.0.56\r\n"));
  Start();
  PassNewsCheck();
  ASSERT_TRUE(Choose("Check for &Updates"));
  desktop.RunFor(500);
  online::LiveUpdateForm* form = ShownWindow();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->lblText.Caption(),
            "There is an updated version of Pallion avaliable at the Pallion Homepage.\r\r"
            "Would you like to upgrade now?");
  EXPECT_EQ(form->lblVersion[2]->Caption(), "2.0.55");
  EXPECT_EQ(form->lblVersion[4]->Caption(), "2.0.56");
  EXPECT_TRUE(form->AOButtonLiveUpdate0.Visible());
  EXPECT_EQ(form->AOButtonLiveUpdate1.Caption(), "No");

  desktop.Click(form->AOButtonLiveUpdate0.hwnd());
  desktop.RunFor(1000);
  EXPECT_EQ(ShownWindow(), nullptr);
  ASSERT_FALSE(client->KeywordsRun().empty());
  EXPECT_EQ(client->KeywordsRun().back(), server.Base() + "/Pallion.asp");
}

TEST_F(Online, TheSameVersionAroundSpacesLineEndsAndAByteOrderMarkIsNoUpdate) {
  for (const std::string published : {"2.0.55",
                                      "\xEF\xBB\xBF"
                                      "2.0.55\r\n",
                                      "  2.0.55 \n\n"}) {
    SCOPED_TRACE(published);
    server.Set("/IMVersion.txt", platform::sim::Body(published));
    if (program == nullptr) {
      Start();
      PassNewsCheck();
    }
    ASSERT_TRUE(Choose("Check for &Updates"));
    desktop.RunFor(500);
    online::LiveUpdateForm* form = ShownWindow();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->lblText.Caption(), "There are no updated versions avaliable.");
    EXPECT_FALSE(form->AOButtonLiveUpdate0.Visible());
    EXPECT_EQ(form->AOButtonLiveUpdate1.Caption(), "OK");
    desktop.Click(form->AOButtonLiveUpdate1.hwnd());
    desktop.RunFor(500);
    EXPECT_EQ(ShownWindow(), nullptr);
  }
  EXPECT_TRUE(client->KeywordsRun().empty());
}

TEST_F(Online, AFailedCheckSaysSoAndOffersNothing) {
  Start();
  PassNewsCheck();
  struct Case {
    const char* name;
    platform::sim::Answer answer;
  };
  const Case cases[] = {
      {"not found", platform::sim::Status(404)},
      {"server error", platform::sim::Status(500)},
      {"hangs", platform::sim::Hang()},
      {"cut short", platform::sim::CloseMidBody("2.0.")},
      {"an HTML page", platform::sim::Body("<!DOCTYPE html><html><body>Parked</body></html>")},
      {"binary", platform::sim::Body(std::string("\x89PNG\r\n\x1A\n\0\0", 10))},
      {"empty", platform::sim::Body("\r\n")},
      {"a huge body", platform::sim::Body("2.0.56" + std::string(2 << 20, ' '))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server.Set("/IMVersion.txt", c.answer);
    ASSERT_TRUE(Choose("Check for &Updates"));
    desktop.RunFor(500);
    online::LiveUpdateForm* form = ShownWindow();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->lblText.Caption(),
              "Could not reach the Pallion web site to check for updates. Please try again "
              "later.");
    EXPECT_FALSE(form->AOButtonLiveUpdate0.Visible());
    EXPECT_EQ(form->lblVersion[4]->Caption(), "unknown");
    desktop.Click(form->AOButtonLiveUpdate1.hwnd());
    desktop.RunFor(500);
  }
}

TEST_F(Online, CheckForUpdatesWaitsUntilTheNewsCheckHasRun) {
  server.Set("/IMVersion.txt", platform::sim::Body("2.0.55"));
  Start();
  widgets_person::AnswerNextMessageBox(desktop, "OK");
  ASSERT_TRUE(Choose("Check for &Updates"));
  desktop.RunFor(500);
  ASSERT_NE(widgets::CurrentMessageBox(), nullptr);
  EXPECT_EQ(widgets::CurrentMessageBox()->lblCaption.Caption(), "Please Wait");
  EXPECT_EQ(server.Requests("/IMVersion.txt"), 0);

  PassNewsCheck();
  ASSERT_TRUE(Choose("Check for &Updates"));
  desktop.RunFor(500);
  EXPECT_NE(ShownWindow(), nullptr);
  EXPECT_EQ(server.Requests("/IMVersion.txt"), 1);
}

TEST_F(Online, AnAnnouncementIsShownOnceAndNotAgain) {
  server.Set("/UrgentNews.txt", platform::sim::Body("Maintenance tonight.\r\nSee you soon.\r\n"));
  Start();
  desktop.RunFor(23000);
  EXPECT_EQ(server.Requests("/UrgentNews.txt"), 0);  // the first tick only arms the check
  desktop.RunFor(2000);
  EXPECT_EQ(server.Requests("/UrgentNews.txt"), 1);
  online::LiveUpdateForm* form = ShownWindow();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->lblCaption.Caption(), "Important Announcement from Morvane Software");
  EXPECT_EQ(form->lblText.Caption(), "Maintenance tonight.\r\nSee you soon.");
  EXPECT_FALSE(form->lblVersion[1]->Visible());
  EXPECT_FALSE(form->Line1.Visible());
  EXPECT_FALSE(form->AOButtonLiveUpdate0.Visible());
  EXPECT_EQ(StoredNews(), "Maintenance tonight. See you soon.");
  desktop.Click(form->AOButtonLiveUpdate1.hwnd());
  desktop.RunFor(60000);
  EXPECT_EQ(server.Requests("/UrgentNews.txt"), 1);  // once per run

  // The next run fetches it again and keeps quiet; one changed character shows it once more.
  ASSERT_TRUE(Choose("E&xit"));
  desktop.RunFor(5000);
  ASSERT_FALSE(desktop.ProcessAlive(pallion));
  StartProgram();
  PassNewsCheck();
  EXPECT_EQ(server.Requests("/UrgentNews.txt"), 2);
  EXPECT_EQ(ShownWindow(), nullptr);

  server.Set("/UrgentNews.txt", platform::sim::Body("Maintenance tonight.\r\nSee you soon!"));
  ASSERT_TRUE(Choose("E&xit"));
  desktop.RunFor(5000);
  StartProgram();
  PassNewsCheck();
  ASSERT_NE(ShownWindow(), nullptr);
  EXPECT_EQ(StoredNews(), "Maintenance tonight. See you soon!");
}

TEST_F(Online, BeforeSignOnTheNewsCheckWaitsAndRetriesEveryTwelveSeconds) {
  server.Set("/UrgentNews.txt", platform::sim::Body("Hello"));
  Start();
  client->SignOff();
  desktop.RunFor(120000);
  EXPECT_EQ(server.Requests("/UrgentNews.txt"), 0);
  EXPECT_EQ(ShownWindow(), nullptr);
  client->SignOn("Alice");
  desktop.RunFor(12500);
  EXPECT_EQ(server.Requests("/UrgentNews.txt"), 1);
  EXPECT_NE(ShownWindow(), nullptr);
}

TEST_F(Online, AFailedNewsFetchShowsNothingAndKeepsTheStoredAnnouncement) {
  server.Set("/UrgentNews.txt", platform::sim::Status(500));
  folder = containerfix::EnterDesktop(desktop, "online");
  settings::WriteSetting(settings::keys::kUrgentNews, "Old news");
  settings::WriteSetting(online::kSiteKey, server.Base());
  aol = desktop.CreateProcess("AOL");
  client = std::make_unique<clientsim::Client>();
  client->Start();
  client->SignOn("Alice");
  StartProgram();
  PassNewsCheck();
  EXPECT_EQ(server.Requests("/UrgentNews.txt"), 1);
  EXPECT_EQ(ShownWindow(), nullptr);
  EXPECT_EQ(StoredNews(), "Old news");
}

TEST_F(Online, TellAFriendFillsAWriteMailWindowForTheUserToSend) {
  Start();
  const std::string body = "<B>Try Pallion</B>, it gathers your IMs.";
  {
    std::ofstream out(folder + "/TellaFriend.taf", std::ios::binary);
    out << body;
  }
  desktop.AnswerInputBox("Bob, Carl,Dave");
  ASSERT_TRUE(Choose("&Tell a Friend"));
  desktop.RunFor(5000);
  const HWND mail = host::FindChildByCaption("Write Mail");
  ASSERT_NE(mail, 0u);
  EXPECT_EQ(GetWindowText(host::NthChildExact(mail, "_AOL_Edit", 1)), "Bob, Carl,Dave");
  EXPECT_EQ(GetWindowText(host::NthChildExact(mail, "_AOL_Edit", 2)), "");
  EXPECT_EQ(GetWindowText(host::NthChildExact(mail, "_AOL_Edit", 3)), "Pallion for AOL!!");
  const std::string text = host::GetText(FindWindowEx(mail, 0, "RICHCNTL", nullptr));
  EXPECT_NE(text.find("<B>Try Pallion</B>"), std::string::npos) << text;
  // The promotion, two line breaks, and the user's own screen name.
  EXPECT_NE(text.find("it gathers your IMs.<BR><BR>Alice"), std::string::npos) << text;
  EXPECT_TRUE(client->SentIMs().empty());
}

TEST_F(Online, CancellingTellAFriendOpensNoMail) {
  Start();
  ASSERT_TRUE(Choose("&Tell a Friend"));  // the input box is cancelled
  desktop.RunFor(5000);
  EXPECT_EQ(host::FindChildByCaption("Write Mail"), 0u);
  EXPECT_FALSE(program->Main()->TimerTellaFriend.Enabled());
}

// The colour tags of a line in order, as "#RRGGBB".
std::vector<std::string> Colours(const std::string& html) {
  std::vector<std::string> colours;
  const std::string tag = "<FONT COLOR=";
  for (size_t at = html.find(tag); at != std::string::npos; at = html.find(tag, at + 1)) {
    colours.push_back(html.substr(at + tag.size(), 7));
  }
  return colours;
}

TEST_F(Online, AdvertiseSendsTwoFadedLinesIntoTheRoom) {
  Start();
  desktop.RunFor(3000);
  EXPECT_TRUE(client->ChatLines().empty());  // no room at the start: nothing was posted
  client->OpenChatRoom("Lobby", {"Alice", "Bob"});
  desktop.RunFor(1000);
  ASSERT_TRUE(Choose("Ad&vertise"));
  desktop.RunFor(3000);
  ASSERT_EQ(client->ChatLines().size(), 2u);
  const std::string banner = client->ChatLines()[0].text;
  const std::string link = client->ChatLines()[1].text;
  EXPECT_GT(client->ChatLines()[1].timeMs, client->ChatLines()[0].timeMs);  // a pause between

  EXPECT_EQ(banner.rfind("<FONT FACE=\"Tahoma\" SIZE=1><FONT COLOR=#FF004A>(", 0), 0u);
  EXPECT_NE(banner.find("<FONT COLOR=#001A99>)"), std::string::npos);
  // 36 characters, 30 of them not spaces, each after its own tag.
  EXPECT_EQ(Colours(banner).size(), 30u);
  EXPECT_NE(banner.find(">n <FONT COLOR="), std::string::npos);  // a space takes no tag

  const std::string host = server.HostPort();
  EXPECT_EQ(link.rfind("    <FONT FACE=\"Tahoma\" SIZE=1><FONT COLOR=#FF4040>\x8B", 0), 0u);
  EXPECT_NE(link.find(" < a href=" + host + ">"), std::string::npos);
  EXPECT_NE(link.find("<FONT COLOR=#5BAABA>1"), std::string::npos);
  EXPECT_NE(link.find("<FONT COLOR=#E6991A>" + host.substr(host.size() - 1) + "</a> "),
            std::string::npos);
  EXPECT_NE(link.find("<FONT COLOR=#99E666>\x9B"), std::string::npos);
  EXPECT_EQ(Colours(link).size(), 10u + host.size());
  EXPECT_FALSE(program->Main()->TimerAdvertise.Enabled());
}

TEST_F(Online, TheStartPostsTheAdvertOnceIntoAnOpenRoom) {
  folder = containerfix::EnterDesktop(desktop, "online");
  aol = desktop.CreateProcess("AOL");
  client = std::make_unique<clientsim::Client>();
  client->Start();
  client->SignOn("Alice");
  client->OpenChatRoom("Lobby", {"Alice", "Bob"});
  desktop.RunFor(1000);
  StartProgram();
  desktop.RunFor(60000);
  ASSERT_EQ(client->ChatLines().size(), 2u);
  EXPECT_NE(client->ChatLines()[1].text.find("www.morvanesoftware.com"), std::string::npos);
}

}  // namespace
