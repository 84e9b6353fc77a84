// The "Fade Features" page driven as a person does: presets chosen, composed with the colour
// dialog and the screen picker, previewed, saved, deleted and handed to the main window.
#include "styling/fade_page.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/files.h"
#include "platform/sim/desktop.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"
#include "support/desktop_events.h"
#include "support/ui_person.h"
#include "support/widgets_person.h"
#include "ui/form.h"
#include "ui/frame.h"
#include "widgets/message_box.h"
#include "widgets/properties.h"

namespace {

namespace files = platform::files;
using platform::COLORREF;
using platform::sim::Event;

constexpr COLORREF kRed = 255;
constexpr COLORREF kBlue = 16711680;

class FadePageTest : public ::testing::Test {
 protected:
  FadePageTest() : person(world.desktop) {
    form = std::make_unique<ui::Form>("frmSettings", "Control Panel", ui::BorderStyle::FixedDialog);
    form->Move(40, 40, 520, 430);
    frame = &form->Add<ui::Frame>("Frame3", "Fade Features", 8, 8, 496, 380);
    page = std::make_unique<styling::FadePage>(settings::PageContext{*form, *frame, *world.main});
    form->Show();
    world.desktop.RunPending();
  }
  ~FadePageTest() override {
    page.reset();
    form.reset();
    widgets::DestroyMessageBoxes();
  }
  static std::string Fades() { return settings::FolderPath(settings::kFadesFolder); }
  void WritePreset(const std::string& name, const std::string& body) {
    world.WriteProgramFile(std::string(settings::kFadesFolder) + name + ".Fad", body);
  }
  void ClickItem(const ui::ListBox& list, int index) {
    person.Click(list, 10, 2 + index * list.ItemHeight() + list.ItemHeight() / 2);
  }
  size_t Count(Event::Kind kind) const { return testevents::Count(world.desktop, kind); }
  // True when the preview shows a pixel close to `color`.
  static bool Shows(ui::PictureBox& picture, COLORREF color) {
    gfx::Canvas& canvas = picture.Canvas();
    const auto near = [](int a, int b) { return a - b < 40 && b - a < 40; };
    for (gfx::Color p : canvas.Pixels()) {
      if (near(p & 0xFF, color & 0xFF) && near((p >> 8) & 0xFF, (color >> 8) & 0xFF) &&
          near((p >> 16) & 0xFF, (color >> 16) & 0xFF)) {
        return true;
      }
    }
    return false;
  }

