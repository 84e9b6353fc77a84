// Sends, posts, the message loop, timers, virtual time and processes.
#include "sim_fixture.h"

namespace platform::sim::testing {
namespace {

using LoopTest = SimTest;

TEST_F(LoopTest, SendsNestInsideSends) {
  std::vector<std::string> trace;
  WindowClass cls;
  cls.name = "Ping";
  HWND a = 0, b = 0;
  cls.proc = [&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_USER) {
      trace.push_back(h == a ? "a" : "b");
      if (h == a && w == 0) {
        LRESULT r = desk.SendMessage(b, WM_USER, 0, 0);
        trace.push_back("a got " + std::to_string(r));
        return r + 1;
      }
      if (h == b) return desk.SendMessage(a, WM_USER, 1, 0) + 10;
      return 100;
    }
    return desk.DefWindowProc(h, m, w, l);
  };
  desk.RegisterClass(cls);
  a = desk.CreateWindowEx(0, "Ping", "", 0, 0, 0, 1, 1, 0, 0, nullptr);
  b = desk.CreateWindowEx(0, "ping", "", 0, 0, 0, 1, 1, 0, 0, nullptr);
  EXPECT_EQ(desk.SendMessage(a, WM_USER, 0, 0), 111);
  EXPECT_EQ(trace, (std::vector<std::string>{"a", "b", "a", "a got 110"}));
}

TEST_F(LoopTest, PostedMessagesAreFifoAndComeBeforeTimers) {
  HWND h = Top();
  desk.SetTimer(h, 7, 10, nullptr);
  desk.RunFor(5);
  log.clear();
  desk.RunFor(5);  // the timer is due now; posts come first
  desk.PostMessage(h, WM_USER + 1, 0, 0);
  desk.PostMessage(h, WM_USER + 2, 0, 0);
  desk.RunPending();
  std::vector<UINT> got;
  for (const auto& l : log)
    if (l.msg == WM_TIMER || l.msg > WM_USER) got.push_back(l.msg);
  EXPECT_EQ(got, (std::vector<UINT>{WM_TIMER, WM_USER + 1, WM_USER + 2}));
  log.clear();
  desk.PostMessage(h, WM_USER + 3, 0, 0);
  desk.RunFor(10);
  got.clear();
  for (const auto& l : log)
    if (l.msg == WM_TIMER || l.msg > WM_USER) got.push_back(l.msg);
  EXPECT_EQ(got, (std::vector<UINT>{WM_USER + 3, WM_TIMER}));
}

TEST_F(LoopTest, PointerMessagesCannotBePosted) {
  HWND h = Top();
  for (UINT msg : {WM_SETTEXT, WM_GETTEXT, EM_REPLACESEL, EM_GETLINE, LB_ADDSTRING}) {
    desk.SetLastError(0);
    EXPECT_FALSE(desk.PostMessage(h, msg, 0, 0)) << msg;
    EXPECT_EQ(desk.GetLastError(), ERROR_MESSAGE_SYNC_ONLY);
  }
  EXPECT_TRUE(desk.PostMessage(h, WM_COMMAND, 1, 0));
}

TEST_F(LoopTest, ATimerNotServicedForManyPeriodsFiresOnce) {
  std::vector<uint64_t> at;
  WindowClass cls;
  cls.name = "Ticks";
  cls.proc = [&](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_TIMER) at.push_back(desk.NowMs());
    return desk.DefWindowProc(w, m, wp, lp);
  };
  desk.RegisterClass(cls);
  HWND h = desk.CreateWindowEx(0, "Ticks", "", 0, 0, 0, 1, 1, 0, 0, nullptr);
  desk.SetTimer(h, 1, 100, nullptr);
  desk.Stall(350);  // the program is busy: nothing is dispatched
  desk.RunPending();
  EXPECT_EQ(at, (std::vector<uint64_t>{350}));
  desk.RunFor(250);  // then on the grid again: 400, 500, 600
  EXPECT_EQ(at, (std::vector<uint64_t>{350, 400, 500, 600}));
}

TEST_F(LoopTest, DoEventsAdvancesTheClockWhenIdle) {
  uint64_t start = desk.NowMs();
  int loops = 0;
  while (desk.NowMs() - start < 1000) {
    desk.DoEvents();
    ++loops;
  }
  EXPECT_EQ(loops, 100);
  // It jumps no further than the next due event.
  bool ran = false;
  desk.Schedule(3, [&] { ran = true; });
  uint64_t t = desk.NowMs();
  desk.DoEvents();
  EXPECT_EQ(desk.NowMs(), t + 3);
  EXPECT_FALSE(ran);
  desk.DoEvents();
  EXPECT_TRUE(ran);
}

