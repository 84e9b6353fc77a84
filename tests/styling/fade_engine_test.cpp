#include "styling/fade_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace styling {
namespace {

constexpr platform::COLORREF kRed = 255;
constexpr platform::COLORREF kGreen = 65280;
constexpr platform::COLORREF kBlue = 16711680;
constexpr platform::COLORREF kWhite = 0xFFFFFF;

struct Chunk {
  std::string colour;  // six digits, HTML order
  std::string wave;
  std::string text;
  bool operator==(const Chunk&) const = default;
};

// Splits engine output into its output chunks; fails the test on anything malformed.
std::vector<Chunk> ParseChunks(const std::string& html) {
  static const std::string kOpen = "<Font Color=#";
  std::vector<Chunk> chunks;
  size_t pos = 0;
  while (pos < html.size()) {
    EXPECT_EQ(html.compare(pos, kOpen.size(), kOpen), 0) << "at " << pos << " in " << html;
    if (html.compare(pos, kOpen.size(), kOpen) != 0) return chunks;
    pos += kOpen.size();
    Chunk c;
    c.colour = html.substr(pos, 6);
    pos += 6;
    EXPECT_EQ(html[pos], '>');
    ++pos;
    for (const char* tag : {"</sup>", "</sub>", "<sup>", "<sub>"}) {
      std::string t(tag);
      if (html.compare(pos, t.size(), t) == 0) {
        c.wave = t;
        pos += t.size();
        break;
      }
    }
    size_t next = html.find(kOpen, pos);
    if (next == std::string::npos) next = html.size();
    c.text = html.substr(pos, next - pos);
    pos = next;
    chunks.push_back(c);
  }
  return chunks;
}

std::string VisibleText(const std::vector<Chunk>& chunks) {
  std::string text;
  for (const Chunk& c : chunks) text += c.text;
  return text;
}

std::string Letters(size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s += static_cast<char>('a' + i % 26);
  return s;
}

TEST(FadeEngine, HeyRedToBlue) {
  std::string text = "Hey";
  EXPECT_EQ(FadeText2(kRed, kBlue, text, false),
            "<Font Color=#AA0055>H<Font Color=#5500AA>e<Font Color=#0000FF>y");
  EXPECT_EQ(text, "Hey");
}

TEST(FadeEngine, HeyWithWave) {
  std::string text = "Hey";
  EXPECT_EQ(FadeText2(kRed, kBlue, text, true),
            "<Font Color=#AA0055><sup>H<Font Color=#5500AA></sup>e<Font Color=#0000FF><sub>y");
}

TEST(FadeEngine, FiveCharactersThreeColours) {
  auto chunks = ParseChunks(FadeText3(kRed, kGreen, kBlue, "abcde", false));
  std::vector<Chunk> expected = {{"808000", "", "a"},
                                 {"00FF00", "", "b"},
                                 {"00AA55", "", "c"},
                                 {"0055AA", "", "d"},
                                 {"0000FF", "", "e"}};
  EXPECT_EQ(chunks, expected);
}

TEST(FadeEngine, WaveCounterCarriesAcrossSegments) {
  auto three = ParseChunks(FadeText3(kRed, kGreen, kBlue, "abcde", true));
  std::vector<std::string> waves;
  for (const auto& c : three) waves.push_back(c.wave);
  EXPECT_EQ(waves, (std::vector<std::string>{"<sup>", "</sup>", "<sub>", "</sub>", "<sup>"}));

  auto four = ParseChunks(FadeText4(kRed, kGreen, kBlue, kWhite, "abcdefg", true));
  ASSERT_EQ(four.size(), 7u);
  const char* cycle[] = {"<sup>", "</sup>", "<sub>", "</sub>"};
  for (size_t i = 0; i < four.size(); ++i) EXPECT_EQ(four[i].wave, cycle[i % 4]) << i;
}

TEST(FadeEngine, ShortTextSplits) {
  struct Row {
    size_t length;
    size_t h1, h2;
    size_t k1, k2, k3;
  };
  const Row rows[] = {{0, 0, 0, 1, 0, 0}, {1, 0, 1, 1, 0, 0}, {2, 1, 1, 1, 1, 0},
                      {3, 2, 1, 1, 1, 1}, {4, 2, 2, 2, 1, 1}, {5, 2, 3, 2, 2, 1},
                      {6, 3, 3, 2, 2, 2}, {7, 4, 3, 3, 2, 2}, {8, 4, 4, 3, 3, 2},
                      {9, 4, 5, 3, 3, 3}, {10, 5, 5, 4, 3, 3}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.length);
    ThreeWaySplit three = SplitForThree(r.length);
    EXPECT_EQ(three.first, r.h1);
    EXPECT_EQ(three.second, r.h2);
    FourWaySplit four = DealForFour(r.length);
    EXPECT_EQ(four.first, r.k1);
    EXPECT_EQ(four.second, r.k2);
    EXPECT_EQ(four.third, r.k3);
  }
}

