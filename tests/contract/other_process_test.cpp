// The interception components, lines and menus on windows of another process, and the
// leftovers that process undoes when the one that made them ends unannounced.
#include "contract/contract_fixture.h"
#include "platform/leftovers.h"

namespace contract {
namespace {

using namespace platform;

class OtherProcess : public Contract {
 protected:
  void SetUp() override {
    Contract::SetUp();
    frame = StartClientPartner();
    ASSERT_NE(frame, 0u) << "the partner did not come up";
    target = FindWindowEx(frame, 0, partner::kClass, "target");
    lines = FindWindowEx(frame, 0, "Edit", nullptr);
    DWORD owner = 0;
    GetWindowThreadProcessId(target, &owner);
    ASSERT_NE(owner, GetCurrentProcessId());
  }
  HWND frame = 0;
  HWND target = 0;
  HWND lines = 0;
};

TEST_F(OtherProcess, AWatcherSeesItsMessagesFirstSwallowsAndChangesThem) {
  std::vector<UINT> seen;
  HANDLE watch = WatchWindow(target, [&](WatchedMessage& m, bool& noPass) {
    seen.push_back(m.msg);
    if (m.msg == WM_CLOSE) {
      noPass = true;
      m.result = 5;
    }
    if (m.msg == WM_COMMAND) m.wParam = 4;
  });
  ASSERT_NE(watch, 0u);
  EXPECT_EQ(SendMessage(target, WM_CLOSE, 0, 0), 5);
  EXPECT_TRUE(IsWindow(target)) << "the swallowed WM_CLOSE never reached the window";
  SendMessage(target, WM_COMMAND, 3, 0);
  EXPECT_EQ(GetWindowText(target), "command 4") << "the changed message passed on";
  EXPECT_NE(std::find(seen.begin(), seen.end(), WM_CLOSE), seen.end());
  ASSERT_TRUE(UnwatchWindow(watch));
  SendMessage(target, WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(target); }));
}