TEST_F(LoopTest, DoEventsDispatchesPendingWithoutAdvancing) {
  HWND h = Top();
  desk.PostMessage(h, WM_USER, 0, 0);
  uint64_t t = desk.NowMs();
  desk.DoEvents();
  EXPECT_EQ(desk.NowMs(), t);
  EXPECT_EQ(Count(h, WM_USER), 1);
}

TEST_F(LoopTest, NestedWaitsInsideHandlers) {
  HWND h = Top();
  std::vector<std::string> trace;
  desk.Schedule(10, [&] {
    trace.push_back("outer start");
    desk.WaitEvents(100);  // a pause inside a handler
    trace.push_back("outer end " + std::to_string(desk.NowMs()));
  });
  desk.Schedule(50, [&] { trace.push_back("inner " + std::to_string(desk.NowMs())); });
  desk.RunFor(200);
  EXPECT_EQ(trace, (std::vector<std::string>{"outer start", "inner 50", "outer end 110"}));
  (void)h;
}

TEST_F(LoopTest, RunUntilStopsWhenDoneOrTimedOut) {
  bool flag = false;
  desk.Schedule(300, [&] { flag = true; });
  EXPECT_TRUE(desk.RunUntil([&] { return flag; }, 1000));
  EXPECT_EQ(desk.NowMs(), 300u);
  EXPECT_FALSE(desk.RunUntil([] { return false; }, 500));
  EXPECT_EQ(desk.NowMs(), 800u);
}

TEST_F(LoopTest, RespondersAnswerWhenIdle) {
  bool answered = false;
  int asked = 0;
  desk.AddResponder([&] {
    ++asked;
    if (desk.NowMs() < 40) return false;
    answered = true;
    return true;
  });
  desk.Schedule(40, [] {});
  desk.RunFor(100);
  EXPECT_TRUE(answered);
  int before = asked;
  desk.RunFor(100);
  EXPECT_EQ(asked, before);  // used up
}

struct ClockCase {
  DateTime start;
  uint64_t elapsedMs;
  DateTime expected;
};

TEST(ClockTest, NowRollsOverDaysMonthsAndYears) {
  const ClockCase cases[] = {
      {{2001, 4, 26, 23, 59, 59, 500}, 1000, {2001, 4, 27, 0, 0, 0, 500}},
      {{2001, 4, 30, 23, 0, 0, 0}, 3600000, {2001, 5, 1, 0, 0, 0, 0}},
      {{2001, 12, 31, 23, 59, 0, 0}, 60000, {2002, 1, 1, 0, 0, 0, 0}},
      {{2000, 2, 28, 12, 0, 0, 0}, 86400000, {2000, 2, 29, 12, 0, 0, 0}},
      {{2001, 2, 28, 12, 0, 0, 0}, 86400000, {2001, 3, 1, 12, 0, 0, 0}},
      {{2001, 1, 1, 0, 0, 0, 0}, 40ull * 86400000, {2001, 2, 10, 0, 0, 0, 0}},
  };
  for (const auto& tc : cases) {
    DesktopOptions o;
    o.start = tc.start;
    Desktop d(o);
    d.RunFor(tc.elapsedMs);
    DateTime n = d.Now();
    EXPECT_EQ(
        std::vector<int>({n.year, n.month, n.day, n.hour, n.minute, n.second, n.millisecond}),
        std::vector<int>({tc.expected.year, tc.expected.month, tc.expected.day, tc.expected.hour,
                          tc.expected.minute, tc.expected.second, tc.expected.millisecond}));
    EXPECT_EQ(d.GetTickCount(), static_cast<uint32_t>(tc.elapsedMs));
  }
}

