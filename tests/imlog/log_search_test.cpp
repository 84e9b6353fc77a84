// The search across all logs: case folded as Windows-1252 does, one hit per line, days in date
// order, and kept texts that never hide a change on disk.
#include "imlog/log_search.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "platform/sim/desktop.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"

namespace {

namespace files = platform::files;

class LogSearchTest : public ::testing::Test {
 protected:
  LogSearchTest() : folder(containerfix::EnterDesktop(desktop, "logsearch")) {}
  ~LogSearchTest() override { containerfix::LeaveDesktop(folder); }
  static std::string Logs() { return settings::FolderPath(settings::kLogsFolder); }
  static void Write(const std::string& relative, const std::string& text) {
    const std::string path = Logs() + relative;
    files::MakeDirectory(path.substr(0, path.rfind('\\')));
    ASSERT_TRUE(files::WriteAll(path, text));
  }
  static std::vector<std::string> Days(const imlog::SearchResult& result) {
    std::vector<std::string> days;
    for (const auto& hit : result.hits) days.push_back(hit.folder + " " + hit.day);
    return days;
  }
  platform::sim::Desktop desktop;
  std::string folder;
};

TEST(LogSearchFold, FoldsWindows1252Letters) {
  EXPECT_EQ(imlog::FoldCase('A'), 'a');
  EXPECT_EQ(imlog::FoldCase('z'), 'z');
  EXPECT_EQ(imlog::FoldCase(0xC9), 0xE9);  // É
  EXPECT_EQ(imlog::FoldCase(0xD7), 0xD7);  // the multiplication sign has no small form
  EXPECT_EQ(imlog::FoldCase(0x8A), 0x9A);  // Š
  EXPECT_EQ(imlog::FoldCase(0x9F), 0xFF);  // Ÿ
  EXPECT_EQ(imlog::FoldCase('['), '[');
}

TEST_F(LogSearchTest, FindsEveryLineWithoutRegardToCaseInDateOrder) {
  Write("Bob\\12-24-2001.txt", " Begin IM\r\nBob: Meet at JOS\xC9's place\r\nme: ok\r\n");
  Write("Bob\\2-3-2001.txt", "me: jos\xE9 said so, Jos\xE9 did\r\n");
  Write("Bob\\notes.txt", "JOS\xC9\r\n");
  Write("Carl\\1-1-2002.txt", "nothing here\r\n");
  Write("Carl\\1-1-2002.log", "jos\xE9 in a file that is not a day\r\n");
  imlog::LogSearch search(Logs());
  const auto result = search.Find("Jos\xE9");
  EXPECT_EQ(Days(result),
            (std::vector<std::string>{"Bob 2-3-2001", "Bob 12-24-2001", "Bob notes"}));
  ASSERT_EQ(result.hits.size(), 3u);
  EXPECT_EQ(result.hits[0].line, "me: jos\xE9 said so, Jos\xE9 did");
  EXPECT_EQ(result.hits[0].offset, 4u);
  EXPECT_EQ(result.hits[1].line, "Bob: Meet at JOS\xC9's place");
  EXPECT_EQ(result.hits[1].offset, 24u);
  EXPECT_EQ(result.filesSearched, 4u);
  EXPECT_FALSE(result.truncated);
  EXPECT_TRUE(search.Find("").hits.empty());
  EXPECT_TRUE(search.Find("zzz").hits.empty());
  // A phrase spanning words, at the very end of a file without a line end.
  Write("Dan\\1-1-2002.txt", "see you at the Blue Lagoon");
  EXPECT_EQ(search.Find("blue lagoon").hits.size(), 1u);
}

TEST_F(LogSearchTest, KeptTextsFollowChangedNewAndDeletedFiles) {
  Write("Bob\\1-1-2001.txt", "alpha\r\n");
  Write("Bob\\1-2-2001.txt", "beta\r\n");
  imlog::LogSearch search(Logs());
  auto result = search.Find("alpha");
  EXPECT_EQ(result.filesRead, 2u);
  result = search.Find("alpha");
  EXPECT_EQ(result.filesRead, 0u);
  EXPECT_EQ(result.hits.size(), 1u);

  // A day that grew (same second, other size), a new day, a deleted day.
  Write("Bob\\1-2-2001.txt", "beta alpha\r\n");
  Write("Carl\\1-3-2001.txt", "ALPHA\r\n");
  result = search.Find("alpha");
  EXPECT_EQ(Days(result),
            (std::vector<std::string>{"Bob 1-1-2001", "Bob 1-2-2001", "Carl 1-3-2001"}));
  EXPECT_EQ(result.filesRead, 2u);
  ASSERT_TRUE(files::Remove(Logs() + "Bob\\1-1-2001.txt"));
  result = search.Find("alpha");
  EXPECT_EQ(Days(result), (std::vector<std::string>{"Bob 1-2-2001", "Carl 1-3-2001"}));
  EXPECT_EQ(result.filesRead, 0u);
}

TEST_F(LogSearchTest, StopsListingAtTheLimitAndSaysSo) {
  std::string text;
  for (int i = 0; i < 30; ++i) text += "word " + std::to_string(i) + "\r\n";
  Write("Bob\\1-1-2001.txt", text);
  imlog::LogSearch search(Logs());
  const auto result = search.Find("WORD", 25);
  EXPECT_EQ(result.hits.size(), 25u);
  EXPECT_TRUE(result.truncated);
  EXPECT_EQ(search.Find("word", 30).truncated, false);
}

}  // namespace
