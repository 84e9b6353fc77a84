#include "gfx/classic.h"

#include <gtest/gtest.h>

#include "platform/types.h"

namespace {

using gfx::Canvas;
using gfx::Color;
using gfx::Rect;
namespace classic = gfx::classic;

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kBlack = 0x000000;
constexpr Color kGrey = 0x808080;
constexpr Color kLight = 0xDFDFDF;
constexpr Color kFace = 0xC0C0C0;
constexpr Color kMarker = 0x123456;

TEST(ClassicTest, RaisedEdgeShades) {
  Canvas c(10, 10, kMarker);
  const Rect inside = classic::DrawEdge(c, {0, 0, 10, 10}, classic::Edge::Raised);
  EXPECT_EQ(inside, (Rect{2, 2, 6, 6}));
  EXPECT_EQ(c.GetPixel(0, 0), kLight);
  EXPECT_EQ(c.GetPixel(8, 0), kLight);
  EXPECT_EQ(c.GetPixel(9, 0), kBlack);  // the bottom-right shade owns the far corners
  EXPECT_EQ(c.GetPixel(0, 9), kBlack);
  EXPECT_EQ(c.GetPixel(9, 9), kBlack);
  EXPECT_EQ(c.GetPixel(1, 1), kWhite);
  EXPECT_EQ(c.GetPixel(1, 7), kWhite);
  EXPECT_EQ(c.GetPixel(8, 1), kGrey);
  EXPECT_EQ(c.GetPixel(8, 8), kGrey);
  EXPECT_EQ(c.GetPixel(2, 2), kMarker);
  EXPECT_EQ(c.GetPixel(7, 7), kMarker);
}

TEST(ClassicTest, EdgeKinds) {
  const struct {
    classic::Edge edge;
    Color outerTL, outerBR, innerTL, innerBR;
  } cases[] = {
      {classic::Edge::Sunken, kGrey, kWhite, kBlack, kLight},
      {classic::Edge::Button, kWhite, kBlack, kLight, kGrey},
      {classic::Edge::Etched, kGrey, kWhite, kWhite, kGrey},
      {classic::Edge::RaisedThin, kWhite, kGrey, kMarker, kMarker},
      {classic::Edge::SunkenThin, kGrey, kWhite, kMarker, kMarker},
  };
  for (const auto& e : cases) {
    Canvas c(6, 6, kMarker);
    classic::DrawEdge(c, {0, 0, 6, 6}, e.edge);
    EXPECT_EQ(c.GetPixel(0, 2), e.outerTL);
    EXPECT_EQ(c.GetPixel(5, 2), e.outerBR);
    EXPECT_EQ(c.GetPixel(2, 1), e.innerTL);
    EXPECT_EQ(c.GetPixel(4, 2), e.innerBR);
  }
  EXPECT_EQ(classic::EdgeWidth(classic::Edge::SunkenThin), 1);
  EXPECT_EQ(classic::EdgeWidth(classic::Edge::Sunken), 2);
}

TEST(ClassicTest, CaptionBarGradientTitleAndButtons) {
  const Rect bar{0, 0, 200, classic::kCaptionHeight};
  Canvas c(200, 18, kMarker);
  classic::DrawCaptionBar(c, bar, "Title", true);
  EXPECT_EQ(c.GetPixel(0, 0), 0x800000u);    // navy at the left
  EXPECT_EQ(c.GetPixel(199, 0), 0xD08410u);  // light blue at the right
  const Color middle = c.GetPixel(100, 0);
  EXPECT_GT((middle >> 16) & 0xFF, 0x80u);
  EXPECT_LT((middle >> 16) & 0xFF, 0xD0u);
  int white = 0;
  for (int y = 0; y < 18; ++y) {
    for (int x = 0; x < 60; ++x) white += c.GetPixel(x, y) == kWhite;
  }
  EXPECT_GT(white, 10);  // the title, in white

  const auto layout = classic::LayoutCaptionButtons(bar, {});
  EXPECT_EQ(layout.close, (Rect{182, 2, 16, 14}));
  EXPECT_EQ(layout.maximize, (Rect{164, 2, 16, 14}));
  EXPECT_EQ(layout.minimize, (Rect{148, 2, 16, 14}));
  EXPECT_EQ(c.GetPixel(182, 2), kWhite);  // button edge
  EXPECT_EQ(c.GetPixel(197, 15), kBlack);
  EXPECT_EQ(c.GetPixel(186, 5), kBlack);  // the close cross
  EXPECT_EQ(c.GetPixel(189, 8), kBlack);
  EXPECT_EQ(c.GetPixel(186, 8), kFace);

  Canvas inactive(200, 18, kMarker);
  classic::DrawCaptionBar(inactive, bar, "Title", false, {false, false, true, false});
  EXPECT_EQ(inactive.GetPixel(0, 0), kGrey);
  EXPECT_EQ(inactive.GetPixel(150, 5), inactive.GetPixel(150, 0));  // no minimise button
}

TEST(ClassicTest, LongCaptionTitlesStopBeforeTheButtons) {
  const Rect bar{0, 0, 120, 18};
  Canvas c(120, 18);
  classic::DrawCaptionBar(c, bar, std::string(80, 'W'), true);
  const auto layout = classic::LayoutCaptionButtons(bar, {});
  for (int y = 0; y < 18; ++y) {
    for (int x = layout.minimize.x - 2; x < layout.minimize.x; ++x) {
      EXPECT_NE(c.GetPixel(x, y), kWhite) << x << "," << y;
    }
  }
}

TEST(ClassicTest, CheckBox) {
  Canvas c(20, 20, kMarker);
  classic::DrawCheckBox(c, 2, 3, false);
  EXPECT_EQ(c.GetPixel(2, 3), kGrey);
  EXPECT_EQ(c.GetPixel(3, 4), kBlack);
  EXPECT_EQ(c.GetPixel(14, 15), kWhite);
  EXPECT_EQ(c.GetPixel(15, 16), kMarker);
  for (int y = 5; y < 14; ++y) {
    for (int x = 4; x < 13; ++x) EXPECT_EQ(c.GetPixel(x, y), kWhite);
  }
  classic::DrawCheckBox(c, 2, 3, true);
  EXPECT_EQ(c.GetPixel(2 + 3, 3 + 5), kBlack);  // the mark's ends and dip
  EXPECT_EQ(c.GetPixel(2 + 9, 3 + 3), kBlack);
  EXPECT_EQ(c.GetPixel(2 + 5, 3 + 9), kBlack);
  EXPECT_EQ(c.GetPixel(2 + 3, 3 + 3), kWhite);
  classic::DrawCheckBox(c, 2, 3, true, false);
  EXPECT_EQ(c.GetPixel(2 + 3, 3 + 5), kGrey);
  EXPECT_EQ(c.GetPixel(2 + 3, 3 + 3), kFace);
}

TEST(ClassicTest, OptionButton) {
  Canvas c(12, 12, kMarker);
  classic::DrawOptionButton(c, 0, 0, false);
  EXPECT_EQ(c.GetPixel(0, 0), kMarker);  // round: corners untouched
  EXPECT_EQ(c.GetPixel(4, 0), kGrey);
  EXPECT_EQ(c.GetPixel(7, 11), kWhite);
  EXPECT_EQ(c.GetPixel(1, 5), kBlack);
  EXPECT_EQ(c.GetPixel(10, 6), kLight);
  EXPECT_EQ(c.GetPixel(5, 5), kWhite);
  classic::DrawOptionButton(c, 0, 0, true);
  EXPECT_EQ(c.GetPixel(5, 5), kBlack);
  EXPECT_EQ(c.GetPixel(4, 4), kWhite);
}

TEST(ClassicTest, FocusRectInvertsAndDrawsAgainToRemove) {
  Canvas c(10, 10, kFace);
  c.SetInvert(false);
  classic::DrawFocusRect(c, {1, 1, 8, 8});
  EXPECT_EQ(c.GetPixel(1, 1), 0x3F3F3Fu);
  EXPECT_EQ(c.GetPixel(2, 1), kFace);
  EXPECT_EQ(c.GetPixel(3, 1), 0x3F3F3Fu);
  EXPECT_FALSE(c.Invert());
  classic::DrawFocusRect(c, {1, 1, 8, 8});
  EXPECT_EQ(c.Pixels(), Canvas(10, 10, kFace).Pixels());
}

TEST(ClassicTest, DrawingPaintsEvenWhenTheCanvasInverts) {
  Canvas c(20, 20, kMarker);
  c.SetInvert(true);
  classic::DrawButton(c, {0, 0, 20, 20}, "", classic::SystemFont());
  EXPECT_TRUE(c.Invert());
  EXPECT_EQ(c.GetPixel(0, 0), kWhite);
  EXPECT_EQ(c.GetPixel(10, 10), kFace);
}

TEST(ClassicTest, Mnemonics) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"&File", "File"}, {"Save && Exit", "Save & Exit"},
               {"A&", "A"},       {"&&&x", "&x"},
               {"", ""},          {"E&xit", "Exit"}};
  for (const auto& m : cases) EXPECT_EQ(classic::StripMnemonic(m.in), m.out) << m.in;
  const gfx::Font f = classic::SystemFont();
  EXPECT_EQ(classic::MnemonicTextWidth("&File", f), Canvas::TextWidth("File", f));

  Canvas plain(60, 20, kWhite), marked(60, 20, kWhite);
  classic::DrawMnemonicText(plain, 0, 0, "File", f, kBlack);
  const int w = classic::DrawMnemonicText(marked, 0, 0, "&File", f, kBlack);
  EXPECT_EQ(w, Canvas::TextWidth("File", f));
  const int fWidth = Canvas::TextWidth("F", f);
  int changed = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 60; ++x) {
      if (plain.GetPixel(x, y) == marked.GetPixel(x, y)) continue;
      ++changed;
      EXPECT_LT(x, fWidth);
      EXPECT_EQ(marked.GetPixel(x, y), kBlack);
    }
  }
  EXPECT_GT(changed, 2);
}

