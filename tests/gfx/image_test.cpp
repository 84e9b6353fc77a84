#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "gfx/canvas.h"

namespace {

using gfx::Canvas;
using gfx::Image;

void Put16(std::string& s, int v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
  Put16(s, static_cast<int>(v & 0xFFFF));
  Put16(s, static_cast<int>(v >> 16));
}

// A 24-bit bottom-up BMP written byte by byte; `bgr` rows top first, rows padded to 4.
std::string Bmp24(int width, int height, const std::vector<uint32_t>& colors) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::string s = "BM";
  Put32(s, static_cast<uint32_t>(54 + stride * height));
  Put32(s, 0);
  Put32(s, 54);
  Put32(s, 40);
  Put32(s, static_cast<uint32_t>(width));
  Put32(s, static_cast<uint32_t>(height));
  Put16(s, 1);
  Put16(s, 24);
  Put32(s, 0);
  Put32(s, static_cast<uint32_t>(stride * height));
  Put32(s, 2835);
  Put32(s, 2835);
  Put32(s, 0);
  Put32(s, 0);
  for (int y = height - 1; y >= 0; --y) {
    int written = 0;
    for (int x = 0; x < width; ++x) {
      const uint32_t c = colors[static_cast<size_t>(y) * width + x];  // 0x00BBGGRR
      s += static_cast<char>((c >> 16) & 0xFF);
      s += static_cast<char>((c >> 8) & 0xFF);
      s += static_cast<char>(c & 0xFF);
      written += 3;
    }
    for (; written < stride; ++written) s += '\0';
  }
  return s;
}

// A 2x1 GIF: palette red, green; pixels 0, 1; colour 1 marked transparent.
std::string TinyGif() {
  const unsigned char bytes[] = {
      'G',  'I',  'F',  '8',  '9',  'a', 2, 0, 1, 0, 0x80, 0, 0,  // screen, 2-entry palette
      0xFF, 0,    0,    0,    0xFF, 0,                            // red, green
      0x21, 0xF9, 4,    0x01, 0,    0,   1, 0,                    // graphic control: transparent 1
      0x2C, 0,    0,    0,    0,    2,   0, 1, 0, 0,              // image descriptor
      2,    2,    0x44, 0x01, 0,                                  // LZW: clear, 0, 1, end
      0x3B};
  return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

TEST(ImageTest, DecodesAHandWrittenBmp) {
  const std::vector<uint32_t> colors = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0xFFFFFF, 0x000000};
  const auto img = Image::Decode(Bmp24(3, 2, colors));
  ASSERT_TRUE(img.has_value());
  ASSERT_EQ(img->width, 3);
  ASSERT_EQ(img->height, 2);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(img->At(i % 3, i / 3), colors[i]) << i;
}

TEST(ImageTest, DecodesAGifWithTransparency) {
  const auto img = Image::Decode(TinyGif());
  ASSERT_TRUE(img.has_value());
  ASSERT_EQ(img->width, 2);
  EXPECT_EQ(img->At(0, 0), 0x0000FFu);
  EXPECT_EQ(img->At(1, 0) >> 24, 0xFFu);  // fully transparent
  Canvas c(2, 1, 0xABCDEF);
  c.DrawImage(*img, 0, 0);
  EXPECT_EQ(c.GetPixel(0, 0), 0x0000FFu);
  EXPECT_EQ(c.GetPixel(1, 0), 0xABCDEFu);
}

TEST(ImageTest, PngRoundTrip) {
  Canvas c(5, 4, 0x102030);
  c.FillRect(1, 1, 2, 2, 0x00FF80);
  c.SetPixel(4, 3, 0xFFFFFF);
  const auto path = (std::filesystem::temp_directory_path() / "pallion_gfx_roundtrip.png").string();
  ASSERT_TRUE(c.SavePng(path));
  const auto img = Image::Load(path);
  std::filesystem::remove(path);
  ASSERT_TRUE(img.has_value());
  EXPECT_EQ(img->width, 5);
  EXPECT_EQ(img->height, 4);
  EXPECT_EQ(img->pixels, c.ToImage().pixels);
}

TEST(ImageTest, BadInputIsRefusedNotCrashed) {
  EXPECT_FALSE(Image::Decode("").has_value());
  EXPECT_FALSE(Image::Decode("not a picture at all").has_value());
  std::string bmp = Bmp24(4, 4, std::vector<uint32_t>(16, 0));
  EXPECT_FALSE(Image::Decode(bmp.substr(0, 30)).has_value());
  std::string png = "\x89PNG\r\n\x1A\n";
  png += std::string(40, '\x7F');
  EXPECT_FALSE(Image::Decode(png).has_value());
  EXPECT_FALSE(Image::Load("/nonexistent/folder/picture.bmp").has_value());
  EXPECT_FALSE(Canvas().SavePng("/tmp/pallion_gfx_empty.png"));
  EXPECT_FALSE(Canvas(2, 2).SavePng("/nonexistent/folder/out.png"));
}

}  // namespace
