#include <gtest/gtest.h>

#include <array>

#include "gfx/canvas.h"
#include "outgoing_support.h"
#include "settings/settings_store.h"
#include "styling/fade_engine.h"
#include "support/desktop_events.h"

namespace {

using namespace platform;
using outgoingtest::Colours;
using outgoingtest::kBlue;
using outgoingtest::kGreen;
using outgoingtest::kRed;
using outgoingtest::kWhite;
using outgoingtest::StyledWorld;
using outgoingtest::Tag;

TEST(OutgoingSend, StartReadsTheColoursAndCountAndFadingIsOff) {
  StyledWorld w(Colours(3), clientsim::Layout::Aol6, false);
  EXPECT_EQ(w.main().NumOfColors, 3);
  EXPECT_TRUE(w.main().cmdColor[3]->Visible());
  EXPECT_FALSE(w.main().cmdColor[4]->Visible());
  EXPECT_EQ(w.main().cmdColor[1]->BackColor(), kRed);
  EXPECT_EQ(w.main().cmdColor[2]->BackColor(), kGreen);
  EXPECT_EQ(w.main().cmdColor[3]->BackColor(), kBlue);
  EXPECT_EQ(w.main().cmdColor[4]->BackColor(), kWhite);
  EXPECT_FALSE(w.outgoing.FadingOn());
  EXPECT_EQ(w.main().AOButtonMiddle[4]->BackColor(), w.main().AOButtonMiddle[3]->BackColor());
  EXPECT_EQ(w.outgoing.Mode(), styling::RandomMode::Off);
}

TEST(OutgoingSend, UnreadableColoursKeepTheDesignedOnesAndOtherCountsMeanFour) {
  uint32_t design2 = 0, design3 = 0;
  {
    StyledWorld designed({}, clientsim::Layout::Aol6, false);
    design2 = designed.main().cmdColor[2]->BackColor();
    design3 = designed.main().cmdColor[3]->BackColor();
    EXPECT_EQ(designed.main().NumOfColors, 4);
  }
  StyledWorld w({{"NumOfColors", "7"},
                 {"Color1", "255"},
                 {"Color2", "blue"},
                 {"Color3", "-5"},
                 {"Color4", "16777216"}},
                clientsim::Layout::Aol6, false);
  EXPECT_EQ(w.main().NumOfColors, 4);
  EXPECT_TRUE(w.main().cmdColor[3]->Visible());
  EXPECT_TRUE(w.main().cmdColor[4]->Visible());
  EXPECT_EQ(w.main().cmdColor[1]->BackColor(), kRed);
  EXPECT_EQ(w.main().cmdColor[2]->BackColor(), design2);
  EXPECT_EQ(w.main().cmdColor[3]->BackColor(), design3);
}

TEST(OutgoingSend, TheTypedTextGoesOutFadedInTheChosenNumberOfColours) {
  struct Row {
    int count;
    std::string typed, sent;
  };
  const Row rows[] = {
      {2, "Hey", Tag("AA0055") + "H" + Tag("5500AA") + "e" + Tag("0000FF") + "y"},
      {3, "Hello",
       Tag("808000") + "H" + Tag("00FF00") + "e" + Tag("00AA55") + "l" + Tag("0055AA") + "l" +
           Tag("0000FF") + "o"},
      // Three characters split 1, 1, 1: each one-character segment ends on its end colour.
      {4, "abc", Tag("00FF00") + "a" + Tag("0000FF") + "b" + Tag("FFFFFF") + "c"},
  };
  for (const Row& r : rows) {
    StyledWorld w(r.count == 2 ? Colours(2, kRed, kBlue) : Colours(r.count));
    ASSERT_NE(w.im, 0u);
    w.FadeOn();
    ASSERT_TRUE(w.outgoing.FadingOn());
    w.TypeAndEnter(r.typed);
    ASSERT_EQ(w.world.client->SentIMs().size(), 1u) << r.count;
    EXPECT_EQ(w.world.client->SentIMs()[0].to, "Bob");
    EXPECT_EQ(w.SentTexts()[0], r.sent) << r.count;
    EXPECT_EQ(host::GetEditText(host::FindIMInput()), "");
  }
}

TEST(OutgoingSend, FadingOffSendsTheTextAsTyped) {
  StyledWorld w(Colours(2, kRed, kBlue));
  w.TypeAndEnter("plain <b>words</b> & more");
  ASSERT_EQ(w.SentTexts().size(), 1u);
  EXPECT_EQ(w.SentTexts()[0], "plain <b>words</b> & more");
}

TEST(OutgoingSend, EightyCharactersAreFadedEightyOneSentAsTyped) {
  StyledWorld w(Colours(2, kRed, kBlue));
  w.FadeOn();
  const std::string eighty(80, 'x');
  w.TypeAndEnter(eighty);
  ASSERT_EQ(w.SentTexts().size(), 1u);
  const std::string faded = w.SentTexts()[0];
  // Pair mode: 40 tags of two characters, the last one exactly in colour 2.
  size_t tags = 0;
  for (size_t at = faded.find("<Font Color=#"); at != std::string::npos;
       at = faded.find("<Font Color=#", at + 1)) {
    ++tags;
  }
  EXPECT_EQ(tags, 40u);
  EXPECT_EQ(faded.substr(faded.size() - 22), Tag("0000FF") + "xx");

  const std::string eightyOne(81, 'y');
  w.TypeAndEnter(eightyOne);
  ASSERT_EQ(w.SentTexts().size(), 2u);
  EXPECT_EQ(w.SentTexts()[1], eightyOne);
}

TEST(OutgoingSend, AnEmptyBoxSendsNothing) {
  StyledWorld w(Colours(2, kRed, kBlue));
  w.FadeOn();
  w.TypeAndEnter("");
  EXPECT_TRUE(w.SentTexts().empty());
  EXPECT_EQ(host::GetEditText(host::FindIMInput()), "");
}

TEST(OutgoingSend, CtrlEnterAppendsALineBreakAndSendsNothing) {
  StyledWorld w(Colours(2, kRed, kBlue));
  w.FadeOn();
  w.TypeAndEnter("first line", 2);
  EXPECT_TRUE(w.SentTexts().empty());
  EXPECT_EQ(host::GetEditText(host::FindIMInput()), "first line\r");
}

TEST(OutgoingSend, EnterToSendUncheckedLeavesTheKeyToTheClient) {
  StyledWorld w(Colours(2, kRed, kBlue));
  w.FadeOn();
  w.main().mnuEntertoSend[0]->Click();
  ASSERT_FALSE(w.main().mnuEntertoSend[0]->Checked());
  w.TypeAndEnter("Hey");
  // The client's own Enter sent it, unstyled.
  ASSERT_EQ(w.SentTexts().size(), 1u);
  EXPECT_EQ(w.SentTexts()[0], "Hey");
}

TEST(OutgoingSend, NothingHappensWhileAnotherWindowIsInFront) {
  StyledWorld w(Colours(2, kRed, kBlue));
  w.FadeOn();
  const HWND input = host::FindIMInput();
  w.FocusInput();
  w.world.desktop.TypeText("Hey");
  SetForegroundWindow(w.main().hwnd());
  ASSERT_NE(GetForegroundWindow(), host::FindAOL());
  int key = VK_RETURN, noPass = 0;
  w.outgoing.KeyReported(key, 0, noPass);
  w.world.desktop.RunFor(200);
  EXPECT_EQ(noPass, 0);
  EXPECT_TRUE(w.SentTexts().empty());
  EXPECT_EQ(host::GetEditText(input), "Hey");
}

TEST(OutgoingSend, AnotherClientWindowOnTopLeavesTheKeyToTheClient) {
  StyledWorld w(Colours(2, kRed, kBlue));
  w.FadeOn();
  const HWND welcome = w.world.client->WelcomeWindow();
  ASSERT_NE(welcome, 0u);
  ShowWindow(welcome, SW_SHOW);
  BringWindowToTop(welcome);
  ASSERT_NE(FindWindowEx(host::FindMDI(), 0, "AOL Child", nullptr), w.world.container);
  w.TypeAndEnter("Hey");
  // The client's own Enter sent it, unstyled.
  ASSERT_EQ(w.SentTexts().size(), 1u);
  EXPECT_EQ(w.SentTexts()[0], "Hey");
}

TEST(OutgoingSend, FloatModeFadesWhateverWindowIsInFront) {
  StyledWorld w(Colours(2, kRed, kBlue));
  w.FadeOn();
  w.main().SetFloatMode(true);
  w.world.desktop.RunFor(100);
  ASSERT_TRUE(IsWindowVisible(w.main().frmIMFloat().hwnd()));
  ASSERT_EQ(host::FindCurrentIM(), w.im);
  {
    sim::Desktop::ProcessScope scope(w.world.desktop, w.world.aol);
    SetFocus(host::FindIMInput());
  }
  SetForegroundWindow(w.main().frmIMFloat().hwnd());
  w.world.desktop.TypeText("Hey");
  w.world.desktop.PressKey(VK_RETURN);
  w.world.desktop.RunFor(300);
  ASSERT_EQ(w.SentTexts().size(), 1u);
  EXPECT_EQ(w.SentTexts()[0], Tag("AA0055") + "H" + Tag("5500AA") + "e" + Tag("0000FF") + "y");
  w.main().SetFloatMode(false);
}

TEST(OutgoingSend, RandomFadeGivesValidColoursToAllFourButtons) {
  StyledWorld w(Colours(2, kRed, kBlue));
  w.FadeOn();
  w.main().mnuSubRandomFade[2]->Click();
  ASSERT_EQ(w.outgoing.Mode(), styling::RandomMode::RandomFade);
  EXPECT_TRUE(w.main().mnuSubRandomFade[2]->Checked());
  EXPECT_FALSE(w.main().mnuSubRandomFade[0]->Checked());
  int changed = 0;
  for (int round = 0; round < 3; ++round) {
    std::array<uint32_t, 5> before{};
    for (int i = 1; i <= 4; ++i) before[i] = w.main().cmdColor[i]->BackColor();
    w.TypeAndEnter("Hey");
    for (int i = 1; i <= 4; ++i) {
      const uint32_t c = w.main().cmdColor[i]->BackColor();
      EXPECT_LE(c, 0xFFFFFFu);
      if (c != before[i]) ++changed;
    }
    ASSERT_EQ(w.SentTexts().size(), static_cast<size_t>(round + 1));
    std::string hey = "Hey";
    EXPECT_EQ(w.SentTexts().back(),
              styling::FadeText2(w.main().cmdColor[1]->BackColor(),
                                 w.main().cmdColor[2]->BackColor(), hey, false));
  }
  EXPECT_GE(changed, 9);
  EXPECT_EQ(w.main().NumOfColors, 2);
  // Nothing of it is stored.
  EXPECT_EQ(settings::ReadSetting("Color1"), std::to_string(kRed));
}

TEST(OutgoingSend, TabSelectsTheNextTabAndWraps) {
  StyledWorld w(Colours(2, kRed, kBlue));
  ASSERT_NE(w.world.ReceiveAndAdopt("Carl", "yo"), 0u);
  ASSERT_NE(w.world.ReceiveAndAdopt("Dana", "hey"), 0u);
  ASSERT_EQ(w.main().TabStrip1.Count(), 3);
  w.main().TabStrip1.SetSelectedItem(2);
  w.world.desktop.RunFor(100);
  w.FocusInput();

  w.world.desktop.PressKey(VK_TAB);
  w.world.desktop.RunFor(100);
  EXPECT_EQ(w.main().TabStrip1.SelectedItem(), 3);
  EXPECT_EQ(host::FindCurrentIM(), w.world.client->IMWindow("Dana"));
  EXPECT_EQ(host::GetCaption(w.world.container), "Pallion \xB2\xB7\xBA : Dana");

  SetForegroundWindow(host::FindAOL());
  w.world.desktop.PressKey(VK_TAB);
  w.world.desktop.RunFor(100);
  EXPECT_EQ(w.main().TabStrip1.SelectedItem(), 1);
  EXPECT_EQ(host::FindCurrentIM(), w.world.client->IMWindow("Bob"));

  int key = VK_TAB, noPass = 0;
  SetForegroundWindow(host::FindAOL());
  w.outgoing.KeyReported(key, 0, noPass);
  EXPECT_EQ(noPass, 8);
  EXPECT_EQ(w.main().TabStrip1.SelectedItem(), 2);
}

TEST(OutgoingSend, TabToSwitchUncheckedLeavesTheTabs) {
  StyledWorld w(Colours(2, kRed, kBlue));
  ASSERT_NE(w.world.ReceiveAndAdopt("Carl", "yo"), 0u);
  w.main().mnuEntertoSend[1]->Click();
  const int selected = w.main().TabStrip1.SelectedItem();
  int key = VK_TAB, noPass = 0;
  SetForegroundWindow(host::FindAOL());
  w.outgoing.KeyReported(key, 0, noPass);
  EXPECT_EQ(noPass, 0);
  EXPECT_EQ(w.main().TabStrip1.SelectedItem(), selected);
}

TEST(OutgoingSend, SendButtonSendsUnstyled) {
  StyledWorld w(Colours(2, kRed, kBlue));
  w.world.WriteProgramFile("\\Sounds\\Click.icp", "RIFF");
  w.FadeOn();
  w.FocusInput();
  w.world.desktop.TypeText("as typed");
  w.world.desktop.Click(w.main().AOButtonSend.hwnd());
  w.world.desktop.RunFor(300);
  ASSERT_EQ(w.SentTexts().size(), 1u);
  EXPECT_EQ(w.SentTexts()[0], "as typed");
  EXPECT_GE(testevents::Count(w.world.desktop, sim::Event::Kind::Sound, "Click.icp"), 1u);
}

TEST(OutgoingSend, AfterAFadedIMTheConversationShowsIt) {
  StyledWorld w(Colours(2, kRed, kBlue));
  w.FadeOn();
  w.TypeAndEnter("Faded hello from Alice!");
  ASSERT_EQ(w.SentTexts().size(), 1u);
  EXPECT_NE(w.world.client->ConversationText("Bob").find("Faded hello from Alice!"),
            std::string::npos);
  w.world.desktop.RunFor(300);

  // The conversation view shows reddish letters at the start of the line and bluish ones at
  // its end.
  const HWND view = host::NthChild(w.im, "RICHCNTL", 1);
  RECT r;
  ASSERT_TRUE(GetWindowRect(view, r));
  const gfx::Canvas screen = w.world.desktop.RenderScreen();
  int reddish = 0, bluish = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      const gfx::Color c = screen.GetPixel(x, y);
      const int red = GetRValue(c), green = GetGValue(c), blue = GetBValue(c);
      if (red > 140 && blue < 90 && green < 60) ++reddish;
      if (blue > 140 && red < 90 && green < 60) ++bluish;
    }
  }
  EXPECT_GT(reddish, 5);
  EXPECT_GT(bluish, 5);
}

}  // namespace
