#include "styling/fade_presets.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/sim/desktop.h"

namespace styling {
namespace {

namespace fs = std::filesystem;
namespace files = platform::files;

// A program folder of its own with a Fades folder, and the simulated platform for the profile
// function.
class FadePresets : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = fs::temp_directory_path() /
            ("pallion-styling-" + std::to_string(::getpid()) + "-" + info->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "Program" / "Fades");
    platform::Install(&desktop_);
    files::SetProgramFolder((root_ / "Program").string());
    fades_ = files::ProgramFolder() + "\\Fades";
  }
  void TearDown() override {
    platform::Install(nullptr);
    fs::remove_all(root_);
  }
  std::string Fad(const std::string& name) const { return fades_ + "\\" + name + ".Fad"; }
  void Write(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(files::WriteAll(Fad(name), bytes));
  }

  platform::sim::Desktop desktop_;
  fs::path root_;
  std::string fades_;
};

TEST_F(FadePresets, SaveWritesColourLinesOnlyForTwoToFourAndReadsBack) {
  struct Row {
    int count;
    const char* bytes;
  };
  const Row rows[] = {
      {0, "[Fader]\r\nColors=0\r\n"},
      {2, "[Fader]\r\nColors=2\r\nColor1=1\r\nColor2=2\r\n"},
      {3, "[Fader]\r\nColors=3\r\nColor1=1\r\nColor2=2\r\nColor3=3\r\n"},
      {4, "[Fader]\r\nColors=4\r\nColor1=1\r\nColor2=2\r\nColor3=3\r\nColor4=4\r\n"},
      {5, "[Fader]\r\nColors=5\r\n"},
  };
  for (const Row& r : rows) {
    ASSERT_TRUE(SavePreset(Fad("p"), r.count, {1, 2, 3, 4}));
    EXPECT_EQ(files::ReadAll(Fad("p")), r.bytes) << r.count;
    Preset back = ReadPreset(Fad("p"));
    EXPECT_EQ(back.count, r.count);
    EXPECT_EQ(back.colours[2], r.count == 3 || r.count == 4 ? std::optional(3u) : std::nullopt);
  }
}

TEST_F(FadePresets, SaveReplacesTheFile) {
  Write("p", "[Fader]\r\nColors=4\r\nColor1=9\r\nColor2=9\r\nColor3=9\r\nColor4=9\r\nExtra=1\r\n");
  ASSERT_TRUE(SavePreset(Fad("p"), 2, {7, 8, 0, 0}));
  EXPECT_EQ(files::ReadAll(Fad("p")), "[Fader]\r\nColors=2\r\nColor1=7\r\nColor2=8\r\n");
}

TEST_F(FadePresets, SaveIntoMissingFolderFails) {
  EXPECT_FALSE(SavePreset(files::ProgramFolder() + "\\NoSuchFolder\\x.Fad", 2, {1, 2, 3, 4}));
}

TEST_F(FadePresets, LowerCaseKeysInOtherOrderReadAlike) {
  Write("hand",
        "; made by hand\r\n[fader]\r\ncolor4=4\r\ncolor2 = 2\r\nCOLORS=4\r\ncolor1=1\r\n"
        "Other=x\r\ncolor3=3\r\n");
  Preset preset = ReadPreset(Fad("hand"));
  EXPECT_EQ(preset.count, 4);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(preset.colours[k], static_cast<unsigned>(k + 1)) << k;
}

TEST_F(FadePresets, DamagedFilesLoadOnlyWhatTheyCanRead) {
  struct Row {
    const char* name;
    std::string bytes;
    std::optional<int> count;
    std::optional<platform::COLORREF> colour1, colour2;
  };
  const Row rows[] = {
      {"letters", "[Fader]\r\nColors=three\r\nColor1=red\r\nColor2=12abc\r\n", {}, {}, {}},
      {"empty", "", {}, {}, {}},
      {"nosection", "Colors=2\r\nColor1=1\r\nColor2=2\r\n", {}, {}, {}},
      {"binary", std::string("\x00\xFF[Fader\r\n\x01=\x02", 13), {}, {}, {}},
      {"half", "[Fader]\r\nColors=2\r\nColor1=255\r\n", 2, 255u, {}},
      {"negative", "[Fader]\r\nColors=-3\r\nColor1=-1\r\nColor2=16777216\r\n", -3, {}, {}},
      {"huge", "[Fader]\r\nColors=99999999999999999999\r\nColor1=1e9\r\n", {}, {}, {}},
      {"spaces", "[Fader]\r\nColors=  3 \r\nColor1=2.5\r\nColor2=3.5\r\n", 3, 2u, 4u},
      {"truncated", "[Fader]\r\nColors=4\r\nColor1=12", 4, 12u, {}},
  };
  for (const Row& r : rows) {
    Write(r.name, r.bytes);
    Preset preset = ReadPreset(Fad(r.name));
    EXPECT_EQ(preset.count, r.count) << r.name;
    EXPECT_EQ(preset.colours[0], r.colour1) << r.name;
    EXPECT_EQ(preset.colours[1], r.colour2) << r.name;
  }
  Preset missing = ReadPreset(Fad("missing"));
  EXPECT_EQ(missing.count, std::nullopt);
  EXPECT_EQ(missing.colours[0], std::nullopt);
}

