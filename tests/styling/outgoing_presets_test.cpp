#include <gtest/gtest.h>

#include <filesystem>

#include "outgoing_support.h"
#include "platform/files.h"
#include "settings/settings_store.h"
#include "support/desktop_events.h"
#include "support/host_files.h"
#include "widgets/message_box.h"

namespace {

using namespace platform;
using outgoingtest::Colours;
using outgoingtest::kBlue;
using outgoingtest::kGreen;
using outgoingtest::kRed;
using outgoingtest::StyledWorld;
using outgoingtest::Tag;

// The program's own name of a file of the Fades folder.
std::string FadeFile(const std::string& name) {
  return files::ProgramFolder() + "\\Fades\\" + name;
}

std::vector<std::string> FilesUnder(const std::string& hostFolder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(hostFolder)) {
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  }
  return names;
}

void Click(StyledWorld& w, int index) {
  w.world.desktop.Click(w.main().AOButtonMiddle[index]->hwnd());
  w.world.desktop.RunFor(50);
}

TEST(OutgoingPresets, SavingThreeColoursWritesFiveLinesAndAReloadAfterARestartGivesThemBack) {
  std::string saved;
  {
    StyledWorld w(Colours(3));
    ASSERT_FALSE(files::IsDirectory(settings::FolderPath("\\Fades")));
    w.world.desktop.AnswerFileDialog(FadeFile("Sunset.Fad"));
    Click(w, 0);
    const std::string path = w.world.ProgramPath("\\Fades\\Sunset.Fad");
    saved = testfiles::Read(path);
    EXPECT_EQ(saved, "[Fader]\r\nColors=3\r\nColor1=255\r\nColor2=65280\r\nColor3=16711680\r\n");
    bool dialog = false;
    for (const auto& e : w.world.desktop.Events()) {
      if (e.kind == sim::Event::Kind::SaveDialog) {
        dialog = true;
        EXPECT_EQ(e.text, files::ProgramFolder() + "\\Fades");
      }
    }
    EXPECT_TRUE(dialog);
  }
  // After a restart the presets folder is still there; the stored fade is another one.
  StyledWorld w({{"NumOfColors", "2"}, {"Color1", "1"}, {"Color2", "2"}});
  w.world.WriteProgramFile("\\Fades\\Sunset.Fad", saved);
  const std::string iniBefore = testfiles::Read(w.world.ProgramPath("\\Pallion.ini"));
  w.world.desktop.AnswerFileDialog(FadeFile("Sunset.Fad"));
  Click(w, 1);
  EXPECT_EQ(w.main().NumOfColors, 3);
  EXPECT_TRUE(w.main().cmdColor[3]->Visible());
  EXPECT_FALSE(w.main().cmdColor[4]->Visible());
  EXPECT_EQ(w.main().cmdColor[1]->BackColor(), kRed);
  EXPECT_EQ(w.main().cmdColor[2]->BackColor(), kGreen);
  EXPECT_EQ(w.main().cmdColor[3]->BackColor(), kBlue);
  // A load is not stored.
  EXPECT_EQ(testfiles::Read(w.world.ProgramPath("\\Pallion.ini")), iniBefore);
}

TEST(OutgoingPresets, APresetNameCannotLeaveTheFadesFolder) {
  StyledWorld w(Colours(2));
  w.world.desktop.AnswerFileDialog(files::ProgramFolder() + "\\Fades\\..\\..\\escaped");
  Click(w, 0);
  EXPECT_EQ(testfiles::Read(w.world.ProgramPath("\\Fades\\escaped.Fad")),
            "[Fader]\r\nColors=2\r\nColor1=255\r\nColor2=65280\r\n");
  std::vector<std::string> all = FilesUnder(w.world.folder);
  EXPECT_EQ(std::count(all.begin(), all.end(), "escaped.Fad"), 1);
  EXPECT_EQ(std::count(all.begin(), all.end(), "escaped"), 0);
  EXPECT_FALSE(
      std::filesystem::exists(std::filesystem::path(w.world.folder).parent_path() / "escaped.Fad"));
}

// What the fade bar's save could not do is said: a name Windows keeps for a device, a file that
// cannot be written.
TEST(OutgoingPresets, ADeviceNameOrAFailedWriteIsToldAndWritesNothing) {
  StyledWorld w(Colours(2));
  std::vector<std::string> told;
  w.world.desktop.AddResponder([&] {
    widgets::MessageBoxForm* box = widgets::CurrentMessageBox();
    if (box == nullptr || !IsWindowVisible(box->hwnd())) return false;
    told.push_back(box->lblCaption.Caption());
    w.world.desktop.Click(box->Button(0).hwnd());
    return told.size() == 2;
  });
  w.world.desktop.AnswerFileDialog(FadeFile("aux.Fad"));
  Click(w, 0);
  w.world.desktop.RunFor(500);
  files::LimitWrites(0);
  w.world.desktop.AnswerFileDialog(FadeFile("Sunset.Fad"));
  Click(w, 0);
  w.world.desktop.RunFor(500);
  files::LimitWrites(std::nullopt);
  EXPECT_EQ(told, (std::vector<std::string>{"Name not allowed", "Not Saved"}));
  EXPECT_TRUE(styling::ListPresets(settings::FolderPath("\\Fades")).empty());
  widgets::DestroyMessageBoxes();
}

