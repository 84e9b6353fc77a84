#include "ui/control.h"

#include "ui/tool_tip.h"

#include <unordered_map>

#include "platform/win32.h"
#include "ui/form.h"

namespace ui {

using namespace platform;

namespace {

std::unordered_map<HWND, Control*>& Registry() {
  static std::unordered_map<HWND, Control*> registry;
  return registry;
}

int ButtonOf(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return kLeftButton;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return kRightButton;
    default:
      return 0;
  }
}

// The buttons held during a mouse move, from its wParam.
int HeldButtons(WPARAM wParam) {
  int buttons = 0;
  if (wParam & 0x0001) buttons |= kLeftButton;
  if (wParam & 0x0002) buttons |= kRightButton;
  if (wParam & 0x0010) buttons |= kMiddleButton;
  return buttons;
}

}  // namespace

Parent::Parent(Control& c) : control(&c), hwnd(c.hwnd()) {}
Parent::Parent(HWND h) : hwnd(h) {}

Control::Control(Parent parent, std::string name, int index, const WindowParams& params)
    : name_(std::move(name)), index_(index) {
  backColor_ = GetSysColor(COLOR_BTNFACE);
  foreColor_ = GetSysColor(COLOR_WINDOWTEXT);
  RegisterClass(WindowClass{params.className, nullptr, 0xFFFFFFFF});
  WNDPROC proc = [this](HWND h, UINT m, WPARAM w, LPARAM l) { return Dispatch(h, m, w, l); };
  HWND created =
      CreateWindowEx(params.exStyle, params.className, params.text, params.style, params.x,
                     params.y, params.width, params.height, parent.hwnd, 0, proc);
  if (hwnd_ == 0) hwnd_ = created;
  if (hwnd_ != 0) Registry()[hwnd_] = this;
  if (parent.control != nullptr) {
    form_ = parent.control->OwnerForm();
    if (form_ != nullptr) form_->Register(this);
  }
}

Control::~Control() {
  tooltip::Forget(*this);
  Unregister();
  if (form_ != nullptr && form_ != this) form_->Unregister(this);
  HWND h = hwnd_;
  if (h != 0 && !ProcessEnded() && IsWindow(h)) DestroyWindow(h);
  hwnd_ = 0;
}

void Control::Unregister() {
  if (hwnd_ == 0) return;
  auto it = Registry().find(hwnd_);
  if (it != Registry().end() && it->second == this) Registry().erase(it);
}

Control* Control::FromHwnd(HWND hwnd) {
  auto it = Registry().find(hwnd);
  return it == Registry().end() ? nullptr : it->second;
}

HWND Control::ParentHwnd() const {
  return GetParent(hwnd_);
}

namespace {
RECT ParentRelativeRect(HWND hwnd) {
  RECT r;
  if (!GetWindowRect(hwnd, r)) return r;
  HWND parent = GetParent(hwnd);
  if (parent != 0) {
    POINT tl{r.left, r.top};
    ScreenToClient(parent, tl);
    r = RECT{tl.x, tl.y, tl.x + r.Width(), tl.y + r.Height()};
  }
  return r;
}
}  // namespace

int Control::Left() const {
  return ParentRelativeRect(hwnd_).left;
}
int Control::Top() const {
  return ParentRelativeRect(hwnd_).top;
}
int Control::Width() const {
  return ParentRelativeRect(hwnd_).Width();
}
int Control::Height() const {
  return ParentRelativeRect(hwnd_).Height();
}
void Control::SetLeft(int x) {
  RECT r = ParentRelativeRect(hwnd_);
  Move(x, r.top, r.Width(), r.Height());
}
void Control::SetTop(int y) {
  RECT r = ParentRelativeRect(hwnd_);
  Move(r.left, y, r.Width(), r.Height());
}
void Control::SetWidth(int width) {
  RECT r = ParentRelativeRect(hwnd_);
  Move(r.left, r.top, width, r.Height());
}
void Control::SetHeight(int height) {
  RECT r = ParentRelativeRect(hwnd_);
  Move(r.left, r.top, r.Width(), height);
}
void Control::Move(int x, int y, int width, int height) {
  if (hwnd_ == 0) return;
  MoveWindow(hwnd_, x, y, width, height, true);
}
void Control::Move(int x, int y) {
  RECT r = ParentRelativeRect(hwnd_);
  Move(x, y, r.Width(), r.Height());
}
int Control::ClientWidth() const {
  RECT r;
  GetClientRect(hwnd_, r);
  return r.Width();
}
int Control::ClientHeight() const {
  RECT r;
  GetClientRect(hwnd_, r);
  return r.Height();
}

