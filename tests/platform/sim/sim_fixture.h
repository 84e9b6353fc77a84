// A simulated desktop installed as the platform, with a window class that records messages.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/desktop.h"
#include "platform/win32.h"

namespace platform::sim::testing {

struct Logged {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

class SimTest : public ::testing::Test {
 protected:
  SimTest() {
    Install(&desk);
    WindowClass cls;
    cls.name = "Recorder";
    cls.background = RGB(255, 255, 255);
    cls.proc = [this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      log.push_back({h, m, w, l});
      return desk.DefWindowProc(h, m, w, l);
    };
    desk.RegisterClass(cls);
  }
  ~SimTest() override { Install(nullptr); }

  HWND Top(const std::string& title = "Top", DWORD style = WS_OVERLAPPED, int x = 10, int y = 10,
           int w = 200, int h = 150, DWORD ex = 0) {
    return desk.CreateWindowEx(ex, "Recorder", title, style, x, y, w, h, 0, 0, nullptr);
  }
  HWND Child(HWND parent, const std::string& title = "", DWORD style = 0, int x = 0, int y = 0,
             int w = 50, int h = 20, DWORD ex = 0) {
    return desk.CreateWindowEx(ex, "Recorder", title, WS_CHILD | style, x, y, w, h, parent, 0,
                               nullptr);
  }
  std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> out;
    for (HWND c = desk.GetWindow(parent, GW_CHILD); c; c = desk.GetWindow(c, GW_HWNDNEXT))
      out.push_back(c);
    return out;
  }
  // The messages of one kind, as (hwnd) in order.
  std::vector<HWND> Of(UINT msg) const {
    std::vector<HWND> out;
    for (const auto& l : log)
      if (l.msg == msg) out.push_back(l.hwnd);
    return out;
  }
  std::vector<UINT> MessagesTo(HWND hwnd) const {
    std::vector<UINT> out;
    for (const auto& l : log)
      if (l.hwnd == hwnd) out.push_back(l.msg);
    return out;
  }
  int Count(HWND hwnd, UINT msg) const {
    int n = 0;
    for (const auto& l : log)
      if (l.hwnd == hwnd && l.msg == msg) ++n;
    return n;
  }

  Desktop desk;
  std::vector<Logged> log;
};

}  // namespace platform::sim::testing