TEST(FadeEngine, EmptyText) {
  std::string text;
  EXPECT_EQ(FadeText2(kRed, kBlue, text, true), "");
  EXPECT_EQ(FadeText3(kRed, kGreen, kBlue, "", true), "");
  EXPECT_EQ(FadeText4(kRed, kGreen, kBlue, kWhite, "", true), "");
}

TEST(FadeEngine, OneAndTwoCharacters) {
  std::string one = "x";
  EXPECT_EQ(FadeText2(kRed, kBlue, one, false), "<Font Color=#0000FF>x");
  EXPECT_EQ(FadeText3(kRed, kGreen, kBlue, "x", false), "<Font Color=#0000FF>x");
  EXPECT_EQ(FadeText4(kRed, kGreen, kBlue, kWhite, "x", false), "<Font Color=#00FF00>x");
  EXPECT_EQ(FadeText4(kRed, kGreen, kBlue, kWhite, "xy", false),
            "<Font Color=#00FF00>x<Font Color=#0000FF>y");
}

TEST(FadeEngine, ModeBoundary) {
  struct Row {
    size_t length;
    size_t tags;
    size_t chunkSize;
  };
  for (Row r : {Row{45, 45, 1}, Row{46, 23, 2}}) {
    SCOPED_TRACE(r.length);
    std::string text = Letters(r.length);
    auto chunks = ParseChunks(FadeText2(kRed, kBlue, text, false));
    ASSERT_EQ(chunks.size(), r.tags);
    for (const auto& c : chunks) EXPECT_EQ(c.text.size(), r.chunkSize);
    EXPECT_EQ(chunks.back().colour, "0000FF");
    EXPECT_EQ(text, Letters(r.length));
  }
}

TEST(FadeEngine, TwoColoursPadOddPairText) {
  std::string text = Letters(47);
  auto chunks = ParseChunks(FadeText2(kRed, kBlue, text, false));
  ASSERT_EQ(chunks.size(), 24u);
  EXPECT_EQ(chunks.back().text, std::string(1, Letters(47).back()) + " ");
  EXPECT_EQ(chunks.back().colour, "0000FF");
  EXPECT_EQ(text, Letters(47) + " ");
  // Divisor is the padded length: the first chunk is at i = 2 of 48.
  // red 255 + 2 * (-255 / 48) = 244.375 -> 244 (F4); blue 10.625 -> 11 (0B).
  EXPECT_EQ(chunks.front().colour, "F4000B");
}

TEST(FadeEngine, ThreeColoursFortySeven) {
  std::string text = Letters(47);
  auto chunks = ParseChunks(FadeText3(kRed, kGreen, kBlue, text, false));
  ASSERT_EQ(chunks.size(), 24u);
  EXPECT_EQ(chunks[11].text, text.substr(22, 2));
  EXPECT_EQ(chunks[11].colour, "00FF00");
  EXPECT_EQ(chunks[23].text, text.substr(46, 1));
  EXPECT_EQ(chunks[23].colour, "0000FF");
  EXPECT_EQ(VisibleText(chunks), text);
}

