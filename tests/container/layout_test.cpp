#include <gtest/gtest.h>

#include <tuple>

#include "host/window_access.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"

namespace {

using namespace platform;
using clientsim::Layout;
using containerfix::Rect;
using containerfix::RectIn;
using containerfix::World;

Rect Of(const ui::Control& c) {
  return {c.Left(), c.Top(), c.Width(), c.Height()};
}
// Style ("1" tabs, "2" list box), Graphical ("1" no, "2" yes), client layout.
using Look = std::tuple<std::string, std::string, Layout>;

class Layouts : public ::testing::TestWithParam<Look> {
 protected:
  Layouts() : world(Options()) {}
  static containerfix::WorldOptions Options() {
    auto options = containerfix::OptionsFor(std::get<2>(GetParam()));
    options.settings = {{"Style", std::get<0>(GetParam())}, {"Graphical", std::get<1>(GetParam())}};
    return options;
  }
  bool Tabs() const { return std::get<0>(GetParam()) == "1"; }
  bool Graphical() const { return std::get<1>(GetParam()) == "2"; }
  bool Aol7() const { return std::get<2>(GetParam()) == Layout::Aol7; }
  World world;
};

INSTANTIATE_TEST_SUITE_P(Looks, Layouts,
                         ::testing::Combine(::testing::Values("1", "2"),
                                            ::testing::Values("1", "2"),
                                            ::testing::Values(Layout::Aol6, Layout::Aol7)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param) == "1" ? "Tabs" : "ListBox") +
                                  (std::get<1>(info.param) == "2" ? "Graphical" : "Plain") +
                                  (std::get<2>(info.param) == Layout::Aol7 ? "Aol7" : "Aol6");
                         });

TEST_P(Layouts, PanelsAndTheShownIMFollowTheTables) {
  auto& m = *world.main;
  EXPECT_EQ(m.UseTabs(), Tabs());
  EXPECT_EQ(m.Graphical(), Graphical());
  const HWND im = world.ReceiveAndAdopt("Bob", "hello");
  ASSERT_NE(im, 0u);
  RECT c;
  ASSERT_TRUE(GetWindowRect(world.container, c));
  const int cw = c.Width(), ch = c.Height();

  if (Tabs()) {
    EXPECT_TRUE(m.TabStrip1.Visible());
    EXPECT_EQ(Of(m.TabStrip1), (Rect{4, 5, cw - 16, Graphical() ? ch - 77 : ch - 35}));
    EXPECT_EQ(Of(m.picIM), (Rect{m.TabStrip1.ClientLeft(), m.TabStrip1.ClientTop() + 2,
                                 m.TabStrip1.ClientWidth(),
                                 m.TabStrip1.ClientHeight() - (Graphical() ? 2 : 43)}));
    if (Graphical()) {
      EXPECT_EQ(Of(m.picButtonsHold), (Rect{-4, ch - 72, cw + 4, 53}));
      EXPECT_FALSE(m.Frame1.Visible());
    } else {
      EXPECT_EQ(Of(m.picButtonsHold), (Rect{8, ch - 87, cw - 24, 53}));
      EXPECT_TRUE(m.Frame1.Visible());
      EXPECT_EQ(Of(m.Frame1), (Rect{10, ch - 89, cw - 28, 4}));
    }
    EXPECT_EQ(m.ctList1.Left(), 4);  // placed again after the adoption
    EXPECT_EQ(m.ctList1.Height(), 10);
    EXPECT_FALSE(m.AOButtonMail.Visible());
    EXPECT_FALSE(m.AOButtonNotifyAOL.Visible());
  } else {
    EXPECT_FALSE(m.TabStrip1.Visible());
    EXPECT_EQ(Of(m.TabStrip1), (Rect{4, ch - 72, cw - 17, 40}));
    EXPECT_TRUE(m.ctList1.Visible());
    EXPECT_FALSE(m.Frame1.Visible());
    if (Graphical()) {
      EXPECT_EQ(Of(m.picIM), (Rect{123, 5, cw - 136, ch - 78}));
      EXPECT_EQ(Of(m.picButtonsHold), (Rect{0, ch - 72, cw + 4, 53}));
      EXPECT_EQ(Of(m.ctList1), (Rect{4, 4, 115, ch - 72 - 5}));
    } else {
      EXPECT_EQ(Of(m.picIM), (Rect{123, 5, cw - 136, ch - 97}));
      EXPECT_EQ(Of(m.picButtonsHold), (Rect{4, ch - 88, cw - 17, 57}));
      EXPECT_EQ(Of(m.ctList1), (Rect{4, 4, 115, ch - 88 - 8}));
    }
    EXPECT_TRUE(m.AOButtonMail.Visible());
    EXPECT_TRUE(m.AOButtonNotifyAOL.Visible());
  }

  const int iw = m.picIM.Width(), ih = m.picIM.Height();
  EXPECT_EQ(GetParent(im), m.IMHolder());
  EXPECT_EQ(RectIn(im), (Rect{-8, -26, iw + 17, ih + (Aol7() ? 128 : 109)}));
  const HWND view = FindWindowEx(im, 0, Aol7() ? "RICHCNTLREADONLY" : "RICHCNTL", nullptr);
  const HWND input = host::FindIMInput();
  // The view and the input box cover the IM area but for the fade bar's strip between them.
  EXPECT_EQ(RectIn(view, m.IMHolder()), (Rect{0, 0, iw, ih - 98}));
  EXPECT_EQ(RectIn(input, m.IMHolder()), (Rect{0, ih - 74, iw, 74}));
  EXPECT_EQ(m.picMiddleBar.ParentHwnd(), m.IMHolder());
  EXPECT_EQ(Of(m.picMiddleBar), (Rect{0, ih - 98, iw, 24}));
  EXPECT_EQ(Of(m.picIMSide),
            Tabs() ? (Rect{cw - 33, ih - 100, 5, 28}) : (Rect{iw - 8, ih - 99, 10, 27}));

  // The button bar, in twips: 900 wide, 225 or 300 high, rows at 60 or 0 and at 360.
  const int height = Graphical() ? 20 : 15;
  const int row1 = Graphical() ? 0 : 4;
  EXPECT_EQ(Of(m.AOButtonSend), (Rect{0, row1, 60, height}));
  if (Tabs()) {
    EXPECT_EQ(Of(m.AOButtonLocate), (Rect{0, 24, 60, height}));
    EXPECT_EQ(Of(m.AOButtonIMAnswer), (Rect{77, 24, 60, height}));
    EXPECT_EQ(Of(m.AOButtonOptions), (Rect{153, 24, 60, height}));
  } else {
    EXPECT_EQ(Of(m.AOButtonLocate), (Rect{230, row1, 60, height}));
    EXPECT_EQ(Of(m.AOButtonIMAnswer), (Rect{153, 24, 60, height}));
    EXPECT_EQ(Of(m.AOButtonOptions), (Rect{230, 24, 60, height}));
    EXPECT_EQ(m.AOButtonMail.Left(), m.AOButtonSend.Left());
    EXPECT_EQ(m.AOButtonNotifyAOL.Left(), m.AOButtonCloseIM.Left());
  }
}

