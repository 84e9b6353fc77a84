// A label: a caption drawn in the control's font, aligned left, right or centred, wrapped at
// word breaks and at line ends, over its back colour or transparent.
#pragma once

#include "ui/control.h"

namespace ui {

enum class Alignment { Left, Right, Center };

class Label : public Control {
 public:
  Label(Parent parent, std::string name, const std::string& caption = "", int x = 0, int y = 0,
        int width = 100, int height = 17, int index = -1);

  std::string Caption() const { return WindowText(); }
  void SetCaption(const std::string& caption);
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment alignment);
  // false: the label paints no background of its own.
  bool Opaque() const { return opaque_; }
  void SetOpaque(bool opaque);
  // true: "&" in the caption underlines the next letter, and Alt with it gives the focus to the
  // control made after the label. Off by default, so that a caption showing any text (a
  // message, a name) shows its "&" as it is.
  bool UseMnemonic() const { return useMnemonic_; }
  void SetUseMnemonic(bool on);

  // The caption's lines as drawn for a given width.
  static std::vector<std::string> WrapLines(const std::string& text, const gfx::Font& font,
                                            int width);

 protected:
  void Paint(gfx::Canvas& canvas) override;
  MnemonicRole Mnemonic() const override {
    return useMnemonic_ ? MnemonicRole::FocusNext : MnemonicRole::None;
  }

 private:
  Alignment alignment_ = Alignment::Left;
  bool opaque_ = true;
  bool useMnemonic_ = false;
};

}  // namespace ui
