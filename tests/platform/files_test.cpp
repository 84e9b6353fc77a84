#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {
namespace files = platform::files;

class ProgramFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("pallion_files_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
    files::SetProgramFolder(root_.string());
  }
  void TearDown() override { std::filesystem::remove_all(root_); }
  std::string P(const std::string& tail) { return files::ProgramFolder() + tail; }
  std::filesystem::path root_;
};

TEST_F(ProgramFilesTest, BackslashPathsLandInTheProgramFolder) {
  ASSERT_TRUE(files::MakeDirectory(P("\\IM Logs")));
  ASSERT_TRUE(files::WriteAll(P("\\IM Logs\\a.txt"), "x\r\n"));
  EXPECT_TRUE(std::filesystem::exists(root_ / "IM Logs" / "a.txt"));
  EXPECT_EQ(files::ReadAll(P("\\IM Logs\\a.txt")), "x\r\n");
}

TEST_F(ProgramFilesTest, MakeDirectoryNeedsItsParent) {
  EXPECT_FALSE(files::MakeDirectory(P("\\a\\b")));
  EXPECT_TRUE(files::MakeDirectory(P("\\a")));
  EXPECT_TRUE(files::MakeDirectory(P("\\a\\b\\")));
  EXPECT_FALSE(files::MakeDirectory(P("\\a")));  // already there
}

TEST_F(ProgramFilesTest, AppendCreatesThenAppends) {
  EXPECT_TRUE(files::Append(P("\\log.txt"), "one\r\n"));
  EXPECT_TRUE(files::Append(P("\\log.txt"), "two\r\n"));
  EXPECT_EQ(files::ReadAll(P("\\log.txt")), "one\r\ntwo\r\n");
}

TEST_F(ProgramFilesTest, MissingFilesReadAsNothingAndWritesIntoMissingFoldersFail) {
  EXPECT_FALSE(files::ReadAll(P("\\none.txt")).has_value());
  EXPECT_FALSE(files::WriteAll(P("\\no folder\\x.txt"), "x"));
  EXPECT_FALSE(files::Append(P("\\no folder\\x.txt"), "x"));
  EXPECT_FALSE(files::Remove(P("\\none.txt")));
}

TEST_F(ProgramFilesTest, AnsiNamesAreStoredAsUtf8OnTheHost) {
  ASSERT_TRUE(files::WriteAll(P("\\caf\xE9.txt"), "x"));
  EXPECT_TRUE(std::filesystem::exists(root_ / "caf\xC3\xA9.txt"));
  EXPECT_EQ(files::List(files::ProgramFolder(), "*.txt"), std::vector<std::string>{"caf\xE9.txt"});
}

TEST_F(ProgramFilesTest, ListMatchesWildcardsWithoutCaseAndSkipsFolders) {
  for (const char* name : {"b.Fad", "A.FAD", "c.fad.bak", "my.fade.Fad", "note.txt"}) {
    std::ofstream(root_ / name) << "x";
  }
  std::filesystem::create_directory(root_ / "dir.Fad");
  EXPECT_EQ(files::List(files::ProgramFolder(), "*.Fad"),
            (std::vector<std::string>{"A.FAD", "b.Fad", "my.fade.Fad"}));
  EXPECT_EQ(files::List(files::ProgramFolder(), "?.fad"),
            (std::vector<std::string>{"A.FAD", "b.Fad"}));
  EXPECT_EQ(files::ListDirectories(files::ProgramFolder()), std::vector<std::string>{"dir.Fad"});
  EXPECT_TRUE(files::List(P("\\missing"), "*.*").empty());
}

TEST_F(ProgramFilesTest, CopyReplacesTheTarget) {
  ASSERT_TRUE(files::WriteAll(P("\\a.gif"), "new"));
  ASSERT_TRUE(files::WriteAll(P("\\b.gif"), "old"));
  EXPECT_TRUE(files::Copy(P("\\a.gif"), P("\\b.gif")));
  EXPECT_EQ(files::ReadAll(P("\\b.gif")), "new");
  EXPECT_FALSE(files::Copy(P("\\none.gif"), P("\\c.gif")));
}

}  // namespace
