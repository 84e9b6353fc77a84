// A 32-bit raster canvas with the drawing the program's windows need. Colours are the
// platform's 0x00BBGGRR values. Coordinates are pixels; twips helpers convert (15 per pixel).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace gfx {

using Color = uint32_t;  // 0x00BBGGRR

constexpr int kTwipsPerPixel = 15;
// Twips to pixels, rounding to the nearest pixel.
constexpr int TwipsToPixels(int twips) {
  return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                    : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}
constexpr int PixelsToTwips(int pixels) {
  return pixels * kTwipsPerPixel;
}

struct Font {
  std::string face = "MS Sans Serif";
  double sizePoints = 8.25;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  bool operator==(const Font&) const = default;
};

// A decoded picture (BMP, GIF, JPEG, PNG). The top byte of a pixel is its transparency (0
// opaque, 255 fully transparent), so opaque pixels compare equal to plain colours; drawing
// blends the rest over the canvas.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<Color> pixels;  // row-major
  // Only a regular file of at most kMaxFileBytes is read: a path naming a pipe or a device
  // gives nothing rather than waiting or reading without end.
  static constexpr size_t kMaxFileBytes = size_t{16} << 20;
  static std::optional<Image> Load(const std::string& hostPath);
  static std::optional<Image> Decode(const std::string& bytes);
  Color At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height, Color fill = 0xFFFFFF);

  int Width() const { return width_; }
  int Height() const { return height_; }
  void Resize(int width, int height, Color fill = 0xFFFFFF);  // contents kept where they fit
  const std::vector<Color>& Pixels() const { return pixels_; }

  // Drawing state: a translation and a clip rectangle (in canvas pixels), and the invert mode
  // in which lines, pixels and rectangles XOR the target instead of painting a colour.
  void SetOrigin(int x, int y);
  int OriginX() const { return originX_; }
  int OriginY() const { return originY_; }
  void SetClip(int x, int y, int width, int height);  // in canvas pixels, not translated
  void ResetClip();
  void SetInvert(bool invert) { invert_ = invert; }
  bool Invert() const { return invert_; }

  Color GetPixel(int x, int y) const;  // translated; outside: 0
  void SetPixel(int x, int y, Color color);
  void Fill(Color color);
  void FillRect(int x, int y, int width, int height, Color color);
  void DrawRect(int x, int y, int width, int height, Color color);  // one-pixel outline
  // A line from (x0, y0) to (x1, y1), the end point excluded (as the platform draws lines).
  void Line(int x0, int y0, int x1, int y1, Color color);
  void DottedRect(int x, int y, int width, int height, int step, Color color);

  // Text in the platform's ANSI code page; returns the advance width in pixels. (x, y) is the
  // top-left of the text cell.
  int DrawText(int x, int y, const std::string& text, const Font& font, Color color);
  static int TextWidth(const std::string& text, const Font& font);
  static int TextHeight(const Font& font);  // the cell height (ascent + descent)

  void DrawImage(const Image& image, int x, int y);
  void DrawImageStretched(const Image& image, int x, int y, int width, int height);
  void TileImage(const Image& image, int x, int y, int width, int height);
  // Copies a part of another canvas (plain source copy, clipped).
  void Blit(const Canvas& source, int sourceX, int sourceY, int width, int height, int destX,
            int destY);

  bool SavePng(const std::string& hostPath) const;
  Image ToImage() const;

 private:
  struct PixelBounds {
    int64_t left, top, right, bottom;  // canvas pixels, right and bottom excluded
  };

  bool InClip(int x, int y) const;
  void Plot(int x, int y, Color color);              // canvas pixels, clip and invert applied
  PixelBounds ClipBounds() const;                    // the clip within the canvas
  void Blend(int x, int y, Color color, int alpha);  // canvas pixels, clip applied
  void PutImagePixel(int x, int y, Color pixel);     // inside the clip; transparency blended
  // Paints the clipped part of the target rectangle, each pixel from the image pixel that
  // `source` picks for its offset in the rectangle.
  template <typename Source>
  void PaintImage(const Image& image, int x, int y, int width, int height, const Source& source);

  int width_ = 0;
  int height_ = 0;
  std::vector<Color> pixels_;
  int originX_ = 0;
  int originY_ = 0;
  int clipX_ = 0, clipY_ = 0, clipW_ = -1, clipH_ = -1;  // clipW_ < 0: no clip
  bool invert_ = false;
};

}  // namespace gfx
