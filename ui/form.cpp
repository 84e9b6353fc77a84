#include "ui/form.h"

#include <algorithm>
#include <cctype>

#include "gfx/classic.h"
#include "platform/win32.h"
#include "ui/text_box.h"

namespace ui {

using namespace platform;

namespace classic = gfx::classic;

namespace {

bool Usable(const Control* c) {
  return c != nullptr && c->hwnd() != 0 && IsWindowVisible(c->hwnd()) && IsWindowEnabled(c->hwnd());
}

WindowParams FormParams(const std::string& caption, BorderStyle border, HWND parent) {
  WindowParams p;
  p.className = kFormClass;
  p.text = caption;
  p.width = 320;
  p.height = 240;
  switch (border) {
    case BorderStyle::None:
      p.style = WS_POPUP;
      break;
    case BorderStyle::FixedSingle:
      p.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
      break;
    case BorderStyle::Sizable:
      p.style = WS_OVERLAPPEDWINDOW;
      break;
    case BorderStyle::FixedDialog:
      p.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
      break;
    case BorderStyle::FixedToolWindow:
      p.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
      p.exStyle = WS_EX_TOOLWINDOW;
      break;
  }
  if (parent != 0) p.style = (p.style & ~WS_POPUP) | WS_CHILD;
  p.style |= WS_CLIPCHILDREN;
  return p;
}

}  // namespace

Form::Form(std::string name, std::string caption, BorderStyle border, HWND parent)
    : Control(Parent(parent), std::move(name), -1, FormParams(caption, border, parent)),
      border_(border),
      menus_(nullptr, this, "", "", -1, 0) {
  form_ = this;
}

Form::~Form() {
  *alive_ = false;
  while (!owned_.empty()) owned_.pop_back();
  for (Control* c : controls_) c->form_ = nullptr;
  controls_.clear();
  HMENU bar = menuBar_;
  menuBar_ = 0;
  if (hwnd() != 0 && !ProcessEnded() && IsWindow(hwnd())) {
    SetMenu(hwnd(), 0);
    DestroyMenu(bar);
  }
}

void Form::SetCaption(const std::string& caption) {
  SetWindowTextRaw(caption);
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  Raise(OnLoad);
}

void Form::Show() {
  Load();
  if (hwnd() != 0) ShowWindow(hwnd(), SW_SHOW);
}

void Form::ShowModal(HWND owner) {
  Load();
  if (hwnd() == 0) return;
  const bool ownerWasEnabled = owner != 0 && IsWindowEnabled(owner);
  if (ownerWasEnabled) EnableWindow(owner, false);
  modal_ = true;
  ShowWindow(hwnd(), SW_SHOW);
  std::shared_ptr<bool> alive = alive_;
  while (*alive && !ProcessEnded() && hwnd() != 0 && loaded_ && IsWindowVisible(hwnd())) {
    DoEvents();
  }
  if (*alive) modal_ = false;
  if (ownerWasEnabled && !ProcessEnded() && IsWindow(owner)) EnableWindow(owner, true);
}

void Form::Hide() {
  if (hwnd() != 0) ShowWindow(hwnd(), SW_HIDE);
}

bool Form::Unload() {
  bool cancel = false;
  if (OnUnload) {
    auto copy = OnUnload;
    std::shared_ptr<bool> alive = alive_;
    copy(cancel);
    if (!*alive) return true;
  }
  if (cancel) return false;
  Hide();
  loaded_ = false;
  return true;
}

void Form::SetPicture(std::optional<gfx::Image> picture, bool tiled) {
  picture_ = std::move(picture);
  tiled_ = tiled;
  Invalidate();
}

void Form::Paint(gfx::Canvas& canvas) {
  canvas.Fill(BackColor());
  if (!picture_ || picture_->width <= 0 || picture_->height <= 0) return;
  if (tiled_) {
    canvas.TileImage(*picture_, 0, 0, canvas.Width(), canvas.Height());
  } else {
    canvas.DrawImage(*picture_, 0, 0);
  }
}

void Form::RebuildMenuBar() {
  if (hwnd() == 0 || (GetWindowLong(hwnd(), GWL_STYLE) & WS_CHILD)) return;
  bool any = false;
  for (size_t i = 0; i < menus_.Count(); ++i) {
    if (menus_.Item(i).Visible()) any = true;
  }
  HMENU old = menuBar_;
  menuBar_ = 0;
  if (any) {
    menuBar_ = CreateMenu();
    menus_.FillPlatformMenu(menuBar_);
  }
  SetMenu(hwnd(), menuBar_);
  if (old != 0) DestroyMenu(old);
  DrawMenuBar(hwnd());
}

void Form::PopupMenu(Menu& menu, int x, int y) {
  if (hwnd() == 0) return;
  HMENU popup = CreatePopupMenu();
  menu.FillPlatformMenu(popup);
  POINT p{x, y};
  ClientToScreen(hwnd(), p);
  std::shared_ptr<bool> alive = alive_;
  const int chosen = TrackPopupMenu(popup, TPM_RETURNCMD, p.x, p.y, hwnd());
  DestroyMenu(popup);
  if (*alive && chosen > 0) RouteCommand(static_cast<UINT>(chosen));
}

void Form::RouteCommand(UINT id) {
  Menu* item = menus_.FindById(id);
  if (item != nullptr && item->Enabled()) item->Click();
}

LRESULT Form::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_COMMAND:
      if (lParam == 0) {
        RouteCommand(LOWORD(wParam));
        return 0;
      }
      return DefaultProc(msg, wParam, lParam);
    case WM_ACTIVATE:
      if (LOWORD(wParam) != 0) Raise(OnActivate);
      return DefaultProc(msg, wParam, lParam);
    default:
      return Control::WindowProc(msg, wParam, lParam);
  }
}

