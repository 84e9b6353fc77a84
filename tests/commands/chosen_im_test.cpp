// Commands and marks fall only on the IM they name: the IM asked about, the row moved to by
// keys, the tab of an IM that is still there. Driven as the person does, with IMs closed by the
// client's own box in between.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "commands/commands.h"
#include "host/window_access.h"
#include "ignore/ignore_lists.h"
#include "platform/win32.h"
#include "support/container_fixture.h"
#include "support/ui_person.h"
#include "support/widgets_person.h"
#include "widgets/message_box.h"

namespace {

using namespace platform;
using containerfix::World;

containerfix::WorldOptions Look(const char* style) {
  containerfix::WorldOptions options;
  options.settings.push_back({"Style", style});
  return options;
}

class ChosenIM : public ::testing::Test {
 protected:
  explicit ChosenIM(const char* style = "1") : world(Look(style)), person(world.desktop) {
    commands::AttachCommands(main());
    ignore::Attach(main());
  }
  ~ChosenIM() override { widgets::DestroyMessageBoxes(); }

  container::MainWindow& main() { return *world.main; }
  sim::Desktop& desktop() { return world.desktop; }

  HWND Adopt(const std::string& name, const std::string& text = "hello") {
    const HWND im = world.ReceiveAndAdopt(name, text);
    EXPECT_NE(im, 0u) << name;
    return im;
  }
  // The person closes the IM with the client's own box; its tab stays behind.
  void ClientCloses(const std::string& name) {
    const HWND im = world.client->IMWindow(name);
    world.client->CloseIM(name);
    ASSERT_TRUE(desktop().RunUntil([&] { return !IsWindow(im); }, 1000));
  }
  void ClickTab(int index) { ASSERT_TRUE(person.ClickTab(main().TabStrip1, index)); }
  void ClickRow(int row) { ASSERT_TRUE(person.ClickRow(main().ctList1, row)); }
  void CloseIM() {
    person.Click(main().AOButtonCloseIM);
    desktop().RunFor(300);
  }

  // Answers the next message box with the button, after doing `meanwhile` while it waits;
  // notes the box's title.
  void WhenAsked(const std::string& button, std::function<void()> meanwhile = {}) {
    widgets_person::AnswerNextMessageBox(desktop(), button, std::nullopt,
                                         [this, meanwhile](auto& box) {
                                           asked.push_back(box.lblCaption.Caption());
                                           if (meanwhile) meanwhile();
                                         });
  }

  std::vector<std::string> Tabs() {
    std::vector<std::string> tabs;
    for (int i = 1; i <= main().TabStrip1.Count(); ++i) {
      tabs.push_back(main().TabStrip1.Item(i).caption);
    }
    return tabs;
  }
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (int i = 0; i < main().ctList1.RowCount(); ++i)
      rows.push_back(main().ctList1.CellText(i, 0));
    return rows;
  }
  std::vector<std::string> Handles() {
    std::vector<std::string> items;
    for (int i = 0; i < main().List1.ListCount(); ++i) items.push_back(main().List1.List(i));
    return items;
  }
  static std::vector<std::string> HandlesOf(std::vector<HWND> ims) {
    std::vector<std::string> items;
    for (HWND im : ims) items.push_back(std::to_string(im));
    return items;
  }
  // The program shows `im`, named on its tab, row and caption, with its List1 item selected.
  void ExpectShown(HWND im, const std::string& name) {
    EXPECT_EQ(host::FindCurrentIM(), im);
    EXPECT_EQ(main().TabStrip1.SelectedCaption(), name);
    const int entry = main().TabStrip1.SelectedItem() - 1;
    EXPECT_EQ(main().ctList1.ListIndex(), entry);
    EXPECT_EQ(main().List1.ListIndex(), entry);
    EXPECT_EQ(main().List1.Text(), std::to_string(im));
    EXPECT_EQ(host::GetCaption(world.container), container::kCaptionPrefix + name);
  }
  bool Adopted(HWND im) { return IsWindow(im) && GetParent(im) == main().IMHolder(); }

  World world;
  uitest::Person person;
  std::vector<std::string> asked;
};

class ChosenIMInTheList : public ChosenIM {
 protected:
  ChosenIMInTheList() : ChosenIM("2") {}
};