TEST_F(FadePresets, LoadedColourCount) {
  struct Row {
    std::optional<int> count;
    bool fiveMeansFour;
    std::optional<int> loaded;
  };
  const Row rows[] = {{2, false, 2}, {3, false, 3}, {4, false, 4}, {5, false, {}}, {5, true, 4},
                      {1, true, {}}, {0, true, {}}, {6, true, {}}, {{}, true, {}}};
  for (const Row& r : rows) {
    Preset preset;
    preset.count = r.count;
    EXPECT_EQ(LoadedColourCount(preset, r.fiveMeansFour), r.loaded)
        << r.count.value_or(-1) << " " << r.fiveMeansFour;
  }
}

TEST_F(FadePresets, ListingCutsTheExtension) {
  Write("x", "");
  Write("my.fade", "");
  ASSERT_TRUE(files::WriteAll(fades_ + "\\upper.FAD", ""));
  ASSERT_TRUE(files::WriteAll(fades_ + "\\notes.txt", ""));
  std::vector<std::string> names = ListPresets(fades_);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"my.fade", "upper", "x"}));
  EXPECT_TRUE(ListPresets(files::ProgramFolder() + "\\Missing").empty());
}

TEST_F(FadePresets, PresetFileStaysInTheFadesFolder) {
  struct Row {
    const char* name;
    std::optional<std::string> file;  // relative to the Fades folder
  };
  const Row rows[] = {{"warm", "warm.Fad"},
                      {"warm.Fad", "warm.Fad"},
                      {"warm.fad", "warm.fad"},
                      {"my.fade", "my.fade.Fad"},
                      {"..\\x", "x.Fad"},
                      {"a/b", "b.Fad"},
                      {"C:\\Windows\\win", "win.Fad"},
                      {"D:evil", "evil.Fad"},
                      {"..", std::nullopt},
                      {"sub\\..", std::nullopt},
                      {"a\\", std::nullopt},
                      {"", std::nullopt},
                      {"Untitled", std::nullopt},
                      {"CON", std::nullopt},
                      {"C:\\x\\aux.txt", std::nullopt},
                      {"lpt9.Fad", std::nullopt},
                      {"a*b", std::nullopt},
                      {"con2", "con2.Fad"}};
  for (const Row& r : rows) {
    auto path = PresetFileFor(fades_, r.name);
    if (!r.file) {
      EXPECT_EQ(path, std::nullopt) << r.name;
    } else {
      EXPECT_EQ(path, fades_ + "\\" + *r.file) << r.name;
    }
  }
  EXPECT_EQ(PresetFileFor(fades_ + "\\", "x"), fades_ + "\\x.Fad");
}

TEST(PresetCursor, WrapsWhenPresetsWereDeleted) {
  PresetCursor cursor;
  const std::vector<std::string> four = {"a", "b", "c", "d"};
  for (int i = 0; i < 3; ++i) cursor.Next(four);
  EXPECT_EQ(cursor.Position(), 3);
  EXPECT_EQ(cursor.Next({"a", "b"}), "a");
  EXPECT_EQ(cursor.Next({"a", "b"}), "b");
  EXPECT_EQ(cursor.Next({"a", "b"}), "a");
}

// A fixed sequence of draws.
UniformDraw Sequence(std::vector<double> values) {
  auto next = std::make_shared<size_t>(0);
  return [values = std::move(values), next] { return values[(*next)++ % values.size()]; };
}

TEST(RandomColours, DrawsRedGreenBlueInOrder) {
  // Ties go to the even neighbour: 0.5 * 255 = 127.5 -> 128, 0.3 * 255 = 76.5 -> 76.
  struct Row {
    std::vector<double> draws;
    platform::COLORREF colour;
  };
  const Row rows[] = {{{0.0, 0.0, 0.0}, 0x000000},       {{0.9999999, 0.0, 0.0}, 0x0000FF},
                      {{0.0, 0.9999999, 0.0}, 0x00FF00}, {{0.0, 0.0, 0.9999999}, 0xFF0000},
                      {{0.5, 0.3, 0.0}, 0x004C80},       {{0.5, 0.5, 0.5}, 0x808080}};
  for (const Row& r : rows) {
    EXPECT_EQ(RandomColor(Sequence(r.draws)), r.colour) << r.colour;
  }
}

TEST(RandomColours, FourColoursForTheFourButtons) {
  // Draws 0, 1/12, ..., 11/12 scaled to 255: 0, 21.25, 42.5 (ties to 42), 63.75, 85, 106.25,
  // 127.5 (to 128), 148.75, 170, 191.25, 212.5 (to 212), 233.75.
  std::vector<double> draws;
  for (int i = 0; i < 12; ++i) draws.push_back(i / 12.0);
  const auto colours = RandomFade(Sequence(draws));
  const platform::COLORREF expected[4] = {0x2A1500, 0x6A5540, 0xAA9580, 0xEAD4BF};
  for (int b = 0; b < 4; ++b) EXPECT_EQ(colours[b], expected[b]) << b;
}

TEST(RandomColours, ProgramGeneratorStaysInRangeAndSpreads) {
  UniformDraw draw = ClockSeededDraw();
  UniformDraw other = ClockSeededDraw();
  double lowest = 1.0, highest = 0.0;
  for (int i = 0; i < 2000; ++i) {
    double d = (i % 2 ? draw : other)();
    ASSERT_GE(d, 0.0);
    ASSERT_LT(d, 1.0);
    lowest = std::min(lowest, d);
    highest = std::max(highest, d);
  }
  // 2000 uniform draws all above 0.01 or all below 0.99 happen once in about 10^8 runs.
  EXPECT_LT(lowest, 0.01);
  EXPECT_GT(highest, 0.99);
}

}  // namespace
}  // namespace styling
