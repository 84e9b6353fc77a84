// Messages and timers: sending, posting and their order, window text, timers.
#include "contract/contract_fixture.h"

namespace contract {
namespace {

using namespace platform;

constexpr UINT kFirst = WM_USER + 1;
constexpr UINT kSecond = WM_USER + 2;
constexpr UINT kThird = WM_USER + 3;

TEST_F(Contract, SendMessageRunsTheProcedureAtOnceAndReturnsItsResult) {
  WindowClass cls;
  cls.name = "ContractAnswering";
  cls.proc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == kFirst) return static_cast<LRESULT>(w * 2 + l);
    return DefWindowProc(h, m, w, l);
  };
  ASSERT_TRUE(RegisterClass(cls));
  HWND h = MakeWindow(0, "", WS_POPUP, 0, 0, 10, 10, "ContractAnswering");
  EXPECT_EQ(SendMessage(h, kFirst, 20, 2), 42);
}

TEST_F(Contract, PostedMessagesArriveInOrderOnlyWhenTheLoopRuns) {
  HWND a = MakeWindow(0, "a", WS_POPUP);
  HWND b = MakeWindow(0, "b", WS_POPUP);
  const size_t mark = log.size();
  ASSERT_TRUE(PostMessage(a, kFirst, 1, 0));
  ASSERT_TRUE(PostMessage(b, kSecond, 2, 0));
  ASSERT_TRUE(PostMessage(a, kThird, 3, 0));
  EXPECT_TRUE(Only({kFirst, kSecond, kThird}, mark).empty()) << "posting does not deliver";
  SendMessage(b, kSecond, 0, 0);  // a send overtakes what is queued
  Pump(50);
  std::vector<std::pair<HWND, UINT>> expected = {
      {b, kSecond}, {a, kFirst}, {b, kSecond}, {a, kThird}};
  EXPECT_EQ(Only({kFirst, kSecond, kThird}, mark), expected);
}

TEST_F(Contract, MessagesCarryingPointersCannotBePosted) {
  HWND h = MakeWindow(0, "", WS_POPUP);
  static const char text[] = "x";
  EXPECT_FALSE(PostMessage(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
  EXPECT_EQ(GetLastError(), ERROR_MESSAGE_SYNC_ONLY);
}

TEST_F(Contract, WindowTextGoesThroughSetTextAndGetTextLimitsTheCopy) {
  HWND h = MakeWindow(0, "first", WS_POPUP);
  EXPECT_EQ(GetWindowText(h), "first");
  EXPECT_EQ(GetWindowTextLength(h), 5);
  const size_t mark = log.size();
  EXPECT_TRUE(SetWindowText(h, "second one"));
  EXPECT_EQ(Only({WM_SETTEXT}, mark).size(), 1u);
  char buffer[5] = {'#', '#', '#', '#', '#'};
  EXPECT_EQ(SendMessage(h, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 4);
  EXPECT_STREQ(buffer, "seco");
  EXPECT_EQ(SendMessage(h, WM_GETTEXTLENGTH, 0, 0), 10);
}

TEST_F(Contract, DeadOrNullWindowsAreRefusedWithTheInvalidHandleError) {
  HWND h = MakeWindow(0, "", WS_POPUP);
  ASSERT_TRUE(DestroyWindow(h));
  EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(IsWindow(0));
  // The system sets ERROR_INVALID_WINDOW_HANDLE; Wine at times ERROR_ACCESS_DENIED once the
  // handle's slot serves another thread's window, so only the refusal is part of the contract.
  EXPECT_FALSE(DestroyWindow(h));
  EXPECT_FALSE(PostMessage(h, kFirst, 0, 0));
  EXPECT_EQ(SendMessage(h, kFirst, 0, 0), 0);
}

TEST_F(Contract, ATimerTicksThroughItsProcedureUntilKilled) {
  HWND h = MakeWindow(0, "", WS_POPUP);
  int ticks = 0;
  ASSERT_EQ(SetTimer(h, 7, 20,
                     [&](HWND hwnd, UINT id) {
                       EXPECT_EQ(hwnd, h);
                       EXPECT_EQ(id, 7u);
                       ++ticks;
                     }),
            7u);
  Pump(300);
  EXPECT_GE(ticks, 2);
  EXPECT_TRUE(KillTimer(h, 7));
  const int atKill = ticks;
  Pump(100);
  EXPECT_EQ(ticks, atKill);
  EXPECT_FALSE(KillTimer(h, 7)) << "a killed timer is gone";
}

TEST_F(Contract, ATimerWithoutProcedureSendsWmTimerToItsWindow) {
  HWND h = MakeWindow(0, "", WS_POPUP);
  ASSERT_EQ(SetTimer(h, 3, 20, nullptr), 3u);
  const size_t mark = log.size();
  Pump(200);
  KillTimer(h, 3);
  ASSERT_FALSE(Only({WM_TIMER}, mark).empty());
  for (size_t i = mark; i < log.size(); ++i) {
    if (log[i].msg == WM_TIMER) {
      EXPECT_EQ(log[i].wParam, 3u);
    }
  }
}

TEST_F(Contract, AThreadTimerGetsAnIdOfItsOwn) {
  int ticks = 0;
  UINT id = SetTimer(0, 0, 20, [&](HWND, UINT) { ++ticks; });
  ASSERT_NE(id, 0u);
  Pump(200);
  EXPECT_TRUE(KillTimer(0, id));
  EXPECT_GE(ticks, 1);
}

TEST_F(Contract, DestroyingAParentSendsDestroyDownTheTreeAndNcDestroyBackUp) {
  HWND parent = MakeWindow(0, "P", WS_POPUP);
  HWND c1 = MakeWindow(parent, "C1");
  HWND c2 = MakeWindow(parent, "C2");
  HWND c3 = MakeWindow(c1, "C3");
  const size_t mark = log.size();
  ASSERT_TRUE(DestroyWindow(parent));
  std::vector<std::pair<HWND, UINT>> expected = {
      {parent, WM_DESTROY}, {c1, WM_DESTROY},   {c3, WM_DESTROY},   {c2, WM_DESTROY},
      {c3, WM_NCDESTROY},   {c1, WM_NCDESTROY}, {c2, WM_NCDESTROY}, {parent, WM_NCDESTROY}};
  EXPECT_EQ(Only({WM_DESTROY, WM_NCDESTROY}, mark), expected);
  EXPECT_FALSE(IsWindow(c3));
}

TEST_F(Contract, WmCloseThroughDefWindowProcDestroysTheWindow) {
  HWND h = MakeWindow(0, "", WS_POPUP);
  EXPECT_EQ(SendMessage(h, WM_CLOSE, 0, 0), 0);
  EXPECT_FALSE(IsWindow(h));
}

}  // namespace
}  // namespace contract
