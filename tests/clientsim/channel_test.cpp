#include "clientsim/channel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/sim/desktop.h"
#include "platform/win32.h"

namespace clientsim::channel {
namespace {

using namespace platform;

TEST(ChannelEncoding, FieldsComeBackAsTheyWere) {
  const Fields fields{"im", "", "Bob: 12:30?", std::string("a\0b", 3), "\xB2\xB7\xBA", "7"};
  EXPECT_EQ(Decode(Encode(fields)), fields);
  EXPECT_EQ(Decode(""), Fields{});
  EXPECT_EQ(Encode({"ab", ""}), "2:ab0:");
}

TEST(ChannelEncoding, AnythingButAWholeEncodingIsRefused) {
  for (const char* bad :
       {"2:a", "x:ab", ":ab", "-1:a", "+1:a", "2ab", "1:a3:bc", "99999999:a", " 1:a", "1 :a"}) {
    EXPECT_EQ(Decode(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(Decode(std::string(kMaxMessageBytes + 1, '0')), std::nullopt);
}

// The client and its control channel in a process of their own; the driver in another.
class Channel : public ::testing::Test {
 protected:
  void SetUp() override {
    Install(&desktop);
    aol = desktop.CreateProcess("AOL");
    client = std::make_unique<Client>();
    ASSERT_TRUE(client->Start());
    server = std::make_unique<Server>(*client);
    ASSERT_TRUE(server->Open());
    driver = desktop.CreateProcess("driver");
    ASSERT_TRUE(remote->Connect());
  }
  void TearDown() override {
    remote.reset();
    {
      sim::Desktop::ProcessScope scope(desktop, aol);
      server.reset();
      client.reset();
    }
    Install(nullptr);
  }

  sim::Desktop desktop;
  DWORD aol = 0, driver = 0;
  std::unique_ptr<Client> client;
  std::unique_ptr<Server> server;
  std::unique_ptr<Remote> remote = std::make_unique<Remote>();
};

TEST_F(Channel, TheDriverActsOnTheClientAndReadsWhatItGot) {
  ASSERT_TRUE(remote->SignOn("Alice"));
  desktop.RunFor(1000);
  EXPECT_EQ(client->ScreenName(), "Alice");
  EXPECT_EQ(remote->ScreenName(), "Alice");

  ASSERT_TRUE(remote->ReceiveIM("Bob", "hi: 1:2"));
  desktop.RunFor(1000);
  const auto received = remote->ReceivedIMs();
  ASSERT_TRUE(received.has_value());
  ASSERT_EQ(received->size(), 1u);
  EXPECT_EQ((*received)[0].from, "Bob");
  EXPECT_EQ((*received)[0].text, "hi: 1:2");
  EXPECT_EQ((*received)[0].fate, ReceivedIM::Fate::Shown);
  EXPECT_NE(remote->ConversationText("Bob").value_or("").find("hi: 1:2"), std::string::npos);

  client->TypeAndSendIM("Bob", "hello back");
  desktop.RunFor(2000);
  const auto sent = remote->SentIMs();
  ASSERT_TRUE(sent.has_value());
  ASSERT_EQ(sent->size(), 1u);
  EXPECT_EQ((*sent)[0].to, "Bob");
  EXPECT_EQ((*sent)[0].text, "hello back");
}

TEST_F(Channel, TheMenuBarIsReadAndChosenFromInsideTheClient) {
  const auto bar = remote->MenuItems();
  ASSERT_TRUE(bar.has_value());
  EXPECT_EQ(bar->front(), "&File");
  EXPECT_EQ(remote->MenuItems({"file"}), (std::vector<std::string>{"&New", "", "E&xit"}));
  EXPECT_FALSE(remote->MenuItems({"Nothing"}).has_value());

  ASSERT_TRUE(remote->ChooseMenu({"File", "New"}));
  desktop.RunFor(500);
  EXPECT_NE(FindWindowEx(client->MdiClient(), 0, "AOL Child", "Untitled"), 0u);
  EXPECT_FALSE(remote->ChooseMenu({"File", "Open"}));
  EXPECT_NE(remote->LastError().find("Open"), std::string::npos);
}

TEST_F(Channel, ClosingTheClientKeepsWhatItHadUntilTheProcessIsTold) {
  remote->ChooseMenu({"File", "New"});
  desktop.RunFor(500);
  EXPECT_EQ(remote->Running(), true);
  ASSERT_TRUE(remote->Quit());
  desktop.RunFor(1000);
  EXPECT_FALSE(client->Running());
  EXPECT_EQ(remote->Running(), false);
  EXPECT_EQ(remote->DocumentsAtClose(), (std::vector<std::string>{"Untitled"}));
  EXPECT_FALSE(server->ExitAsked());
  ASSERT_TRUE(remote->Exit());
  EXPECT_TRUE(server->ExitAsked());
}

TEST_F(Channel, BadRequestsAreRefusedAndAGoneClientGivesNoAnswer) {
  EXPECT_FALSE(remote->Call({"dance"}).has_value());
  EXPECT_NE(remote->LastError().find("dance"), std::string::npos);
  EXPECT_FALSE(remote->Call({"signon"}).has_value());
  EXPECT_FALSE(remote->Call({}).has_value());

  // A request that is not a whole encoding is answered with an error, not acted on.
  const std::string bytes = "5:signon9:Al";
  COPYDATASTRUCT data;
  data.dwData = kRequest;
  data.cbData = static_cast<uint32_t>(bytes.size());
  data.lpData = bytes.data();
  EXPECT_EQ(SendMessage(server->Window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);
  desktop.RunFor(500);
  EXPECT_EQ(client->ScreenName(), "");

  {
    sim::Desktop::ProcessScope scope(desktop, aol);
    server.reset();
  }
  EXPECT_FALSE(remote->ScreenName().has_value());
  EXPECT_FALSE(remote->LastError().empty());
}

}  // namespace
}  // namespace clientsim::channel
