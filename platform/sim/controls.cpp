#include "platform/sim/controls.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "gfx/canvas.h"
#include "platform/ansi.h"
#include "platform/sim/desktop.h"
#include "platform/sim/state.h"

namespace platform::sim {

namespace {

constexpr gfx::Color kWhite = 0xFFFFFF;
constexpr gfx::Color kBlack = 0x000000;
constexpr gfx::Color kFace = 0xC0C0C0;
constexpr gfx::Color kShadow = 0x808080;
constexpr gfx::Color kHighlight = 0x800000;  // selected text's background (0x00BBGGRR)
constexpr gfx::Color kWorkspace = 0x808080;
constexpr int kTextInset = 2;
constexpr int kListItemHeight = 16;
constexpr size_t kDefaultEditLimit = 32767;
constexpr WPARAM kNone = static_cast<WPARAM>(-1);

std::string TextOf(LPARAM lParam) {
  return lParam ? std::string(reinterpret_cast<const char*>(lParam)) : std::string();
}

// Copies text into a WM_GETTEXT-style buffer of `size` characters, always NUL-terminated.
LRESULT CopyOut(const std::string& text, WPARAM size, LPARAM buffer) {
  auto* out = reinterpret_cast<char*>(buffer);
  if (size == 0 || out == nullptr) return 0;
  const size_t n = std::min<size_t>(static_cast<size_t>(size) - 1, text.size());
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

RECT ClientOf(Desktop& desktop, HWND hwnd) {
  RECT r;
  desktop.GetClientRect(hwnd, r);
  return r;
}

void Paint(Desktop& desktop, HWND hwnd, const std::function<void(gfx::Canvas&, RECT)>& paint) {
  if (gfx::Canvas* canvas = desktop.BeginPaint(hwnd)) paint(*canvas, ClientOf(desktop, hwnd));
  desktop.EndPaint(hwnd);
}

// ---- Edit ----

class Edit : public SystemControl {
 public:
  Edit(Desktop& desktop, DWORD style, const std::string& title)
      : SystemControl(desktop, style), text_(Single(title)) {}

  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
      case WM_SETTEXT:
        // The control keeps the text itself; the system's stored title stays the creation text.
        text_ = Single(TextOf(lParam));
        start_ = end_ = 0;
        Changed(hwnd);
        return TRUE;
      case WM_GETTEXT:
        return CopyOut(text_, wParam, lParam);
      case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(text_.size());
      case EM_SETSEL:
        SetSelection(wParam, static_cast<WPARAM>(lParam));
        desktop_.InvalidateRect(hwnd);
        return 1;
      case EM_GETSEL: {
        const auto [low, high] = Ordered();
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(low);
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(high);
        return MAKELPARAM(static_cast<int>(low), static_cast<int>(high));
      }
      case EM_REPLACESEL:
        Replace(hwnd, TextOf(lParam));
        return 0;
      case EM_LIMITTEXT:
        limit_ = wParam ? static_cast<size_t>(wParam) : size_t{0x7FFFFFFE};
        return 0;
      case EM_GETLINECOUNT:
        return static_cast<LRESULT>(Multi() ? LineStarts().size() : 1);
      case EM_LINEINDEX: {
        const auto starts = LineStarts();
        size_t line = wParam == kNone ? LineOf(end_) : static_cast<size_t>(wParam);
        return line < starts.size() ? static_cast<LRESULT>(starts[line]) : -1;
      }
      case EM_LINEFROMCHAR:
        return static_cast<LRESULT>(
            LineOf(wParam == kNone ? end_ : std::min<size_t>(wParam, text_.size())));
      case EM_LINELENGTH:
        return LineLength(wParam);
      case EM_GETLINE:
        return GetLine(wParam, lParam);
      case WM_CHAR:
        Type(hwnd, static_cast<char>(wParam));
        return 1;
      case WM_KEYDOWN:
        Key(hwnd, static_cast<int>(wParam));
        return 0;
      case WM_LBUTTONDOWN:
        desktop_.SetFocus(hwnd);
        return 0;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        desktop_.InvalidateRect(hwnd);
        Notify(hwnd, msg == WM_SETFOCUS ? EN_SETFOCUS : EN_KILLFOCUS);
        return 0;
      case WM_PAINT:
        Paint(desktop_, hwnd,
              [&](gfx::Canvas& c, RECT r) { Draw(c, r, desktop_.GetFocus() == hwnd); });
        return 0;
      default:
        return Default(hwnd, msg, wParam, lParam);
    }
  }

