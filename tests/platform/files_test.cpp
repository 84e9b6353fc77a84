#include "platform/files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

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
  void TearDown() override {
    files::LimitWrites(std::nullopt);
    files::SetHostMapping({});
    std::filesystem::remove_all(root_);
  }
  // What the host folder holds, by host name.
  std::vector<std::string> HostEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string HostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
  }
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

TEST_F(ProgramFilesTest, AReplacedFileIsNeverSeenHalfWritten) {
  ASSERT_TRUE(files::WriteAll(P("\\Pallion.ini"), "[General]\r\nSTYLE=1\r\n"));
  // A reader that opened the old file keeps reading the old file whole.
  std::ifstream reader(root_ / "Pallion.ini", std::ios::binary);
  ASSERT_TRUE(files::WriteAll(P("\\Pallion.ini"), "[General]\r\nSTYLE=2\r\nLOGIMS=1\r\n"));
  std::stringstream seen;
  seen << reader.rdbuf();
  EXPECT_EQ(seen.str(), "[General]\r\nSTYLE=1\r\n");
  EXPECT_EQ(files::ReadAll(P("\\Pallion.ini")), "[General]\r\nSTYLE=2\r\nLOGIMS=1\r\n");
  EXPECT_EQ(HostEntries(root_), std::vector<std::string>{"Pallion.ini"});
}

TEST_F(ProgramFilesTest, AWriteThatFailsMidwayLeavesTheOldFile) {
  ASSERT_TRUE(files::WriteAll(P("\\IgnorePerm.lst"), "Bob\r\nCarl\r\n"));
  files::LimitWrites(4);
  EXPECT_FALSE(files::WriteAll(P("\\IgnorePerm.lst"), "Bob\r\nCarl\r\nDave\r\n"));
  EXPECT_FALSE(files::WriteAll(P("\\New.lst"), "Eve\r\nFay\r\n"));
  EXPECT_FALSE(files::Copy(P("\\IgnorePerm.lst"), P("\\Copy.lst")));
  EXPECT_EQ(HostFile(root_ / "IgnorePerm.lst"), "Bob\r\nCarl\r\n");
  // No half file and no temporary one is left behind.
  EXPECT_EQ(HostEntries(root_), std::vector<std::string>{"IgnorePerm.lst"});
  files::LimitWrites(std::nullopt);
  EXPECT_TRUE(files::WriteAll(P("\\IgnorePerm.lst"), "Bob\r\n"));
  EXPECT_EQ(HostFile(root_ / "IgnorePerm.lst"), "Bob\r\n");
}

TEST_F(ProgramFilesTest, AnAppendIsWholeOrNothing) {
  ASSERT_TRUE(files::Append(P("\\log.txt"), "one\r\n"));
  files::LimitWrites(7);
  EXPECT_TRUE(files::Append(P("\\log.txt"), "two\r\n"));
  EXPECT_FALSE(files::Append(P("\\log.txt"), "three\r\n"));
  EXPECT_FALSE(files::Append(P("\\new.txt"), "x"));
  EXPECT_EQ(HostFile(root_ / "log.txt"), "one\r\ntwo\r\n");
  EXPECT_EQ(HostEntries(root_), std::vector<std::string>{"log.txt"});
}

TEST_F(ProgramFilesTest, NamesMatchWithoutRegardToCase) {
  std::filesystem::create_directory(root_ / "Fades");
  std::ofstream(root_ / "Fades" / "Warm.FAD") << "[Fader]";
  std::filesystem::create_directories(root_ / "IM Logs" / "Bob");
  std::filesystem::create_directory(root_ / "\xC3\x89t\xC3\xA9");  // "Été" on the host

  EXPECT_EQ(files::ReadAll(P("\\fades\\warm.fad")), "[Fader]");
  ASSERT_TRUE(files::WriteAll(P("\\FADES\\WARM.Fad"), "[Fader]\r\nColors=2\r\n"));
  EXPECT_EQ(HostEntries(root_ / "Fades"), std::vector<std::string>{"Warm.FAD"});
  EXPECT_TRUE(files::IsDirectory(P("\\im logs\\BOB")));
  EXPECT_FALSE(files::MakeDirectory(P("\\IM Logs\\bob")));
  ASSERT_TRUE(files::Append(P("\\IM Logs\\bob\\1-2-2003.txt"), "x"));
  EXPECT_EQ(HostEntries(root_ / "IM Logs"), std::vector<std::string>{"Bob"});
  EXPECT_TRUE(files::IsDirectory(P("\\\xE9T\xC9")));  // Windows-1252 letters fold too
  EXPECT_TRUE(files::Remove(P("\\fades\\warm.fad")));
  EXPECT_TRUE(HostEntries(root_ / "Fades").empty());
}

