#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "gfx/canvas.h"
#include "gfx/text.h"

namespace {

using gfx::Canvas;
using gfx::Font;

constexpr gfx::Color kWhite = 0xFFFFFF;
constexpr gfx::Color kInk = 0x00AA00;

Font Tahoma(double size = 8.25) {
  Font f;
  f.face = "Tahoma";
  f.sizePoints = size;
  return f;
}

// Restores the standard font folder after tests that change it.
class FontFolderGuard {
 public:
  FontFolderGuard() : saved_(gfx::FontDirectory()) {}
  ~FontFolderGuard() { gfx::SetFontDirectory(saved_); }

 private:
  std::string saved_;
};

TEST(TextTest, PointSizesMapToPixels) {
  EXPECT_EQ(gfx::FontPixelSize(Tahoma(8.25)), 11);
  EXPECT_EQ(gfx::FontPixelSize(Tahoma(12)), 16);
  EXPECT_EQ(gfx::FontPixelSize(Tahoma(0)), 1);
  EXPECT_EQ(gfx::FontPixelSize(Tahoma(-3)), 1);
  const int h = Canvas::TextHeight(Tahoma());
  EXPECT_GE(h, 12);
  EXPECT_LE(h, 14);
  EXPECT_LT(gfx::TextAscent(Tahoma()), h);
}

TEST(TextTest, WidthGrowsWithTextAndBoldIsWider) {
  const Font f = Tahoma();
  EXPECT_EQ(Canvas::TextWidth("", f), 0);
  const int one = Canvas::TextWidth("Hello", f);
  const int two = Canvas::TextWidth("Hello, world", f);
  EXPECT_GT(one, 15);
  EXPECT_GT(two, one);
  Font bold = f;
  bold.bold = true;
  EXPECT_GT(Canvas::TextWidth("Hello, world", bold), two);
  Font big = f;
  big.sizePoints = 16;
  EXPECT_GT(Canvas::TextWidth("Hello, world", big), two);
}

TEST(TextTest, FacesMapToFamilies) {
  const std::string s = "iiiiiiiiii";
  Font mono = Tahoma();
  mono.face = "courier new";
  Font sans = Tahoma();
  sans.face = "ARIAL";
  Font unknown = Tahoma();
  unknown.face = "Nonexistent Face";
  Font serif = Tahoma();
  serif.face = "Times New Roman";
  EXPECT_GT(Canvas::TextWidth(s, mono), Canvas::TextWidth(s, sans));
  EXPECT_EQ(Canvas::TextWidth(s, unknown), Canvas::TextWidth(s, sans));
  EXPECT_EQ(Canvas::TextWidth("iii", mono), Canvas::TextWidth("WWW", mono));
  EXPECT_NE(Canvas::TextWidth("Hello world", serif), Canvas::TextWidth("Hello world", sans));
}

TEST(TextTest, DrawReturnsTheMeasuredWidth) {
  const std::string texts[] = {"A", "Pallion \xB2\xB7\xBA :", "The quick brown fox", "\x80\x81"};
  for (bool bold : {false, true}) {
    for (bool italic : {false, true}) {
      for (const std::string& t : texts) {
        Font f = Tahoma();
        f.bold = bold;
        f.italic = italic;
        Canvas c(300, 20);
        EXPECT_EQ(c.DrawText(2, 2, t, f, kInk), Canvas::TextWidth(t, f)) << t;
      }
    }
  }
}

TEST(TextTest, AnLStaysInsideItsCellInTheTextColour) {
  const Font f = Tahoma(24);
  Canvas c(60, 60, kWhite);
  const int x = 10, y = 12;
  const int w = c.DrawText(x, y, "l", f, kInk);
  const int h = Canvas::TextHeight(f);
  int ink = 0, full = 0;
  for (int py = 0; py < c.Height(); ++py) {
    for (int px = 0; px < c.Width(); ++px) {
      const gfx::Color p = c.GetPixel(px, py);
      if (p == kWhite) continue;
      ++ink;
      EXPECT_TRUE(px >= x && px < x + w && py >= y && py < y + h) << px << "," << py;
      // Blends of green over white: red and blue equal, never more green than white.
      EXPECT_EQ(p & 0xFF, (p >> 16) & 0xFF);
      if (p == kInk) ++full;
    }
  }
  EXPECT_GT(ink, 20);
  EXPECT_GT(full, 10);
}

TEST(TextTest, ControlCharactersTakeNoRoom) {
  EXPECT_EQ(Canvas::TextWidth("a\r\nb", Tahoma()), Canvas::TextWidth("ab", Tahoma()));
}

TEST(TextTest, UnderlineAndStrikeoutUseTheTextColour) {
  Font f = Tahoma(10);
  Canvas plain(100, 30, kWhite);
  plain.DrawText(0, 0, "ace", f, kInk);
  f.underline = true;
  Canvas under(100, 30, kWhite);
  const int w = under.DrawText(0, 0, "ace", f, kInk);
  const int h = Canvas::TextHeight(f);
  int rowsAdded = 0;
  for (int y = 0; y < h; ++y) {
    bool solid = true;
    for (int x = 0; x < w; ++x) solid = solid && under.GetPixel(x, y) == kInk;
    if (solid) ++rowsAdded;
  }
  EXPECT_GE(rowsAdded, 1);
  EXPECT_EQ(under.GetPixel(w, h - 1), kWhite);
  f.underline = false;
  f.strikethrough = true;
  Canvas strike(100, 30, kWhite);
  strike.DrawText(0, 0, "ace", f, kInk);
  EXPECT_NE(strike.Pixels(), plain.Pixels());
  EXPECT_NE(strike.Pixels(), under.Pixels());
}

TEST(TextTest, ClippedAndTranslatedText) {
  Canvas c(80, 30, kWhite);
  c.SetClip(0, 0, 5, 30);
  c.SetOrigin(2, 0);
  c.DrawText(0, 0, "WWWW", Tahoma(12), kInk);
  c.SetOrigin(0, 0);
  bool inside = false;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 80; ++x) {
      if (c.GetPixel(x, y) == kWhite) continue;
      EXPECT_LT(x, 5);
      EXPECT_GE(x, 2);
      inside = true;
    }
  }
  EXPECT_TRUE(inside);
}