 private:
  bool Multi() const { return (style_ & ES_MULTILINE) != 0; }

  // A single-line control keeps a line only up to its first line break.
  std::string Single(std::string text) const {
    if (!Multi()) text = text.substr(0, text.find_first_of("\r\n"));
    return text;
  }

  std::pair<size_t, size_t> Ordered() const {
    return {std::min(start_, end_), std::max(start_, end_)};
  }

  void SetSelection(WPARAM start, WPARAM end) {
    const auto s = static_cast<uint32_t>(start);
    const auto e = static_cast<uint32_t>(end);
    if (s == 0xFFFFFFFFu) {
      start_ = end_;  // no selection: the caret stays where it was
      return;
    }
    start_ = std::min<size_t>(s, text_.size());
    end_ = std::min<size_t>(e, text_.size());
  }

  std::vector<size_t> LineStarts() const {
    std::vector<size_t> starts{0};
    if (!Multi()) return starts;
    for (size_t at = text_.find("\r\n"); at != std::string::npos; at = text_.find("\r\n", at + 2))
      starts.push_back(at + 2);
    return starts;
  }
  size_t LineOf(size_t index) const {
    const auto starts = LineStarts();
    return static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), index) -
                               starts.begin()) -
           1;
  }
  size_t LineEnd(size_t line) const {
    const auto starts = LineStarts();
    if (line + 1 < starts.size()) return starts[line + 1] - 2;
    return text_.size();
  }
  LRESULT LineLength(WPARAM index) const {
    if (!Multi()) return static_cast<LRESULT>(text_.size());
    if (index == kNone) {
      // The characters on the selection's lines that are not selected.
      const auto [low, high] = Ordered();
      const auto starts = LineStarts();
      return static_cast<LRESULT>((low - starts[LineOf(low)]) + (LineEnd(LineOf(high)) - high));
    }
    if (index > text_.size()) return 0;
    const size_t line = LineOf(index);
    return static_cast<LRESULT>(LineEnd(line) - LineStarts()[line]);
  }
  LRESULT GetLine(WPARAM lineNumber, LPARAM buffer) const {
    auto* out = reinterpret_cast<char*>(buffer);
    if (out == nullptr) return 0;
    size_t size = 0;
    std::memcpy(&size, out, 2);  // the first WORD gives the buffer's size in characters
    const auto starts = LineStarts();
    const size_t line = Multi() ? static_cast<size_t>(lineNumber) : 0;
    if (line >= starts.size()) return 0;
    const size_t length = LineEnd(line) - starts[line];
    const size_t n = std::min(size, length);
    std::memcpy(out, text_.data() + starts[line], n);
    if (n < size) out[n] = '\0';
    return static_cast<LRESULT>(n);
  }

  void Changed(HWND hwnd) {
    desktop_.InvalidateRect(hwnd);
    Notify(hwnd, EN_UPDATE);
    Notify(hwnd, EN_CHANGE);
  }

  void Replace(HWND hwnd, std::string insert) {
    insert = Single(std::move(insert));
    const auto [low, high] = Ordered();
    const size_t room =
        limit_ > text_.size() - (high - low) ? limit_ - (text_.size() - (high - low)) : 0;
    const bool cut = insert.size() > room;
    if (cut) insert.resize(room);
    text_.replace(low, high - low, insert);
    start_ = end_ = low + insert.size();
    Changed(hwnd);
    if (cut) Notify(hwnd, EN_MAXTEXT);
  }

  void Type(HWND hwnd, char c) {
    if (style_ & ES_READONLY) return;
    const auto uc = static_cast<unsigned char>(c);
    if (uc == VK_RETURN) {
      if (Multi()) Replace(hwnd, "\r\n");
    } else if (uc == VK_BACK) {
      if (start_ == end_ && end_ > 0) start_ = end_ - (Multi() && IsBreakBefore(end_) ? 2 : 1);
      if (start_ != end_) Replace(hwnd, "");
    } else if (uc >= 0x20) {
      Replace(hwnd, std::string(1, c));
    }
  }
  bool IsBreakBefore(size_t at) const { return at >= 2 && text_.compare(at - 2, 2, "\r\n") == 0; }

  void Key(HWND hwnd, int key) {
    const auto [low, high] = Ordered();
    if (key == VK_LEFT) {
      start_ = end_ = low == high && low > 0 ? low - (IsBreakBefore(low) ? 2 : 1) : low;
    } else if (key == VK_RIGHT) {
      const bool brk = Multi() && text_.compare(high, 2, "\r\n") == 0;
      start_ = end_ = low == high && high < text_.size() ? high + (brk ? 2 : 1) : high;
    } else if (key == VK_DELETE && !(style_ & ES_READONLY)) {
      if (low == high && high < text_.size())
        end_ = high + (Multi() && text_.compare(high, 2, "\r\n") == 0 ? 2 : 1);
      if (start_ != end_) Replace(hwnd, "");
      return;
    } else {
      return;
    }
    desktop_.InvalidateRect(hwnd);
  }

  void Draw(gfx::Canvas& c, RECT r, bool focused) const {
    c.FillRect(0, 0, r.Width(), r.Height(), (style_ & ES_READONLY) ? kFace : kWhite);
    const gfx::Font font;
    const int lineHeight = gfx::Canvas::TextHeight(font);
    const auto starts = LineStarts();
    const auto [low, high] = Ordered();
    for (size_t line = 0; line < starts.size(); ++line) {
      const size_t from = starts[line], to = LineEnd(line);
      const int y = kTextInset + static_cast<int>(line) * lineHeight;
      int x = kTextInset;
      // Unselected, selected and unselected again; the selection shows only with the focus.
      const size_t a = focused ? std::clamp(low, from, to) : to;
      const size_t b = focused ? std::clamp(high, from, to) : to;
      x += c.DrawText(x, y, text_.substr(from, a - from), font, kBlack);
      if (b > a) {
        const std::string selected = text_.substr(a, b - a);
        c.FillRect(x, y, gfx::Canvas::TextWidth(selected, font), lineHeight, kHighlight);
        x += c.DrawText(x, y, selected, font, kWhite);
      }
      c.DrawText(x, y, text_.substr(b, to - b), font, kBlack);
    }
  }

  std::string text_;
  size_t start_ = 0, end_ = 0;  // the caret is at end_
  size_t limit_ = kDefaultEditLimit;
};

