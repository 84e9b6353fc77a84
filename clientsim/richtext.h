// The client's rich-text control ("RICHCNTL", "RICHCNTLREADONLY"): formatted text in lines
// separated by CR, a selection, the client's copy/paste commands through its private
// clipboard formats, and typing.
#pragma once

#include <functional>
#include <string>

#include "clientsim/control.h"
#include "clientsim/html.h"

namespace clientsim {

// The control's own commands, sent to it as WM_COMMAND.
constexpr platform::UINT kCmdCopy = 20002;
constexpr platform::UINT kCmdPaste = 20003;
constexpr platform::UINT kCmdSelectAll = 20005;
inline constexpr const char* kClipFormat = "AOLMAIL";
inline constexpr const char* kClipFormat2 = "AOLMAIL2";

class RichText : public Control {
 public:
  // A conversation view answers WM_GETTEXT with nothing: it is read line by line.
  explicit RichText(bool conversationView) : view_(conversationView) {}

  std::function<void()> onEnter;     // Enter typed
  std::function<void()> onActivate;  // clicked or focused

  // The text as set or as last edited: the HTML given to WM_SETTEXT, else the plain text, or
  // the HTML of the content when an edit left it formatted.
  std::string Raw() const;
  std::string Plain() const { return PlainText(text_); }
  void SetContent(const std::string& html);
  // Appends a line (CR first) of styled text and shows it.
  void AppendLine(const StyledText& line);

 protected:
  platform::LRESULT Handle(platform::UINT msg, platform::WPARAM wParam,
                           platform::LPARAM lParam) override;
  void Paint(gfx::Canvas& canvas, int width, int height) override;

 private:
  void ReplaceSelection(const StyledText& with);
  void Changed();
  int LineCount() const;
  std::string Line(int index) const;  // without the line break; "" past the end
  bool Copy();
  bool Paste();

  bool view_;
  StyledText text_;
  std::string raw_;
  bool rawIsSet_ = false;  // raw_ holds the text of the last WM_SETTEXT
  size_t selStart_ = 0;
  size_t selEnd_ = 0;
};

}  // namespace clientsim
