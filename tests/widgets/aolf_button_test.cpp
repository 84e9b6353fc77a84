#include "widgets/aolf_button.h"

#include <fstream>

#include "ui/text_box.h"
#include "widgets_fixture.h"

namespace widgetstest {
namespace {

using namespace platform;
using widgets::AOLFButton;

constexpr COLORREF kFace = 11169024;
constexpr COLORREF kEdge = 16758417;
constexpr COLORREF kDots = 5608190;
constexpr COLORREF kGrey128 = 8421504, kGrey160 = 10526880, kGrey192 = 12632256;
constexpr int W = 80, H = 30;

class AOLFButtonTest : public WidgetsTest {
 protected:
  AOLFButton& Make(bool shadow, int width = W, int height = H) {
    AOLFButton& b = form->Add<AOLFButton>("AOButtonSend", 20, 30, width, height);
    b.SetShadow(shadow);
    b.SetCaption("");
    b.SetBorderDark(0x000080);  // tell the dark edges from the light ones
    return b;
  }
};

TEST_F(AOLFButtonTest, EmptyStoredPropertiesGiveShadowAndNameCaption) {
  AOLFButton& b = form->Add<AOLFButton>("AOButtonMail");
  b.ReadProperties({});
  EXPECT_TRUE(b.Shadow());
  EXPECT_FALSE(b.GoDown());
  EXPECT_EQ(b.Caption(), "AOButtonMail");
  EXPECT_EQ(b.Font().face, form->Font().face);
  EXPECT_EQ(b.BorderDark(), kEdge);
}

TEST_F(AOLFButtonTest, StoredPropertiesRoundTrip) {
  AOLFButton& b = Make(true);
  b.SetCaption("Notify AOL");
  b.SetStyle(1);
  b.SetGoDown(true);
  b.SetToolTipMessage("Notify AOL");
  b.SetBackColorClick(0x8000000D);
  widgets::PropertyBag bag = b.WriteProperties();
  for (const char* name : {"GoDown", "Shadow", "Caption", "Style", "Font", "Enabled", "Picture",
                           "Graphical", "AutoSize", "ForeColor", "BackColor", "AOLColors",
                           "BorderLight", "BorderDark", "BackColorClick", "ToolTipMessage"}) {
    EXPECT_TRUE(bag.count(name)) << name;
  }
  AOLFButton& c = form->Add<AOLFButton>("AOButtonOther");
  c.ReadProperties(bag);
  EXPECT_EQ(c.Caption(), "Notify AOL");
  EXPECT_EQ(c.Style(), 1);
  EXPECT_TRUE(c.GoDown());
  EXPECT_TRUE(c.Shadow());
  EXPECT_EQ(c.BackColorClick(), 0x8000000Du);
  EXPECT_EQ(c.BorderDark(), 0x000080u);
  EXPECT_EQ(c.ToolTipMessage(), "Notify AOL");
}

TEST_F(AOLFButtonTest, AtRestWithShadow) {
  AOLFButton& b = Make(true);
  gfx::Canvas shot = Shot();
  // Light top and left edges.
  EXPECT_EQ(At(shot, b, 0, 10), kEdge);
  EXPECT_EQ(At(shot, b, 10, 0), kEdge);
  // Dark right and bottom lines 60 twips (4 px) inside.
  EXPECT_EQ(At(shot, b, W - 4, 10), 0x000080u);
  EXPECT_EQ(At(shot, b, 10, H - 4), 0x000080u);
  // The face, up to the dark lines.
  EXPECT_EQ(At(shot, b, 2, 2), kFace);
  EXPECT_EQ(At(shot, b, W - 5, H - 5), kFace);
  // The shadow greys at 45, 30, 15 twips from the right and bottom edges.
  EXPECT_EQ(At(shot, b, W - 3, 10), kGrey128);
  EXPECT_EQ(At(shot, b, W - 2, 10), kGrey160);
  EXPECT_EQ(At(shot, b, W - 1, 10), kGrey192);
  EXPECT_EQ(At(shot, b, 10, H - 3), kGrey128);
  EXPECT_EQ(At(shot, b, 10, H - 2), kGrey160);
  EXPECT_EQ(At(shot, b, 10, H - 1), kGrey192);
  // The corner beyond the shadow shows the container's colour.
  EXPECT_EQ(At(shot, b, 0, H - 1), kFormColor);
  EXPECT_EQ(At(shot, b, W - 1, 0), kFormColor);
  // No focus dots at rest.
  EXPECT_EQ(At(shot, b, 4, 3), kFace);
}

TEST_F(AOLFButtonTest, AtRestWithoutShadow) {
  AOLFButton& b = Make(false);
  gfx::Canvas shot = Shot();
  EXPECT_EQ(At(shot, b, 0, 10), kEdge);
  EXPECT_EQ(At(shot, b, 10, 0), kEdge);
  EXPECT_EQ(At(shot, b, W - 1, 10), 0x000080u);
  EXPECT_EQ(At(shot, b, 10, H - 1), 0x000080u);
  EXPECT_EQ(At(shot, b, W - 2, H - 2), kFace);
  EXPECT_EQ(At(shot, b, W - 3, 10), kFace);
  EXPECT_EQ(At(shot, b, 10, H - 3), kFace);
}

TEST_F(AOLFButtonTest, FocusShowsDotsThirtyTwipsApart) {
  AOLFButton& b = Make(true);
  b.SetFocus();
  ASSERT_TRUE(b.HasFocusFlag());
  gfx::Canvas shot = Shot();
  EXPECT_EQ(At(shot, b, 4, 3), kDots);
  EXPECT_EQ(At(shot, b, 5, 3), kFace);
  EXPECT_EQ(At(shot, b, 6, 3), kDots);
  EXPECT_EQ(At(shot, b, 3, 4), kDots);
  EXPECT_EQ(At(shot, b, 3, 5), kFace);
  EXPECT_EQ(At(shot, b, W - 5, 4), kDots);
  EXPECT_EQ(At(shot, b, 4, H - 5), kDots);
  EXPECT_EQ(At(shot, b, 10, 10), kFace);
  // Losing the focus takes them away.
  form->SetFocus();
  EXPECT_FALSE(b.HasFocusFlag());
  EXPECT_EQ(PixelOf(b, 4, 3), kFace);
}

struct PressedCase {
  const char* name;
  bool goDown;
  bool shadow;
};

class AOLFButtonPressedTest : public AOLFButtonTest,
                              public ::testing::WithParamInterface<PressedCase> {};

TEST_P(AOLFButtonPressedTest, PressedLookAndRelease) {
  const PressedCase& c = GetParam();
  AOLFButton& b = Make(c.shadow);
  b.SetGoDown(c.goDown);
  b.SetBackColorClick(0x00C000);
  const int d = c.goDown ? 3 : 0;
  const int darkInset = c.shadow ? 4 : 1;
  desktop.MouseDown(b.hwnd(), 20, 10);
  ASSERT_TRUE(b.MouseHeld());
  ASSERT_TRUE(b.HasFocusFlag());
  EXPECT_TRUE(b.DrawnPressed());
  EXPECT_EQ(b.DrawnOffset(), c.goDown ? 45 : 0);
  gfx::Canvas shot = Shot();
  EXPECT_EQ(At(shot, b, d, d + 8), kEdge);
  EXPECT_EQ(At(shot, b, d + 8, d), kEdge);
  EXPECT_EQ(At(shot, b, d + 2, d + 10), 0x00C000u);
  if (d + W - darkInset < W) {
    EXPECT_EQ(At(shot, b, d + W - darkInset, d + 8), 0x000080u);
  }
  if (c.goDown) {
    EXPECT_EQ(At(shot, b, 0, 10), kFormColor);
    EXPECT_EQ(At(shot, b, 10, 0), kFormColor);
  }
  // The focus dots invert over the press colour.
  EXPECT_EQ(At(shot, b, d + 4, d + 3), 0x00C000u ^ 0xFFFFFFu);
  desktop.MouseUp(b.hwnd(), 20, 10);
  EXPECT_FALSE(b.MouseHeld());
  EXPECT_FALSE(b.DrawnPressed());
  shot = Shot();
  EXPECT_EQ(At(shot, b, 0, 8), kEdge);
  EXPECT_EQ(At(shot, b, 2, 10), kFace);
  EXPECT_EQ(At(shot, b, 4, 3), kDots);
}

INSTANTIATE_TEST_SUITE_P(Looks, AOLFButtonPressedTest,
                         ::testing::Values(PressedCase{"GoDownShadow", true, true},
                                           PressedCase{"GoDownFlat", true, false},
                                           PressedCase{"InPlaceShadow", false, true},
                                           PressedCase{"InPlaceFlat", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AOLFButtonTest, PressedWithEqualColoursDrawsDotsInTheirColour) {
  AOLFButton& b = Make(true);
  desktop.MouseDown(b.hwnd(), 20, 10);
  gfx::Canvas shot = Shot();
  EXPECT_EQ(At(shot, b, 2, 10), kFace);
  EXPECT_EQ(At(shot, b, 4, 3), kDots);
  desktop.MouseUp(b.hwnd(), 20, 10);
}

TEST_F(AOLFButtonTest, HostColoursWithStyleOneGiveBlackEdgeAndHighlightPress) {
  AOLFButton& b = Make(true);
  b.SetStyle(1);
  b.SetBackColor(0x0000FF);
  b.SetAOLColors(true);
  EXPECT_EQ(b.BorderDark(), 0u);
  EXPECT_EQ(b.BackColorClick(), 0x8000000Du);
  EXPECT_EQ(b.BackColor(), kFace);
  EXPECT_EQ(b.ForeColor(), 16777215u);
  EXPECT_EQ(b.BorderLight(), kEdge);
  gfx::Canvas shot = Shot();
  EXPECT_EQ(At(shot, b, W - 4, 10), 0u);
  EXPECT_EQ(At(shot, b, 10, H - 4), 0u);
  desktop.MouseDown(b.hwnd(), 20, 10);
  EXPECT_EQ(PixelOf(b, 2, 10), GetSysColor(COLOR_HIGHLIGHT));
  desktop.MouseUp(b.hwnd(), 20, 10);

  b.SetStyle(0);
  b.SetAOLColors(true);
  EXPECT_EQ(b.BorderDark(), kEdge);
  EXPECT_EQ(b.BackColorClick(), kFace);
}

gfx::Image Quad() {
  gfx::Image image;
  image.width = 2;
  image.height = 2;
  image.pixels = {0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FFFF};  // the last one transparent
  return image;
}

TEST_F(AOLFButtonTest, PictureStretchedOverTheFace) {
  AOLFButton& b = Make(false, 40, 30);
  b.SetPicture(Quad());
  b.SetAutoSize(2);
  b.SetGraphical(true);
  gfx::Canvas shot = Shot();
  // The face: x 1..38, y 1..28; each source pixel covers a quarter of it.
  EXPECT_EQ(At(shot, b, 1, 1), 0x0000FFu);
  EXPECT_EQ(At(shot, b, 18, 13), 0x0000FFu);
  EXPECT_EQ(At(shot, b, 38, 1), 0x00FF00u);
  EXPECT_EQ(At(shot, b, 1, 28), 0xFF0000u);
  EXPECT_EQ(At(shot, b, 38, 28), 0x00FFFFu);  // copied as it is, not blended
  EXPECT_EQ(At(shot, b, 0, 10), kEdge);
  EXPECT_EQ(At(shot, b, 39, 10), 0x000080u);
}

TEST_F(AOLFButtonTest, PictureCopiedUnscaled) {
  AOLFButton& b = Make(true, 40, 30);
  b.SetPicture(Quad());
  b.SetGraphical(true);
  gfx::Canvas shot = Shot();
  EXPECT_EQ(At(shot, b, 1, 1), 0x0000FFu);
  EXPECT_EQ(At(shot, b, 2, 1), 0x00FF00u);
  EXPECT_EQ(At(shot, b, 1, 2), 0xFF0000u);
  EXPECT_EQ(At(shot, b, 2, 2), 0x00FFFFu);
  EXPECT_EQ(At(shot, b, 3, 3), kFace);
  b.SetGraphical(false);
  EXPECT_EQ(PixelOf(b, 1, 1), kFace);
}

TEST_F(AOLFButtonTest, CaptionCentredAndRaisedWithTheShadow) {
  auto inkBounds = [&](AOLFButton& b) {
    gfx::Canvas shot = Shot();
    int top = 1000, left = 1000;
    // The face has no red in it; the caption's ink has.
    for (int y = 1; y < H - 5; ++y) {
      for (int x = 1; x < W - 5; ++x) {
        if (GetRValue(At(shot, b, x, y)) > 160) top = std::min(top, y), left = std::min(left, x);
      }
    }
    return std::pair{left, top};
  };
  AOLFButton& flat = Make(false);
  flat.SetCaption("Send");
  auto [flatLeft, flatTop] = inkBounds(flat);
  flat.SetVisible(false);
  AOLFButton& raised = Make(true);
  raised.SetCaption("Send");
  auto [left, top] = inkBounds(raised);
  ASSERT_LT(flatTop, 1000);
  EXPECT_EQ(flatLeft - left, 1);  // 22 twips
  EXPECT_EQ(flatTop - top, 1);
  const int textWidth = gfx::Canvas::TextWidth("Send", raised.Font());
  EXPECT_NEAR(flatLeft, (W - textWidth) / 2, 2);
}

class AOLFButtonEventsTest : public AOLFButtonTest {
 protected:
  void SetUp() override {
    button = &Make(true);
    button->OnMouseEnter = [this] { ++enters; };
    button->OnMouseLeave = [this] { ++leaves; };
    button->OnClick = [this] { ++clicks; };
  }
  void MoveTo(int x, int y) {
    POINT p{x, y};
    ClientToScreen(button->hwnd(), p);
    desktop.MouseMoveTo(p);
  }
  AOLFButton* button = nullptr;
  int enters = 0, leaves = 0, clicks = 0;
};

TEST_F(AOLFButtonEventsTest, LeavingWithTheButtonHeldReleasesThePressOnce) {
  desktop.MouseDown(button->hwnd(), 10, 10);
  ASSERT_TRUE(button->DrawnPressed());
  MoveTo(W + 20, 10);
  EXPECT_EQ(leaves, 1);
  EXPECT_FALSE(button->DrawnPressed());
  EXPECT_NE(GetCapture(), button->hwnd());
  MoveTo(W + 30, 12);
  MoveTo(W + 40, 14);
  EXPECT_EQ(leaves, 1);
  desktop.MouseUp(button->hwnd(), W + 40, 14);
  EXPECT_EQ(clicks, 0);
}

TEST_F(AOLFButtonEventsTest, EnteringAndLeavingPairUp) {
  MoveTo(10, 10);
  MoveTo(12, 11);
  MoveTo(14, 12);
  EXPECT_EQ(enters, 1);
  MoveTo(W + 10, 12);
  EXPECT_EQ(leaves, 1);
  MoveTo(10, 10);
  EXPECT_EQ(enters, 2);
}

TEST_F(AOLFButtonEventsTest, NoClickWithoutTheFocus) {
  ui::TextBox& other = form->Add<ui::TextBox>("txtOther", 10, 150, 100, 21);
  button->OnMouseDown = [&](int, int, int, int) { other.SetFocus(); };
  desktop.Click(button->hwnd());
  EXPECT_FALSE(button->HasFocusFlag());
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(button->DrawnPressed());
}

TEST_F(AOLFButtonEventsTest, MoveSetsToolTipAndContainerChangeRedraws) {
  button->SetToolTipMessage("Close Top IM");
  MoveTo(10, 10);
  EXPECT_EQ(button->ToolTipText(), "Close Top IM");
  form->SetBackColor(0x00FFFF);
  button->AmbientBackColorChanged();
  EXPECT_EQ(PixelOf(*button, 0, H - 1), 0x00FFFFu);
}

TEST_F(AOLFButtonTest, GetFromINIReadsThePrivateProfileFile) {
  const std::string path = (folder / "Buttons.ini").string();
  std::ofstream(path, std::ios::binary) << "[Bar]\r\nsend=Send it\r\n";
  AOLFButton& b = Make(true);
  EXPECT_EQ(b.GetFromINI("Bar", "SEND", path), "Send it");
  EXPECT_EQ(b.GetFromINI("Bar", "Missing", path), "");
  EXPECT_EQ(b.GetFromINI("Bar", "send", (folder / "none.ini").string()), "");
}

}  // namespace
}  // namespace widgetstest
