// Float Mode as the person uses it: chosen from the Options menu, with IMs before and after, the
// floating window resized, and the program left while floating.
#include <gtest/gtest.h>

#include "host/window_access.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"
#include "support/ui_person.h"
#include "support/widgets_person.h"
#include "widgets/message_box.h"

namespace {

using namespace platform;
using clientsim::Layout;
using containerfix::Rect;
using containerfix::World;

constexpr const char* kHostMenu = "Palli&on \xB2\xB7\xBA";

Rect ClientOnScreen(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, r);
  POINT p{0, 0};
  ClientToScreen(hwnd, p);
  return {p.x, p.y, r.Width(), r.Height()};
}

class FloatMode : public ::testing::Test {
 protected:
  FloatMode() : world(Options()) {}
  ~FloatMode() override { widgets::DestroyMessageBoxes(); }
  static containerfix::WorldOptions Options() {
    auto options = containerfix::OptionsFor(Layout::Aol6);
    options.allParts = true;
    return options;
  }
  container::MainWindow& main() { return *world.main; }
  HWND Floating() { return main().frmIMFloat().hwnd(); }

  // With an IM shown, through the Options button's menu.
  void ChooseFloatModeFromTheButtonBar() {
    person.AnswerNextPopup("Float Mode");
    person.Click(main().AOButtonOptions);
    world.desktop.RunFor(100);
  }
  // Before any IM, when the container is hidden, through the main window's Options menu.
  void ChooseFloatModeFromTheMenu() {
    ASSERT_TRUE(person.ChooseMenu(main(), {"Options", "Float Mode"}));
    world.desktop.RunFor(100);
  }

  World world;
  uitest::Person person{world.desktop};
};

TEST_F(FloatMode, ChosenBeforeAnyIMTheIMsThatComeAreShown) {
  ChooseFloatModeFromTheMenu();
  ASSERT_TRUE(main().FloatMode());
  world.client->ReceiveIM("Bob", "hello");
  ASSERT_TRUE(world.WaitAdopted("Bob", 3000));
  world.desktop.RunFor(2000);

  const HWND bob = world.client->IMWindow("Bob");
  EXPECT_EQ(GetParent(world.container), Floating());
  EXPECT_TRUE(IsWindowVisible(world.container));
  EXPECT_EQ(host::FindCurrentIM(), bob);
  EXPECT_TRUE(IsWindowVisible(host::FindIMInput()));
  // What the person sees in the floating window is Bob's conversation, not an empty window.
  const Rect view = ClientOnScreen(FindWindowEx(bob, 0, "RICHCNTL", nullptr));
  gfx::Canvas screen = world.desktop.RenderScreen();
  EXPECT_EQ(screen.GetPixel(view.x + view.w - 4, view.y + view.h - 4), 0xFFFFFFu);
}

TEST_F(FloatMode, AfterTheLastIMClosedTheNextIMIsShown) {
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello"), 0u);
  ChooseFloatModeFromTheButtonBar();
  ASSERT_TRUE(main().FloatMode());
  widgets_person::AnswerNextMessageBox(world.desktop, "Yes");
  person.Click(main().AOButtonCloseIM);
  world.desktop.RunFor(1000);
  ASSERT_EQ(world.client->IMWindow("Bob"), 0u);
  EXPECT_FALSE(IsWindowVisible(world.container));

  const HWND carl = world.ReceiveAndAdopt("Carl", "hi");
  ASSERT_NE(carl, 0u);
  EXPECT_TRUE(IsWindowVisible(world.container));
  EXPECT_EQ(GetParent(world.container), Floating());
  EXPECT_TRUE(IsWindowVisible(FindWindowEx(carl, 0, "RICHCNTL", nullptr)));
}

TEST_F(FloatMode, TheContainerFillsTheFloatingWindowWithoutItsFrame) {
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello"), 0u);
  ChooseFloatModeFromTheButtonBar();
  ASSERT_TRUE(IsWindowVisible(Floating()));
  // The floating window opens at 120, 120, 380 x 360: a 4-pixel frame and an 18-pixel caption
  // leave a client area of 372 x 334 at 124, 142. The container's own client area is exactly
  // that area; its frame and caption lie outside it, clipped away.
  ASSERT_EQ(containerfix::ScreenRect(Floating()), (Rect{120, 120, 380, 360}));
  EXPECT_EQ(ClientOnScreen(world.container), (Rect{124, 142, 372, 334}));
  EXPECT_EQ(containerfix::ScreenRect(world.container), (Rect{120, 120, 380, 360}));
  // The panels start at the client area's corner and reach its right edge.
  EXPECT_EQ(containerfix::ScreenRect(main().Picture1.hwnd()), (Rect{124, 142, 375, 333}));

  // The person makes the floating window larger: the container follows.
  MoveWindow(Floating(), 60, 40, 500, 420, true);
  world.desktop.RunFor(50);
  EXPECT_EQ(ClientOnScreen(world.container), (Rect{64, 62, 492, 394}));
  EXPECT_EQ(containerfix::ScreenRect(main().Picture1.hwnd()), (Rect{64, 62, 495, 393}));
}

TEST_F(FloatMode, ExitWhileFloatingHandsTheIMsBackAndSavesTheContainersOwnPlace) {
  const HWND bob = world.ReceiveAndAdopt("Bob", "hello");
  const HWND carl = world.ReceiveAndAdopt("Carl", "hi");
  ASSERT_NE(carl, 0u);
  ChooseFloatModeFromTheButtonBar();
  ASSERT_TRUE(main().FloatMode());
  MoveWindow(Floating(), 30, 30, 420, 400, true);
  world.desktop.RunFor(50);

  ASSERT_TRUE(world.desktop.ChooseMenuItem(world.client->MainWindow(), {kHostMenu, "E&xit"}));
  world.desktop.RunFor(5000);
  ASSERT_FALSE(world.desktop.ProcessAlive(world.program));

  // Neither conversation was closed: both are the client's again, where it opens IMs.
  const HWND mdi = world.client->MdiClient();
  POINT origin{0, 0};
  ClientToScreen(mdi, origin);
  for (HWND im : {bob, carl}) {
    ASSERT_TRUE(IsWindow(im));
    EXPECT_EQ(GetParent(im), mdi);
    EXPECT_EQ(containerfix::ScreenRect(im), (Rect{origin.x + 220, origin.y + 125, 390, 300}));
  }
  // The place saved is where the container stood in the client (start-up put it at 250, 75,
  // 450 x 316 in the MDI area), not the floating window's.
  const auto saved = settings::ReadPlace();
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(*saved, (settings::Place{origin.x + 250, origin.y + 75, 450, 316}));
}

}  // namespace
