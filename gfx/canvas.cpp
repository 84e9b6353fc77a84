#include "gfx/canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "gfx/pixels.h"

namespace gfx {

namespace {

constexpr Color kInvertMask = 0xFFFFFF;

}  // namespace

Canvas::Canvas(int width, int height, Color fill) {
  Resize(width, height, fill);
}

void Canvas::Resize(int width, int height, Color fill) {
  width = std::max(0, width);
  height = std::max(0, height);
  std::vector<Color> next(static_cast<size_t>(width) * height, fill & 0xFFFFFF);
  const int keepW = std::min(width, width_);
  const int keepH = std::min(height, height_);
  for (int y = 0; y < keepH; ++y) {
    std::copy_n(pixels_.begin() + static_cast<ptrdiff_t>(y) * width_, keepW,
                next.begin() + static_cast<ptrdiff_t>(y) * width);
  }
  pixels_ = std::move(next);
  width_ = width;
  height_ = height;
}

void Canvas::SetOrigin(int x, int y) {
  originX_ = x;
  originY_ = y;
}

void Canvas::SetClip(int x, int y, int width, int height) {
  clipX_ = x;
  clipY_ = y;
  clipW_ = std::max(0, width);
  clipH_ = std::max(0, height);
}

void Canvas::ResetClip() {
  clipX_ = clipY_ = 0;
  clipW_ = clipH_ = -1;
}

Canvas::PixelBounds Canvas::ClipBounds() const {
  PixelBounds b{0, 0, width_, height_};
  if (clipW_ >= 0) {
    b.left = std::max<int64_t>(b.left, clipX_);
    b.top = std::max<int64_t>(b.top, clipY_);
    b.right = std::min<int64_t>(b.right, static_cast<int64_t>(clipX_) + clipW_);
    b.bottom = std::min<int64_t>(b.bottom, static_cast<int64_t>(clipY_) + clipH_);
  }
  if (b.right < b.left) b.right = b.left;
  if (b.bottom < b.top) b.bottom = b.top;
  return b;
}

bool Canvas::InClip(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  if (clipW_ < 0) return true;
  return x >= clipX_ && y >= clipY_ &&
         static_cast<int64_t>(x) < static_cast<int64_t>(clipX_) + clipW_ &&
         static_cast<int64_t>(y) < static_cast<int64_t>(clipY_) + clipH_;
}

void Canvas::Plot(int x, int y, Color color) {
  if (!InClip(x, y)) return;
  Color& p = pixels_[static_cast<size_t>(y) * width_ + x];
  p = invert_ ? (p ^ kInvertMask) : (color & 0xFFFFFF);
}

void Canvas::Blend(int x, int y, Color color, int alpha) {
  if (alpha <= 0 || !InClip(x, y)) return;
  Color& p = pixels_[static_cast<size_t>(y) * width_ + x];
  p = BlendColor(p, color, alpha);
}

Color Canvas::GetPixel(int x, int y) const {
  const int64_t cx = static_cast<int64_t>(x) + originX_;
  const int64_t cy = static_cast<int64_t>(y) + originY_;
  if (cx < 0 || cy < 0 || cx >= width_ || cy >= height_) return 0;
  return pixels_[static_cast<size_t>(cy) * width_ + cx];
}

void Canvas::SetPixel(int x, int y, Color color) {
  Plot(x + originX_, y + originY_, color);
}

void Canvas::Fill(Color color) {
  const PixelBounds b = ClipBounds();
  for (int64_t y = b.top; y < b.bottom; ++y) {
    std::fill_n(pixels_.begin() + static_cast<ptrdiff_t>(y * width_ + b.left), b.right - b.left,
                color & 0xFFFFFF);
  }
}

void Canvas::FillRect(int x, int y, int width, int height, Color color) {
  if (width <= 0 || height <= 0) return;
  const PixelBounds c = ClipBounds();
  const int64_t left = std::max<int64_t>(c.left, static_cast<int64_t>(x) + originX_);
  const int64_t top = std::max<int64_t>(c.top, static_cast<int64_t>(y) + originY_);
  const int64_t right = std::min<int64_t>(c.right, static_cast<int64_t>(x) + originX_ + width);
  const int64_t bottom = std::min<int64_t>(c.bottom, static_cast<int64_t>(y) + originY_ + height);
  for (int64_t row = top; row < bottom; ++row) {
    Color* p = pixels_.data() + row * width_;
    for (int64_t col = left; col < right; ++col) {
      p[col] = invert_ ? (p[col] ^ kInvertMask) : (color & 0xFFFFFF);
    }
  }
}

void Canvas::DrawRect(int x, int y, int width, int height, Color color) {
  if (width <= 0 || height <= 0) return;
  // Each pixel of the outline once, so an inverting outline drawn twice restores the target.
  FillRect(x, y, width, 1, color);
  if (height > 1) FillRect(x, y + height - 1, width, 1, color);
  if (height > 2) {
    FillRect(x, y + 1, 1, height - 2, color);
    if (width > 1) FillRect(x + width - 1, y + 1, 1, height - 2, color);
  }
}

void Canvas::Line(int x0, int y0, int x1, int y1, Color color) {
  int64_t x = static_cast<int64_t>(x0) + originX_;
  int64_t y = static_cast<int64_t>(y0) + originY_;
  const int64_t ex = static_cast<int64_t>(x1) + originX_;
  const int64_t ey = static_cast<int64_t>(y1) + originY_;
  // A line wholly on one outer side of the drawable area touches nothing.
  const PixelBounds c = ClipBounds();
  if ((x < c.left && ex < c.left) || (x >= c.right && ex >= c.right) || (y < c.top && ey < c.top) ||
      (y >= c.bottom && ey >= c.bottom)) {
    return;
  }
  // Each step along the major axis; the minor coordinate is the ideal one rounded, with
  // halves going back toward the start point.
  const int64_t dx = ex - x, dy = ey - y;
  const int64_t major = std::max(std::llabs(dx), std::llabs(dy));
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const int64_t minorDelta = std::llabs(xMajor ? dy : dx);
  const int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
  for (int64_t i = 0; i < major; ++i) {
    const int64_t minor = (2 * i * minorDelta + major - 1) / (2 * major) * minorStep;
    const int64_t px = xMajor ? x + i * majorStep : x + minor;
    const int64_t py = xMajor ? y + minor : y + i * majorStep;
    if (px >= c.left && px < c.right && py >= c.top && py < c.bottom) {
      Plot(static_cast<int>(px), static_cast<int>(py), color);
    }
  }
}

void Canvas::DottedRect(int x, int y, int width, int height, int step, Color color) {
  if (width <= 0 || height <= 0) return;
  step = std::max(1, step);
  std::vector<std::pair<int, int>> dots;
  for (int i = 0; i < width; i += step) {
    dots.emplace_back(x + i, y);
    dots.emplace_back(x + i, y + height - 1);
  }
  for (int i = 0; i < height; i += step) {
    dots.emplace_back(x, y + i);
    dots.emplace_back(x + width - 1, y + i);
  }
  // Corners and one-pixel-wide rectangles would otherwise get a dot twice.
  std::sort(dots.begin(), dots.end());
  dots.erase(std::unique(dots.begin(), dots.end()), dots.end());
  for (const auto& [dx, dy] : dots) SetPixel(dx, dy, color);
}

void Canvas::DrawImage(const Image& image, int x, int y) {
  DrawImageStretched(image, x, y, image.width, image.height);
}

template <typename Source>
void Canvas::PaintImage(const Image& image, int x, int y, int width, int height,
                        const Source& source) {
  if (width <= 0 || height <= 0 || image.width <= 0 || image.height <= 0) return;
  if (image.pixels.size() < static_cast<size_t>(image.width) * image.height) return;
  const PixelBounds c = ClipBounds();
  const int64_t left = static_cast<int64_t>(x) + originX_;
  const int64_t top = static_cast<int64_t>(y) + originY_;
  const int64_t x0 = std::max<int64_t>(c.left, left);
  const int64_t y0 = std::max<int64_t>(c.top, top);
  const int64_t x1 = std::min<int64_t>(c.right, left + width);
  const int64_t y1 = std::min<int64_t>(c.bottom, top + height);
  for (int64_t row = y0; row < y1; ++row) {
    for (int64_t col = x0; col < x1; ++col) {
      const auto [sx, sy] = source(col - left, row - top);
      PutImagePixel(static_cast<int>(col), static_cast<int>(row),
                    image.pixels[static_cast<size_t>(sy * image.width + sx)]);
    }
  }
}

void Canvas::DrawImageStretched(const Image& image, int x, int y, int width, int height) {
  // Nearest neighbour, sampling at the centre of each target pixel.
  PaintImage(image, x, y, width, height, [&](int64_t dx, int64_t dy) {
    return std::pair<int64_t, int64_t>{(dx * 2 + 1) * image.width / (2 * int64_t{width}),
                                       (dy * 2 + 1) * image.height / (2 * int64_t{height})};
  });
}

void Canvas::TileImage(const Image& image, int x, int y, int width, int height) {
  PaintImage(image, x, y, width, height, [&](int64_t dx, int64_t dy) {
    return std::pair<int64_t, int64_t>{dx % image.width, dy % image.height};
  });
}

void Canvas::PutImagePixel(int x, int y, Color pixel) {
  const int alpha = 255 - static_cast<int>(pixel >> 24);
  if (alpha >= 255) {
    pixels_[static_cast<size_t>(y) * width_ + x] = pixel & 0xFFFFFF;
  } else {
    Blend(x, y, pixel & 0xFFFFFF, alpha);
  }
}

void Canvas::Blit(const Canvas& source, int sourceX, int sourceY, int width, int height, int destX,
                  int destY) {
  if (width <= 0 || height <= 0) return;
  // Keep only the part that lies inside the source.
  int64_t sx = sourceX, sy = sourceY;
  int64_t dx = static_cast<int64_t>(destX) + originX_, dy = static_cast<int64_t>(destY) + originY_;
  int64_t w = width, h = height;
  if (sx < 0) {
    dx -= sx, w += sx, sx = 0;
  }
  if (sy < 0) {
    dy -= sy, h += sy, sy = 0;
  }
  w = std::min<int64_t>(w, source.width_ - sx);
  h = std::min<int64_t>(h, source.height_ - sy);
  if (w <= 0 || h <= 0) return;
  const PixelBounds c = ClipBounds();
  const int64_t x0 = std::max<int64_t>(c.left, dx), x1 = std::min<int64_t>(c.right, dx + w);
  const int64_t y0 = std::max<int64_t>(c.top, dy), y1 = std::min<int64_t>(c.bottom, dy + h);
  if (x0 >= x1 || y0 >= y1) return;
  // A copy within one canvas may overlap itself: read everything before writing.
  std::vector<Color> rows;
  rows.reserve(static_cast<size_t>((x1 - x0) * (y1 - y0)));
  for (int64_t row = y0; row < y1; ++row) {
    const Color* from = source.pixels_.data() + (row - dy + sy) * source.width_ + (x0 - dx + sx);
    rows.insert(rows.end(), from, from + (x1 - x0));
  }
  const Color* next = rows.data();
  for (int64_t row = y0; row < y1; ++row, next += x1 - x0) {
    std::copy_n(next, x1 - x0, pixels_.begin() + static_cast<ptrdiff_t>(row * width_ + x0));
  }
}

Image Canvas::ToImage() const {
  Image image;
  image.width = width_;
  image.height = height_;
  image.pixels = pixels_;
  return image;
}

}  // namespace gfx
