// Private-profile files, sounds and a program that keeps its queue full.
#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "sim_fixture.h"

namespace platform::sim::testing {
namespace {

class FilesTest : public SimTest {
 protected:
  FilesTest() {
    dir =
        std::filesystem::temp_directory_path() /
        ("pallion_sim_files_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  ~FilesTest() override { std::filesystem::remove_all(dir); }
  std::string Path(const std::string& name) const { return (dir / name).string(); }
  std::filesystem::path dir;
};

TEST_F(FilesTest, ProfileStringsRoundTripThroughTheFile) {
  std::string ini = Path("Pallion.ini");
  EXPECT_EQ(desk.GetPrivateProfileString("Main", "Sound", "dflt", 255, ini), "dflt");
  EXPECT_TRUE(desk.WritePrivateProfileString("Main", "Sound", "On", ini));
  EXPECT_EQ(desk.GetPrivateProfileString("main", "sound", "", 255, ini), "On");
  EXPECT_EQ(files::ReadAll(ini).value_or(""), "[Main]\r\nSound=On\r\n");
  EXPECT_TRUE(desk.WritePrivateProfileString("Main", "Sound", nullptr, ini));
  EXPECT_EQ(desk.GetPrivateProfileString("Main", "Sound", "gone", 255, ini), "gone");
}

TEST_F(FilesTest, AWriteIntoAMissingFolderFails) {
  std::string ini = Path("missing/Pallion.ini");
  EXPECT_FALSE(desk.WritePrivateProfileString("Main", "Sound", "On", ini));
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST_F(FilesTest, SoundsAreRecordedOnlyWhenTheFileExists) {
  std::string wav = Path("Bell.wav");
  std::ofstream(wav) << "RIFF";
  EXPECT_TRUE(desk.PlaySound(wav, SND_ASYNC | SND_NODEFAULT));
  EXPECT_FALSE(desk.PlaySound(Path("None.wav"), SND_ASYNC | SND_NODEFAULT));
  ASSERT_EQ(desk.Events().size(), 1u);
  EXPECT_EQ(desk.Events()[0].kind, Event::Kind::Sound);
  EXPECT_EQ(desk.Events()[0].text, wav);
  std::vector<std::string> heard;
  desk.SetEventListener([&](const Event& e) { heard.push_back(ToString(e.kind) + ":" + e.text); });
  desk.PlaySystemSound("SystemExclamation");
  EXPECT_EQ(heard, (std::vector<std::string>{"SystemSound:SystemExclamation"}));
}

TEST_F(FilesTest, AQueueThatNeverEmptiesStillLetsWaitsEnd) {
  WindowClass cls;
  cls.name = "Busy";
  int handled = 0;
  cls.proc = [&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_USER) {
      ++handled;
      desk.PostMessage(h, WM_USER, 0, 0);
      return 0;
    }
    return desk.DefWindowProc(h, m, w, l);
  };
  desk.RegisterClass(cls);
  HWND h = desk.CreateWindowEx(0, "Busy", "", 0, 0, 0, 1, 1, 0, 0, nullptr);
  desk.PostMessage(h, WM_USER, 0, 0);
  desk.DoEvents();
  EXPECT_EQ(handled, 1);  // what it posted waits for the next call
  desk.WaitEvents(3);
  EXPECT_EQ(desk.NowMs(), 3u);
  desk.RunPending();
  EXPECT_GT(handled, 1);
  desk.DestroyWindow(h);
}

}  // namespace
}  // namespace platform::sim::testing
