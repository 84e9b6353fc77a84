#include "ui/picture_box.h"
#include "ui/timer.h"
#include "ui/ui_fixture.h"

namespace uitest {
namespace {

using namespace platform;

class TimerTest : public UiTest {};

TEST_F(TimerTest, TicksAtItsIntervalInVirtualTimeAndStopsWhenDisabled) {
  ui::Timer& timer = form->Add<ui::Timer>("TimerScanIM", 500u, true);
  std::vector<uint64_t> ticks;
  const uint64_t start = desktop.NowMs();
  timer.OnTick = [&] { ticks.push_back(desktop.NowMs() - start); };
  desktop.RunFor(1600);
  EXPECT_EQ(ticks, (std::vector<uint64_t>{500, 1000, 1500}));
  timer.SetEnabled(false);
  desktop.RunFor(2000);
  EXPECT_EQ(ticks.size(), 3u);
  EXPECT_FALSE(IsWindowVisible(timer.hwnd()));
}

TEST_F(TimerTest, DisabledAtDesignAndStartedLater) {
  ui::Timer& timer = form->Add<ui::Timer>("Timer1", 100u, false);
  int ticks = 0;
  timer.OnTick = [&] { ++ticks; };
  desktop.RunFor(1000);
  EXPECT_EQ(ticks, 0);
  timer.SetEnabled(true);
  desktop.RunFor(350);
  EXPECT_EQ(ticks, 3);
}

TEST_F(TimerTest, ChangingTheIntervalRestartsTheCount) {
  ui::Timer& timer = form->Add<ui::Timer>("TimerX", 100u, true);
  int ticks = 0;
  timer.OnTick = [&] { ++ticks; };
  desktop.RunFor(50);
  timer.SetInterval(200);
  desktop.RunFor(150);
  EXPECT_EQ(ticks, 0);
  desktop.RunFor(60);
  EXPECT_EQ(ticks, 1);
  timer.SetInterval(0);
  desktop.RunFor(1000);
  EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, ATickHandlerMayStopItsOwnTimer) {
  ui::Timer& timer = form->Add<ui::Timer>("TimerTellaFriend", 5u, true);
  int ticks = 0;
  timer.OnTick = [&] {
    ++ticks;
    timer.SetEnabled(false);
  };
  desktop.RunFor(200);
  EXPECT_EQ(ticks, 1);
}

class PictureBoxTest : public UiTest {};

TEST_F(PictureBoxTest, AForeignWindowReparentedIntoItMovesWithIt) {
  ui::PictureBox& pic = form->Add<ui::PictureBox>("picIM", 10, 10, 200, 150);
  const DWORD client = desktop.CreateProcess("Client");
  WindowClass cls;
  cls.name = "AOL Child";
  cls.background = RGB(255, 255, 255);
  RegisterClass(cls);
  const HWND im = CreateWindowEx(0, "AOL Child", "Bob: Instant Message", WS_CHILD | WS_VISIBLE, 300,
                                 300, 100, 80, desktop.GetDesktopWindow(), 0, nullptr);
  desktop.SetCurrentProcess(process);
  ASSERT_NE(im, 0u);
  SetParent(im, pic.hwnd());
  MoveWindow(im, 5, 6, 100, 80, true);
  EXPECT_EQ(FindWindowEx(pic.hwnd(), 0, "AOL Child", nullptr), im);
  RECT before;
  GetWindowRect(im, before);
  pic.Move(40, 30, 200, 150);
  RECT after;
  GetWindowRect(im, after);
  EXPECT_EQ(after.left - before.left, 30);
  EXPECT_EQ(after.top - before.top, 20);
  DWORD owner = 0;
  GetWindowThreadProcessId(im, &owner);
  EXPECT_EQ(owner, client);
}

TEST_F(PictureBoxTest, PersistentImageAndBackgroundArePainted) {
  ui::PictureBox& pic = form->Add<ui::PictureBox>("Picture1", 10, 10, 100, 80);
  pic.SetBackColor(RGB(0, 0, 255));
  gfx::Canvas tile(4, 4, RGB(0, 255, 0));
  pic.SetPicture(tile.ToImage());
  desktop.RunPending();
  POINT o{0, 0};
  ClientToScreen(pic.hwnd(), o);
  gfx::Canvas screen = desktop.RenderScreen();
  EXPECT_EQ(screen.GetPixel(o.x + 1, o.y + 1) & 0xFFFFFF, RGB(0, 255, 0));
  EXPECT_EQ(screen.GetPixel(o.x + 50, o.y + 50) & 0xFFFFFF, RGB(0, 0, 255));
  pic.Canvas().FillRect(50, 50, 10, 10, RGB(255, 0, 0));
  desktop.RunPending();
  screen = desktop.RenderScreen();
  EXPECT_EQ(screen.GetPixel(o.x + 55, o.y + 55) & 0xFFFFFF, RGB(255, 0, 0));
  pic.Cls();
  desktop.RunPending();
  screen = desktop.RenderScreen();
  EXPECT_EQ(screen.GetPixel(o.x + 55, o.y + 55) & 0xFFFFFF, RGB(0, 0, 255));
  EXPECT_EQ(pic.ScaleWidthTwips(), 1500);
}

}  // namespace
}  // namespace uitest
