#include "host/text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct ReplaceCase {
  std::string text, search, replacement, expected;
};

TEST(ReplaceText, Table) {
  const ReplaceCase cases[] = {
      {"Hi {sn}, {SN}!", "{SN}", "Bob", "Hi Bob, Bob!"},
      {"aa", "a", "aa", "aaaa"},
      {"abc", "", "x", "abc"},
      {"", "a", "b", ""},
      {"aaa", "a", "", ""},
      {"AbAB", "ab", "-", "--"},
      {"no match", "xyz", "q", "no match"},
      {"{sn}{sn}", "{sn}", "{SN}", "{SN}{SN}"},
      {"x\xC9y", "\xE9", "e", "xey"},  // accented capitals compare like their small letters
      {"abab", "ab", "b", "bb"},
      {"banana", "A", "o", "bonono"},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    std::string result = host::ReplaceText(text, c.search, c.replacement);
    EXPECT_EQ(result, c.expected) << c.text << " / " << c.search;
    EXPECT_EQ(text, c.expected) << "argument overwritten: " << c.text;
  }
}

TEST(ReplaceText, ReplacementHoldingTheSearchEndsAfterOnePass) {
  std::string text = "x x x";
  EXPECT_EQ(host::ReplaceText(text, "x", "xx"), "xx xx xx");
}

struct CaptionCase {
  std::string caption;
  bool im;
};

TEST(IsIMCaption, Positions) {
  const CaptionCase cases[] = {
      {"Instant Message From: Bob", true},
      {" Instant Message From: Bob", true},
      {"  Instant Message From: Bob", true},
      {"   Instant Message From: Bob", false},
      {"instant message from: Bob", false},
      {"Internet Message From: Bob", true},
      {" Internet Message From: Bob", false},
      {"IM From: Bob", false},
      {" IM From: Bob", true},
      {"  IM From: Bob", true},
      {"   IM From: Bob", false},
      {"IM To: Bob", false},
      {" IM To: Bob", true},
      {"  IM To: Bob", false},
      {"Welcome, Alice!", false},
      {"", false},
      {"Send Instant Message", false},
      // Only the first occurrence counts.
      {"   Instant Message / Instant Message", false},
  };
  for (const auto& c : cases) EXPECT_EQ(host::IsIMCaption(c.caption), c.im) << c.caption;
}

struct NameCase {
  std::string caption, name;
};

TEST(ScreenNameFromCaption, Table) {
  const NameCase cases[] = {
      {"Instant Message From: Bob", "Bob"},
      {"IM From: Bob [Away]", "Bob"},
      {" IM To: Bob Smith", "Bob Smith"},
      {"No colon here", ""},
      {"Ends with colon:", ""},
      {"Ends with colon: ", ""},
      {"Two: parts: here", "parts: here"},
      {"IM From: [Away]", ""},
      {"IM From: Carl[x]", "Carl"},
      {"IM From: Bob  [Away]", "Bob "},
  };
  for (const auto& c : cases)
    EXPECT_EQ(host::ScreenNameFromCaption(c.caption), c.name) << c.caption;
}

TEST(RoundHalfEven, Table) {
  const std::pair<double, int64_t> cases[] = {
      {0.0, 0},  {0.4, 0},         {0.5, 0},  {0.6, 1},   {1.5, 2},   {2.5, 2},
      {3.5, 4},  {0.7, 1},         {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {-0.6, -1},
      {2.49, 2}, {86399.5, 86400}, {7.0, 7},  {-3.0, -3},
  };
  for (const auto& [value, expected] : cases)
    EXPECT_EQ(host::RoundHalfEven(value), expected) << value;
}

TEST(RoundHalfEven, OutOfRangeSaturates) {
  EXPECT_EQ(host::RoundHalfEven(std::nan("")), 0);
  EXPECT_GT(host::RoundHalfEven(1e300), int64_t{1} << 62);
  EXPECT_LT(host::RoundHalfEven(-1e300), -(int64_t{1} << 62));
}

}  // namespace
