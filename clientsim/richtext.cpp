#include "clientsim/richtext.h"

#include <algorithm>
#include <cstring>

namespace clientsim {

using namespace platform;

std::string RichText::Raw() const {
  if (rawIsSet_) return raw_;
  return HasFormatting(text_) ? ToHtml(text_) : PlainText(text_);
}

void RichText::SetContent(const std::string& html) {
  text_ = ParseHtml(html);
  raw_ = html;
  rawIsSet_ = true;
  selStart_ = selEnd_ = 0;
  InvalidateRect(hwnd_);
}

void RichText::AppendLine(const StyledText& line) {
  text_.push_back({'\r', {}});
  text_.insert(text_.end(), line.begin(), line.end());
  selStart_ = selEnd_ = text_.size();
  Changed();
}

void RichText::Changed() {
  rawIsSet_ = false;
  raw_.clear();
  InvalidateRect(hwnd_);
}

void RichText::ReplaceSelection(const StyledText& with) {
  const size_t a = std::min({selStart_, selEnd_, text_.size()});
  const size_t b = std::min(std::max(selStart_, selEnd_), text_.size());
  text_.erase(text_.begin() + static_cast<long>(a), text_.begin() + static_cast<long>(b));
  text_.insert(text_.begin() + static_cast<long>(a), with.begin(), with.end());
  selStart_ = selEnd_ = a + with.size();
  Changed();
}

int RichText::LineCount() const {
  return 1 + static_cast<int>(std::count_if(text_.begin(), text_.end(),
                                            [](const StyledChar& c) { return c.ch == '\r'; }));
}

std::string RichText::Line(int index) const {
  int line = 0;
  std::string out;
  for (const StyledChar& c : text_) {
    if (c.ch == '\r') {
      if (line == index) return out;
      ++line;
      continue;
    }
    if (line == index) out += c.ch;
  }
  return line == index ? out : std::string();
}

bool RichText::Copy() {
  const size_t a = std::min({selStart_, selEnd_, text_.size()});
  const size_t b = std::min(std::max(selStart_, selEnd_), text_.size());
  const std::string html = ToHtml(
      StyledText(text_.begin() + static_cast<long>(a), text_.begin() + static_cast<long>(b)));
  if (!OpenClipboard(hwnd_)) return false;
  EmptyClipboard();
  for (const char* name : {kClipFormat, kClipFormat2}) {
    const HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, html.size() + 1);
    if (mem == 0) continue;
    if (void* p = GlobalLock(mem)) {
      std::memcpy(p, html.c_str(), html.size() + 1);
      GlobalUnlock(mem);
      SetClipboardData(RegisterClipboardFormat(name), mem);
    } else {
      GlobalFree(mem);
    }
  }
  CloseClipboard();
  return true;
}

bool RichText::Paste() {
  if (!OpenClipboard(hwnd_)) return false;
  std::string html;
  bool found = false;
  for (const char* name : {kClipFormat, kClipFormat2}) {
    const HGLOBAL mem = GetClipboardData(RegisterClipboardFormat(name));
    if (mem == 0) continue;
    const char* p = static_cast<const char*>(GlobalLock(mem));
    if (p == nullptr) continue;
    const size_t size = GlobalSize(mem);
    html.assign(p, strnlen(p, size));
    GlobalUnlock(mem);
    found = true;
    break;
  }
  CloseClipboard();
  if (found) ReplaceSelection(ParseHtml(html));
  return found;
}

