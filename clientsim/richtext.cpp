#include "clientsim/richtext.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace clientsim {

using namespace platform;

namespace {

constexpr int kTextInset = 4;  // left and right of the text
constexpr int kTopInset = 2;

int LineHeight() {
  return gfx::Canvas::TextHeight({}) + 1;
}

gfx::Font FontOf(const TextFormat& f) {
  gfx::Font font;
  font.bold = f.bold;
  font.italic = f.italic;
  font.underline = f.underline;
  return font;
}

// The advance of one character in its format, measured once per character and style.
int CharWidth(const StyledChar& c) {
  static std::array<std::array<int, 256>, 4> widths{};
  static std::array<bool, 4> measured{};
  const size_t style = (c.format.bold ? 1 : 0) | (c.format.italic ? 2 : 0);
  if (!measured[style]) {
    gfx::Font font = FontOf(c.format);
    font.underline = false;
    for (int ch = 0; ch < 256; ++ch) {
      widths[style][static_cast<size_t>(ch)] =
          gfx::Canvas::TextWidth(std::string(1, static_cast<char>(ch)), font);
    }
    measured[style] = true;
  }
  return widths[style][static_cast<unsigned char>(c.ch)];
}

}  // namespace

std::string RichText::Raw() const {
  if (rawIsSet_) return raw_;
  return HasFormatting(text_) ? ToHtml(text_) : PlainText(text_);
}