// ---- Button ----

class Button : public SystemControl {
 public:
  using SystemControl::SystemControl;

  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        desktop_.SetFocus(hwnd);
        Press(hwnd);
        return 0;
      case WM_KEYDOWN:
        if (static_cast<int>(wParam) == VK_SPACE) Press(hwnd);
        return 0;
      case WM_KEYUP:
        if (static_cast<int>(wParam) == VK_SPACE) Release(hwnd, true);
        return 0;
      case WM_LBUTTONUP: {
        const RECT r = ClientOf(desktop_, hwnd);
        const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
        Release(hwnd, x >= 0 && y >= 0 && x < r.right && y < r.bottom);
        return 0;
      }
      case WM_CAPTURECHANGED:
        if (static_cast<HWND>(lParam) != hwnd && held_) {
          held_ = false;
          if (pushed_) desktop_.SendMessage(hwnd, BM_SETSTATE, FALSE, 0);
        }
        return 0;
      case WM_KILLFOCUS:
        if (held_ && desktop_.GetCapture() == hwnd) desktop_.ReleaseCapture();
        desktop_.InvalidateRect(hwnd);
        return Default(hwnd, msg, wParam, lParam);
      case WM_SETFOCUS:
        desktop_.InvalidateRect(hwnd);
        return Default(hwnd, msg, wParam, lParam);
      case BM_CLICK:
        desktop_.SendMessage(hwnd, WM_LBUTTONDOWN, 0, 0);
        desktop_.SendMessage(hwnd, WM_LBUTTONUP, 0, 0);
        return 0;
      case BM_GETSTATE:
        return static_cast<LRESULT>(checked_ | (pushed_ ? BST_PUSHED : 0) |
                                    (desktop_.GetFocus() == hwnd ? BST_FOCUS : 0));
      case BM_SETSTATE:
        pushed_ = wParam != 0;
        desktop_.InvalidateRect(hwnd);
        return 0;
      case BM_GETCHECK:
        return static_cast<LRESULT>(checked_);
      case BM_SETCHECK:
        if (IsCheckBox()) checked_ = wParam ? BST_CHECKED : BST_UNCHECKED;
        desktop_.InvalidateRect(hwnd);
        return 0;
      case WM_SETTEXT: {
        const LRESULT r = Default(hwnd, msg, wParam, lParam);
        desktop_.InvalidateRect(hwnd);
        return r;
      }
      case WM_PAINT:
        Paint(desktop_, hwnd,
              [&](gfx::Canvas& c, RECT r) { Draw(c, r, desktop_.GetWindowText(hwnd)); });
        return 0;
      default:
        return Default(hwnd, msg, wParam, lParam);
    }
  }

 private:
  DWORD Type() const { return style_ & BS_TYPEMASK; }
  bool IsCheckBox() const { return Type() == BS_CHECKBOX || Type() == BS_AUTOCHECKBOX; }

  // Down: pushed and holding the mouse; nothing is reported yet.
  void Press(HWND hwnd) {
    desktop_.SendMessage(hwnd, BM_SETSTATE, TRUE, 0);
    held_ = true;
    desktop_.SetCapture(hwnd);
  }
  // Up: a click when it ends a press inside the button. The capture goes before the parent
  // hears of the click.
  void Release(HWND hwnd, bool inside) {
    if (!held_) return;
    held_ = false;
    if (!pushed_) {
      desktop_.ReleaseCapture();
      return;
    }
    desktop_.SendMessage(hwnd, BM_SETSTATE, FALSE, 0);
    if (inside && Type() == BS_AUTOCHECKBOX) checked_ ^= BST_CHECKED;
    desktop_.ReleaseCapture();
    if (inside) Notify(hwnd, BN_CLICKED);
  }

  void Draw(gfx::Canvas& c, RECT r, const std::string& text) const {
    const gfx::Font font;
    const int w = r.Width(), h = r.Height();
    c.FillRect(0, 0, w, h, kFace);
    if (IsCheckBox()) {
      const int box = 13, top = (h - box) / 2;
      c.FillRect(0, top, box, box, kWhite);
      c.DrawRect(0, top, box, box, kShadow);
      if (checked_) {
        c.Line(3, top + 6, 5, top + 9, kBlack);
        c.Line(5, top + 9, 10, top + 3, kBlack);
      }
      c.DrawText(box + 4, (h - gfx::Canvas::TextHeight(font)) / 2, text, font, kBlack);
      return;
    }
    const gfx::Color light = pushed_ ? kShadow : kWhite, dark = pushed_ ? kWhite : kBlack;
    c.FillRect(0, 0, w, 1, light);
    c.FillRect(0, 0, 1, h, light);
    c.FillRect(0, h - 1, w, 1, dark);
    c.FillRect(w - 1, 0, 1, h, dark);
    const int shift = pushed_ ? 1 : 0;
    c.DrawText((w - gfx::Canvas::TextWidth(text, font)) / 2 + shift,
               (h - gfx::Canvas::TextHeight(font)) / 2 + shift, text, font, kBlack);
  }

  UINT checked_ = BST_UNCHECKED;
  bool pushed_ = false;
  bool held_ = false;  // pressed by the mouse or the space bar, not yet released
};