LRESULT RichText::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SETTEXT:
      SetContent(TextFromLParam(lParam));
      return 1;
    case WM_GETTEXT:
      return view_ ? CopyToBuffer("", wParam, lParam) : CopyToBuffer(Raw(), wParam, lParam);
    case WM_GETTEXTLENGTH:
      return view_ ? 0 : static_cast<LRESULT>(Raw().size());
    case EM_GETLINECOUNT:
      return LineCount();
    case EM_GETLINE: {
      if (lParam == 0) return 0;
      const int index = static_cast<int>(wParam);
      if (index < 0 || index >= LineCount()) return 0;
      char* buffer = reinterpret_cast<char*>(lParam);
      uint16_t size = 0;
      std::memcpy(&size, buffer, sizeof size);
      const std::string line = Line(index);
      const size_t n = std::min<size_t>(line.size(), size);
      std::memcpy(buffer, line.data(), n);
      if (n < size) buffer[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case EM_LINELENGTH:
      return static_cast<LRESULT>(Line(0).size());
    case EM_GETSEL: {
      const DWORD a = static_cast<DWORD>(std::min(selStart_, selEnd_));
      const DWORD b = static_cast<DWORD>(std::max(selStart_, selEnd_));
      if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = a;
      if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = b;
      return MAKELPARAM(static_cast<int>(a), static_cast<int>(b));
    }
    case EM_SETSEL: {
      const intptr_t s = static_cast<intptr_t>(wParam);
      const intptr_t e = lParam;
      const size_t n = text_.size();
      if (static_cast<int32_t>(s) == -1) {
        selStart_ = selEnd_ = std::max(selStart_, selEnd_);
        return 0;
      }
      selStart_ = s < 0 ? n : std::min(static_cast<size_t>(s), n);
      selEnd_ = (e < 0 || static_cast<int32_t>(e) == -1) ? n : std::min(static_cast<size_t>(e), n);
      if (selStart_ > selEnd_) std::swap(selStart_, selEnd_);
      InvalidateRect(hwnd_);
      return 0;
    }
    case EM_REPLACESEL: {
      const StyledText with = PlainStyled(TextFromLParam(lParam));
      ReplaceSelection(with);
      return static_cast<LRESULT>(with.size());
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kCmdSelectAll:
          selStart_ = 0;
          selEnd_ = text_.size();
          InvalidateRect(hwnd_);
          return 0;
        case kCmdCopy:
          Copy();
          return 0;
        case kCmdPaste:
          Paste();
          return 0;
        default:
          return 0;
      }
    case WM_CHAR: {
      const char c = static_cast<char>(wParam & 0xFF);
      if (c == '\r') {
        if (onEnter) {
          auto keep = shared_from_this();
          auto action = onEnter;
          action();
        } else if (!view_) {
          ReplaceSelection({{'\r', {}}});  // a body without a send key takes the line break
        }
        return 1;
      }
      if (view_) return 0;
      if (c == '\b') {
        if (selStart_ == selEnd_ && selStart_ > 0) --selStart_;
        ReplaceSelection({});
      } else if (static_cast<unsigned char>(c) >= 0x20) {
        ReplaceSelection({{c, {}}});
      }
      return 1;
    }
    case WM_LBUTTONDOWN:
    case WM_SETFOCUS:
      if (onActivate) {
        auto keep = shared_from_this();
        auto action = onActivate;
        action();
      }
      return Default(msg, wParam, lParam);
    default:
      return Control::Handle(msg, wParam, lParam);
  }
}

void RichText::Paint(gfx::Canvas& c, int w, int h) {
  c.FillRect(0, 0, w, h, kWhite);
  DrawSunken(c, 0, 0, w, h);
  // Lines laid out with their formats; a view shows its last lines, an input box its first.
  std::vector<std::vector<StyledChar>> lines(1);
  for (const StyledChar& ch : text_) {
    if (ch.ch == '\r') {
      lines.emplace_back();
    } else {
      lines.back().push_back(ch);
    }
  }
  const int lineHeight = gfx::Canvas::TextHeight({}) + 1;
  const int visible = std::max(1, (h - 4) / lineHeight);
  const size_t first =
      view_ && static_cast<int>(lines.size()) > visible ? lines.size() - visible : 0;
  int y = 2;
  for (size_t i = first; i < lines.size() && y + lineHeight <= h; ++i, y += lineHeight) {
    int x = 4;
    size_t k = 0;
    const auto& line = lines[i];
    while (k < line.size() && x < w - 4) {
      const TextFormat f = line[k].format;
      std::string run;
      for (; k < line.size() && line[k].format == f; ++k) run += line[k].ch;
      gfx::Font font;
      font.bold = f.bold;
      font.italic = f.italic;
      font.underline = f.underline;
      x += c.DrawText(x, y, run, font, f.color);
    }
  }
}

}  // namespace clientsim
