// The tip of the control under the mouse shows after the mouse rests on it, and goes again.
#include "ui/tool_tip.h"

#include "gfx/classic.h"
#include "platform/win32.h"
#include "ui/label.h"
#include "ui_fixture.h"

namespace uitest {
namespace {

using namespace platform;

class ShownToolTipTest : public UiTest {};

TEST_F(ShownToolTipTest, ShowsAfterARestAndGoesOnAPressOrElsewhere) {
  form->Move(20, 20, 300, 200);
  form->Show();
  auto& tipped = form->Add<ui::Label>("lblTip", "tipped", 10, 10, 80, 20);
  tipped.SetToolTipText("Fade Color 1");
  auto& plain = form->Add<ui::Label>("lblPlain", "plain", 150, 10, 80, 20);
  desktop.RunPending();

  POINT over{20, 15};
  ClientToScreen(tipped.hwnd(), over);
  desktop.MouseMoveTo(over);
  desktop.RunFor(ui::tooltip::kDelayMs / 2);
  EXPECT_FALSE(ui::tooltip::Showing());
  desktop.RunFor(ui::tooltip::kDelayMs);
  ASSERT_TRUE(ui::tooltip::Showing());
  EXPECT_EQ(ui::tooltip::ShownText(), "Fade Color 1");
  RECT r;
  GetWindowRect(ui::tooltip::Window(), r);
  EXPECT_EQ(r.left, over.x);
  EXPECT_EQ(r.top, over.y + 20);
  // Drawn on top of everything, in the tip colours.
  gfx::Canvas screen = desktop.RenderScreen();
  EXPECT_EQ(screen.GetPixel(r.left + r.Width() - 2, r.top + 1) & 0xFFFFFF,
            gfx::classic::SysColor(gfx::classic::kInfoBk));

  POINT elsewhere{20, 15};
  ClientToScreen(plain.hwnd(), elsewhere);
  desktop.MouseMoveTo(elsewhere);
  EXPECT_FALSE(ui::tooltip::Showing());
  desktop.RunFor(2 * ui::tooltip::kDelayMs);
  EXPECT_FALSE(ui::tooltip::Showing());  // no tip there

  desktop.MouseMoveTo(over);
  desktop.RunFor(2 * ui::tooltip::kDelayMs);
  ASSERT_TRUE(ui::tooltip::Showing());
  desktop.MouseDown(tipped.hwnd(), 20, 5);
  EXPECT_FALSE(ui::tooltip::Showing());
  desktop.MouseUp(tipped.hwnd(), 20, 5);
}

}  // namespace
}  // namespace uitest
