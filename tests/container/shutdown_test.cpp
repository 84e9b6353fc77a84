#include <gtest/gtest.h>

#include <filesystem>

#include "host/window_access.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"
#include "support/host_files.h"

namespace {

using namespace platform;
using clientsim::Layout;
using containerfix::World;

std::vector<std::string> MenuBar(HWND aol) {
  std::vector<std::string> captions;
  const HMENU bar = GetMenu(aol);
  for (int i = 0; i < GetMenuItemCount(bar); ++i) {
    captions.push_back(GetMenuString(bar, static_cast<UINT>(i), MF_BYPOSITION));
  }
  return captions;
}

class Shutdown : public ::testing::TestWithParam<Layout> {};

INSTANTIATE_TEST_SUITE_P(Layouts, Shutdown, containerfix::BothClients(), containerfix::ClientName);

TEST_P(Shutdown, HandsTheIMsBackSavesThePlaceAndRemovesOnlyTheProgramsMenu) {
  auto options = containerfix::OptionsFor(GetParam());
  options.extraClientMenus = 1;
  World world(options);
  const HWND bob = world.ReceiveAndAdopt("Bob", "hello");
  const HWND carl = world.ReceiveAndAdopt("Carl", "hi");
  ASSERT_NE(carl, 0u);
  const HWND aol = world.client->MainWindow();
  auto before = MenuBar(aol);
  ASSERT_EQ(before.size(), 8u);
  EXPECT_EQ(before[7], container::kHostMenuCaption);
  RECT place;
  ASSERT_TRUE(GetWindowRect(world.container, place));

  world.main->ExitProgram();

  EXPECT_FALSE(world.desktop.ProcessAlive(world.program));
  EXPECT_FALSE(IsWindow(world.container));
  const HWND mdi = world.client->MdiClient();
  for (HWND im : {bob, carl}) {
    ASSERT_TRUE(IsWindow(im));
    EXPECT_EQ(GetParent(im), mdi);
    EXPECT_EQ(containerfix::RectIn(im), (containerfix::Rect{220, 125, 390, 300}));
  }
  EXPECT_EQ(FindWindowEx(mdi, 0, "AOL Child", nullptr), carl);
  auto after = MenuBar(aol);
  before.pop_back();
  EXPECT_EQ(after, before);
  const auto saved = settings::ReadPlace();
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(*saved, (settings::Place{place.left, place.top, place.Width(), place.Height()}));
}

TEST_P(Shutdown, LeavesTheIMsForAnyOtherValue) {
  auto options = containerfix::OptionsFor(GetParam());
  options.settings = {{"CloseIMs", "2"}};
  World world(options);
  const HWND bob = world.ReceiveAndAdopt("Bob", "hello");
  ASSERT_NE(bob, 0u);
  world.main->ExitProgram();
  // They stay inside the container, which the client closes.
  EXPECT_FALSE(IsWindow(world.container));
  EXPECT_FALSE(IsWindow(bob));
}

TEST_P(Shutdown, ClosingTheClientRunsTheShutdownFirst) {
  auto options = containerfix::OptionsFor(GetParam());
  options.settings = {{"LogIMs", "1"}};
  World world(options);
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello"), 0u);
  world.client->Quit();
  world.desktop.RunFor(6000);
  EXPECT_FALSE(world.desktop.ProcessAlive(world.program));
  EXPECT_FALSE(world.client->Running());
  EXPECT_EQ(testfiles::FilesIn(world.ProgramPath("\\IM Logs\\Bob")), 1);
  EXPECT_TRUE(settings::ReadPlace().has_value());
}

}  // namespace
