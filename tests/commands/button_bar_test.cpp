#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "commands/commands.h"
#include "host/window_access.h"
#include "platform/win32.h"
#include "support/container_fixture.h"
#include "support/desktop_events.h"
#include "support/widgets_person.h"
#include "widgets/message_box.h"

namespace {

using namespace platform;
using clientsim::Layout;
using containerfix::World;

// A message a window of the client received.
struct Received {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
};

// The tab look, under the given client.
containerfix::WorldOptions TabsUnder(Layout layout) {
  containerfix::WorldOptions options = containerfix::OptionsFor(layout);
  options.settings.push_back({"Style", "1"});
  return options;
}

class Commands : public ::testing::Test {
 protected:
  explicit Commands(Layout layout = Layout::Aol6) : world(TabsUnder(layout)) {
    commands::AttachCommands(main());
  }
  ~Commands() override {
    commands::Targets() = {};
    widgets::DestroyMessageBoxes();
  }

  container::MainWindow& main() { return *world.main; }
  sim::Desktop& desktop() { return world.desktop; }

  HWND Adopt(const std::string& name, bool member = true) {
    clientsim::IncomingOptions options;
    options.statusVisible = member;
    world.client->ReceiveIM(name, "hello", options);
    desktop().RunUntil([&] { return world.client->IMWindow(name) != 0; }, 2000);
    if (!world.WaitAdopted(name, 500)) return 0;
    desktop().RunFor(2000);
    return world.client->IMWindow(name);
  }

  // The person clicks one of the button bar's buttons.
  void Press(widgets::AOLFButton& button) { desktop().Click(button.hwnd()); }

  // The list look, whose button bar also shows "Notify AOL" and the mail button.
  void ListLook() {
    main().mnuStyleSub[1]->Click();
    desktop().RunFor(100);
    ASSERT_TRUE(IsWindowVisible(main().AOButtonMail.hwnd()));
  }

  // A window of the client's that notes every message it gets (in the client's process).
  HWND ClientWindow(HWND parent, const std::string& className, const std::string& caption) {
    sim::Desktop::ProcessScope scope(desktop(), world.aol);
    WindowClass cls;
    cls.name = className;
    RegisterClass(cls);
    auto log = received;
    const DWORD style = parent == GetDesktopWindow() ? WS_VISIBLE : WS_CHILD | WS_VISIBLE;
    return CreateWindowEx(0, className, caption, style, 0, 0, 40, 20, parent, 0,
                          [log](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
                            if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || msg == WM_KEYDOWN ||
                                msg == WM_KEYUP) {
                              log->push_back({hwnd, msg, wParam});
                            }
                            return DefWindowProc(hwnd, msg, wParam, lParam);
                          });
  }

  // The client's info window (top level) with `icons` icons; returns the icons.
  std::vector<HWND> InfoWindow(const std::string& caption, int icons) {
    const HWND info = ClientWindow(GetDesktopWindow(), "_aol_modal", caption);
    std::vector<HWND> made;
    for (int i = 0; i < icons; ++i) made.push_back(ClientWindow(info, "_AOL_Icon", ""));
    return made;
  }

  std::vector<UINT> MessagesOf(HWND hwnd) const {
    std::vector<UINT> msgs;
    for (const Received& r : *received) {
      if (r.hwnd == hwnd) msgs.push_back(r.msg);
    }
    return msgs;
  }

