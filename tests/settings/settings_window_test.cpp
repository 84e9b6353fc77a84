// The settings window: opened from the menus, its tabs and frames, and the General page driven
// as a person does, with the settings file and the main window checked after each step.
#include <gtest/gtest.h>

#include <filesystem>

#include "clientsim/client.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "settings/settings_window_general.h"
#include "startup/first_window.h"
#include "support/settings_window_fixture.h"
#include "ui/ct_list.h"
#include "ui/frame.h"

namespace {

using namespace platform;
using settingsfix::SettingsWindowTest;

class SettingsWindowFrame : public SettingsWindowTest {};

TEST_F(SettingsWindowFrame, ControlPanelOpensTheWindowAtTheGeneralPage) {
  settings::SettingsWindow& w = OpenControlPanel();
  EXPECT_TRUE(IsWindowVisible(w.hwnd()));
  EXPECT_EQ(w.Caption(), "Control Panel");
  const char* tabs[] = {"General", "Auto Answer", "Fade Features", "Ignore List", "Logging"};
  ASSERT_EQ(w.TabStrip1.Count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(w.TabStrip1.Item(i + 1).caption, tabs[i]);
  const char* frames[] = {"General", "Auto IM Answer", "Fade Features", "Ignore List"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(w.Frames[i]->Caption(), frames[i]);
  EXPECT_TRUE(w.Frames[0]->Visible());
  for (int i = 1; i < 5; ++i) EXPECT_FALSE(w.Frames[i]->Visible()) << i;
}

// True when the control is on screen where a person can click it: a click at its centre
// reaches the control itself (or a child of it), not a frame of another page over it.
bool Reachable(const ui::Control& control) {
  RECT r;
  if (!IsWindowVisible(control.hwnd()) || !GetWindowRect(control.hwnd(), r)) return false;
  HWND hit = WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  while (hit != 0 && hit != control.hwnd()) hit = GetParent(hit);
  return hit == control.hwnd();
}

TEST_F(SettingsWindowFrame, EveryPageIsReachedFromTheOptionsMenuByItsTab) {
  world.WriteProgramFile("\\Fades\\Warm.Fad", "[Fader]\r\nColors=2\r\nColor1=255\r\nColor2=0\r\n");
  world.WriteProgramFile("\\IM Logs\\Bob\\12-6-2026.txt", "Bob: hi\r\n");
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello"), 0u);
  desktop().AnswerNextPopupMenu("Control Panel");
  Click(main().AOButtonOptions);
  ASSERT_NE(settings::frmSettings(), nullptr);
  settings::SettingsWindow& w = window();
  EXPECT_TRUE(IsWindowVisible(w.hwnd()));

  struct Page {
    const char* tab;
    std::vector<std::pair<const char*, int>> controls;
  };
  const Page pages[] = {
      {"Auto Answer", {{"optIMAnswer", 1}, {"lstListedMembers", -1}}},
      {"Fade Features",
       {{"lstFades", -1},
        {"cmdColor", 1},
        {"AOButtonRandom", -1},
        {"AOButtonSave", -1},
        {"AOButtonDeleteFade", -1},
        {"picPreview", -1}}},
      {"Ignore List", {{"lstIgnoreTem", -1}, {"lstIgnorePer", -1}}},
      {"Logging",
       {{"ctListIMLogFolder", -1},
        {"ctListIMLogFile", -1},
        {"txtIMLog", -1},
        {"AOButtonIMLog", 1},
        {"AOButtonIMLog", 4},
        {"txtSearch", -1}}},
      {"General", {{"ChkOtherFrame1", 0}, {"optStyle", 1}, {"File1", -1}}},
  };
  for (const Page& page : pages) {
    ChooseTab(page.tab);
    EXPECT_EQ(w.TabStrip1.SelectedCaption(), page.tab);
    for (const auto& [name, index] : page.controls) {
      EXPECT_TRUE(Reachable(Control<ui::Control>(name, index))) << page.tab << ": " << name;
    }
    // The controls of the other pages are out of reach.
    for (const Page& other : pages) {
      if (&other == &page) continue;
      for (const auto& [name, index] : other.controls) {
        EXPECT_FALSE(Reachable(Control<ui::Control>(name, index))) << page.tab << ": " << name;
      }
    }
    if (std::string(page.tab) == "Fade Features") {
      EXPECT_EQ(Items(Control<ui::ListBox>("lstFades")), std::vector<std::string>{"Warm"});
    }
    if (std::string(page.tab) == "Logging") {
      const auto& folders = Control<ui::ctList>("ctListIMLogFolder");
      ASSERT_EQ(folders.RowCount(), 1);
      EXPECT_EQ(folders.CellText(0, 0), "Bob");
    }
  }
}

TEST_F(SettingsWindowFrame, IMIgnoreListOpensAtTheIgnoreListPage) {
  main().mnuIMSub[5]->Click();
  desktop().RunFor(100);
  ASSERT_NE(settings::frmSettings(), nullptr);
  EXPECT_EQ(window().TabStrip1.SelectedCaption(), "Ignore List");
  EXPECT_TRUE(window().Frames[3]->Visible());
  EXPECT_FALSE(window().Frames[0]->Visible());
}

TEST_F(SettingsWindowFrame, OpeningTwiceKeepsOneWindowAndClosingUnloadsIt) {
  settings::SettingsWindow& first = OpenControlPanel();
  ChooseTab("Ignore List");
  settings::SettingsWindow& again = OpenControlPanel();
  EXPECT_EQ(&first, &again);
  EXPECT_EQ(again.TabStrip1.SelectedCaption(), "Ignore List");
  SendMessage(again.hwnd(), WM_CLOSE, 0, 0);
  desktop().RunFor(50);
  EXPECT_FALSE(IsWindowVisible(again.hwnd()));
  EXPECT_FALSE(again.Loaded());
}

}  // namespace

namespace {

using settings::GeneralPage;

class GeneralPageTest : public SettingsWindowTest {
 protected:
  explicit GeneralPageTest(containerfix::WorldOptions options = {})
      : SettingsWindowTest(std::move(options)) {}
  GeneralPage& page() { return *window().PageAs<GeneralPage>(settings::kTabGeneral); }
};

TEST_F(GeneralPageTest, AnEmptySettingsFileTicksEveryOtherOptionAndWritesIt) {
  OpenControlPanel();
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(page().ChkOtherFrame1[i]->Value(), 1) << i;
    EXPECT_EQ(Setting(settings::kOtherKeys[i]), "1") << i;
    EXPECT_EQ(page().ChkOtherFrame1[i]->Caption(), settings::kOtherCaptions[i]);
  }
  EXPECT_TRUE(main().mnuEntertoSend[0]->Checked());
  EXPECT_TRUE(main().mnuEntertoSend[1]->Checked());
}

class GeneralPageStored : public GeneralPageTest {
 protected:
  GeneralPageStored() : GeneralPageTest(Stored()) {}
  static containerfix::WorldOptions Stored() {
    containerfix::WorldOptions options;
    options.settings = {{"LogIMs", "0"},
                        {"EnterKeySendsIM", "0"},
                        {"Graphical", "1"},
                        {"GraLocation", "C:\\elsewhere.gif"},
                        {"Style", "1"}};
    return options;
  }
};

TEST_F(GeneralPageStored, StoredValuesAreShownAndOnlyTheUnclearedKeysWritten) {
  const std::string before = *ProgramFile("\\Pallion.ini");
  OpenControlPanel();
  EXPECT_EQ(page().ChkOtherFrame1[4]->Value(), 0);
  EXPECT_EQ(page().ChkOtherFrame1[0]->Value(), 0);
  EXPECT_EQ(Setting("LogIMs"), "0");
  EXPECT_EQ(Setting("CloseIMs"), "1");
  EXPECT_TRUE(page().optGraphical[0]->Value());
  EXPECT_FALSE(page().File1.Enabled());
  EXPECT_EQ(page().txtGraphical.Text(), "");  // GraLocation is not read for "False"
  EXPECT_TRUE(page().optStyle[0]->Value());
  EXPECT_NE(*ProgramFile("\\Pallion.ini"), before);
}

TEST_F(GeneralPageTest, ClearingAndTickingEnterToSendFollowsInTheMenuAndTheFile) {
  OpenControlPanel();
  Click(*page().ChkOtherFrame1[0]);
  EXPECT_EQ(page().ChkOtherFrame1[0]->Value(), 0);
  EXPECT_EQ(Setting("EnterKeySendsIM"), "0");
  EXPECT_FALSE(main().mnuEntertoSend[0]->Checked());
  Click(*page().ChkOtherFrame1[1]);
  EXPECT_EQ(Setting("TabKeySwitchesIM"), "0");
  EXPECT_FALSE(main().mnuEntertoSend[1]->Checked());
  Click(*page().ChkOtherFrame1[4]);
  EXPECT_EQ(Setting("LogIMs"), "0");
  Click(*page().ChkOtherFrame1[0]);
  EXPECT_EQ(Setting("EnterKeySendsIM"), "1");
  EXPECT_TRUE(main().mnuEntertoSend[0]->Checked());
}

TEST_F(GeneralPageTest, ASettingThatCannotBeWrittenIsToldOnceUntilAWriteSucceeds) {
  OpenControlPanel();
  // Another program puts a folder where the settings file was.
  const std::string ini = world.ProgramPath("\\Pallion.ini");
  std::filesystem::remove(ini);
  std::filesystem::create_directories(std::filesystem::path(ini) / "inside");
  AnswerBox("OK");
  Click(*page().ChkOtherFrame1[0]);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Setting not saved");
  EXPECT_NE(boxes[0].text.find("EnterKeySendsIM"), std::string::npos);
  Click(*page().ChkOtherFrame1[1]);
  EXPECT_EQ(boxes.size(), 1u);

  std::filesystem::remove_all(ini);
  Click(*page().ChkOtherFrame1[1]);
  EXPECT_EQ(Setting("TabKeySwitchesIM"), "1");
  std::filesystem::remove(ini);
  std::filesystem::create_directories(std::filesystem::path(ini) / "inside");
  AnswerBox("OK");
  Click(*page().ChkOtherFrame1[4]);
  EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(GeneralPageTest, UseListBoxTurnsTheMainWindowToTheListLookAndBack) {
  world.ReceiveAndAdopt("Bob", "hi");
  OpenControlPanel();
  Click(*page().optStyle[1]);
  EXPECT_EQ(Setting("Style"), "2");
  EXPECT_TRUE(main().mnuStyleSub[1]->Checked());
  EXPECT_FALSE(main().UseTabs());
  EXPECT_TRUE(IsWindowVisible(main().ctList1.hwnd()));
  EXPECT_FALSE(IsWindowVisible(main().TabStrip1.hwnd()));
  Click(*page().optStyle[0]);
  EXPECT_EQ(Setting("Style"), "1");
  EXPECT_TRUE(main().UseTabs());
  EXPECT_TRUE(IsWindowVisible(main().TabStrip1.hwnd()));
}

TEST_F(GeneralPageTest, PictureOptionAndAPictureOfTheListChangeTheLook) {
  world.WriteProgramFile("\\WallPapers\\Stone.gif", "not a picture");
  OpenControlPanel();
  Click(*page().optGraphical[0]);
  EXPECT_EQ(Setting("Graphical"), "1");
  EXPECT_TRUE(main().mnuGraphicalSub[1]->Checked());
  EXPECT_FALSE(main().Graphical());
  EXPECT_FALSE(page().File1.Enabled());
  EXPECT_EQ(page().txtGraphical.Text(), "");

  Click(*page().optGraphical[1]);
  EXPECT_EQ(Setting("Graphical"), "2");
  EXPECT_TRUE(main().Graphical());
  EXPECT_TRUE(page().File1.Enabled());
  EXPECT_EQ(page().txtGraphical.Text(), "Default Image");

  const int stone = page().File1.FindExact("Stone.gif");
  ASSERT_GE(stone, 0);
  page().File1.SetTopIndex(stone);
  person.Click(page().File1, 20, 4 + (stone - page().File1.TopIndex()) * page().File1.ItemHeight());
  desktop().RunFor(50);
  const std::string path = page().File1Path() + "\\Stone.gif";
  EXPECT_EQ(Setting("GraLocation"), path);
  EXPECT_EQ(page().txtGraphical.Text(), path);
}

class GeneralPageEmptyLocation : public GeneralPageTest {
 protected:
  GeneralPageEmptyLocation() : GeneralPageTest(Stored()) {}
  static containerfix::WorldOptions Stored() {
    containerfix::WorldOptions options;
    options.settings = {{"Graphical", "2"}};
    return options;
  }
};

TEST_F(GeneralPageEmptyLocation, TheDefaultPictureIsWrittenOnOpening) {
  OpenControlPanel();
  const std::string fallback = settings::FolderPath(settings::kDefaultWallPaper);
  EXPECT_EQ(Setting("GraLocation"), fallback);
  EXPECT_EQ(page().txtGraphical.Text(), fallback);
  EXPECT_TRUE(page().optGraphical[1]->Value());
}

TEST_F(GeneralPageTest, BrowseCopiesAPictureFromElsewhereAndMakesItTheBackground) {
  world.WriteProgramFile("\\Downloads\\Sky.gif", "sky");
  OpenControlPanel();
  const std::string chosen = settings::FolderPath("\\Downloads\\Sky.gif");
  desktop().AnswerFileDialog(chosen);
  Click(page().AOButtonBrowse2);
  EXPECT_EQ(ProgramFile("\\WallPapers\\Sky.gif"), "sky");
  EXPECT_EQ(page().File1.Text(), "Sky.gif");
  EXPECT_EQ(Setting("GraLocation"), page().File1Path() + "\\Sky.gif");

  // Cancelling copies nothing and keeps the choice.
  desktop().AnswerFileDialog(std::nullopt);
  Click(page().AOButtonBrowse2);
  EXPECT_EQ(Setting("GraLocation"), page().File1Path() + "\\Sky.gif");
}

TEST_F(GeneralPageTest, AnotherProgramsChangeToTheFileIsKeptWhenThePageWrites) {
  OpenControlPanel();
  // Another program edits the settings file while the window is open.
  settings::WriteSetting("UrgentNews", "42");
  Click(*page().ChkOtherFrame1[2]);
  EXPECT_EQ(Setting("CloseIMs"), "0");
  EXPECT_EQ(Setting("UrgentNews"), "42");
}

}  // namespace

namespace {

// The program started as a person starts it, with its pop-up on the client's menu bar.
TEST(SettingsWindowFromTheClient, ControlPanelOfTheClientsMenuBarOpensTheWindow) {
  sim::Desktop desktop;
  const std::string folder = containerfix::EnterDesktop(desktop, "settings-start");
  desktop.CreateProcess("AOL");
  auto client = std::make_unique<clientsim::Client>(clientsim::ClientOptions{});
  client->Start();
  client->SignOn("Alice");
  const DWORD pallion = desktop.CreateProcess("Pallion");
  desktop.RunFor(1000);
  auto program = std::make_unique<startup::Program>();
  {
    sim::Desktop::ProcessScope scope(desktop, pallion);
    ASSERT_EQ(program->Start(), startup::StartResult::Running);
  }
  ASSERT_TRUE(
      desktop.ChooseMenuItem(client->MainWindow(), {"Palli&on \xB2\xB7\xBA", "&Control Panel"}));
  desktop.RunFor(100);
  ASSERT_NE(settings::frmSettings(), nullptr);
  EXPECT_TRUE(IsWindowVisible(settings::frmSettings()->hwnd()));
  EXPECT_EQ(&settings::frmSettings()->Main(), program->Main());

  // Leaving the program unloads the window with it.
  {
    sim::Desktop::ProcessScope scope(desktop, pallion);
    program->Main()->ExitProgram();
  }
  EXPECT_FALSE(settings::frmSettings()->Loaded());
  program.reset();
  client.reset();
  containerfix::LeaveDesktop(folder);
}

}  // namespace
