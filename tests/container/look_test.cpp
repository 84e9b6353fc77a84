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
  const auto dir = std::filesystem::temp_directory_path() / "pallion-shots";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

void Shoot(const std::string& style, const std::string& graphical, const std::string& file) {
  auto options = containerfix::OptionsFor(Layout::Aol6);
  options.settings = {{"Style", style}, {"Graphical", graphical}};
  World world(options);
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello there"), 0u);
  ASSERT_NE(world.ReceiveAndAdopt("Carl", "hi Alice"), 0u);
  ASSERT_NE(world.ReceiveAndAdopt("Dave", "what's up?"), 0u);
  world.desktop.RunFor(600);
  world.main->TabStrip1.SetSelectedItem(2);
  world.desktop.RunFor(600);
  const std::string path = ShotPath(file);
  ASSERT_TRUE(world.desktop.SaveWindowShot(world.container, path));
  EXPECT_TRUE(std::filesystem::exists(path));
  // The tab row shows above the IM area, the shown IM's text inside it.
  if (style == "1") {
    const gfx::Rect tab = world.main->TabStrip1.TabRect(3);
    EXPECT_GT(tab.width, 0);
  }
}

TEST(Look, ScreenshotOfTheContainerWithTabs) {
  Shoot("1", "1", "container-tabs.png");
}

TEST(Look, ScreenshotOfTheGraphicalContainerWithTabs) {
  Shoot("1", "2", "container-tabs-graphical.png");
}

}  // namespace
