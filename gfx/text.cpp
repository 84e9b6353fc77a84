// Text through TrueType fonts: faces mapped onto the Liberation families, glyphs rasterised
// once per face, size and code point, and blended over the canvas.
#include "gfx/text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "gfx/pixels.h"
#include "platform/ansi.h"

#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>

namespace gfx {

namespace {

enum Family { kSans = 0, kSerif = 1, kMono = 2 };
constexpr const char* kFamilyFiles[3] = {"LiberationSans", "LiberationSerif", "LiberationMono"};
// Indexed by bold + 2 * italic.
constexpr const char* kStyleFiles[4] = {"Regular", "Bold", "Italic", "BoldItalic"};
constexpr int kMaxPixelSize = 400;

struct FontFile {
  bool loaded = false;
  std::vector<unsigned char> data;
  stbtt_fontinfo info{};
};

struct Glyph {
  int advance = 0;
  int left = 0, top = 0;  // bitmap offset from the pen on the baseline
  int width = 0, height = 0;
  std::vector<unsigned char> coverage;
};

// One face at one pixel size; `file` is null when no font file could be read.
struct SizedFont {
  FontFile* file = nullptr;
  int pixelSize = 0;
  float scale = 0;
  int ascent = 0;
  int descent = 0;
  bool syntheticBold = false;  // bold asked for but only a regular file was found
  std::unordered_map<char32_t, Glyph> glyphs;
};

struct FontCache {
  std::mutex mutex;
  std::string folder = "/usr/share/fonts/truetype/liberation";
  FontSource source;
  std::map<std::pair<int, int>, std::unique_ptr<FontFile>>
      files;  // by family, style; null: unreadable
  std::map<std::tuple<int, int, bool, bool>, std::unique_ptr<SizedFont>> sized;
};

FontCache& Cache() {
  static FontCache cache;
  return cache;
}

Family FamilyOf(const std::string& face) {
  std::string f = platform::AnsiLower(face);
  while (!f.empty() && f.back() == ' ') f.pop_back();
  while (!f.empty() && f.front() == ' ') f.erase(f.begin());
  if (f == "times new roman" || f == "times") return kSerif;
  if (f == "courier new" || f == "courier") return kMono;
  return kSans;
}

std::vector<unsigned char> ReadFace(const FontCache& cache, int family, int style) {
  if (cache.source) return cache.source(static_cast<FontFamily>(family), style & 1, style & 2);
  std::ifstream in(cache.folder + "/" + kFamilyFiles[family] + "-" + kStyleFiles[style] + ".ttf",
                   std::ios::binary);
  if (!in) return {};
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>());
}

FontFile* OpenFile(FontCache& cache, int family, int style) {
  const auto key = std::make_pair(family, style);
  auto it = cache.files.find(key);
  if (it != cache.files.end()) return it->second.get();
  std::unique_ptr<FontFile> file;
  auto candidate = std::make_unique<FontFile>();
  candidate->data = ReadFace(cache, family, style);
  if (!candidate->data.empty()) {
    const int offset = stbtt_GetFontOffsetForIndex(candidate->data.data(), 0);
    if (offset >= 0 && stbtt_InitFont(&candidate->info, candidate->data.data(), offset)) {
      candidate->loaded = true;
      file = std::move(candidate);
    }
  }
  FontFile* result = file.get();
  cache.files[key] = std::move(file);
  return result;
}

// The requested family and style first, then the same family in another style, then the
// other families.
FontFile* FindFile(FontCache& cache, Family family, int style, int* foundStyle) {
  const int styles[4] = {style, style & 1, style & 2, 0};
  for (int pass = 0; pass < 3; ++pass) {
    const int fam = pass == 0 ? family : (family + pass) % 3;
    for (int s : styles) {
      if (FontFile* file = OpenFile(cache, fam, s)) {
        *foundStyle = s;
        return file;
      }
    }
    for (int s = 0; s < 4; ++s) {
      if (FontFile* file = OpenFile(cache, fam, s)) {
        *foundStyle = s;
        return file;
      }
    }
  }
  return nullptr;
}

int PixelSize(const Font& font) {
  const double px = std::round(font.sizePoints * 96.0 / 72.0);
  if (!(px >= 1)) return 1;  // also catches NaN
  return static_cast<int>(std::min<double>(px, kMaxPixelSize));
}

SizedFont& Resolve(FontCache& cache, const Font& font) {
  const Family family = FamilyOf(font.face);
  const int pixelSize = PixelSize(font);
  const auto key = std::make_tuple(static_cast<int>(family), pixelSize, font.bold, font.italic);
  auto it = cache.sized.find(key);
  if (it != cache.sized.end()) return *it->second;
  auto sized = std::make_unique<SizedFont>();
  sized->pixelSize = pixelSize;
  int foundStyle = 0;
  const int style = (font.bold ? 1 : 0) + (font.italic ? 2 : 0);
  sized->file = FindFile(cache, family, style, &foundStyle);
  if (sized->file != nullptr) {
    sized->syntheticBold = font.bold && (foundStyle & 1) == 0;
    sized->scale =
        stbtt_ScaleForMappingEmToPixels(&sized->file->info, static_cast<float>(pixelSize));
    int ascent = 0, descent = 0, gap = 0;
    stbtt_GetFontVMetrics(&sized->file->info, &ascent, &descent, &gap);
    sized->ascent = static_cast<int>(std::ceil(ascent * sized->scale - 0.01f));
    sized->descent = static_cast<int>(std::ceil(-descent * sized->scale - 0.01f));
  } else {
    // No font at all: plausible metrics so layout still works.
    sized->ascent = static_cast<int>(std::lround(pixelSize * 0.91));
    sized->descent = static_cast<int>(std::lround(pixelSize * 0.22));
  }
  SizedFont& result = *sized;
  cache.sized[key] = std::move(sized);
  return result;
}

const Glyph& GlyphOf(SizedFont& font, char32_t cp) {
  auto it = font.glyphs.find(cp);
  if (it != font.glyphs.end()) return it->second;
  Glyph glyph;
  if (cp < 0x20 || cp == 0x7F) {
    // Control characters take no room.
  } else if (font.file == nullptr) {
    glyph.advance = std::max(1, static_cast<int>(std::lround(font.pixelSize * 0.5)));
  } else {
    const stbtt_fontinfo& info = font.file->info;
    const int index = stbtt_FindGlyphIndex(&info, static_cast<int>(cp));
    int advance = 0, bearing = 0;
    stbtt_GetGlyphHMetrics(&info, index, &advance, &bearing);
    glyph.advance = static_cast<int>(std::lround(advance * font.scale));
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetGlyphBitmapBox(&info, index, font.scale, font.scale, &x0, &y0, &x1, &y1);
    const int w = x1 - x0, h = y1 - y0;
    if (w > 0 && h > 0) {
      std::vector<unsigned char> bitmap(static_cast<size_t>(w) * h);
      stbtt_MakeGlyphBitmap(&info, bitmap.data(), w, h, w, font.scale, font.scale, index);
      glyph.left = x0;
      glyph.top = y0;
      glyph.width = w;
      glyph.height = h;
      glyph.coverage = std::move(bitmap);
    }
    if (font.syntheticBold) {
      // Overstrike one pixel to the right, as the platform emboldens a regular face.
      if (glyph.width > 0) {
        std::vector<unsigned char> wide(static_cast<size_t>(glyph.width + 1) * glyph.height);
        for (int y = 0; y < glyph.height; ++y) {
          for (int x = 0; x <= glyph.width; ++x) {
            const int a = x < glyph.width ? glyph.coverage[y * glyph.width + x] : 0;
            const int b = x > 0 ? glyph.coverage[y * glyph.width + x - 1] : 0;
            wide[static_cast<size_t>(y) * (glyph.width + 1) + x] =
                static_cast<unsigned char>(std::max(a, b));
          }
        }
        glyph.width += 1;
        glyph.coverage = std::move(wide);
      }
      glyph.advance += 1;
    }
  }
  return font.glyphs.emplace(cp, std::move(glyph)).first->second;
}

}  // namespace

