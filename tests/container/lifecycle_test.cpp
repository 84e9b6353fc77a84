#include <gtest/gtest.h>

#include <filesystem>

#include "host/window_access.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"
#include "support/desktop_events.h"
#include "support/widgets_person.h"

namespace {

using namespace platform;
using clientsim::Layout;
using containerfix::World;

class Lifecycle : public ::testing::TestWithParam<Layout> {
 protected:
  Lifecycle() : world(containerfix::OptionsFor(GetParam())) {}
  World world;
  container::MainWindow& main() { return *world.main; }
};

INSTANTIATE_TEST_SUITE_P(Layouts, Lifecycle, containerfix::BothClients(), containerfix::ClientName);

TEST_P(Lifecycle, AnInternetIMWaitsForAcceptance) {
  clientsim::IncomingOptions internet;
  internet.internet = true;
  world.client->ReceiveIM("Carl", "from the net", internet);
  world.desktop.RunFor(2000);
  const HWND im = world.client->IMWindow("Carl");
  ASSERT_NE(im, 0u);
  EXPECT_EQ(GetParent(im), world.client->MdiClient());
  EXPECT_EQ(main().TabStrip1.Count(), 0);
  EXPECT_FALSE(IsWindowVisible(world.container));

  settings::WriteSetting("AutoAcceptIMs", "1");
  EXPECT_TRUE(world.WaitAdopted("Carl", 300));
  world.desktop.RunFor(1600);
  EXPECT_EQ(main().TabStrip1.Count(), 1);
  EXPECT_NE(world.client->ConversationText("Carl").find("from the net"), std::string::npos);
}

TEST_P(Lifecycle, UnreadMarksFollowTheCaption) {
  const HWND im = world.ReceiveAndAdopt("Bob", "hello");
  ASSERT_NE(im, 0u);
  // Shown and given the focus, the IM reads as read.
  world.desktop.RunFor(500);
  EXPECT_EQ(main().TabStrip1.Item(1).image, container::kTabRead);
  EXPECT_EQ(main().ctList1.CellPicture(0, 2), container::kPicRead);

  world.client->ReceiveIM("Bob", "are you there?");
  ASSERT_TRUE(world.desktop.RunUntil(
      [&] { return host::GetCaption(im).find(">IM From:") != std::string::npos; }, 1000));
  EXPECT_TRUE(world.desktop.RunUntil(
      [&] { return main().TabStrip1.Item(1).image == container::kTabUnread; }, 500));
  EXPECT_EQ(main().ctList1.CellPicture(0, 2), container::kPicUnread);

  main().PanelClicked();
  ASSERT_EQ(host::GetCaption(im).find(">IM From:"), std::string::npos);
  EXPECT_TRUE(world.desktop.RunUntil(
      [&] { return main().TabStrip1.Item(1).image == container::kTabRead; }, 500));
  EXPECT_EQ(main().ctList1.CellPicture(0, 2), container::kPicRead);
}

TEST_P(Lifecycle, TheContainerHidesSoonAfterTheLastIMCloses) {
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello"), 0u);
  EXPECT_TRUE(IsWindowVisible(world.container));
  world.client->CloseIM("Bob");
  ASSERT_TRUE(world.desktop.RunUntil([&] { return world.client->IMWindow("Bob") == 0; }, 1000));
  EXPECT_TRUE(world.desktop.RunUntil([&] { return !IsWindowVisible(world.container); }, 100));
  EXPECT_EQ(main().TabStrip1.Count(), 0);
  EXPECT_EQ(main().ctList1.RowCount(), 0);
  EXPECT_EQ(main().List1.ListCount(), 0);
}

TEST_P(Lifecycle, TheCloseBoxClosesEveryIMAndKeepsTheContainer) {
  const HWND bob = world.ReceiveAndAdopt("Bob", "hello");
  const HWND carl = world.ReceiveAndAdopt("Carl", "hi");
  world.desktop.Click(world.container, 0, 0);  // focus, then the close box by its command
  SendMessage(world.container, WM_SYSCOMMAND, SC_CLOSE, 0);
  world.desktop.RunFor(200);
  EXPECT_TRUE(IsWindow(world.container));
  EXPECT_FALSE(IsWindowVisible(world.container));
  EXPECT_FALSE(IsWindow(bob));
  EXPECT_FALSE(IsWindow(carl));
  EXPECT_EQ(main().TabStrip1.Count(), 0);
  // The container is there for the next IM.
  EXPECT_NE(world.ReceiveAndAdopt("Dave", "later"), 0u);
  EXPECT_TRUE(IsWindowVisible(world.container));
}

TEST_P(Lifecycle, TheMenuButtonOpensTheIMMenu) {
  world.WriteProgramFile("\\Sounds\\Menu.icp", "RIFF");
  world.desktop.AnswerNextPopupMenu("");
  world.desktop.Click(main().picMenuIM.hwnd());
  EXPECT_EQ(testevents::Count(world.desktop, sim::Event::Kind::PopupMenu), 1u);
  EXPECT_EQ(testevents::Count(world.desktop, sim::Event::Kind::Sound, "Menu.icp"), 1u);
}

}  // namespace
