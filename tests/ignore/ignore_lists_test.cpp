#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/window_access.h"
#include "ignore/ignore_lists.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"
#include "support/widgets_person.h"
#include "widgets/message_box.h"

namespace {

using namespace platform;
using clientsim::Layout;
using containerfix::World;

bool Has(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

std::vector<std::string> Items(const ui::ListBox& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.ListCount(); ++i) items.push_back(list.List(i));
  return items;
}

TEST(IgnoreRule, NamesMatchWithoutCaseButSpacesCount) {
  EXPECT_TRUE(ignore::SameName("bob smith", "Bob Smith"));
  EXPECT_TRUE(ignore::SameName("BOB SMITH", "bob smith"));
  EXPECT_FALSE(ignore::SameName("bob smith", "BobSmith"));
  EXPECT_FALSE(ignore::SameName("bob smith", "bob smith "));
  EXPECT_TRUE(ignore::SameName("Ren\xC9", "ren\xE9"));
}

class IgnoreTest : public ::testing::TestWithParam<Layout> {
 protected:
  IgnoreTest() : world(containerfix::OptionsFor(GetParam())) { ignore::Attach(main()); }
  ~IgnoreTest() override { widgets::DestroyMessageBoxes(); }
  container::MainWindow& main() { return *world.main; }
  HWND Adopt(const std::string& name) {
    const HWND im = world.ReceiveAndAdopt(name, "hello");
    EXPECT_NE(im, 0u) << name;
    return im;
  }
  // Receives an IM and runs long enough for it to be adopted or closed.
  void Receive(const std::string& name) {
    world.client->ReceiveIM(name, "hello");
    world.desktop.RunFor(4000);
  }
  bool HasTab(const std::string& name) {
    for (int i = 1; i <= main().TabStrip1.Count(); ++i) {
      if (main().TabStrip1.Item(i).caption == name) return true;
    }
    return false;
  }
  std::string PermanentFile() {
    const auto bytes = files::ReadAll(settings::FolderPath(settings::kIgnorePermFile));
    return bytes.value_or("<missing>");
  }
  // Answers the next question and records its text and title.
  void Answer(const std::string& button) {
    widgets_person::AnswerNextMessageBox(world.desktop, button, std::nullopt, [this](auto& box) {
      prompt = box.lblText.Caption();
      title = box.lblCaption.Caption();
    });
  }