// ---- ListBox ----

class ListBox : public SystemControl {
 public:
  using SystemControl::SystemControl;

  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
    const auto index = static_cast<int>(static_cast<int32_t>(wParam));
    switch (msg) {
      case LB_ADDSTRING:
        return Insert(hwnd, (style_ & LBS_SORT) ? SortedPlace(TextOf(lParam)) : Count(),
                      TextOf(lParam));
      case LB_INSERTSTRING:
        if (index < -1 || index > Count()) return LB_ERR;
        return Insert(hwnd, index == -1 ? Count() : index, TextOf(lParam));
      case LB_DELETESTRING:
        if (!Valid(index)) return LB_ERR;
        items_.erase(items_.begin() + index);
        if (selected_ == index) selected_ = -1;
        if (selected_ > index) --selected_;
        desktop_.InvalidateRect(hwnd);
        return Count();
      case LB_RESETCONTENT:
        items_.clear();
        selected_ = -1;
        desktop_.InvalidateRect(hwnd);
        return 0;
      case LB_GETCOUNT:
        return Count();
      case LB_GETTEXT:
        if (!Valid(index)) return LB_ERR;
        {
          const std::string& text = items_[static_cast<size_t>(index)].text;
          if (lParam) std::memcpy(reinterpret_cast<char*>(lParam), text.c_str(), text.size() + 1);
          return static_cast<LRESULT>(text.size());
        }
      case LB_GETTEXTLEN:
        return Valid(index) ? static_cast<LRESULT>(items_[static_cast<size_t>(index)].text.size())
                            : LB_ERR;
      case LB_GETITEMDATA:
        return Valid(index) ? items_[static_cast<size_t>(index)].data : LB_ERR;
      case LB_SETITEMDATA:
        if (!Valid(index)) return LB_ERR;
        items_[static_cast<size_t>(index)].data = lParam;
        return TRUE;
      case LB_SETCURSEL:
        // -1 clears the selection and reports LB_ERR all the same.
        if (index < -1 || index >= Count()) return LB_ERR;
        selected_ = index;
        desktop_.InvalidateRect(hwnd);
        return selected_ == -1 ? LB_ERR : selected_;
      case LB_GETCURSEL:
        return selected_;
      case LB_FINDSTRING:
      case LB_FINDSTRINGEXACT:
        return Find(index, TextOf(lParam), msg == LB_FINDSTRINGEXACT);
      case LB_GETITEMHEIGHT:
        return kListItemHeight;
      case LB_GETITEMRECT: {
        if (!Valid(index) || lParam == 0) return LB_ERR;
        const RECT client = ClientOf(desktop_, hwnd);
        *reinterpret_cast<RECT*>(lParam) =
            RECT{0, index * kListItemHeight, client.right, (index + 1) * kListItemHeight};
        return 1;
      }
      case WM_LBUTTONDOWN: {
        desktop_.SetFocus(hwnd);
        const int at = GET_Y_LPARAM(lParam) / kListItemHeight;
        if (GET_Y_LPARAM(lParam) >= 0 && Valid(at)) selected_ = at;
        desktop_.InvalidateRect(hwnd);
        captured_ = true;
        desktop_.SetCapture(hwnd);
        return 0;
      }
      case WM_LBUTTONUP:
        if (captured_) {
          captured_ = false;
          if (desktop_.GetCapture() == hwnd) desktop_.ReleaseCapture();
          if ((style_ & LBS_NOTIFY) && Count() > 0) Notify(hwnd, LBN_SELCHANGE);
        }
        return 0;
      case WM_CAPTURECHANGED:
        captured_ = false;
        return 0;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        Notify(hwnd, msg == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
        return 0;
      case WM_KEYDOWN: {
        const int key = static_cast<int>(wParam);
        if ((key != VK_UP && key != VK_DOWN) || Count() == 0) return 0;
        const int next = std::clamp(selected_ + (key == VK_DOWN ? 1 : -1), 0, Count() - 1);
        if (next == selected_) return 0;
        selected_ = next;
        desktop_.InvalidateRect(hwnd);
        if (style_ & LBS_NOTIFY) Notify(hwnd, LBN_SELCHANGE);
        return 0;
      }
      case WM_PAINT:
        Paint(desktop_, hwnd, [&](gfx::Canvas& c, RECT r) { Draw(c, r); });
        return 0;
      default:
        return Default(hwnd, msg, wParam, lParam);
    }
  }