TEST(Layout, SwitchingTheStyleMovesTheSwitcherAndTheIMArea) {
  auto options = containerfix::OptionsFor(Layout::Aol6);
  options.settings = {{"Style", "1"}, {"Graphical", "1"}};
  World world(options);
  auto& m = *world.main;
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello"), 0u);
  EXPECT_TRUE(m.TabStrip1.Visible());
  m.mnuStyleSub[1]->Click();
  EXPECT_EQ(settings::ReadSetting("Style"), "2");
  EXPECT_TRUE(m.mnuStyleSub[1]->Checked());
  EXPECT_FALSE(m.mnuStyleSub[0]->Checked());
  EXPECT_FALSE(m.TabStrip1.Visible());
  EXPECT_EQ(m.picIM.Left(), 123);
  EXPECT_EQ(m.TabStrip1.Height(), 40);
  m.mnuStyleSub[0]->Click();
  EXPECT_EQ(settings::ReadSetting("Style"), "1");
  EXPECT_TRUE(m.TabStrip1.Visible());
  EXPECT_EQ(m.TabStrip1.Top(), 5);
  m.mnuGraphicalSub[0]->Click();
  EXPECT_EQ(settings::ReadSetting("Graphical"), "2");
  EXPECT_FALSE(m.Frame1.Visible());
}

TEST(Layout, APartlySavedPlaceLeavesTheContainerWhereTheClientOpenedIt) {
  auto options = containerfix::OptionsFor(Layout::Aol6);
  options.settings = {{"Left", "300"}, {"Top", "200"}, {"Width", "420"}};
  World world(options);
  EXPECT_EQ(RectIn(world.container), (Rect{250, 75, 450, 316}));
}

// Saved places that a damaged or hand-edited settings file may hold, and where the container then
// stands: x and y are measured from the MDI area's left and top ("right"/"bottom": that edge
// minus the size), and a size of 0 stands for the whole MDI area's.
struct DamagedPlace {
  const char* name;
  const char *left, *top, *width, *height;
  int x, y, w, h;
  bool fromRight, fromBottom;
};

