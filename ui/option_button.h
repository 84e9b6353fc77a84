// An option button: one of a group, the option buttons that share a container; choosing one
// (by a click or by setting Value true from code) clears the others of its container. Click
// is raised when an option becomes chosen. Answers BM_GETCHECK, BM_SETCHECK and BM_CLICK.
#pragma once

#include "ui/control.h"

namespace ui {

class OptionButton : public Control {
 public:
  OptionButton(Parent parent, std::string name, const std::string& caption = "", int x = 0,
               int y = 0, int width = 120, int height = 17, int index = -1);

  std::string Caption() const { return WindowText(); }
  void SetCaption(const std::string& caption);
  bool Value() const { return value_; }
  void SetValue(bool value);

 protected:
  platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam,
                               platform::LPARAM lParam) override;
  void Paint(gfx::Canvas& canvas) override;
  bool TakesFocus() const override { return true; }
  void HandleClick() override;
  void HandleKeyUp(int& keyCode, int shift) override;

 private:
  void ClearSiblings();
  bool value_ = false;
};

}  // namespace ui
