#include "widgets/ao_button.h"

#include "widgets_fixture.h"

namespace widgetstest {
namespace {

using namespace platform;
using widgets::AOButton;

constexpr COLORREF kBlue = 11169024;
constexpr COLORREF kLightBlue = 16758417;

class AOButtonTest : public WidgetsTest {
 protected:
  AOButton& Make(int width = 80, int height = 25) {
    return form->Add<AOButton>("AOButtonTest", AOButton::kDefaultCaption, 20, 30, width, height);
  }
};

TEST_F(AOButtonTest, AtRestShowsBackgroundAndBorders) {
  AOButton& b = Make(80, 25);
  gfx::Canvas shot = Shot();
  for (int y : {0, 5, 23}) EXPECT_EQ(At(shot, b, 0, y), kLightBlue) << "left column, y " << y;
  for (int x : {1, 40, 78}) EXPECT_EQ(At(shot, b, x, 0), kLightBlue) << "top row, x " << x;
  for (int x : {1, 40, 78}) EXPECT_EQ(At(shot, b, x, 24), 0u) << "bottom row, x " << x;
  for (int y : {1, 12, 23}) EXPECT_EQ(At(shot, b, 79, y), 0u) << "right column, y " << y;
  EXPECT_EQ(At(shot, b, 3, 3), kBlue);
  EXPECT_EQ(At(shot, b, 76, 21), kBlue);
  // Just outside: the form.
  EXPECT_EQ(At(shot, b, -1, 5), kFormColor);
}

TEST_F(AOButtonTest, CaptionLabelIsWiderByTenTwipsAndCentredAboutTheMiddle) {
  AOButton& b = Make(80, 25);
  EXPECT_EQ(b.CaptionWidth(), gfx::TwipsToPixels(80 * 15 + 10));
  EXPECT_EQ(b.CaptionTop(), gfx::TwipsToPixels(25 * 15 / 2 - 100));
  b.Move(20, 30, 120, 41);
  EXPECT_EQ(b.CaptionWidth(), gfx::TwipsToPixels(120 * 15 + 10));
  EXPECT_EQ(b.CaptionTop(), gfx::TwipsToPixels(41 * 15 / 2 - 100));
  // The caption is drawn in the highlight-text colour (white here) in that band; the
  // background has no red in it.
  gfx::Canvas shot = Shot();
  int white = 0;
  for (int y = b.CaptionTop(); y < b.CaptionTop() + 14; ++y) {
    for (int x = 1; x < 119; ++x) white += GetRValue(At(shot, b, x, y)) > 160;
  }
  EXPECT_GT(white, 10);
  int whiteAbove = 0;
  for (int y = 1; y < b.CaptionTop(); ++y) {
    for (int x = 1; x < 119; ++x) whiteAbove += GetRValue(At(shot, b, x, y)) > 160;
  }
  EXPECT_EQ(whiteAbove, 0);
}

struct PressCase {
  const char* name;
  COLORREF back;
  std::optional<COLORREF> click;  // nothing: the new button's system highlight
};

class AOButtonPressTest : public AOButtonTest, public ::testing::WithParamInterface<PressCase> {};

TEST_P(AOButtonPressTest, HeldShowsBackColorClickAndReleaseRestoresBackColor) {
  AOButton& b = Make();
  b.SetBackColor(GetParam().back);
  if (GetParam().click) b.SetBackColorClick(*GetParam().click);
  const COLORREF click = GetParam().click.value_or(GetSysColor(COLOR_HIGHLIGHT));
  int downs = 0, ups = 0;
  b.OnMouseDown = [&](int, int, int, int) { ++downs; };
  b.OnMouseUp = [&](int, int, int, int) { ++ups; };
  desktop.MouseDown(b.hwnd(), 10, 3);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(PixelOf(b, 3, 3), click);
  EXPECT_EQ(b.CurrentBackground(), click);
  desktop.MouseUp(b.hwnd(), 10, 3);
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(PixelOf(b, 3, 3), GetParam().back);
}

INSTANTIATE_TEST_SUITE_P(Colours, AOButtonPressTest,
                         ::testing::Values(PressCase{"SystemHighlight", kBlue, std::nullopt},
                                           PressCase{"Distinct", kBlue, 0x00FF00},
                                           PressCase{"Equal", 0x123456, 0x123456}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AOButtonTest, ResizeKeepsTheBackColorLastSet) {
  AOButton& b = Make();
  b.SetBackColor(0x00AA00);
  b.Move(20, 30, 140, 40);
  desktop.RunPending();
  EXPECT_EQ(PixelOf(b, 70, 3), 0x00AA00u);
  EXPECT_EQ(PixelOf(b, 70, 39), 0u);
  EXPECT_EQ(PixelOf(b, 139, 20), 0u);
}

TEST_F(AOButtonTest, ClickRaisesClickAndMoveSetsToolTip) {
  AOButton& b = Make();
  b.SetToolTipMessage("Send it");
  int clicks = 0, moves = 0;
  b.OnClick = [&] { ++clicks; };
  b.OnMouseMove = [&](int, int, int, int) { ++moves; };
  person.Click(b);
  EXPECT_EQ(clicks, 1);
  POINT p{5, 5};
  ClientToScreen(b.hwnd(), p);
  desktop.MouseMoveTo(p);
  EXPECT_GE(moves, 1);
  EXPECT_EQ(b.ToolTipText(), "Send it");
}

TEST_F(AOButtonTest, HidingRaisesTheHiddenEvent) {
  AOButton& b = Make();
  int hidden = 0;
  b.OnHide = [&] { ++hidden; };
  b.SetVisible(false);
  EXPECT_EQ(hidden, 1);
}

TEST_F(AOButtonTest, DisabledButtonRaisesNoClick) {
  AOButton& b = Make();
  int clicks = 0;
  b.OnClick = [&] { ++clicks; };
  b.SetEnabled(false);
  desktop.Click(b.hwnd());
  EXPECT_EQ(clicks, 0);
}

TEST_F(AOButtonTest, EmptyStoredPropertiesGiveTheStoredDefaults) {
  gfx::Font containerFont;
  containerFont.face = "Arial";
  containerFont.sizePoints = 10;
  form->SetFont(containerFont);
  AOButton& b = Make();
  b.ReadProperties({});
  EXPECT_EQ(b.BackColor(), kBlue);
  EXPECT_EQ(b.BackColorClick(), kBlue);
  EXPECT_EQ(b.ForeColor(), 0x8000000Eu);
  EXPECT_EQ(b.BorderLight(), kLightBlue);
  EXPECT_EQ(b.BorderDark(), 0u);
  EXPECT_EQ(b.Caption(), "AOL Button");
  EXPECT_FALSE(b.GoDown());
  EXPECT_TRUE(b.Enabled());
  EXPECT_EQ(b.Font().face, "Arial");
  EXPECT_EQ(b.Font().sizePoints, 10);
  EXPECT_FALSE(b.FontBold());
}

TEST_F(AOButtonTest, StoredPropertiesRoundTripUnderTheirNames) {
  AOButton& b = Make();
  b.SetCaption("Save");
  b.SetBackColor(0x010203);
  b.SetBackColorClick(0x040506);
  b.SetFontBold(true);
  b.SetGoDown(false);
  b.SetToolTipMessage("Save Color Scheme");
  b.SetMousePointer(99);
  b.SetEnabled(false);
  widgets::PropertyBag bag = b.WriteProperties();
  for (const char* name : {"BackColor", "ForeColor", "Enabled", "Font", "Caption", "FontBold",
                           "FontItalic", "FontUnderline", "GoDown", "BorderLight", "BorderDark",
                           "BackColorClick", "MousePointer", "MouseIcon", "ToolTipMessage"}) {
    EXPECT_TRUE(bag.count(name)) << name;
  }
  EXPECT_EQ(bag.size(), 15u);
  EXPECT_EQ(bag["ForeColor"], std::to_string(0x8000000Eu));

  AOButton& c = form->Add<AOButton>("AOButtonOther");
  c.ReadProperties(bag);
  EXPECT_EQ(c.Caption(), "Save");
  EXPECT_EQ(c.BackColor(), 0x010203u);
  EXPECT_EQ(c.BackColorClick(), 0x040506u);
  EXPECT_TRUE(c.FontBold());
  EXPECT_EQ(c.Font().face, "Tahoma");
  EXPECT_FALSE(c.GoDown());
  EXPECT_EQ(c.ToolTipMessage(), "Save Color Scheme");
  EXPECT_EQ(c.MousePointer(), 99);
  EXPECT_FALSE(c.Enabled());
}

TEST_F(AOButtonTest, DamagedStoredValuesFallBackToDefaults) {
  AOButton& b = Make();
  b.ReadProperties(
      {{"BackColor", "blue"}, {"GoDown", "maybe"}, {"MousePointer", "99999"}, {"Font", ";"}});
  EXPECT_EQ(b.BackColor(), kBlue);
  EXPECT_FALSE(b.GoDown());
  EXPECT_EQ(b.MousePointer(), 0);
  EXPECT_EQ(b.Font().face, form->Font().face);
}

TEST_F(AOButtonTest, AboutShowsThePlainMessageBox) {
  AOButton& b = Make();
  b.About();
  ASSERT_FALSE(desktop.Events().empty());
  const auto& e = desktop.Events().back();
  EXPECT_EQ(e.kind, sim::Event::Kind::MessageBox);
  EXPECT_EQ(e.text, "dfd");
}

}  // namespace
}  // namespace widgetstest