TEST(TextTest, MissingFontFilesFallBack) {
  FontFolderGuard guard;
  const auto dir = std::filesystem::temp_directory_path() / "pallion_gfx_fonts";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::filesystem::copy_file("/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf",
                             dir / "LiberationMono-Regular.ttf");
  gfx::SetFontDirectory(dir.string());
  Font bold = Tahoma();
  bold.bold = true;
  // Only the monospaced regular face is left: every face uses it, bold overstruck.
  EXPECT_EQ(Canvas::TextWidth("iii", Tahoma()), Canvas::TextWidth("WWW", Tahoma()));
  EXPECT_GT(Canvas::TextWidth("iii", bold), Canvas::TextWidth("iii", Tahoma()));
  Canvas c(100, 20, kWhite);
  c.DrawText(0, 0, "Hi", bold, kInk);
  EXPECT_NE(c.Pixels(), Canvas(100, 20, kWhite).Pixels());

  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "LiberationSans-Regular.ttf") << "damaged";
  gfx::SetFontDirectory(dir.string());
  Canvas blank(100, 20, kWhite);
  const int w = blank.DrawText(0, 0, "Hello", Tahoma(), kInk);
  EXPECT_EQ(blank.Pixels(), Canvas(100, 20, kWhite).Pixels());
  EXPECT_GT(w, 10);
  EXPECT_EQ(w, Canvas::TextWidth("Hello", Tahoma()));
  EXPECT_GT(Canvas::TextHeight(Tahoma()), 8);
  std::filesystem::remove_all(dir);
}

TEST(TextTest, AFontSourceSuppliesTheFacesInsteadOfTheFolder) {
  std::vector<std::pair<gfx::FontFamily, int>> asked;
  gfx::SetFontSource([&asked](gfx::FontFamily family, bool bold, bool italic) {
    asked.emplace_back(family, (bold ? 1 : 0) + (italic ? 2 : 0));
    // This system has only the monospaced regular face.
    if (family != gfx::FontFamily::Mono || bold || italic) return std::vector<unsigned char>();
    std::ifstream in("/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf",
                     std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
  });
  EXPECT_EQ(Canvas::TextWidth("iii", Tahoma()), Canvas::TextWidth("WWW", Tahoma()));
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.front(), std::make_pair(gfx::FontFamily::Sans, 0))
      << "the asked-for face is wanted first";
  gfx::SetFontSource(nullptr);
  EXPECT_NE(Canvas::TextWidth("iii", Tahoma()), Canvas::TextWidth("WWW", Tahoma()))
      << "without a source the folder's proportional faces are back";
}

}  // namespace