  // Notes the caption and text of the next message box, then answers it.
  void AnswerBox(const std::string& button) {
    widgets_person::AnswerNextMessageBox(desktop(), button, std::nullopt, [this](auto& box) {
      boxCaption = box.lblCaption.Caption();
      boxText = box.lblText.Caption();
      boxOwnerDisabled = !IsWindowEnabled(main().hwnd());
      // The person's mouse leaves the button bar for the box.
      RECT r;
      GetWindowRect(box.hwnd(), r);
      desktop().MouseMoveTo({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    });
  }

  std::string LastPopupChoice() const {
    std::string text = "<none>";
    for (const auto& e : world.desktop.Events()) {
      if (e.kind == sim::Event::Kind::PopupMenu) text = e.text;
    }
    return text;
  }

  World world;
  std::shared_ptr<std::vector<Received>> received = std::make_shared<std::vector<Received>>();
  std::string boxCaption, boxText;
  bool boxOwnerDisabled = false;
};

class CommandsAol7 : public Commands {
 protected:
  CommandsAol7() : Commands(Layout::Aol7) {}
};

TEST_F(Commands, CloseIMAnsweredYesClosesTheShownIM) {
  ASSERT_NE(Adopt("Bob"), 0u);
  ASSERT_NE(Adopt("Carl"), 0u);
  main().TabStrip1.SetSelectedItem(1);
  desktop().RunFor(200);
  ASSERT_EQ(main().TabStrip1.SelectedCaption(), "Bob");

  AnswerBox("Yes");
  Press(main().AOButtonCloseIM);
  desktop().RunFor(1000);

  EXPECT_EQ(boxCaption, "Close Bob's IM?");
  EXPECT_EQ(boxText, "Are you sure you want to close the IM from Bob?");
  EXPECT_TRUE(boxOwnerDisabled);
  ASSERT_EQ(main().TabStrip1.Count(), 1);
  EXPECT_EQ(main().TabStrip1.Item(1).caption, "Carl");
  EXPECT_EQ(world.client->IMWindow("Bob"), 0u);
  EXPECT_NE(world.client->IMWindow("Carl"), 0u);
  EXPECT_EQ(widgets::MessageBoxResult, "Yes");
}

TEST_F(Commands, CloseIMAnsweredNoLeavesTheIM) {
  const HWND bob = Adopt("Bob");
  ASSERT_NE(bob, 0u);
  AnswerBox("No");
  Press(main().AOButtonCloseIM);
  desktop().RunFor(1000);
  EXPECT_EQ(boxCaption, "Close Bob's IM?");
  EXPECT_EQ(main().TabStrip1.Count(), 1);
  EXPECT_EQ(world.client->IMWindow("Bob"), bob);
  EXPECT_EQ(GetParent(bob), main().IMHolder());
}

TEST_F(Commands, CloseIMWithoutAnIMAsksNothing) {
  commands::CloseIMClick(main());
  EXPECT_EQ(widgets::CurrentMessageBox(), nullptr);
}

TEST_F(Commands, LocateRunsTheKeywordForTheSelectedRow) {
  ASSERT_NE(Adopt("Bob"), 0u);
  world.WriteProgramFile("\\Sounds\\Click.icp", "RIFF");
  Press(main().AOButtonLocate);
  desktop().RunFor(500);
  const auto& keywords = world.client->KeywordsRun();
  ASSERT_FALSE(keywords.empty());
  EXPECT_EQ(keywords.back(), "aol://3548:Bob");
  EXPECT_GE(testevents::Count(desktop(), sim::Event::Kind::Sound, "Click.icp"), 1u);
}

TEST_F(Commands, LocateSignedOffDoesNothing) {
  ASSERT_NE(Adopt("Bob"), 0u);
  world.client->SignOff();
  desktop().RunFor(500);
  const size_t before = world.client->KeywordsRun().size();
  commands::LocateClick(main());
  desktop().RunFor(500);
  EXPECT_EQ(world.client->KeywordsRun().size(), before);
}

TEST_F(Commands, NotifyAOLForANonMemberShowsTheBoxAndPressesNothing) {
  const HWND carl = Adopt("Carl", false);
  ASSERT_NE(carl, 0u);
  const HWND first = ClientWindow(carl, "_AOL_Button", "Profile");
  const HWND second = ClientWindow(carl, "_AOL_Button", "Notify");
  EXPECT_FALSE(main().AOButtonNotifyAOL.Enabled());

  AnswerBox("OK");
  commands::NotifyAOLButton(main());
  EXPECT_EQ(boxCaption, "Not an AOL User.");
  EXPECT_EQ(boxText, "Carl is not an AOL user. Instant Messenger users cannot be reported.");
  EXPECT_TRUE(MessagesOf(first).empty());
  EXPECT_TRUE(MessagesOf(second).empty());
}

TEST_F(Commands, NotifyAOLForAMemberPressesTheSecondButton) {
  const HWND bob = Adopt("Bob");
  ASSERT_NE(bob, 0u);
  ListLook();
  const HWND first = ClientWindow(bob, "_AOL_Button", "Profile");
  const HWND second = ClientWindow(bob, "_AOL_Button", "Notify");
  Press(main().AOButtonNotifyAOL);
  desktop().RunFor(200);
  EXPECT_EQ(widgets::CurrentMessageBox(), nullptr);
  EXPECT_TRUE(MessagesOf(first).empty());
  EXPECT_EQ(MessagesOf(second), (std::vector<UINT>{WM_LBUTTONDOWN, WM_KEYDOWN, WM_KEYUP}));
}

TEST_F(Commands, NotifyAOLFromTheOptionsMenu) {
  const HWND bob = Adopt("Bob");
  ASSERT_NE(bob, 0u);
  ClientWindow(bob, "_AOL_Button", "Profile");
  const HWND second = ClientWindow(bob, "_AOL_Button", "Notify");
  main().mnuNotifyAOL.Click();
  EXPECT_EQ(MessagesOf(second).size(), 3u);
}

TEST_F(Commands, GetProfileUnderAol6PressesTheProfileButton) {
  const HWND bob = Adopt("Bob");
  ASSERT_NE(bob, 0u);
  ASSERT_EQ(main().AOButtonGetProfile.Caption(), "Get Profile");
  const HWND profile = ClientWindow(bob, "_AOL_Button", "Profile");
  const HWND other = ClientWindow(bob, "_AOL_Button", "Notify");
  const size_t popups = testevents::Count(desktop(), sim::Event::Kind::PopupMenu);
  Press(main().AOButtonGetProfile);
  desktop().RunFor(200);
  EXPECT_EQ(MessagesOf(profile),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_KEYDOWN, WM_LBUTTONUP, WM_KEYUP}));
  for (const Received& r : *received) {
    if (r.hwnd == profile && (r.msg == WM_KEYDOWN || r.msg == WM_KEYUP)) {
      EXPECT_EQ(r.wParam, static_cast<WPARAM>(VK_SPACE));
    }
  }
  EXPECT_TRUE(MessagesOf(other).empty());
  EXPECT_EQ(testevents::Count(desktop(), sim::Event::Kind::PopupMenu), popups);
}

