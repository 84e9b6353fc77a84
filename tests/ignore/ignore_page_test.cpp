// The "Ignore List" page, driven as a person does: names typed and added, chosen and removed,
// lists cleared; the main window's lists, the permanent list's file and the client's blocks
// checked after each step.
#include <algorithm>

#include <gtest/gtest.h>

#include "ignore/ignore_lists.h"
#include "ignore/ignore_page.h"
#include "platform/win32.h"
#include "support/settings_window_fixture.h"

namespace {

using settingsfix::SettingsWindowTest;
using Names = std::vector<std::string>;

bool Has(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

class IgnorePageTest : public SettingsWindowTest {
 protected:
  IgnorePageTest() { ignore::Attach(main()); }
  ignore::IgnorePage& page() {
    return *window().PageAs<ignore::IgnorePage>(settings::kTabIgnoreList);
  }
  void OpenPage() {
    OpenControlPanel();
    ChooseTab("Ignore List");
  }
  void Add(ui::TextBox& entry, int button, const std::string& name) {
    TypeInto(entry, name);
    Click(*page().AOButtonIgnoreList[button]);
    desktop().RunFor(2000);  // the block command travels through the client
  }
  std::optional<std::string> PermanentFile() { return ProgramFile("\\IgnorePerm.lst"); }
};

TEST_F(IgnorePageTest, ThePageShowsTheSessionListAndThePermanentFile) {
  world.WriteProgramFile("\\IgnorePerm.lst", "Carl\r\nDana,Eve\r\n");
  main().lstIgnoreTem.AddItem("Bob");
  OpenPage();
  EXPECT_EQ(page().lblIgnoreTem.Caption(), "Ignore List for this session only");
  EXPECT_EQ(page().lblIgnorePer.Caption(), "Permanent Ignore List");
  EXPECT_EQ(Items(page().lstIgnoreTem), Names{"Bob"});
  EXPECT_EQ(Items(page().lstIgnorePer), (Names{"Carl", "Dana", "Eve"}));
}

TEST_F(IgnorePageTest, SessionNamesAreBlockedUnblockedAndCleared) {
  OpenPage();
  Add(page().txtIgnoreTem, 0, "Bob Smith");
  EXPECT_EQ(Items(page().lstIgnoreTem), Names{"Bob Smith"});
  EXPECT_EQ(Items(main().lstIgnoreTem), Names{"Bob Smith"});
  EXPECT_TRUE(Has(world.client->BlockedNames(), "Bob Smith"));
  EXPECT_EQ(page().txtIgnoreTem.Text(), "");
  EXPECT_FALSE(PermanentFile().has_value());
  // An empty entry adds nothing.
  Click(*page().AOButtonIgnoreList[0]);
  EXPECT_EQ(page().lstIgnoreTem.ListCount(), 1);

  ClickItem(page().lstIgnoreTem, 0);
  Click(*page().AOButtonIgnoreList[1]);
  desktop().RunFor(2000);
  EXPECT_EQ(page().lstIgnoreTem.ListCount(), 0);
  EXPECT_EQ(main().lstIgnoreTem.ListCount(), 0);
  EXPECT_FALSE(Has(world.client->BlockedNames(), "Bob Smith"));

  Add(page().txtIgnoreTem, 0, "Carl");
  Click(*page().AOButtonIgnoreList[2]);
  EXPECT_EQ(page().lstIgnoreTem.ListCount(), 0);
  EXPECT_EQ(main().lstIgnoreTem.ListCount(), 0);
  // Clearing sends no unblock command.
  EXPECT_TRUE(Has(world.client->BlockedNames(), "Carl"));
}

TEST_F(IgnorePageTest, PermanentNamesReachTheFileAndRemovingOneUnblocksIt) {
  OpenPage();
  Add(page().txtIgnorePer, 3, "Bob");
  Add(page().txtIgnorePer, 3, "Carl");
  EXPECT_EQ(PermanentFile(), "Bob\r\nCarl\r\n");
  EXPECT_EQ(Items(main().lstIgnorePer), (Names{"Bob", "Carl"}));
  EXPECT_TRUE(Has(world.client->BlockedNames(), "Bob"));

  ClickItem(page().lstIgnorePer, 0);
  Click(*page().AOButtonIgnoreList[4]);
  desktop().RunFor(2000);
  EXPECT_EQ(PermanentFile(), "Carl\r\n");
  EXPECT_EQ(Items(page().lstIgnorePer), Names{"Carl"});
  EXPECT_EQ(Items(main().lstIgnorePer), Names{"Carl"});
  EXPECT_FALSE(Has(world.client->BlockedNames(), "Bob"));
  EXPECT_TRUE(Has(world.client->BlockedNames(), "Carl"));

  Click(*page().AOButtonIgnoreList[5]);
  EXPECT_EQ(PermanentFile(), "");
  EXPECT_EQ(main().lstIgnorePer.ListCount(), 0);
}

TEST_F(IgnorePageTest, AnUnblockedNameIsAdoptedAgain) {
  OpenPage();
  Add(page().txtIgnorePer, 3, "bob smith");
  world.client->ReceiveIM("Bob Smith", "hi");
  desktop().RunFor(1500);
  EXPECT_EQ(main().List1.ListCount(), 0);

  ClickItem(page().lstIgnorePer, 0);
  Click(*page().AOButtonIgnoreList[4]);
  desktop().RunFor(2000);
  EXPECT_NE(world.ReceiveAndAdopt("Bob Smith", "hello again"), 0u);
}

TEST_F(IgnorePageTest, ANameIgnoredFromTheMenuWhileThePageIsOpenStaysInTheFile) {
  world.WriteProgramFile("\\IgnorePerm.lst", "Carl\r\n");
  ignore::LoadPermanentList(main());
  OpenPage();
  // The menu lists a name for good while the page is open.
  main().lstIgnorePer.AddItem("Mallory");
  ignore::SavePermanentList(main());
  // Another program adds one to the file.
  world.WriteProgramFile("\\IgnorePerm.lst", "Carl\r\nMallory\r\nTrent\r\n");
  Add(page().txtIgnorePer, 3, "Dave");
  const std::string file = PermanentFile().value_or("");
  for (const char* name : {"Carl", "Mallory", "Trent", "Dave"}) {
    EXPECT_NE(file.find(std::string(name) + "\r\n"), std::string::npos) << name;
    EXPECT_TRUE(Has(Items(page().lstIgnorePer), name)) << name;
    EXPECT_TRUE(Has(Items(main().lstIgnorePer), name)) << name;
  }
}

TEST_F(IgnorePageTest, RemovingANameListedTwiceTakesEveryCopyFromBothLists) {
  OpenPage();
  Add(page().txtIgnorePer, 3, "Bob");
  Add(page().txtIgnorePer, 3, "Bob");
  ClickItem(page().lstIgnorePer, 0);
  Click(*page().AOButtonIgnoreList[4]);
  desktop().RunFor(2000);
  EXPECT_EQ(page().lstIgnorePer.ListCount(), 0);
  EXPECT_EQ(main().lstIgnorePer.ListCount(), 0);
  EXPECT_EQ(PermanentFile(), "");
}

}  // namespace

namespace {

TEST_F(IgnorePageTest, EnterInAnEntryBoxAddsTheNameAndEscClosesTheWindow) {
  OpenPage();
  TypeInto(page().txtIgnorePer, "Bob");
  person.Press(platform::VK_RETURN);
  desktop().RunFor(2000);
  EXPECT_EQ(Items(page().lstIgnorePer), Names{"Bob"});
  EXPECT_EQ(page().txtIgnorePer.Text(), "");
  EXPECT_EQ(PermanentFile(), "Bob\r\n");
  person.Press(platform::VK_ESCAPE);
  desktop().RunFor(50);
  EXPECT_FALSE(window().Loaded());
  EXPECT_FALSE(platform::IsWindowVisible(window().hwnd()));
}

TEST_F(IgnorePageTest, TabWalksTheEntryBoxesAndListsOfThePageShown) {
  OpenPage();
  Click(page().txtIgnoreTem);
  const std::vector<const ui::Control*> order = {&page().lstIgnoreTem, &page().txtIgnorePer,
                                                 &page().lstIgnorePer, &window().TabStrip1,
                                                 &page().txtIgnoreTem};
  for (const ui::Control* next : order) {
    person.Press(platform::VK_TAB);
    desktop().RunFor(10);
    EXPECT_TRUE(next->HasFocus()) << next->Name();
  }
  person.Press(platform::VK_TAB, 1);
  desktop().RunFor(10);
  EXPECT_TRUE(window().TabStrip1.HasFocus());
  EXPECT_EQ(page().txtIgnoreTem.Text(), "");
}

}  // namespace