TEST(FadeEngine, FourColoursFortySix) {
  std::string text = Letters(46);
  FourWaySplit k = DealForFour(46);
  EXPECT_EQ(k.first, 16u);
  EXPECT_EQ(k.second, 15u);
  EXPECT_EQ(k.third, 15u);
  auto chunks = ParseChunks(FadeText4(kRed, kGreen, kBlue, kWhite, text, false));
  ASSERT_EQ(chunks.size(), 24u);
  EXPECT_EQ(chunks[7].text, text.substr(14, 2));
  EXPECT_EQ(chunks[7].colour, "00FF00");
  EXPECT_EQ(chunks[15].text, text.substr(30, 1));
  EXPECT_EQ(chunks[15].colour, "0000FF");
  EXPECT_EQ(chunks[23].text, text.substr(45, 1));
  EXPECT_EQ(chunks[23].colour, "FFFFFF");
  EXPECT_EQ(VisibleText(chunks), text);
}

// Segment finishing drops only the space that padding added; a space the user typed at the end
// of a segment stays, so words never run together.
TEST(FadeEngine, TypedSpacesSurviveSegmentEnds) {
  for (size_t length = 46; length <= 120; ++length) {
    for (size_t spaceAt = 0; spaceAt < length; spaceAt += 7) {
      std::string text = Letters(length);
      text[spaceAt] = ' ';
      text[length / 2] = ' ';
      text[length - 1] = ' ';
      SCOPED_TRACE(text);
      EXPECT_EQ(VisibleText(ParseChunks(FadeText3(kRed, kGreen, kBlue, text, false))), text);
      EXPECT_EQ(VisibleText(ParseChunks(FadeText4(kRed, kGreen, kBlue, kWhite, text, false))),
                text);
    }
  }
}

TEST(FadeEngine, ThreeColoursSegmentEndingInTypedSpace) {
  // 46 characters: the first segment is 23 long with a typed space last; padding makes its last
  // chunk two spaces, of which only the added one goes.
  std::string text = Letters(46);
  text[22] = ' ';
  auto chunks = ParseChunks(FadeText3(kRed, kGreen, kBlue, text, false));
  ASSERT_EQ(chunks.size(), 24u);
  EXPECT_EQ(chunks[11].text, " ");
  EXPECT_EQ(chunks[11].colour, "00FF00");
}

TEST(FadeEngine, EqualColoursGiveOneTag) {
  for (size_t length : {1u, 5u, 45u, 47u, 80u}) {
    std::string text = Letters(length);
    auto chunks = ParseChunks(FadeText4(0x336699, 0x336699, 0x336699, 0x336699, text, false));
    for (const auto& c : chunks) EXPECT_EQ(c.colour, "996633");
  }
}

TEST(FadeEngine, TiesGoToEvenBothWays) {
  struct Row {
    int16_t from, to;
    int expectedFirst;  // i = 1 of N = 2: the exact midpoint
  };
  const Row rows[] = {{255, 0, 128}, {0, 255, 128}, {85, 0, 42}, {0, 85, 42},
                      {3, 0, 2},     {0, 3, 2},     {5, 0, 2},   {0, 5, 2}};
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.from) + "->" + std::to_string(r.to));
    std::string segment = "ab";
    int wave = 0;
    SegmentResult result =
        FadeSegment(segment, {r.from, 0, 0}, {r.to, 0, 0}, ChunkMode::Single, false, wave);
    auto chunks = ParseChunks(result.html);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].colour, PadHex(r.expectedFirst * 65536));
    EXPECT_EQ(chunks[1].colour, PadHex(r.to * 65536));
  }
}