TEST_F(ChosenIM, TheCloseQuestionKeepsToTheIMItAskedAbout) {
  const HWND bob = Adopt("Bob");
  const HWND carl = Adopt("Carl");
  ClickTab(1);
  // The box is modal to the hidden main window only: the person clicks Carl's tab meanwhile.
  WhenAsked("Yes", [this] { ClickTab(2); });
  CloseIM();
  ASSERT_EQ(asked, std::vector<std::string>{"Close Bob's IM?"});
  EXPECT_TRUE(desktop().RunUntil([&] { return !IsWindow(bob); }, 1000));
  EXPECT_TRUE(Adopted(carl));
  EXPECT_EQ(Tabs(), std::vector<std::string>{"Carl"});
  EXPECT_EQ(Rows(), std::vector<std::string>{"Carl"});
  EXPECT_EQ(Handles(), HandlesOf({carl}));
  ExpectShown(carl, "Carl");
}

TEST_F(ChosenIM, ACloseQuestionDismissedWithoutAnAnswerClosesNothing) {
  const HWND bob = Adopt("Bob");
  const HWND carl = Adopt("Carl");
  ClickTab(1);
  WhenAsked("Yes");
  CloseIM();
  ASSERT_TRUE(desktop().RunUntil([&] { return !IsWindow(bob); }, 1000));
  ASSERT_EQ(widgets::MessageBoxResult, "Yes");
  // The next question goes away without a button; the "Yes" of the last one does not count.
  widgets_person::CloseNextMessageBox(desktop());
  CloseIM();
  desktop().RunFor(1000);
  EXPECT_TRUE(Adopted(carl));
  EXPECT_EQ(Tabs(), std::vector<std::string>{"Carl"});
  ExpectShown(carl, "Carl");
}

TEST_F(ChosenIM, ChoosingTheTabOfAnIMTheClientClosedDropsItAndShowsTheNeighbour) {
  // setting Style 1, im Bob, im Carl, user-closes Carl, switch-to Carl, answer-box Yes,
  // click control AOButtonCloseIM: the question and the close both concern the IM shown.
  const HWND bob = Adopt("Bob", "one");
  Adopt("Carl", "two");
  ClientCloses("Carl");
  desktop().RunFor(1000);
  ASSERT_EQ(Tabs(), (std::vector<std::string>{"Bob", "Carl"}));
  ClickTab(2);
  EXPECT_EQ(Tabs(), std::vector<std::string>{"Bob"});
  EXPECT_EQ(Handles(), HandlesOf({bob}));
  ExpectShown(bob, "Bob");
  WhenAsked("Yes");
  CloseIM();
  EXPECT_EQ(asked, std::vector<std::string>{"Close Bob's IM?"});
  EXPECT_TRUE(desktop().RunUntil([&] { return !IsWindow(bob); }, 1000));
}

TEST_F(ChosenIM, CloseIMOnAnIMTheClientClosedClosesNoOther) {
  const HWND bob = Adopt("Bob");
  Adopt("Carl");
  ClickTab(2);
  ClientCloses("Carl");
  // Carl's tab is still the selected one; Bob's IM lies on top in the IM area.
  ASSERT_EQ(main().TabStrip1.SelectedCaption(), "Carl");
  WhenAsked("Yes");
  CloseIM();
  desktop().RunFor(1000);
  EXPECT_TRUE(asked.empty());
  EXPECT_TRUE(Adopted(bob));
  EXPECT_EQ(Tabs(), std::vector<std::string>{"Bob"});
  ExpectShown(bob, "Bob");
}

TEST_F(ChosenIM, IgnoringTheCorrespondentOfAClosedIMClosesNoOther) {
  const HWND bob = Adopt("Bob");
  Adopt("Carl");
  ClickTab(2);
  ClientCloses("Carl");
  person.AnswerNextPopup("Only Ignore Carl this session");
  WhenAsked("Yes");
  desktop().Click(main().AOButtonOptions.hwnd());
  desktop().RunFor(2000);
  EXPECT_EQ(asked, std::vector<std::string>{"Ignore Carl?"});
  EXPECT_EQ(main().lstIgnoreTem.List(0), "Carl");
  const auto blocked = world.client->BlockedNames();
  EXPECT_NE(std::find(blocked.begin(), blocked.end(), "Carl"), blocked.end());
  EXPECT_TRUE(Adopted(bob));
  EXPECT_EQ(Tabs(), std::vector<std::string>{"Bob"});
  ExpectShown(bob, "Bob");
}

