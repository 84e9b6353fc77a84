// Killing a process from outside, and the leftovers it guarded in another process.
#include "platform/leftovers.h"
#include "sim_fixture.h"

namespace platform::sim::testing {
namespace {

// A client with an MDI-like home and a menu bar, and an add-on with a panel of its own inside the
// client's container window and an area the client's thread made for it there, which holds
// three of the client's windows (and one of the add-on's). One more client window sits in the
// add-on's panel.
class KillTest : public SimTest {
 protected:
  KillTest() {
    client = desk.CreateProcess("client");
    frame = Top("Frame", WS_VISIBLE);
    HMENU bar = desk.CreateMenu();
    desk.AppendMenu(bar, MF_STRING, 1, "&File");
    desk.AppendMenu(bar, MF_POPUP, desk.CreatePopupMenu(), "&AddOn");
    desk.SetMenu(frame, bar);
    home = Child(frame, "home", WS_VISIBLE, 0, 0, 800, 600);
    container = Child(home, "container", WS_VISIBLE, 10, 10, 400, 300);
    for (const char* name : {"first", "second", "third"}) {
      ims.push_back(Child(home, name, WS_VISIBLE, 0, 0, 100, 80));
      inputs.push_back(Child(ims.back(), std::string(name) + " input", WS_VISIBLE));
    }
    stray = Child(home, "stray", WS_VISIBLE);
    addon = desk.CreateProcess("addon");
    panel = Child(container, "panel", WS_VISIBLE, 0, 0, 400, 300);
    desk.SetParent(stray, panel);
    area = desk.CreateChildInOwner(container, 0, 0, 380, 280);
    own = Child(area, "own", WS_VISIBLE);
    for (HWND im : ims) desk.SetParent(im, area);
    desk.ShowWindow(ims[0], SW_HIDE);  // adopted windows may lie hidden under the shown one
    desk.BringWindowToTop(ims[1]);     // the one shown
    leftovers.area = area;
    leftovers.home = home;
    leftovers.container = container;
    leftovers.menuBarOwner = frame;
    leftovers.menuCaptions = {"&AddOn"};
  }

  DWORD client = 0;
  DWORD addon = 0;
  HWND frame = 0, home = 0, container = 0, area = 0, own = 0, panel = 0, stray = 0;
  std::vector<HWND> ims;
  std::vector<HWND> inputs;
  Leftovers leftovers;
};

TEST_F(KillTest, AKilledProcessEndsAtOnceAndItsGuardGivesTheWindowsBack) {
  int timerCalls = 0;
  desk.SetTimer(0, 0, 10, [&](HWND, UINT) { ++timerCalls; });
  ASSERT_NE(desk.GuardLeftovers(leftovers), 0u);
  desk.SetCurrentProcess(client);
  log.clear();

  desk.KillProcess(addon);

  EXPECT_FALSE(desk.ProcessAlive(addon));
  EXPECT_TRUE(desk.ProcessAlive(client));
  EXPECT_EQ(desk.CurrentProcess(), client);
  EXPECT_FALSE(desk.IsWindow(panel));
  EXPECT_FALSE(desk.IsWindow(own));
  EXPECT_EQ(Count(panel, WM_DESTROY), 0);  // none of its code ran
  // As on Windows, a killed process's windows take the windows inside them along, whoever owns
  // them; its guard is undone only afterwards.
  EXPECT_FALSE(desk.IsWindow(stray));
  for (size_t i = 0; i < ims.size(); ++i) {
    ASSERT_TRUE(desk.IsWindow(ims[i]));
    EXPECT_EQ(desk.GetParent(ims[i]), home);
    EXPECT_TRUE(desk.IsWindowVisible(ims[i]));
    EXPECT_TRUE(desk.IsWindow(inputs[i]));
    RECT r;
    desk.GetWindowRect(ims[i], r);
    EXPECT_EQ(r.Width(), 390);
    EXPECT_EQ(r.Height(), 300);
  }
  EXPECT_EQ(Children(home).front(), ims[1]);
  const HMENU bar = desk.GetMenu(frame);
  ASSERT_EQ(desk.GetMenuItemCount(bar), 1);
  EXPECT_EQ(desk.GetMenuString(bar, 0, MF_BYPOSITION), "&File");
  desk.RunFor(100);
  EXPECT_FALSE(desk.IsWindow(container));  // closed by the client, as asked
  EXPECT_FALSE(desk.IsWindow(area));
  EXPECT_EQ(timerCalls, 0);
  ASSERT_FALSE(desk.Events().empty());
  EXPECT_EQ(desk.Events().back().kind, Event::Kind::ProcessExit);
  EXPECT_EQ(desk.Events().back().text, "addon");
  EXPECT_EQ(desk.Events().back().detail, "killed");
}

TEST_F(KillTest, WithoutAGuardTheAdoptedWindowsStayInTheArea) {
  desk.KillProcess(addon);
  for (HWND im : ims) EXPECT_EQ(desk.GetParent(im), area);
  EXPECT_TRUE(desk.IsWindow(container));
}

TEST_F(KillTest, AGuardTakenBackOrLeftWithAnEndedProcessDoesNothing) {
  const HANDLE guard = desk.GuardLeftovers(leftovers);
  ASSERT_NE(guard, 0u);
  EXPECT_TRUE(desk.Unhook(guard));
  EXPECT_FALSE(desk.Unhook(guard));
  desk.ExitProcess();
  for (HWND im : ims) EXPECT_EQ(desk.GetParent(im), area);
}

TEST_F(KillTest, AnExitWithoutTakingTheGuardBackIsACrash) {
  ASSERT_NE(desk.GuardLeftovers(leftovers), 0u);
  desk.ExitProcess();
  for (HWND im : ims) EXPECT_EQ(desk.GetParent(im), home);
  EXPECT_EQ(desk.Events().back().detail, "");
}

TEST_F(KillTest, OnlyAnotherLivingProcessCanHoldTheGuard) {
  Leftovers mine = leftovers;
  mine.home = panel;
  EXPECT_EQ(desk.GuardLeftovers(mine), 0u);
  EXPECT_EQ(desk.GetLastError(), ERROR_INVALID_PARAMETER);
  mine.home = 0;
  EXPECT_EQ(desk.GuardLeftovers(mine), 0u);
  // The client gone first: nothing is undone, and the add-on still ends cleanly.
  ASSERT_NE(desk.GuardLeftovers(leftovers), 0u);
  desk.KillProcess(client);
  desk.KillProcess(addon);
  EXPECT_FALSE(desk.ProcessAlive(addon));
  EXPECT_FALSE(desk.IsWindow(area));
}

TEST_F(KillTest, KillingAnEndedOrUnknownProcessDoesNothing) {
  desk.KillProcess(addon);
  const size_t events = desk.Events().size();
  desk.KillProcess(addon);
  desk.KillProcess(999999);
  EXPECT_EQ(desk.Events().size(), events);
  EXPECT_TRUE(desk.ProcessAlive(client));
}

}  // namespace
}  // namespace platform::sim::testing
