// The fade engine: turns plain text into HTML in which every character (or pair of characters)
// carries its own "<Font Color=#RRGGBB>" tag, so the colours run from a first colour to a last
// one through up to two intermediate colours. Pure string work; no window, no file.
//
// Colour values are the platform's 0x00BBGGRR numbers. Text is not HTML-escaped: people type
// tags on purpose.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/types.h"

namespace styling {

// Red, green and blue of one colour.
struct Components {
  int16_t red = 0;
  int16_t green = 0;
  int16_t blue = 0;
  bool operator==(const Components&) const = default;
};

// One character per colour tag up to kSingleModeMaxLength characters, two from there on.
enum class ChunkMode { Single, Pair };
constexpr size_t kSingleModeMaxLength = 45;
ChunkMode ChunkModeFor(size_t textLength);

// Characters in each segment of a three-colour fade: half the length rounded with ties to
// even, and the rest.
struct ThreeWaySplit {
  size_t first = 0, second = 0;
};
ThreeWaySplit SplitForThree(size_t textLength);
// Characters in each segment of a four-colour fade, dealt one by one; `passes` is the number of
// dealing passes; `onPass` runs at the start of each. For an empty text the first count is 1
// but takes nothing.
struct FourWaySplit {
  size_t first = 0, second = 0, third = 0, passes = 0;
};
FourWaySplit DealForFour(size_t textLength, const std::function<void()>& onPass = {});

// The components of a colour value, read from its PadHex text (blue digits first).
Components SplitColor(platform::COLORREF color);

struct SegmentResult {
  std::string html;       // the output chunks of the segment, joined
  std::string lastChunk;  // the characters of the last output chunk ("" for an empty segment)
  bool padded = false;    // pair mode added one space to the end of the segment
};

// Fades one segment from `from` to `to`. In pair mode an odd-length segment gets one space
// appended (to `segment` itself) at its first chunk. `waveCounter` is the position in the
// "<sup>", "</sup>", "<sub>", "</sub>" cycle, carried from segment to segment.
SegmentResult FadeSegment(std::string& segment, Components from, Components to, ChunkMode mode,
                          bool wave, int& waveCounter);

// Two colours over the whole text. In pair mode an odd-length `text` comes back with one space
// added at its end (the space is also inside the last output chunk).
std::string FadeRGB2(int16_t red1, int16_t green1, int16_t blue1, int16_t red2, int16_t green2,
                     int16_t blue2, std::string& text, bool wave);
std::string FadeRGB3(int16_t red1, int16_t green1, int16_t blue1, int16_t red2, int16_t green2,
                     int16_t blue2, int16_t red3, int16_t green3, int16_t blue3,
                     const std::string& text, bool wave);
// Deals the text into three segments; calls the yield hook once per dealing pass.
std::string FadeRGB4(int16_t red1, int16_t green1, int16_t blue1, int16_t red2, int16_t green2,
                     int16_t blue2, int16_t red3, int16_t green3, int16_t blue3, int16_t red4,
                     int16_t green4, int16_t blue4, const std::string& text, bool wave);

std::string FadeText2(platform::COLORREF color1, platform::COLORREF color2, std::string& text,
                      bool wave);
std::string FadeText3(platform::COLORREF color1, platform::COLORREF color2,
                      platform::COLORREF color3, const std::string& text, bool wave);
std::string FadeText4(platform::COLORREF color1, platform::COLORREF color2,
                      platform::COLORREF color3, platform::COLORREF color4, const std::string& text,
                      bool wave);

// Called by FadeRGB4 once per dealing pass so pending window events can run during a long
// fade. None by default; the program sets it to the platform's DoEvents.
void SetFadeYield(std::function<void()> yield);

// Upper-case hexadecimal, zero-filled on the left to six digits; longer texts are unchanged.
// Negative numbers are written as their 32-bit two's complement.
std::string PadHex(int64_t number);
// The value of a hexadecimal text (its last 8 characters), summed in single precision. Any
// character that is not a hexadecimal digit counts as 0; "" gives 0.
float HexToNumber(const std::string& text);
// 0..9 for "0".."9", 10..15 for "A".."F" (upper case only), 0 for anything else.
int HexDigitValue(char c);

}  // namespace styling