 private:
  struct Item {
    std::string text;
    LPARAM data = 0;
  };
  int Count() const { return static_cast<int>(items_.size()); }
  bool Valid(int index) const { return index >= 0 && index < Count(); }
  int SortedPlace(const std::string& text) const {
    const std::string key = AnsiLower(text);
    int at = 0;
    while (at < Count() && AnsiLower(items_[static_cast<size_t>(at)].text) <= key) ++at;
    return at;
  }
  LRESULT Insert(HWND hwnd, int at, std::string text) {
    items_.insert(items_.begin() + at, Item{std::move(text), 0});
    if (selected_ >= at) ++selected_;
    desktop_.InvalidateRect(hwnd);
    return at;
  }
  // Searches after `start` (from the top for -1), wrapping round, without regard to case: a
  // prefix match, or the whole text when `exact`.
  LRESULT Find(int start, const std::string& text, bool exact) const {
    const std::string key = AnsiLower(text);
    const int n = Count();
    const int first = start < 0 || start >= n ? 0 : start + 1;
    for (int k = 0; k < n; ++k) {
      const int i = (first + k) % n;
      const std::string item = AnsiLower(items_[static_cast<size_t>(i)].text);
      if (exact ? item == key : item.compare(0, key.size(), key) == 0) return i;
    }
    return LB_ERR;
  }
  void Draw(gfx::Canvas& c, RECT r) const {
    const gfx::Font font;
    c.FillRect(0, 0, r.Width(), r.Height(), kWhite);
    for (int i = 0; i < Count(); ++i) {
      const int y = i * kListItemHeight;
      const bool selected = i == selected_;
      if (selected) c.FillRect(0, y, r.Width(), kListItemHeight, kHighlight);
      c.DrawText(kTextInset, y + (kListItemHeight - gfx::Canvas::TextHeight(font)) / 2,
                 items_[static_cast<size_t>(i)].text, font, selected ? kWhite : kBlack);
    }
  }