TEST_F(OtherProcess, AMouseHookSeesThePersonsClicksAndCanStopThem) {
  std::vector<UINT> mouse;
  bool stop = true;
  HANDLE hook = SetMouseHook(target, [&](HWND, UINT& msg, WPARAM, LPARAM) {
    mouse.push_back(msg);
    if (stop && msg == WM_LBUTTONDOWN) msg = 0;
  });
  ASSERT_NE(hook, 0u);
  ClickAsPerson(target);
  ASSERT_TRUE(PumpUntil(
      [&] { return std::find(mouse.begin(), mouse.end(), WM_LBUTTONUP) != mouse.end(); }));
  EXPECT_NE(std::find(mouse.begin(), mouse.end(), WM_LBUTTONDOWN), mouse.end());
  EXPECT_EQ(GetWindowText(target), "target") << "the stopped press reached the window";
  stop = false;
  ClickAsPerson(target);
  EXPECT_TRUE(PumpUntil([&] { return GetWindowText(target) == "clicked"; }));
  // A mouse message sent by a program is not the person's input.
  const size_t before = mouse.size();
  SendMessage(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(mouse.size(), before);
  EXPECT_TRUE(Unhook(hook));
  EXPECT_FALSE(Unhook(hook));
}

TEST_F(OtherProcess, AKeyboardHookSeesThePersonsKeysThereAndCanSwallowThem) {
  // As the program does, it has reached the client's thread before (here: its menu bar).
  ASSERT_NE(GetMenu(frame), 0u);
  std::vector<int> keys;
  bool swallow = true;
  HANDLE hook = SetKeyboardHook([&](int& key, int, int& noPass) {
    keys.push_back(key);
    if (swallow) noPass = 1;
  });
  ASSERT_NE(hook, 0u);
  auto text = [this] {
    char buffer[64] = {};
    SendMessage(lines, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return std::string(buffer);
  };
  PressKeyAsPerson('A');
  ASSERT_TRUE(PumpUntil([&] { return !keys.empty(); }, 5000));
  EXPECT_EQ(keys, std::vector<int>{'A'});
  Pump(100);
  EXPECT_EQ(text(), "") << "the swallowed key reached the edit control";
  swallow = false;
  PressKeyAsPerson('B');
  EXPECT_TRUE(PumpUntil([&] { return text() == "b"; }, 5000));
  ASSERT_TRUE(Unhook(hook));
  PressKeyAsPerson('C');
  EXPECT_TRUE(PumpUntil([&] { return text() == "bc"; }, 5000));
  EXPECT_EQ(keys, (std::vector<int>{'A', 'B'}));
}

TEST_F(OtherProcess, GetEditLineReadsItsLinesLongerThan64KB) {
  const std::string longLine(70000, 'x');
  const std::string text = "first\r\n" + longLine + "\r\nlast";
  ASSERT_TRUE(SendMessage(lines, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
  EXPECT_EQ(GetEditLine(lines, 1), "first");
  const std::string second = GetEditLine(lines, 2);
  EXPECT_EQ(second.size(), longLine.size());
  EXPECT_TRUE(second == longLine);
  EXPECT_EQ(GetEditLine(lines, 3), "last");
  EXPECT_EQ(GetEditLine(lines, 4), "");
}

TEST_F(OtherProcess, ItsMenuBarTakesAPopupOfOursAndTheChosenCommandIsSeen) {
  const HMENU bar = GetMenu(frame);
  ASSERT_NE(bar, 0u);
  ASSERT_EQ(GetMenuItemCount(bar), 1);
  EXPECT_EQ(GetMenuString(bar, 0, MF_BYPOSITION), "&File");
  // As the program joins the bar: an item appended first, given its pop-up next.
  ASSERT_TRUE(AppendMenu(bar, MF_POPUP, 0, "Pallion&"));
  EXPECT_EQ(GetMenuString(bar, 1, MF_BYPOSITION), "Pallion&");
  EXPECT_EQ(GetSubMenu(bar, 1), 0u);
  ASSERT_TRUE(ModifyMenu(bar, 1, MF_BYPOSITION | MF_POPUP, CreatePopupMenu(), "Pallion"));
  const HMENU sub = GetSubMenu(bar, 1);
  ASSERT_NE(sub, 0u);
  ASSERT_TRUE(AppendMenu(sub, MF_STRING, partner::kPopupCommand, "Control Panel"));
  EXPECT_TRUE(DrawMenuBar(frame));
  EXPECT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(GetMenuString(bar, 1, MF_BYPOSITION), "Pallion");
  ASSERT_EQ(GetMenuItemCount(sub), 1);
  EXPECT_EQ(GetMenuItemID(sub, 0), partner::kPopupCommand);
  EXPECT_EQ(GetMenuString(sub, 0, MF_BYPOSITION), "Control Panel");

  std::vector<WPARAM> commands;
  HANDLE watch = WatchWindow(frame, [&](WatchedMessage& m, bool&) {
    if (m.msg == WM_COMMAND) commands.push_back(m.wParam);
  });
  ASSERT_NE(watch, 0u);
  ASSERT_TRUE(ChooseMenuItem(frame, {"Pallion", "Control Panel"}));
  EXPECT_TRUE(PumpUntil([&] { return GetWindowText(frame) == "command 1001"; }));
  EXPECT_EQ(commands, (std::vector<WPARAM>{partner::kPopupCommand}));
  UnwatchWindow(watch);

  RemoveMenuBarItems(Current(), frame, {"Pallion"});
  EXPECT_EQ(GetMenuItemCount(bar), 1);
  EXPECT_EQ(GetMenuString(bar, 0, MF_BYPOSITION), "&File");
}

TEST_F(Contract, OnlyAnotherProcessCanHoldTheLeftovers) {
  const HWND area = MakeWindow(0, "area", WS_POPUP);
  Leftovers mine;
  mine.area = area;
  mine.home = area;
  EXPECT_EQ(GuardLeftovers(mine), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  mine.home = 0;
  EXPECT_EQ(GuardLeftovers(mine), 0u);
}

// This process plays the client: an MDI client inside a frame with a menu bar, and an IM in it
// that the partner adopts.
class Adopted : public Contract {
 protected:
  void SetUp() override {
    Contract::SetUp();
    frame = MakeWindow(0, "client", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400);
    bar = CreateMenu();
    const HMENU file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, 1, "&Open");
    AppendMenu(bar, MF_POPUP, file, "&File");
    SetMenu(frame, bar);
    mdi = CreateWindowEx(0, "MDIClient", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 480,
                         300, frame, 0, nullptr);
    im = MakeWindow(mdi, "IM", WS_VISIBLE, 10, 10, 200, 150);
    area = StartInterceptorPartner(mdi, im, frame);
    ASSERT_NE(area, 0u) << "the partner did not adopt the IM and guard it";
    // The IM sits in a window the partner had this process make inside the MDI client.
    holder = GetParent(im);
    ASSERT_EQ(GetParent(holder), mdi);
    DWORD owner = 0;
    GetWindowThreadProcessId(holder, &owner);
    ASSERT_EQ(owner, GetCurrentProcessId());
    ASSERT_EQ(GetMenuItemCount(bar), 2);
  }
  HWND frame = 0;
  HMENU bar = 0;
  HWND mdi = 0;
  HWND im = 0;
  HWND area = 0;    // the partner's own window
  HWND holder = 0;  // this process's window that holds the adopted IM
  // The IM back in the MDI client, shown, and the holder closed.
  void ExpectHandedBack() {
    EXPECT_TRUE(PumpUntil([&] { return IsWindow(im) && GetParent(im) == mdi; }, 5000));
    EXPECT_TRUE(IsWindowVisible(im));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(holder); }, 5000));
  }
};

TEST_F(Adopted, AFailingAdopterHasItsLeftoversUndoneHere) {
  CrashPartner();
  ExpectHandedBack();
  EXPECT_EQ(GetMenuItemCount(bar), 1);
  EXPECT_EQ(GetMenuString(bar, 0, MF_BYPOSITION), "&File");
  EXPECT_FALSE(IsWindow(area));
}

TEST_F(Adopted, AnAdopterEndingWithoutTakingThemBackHasThemUndoneHere) {
  ExitPartner();
  ExpectHandedBack();
  EXPECT_EQ(GetMenuItemCount(bar), 1);
  EXPECT_FALSE(IsWindow(area));
}

TEST_F(Adopted, LeftoversTakenBackAreNotUndone) {
  ExitPartner(/*takenBack=*/true);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(area); }, 5000));
  EXPECT_EQ(GetParent(im), holder) << "what the adopter took back is left as it was";
  EXPECT_EQ(GetMenuItemCount(bar), 2);
}

TEST_F(Adopted, AKilledAdopterHasItsLeftoversUndoneHere) {
  KillPartner();
  ExpectHandedBack();
  EXPECT_TRUE(PumpUntil([&] { return GetMenuItemCount(bar) == 1; }, 5000));
  EXPECT_EQ(GetMenuString(bar, 0, MF_BYPOSITION), "&File");
}

}  // namespace
}  // namespace contract
