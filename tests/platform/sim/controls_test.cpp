// The system control classes used by the person at the screen: clicks, typing and drawing.
#include "gfx/canvas.h"
#include "sim_fixture.h"

namespace platform::sim::testing {
namespace {

class ControlsTest : public SimTest {
 protected:
  ControlsTest() {
    desk.CreateProcess("app");
    frame = Top("Frame", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300);
  }
  HWND Control(const std::string& cls, const std::string& text, DWORD style, int x, int y, int w,
               int h, UINT id = 0) {
    return desk.CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, frame, id,
                               nullptr);
  }
  std::string Text(HWND h) {
    char buffer[64] = {};
    desk.SendMessage(h, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  HWND frame = 0;
};

TEST_F(ControlsTest, ThePersonTypesIntoAnEditAndClicksAButton) {
  HWND edit = Control("Edit", "", 0, 10, 10, 200, 20);
  HWND button = Control("Button", "Send", 0, 10, 40, 80, 24, 7);
  desk.Click(edit);
  EXPECT_EQ(desk.GetFocus(), edit);
  desk.TypeText("hi");
  desk.RunPending();
  EXPECT_EQ(Text(edit), "hi");
  desk.PressKey(VK_BACK);
  desk.RunPending();
  EXPECT_EQ(Text(edit), "h");

  const size_t mark = log.size();
  desk.Click(button);
  desk.RunPending();
  std::vector<WPARAM> commands;
  for (size_t i = mark; i < log.size(); ++i)
    if (log[i].hwnd == frame && log[i].msg == WM_COMMAND &&
        static_cast<HWND>(log[i].lParam) == button)
      commands.push_back(log[i].wParam);
  EXPECT_EQ(commands, (std::vector<WPARAM>{MAKEWPARAM(7, BN_CLICKED)}));
}

TEST_F(ControlsTest, AClickInAnInactiveMdiChildActivatesIt) {
  HWND client = Control("MDIClient", "", WS_CLIPCHILDREN, 0, 0, 400, 300);
  auto create = [&](const char* title, int x) {
    MDICREATESTRUCTA cs;
    cs.szClass = "Recorder";
    cs.szTitle = title;
    cs.x = x;
    cs.y = 0;
    cs.cx = 150;
    cs.cy = 100;
    return static_cast<HWND>(
        desk.SendMessage(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&cs)));
  };
  HWND one = create("one", 0);
  HWND two = create("two", 200);
  ASSERT_EQ(static_cast<HWND>(desk.SendMessage(client, WM_MDIGETACTIVE, 0, 0)), two);
  desk.Click(one);
  desk.RunPending();
  EXPECT_EQ(static_cast<HWND>(desk.SendMessage(client, WM_MDIGETACTIVE, 0, 0)), one);
  EXPECT_EQ(desk.GetWindow(client, GW_CHILD), one);
  EXPECT_EQ(desk.GetFocus(), one) << "the active child of the active frame has the focus";
}

TEST_F(ControlsTest, ControlsDrawTheirStateOnTheScreen) {
  HWND list = Control("ListBox", "", 0, 10, 10, 120, 80);
  for (const char* name : {"alice", "bob"})
    desk.SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  desk.SendMessage(list, LB_SETCURSEL, 1, 0);
  HWND button = Control("Button", "OK", 0, 200, 10, 80, 24);
  gfx::Canvas screen = desk.RenderScreen();
  RECT item;
  desk.SendMessage(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  POINT selected{item.right - 4, (item.top + item.bottom) / 2};
  desk.ClientToScreen(list, selected);
  EXPECT_EQ(screen.GetPixel(selected.x, selected.y), 0x800000u) << "the selected item";
  POINT unselected{item.right - 4, item.top - 4};
  desk.ClientToScreen(list, unselected);
  EXPECT_EQ(screen.GetPixel(unselected.x, unselected.y), 0xFFFFFFu);
  POINT face{4, 12};
  desk.ClientToScreen(button, face);
  EXPECT_EQ(screen.GetPixel(face.x, face.y), 0xC0C0C0u) << "the button's face";
}

}  // namespace
}  // namespace platform::sim::testing
