// What check boxes and option buttons share: a caption beside a glyph at the left, with the
// space bar and BM_CLICK acting as a click.
#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

class GlyphButton : public Control {
 public:
  std::string Caption() const { return WindowText(); }
  void SetCaption(const std::string& caption);

 protected:
  GlyphButton(Parent parent, std::string name, int index, const WindowParams& params);

  platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam,
                               platform::LPARAM lParam) override;
  bool TakesFocus() const override { return true; }
  MnemonicRole Mnemonic() const override { return MnemonicRole::Click; }
  void HandleKeyUp(int& keyCode, int shift) override;
  // The caption from `textX`, vertically centred, with a focus rectangle around it when the
  // button has the focus.
  void PaintCaption(gfx::Canvas& canvas, int textX) const;
};

}  // namespace ui
