// What the screen shows of menus and the taskbar: a drop-down or pop-up menu is drawn while it
// is open, with the item being chosen highlighted, and gone afterwards; the taskbar has a
// button for each top-level window.
#include "gfx/canvas.h"
#include "gfx/classic.h"
#include "sim_fixture.h"

namespace platform::sim::testing {
namespace {

constexpr COLORREF kHighlight = 0x800000;  // navy: a selected menu item

class MenuDrawingTest : public SimTest {
 protected:
  MenuDrawingTest() {
    frame = Top("Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300);
    bar = desk.CreateMenu();
    file = desk.CreatePopupMenu();
    edit = desk.CreatePopupMenu();
    more = desk.CreatePopupMenu();
    desk.AppendMenu(file, MF_STRING, 101, "&New");
    desk.AppendMenu(file, MF_STRING | MF_CHECKED, 102, "&Open");
    desk.AppendMenu(file, MF_SEPARATOR, 0, "");
    desk.AppendMenu(file, MF_POPUP, more, "&More");
    desk.AppendMenu(more, MF_STRING, 201, "&Deep");
    desk.AppendMenu(more, MF_STRING, 202, "D&eeper");
    desk.AppendMenu(edit, MF_STRING, 301, "&Copy");
    desk.AppendMenu(bar, MF_POPUP, file, "&File");
    desk.AppendMenu(bar, MF_POPUP, edit, "&Edit");
    desk.SetMenu(frame, bar);
    desk.RunPending();
  }
  // Rows of the screen rectangle that hold the highlight colour.
  static std::vector<int> HighlightedRows(const gfx::Canvas& screen, RECT r) {
    std::vector<int> rows;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        if ((screen.GetPixel(x, y) & 0xFFFFFF) == kHighlight) {
          rows.push_back(y);
          break;
        }
      }
    }
    return rows;
  }
  HWND frame = 0;
  HMENU bar = 0, file = 0, edit = 0, more = 0;
};

TEST_F(MenuDrawingTest, ADropDownIsOnTheScreenWhileItIsOpen) {
  RECT client;
  desk.GetClientRect(frame, client);
  POINT origin{0, 0};
  desk.ClientToScreen(frame, origin);
  // The drop-down hangs from the menu bar into the client area, at the left.
  const RECT below{origin.x + 2, origin.y + 4, origin.x + 60, origin.y + 70};
  int shown = 0;
  std::vector<int> lit, litDeeper;
  desk.SetMenuShownListener([&] {
    ++shown;
    const gfx::Canvas screen = desk.RenderScreen();
    // Menu face, not the window's white, under the bar.
    EXPECT_EQ(screen.GetPixel(origin.x + 8, origin.y + 4) & 0xFFFFFF, 0xC0C0C0u);
    lit = HighlightedRows(screen, below);
    const int dropWidth = gfx::classic::PopupMenuWidth(
        {{"&New"}, {"&Open"}, {"", true}, {"&More", false, false, false, true}},
        gfx::classic::SystemFont());
    litDeeper = HighlightedRows(
        screen, RECT{origin.x + dropWidth + 4, origin.y, origin.x + 390, origin.y + 120});
  });
  ASSERT_TRUE(desk.ChooseMenuItem(frame, {"File", "Open"}));
  EXPECT_EQ(shown, 1);
  // "Open", the second item, is the one highlighted: one item's height, below the first.
  ASSERT_EQ(lit.size(), static_cast<size_t>(gfx::classic::kMenuItemHeight));
  EXPECT_EQ(lit.front(), origin.y + gfx::classic::kMenuBorder + gfx::classic::kMenuItemHeight);
  EXPECT_TRUE(litDeeper.empty());

  // A submenu opens beside its item, and the chosen item there is highlighted.
  ASSERT_TRUE(desk.ChooseMenuItem(frame, {"File", "More", "Deeper"}));
  EXPECT_EQ(shown, 2);
  EXPECT_FALSE(lit.empty()) << "the item leading to the submenu stays highlighted";
  ASSERT_FALSE(litDeeper.empty());

  // Closed: the window's white is back.
  const gfx::Canvas after = desk.RenderScreen();
  EXPECT_EQ(after.GetPixel(origin.x + 8, origin.y + 30) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_TRUE(HighlightedRows(after, below).empty());
}

TEST_F(MenuDrawingTest, APopUpIsDrawnAtItsPointWithTheChosenItem) {
  HMENU popup = desk.CreatePopupMenu();
  desk.AppendMenu(popup, MF_STRING, 1, "First");
  desk.AppendMenu(popup, MF_POPUP, more, "Submenu");
  desk.AnswerNextPopupMenu("Deeper");
  std::vector<int> litFirst, litSub;
  bool faceAtPoint = false;
  desk.SetMenuShownListener([&] {
    const gfx::Canvas screen = desk.RenderScreen();
    faceAtPoint = (screen.GetPixel(300 + 5, 200 + 2) & 0xFFFFFF) == 0xC0C0C0u;
    litFirst = HighlightedRows(screen, RECT{300, 200, 340, 260});
    const int width = gfx::classic::PopupMenuWidth(
        {{"First"}, {"Submenu", false, false, false, true}}, gfx::classic::SystemFont());
    litSub = HighlightedRows(screen, RECT{300 + width + 4, 200, 300 + width + 60, 280});
  });
  desk.TrackPopupMenu(popup, 0, 300, 200, frame);
  EXPECT_TRUE(faceAtPoint);
  // "Submenu" (the second item) leads to the chosen "Deeper" (the second item of its menu).
  ASSERT_EQ(litFirst.size(), static_cast<size_t>(gfx::classic::kMenuItemHeight));
  EXPECT_EQ(litFirst.front(), 200 + gfx::classic::kMenuBorder + gfx::classic::kMenuItemHeight);
  ASSERT_EQ(litSub.size(), static_cast<size_t>(gfx::classic::kMenuItemHeight));
  EXPECT_EQ(litSub.front(), litFirst.front() + gfx::classic::kMenuItemHeight);

  // Dismissed, a pop-up is shown without a highlight; near the screen's corner it opens inward.
  desk.AnswerNextPopupMenu("");
  bool inside = false;
  desk.SetMenuShownListener([&] {
    const gfx::Canvas screen = desk.RenderScreen();
    inside = (screen.GetPixel(1024 - 8, 768 - 8) & 0xFFFFFF) == 0xC0C0C0u &&
             HighlightedRows(screen, RECT{900, 600, 1024, 768}).empty();
  });
  desk.TrackPopupMenu(popup, 0, 1020, 760, frame);
  EXPECT_TRUE(inside);
}

TEST_F(MenuDrawingTest, TheTaskbarHasAButtonPerWindowAndBringsItBack) {
  const HWND second = Top("Second", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150, 150, 300, 200);
  Top("Hidden", WS_OVERLAPPEDWINDOW, 150, 150, 300, 200);
  Top("Tool", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150, 150, 300, 200, WS_EX_TOOLWINDOW);
  desk.RunPending();
  const auto buttons = desk.TaskbarButtons();
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(buttons[0].first, frame);
  EXPECT_EQ(buttons[1].first, second);
  const RECT b = buttons[0].second;
  EXPECT_GE(b.top, 768 - 28);
  const gfx::Canvas screen = desk.RenderScreen();
  EXPECT_EQ(screen.GetPixel(500, 768 - 27) & 0xFFFFFF, 0xFFFFFFu) << "the taskbar's top edge";
  EXPECT_EQ(screen.GetPixel(500, 768 - 2) & 0xFFFFFF, 0xC0C0C0u);
  // Some ink of the caption on the frame's button.
  bool ink = false;
  for (int y = b.top + 4; y < b.bottom - 4 && !ink; ++y) {
    for (int x = b.left + 4; x < b.right - 4 && !ink; ++x)
      ink = (screen.GetPixel(x, y) & 0xFFFFFF) < 0x404040u;
  }
  EXPECT_TRUE(ink);

  desk.ShowWindow(frame, SW_MINIMIZE);
  desk.ClickAt(POINT{(b.left + b.right) / 2, (b.top + b.bottom) / 2});
  EXPECT_EQ(desk.GetWindowLong(frame, GWL_STYLE) & WS_MINIMIZE, 0);
  EXPECT_EQ(desk.GetForegroundWindow(), frame);

  DesktopOptions plain;
  plain.taskbar = false;
  Desktop bare(plain);
  EXPECT_TRUE(bare.TaskbarButtons().empty());
}

}  // namespace
}  // namespace platform::sim::testing
