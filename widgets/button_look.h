// What both of the program's buttons (AOButton and AOLFButton) keep and store alike: their
// colours, the tool-tip text and whether the face moves down while pressed, and the font a new
// button takes.
#pragma once

#include <string>

#include "gfx/canvas.h"
#include "ui/control.h"
#include "widgets/properties.h"

namespace widgets {

struct ButtonLook {
  OleColor backColor = 0;
  OleColor foreColor = 0;
  OleColor borderLight = 0;
  OleColor borderDark = 0;
  OleColor backColorClick = 0;
  std::string toolTipMessage;
  bool goDown = false;
};

// The look with the caption, font and enabled state of `button`, as stored properties.
PropertyBag WriteButtonProperties(const ui::Control& button, const ButtonLook& look);
// The look stored in `bag`, taking `defaults` for each name that is absent.
ButtonLook ReadButtonLook(const PropertyBag& bag, const ButtonLook& defaults);

// Tahoma, the font of a new button.
gfx::Font ButtonFont();
// The font of the button's container, or ButtonFont when the container is not ours.
gfx::Font ContainerFont(platform::HWND parent);

}  // namespace widgets
