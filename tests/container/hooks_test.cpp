// The program's reactions to what happens to the client's windows: the container activated and
// repainted, the client's MDI area repainted, the program's toolbar button clicked, and the
// tiled background of the graphical look.
#include <gtest/gtest.h>

#include "gfx/canvas.h"
#include "host/window_access.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"
#include "support/desktop_events.h"

namespace {

using namespace platform;
using clientsim::Layout;
using containerfix::World;

class Hooks : public ::testing::TestWithParam<Layout> {
 protected:
  Hooks() : world(containerfix::OptionsFor(GetParam())) {}
  container::MainWindow& main() { return *world.main; }
  HWND TopOfIMArea() { return GetWindow(main().IMHolder(), GW_CHILD); }
  bool Unread(HWND im) { return host::GetCaption(im).find(">IM From:") != std::string::npos; }
  // Bob's IM shown and read, then a new message from him that is not read yet.
  HWND BobWithAnUnreadMessage() {
    const HWND bob = world.ReceiveAndAdopt("Bob", "hello");
    if (bob == 0) return 0;
    world.client->ReceiveIM("Bob", "are you there?");
    world.desktop.RunUntil([&] { return Unread(bob); }, 1000);
    return bob;
  }
  // The client puts its own IM window over the program's bars, as it does when it activates it.
  void ClientRaises(HWND im) {
    sim::Desktop::ProcessScope scope(world.desktop, world.aol);
    SetWindowPos(im, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  World world;
};

INSTANTIATE_TEST_SUITE_P(Layouts, Hooks, containerfix::BothClients(), containerfix::ClientName);

TEST_P(Hooks, TheContainerActivatedPutsTheFadeBarBackOnTop) {
  const HWND bob = world.ReceiveAndAdopt("Bob", "hello");
  ASSERT_NE(bob, 0u);
  ClientRaises(bob);
  ASSERT_EQ(TopOfIMArea(), bob);
  {
    sim::Desktop::ProcessScope scope(world.desktop, world.aol);
    SendMessage(world.container, WM_NCACTIVATE, 1, 0);
  }
  EXPECT_EQ(TopOfIMArea(), main().picMiddleBar.hwnd());
}

TEST_P(Hooks, TheContainerMadeTheActiveDocumentGivesTheShownIMTheFocusButNotAsRead) {
  const HWND bob = BobWithAnUnreadMessage();
  ASSERT_TRUE(Unread(bob));
  // The client activates its document window (WM_CHILDACTIVATE), the keyboard elsewhere.
  auto activate = [&] {
    sim::Desktop::ProcessScope scope(world.desktop, world.aol);
    SetFocus(world.client->KeywordBox());
    SetWindowPos(world.container, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  };
  activate();
  EXPECT_TRUE(Unread(bob)) << "nobody has read the new message yet";
  world.desktop.Click(host::FindIMInputOf(bob));
  ASSERT_FALSE(Unread(bob));
  activate();
  EXPECT_EQ(GetFocus(), host::FindIMInputOf(bob));
}

TEST_P(Hooks, TheMDIAreaRepaintedRestoresTheBarsAndTheFocus) {
  const HWND bob = world.ReceiveAndAdopt("Bob", "hello");
  ASSERT_NE(bob, 0u);
  ClientRaises(bob);
  {
    sim::Desktop::ProcessScope scope(world.desktop, world.aol);
    SetFocus(world.client->KeywordBox());
    SendMessage(world.client->MdiClient(), WM_PAINT, 0, 0);
  }
  EXPECT_NE(TopOfIMArea(), bob);
  EXPECT_EQ(GetFocus(), host::FindIMInputOf(bob));
}

TEST_P(Hooks, TheMDIAreaRepaintedLeavesTheFocusWhenAnotherDocumentIsActive) {
  const HWND bob = BobWithAnUnreadMessage();
  ASSERT_TRUE(Unread(bob));
  {
    // The person works in a document of the client's own, above the container.
    sim::Desktop::ProcessScope scope(world.desktop, world.aol);
    BringWindowToTop(CreateWindowEx(0, "AOL Child", "Notes", WS_CHILD | WS_VISIBLE, 10, 10, 200,
                                    150, world.client->MdiClient(), 0, {}));
  }
  ASSERT_TRUE(Unread(bob));
  {
    sim::Desktop::ProcessScope scope(world.desktop, world.aol);
    SendMessage(world.client->MdiClient(), WM_PAINT, 0, 0);
  }
  EXPECT_TRUE(Unread(bob));
}

TEST_P(Hooks, AClickOnTheToolbarButtonNeverReachesIt) {
  int reached = 0;
  main().picMenuIM.OnMouseDown = [&](int, int, int, int) { ++reached; };
  main().picMenuIM.OnClick = [&] { ++reached; };
  world.desktop.AnswerNextPopupMenu("");
  world.desktop.Click(main().picMenuIM.hwnd());
  world.desktop.RunFor(100);
  EXPECT_EQ(testevents::Count(world.desktop, sim::Event::Kind::PopupMenu), 1u);
  EXPECT_EQ(reached, 0);
}

// A picture of 3 x 2 pixels, every pixel its own colour.
constexpr gfx::Color kTile[2][3] = {{0x0000FF, 0x00FF00, 0xFF0000}, {0x00FFFF, 0xFF00FF, 0xFFFF00}};

TEST(Background, TheChosenPictureIsTiledOverThePanels) {
  auto options = containerfix::OptionsFor(Layout::Aol6);
  options.settings = {{"Style", "1"}, {"Graphical", "2"}};
  options.startProgram = false;
  World world(options);
  gfx::Canvas tile(3, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) tile.FillRect(x, y, 1, 1, kTile[y][x]);
  }
  const std::string path = world.ProgramPath("\\WallPapers\\tile.png");
  world.WriteProgramFile("\\WallPapers\\tile.png", "");
  ASSERT_TRUE(tile.SavePng(path));
  settings::WriteSetting("GraLocation",
                         platform::files::ProgramFolder() + "\\WallPapers\\tile.png");
  ASSERT_TRUE(world.StartProgram());
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello"), 0u);

  // The tiled picture is as large as the client's MDI area, whatever size the container takes.
  RECT mdi;
  ASSERT_TRUE(GetWindowRect(world.client->MdiClient(), mdi));
  const auto& picture = world.main->Picture1.Picture();
  ASSERT_TRUE(picture.has_value());
  EXPECT_GE(picture->width, mdi.Width());
  EXPECT_GE(picture->height, mdi.Height());
  for (POINT p : {POINT{0, 0}, POINT{1, 0}, POINT{2, 1}, POINT{3, 0}, POINT{299, 101},
                  POINT{mdi.Width() - 1, mdi.Height() - 1}}) {
    EXPECT_EQ(picture->At(p.x, p.y) & 0xFFFFFF, kTile[p.y % 2][p.x % 3]) << p.x << "," << p.y;
  }
  for (ui::PictureBox* panel :
       {&world.main->picMiddleBar, &world.main->picButtonsHold, &world.main->Picture2}) {
    ASSERT_TRUE(panel->Picture().has_value());
    EXPECT_EQ(panel->Picture()->At(4, 1) & 0xFFFFFF, kTile[1][1]);
  }
}

}  // namespace
