#include "gfx/canvas.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

using gfx::Canvas;
using gfx::Color;

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kRed = 0x0000FF;
constexpr Color kBlue = 0xFF0000;

// The set of pixels that differ from `background`.
std::set<std::pair<int, int>> Painted(const Canvas& c, Color background = kWhite) {
  std::set<std::pair<int, int>> out;
  for (int y = 0; y < c.Height(); ++y) {
    for (int x = 0; x < c.Width(); ++x) {
      if (c.GetPixel(x, y) != background) out.emplace(x, y);
    }
  }
  return out;
}

TEST(CanvasTest, StartsFilledAndReadsOutsideAsZero) {
  Canvas c(4, 3, kBlue);
  EXPECT_EQ(c.Width(), 4);
  EXPECT_EQ(c.Height(), 3);
  EXPECT_EQ(c.GetPixel(3, 2), kBlue);
  EXPECT_EQ(c.GetPixel(4, 0), 0u);
  EXPECT_EQ(c.GetPixel(-1, 0), 0u);
}

TEST(CanvasTest, ResizeKeepsWhatFits) {
  Canvas c(3, 3, kWhite);
  c.SetPixel(1, 1, kRed);
  c.SetPixel(2, 2, kRed);
  c.Resize(2, 4, kBlue);
  EXPECT_EQ(c.GetPixel(1, 1), kRed);
  EXPECT_EQ(c.GetPixel(0, 3), kBlue);
  EXPECT_EQ(c.Pixels().size(), 8u);
  c.Resize(-5, 2);
  EXPECT_EQ(c.Width(), 0);
  EXPECT_TRUE(c.Pixels().empty());
}

struct LineCase {
  int x0, y0, x1, y1;
  std::set<std::pair<int, int>> pixels;
};

TEST(CanvasTest, LinesLeaveOutTheEndPoint) {
  const LineCase cases[] = {
      {0, 0, 4, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
      {4, 0, 0, 0, {{4, 0}, {3, 0}, {2, 0}, {1, 0}}},
      {1, 1, 1, 4, {{1, 1}, {1, 2}, {1, 3}}},
      {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
      {0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
      {4, 2, 0, 0, {{4, 2}, {3, 2}, {2, 1}, {1, 1}}},
      {0, 0, 1, 3, {{0, 0}, {0, 1}, {1, 2}}},
      {3, 0, 0, 3, {{3, 0}, {2, 1}, {1, 2}}},
      {0, 0, 5, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}}},
      {2, 2, 2, 2, {}},
  };
  for (const LineCase& lc : cases) {
    SCOPED_TRACE(testing::Message() << lc.x0 << "," << lc.y0 << " - " << lc.x1 << "," << lc.y1);
    Canvas c(8, 8);
    c.Line(lc.x0, lc.y0, lc.x1, lc.y1, kRed);
    EXPECT_EQ(Painted(c), lc.pixels);
  }
}

TEST(CanvasTest, LinesAreClippedAndTranslated) {
  Canvas c(6, 6);
  c.SetClip(1, 1, 3, 3);
  c.Line(-10, 2, 100, 2, kRed);
  EXPECT_EQ(Painted(c), (std::set<std::pair<int, int>>{{1, 2}, {2, 2}, {3, 2}}));
  Canvas d(6, 6);
  d.SetOrigin(2, 3);
  d.Line(0, 0, 2, 0, kRed);
  // Far off the canvas the line is dropped at once.
  d.Line(-2000000000, -50, 2000000000, -50, kRed);
  d.SetOrigin(0, 0);
  EXPECT_EQ(Painted(d), (std::set<std::pair<int, int>>{{2, 3}, {3, 3}}));
}

TEST(CanvasTest, InvertTwiceRestores) {
  Canvas c(10, 10, 0x123456);
  c.FillRect(2, 2, 4, 4, 0xABCDEF);
  const auto before = c.Pixels();
  c.SetInvert(true);
  for (int pass = 0; pass < 2; ++pass) {
    c.Line(0, 0, 9, 7, kRed);
    c.DrawRect(1, 1, 8, 8, kRed);
    c.DottedRect(0, 0, 10, 10, 2, kRed);
    c.FillRect(3, 3, 5, 2, kRed);
    c.SetPixel(5, 5, kRed);
    if (pass == 0) {
      EXPECT_NE(c.Pixels(), before);
    }
  }
  EXPECT_EQ(c.Pixels(), before);
}

TEST(CanvasTest, InvertFlipsTheTargetWhateverTheColour) {
  Canvas c(2, 1, 0x102030);
  c.SetInvert(true);
  c.SetPixel(0, 0, kRed);
  EXPECT_EQ(c.GetPixel(0, 0), 0xEFDFCFu);
  EXPECT_EQ(c.GetPixel(1, 0), 0x102030u);
  EXPECT_TRUE(c.Invert());
}

TEST(CanvasTest, RectangleOutlineAndFill) {
  Canvas c(6, 6);
  c.DrawRect(1, 1, 4, 3, kRed);
  EXPECT_EQ(Painted(c),
            (std::set<std::pair<int, int>>{
                {1, 1}, {2, 1}, {3, 1}, {4, 1}, {1, 2}, {4, 2}, {1, 3}, {2, 3}, {3, 3}, {4, 3}}));
  Canvas f(5, 5);
  f.FillRect(3, 3, 10, 10, kRed);
  f.FillRect(0, 0, 0, 4, kRed);
  f.FillRect(0, 0, 2, -1, kRed);
  EXPECT_EQ(Painted(f), (std::set<std::pair<int, int>>{{3, 3}, {4, 3}, {3, 4}, {4, 4}}));
}

TEST(CanvasTest, ClipIsInCanvasPixelsAndOriginMovesDrawing) {
  Canvas c(10, 10);
  c.SetOrigin(3, 3);
  c.SetClip(4, 4, 2, 2);
  c.FillRect(0, 0, 10, 10, kRed);
  EXPECT_EQ(c.GetPixel(1, 1), kRed);  // reads are translated too
  EXPECT_EQ(c.GetPixel(0, 0), kWhite);
  c.SetOrigin(0, 0);
  EXPECT_EQ(Painted(c), (std::set<std::pair<int, int>>{{4, 4}, {5, 4}, {4, 5}, {5, 5}}));
  c.ResetClip();
  c.Fill(kBlue);
  EXPECT_TRUE(Painted(c, kBlue).empty());
  c.SetClip(0, 0, 0, 0);
  c.Fill(kRed);
  EXPECT_TRUE(Painted(c, kBlue).empty());
}

TEST(CanvasTest, DottedRectPlacesDotsStepApart) {
  Canvas c(9, 5);
  c.DottedRect(0, 0, 9, 5, 4, kRed);
  EXPECT_EQ(Painted(c),
            (std::set<std::pair<int, int>>{{0, 0}, {4, 0}, {8, 0}, {0, 4}, {4, 4}, {8, 4}}));
}

gfx::Image Checker() {
  // 2x2: red, blue / blue, white
  gfx::Image img;
  img.width = 2;
  img.height = 2;
  img.pixels = {kRed, kBlue, kBlue, kWhite};
  return img;
}

TEST(CanvasTest, TilesAnImageFromTheRectangleCorner) {
  Canvas c(7, 4, 0);
  c.TileImage(Checker(), 1, 1, 5, 3);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 7; ++x) {
      Color want = 0;
      if (x >= 1 && x < 6 && y >= 1 && y < 4) want = Checker().At((x - 1) % 2, (y - 1) % 2);
      EXPECT_EQ(c.GetPixel(x, y), want) << x << "," << y;
    }
  }
}

