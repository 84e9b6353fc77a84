// The base of every control of the program's windows: one platform window owned by a C++ object
// that receives the window's messages, paints itself on a canvas and raises its events through
// callbacks. Controls carry a name with a type prefix and, in a control array, an index.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "gfx/canvas.h"
#include "platform/types.h"

namespace ui {

class Control;
class Form;

// Where a control is created: inside another control (a form or a container), or inside any
// window at all, including one of another process.
struct Parent {
  Parent(Control& control);     // NOLINT: implicit on purpose, controls are passed as parents
  Parent(platform::HWND hwnd);  // NOLINT
  Control* control = nullptr;
  platform::HWND hwnd = 0;
};

// What the platform window of a control is made of.
struct WindowParams {
  std::string className;
  platform::DWORD style = 0;
  platform::DWORD exStyle = 0;
  std::string text;
  int x = 0, y = 0, width = 0, height = 0;
};

// Mouse buttons as the events report them.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

class Control {
 public:
  using MouseEvent = std::function<void(int button, int shift, int x, int y)>;
  // The key code by reference: setting it to 0 keeps the key from the control.
  using KeyEvent = std::function<void(int& keyCode, int shift)>;
  using KeyPressEvent = std::function<void(int& keyAscii)>;

  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // The control's window; 0 once the window is gone.
  platform::HWND hwnd() const { return hwnd_; }
  const std::string& Name() const { return name_; }
  int Index() const { return index_; }  // -1 outside a control array
  // The form the control belongs to (a form is its own); nullptr for a control made inside a
  // window that is not one of ours.
  Form* OwnerForm() const { return form_; }
  platform::HWND ParentHwnd() const;
  // The control under the given window, when the window is one of ours.
  static Control* FromHwnd(platform::HWND hwnd);

  // Position and size in pixels, in the parent's client coordinates.
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetLeft(int x);
  void SetTop(int y);
  void SetWidth(int width);
  void SetHeight(int height);
  void Move(int x, int y, int width, int height);  // MoveWindow, repainting
  void Move(int x, int y);
  int ClientWidth() const;
  int ClientHeight() const;

  bool Visible() const;  // the control's own visibility (not its ancestors')
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  void ZOrder();      // to the top among its siblings
  void Refresh();     // repaint now
  void Invalidate();  // repaint at the next chance
  void SetParent(platform::HWND newParent);
  void SetFocus();
  bool HasFocus() const;

  const gfx::Font& Font() const { return font_; }
  void SetFont(const gfx::Font& font);
  void SetFontSize(double points);
  gfx::Color BackColor() const { return backColor_; }
  void SetBackColor(gfx::Color color);
  gfx::Color ForeColor() const { return foreColor_; }
  void SetForeColor(gfx::Color color);
  const std::string& ToolTipText() const { return toolTip_; }
  void SetToolTipText(const std::string& text) { toolTip_ = text; }
  std::string WindowText() const;
  // The tool tip of the control under a screen point: the nearest of ours, from the window
  // there up through its parents, that has one ("" when none).
  static std::string ToolTipAt(platform::POINT screenPoint);

  // Events.
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  MouseEvent OnMouseDown;
  MouseEvent OnMouseMove;
  MouseEvent OnMouseUp;
  KeyEvent OnKeyDown;
  KeyEvent OnKeyUp;
  KeyPressEvent OnKeyPress;
  std::function<void()> OnResize;
  std::function<void()> OnGotFocus;
  std::function<void()> OnLostFocus;

  // The shift state now: 1 Shift, 2 Ctrl, 4 Alt.
  static int ShiftState();

 protected:
  Control(Parent parent, std::string name, int index, const WindowParams& params);

  // Every message of the window comes here first; the default handles painting, mouse, keys
  // and focus through the virtual handlers below and passes the rest to the platform.
  virtual platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam,
                                       platform::LPARAM lParam);
  platform::LRESULT DefaultProc(platform::UINT msg, platform::WPARAM wParam,
                                platform::LPARAM lParam);

  // Draws the client area; the default fills it with the back colour.
  virtual void Paint(gfx::Canvas& canvas);
  // Controls that take the keyboard focus when clicked.
  virtual bool TakesFocus() const { return false; }
  // What Alt with the letter that "&" marks in the control's caption does on a form with
  // dialog keys: a button is clicked, a label or frame hands the focus to the control made
  // after it; other controls have no caption of that kind.
  enum class MnemonicRole { None, Click, FocusNext };
  virtual MnemonicRole Mnemonic() const { return MnemonicRole::None; }
  virtual void HandleMouseDown(int button, int shift, int x, int y);
  virtual void HandleMouseMove(int button, int shift, int x, int y);
  virtual void HandleMouseUp(int button, int shift, int x, int y);
  virtual void HandleClick();
  virtual void HandleDblClick();
  virtual void HandleKeyDown(int& keyCode, int shift);
  virtual void HandleKeyUp(int& keyCode, int shift);
  virtual void HandleKeyPress(int& keyAscii);
  virtual void HandleResize();

  // Raise an event with a copy of the callback, so a handler may replace it or destroy the
  // control's owner safely.
  static void Raise(const std::function<void()>& event);

  void SetWindowTextRaw(const std::string& text);

 private:
  platform::LRESULT Dispatch(platform::HWND hwnd, platform::UINT msg, platform::WPARAM wParam,
                             platform::LPARAM lParam);
  void DoPaint();
  void Unregister();
  friend class Form;

  platform::HWND hwnd_ = 0;
  std::string name_;
  int index_ = -1;
  Form* form_ = nullptr;
  gfx::Font font_;
  gfx::Color backColor_ = 0xC0C0C0;
  gfx::Color foreColor_ = 0x000000;
  std::string toolTip_;
  bool leftPressed_ = false;
  // Expires with the control, so code after a handler can tell whether it still exists.
  std::shared_ptr<bool> lifetime_ = std::make_shared<bool>(true);
};

}  // namespace ui
