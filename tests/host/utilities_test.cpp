#include <gtest/gtest.h>

#include "support/host_fixture.h"

#include <filesystem>
#include <fstream>

#include "host/text_files.h"
#include "host/window_access.h"
#include "platform/files.h"
#include "platform/sim/desktop.h"
#include "platform/win32.h"
#include "support/desktop_events.h"

namespace {

using namespace platform;

class Utilities : public ::testing::Test {
 protected:
  explicit Utilities(sim::DesktopOptions options = {}) : desktop(options) {
    Install(&desktop);
    desktop.CreateProcess("pallion");
    root = std::filesystem::temp_directory_path() /
           ("pallion_host_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    files::SetProgramFolder(root.string());
  }
  ~Utilities() override {
    std::filesystem::remove_all(root);
    Install(nullptr);
  }
  std::string P(const std::string& tail) { return files::ProgramFolder() + tail; }
  void Write(const std::string& tail, const std::string& bytes) {
    ASSERT_TRUE(files::WriteAll(P(tail), bytes));
  }
  // Virtual milliseconds taken by a pause.
  uint64_t Timed(double seconds) {
    uint64_t start = desktop.NowMs();
    host::Pause(seconds);
    return desktop.NowMs() - start;
  }
  size_t Sounds() const { return testevents::Count(desktop, sim::Event::Kind::Sound); }

  sim::Desktop desktop;
  std::filesystem::path root;
};

TEST_F(Utilities, PauseRoundsHalfToEvenThenWaitsAboutThatLong) {
  EXPECT_LE(Timed(0.5), 500u);
  EXPECT_LE(Timed(0), 0u);
  EXPECT_LE(Timed(-3), 0u);
  uint64_t one = Timed(1);
  EXPECT_GE(one, 500u);
  EXPECT_LE(one, 1500u);
  uint64_t fraction = Timed(0.6);
  EXPECT_GE(fraction, 500u);
  EXPECT_LE(fraction, 1500u);
  uint64_t two = Timed(1.5);
  EXPECT_GE(two, 1500u);
  EXPECT_LE(two, 2500u);
}

TEST_F(Utilities, PauseDispatchesEvents) {
  int ticks = 0;
  SetTimer(0, 0, 100, [&](HWND, UINT) { ++ticks; });
  host::Pause(2);
  EXPECT_GE(ticks, 10);
}

class PauseAtMidnight : public Utilities {
 protected:
  PauseAtMidnight() : Utilities(hostfix::StartingAt({2001, 4, 26, 23, 59, 59, 0})) {}
};

TEST_F(PauseAtMidnight, EndsAfterTheClockWraps) {
  uint64_t taken = Timed(3);
  EXPECT_GE(taken, 2500u);
  EXPECT_LE(taken, 3500u);
}

class PauseJustBeforeMidnight : public Utilities {
 protected:
  PauseJustBeforeMidnight() : Utilities(hostfix::StartingAt({2001, 4, 26, 23, 59, 59, 700})) {}
};

TEST_F(PauseJustBeforeMidnight, StartRoundedUpToMidnightStillWaits) {
  uint64_t taken = Timed(1);
  EXPECT_GE(taken, 500u);
  EXPECT_LE(taken, 1500u);
}

TEST_F(Utilities, PlaySoundFileOnlyWhenTheFileExists) {
  host::PlaySoundFile(P("\\Sounds\\Missing.icp"));
  EXPECT_EQ(Sounds(), 0u);
  ASSERT_TRUE(files::MakeDirectory(P("\\Sounds")));
  host::PlaySoundFile(P("\\Sounds"));
  EXPECT_EQ(Sounds(), 0u);
  Write("\\Sounds\\Click.icp", "RIFF");
  host::PlaySoundFile(P("\\Sounds\\Click.icp"));
  ASSERT_EQ(Sounds(), 1u);
  EXPECT_EQ(desktop.Events().back().text, P("\\Sounds\\Click.icp"));
}

TEST_F(Utilities, LoadTextFileDropsOneFinalLineEnd) {
  const std::pair<std::string, std::string> cases[] = {
      {"Away\r\n", "Away"},
      {"Away\n", "Away"},
      {"Away\r", "Away"},
      {"Two\r\nlines\r\n", "Two\r\nlines"},
      {"Away\r\n\r\n", "Away\r\n"},
      {"", ""},
      {"\n\r", "\n"},
      {"No end", "No end"},
  };
  for (const auto& [bytes, text] : cases) {
    Write("\\t.txt", bytes);
    EXPECT_EQ(host::LoadTextFile(P("\\t.txt")), text) << bytes;
  }
  EXPECT_EQ(host::LoadTextFile(P("\\missing.txt")), std::nullopt);
}

TEST_F(Utilities, SaveTextFileAddsOneLineEndAndReplaces) {
  ASSERT_TRUE(host::SaveTextFile(P("\\Messages\\a.Mes"), "x") == false)
      << "no folder, nothing written";
  ASSERT_TRUE(host::SaveTextFile(P("\\a.Mes"), "first text"));
  ASSERT_TRUE(host::SaveTextFile(P("\\a.Mes"), "I am away\r\nback soon"));
  EXPECT_EQ(files::ReadAll(P("\\a.Mes")), "I am away\r\nback soon\r\n");
  EXPECT_EQ(host::LoadTextFile(P("\\a.Mes")), "I am away\r\nback soon");
}

TEST_F(Utilities, LoadListSplitsAtLineEndsAndCommas) {
  Write("\\l.lst", "Bob\r\nCarl,Dan\nEve Smith\r\r\n , \r\n  Fay  \rGus");
  std::vector<std::string> items;
  EXPECT_TRUE(host::LoadList(P("\\l.lst"), [&](const std::string& s) { items.push_back(s); }));
  EXPECT_EQ(items, (std::vector<std::string>{"Bob", "Carl", "Dan", "Eve Smith", "Fay", "Gus"}));
  items.clear();
  EXPECT_FALSE(host::LoadList(P("\\none.lst"), [&](const std::string& s) { items.push_back(s); }));
  EXPECT_TRUE(items.empty());
}

TEST_F(Utilities, LoadListDispatchesEventsBetweenItems) {
  Write("\\l.lst", "a\r\nb\r\nc\r\n");
  int handled = 0;
  desktop.RegisterClass(WindowClass{"Counter", {}, 0xFFFFFFFF});
  HWND counter = desktop.CreateWindowEx(0, "Counter", "", WS_POPUP, 0, 0, 1, 1, 0, 0,
                                        [&](HWND h, UINT m, WPARAM w, LPARAM l) {
                                          if (m == WM_USER) ++handled;
                                          return DefWindowProc(h, m, w, l);
                                        });
  std::vector<int> seenAtItem;
  host::LoadList(P("\\l.lst"), [&](const std::string&) {
    seenAtItem.push_back(handled);
    PostMessage(counter, WM_USER, 0, 0);
  });
  EXPECT_EQ(seenAtItem, (std::vector<int>{0, 1, 2}));
}

TEST_F(Utilities, SaveListWritesOneItemPerLine) {
  ASSERT_TRUE(host::SaveList(P("\\IgnorePerm.lst"), {"Bob", "Carl Smith"}));
  EXPECT_EQ(files::ReadAll(P("\\IgnorePerm.lst")), "Bob\r\nCarl Smith\r\n");
  ASSERT_TRUE(host::SaveList(P("\\IgnorePerm.lst"), {}));
  EXPECT_EQ(files::ReadAll(P("\\IgnorePerm.lst")), "");
  std::vector<std::string> back;
  ASSERT_TRUE(host::SaveList(P("\\x.lst"), {"A", "B"}));
  host::LoadList(P("\\x.lst"), [&](const std::string& s) { back.push_back(s); });
  EXPECT_EQ(back, (std::vector<std::string>{"A", "B"}));
}

}  // namespace
