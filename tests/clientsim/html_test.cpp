#include "clientsim/html.h"

#include <gtest/gtest.h>

namespace clientsim {
namespace {

using platform::RGB;

TEST(ClientHtml, StripsTagsAndDecodesEntities) {
  struct Case {
    std::string html, plain;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"<Font Color=#FF0000>h</Font><FONT COLOR=\"#00FF00\">i</FONT>", "hi"},
      {"a<BR>b", "a\rb"},
      {"a\r\nb\nc", "a\rb\rc"},
      {"&lt;b&gt; &amp; &quot;x&quot;&nbsp;&#65;", "<b> & \"x\" A"},
      {"5 < 6", "5 < 6"},
      {"&bogus; &", "&bogus; &"},
      {"<A HREF=www.example.com>Pallion</A>", "Pallion"},
      {"<HTML><BODY BGCOLOR=#FFFFFF>x</BODY></HTML>", "x"},
  };
  for (const Case& c : cases) EXPECT_EQ(StripTags(c.html), c.plain) << c.html;
}

TEST(ClientHtml, FormatsFollowNestedTags) {
  const StyledText t = ParseHtml("<Font Color=#FF8000><b>A<i>B</b>C</i></Font>D");
  ASSERT_EQ(PlainText(t), "ABCD");
  EXPECT_EQ(t[0].format.color, RGB(0xFF, 0x80, 0x00));
  EXPECT_TRUE(t[0].format.bold);
  EXPECT_FALSE(t[0].format.italic);
  EXPECT_TRUE(t[1].format.bold);
  EXPECT_TRUE(t[1].format.italic);
  EXPECT_FALSE(t[2].format.bold);
  EXPECT_TRUE(t[2].format.italic);
  EXPECT_EQ(t[3].format, TextFormat{});
}

TEST(ClientHtml, HtmlRoundTripKeepsTextAndFormat) {
  StyledText t = ParseHtml("<u>x</u> <Font Color=#0000FF>a&lt;b</Font>\rline");
  const StyledText back = ParseHtml(ToHtml(t));
  ASSERT_EQ(PlainText(back), PlainText(t));
  for (size_t i = 0; i < t.size(); ++i) EXPECT_EQ(back[i].format, t[i].format) << i;
  EXPECT_TRUE(HasFormatting(t));
  EXPECT_FALSE(HasFormatting(PlainStyled("abc")));
}

}  // namespace
}  // namespace clientsim

namespace clientsim {
namespace {

// Deep nesting and long runs of unclosed "<" and "&" once made the parser quadratic; at this
// size a quadratic parser takes minutes, a linear one milliseconds.
TEST(ClientHtml, DeepNestingParsesInLinearTime) {
  constexpr int kDepth = 50000;
  std::string html;
  for (int i = 0; i < kDepth; ++i) html += i % 2 ? "<B>" : "<Font Color=#00FF00>";
  html += "x";
  for (int i = 0; i < kDepth; ++i) html += "</I>";  // closes nothing
  for (int i = 0; i < kDepth / 2; ++i) html += "</Font>";
  html += "y";
  for (int i = 0; i < kDepth / 2; ++i) html += "</B>";
  html += "z";
  const StyledText t = ParseHtml(html);
  ASSERT_EQ(PlainText(t), "xyz");
  EXPECT_EQ(t[0].format.color, RGB(0, 0xFF, 0));
  EXPECT_TRUE(t[0].format.bold);
  EXPECT_EQ(t[1].format.color, 0u);
  EXPECT_TRUE(t[1].format.bold);
  EXPECT_EQ(t[2].format, TextFormat{});

  const std::string lt(kDepth, '<');
  EXPECT_EQ(StripTags(lt), lt);
  const std::string amp(kDepth, '&');
  EXPECT_EQ(StripTags(amp), amp);
}

TEST(ClientHtml, ColourOfAnInnerTagClosedOutOfOrderGoesBack) {
  const StyledText t =
      ParseHtml("<Font Color=#FF0000>a<Font Color=#0000FF>b<b>c</Font>d</b>e</Font>f");
  ASSERT_EQ(PlainText(t), "abcdef");
  EXPECT_EQ(t[1].format.color, RGB(0, 0, 0xFF));
  EXPECT_EQ(t[2].format.color, RGB(0, 0, 0xFF));
  EXPECT_EQ(t[3].format.color, RGB(0xFF, 0, 0));  // the inner FONT closed
  EXPECT_TRUE(t[3].format.bold);
  EXPECT_EQ(t[4].format.color, RGB(0xFF, 0, 0));
  EXPECT_FALSE(t[4].format.bold);
  EXPECT_EQ(t[5].format, TextFormat{});

  // The outer colour closed while a link is open: the link keeps its colour, and after it
  // nothing is coloured.
  const StyledText u = ParseHtml("<Font Color=#FF0000>a<A HREF=x>b</Font>c</A>d");
  ASSERT_EQ(PlainText(u), "abcd");
  EXPECT_EQ(u[0].format.color, RGB(0xFF, 0, 0));
  EXPECT_EQ(u[1].format.color, RGB(0, 0, 0xFF));
  EXPECT_EQ(u[2].format.color, RGB(0, 0, 0xFF));
  EXPECT_TRUE(u[2].format.underline);
  EXPECT_EQ(u[3].format, TextFormat{});
}

}  // namespace
}  // namespace clientsim