TEST_F(LoopTest, TheWallClockJumpsWhileTicksAndTimersGoOn) {
  DesktopOptions o;
  o.start = {2001, 3, 1, 9, 0, 0, 0};
  Desktop d(o);
  int fired = 0;
  d.Schedule(1500, [&] { ++fired; });
  d.RunFor(1000);
  d.ShiftWallClock(-10ll * 3600000);  // back across midnight into February
  DateTime n = d.Now();
  EXPECT_EQ(std::vector<int>({n.year, n.month, n.day, n.hour, n.minute, n.second}),
            std::vector<int>({2001, 2, 28, 23, 0, 1}));
  d.ShiftWallClock(-60ll * 86400000);  // into the year before
  n = d.Now();
  EXPECT_EQ(std::vector<int>({n.year, n.month, n.day}), std::vector<int>({2000, 12, 30}));
  d.ShiftWallClock(61ll * 86400000 + 3600000);  // forward again, just past midnight of the 2nd
  n = d.Now();
  EXPECT_EQ(std::vector<int>({n.year, n.month, n.day, n.hour}), std::vector<int>({2001, 3, 2, 0}));
  EXPECT_EQ(d.GetTickCount(), 1000u);
  d.RunFor(600);
  EXPECT_EQ(fired, 1);
}

TEST_F(LoopTest, DispatchingWhatIsDueEndsWhenAHandlerWaits) {
  // A timer whose handler waits longer than its period is always due again; a click that runs
  // what is due must still come back.
  HWND w = Top("W", WS_VISIBLE);
  int ticks = 0;
  bool waiting = false;
  desk.SetTimer(w, 1, 500, [&](HWND, UINT) {
    if (waiting) return;  // as the program's routines do: one wait at a time
    waiting = true;
    ++ticks;
    const uint64_t until = desk.NowMs() + 1500;
    while (desk.NowMs() < until) desk.DoEvents();
    waiting = false;
  });
  desk.Stall(500);
  desk.Click(w);
  EXPECT_LE(ticks, 3);  // one for each of the moves and presses of a click
}

TEST_F(LoopTest, DestroyOrder) {
  HWND p = Top("P");
  HWND c1 = Child(p, "C1");
  HWND c2 = Child(p, "C2", WS_MAXIMIZE);  // on top
  HWND c3 = Child(c1, "C3");
  HWND owned = desk.CreateWindowEx(0, "Recorder", "O", WS_POPUP, 0, 0, 1, 1, p, 0, nullptr);
  EXPECT_EQ(desk.GetWindow(owned, GW_OWNER), p);
  log.clear();
  EXPECT_TRUE(desk.DestroyWindow(p));
  EXPECT_EQ(Of(WM_DESTROY), (std::vector<HWND>{owned, p, c2, c1, c3}));
  EXPECT_EQ(Of(WM_NCDESTROY), (std::vector<HWND>{owned, c2, c3, c1, p}));
  for (HWND h : {p, c1, c2, c3, owned}) EXPECT_FALSE(desk.IsWindow(h));
}

TEST_F(LoopTest, DestroyingAChildNotifiesTheParentAndFixesFocusAndCapture) {
  HWND p = Top("P", WS_VISIBLE);
  HWND c = Child(p, "C", WS_VISIBLE);
  desk.SetFocus(c);
  desk.SetCapture(c);
  desk.SetTimer(c, 1, 10, nullptr);
  desk.PostMessage(c, WM_USER, 0, 0);
  log.clear();
  desk.DestroyWindow(c);
  EXPECT_EQ(desk.GetFocus(), p);
  EXPECT_EQ(desk.GetCapture(), 0u);
  std::vector<UINT> toChild = MessagesTo(c);
  auto pos = [&](UINT m) { return std::find(toChild.begin(), toChild.end(), m) - toChild.begin(); };
  EXPECT_LT(pos(WM_DESTROY), pos(WM_CAPTURECHANGED));
  EXPECT_LT(pos(WM_CAPTURECHANGED), pos(WM_NCDESTROY));
  EXPECT_EQ(Count(p, WM_PARENTNOTIFY), 1);
  log.clear();
  desk.RunFor(100);
  EXPECT_TRUE(log.empty());
}

TEST_F(LoopTest, CloseThroughDefWindowProcDestroys) {
  HWND h = Top();
  desk.SendMessage(h, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(desk.IsWindow(h));
}

TEST_F(LoopTest, MessagesRunAsTheWindowsProcess) {
  DWORD client = desk.CreateProcess("client");
  std::vector<DWORD> seen;
  WindowClass cls;
  cls.name = "Who";
  cls.proc = [&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_USER) seen.push_back(desk.CurrentProcess());
    return desk.DefWindowProc(h, m, w, l);
  };
  desk.RegisterClass(cls);
  HWND h = desk.CreateWindowEx(0, "Who", "", 0, 0, 0, 1, 1, 0, 0, nullptr);
  DWORD addon = desk.CreateProcess("addon");
  desk.SendMessage(h, WM_USER, 0, 0);
  desk.PostMessage(h, WM_USER, 0, 0);
  desk.RunPending();
  EXPECT_EQ(seen, (std::vector<DWORD>{client, client}));
  EXPECT_EQ(desk.CurrentProcess(), addon);
  DWORD pid = 0;
  EXPECT_NE(desk.GetWindowThreadProcessId(h, &pid), 0u);
  EXPECT_EQ(pid, client);
  EXPECT_FALSE(desk.DestroyWindow(h));  // another process's window
  EXPECT_TRUE(desk.IsWindow(h));
}