void SetFontDirectory(const std::string& hostFolder) {
  FontCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  cache.folder = hostFolder;
  cache.sized.clear();
  cache.files.clear();
}

void SetFontSource(FontSource source) {
  FontCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  cache.source = std::move(source);
  cache.sized.clear();
  cache.files.clear();
}

const std::string& FontDirectory() {
  return Cache().folder;
}

int FontPixelSize(const Font& font) {
  return PixelSize(font);
}

int TextAscent(const Font& font) {
  FontCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  return Resolve(cache, font).ascent;
}

int Canvas::TextHeight(const Font& font) {
  FontCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  const SizedFont& sized = Resolve(cache, font);
  return sized.ascent + sized.descent;
}

int Canvas::TextWidth(const std::string& text, const Font& font) {
  FontCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  SizedFont& sized = Resolve(cache, font);
  int width = 0;
  for (char c : text)
    width += GlyphOf(sized, platform::AnsiToCodepoint(static_cast<unsigned char>(c))).advance;
  return width;
}

int Canvas::DrawText(int x, int y, const std::string& text, const Font& font, Color color) {
  FontCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  SizedFont& sized = Resolve(cache, font);
  const int64_t left = static_cast<int64_t>(x) + originX_;
  const int64_t top = static_cast<int64_t>(y) + originY_;
  const int64_t baseline = top + sized.ascent;
  const PixelBounds clip = ClipBounds();
  int64_t pen = left;
  for (char c : text) {
    const Glyph& glyph = GlyphOf(sized, platform::AnsiToCodepoint(static_cast<unsigned char>(c)));
    const int64_t gx = pen + glyph.left;
    const int64_t gy = baseline + glyph.top;
    for (int row = 0; row < glyph.height; ++row) {
      const int64_t py = gy + row;
      if (py < clip.top || py >= clip.bottom) continue;
      const unsigned char* coverage =
          glyph.coverage.data() + static_cast<size_t>(row) * glyph.width;
      for (int col = 0; col < glyph.width; ++col) {
        const int64_t px = gx + col;
        if (coverage[col] == 0 || px < clip.left || px >= clip.right) continue;
        Color& p = pixels_[static_cast<size_t>(py * width_ + px)];
        p = BlendColor(p, color, coverage[col]);
      }
    }
    pen += glyph.advance;
  }
  const int advance = static_cast<int>(pen - left);
  if ((font.underline || font.strikethrough) && advance > 0) {
    const int thickness = std::max(1, static_cast<int>(std::lround(sized.pixelSize / 16.0)));
    const bool saved = invert_;
    invert_ = false;
    if (font.underline) {
      const int below = std::max(2, static_cast<int>(std::lround(sized.pixelSize * 0.12)));
      const int row = std::min(sized.ascent + below - 1, sized.ascent + sized.descent - thickness);
      FillRect(x, y + row, advance, thickness, color);
    }
    if (font.strikethrough) {
      const int row = sized.ascent - static_cast<int>(std::lround(sized.pixelSize * 0.27));
      FillRect(x, y + row, advance, thickness, color);
    }
    invert_ = saved;
  }
  return advance;
}

}  // namespace gfx
