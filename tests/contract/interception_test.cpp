// The interception components on windows of the calling process.
#include "contract/contract_fixture.h"

namespace contract {
namespace {

using namespace platform;

TEST_F(Contract, AWatcherSeesMessagesFirstAndCanSwallowThem) {
  HWND h = MakeWindow(0, "", WS_POPUP);
  std::vector<UINT> watched;
  HANDLE watch = WatchWindow(h, [&](WatchedMessage& m, bool& noPass) {
    watched.push_back(m.msg);
    if (m.msg == WM_CLOSE) {
      noPass = true;
      m.result = 5;
    }
  });
  ASSERT_NE(watch, 0u);
  const size_t mark = log.size();
  EXPECT_EQ(SendMessage(h, WM_CLOSE, 0, 0), 5);
  EXPECT_TRUE(IsWindow(h)) << "the swallowed WM_CLOSE never reached the window";
  EXPECT_TRUE(Only({WM_CLOSE}, mark).empty());
  SendMessage(h, WM_USER + 9, 0, 0);
  EXPECT_EQ(Only({WM_USER + 9}, mark).size(), 1u) << "other messages pass on";
  EXPECT_EQ(watched, (std::vector<UINT>{WM_CLOSE, WM_USER + 9}));
  ASSERT_TRUE(UnwatchWindow(watch));
  EXPECT_FALSE(UnwatchWindow(watch));
  SendMessage(h, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(h));
}

TEST_F(Contract, AWatcherCanChangeTheMessageThatPassesOn) {
  HWND h = MakeWindow(0, "", WS_POPUP);
  HANDLE watch = WatchWindow(h, [](WatchedMessage& m, bool&) {
    if (m.msg == WM_USER + 1) m.wParam = 77;
  });
  ASSERT_NE(watch, 0u);
  const size_t mark = log.size();
  SendMessage(h, WM_USER + 1, 1, 0);
  ASSERT_EQ(Only({WM_USER + 1}, mark).size(), 1u);
  EXPECT_EQ(log.back().wParam, 77u);
  UnwatchWindow(watch);
}

TEST_F(Contract, HooksNeedAProcedureAndUnhookRefusesUnknownHandles) {
  HWND h = MakeWindow(0, "", WS_POPUP);
  EXPECT_EQ(SetMouseHook(h, nullptr), 0u);
  EXPECT_EQ(SetKeyboardHook(nullptr), 0u);
  HANDLE mouse = SetMouseHook(h, [](HWND, UINT&, WPARAM, LPARAM) {});
  ASSERT_NE(mouse, 0u);
  EXPECT_TRUE(Unhook(mouse));
  EXPECT_FALSE(Unhook(mouse));
}

TEST_F(Contract, GetEditLineReadsOneLineOfAnEditWindow) {
  WindowClass cls;
  cls.name = "ContractLines";
  // An edit-like window answering the line messages as the system's edit control does.
  cls.proc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    static const char* const lines[] = {"first line", "second"};
    if (m == EM_LINEINDEX) return w == 0 ? 0 : w == 1 ? 12 : -1;
    if (m == EM_LINELENGTH) return l == 0 ? 10 : 6;
    if (m == EM_GETLINE) {
      if (w > 1) return 0;
      auto* buffer = reinterpret_cast<char*>(l);
      const uint16_t room = *reinterpret_cast<uint16_t*>(buffer);
      const std::string line = lines[w];
      const size_t n = std::min<size_t>(room, line.size());
      line.copy(buffer, n);
      return static_cast<LRESULT>(n);
    }
    return DefWindowProc(h, m, w, l);
  };
  ASSERT_TRUE(RegisterClass(cls));
  HWND edit = MakeWindow(0, "", WS_POPUP, 0, 0, 10, 10, "ContractLines");
  EXPECT_EQ(GetEditLine(edit, 1), "first line");
  EXPECT_EQ(GetEditLine(edit, 2), "second");
  EXPECT_EQ(GetEditLine(edit, 3), "");
}

}  // namespace
}  // namespace contract
