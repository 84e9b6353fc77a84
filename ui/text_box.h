// A text box: single- or multi-line text with a caret and a selection, edited by typing
// (characters replace the selection at the caret, Backspace and Delete remove, Enter in a
// multi-line box inserts CRLF), a Change event, and a locked (read-only) mode. A disabled box
// keeps its text. Also answers EM_GETSEL, EM_SETSEL and EM_REPLACESEL.
#pragma once

#include "ui/control.h"

namespace ui {

class TextBox : public Control {
 public:
  TextBox(Parent parent, std::string name, int x = 0, int y = 0, int width = 100, int height = 21,
          bool multiLine = false, int index = -1);

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);  // selection to 0, Change when it differs
  bool MultiLine() const { return multiLine_; }
  bool Locked() const { return locked_; }
  void SetLocked(bool locked) { locked_ = locked; }
  // 0: no limit; typing stops at the limit, text set from code is not cut.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length) { maxLength_ = length; }
  // The password character shown instead of each character (0: none).
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char c);

  int SelStart() const { return selStart_; }
  void SetSelStart(int start);  // clamped; the selection length becomes 0
  int SelLength() const { return selLength_; }
  void SetSelLength(int length);  // clamped to the text after SelStart
  std::string SelText() const;
  void SetSelText(const std::string& text);  // replaces the selection; caret after it

  std::function<void()> OnChange;

 protected:
  platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam,
                               platform::LPARAM lParam) override;
  void Paint(gfx::Canvas& canvas) override;
  bool TakesFocus() const override { return true; }
  void HandleMouseDown(int button, int shift, int x, int y) override;
  void HandleKeyDown(int& keyCode, int shift) override;
  void HandleKeyPress(int& keyAscii) override;

 private:
  void Replace(const std::string& text);  // the selection, caret after the new text
  void Store(const std::string& text, int selStart, int selLength);
  std::string Shown() const;
  int CaretLine(int* column) const;  // multi-line: the line of the caret, its column

  std::string text_;
  int selStart_ = 0;
  int selLength_ = 0;
  bool multiLine_ = false;
  bool locked_ = false;
  int maxLength_ = 0;
  char passwordChar_ = 0;
  bool storing_ = false;
  int scrollX_ = 0;
  int topLine_ = 0;  // multi-line: the first line shown
};

}  // namespace ui
