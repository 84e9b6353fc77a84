#include "clientsim/widgets.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/ansi.h"

namespace clientsim {

using namespace platform;

// ---- Icon ----

LRESULT Icon::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      pressed_ = true;
      InvalidateRect(hwnd_);
      return 0;
    case WM_KEYDOWN:
      if (wParam == static_cast<WPARAM>(VK_SPACE)) {
        pressed_ = true;
        InvalidateRect(hwnd_);
      }
      return 0;
    case WM_LBUTTONUP:
      if (pressed_) Click();
      return 0;
    case WM_KEYUP:
      if (wParam == static_cast<WPARAM>(VK_SPACE) && pressed_) Click();
      return 0;
    case WM_KILLFOCUS:
      pressed_ = false;
      InvalidateRect(hwnd_);
      return Default(msg, wParam, lParam);
    case WM_SETTEXT: {
      const LRESULT r = Default(msg, wParam, lParam);
      InvalidateRect(hwnd_);
      return r;
    }
    default:
      return Control::Handle(msg, wParam, lParam);
  }
}

void Icon::Click() {
  pressed_ = false;
  InvalidateRect(hwnd_);
  // The handler may destroy this window (and so this object's last owner); keep it alive.
  auto keep = shared_from_this();
  if (onClick) {
    auto action = onClick;
    action();
  }
}

void Icon::Paint(gfx::Canvas& c, int w, int h) {
  c.FillRect(0, 0, w, h, face_);
  if (pressed_) {
    DrawSunken(c, 0, 0, w, h);
  } else {
    DrawRaised(c, 0, 0, w, h);
  }
  const int shift = pressed_ ? 1 : 0;
  DrawCentred(c, shift, shift, w, h, GetWindowText(hwnd_), kBlack);
}

// ---- Label ----

void Label::Paint(gfx::Canvas& c, int w, int h) {
  c.FillRect(0, 0, w, h, background == kFace ? face_ : background);
  c.DrawText(2, (h - gfx::Canvas::TextHeight({})) / 2, GetWindowText(hwnd_), {}, color);
}

// ---- LineEdit ----

LRESULT LineEdit::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CHAR) {
    const char c = static_cast<char>(wParam & 0xFF);
    std::string text = GetWindowText(hwnd_);
    if (c == '\r') {
      if (onEnter) {
        auto keep = shared_from_this();
        auto action = onEnter;
        action();
      }
      return 0;
    }
    if (c == '\b') {
      if (!text.empty()) text.pop_back();
    } else if (static_cast<unsigned char>(c) >= 0x20) {
      text += c;
    } else {
      return 0;
    }
    Default(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    InvalidateRect(hwnd_);
    return 0;
  }
  if (msg == WM_SETTEXT) {
    const LRESULT r = Default(msg, wParam, lParam);
    InvalidateRect(hwnd_);
    return r;
  }
  return Control::Handle(msg, wParam, lParam);
}

void LineEdit::Paint(gfx::Canvas& c, int w, int h) {
  c.FillRect(0, 0, w, h, kWhite);
  DrawSunken(c, 0, 0, w, h);
  c.DrawText(4, (h - gfx::Canvas::TextHeight({})) / 2, GetWindowText(hwnd_), {}, kBlack);
}

// ---- KeywordEdit ----

LRESULT KeywordEdit::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CHAR && (wParam & 0xFF) == '\r') {
    if (onEnter) {
      auto keep = shared_from_this();
      auto action = onEnter;
      action();
    }
    return 0;
  }
  return Default(msg, wParam, lParam);  // the system's edit control, painting included
}

// ---- Panel ----

LRESULT Panel::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CLOSE && hideOnClose_) {
    ShowWindow(hwnd_, SW_HIDE);
    return 0;
  }
  if (msg == WM_COMMAND && onCommand) {
    auto keep = shared_from_this();
    auto action = onCommand;
    action(LOWORD(wParam), HIWORD(wParam));
    return 0;
  }
  return Control::Handle(msg, wParam, lParam);
}

void Panel::Paint(gfx::Canvas& c, int w, int h) {
  c.FillRect(0, 0, w, h, fill_ == kFace ? face_ : fill_);
  if (sunken_) DrawSunken(c, 0, 0, w, h);
}

// ---- MemberList ----

bool MemberList::Add(const std::string& name) {
  // The list item: 32 bytes, the member pointer 28 bytes in. The member record: a 6-byte
  // header, 16 bytes of name, then bytes that are never NUL, so a reader that does not stop at
  // 16 bytes reads garbage.
  const uint32_t item = AllocProcessMemory(kPointerOffset + 4);
  const uint32_t record = AllocProcessMemory(kNameOffset + kNameBytes + 8);
  if (item == 0 || record == 0) return false;
  std::vector<uint8_t> itemBytes(kPointerOffset + 4, 0xAB);
  std::memcpy(itemBytes.data() + kPointerOffset, &record, 4);
  std::vector<uint8_t> recordBytes(kNameOffset + kNameBytes + 8, 0xEE);
  std::fill(recordBytes.begin(), recordBytes.begin() + kNameOffset, 0x01);
  const size_t n = std::min(name.size(), kNameBytes);
  std::memcpy(recordBytes.data() + kNameOffset, name.data(), n);
  if (n < kNameBytes) recordBytes[kNameOffset + n] = 0;
  if (!WriteOwnProcessMemory(item, itemBytes.data(), itemBytes.size()) ||
      !WriteOwnProcessMemory(record, recordBytes.data(), recordBytes.size())) {
    return false;
  }
  members_.push_back({name, item});
  InvalidateRect(hwnd_);
  return true;
}

bool MemberList::Remove(const std::string& name) {
  auto it = std::find_if(members_.begin(), members_.end(),
                         [&](const Member& m) { return EqualNoCase(m.name, name); });
  if (it == members_.end()) return false;
  members_.erase(it);
  InvalidateRect(hwnd_);
  return true;
}

std::vector<std::string> MemberList::Names() const {
  std::vector<std::string> out;
  for (const Member& m : members_) out.push_back(m.name);
  return out;
}

LRESULT MemberList::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case LB_GETCOUNT:
      return static_cast<LRESULT>(members_.size());
    case LB_GETITEMDATA:
      if (wParam >= members_.size()) return LB_ERR;
      return static_cast<LRESULT>(members_[wParam].itemData);
    case LB_GETTEXT:
    case LB_GETTEXTLEN:
      // The items are drawn by the client from its own records; the list holds no strings.
      return LB_ERR;
    default:
      return Control::Handle(msg, wParam, lParam);
  }
}

void MemberList::Paint(gfx::Canvas& c, int w, int h) {
  c.FillRect(0, 0, w, h, kWhite);
  DrawSunken(c, 0, 0, w, h);
  const int line = gfx::Canvas::TextHeight({}) + 1;
  int y = 3;
  for (const Member& m : members_) {
    if (y + line > h) break;
    c.DrawText(4, y, m.name, {}, kBlack);
    y += line;
  }
}

}  // namespace clientsim
