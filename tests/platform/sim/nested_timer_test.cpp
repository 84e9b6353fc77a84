// A handler that waits in a nested loop does not hold up the other timers.
#include <algorithm>

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
TEST_F(NestedTimerTest, ARespondersNestedLoopLeavesTheOthersInPlace) {
  // The first responder waits in a nested loop (as answering a modal window does), during which
  // the second one answers; afterwards the third is still there and runs once.
  std::vector<int> order;
  desk.AddResponder([&] {
    order.push_back(1);
    desk.RunFor(10);
    return true;
  });
  desk.AddResponder([&] {
    order.push_back(2);
    return true;
  });
  int thirdRuns = 0;
  desk.AddResponder([&] {
    order.push_back(3);
    return ++thirdRuns == 2;
  });
  desk.RunFor(50);
  EXPECT_EQ(order.front(), 1);
  EXPECT_EQ(std::count(order.begin(), order.end(), 1), 1);
  EXPECT_EQ(std::count(order.begin(), order.end(), 2), 1);
  EXPECT_EQ(thirdRuns, 2);
}

}  // namespace
}  // namespace platform::sim::testing
