// An option button: one of a group, the option buttons that share a container; choosing one
// (by a click or by setting Value true from code) clears the others of its container. Click
// is raised when an option becomes chosen. Answers BM_GETCHECK, BM_SETCHECK and BM_CLICK.
#pragma once

#include "ui/glyph_button.h"

namespace ui {

class OptionButton : public GlyphButton {
 public:
  OptionButton(Parent parent, std::string name, const std::string& caption = "", int x = 0,
               int y = 0, int width = 120, int height = 17, int index = -1);

  bool Value() const { return value_; }
  void SetValue(bool value);

 protected:
  platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam,
                               platform::LPARAM lParam) override;
  void Paint(gfx::Canvas& canvas) override;
  void HandleClick() override;

 private:
  void ClearSiblings();
  bool value_ = false;
};

}  // namespace ui