TEST(ClassicTest, MenuBarItems) {
  const gfx::Font f = classic::SystemFont();
  Canvas c(200, classic::kMenuBarHeight, kMarker);
  const Rect bar{0, 0, 200, classic::kMenuBarHeight};
  const auto rects = classic::DrawMenuBar(c, bar, {"&File", "&Edit"}, f, 1);
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].x, 0);
  EXPECT_EQ(rects[0].width, Canvas::TextWidth("File", f) + 12);
  EXPECT_EQ(rects[1].x, rects[0].Right());
  EXPECT_EQ(rects, classic::LayoutMenuBar(bar, {"&File", "&Edit"}, f));
  EXPECT_EQ(c.GetPixel(rects[1].x, rects[1].y), kGrey);  // the open item sits pressed in
  EXPECT_EQ(c.GetPixel(rects[0].x, rects[0].y), kFace);
  EXPECT_EQ(c.GetPixel(199, 5), kFace);
}

TEST(ClassicTest, SelectedTabStandsTallerAndWider) {
  const gfx::Font f = classic::SystemFont();
  Canvas c(100, 30, kMarker);
  classic::DrawTab(c, {10, 5, 40, 20}, "A", f, false);
  EXPECT_EQ(c.GetPixel(12, 5), kMarker);
  EXPECT_EQ(c.GetPixel(12, 7), kWhite);
  EXPECT_EQ(c.GetPixel(10, 10), kWhite);
  EXPECT_EQ(c.GetPixel(49, 10), kBlack);
  Canvas s(100, 30, kMarker);
  classic::DrawTab(s, {10, 5, 40, 20}, "A", f, true);
  EXPECT_EQ(s.GetPixel(10, 5), kWhite);
  EXPECT_EQ(s.GetPixel(8, 10), kWhite);
  EXPECT_EQ(s.GetPixel(51, 10), kBlack);
  EXPECT_EQ(s.GetPixel(20, 25), kFace);  // reaches into the panel
}

TEST(ClassicTest, ScrollArrows) {
  Canvas c(16, 16, kMarker);
  classic::DrawScrollArrow(c, {0, 0, 16, 16}, classic::Arrow::Up);
  EXPECT_EQ(c.GetPixel(0, 0), kWhite);
  EXPECT_EQ(c.GetPixel(15, 15), kBlack);
  // Up: the tip on top, the widest row below it.
  EXPECT_EQ(c.GetPixel(7, 5), kBlack);
  EXPECT_EQ(c.GetPixel(6, 5), kFace);
  EXPECT_EQ(c.GetPixel(4, 8), kBlack);
  EXPECT_EQ(c.GetPixel(10, 8), kBlack);
  EXPECT_EQ(c.GetPixel(7, 9), kFace);
  classic::DrawScrollArrow(c, {0, 0, 16, 16}, classic::Arrow::Down, false, false);
  EXPECT_EQ(c.GetPixel(7, 8), kGrey);
  EXPECT_EQ(c.GetPixel(8, 9), kWhite);  // the embossed shadow
}

}  // namespace