  std::vector<Item> items_;
  int selected_ = -1;
  bool captured_ = false;
};

// ---- Static ----

class Static : public SystemControl {
 public:
  using SystemControl::SystemControl;

  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
      case WM_SETTEXT: {
        const LRESULT r = Default(hwnd, msg, wParam, lParam);
        desktop_.InvalidateRect(hwnd);
        return r;
      }
      case WM_PAINT:
        Paint(desktop_, hwnd, [&](gfx::Canvas& c, RECT r) {
          const gfx::Font font;
          const std::string text = desktop_.GetWindowText(hwnd);
          c.FillRect(0, 0, r.Width(), r.Height(), kFace);
          const int x =
              (style_ & SS_CENTER) ? (r.Width() - gfx::Canvas::TextWidth(text, font)) / 2 : 0;
          c.DrawText(x, 0, text, font, kBlack);
        });
        return 0;
      default:
        return Default(hwnd, msg, wParam, lParam);
    }
  }

 private:
};

// ---- MDIClient ----

class MdiClient : public SystemControl {
 public:
  using SystemControl::SystemControl;

  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
    self_ = hwnd;
    switch (msg) {
      case WM_MDICREATE:
        return lParam ? static_cast<LRESULT>(
                            Create(hwnd, *reinterpret_cast<const MDICREATESTRUCTA*>(lParam)))
                      : 0;
      case WM_MDIACTIVATE: {
        const auto child = static_cast<HWND>(wParam);
        if (IsChild(hwnd, child) && child != Active()) BringUp(child);
        return 0;
      }
      case WM_MDIGETACTIVE:
        if (lParam) *reinterpret_cast<int*>(lParam) = 0;
        return static_cast<LRESULT>(Active());
      case WM_MDIDESTROY:
        Destroy(hwnd, static_cast<HWND>(wParam));
        return 0;
      case WM_PARENTNOTIFY:
        // A click inside a child that is not the active one activates it.
        if (LOWORD(wParam) == WM_LBUTTONDOWN) {
          POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
          for (HWND c = desktop_.GetWindow(hwnd, GW_CHILD); c;
               c = desktop_.GetWindow(c, GW_HWNDNEXT)) {
            RECT r;
            desktop_.GetWindowRect(c, r);
            POINT corner{r.left, r.top};
            desktop_.ScreenToClient(hwnd, corner);
            if (desktop_.IsWindowVisible(c) && p.x >= corner.x && p.y >= corner.y &&
                p.x < corner.x + r.Width() && p.y < corner.y + r.Height()) {
              if (c != Active()) BringUp(c);
              break;
            }
          }
        }
        return 0;
      case WM_SETFOCUS:
        if (Active()) desktop_.SetFocus(Active());
        return 0;
      case WM_PAINT:
        Paint(desktop_, hwnd,
              [](gfx::Canvas& c, RECT r) { c.FillRect(0, 0, r.Width(), r.Height(), kWorkspace); });
        return 0;
      default:
        return Default(hwnd, msg, wParam, lParam);
    }
  }

  // A child's WM_CHILDACTIVATE makes it the active child; its WM_CLOSE destroys it through the
  // client, which activates the next one.
  std::optional<LRESULT> ChildDefault(HWND self, HWND child, UINT msg) override {
    self_ = self;
    if (msg == WM_CHILDACTIVATE) {
      Activate(self, child);
      return 0;
    }
    if (msg == WM_CLOSE) {
      desktop_.SendMessage(self, WM_MDIDESTROY, static_cast<WPARAM>(child), 0);
      return 0;
    }
    return std::nullopt;
  }

 private:
  // The active child while it is still one of ours (it may have been destroyed or moved away).
  HWND Active() {
    if (active_ && desktop_.GetAncestor(active_, GA_PARENT) != self_) active_ = 0;
    return active_;
  }
  bool IsChild(HWND self, HWND child) {
    return child != 0 && desktop_.IsWindow(child) && desktop_.GetAncestor(child, GA_PARENT) == self;
  }
  // On top of its siblings without moving; the child's WM_CHILDACTIVATE then activates it.
  void BringUp(HWND child) {
    desktop_.SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }

  HWND Create(HWND self, const MDICREATESTRUCTA& cs) {
    const DWORD style = (cs.style & (WS_MINIMIZE | WS_MAXIMIZE | WS_HSCROLL | WS_VSCROLL)) |
                        WS_CHILD | WS_CLIPSIBLINGS | WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    return desktop_.CreateWindowEx(WS_EX_MDICHILD, cs.szClass ? cs.szClass : "",
                                   cs.szTitle ? cs.szTitle : "", style, cs.x, cs.y, cs.cx, cs.cy,
                                   self, 0, nullptr);
  }

  void Activate(HWND self, HWND child) {
    const HWND previous = Active();
    if (previous == child) return;
    if (previous) {
      desktop_.SendMessage(previous, WM_NCACTIVATE, FALSE, 0);
      desktop_.SendMessage(previous, WM_MDIACTIVATE, static_cast<WPARAM>(previous),
                           static_cast<LPARAM>(child));
    }
    active_ = child;
    if (!child) return;
    const HWND frame = desktop_.GetParent(self);
    if (frame && desktop_.GetActiveWindow() == frame) {
      desktop_.SendMessage(child, WM_NCACTIVATE, TRUE, 0);
      desktop_.SetFocus(child);
    }
    desktop_.SendMessage(child, WM_MDIACTIVATE, static_cast<WPARAM>(previous),
                         static_cast<LPARAM>(child));
  }

  void Destroy(HWND self, HWND child) {
    if (!IsChild(self, child)) return;
    if (child == Active()) {
      HWND next = 0;
      for (HWND c = desktop_.GetWindow(self, GW_CHILD); c && !next;
           c = desktop_.GetWindow(c, GW_HWNDNEXT))
        if (c != child && desktop_.IsWindowVisible(c)) next = c;
      if (next) {
        BringUp(next);
      } else {
        Activate(self, 0);
      }
    }
    desktop_.DestroyWindow(child);
  }

  HWND self_ = 0;
  HWND active_ = 0;
};

}  // namespace

