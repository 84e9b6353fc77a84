// The container against the clients it meets: AOL 6 and AOL 7, toolbars of other heights (so
// the MDI area does not start at the usual place), the caption shapes an IM window can have,
// and a client that lays its IM windows out again whenever they are resized. What must hold in
// all of them: the IM is adopted under its screen name, laid out as the look's tables say, laid
// out again when the container is resized, and every click on the program's panels leaves the
// keyboard focus in the shown IM's input box.
#include <gtest/gtest.h>

#include <optional>

#include "host/window_access.h"
#include "platform/win32.h"
#include "support/container_fixture.h"

namespace {

using namespace platform;
using clientsim::CaptionShape;
using clientsim::Layout;
using containerfix::Rect;
using containerfix::RectIn;
using containerfix::World;

struct Variation {
  const char* name;
  Layout layout;
  int toolbarHeight;
  CaptionShape captions;
  bool away;
};

void PrintTo(const Variation& v, std::ostream* os) {
  *os << v.name;
}

const Variation kVariations[] = {
    {"Aol6", Layout::Aol6, 0, CaptionShape::ImFromTo, false},
    {"Aol7", Layout::Aol7, 0, CaptionShape::ImFromTo, false},
    {"Aol6LowToolbarInstantMessage", Layout::Aol6, 40, CaptionShape::InstantMessage, false},
    {"Aol7TallToolbarAway", Layout::Aol7, 97, CaptionShape::ImFromTo, true},
    {"Aol6InternetMessageAway", Layout::Aol6, 80, CaptionShape::InternetMessage, true},
    {"Aol7LowToolbarInstantMessageAway", Layout::Aol7, 44, CaptionShape::InstantMessage, true},
};

// A screen point inside the window where a click lands on the window itself (not on a child
// or on something lying over it).
std::optional<POINT> OpenSpot(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, r);
  for (int y = r.top + 1; y < r.bottom - 1; y += 2) {
    for (int x = r.left + 1; x < r.right - 1; x += 3) {
      if (WindowFromPoint(POINT{x, y}) == hwnd) return POINT{x, y};
    }
  }
  return std::nullopt;
}

class VariationTest : public ::testing::TestWithParam<Variation> {
 protected:
  // Style "1" is the Tabs look, "2" the List Box look; neither graphical.
  explicit VariationTest(const char* style, bool savedPlace = false)
      : world(Options(GetParam(), style, savedPlace)) {}
  static containerfix::WorldOptions Options(const Variation& v, const char* style,
                                            bool savedPlace) {
    containerfix::WorldOptions options;
    options.layout = v.layout;
    options.toolbarHeight = v.toolbarHeight;
    options.captions = v.captions;
    options.settings = {{"Style", style}, {"Graphical", "1"}};
    if (savedPlace) {
      options.settings.insert(options.settings.end(),
                              {{"Left", std::to_string(kSaved.left)},
                               {"Top", std::to_string(kSaved.top)},
                               {"Width", std::to_string(kSaved.Width())},
                               {"Height", std::to_string(kSaved.Height())}});
    }
    return options;
  }
  // A place saved at exit: the container's rectangle on the screen.
  static constexpr RECT kSaved{300, 210, 300 + 420, 210 + 380};
  bool Aol7() const { return GetParam().layout == Layout::Aol7; }

  HWND Receive(World& w, const std::string& from) {
    w.client->ReceiveIM(from, "hello from " + from, {.away = GetParam().away});
    w.desktop.RunUntil([&] { return w.client->IMWindow(from) != 0; }, 2000);
    if (!w.WaitAdopted(from, 1000)) return 0;
    w.desktop.RunFor(2000);
    return w.client->IMWindow(from);
  }
  HWND InputOf(HWND im) {
    return Aol7() ? FindWindowEx(im, 0, "RICHCNTL", nullptr)
                  : FindWindowEx(im, FindWindowEx(im, 0, "RICHCNTL", nullptr), "RICHCNTL", nullptr);
  }
  HWND ViewOf(HWND im) {
    return FindWindowEx(im, 0, Aol7() ? "RICHCNTLREADONLY" : "RICHCNTL", nullptr);
  }

  // The shown IM in the IM area; its view covers the area down to the fade bar's strip (98
  // pixels from the bottom) and its input box the last 74 pixels, whatever the client's frame.
  void ExpectLaidOut(World& w, HWND im) {
    const HWND area = w.main->IMHolder();
    const int iw = w.main->picIM.Width(), ih = w.main->picIM.Height();
    EXPECT_EQ(GetParent(im), area);
    EXPECT_EQ(RectIn(im), (Rect{-8, -26, iw + 17, ih + (Aol7() ? 128 : 109)}));
    EXPECT_EQ(RectIn(ViewOf(im), area), (Rect{0, 0, iw, ih - 98}));
    EXPECT_EQ(RectIn(InputOf(im), area), (Rect{0, ih - 74, iw, 74}));
  }

  World world;
};

class ClientVariations : public VariationTest {
 protected:
  ClientVariations() : VariationTest("1") {}
};
class ClientVariationsListLook : public VariationTest {
 protected:
  ClientVariationsListLook() : VariationTest("2") {}
};
class ClientVariationsSavedPlace : public VariationTest {
 protected:
  ClientVariationsSavedPlace() : VariationTest("1", true) {}
};

INSTANTIATE_TEST_SUITE_P(Clients, ClientVariations, ::testing::ValuesIn(kVariations),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Clients, ClientVariationsListLook, ::testing::ValuesIn(kVariations),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Clients, ClientVariationsSavedPlace, ::testing::ValuesIn(kVariations),
                         [](const auto& info) { return std::string(info.param.name); });

