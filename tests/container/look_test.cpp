#include <gtest/gtest.h>

#include <filesystem>

#include "host/window_access.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"

namespace {

using namespace platform;
using clientsim::Layout;
using containerfix::World;

std::string ShotPath(const std::string& name) {
  const auto dir = std::filesystem::path(PALLION_SOURCE_DIR) / "build-container" / "shots";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

TEST(Look, ScreenshotOfTheContainerWithTabs) {
  World world(containerfix::OptionsFor(Layout::Aol6));
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello there"), 0u);
  ASSERT_NE(world.ReceiveAndAdopt("Carl", "hi Alice"), 0u);
  ASSERT_NE(world.ReceiveAndAdopt("Dave", "what's up?"), 0u);
  world.desktop.RunFor(600);
  const std::string path = ShotPath("container-tabs.png");
  ASSERT_TRUE(world.desktop.SaveScreenshot(path));
  EXPECT_TRUE(std::filesystem::exists(path));
}

}  // namespace