LRESULT SystemControl::Default(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return desktop_.BaseDefWindowProc(hwnd, msg, wParam, lParam);
}

void SystemControl::Notify(HWND hwnd, UINT code) {
  const HWND parent = desktop_.GetParent(hwnd);
  if (!parent) return;
  const int id = static_cast<int>(desktop_.GetWindowLong(hwnd, GWL_ID));
  desktop_.SendMessage(parent, WM_COMMAND, MAKEWPARAM(id, static_cast<int>(code)),
                       static_cast<LPARAM>(hwnd));
}

const std::vector<std::string>& SystemControlClasses() {
  static const std::vector<std::string> names = {"Edit", "Button", "ListBox", "Static",
                                                 "MDIClient"};
  return names;
}

std::shared_ptr<SystemControl> MakeSystemControl(Desktop& desktop, const std::string& className,
                                                 DWORD style, const std::string& title) {
  const std::string name = AnsiLower(className);
  if (name == "edit") return std::make_shared<Edit>(desktop, style, title);
  if (name == "button") return std::make_shared<Button>(desktop, style);
  if (name == "listbox") return std::make_shared<ListBox>(desktop, style);
  if (name == "static") return std::make_shared<Static>(desktop, style);
  if (name == "mdiclient") return std::make_shared<MdiClient>(desktop, style);
  return nullptr;
}

}  // namespace platform::sim