// Wherever the client's MDI area starts, the saved place is where the container comes back on
// the screen, and a container dragged too small grows back without moving.
TEST_P(ClientVariationsSavedPlace, PlacesAreScreenPlaces) {
  RECT r;
  ASSERT_TRUE(GetWindowRect(world.container, r));
  EXPECT_EQ(r.left, kSaved.left);
  EXPECT_EQ(r.top, kSaved.top);
  EXPECT_EQ(r.Width(), kSaved.Width());
  EXPECT_EQ(r.Height(), kSaved.Height());
  ASSERT_NE(Receive(world, "Bob"), 0u);
  POINT at{r.left, r.top};
  ScreenToClient(world.client->MdiClient(), at);
  MoveWindow(world.container, at.x, at.y, 200, 180, true);
  world.desktop.RunFor(300);
  ASSERT_TRUE(GetWindowRect(world.container, r));
  EXPECT_EQ(r.left, kSaved.left);
  EXPECT_EQ(r.top, kSaved.top);
  EXPECT_EQ(r.Width(), 250);
  EXPECT_EQ(r.Height(), 275);
}

TEST_P(ClientVariations, TheIMIsAdoptedUnderItsScreenNameAndLaidOut) {
  RECT mdi;
  GetWindowRect(world.client->MdiClient(), mdi);
  if (GetParam().toolbarHeight != 0) {
    EXPECT_NE(mdi.top, 105);
  }
  const HWND im = Receive(world, "Bob");
  ASSERT_NE(im, 0u) << GetWindowText(world.client->IMWindow("Bob"));
  ASSERT_EQ(world.main->TabStrip1.Count(), 1);
  EXPECT_EQ(world.main->TabStrip1.Item(1).caption, "Bob");
  EXPECT_EQ(world.main->ctList1.CellText(0, 0), "Bob");
  EXPECT_EQ(host::IsAOL7, Aol7());
  ExpectLaidOut(world, im);
}

TEST_P(ClientVariations, ResizingTheContainerLaysTheIMOutAgain) {
  const HWND im = Receive(world, "Bob");
  ASSERT_NE(im, 0u);
  RECT before;
  GetWindowRect(world.container, before);
  POINT at{before.left, before.top};
  ScreenToClient(world.client->MdiClient(), at);
  for (const auto& [w, h] : {std::pair{520, 460}, std::pair{330, 300}}) {
    MoveWindow(world.container, at.x, at.y, w, h, true);
    world.desktop.RunFor(300);
    RECT now;
    GetWindowRect(world.container, now);
    EXPECT_EQ(now.Width(), w);
    SCOPED_TRACE(w);
    ExpectLaidOut(world, im);
  }
}

TEST_P(ClientVariations, ClicksOnTabsAndPanelsLeaveTheFocusInTheShownInput) {
  const HWND bob = Receive(world, "Bob");
  const HWND carl = Receive(world, "Carl");
  ASSERT_NE(bob, 0u);
  ASSERT_NE(carl, 0u);
  auto& m = *world.main;
  ASSERT_TRUE(m.Frame1.Visible());  // the plain Tabs look
  auto clickTab = [&](int index) {
    const gfx::Rect r = m.TabStrip1.TabRect(index);
    POINT p{r.x + r.width / 2, r.y + r.height / 2};
    ClientToScreen(m.TabStrip1.hwnd(), p);
    world.desktop.ClickAt(p);
    world.desktop.RunFor(200);
  };
  clickTab(1);
  EXPECT_EQ(host::FindCurrentIM(), bob);
  EXPECT_EQ(GetFocus(), InputOf(bob));
  clickTab(2);
  EXPECT_EQ(host::FindCurrentIM(), carl);
  EXPECT_EQ(GetFocus(), InputOf(carl));
  // Away into the conversation, then the already chosen tab again.
  world.desktop.Click(ViewOf(carl));
  ASSERT_EQ(GetFocus(), ViewOf(carl));
  clickTab(2);
  EXPECT_EQ(GetFocus(), InputOf(carl));

  for (const ui::Control* panel : {static_cast<const ui::Control*>(&m.Picture1),
                                   static_cast<const ui::Control*>(&m.picButtonsHold),
                                   static_cast<const ui::Control*>(&m.Frame1)}) {
    SCOPED_TRACE(panel->Name());
    world.desktop.Click(ViewOf(carl));
    ASSERT_EQ(GetFocus(), ViewOf(carl));
    const auto spot = OpenSpot(panel->hwnd());
    ASSERT_TRUE(spot.has_value());
    world.desktop.ClickAt(*spot);
    world.desktop.RunFor(200);
    EXPECT_EQ(GetFocus(), InputOf(carl));
    EXPECT_EQ(host::FindCurrentIM(), carl);
  }
}

// In the List Box look a click on a row shows that IM and puts the focus in its input box.
TEST_P(ClientVariationsListLook, ClickingARowShowsThatIMAndFocusesItsInput) {
  World& listWorld = world;
  const HWND bob = Receive(listWorld, "Bob");
  const HWND carl = Receive(listWorld, "Carl");
  ASSERT_NE(bob, 0u);
  ASSERT_NE(carl, 0u);
  auto& list = listWorld.main->ctList1;
  ASSERT_TRUE(list.Visible());
  for (const auto& [row, im] : {std::pair{0, bob}, std::pair{1, carl}, std::pair{0, bob}}) {
    POINT p{40, 2 + list.HeaderHeight() + row * list.RowHeight() + list.RowHeight() / 2};
    ClientToScreen(list.hwnd(), p);
    listWorld.desktop.ClickAt(p);
    listWorld.desktop.RunFor(200);
    EXPECT_EQ(host::FindCurrentIM(), im) << row;
    EXPECT_EQ(GetFocus(), InputOf(im)) << row;
  }
}

}  // namespace