  containerfix::World world;
  uitest::Person person;
  std::unique_ptr<ui::Form> form;
  ui::Frame* frame = nullptr;
  std::unique_ptr<styling::FadePage> page;
};

TEST_F(FadePageTest, BeforeAPresetIsChosenPlusMinusDoNothingAndSaveStoresNoColours) {
  page->Shown();
  person.Click(*page->AOButtonFadePlusMinus[1]);
  person.Click(*page->AOButtonFadePlusMinus[0]);
  EXPECT_EQ(page->NumOfColors(), 0);
  EXPECT_TRUE(page->cmdColor[3]->Visible());
  EXPECT_TRUE(page->cmdColor[4]->Visible());

  world.desktop.AnswerFileDialog(Fades() + "Plain");
  person.Click(page->AOButtonSave);
  EXPECT_EQ(world.desktop.Events().back().text, settings::FolderPath("\\Fades"));
  EXPECT_EQ(files::ReadAll(Fades() + "Plain.Fad").value_or(""), "[Fader]\r\nColors=0\r\n");
  EXPECT_EQ(page->lstFades.List(0), "Plain");
  // Such a preset loads nothing.
  ClickItem(page->lstFades, 0);
  EXPECT_EQ(page->NumOfColors(), 0);
}

TEST_F(FadePageTest, AChosenPresetLoadsAndThePreviewsFadeThroughAllFourButtons) {
  WritePreset("Duo", "[Fader]\r\nColors=2\r\nColor1=255\r\nColor2=16711680\r\n");
  WritePreset("Trio", "[fader]\r\ncolor3=65280\r\ncolors=3\r\nColor1=0\r\nColor2=16777215\r\n");
  page->Shown();
  ASSERT_EQ(page->lstFades.ListCount(), 2);
  page->SetColor(3, 0x00FFFF);  // yellow, about to be hidden
  ClickItem(page->lstFades, 0);
  EXPECT_EQ(page->NumOfColors(), 2);
  EXPECT_FALSE(page->cmdColor[3]->Visible());
  EXPECT_FALSE(page->cmdColor[4]->Visible());
  EXPECT_EQ(page->Color(1), kRed);
  EXPECT_EQ(page->Color(2), kBlue);
  EXPECT_TRUE(Shows(page->picPreview, 0x00FFFF));
  EXPECT_TRUE(Shows(page->picPreview2, kRed));

  // The arrow key steps to the next preset.
  person.Press(platform::VK_DOWN);
  EXPECT_EQ(page->NumOfColors(), 3);
  EXPECT_TRUE(page->cmdColor[3]->Visible());
  EXPECT_EQ(page->Color(3), 65280u);
  EXPECT_EQ(page->Color(2), 16777215u);

  person.Click(*page->AOButtonFadePlusMinus[1]);
  EXPECT_EQ(page->NumOfColors(), 4);
  EXPECT_TRUE(page->cmdColor[4]->Visible());
  person.Click(*page->AOButtonFadePlusMinus[1]);
  EXPECT_EQ(page->NumOfColors(), 4);
  person.Click(*page->AOButtonFadePlusMinus[0]);
  person.Click(*page->AOButtonFadePlusMinus[0]);
  EXPECT_EQ(page->NumOfColors(), 2);
  EXPECT_FALSE(page->cmdColor[3]->Visible());
}

TEST_F(FadePageTest, AClickOpensTheColourDialogAndCancellingChangesNothing) {
  world.desktop.AnswerColorDialog(0x123456);
  person.Click(*page->cmdColor[2]);
  EXPECT_EQ(page->Color(2), 0x123456u);
  world.desktop.AnswerColorDialog(std::nullopt);
  person.Click(*page->cmdColor[2]);
  EXPECT_EQ(page->Color(2), 0x123456u);
  EXPECT_EQ(Count(Event::Kind::ColorDialog), 2u);
}

TEST_F(FadePageTest, HoldingAColourButtonOverTheScreenPicksTheColourUnderThePointer) {
  ui::Form red("frmRed", "", ui::BorderStyle::None);
  red.SetBackColor(kRed);
  red.Move(700, 600, 100, 100);
  red.Show();
  world.desktop.RunPending();
  platform::HWND button = page->cmdColor[3]->hwnd();
  world.desktop.MouseDown(button, 5, 5);
  EXPECT_EQ(page->cmdColor[1]->MousePointer(), styling::kPickerPointer);
  world.desktop.MouseMoveTo({750, 650});
  world.desktop.RunFor(250);
  EXPECT_EQ(page->Color(3), kRed);
  // Released over the red area: no click, no dialog; the picked colour stays.
  platform::POINT at{750, 650};
  platform::ScreenToClient(button, at);
  world.desktop.MouseUp(button, at.x, at.y);
  world.desktop.RunFor(1000);
  EXPECT_FALSE(page->timerColorPicker.Enabled());
  EXPECT_EQ(page->Color(3), kRed);
  EXPECT_EQ(Count(Event::Kind::ColorDialog), 0u);
}

TEST_F(FadePageTest, SetFadeHandsTheColoursToTheMainWindowAndKeepsItsNumberOfColours) {
  const int before = world.main->NumOfColors;
  world.desktop.AnswerColorDialog(0x010203);
  person.Click(*page->cmdColor[1]);
  person.Click(page->AOButtonSetFade);
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(widgets::ResolveColor(world.main->cmdColor[k]->BackColor()), page->Color(k));
    EXPECT_EQ(settings::ReadSetting("Color" + std::to_string(k)), std::to_string(page->Color(k)));
  }
  EXPECT_EQ(settings::ReadSetting("Color1"), "66051");
  EXPECT_EQ(world.main->NumOfColors, before);
}