TEST_F(Commands, TurnIMsOffAndOnTellTheClientAndMoveTheMarks) {
  ASSERT_TRUE(main().mnuIMSub[3]->Checked());
  main().mnuIMSub[2]->Click();
  EXPECT_TRUE(world.client->AllIMsBlocked());
  EXPECT_TRUE(main().mnuIMSub[2]->Checked());
  EXPECT_FALSE(main().mnuIMSub[3]->Checked());
  EXPECT_EQ(world.client->KeywordsRun().back(), "aol://9293:$IM_OFF");

  main().mnuIMSub[3]->Click();
  EXPECT_FALSE(world.client->AllIMsBlocked());
  EXPECT_FALSE(main().mnuIMSub[2]->Checked());
  EXPECT_TRUE(main().mnuIMSub[3]->Checked());
  EXPECT_EQ(world.client->KeywordsRun().back(), "aol://9293:$IM_ON");
  desktop().RunFor(3000);
  EXPECT_EQ(main().TabStrip1.Count(), 0);
}

TEST_F(Commands, TurnIMsOffWithoutTheClientKeepsTheMarks) {
  world.client->Quit();
  desktop().RunFor(2000);
  ASSERT_EQ(host::FindAOL(), 0u);
  main().mnuIMSub[2]->Click();
  EXPECT_FALSE(main().mnuIMSub[2]->Checked());
  EXPECT_TRUE(main().mnuIMSub[3]->Checked());
}

TEST_F(Commands, SendIMRunsTheKeyword) {
  main().mnuIMSub[0]->Click();
  desktop().RunFor(500);
  EXPECT_EQ(world.client->KeywordsRun().back(), "aol://9293:");
  EXPECT_NE(world.client->SendIMWindow(), 0u);
}

TEST_F(Commands, ControlPanelAndIgnoreListOpenTheirWindows) {
  int settings = 0, ignore = 0;
  commands::Targets().showSettings = [&] { ++settings; };
  commands::Targets().showIgnoreList = [&] { ++ignore; };
  main().mnuControlPanel[0]->Click();
  main().mnuIMSub[5]->Click();
  main().mnuIMSub[4]->Click();
  EXPECT_EQ(settings, 1);
  EXPECT_EQ(ignore, 1);
}

TEST_F(Commands, OptionsMouseUpPopsUpTheOptionsMenu) {
  ASSERT_NE(Adopt("Bob"), 0u);
  int settings = 0;
  commands::Targets().showSettings = [&] { ++settings; };
  desktop().AnswerNextPopupMenu("Control Panel");
  Press(main().AOButtonOptions);
  desktop().RunFor(200);
  EXPECT_EQ(LastPopupChoice(), "Control Panel");
  EXPECT_EQ(settings, 1);
  RECT holder;
  GetWindowRect(main().Picture2.hwnd(), holder);
  EXPECT_EQ(main().Left(), holder.left + 210);
  EXPECT_EQ(main().Top(), holder.bottom - 252);
  EXPECT_EQ(main().Width(), 5000);
}

