// AOButton: the program's flat push button. A background in BackColor filling the control, one-
// pixel border lines (top and left light, bottom and right dark) and a centred caption. It
// reacts to the mouse only: while a button is held the background shows BackColorClick.
#pragma once

#include <optional>
#include <string>

#include "ui/control.h"
#include "widgets/button_look.h"

namespace widgets {

class AOButton : public ui::Control {
 public:
  static constexpr OleColor kDefaultBackColor = 11169024;    // red 0, green 109, blue 170
  static constexpr OleColor kDefaultBorderLight = 16758417;  // red 145, green 182, blue 255
  static constexpr OleColor kDefaultBorderDark = 0;
  static constexpr OleColor kNewBackColorClick = SystemColor(13);  // the highlight colour
  static constexpr OleColor kDefaultForeColor = SystemColor(14);   // the highlight-text colour
  static constexpr const char* kDefaultCaption = "AOL Button";

  AOButton(ui::Parent parent, std::string name, const std::string& caption = kDefaultCaption,
           int x = 0, int y = 0, int width = 75, int height = 25, int index = -1);

  // ---- Properties (colours as stored; system colours are resolved when painting) ----
  OleColor BackColor() const { return look_.backColor; }
  void SetBackColor(OleColor color);
  OleColor BorderLight() const { return look_.borderLight; }
  void SetBorderLight(OleColor color);
  OleColor BorderDark() const { return look_.borderDark; }
  void SetBorderDark(OleColor color);
  OleColor BackColorClick() const { return look_.backColorClick; }
  void SetBackColorClick(OleColor color);
  OleColor ForeColor() const { return look_.foreColor; }
  void SetForeColor(OleColor color);
  std::string Caption() const { return WindowText(); }
  void SetCaption(const std::string& caption);
  bool FontBold() const { return Font().bold; }
  void SetFontBold(bool bold);
  bool FontItalic() const { return Font().italic; }
  void SetFontItalic(bool italic);
  bool FontUnderline() const { return Font().underline; }
  void SetFontUnderline(bool underline);
  bool GoDown() const { return look_.goDown; }
  void SetGoDown(bool goDown) { look_.goDown = goDown; }
  int16_t MousePointer() const { return mousePointer_; }
  void SetMousePointer(int16_t pointer) { mousePointer_ = pointer; }
  // The custom pointer picture, by its file path ("" for none).
  const std::string& MouseIcon() const { return mouseIcon_; }
  void SetMouseIcon(const std::string& path) { mouseIcon_ = path; }
  const std::string& ToolTipMessage() const { return look_.toolTipMessage; }
  void SetToolTipMessage(const std::string& text) { look_.toolTipMessage = text; }
  // Font, Enabled and hwnd are the control's own (ui::Control).

  // The colour the background shows now.
  platform::COLORREF CurrentBackground() const { return ResolveColor(current_); }
  // The caption part's place, in pixels of the control: left, top and width.
  int CaptionTop() const { return captionTop_; }
  int CaptionWidth() const { return captionWidth_; }

  // ---- Stored properties ----
  PropertyBag WriteProperties() const;
  // Reads every property, taking the stored default for each name that is absent. The font
  // defaults to the container's.
  void ReadProperties(const PropertyBag& bag);

  void About();  // the plain platform message box "dfd"

  // Event 5: raised when the control is hidden. Click and the mouse events are the control's
  // own (OnClick, OnMouseDown, OnMouseMove, OnMouseUp).
  std::function<void()> OnHide;

 protected:
  platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam,
                               platform::LPARAM lParam) override;
  void Paint(gfx::Canvas& canvas) override;
  void HandleMouseDown(int button, int shift, int x, int y) override;
  void HandleMouseMove(int button, int shift, int x, int y) override;
  void HandleMouseUp(int button, int shift, int x, int y) override;
  void HandleClick() override;
  MnemonicRole Mnemonic() const override { return MnemonicRole::Click; }
  void HandleResize() override;

 private:
  void LayoutCaption();
  void ShowBackground(OleColor color);

  ButtonLook look_{.backColor = kDefaultBackColor,
                   .foreColor = kDefaultForeColor,
                   .borderLight = kDefaultBorderLight,
                   .borderDark = kDefaultBorderDark,
                   .backColorClick = kNewBackColorClick,
                   .toolTipMessage = "",
                   .goDown = true};
  OleColor current_ = kDefaultBackColor;
  int16_t mousePointer_ = 0;
  std::string mouseIcon_;
  int captionTop_ = 0;
  int captionWidth_ = 0;
};

}  // namespace widgets
