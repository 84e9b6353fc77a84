#include <gtest/gtest.h>

#include "outgoing_support.h"
#include "platform/files.h"
#include "settings/settings_store.h"
#include "styling/fade_engine.h"
#include "support/desktop_events.h"
#include "support/host_files.h"

namespace {

using namespace platform;
using outgoingtest::Colours;
using outgoingtest::kBlue;
using outgoingtest::kGreen;
using outgoingtest::kRed;
using outgoingtest::kWhite;
using outgoingtest::StyledWorld;
using outgoingtest::Tag;

class FadeBar : public ::testing::Test {
 protected:
  FadeBar() : w(Colours(3)) {}
  void Click(int index) {
    w.world.desktop.Click(w.main().AOButtonMiddle[index]->hwnd());
    w.world.desktop.RunFor(50);
  }
  std::string Ini() const { return testfiles::Read(w.world.ProgramPath("\\Pallion.ini")); }
  StyledWorld w;
};

TEST_F(FadeBar, ColourButtonTakesTheChosenColourAndStoresAllFour) {
  w.world.WriteProgramFile("\\Sounds\\Click.icp", "RIFF");
  w.world.desktop.AnswerColorDialog(RGB(1, 2, 3));
  w.world.desktop.Click(w.main().cmdColor[2]->hwnd());
  w.world.desktop.RunFor(50);
  EXPECT_EQ(w.main().cmdColor[2]->BackColor(), RGB(1, 2, 3));
  EXPECT_EQ(settings::ReadSetting("Color1"), std::to_string(kRed));
  EXPECT_EQ(settings::ReadSetting("Color2"), std::to_string(RGB(1, 2, 3)));
  EXPECT_EQ(settings::ReadSetting("Color3"), std::to_string(kBlue));
  // The hidden fourth button is stored too.
  EXPECT_EQ(settings::ReadSetting("Color4"), std::to_string(kWhite));
  EXPECT_GE(testevents::Count(w.world.desktop, sim::Event::Kind::Sound, "Click.icp"), 1u);
  EXPECT_GE(testevents::Count(w.world.desktop, sim::Event::Kind::ColorDialog), 1u);
}

TEST_F(FadeBar, CancelledColourDialogChangesNothing) {
  settings::WriteSetting("Color2", "12345");
  w.world.desktop.AnswerColorDialog(std::nullopt);
  w.world.desktop.Click(w.main().cmdColor[2]->hwnd());
  w.world.desktop.RunFor(50);
  EXPECT_EQ(w.main().cmdColor[2]->BackColor(), kGreen);
  EXPECT_EQ(settings::ReadSetting("Color2"), "12345");
}

TEST_F(FadeBar, MinusAndPlusChangeTheCountAndStoreIt) {
  Click(2);
  EXPECT_EQ(w.main().NumOfColors, 2);
  EXPECT_FALSE(w.main().cmdColor[3]->Visible());
  EXPECT_FALSE(w.main().cmdColor[4]->Visible());
  EXPECT_EQ(settings::ReadSetting("NumOfColors"), "2");
  Click(3);
  Click(3);
  EXPECT_EQ(w.main().NumOfColors, 4);
  EXPECT_TRUE(w.main().cmdColor[3]->Visible());
  EXPECT_TRUE(w.main().cmdColor[4]->Visible());
  EXPECT_EQ(settings::ReadSetting("NumOfColors"), "4");
  Click(2);
  EXPECT_EQ(w.main().NumOfColors, 3);
  EXPECT_TRUE(w.main().cmdColor[3]->Visible());
  EXPECT_FALSE(w.main().cmdColor[4]->Visible());
  EXPECT_EQ(settings::ReadSetting("NumOfColors"), "3");
}

TEST_F(FadeBar, MinusAtTwoAndPlusAtFourWriteNothing) {
  Click(2);
  ASSERT_EQ(w.main().NumOfColors, 2);
  // Mark the stored count so any write would show.
  settings::WriteSetting("NumOfColors", "2 as stored");
  const std::string before = Ini();
  Click(2);
  EXPECT_EQ(w.main().NumOfColors, 2);
  EXPECT_EQ(Ini(), before);

  w.outgoing.SetNumOfColors(4);
  Click(3);
  EXPECT_EQ(w.main().NumOfColors, 4);
  EXPECT_EQ(Ini(), before);
}

TEST_F(FadeBar, FadeSwitchTogglesColourAndTooltip) {
  widgets::AOButton& sw = *w.main().AOButtonMiddle[4];
  const auto off = w.main().AOButtonMiddle[3]->BackColor();
  Click(4);
  EXPECT_EQ(sw.BackColor(), 0xCC9900u);
  EXPECT_EQ(sw.ToolTipText(), "UnFade IM");
  EXPECT_TRUE(w.outgoing.FadingOn());
  Click(4);
  EXPECT_EQ(sw.BackColor(), off);
  EXPECT_EQ(sw.ToolTipText(), "Fade IM");
  EXPECT_FALSE(w.outgoing.FadingOn());
}

TEST_F(FadeBar, NarrowsAndWidens) {
  RECT area;
  ASSERT_TRUE(GetWindowRect(w.main().picIM.hwnd(), area));
  const int iw = area.Width(), ih = area.Height();
  Click(7);
  EXPECT_EQ(w.main().AOButtonMiddle[0]->Caption(), "<");
  EXPECT_EQ(w.main().AOButtonMiddle[0]->ToolTipText(), "More Features");
  EXPECT_FALSE(w.main().AOButtonMiddle[1]->Visible());
  EXPECT_EQ(w.main().picMiddleBar.Left(), iw - 33);
  EXPECT_EQ(w.main().picMiddleBar.Top(), ih - 98);
  EXPECT_EQ(w.main().picMiddleBar.Width(), 23);
  EXPECT_EQ(w.main().picMiddleBar.Height(), 24);

  Click(0);
  EXPECT_EQ(w.main().AOButtonMiddle[0]->Caption(), "S");
  EXPECT_EQ(w.main().AOButtonMiddle[0]->ToolTipText(), "Save Color Scheme");
  EXPECT_TRUE(w.main().AOButtonMiddle[1]->Visible());
  EXPECT_EQ(w.main().picMiddleBar.Left(), 5);
  EXPECT_EQ(w.main().picMiddleBar.Top(), ih - 98);
  EXPECT_EQ(w.main().picMiddleBar.Width(), iw - 15);
  EXPECT_EQ(w.main().picMiddleBar.Height(), 24);
  // Widening did not open the save dialog.
  EXPECT_EQ(testevents::Count(w.world.desktop, sim::Event::Kind::SaveDialog), 0u);
}

TEST_F(FadeBar, RandomOptionsPopUpAndChooseTheMode) {
  w.world.desktop.AnswerNextPopupMenu("Random From Saved CS");
  Click(5);
  EXPECT_EQ(w.outgoing.Mode(), styling::RandomMode::FromSaved);
  EXPECT_TRUE(w.main().mnuSubRandomFade[3]->Checked());
  EXPECT_FALSE(w.main().mnuSubRandomFade[0]->Checked());
  EXPECT_FALSE(w.main().mnuSubRandomFade[2]->Checked());
  w.world.desktop.AnswerNextPopupMenu("Random Fade Off");
  Click(5);
  EXPECT_EQ(w.outgoing.Mode(), styling::RandomMode::Off);
  EXPECT_TRUE(w.main().mnuSubRandomFade[0]->Checked());
  EXPECT_FALSE(w.main().mnuSubRandomFade[3]->Checked());
}

TEST_F(FadeBar, SmileyOpensTheIMsOwnSmileyChoice) {
  Click(6);
  // The stand-in client's smiley icon puts ":-)" into the input box.
  EXPECT_EQ(host::GetEditText(host::FindIMInput()), ":-)");
}

const std::string kUrlPrompt = "Enter URL target for link:";
const std::string kDisplayPrompt = "Enter text to be displayed in document:";

TEST_F(FadeBar, HyperlinkGoesOutWithTheFirstTwoColoursWhileFadingIsOff) {
  ASSERT_FALSE(w.outgoing.FadingOn());
  outgoingtest::AnswerBoxes(
      w.world.desktop, {{kUrlPrompt, "OK", "http://example.org/x"}, {kDisplayPrompt, "OK", "Hey"}});
  Click(8);
  w.world.desktop.RunFor(300);
  ASSERT_EQ(w.SentTexts().size(), 1u);
  EXPECT_EQ(w.SentTexts()[0], "<A HREF=http://example.org/x>" + Tag("AA5500") + "H" +
                                  Tag("55AA00") + "e" + Tag("00FF00") + "y</A>");
  widgets::MessageBoxForm* box = widgets::CurrentMessageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->lblCaption.Caption(), "Display Text");
}

