// Menus, clipboard, global and process memory, interception, input and the screen.
#include <cstring>
#include <filesystem>

#include "gfx/canvas.h"
#include "sim_fixture.h"

namespace platform::sim::testing {
namespace {

using MenuTest = SimTest;

// Item lookups, removal and deletion are pinned for both backends; these are the rest.
TEST_F(MenuTest, InsertingStatesAndDestroying) {
  HMENU bar = desk.CreateMenu();
  HMENU file = desk.CreatePopupMenu();
  HMENU sub = desk.CreatePopupMenu();
  ASSERT_TRUE(desk.AppendMenu(bar, MF_POPUP, file, "&File"));
  ASSERT_TRUE(desk.AppendMenu(file, MF_STRING, 101, "&Open"));
  ASSERT_TRUE(desk.AppendMenu(file, MF_SEPARATOR, 0, ""));
  ASSERT_TRUE(desk.AppendMenu(file, MF_POPUP, sub, "More"));
  ASSERT_TRUE(desk.AppendMenu(sub, MF_STRING, 201, "Deep"));
  EXPECT_EQ(desk.GetMenuItemID(file, 9), 0xFFFFFFFFu);
  EXPECT_EQ(desk.GetSubMenu(file, 0), 0u);
  EXPECT_EQ(desk.GetMenuItemCount(12345), -1);
  EXPECT_EQ(desk.CheckMenuItem(bar, 201, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(desk.GetMenuState(file, 2, MF_BYPOSITION), (1u << 8) | MF_POPUP);  // count, pop-up
  EXPECT_TRUE(desk.InsertMenu(file, 0, MF_BYPOSITION, 100, "First"));
  EXPECT_EQ(desk.GetMenuItemID(file, 0), 100u);
  EXPECT_TRUE(desk.DestroyMenu(bar));
  EXPECT_EQ(desk.GetMenuItemCount(file), -1);
  EXPECT_EQ(desk.GetMenuItemCount(sub), -1);
}

TEST_F(MenuTest, ChooseMenuItemInitialisesAndPostsTheCommand) {
  HWND frame = Top("Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HMENU bar = desk.CreateMenu();
  HMENU people = desk.CreatePopupMenu();
  desk.AppendMenu(bar, MF_POPUP, people, "&People");
  desk.AppendMenu(people, MF_STRING, 301, "Send &Instant Message\tCtrl+I");
  desk.AppendMenu(people, MF_STRING | MF_GRAYED, 302, "Chat");
  ASSERT_TRUE(desk.SetMenu(frame, bar));
  log.clear();
  EXPECT_TRUE(desk.ChooseMenuItem(frame, {"people", "send instant message"}));
  std::vector<UINT> seq;
  for (const auto& l : log)
    if (l.msg == WM_INITMENU || l.msg == WM_INITMENUPOPUP || l.msg == WM_COMMAND)
      seq.push_back(l.msg);
  EXPECT_EQ(seq, (std::vector<UINT>{WM_INITMENU, WM_INITMENUPOPUP, WM_COMMAND}));
  for (const auto& l : log)
    if (l.msg == WM_COMMAND) {
      EXPECT_EQ(l.wParam, 301u);
    }
  EXPECT_FALSE(desk.ChooseMenuItem(frame, {"People", "Chat"}));
  EXPECT_FALSE(desk.ChooseMenuItem(frame, {"Nothing"}));
  EXPECT_NE(desk.DumpMenu(bar).find("\"Send &Instant Message\tCtrl+I\" id=301"), std::string::npos);
}

// The answers' results; the messages and errors are pinned with the semantics.
TEST_F(MenuTest, TrackPopupMenuUsesTheQueuedAnswerAndRecordsEachPopup) {
  HWND owner = Top();
  HMENU pop = desk.CreatePopupMenu();
  desk.AppendMenu(pop, MF_STRING, 11, "&Copy");
  desk.AnswerNextPopupMenu("copy");
  EXPECT_EQ(desk.TrackPopupMenu(pop, TPM_RETURNCMD, 0, 0, owner), 11);
  EXPECT_EQ(desk.TrackPopupMenu(pop, TPM_RETURNCMD, 0, 0, owner), 0);  // unanswered
  EXPECT_EQ(desk.TrackPopupMenu(pop, 0, 0, 0, owner), 1);              // dismissed: still nonzero
  std::vector<std::string> popups;
  for (const auto& e : desk.Events())
    if (e.kind == Event::Kind::PopupMenu) popups.push_back(e.text);
  EXPECT_EQ(popups, (std::vector<std::string>{"&Copy", "", ""}));
}

using ClipboardTest = SimTest;

TEST_F(ClipboardTest, TextGoesAcrossProcesses) {
  DWORD a = desk.CreateProcess("a");
  HWND owner = Top();
  HGLOBAL mem = desk.GlobalAlloc(GMEM_MOVEABLE, 6);
  std::memcpy(desk.GlobalLock(mem), "hello", 6);
  desk.GlobalUnlock(mem);
  ASSERT_TRUE(desk.OpenClipboard(owner));
  ASSERT_TRUE(desk.EmptyClipboard());
  EXPECT_EQ(desk.SetClipboardData(CF_TEXT, mem), mem);
  EXPECT_EQ(desk.GetClipboardData(CF_TEXT), mem);
  desk.CreateProcess("b");
  EXPECT_FALSE(desk.OpenClipboard(0));  // held open by a
  {
    Desktop::ProcessScope scope(desk, a);
    EXPECT_TRUE(desk.CloseClipboard());
  }
  ASSERT_TRUE(desk.OpenClipboard(0));
  HGLOBAL got = desk.GetClipboardData(CF_TEXT);
  ASSERT_NE(got, 0u);
  EXPECT_NE(got, mem);
  EXPECT_EQ(desk.GlobalSize(got), 6u);
  EXPECT_STREQ(static_cast<const char*>(desk.GlobalLock(got)), "hello");
  desk.GlobalUnlock(got);
  EXPECT_TRUE(desk.CloseClipboard());
}

TEST_F(ClipboardTest, ReadProcessMemoryIsAllOrNothing) {
  DWORD client = desk.CreateProcess("client");
  uint32_t addr = desk.AllocProcessMemory(8);
  ASSERT_NE(addr, 0u);
  ASSERT_TRUE(desk.WriteOwnProcessMemory(addr, "ABCDEFGH", 8));
  EXPECT_FALSE(desk.WriteOwnProcessMemory(addr + 4, "12345", 5));
  desk.CreateProcess("addon");
  uint32_t mine = desk.AllocProcessMemory(8);
  EXPECT_NE(mine, addr);
  HANDLE h = desk.OpenProcess(PROCESS_VM_READ, false, client);
  ASSERT_NE(h, 0u);
  char buf[9] = {};
  size_t got = 99;
  EXPECT_TRUE(desk.ReadProcessMemory(h, addr, buf, 8, &got));
  EXPECT_EQ(got, 8u);
  EXPECT_STREQ(buf, "ABCDEFGH");
  desk.SetLastError(0);
  EXPECT_FALSE(desk.ReadProcessMemory(h, addr + 4, buf, 8, &got));
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(desk.GetLastError(), ERROR_PARTIAL_COPY);
  EXPECT_TRUE(desk.ReadProcessMemory(h, 0x10, buf, 0, &got));
  HANDLE noRead = desk.OpenProcess(STANDARD_RIGHTS_REQUIRED, false, client);
  EXPECT_FALSE(desk.ReadProcessMemory(noRead, addr, buf, 8, &got));
  EXPECT_EQ(desk.GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(desk.CloseHandle(h));
  EXPECT_FALSE(desk.CloseHandle(h));
  EXPECT_EQ(desk.OpenProcess(PROCESS_VM_READ, false, 4242), 0u);
}

using InterceptTest = SimTest;

TEST_F(InterceptTest, WatchersSeeMessagesFirstAndMaySwallowThem) {
  HWND h = Top();
  std::vector<std::string> seen;
  desk.WatchWindow(h, [&](WatchedMessage& m, bool& noPass) {
    if (m.msg == WM_USER) seen.push_back("w1");
    if (m.msg == WM_USER && m.wParam == 1) {
      noPass = true;
      m.result = 42;
    }
  });
  HANDLE w2 = desk.WatchWindow(h, [&](WatchedMessage& m, bool&) {
    if (m.msg == WM_USER) seen.push_back("w2");
  });
  log.clear();
  EXPECT_EQ(desk.SendMessage(h, WM_USER, 1, 0), 42);
  EXPECT_EQ(Count(h, WM_USER), 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"w1"}));
  desk.PostMessage(h, WM_USER, 2, 0);
  desk.RunPending();
  EXPECT_EQ(seen, (std::vector<std::string>{"w1", "w1", "w2"}));
  EXPECT_EQ(Count(h, WM_USER), 1);
  EXPECT_TRUE(desk.UnwatchWindow(w2));
  EXPECT_FALSE(desk.UnwatchWindow(w2));
  EXPECT_EQ(desk.WatchWindow(0, [](WatchedMessage&, bool&) {}), 0u);
}

TEST_F(InterceptTest, KeyboardHookSwallowsKeys) {
  HWND h = Top("", WS_VISIBLE);
  HWND edit = Child(h, "", WS_VISIBLE);
  desk.SetFocus(edit);
  std::vector<int> hooked;
  DWORD addon = desk.CreateProcess("addon");
  DWORD hookProcess = 0;
  HANDLE hook = desk.SetKeyboardHook([&](int& key, int shift, int& noPass) {
    hooked.push_back(key * 10 + shift);
    hookProcess = desk.CurrentProcess();
    if (key == VK_RETURN) noPass = 1;
  });
  desk.SetCurrentProcess(0);
  log.clear();
  desk.PressKey(VK_RETURN);
  EXPECT_EQ(Count(edit, WM_KEYDOWN), 0);
  EXPECT_EQ(hookProcess, addon);
  desk.PressKey('A', SHIFT_MASK);
  EXPECT_EQ(MessagesTo(edit), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
  for (const auto& l : log)
    if (l.msg == WM_CHAR) {
      EXPECT_EQ(l.wParam, static_cast<WPARAM>('A'));
    }
  EXPECT_EQ(hooked, (std::vector<int>{VK_RETURN * 10, 'A' * 10 + 1}));
  EXPECT_TRUE(desk.Unhook(hook));
  log.clear();
  desk.TypeText("a\r");
  std::vector<WPARAM> chars;
  for (const auto& l : log)
    if (l.msg == WM_CHAR) chars.push_back(l.wParam);
  EXPECT_EQ(chars, (std::vector<WPARAM>{'a', 13}));
}

TEST_F(InterceptTest, GetKeyStateDuringAKeyPress) {
  HWND h = Top("", WS_VISIBLE);
  desk.SetFocus(h);
  int16_t ctrl = 0, shift = 0;
  desk.WatchWindow(h, [&](WatchedMessage& m, bool&) {
    if (m.msg == WM_KEYDOWN) {
      ctrl = desk.GetKeyState(VK_CONTROL);
      shift = desk.GetKeyState(VK_SHIFT);
    }
  });
  desk.PressKey('N', CTRL_MASK);
  EXPECT_LT(ctrl, 0);
  EXPECT_EQ(shift, 0);
  EXPECT_EQ(desk.GetKeyState(VK_CONTROL), 0);
}

TEST_F(InterceptTest, MouseHookCanZeroTheMessage) {
  HWND h = Top("", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100);
  HWND button = Child(h, "", WS_VISIBLE, 10, 10, 50, 20);
  std::vector<UINT> hooked;
  desk.SetMouseHook(button, [&](HWND, UINT& msg, WPARAM, LPARAM) {
    hooked.push_back(msg);
    if (msg == WM_LBUTTONDOWN) msg = 0;
  });
  log.clear();
  desk.Click(button);
  // The mouse moves onto the button before it is pressed, and the hook sees that too.
  EXPECT_EQ(hooked, (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));
  hooked.clear();
  desk.Click(button);  // already there: no move
  EXPECT_EQ(hooked, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
  EXPECT_EQ(Count(button, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(Count(button, WM_LBUTTONUP), 2);
}

TEST_F(InterceptTest, ClickHitTestsAndRespectsCapture) {
  HWND h = Top("", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100);
  HWND under = Child(h, "under", WS_VISIBLE, 10, 10, 50, 20);
  HWND over = Child(h, "over", WS_VISIBLE | WS_MAXIMIZE);  // on top, fills the client area
  EXPECT_EQ(desk.WindowFromPoint(POINT{115, 115}), over);
  desk.ShowWindow(over, SW_HIDE);
  EXPECT_EQ(desk.WindowFromPoint(POINT{115, 115}), under);
  EXPECT_EQ(desk.WindowFromPoint(POINT{190, 190}), h);
  EXPECT_EQ(desk.WindowFromPoint(POINT{5, 5}), desk.GetDesktopWindow());
  log.clear();
  desk.ClickAt(POINT{115, 117});
  ASSERT_EQ(Count(under, WM_LBUTTONDOWN), 1);
  for (const auto& l : log)
    if (l.msg == WM_LBUTTONDOWN) {
      EXPECT_EQ(l.wParam, MK_LBUTTON);
      EXPECT_EQ(l.lParam, MAKELPARAM(5, 7));
    }
  EXPECT_EQ(Count(h, WM_PARENTNOTIFY), 1);
  desk.SetCapture(h);
  log.clear();
  desk.ClickAt(POINT{115, 117});
  EXPECT_EQ(Count(under, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(Count(h, WM_LBUTTONDOWN), 1);
}

using ScreenTest = SimTest;

TEST_F(ScreenTest, DesktopBackgroundCaptionAndClientArea) {
  HWND h = Top("Hello", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 150);
  EXPECT_EQ(desk.GetScreenPixel(5, 5), 0x808000u);
  POINT c{10, 10};
  desk.ClientToScreen(h, c);
  EXPECT_EQ(desk.GetScreenPixel(c.x, c.y), RGB(255, 255, 255));
  // The active caption bar is blue.
  COLORREF caption = desk.GetScreenPixel(100 + 30, 100 + 4 + 2);
  EXPECT_GT(GetBValue(caption), 100);
  EXPECT_LT(GetRValue(caption), 64);
  EXPECT_LT(GetGValue(caption), 64);
  HWND child = Child(h, "", WS_VISIBLE, 0, 0, 500, 500);
  WindowClass grey;
  grey.name = "Grey";
  grey.background = 0x00C0C0C0;
  desk.RegisterClass(grey);
  HWND g =
      desk.CreateWindowEx(0, "Grey", "", WS_CHILD | WS_VISIBLE, 20, 20, 10, 10, child, 0, nullptr);
  POINT gp{5, 5};
  desk.ClientToScreen(g, gp);
  EXPECT_EQ(desk.GetScreenPixel(gp.x, gp.y), 0xC0C0C0u);
  // Children are clipped to their parent's client area.
  EXPECT_EQ(desk.GetScreenPixel(100 + 200 + 5, 150), 0x808000u);
  desk.ShowWindow(h, SW_HIDE);
  EXPECT_EQ(desk.GetScreenPixel(c.x, c.y), 0x808000u);
}

TEST_F(ScreenTest, ScreenshotShowsFrameCaptionAndMenuBar) {
  HWND h = Top("Pallion", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 300, 200);
  HMENU bar = desk.CreateMenu();
  desk.AppendMenu(bar, MF_STRING, 1, "&File");
  desk.AppendMenu(bar, MF_STRING, 2, "&Help");
  desk.SetMenu(h, bar);
  auto path = std::filesystem::temp_directory_path() / "pallion_sim_screen.png";
  ASSERT_TRUE(desk.SaveScreenshot(path.string()));
  auto image = gfx::Image::Load(path.string());
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 1024);
  EXPECT_EQ(image->height, 768);
  EXPECT_EQ(image->At(0, 0) & 0xFFFFFF, 0x808000u);
  // The menu bar strip lies between the caption and the client area, in the face colour.
  int menuY = 30 + 4 + 18 + 17;
  EXPECT_EQ(image->At(40 + 250, menuY) & 0xFFFFFF, 0xC0C0C0u);
  bool text = false;
  for (int y = 30 + 4 + 18; y < 30 + 4 + 18 + 19; ++y)
    for (int x = 40 + 4; x < 40 + 120; ++x)
      if ((image->At(x, y) & 0xFFFFFF) == 0) text = true;
  EXPECT_TRUE(text);
  POINT c{0, 0};
  desk.ClientToScreen(h, c);
  EXPECT_EQ(c.y, 30 + 4 + 18 + 19);
  EXPECT_EQ(image->At(c.x + 5, c.y + 5) & 0xFFFFFF, 0xFFFFFFu);
  std::filesystem::remove(path);
}

TEST_F(ScreenTest, PaintHandlersDrawOnTheirClientArea) {
  WindowClass cls;
  cls.name = "Painter";
  cls.proc = [&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_PAINT) {
      gfx::Canvas* c = desk.BeginPaint(h);
      c->Fill(RGB(255, 0, 0));
      c->FillRect(0, 0, 2, 2, RGB(0, 255, 0));
      desk.EndPaint(h);
      return 0;
    }
    return desk.DefWindowProc(h, m, w, l);
  };
  desk.RegisterClass(cls);
  HWND h =
      desk.CreateWindowEx(0, "Painter", "", WS_POPUP | WS_VISIBLE, 50, 60, 20, 20, 0, 0, nullptr);
  EXPECT_EQ(desk.GetScreenPixel(50, 60), RGB(0, 255, 0));
  EXPECT_EQ(desk.GetScreenPixel(60, 70), RGB(255, 0, 0));
  EXPECT_EQ(desk.GetScreenPixel(70, 80), 0x808000u);
  auto path = std::filesystem::temp_directory_path() / "pallion_sim_shot.png";
  EXPECT_TRUE(desk.SaveWindowShot(h, path.string()));
  auto image = gfx::Image::Load(path.string());
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 20);
  EXPECT_EQ(image->At(10, 10) & 0xFFFFFF, RGB(255, 0, 0));
  std::filesystem::remove(path);
}

TEST_F(ScreenTest, DialogsTakeQueuedAnswers) {
  desk.AnswerMessageBox(IDYES);
  EXPECT_EQ(desk.MessageBoxA(0, "Sure?", "Pallion", MB_YESNO), IDYES);
  EXPECT_EQ(desk.MessageBoxA(0, "Again?", "Pallion", MB_YESNO), IDNO);
  EXPECT_EQ(desk.InputBox("Name?", "t", "d"), "");
  desk.AnswerInputBox("Bob");
  EXPECT_EQ(desk.InputBox("Name?", "t", "d"), "Bob");
  EXPECT_FALSE(desk.ChooseColor(0, 0).has_value());
  desk.AnswerColorDialog(RGB(1, 2, 3));
  EXPECT_EQ(desk.ChooseColor(0, 0), RGB(1, 2, 3));
  EXPECT_FALSE(desk.PlaySound("C:\\nowhere\\missing.wav", SND_ASYNC | SND_NODEFAULT));
  std::vector<Event::Kind> kinds;
  for (const auto& e : desk.Events()) kinds.push_back(e.kind);
  EXPECT_EQ(kinds, (std::vector<Event::Kind>{Event::Kind::MessageBox, Event::Kind::MessageBox,
                                             Event::Kind::InputBox, Event::Kind::InputBox,
                                             Event::Kind::ColorDialog, Event::Kind::ColorDialog}));
  EXPECT_EQ(desk.Events()[5].detail, std::to_string(RGB(1, 2, 3)));
}

}  // namespace
}  // namespace platform::sim::testing