TEST(OutgoingPresets, UntitledEmptyOrCancelledSavesWriteNothing) {
  StyledWorld w(Colours(2));
  w.world.desktop.AnswerFileDialog("Untitled");
  Click(w, 0);
  w.world.desktop.AnswerFileDialog("");
  Click(w, 0);
  w.world.desktop.AnswerFileDialog(std::nullopt);
  Click(w, 0);
  EXPECT_TRUE(styling::ListPresets(settings::FolderPath("\\Fades")).empty());
  EXPECT_EQ(testevents::Count(w.world.desktop, sim::Event::Kind::SaveDialog), 3u);
}

TEST(OutgoingPresets, DamagedOrOddPresetsLoadNothing) {
  StyledWorld w(Colours(3));
  w.world.WriteProgramFile("\\Fades\\Broken.Fad", std::string("\x01\xFF[Fader\r\nColors=\r\n", 20));
  w.world.WriteProgramFile("\\Fades\\Five.Fad", "[Fader]\r\nColors=5\r\nColor1=1\r\n");
  w.world.WriteProgramFile("\\Fades\\Partial.Fad",
                           "[Fader]\r\ncolor2=7\r\ncolors=2\r\nColor1=oops\r\n");
  w.world.desktop.AnswerFileDialog(FadeFile("Broken.Fad"));
  Click(w, 1);
  w.world.desktop.AnswerFileDialog(FadeFile("Five.Fad"));
  Click(w, 1);
  w.world.desktop.AnswerFileDialog(FadeFile("Missing.Fad"));
  Click(w, 1);
  EXPECT_EQ(w.main().NumOfColors, 3);
  EXPECT_EQ(w.main().cmdColor[1]->BackColor(), kRed);

  // Keys in another case and order read alike; a value that is no number keeps its colour.
  w.world.desktop.AnswerFileDialog(FadeFile("Partial.Fad"));
  Click(w, 1);
  EXPECT_EQ(w.main().NumOfColors, 2);
  EXPECT_FALSE(w.main().cmdColor[3]->Visible());
  EXPECT_EQ(w.main().cmdColor[1]->BackColor(), kRed);
  EXPECT_EQ(w.main().cmdColor[2]->BackColor(), 7u);
}

TEST(OutgoingPresets, RandomFromSavedCyclesThroughThePresetsOnEachFadedSend) {
  StyledWorld w(Colours(4));
  w.world.WriteProgramFile("\\Fades\\P1.Fad",
                           "[Fader]\r\nColors=2\r\nColor1=255\r\nColor2=65280\r\n");
  w.world.WriteProgramFile(
      "\\Fades\\P2.Fad",
      "[Fader]\r\nColors=3\r\nColor1=16711680\r\nColor2=255\r\nColor3=16777215\r\n");
  w.world.WriteProgramFile(
      "\\Fades\\P3.Fad", "[Fader]\r\nColors=5\r\nColor1=1\r\nColor2=2\r\nColor3=3\r\nColor4=4\r\n");
  ASSERT_EQ(styling::ListPresets(settings::FolderPath("\\Fades")),
            (std::vector<std::string>{"P1", "P2", "P3"}));
  w.FadeOn();
  w.main().mnuSubRandomFade[3]->Click();

  w.TypeAndEnter("ab");
  EXPECT_EQ(w.main().NumOfColors, 2);
  EXPECT_FALSE(w.main().cmdColor[3]->Visible());
  EXPECT_FALSE(w.main().cmdColor[4]->Visible());
  ASSERT_EQ(w.SentTexts().size(), 1u);
  EXPECT_EQ(w.SentTexts()[0], Tag("808000") + "a" + Tag("00FF00") + "b");

  w.TypeAndEnter("abc");
  EXPECT_EQ(w.main().NumOfColors, 3);
  EXPECT_TRUE(w.main().cmdColor[3]->Visible());
  EXPECT_FALSE(w.main().cmdColor[4]->Visible());
  ASSERT_EQ(w.SentTexts().size(), 2u);
  // Three characters over three colours split 2 + 1: blue to red, then red to white.
  EXPECT_EQ(w.SentTexts()[1], Tag("800080") + "a" + Tag("FF0000") + "b" + Tag("FFFFFF") + "c");

  w.TypeAndEnter("abc");
  // "Colors=5" counts as four here.
  EXPECT_EQ(w.main().NumOfColors, 4);
  EXPECT_TRUE(w.main().cmdColor[4]->Visible());
  EXPECT_EQ(w.main().cmdColor[4]->BackColor(), 4u);
  ASSERT_EQ(w.SentTexts().size(), 3u);
  EXPECT_EQ(w.SentTexts()[2], Tag("020000") + "a" + Tag("030000") + "b" + Tag("040000") + "c");

  w.TypeAndEnter("ab");
  EXPECT_EQ(w.main().NumOfColors, 2);
  EXPECT_EQ(w.main().cmdColor[1]->BackColor(), kRed);
  // None of it is stored.
  EXPECT_EQ(settings::ReadSetting("NumOfColors"), "4");
  EXPECT_EQ(settings::ReadSetting("Color1"), std::to_string(kRed));
}

TEST(OutgoingPresets, RandomFromSavedWithoutPresetsKeepsTheFade) {
  StyledWorld w(Colours(2));
  w.FadeOn();
  w.main().mnuSubRandomFade[3]->Click();
  w.TypeAndEnter("ab");
  ASSERT_EQ(w.SentTexts().size(), 1u);
  EXPECT_EQ(w.SentTexts()[0], Tag("808000") + "a" + Tag("00FF00") + "b");
}

}  // namespace
