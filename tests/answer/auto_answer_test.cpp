#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "answer/answer_text.h"
#include "answer/auto_answer.h"
#include "host/window_access.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"
#include "support/desktop_events.h"

namespace {

using namespace platform;
using clientsim::Layout;
using containerfix::World;

const std::string kLink = "<A HREF=www.morvanesoftware.com>Pallion</A>";

containerfix::WorldOptions Options(Layout layout, const std::string& personalized = "0") {
  containerfix::WorldOptions options = containerfix::OptionsFor(layout);
  options.settings = {{"LastMessage", "Away"}, {"Personalized", personalized}};
  return options;
}

class AutoAnswerTest : public ::testing::TestWithParam<Layout> {
 protected:
  explicit AutoAnswerTest(const std::string& personalized = "0")
      : world(Options(GetParam(), personalized)) {
    world.WriteProgramFile("\\Messages\\Away.Mes", "Hi {sn}!\r\n");
    engine = &answer::Attach(main());
  }

  container::MainWindow& main() { return *world.main; }

  // Adopts an IM from `name`; the first one adopted is shown and so read at once.
  HWND Adopt(const std::string& name) {
    const HWND im = world.ReceiveAndAdopt(name, "hello");
    EXPECT_NE(im, 0u) << name;
    return im;
  }
  // The correspondent writes again; the IM then shows an unread message.
  void WritesAgain(const std::string& name, const std::string& text = "are you there?") {
    world.client->ReceiveIM(name, text);
    EXPECT_TRUE(world.desktop.RunUntil(
        [&] {
          return host::GetCaption(world.client->IMWindow(name)).find(">IM From:") !=
                 std::string::npos;
        },
        2000))
        << name;
  }
  bool Unread(const std::string& name) {
    return host::GetCaption(world.client->IMWindow(name)).find(">IM From:") != std::string::npos;
  }
  std::vector<std::string> SentTo(const std::string& name) const {
    std::vector<std::string> texts;
    for (const auto& sent : world.client->SentIMs()) {
      if (sent.to == name) texts.push_back(sent.text);
    }
    return texts;
  }
  size_t SentCount() const { return world.client->SentIMs().size(); }
  void Mode(int index) { main().mnuIManswer[index]->Click(); }
  std::string Away(const std::string& name) const { return "Hi " + name + "!\r\n\r" + kLink; }

