#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"
#include "support/host_files.h"

namespace {

using namespace platform;
using containerfix::World;

TEST(FileSafety, ExitOnAFullDiskLeavesTheSettingsFileAsItWas) {
  containerfix::WorldOptions options;
  options.settings = {{"Style", "1"}, {"LogIMs", "0"}, {"LastMessage", "Gone to lunch"}};
  World world(options);
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello"), 0u);
  const std::string before = testfiles::Read(world.ProgramPath("\\Pallion.ini"));
  ASSERT_NE(before.find("LASTMESSAGE=Gone to lunch"), std::string::npos);

  // Saving the place needs more room than the disk has left.
  files::LimitWrites(20);
  world.main->ExitProgram();
  files::LimitWrites(std::nullopt);

  EXPECT_FALSE(world.desktop.ProcessAlive(world.program));
  EXPECT_EQ(testfiles::Read(world.ProgramPath("\\Pallion.ini")), before);
  for (const auto& entry : std::filesystem::directory_iterator(world.folder)) {
    EXPECT_FALSE(entry.path().filename().string().ends_with(".~new")) << entry.path();
  }
}

// The background picture's path names something that is no file: a pipe nobody writes to, or
// a device without end.
class PictureThatIsNoFile : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Kinds, PictureThatIsNoFile, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Pipe" : "Device"; });

TEST_P(PictureThatIsNoFile, DoesNotHoldUpTheStart) {
  // A start that waited on the picture would never end: fail loudly instead.
  alarm(120);
  containerfix::WorldOptions options;
  options.startProgram = false;
  World world(options);
  std::string location = "/dev/zero";
  if (GetParam()) {
    location = files::ProgramFolder() + "\\WallPapers\\Pipe.gif";
    std::filesystem::create_directories(world.ProgramPath("\\WallPapers"));
    ASSERT_EQ(mkfifo(world.ProgramPath("\\WallPapers\\Pipe.gif").c_str(), 0600), 0);
  }
  ASSERT_TRUE(settings::WriteSetting(settings::keys::kGraLocation, location));
  ASSERT_TRUE(world.StartProgram());
  EXPECT_NE(world.ReceiveAndAdopt("Bob", "still there?"), 0u);
  alarm(0);
}

}  // namespace
