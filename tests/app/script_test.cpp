#include "app/script.h"

#include <gtest/gtest.h>

namespace {

TEST(ScriptTest, SplitsWordsAndQuotedTexts) {
  std::string error;
  auto words = app::SplitWords(R"(im Bob "hi there, \"you\"" x\y)", error);
  ASSERT_TRUE(words);
  EXPECT_EQ(*words, (std::vector<std::string>{"im", "Bob", "hi there, \"you\"", "x\\y"}));
  words = app::SplitWords(R"(type "line\rnext" "")", error);
  ASSERT_TRUE(words);
  EXPECT_EQ(*words, (std::vector<std::string>{"type", "line\rnext", ""}));
}

TEST(ScriptTest, UnclosedQuoteIsAnErrorNamingTheLine) {
  auto script = app::ParseScript("wait 1s\n\n# note\nim Bob \"hi\n tree\r\n");
  ASSERT_EQ(script.errors.size(), 1u);
  EXPECT_EQ(script.errors[0], "line 4: a quoted text is not closed");
  ASSERT_EQ(script.lines.size(), 2u);
  EXPECT_EQ(script.lines[0].number, 1);
  EXPECT_EQ(script.lines[1].number, 5);
  EXPECT_EQ(script.lines[1].words, std::vector<std::string>{"tree"});
}

TEST(ScriptTest, Durations) {
  struct Case {
    const char* text;
    std::optional<uint64_t> ms;
  };
  for (const Case& c :
       {Case{"2s", 2000}, Case{"500ms", 500}, Case{"1.5s", 1500}, Case{"250", 250},
        Case{"3m", 180000}, Case{"1h", 3600000}, Case{"s", std::nullopt}, Case{"2x", std::nullopt},
        Case{"", std::nullopt}, Case{"-1s", std::nullopt}}) {
    EXPECT_EQ(app::ParseDuration(c.text), c.ms) << c.text;
  }
}

}  // namespace
