#include "platform/ansi.h"

#include <gtest/gtest.h>

namespace {

struct AnsiCase {
  unsigned char byte;
  char32_t codepoint;
  const char* utf8;
};

TEST(AnsiTest, MapsBytesToCodePoints) {
  const AnsiCase cases[] = {
      {'A', U'A', "A"},
      {0x80, 0x20AC, "\xE2\x82\xAC"},  // euro sign
      {0x81, 0x81, "\xC2\x81"},        // undefined: stands for itself
      {0x8D, 0x8D, "\xC2\x8D"},
      {0x8F, 0x8F, "\xC2\x8F"},
      {0x90, 0x90, "\xC2\x90"},
      {0x9D, 0x9D, "\xC2\x9D"},
      {0x85, 0x2026, "\xE2\x80\xA6"},  // ellipsis
      {0x92, 0x2019, "\xE2\x80\x99"},  // right single quote
      {0x99, 0x2122, "\xE2\x84\xA2"},  // trade mark
      {0x9F, 0x0178, "\xC5\xB8"},      // Y with diaeresis
      {0xA0, 0xA0, "\xC2\xA0"},
      {0xB2, 0xB2, "\xC2\xB2"},  // superscript two
      {0xB7, 0xB7, "\xC2\xB7"},  // middle dot
      {0xBA, 0xBA, "\xC2\xBA"},  // ordinal
      {0xFF, 0xFF, "\xC3\xBF"},
  };
  for (const AnsiCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.byte));
    EXPECT_EQ(platform::AnsiToCodepoint(c.byte), c.codepoint);
    const std::string ansi(1, static_cast<char>(c.byte));
    EXPECT_EQ(platform::AnsiToUtf8(ansi), c.utf8);
    EXPECT_EQ(platform::Utf8ToAnsi(c.utf8), ansi);
  }
}

TEST(AnsiTest, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  EXPECT_EQ(platform::Utf8ToAnsi(platform::AnsiToUtf8(all)), all);
}

TEST(AnsiTest, UnmappableAndBrokenInputBecomesQuestionMarks) {
  EXPECT_EQ(platform::Utf8ToAnsi("a\xE4\xB8\x80z"), "a?z");  // CJK ideograph
  EXPECT_EQ(platform::Utf8ToAnsi("\xF0\x9F\x98\x80"), "?");  // emoji
  EXPECT_EQ(platform::Utf8ToAnsi("\xC2\x80"), "?");          // U+0080 has no byte
  EXPECT_EQ(platform::Utf8ToAnsi("x\x80y"), "x?y");          // stray continuation
  EXPECT_EQ(platform::Utf8ToAnsi("x\xE2\x82"), "x?");        // truncated sequence
  EXPECT_EQ(platform::Utf8ToAnsi("\xC0\xAF"), "?");          // overlong slash
  EXPECT_EQ(platform::Utf8ToAnsi("\xE2\x82Q"), "?Q");        // broken, then plain
  EXPECT_EQ(platform::Utf8ToAnsi("\xED\xA0\x80"), "?");      // surrogate
  EXPECT_EQ(platform::Utf8ToAnsi(""), "");
}

TEST(AnsiTest, CaseMapsWindows1252Letters) {
  EXPECT_EQ(platform::AnsiLower("StYlE \xC0\xDE\xD7\x8A\x8C\x8E\x9F\xDF"),
            "style \xE0\xFE\xD7\x9A\x9C\x9E\xFF\xDF");
  EXPECT_EQ(platform::AnsiUpper("style \xE0\xFE\xF7\x9A\x9C\x9E\xFF\xDF"),
            "STYLE \xC0\xDE\xF7\x8A\x8C\x8E\x9F\xDF");
}

TEST(AnsiTest, EqualNoCaseFoldsAccentedLettersButNotLookAlikes) {
  EXPECT_TRUE(
      platform::EqualNoCase("Ren\xC9"
                            "e",
                            "REN\xE9"
                            "E"));
  EXPECT_TRUE(platform::EqualNoCase("\x8A\x9F", "\x9A\xFF"));
  EXPECT_FALSE(platform::EqualNoCase("\xD7", "\xF7"));  // times and divide are no letters
  EXPECT_FALSE(platform::EqualNoCase("ab", "abc"));
}

}  // namespace
