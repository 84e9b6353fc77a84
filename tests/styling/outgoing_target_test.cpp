// The text typed for an IM goes to that IM or nowhere: Enter and the Send button keep to the IM
// they read, even when the person's click on another tab is handled while the send is under way.
#include <gtest/gtest.h>

#include "clientsim/html.h"
#include "outgoing_support.h"
#include "support/ui_person.h"

namespace {

using namespace platform;
using outgoingtest::StyledWorld;

std::vector<std::pair<std::string, std::string>> TabsLook() {
  auto settings = outgoingtest::Colours(2);
  settings.push_back({"Style", "1"});
  return settings;
}

// Bob's IM holds a draft of its own; Carl's IM is shown with the text typed for Carl.
struct TwoDrafts {
  TwoDrafts() : w(TabsLook()), person(w.world.desktop) {
    bob = w.im;
    carl = w.world.ReceiveAndAdopt("Carl", "hi");
    EXPECT_NE(carl, 0u);
    Type(1, "for bob");
    Type(2, "for carl");
  }
  void Type(int tab, const std::string& text) {
    EXPECT_TRUE(person.ClickTab(w.main().TabStrip1, tab));
    w.FocusInput();
    w.world.desktop.TypeText(text);
  }
  // The person's click on Bob's tab, handled at the next chance the program gives events.
  void BobsTabClickedMeanwhile() {
    w.world.desktop.Schedule(0, [this] { person.ClickTab(w.main().TabStrip1, 1); });
  }
  std::string InputOf(HWND im) { return host::GetEditText(host::FindIMInputOf(im)); }
  void ExpectOnlyCarlGot(const std::string& plain) {
    const auto& sent = w.world.client->SentIMs();
    std::string all;
    for (const auto& im : sent) all += im.to + ": " + im.text + "\n";
    ASSERT_EQ(sent.size(), 1u) << all;
    EXPECT_EQ(sent[0].to, "Carl");
    EXPECT_EQ(clientsim::StripTags(sent[0].text), plain);
    EXPECT_EQ(InputOf(bob), "for bob");
    EXPECT_EQ(host::FindCurrentIM(), bob);
  }

  StyledWorld w;
  uitest::Person person;
  HWND bob = 0, carl = 0;
};

TEST(OutgoingTarget, EnterSendsTheFadedTextToTheIMItWasTypedIn) {
  TwoDrafts d;
  d.w.FadeOn();
  d.w.FocusInput();
  d.BobsTabClickedMeanwhile();
  d.w.world.desktop.PressKey(VK_RETURN);
  d.w.world.desktop.RunFor(500);
  d.ExpectOnlyCarlGot("for carl");
  EXPECT_NE(d.w.world.client->SentIMs()[0].text.find("<Font Color=#"), std::string::npos);
  EXPECT_EQ(d.InputOf(d.carl), "");
}

TEST(OutgoingTarget, EnterSendsThePlainTextToTheIMItWasTypedIn) {
  TwoDrafts d;
  d.w.FocusInput();
  d.BobsTabClickedMeanwhile();
  d.w.world.desktop.PressKey(VK_RETURN);
  d.w.world.desktop.RunFor(500);
  d.ExpectOnlyCarlGot("for carl");
}

TEST(OutgoingTarget, TheSendButtonSendsTheIMShownWhenItWasClicked) {
  TwoDrafts d;
  widgets::AOLFButton& send = d.w.main().AOButtonSend;
  // The tab click arrives while the program handles the click on Send.
  send.OnClick = [&d, press = send.OnClick] {
    d.BobsTabClickedMeanwhile();
    press();
  };
  d.person.Click(send);
  d.w.world.desktop.RunFor(500);
  d.ExpectOnlyCarlGot("for carl");
}

}  // namespace
