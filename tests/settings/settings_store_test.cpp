#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ansi.h"
#include "platform/files.h"

namespace settings {
namespace {

namespace fs = std::filesystem;

// A fresh, empty program folder for each test, removed afterwards.
class SettingsStore : public testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / ("pallion-settings-" + std::to_string(::getpid()) + "-" +
                                           std::to_string(counter++) + "-" + info->name());
    fs::create_directories(folder_);
    previous_ = platform::files::ProgramFolder();
    platform::files::SetProgramFolder(folder_.string());
  }
  void TearDown() override {
    platform::files::SetProgramFolder(previous_);
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  std::string File() const { return platform::files::ReadAll(SettingsPath()).value_or("<none>"); }
  void Put(const std::string& bytes) const {
    ASSERT_TRUE(platform::files::WriteAll(SettingsPath(), bytes));
  }

  fs::path folder_;
  std::string previous_;
};

TEST_F(SettingsStore, MissingFileReadsEmptyAndIsNotCreatedByReading) {
  EXPECT_EQ(ReadINI("General", "style", SettingsPath()), "");
  EXPECT_EQ(ReadSetting(keys::kGraLocation), "");
  EXPECT_FALSE(platform::files::Exists(SettingsPath()));
}

TEST_F(SettingsStore, FirstWriteCreatesTheFileWithAnUpperCaseKey) {
  WriteINI("General", "Style", "1", SettingsPath());
  EXPECT_EQ(File(), "[General]\r\nSTYLE=1\r\n");
  EXPECT_EQ(ReadINI("General", "style", SettingsPath()), "1");
  EXPECT_EQ(ReadINI("General", "Style", SettingsPath()), "1");
}

TEST_F(SettingsStore, RewritingKeepsTheFilesSpellingAndOtherLines) {
  Put("; Pallion options\r\n\r\n[general]\r\nstyle = 2\r\n; colours below\r\nColor1=255\r\n");
  WriteSetting(keys::kStyle, "1");
  WriteSetting(keys::kLogIMs, "1");
  EXPECT_EQ(File(),
            "; Pallion options\r\n\r\n[general]\r\nstyle=1\r\n; colours below\r\nColor1=255\r\n"
            "LOGIMS=1\r\n");
}

TEST_F(SettingsStore, ReadsAsThePlatformReads) {
  Put("[General]\r\n;Style=1\r\nGraphical = 1 \r\nGraLocation=\"C:\\Pics\\a b.gif\"\r\n"
      "UrgentNews=Sale; today only\r\nLastMessage=\r\n");
  EXPECT_EQ(ReadSetting(";Style"), "");
  EXPECT_EQ(ReadSetting(keys::kStyle), "");
  EXPECT_EQ(ReadSetting(keys::kGraphical), "1");
  EXPECT_EQ(ReadSetting(keys::kGraLocation), "C:\\Pics\\a b.gif");
  EXPECT_EQ(ReadSetting(keys::kUrgentNews), "Sale; today only");
  EXPECT_EQ(ReadSetting(keys::kLastMessage), "");
  EXPECT_EQ(ReadINI("Other", "Graphical", SettingsPath()), "");
}

TEST_F(SettingsStore, LongValuesComeBackCutTo749) {
  const std::string longText(800, 'x');
  WriteSetting(keys::kUrgentNews, longText);
  EXPECT_NE(File().find(longText), std::string::npos);
  EXPECT_EQ(ReadSetting(keys::kUrgentNews), std::string(749, 'x'));
  WriteSetting(keys::kUrgentNews, std::string(749, 'y'));
  EXPECT_EQ(ReadSetting(keys::kUrgentNews), std::string(749, 'y'));
}

TEST_F(SettingsStore, ReadsTheFileEachTime) {
  WriteSetting(keys::kStyle, "1");
  EXPECT_EQ(ReadSetting(keys::kStyle), "1");
  Put("[General]\r\nStyle=2\r\n");
  EXPECT_EQ(ReadSetting(keys::kStyle), "2");
  ASSERT_TRUE(platform::files::Remove(SettingsPath()));
  EXPECT_EQ(ReadSetting(keys::kStyle), "");
}

TEST_F(SettingsStore, ALineBreakEndsTheStoredValue) {
  WriteSetting(keys::kStyle, "2");
  WriteSetting(keys::kUrgentNews, "Big news\r\n[General]\r\nCLOSEIMS=1\nx");
  EXPECT_EQ(File(), "[General]\r\nSTYLE=2\r\nURGENTNEWS=Big news\r\n");
  EXPECT_EQ(ReadSetting(keys::kCloseIMs), "");
  WriteSetting(keys::kUrgentNews, "\rall gone");
  EXPECT_EQ(ReadSetting(keys::kUrgentNews), "");
}

TEST_F(SettingsStore, MissingFolderMeansNothingWritten) {
  const std::string path = FolderPath("\\NoSuchFolder\\Pallion.ini");
  WriteINI("General", "Style", "1", path);
  EXPECT_FALSE(platform::files::Exists(path));
  EXPECT_FALSE(platform::files::Exists(FolderPath("\\NoSuchFolder")));
  EXPECT_EQ(ReadINI("General", "style", path), "");
}

TEST_F(SettingsStore, UnreadableFileIsLeftAlone) {
  ASSERT_TRUE(platform::files::MakeDirectory(SettingsPath()));
  WriteSetting(keys::kStyle, "1");
  EXPECT_TRUE(platform::files::IsDirectory(SettingsPath()));
  EXPECT_EQ(ReadSetting(keys::kStyle), "");
}

struct FlagCase {
  std::string stored;  // "<none>": key absent
  bool whenOther;
  bool expected;
};

TEST_F(SettingsStore, FlagsAreExactlyOneOrZero) {
  const std::vector<FlagCase> cases = {
      {"1", false, true}, {"0", false, false}, {"1", true, true},      {"0", true, false},
      {"", false, false}, {"", true, true},    {"<none>", true, true}, {"2", false, false},
      {"2", true, true},  {"01", true, true},  {"True", false, false}, {"\"1\"", false, true},
  };
  for (const FlagCase& c : cases) {
    if (c.stored == "<none>") {
      Put("[General]\r\n");
    } else {
      Put("[General]\r\nLogIMs=" + c.stored + "\r\n");
    }
    EXPECT_EQ(ReadFlag(keys::kLogIMs, c.whenOther), c.expected) << c.stored << " / " << c.whenOther;
  }
}

struct NumberCase {
  std::string stored;
  std::optional<int32_t> expected;
};

TEST_F(SettingsStore, NumbersConvertOnlyAsWholeNumbers) {
  const std::vector<NumberCase> cases = {
      {"255", 255},
      {"0", 0},
      {"-5", -5},
      {"+7", 7},
      {"\" 42 \"", 42},
      {"16777215", 16777215},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"99999999999", std::nullopt},
      {"", std::nullopt},
      {"\"  \"", std::nullopt},
      {"12abc", std::nullopt},
      {"1.5", std::nullopt},
      {"&HFF", std::nullopt},
      {"+-5", std::nullopt},
      {"+", std::nullopt},
      {"- 5", std::nullopt},
  };
  for (const NumberCase& c : cases) {
    Put("[General]\r\nColor1=" + c.stored + "\r\n");
    EXPECT_EQ(ReadColor(keys::kColor1), c.expected) << c.stored;
  }
  Put("");
  EXPECT_EQ(ReadColor(keys::kColor2), std::nullopt);
}

