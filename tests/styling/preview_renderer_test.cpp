#include "styling/preview_renderer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "styling/fade_engine.h"

namespace styling {
namespace {

constexpr gfx::Color kWhite = 0xFFFFFF;

int ChannelSum(gfx::Color c) {
  return static_cast<int>((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF));
}

// The most strongly drawn pixel in a box: text is blended over white, so full coverage is the
// pixel farthest from white.
gfx::Color StrongestPixel(const gfx::Canvas& canvas, int x0, int x1, int y0, int y1) {
  gfx::Color best = kWhite;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      gfx::Color p = canvas.GetPixel(x, y);
      if (ChannelSum(p) < ChannelSum(best)) best = p;
    }
  }
  return best;
}

// First row (from the top) and first column that hold anything drawn; -1 when none.
int FirstInkRow(const gfx::Canvas& canvas) {
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (canvas.GetPixel(x, y) != kWhite) return y;
    }
  }
  return -1;
}
int FirstInkColumn(const gfx::Canvas& canvas) {
  for (int x = 0; x < canvas.Width(); ++x) {
    for (int y = 0; y < canvas.Height(); ++y) {
      if (canvas.GetPixel(x, y) != kWhite) return x;
    }
  }
  return -1;
}
bool InkBelow(const gfx::Canvas& canvas, int row) {
  for (int y = row; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (canvas.GetPixel(x, y) != kWhite) return true;
    }
  }
  return false;
}

// The colour each visible character of engine output is drawn in, read from its tags.
std::vector<gfx::Color> CharacterColours(const std::string& html) {
  std::vector<gfx::Color> colours;
  gfx::Color current = 0;
  for (size_t i = 0; i < html.size(); ++i) {
    if (html[i] == '<') {
      size_t close = html.find('>', i);
      std::string tag = html.substr(i + 1, close - i - 1);
      if (tag.rfind("Font Color=#", 0) == 0) {
        std::string hex = tag.substr(12, 6);
        current = static_cast<gfx::Color>(std::stoul(hex.substr(0, 2), nullptr, 16) +
                                          256 * std::stoul(hex.substr(2, 2), nullptr, 16) +
                                          65536 * std::stoul(hex.substr(4, 2), nullptr, 16));
      }
      i = close;
    } else {
      colours.push_back(current);
    }
  }
  return colours;
}

gfx::Font Arial10() {
  gfx::Font font;
  font.face = "Arial";
  font.sizePoints = 10;
  return font;
}

TEST(PreviewRenderer, HundredStrokesOnOneLine) {
  const std::string strokes(100, 'l');
  std::string html = FadeText4(255, 65280, 16711680, 0x00FFFF, strokes, false);
  std::vector<gfx::Color> colours = CharacterColours(html);
  ASSERT_EQ(colours.size(), 100u);
  const int w = gfx::Canvas::TextWidth("l", Arial10());
  gfx::Canvas canvas(2 + 100 * w + 10, 40);
  PenState pen = DrawFormattedText(canvas, html);
  EXPECT_EQ(pen.x, 100 * w);
  EXPECT_EQ(pen.y, 0);
  // Nothing left of the margin; the first stroke inside the first cell.
  EXPECT_GE(FirstInkColumn(canvas), 2);
  EXPECT_LT(FirstInkColumn(canvas), 2 + w);
  EXPECT_FALSE(InkBelow(canvas, 16));
  for (int k = 0; k < 100; ++k) {
    EXPECT_EQ(StrongestPixel(canvas, 2 + k * w, 2 + (k + 1) * w, 0, 16), colours[k]) << k;
  }
}