bool Control::Visible() const {
  return (GetWindowLong(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}
void Control::SetVisible(bool visible) {
  if (hwnd_ == 0) return;
  ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}
bool Control::Enabled() const {
  return hwnd_ != 0 && IsWindowEnabled(hwnd_);
}
void Control::SetEnabled(bool enabled) {
  if (hwnd_ == 0 || Enabled() == enabled) return;
  EnableWindow(hwnd_, enabled);
  Invalidate();
}
void Control::ZOrder() {
  BringWindowToTop(hwnd_);
}
void Control::Refresh() {
  if (hwnd_ == 0) return;
  InvalidateRect(hwnd_);
  UpdateWindow(hwnd_);
}
void Control::Invalidate() {
  if (hwnd_ != 0) InvalidateRect(hwnd_);
}
void Control::SetParent(HWND newParent) {
  if (hwnd_ != 0) platform::SetParent(hwnd_, newParent);
}
void Control::SetFocus() {
  if (hwnd_ != 0) platform::SetFocus(hwnd_);
}
bool Control::HasFocus() const {
  return hwnd_ != 0 && GetFocus() == hwnd_;
}

void Control::SetFont(const gfx::Font& font) {
  font_ = font;
  Invalidate();
}
void Control::SetFontSize(double points) {
  font_.sizePoints = points;
  Invalidate();
}
void Control::SetBackColor(gfx::Color color) {
  backColor_ = color;
  Invalidate();
}
void Control::SetForeColor(gfx::Color color) {
  foreColor_ = color;
  Invalidate();
}

std::string Control::WindowText() const {
  return GetWindowText(hwnd_);
}

std::string Control::ToolTipAt(POINT screenPoint) {
  for (HWND h = WindowFromPoint(screenPoint); h != 0; h = GetParent(h)) {
    Control* control = FromHwnd(h);
    if (control != nullptr && !control->toolTip_.empty()) return control->toolTip_;
  }
  return "";
}

void Control::SetWindowTextRaw(const std::string& text) {
  if (hwnd_ != 0) SetWindowText(hwnd_, text);
}

int Control::ShiftState() {
  int shift = 0;
  if (GetKeyState(VK_SHIFT) & 0x8000) shift |= SHIFT_MASK;
  if (GetKeyState(VK_CONTROL) & 0x8000) shift |= CTRL_MASK;
  if (GetKeyState(VK_MENU) & 0x8000) shift |= ALT_MASK;
  return shift;
}

void Control::Raise(const std::function<void()>& event) {
  if (!event) return;
  auto copy = event;
  copy();
}

LRESULT Control::Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd_ == 0 && msg == WM_NCCREATE) hwnd_ = hwnd;
  if (msg == WM_NCDESTROY) {
    LRESULT r = DefWindowProc(hwnd, msg, wParam, lParam);
    Unregister();
    hwnd_ = 0;
    return r;
  }
  if (hwnd != hwnd_) return DefWindowProc(hwnd, msg, wParam, lParam);
  if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN) tooltip::MousePressed();
  // The control may be gone once its handler has run; only then is its tip looked at.
  const std::weak_ptr<bool> alive = lifetime_;
  const LRESULT result = WindowProc(msg, wParam, lParam);
  if (msg == WM_MOUSEMOVE && !alive.expired() && hwnd_ != 0) tooltip::MouseMoved(*this);
  return result;
}

LRESULT Control::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(hwnd_, msg, wParam, lParam);
}

void Control::DoPaint() {
  gfx::Canvas* canvas = BeginPaint(hwnd_);
  if (canvas != nullptr) Paint(*canvas);
  EndPaint(hwnd_);
}

