// A handler that waits in a nested loop does not hold up the other timers.
#include "sim_fixture.h"

namespace platform::sim::testing {
namespace {
class NestedTimerTest : public SimTest {};
TEST_F(NestedTimerTest, OtherTimersTickInsideATimersHandler) {
  HWND h = Top("", WS_POPUP);
  int a = 0, b = 0;
  desk.SetTimer(h, 1, 500, [&](HWND, UINT) {
    ++a;
    if (a == 1) {
      uint64_t start = desk.NowMs();
      while (desk.NowMs() - start < 3000) desk.DoEvents();
    }
  });
  desk.SetTimer(h, 2, 100, [&](HWND, UINT) { ++b; });
  desk.RunFor(3600);
  EXPECT_GE(b, 30);  // every 100 ms, also during the 3 s wait
  EXPECT_GE(a, 2);
}
}  // namespace
}  // namespace platform::sim::testing