TEST(PreviewRenderer, CarriageReturnAndMarkerStartNewLines) {
  const int w = gfx::Canvas::TextWidth("l", Arial10());
  gfx::Canvas withReturn(30, 40), withMarker(30, 40);
  PenState a = DrawFormattedText(withReturn, "ll\rl");
  PenState b = DrawFormattedText(withMarker, "ll+chr13+l");
  EXPECT_EQ(a.y, 16);
  EXPECT_EQ(a.x, w);
  EXPECT_EQ(b.y, a.y);
  EXPECT_EQ(b.x, a.x);
  EXPECT_EQ(withReturn.Pixels(), withMarker.Pixels());
  // The first line's first stroke, repeated 16 pixels lower at the same place.
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 2 + w; ++x) {
      EXPECT_EQ(withReturn.GetPixel(x, y), withReturn.GetPixel(x, y + 16)) << x << "," << y;
    }
  }
  EXPECT_EQ(StrongestPixel(withReturn, 2, 2 + w, 16, 32), 0u);
  EXPECT_EQ(StrongestPixel(withReturn, 2 + w, 2 + 2 * w, 16, 32), kWhite);
}

TEST(PreviewRenderer, PlusAloneIsDrawn) {
  gfx::Canvas canvas(60, 20);
  PenState pen = DrawFormattedText(canvas, "+chr13");
  EXPECT_EQ(pen.y, 0);
  EXPECT_EQ(pen.x, gfx::Canvas::TextWidth("+chr13", Arial10()));
}

TEST(PreviewRenderer, ClosingFontAndBreakAreIgnored) {
  const int w = gfx::Canvas::TextWidth("l", Arial10());
  gfx::Canvas canvas(30, 40);
  PenState pen = DrawFormattedText(canvas, "<font color=#FF0000>l</font>l<br>l");
  EXPECT_EQ(pen.y, 0);
  EXPECT_EQ(pen.x, 3 * w);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(StrongestPixel(canvas, 2 + k * w, 2 + (k + 1) * w, 0, 16), 0x0000FFu) << k;
  }
  EXPECT_FALSE(InkBelow(canvas, 16));
}

TEST(PreviewRenderer, TagsIgnoreCase) {
  gfx::Canvas upper(30, 20), lower(30, 20);
  PenState a = DrawFormattedText(upper, "<B>l<I>");
  PenState b = DrawFormattedText(lower, "<b>l<i>");
  EXPECT_TRUE(a.font.bold);
  EXPECT_TRUE(a.font.italic);
  EXPECT_EQ(a.font, b.font);
  EXPECT_EQ(upper.Pixels(), lower.Pixels());

  gfx::Canvas green(30, 20);
  PenState g = DrawFormattedText(green, "<FONT COLOR=#00FF00>l");
  EXPECT_EQ(g.color, 0x00FF00u);
  EXPECT_EQ(StrongestPixel(green, 0, 30, 0, 20), 0x00FF00u);
}

TEST(PreviewRenderer, StyleTagsSwitchOnAndOff) {
  struct Row {
    const char* text;
    bool bold, italic, underline, strikethrough;
  };
  const Row rows[] = {{"<b><i><u><s>", true, true, true, true},
                      {"<b><i><u><s></b></i></u></s>", false, false, false, false},
                      {"<u>x</s>", false, false, true, false},
                      {"<bold><strong>", false, false, false, false}};
  for (const Row& r : rows) {
    gfx::Canvas canvas(60, 20);
    PenState pen = DrawFormattedText(canvas, r.text);
    EXPECT_EQ(pen.font.bold, r.bold) << r.text;
    EXPECT_EQ(pen.font.italic, r.italic) << r.text;
    EXPECT_EQ(pen.font.underline, r.underline) << r.text;
    EXPECT_EQ(pen.font.strikethrough, r.strikethrough) << r.text;
    EXPECT_EQ(pen.font.face, "Arial");
    EXPECT_EQ(pen.font.sizePoints, 10);
  }
}

