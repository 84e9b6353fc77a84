#include <gtest/gtest.h>

#include "host/window_access.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"
#include "support/desktop_events.h"

namespace {

using namespace platform;
using clientsim::Layout;
using containerfix::World;
using containerfix::WorldOptions;

class Adoption : public ::testing::TestWithParam<Layout> {
 protected:
  Adoption() : world(containerfix::OptionsFor(GetParam())) {}
  bool Aol7() const { return GetParam() == Layout::Aol7; }
  World world;
  container::MainWindow& main() { return *world.main; }
};

INSTANTIATE_TEST_SUITE_P(Layouts, Adoption, containerfix::BothClients(), containerfix::ClientName);

TEST_P(Adoption, StartLeavesTheContainerHiddenWithTheMenuButtonOnTheToolbar) {
  ASSERT_NE(world.container, 0u);
  EXPECT_FALSE(IsWindowVisible(world.container));
  EXPECT_EQ(GetParent(main().Picture1.hwnd()), world.container);
  EXPECT_TRUE(main().Timer1.Enabled());
  EXPECT_TRUE(main().TimerScanIM.Enabled());
  EXPECT_TRUE(main().TimerUrgentNews.Enabled());
  EXPECT_EQ(main().Timer1.Interval(), 100u);
  EXPECT_EQ(main().TimerScanIM.Interval(), 500u);
  const HWND icon = GetParent(main().picMenuIM.hwnd());
  EXPECT_EQ(GetClassName(icon), "_AOL_Icon");
  EXPECT_EQ(host::NthChildExact(GetParent(icon), "_AOL_Icon", 5), icon);
  EXPECT_EQ(main().picMenuIM.Left(), 2);
  EXPECT_EQ(main().picMenuIM.Top(), -1);
  EXPECT_EQ(main().picMenuIM.Width(), 51);
  EXPECT_EQ(main().picMenuIM.Height(), 24);
  EXPECT_EQ(host::FindChildByCaption("AOL Channels"), 0u);
}

TEST_P(Adoption, AnIncomingIMIsAdopted) {
  world.WriteProgramFile("\\Sounds\\Chat.icp", "RIFF");
  world.client->ReceiveIM("Bob", "hello there");
  ASSERT_TRUE(world.desktop.RunUntil([&] { return world.client->IMWindow("Bob") != 0; }, 2000));
  const HWND im = world.client->IMWindow("Bob");
  EXPECT_TRUE(world.WaitAdopted("Bob", 100));
  world.desktop.RunFor(1600);

  ASSERT_EQ(main().TabStrip1.Count(), 1);
  EXPECT_EQ(main().TabStrip1.Item(1).caption, "Bob");
  EXPECT_EQ(main().TabStrip1.SelectedItem(), 1);
  ASSERT_EQ(main().List1.ListCount(), 1);
  EXPECT_EQ(main().List1.List(0), std::to_string(im));
  ASSERT_EQ(main().ctList1.RowCount(), 1);
  EXPECT_EQ(main().ctList1.CellText(0, 0), "Bob");
  EXPECT_EQ(main().ctList1.CellPicture(0, 1), container::kPicStatusShown);
  EXPECT_EQ(main().ctList1.HeaderText(), "Current IMs: 1");
  EXPECT_EQ(host::FindCurrentIM(), im);
  EXPECT_TRUE(IsWindowVisible(world.container));
  EXPECT_EQ(host::IsAOL7, Aol7());
  EXPECT_EQ(main().AOButtonGetProfile.Caption(), Aol7() ? "Get Info" : "Get Profile");
  EXPECT_EQ(main().AOButtonMail.Caption(), Aol7() ? "Get Profile" : "Mail");
  EXPECT_NE(world.client->ConversationText("Bob").find("Begin IM - "), std::string::npos);
  EXPECT_NE(world.client->ConversationText("Bob").find("hello there"), std::string::npos);
  EXPECT_EQ(host::GetCaption(world.container), "Pallion \xB2\xB7\xBA : Bob");
  EXPECT_EQ(main().Caption(), "Pallion \xB2\xB7\xBA : Bob");
  EXPECT_EQ(main().mnuIgnore[0]->Caption(), "Only Ignore Bob this session");
  EXPECT_EQ(main().mnuIgnore[1]->Caption(), "Always Ignore Bob");

  EXPECT_EQ(testevents::Count(world.desktop, sim::Event::Kind::Sound, "Chat.icp"), 1u);
}

TEST_P(Adoption, NoSoundWithoutTheFile) {
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hi"), 0u);
  EXPECT_EQ(testevents::Count(world.desktop, sim::Event::Kind::Sound), 0u);
}

TEST_P(Adoption, AnIMArrivingWhileThePersonTypesLeavesTheKeysInTheIMShown) {
  const HWND bob = world.ReceiveAndAdopt("Bob", "hi");
  ASSERT_NE(bob, 0u);
  world.desktop.Click(host::FindIMInputOf(bob));
  world.desktop.TypeText("for bob");
  // The client gives Carl's new IM window the keyboard; the container keeps Bob's IM shown.
  const HWND carl = world.ReceiveAndAdopt("Carl", "yo");
  ASSERT_NE(carl, 0u);
  world.desktop.RunFor(1000);
  ASSERT_EQ(host::FindCurrentIM(), bob);
  world.desktop.TypeText(" and more");
  EXPECT_EQ(host::GetEditText(host::FindIMInputOf(bob)), "for bob and more");
  EXPECT_EQ(host::GetEditText(host::FindIMInputOf(carl)), "");
}

}  // namespace