TEST_F(FadeBar, HyperlinkQuestionsOfferTheirDefaults) {
  outgoingtest::AnswerBoxes(
      w.world.desktop, {{kUrlPrompt, "OK", std::nullopt}, {kDisplayPrompt, "OK", std::nullopt}});
  Click(8);
  w.world.desktop.RunFor(300);
  ASSERT_EQ(w.SentTexts().size(), 1u);
  std::string text = "Click Here";
  EXPECT_EQ(w.SentTexts()[0], std::string("<A HREF=") + styling::kLinkDefaultAddress + ">" +
                                  styling::FadeText2(kRed, kGreen, text, false) + "</A>");
}

TEST_F(FadeBar, CancelledEmptyOrDismissedHyperlinkSendsNothing) {
  outgoingtest::AnswerBoxes(w.world.desktop, {{kUrlPrompt, "OK", "http://example.org/"},
                                              {kDisplayPrompt, "Cancel", std::nullopt}});
  Click(8);
  w.world.desktop.RunFor(300);
  EXPECT_TRUE(w.SentTexts().empty());

  outgoingtest::AnswerBoxes(w.world.desktop,
                            {{kUrlPrompt, "OK", ""}, {kDisplayPrompt, "OK", "text"}});
  Click(8);
  w.world.desktop.RunFor(300);
  EXPECT_TRUE(w.SentTexts().empty());

  outgoingtest::AnswerBoxes(
      w.world.desktop, {{kUrlPrompt, "OK", "http://example.org/"}, {kDisplayPrompt, "OK", "sent"}});
  Click(8);
  w.world.desktop.RunFor(300);
  ASSERT_EQ(w.SentTexts().size(), 1u);

  // A box closed without its buttons is no answer, even right after one answered "OK".
  outgoingtest::AnswerBoxes(
      w.world.desktop, {{kUrlPrompt, "", std::nullopt}, {kDisplayPrompt, "Cancel", std::nullopt}});
  Click(8);
  w.world.desktop.RunFor(300);
  EXPECT_EQ(w.SentTexts().size(), 1u);
  widgets::MessageBoxForm* box = widgets::CurrentMessageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->lblText.Caption(), kUrlPrompt);
}

TEST(FadeBarAol7, HyperlinkGoesIntoTheAol7InputBox) {
  StyledWorld w(Colours(3), clientsim::Layout::Aol7);
  ASSERT_NE(w.im, 0u);
  outgoingtest::AnswerBoxes(
      w.world.desktop, {{kUrlPrompt, "OK", "http://example.org/"}, {kDisplayPrompt, "OK", "ab"}});
  w.world.desktop.Click(w.main().AOButtonMiddle[8]->hwnd());
  w.world.desktop.RunFor(300);
  ASSERT_EQ(w.SentTexts().size(), 1u);
  EXPECT_EQ(w.SentTexts()[0],
            "<A HREF=http://example.org/>" + Tag("808000") + "a" + Tag("00FF00") + "b</A>");
}

}  // namespace