class SavedPlace : public ::testing::TestWithParam<DamagedPlace> {};

INSTANTIATE_TEST_SUITE_P(
    Damaged, SavedPlace,
    ::testing::Values(DamagedPlace{"Smallest", "-2147483648", "-2147483648", "-2147483648",
                                   "-2147483648", 0, 0, 250, 275, false, false},
                      DamagedPlace{"Largest", "2147483647", "2147483647", "2147483647",
                                   "2147483647", 0, 0, 0, 0, true, true},
                      DamagedPlace{"FarLeftHuge", "-2147483648", "-2147483648", "2147483647",
                                   "2147483647", 0, 0, 0, 0, false, false},
                      DamagedPlace{"FarRightTiny", "2147483647", "2147483647", "0", "-1", 250, 275,
                                   250, 275, true, true},
                      DamagedPlace{"Zero", "0", "0", "0", "0", 0, 0, 250, 275, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(SavedPlace, IsKeptOnTheClientsAreaAndTheProgramRuns) {
  const DamagedPlace& p = GetParam();
  auto options = containerfix::OptionsFor(Layout::Aol6);
  options.settings = {{"Left", p.left}, {"Top", p.top}, {"Width", p.width}, {"Height", p.height}};
  World world(options);
  ASSERT_NE(world.main, nullptr);
  RECT mdi;
  ASSERT_TRUE(GetWindowRect(world.client->MdiClient(), mdi));
  const int w = p.w == 0 ? mdi.Width() : p.w;
  const int h = p.h == 0 ? mdi.Height() : p.h;
  const Rect expected{p.fromRight ? mdi.right - w : mdi.left + p.x,
                      p.fromBottom ? mdi.bottom - h : mdi.top + p.y, w, h};
  RECT r;
  ASSERT_TRUE(GetWindowRect(world.container, r));
  EXPECT_EQ((Rect{r.left, r.top, r.Width(), r.Height()}), expected);

  // IMs are gathered and shown as ever, and the place saved at exit is a sane one.
  const HWND bob = world.ReceiveAndAdopt("Bob", "hello");
  ASSERT_NE(bob, 0u);
  EXPECT_TRUE(IsWindowVisible(FindWindowEx(bob, 0, "RICHCNTL", nullptr)));
  world.main->ExitProgram();
  EXPECT_EQ(settings::ReadPlace(),
            (settings::Place{expected.x, expected.y, expected.w, expected.h}));
}

TEST(Layout, TheContainerSnapsToItsMinimumSize) {
  World world(containerfix::OptionsFor(Layout::Aol6));
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello"), 0u);
  MoveWindow(world.container, 100, 50, 200, 150, true);
  world.desktop.RunFor(50);
  EXPECT_EQ(RectIn(world.container), (Rect{100, 50, 250, 275}));
  MoveWindow(world.container, 100, 50, 500, 200, true);
  world.desktop.RunFor(50);
  EXPECT_EQ(RectIn(world.container), (Rect{100, 50, 500, 275}));
  EXPECT_EQ(world.main->Picture1.Width(), 500 - 5);
  EXPECT_EQ(world.main->Picture1.Height(), 275 - 27);
}

}  // namespace

namespace {

TEST(Layout, FloatModeCarriesTheContainerAndGivesItBack) {
  World world(containerfix::OptionsFor(Layout::Aol6));
  auto& m = *world.main;
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello"), 0u);
  RECT before;
  GetWindowRect(world.container, before);
  m.mnuEntertoSend[2]->Click();
  EXPECT_TRUE(m.FloatMode());
  ui::Form& floating = m.frmIMFloat();
  EXPECT_TRUE(IsWindowVisible(floating.hwnd()));
  EXPECT_EQ(GetParent(world.container), floating.hwnd());
  // A resize of the container itself is left alone while floating.
  const Rect picture = Of(m.Picture1);
  SendMessage(world.container, WM_SIZE, 0, 0);
  EXPECT_EQ(Of(m.Picture1), picture);

  RECT floated;
  GetWindowRect(world.container, floated);
  m.mnuEntertoSend[2]->Click();
  EXPECT_FALSE(m.FloatMode());
  EXPECT_EQ(GetParent(world.container), world.client->MdiClient());
  RECT after;
  GetWindowRect(world.container, after);
  EXPECT_EQ(after, floated);
  EXPECT_FALSE(IsWindowVisible(floating.hwnd()));
}

}  // namespace
