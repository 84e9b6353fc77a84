// The client's rich-text control ("RICHCNTL", "RICHCNTLREADONLY"): formatted text in lines
// separated by CR, a selection, the client's copy/paste commands through its private
// clipboard formats, and typing. It shows its text wrapped at word boundaries to its width,
// with a vertical scroll bar when the text does not fit; a conversation view follows its last
// line until scrolled back. A click takes the keyboard focus, as an edit control does.
//
// The lines of the EM_ line messages (EM_GETLINECOUNT, EM_LINEINDEX, EM_LINELENGTH,
// EM_GETLINE, EM_LINEFROMCHAR) are the lines of the text, between CRs; wrapping changes only
// what is shown. EM_GETFIRSTVISIBLELINE and the scrolling messages count shown lines.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "clientsim/control.h"
#include "clientsim/html.h"
#include "gfx/classic.h"

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
  gfx::Color paper = kWhite;         // the background behind the text

  // The text as set or as last edited: the HTML given to WM_SETTEXT, else the plain text, or
  // the HTML of the content when an edit left it formatted.
  std::string Raw() const;
  std::string Plain() const { return PlainText(text_); }
  void SetContent(const std::string& html);
  // Appends a line (CR first) of styled text and shows it.
  void AppendLine(const StyledText& line);

  // What is shown: lines after wrapping, the first one in view, how many fit.
  int ShownLineCount();
  int FirstShownLine();
  int RowsInView() const;
  static constexpr int kScrollBarWidth = 16;

 protected:
  platform::LRESULT Handle(platform::UINT msg, platform::WPARAM wParam,
                           platform::LPARAM lParam) override;
  void Paint(gfx::Canvas& canvas, int width, int height) override;

 private:
  void ReplaceSelection(const StyledText& with);
  void Changed();
  // Where each line of the text begins (the first at 0), kept until the text changes: the EM_
  // line messages of a long conversation read line by line would otherwise rescan it each time.
  const std::vector<size_t>& LineStarts() const;
  int LineCount() const;
  std::string Line(int index) const;  // without the line break; "" past the end
  long LineStart(int index) const;    // the first character's index; -1 past the end
  int LineOfChar(size_t index) const;
  size_t LineLengthAt(size_t index) const;  // of the line holding that character
  bool Copy();
  bool Paste();

  // Shown lines: [begin, end) of text_ each, wrapped to the width left for text.
  struct Span {
    size_t begin = 0, end = 0;
  };
  const std::vector<Span>& Layout();
  void Wrap(int room, std::vector<Span>& out) const;
  bool HasScrollBar();
  gfx::Rect ScrollBarRect() const;
  void ScrollTo(int firstLine);
  void ScrollBy(int lines) { ScrollTo(FirstShownLine() + lines); }
  void ShowCaret();  // scrolls so the line with the caret is in view
  bool MouseOnScrollBar(platform::UINT msg, int x, int y);

  bool view_;
  StyledText text_;
  std::string raw_;
  bool rawIsSet_ = false;  // raw_ holds the text of the last WM_SETTEXT
  mutable std::vector<size_t> lineStarts_;
  mutable bool lineStartsValid_ = false;
  size_t selStart_ = 0;
  size_t selEnd_ = 0;

  std::vector<Span> shown_;
  bool shownValid_ = false;
  int shownWidth_ = -1;
  bool scrollBar_ = false;
  int top_ = 0;            // the first shown line in view
  bool followEnd_ = true;  // a view keeps its last line in view until scrolled back
  int dragOffset_ = -1;    // where the thumb was grabbed, while it is dragged
};

}  // namespace clientsim