TEST(CanvasTest, StretchesByNearestNeighbour) {
  Canvas c(6, 6, 0);
  c.DrawImageStretched(Checker(), 1, 1, 4, 4);
  EXPECT_EQ(c.GetPixel(1, 1), kRed);
  EXPECT_EQ(c.GetPixel(2, 2), kRed);
  EXPECT_EQ(c.GetPixel(3, 1), kBlue);
  EXPECT_EQ(c.GetPixel(4, 2), kBlue);
  EXPECT_EQ(c.GetPixel(1, 4), kBlue);
  EXPECT_EQ(c.GetPixel(4, 4), kWhite);
  EXPECT_EQ(c.GetPixel(5, 5), 0u);
  EXPECT_EQ(c.GetPixel(0, 0), 0u);
  // Shrinking samples pixel centres.
  Canvas s(1, 1, 0);
  s.DrawImageStretched(Checker(), 0, 0, 1, 1);
  EXPECT_EQ(s.GetPixel(0, 0), kWhite);
}

TEST(CanvasTest, ImageTransparencyBlends) {
  gfx::Image img;
  img.width = 3;
  img.height = 1;
  img.pixels = {0xFF000000u | kRed, kRed, 0x80000000u | 0x000000};
  Canvas c(3, 1, kWhite);
  c.DrawImage(img, 0, 0);
  EXPECT_EQ(c.GetPixel(0, 0), kWhite);
  EXPECT_EQ(c.GetPixel(1, 0), kRed);
  EXPECT_EQ(c.GetPixel(2, 0), 0x808080u);
}

TEST(CanvasTest, BlitCopiesClippedParts) {
  Canvas src(4, 4, kBlue);
  src.SetPixel(0, 0, kRed);
  Canvas dst(4, 4, kWhite);
  dst.Blit(src, -1, -1, 3, 3, 0, 0);  // the source part outside is dropped
  EXPECT_EQ(dst.GetPixel(0, 0), kWhite);
  EXPECT_EQ(dst.GetPixel(1, 1), kRed);
  EXPECT_EQ(dst.GetPixel(2, 2), kBlue);
  EXPECT_EQ(dst.GetPixel(3, 3), kWhite);
  dst.SetClip(0, 0, 4, 1);
  dst.Blit(src, 0, 0, 4, 4, 0, 0);
  EXPECT_EQ(dst.GetPixel(3, 0), kBlue);
  EXPECT_EQ(dst.GetPixel(3, 1), kWhite);
}

TEST(CanvasTest, BlitWithinOneCanvasOverlapping) {
  Canvas c(5, 1, kWhite);
  for (int x = 0; x < 5; ++x) c.SetPixel(x, 0, static_cast<Color>(x));
  c.Blit(c, 0, 0, 4, 1, 1, 0);
  EXPECT_EQ(c.Pixels(), (std::vector<Color>{0, 0, 1, 2, 3}));
}

TEST(CanvasTest, TwipsRoundToNearestPixel) {
  EXPECT_EQ(gfx::TwipsToPixels(15), 1);
  EXPECT_EQ(gfx::TwipsToPixels(22), 1);
  EXPECT_EQ(gfx::TwipsToPixels(23), 2);
  EXPECT_EQ(gfx::TwipsToPixels(-23), -2);
  EXPECT_EQ(gfx::PixelsToTwips(3), 45);
}

}  // namespace
