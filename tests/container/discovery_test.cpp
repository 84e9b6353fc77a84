// Discovery between IMs: ticks while nothing changed under the client leave the window tree
// alone, and an IM that comes after them, or a document that turns into one, is still found.
#include <gtest/gtest.h>

#include <vector>

#include "host/window_access.h"
#include "platform/win32.h"
#include "support/container_fixture.h"

namespace {

using namespace platform;
using containerfix::World;

class Discovery : public ::testing::Test {
 protected:
  Discovery() {
    world.main->Timer1.SetEnabled(false);
    for (int i = 0; i < 3; ++i) host::RunAOLMenu(0, 0);
    world.desktop.RunFor(2000);
    // Every IM window a tick found passes the ignore check first.
    world.main->ignoreCheck = [this, check = world.main->ignoreCheck](HWND im) {
      looked.push_back(im);
      if (check) check(im);
    };
  }
  World world;
  std::vector<HWND> looked;
};

TEST_F(Discovery, TicksWithoutIMsChangeNothingUnderTheClient) {
  world.main->Timer1Tick();
  const uint64_t version = WindowTreeVersion();
  for (int i = 0; i < 5; ++i) world.main->Timer1Tick();
  EXPECT_EQ(WindowTreeVersion(), version);
  EXPECT_TRUE(looked.empty());
  EXPECT_EQ(world.main->List1.ListCount(), 0);
}

TEST_F(Discovery, AnIMAfterQuietTicksIsAdopted) {
  for (int i = 0; i < 5; ++i) world.main->Timer1Tick();
  world.client->ReceiveIM("Bob", "hello");
  ASSERT_TRUE(world.desktop.RunUntil([&] { return world.client->IMWindow("Bob") != 0; }, 2000));
  world.main->Timer1Tick();
  EXPECT_EQ(looked, std::vector<HWND>{world.client->IMWindow("Bob")});
  world.desktop.RunFor(1000);
  ASSERT_EQ(world.main->List1.ListCount(), 1);
  EXPECT_EQ(world.main->TabStrip1.Item(1).caption, "Bob");
}

TEST_F(Discovery, ADocumentRetitledAsAnIMIsSeenByTheNextTick) {
  const HWND document = FindWindowEx(host::FindMDI(), 0, "AOL Child", nullptr);
  ASSERT_NE(document, 0u);
  for (int i = 0; i < 3; ++i) world.main->Timer1Tick();
  ASSERT_TRUE(looked.empty());
  // As the client retitles its own window.
  SendMessage(document, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Instant Message From: Carol"));
  world.main->Timer1Tick();
  EXPECT_EQ(looked, std::vector<HWND>{document});
}

}  // namespace