// A timer whose handler waits inside itself (dispatching events, as the answer tick does) costs
// seconds per dispatch: the loop must still stop at its end, not run on for hours.
TEST_F(LoopTest, ALoopStopsAtItsEndWhenEachDispatchLetsTimePass) {
  int ticks = 0;
  bool inside = false;
  WindowClass cls;
  cls.name = "SlowTick";
  cls.proc = [&](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_TIMER && !inside) {
      ++ticks;
      inside = true;
      const uint64_t until = desk.NowMs() + 2000;
      while (desk.NowMs() < until) desk.DoEvents();
      inside = false;
    }
    return desk.DefWindowProc(w, m, wp, lp);
  };
  desk.RegisterClass(cls);
  HWND h = desk.CreateWindowEx(0, "SlowTick", "", 0, 0, 0, 1, 1, 0, 0, nullptr);
  desk.SetTimer(h, 1, 500, nullptr);
  desk.RunFor(600);
  EXPECT_LE(desk.NowMs(), 600u + 2000u);
  EXPECT_EQ(ticks, 1);
  desk.RunFor(40000);
  EXPECT_LE(desk.NowMs(), 600u + 2000u + 40000u + 2000u);
  EXPECT_GE(desk.NowMs(), 600u + 2000u + 40000u);
  EXPECT_EQ(desk.RunUntil([] { return false; }, 100), false);
  EXPECT_LE(desk.NowMs(), 600u + 2000u + 40000u + 2000u + 100u + 2000u);
}

TEST_F(LoopTest, ExitProcessCleansUp) {
  DWORD client = desk.CreateProcess("client");
  HWND frame = Top("Frame");
  int timerCalls = 0;
  desk.SetTimer(0, 0, 10, [&](HWND, UINT) { ++timerCalls; });
  bool scheduled = false;
  desk.Schedule(10, [&] { scheduled = true; });
  int keys = 0;
  desk.SetKeyboardHook([&](int&, int, int&) { ++keys; });
  EXPECT_TRUE(desk.CreateNamedLock("PallionLock"));
  DWORD addon = desk.CreateProcess("addon");
  EXPECT_FALSE(desk.CreateNamedLock("pallionlock"));
  HWND mine = Top("Mine");
  HWND adopted = Child(mine, "adopted");
  {
    Desktop::ProcessScope scope(desk, client);
    HWND inner = Child(frame, "inner");
    desk.SetParent(inner, mine);
    log.clear();
    desk.ExitProcess();
    EXPECT_TRUE(desk.ProcessEnded());
    EXPECT_EQ(desk.CreateWindowEx(0, "Recorder", "", 0, 0, 0, 1, 1, 0, 0, nullptr), 0u);
    EXPECT_FALSE(desk.IsWindow(inner));
  }
  EXPECT_FALSE(desk.ProcessEnded());
  EXPECT_FALSE(desk.IsWindow(frame));
  EXPECT_TRUE(desk.IsWindow(mine));
  EXPECT_TRUE(desk.IsWindow(adopted));
  EXPECT_EQ(Count(frame, WM_DESTROY), 0);  // its procedures no longer run
  desk.RunFor(100);
  desk.PressKey('A');
  EXPECT_EQ(timerCalls, 0);
  EXPECT_FALSE(scheduled);
  EXPECT_EQ(keys, 0);
  EXPECT_TRUE(desk.CreateNamedLock("PallionLock"));
  ASSERT_FALSE(desk.Events().empty());
  EXPECT_EQ(desk.Events().back().kind, Event::Kind::ProcessExit);
  EXPECT_EQ(desk.Events().back().text, "client");
  EXPECT_FALSE(desk.ProcessAlive(client));
  EXPECT_TRUE(desk.ProcessAlive(addon));
  EXPECT_EQ(desk.OpenProcess(PROCESS_VM_READ, false, client), 0u);
}

}  // namespace
}  // namespace platform::sim::testing