  World world;
  answer::AutoAnswer* engine = nullptr;
};

INSTANTIATE_TEST_SUITE_P(Layouts, AutoAnswerTest, containerfix::BothClients(),
                         containerfix::ClientName);

TEST_P(AutoAnswerTest, TheMenuSetsTheModeTheTimerAndTheButtonColour) {
  EXPECT_EQ(answer::AnswerMode(main()), answer::kModeOff);
  EXPECT_FALSE(main().TimerIMAnswer.Enabled());
  EXPECT_EQ(main().TimerIMAnswer.Interval(), 500u);
  for (int mode : {2, 3, 4, 5, 6}) {
    Mode(mode);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(main().mnuIManswer[i]->Checked(), i == mode) << i;
    EXPECT_TRUE(main().TimerIMAnswer.Enabled());
    EXPECT_EQ(main().AOButtonIMAnswer.BackColor(), 0xCC9900u);
    EXPECT_EQ(answer::AnswerMode(main()), mode);
  }
  Mode(0);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(main().mnuIManswer[i]->Checked(), i == 0) << i;
  EXPECT_FALSE(main().TimerIMAnswer.Enabled());
  EXPECT_EQ(main().AOButtonIMAnswer.BackColor(), 0xAA6D00u);

  // The separator's index unchecks every mode and leaves the rest alone.
  Mode(5);
  answer::mnuIManswerClick(main(), 1);
  EXPECT_EQ(answer::AnswerMode(main()), -1);
  EXPECT_TRUE(main().TimerIMAnswer.Enabled());
  EXPECT_EQ(main().AOButtonIMAnswer.BackColor(), 0xCC9900u);
}

TEST_P(AutoAnswerTest, AMessageThatComesToTheShownIMIsAnsweredThoughTheClientRepaints) {
  const HWND bob = Adopt("Bob");
  Mode(answer::kModeAllIMs);
  world.desktop.RunFor(2000);
  ASSERT_EQ(GetFocus(), host::FindIMInputOf(bob));
  WritesAgain("Bob");
  {
    // The client's MDI area repaints before the answer's next round, with the keyboard in the
    // IM or elsewhere (on a button of the program's, say).
    sim::Desktop::ProcessScope scope(world.desktop, world.aol);
    SendMessage(world.client->MdiClient(), WM_PAINT, 0, 0);
    SetFocus(world.client->KeywordBox());
    SendMessage(world.client->MdiClient(), WM_PAINT, 0, 0);
  }
  EXPECT_TRUE(Unread("Bob"));
  world.desktop.RunFor(5000);
  EXPECT_EQ(SentTo("Bob"), std::vector<std::string>{Away("Bob")});
}

TEST_P(AutoAnswerTest, TheButtonPopsUpTheMenuBesideTheButtonBar) {
  world.WriteProgramFile("\\Sounds\\Menu.icp", "RIFF");
  main().mnuStyleSub[0]->Click();
  Adopt("Bob");
  RECT bar{};
  GetWindowRect(main().Picture2.hwnd(), bar);
  world.desktop.AnswerNextPopupMenu("Only Listed Members");
  // The button's Click, as the button raises it.
  ASSERT_TRUE(main().AOButtonIMAnswer.OnClick);
  main().AOButtonIMAnswer.OnClick();
  world.desktop.RunFor(100);
  EXPECT_EQ(answer::AnswerMode(main()), answer::kModeOnlyListed);
  EXPECT_EQ(main().AOButtonIMAnswer.BackColor(), 0xCC9900u);
  RECT form{};
  GetWindowRect(main().hwnd(), form);
  EXPECT_EQ(form.left, bar.left + 75);
  EXPECT_EQ(form.top, bar.bottom - 192);
  EXPECT_EQ(form.Width(), 5000);
  EXPECT_EQ(form.Height(), 5000);
  EXPECT_EQ(testevents::Count(world.desktop, sim::Event::Kind::Sound, "Menu.icp"), 1u);
  EXPECT_EQ(testevents::Count(world.desktop, sim::Event::Kind::PopupMenu, "Only Listed Members"),
            1u);

  // With the IM list instead of tabs the window goes further right.
  main().mnuStyleSub[1]->Click();
  GetWindowRect(main().Picture2.hwnd(), bar);
  world.desktop.AnswerNextPopupMenu("Off");
  engine->AOButtonIMAnswerClick();
  GetWindowRect(main().hwnd(), form);
  EXPECT_EQ(form.left, bar.left + 150);
  EXPECT_EQ(answer::AnswerMode(main()), answer::kModeOff);
  EXPECT_EQ(main().AOButtonIMAnswer.BackColor(), 0xAA6D00u);
}

TEST_P(AutoAnswerTest, AllIMsAnswersEveryUnreadIMOnceWithTheAwayMessage) {
  Adopt("Dave");
  Adopt("Bob");
  Adopt("Carl");
  ASSERT_TRUE(Unread("Bob"));
  ASSERT_TRUE(Unread("Carl"));
  ASSERT_FALSE(Unread("Dave"));
  Mode(answer::kModeAllIMs);
  world.desktop.RunFor(30000);
  EXPECT_EQ(SentTo("Bob"), std::vector<std::string>{Away("Bob")});
  EXPECT_EQ(SentTo("Carl"), std::vector<std::string>{Away("Carl")});
  EXPECT_TRUE(SentTo("Dave").empty());
  EXPECT_FALSE(Unread("Bob"));
  EXPECT_FALSE(Unread("Carl"));
  // A new message is answered again.
  WritesAgain("Carl", "hello?");
  world.desktop.RunFor(10000);
  EXPECT_EQ(SentTo("Carl").size(), 2u);
  EXPECT_EQ(SentCount(), 3u);
}

TEST_P(AutoAnswerTest, ModeOffAnswersNothing) {
  Adopt("Bob");
  Adopt("Carl");
  WritesAgain("Bob");
  world.desktop.RunFor(20000);
  EXPECT_EQ(SentCount(), 0u);
  Mode(answer::kModeAllIMs);
  Mode(answer::kModeOff);
  world.desktop.RunFor(20000);
  EXPECT_EQ(SentCount(), 0u);
  EXPECT_TRUE(Unread("Carl"));
}

TEST_P(AutoAnswerTest, AnInputBoxHoldingTextIsSkippedUntilItIsEmpty) {
  Adopt("Bob");
  const HWND carl = Adopt("Carl");
  const HWND input = host::NthChild(carl, "RICHCNTL", host::IsAOL7 ? 1 : 2);
  host::SetText(input, "I am typing");
  Mode(answer::kModeAllIMs);
  world.desktop.RunFor(5000);
  EXPECT_TRUE(SentTo("Carl").empty());
  EXPECT_EQ(host::GetText(input), "I am typing");
  host::SetText(input, "");
  world.desktop.RunFor(6000);
  EXPECT_EQ(SentTo("Carl"), std::vector<std::string>{Away("Carl")});
}

// An answer without a message would be the bare link line: nothing is sent then, whether no
// away message is chosen, its file is missing or it holds only line ends.
TEST_P(AutoAnswerTest, AnAnswerWithoutMessageTextIsNotSent) {
  settings::WriteSetting("LastMessage", "");
  Adopt("Bob");
  Adopt("Carl");
  Mode(answer::kModeAllIMs);
  world.desktop.RunFor(10000);
  settings::WriteSetting("LastMessage", "Nowhere");
  world.desktop.RunFor(10000);
  world.WriteProgramFile("\\Messages\\Blank.Mes", " \r\n\r\n");
  settings::WriteSetting("LastMessage", "Blank");
  world.desktop.RunFor(10000);
  EXPECT_EQ(SentCount(), 0u);
  EXPECT_TRUE(Unread("Carl"));
  settings::WriteSetting("LastMessage", "Away");
  world.desktop.RunFor(10000);
  EXPECT_EQ(SentTo("Carl"), std::vector<std::string>{Away("Carl")});
}

TEST_P(AutoAnswerTest, NothingIsAnsweredWhileNobodyIsSignedOn) {
  Adopt("Bob");
  Adopt("Carl");
  main().lstRoom.AddItem("left over");
  SendMessage(world.client->WelcomeWindow(), WM_CLOSE, 0, 0);
  world.desktop.RunFor(100);
  ASSERT_EQ(host::GetUserSN(), "");
  Mode(answer::kModeAllExceptRoom);
  world.desktop.RunFor(10000);
  EXPECT_EQ(SentCount(), 0u);
  EXPECT_EQ(main().lstRoom.ListCount(), 1);
}

TEST_P(AutoAnswerTest, ATickThatStartsDuringAPauseDoesNotAnswerTheSameIMTwice) {
  Adopt("Bob");
  Adopt("Carl");
  Adopt("Dave");
  WritesAgain("Bob");
  Mode(answer::kModeAllIMs);
  // Three answers take over ten seconds while the timer ticks every half second; a routine
  // started from inside them comes back at once.
  bool answeringThen = false;
  uint64_t calledAt = 0, returnedAt = 0;
  world.desktop.Schedule(2000, [&] {
    answeringThen = engine->Answering();
    calledAt = world.desktop.NowMs();
    engine->AnswerAllIMs();
    returnedAt = world.desktop.NowMs();
  });
  world.desktop.RunFor(30000);
  EXPECT_EQ(SentTo("Bob").size(), 1u);
  EXPECT_EQ(SentTo("Carl").size(), 1u);
  EXPECT_EQ(SentTo("Dave").size(), 1u);
  EXPECT_EQ(SentCount(), 3u);
  EXPECT_TRUE(answeringThen);
  EXPECT_NE(calledAt, 0u);
  EXPECT_EQ(returnedAt, calledAt);
  EXPECT_FALSE(engine->Answering());
}

TEST_P(AutoAnswerTest, AnAutomaticAnswerFromTheOtherSideIsNotAnswered) {
  Adopt("Bob");
  Mode(answer::kModeAllIMs);
  WritesAgain("Bob", "Hi Alice!\r\n\r" + kLink);
  world.desktop.RunFor(10000);
  EXPECT_TRUE(SentTo("Bob").empty());
  EXPECT_TRUE(Unread("Bob"));
  // A message written by the person is answered.
  WritesAgain("Bob", "are you there?");
  world.desktop.RunFor(10000);
  EXPECT_EQ(SentTo("Bob"), std::vector<std::string>{Away("Bob")});
}

TEST_P(AutoAnswerTest, TwoAnsweringUsersDoNotWriteToEachOtherForEver) {
  Adopt("Bob");
  Mode(answer::kModeAllIMs);
  // Bob's program answers every message Alice sends him.
  size_t seen = 0;
  for (int round = 0; round < 12; ++round) {
    if (round == 0) WritesAgain("Bob", "hi");
    world.desktop.RunFor(5000);
    const auto sent = SentTo("Bob");
    if (sent.size() > seen) {
      seen = sent.size();
      world.client->ReceiveIM("Bob", "Hi Alice!\r\n\r" + kLink);
    }
  }
  EXPECT_EQ(SentTo("Bob").size(), 1u);
}

class ChatRoomTest : public AutoAnswerTest {};
INSTANTIATE_TEST_SUITE_P(Layouts, ChatRoomTest, containerfix::BothClients(),
                         containerfix::ClientName);

TEST_P(ChatRoomTest, AllExceptChatRoomPassesOverThePeopleInTheRoom) {
  world.client->OpenChatRoom("Lobby", {"Bob Smith", "Eve"});
  world.desktop.RunFor(1000);
  Adopt("Dave");
  Adopt("BobSmith");
  Adopt("Carl");
  Mode(answer::kModeAllExceptRoom);
  world.desktop.RunUntil([&] { return !SentTo("Carl").empty(); }, 20000);
  world.desktop.RunFor(3000);
  EXPECT_TRUE(SentTo("BobSmith").empty());
  EXPECT_EQ(SentTo("Carl"), std::vector<std::string>{Away("Carl")});
  std::vector<std::string> room;
  for (int i = 0; i < main().lstRoom.ListCount(); ++i) room.push_back(main().lstRoom.List(i));
  std::sort(room.begin(), room.end());
  EXPECT_EQ(room, (std::vector<std::string>{"Bob Smith", "Eve"}));
}

TEST_P(ChatRoomTest, OnlyChatRoomAnswersOnlyThePeopleInTheRoom) {
  world.client->OpenChatRoom("Lobby", {"Bob Smith", "Eve"});
  world.desktop.RunFor(1000);
  Adopt("Dave");
  Adopt("BobSmith");
  Adopt("Carl");
  Mode(answer::kModeOnlyRoom);
  world.desktop.RunUntil([&] { return !SentTo("BobSmith").empty(); }, 20000);
  world.desktop.RunFor(3000);
  EXPECT_EQ(SentTo("BobSmith"), std::vector<std::string>{Away("BobSmith")});
  EXPECT_TRUE(SentTo("Carl").empty());
}

TEST_P(ChatRoomTest, WithoutARoomAllExceptChatRoomAnswersEverybodyAfterTheRoomPause) {
  Adopt("Dave");
  Adopt("Carl");
  main().lstRoom.AddItem("Carl");
  Mode(answer::kModeAllExceptRoom);
  const uint64_t start = world.desktop.NowMs();
  ASSERT_TRUE(world.desktop.RunUntil([&] { return !SentTo("Carl").empty(); }, 20000));
  // The room pause (two seconds), the answer's pause before sending (one second).
  EXPECT_GE(world.desktop.NowMs() - start, 3000u);
  EXPECT_EQ(main().lstRoom.ListCount(), 0);
}

class ListedTest : public AutoAnswerTest {};
INSTANTIATE_TEST_SUITE_P(Layouts, ListedTest, containerfix::BothClients(),
                         containerfix::ClientName);

TEST_P(ListedTest, AllExceptListedPassesOverListedMembers) {
  main().lstListedMembers.AddItem("bob smith");
  Adopt("Dave");
  Adopt("BobSmith");
  Adopt("Carl");
  Mode(answer::kModeAllExceptListed);
  world.desktop.RunFor(30000);
  EXPECT_TRUE(SentTo("BobSmith").empty());
  EXPECT_EQ(SentTo("Carl"), std::vector<std::string>{Away("Carl")});
}

TEST_P(ListedTest, OnlyListedAnswersListedMembersOnceEvenWhenListedTwice) {
  main().lstListedMembers.AddItem("Carl");
  main().lstListedMembers.AddItem("carl");
  Adopt("Dave");
  Adopt("BobSmith");
  Adopt("Carl");
  Mode(answer::kModeOnlyListed);
  world.desktop.RunFor(30000);
  EXPECT_TRUE(SentTo("BobSmith").empty());
  EXPECT_EQ(SentTo("Carl"), std::vector<std::string>{Away("Carl")});
}

TEST_P(ListedTest, AllExceptListedSkipsAnInputBoxHoldingText) {
  Adopt("Dave");
  const HWND carl = Adopt("Carl");
  host::SetText(host::NthChild(carl, "RICHCNTL", host::IsAOL7 ? 1 : 2), "typing");
  Mode(answer::kModeAllExceptListed);
  world.desktop.RunFor(10000);
  EXPECT_EQ(SentCount(), 0u);
}

class PersonalTest : public AutoAnswerTest {
 protected:
  PersonalTest() : AutoAnswerTest("1") {}
};
INSTANTIATE_TEST_SUITE_P(Layouts, PersonalTest, containerfix::BothClients(),
                         containerfix::ClientName);

TEST_P(PersonalTest, APersonalMessageIsChosenOverTheAwayMessage) {
  world.WriteProgramFile("\\MessagesPer\\Bob Smith.Mes", "Dear {SN}\r\nback soon\r\n");
  main().SettingsFromINI();
  ASSERT_EQ(main().lstPersonalized.ListCount(), 1);
  Adopt("Dave");
  Adopt("bobsmith");
  Mode(answer::kModeAllIMs);
  world.desktop.RunFor(10000);
  EXPECT_EQ(SentTo("bobsmith"), std::vector<std::string>{"Dear {SN}\r\nback soon\r" + kLink});

  // Switched off, the away message goes out.
  settings::WriteSetting("Personalized", "0");
  WritesAgain("bobsmith");
  world.desktop.RunFor(10000);
  ASSERT_EQ(SentTo("bobsmith").size(), 2u);
  EXPECT_EQ(SentTo("bobsmith")[1], Away("bobsmith"));
}

TEST_P(PersonalTest, ATickThatSendsAPersonalMessageAnswersNoOtherIM) {
  world.WriteProgramFile("\\MessagesPer\\Carl.Mes", "Carl, later.\r\n");
  main().SettingsFromINI();
  Adopt("Dave");
  Adopt("Carl");
  Adopt("Eve");
  WritesAgain("Dave");
  engine->AnswerAllIMs();
  EXPECT_EQ(SentTo("Dave"), std::vector<std::string>{Away("Dave")});
  EXPECT_EQ(SentTo("Carl"), std::vector<std::string>{"Carl, later.\r" + kLink});
  EXPECT_TRUE(SentTo("Eve").empty());
  EXPECT_TRUE(Unread("Eve"));
  engine->AnswerAllIMs();
  EXPECT_EQ(SentTo("Eve"), std::vector<std::string>{Away("Eve")});
  EXPECT_EQ(SentCount(), 3u);
}

TEST_P(PersonalTest, TheStartStepsFillThePersonalNamesAndTheListedMembers) {
  world.WriteProgramFile("\\MessagesPer\\Zed.Mes", "z\r\n");
  world.WriteProgramFile("\\MessagesPer\\Bob Smith.Mes", "b\r\n");
  world.WriteProgramFile("\\MessagesPer\\notes.txt", "n\r\n");
  world.WriteProgramFile("\\ListedMembers.lst", "Carl\r\nDave,Eve\r\n\r\n");
  main().SettingsFromINI();
  main().SettingsFromINI();
  ASSERT_EQ(main().lstPersonalized.ListCount(), 2);
  EXPECT_EQ(main().lstPersonalized.List(0), "Bob Smith");
  EXPECT_EQ(main().lstPersonalized.List(1), "Zed");
  EXPECT_EQ(main().lstPersonalized.ListIndex(), 0);
  ASSERT_EQ(main().lstListedMembers.ListCount(), 3);
  EXPECT_EQ(main().lstListedMembers.List(0), "Carl");
  EXPECT_EQ(main().lstListedMembers.List(1), "Dave");
  EXPECT_EQ(main().lstListedMembers.List(2), "Eve");
}

TEST(AutoAnswerStart, AttachedToALoadedWindowTheListsAreReadAtOnce) {
  containerfix::WorldOptions options;
  options.startProgram = false;
  World world(options);
  world.WriteProgramFile("\\MessagesPer\\Bob.Mes", "b\r\n");
  world.WriteProgramFile("\\ListedMembers.lst", "Carl\r\n");
  ASSERT_TRUE(world.StartProgram());
  EXPECT_EQ(world.main->lstPersonalized.ListCount(), 0);
  answer::Attach(*world.main);
  EXPECT_EQ(world.main->lstPersonalized.List(0), "Bob");
  EXPECT_EQ(world.main->lstListedMembers.List(0), "Carl");
}

}  // namespace
