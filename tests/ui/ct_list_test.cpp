#include "ui/ct_list.h"

#include "ui/ui_fixture.h"

namespace uitest {
namespace {

class CtListTest : public UiTest {
 protected:
  CtListTest() : list(form->Add<ui::ctList>("ctList1", 4, 4, 200, 150)) {
    list.OnCurrentRowChanged = [this] { changes.push_back(list.ListIndex()); };
    list.OnClick = [this] { ++clicks; };
  }
  ui::ctList& list;
  std::vector<int> changes;
  int clicks = 0;
};

TEST_F(CtListTest, AddItemReturnsTheNewRowIndexAndFillsTheFirstCell) {
  EXPECT_EQ(list.AddItem("Bob"), 0);
  EXPECT_EQ(list.AddItem("Carl"), 1);
  EXPECT_EQ(list.AddItem("Dee"), 2);
  EXPECT_EQ(list.RowCount(), 3);
  EXPECT_EQ(list.CellText(1, 0), "Carl");
  EXPECT_EQ(list.CellText(1, 1), "");
  EXPECT_EQ(list.CellText(7, 0), "");
  EXPECT_EQ(list.ListIndex(), -1);
}

TEST_F(CtListTest, SettingTheCurrentRowFromCodeRaisesTheEventOncePerChange) {
  list.AddItem("Bob");
  list.AddItem("Carl");
  list.SetListIndex(1);
  list.SetListIndex(1);
  list.SetListIndex(0);
  list.SetListIndex(5);  // out of range: ignored
  EXPECT_EQ(changes, (std::vector<int>{1, 0}));
  EXPECT_EQ(list.ListIndex(), 0);
  EXPECT_EQ(clicks, 0);
}

TEST_F(CtListTest, RemovingARowMovesLaterRowsUp) {
  for (const char* name : {"A", "B", "C", "D"}) list.AddItem(name);
  list.SetCellPicture(2, 1, 3);
  list.SetListIndex(3);
  changes.clear();
  ASSERT_TRUE(list.RemoveItem(1));
  EXPECT_EQ(list.RowCount(), 3);
  EXPECT_EQ(list.CellText(1, 0), "C");
  EXPECT_EQ(list.CellPicture(1, 1), 3);
  EXPECT_EQ(list.ListIndex(), 2);  // still the row "D"
  EXPECT_FALSE(list.RemoveItem(3));
  EXPECT_TRUE(changes.empty());
}

TEST_F(CtListTest, RemovingTheCurrentRowLeavesNoneCurrentSoTheNextSelectionIsAChange) {
  for (const char* name : {"A", "B", "C"}) list.AddItem(name);
  list.SetListIndex(1);
  list.RemoveItem(1);
  EXPECT_EQ(list.ListIndex(), -1);
  changes.clear();
  list.SetListIndex(1);  // "C" now sits where "B" was
  EXPECT_EQ(changes, (std::vector<int>{1}));
}

TEST_F(CtListTest, ClickingARowMakesItCurrentThenRaisesClick) {
  for (const char* name : {"A", "B", "C"}) list.AddItem(name);
  int currentAtClick = -2;
  list.OnClick = [&] { currentAtClick = list.ListIndex(); };
  const int y = 2 + list.HeaderHeight() + list.RowHeight() * 2 + list.RowHeight() / 2;
  person.Click(list, 20, y);
  EXPECT_EQ(currentAtClick, 2);
  EXPECT_EQ(changes, (std::vector<int>{2}));
}

TEST_F(CtListTest, ClickingBelowTheRowsOrOnTheHeaderIsNoRowClick) {
  list.AddItem("A");
  person.Click(list, 20, 3);
  person.Click(list, 20, 140);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(list.ListIndex(), -1);
}

TEST_F(CtListTest, ArrowKeysMoveTheCurrentRow) {
  for (const char* name : {"A", "B", "C"}) list.AddItem(name);
  list.SetFocus();
  person.Press(platform::VK_DOWN);
  person.Press(platform::VK_DOWN);
  person.Press(platform::VK_UP);
  EXPECT_EQ(changes, (std::vector<int>{0, 1, 0}));
}

TEST_F(CtListTest, CurrentRowIsHighlightedAndPicturesAreDrawnInTheirCells) {
  list.AddColumn("Name", 0);
  list.AddColumn("", 20);
  list.AddColumn("", 20);
  for (auto color : {0x0000FFu, 0x00FF00u, 0xFF0000u, 0x00FFFFu}) {
    list.Pictures().AddDrawn(16, 16, color, nullptr);
  }
  list.AddItem("Bob");
  list.AddItem("Carl");
  list.SetCellPicture(0, 2, 3);
  list.SetListIndex(1);
  desktop.RunPending();
  gfx::Canvas screen = desktop.RenderScreen();
  platform::POINT origin{0, 0};
  platform::ClientToScreen(list.hwnd(), origin);
  const int rowH = list.RowHeight();
  const int top = origin.y + 2 + list.HeaderHeight();
  // Column 2 lies at the right edge (200 - 2 borders - 20 wide); its picture is centred.
  const int pictureX = origin.x + 2 + (196 - 20) + 10;
  EXPECT_EQ(screen.GetPixel(pictureX, top + rowH / 2) & 0xFFFFFF, 0xFF0000u);
  const gfx::Color highlight = platform::GetSysColor(platform::COLOR_HIGHLIGHT);
  EXPECT_EQ(screen.GetPixel(origin.x + 150, top + rowH + 1) & 0xFFFFFF, highlight);
  EXPECT_NE(screen.GetPixel(origin.x + 150, top + 1) & 0xFFFFFF, highlight);
}

}  // namespace
}  // namespace uitest