void RichText::SetContent(const std::string& html) {
  text_ = ParseHtml(html);
  raw_ = html;
  rawIsSet_ = true;
  selStart_ = selEnd_ = 0;
  shownValid_ = false;
  lineStartsValid_ = false;
  top_ = 0;
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
  shownValid_ = false;
  lineStartsValid_ = false;
  if (!view_) ShowCaret();
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

const std::vector<size_t>& RichText::LineStarts() const {
  if (!lineStartsValid_) {
    lineStarts_.assign(1, 0);
    for (size_t i = 0; i < text_.size(); ++i) {
      if (text_[i].ch == '\r') lineStarts_.push_back(i + 1);
    }
    lineStartsValid_ = true;
  }
  return lineStarts_;
}

int RichText::LineCount() const {
  return static_cast<int>(LineStarts().size());
}

std::string RichText::Line(int index) const {
  const std::vector<size_t>& starts = LineStarts();
  if (index < 0 || static_cast<size_t>(index) >= starts.size()) return "";
  const size_t begin = starts[static_cast<size_t>(index)];
  const size_t end = static_cast<size_t>(index) + 1 < starts.size()
                         ? starts[static_cast<size_t>(index) + 1] - 1
                         : text_.size();
  std::string out;
  out.reserve(end - begin);
  for (size_t i = begin; i < end; ++i) out += text_[i].ch;
  return out;
}

long RichText::LineStart(int index) const {
  const std::vector<size_t>& starts = LineStarts();
  if (index < 0 || static_cast<size_t>(index) >= starts.size()) return -1;
  return static_cast<long>(starts[static_cast<size_t>(index)]);
}

int RichText::LineOfChar(size_t index) const {
  // The line breaks before `index`: the starts after the first that lie at or before it.
  const std::vector<size_t>& starts = LineStarts();
  index = std::min(index, text_.size());
  return static_cast<int>(std::upper_bound(starts.begin() + 1, starts.end(), index) -
                          (starts.begin() + 1));
}

size_t RichText::LineLengthAt(size_t index) const {
  size_t begin = std::min(index, text_.size());
  while (begin > 0 && text_[begin - 1].ch != '\r') --begin;
  size_t end = begin;
  while (end < text_.size() && text_[end].ch != '\r') ++end;
  return end - begin;
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
    case EM_LINEINDEX: {
      // -1: the line with the caret.
      const int line =
          static_cast<int32_t>(wParam) == -1 ? LineOfChar(selEnd_) : static_cast<int>(wParam);
      return static_cast<LRESULT>(LineStart(line));
    }
    case EM_LINEFROMCHAR:
      return static_cast<int32_t>(wParam) == -1 ? LineOfChar(std::min(selStart_, selEnd_))
                                                : LineOfChar(wParam);
    case EM_LINELENGTH: {
      if (static_cast<int32_t>(wParam) == -1) {
        // The characters left unselected on the lines the selection touches.
        const size_t a = std::min({selStart_, selEnd_, text_.size()});
        const size_t b = std::min(std::max(selStart_, selEnd_), text_.size());
        const size_t before = a - static_cast<size_t>(LineStart(LineOfChar(a)));
        const size_t endStart = static_cast<size_t>(LineStart(LineOfChar(b)));
        const size_t after = endStart + LineLengthAt(b) - b;
        return static_cast<LRESULT>(before + after);
      }
      if (wParam > text_.size()) return 0;
      return static_cast<LRESULT>(LineLengthAt(wParam));
    }
    case EM_GETTEXTRANGE: {
      if (lParam == 0) return 0;
      auto* range = reinterpret_cast<TEXTRANGEA*>(lParam);
      if (range->lpstrText == nullptr) return 0;
      const size_t n = text_.size();
      const size_t a = std::min(static_cast<size_t>(std::max(range->chrg.cpMin, 0)), n);
      const size_t b =
          range->chrg.cpMax < 0 ? n : std::min(static_cast<size_t>(range->chrg.cpMax), n);
      size_t copied = 0;
      for (size_t i = a; i < b; ++i) range->lpstrText[copied++] = text_[i].ch;
      range->lpstrText[copied] = '\0';
      return static_cast<LRESULT>(copied);
    }
    case EM_GETFIRSTVISIBLELINE:
      return FirstShownLine();
    case EM_LINESCROLL:
      ScrollBy(static_cast<int>(static_cast<intptr_t>(lParam)));
      return 1;
    case WM_VSCROLL:
    case EM_SCROLL: {
      const int before = FirstShownLine();
      switch (static_cast<int>(LOWORD(wParam))) {
        case SB_LINEUP:
          ScrollBy(-1);
          break;
        case SB_LINEDOWN:
          ScrollBy(1);
          break;
        case SB_PAGEUP:
          ScrollBy(-std::max(1, RowsInView() - 1));
          break;
        case SB_PAGEDOWN:
          ScrollBy(std::max(1, RowsInView() - 1));
          break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
          if (msg == WM_VSCROLL) ScrollTo(static_cast<int>(HIWORD(wParam)));
          break;
        case SB_TOP:
          if (msg == WM_VSCROLL) ScrollTo(0);
          break;
        case SB_BOTTOM:
          if (msg == WM_VSCROLL) ScrollTo(ShownLineCount());
          break;
        default:
          break;
      }
      // EM_SCROLL reports the lines moved in its low word, TRUE in its high word.
      return msg == EM_SCROLL ? MAKELPARAM(static_cast<int>(FirstShownLine() - before), 1) : 0;
    }
    case WM_MOUSEWHEEL: {
      const int delta = static_cast<int16_t>(HIWORD(wParam));
      ScrollBy(-3 * delta / WHEEL_DELTA);
      return 0;
    }
    case WM_SIZE:
      shownValid_ = false;
      InvalidateRect(hwnd_);
      return Default(msg, wParam, lParam);
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
      if (MouseOnScrollBar(msg, static_cast<int16_t>(LOWORD(lParam)),
                           static_cast<int16_t>(HIWORD(lParam)))) {
        return 0;
      }
      // A click in the text takes the keyboard focus; WM_SETFOCUS then tells the window.
      if (GetFocus() != hwnd_) {
        SetFocus(hwnd_);
        return 0;
      }
      [[fallthrough]];
    case WM_SETFOCUS:
      if (onActivate) {
        auto keep = shared_from_this();
        auto action = onActivate;
        action();
      }
      return Default(msg, wParam, lParam);
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      if (MouseOnScrollBar(msg, static_cast<int16_t>(LOWORD(lParam)),
                           static_cast<int16_t>(HIWORD(lParam)))) {
        return 0;
      }
      return Default(msg, wParam, lParam);
    default:
      return Control::Handle(msg, wParam, lParam);
  }
}

void RichText::Wrap(int room, std::vector<Span>& out) const {
  out.clear();
  size_t start = 0;
  int x = 0;
  size_t lastSpace = std::string::npos;
  for (size_t i = 0; i < text_.size(); ++i) {
    const StyledChar& c = text_[i];
    if (c.ch == '\r') {
      out.push_back({start, i});
      start = i + 1;
      x = 0;
      lastSpace = std::string::npos;
      continue;
    }
    const int w = CharWidth(c);
    if (x + w > room && i > start) {
      // Break after the last space of the line, or inside a word longer than the line.
      const size_t cut = lastSpace != std::string::npos ? lastSpace + 1 : i;
      out.push_back({start, cut});
      start = cut;
      x = 0;
      for (size_t k = cut; k < i; ++k) x += CharWidth(text_[k]);
      lastSpace = std::string::npos;
    }
    x += w;
    if (c.ch == ' ') lastSpace = i;
  }
  out.push_back({start, text_.size()});
}