LRESULT Control::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (msg) {
    case WM_PAINT:
      DoPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      if (TakesFocus() && GetFocus() != hwnd_) platform::SetFocus(hwnd_);
      const int button = ButtonOf(msg);
      if (button == kLeftButton) {
        leftPressed_ = true;
        SetCapture(hwnd_);
      }
      HandleMouseDown(button, ShiftState(), x, y);
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      const int button = ButtonOf(msg);
      bool click = false;
      if (button == kLeftButton) {
        click = leftPressed_;
        leftPressed_ = false;
        if (GetCapture() == hwnd_) ReleaseCapture();
      }
      HandleMouseUp(button, ShiftState(), x, y);
      if (click && hwnd_ != 0 && x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight()) {
        HandleClick();
      }
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      HandleDblClick();
      return 0;
    case WM_MOUSEMOVE:
      HandleMouseMove(HeldButtons(wParam), ShiftState(), x, y);
      return 0;
    case WM_CAPTURECHANGED:
      if (static_cast<HWND>(lParam) != hwnd_) leftPressed_ = false;
      return 0;
    case WM_KEYDOWN: {
      int key = static_cast<int>(wParam);
      if (form_ != nullptr && form_->DialogKey(*this, key, ShiftState())) return 0;
      HandleKeyDown(key, ShiftState());
      return 0;
    }
    case WM_KEYUP: {
      int key = static_cast<int>(wParam);
      HandleKeyUp(key, ShiftState());
      return 0;
    }
    case WM_SYSKEYDOWN:
      if (form_ != nullptr && form_->MnemonicKey(*this, static_cast<int>(wParam), ShiftState())) {
        return 0;
      }
      return DefaultProc(msg, wParam, lParam);
    case WM_SYSCHAR:
      // The character of an Alt+letter the form acted on goes no further (no menu, no beep).
      if (form_ != nullptr && form_->SwallowSysChar(static_cast<int>(wParam & 0xFF))) return 0;
      return DefaultProc(msg, wParam, lParam);
    case WM_CHAR: {
      int ascii = static_cast<int>(wParam & 0xFF);
      if (form_ != nullptr && form_->SwallowChar(ascii)) return 0;
      HandleKeyPress(ascii);
      return 0;
    }
    case WM_SETFOCUS:
      Raise(OnGotFocus);
      Invalidate();
      return 0;
    case WM_KILLFOCUS:
      Raise(OnLostFocus);
      Invalidate();
      return 0;
    case WM_SIZE: {
      DefaultProc(msg, wParam, lParam);
      HandleResize();
      return 0;
    }
    default:
      return DefaultProc(msg, wParam, lParam);
  }
}

void Control::Paint(gfx::Canvas& canvas) {
  canvas.Fill(backColor_);
}

void Control::HandleMouseDown(int button, int shift, int x, int y) {
  if (OnMouseDown) {
    auto copy = OnMouseDown;
    copy(button, shift, x, y);
  }
}
void Control::HandleMouseMove(int button, int shift, int x, int y) {
  if (OnMouseMove) {
    auto copy = OnMouseMove;
    copy(button, shift, x, y);
  }
}
void Control::HandleMouseUp(int button, int shift, int x, int y) {
  if (OnMouseUp) {
    auto copy = OnMouseUp;
    copy(button, shift, x, y);
  }
}
void Control::HandleClick() {
  Raise(OnClick);
}
void Control::HandleDblClick() {
  Raise(OnDblClick);
}
void Control::HandleKeyDown(int& keyCode, int shift) {
  if (OnKeyDown) {
    auto copy = OnKeyDown;
    copy(keyCode, shift);
  }
}
void Control::HandleKeyUp(int& keyCode, int shift) {
  if (OnKeyUp) {
    auto copy = OnKeyUp;
    copy(keyCode, shift);
  }
}
void Control::HandleKeyPress(int& keyAscii) {
  if (OnKeyPress) {
    auto copy = OnKeyPress;
    copy(keyAscii);
  }
}
void Control::HandleResize() {
  Invalidate();
  Raise(OnResize);
}

}  // namespace ui
