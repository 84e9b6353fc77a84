// Win32 rules the simulated desktop follows, one case each: tree and z-order, positions,
// visibility, messages, timers, focus and input, menus, clipboard and memory.
#include "sim_fixture.h"

namespace platform::sim::testing {
namespace {

constexpr int kUseDefault = static_cast<int>(0x80000000u);

class SemanticsTest : public SimTest {
 protected:
  std::vector<HWND> TopLevels() { return Children(desk.GetDesktopWindow()); }
  bool Topmost(HWND h) { return (desk.GetWindowLong(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
  // The messages to one window, limited to the given kinds.
  std::vector<UINT> Only(HWND hwnd, std::vector<UINT> kinds) const {
    std::vector<UINT> out;
    for (const auto& l : log)
      if (l.hwnd == hwnd && std::find(kinds.begin(), kinds.end(), l.msg) != kinds.end())
        out.push_back(l.msg);
    return out;
  }
};

// ---- Tree ----

TEST_F(SemanticsTest, GetParentOfAReparentedWindowWithoutWsChildIsNull) {
  HWND p = Top("p");
  HWND popup = Top("popup", WS_POPUP);
  EXPECT_EQ(desk.SetParent(popup, p), desk.GetDesktopWindow());
  EXPECT_EQ(desk.GetAncestor(popup, GA_PARENT), p);
  EXPECT_EQ(desk.GetParent(popup), 0u);
  EXPECT_EQ(desk.GetWindow(p, GW_CHILD), popup);  // the parent link, whatever the style
  EXPECT_EQ(desk.GetWindowLong(popup, GWL_STYLE) & (WS_CHILD | WS_POPUP), WS_POPUP);
  HWND child = Child(p);
  EXPECT_EQ(desk.GetParent(child), p);
  HWND owned = desk.CreateWindowEx(0, "Recorder", "", WS_POPUP, 0, 0, 1, 1, child, 0, nullptr);
  EXPECT_EQ(desk.GetParent(owned), p);  // the owner: the top-level window of the one given
  EXPECT_EQ(desk.SetParent(child, 0), p);
  EXPECT_EQ(desk.GetAncestor(child, GA_PARENT), desk.GetDesktopWindow());
}

TEST_F(SemanticsTest, EnumChildWindowsResultsAndWindowsDestroyedDuringTheWalk) {
  HWND p = Top();
  HWND a = Child(p, "a"), b = Child(p, "b"), c = Child(p, "c");
  std::vector<HWND> seen;
  EXPECT_TRUE(desk.EnumChildWindows(p, [&](HWND h) {
    seen.push_back(h);
    if (h == a) desk.DestroyWindow(b);
    if (h == a) Child(p, "new");  // created during the walk: not reported
    if (h == c) desk.SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return true;
  }));
  EXPECT_EQ(seen, (std::vector<HWND>{a, c}));
  int calls = 0;
  EXPECT_FALSE(desk.EnumChildWindows(p, [&](HWND) { return ++calls < 1; }));
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(desk.EnumChildWindows(a, [&](HWND) { return true; }));  // no children
  EXPECT_EQ(desk.GetClassName(desk.GetDesktopWindow()), "#32769");
}

TEST_F(SemanticsTest, FindWindowExCases) {
  HWND p = Top("p");
  HWND untitled = Child(p, "");
  HWND named = Child(p, "Status Bar");
  HWND grandchild = Child(named, "Status Bar");
  HWND dead = Child(p, "gone");
  desk.DestroyWindow(dead);
  struct Case {
    const char* name;
    HWND after;
    const char* cls;
    const char* title;
    HWND expected;
  };
  const Case cases[] = {
      {"any, from the top", 0, nullptr, nullptr, untitled},
      {"below the first", untitled, nullptr, nullptr, named},
      {"below the last", named, nullptr, nullptr, 0},
      {"after not a direct child", grandchild, nullptr, nullptr, 0},
      {"after dead", dead, nullptr, nullptr, 0},
      {"empty title only matches empty titles", 0, nullptr, "", untitled},
      {"empty title below the untitled one", untitled, nullptr, "", 0},
      {"title in another case", 0, nullptr, "STATUS bar", named},
      {"title prefix", 0, nullptr, "Status", 0},
      {"class in another case", untitled, "rEcOrDeR", nullptr, named},
      {"empty class matches nothing", 0, "", nullptr, 0},
      {"unknown class", 0, "NoSuchClass", nullptr, 0},
      {"class and title", 0, "recorder", "status bar", named},
  };
  for (const auto& tc : cases) {
    desk.SetLastError(77);
    EXPECT_EQ(desk.FindWindowEx(p, tc.after, tc.cls, tc.title), tc.expected) << tc.name;
    EXPECT_EQ(desk.GetLastError(), 77u) << tc.name;  // not found leaves last-error alone
  }
}

// ---- Z-order ----

TEST_F(SemanticsTest, SetWindowPosOnTheDesktopOrAfterItFails) {
  HWND a = Top("a");
  RECT before, after;
  desk.GetWindowRect(a, before);
  EXPECT_FALSE(desk.SetWindowPos(a, desk.GetDesktopWindow(), 1, 2, 3, 4, 0));
  EXPECT_FALSE(desk.SetWindowPos(desk.GetDesktopWindow(), HWND_TOP, 1, 2, 3, 4, 0));
  desk.GetWindowRect(a, after);
  EXPECT_EQ(before, after);
}

TEST_F(SemanticsTest, SetWindowPosWithoutNoActivateActivatesAndRaisesATopLevel) {
  struct Case {
    const char* name;
    HWND insertAfter;  // 0: HWND_TOP; 1: below the other window
    UINT flags;
    bool activated;
  };
  const Case cases[] = {
      {"no z-order", HWND_TOP, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER, true},
      {"below a sibling", 1, SWP_NOMOVE | SWP_NOSIZE, true},
      {"no activate, no z-order", HWND_TOP, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE,
       false},
  };
  for (const auto& tc : cases) {
    HWND a = Top("a", WS_OVERLAPPED | WS_VISIBLE);
    HWND b = Top("b", WS_OVERLAPPED | WS_VISIBLE);
    ASSERT_EQ(desk.GetActiveWindow(), b);
    HWND after = tc.insertAfter == 1 ? b : tc.insertAfter;
    EXPECT_TRUE(desk.SetWindowPos(a, after, 0, 0, 0, 0, tc.flags)) << tc.name;
    EXPECT_EQ(desk.GetActiveWindow() == a, tc.activated) << tc.name;
    EXPECT_EQ(TopLevels().front() == a, tc.activated) << tc.name;
    desk.DestroyWindow(a);
    desk.DestroyWindow(b);
  }
}

TEST_F(SemanticsTest, ChildWithTopmostIsNeitherMovedNorActivated) {
  HWND p = Top("p", WS_OVERLAPPED | WS_VISIBLE);
  HWND a = Child(p, "a", WS_VISIBLE, 1, 2, 10, 10), b = Child(p, "b", WS_VISIBLE);
  log.clear();
  EXPECT_TRUE(desk.SetWindowPos(b, HWND_TOPMOST, 30, 30, 40, 40, 0));
  EXPECT_TRUE(desk.SetWindowPos(b, HWND_NOTOPMOST, 30, 30, 40, 40, 0));
  EXPECT_EQ(Children(p), (std::vector<HWND>{a, b}));
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(Topmost(b));
  // Other moves of a child never activate it.
  EXPECT_TRUE(desk.SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  EXPECT_EQ(desk.GetActiveWindow(), p);
}

TEST_F(SemanticsTest, BottomTakesATopmostWindowOutOfItsBandWithoutActivatingIt) {
  HWND normal = Top("normal", WS_OVERLAPPED | WS_VISIBLE);
  HWND tm = Top("tm", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, WS_EX_TOPMOST);
  desk.SetWindowPos(normal, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ASSERT_EQ(desk.GetActiveWindow(), normal);
  ASSERT_EQ(TopLevels(), (std::vector<HWND>{tm, normal}));
  EXPECT_TRUE(desk.SetWindowPos(tm, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  EXPECT_FALSE(Topmost(tm));
  EXPECT_EQ(TopLevels(), (std::vector<HWND>{normal, tm}));
  EXPECT_EQ(desk.GetActiveWindow(), normal);
}

TEST_F(SemanticsTest, InsertingAfterATopmostWindow) {
  HWND tm1 = Top("tm1", WS_POPUP, 0, 0, 10, 10, WS_EX_TOPMOST);
  HWND tm2 = Top("tm2", WS_POPUP, 0, 0, 10, 10, WS_EX_TOPMOST);
  HWND n1 = Top("n1", WS_POPUP);
  HWND n2 = Top("n2", WS_POPUP);
  ASSERT_EQ(TopLevels(), (std::vector<HWND>{tm2, tm1, n2, n1}));
  const UINT quiet = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  // A normal window after a topmost one stays normal, at the top of its band.
  EXPECT_TRUE(desk.SetWindowPos(n1, tm2, 0, 0, 0, 0, quiet));
  EXPECT_FALSE(Topmost(n1));
  EXPECT_EQ(TopLevels(), (std::vector<HWND>{tm2, tm1, n1, n2}));
  // A topmost window after another one stays topmost, directly below it.
  EXPECT_TRUE(desk.SetWindowPos(tm2, tm1, 0, 0, 0, 0, quiet));
  EXPECT_TRUE(Topmost(tm2));
  EXPECT_EQ(TopLevels(), (std::vector<HWND>{tm1, tm2, n1, n2}));
  // HWND_TOP keeps a topmost window topmost; NOTOPMOST moves it to the top of the normal band.
  EXPECT_TRUE(desk.SetWindowPos(tm2, HWND_TOP, 0, 0, 0, 0, quiet));
  EXPECT_TRUE(Topmost(tm2));
  EXPECT_EQ(TopLevels().front(), tm2);
  EXPECT_TRUE(desk.SetWindowPos(tm2, HWND_NOTOPMOST, 0, 0, 0, 0, quiet));
  EXPECT_EQ(TopLevels(), (std::vector<HWND>{tm1, tm2, n1, n2}));
  EXPECT_FALSE(Topmost(tm2));
}

// ---- Positions ----

TEST_F(SemanticsTest, PositionsAndSizesAreClamped) {
  struct Case {
    int x, y, cx, cy;
    RECT expected;
  };
  const Case cases[] = {
      {-40000, 40000, 10, 10, {-32768, 32767, -32758, 32777}},
      {5, 6, -20, 40000, {5, 6, 5, 32773}},
      {0, 0, 70000, 0, {0, 0, 32767, 0}},
  };
  for (const auto& tc : cases) {
    HWND h = Top("c", WS_POPUP, tc.x, tc.y, tc.cx, tc.cy);
    RECT r;
    desk.GetWindowRect(h, r);
    EXPECT_EQ(r, tc.expected) << "created " << tc.x << "," << tc.y;
    HWND m = Top("m", WS_POPUP, 0, 0, 1, 1);
    desk.SetWindowPos(m, 0, tc.x, tc.y, tc.cx, tc.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    desk.GetWindowRect(m, r);
    EXPECT_EQ(r, tc.expected) << "moved " << tc.x << "," << tc.y;
  }
}

TEST_F(SemanticsTest, UseDefaultPlacesOnlyOverlappedWindows) {
  HWND o1 = Top("o1", WS_OVERLAPPEDWINDOW, kUseDefault, 123, kUseDefault, 0);
  HWND o2 = Top("o2", WS_OVERLAPPEDWINDOW, kUseDefault, kUseDefault, 300, 200);
  HWND pop = Top("pop", WS_POPUP, kUseDefault, kUseDefault, kUseDefault, kUseDefault);
  HWND child = Child(o1, "", 0, kUseDefault, kUseDefault, 20, 10);
  RECT r;
  desk.GetWindowRect(o1, r);
  EXPECT_EQ(r, (RECT{0, 0, 768, 576}));  // three quarters of the screen
  desk.GetWindowRect(o2, r);
  EXPECT_EQ(r, (RECT{26, 26, 326, 226}));  // cascaded
  desk.GetWindowRect(pop, r);
  EXPECT_EQ(r, (RECT{0, 0, 0, 0}));
  POINT origin{0, 0};
  desk.ClientToScreen(o1, origin);
  desk.GetWindowRect(child, r);
  EXPECT_EQ(r, (RECT{origin.x, origin.y, origin.x + 20, origin.y + 10}));
}

TEST_F(SemanticsTest, CreationMessagesOfOverlappedAndPopupWindows) {
  struct Case {
    DWORD style;
    bool minMax;
  };
  const Case cases[] = {
      {WS_OVERLAPPED, true},
      {WS_OVERLAPPEDWINDOW, true},
      {WS_POPUP, false},
      {WS_POPUP | WS_THICKFRAME, true},
  };
  for (const auto& tc : cases) {
    log.clear();
    HWND h = Top("", tc.style);
    std::vector<UINT> expected{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE};
    if (tc.minMax) expected.insert(expected.begin(), WM_GETMINMAXINFO);
    EXPECT_EQ(MessagesTo(h), expected) << std::hex << tc.style;
  }
}

TEST_F(SemanticsTest, PureMoveSendsNoNcCalcSizeFrameChangeDoes) {
  HWND h = Top("", WS_POPUP);
  log.clear();
  desk.SetWindowPos(h, 0, 50, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(MessagesTo(h), (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE}));
  log.clear();
  desk.SetWindowPos(h, 0, 0, 0, 0, 0,
                    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  EXPECT_EQ(MessagesTo(h),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED}));
}

// ---- Visibility ----

TEST_F(SemanticsTest, ShowWithoutActivation) {
  struct Case {
    int cmd;
    bool raised;
  };
  const Case cases[] = {{SW_SHOWNA, true}, {SW_SHOWNOACTIVATE, false}};
  for (const auto& tc : cases) {
    HWND hidden = Top("hidden", WS_POPUP);
    HWND active = Top("active", WS_POPUP | WS_VISIBLE);
    ASSERT_EQ(desk.GetActiveWindow(), active);
    log.clear();
    EXPECT_FALSE(desk.ShowWindow(hidden, tc.cmd));
    EXPECT_TRUE(desk.IsWindowVisible(hidden));
    EXPECT_EQ(desk.GetActiveWindow(), active) << tc.cmd;
    EXPECT_EQ(Count(hidden, WM_ACTIVATE), 0) << tc.cmd;
    EXPECT_EQ(TopLevels().front() == hidden, tc.raised) << tc.cmd;
    EXPECT_EQ(Only(hidden, {WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}),
              (std::vector<UINT>{WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));
    desk.DestroyWindow(hidden);
    desk.DestroyWindow(active);
  }
  HWND shown = Top("shown", WS_POPUP | WS_VISIBLE);
  log.clear();
  EXPECT_TRUE(desk.ShowWindow(shown, SW_SHOWNA));  // sends WM_SHOWWINDOW even when visible
  EXPECT_TRUE(desk.ShowWindow(shown, SW_SHOW));
  EXPECT_EQ(Count(shown, WM_SHOWWINDOW), 1);
}

TEST_F(SemanticsTest, HidingTheFocusWindow) {
  struct Case {
    const char* name;
    int how;  // 0 ShowWindow(focus), 1 SetWindowPos(focus, HIDE), 2 ShowWindow(its parent)
    bool toParent;
  };
  const Case cases[] = {
      {"ShowWindow", 0, true}, {"SWP_HIDEWINDOW", 1, false}, {"an ancestor hidden", 2, false}};
  for (const auto& tc : cases) {
    HWND top = Top("t", WS_OVERLAPPED | WS_VISIBLE);
    HWND panel = Child(top, "panel", WS_VISIBLE);
    HWND edit = Child(panel, "edit", WS_VISIBLE);
    desk.SetFocus(edit);
    log.clear();
    if (tc.how == 0) desk.ShowWindow(edit, SW_HIDE);
    if (tc.how == 1)
      desk.SetWindowPos(edit, 0, 0, 0, 0, 0,
                        SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (tc.how == 2) desk.ShowWindow(panel, SW_HIDE);
    EXPECT_EQ(desk.GetFocus(), tc.toParent ? panel : edit) << tc.name;
    EXPECT_EQ(Count(edit, WM_KILLFOCUS), tc.toParent ? 1 : 0) << tc.name;
    desk.DestroyWindow(top);
  }
  HWND top = Top("t", WS_OVERLAPPED | WS_VISIBLE);
  desk.SetFocus(top);
  desk.ShowWindow(top, SW_HIDE);
  EXPECT_EQ(desk.GetFocus(), 0u);
}

TEST_F(SemanticsTest, SetWindowPosShowAndHideSendNoShowWindow) {
  HWND top = Top("t", WS_OVERLAPPED | WS_VISIBLE);
  HWND c = Child(top, "c");
  HWND h = Top("h", WS_POPUP);
  log.clear();
  const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  for (HWND w : {c, h}) {
    desk.SetWindowPos(w, 0, 0, 0, 0, 0, keep | SWP_SHOWWINDOW);
    EXPECT_TRUE(desk.IsWindowVisible(w));
    desk.SetWindowPos(w, 0, 0, 0, 0, 0, keep | SWP_HIDEWINDOW);
    EXPECT_FALSE(desk.IsWindowVisible(w));
    EXPECT_EQ(Count(w, WM_SHOWWINDOW), 0);
  }
}

// ---- Text ----

TEST_F(SemanticsTest, SetTextReturnsTrueAndGetTextWithSizeZeroWritesNothing) {
  HWND h = Top("before");
  EXPECT_EQ(desk.SendMessage(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("after")), 1);
  char buf[4] = {'x', 'y', 'z', 'w'};
  EXPECT_EQ(desk.SendMessage(h, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buf)), 0);
  EXPECT_EQ(std::string(buf, 4), "xyzw");
  EXPECT_EQ(desk.SendMessage(h, WM_GETTEXT, 1, reinterpret_cast<LPARAM>(buf)), 0);
  EXPECT_EQ(buf[0], '\0');
}

// ---- Messages ----

TEST_F(SemanticsTest, PostLimitIsPerQueue) {
  HWND mine = Top("mine");
  desk.CreateProcess("other");
  HWND theirs = Top("theirs");
  for (int i = 0; i < 10000; ++i) ASSERT_TRUE(desk.PostMessage(mine, WM_USER, 0, 0)) << i;
  desk.SetLastError(0);
  EXPECT_FALSE(desk.PostMessage(mine, WM_USER, 1, 0));
  EXPECT_EQ(desk.GetLastError(), 1816u);
  EXPECT_TRUE(desk.PostMessage(theirs, WM_USER, 0, 0));
  EXPECT_TRUE(desk.PostMessage(0, WM_USER, 0, 0));  // the poster's queue is "other"
  desk.RunFor(1);
  EXPECT_EQ(Count(mine, WM_USER), 10000);
  EXPECT_EQ(Count(theirs, WM_USER), 1);
  EXPECT_TRUE(desk.PostMessage(mine, WM_USER, 1, 0));
}

TEST_F(SemanticsTest, ThreadMessagesAreAcceptedAndReachNoWindow) {
  HWND h = Top();
  log.clear();
  EXPECT_TRUE(desk.PostMessage(0, WM_USER + 5, 1, 2));
  desk.RunPending();
  EXPECT_TRUE(log.empty());
  desk.DestroyWindow(h);
  desk.SetLastError(0);
  EXPECT_FALSE(desk.PostMessage(h, WM_USER, 0, 0));
  EXPECT_EQ(desk.GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(SemanticsTest, PostedMessagesComeBeforeInput) {
  HWND top = Top("t", WS_OVERLAPPED | WS_VISIBLE);
  std::vector<std::string> order;
  desk.WatchWindow(top, [&](WatchedMessage& m, bool&) {
    if (m.msg == WM_KEYDOWN) {
      order.push_back("down");
      desk.PostMessage(top, WM_USER, 0, 0);
    }
    if (m.msg == WM_CHAR) order.push_back("char");
    if (m.msg == WM_USER) order.push_back("posted");
    if (m.msg == WM_KEYUP) order.push_back("up");
  });
  desk.SetFocus(top);
  desk.PressKey('A');
  // The loop translates the key press before dispatching it, so its WM_CHAR is queued first.
  EXPECT_EQ(order, (std::vector<std::string>{"down", "char", "posted", "up"}));
}

// ---- Destruction ----

TEST_F(SemanticsTest, DestroyingAWindowKillsItsTimersAndDropsItsMessages) {
  HWND h = Top();
  int procCalls = 0;
  desk.SetTimer(h, 1, 10, nullptr);
  desk.SetTimer(h, 2, 10, [&](HWND, UINT) { ++procCalls; });
  desk.PostMessage(h, WM_USER, 0, 0);
  desk.DestroyWindow(h);
  log.clear();
  desk.RunFor(100);
  EXPECT_EQ(procCalls, 0);
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(desk.KillTimer(h, 1));
}

// ---- Timers ----

TEST_F(SemanticsTest, ShortPeriodsBecomeTenMilliseconds) {
  for (UINT elapse : {0u, 1u, 9u, 10u}) {
    std::vector<uint64_t> at;
    uint64_t start = desk.NowMs();
    UINT id = desk.SetTimer(0, 0, elapse, [&](HWND, UINT) { at.push_back(desk.NowMs() - start); });
    desk.RunFor(35);
    EXPECT_EQ(at, (std::vector<uint64_t>{10, 20, 30})) << elapse;
    EXPECT_TRUE(desk.KillTimer(0, id));
    EXPECT_FALSE(desk.KillTimer(0, id));
  }
}

TEST_F(SemanticsTest, ThreadTimerIdsAreChosenUnlessOneIsReplaced) {
  int a = 0, b = 0;
  UINT first = desk.SetTimer(0, 500, 100, [&](HWND, UINT) { ++a; });
  EXPECT_NE(first, 0u);
  desk.RunFor(50);
  EXPECT_EQ(desk.SetTimer(0, first, 200, [&](HWND, UINT) { ++b; }), first);
  desk.RunFor(100);  // t = 150: the replaced timer counts from 50
  EXPECT_EQ(a + b, 0);
  desk.RunFor(150);  // t = 300
  EXPECT_EQ(b, 1);
  EXPECT_EQ(a, 0);
}

// ---- Focus, activation, capture, input ----

TEST_F(SemanticsTest, SetFocusResultsAndErrors) {
  HWND top = Top("t", WS_OVERLAPPED | WS_VISIBLE);
  HWND a = Child(top, "a", WS_VISIBLE);
  HWND b = Child(top, "b", WS_VISIBLE);
  EXPECT_EQ(desk.SetFocus(a), top);  // showing the window focused it
  log.clear();
  EXPECT_EQ(desk.SetFocus(b), a);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].wParam, b);  // WM_KILLFOCUS names the new focus
  EXPECT_EQ(log[1].wParam, a);  // WM_SETFOCUS the old one
  HWND dead = Child(top);
  desk.DestroyWindow(dead);
  desk.SetLastError(0);
  EXPECT_EQ(desk.SetFocus(dead), 0u);
  EXPECT_EQ(desk.GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_EQ(desk.SetFocus(desk.GetDesktopWindow()), 0u);
  EXPECT_EQ(desk.GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(desk.GetFocus(), b);
  // Inside a disabled window nothing takes the focus; a hidden window does.
  HWND panel = Child(top, "panel", WS_VISIBLE | WS_DISABLED);
  HWND inner = Child(panel, "inner", WS_VISIBLE);
  EXPECT_EQ(desk.SetFocus(inner), 0u);
  EXPECT_EQ(desk.GetFocus(), b);
  HWND hidden = Child(top, "hidden");
  EXPECT_EQ(desk.SetFocus(hidden), b);
  EXPECT_EQ(desk.GetFocus(), hidden);
}

TEST_F(SemanticsTest, SetFocusOnAChildOfAnInactiveWindowActivatesItFirst) {
  HWND other = Top("other", WS_OVERLAPPED);
  HWND top = Top("t", WS_OVERLAPPED | WS_VISIBLE);
  HWND c = Child(other, "c", WS_VISIBLE);
  ASSERT_EQ(desk.GetActiveWindow(), top);
  log.clear();
  EXPECT_EQ(desk.SetFocus(c), other);
  const std::vector<UINT> kinds{WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS};
  EXPECT_EQ(Only(other, kinds),
            (std::vector<UINT>{WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS}));
  EXPECT_EQ(Only(c, kinds), (std::vector<UINT>{WM_SETFOCUS}));
  EXPECT_EQ(desk.GetActiveWindow(), other);
}

TEST_F(SemanticsTest, ActivationAcrossProcessesTellsEveryTopLevelWindow) {
  DWORD a = desk.CreateProcess("a");
  HWND a1 = Top("a1", WS_POPUP);
  HWND a2 = Top("a2", WS_POPUP | WS_VISIBLE);
  DWORD b = desk.CreateProcess("b");
  HWND b1 = Top("b1", WS_POPUP);
  EXPECT_EQ(Count(a1, WM_ACTIVATEAPP), 1);  // the first activation
  log.clear();
  desk.ShowWindow(b1, SW_SHOW);
  std::vector<std::pair<HWND, WPARAM>> apps;
  for (const auto& l : log)
    if (l.msg == WM_ACTIVATEAPP) {
      apps.emplace_back(l.hwnd, l.wParam);
      EXPECT_EQ(static_cast<DWORD>(l.lParam), l.wParam ? a + 1 : b + 1);
    }
  EXPECT_EQ(apps, (std::vector<std::pair<HWND, WPARAM>>{{a2, 0}, {a1, 0}, {b1, 1}}));
  EXPECT_EQ(Only(a2, {WM_ACTIVATE, WM_ACTIVATEAPP}),
            (std::vector<UINT>{WM_ACTIVATE, WM_ACTIVATEAPP}));
  EXPECT_EQ(Only(b1, {WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE}),
            (std::vector<UINT>{WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE}));
}

TEST_F(SemanticsTest, CaptureResults) {
  HWND top = Top("t", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND a = Child(top, "a", WS_VISIBLE, 0, 0, 50, 50);
  HWND b = Child(top, "b");  // hidden windows take the capture too
  EXPECT_EQ(desk.SetCapture(a), 0u);
  log.clear();
  EXPECT_EQ(desk.SetCapture(b), a);
  ASSERT_EQ(Of(WM_CAPTURECHANGED), (std::vector<HWND>{a}));
  EXPECT_EQ(log.back().lParam, static_cast<LPARAM>(b));
  log.clear();
  EXPECT_EQ(desk.SetCapture(b), b);
  EXPECT_EQ(Of(WM_CAPTURECHANGED), (std::vector<HWND>{b}));
  desk.MouseMoveTo(POINT{10, 10});
  log.clear();
  EXPECT_TRUE(desk.ReleaseCapture());
  desk.RunPending();
  EXPECT_EQ(Of(WM_MOUSEMOVE), (std::vector<HWND>{a}));  // one move, to the window under the mouse
  log.clear();
  EXPECT_TRUE(desk.ReleaseCapture());
  desk.RunPending();
  EXPECT_TRUE(log.empty());
}

TEST_F(SemanticsTest, ClickOnAChildOfTheActiveWindow) {
  HWND top = Top("t", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100);
  HWND c = Child(top, "c", WS_VISIBLE, 10, 10, 50, 20);
  ASSERT_EQ(desk.GetActiveWindow(), top);
  desk.MouseMoveTo(POINT{135, 120});  // the middle of c, where Click presses
  log.clear();
  desk.Click(c);
  EXPECT_EQ(MessagesTo(c), (std::vector<UINT>{WM_NCHITTEST, WM_MOUSEACTIVATE, WM_SETCURSOR,
                                              WM_LBUTTONDOWN, WM_LBUTTONUP}));
  for (const auto& l : log) {
    if (l.hwnd == c && l.msg == WM_MOUSEACTIVATE) {
      EXPECT_EQ(l.wParam, top);
      EXPECT_EQ(l.lParam, MAKELPARAM(1, WM_LBUTTONDOWN));
    }
  }
  // The parent is notified first and asked by DefWindowProc for its answer.
  EXPECT_EQ(Only(top, {WM_PARENTNOTIFY, WM_MOUSEACTIVATE}),
            (std::vector<UINT>{WM_PARENTNOTIFY, WM_MOUSEACTIVATE}));
}

// ---- Menus ----

TEST_F(SemanticsTest, ByCommandSearchesSubmenusBeforeThePopupItem) {
  HMENU bar = desk.CreateMenu();
  HMENU sub = desk.CreatePopupMenu();
  HMENU other = desk.CreatePopupMenu();
  desk.AppendMenu(bar, MF_POPUP, sub, "Popup");
  desk.AppendMenu(sub, MF_STRING, sub, "Inner with the popup's value");
  desk.AppendMenu(bar, MF_POPUP, other, "Other");
  desk.AppendMenu(bar, MF_STRING, other, "Later item");
  HMENU lone = desk.CreatePopupMenu();
  desk.AppendMenu(bar, MF_POPUP, lone, "Lone");
  EXPECT_EQ(desk.GetMenuString(bar, sub, MF_BYCOMMAND), "Inner with the popup's value");
  EXPECT_EQ(desk.GetMenuString(bar, other, MF_BYCOMMAND), "Later item");
  EXPECT_EQ(desk.GetMenuString(bar, lone, MF_BYCOMMAND), "Lone");  // the fallback
  EXPECT_EQ(desk.GetMenuItemID(bar, -1), 0xFFFFFFFFu);
  EXPECT_EQ(desk.GetMenuItemID(bar, 4), 0xFFFFFFFFu);
}

TEST_F(SemanticsTest, CheckEnableAndStateResults) {
  HMENU m = desk.CreatePopupMenu();
  desk.AppendMenu(m, MF_STRING | MF_CHECKED | MF_GRAYED, 1, "one");
  struct Case {
    const char* name;
    DWORD result;
    DWORD expected;
  };
  const Case cases[] = {
      {"check, was checked", desk.CheckMenuItem(m, 1, MF_CHECKED), MF_CHECKED},
      {"disable, was grayed", desk.EnableMenuItem(m, 1, MF_DISABLED), MF_GRAYED},
      {"enable, was disabled", desk.EnableMenuItem(m, 1, MF_ENABLED), MF_DISABLED},
      {"check missing", desk.CheckMenuItem(m, 2, MF_CHECKED), 0xFFFFFFFFu},
      {"enable missing", desk.EnableMenuItem(m, 5, MF_BYPOSITION | MF_GRAYED), 0xFFFFFFFFu},
      {"state missing", desk.GetMenuState(m, 9, MF_BYPOSITION), 0xFFFFFFFFu},
      {"state", desk.GetMenuState(m, 1, MF_BYCOMMAND), MF_CHECKED},
  };
  for (const auto& tc : cases) EXPECT_EQ(tc.result, tc.expected) << tc.name;
}

TEST_F(SemanticsTest, ModifyMenuDestroysAReplacedSubmenu) {
  HMENU bar = desk.CreateMenu();
  HMENU sub = desk.CreatePopupMenu();
  HMENU kept = desk.CreatePopupMenu();
  desk.AppendMenu(bar, MF_POPUP, sub, "Sub");
  desk.AppendMenu(bar, MF_POPUP, kept, "Kept");
  EXPECT_TRUE(desk.ModifyMenu(bar, 0, MF_BYPOSITION | MF_STRING, 7, "Plain"));
  EXPECT_EQ(desk.GetMenuItemCount(sub), -1);
  EXPECT_TRUE(desk.ModifyMenu(bar, 1, MF_BYPOSITION | MF_POPUP, kept, "Renamed"));
  EXPECT_EQ(desk.GetMenuItemCount(kept), 0);
  EXPECT_EQ(desk.GetMenuString(bar, 1, MF_BYPOSITION), "Renamed");
}

TEST_F(SemanticsTest, DrawMenuBarOnADeadWindow) {
  HWND h = Top();
  desk.DestroyWindow(h);
  desk.SetLastError(0);
  EXPECT_FALSE(desk.DrawMenuBar(h));
  EXPECT_EQ(desk.GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(SemanticsTest, TrackPopupMenuMessagesErrorsAndTheCommand) {
  HMENU pop = desk.CreatePopupMenu();
  desk.AppendMenu(pop, MF_STRING, 21, "Go");
  desk.AppendMenu(pop, MF_STRING | MF_GRAYED, 22, "Grey");
  int nested = -1;
  DWORD nestedError = 0;
  WindowClass cls;
  cls.name = "Nester";
  HWND owner = 0;
  cls.proc = [&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    log.push_back({h, m, w, l});
    if (m == WM_INITMENUPOPUP && nested == -1) {
      nested = desk.TrackPopupMenu(pop, 0, 0, 0, owner);
      nestedError = desk.GetLastError();
    }
    return desk.DefWindowProc(h, m, w, l);
  };
  desk.RegisterClass(cls);
  owner = desk.CreateWindowEx(0, "Nester", "", WS_POPUP, 0, 0, 10, 10, 0, 0, nullptr);
  log.clear();
  desk.AnswerNextPopupMenu("Go");
  EXPECT_EQ(desk.TrackPopupMenu(pop, 0, 0, 0, owner), 1);
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(nestedError, ERROR_POPUP_ALREADY_ACTIVE);
  EXPECT_EQ(MessagesTo(owner),
            (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_ENTERIDLE,
                               WM_UNINITMENUPOPUP, WM_MENUSELECT, WM_EXITMENULOOP}));
  desk.RunPending();  // the command is posted: it arrives after the call returned
  ASSERT_EQ(Count(owner, WM_COMMAND), 1);
  EXPECT_EQ(log.back().wParam, 21u);
  EXPECT_EQ(log.back().lParam, 0);
  log.clear();
  desk.AnswerNextPopupMenu("Grey");  // cannot be chosen
  EXPECT_EQ(desk.TrackPopupMenu(pop, TPM_RETURNCMD, 0, 0, owner), 0);
  desk.AnswerNextPopupMenu("Go");
  EXPECT_EQ(desk.TrackPopupMenu(pop, TPM_RETURNCMD, 0, 0, owner), 21);
  desk.RunPending();
  EXPECT_EQ(Count(owner, WM_COMMAND), 0);
  desk.SetLastError(0);
  EXPECT_EQ(desk.TrackPopupMenu(0x1234, 0, 0, 0, owner), 0);
  EXPECT_EQ(desk.GetLastError(), ERROR_INVALID_MENU_HANDLE);
  EXPECT_EQ(desk.TrackPopupMenu(pop, 0, 0, 0, 0), 0);
  EXPECT_EQ(desk.GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

// ---- Clipboard and memory ----

TEST_F(SemanticsTest, ClipboardFormatsOpeningAndData) {
  UINT f = desk.RegisterClipboardFormat("Pallion Rich");
  EXPECT_LE(f, 0xFFFFu);
  EXPECT_EQ(desk.RegisterClipboardFormat("#1234"), 1234u);
  HWND w1 = Top("1"), w2 = Top("2");
  ASSERT_TRUE(desk.OpenClipboard(w1));
  EXPECT_TRUE(desk.OpenClipboard(w1));   // the same thread, the same window
  EXPECT_FALSE(desk.OpenClipboard(w2));  // the same thread, another window
  ASSERT_TRUE(desk.EmptyClipboard());
  HGLOBAL first = desk.GlobalAlloc(GMEM_MOVEABLE, 4);
  HGLOBAL second = desk.GlobalAlloc(GMEM_MOVEABLE, 8);
  desk.SetLastError(0);
  EXPECT_EQ(desk.SetClipboardData(0, first), 0u);
  EXPECT_EQ(desk.GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  EXPECT_EQ(desk.SetClipboardData(f, first), first);
  EXPECT_EQ(desk.SetClipboardData(f, second), second);
  EXPECT_EQ(desk.GlobalSize(first), 0u);  // freed by the clipboard
  EXPECT_EQ(desk.GetClipboardData(f), second);
  EXPECT_EQ(desk.GetClipboardData(CF_TEXT), 0u);
  EXPECT_TRUE(desk.EmptyClipboard());
  EXPECT_EQ(desk.GlobalSize(second), 0u);
  EXPECT_EQ(desk.GetClipboardData(f), 0u);
  EXPECT_TRUE(desk.CloseClipboard());
  desk.SetLastError(0);
  EXPECT_EQ(desk.GetClipboardData(f), 0u);
  EXPECT_EQ(desk.GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
}

TEST_F(SemanticsTest, GlobalMemoryAndProcessMemory) {
  HGLOBAL h = desk.GlobalAlloc(GMEM_MOVEABLE, 3);
  ASSERT_NE(desk.GlobalLock(h), nullptr);
  desk.SetLastError(5);
  EXPECT_FALSE(desk.GlobalUnlock(h));
  EXPECT_EQ(desk.GetLastError(), 0u);
  EXPECT_FALSE(desk.GlobalUnlock(h));
  EXPECT_EQ(desk.GetLastError(), ERROR_NOT_LOCKED);
  EXPECT_EQ(desk.GlobalFree(h), 0u);
  EXPECT_EQ(desk.GlobalFree(h), h);  // already freed
  DWORD gone = desk.CreateProcess("gone");
  desk.CreateProcess("reader");
  {
    Desktop::ProcessScope scope(desk, gone);
    desk.ExitProcess();
  }
  desk.SetLastError(0);
  EXPECT_EQ(desk.OpenProcess(PROCESS_VM_READ, false, gone), 0u);
  EXPECT_EQ(desk.GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
}  // namespace platform::sim::testing