const std::vector<RichText::Span>& RichText::Layout() {
  RECT r{};
  if (hwnd_ != 0) GetClientRect(hwnd_, r);
  if (shownValid_ && shownWidth_ == r.Width()) return shown_;
  const int room = std::max(1, r.Width() - 2 * kTextInset);
  Wrap(room, shown_);
  scrollBar_ = static_cast<int>(shown_.size()) > RowsInView();
  if (scrollBar_) Wrap(std::max(1, room - kScrollBarWidth), shown_);
  shownWidth_ = r.Width();
  shownValid_ = true;
  return shown_;
}

int RichText::RowsInView() const {
  RECT r{};
  if (hwnd_ != 0) GetClientRect(hwnd_, r);
  return std::max(1, (r.Height() - 2 * kTopInset) / LineHeight());
}

int RichText::ShownLineCount() {
  return static_cast<int>(Layout().size());
}

int RichText::FirstShownLine() {
  const int last = std::max(0, ShownLineCount() - RowsInView());
  if (view_ && followEnd_) top_ = last;
  top_ = std::clamp(top_, 0, last);
  return top_;
}

void RichText::ScrollTo(int firstLine) {
  const int last = std::max(0, ShownLineCount() - RowsInView());
  top_ = std::clamp(firstLine, 0, last);
  followEnd_ = top_ == last;
  InvalidateRect(hwnd_);
}

void RichText::ShowCaret() {
  const std::vector<Span>& lines = Layout();
  int caretLine = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].begin <= selEnd_) caretLine = static_cast<int>(i);
  }
  const int first = FirstShownLine();
  if (caretLine < first) ScrollTo(caretLine);
  if (caretLine >= first + RowsInView()) ScrollTo(caretLine - RowsInView() + 1);
}

bool RichText::HasScrollBar() {
  Layout();
  return scrollBar_;
}

gfx::Rect RichText::ScrollBarRect() const {
  RECT r{};
  if (hwnd_ != 0) GetClientRect(hwnd_, r);
  return {r.Width() - 2 - kScrollBarWidth, 2, kScrollBarWidth, std::max(0, r.Height() - 4)};
}

bool RichText::MouseOnScrollBar(UINT msg, int x, int y) {
  if (dragOffset_ >= 0) {
    const gfx::classic::ScrollBarLayout bar = gfx::classic::LayoutVScrollBar(
        ScrollBarRect(), FirstShownLine(), RowsInView(), ShownLineCount());
    ScrollTo(
        gfx::classic::ScrollPositionForThumb(bar, y - dragOffset_, RowsInView(), ShownLineCount()));
    if (msg == WM_LBUTTONUP) {
      dragOffset_ = -1;
      ReleaseCapture();
    }
    return true;
  }
  if (msg != WM_LBUTTONDOWN || !HasScrollBar() || !ScrollBarRect().Contains(x, y)) return false;
  const gfx::classic::ScrollBarLayout bar = gfx::classic::LayoutVScrollBar(
      ScrollBarRect(), FirstShownLine(), RowsInView(), ShownLineCount());
  const int page = std::max(1, RowsInView() - 1);
  switch (gfx::classic::HitScrollBar(bar, x, y)) {
    case gfx::classic::ScrollPart::LineUp:
      ScrollBy(-1);
      break;
    case gfx::classic::ScrollPart::LineDown:
      ScrollBy(1);
      break;
    case gfx::classic::ScrollPart::PageUp:
      ScrollBy(-page);
      break;
    case gfx::classic::ScrollPart::PageDown:
      ScrollBy(page);
      break;
    case gfx::classic::ScrollPart::Thumb:
      dragOffset_ = y - bar.thumb.y;
      SetCapture(hwnd_);
      break;
    case gfx::classic::ScrollPart::None:
      break;
  }
  return true;
}

void RichText::Paint(gfx::Canvas& c, int w, int h) {
  c.FillRect(0, 0, w, h, paper);
  DrawSunken(c, 0, 0, w, h);
  const std::vector<Span>& lines = Layout();
  const int first = FirstShownLine();
  const int lineHeight = LineHeight();
  const int right = w - kTextInset - (scrollBar_ ? kScrollBarWidth : 0);
  int y = kTopInset;
  for (size_t i = static_cast<size_t>(first); i < lines.size() && y + lineHeight <= h;
       ++i, y += lineHeight) {
    int x = kTextInset;
    size_t k = lines[i].begin;
    while (k < lines[i].end && x < right) {
      const TextFormat f = text_[k].format;
      std::string run;
      for (; k < lines[i].end && text_[k].format == f; ++k) run += text_[k].ch;
      x += c.DrawText(x, y, run, FontOf(f), f.color);
    }
  }
  if (scrollBar_) {
    gfx::classic::DrawVScrollBar(c, ScrollBarRect(), first, RowsInView(),
                                 static_cast<int>(lines.size()));
  }
}

}  // namespace clientsim
