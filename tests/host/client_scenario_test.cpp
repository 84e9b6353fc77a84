#include <gtest/gtest.h>

#include <memory>

#include "clientsim/client.h"
#include "host/window_access.h"
#include "platform/sim/desktop.h"
#include "platform/win32.h"
#include "support/container_fixture.h"

namespace {

using namespace platform;
using clientsim::Layout;

// The host routines against the stand-in client, under both layouts.
class WithClient : public ::testing::TestWithParam<Layout> {
 protected:
  WithClient() {
    Install(&desktop);
    aol = desktop.CreateProcess("AOL");
    client = std::make_unique<clientsim::Client>(clientsim::ClientOptions{GetParam()});
    started = client->Start();
    desktop.CreateProcess("Pallion");
    host::IsAOL7 = false;
    host::SetIMArea(0);
    client->SignOn("Alice");
    desktop.RunFor(1000);
  }
  ~WithClient() override {
    client.reset();
    host::IsAOL7 = false;
    host::SetIMArea(0);
    Install(nullptr);
  }
  bool Aol7() const { return GetParam() == Layout::Aol7; }

  sim::Desktop desktop;
  DWORD aol = 0;
  std::unique_ptr<clientsim::Client> client;
  bool started = false;
};

INSTANTIATE_TEST_SUITE_P(Layouts, WithClient, containerfix::BothClients(),
                         containerfix::ClientName);

TEST_P(WithClient, FindsTheClientsWindows) {
  ASSERT_TRUE(started);
  EXPECT_EQ(host::FindAOL(), client->MainWindow());
  EXPECT_EQ(host::FindMDI(), client->MdiClient());
  EXPECT_EQ(host::GetUserSN(), "Alice");
  EXPECT_EQ(host::FindIMWindow(), 0u);
  client->ReceiveIM("Bob", "first");
  client->ReceiveIM("Bob", "second line");
  desktop.RunFor(1000);
  HWND im = host::FindIMWindow();
  ASSERT_NE(im, 0u);
  EXPECT_EQ(im, client->IMWindow("Bob"));
  EXPECT_EQ(host::GetIMScreenName(im), "Bob");
  host::IsAOL7 = FindWindowEx(im, 0, "RICHCNTLREADONLY", nullptr) != 0;
  EXPECT_EQ(host::IsAOL7, Aol7());
  HWND view = FindWindowEx(im, 0, Aol7() ? "RICHCNTLREADONLY" : "RICHCNTL", nullptr);
  EXPECT_EQ(host::GetEditText(view), client->ConversationText("Bob"));
  EXPECT_EQ(host::GetEditText(view), "\rBob: first\rBob: second line");
  EXPECT_TRUE(host::IsIMStaticVisible(im));
  EXPECT_NE(host::GetIMIcon11(im), 0u);
}

TEST_P(WithClient, SendIMRefused) {
  client->SetUnreachable("Carl");
  EXPECT_EQ(host::SendIM("Carl", "hi"), host::SendIMResult::Refused);
  desktop.RunFor(500);
  EXPECT_EQ(client->ErrorBox(), 0u);
  EXPECT_EQ(client->SendIMWindow(), 0u);
  EXPECT_TRUE(client->SentIMs().empty());
}

TEST_P(WithClient, RichHTMLThroughTheClientsFormats) {
  client->ReceiveIM("Bob", "<b>bold</b> text");
  desktop.RunFor(1000);
  HWND im = client->IMWindow("Bob");
  host::IsAOL7 = Aol7();
  HWND view = FindWindowEx(im, 0, Aol7() ? "RICHCNTLREADONLY" : "RICHCNTL", nullptr);
  std::string html = host::GetRichHTML(view, 0);
  EXPECT_NE(html.find("bold"), std::string::npos);
  HWND input = host::NthChild(im, "RICHCNTL", Aol7() ? 1 : 2);
  host::PutRichHTML(input, 0, "<B>mine</B>");
  const std::string pasted = host::GetEditText(input);
  size_t first = pasted.find("<B>mine</B>");
  ASSERT_NE(first, std::string::npos) << pasted;
  EXPECT_EQ(pasted.find("mine", first + 11), std::string::npos) << "pasted once: " << pasted;
}

}  // namespace
