#include "ui/tab_strip.h"

#include "ui/ui_fixture.h"

namespace uitest {
namespace {

class TabStripTest : public UiTest {
 protected:
  TabStripTest() : tabs(form->Add<ui::TabStrip>("TabStrip1", 4, 5, 300, 200)) {
    tabs.OnClick = [this] { clicks.push_back(tabs.SelectedItem()); };
  }
  ui::TabStrip& tabs;
  std::vector<int> clicks;
};

TEST_F(TabStripTest, TheFirstTabIsSelectedWithoutAClick) {
  EXPECT_EQ(tabs.SelectedItem(), 0);
  EXPECT_EQ(tabs.Add("Bob"), 1);
  EXPECT_EQ(tabs.Add("Carl"), 2);
  EXPECT_EQ(tabs.SelectedItem(), 1);
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(tabs.Count(), 2);
  EXPECT_EQ(tabs.Item(2).caption, "Carl");
}

TEST_F(TabStripTest, SelectingFromCodeRaisesClickLikeTheUser) {
  tabs.Add("Bob");
  tabs.Add("Carl");
  tabs.SetSelectedItem(2);
  tabs.SetSelectedItem(2);  // choosing the chosen tab shows it again
  tabs.SetSelectedItem(9);  // out of range: ignored
  EXPECT_EQ(clicks, (std::vector<int>{2, 2}));
  EXPECT_EQ(tabs.SelectedCaption(), "Carl");
}

TEST_F(TabStripTest, ClickingATabSelectsIt) {
  tabs.Add("Bob");
  tabs.Add("Carl");
  const gfx::Rect r = tabs.TabRect(2);
  person.Click(tabs, r.x + r.width / 2, r.y + r.height / 2);
  EXPECT_EQ(clicks, (std::vector<int>{2}));
  person.Click(tabs, 150, 150);  // the panel
  EXPECT_EQ(clicks.size(), 1u);
}

struct RemoveCase {
  int count;
  int selected;
  int removed;
  int selectedAfter;
  bool click;
};

class TabRemoveTest : public TabStripTest, public ::testing::WithParamInterface<RemoveCase> {};

TEST_P(TabRemoveTest, RemovingTabsKeepsOrMovesTheSelection) {
  const RemoveCase c = GetParam();
  for (int i = 0; i < c.count; ++i) tabs.Add("T" + std::to_string(i + 1));
  tabs.SetSelectedItem(c.selected);
  clicks.clear();
  ASSERT_TRUE(tabs.Remove(c.removed));
  EXPECT_EQ(tabs.SelectedItem(), c.selectedAfter);
  EXPECT_EQ(clicks.size(), c.click ? 1u : 0u);
  if (c.click) {
    EXPECT_EQ(clicks[0], c.selectedAfter);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, TabRemoveTest,
                         ::testing::Values(RemoveCase{3, 2, 2, 2, true},     // the next one
                                           RemoveCase{3, 3, 3, 2, true},     // the last: previous
                                           RemoveCase{3, 3, 1, 2, false},    // before it
                                           RemoveCase{3, 1, 3, 1, false},    // after it
                                           RemoveCase{1, 1, 1, 0, false}));  // none left

TEST_F(TabStripTest, ClientAreaLiesInsideThePanelInParentCoordinates) {
  tabs.Add("Bob");
  EXPECT_EQ(tabs.ClientLeft(), 4 + 2);
  EXPECT_EQ(tabs.ClientTop(), 5 + tabs.TabRowHeight() + 2);
  EXPECT_EQ(tabs.ClientWidth(), 296);
  EXPECT_EQ(tabs.ClientHeight(), 200 - tabs.TabRowHeight() - 4);
}

TEST_F(TabStripTest, ImagesWidenTheTabAndAreDrawnLeftOfTheCaption) {
  ui::ImageList images;
  images.AddDrawn(16, 16, 0x0000FF, nullptr);
  images.AddDrawn(16, 16, 0x00FF00, nullptr);
  tabs.SetImageList(&images);
  tabs.Add("Bob", "", 0);
  tabs.Add("Bob", "", 2);
  EXPECT_EQ(tabs.TabRect(2).width, tabs.TabRect(1).width + 16 + 3);
  tabs.SetImage(1, 1);
  EXPECT_EQ(tabs.Item(1).image, 1);
  desktop.RunPending();
  gfx::Canvas screen = desktop.RenderScreen();
  platform::POINT o{0, 0};
  platform::ClientToScreen(tabs.hwnd(), o);
  const gfx::Rect r2 = tabs.TabRect(2);
  // The unselected tab is drawn two pixels lower; its picture is centred in the tab height.
  const int py = o.y + r2.y + 2 + (r2.height - 16) / 2 + 8;
  EXPECT_EQ(screen.GetPixel(o.x + r2.x + 6 + 8, py) & 0xFFFFFF, 0x00FF00u);
}

TEST_F(TabStripTest, TheSelectedTabIsDrawnRaisedAboveTheOthers) {
  tabs.Add("Bob");
  tabs.Add("Carl");
  desktop.RunPending();
  gfx::Canvas screen = desktop.RenderScreen();
  platform::POINT o{0, 0};
  platform::ClientToScreen(tabs.hwnd(), o);
  const gfx::Rect r1 = tabs.TabRect(1), r2 = tabs.TabRect(2);
  const gfx::Color back = tabs.BackColor();
  // One pixel below the top: the selected tab's edge is there; the other tab starts lower.
  const gfx::Color selectedTop = screen.GetPixel(o.x + r1.x + r1.width / 2, o.y + r1.y) & 0xFFFFFF;
  const gfx::Color otherTop = screen.GetPixel(o.x + r2.x + r2.width / 2, o.y + r2.y) & 0xFFFFFF;
  EXPECT_NE(selectedTop, back);
  EXPECT_EQ(otherTop, back);
}

}  // namespace
}  // namespace uitest

namespace uitest {
namespace {

// Tabs that do not fit: arrows at the right end of the row scroll them, and whatever selects
// a tab brings it into view.
TEST_F(TabStripTest, TabsThatDoNotFitScrollWithArrowsAndTheSelectedOneIsShown) {
  tabs.Add("Bob");
  EXPECT_FALSE(tabs.ScrollArrowsShown());
  EXPECT_EQ(tabs.ScrollRightRect().width, 0);
  for (int i = 2; i <= 12; ++i) tabs.Add("Correspondent" + std::to_string(i));
  ASSERT_TRUE(tabs.ScrollArrowsShown());
  EXPECT_EQ(tabs.FirstShownTab(), 1);
  EXPECT_FALSE(tabs.TabFullyShown(12));

  // Pixels: the arrows are drawn over the end of the tab row; the left one is greyed.
  auto pixel = [&](int x, int y) {
    platform::POINT p{x, y};
    platform::ClientToScreen(tabs.hwnd(), p);
    return desktop.RenderScreen().GetPixel(p.x, p.y) & 0xFFFFFF;
  };
  const gfx::Rect left = tabs.ScrollLeftRect(), right = tabs.ScrollRightRect();
  EXPECT_EQ(right.Right(), 300 - 2);
  EXPECT_EQ(left.Right(), right.x);
  auto arrowInk = [&](const gfx::Rect& r) {
    int dark = 0;
    for (int y = r.y + 3; y < r.Bottom() - 3; ++y) {
      for (int x = r.x + 3; x < r.Right() - 3; ++x) dark += pixel(x, y) == 0 ? 1 : 0;
    }
    return dark;
  };
  EXPECT_EQ(arrowInk(left), 0) << "nothing to the left yet: the arrow is greyed";
  EXPECT_GT(arrowInk(right), 0);

  // Clicks on the arrows move the tabs, not the selection.
  person.Click(tabs, right.x + right.width / 2, right.y + right.height / 2);
  EXPECT_EQ(tabs.FirstShownTab(), 2);
  EXPECT_EQ(tabs.TabRect(1).width, 0);
  EXPECT_EQ(tabs.TabRect(2).x, 2);
  EXPECT_GT(arrowInk(left), 0);
  person.Click(tabs, left.x + left.width / 2, left.y + left.height / 2);
  EXPECT_EQ(tabs.FirstShownTab(), 1);
  EXPECT_EQ(tabs.SelectedItem(), 1);
  EXPECT_TRUE(clicks.empty());
  for (int i = 0; i < 20; ++i) person.Click(tabs, right.x + right.width / 2, right.y + 4);
  EXPECT_TRUE(tabs.TabFullyShown(12)) << "scrolls until the last tab shows, no further";
  EXPECT_FALSE(tabs.TabFullyShown(tabs.FirstShownTab() - 1));
  const int last = tabs.FirstShownTab();
  person.Click(tabs, right.x + right.width / 2, right.y + 4);
  EXPECT_EQ(tabs.FirstShownTab(), last);

  // A click at a tab partly under the arrows does not reach the tab hidden there.
  EXPECT_EQ(tabs.HitTest(right.x + 2, right.y + 4), 0);

  // Selecting a tab out of view scrolls to it, at either side.
  tabs.SetSelectedItem(1);
  EXPECT_EQ(tabs.FirstShownTab(), 1);
  tabs.SetSelectedItem(12);
  EXPECT_TRUE(tabs.TabFullyShown(12));
  tabs.Remove(12);  // its neighbour becomes selected and stays shown
  EXPECT_EQ(tabs.SelectedItem(), 11);
  EXPECT_TRUE(tabs.TabFullyShown(11));

  // Wider, everything fits again and the arrows go.
  tabs.Move(tabs.Left(), tabs.Top(), 2000, tabs.Height());
  EXPECT_FALSE(tabs.ScrollArrowsShown());
  EXPECT_EQ(tabs.FirstShownTab(), 1);
  // Narrower, the selected tab is kept in view.
  tabs.Move(tabs.Left(), tabs.Top(), 250, tabs.Height());
  EXPECT_TRUE(tabs.TabFullyShown(11));
}

}  // namespace
}  // namespace uitest