TEST_F(ChosenIM, TheNeighbourChosenAfterACloseIsNeverAStaleTab) {
  const HWND bob = Adopt("Bob");
  Adopt("Carl");
  const HWND dave = Adopt("Dave");
  ClientCloses("Carl");
  ClickTab(1);
  WhenAsked("Yes");
  CloseIM();
  ASSERT_TRUE(desktop().RunUntil([&] { return !IsWindow(bob); }, 1000));
  EXPECT_EQ(Tabs(), std::vector<std::string>{"Dave"});
  EXPECT_EQ(Rows(), std::vector<std::string>{"Dave"});
  EXPECT_EQ(Handles(), HandlesOf({dave}));
  ExpectShown(dave, "Dave");
}

TEST_F(ChosenIM, ClosingTheIMShownInTheMiddleShowsTheNextOne) {
  Adopt("Bob");
  const HWND carl = Adopt("Carl");
  const HWND dave = Adopt("Dave");
  ClickTab(2);
  WhenAsked("Yes");
  CloseIM();
  ASSERT_TRUE(desktop().RunUntil([&] { return !IsWindow(carl); }, 1000));
  EXPECT_EQ(Tabs(), (std::vector<std::string>{"Bob", "Dave"}));
  EXPECT_EQ(main().ctList1.HeaderText(), "Current IMs: 2");
  ExpectShown(dave, "Dave");
}

TEST_F(ChosenIM, UnreadMarksKeepToTheirOwnTab) {
  Adopt("Bob", "one");
  const HWND carl = Adopt("Carl");
  ClickTab(2);
  ClientCloses("Bob");
  desktop().RunFor(1000);
  ASSERT_EQ(main().TabStrip1.Item(1).image, container::kTabRead);
  // Bob writes again: a new window, unread behind Carl's, with a tab and row of its own.
  const HWND again = Adopt("Bob", "two");
  ASSERT_NE(host::GetCaption(again).find(">IM From:"), std::string::npos);
  desktop().RunFor(1000);
  EXPECT_EQ(main().TabStrip1.Item(3).image, container::kTabUnread);
  EXPECT_EQ(main().ctList1.CellPicture(2, 2), container::kPicUnread);
  EXPECT_EQ(main().TabStrip1.Item(1).image, container::kTabRead);
  EXPECT_EQ(main().ctList1.CellPicture(0, 2), container::kPicRead);
  ExpectShown(carl, "Carl");
}

TEST_F(ChosenIMInTheList, ArrowKeysMoveTheShownIMAsClicksDo) {
  const HWND bob = Adopt("Bob");
  const HWND carl = Adopt("Carl");
  const HWND dave = Adopt("Dave");
  ClickRow(0);
  ExpectShown(bob, "Bob");
  // The list's header takes the keyboard without choosing a row.
  person.Click(main().ctList1, main().ctList1.ClientWidth() / 2, 4);
  person.Press(VK_DOWN);
  ExpectShown(carl, "Carl");
  WhenAsked("Yes");
  CloseIM();
  EXPECT_EQ(asked, std::vector<std::string>{"Close Carl's IM?"});
  EXPECT_TRUE(desktop().RunUntil([&] { return !IsWindow(carl); }, 1000));
  EXPECT_TRUE(Adopted(bob));
  EXPECT_TRUE(Adopted(dave));
  EXPECT_EQ(Tabs(), (std::vector<std::string>{"Bob", "Dave"}));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Bob", "Dave"}));
  EXPECT_EQ(Handles(), HandlesOf({bob, dave}));
  EXPECT_EQ(main().ctList1.HeaderText(), "Current IMs: 2");
  ExpectShown(host::FindCurrentIM(), main().TabStrip1.SelectedCaption());
  person.Click(main().ctList1, main().ctList1.ClientWidth() / 2, 4);
  person.Press(VK_UP);
  ExpectShown(bob, "Bob");
}

TEST_F(ChosenIMInTheList, ARowOfTwoFromOneNameShowsItsOwnIM) {
  const HWND first = Adopt("Bob", "one");
  const HWND carl = Adopt("Carl");
  ClientCloses("Bob");
  const HWND again = Adopt("Bob", "two");
  ASSERT_NE(again, first);
  ASSERT_EQ(Rows(), (std::vector<std::string>{"Bob", "Carl", "Bob"}));
  ClickRow(1);
  ExpectShown(carl, "Carl");
  ClickRow(2);
  ExpectShown(again, "Bob");
  EXPECT_EQ(main().TabStrip1.SelectedItem(), 3);
  // The row of the IM the client closed goes when chosen.
  ClickRow(0);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Carl", "Bob"}));
  EXPECT_EQ(Handles(), HandlesOf({carl, again}));
  EXPECT_NE(host::FindCurrentIM(), first);
  ExpectShown(host::FindCurrentIM(), main().TabStrip1.SelectedCaption());
}

}  // namespace
