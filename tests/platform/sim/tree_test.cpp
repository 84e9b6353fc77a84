// Window tree, z-order, finding windows, text and visibility.
#include "sim_fixture.h"

namespace platform::sim::testing {
namespace {

using TreeTest = SimTest;

TEST_F(TreeTest, ChildrenLandAtTheBottomMdiAndMaximizedOnTop) {
  HWND p = Top();
  HWND a = Child(p), b = Child(p, "", WS_VISIBLE), c = Child(p);
  EXPECT_EQ(Children(p), (std::vector<HWND>{a, b, c}));
  HWND m = Child(p, "", WS_MAXIMIZE);
  EXPECT_EQ(Children(p), (std::vector<HWND>{m, a, b, c}));
  HWND mdi1 = Child(p, "", 0, 0, 0, 10, 10, WS_EX_MDICHILD);
  HWND mdi2 = Child(p, "", 0, 0, 0, 10, 10, WS_EX_MDICHILD);
  EXPECT_EQ(Children(p), (std::vector<HWND>{mdi2, mdi1, m, a, b, c}));
}

TEST_F(TreeTest, TopLevelWindowsLandOnTopOfTheirBand) {
  HWND t1 = Top("1");
  HWND tm = Top("tm", WS_POPUP, 0, 0, 10, 10, WS_EX_TOPMOST);
  HWND t2 = Top("2");
  EXPECT_EQ(Children(desk.GetDesktopWindow()), (std::vector<HWND>{tm, t2, t1}));
}

TEST_F(TreeTest, HandlesAreNeverReused) {
  HWND a = Top();
  desk.DestroyWindow(a);
  HWND b = Top();
  EXPECT_NE(a, b);
  EXPECT_FALSE(desk.IsWindow(a));
}

TEST_F(TreeTest, ChildWithoutParentFails) {
  desk.SetLastError(0);
  EXPECT_EQ(desk.CreateWindowEx(0, "Recorder", "", WS_CHILD, 0, 0, 1, 1, 0, 0, nullptr), 0u);
  EXPECT_EQ(desk.GetLastError(), ERROR_TLW_WITH_WSCHILD);
  EXPECT_EQ(desk.CreateWindowEx(0, "NoSuchClass", "", 0, 0, 0, 1, 1, 0, 0, nullptr), 0u);
}

TEST_F(TreeTest, SetWindowPosWithANonSiblingDoesNothingUnlessNoZOrder) {
  HWND p = Top();
  HWND other = Top();
  HWND a = Child(p, "", 0, 1, 1, 10, 10), b = Child(p);
  HWND stranger = Child(other);
  EXPECT_TRUE(desk.SetWindowPos(b, stranger, 50, 60, 70, 80, 0));
  RECT r;
  desk.GetWindowRect(b, r);
  RECT pr;
  desk.GetClientRect(p, pr);
  POINT origin{0, 0};
  desk.ClientToScreen(p, origin);
  EXPECT_EQ(r.left - origin.x, 0);
  EXPECT_EQ(r.Width(), 50);
  EXPECT_EQ(Children(p), (std::vector<HWND>{a, b}));
  EXPECT_TRUE(desk.SetWindowPos(b, stranger, 50, 60, 70, 80, SWP_NOZORDER));
  desk.GetWindowRect(b, r);
  EXPECT_EQ(r, (RECT{origin.x + 50, origin.y + 60, origin.x + 120, origin.y + 140}));
}

TEST_F(TreeTest, MoveWindowKeepsTheZOrderBringWindowToTopRaises) {
  HWND p = Top();
  HWND a = Child(p), b = Child(p);
  desk.MoveWindow(b, 5, 5, 10, 10, true);
  EXPECT_EQ(Children(p), (std::vector<HWND>{a, b}));
  EXPECT_TRUE(desk.BringWindowToTop(b));
  EXPECT_EQ(Children(p), (std::vector<HWND>{b, a}));
}

TEST_F(TreeTest, FindWindowExFindsHiddenWindowsAndSendsNoGetText) {
  HWND p = Top();
  HWND hidden = Child(p, "Secret");
  log.clear();
  EXPECT_EQ(desk.FindWindowEx(p, 0, nullptr, "Secret"), hidden);
  EXPECT_EQ(Count(hidden, WM_GETTEXT), 0);
  EXPECT_EQ(desk.FindWindowEx(0, 0, "Recorder", "Top"), p);  // no parent: the top-level windows
}

TEST_F(TreeTest, ShowingAChildOfAHiddenParentSendsOnlyShowWindow) {
  HWND p = Top();
  HWND c = Child(p);
  log.clear();
  EXPECT_FALSE(desk.ShowWindow(c, SW_SHOW));
  EXPECT_EQ(MessagesTo(c), (std::vector<UINT>{WM_SHOWWINDOW}));
  EXPECT_FALSE(desk.IsWindowVisible(c));
  EXPECT_NE(desk.GetWindowLong(c, GWL_STYLE) & WS_VISIBLE, 0);
}

TEST_F(TreeTest, CreationSequence) {
  HWND p = Top("", WS_OVERLAPPED | WS_VISIBLE);
  log.clear();
  HWND c = Child(p, "", WS_VISIBLE, 1, 2, 30, 40);
  EXPECT_EQ(MessagesTo(c),
            (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE,
                               WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));
  ASSERT_EQ(Of(WM_PARENTNOTIFY), (std::vector<HWND>{p}));
  for (const auto& l : log) {
    if (l.hwnd == c && l.msg == WM_SIZE) {
      EXPECT_EQ(l.lParam, MAKELPARAM(30, 40));
    }
    if (l.hwnd == c && l.msg == WM_MOVE) {
      EXPECT_EQ(l.lParam, MAKELPARAM(1, 2));
    }
  }
}

struct MetricsCase {
  DWORD style;
  bool menu;
  RECT client;  // for a 200x150 window
};

TEST_F(TreeTest, NonClientMetrics) {
  const MetricsCase cases[] = {
      {WS_POPUP, false, {0, 0, 200, 150}},
      {WS_POPUP | WS_BORDER, false, {0, 0, 198, 148}},
      {WS_POPUP | WS_DLGFRAME, false, {0, 0, 194, 144}},
      {WS_OVERLAPPED | WS_CAPTION, false, {0, 0, 194, 126}},
      {WS_OVERLAPPEDWINDOW, false, {0, 0, 192, 124}},
      {WS_OVERLAPPEDWINDOW, true, {0, 0, 192, 105}},
  };
  for (const auto& tc : cases) {
    HWND h = Top("m", tc.style, 100, 50, 200, 150);
    if (tc.menu) desk.SetMenu(h, desk.CreateMenu());
    RECT r;
    desk.GetClientRect(h, r);
    EXPECT_EQ(r, tc.client) << std::hex << tc.style;
    RECT w;
    desk.GetWindowRect(h, w);
    EXPECT_EQ(w, (RECT{100, 50, 300, 200}));
  }
}

TEST_F(TreeTest, GetWindowTextOwnProcessSendsGetTextOtherProcessReadsStored) {
  DWORD client = desk.CreateProcess("client");
  HWND edit = Top("stored");
  desk.CreateProcess("addon");
  log.clear();
  EXPECT_EQ(desk.GetWindowText(edit), "stored");
  EXPECT_EQ(Count(edit, WM_GETTEXT), 0);
  {
    Desktop::ProcessScope scope(desk, client);
    EXPECT_EQ(desk.GetWindowText(edit), "stored");
    EXPECT_EQ(Count(edit, WM_GETTEXT), 1);
    EXPECT_TRUE(desk.SetWindowText(edit, "new"));
  }
  EXPECT_EQ(desk.GetWindowText(edit), "new");
}

TEST_F(TreeTest, DeadHandlesAreHarmless) {
  HWND h = Top();
  desk.DestroyWindow(h);
  desk.SetLastError(0);
  EXPECT_EQ(desk.SendMessage(h, WM_USER, 0, 0), 0);
  EXPECT_EQ(desk.GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_EQ(desk.GetWindowLong(h, GWL_STYLE), 0);
  EXPECT_EQ(desk.GetWindowText(h), "");
  EXPECT_FALSE(desk.ShowWindow(h, SW_SHOW));
  EXPECT_EQ(desk.SetParent(h, 0), 0u);
  EXPECT_EQ(desk.GetWindow(0, GW_CHILD), 0u);
  EXPECT_FALSE(desk.IsWindowVisible(0));
}

TEST_F(TreeTest, DumpTreeListsWindowsTopFirst) {
  desk.CreateProcess("client");
  HWND p = Top("Frame \xB2", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  Child(p, "bottom");
  Child(p, "top", WS_MAXIMIZE);
  std::string dump = desk.DumpTree(p);
  EXPECT_NE(dump.find("\"Recorder\" \"Frame \xB2\" visible (0,0)-(100,100) client"),
            std::string::npos);
  EXPECT_LT(dump.find("\"top\""), dump.find("\"bottom\""));
  EXPECT_NE(dump.find("\n  0x"), std::string::npos);
}

// What a scan by class and caption could see changes the version; nothing else does.
TEST_F(TreeTest, WindowTreeVersionFollowsWhatAScanSees) {
  const HWND top = Top("Frame");
  const HWND a = Child(top, "A", WS_VISIBLE);
  const HWND b = Child(top, "B", WS_VISIBLE);
  uint64_t version = desk.WindowTreeVersion();
  auto changed = [&] {
    const uint64_t now = desk.WindowTreeVersion();
    const bool moved = now != version;
    version = now;
    return moved;
  };
  EXPECT_FALSE(changed());
  desk.SetWindowText(a, "A");
  desk.MoveWindow(a, 5, 5, 40, 10, true);
  desk.ShowWindow(b, SW_HIDE);
  desk.FindWindowEx(top, 0, "Recorder", nullptr);
  EXPECT_FALSE(changed()) << "same text, a move, a hide and a search change no list or text";

  desk.SetWindowText(a, "A2");
  EXPECT_TRUE(changed()) << "a new text";
  desk.SendMessage(b, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("B2"));
  EXPECT_TRUE(changed()) << "a new text through the message";
  const HWND c = Child(top, "C");
  EXPECT_TRUE(changed()) << "a new window";
  desk.SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_TRUE(changed()) << "a new place in the z-order";
  desk.SetParent(c, a);
  EXPECT_TRUE(changed()) << "a new parent";
  desk.DestroyWindow(c);
  EXPECT_TRUE(changed()) << "a destroyed window";
}

// Walking a parent's children with FindWindowEx and GetWindow finds each once, in order, also
// when the list changes between the steps.
TEST_F(TreeTest, WalksOverChildrenSurviveChangesBetweenSteps) {
  const HWND top = Top("Frame");
  std::vector<HWND> made;
  for (int i = 0; i < 6; ++i) made.push_back(Child(top, "c" + std::to_string(i)));
  std::vector<HWND> found;
  for (HWND c = desk.FindWindowEx(top, 0, "Recorder", nullptr); c != 0;
       c = desk.FindWindowEx(top, c, "Recorder", nullptr)) {
    found.push_back(c);
  }
  EXPECT_EQ(found, Children(top));
  EXPECT_EQ(found.size(), 6u);

  // The step after a window that went to the top starts from its new place.
  const HWND second = desk.FindWindowEx(top, found[0], "Recorder", nullptr);
  desk.SetWindowPos(second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(desk.FindWindowEx(top, second, "Recorder", nullptr), found[0]);
  EXPECT_EQ(desk.GetWindow(second, GW_HWNDNEXT), found[0]);
  // A window destroyed under the walk ends it, as the system's FindWindowEx fails then.
  const HWND third = desk.FindWindowEx(top, found[0], "Recorder", nullptr);
  desk.DestroyWindow(third);
  EXPECT_EQ(desk.FindWindowEx(top, third, "Recorder", nullptr), 0u);
  EXPECT_EQ(desk.GetWindow(third, GW_HWNDNEXT), 0u);
  EXPECT_FALSE(desk.IsWindow(third));
  EXPECT_EQ(desk.FindWindowEx(top, found[0], "Recorder", nullptr), found[3]);
}

}  // namespace
}  // namespace platform::sim::testing
