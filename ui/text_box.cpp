#include "ui/text_box.h"

#include <algorithm>
#include <cstring>

#include "gfx/classic.h"
#include "platform/win32.h"

namespace ui {

using namespace platform;

namespace {
constexpr int kInset = 3;  // the 2-pixel sunken edge and one pixel of margin

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (true) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      return lines;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
}
}  // namespace

TextBox::TextBox(Parent parent, std::string name, int x, int y, int width, int height,
                 bool multiLine, int index)
    : Control(
          parent, std::move(name), index,
          WindowParams{"ThunderRT5TextBox",
                       WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (multiLine ? ES_MULTILINE : 0u), 0,
                       "", x, y, width, height}),
      multiLine_(multiLine) {
  SetBackColor(GetSysColor(COLOR_WINDOW));
}

void TextBox::SetText(const std::string& text) {
  if (hwnd() == 0) {
    const bool changed = text != text_;
    Store(text, 0, 0);
    if (changed) Raise(OnChange);
    return;
  }
  SetWindowTextRaw(text);
}

void TextBox::Store(const std::string& text, int selStart, int selLength) {
  text_ = text;
  const int size = static_cast<int>(text_.size());
  selStart_ = std::clamp(selStart, 0, size);
  selLength_ = std::clamp(selLength, 0, size - selStart_);
  if (hwnd() != 0 && GetWindowText(hwnd()) != text_) {
    storing_ = true;
    SetWindowTextRaw(text_);
    storing_ = false;
  }
  Invalidate();
}

void TextBox::SetPasswordChar(char c) {
  passwordChar_ = c;
  Invalidate();
}

void TextBox::SetSelStart(int start) {
  selStart_ = std::clamp(start, 0, static_cast<int>(text_.size()));
  selLength_ = 0;
  Invalidate();
}

void TextBox::SetSelLength(int length) {
  selLength_ = std::clamp(length, 0, static_cast<int>(text_.size()) - selStart_);
  Invalidate();
}

std::string TextBox::SelText() const {
  return text_.substr(selStart_, selLength_);
}

void TextBox::SetSelText(const std::string& text) {
  Replace(text);
}

void TextBox::Replace(const std::string& text) {
  std::string next = text_;
  next.replace(selStart_, selLength_, text);
  const int caret = selStart_ + static_cast<int>(text.size());
  const bool changed = next != text_;
  Store(next, caret, 0);
  if (changed) Raise(OnChange);
}

LRESULT TextBox::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SETTEXT: {
      LRESULT r = DefaultProc(msg, wParam, lParam);
      if (storing_) return r;
      std::string stored = GetWindowText(hwnd());
      const bool changed = stored != text_;
      text_ = stored;
      selStart_ = 0;
      selLength_ = 0;
      scrollX_ = 0;
      topLine_ = 0;
      Invalidate();
      if (changed) Raise(OnChange);
      return r;
    }
    case EM_GETSEL: {
      const int a = selStart_, b = selStart_ + selLength_;
      return static_cast<LRESULT>(MAKELPARAM(a, b)) & 0xFFFFFFFF;
    }
    case EM_SETSEL: {
      const int size = static_cast<int>(text_.size());
      int s = static_cast<int>(static_cast<intptr_t>(wParam));
      int e = static_cast<int>(lParam);
      if (s == -1) {
        selLength_ = 0;
        Invalidate();
        return 0;
      }
      if (e < 0 || e > size) e = size;
      s = std::clamp(s, 0, size);
      selStart_ = std::min(s, e);
      selLength_ = std::abs(e - s);
      Invalidate();
      return 0;
    }
    case EM_REPLACESEL:
      if (lParam != 0) Replace(reinterpret_cast<const char*>(lParam));
      return 0;
    default:
      return Control::WindowProc(msg, wParam, lParam);
  }
}

std::string TextBox::Shown() const {
  if (passwordChar_ != 0) return std::string(text_.size(), passwordChar_);
  return text_;
}

int TextBox::CaretLine(int* column) const {
  int line = 0, lineStart = 0;
  for (int i = 0; i + 1 < static_cast<int>(text_.size()) && i < selStart_; ++i) {
    if (text_[i] == '\r' && text_[i + 1] == '\n' && i + 2 <= selStart_) {
      ++line;
      lineStart = i + 2;
    }
  }
  if (column) *column = selStart_ - lineStart;
  return line;
}

void TextBox::HandleMouseDown(int button, int shift, int x, int y) {
  if (button == kLeftButton) {
    // Put the caret at the character nearest to the click.
    const int lineHeight = gfx::Canvas::TextHeight(Font());
    std::vector<std::string> lines = SplitLines(Shown());
    int line = multiLine_ ? std::clamp((y - kInset) / std::max(lineHeight, 1) + topLine_, 0,
                                       static_cast<int>(lines.size()) - 1)
                          : 0;
    int offset = 0;
    for (int i = 0; i < line; ++i) offset += static_cast<int>(lines[i].size()) + 2;
    const std::string& text = multiLine_ ? lines[line] : Shown();
    int column = static_cast<int>(text.size());
    const int localX = x - kInset + (multiLine_ ? 0 : scrollX_);
    for (size_t i = 0; i < text.size(); ++i) {
      const int before = gfx::Canvas::TextWidth(text.substr(0, i), Font());
      const int after = gfx::Canvas::TextWidth(text.substr(0, i + 1), Font());
      if (localX < (before + after) / 2) {
        column = static_cast<int>(i);
        break;
      }
    }
    SetSelStart(offset + column);
  }
  Control::HandleMouseDown(button, shift, x, y);
}

