// Picture decoding and PNG writing.
#include <cstdint>
#include <vector>

#include "gfx/canvas.h"
#include "platform/files.h"

#define STBI_NO_STDIO
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_FAILURE_USERMSG
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace gfx {

namespace {

// Pictures larger than this are refused rather than allocated.
constexpr int64_t kMaxPixels = int64_t{1} << 26;

}  // namespace

std::optional<Image> Image::Load(const std::string& hostPath) {
  const auto bytes = platform::files::ReadHostFile(hostPath, kMaxFileBytes);
  if (!bytes) return std::nullopt;
  return Decode(*bytes);
}

std::optional<Image> Image::Decode(const std::string& bytes) {
  if (bytes.empty() || bytes.size() > static_cast<size_t>(INT32_MAX)) return std::nullopt;
  const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
  const int length = static_cast<int>(bytes.size());
  int w = 0, h = 0, channels = 0;
  if (!stbi_info_from_memory(data, length, &w, &h, &channels)) return std::nullopt;
  if (w <= 0 || h <= 0 || static_cast<int64_t>(w) * h > kMaxPixels) return std::nullopt;
  stbi_uc* rgba = stbi_load_from_memory(data, length, &w, &h, &channels, 4);
  if (rgba == nullptr) return std::nullopt;
  Image image;
  image.width = w;
  image.height = h;
  image.pixels.resize(static_cast<size_t>(w) * h);
  for (size_t i = 0; i < image.pixels.size(); ++i) {
    const stbi_uc* p = rgba + i * 4;
    image.pixels[i] = static_cast<Color>(p[0]) | (static_cast<Color>(p[1]) << 8) |
                      (static_cast<Color>(p[2]) << 16) | (static_cast<Color>(255 - p[3]) << 24);
  }
  stbi_image_free(rgba);
  return image;
}

bool Canvas::SavePng(const std::string& hostPath) const {
  if (width_ <= 0 || height_ <= 0) return false;
  std::vector<unsigned char> rgb(static_cast<size_t>(width_) * height_ * 3);
  for (size_t i = 0; i < pixels_.size(); ++i) {
    rgb[i * 3] = static_cast<unsigned char>(pixels_[i] & 0xFF);
    rgb[i * 3 + 1] = static_cast<unsigned char>((pixels_[i] >> 8) & 0xFF);
    rgb[i * 3 + 2] = static_cast<unsigned char>((pixels_[i] >> 16) & 0xFF);
  }
  return stbi_write_png(hostPath.c_str(), width_, height_, 3, rgb.data(), width_ * 3) != 0;
}

}  // namespace gfx