// One pass over a folder names its regular files with stamps that change when a file does.
TEST_F(ProgramFilesTest, AStampedListingNamesFilesAsListDoesAndFollowsChanges) {
  std::filesystem::create_directories(root_ / "IM Logs" / "Bob" / "1-3-2003.txt");  // a folder
  std::ofstream(root_ / "IM Logs" / "Bob" / "1-2-2003.TXT") << "one";
  std::ofstream(root_ / "IM Logs" / "Bob" / "notes.log") << "x";
  const auto before = files::ListStamped(P("\\im logs\\bob"), "*.txt");
  ASSERT_EQ(before.size(), 1u);
  EXPECT_EQ(before[0].name, "1-2-2003.TXT");
  EXPECT_EQ(before[0].stamp.size, 3u);
  std::ofstream(root_ / "IM Logs" / "Bob" / "1-2-2003.TXT", std::ios::app) << "two";
  const auto after = files::ListStamped(P("\\IM Logs\\Bob"), "*.txt");
  ASSERT_EQ(after.size(), 1u);
  EXPECT_NE(after[0].stamp, before[0].stamp);
  EXPECT_TRUE(files::ListStamped(P("\\IM Logs\\Nobody"), "*.txt").empty());
}

TEST_F(ProgramFilesTest, AProgramFolderIsTakenAsTheHostNamesIt) {
  // Not plain ASCII and holding a backslash: only what follows it is the program's own name.
  const std::filesystem::path folder = root_ / "donn\xC3\xA9\x65s\\x";
  std::filesystem::create_directory(folder);
  files::SetProgramFolder(folder.string());
  ASSERT_TRUE(files::MakeDirectory(P("\\IM Logs")));
  ASSERT_TRUE(files::WriteAll(P("\\IM Logs\\Jos\xE9.txt"), "x"));
  EXPECT_EQ(HostFile(folder / "IM Logs" / "Jos\xC3\xA9.txt"), "x");
  EXPECT_EQ(files::List(P("\\IM Logs"), "*.txt"), std::vector<std::string>{"Jos\xE9.txt"});
  EXPECT_EQ(HostEntries(root_), std::vector<std::string>{"donn\xC3\xA9\x65s\\x"});
}

TEST_F(ProgramFilesTest, AnInstalledHostMappingTakesThePlaceOfTheWalk) {
  std::filesystem::create_directory(root_ / "Fades");
  std::ofstream(root_ / "Fades" / "Warm.FAD") << "[Fader]";
  std::vector<std::string> asked;
  files::SetHostMapping(files::HostMapping{
      [&asked](const std::string& path) {
        asked.push_back(path);
        std::string host = path;
        std::replace(host.begin(), host.end(), '\\', '/');
        return std::filesystem::path(host);
      },
      [](const std::filesystem::path& name) { return "<" + name.string() + ">"; }});
  EXPECT_EQ(files::ReadAll(P("\\Fades\\Warm.FAD")), "[Fader]");
  // The mapping alone decides: nothing here matches a name that differs in case.
  EXPECT_FALSE(files::ReadAll(P("\\fades\\warm.fad")).has_value());
  EXPECT_EQ(asked, (std::vector<std::string>{root_.string(), "\\Fades\\Warm.FAD", root_.string(),
                                             "\\fades\\warm.fad"}));
  ASSERT_TRUE(files::WriteAll(P("\\Fades\\Cool.FAD"), "x"));
  EXPECT_EQ(files::List(P("\\Fades"), "<*.fad>"),
            (std::vector<std::string>{"<Cool.FAD>", "<Warm.FAD>"}));
  files::SetHostMapping({});
  EXPECT_EQ(files::ReadAll(P("\\fades\\warm.fad")), "[Fader]");
  EXPECT_EQ(files::List(P("\\Fades"), "*.fad"), (std::vector<std::string>{"Cool.FAD", "Warm.FAD"}));
}

TEST_F(ProgramFilesTest, OnlyRegularFilesAreReadAndOnlyWithinTheLimit) {
  // A read that waited on the pipe would never end: fail loudly instead.
  alarm(60);
  ASSERT_EQ(mkfifo((root_ / "pipe.gif").c_str(), 0600), 0);
  EXPECT_TRUE(files::Exists(P("\\pipe.gif")));
  EXPECT_FALSE(files::ReadAll(P("\\pipe.gif")).has_value());
  EXPECT_FALSE(files::ReadHostFile("/dev/zero", 1 << 20).has_value());
  EXPECT_FALSE(files::ReadAll(P("")).has_value());
  alarm(0);
  ASSERT_TRUE(files::WriteAll(P("\\ten.txt"), "0123456789"));
  EXPECT_FALSE(files::ReadAll(P("\\ten.txt"), 9).has_value());
  EXPECT_EQ(files::ReadAll(P("\\ten.txt"), 10), "0123456789");
}

}  // namespace
