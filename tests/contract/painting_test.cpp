// What the person sees of the windows the program paints.
#include "contract/contract_fixture.h"
#include "gfx/canvas.h"

namespace contract {
namespace {

using namespace platform;

constexpr COLORREF kGreen = 0x0000FF00;
constexpr COLORREF kRed = 0x000000FF;

// A class whose windows paint `paint` on their canvas and nothing more.
void RegisterPainter(const std::string& name, std::function<void(gfx::Canvas&)> paint) {
  WindowClass cls;
  cls.name = name;
  cls.proc = [paint](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m != WM_PAINT) return DefWindowProc(h, m, w, l);
    if (gfx::Canvas* canvas = BeginPaint(h)) paint(*canvas);
    EndPaint(h);
    return 0;
  };
  ASSERT_TRUE(RegisterClass(cls));
}

TEST_F(Contract, WhatAChildLeavesUnpaintedShowsItsParentsPicture) {
  RegisterPainter("GreenParent", [](gfx::Canvas& c) { c.Fill(kGreen); });
  // Like a label with a transparent back: a corner of its own, the rest left as it is.
  RegisterPainter("RedCorner", [](gfx::Canvas& c) { c.FillRect(0, 0, 10, 10, kRed); });
  const HWND top = MakeWindow(0, "", WS_POPUP | WS_VISIBLE, 100, 100, 200, 150, "GreenParent");
  const HWND child = MakeWindow(top, "", WS_VISIBLE, 20, 20, 100, 80, "RedCorner");
  ASSERT_NE(child, 0u);
  UpdateWindow(top);
  Pump(300);
  EXPECT_EQ(GetScreenPixel(125, 125), kRed);
  EXPECT_EQ(GetScreenPixel(170, 160), kGreen) << "inside the child, where it paints nothing";
  EXPECT_EQ(GetScreenPixel(250, 200), kGreen);
}

}  // namespace
}  // namespace contract