TEST(FadeEngine, SegmentReportsLastChunkAndPadding) {
  std::string odd = "abc";
  int wave = 0;
  SegmentResult r = FadeSegment(odd, {0, 0, 0}, {255, 255, 255}, ChunkMode::Pair, true, wave);
  EXPECT_EQ(odd, "abc ");
  EXPECT_TRUE(r.padded);
  EXPECT_EQ(r.lastChunk, "c ");
  EXPECT_EQ(wave, 2);
  EXPECT_EQ(r.html, "<Font Color=#808080><sup>ab<Font Color=#FFFFFF></sup>c ");

  std::string even = "abcd";
  wave = 4;
  r = FadeSegment(even, {0, 0, 0}, {255, 255, 255}, ChunkMode::Pair, true, wave);
  EXPECT_FALSE(r.padded);
  EXPECT_EQ(r.lastChunk, "cd");
  EXPECT_EQ(wave, 2);
  EXPECT_EQ(r.html, "<Font Color=#808080><sup>ab<Font Color=#FFFFFF></sup>cd");
}

TEST(FadeEngine, TextIsNotEscaped) {
  std::string text = "<b>&";
  auto chunks = ParseChunks(FadeText2(kRed, kRed, text, false));
  EXPECT_EQ(VisibleText(chunks), "<b>&");
}

TEST(FadeEngine, FourColourFadeYieldsOncePerPass) {
  int calls = 0;
  SetFadeYield([&] { ++calls; });
  struct Row {
    size_t length;
    int passes;
  };
  for (Row r : {Row{0, 1}, Row{1, 1}, Row{3, 1}, Row{4, 2}, Row{80, 27}}) {
    calls = 0;
    FadeText4(kRed, kGreen, kBlue, kWhite, Letters(r.length), false);
    EXPECT_EQ(calls, r.passes) << r.length;
  }
  calls = 0;
  std::string text = Letters(10);
  FadeText2(kRed, kBlue, text, false);
  FadeText3(kRed, kGreen, kBlue, text, false);
  EXPECT_EQ(calls, 0);
  SetFadeYield(nullptr);
  FadeText4(kRed, kGreen, kBlue, kWhite, Letters(10), false);
  EXPECT_EQ(calls, 0);
}

TEST(FadeEngine, PadHex) {
  struct Row {
    int64_t number;
    const char* hex;
  };
  const Row rows[] = {{0, "000000"},          {255, "0000FF"},      {16711680, "FF0000"},
                      {0x1234567, "1234567"}, {0xABCDEF, "ABCDEF"}, {-1, "FFFFFFFF"}};
  for (const Row& r : rows) EXPECT_EQ(PadHex(r.number), r.hex) << r.number;
}

TEST(FadeEngine, SplitColor) {
  EXPECT_EQ(SplitColor(255), (Components{255, 0, 0}));
  EXPECT_EQ(SplitColor(16711680), (Components{0, 0, 255}));
  EXPECT_EQ(SplitColor(0x123456), (Components{0x56, 0x34, 0x12}));
}

TEST(FadeEngine, HexToNumber) {
  struct Row {
    const char* text;
    float value;
  };
  // 0x23456789 does not fit single precision: summed digit by digit it stays at 0x23456780.
  const Row rows[] = {{"ff", 255.0f},
                      {"FF", 255.0f},
                      {"0x1F", 31.0f},
                      {"", 0.0f},
                      {"g1", 1.0f},
                      {"FFFFFF", 16777215.0f},
                      {"123456789", 591751040.0f},
                      {"23456789", 591751040.0f}};
  for (const Row& r : rows) EXPECT_EQ(HexToNumber(r.text), r.value) << r.text;
}

TEST(FadeEngine, HexDigitValue) {
  const std::string digits = "0123456789ABCDEF";
  for (size_t i = 0; i < digits.size(); ++i) EXPECT_EQ(HexDigitValue(digits[i]), int(i));
  for (char c : {'a', 'f', 'G', 'x', ' ', '#'}) EXPECT_EQ(HexDigitValue(c), 0) << c;
}

}  // namespace
}  // namespace styling
