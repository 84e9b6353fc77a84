// The "Fade Features" page of the settings window: a fade of up to four colours composed on
// its own colour buttons (the colour dialog on a click, the colour under the pointer while a
// button is held and dragged over the screen), previewed as a strip and on a sample sentence,
// kept as a preset, chosen from the saved presets (a click or the arrow keys step through
// them), deleted, and handed to the main window. The page's fade is its own until "Set Fade to
// Pallion" copies the colours across.
//
// The page builds its controls inside the frame it is given; the settings window owns them and
// makes the page for its "Fade Features" frame.
#pragma once

#include <array>
#include <string>

#include "container/main_window.h"
#include "settings/settings_window_page.h"
#include "styling/fade_presets.h"
#include "ui/form.h"
#include "ui/frame.h"
#include "ui/label.h"
#include "ui/list_box.h"
#include "ui/picture_box.h"
#include "ui/timer.h"
#include "widgets/ao_button.h"

namespace styling {

inline constexpr const char* kSampleSentence = "Pallion \xB2\xB7\xBA By: Morvane Software";
inline constexpr int kPickerPointer = 99;
inline constexpr unsigned kColorPickerInterval = 200;

class FadePage : public settings::SettingsPage {
 public:
  explicit FadePage(const settings::PageContext& context);

  ui::ListBox& lstFades;
  std::array<widgets::AOButton*, 5> cmdColor{};               // (1) to (4); [0] unused
  std::array<widgets::AOButton*, 2> AOButtonFadePlusMinus{};  // (0) "-", (1) "+"
  widgets::AOButton& AOButtonRandom;
  widgets::AOButton& AOButtonSetFade;
  widgets::AOButton& AOButtonSave;
  widgets::AOButton& AOButtonDeleteFade;
  ui::PictureBox& picPreview;
  ui::Frame& fraSample;
  ui::PictureBox& picPreview2;
  ui::Frame& Frame7;
  ui::Label& lblColor;
  ui::Label& lblColorPickerQ;
  ui::Label& lblColorPickerA;
  ui::Timer& timerColorPicker;

  // The page is shown: the saved presets listed (AddMessage).
  void Shown() override;
  void AddMessage();

  // ---- Events ----
  void FadesClick();
  void PlusMinusClick(int index);
  void RandomClick();
  void ColorMouseDown(int index);
  void ColorMouseUp();
  void ColorClick(int index);
  void ColorPickerTick();
  void SetFadeClick();
  void SaveClick();
  void DeleteFadeClick();

  // ---- The page's fade ----
  int NumOfColors() const { return numOfColors_; }
  platform::COLORREF Color(int index) const;  // 1..4
  void SetColor(int index, platform::COLORREF color);
  // Both previews of the page's four colours, faded over `sentence`.
  void DrawPreviews(const std::string& sentence);

  // The draws of "Generate Random Colors" (the program's clock-seeded generator unless set).
  void SetRandomDraw(UniformDraw draw) { draw_ = std::move(draw); }

 private:
  FadePage(ui::Form& window, ui::Frame& frame, container::MainWindow& main);
  void SetNumOfColors(int count);
  std::string FadesFolder() const;

  ui::Form& window_;
  container::MainWindow& main_;
  int numOfColors_ = 0;
  int pickerTarget_ = 1;
  UniformDraw draw_;
};

}  // namespace styling
