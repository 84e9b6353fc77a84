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