TEST(PreviewRenderer, SupAndSubShiftOnePixel) {
  struct Row {
    const char* text;
    int shift;
    int rowOffset;
  };
  gfx::Canvas plain(20, 20);
  DrawFormattedText(plain, "l");
  const int top = FirstInkRow(plain);
  ASSERT_GT(top, 0);
  const Row rows[] = {{"<sup>l", -1, -1},     {"<sub>l", 1, 1},      {"<sup></sup>l", 0, 0},
                      {"<sub></sup>l", 0, 0}, {"<sup><sub>l", 1, 1}, {"<sup></sub>l", 0, 0}};
  for (const Row& r : rows) {
    gfx::Canvas canvas(20, 20);
    PenState pen = DrawFormattedText(canvas, r.text);
    EXPECT_EQ(pen.shift, r.shift) << r.text;
    EXPECT_EQ(FirstInkRow(canvas), top + r.rowOffset) << r.text;
  }
}

TEST(PreviewRenderer, UnclosedTagStopsDrawing) {
  const int w = gfx::Canvas::TextWidth("l", Arial10());
  gfx::Canvas canvas(40, 20);
  PenState pen = DrawFormattedText(canvas, "l<b l>");
  EXPECT_FALSE(pen.stopped);
  pen = DrawFormattedText(canvas, "l<b ll");
  EXPECT_TRUE(pen.stopped);
  EXPECT_EQ(pen.x, w);
  EXPECT_EQ(StrongestPixel(canvas, 2 + w, 40, 0, 20), kWhite);
}

TEST(PreviewRenderer, ClearsToWhiteAndStartsBlack) {
  gfx::Canvas canvas(30, 20, 0x123456);
  PenState pen = DrawFormattedText(canvas, "");
  EXPECT_EQ(pen.color, 0u);
  EXPECT_EQ(StrongestPixel(canvas, 0, 30, 0, 20), kWhite);
  EXPECT_EQ(FirstInkRow(canvas), -1);
  DrawFormattedText(canvas, "<font color=#FF0000>l");
  DrawFormattedText(canvas, "l");
  EXPECT_EQ(StrongestPixel(canvas, 0, 30, 0, 20), 0u);
}

TEST(PreviewRenderer, FontColourDigits) {
  struct Row {
    const char* text;
    gfx::Color color;
  };
  const Row rows[] = {{"<font color=#aa0055>", 0x5500AAu},
                      {"<Font Color=#0000FF>", 0xFF0000u},
                      {"<font color=\"#zz00ff\">", 0xFF0000u},  // a non-digit counts as 0
                      {"<font color=#ff>", 0x0000FFu},          // missing digits count as 0
                      {"<font color=red>", 0u},                 // no "#": unchanged
                      {"<font size=3 color=#00ff00>", 0u}};     // not a colour tag
  for (const Row& r : rows) {
    gfx::Canvas canvas(10, 10);
    EXPECT_EQ(DrawFormattedText(canvas, r.text).color, r.color) << r.text;
  }
}

TEST(PreviewRenderer, FontFace) {
  struct Row {
    const char* text;
    const char* face;
  };
  const Row rows[] = {{"<font face=\"Times New Roman\">", "times new roman"},
                      {"<FONT FACE='x'>", "'x'"},
                      {"<font face=courier>", "courier"},
                      {"<font face=\"\">", "Arial"}};
  for (const Row& r : rows) {
    gfx::Canvas canvas(10, 10);
    EXPECT_EQ(DrawFormattedText(canvas, r.text).font.face, r.face) << r.text;
  }
}

TEST(PreviewRenderer, TextPastTheEdgeIsNotWrapped) {
  gfx::Canvas canvas(20, 40);
  PenState pen = DrawFormattedText(canvas, std::string(50, 'W'));
  EXPECT_EQ(pen.y, 0);
  EXPECT_EQ(pen.x, 50 * gfx::Canvas::TextWidth("W", Arial10()));
  EXPECT_FALSE(InkBelow(canvas, 16));
}

}  // namespace
}  // namespace styling
