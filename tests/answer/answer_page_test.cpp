// The "Auto Answer" page, driven as a person does: the modes, the personal switch, listed
// members and the away and personal message editors, with the files, the settings and the main
// window's menu, lists and timer checked after each step.
#include <filesystem>

#include <gtest/gtest.h>

#include "answer/answer_page.h"
#include "answer/auto_answer.h"
#include "settings/settings_store.h"
#include "support/settings_window_fixture.h"

namespace {

using settingsfix::SettingsWindowTest;
using Names = std::vector<std::string>;

class AnswerPageTest : public SettingsWindowTest {
 protected:
  AnswerPageTest() { answer::Attach(main()); }
  answer::AnswerPage& page() {
    return *window().PageAs<answer::AnswerPage>(settings::kTabAutoAnswer);
  }
  answer::MessagesEditor& editor() { return page().messages; }
  void OpenPage() {
    OpenControlPanel();
    ChooseTab("Auto Answer");
  }
  std::optional<std::string> Away(const std::string& title) {
    return ProgramFile("\\Messages\\" + title + ".Mes");
  }
  std::optional<std::string> Personal(const std::string& name) {
    return ProgramFile("\\MessagesPer\\" + name + ".Mes");
  }
};

TEST_F(AnswerPageTest, OpeningSelectsTheModeOfTheMainWindowsMenu) {
  main().mnuIManswer[answer::kModeOnlyRoom]->Click();
  OpenControlPanel();
  EXPECT_TRUE(page().optIMAnswer[6]->Value());
  EXPECT_EQ(page().optIMAnswer[6]->Caption(), "Chat Room Only");
  EXPECT_TRUE(main().TimerIMAnswer.Enabled());
}

TEST_F(AnswerPageTest, ChoosingAModeSetsTheMenuTheTimerAndTheButton) {
  OpenPage();
  Click(*page().optIMAnswer[5]);
  EXPECT_TRUE(main().mnuIManswer[answer::kModeOnlyListed]->Checked());
  EXPECT_FALSE(main().mnuIManswer[answer::kModeOff]->Checked());
  EXPECT_TRUE(main().TimerIMAnswer.Enabled());
  EXPECT_EQ(main().AOButtonIMAnswer.BackColor(), answer::kButtonOn);
  Click(*page().optIMAnswer[1]);
  EXPECT_TRUE(main().mnuIManswer[answer::kModeOff]->Checked());
  EXPECT_FALSE(main().TimerIMAnswer.Enabled());
  EXPECT_EQ(main().AOButtonIMAnswer.BackColor(), answer::kButtonOff);
}

TEST_F(AnswerPageTest, ListedMembersAreKeptTwiceAndInTheirFile) {
  OpenPage();
  for (const char* name : {"Bob", "Carl", "Bob"}) {
    AnswerBox("OK", name);
    Click(*page().AOButtonListedMembers[0]);
  }
  EXPECT_EQ(Items(page().lstListedMembers), (Names{"Bob", "Carl", "Bob"}));
  EXPECT_EQ(Items(main().lstListedMembers), (Names{"Bob", "Carl", "Bob"}));
  EXPECT_EQ(ProgramFile("\\ListedMembers.lst"), "Bob\r\nCarl\r\nBob\r\n");
  EXPECT_EQ(boxes.back().title, "Enter Screen Name:");

  // Cancel adds nothing.
  AnswerBox("Cancel", "Zed");
  Click(*page().AOButtonListedMembers[0]);
  EXPECT_EQ(page().lstListedMembers.ListCount(), 3);

  ClickItem(page().lstListedMembers, 0);
  Click(*page().AOButtonListedMembers[1]);
  EXPECT_EQ(Items(page().lstListedMembers), (Names{"Carl", "Bob"}));
  EXPECT_EQ(Items(main().lstListedMembers), (Names{"Carl", "Bob"}));
  EXPECT_EQ(ProgramFile("\\ListedMembers.lst"), "Carl\r\nBob\r\n");

  Click(*page().AOButtonListedMembers[2]);
  EXPECT_EQ(main().lstListedMembers.ListCount(), 0);
  EXPECT_EQ(ProgramFile("\\ListedMembers.lst"), "");
}

TEST_F(AnswerPageTest, TheFileIsLoadedWhenTheWindowLoads) {
  world.WriteProgramFile("\\ListedMembers.lst", "Ann,Bea\r\nCid\r\n");
  OpenControlPanel();
  EXPECT_EQ(Items(page().lstListedMembers), (Names{"Ann", "Bea", "Cid"}));
}

TEST_F(AnswerPageTest, TheFirstVisitWritesTheDefaultAwayMessage) {
  OpenPage();
  EXPECT_EQ(editor().txtAwayMessage.Text(), answer::kDefaultAwayMessage);
  EXPECT_EQ(Away("Default Message"), std::string(answer::kDefaultAwayMessage) + "\r\n");
  EXPECT_EQ(editor().ComboMessage.ListCount(), 0);
  EXPECT_EQ(editor().txtPersonalizedMessage.Text(), answer::kNoPersonalMessages);
  EXPECT_FALSE(Personal("").has_value());
  ChooseTab("General");
  ChooseTab("Auto Answer");
  EXPECT_EQ(editor().ComboMessage.Text(), "");
  ASSERT_EQ(editor().ComboMessage.ListCount(), 1);
}

TEST_F(AnswerPageTest, AwayMessagesAreWrittenChosenRenamedAndDeleted) {
  world.WriteProgramFile("\\Messages\\Lunch.Mes", "At lunch, {SN}.\r\n");
  settings::WriteSetting("LastMessage", "Lunch");
  OpenPage();
  EXPECT_EQ(editor().ComboMessage.Text(), "Lunch");
  EXPECT_EQ(editor().txtAwayMessage.Text(), "At lunch, {SN}.");

  AnswerBox("OK", "Meeting");
  Click(*editor().AOButtonIMAnswer[0]);
  EXPECT_EQ(Away("Meeting"), "\r\n");
  EXPECT_EQ(Setting("LastMessage"), "Meeting");
  TypeInto(editor().txtAwayMessage, "In a meeting");
  EXPECT_EQ(Away("Meeting"), "In a meeting\r\n");

  // The same title in other letters is refused.
  AnswerBox("OK", "lunch");
  AnswerBox("OK");
  Click(*editor().AOButtonIMAnswer[0]);
  EXPECT_EQ(boxes.back().title, "Title already exists.");

  ChooseInCombo(editor().ComboMessage, "Lunch");
  EXPECT_EQ(Setting("LastMessage"), "Lunch");
  EXPECT_EQ(editor().txtAwayMessage.Text(), "At lunch, {SN}.");

  AnswerBox("OK", "Away");
  Click(*editor().AOButtonIMAnswer[1]);
  EXPECT_FALSE(Away("Lunch").has_value());
  EXPECT_EQ(Away("Away"), "At lunch, {SN}.\r\n");
  EXPECT_EQ(Setting("LastMessage"), "Away");
  EXPECT_EQ(editor().ComboMessage.Text(), "Away");

  AnswerBox("Yes");
  Click(*editor().AOButtonIMAnswer[2]);
  EXPECT_FALSE(Away("Away").has_value());
  EXPECT_EQ(editor().ComboMessage.ListCount(), 1);
  EXPECT_EQ(editor().ComboMessage.Text(), "Meeting");
  EXPECT_EQ(Away("Meeting"), "In a meeting\r\n");
}

TEST_F(AnswerPageTest, RenamingOntoAnotherMessageIsRefusedAndKeepsBoth) {
  world.WriteProgramFile("\\Messages\\One.Mes", "first\r\n");
  world.WriteProgramFile("\\Messages\\Two.Mes", "second\r\n");
  settings::WriteSetting("LastMessage", "One");
  OpenPage();
  AnswerBox("OK", "two");
  AnswerBox("OK");
  Click(*editor().AOButtonIMAnswer[1]);
  EXPECT_EQ(boxes.back().title, "Title already exists.");
  EXPECT_EQ(Away("One"), "first\r\n");
  EXPECT_EQ(Away("Two"), "second\r\n");
}

TEST_F(AnswerPageTest, TitlesThatCannotNameAFileAreRefused) {
  OpenPage();
  for (const char* title : {"CON", "aux.txt", "a\\b", "what?", "..\\..\\x"}) {
    AnswerBox("OK", title);
    AnswerBox("OK");
    Click(*editor().AOButtonIMAnswer[0]);
    EXPECT_EQ(boxes.back().title, "Name not allowed") << title;
    EXPECT_EQ(editor().ComboMessage.ListCount(), 0) << title;
    AnswerBox("OK", title);
    AnswerBox("OK");
    Click(*editor().AOButtonPersonalized[0]);
    EXPECT_EQ(boxes.back().title, "Name not allowed") << title;
    EXPECT_EQ(editor().lstPersonalized.FindExact(title), -1) << title;
  }
}

TEST_F(AnswerPageTest, PersonalMessagesAreKeptTwiceAndInTheirFiles) {
  OpenPage();
  AnswerBox("OK", "Bob");
  Click(*editor().AOButtonPersonalized[0]);
  EXPECT_EQ(Items(editor().lstPersonalized), Names{"Bob"});
  EXPECT_EQ(Items(main().lstPersonalized), Names{"Bob"});
  EXPECT_EQ(Personal("Bob"), "\r\n");
  TypeInto(editor().txtPersonalizedMessage, "Hi Bob");
  EXPECT_EQ(Personal("Bob"), "Hi Bob\r\n");

  AnswerBox("OK", "BOB");
  AnswerBox("OK");
  Click(*editor().AOButtonPersonalized[0]);
  EXPECT_EQ(boxes.back().title, "Message already exists.");

  // Another letter case is a rename.
  AnswerBox("OK", "BOB");
  Click(*editor().AOButtonPersonalized[1]);
  EXPECT_EQ(Items(editor().lstPersonalized), Names{"BOB"});
  EXPECT_EQ(Items(main().lstPersonalized), Names{"BOB"});
  EXPECT_EQ(Personal("BOB"), "Hi Bob\r\n");

  AnswerBox("Yes");
  Click(*editor().AOButtonPersonalized[2]);
  EXPECT_EQ(editor().lstPersonalized.ListCount(), 0);
  EXPECT_EQ(main().lstPersonalized.ListCount(), 0);
  EXPECT_FALSE(Personal("BOB").has_value());
}

TEST_F(AnswerPageTest, ThePersonalSwitchWritesTheKeyAndLocksTheEditor) {
  world.WriteProgramFile("\\MessagesPer\\Bob.Mes", "Hi Bob\r\n");
  settings::WriteSetting("Personalized", "1");
  OpenPage();
  EXPECT_EQ(page().chkPersonalized.Value(), 1);
  EXPECT_EQ(editor().txtPersonalizedMessage.Text(), "Hi Bob");
  Click(page().chkPersonalized);
  EXPECT_EQ(Setting("Personalized"), "0");
  EXPECT_FALSE(editor().lstPersonalized.Enabled());
  EXPECT_FALSE(editor().txtPersonalizedMessage.Enabled());
  EXPECT_FALSE(editor().AOButtonPersonalized[0]->Enabled());
  Click(page().chkPersonalized);
  EXPECT_EQ(Setting("Personalized"), "1");
  EXPECT_TRUE(editor().AOButtonPersonalized[2]->Enabled());
}

TEST_F(AnswerPageTest, AWriteOrDeleteThatFailsIsToldAndLosesNothing) {
  world.WriteProgramFile("\\Messages\\Gone.Mes", "keep me\r\n");
  settings::WriteSetting("LastMessage", "Gone");
  OpenPage();
  // Another program puts a folder where the message's file was.
  std::filesystem::remove(world.ProgramPath("\\Messages\\Gone.Mes"));
  world.WriteProgramFile("\\Messages\\Gone.Mes\\inside.txt", "x");

  AnswerBox("OK");
  TypeInto(editor().txtAwayMessage, "a");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Message not saved");
  TypeInto(editor().txtAwayMessage, "b");
  EXPECT_EQ(boxes.size(), 1u);  // told once, not at every keystroke

  AnswerBox("Yes");
  AnswerBox("OK");
  Click(*editor().AOButtonIMAnswer[2]);
  EXPECT_EQ(boxes.back().title, "Not deleted");
  EXPECT_EQ(editor().ComboMessage.Text(), "Gone");
  EXPECT_EQ(editor().txtAwayMessage.Text().size(), 9u);  // "keep me" and what was typed
}

}  // namespace
