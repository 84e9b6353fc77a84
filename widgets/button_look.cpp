#include "widgets/button_look.h"

namespace widgets {

PropertyBag WriteButtonProperties(const ui::Control& button, const ButtonLook& look) {
  return PropertyBag{
      {"Caption", button.WindowText()},
      {"Font", FontText(button.Font())},
      {"Enabled", FlagText(button.Enabled())},
      {"BackColor", ColorText(look.backColor)},
      {"ForeColor", ColorText(look.foreColor)},
      {"BorderLight", ColorText(look.borderLight)},
      {"BorderDark", ColorText(look.borderDark)},
      {"BackColorClick", ColorText(look.backColorClick)},
      {"ToolTipMessage", look.toolTipMessage},
      {"GoDown", FlagText(look.goDown)},
  };
}

ButtonLook ReadButtonLook(const PropertyBag& bag, const ButtonLook& defaults) {
  ButtonLook look;
  look.backColor = ReadColor(bag, "BackColor", defaults.backColor);
  look.foreColor = ReadColor(bag, "ForeColor", defaults.foreColor);
  look.borderLight = ReadColor(bag, "BorderLight", defaults.borderLight);
  look.borderDark = ReadColor(bag, "BorderDark", defaults.borderDark);
  look.backColorClick = ReadColor(bag, "BackColorClick", defaults.backColorClick);
  look.toolTipMessage = ReadText(bag, "ToolTipMessage", defaults.toolTipMessage);
  look.goDown = ReadFlag(bag, "GoDown", defaults.goDown);
  return look;
}

gfx::Font ButtonFont() {
  gfx::Font font;
  font.face = "Tahoma";
  return font;
}

gfx::Font ContainerFont(platform::HWND parent) {
  ui::Control* container = ui::Control::FromHwnd(parent);
  return container != nullptr ? container->Font() : ButtonFont();
}

}  // namespace widgets