namespace uitest {
namespace {

// With more rows than fit, the scroll bar's thumb shows where the rows in view lie, and clicks
// on the arrows and the track scroll by a row and by a page.
TEST_F(CtListTest, ScrollBarThumbFollowsTheRowsInView) {
  for (int i = 0; i < 40; ++i) list.AddItem("Row " + std::to_string(i));
  desktop.RunPending();
  const int visible = (150 - 4 - list.HeaderHeight()) / list.RowHeight();
  const int barX = 200 - 2 - 8;
  const int barTop = 2 + list.HeaderHeight();
  const int barBottom = 150 - 2;
  const int track = barBottom - barTop - 32;
  const int thumb = std::max(8, track * visible / 40);
  auto pixel = [&](int x, int y) {
    platform::POINT p{x, y};
    platform::ClientToScreen(list.hwnd(), p);
    return desktop.RenderScreen().GetPixel(p.x, p.y) & 0xFFFFFF;
  };
  // The thumb's top edge (white) at the top of the track; the track's half-tone under it.
  auto thumbTopAt = [&](int y) {
    return pixel(barX, y) == 0xFFFFFFu && pixel(barX, y + 2) == pixel(barX + 1, y + 2);
  };
  EXPECT_TRUE(thumbTopAt(barTop + 16));
  EXPECT_NE(pixel(barX, barTop + 16 + thumb + 3), pixel(barX + 1, barTop + 16 + thumb + 3))
      << "below the thumb lies the half-tone track";

  person.Click(list, barX, barBottom - 4);  // the down arrow
  EXPECT_EQ(list.TopRow(), 1);
  person.Click(list, barX, barBottom - 16 - 2);  // the track below the thumb: a page
  EXPECT_EQ(list.TopRow(), 1 + visible);
  person.Click(list, barX, barTop + 4);  // the up arrow
  EXPECT_EQ(list.TopRow(), visible);
  EXPECT_EQ(list.ListIndex(), -1) << "scrolling chooses no row";

  list.SetListIndex(39);
  EXPECT_EQ(list.TopRow(), 40 - visible);
  EXPECT_TRUE(thumbTopAt(barBottom - 16 - thumb)) << "at the end the thumb reaches the bottom";
}

}  // namespace
}  // namespace uitest
