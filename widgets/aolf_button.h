// AOLFButton: the program's button drawn like the AOL client's own buttons, painted whole on
// one surface for each state: frame lines, face, an optional drop shadow and picture, the
// caption and, while focused, a dotted focus rectangle. It tracks the focus, the held mouse
// button and the mouse entering and leaving, and redraws on each change.
#pragma once

#include <optional>
#include <string>

#include "ui/control.h"
#include "widgets/button_look.h"

namespace widgets {

class AOLFButton : public ui::Control {
 public:
  static constexpr OleColor kHostFace = 11169024;
  static constexpr OleColor kHostText = 16777215;
  static constexpr OleColor kHostEdge = 16758417;
  static constexpr platform::COLORREF kFocusDots = 5608190;  // red 254, green 146, blue 85
  static constexpr platform::COLORREF kShadowGreys[3] = {8421504, 10526880, 12632256};
  static constexpr int kShadowInsets[3] = {45, 30, 15};  // twips, from the inside out
  static constexpr int kGoDownTwips = 45;

  // A new button: the caption is its name; Shadow and GoDown are off until set or read.
  AOLFButton(ui::Parent parent, std::string name, int x = 0, int y = 0, int width = 75,
             int height = 25, int index = -1);

  // ---- Properties; each set redraws ----
  std::string Caption() const { return WindowText(); }
  void SetCaption(const std::string& caption);
  int32_t Style() const { return style_; }
  void SetStyle(int32_t style);
  // Font and Enabled are the control's own (ui::Control); both redraw.
  const std::optional<gfx::Image>& Picture() const { return picture_; }
  void SetPicture(std::optional<gfx::Image> picture);
  bool Graphical() const { return graphical_; }
  void SetGraphical(bool graphical);
  int32_t AutoSize() const { return autoSize_; }
  void SetAutoSize(int32_t autoSize);
  OleColor ForeColor() const { return look_.foreColor; }
  void SetForeColor(OleColor color);
  OleColor BackColor() const { return look_.backColor; }
  void SetBackColor(OleColor color);
  bool AOLColors() const { return aolColors_; }
  // Setting true applies the host colour set (which depends on Style).
  void SetAOLColors(bool aolColors);
  OleColor BorderLight() const { return look_.borderLight; }
  void SetBorderLight(OleColor color);
  OleColor BorderDark() const { return look_.borderDark; }
  void SetBorderDark(OleColor color);
  OleColor BackColorClick() const { return look_.backColorClick; }
  void SetBackColorClick(OleColor color);
  const std::string& ToolTipMessage() const { return look_.toolTipMessage; }
  void SetToolTipMessage(const std::string& text);
  bool GoDown() const { return look_.goDown; }
  void SetGoDown(bool goDown);
  bool Shadow() const { return shadow_; }
  void SetShadow(bool shadow);

  // ---- Run-time state ----
  bool HasFocusFlag() const { return hasFocus_; }
  bool MouseHeld() const { return mouseHeld_; }
  // The state last drawn: offset in twips (0 or 45) and whether it was drawn pressed.
  int DrawnOffset() const { return drawnOffset_; }
  bool DrawnPressed() const { return drawnPressed_; }

  // ---- Stored properties ----
  PropertyBag WriteProperties() const;
  // The picture is stored by its file path; `picturePath` names it when saving.
  void SetPicturePath(const std::string& path) { picturePath_ = path; }
  void ReadProperties(const PropertyBag& bag);

  // The private-profile read of ReadINI on the file `directory` (a full path).
  std::string GetFromINI(const std::string& section, const std::string& key,
                         const std::string& directory) const;
  void ShowAboutBox();
  // The container's background colour changed: redraw at rest.
  void AmbientBackColorChanged();

  // Events besides the control's own Click, DblClick, key and mouse events.
  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseLeave;

  // Paints the button as draw(offset, pressed) does onto any canvas of its size.
  void DrawOn(gfx::Canvas& canvas, int offsetTwips, bool pressed) const;

 protected:
  platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam,
                               platform::LPARAM lParam) override;
  void Paint(gfx::Canvas& canvas) override;
  bool TakesFocus() const override { return true; }

 private:
  void Draw(int offsetTwips, bool pressed);
  int PressedOffset() const { return look_.goDown ? kGoDownTwips : 0; }
  void MouseDown(platform::WPARAM wParam, int x, int y);
  void MouseMove(platform::WPARAM wParam, int x, int y);
  void MouseUp(int x, int y);

  int32_t style_ = 0;
  std::optional<gfx::Image> picture_;
  std::string picturePath_;
  bool graphical_ = false;
  int32_t autoSize_ = 0;
  // The host colour set: a new button's, and what stored properties fall back to.
  static ButtonLook HostLook() {
    return {.backColor = kHostFace,
            .foreColor = kHostText,
            .borderLight = kHostEdge,
            .borderDark = kHostEdge,
            .backColorClick = kHostFace,
            .toolTipMessage = "",
            .goDown = false};
  }
  ButtonLook look_ = HostLook();
  bool aolColors_ = true;
  bool shadow_ = false;

  bool hasFocus_ = false;
  bool mouseHeld_ = false;
  int drawnOffset_ = 0;
  bool drawnPressed_ = false;
};

}  // namespace widgets