void TextBox::HandleKeyDown(int& keyCode, int shift) {
  Control::HandleKeyDown(keyCode, shift);
  const int size = static_cast<int>(text_.size());
  switch (keyCode) {
    case VK_LEFT:
      if (selLength_ > 0) {
        SetSelStart(selStart_);
      } else {
        int step = (selStart_ >= 2 && text_.compare(selStart_ - 2, 2, "\r\n") == 0) ? 2 : 1;
        SetSelStart(std::max(selStart_ - step, 0));
      }
      break;
    case VK_RIGHT:
      if (selLength_ > 0) {
        SetSelStart(selStart_ + selLength_);
      } else {
        int step = (selStart_ + 2 <= size && text_.compare(selStart_, 2, "\r\n") == 0) ? 2 : 1;
        SetSelStart(std::min(selStart_ + step, size));
      }
      break;
    case VK_DELETE:
      if (locked_) break;
      if (selLength_ == 0 && selStart_ < size) {
        selLength_ = text_.compare(selStart_, 2, "\r\n") == 0 ? 2 : 1;
      }
      Replace("");
      break;
    default:
      break;
  }
}

void TextBox::HandleKeyPress(int& keyAscii) {
  Control::HandleKeyPress(keyAscii);
  if (keyAscii == 0 || locked_) return;
  if (keyAscii == VK_BACK) {
    if (selLength_ == 0 && selStart_ > 0) {
      const int step = (selStart_ >= 2 && text_.compare(selStart_ - 2, 2, "\r\n") == 0) ? 2 : 1;
      selStart_ -= step;
      selLength_ = step;
    }
    Replace("");
    return;
  }
  if (keyAscii == VK_RETURN) {
    if (multiLine_) Replace("\r\n");
    return;
  }
  if (keyAscii < 32 && keyAscii != VK_TAB) return;
  if (keyAscii == VK_TAB && !multiLine_) return;
  if (maxLength_ > 0 && static_cast<int>(text_.size()) - selLength_ >= maxLength_) {
    return;
  }
  Replace(std::string(1, static_cast<char>(keyAscii)));
}

void TextBox::Paint(gfx::Canvas& canvas) {
  namespace classic = gfx::classic;
  canvas.Fill(BackColor());
  const gfx::Rect inner =
      classic::DrawEdge(canvas, {0, 0, canvas.Width(), canvas.Height()}, classic::Edge::Sunken);
  canvas.SetClip(inner.x, inner.y, inner.width, inner.height);
  const gfx::Color textColor = Enabled() ? ForeColor() : classic::SysColor(classic::kGrayText);
  const gfx::Color highlight = classic::SysColor(classic::kHighlight);
  const gfx::Color highlightText = classic::SysColor(classic::kHighlightText);
  const bool focused = HasFocus();
  const int lineHeight = gfx::Canvas::TextHeight(Font());
  const std::string shown = Shown();
  const int selEnd = selStart_ + selLength_;

  if (!multiLine_) {
    const int caretX = gfx::Canvas::TextWidth(shown.substr(0, selStart_), Font());
    const int room = inner.width - 2;
    if (caretX - scrollX_ > room) scrollX_ = caretX - room;
    if (caretX < scrollX_) scrollX_ = caretX;
    const int x0 = kInset - scrollX_;
    const int y0 = inner.y + std::max((inner.height - lineHeight) / 2, 0);
    canvas.DrawText(x0, y0, shown, Font(), textColor);
    if (focused && selLength_ > 0) {
      const int a = x0 + gfx::Canvas::TextWidth(shown.substr(0, selStart_), Font());
      const std::string sel = shown.substr(selStart_, selLength_);
      canvas.FillRect(a, y0, gfx::Canvas::TextWidth(sel, Font()), lineHeight, highlight);
      canvas.DrawText(a, y0, sel, Font(), highlightText);
    } else if (focused) {
      canvas.Line(x0 + caretX, y0, x0 + caretX, y0 + lineHeight, ForeColor());
    }
  } else {
    std::vector<std::string> lines = SplitLines(shown);
    // The caret's line stays in view.
    const int visible = std::max((inner.height - kInset) / std::max(lineHeight, 1), 1);
    const int caretLine = CaretLine(nullptr);
    if (caretLine < topLine_) topLine_ = caretLine;
    if (caretLine >= topLine_ + visible) topLine_ = caretLine - visible + 1;
    int offset = 0;
    int y = kInset - topLine_ * lineHeight;
    for (const std::string& line : lines) {
      canvas.DrawText(kInset, y, line, Font(), textColor);
      const int lineEnd = offset + static_cast<int>(line.size());
      if (focused && selLength_ > 0 && selEnd > offset && selStart_ < lineEnd) {
        const int a = std::max(selStart_, offset) - offset;
        const int b = std::min(selEnd, lineEnd) - offset;
        const int ax = kInset + gfx::Canvas::TextWidth(line.substr(0, a), Font());
        const std::string sel = line.substr(a, b - a);
        canvas.FillRect(ax, y, gfx::Canvas::TextWidth(sel, Font()), lineHeight, highlight);
        canvas.DrawText(ax, y, sel, Font(), highlightText);
      }
      offset = lineEnd + 2;
      y += lineHeight;
    }
    if (focused && selLength_ == 0) {
      int column = 0;
      const int line = CaretLine(&column);
      const int cx = kInset + gfx::Canvas::TextWidth(lines[line].substr(0, column), Font());
      const int cy = kInset + (line - topLine_) * lineHeight;
      canvas.Line(cx, cy, cx, cy + lineHeight, ForeColor());
    }
  }
  canvas.ResetClip();
}

}  // namespace ui
