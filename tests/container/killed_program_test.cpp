#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/window_access.h"
#include "platform/win32.h"
#include "support/container_fixture.h"

namespace {

using namespace platform;
using containerfix::World;

constexpr int kVkReturn = 0x0D;

bool HasProgramMenu(HWND aol) {
  const HMENU bar = GetMenu(aol);
  for (int i = 0; i < GetMenuItemCount(bar); ++i) {
    const std::string caption = GetMenuString(bar, static_cast<UINT>(i), MF_BYPOSITION);
    if (caption == container::kHostMenuCaption || caption == container::kHostMenuCaptionAppended) {
      return true;
    }
  }
  return false;
}

struct Adopted {
  std::string name;
  HWND im = 0;
  std::string conversation;
  std::string input;
};

// Three adopted IMs: Bob answered and then given more to say, Carl unanswered, Dave unanswered
// with a reply begun.
std::vector<Adopted> ThreeConversations(World& world) {
  std::vector<Adopted> ims;
  for (const char* name : {"Bob", "Carl", "Dave"}) {
    const HWND im = world.ReceiveAndAdopt(name, std::string("hello from ") + name);
    ims.push_back({name, im, "", ""});
  }
  world.TypeIntoIM(ims[0].im, "fine, thanks");
  world.desktop.PressKey(kVkReturn);
  world.desktop.RunFor(500);
  world.TypeIntoIM(ims[0].im, "and how is the");
  world.TypeIntoIM(ims[2].im, "see you at");
  for (Adopted& a : ims) {
    a.conversation = world.client->ConversationText(a.name);
    a.input = host::GetEditText(host::FindIMInputOf(a.im));
  }
  return ims;
}

TEST(KilledProgram, TheAdoptedIMsGoBackToTheClientWithTheirTextAndUnsentInput) {
  World world;
  const std::vector<Adopted> ims = ThreeConversations(world);
  ASSERT_EQ(ims[0].input, "and how is the");
  ASSERT_EQ(ims[2].input, "see you at");
  const HWND container = world.container;
  const HWND aol = world.client->MainWindow();
  ASSERT_TRUE(HasProgramMenu(aol));

  world.KillProgram();
  world.desktop.RunFor(500);

  const auto& events = world.desktop.Events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, sim::Event::Kind::ProcessExit);
  EXPECT_EQ(events.back().detail, "killed");
  const HWND mdi = world.client->MdiClient();
  for (const Adopted& a : ims) {
    SCOPED_TRACE(a.name);
    ASSERT_TRUE(IsWindow(a.im));
    EXPECT_EQ(GetParent(a.im), mdi);
    EXPECT_TRUE(IsWindowVisible(a.im));
    EXPECT_EQ(world.client->ConversationText(a.name), a.conversation);
    EXPECT_EQ(host::GetEditText(host::FindIMInputOf(a.im)), a.input);
  }
  // The one shown last stays in front.
  EXPECT_EQ(GetWindow(mdi, GW_CHILD), host::FindIMWindow());
  EXPECT_FALSE(IsWindow(container));
  EXPECT_FALSE(HasProgramMenu(aol));

  // Usable: the reply begun for Dave is sent from the client as it stands.
  world.TypeIntoIM(ims[2].im, " eight");
  world.desktop.PressKey(kVkReturn);
  world.desktop.RunFor(500);
  ASSERT_FALSE(world.client->SentIMs().empty());
  EXPECT_EQ(world.client->SentIMs().back().to, "Dave");
  EXPECT_EQ(world.client->SentIMs().back().text, "see you at eight");
}

TEST(KilledProgram, AStartAfterwardsTakesTheIMsBackWithTheirUnreadMarks) {
  World world;
  const std::vector<Adopted> ims = ThreeConversations(world);
  world.KillProgram();
  world.desktop.RunFor(500);

  ASSERT_TRUE(world.RestartProgram());
  for (const Adopted& a : ims) ASSERT_TRUE(world.WaitAdopted(a.name, 5000)) << a.name;
  world.desktop.RunFor(3000);

  auto& tabs = world.main->TabStrip1;
  ASSERT_EQ(tabs.Count(), 3);
  ASSERT_EQ(world.main->List1.ListCount(), 3);
  const HMENU bar = GetMenu(world.client->MainWindow());
  int programMenus = 0;
  for (int i = 0; i < GetMenuItemCount(bar); ++i) {
    programMenus +=
        GetMenuString(bar, static_cast<UINT>(i), MF_BYPOSITION) == container::kHostMenuCaption;
  }
  EXPECT_EQ(programMenus, 1);
  for (int i = 1; i <= tabs.Count(); ++i) {
    const std::string name = tabs.Item(i).caption;
    SCOPED_TRACE(name);
    // Bob was answered and Dave's input box was typed into; Carl's message is still unread.
    const bool unread = name == "Carl";
    EXPECT_EQ(tabs.Item(i).image, unread ? container::kTabUnread : container::kTabRead);
    EXPECT_EQ(world.main->ctList1.CellPicture(i - 1, 2),
              unread ? container::kPicUnread : container::kPicRead);
  }
  for (const Adopted& a : ims) {
    EXPECT_EQ(host::GetEditText(host::FindIMInputOf(a.im)), a.input) << a.name;
  }
}

}  // namespace
