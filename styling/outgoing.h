// Outgoing IM styling on the main window: the current fade (colour buttons cmdColor (1) to (4)
// and the number of colours), the fade switch, the random modes of "Fade Options", the Enter
// and Tab keys reported by the keyboard hook, the fade bar AOButtonMiddle (0) to (8) and the
// unstyled "Send" button.
//
// Attach once per main window, before or after it loads:
//   styling::AttachOutgoing(main);
// The returned object lives as long as the main window's handlers do.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "container/main_window.h"
#include "styling/fade_presets.h"

namespace styling {

// Fade-bar button 4 has this back colour exactly while fading is on.
inline constexpr platform::COLORREF kFadeOnColor = 0xCC9900;
// Longer texts go out as typed.
inline constexpr size_t kMaxFadedLength = 80;
inline constexpr const char* kLinkDefaultAddress = "http://www.pallion.com";

// The item of mnuSubRandomFade that carries the check mark.
enum class RandomMode { Off = 0, RandomFade = 2, FromSaved = 3 };

class Outgoing {
 public:
  explicit Outgoing(container::MainWindow& main);
  ~Outgoing();
  Outgoing(const Outgoing&) = delete;
  Outgoing& operator=(const Outgoing&) = delete;

  // Start step: NumOfColors and Color1 to Color4 of Pallion.ini.
  void SettingsFromINI();

  // ---- Events ----
  void KeyReported(int& keyCode, int shift, int& noPass);
  void ColorClicked(int index);
  void MiddleClicked(int index);
  void RandomFadeClicked(int index);
  void SendClicked();

  // ---- The current fade ----
  bool FadingOn() const;
  RandomMode Mode() const;
  // Sets the number of colours and shows or hides colour buttons 3 and 4 to match.
  void SetNumOfColors(int count);
  platform::COLORREF Color(int index) const;  // back colour of cmdColor(index), 1..4
  // The text faded with the current number of colours and colours (wave off).
  std::string Fade(const std::string& text) const;
  // Four random colours on the colour buttons.
  void RandomFade();
  // The next saved preset on the colour buttons and the number of colours.
  void RandomFade2();

  // The draws of RandomFade (the clock-seeded generator unless replaced).
  void SetRandomDraw(UniformDraw draw) { draw_ = std::move(draw); }

 private:
  bool HookMayAct() const;
  void EnterKey(int shift, int& noPass);
  void NextTab(int& noPass);
  void ApplyPreset(const Preset& preset, bool fiveMeansFour);
  void SavePresetCommand();
  void LoadPresetCommand();
  void SendLink();
  void SetColor(int index, platform::COLORREF color);
  std::string FadesFolder() const;

  container::MainWindow& main_;
  PresetCursor cursor_;
  UniformDraw draw_;
};

// Wires the styling into the main window: the start step, the colour buttons, the fade bar,
// the random-mode items, the Send button and the keyboard hook (started here); the four-colour
// fade yields to the platform's DoEvents.
Outgoing& AttachOutgoing(container::MainWindow& main);

}  // namespace styling