TEST_F(SettingsStore, LookOptionsAndTheirDefaults) {
  EXPECT_FALSE(ReadUseTabs());
  EXPECT_TRUE(ReadGraphical());
  EXPECT_EQ(ReadNumOfColors(), 4);
  const std::vector<std::pair<std::string, int>> counts = {
      {"2", 2}, {"3", 3}, {"4", 4}, {"5", 4}, {"", 4}, {"three", 4}, {"02", 4}};
  for (const auto& [stored, expected] : counts) {
    WriteSetting(keys::kNumOfColors, stored);
    EXPECT_EQ(ReadNumOfColors(), expected) << stored;
  }
  WriteSetting(keys::kStyle, "1");
  WriteSetting(keys::kGraphical, "1");
  EXPECT_TRUE(ReadUseTabs());
  EXPECT_FALSE(ReadGraphical());
  WriteSetting(keys::kStyle, "2");
  WriteSetting(keys::kGraphical, "2");
  EXPECT_FALSE(ReadUseTabs());
  EXPECT_TRUE(ReadGraphical());
  WriteSetting(keys::kStyle, "x");
  WriteSetting(keys::kGraphical, "x");
  EXPECT_FALSE(ReadUseTabs());
  EXPECT_TRUE(ReadGraphical());
}

TEST_F(SettingsStore, PlaceOnlyWhenAllFourAreNumbers) {
  EXPECT_EQ(ReadPlace(), std::nullopt);
  WritePlace(Place{12, -3, 800, 600});
  EXPECT_EQ(File(), "[General]\r\nLEFT=12\r\nTOP=-3\r\nWIDTH=800\r\nHEIGHT=600\r\n");
  EXPECT_EQ(ReadPlace(), (Place{12, -3, 800, 600}));
  for (const char* key : {keys::kLeft, keys::kTop, keys::kWidth, keys::kHeight}) {
    WriteSetting(key, "abc");
    EXPECT_EQ(ReadPlace(), std::nullopt) << key;
    WriteSetting(key, "");
    EXPECT_EQ(ReadPlace(), std::nullopt) << key;
    WriteSetting(key, "7");
    EXPECT_TRUE(ReadPlace().has_value()) << key;
  }
  EXPECT_EQ(ReadPlace(), (Place{7, 7, 7, 7}));
}

}  // namespace
}  // namespace settings
