// Positions, coordinates, visibility, focus and activation.
#include "contract/contract_fixture.h"

namespace contract {
namespace {

using namespace platform;

TEST_F(Contract, ChildPositionsAreInTheParentsClientArea) {
  HWND top = MakeWindow(0, "", WS_POPUP, 100, 200, 300, 250);
  HWND child = MakeWindow(top, "", 0, 10, 20, 50, 40);
  RECT r;
  ASSERT_TRUE(GetWindowRect(top, r));
  EXPECT_EQ(r, (RECT{100, 200, 400, 450}));
  ASSERT_TRUE(GetWindowRect(child, r));
  EXPECT_EQ(r, (RECT{110, 220, 160, 260}));
  ASSERT_TRUE(GetClientRect(child, r));
  EXPECT_EQ(r, (RECT{0, 0, 50, 40}));
  POINT p{5, 6};
  ASSERT_TRUE(ClientToScreen(child, p));
  EXPECT_EQ(p, (POINT{115, 226}));
  ASSERT_TRUE(ScreenToClient(top, p));
  EXPECT_EQ(p, (POINT{15, 26}));
}

TEST_F(Contract, MovingAWindowReportsMoveAndSizeOnlyWhenTheyChange) {
  HWND top = MakeWindow(0, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 250);
  HWND child = MakeWindow(top, "", WS_VISIBLE, 10, 20, 50, 40);
  size_t mark = log.size();
  ASSERT_TRUE(MoveWindow(child, 30, 40, 50, 40, true));
  auto seen = Only({WM_MOVE, WM_SIZE}, mark);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].second, WM_MOVE);
  EXPECT_EQ(log.back().msg == WM_MOVE ? log.back().lParam : MAKELPARAM(30, 40), MAKELPARAM(30, 40));
  mark = log.size();
  ASSERT_TRUE(SetWindowPos(child, 0, 0, 0, 70, 60, SWP_NOMOVE | SWP_NOZORDER));
  seen = Only({WM_MOVE, WM_SIZE}, mark);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].second, WM_SIZE);
  RECT r;
  GetWindowRect(child, r);
  EXPECT_EQ(r, (RECT{30, 40, 100, 100}));
}

TEST_F(Contract, VisibilityNeedsEveryAncestorAndShowWindowReturnsThePreviousState) {
  HWND top = MakeWindow(0, "", WS_POPUP);
  HWND child = MakeWindow(top, "", WS_VISIBLE);
  EXPECT_FALSE(IsWindowVisible(child)) << "its parent is hidden";
  EXPECT_TRUE(GetWindowLong(child, GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(ShowWindow(top, SW_SHOWNA));
  EXPECT_TRUE(IsWindowVisible(child));
  EXPECT_TRUE(ShowWindow(child, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_FALSE(ShowWindow(child, SW_HIDE));
}

TEST_F(Contract, ShowWindowSendsShowWindowOnlyWhenVisibilityChanges) {
  HWND top = MakeWindow(0, "", WS_POPUP | WS_VISIBLE);
  HWND child = MakeWindow(top, "");
  size_t mark = log.size();
  ShowWindow(child, SW_SHOW);
  ShowWindow(child, SW_SHOW);
  EXPECT_EQ(Only({WM_SHOWWINDOW}, mark).size(), 1u);
  mark = log.size();
  ShowWindow(child, SW_HIDE);
  ASSERT_EQ(Only({WM_SHOWWINDOW}, mark).size(), 1u);
}

TEST_F(Contract, SiblingOrderFollowsSetWindowPos) {
  HWND top = MakeWindow(0, "", WS_POPUP);
  HWND a = MakeWindow(top, "a");
  HWND b = MakeWindow(top, "b");
  HWND c = MakeWindow(top, "c");
  ASSERT_TRUE(SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
  EXPECT_EQ(GetWindow(top, GW_CHILD), c);
  ASSERT_TRUE(SetWindowPos(c, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
  EXPECT_EQ(GetWindow(a, GW_HWNDLAST), c);
  ASSERT_TRUE(SetWindowPos(a, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
  EXPECT_EQ(GetWindow(top, GW_CHILD), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
}

TEST_F(Contract, FocusMovesWithKillFocusThenSetFocus) {
  HWND top = MakeWindow(0, "", WS_POPUP | WS_VISIBLE);
  SetForegroundWindow(top);
  HWND a = MakeWindow(top, "a", WS_VISIBLE);
  HWND b = MakeWindow(top, "b", WS_VISIBLE);
  SetFocus(a);
  ASSERT_EQ(GetFocus(), a);
  const size_t mark = log.size();
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(GetFocus(), b);
  std::vector<std::pair<HWND, UINT>> expected = {{a, WM_KILLFOCUS}, {b, WM_SETFOCUS}};
  EXPECT_EQ(Only({WM_KILLFOCUS, WM_SETFOCUS}, mark), expected);
  EXPECT_EQ(GetActiveWindow(), top);
}

TEST_F(Contract, CaptureIsTakenReportedAndReleased) {
  HWND top = MakeWindow(0, "", WS_POPUP | WS_VISIBLE);
  HWND a = MakeWindow(top, "a", WS_VISIBLE);
  HWND b = MakeWindow(top, "b", WS_VISIBLE);
  EXPECT_EQ(SetCapture(a), 0u);
  EXPECT_EQ(GetCapture(), a);
  const size_t mark = log.size();
  EXPECT_EQ(SetCapture(b), a);
  EXPECT_EQ(Only({WM_CAPTURECHANGED}, mark),
            (std::vector<std::pair<HWND, UINT>>{{a, WM_CAPTURECHANGED}}));
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_EQ(GetCapture(), 0u);
}

}  // namespace
}  // namespace contract
