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

}  // namespace
}  // namespace platform::sim::testing