TEST_F(FadePageTest, PresetNamesStayInsideTheFadesFolderAndDeviceNamesAreRefused) {
  WritePreset("Duo", "[Fader]\r\nColors=2\r\nColor1=255\r\nColor2=16711680\r\n");
  page->Shown();
  ClickItem(page->lstFades, 0);
  world.desktop.AnswerFileDialog("..\\..\\Escape");
  person.Click(page->AOButtonSave);
  EXPECT_TRUE(files::Exists(Fades() + "Escape.Fad"));
  EXPECT_FALSE(files::Exists(settings::FolderPath("\\..\\Escape.Fad")));

  for (const char* name : {"CON", "aux.txt", "Com1.Fad"}) {
    world.desktop.AnswerFileDialog(Fades() + name);
    widgets_person::AnswerNextMessageBox(world.desktop, "OK");
    person.Click(page->AOButtonSave);
    EXPECT_EQ(widgets::CurrentMessageBox()->lblCaption.Caption(), "Name not allowed") << name;
  }
  EXPECT_EQ(files::List(Fades(), "*").size(), 2u);

  // A folder where the preset would go: the failed write is reported.
  std::filesystem::create_directories(std::filesystem::path(world.folder) / "Fades" / "Dir.Fad");
  world.desktop.AnswerFileDialog(Fades() + "Dir");
  widgets_person::AnswerNextMessageBox(world.desktop, "OK");
  person.Click(page->AOButtonSave);
  EXPECT_EQ(widgets::CurrentMessageBox()->lblCaption.Caption(), "Not Saved");
}

TEST_F(FadePageTest, DeletingAPresetAsksThenSelectsAndLoadsTheFirstRemaining) {
  WritePreset("A", "[Fader]\r\nColors=3\r\nColor1=1\r\nColor2=2\r\nColor3=3\r\n");
  WritePreset("B", "[Fader]\r\nColors=2\r\nColor1=255\r\nColor2=16711680\r\n");
  page->Shown();
  widgets_person::AnswerNextMessageBox(world.desktop, "OK");
  person.Click(page->AOButtonDeleteFade);
  EXPECT_EQ(widgets::CurrentMessageBox()->lblText.Caption(),
            "Please choose a Fade Scheme from the list to delete.");

  ClickItem(page->lstFades, 1);
  widgets_person::AnswerNextMessageBox(world.desktop, "No");
  person.Click(page->AOButtonDeleteFade);
  EXPECT_TRUE(files::Exists(Fades() + "B.Fad"));
  ClickItem(page->lstFades, 0);
  widgets_person::AnswerNextMessageBox(world.desktop, "Yes");
  person.Click(page->AOButtonDeleteFade);
  EXPECT_EQ(widgets::CurrentMessageBox()->lblText.Caption(),
            "Are you sure you want to Delete the Color Scheme A?");
  EXPECT_FALSE(files::Exists(Fades() + "A.Fad"));
  ASSERT_EQ(page->lstFades.ListCount(), 1);
  EXPECT_EQ(page->lstFades.ListIndex(), 0);
  EXPECT_EQ(page->NumOfColors(), 2);
  EXPECT_EQ(page->Color(1), kRed);
}

TEST_F(FadePageTest, RandomColoursComeFromTheDrawsForAllFourButtons) {
  std::vector<double> draws = {0, 1.0 / 255, 0.5, 0.9999, 0, 0, 0.002, 0.5, 0.5, 1.0 / 255, 0, 0};
  size_t next = 0;
  page->SetRandomDraw([&] { return draws[next++ % draws.size()]; });
  person.Click(page->AOButtonRandom);
  EXPECT_EQ(page->Color(1), 0u + 256u * 1 + 65536u * 128);
  EXPECT_EQ(page->Color(2), 255u);
  EXPECT_EQ(page->Color(3), 1u + 256u * 128 + 65536u * 128);
  EXPECT_EQ(page->Color(4), 1u);
  EXPECT_TRUE(Shows(page->picPreview, page->Color(3)));
}

}  // namespace
