#include "styling/fade_page.h"

#include <memory>
#include <optional>

#include "host/window_access.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "styling/fade_engine.h"
#include "styling/outgoing.h"
#include "styling/preset_saving.h"
#include "styling/preview_renderer.h"
#include "widgets/message_box.h"
#include "widgets/properties.h"

namespace styling {

namespace files = platform::files;
using platform::COLORREF;

namespace {

constexpr COLORREF kMaxColour = 0xFFFFFF;
constexpr std::array<COLORREF, 5> kDesignColors = {0, 0x0000FF, 0x00FFFF, 0x00C000, 0xFF0000};
constexpr gfx::Color kInstructionsColor = 0x000000;

void PlayClick() {
  host::PlaySoundFile(settings::FolderPath(widgets::kClickSound));
}

}  // namespace

using settings::MakeControl;

FadePage::FadePage(const settings::PageContext& context)
    : FadePage(context.window, context.frame, context.main) {}

FadePage::FadePage(ui::Form& window, ui::Frame& frame, container::MainWindow& main)
    : lstFades(MakeControl<ui::ListBox>(window, frame, "lstFades", 8, 18, 150, 160)),
      AOButtonRandom(MakeControl<widgets::AOButton>(window, frame, "AOButtonRandom",
                                                    "Generate Random Colors", 166, 48, 150, 23)),
      AOButtonSetFade(MakeControl<widgets::AOButton>(window, frame, "AOButtonSetFade",
                                                     "Set Fade to Pallion", 322, 48, 150, 23)),
      AOButtonSave(MakeControl<widgets::AOButton>(window, frame, "AOButtonSave",
                                                  "Save Color Scheme", 8, 184, 150, 23)),
      AOButtonDeleteFade(MakeControl<widgets::AOButton>(window, frame, "AOButtonDeleteFade",
                                                        "Delete Color Scheme", 8, 212, 150, 23)),
      picPreview(MakeControl<ui::PictureBox>(window, frame, "picPreview", 166, 80, 306, 24)),
      fraSample(
          MakeControl<ui::Frame>(window, frame, "fraSample", "Text Fade:", 166, 110, 306, 52)),
      picPreview2(MakeControl<ui::PictureBox>(window, fraSample, "picPreview2", 8, 18, 290, 26)),
      Frame7(MakeControl<ui::Frame>(window, frame, "Frame7", "Color Picker", 166, 168, 306, 110)),
      lblColor(MakeControl<ui::Label>(
          window, Frame7, "lblColor",
          "Click on any Colors 1 - 4 to choose a color from Color Pallet.", 8, 18, 290, 30)),
      lblColorPickerQ(MakeControl<ui::Label>(window, Frame7, "lblColorPickerQ",
                                             "See a color you like on your monitor screen?", 8, 50,
                                             290, 17)),
      lblColorPickerA(
          MakeControl<ui::Label>(window, Frame7, "lblColorPickerA",
                                 "Just hold Mouse Down on any Colors 1 - 4 and drag it over "
                                 "anywhere on your screen to choose that color.",
                                 8, 68, 290, 36)),
      timerColorPicker(
          MakeControl<ui::Timer>(window, frame, "timerColorPicker", kColorPickerInterval, false)),
      window_(window),
      main_(main),
      draw_(ClockSeededDraw()) {
  for (int i = 1; i <= 4; ++i) {
    const std::string n = std::to_string(i);
    auto& button = MakeControl<widgets::AOButton>(window, frame, "cmdColor", "", 166 + (i - 1) * 34,
                                                  18, 28, 24, i);
    button.SetToolTipMessage("Color " + n);
    button.SetToolTipText("Color " + n);
    cmdColor[i] = &button;
    SetColor(i, kDesignColors[i]);
    button.OnMouseDown = [this, i](int mouse, int, int, int) {
      if (mouse == ui::kLeftButton) ColorMouseDown(i);
    };
    button.OnMouseUp = [this](int mouse, int, int, int) {
      if (mouse == ui::kLeftButton) ColorMouseUp();
    };
    button.OnClick = [this, i] { ColorClick(i); };
  }
  const char* signs[] = {"-", "+"};
  const char* tips[] = {"Subtract Color", "Add Color"};
  for (int i = 0; i < 2; ++i) {
    auto& button = MakeControl<widgets::AOButton>(window, frame, "AOButtonFadePlusMinus", signs[i],
                                                  304 + i * 26, 18, 22, 24, i);
    button.SetToolTipMessage(tips[i]);
    button.SetToolTipText(tips[i]);
    button.OnClick = [this, i] { PlusMinusClick(i); };
    AOButtonFadePlusMinus[i] = &button;
  }
  for (ui::Label* label : {&lblColor, &lblColorPickerQ, &lblColorPickerA}) {
    label->SetOpaque(false);
    label->SetForeColor(kInstructionsColor);
  }
  lstFades.OnClick = [this] { FadesClick(); };
  AOButtonRandom.OnClick = [this] { RandomClick(); };
  AOButtonSetFade.OnClick = [this] { SetFadeClick(); };
  AOButtonSave.OnClick = [this] { SaveClick(); };
  AOButtonDeleteFade.OnClick = [this] { DeleteFadeClick(); };
  timerColorPicker.OnTick = [this] { ColorPickerTick(); };
  picPreview.SetBackColor(0xFFFFFF);
  picPreview2.SetBackColor(0xFFFFFF);
}

std::string FadePage::FadesFolder() const {
  return settings::FolderPath(settings::kFadesFolder);
}

COLORREF FadePage::Color(int index) const {
  return widgets::ResolveColor(cmdColor[index]->BackColor());
}

void FadePage::SetColor(int index, COLORREF color) {
  cmdColor[index]->SetBackColor(color);
  // Held, a colour button keeps showing its colour.
  cmdColor[index]->SetBackColorClick(color);
}

void FadePage::SetNumOfColors(int count) {
  numOfColors_ = count;
  cmdColor[3]->SetVisible(count >= 3);
  cmdColor[4]->SetVisible(count >= 4);
}

void FadePage::Shown() {
  AddMessage();
}

void FadePage::AddMessage() {
  lstFades.Clear();
  for (const std::string& name : ListPresets(FadesFolder())) lstFades.AddItem(name);
}

void FadePage::DrawPreviews(const std::string& sentence) {
  const std::string strip(100, 'l');
  const std::pair<ui::PictureBox*, const std::string*> previews[] = {{&picPreview, &strip},
                                                                     {&picPreview2, &sentence}};
  for (const auto& [picture, text] : previews) {
    DrawFormattedText(picture->Canvas(),
                      FadeText4(Color(1), Color(2), Color(3), Color(4), *text, false));
    picture->Refresh();
  }
}

void FadePage::FadesClick() {
  if (lstFades.ListCount() > 0 && lstFades.ListIndex() >= 0) {
    const auto path = PresetFileFor(FadesFolder(), lstFades.Text());
    const Preset preset = path ? ReadPreset(*path) : Preset{};
    if (const auto count = LoadedColourCount(preset, true)) {
      SetNumOfColors(*count);
      for (int k = 1; k <= *count; ++k) {
        if (preset.colours[k - 1]) SetColor(k, *preset.colours[k - 1]);
      }
    }
  }
  DrawPreviews(kSampleSentence);
}

void FadePage::PlusMinusClick(int index) {
  PlayClick();
  if (index == 0 && (numOfColors_ == 3 || numOfColors_ == 4)) SetNumOfColors(numOfColors_ - 1);
  if (index == 1 && (numOfColors_ == 2 || numOfColors_ == 3)) SetNumOfColors(numOfColors_ + 1);
}

void FadePage::RandomClick() {
  PlayClick();
  const auto colours = RandomFade(draw_);
  for (int k = 1; k <= 4; ++k) SetColor(k, colours[k - 1]);
  DrawPreviews(std::string(" ") + kSampleSentence);
}

void FadePage::ColorMouseDown(int index) {
  pickerTarget_ = index;
  for (int k = 1; k <= 4; ++k) cmdColor[k]->SetMousePointer(kPickerPointer);
  timerColorPicker.SetEnabled(true);
}

void FadePage::ColorMouseUp() {
  timerColorPicker.SetEnabled(false);
}

void FadePage::ColorPickerTick() {
  platform::POINT at;
  if (!platform::GetCursorPos(at)) return;
  SetColor(pickerTarget_, platform::GetScreenPixel(at.x, at.y));
}

void FadePage::ColorClick(int index) {
  timerColorPicker.SetEnabled(false);
  const auto chosen = platform::ChooseColor(window_.hwnd(), Color(index));
  if (!chosen || *chosen > kMaxColour) return;
  SetColor(index, *chosen);
}

void FadePage::SetFadeClick() {
  for (int k = 1; k <= 4; ++k) {
    main_.cmdColor[k]->SetBackColor(Color(k));
    settings::StoreSetting("Color" + std::to_string(k), std::to_string(Color(k)), window_.hwnd());
  }
}

void FadePage::SaveClick() {
  PlayClick();
  const std::optional<std::string> name =
      SavePresetAs(window_.hwnd(), numOfColors_, {Color(1), Color(2), Color(3), Color(4)});
  // The new scheme is listed at once.
  if (name && lstFades.FindExact(*name) < 0) lstFades.AddItem(*name);
}

void FadePage::DeleteFadeClick() {
  const platform::HWND owner = window_.hwnd();
  if (lstFades.ListIndex() < 0 || lstFades.Text().empty()) {
    widgets::ShowMessageBox(owner, "Please choose a Fade Scheme from the list to delete.", 0,
                            "Choose Fade Scheme");
    return;
  }
  PlayClick();
  const std::string name = lstFades.Text();
  if (widgets::ShowMessageBox(owner,
                              "Are you sure you want to Delete the Color Scheme " + name + "?", 4,
                              "Delete?") != "Yes") {
    return;
  }
  const auto path = PresetFileFor(FadesFolder(), name);
  if (!path || (files::Exists(*path) && !files::Remove(*path))) {
    widgets::ShowMessageBox(owner, "The color scheme " + name + " could not be deleted.", 0,
                            "Not Deleted");
    return;
  }
  lstFades.RemoveItem(lstFades.ListIndex());
  if (lstFades.ListCount() > 0) lstFades.SetListIndex(0);
}

}  // namespace styling