TEST_F(Commands, MailWritesToTheCorrespondent) {
  ASSERT_NE(Adopt("Bob"), 0u);
  ListLook();
  Press(main().AOButtonMail);
  desktop().RunFor(200);
  const HWND mail = host::FindChildByCaption("Write Mail");
  ASSERT_NE(mail, 0u);
  EXPECT_EQ(host::GetText(FindWindowEx(mail, 0, "_AOL_Edit", nullptr)), "Bob");
}

TEST_F(Commands, AnInfoWindowOfAnotherKindEndsTheCommand) {
  ASSERT_NE(Adopt("Bob"), 0u);
  const std::vector<HWND> icons = InfoWindow("Buddy List", 12);
  EXPECT_EQ(commands::ClickGetInfo(main(), commands::kIconViewProfile),
            commands::InfoResult::OtherWindow);
  EXPECT_TRUE(received->empty());
}

TEST_F(Commands, TheInfoWindowIsAwaitedAndItsIconPressed) {
  ASSERT_NE(Adopt("Bob"), 0u);
  std::vector<HWND> icons;
  desktop().Schedule(
      400, [&] { icons = InfoWindow("Info for Bob", 17); }, world.aol);
  const uint64_t start = desktop().NowMs();
  EXPECT_EQ(commands::ClickGetInfo(main(), commands::kIconAddToBuddyList),
            commands::InfoResult::Pressed);
  EXPECT_GE(desktop().NowMs() - start, 400u);
  ASSERT_EQ(icons.size(), 17u);
  for (size_t i = 0; i < icons.size(); ++i) {
    EXPECT_EQ(MessagesOf(icons[i]).size(), i == 6 ? 3u : 0u) << i;
  }
}

TEST_F(Commands, WithoutAnInfoWindowTheWaitEnds) {
  ASSERT_NE(Adopt("Bob"), 0u);
  const uint64_t start = desktop().NowMs();
  EXPECT_EQ(commands::ClickGetInfo(main(), commands::kIconSendMail),
            commands::InfoResult::NoInfoWindow);
  EXPECT_GE(desktop().NowMs() - start, commands::kInfoWindowWaitMs);
  EXPECT_LT(desktop().NowMs() - start, commands::kInfoWindowWaitMs + 1000);
}

TEST_F(Commands, AnInfoWindowWithTooFewIconsIsLeftAlone) {
  ASSERT_NE(Adopt("Bob"), 0u);
  InfoWindow("Info for Bob", 5);
  EXPECT_EQ(commands::ClickGetInfo(main(), commands::kIconViewWebPage),
            commands::InfoResult::IconMissing);
  EXPECT_TRUE(received->empty());
}

TEST_F(Commands, GetInfoWithoutAnIMWaitsForNothing) {
  const uint64_t start = desktop().NowMs();
  EXPECT_EQ(commands::ClickGetInfo(main(), commands::kIconSendMail), commands::InfoResult::NoIM);
  EXPECT_EQ(desktop().NowMs(), start);
}

TEST_F(CommandsAol7, GetInfoButtonShowsTheMenuForANonMember) {
  const HWND carl = Adopt("Carl", false);
  ASSERT_NE(carl, 0u);
  ASSERT_EQ(main().AOButtonGetProfile.Caption(), "Get Info");
  ASSERT_EQ(main().AOButtonMail.Caption(), "Get Profile");
  const HWND button = ClientWindow(carl, "_AOL_Button", "Profile");

  desktop().AnswerNextPopupMenu("Send Mail");
  const size_t popups = testevents::Count(desktop(), sim::Event::Kind::PopupMenu);
  Press(main().AOButtonGetProfile);
  desktop().RunFor(200);
  EXPECT_TRUE(MessagesOf(button).empty());
  EXPECT_EQ(testevents::Count(desktop(), sim::Event::Kind::PopupMenu), popups + 1);
  EXPECT_EQ(LastPopupChoice(), "");  // hidden for a non-member
  EXPECT_FALSE(main().mnuSendMail->Visible());
  EXPECT_FALSE(main().mnuViewWebPage->Visible());
  EXPECT_TRUE(main().mnuSignOnaFriend->Visible());
  EXPECT_TRUE(main().mnuViewProfile->Visible());
  RECT holder;
  GetWindowRect(main().Picture2.hwnd(), holder);
  EXPECT_EQ(main().Left(), holder.left + 150);
  EXPECT_EQ(main().Top(), holder.bottom - 203);
}