Control* Form::NextTabStop(const Control* from, bool backwards) const {
  std::vector<Control*> stops;
  for (Control* c : controls_) {
    if (c->TakesFocus() && c->hwnd() != 0 && IsWindowVisible(c->hwnd()) &&
        IsWindowEnabled(c->hwnd())) {
      stops.push_back(c);
    }
  }
  if (stops.empty()) return nullptr;
  auto at = std::find(stops.begin(), stops.end(), from);
  const int n = static_cast<int>(stops.size());
  if (at == stops.end()) return backwards ? stops.back() : stops.front();
  const int i = static_cast<int>(at - stops.begin());
  return stops[(i + (backwards ? n - 1 : 1)) % n];
}

bool Form::DialogKey(Control& target, int keyCode, int shift) {
  if (!dialogKeys_ || (shift & 6) != 0) return false;
  switch (keyCode) {
    case VK_TAB: {
      Control* next = NextTabStop(&target, (shift & 1) != 0);
      if (next != nullptr) next->SetFocus();
      swallowChar_ = VK_TAB;
      return true;
    }
    case VK_RETURN: {
      auto* text = dynamic_cast<TextBox*>(&target);
      if ((text != nullptr && text->MultiLine()) || !Usable(defaultButton_)) return false;
      swallowChar_ = VK_RETURN;
      defaultButton_->HandleClick();
      return true;
    }
    case VK_ESCAPE:
      swallowChar_ = VK_ESCAPE;
      if (Usable(cancelButton_)) {
        cancelButton_->HandleClick();
      } else {
        Unload();
      }
      return true;
    default:
      return false;
  }
}

bool Form::MnemonicKey(Control& target, int keyCode, int shift) {
  if (!dialogKeys_ || (shift & (ALT_MASK | CTRL_MASK)) != ALT_MASK) return false;
  const bool letter = (keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9');
  if (!letter) return false;
  const size_t n = controls_.size();
  const auto at = std::find(controls_.begin(), controls_.end(), &target);
  const size_t first = at == controls_.end() ? 0 : static_cast<size_t>(at - controls_.begin()) + 1;
  for (size_t k = 0; k < n; ++k) {
    const size_t i = (first + k) % n;
    Control* c = controls_[i];
    const Control::MnemonicRole role = c->Mnemonic();
    if (role == Control::MnemonicRole::None || !Usable(c) ||
        classic::MnemonicLetter(c->WindowText()) != keyCode) {
      continue;
    }
    // Windows follows the key with its character as WM_SYSCHAR, which is dropped. Set first:
    // the click may close the form.
    swallowSysChar_ = (shift & SHIFT_MASK) != 0 ? keyCode : std::tolower(keyCode);
    if (role == Control::MnemonicRole::Click) {
      if (c->TakesFocus()) c->SetFocus();
      c->HandleClick();
    } else {
      for (size_t j = i + 1; j < n; ++j) {
        if (controls_[j]->TakesFocus() && Usable(controls_[j])) {
          controls_[j]->SetFocus();
          break;
        }
      }
    }
    return true;
  }
  return false;
}

bool Form::SwallowSysChar(int keyAscii) {
  const bool swallow = swallowSysChar_ != 0 && keyAscii == swallowSysChar_;
  swallowSysChar_ = 0;
  return swallow;
}

bool Form::SwallowChar(int keyAscii) {
  const bool swallow = swallowChar_ != 0 && keyAscii == swallowChar_;
  swallowChar_ = 0;
  return swallow;
}

Control* Form::FindControl(const std::string& name, int index) const {
  for (Control* c : controls_) {
    if (c->Name() == name && c->Index() == index) return c;
  }
  return nullptr;
}

void Form::Register(Control* control) {
  controls_.push_back(control);
}

void Form::Unregister(Control* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

}  // namespace ui