  World world;
  std::string prompt, title;
};

INSTANTIATE_TEST_SUITE_P(Layouts, IgnoreTest, containerfix::BothClients(),
                         containerfix::ClientName);

TEST_P(IgnoreTest, AnIMFromASessionListedNameIsClosedBeforeItGetsATabAndBlocked) {
  main().lstIgnoreTem.AddItem("bob smith");
  Receive("Bob Smith");
  EXPECT_FALSE(HasTab("Bob Smith"));
  EXPECT_EQ(world.client->IMWindow("Bob Smith"), 0u);
  EXPECT_EQ(world.client->BlockedNames(), std::vector<std::string>{"Bob Smith"});
  EXPECT_EQ(main().List1.ListCount(), 0);
  // The client's answer to the block command is closed, never tabbed.
  EXPECT_EQ(world.client->IMWindow("$im_off"), 0u);
  EXPECT_EQ(host::FindIMWindow(), 0u);
  EXPECT_FALSE(IsWindowVisible(world.container));
  // Spaces count: this one is adopted.
  Receive("BobSmith");
  EXPECT_TRUE(HasTab("BobSmith"));
  EXPECT_FALSE(Has(world.client->BlockedNames(), "BobSmith"));
}

TEST_P(IgnoreTest, AnIMFromAPermanentlyListedNameIsClosedAndBlocked) {
  main().lstIgnorePer.AddItem("CARL");
  Receive("carl");
  EXPECT_FALSE(HasTab("carl"));
  EXPECT_EQ(world.client->IMWindow("carl"), 0u);
  EXPECT_TRUE(Has(world.client->BlockedNames(), "carl"));
}

TEST_P(IgnoreTest, TheMenuCaptionsNameTheShownCorrespondent) {
  Adopt("Bob");
  EXPECT_EQ(main().mnuIgnore[0]->Caption(), "Only Ignore Bob this session");
  EXPECT_EQ(main().mnuIgnore[1]->Caption(), "Always Ignore Bob");
  EXPECT_EQ(main().mnuIgnore[2]->Caption(), "-");
}

TEST_P(IgnoreTest, IgnoringForTheSessionListsBlocksAndClosesTheIM) {
  Adopt("Bob");
  Adopt("Carl");
  main().TabStrip1.SetSelectedItem(1);
  world.desktop.RunFor(200);
  Answer("Yes");
  main().mnuIgnore[0]->Click();
  world.desktop.RunFor(2000);
  EXPECT_EQ(prompt, "Are you sure you want to Ignore Bob for rest of the session?");
  EXPECT_EQ(title, "Ignore Bob?");
  EXPECT_EQ(Items(main().lstIgnoreTem), std::vector<std::string>{"Bob"});
  EXPECT_EQ(main().lstIgnorePer.ListCount(), 0);
  EXPECT_TRUE(Has(world.client->BlockedNames(), "Bob"));
  EXPECT_EQ(world.client->IMWindow("Bob"), 0u);
  EXPECT_FALSE(HasTab("Bob"));
  EXPECT_TRUE(HasTab("Carl"));
  EXPECT_NE(world.client->IMWindow("Carl"), 0u);
  EXPECT_EQ(PermanentFile(), "<missing>");
}

TEST_P(IgnoreTest, IgnoringPermanentlySavesTheListWhichTheNextStartReads) {
  Adopt("Bob Smith");
  Answer("Yes");
  main().mnuIgnore[1]->Click();
  world.desktop.RunFor(2000);
  EXPECT_EQ(prompt, "Are you sure you want to Ignore Bob Smith Permanently?");
  EXPECT_EQ(title, "Ignore Bob Smith Permanently?");
  EXPECT_EQ(Items(main().lstIgnorePer), std::vector<std::string>{"Bob Smith"});
  EXPECT_EQ(main().lstIgnoreTem.ListCount(), 0);
  EXPECT_EQ(PermanentFile(), "Bob Smith\r\n");
  EXPECT_TRUE(Has(world.client->BlockedNames(), "Bob Smith"));
  EXPECT_EQ(world.client->IMWindow("Bob Smith"), 0u);
  EXPECT_EQ(main().TabStrip1.Count(), 0);
}

TEST_P(IgnoreTest, APermanentListThatCannotBeSavedIsSaidAndTheNameIsBlockedAllTheSame) {
  files::WriteAll(settings::FolderPath(settings::kIgnorePermFile), "Zed\r\n");
  Adopt("Bob");
  widgets_person::AnswerNextMessageBox(world.desktop, "Yes");
  std::string told;
  world.desktop.AddResponder([&told, this] {
    widgets::MessageBoxForm* box = widgets::CurrentMessageBox();
    if (box == nullptr || !IsWindowVisible(box->hwnd()) ||
        box->lblCaption.Caption() != "List not saved") {
      return false;
    }
    told = box->lblText.Caption();
    world.desktop.Click(box->Button(0).hwnd());
    return true;
  });
  files::LimitWrites(0);
  main().mnuIgnore[1]->Click();
  world.desktop.RunFor(2000);
  files::LimitWrites(std::nullopt);
  EXPECT_NE(told.find("could not be saved"), std::string::npos) << told;
  EXPECT_EQ(PermanentFile(), "Zed\r\n");
  EXPECT_TRUE(Has(world.client->BlockedNames(), "Bob"));
  EXPECT_EQ(world.client->IMWindow("Bob"), 0u);
}

// The file as the permanent ignore above saves it, read by the next run.
TEST(IgnoreRestart, ThePermanentListSurvivesARestart) {
  containerfix::WorldOptions options;
  options.startProgram = false;
  World next(options);
  next.WriteProgramFile(settings::kIgnorePermFile, "Bob Smith\r\n");
  ASSERT_TRUE(next.StartProgram());
  ignore::Attach(*next.main);
  EXPECT_EQ(Items(next.main->lstIgnorePer), std::vector<std::string>{"Bob Smith"});
  EXPECT_EQ(next.main->lstIgnoreTem.ListCount(), 0);
  // The start step reads the file again each time the settings are read, without doubles.
  next.main->SettingsFromINI();
  EXPECT_EQ(Items(next.main->lstIgnorePer), std::vector<std::string>{"Bob Smith"});
  next.client->ReceiveIM("bob smith", "hi again");
  next.desktop.RunFor(4000);
  EXPECT_EQ(next.client->IMWindow("bob smith"), 0u);
  EXPECT_EQ(next.main->TabStrip1.Count(), 0);
  EXPECT_TRUE(Has(next.client->BlockedNames(), "bob smith"));
}

TEST_P(IgnoreTest, AnsweringNoChangesNothing) {
  Adopt("Bob");
  for (int item : {0, 1}) {
    Answer("No");
    main().mnuIgnore[item]->Click();
    world.desktop.RunFor(1000);
    EXPECT_EQ(main().lstIgnoreTem.ListCount(), 0);
    EXPECT_EQ(main().lstIgnorePer.ListCount(), 0);
    EXPECT_TRUE(world.client->BlockedNames().empty());
    EXPECT_NE(world.client->IMWindow("Bob"), 0u);
    EXPECT_TRUE(HasTab("Bob"));
    EXPECT_EQ(PermanentFile(), "<missing>");
  }
}

TEST_P(IgnoreTest, ABoxClosedWithoutAButtonIsNotAYes) {
  Adopt("Bob");
  widgets::MessageBoxResult = "Yes";
  widgets_person::CloseNextMessageBox(world.desktop);
  main().mnuIgnore[1]->Click();
  world.desktop.RunFor(1000);
  EXPECT_EQ(main().lstIgnorePer.ListCount(), 0);
  EXPECT_TRUE(world.client->BlockedNames().empty());
  EXPECT_TRUE(HasTab("Bob"));
}

TEST_P(IgnoreTest, WithoutAnIMTheMenuAsksNothingAndBlocksNobody) {
  widgets::DestroyMessageBoxes();
  main().mnuIgnore[0]->Click();
  world.desktop.RunFor(1000);
  EXPECT_EQ(widgets::CurrentMessageBox(), nullptr);
  EXPECT_FALSE(world.client->AllIMsBlocked());
  EXPECT_EQ(main().lstIgnoreTem.ListCount(), 0);
}

}  // namespace