TEST_F(CommandsAol7, GetInfoMenuForAMemberWithTheListLook) {
  ASSERT_NE(Adopt("Bob"), 0u);
  main().mnuStyleSub[1]->Click();
  desktop().AnswerNextPopupMenu("");
  Press(main().AOButtonGetProfile);
  desktop().RunFor(200);
  EXPECT_TRUE(main().mnuSendMail->Visible());
  EXPECT_TRUE(main().mnuViewWebPage->Visible());
  EXPECT_TRUE(main().mnuSep8->Visible());
  EXPECT_FALSE(main().mnuSignOnaFriend->Visible());
  EXPECT_FALSE(main().mnuViewProfile->Visible());
  RECT holder;
  GetWindowRect(main().Picture2.hwnd(), holder);
  EXPECT_EQ(main().Top(), holder.bottom - 203);
}

TEST_F(CommandsAol7, GetInfoMenuForAMemberWithTabsSitsHigher) {
  ASSERT_NE(Adopt("Bob"), 0u);
  desktop().AnswerNextPopupMenu("");
  Press(main().AOButtonGetProfile);
  desktop().RunFor(200);
  RECT holder;
  GetWindowRect(main().Picture2.hwnd(), holder);
  EXPECT_EQ(main().Top(), holder.bottom - 220);
  EXPECT_TRUE(main().mnuViewProfile->Visible());
}

TEST_F(CommandsAol7, ChoosingAGetInfoItemPressesItsIcon) {
  ASSERT_NE(Adopt("Bob"), 0u);
  const std::vector<HWND> icons = InfoWindow("Info for Bob", 17);
  desktop().AnswerNextPopupMenu("Add to Address Book");
  Press(main().AOButtonGetProfile);
  desktop().RunFor(200);
  EXPECT_EQ(MessagesOf(icons[4]).size(), 3u);
  EXPECT_EQ(received->size(), 3u);
}

TEST_F(CommandsAol7, TheProfileButtonPressesTheEleventhInfoIcon) {
  ASSERT_NE(Adopt("Bob"), 0u);
  ListLook();
  const std::vector<HWND> icons = InfoWindow("Info for Bob", 17);
  Press(main().AOButtonMail);
  desktop().RunFor(200);
  EXPECT_EQ(MessagesOf(icons[10]), (std::vector<UINT>{WM_LBUTTONDOWN, WM_KEYDOWN, WM_KEYUP}));
  EXPECT_EQ(received->size(), 3u);
  EXPECT_EQ(host::FindChildByCaption("Write Mail"), 0u);
}

TEST_F(CommandsAol7, NotifyAOLForAMemberUsesTheAol7StatusStatic) {
  const HWND bob = Adopt("Bob");
  ASSERT_NE(bob, 0u);
  ClientWindow(bob, "_AOL_Button", "Profile");
  const HWND second = ClientWindow(bob, "_AOL_Button", "Notify");
  commands::NotifyAOLButton(main());
  EXPECT_EQ(widgets::CurrentMessageBox(), nullptr);
  EXPECT_EQ(MessagesOf(second).size(), 3u);
}

// A command whose window is missing stops: it never falls on a window of another program that
// happens to have the class it looks for at the top level of the desktop.
TEST_F(Commands, GetProfileWithNoIMShownPressesNothingElsewhere) {
  const HWND bob = Adopt("Bob");
  ASSERT_NE(bob, 0u);
  const HWND stranger = ClientWindow(GetDesktopWindow(), "_AOL_Button", "Format disk");
  // The person presses Get Profile just as Bob's IM closes: no IM is shown any more.
  world.client->CloseIM("Bob");
  ASSERT_TRUE(desktop().RunUntil([&] { return !IsWindow(bob); }, 2000));
  ASSERT_EQ(host::FindCurrentIM(), 0u);
  ASSERT_TRUE(IsWindowVisible(main().AOButtonGetProfile.hwnd()));
  Press(main().AOButtonGetProfile);
  desktop().RunFor(200);
  EXPECT_TRUE(MessagesOf(stranger).empty());
}

TEST_F(Commands, MailThatFindsNoWriteMailWindowTypesNowhere) {
  ASSERT_NE(Adopt("Bob"), 0u);
  ListLook();
  const HWND stranger = ClientWindow(GetDesktopWindow(), "_AOL_Edit", "");
  // The client is slow: its Write Mail window does not come within the time-out.
  desktop().AddResponder([this] {
    sim::Desktop::ProcessScope client(desktop(), world.aol);
    DestroyWindow(host::FindChildByCaption("Write Mail"));
    return false;
  });
  Press(main().AOButtonMail);
  desktop().RunFor(commands::kWriteMailWaitMs + 2000);
  EXPECT_EQ(GetWindowText(stranger), "");
}

}  // namespace
