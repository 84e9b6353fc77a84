#include "styling/fade_engine.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "host/text.h"

namespace styling {
namespace {

std::function<void()>& YieldHook() {
  static std::function<void()> hook;
  return hook;
}

const char* const kWaveTags[] = {"<sup>", "</sup>", "<sub>", "</sub>"};

// F + i * ((T - F) / N) in double, in exactly this order.
int ComponentAt(int from, int to, size_t i, size_t n) {
  double step = static_cast<double>(to - from) / static_cast<double>(n);
  return static_cast<int>(host::RoundHalfEven(from + static_cast<double>(i) * step));
}

int HexPairValue(const std::string& hex, size_t pos) {
  return HexDigitValue(hex[pos]) * 16 + HexDigitValue(hex[pos + 1]);
}

// The pair-mode finishing of a segment in a three- or four-colour fade: the space that padding
// added at the end of the segment goes again. Spaces the user typed stay.
void FinishPairSegment(SegmentResult& segment) {
  if (segment.padded && !segment.html.empty() && segment.html.back() == ' ') {
    segment.html.pop_back();
  }
}

}  // namespace

ChunkMode ChunkModeFor(size_t textLength) {
  return textLength > kSingleModeMaxLength ? ChunkMode::Pair : ChunkMode::Single;
}

ThreeWaySplit SplitForThree(size_t textLength) {
  const size_t half =
      static_cast<size_t>(host::RoundHalfEven(static_cast<double>(textLength) / 2.0));
  return {half, textLength - half};
}

FourWaySplit DealForFour(size_t textLength, const std::function<void()>& onPass) {
  FourWaySplit split;
  // Signed: an empty text takes the count below zero on the first deal.
  int64_t n = static_cast<int64_t>(textLength);
  do {
    if (onPass) onPass();
    ++split.passes;
    ++split.first;
    if (--n < 1) break;
    ++split.second;
    if (--n < 1) break;
    ++split.third;
    --n;
  } while (n >= 1);
  return split;
}

Components SplitColor(platform::COLORREF color) {
  std::string hex = PadHex(color);
  size_t n = hex.size();
  Components c;
  c.red = static_cast<int16_t>(HexPairValue(hex, n - 2));
  c.green = static_cast<int16_t>(HexPairValue(hex, 2));
  c.blue = static_cast<int16_t>(HexPairValue(hex, 0));
  return c;
}

SegmentResult FadeSegment(std::string& segment, Components from, Components to, ChunkMode mode,
                          bool wave, int& waveCounter) {
  SegmentResult result;
  const size_t end = segment.size();
  size_t divisor = segment.size();
  const size_t chunkSize = mode == ChunkMode::Pair ? 2 : 1;
  // One output chunk: "<Font Color=#" (13) + six digits + ">" + up to six of wave tag + chunk.
  result.html.reserve((end / chunkSize + 1) * (21 + chunkSize + (wave ? 6 : 0)));
  for (size_t i = 1; i <= end; ++i) {
    if (mode == ChunkMode::Pair) {
      ++i;
      if (segment.size() % 2 == 1) {
        segment.push_back(' ');
        divisor = segment.size();
        result.padded = true;
      }
    }
    int red = ComponentAt(from.red, to.red, i, divisor);
    int green = ComponentAt(from.green, to.green, i, divisor);
    int blue = ComponentAt(from.blue, to.blue, i, divisor);
    result.html += "<Font Color=#";
    result.html +=
        PadHex(static_cast<int64_t>(red) * 65536 + static_cast<int64_t>(green) * 256 + blue);
    result.html += '>';
    if (wave) {
      ++waveCounter;
      if (waveCounter > 4) waveCounter = 1;
      result.html += kWaveTags[waveCounter - 1];
    }
    result.lastChunk.assign(segment, i - chunkSize, chunkSize);
    result.html += result.lastChunk;
  }
  return result;
}

std::string FadeRGB2(int16_t red1, int16_t green1, int16_t blue1, int16_t red2, int16_t green2,
                     int16_t blue2, std::string& text, bool wave) {
  int waveCounter = 0;
  return FadeSegment(text, {red1, green1, blue1}, {red2, green2, blue2}, ChunkModeFor(text.size()),
                     wave, waveCounter)
      .html;
}

std::string FadeRGB3(int16_t red1, int16_t green1, int16_t blue1, int16_t red2, int16_t green2,
                     int16_t blue2, int16_t red3, int16_t green3, int16_t blue3,
                     const std::string& text, bool wave) {
  const size_t length = text.size();
  const ThreeWaySplit split = SplitForThree(length);
  const ChunkMode mode = ChunkModeFor(length);
  std::string first = text.substr(0, split.first);
  std::string second = text.substr(split.first);
  int waveCounter = 0;
  SegmentResult a =
      FadeSegment(first, {red1, green1, blue1}, {red2, green2, blue2}, mode, wave, waveCounter);
  SegmentResult b =
      FadeSegment(second, {red2, green2, blue2}, {red3, green3, blue3}, mode, wave, waveCounter);
  if (mode == ChunkMode::Pair) {
    FinishPairSegment(a);
    FinishPairSegment(b);
  }
  a.html += b.html;
  return std::move(a.html);
}

std::string FadeRGB4(int16_t red1, int16_t green1, int16_t blue1, int16_t red2, int16_t green2,
                     int16_t blue2, int16_t red3, int16_t green3, int16_t blue3, int16_t red4,
                     int16_t green4, int16_t blue4, const std::string& text, bool wave) {
  const size_t length = text.size();
  const FourWaySplit split = DealForFour(length, YieldHook());
  const ChunkMode mode = ChunkModeFor(length);
  std::string first = text.substr(0, split.first);
  std::string second = text.substr(std::min(split.first, length), split.second);
  std::string third = text.substr(std::min(split.first + split.second, length), split.third);
  int waveCounter = 0;
  SegmentResult a =
      FadeSegment(first, {red1, green1, blue1}, {red2, green2, blue2}, mode, wave, waveCounter);
  SegmentResult b =
      FadeSegment(second, {red2, green2, blue2}, {red3, green3, blue3}, mode, wave, waveCounter);
  SegmentResult c =
      FadeSegment(third, {red3, green3, blue3}, {red4, green4, blue4}, mode, wave, waveCounter);
  if (mode == ChunkMode::Pair) {
    FinishPairSegment(a);
    FinishPairSegment(b);
    FinishPairSegment(c);
  }
  a.html.reserve(a.html.size() + b.html.size() + c.html.size());
  a.html += b.html;
  a.html += c.html;
  return std::move(a.html);
}

std::string FadeText2(platform::COLORREF color1, platform::COLORREF color2, std::string& text,
                      bool wave) {
  Components a = SplitColor(color1), b = SplitColor(color2);
  return FadeRGB2(a.red, a.green, a.blue, b.red, b.green, b.blue, text, wave);
}

std::string FadeText3(platform::COLORREF color1, platform::COLORREF color2,
                      platform::COLORREF color3, const std::string& text, bool wave) {
  Components a = SplitColor(color1), b = SplitColor(color2), c = SplitColor(color3);
  return FadeRGB3(a.red, a.green, a.blue, b.red, b.green, b.blue, c.red, c.green, c.blue, text,
                  wave);
}

std::string FadeText4(platform::COLORREF color1, platform::COLORREF color2,
                      platform::COLORREF color3, platform::COLORREF color4, const std::string& text,
                      bool wave) {
  Components a = SplitColor(color1), b = SplitColor(color2), c = SplitColor(color3),
             d = SplitColor(color4);
  return FadeRGB4(a.red, a.green, a.blue, b.red, b.green, b.blue, c.red, c.green, c.blue, d.red,
                  d.green, d.blue, text, wave);
}

void SetFadeYield(std::function<void()> yield) {
  YieldHook() = std::move(yield);
}

std::string PadHex(int64_t number) {
  uint64_t value = number < 0 ? static_cast<uint32_t>(static_cast<int32_t>(number))
                              : static_cast<uint64_t>(number);
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  do {
    hex.insert(hex.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (hex.size() < 6) hex.insert(0, 6 - hex.size(), '0');
  return hex;
}

float HexToNumber(const std::string& text) {
  const size_t start = text.size() > 8 ? text.size() - 8 : 0;
  const size_t n = text.size() - start;
  float value = 0.0f;
  for (size_t pos = 0; pos < n; ++pos) {
    char c = text[start + pos];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    double term = HexDigitValue(c) * std::pow(16.0, static_cast<double>(n - 1 - pos));
    value = static_cast<float>(static_cast<double>(value) + term);
  }
  return value;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

}  // namespace styling
