// Focus across processes: a child re-parented into another process's window shares its input.
#include "sim_fixture.h"

namespace platform::sim::testing {
namespace {

class InputQueueTest : public SimTest {};

TEST_F(InputQueueTest, FocusInAnotherProcessesTreeNeedsAReparentedChild) {
  DWORD host = desk.CreateProcess("Host");
  HWND frame = Top("Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND hostEdit = Child(frame, "", WS_VISIBLE);
  DWORD addOn = desk.CreateProcess("AddOn");
  HWND panel = Top("Panel", WS_POPUP);
  HWND button = Child(panel, "", WS_VISIBLE);
  SetWindowLong(panel, GWL_STYLE, WS_CHILD | WS_VISIBLE);

  // Before re-parenting, the add-on cannot take the focus into the host's tree.
  EXPECT_EQ(desk.SetFocus(hostEdit), 0u);
  EXPECT_EQ(desk.GetLastError(), ERROR_ACCESS_DENIED);

  desk.SetParent(panel, frame);
  desk.SetFocus(button);
  EXPECT_EQ(desk.GetFocus(), button);
  desk.SetFocus(hostEdit);  // joined: the host's windows too
  EXPECT_EQ(desk.GetFocus(), hostEdit);
  {
    Desktop::ProcessScope scope(desk, host);
    desk.SetFocus(button);
    EXPECT_EQ(desk.GetFocus(), button);
  }
  (void)addOn;
}

TEST_F(InputQueueTest, AClickElsewhereFirstMovesTheMouseAwayFromTheCaptor) {
  HWND h = Top("", WS_POPUP | WS_VISIBLE, 100, 100, 300, 100);
  HWND captor = Child(h, "captor", WS_VISIBLE, 10, 10, 50, 20);
  HWND other = Child(h, "other", WS_VISIBLE, 200, 10, 50, 20);
  desk.Click(captor);
  desk.SetCapture(captor);
  log.clear();
  desk.Click(other);
  // The move reaches the captor (which may let go); the press and release then go to the
  // captor as long as it holds the capture, as on the real system.
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front().hwnd, captor);
  EXPECT_EQ(log.front().msg, static_cast<UINT>(WM_MOUSEMOVE));
}

}  // namespace
}  // namespace platform::sim::testing
