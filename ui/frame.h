// A frame: a container with a caption set into an etched border (a group box).
#pragma once

#include "ui/control.h"

namespace ui {

class Frame : public Control {
 public:
  Frame(Parent parent, std::string name, const std::string& caption = "", int x = 0, int y = 0,
        int width = 150, int height = 100, int index = -1);

  std::string Caption() const { return WindowText(); }
  void SetCaption(const std::string& caption);
  // 0: no border, 1: the etched border with the caption.
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int style);

 protected:
  void Paint(gfx::Canvas& canvas) override;
  MnemonicRole Mnemonic() const override { return MnemonicRole::FocusNext; }

 private:
  int borderStyle_ = 1;
};

}  // namespace ui
