// A check box: Value 0 (clear), 1 (checked) or 2 (grey); a click toggles between 0 and 1.
// Click is raised whenever Value changes, by the user or from code. Answers BM_GETCHECK,
// BM_SETCHECK and BM_CLICK.
#pragma once

#include "ui/glyph_button.h"

namespace ui {

class CheckBox : public GlyphButton {
 public:
  CheckBox(Parent parent, std::string name, const std::string& caption = "", int x = 0, int y = 0,
           int width = 120, int height = 17, int index = -1);

  int Value() const { return value_; }
  void SetValue(int value);

 protected:
  platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam,
                               platform::LPARAM lParam) override;
  void Paint(gfx::Canvas& canvas) override;
  void HandleClick() override;

 private:
  int value_ = 0;
};

}  // namespace ui
