// A top-level window of the program (class "ThunderRT5Form"): caption, border style, Load and
// Unload, shown plainly or modally, a background colour and picture, a menu bar, pop-up menus,
// and the registry of its controls by name and index.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gfx/canvas.h"
#include "ui/control.h"
#include "ui/menu.h"

namespace ui {

inline constexpr const char* kFormClass = "ThunderRT5Form";

enum class BorderStyle {
  None,             // no border, no caption (the message box)
  FixedSingle,      // caption, thin border
  Sizable,          // caption, sizing border, minimize and maximize boxes
  FixedDialog,      // caption, dialog frame
  FixedToolWindow,  // small caption, kept out of the task list
};

class Form : public Control {
 public:
  // A hidden top-level form (or a form inside `parent` when given).
  explicit Form(std::string name, std::string caption = "",
                BorderStyle border = BorderStyle::Sizable, platform::HWND parent = 0);
  ~Form() override;

  std::string Caption() const { return WindowText(); }
  void SetCaption(const std::string& caption);
  BorderStyle Border() const { return border_; }

  // Raises Load once until the form is unloaded again. Show and ShowModal load the form.
  void Load();
  bool Loaded() const { return loaded_; }
  void Show();
  // Shows the form and dispatches events until it is hidden or unloaded (or the process
  // ends); the owner is disabled meanwhile.
  void ShowModal(platform::HWND owner = 0);
  bool IsModal() const { return modal_; }
  void Hide();
  // Raises Unload (which may cancel) and hides the form; false when cancelled. The close box
  // unloads the form too.
  bool Unload();

  // The background picture, drawn at the top-left or tiled over the whole client area.
  void SetPicture(std::optional<gfx::Image> picture, bool tiled = false);
  const std::optional<gfx::Image>& Picture() const { return picture_; }

  // The root of the form's menus; its visible items with captions make the menu bar.
  Menu& Menus() { return menus_; }
  Menu* FindMenu(const std::string& name, int index = -1) { return menus_.Find(name, index); }
  // Shows the children of `menu` as a pop-up at a point of the form's client area and raises
  // the Click of the chosen item.
  void PopupMenu(Menu& menu, int x, int y);
  void RebuildMenuBar();

  // The form's controls by name, and by index for control arrays.
  Control* FindControl(const std::string& name, int index = -1) const;
  template <class T>
  T* Find(const std::string& name, int index = -1) const {
    return dynamic_cast<T*>(FindControl(name, index));
  }
  std::vector<Control*> Controls() const { return controls_; }
  // Creates a control that the form owns: Add<Label>("lblName", ...) passes the form as the
  // parent followed by the other arguments.
  template <class T, class... Args>
  T& Add(Args&&... args) {
    auto control = std::make_unique<T>(*this, std::forward<Args>(args)...);
    T& ref = *control;
    owned_.push_back(std::move(control));
    return ref;
  }
  // Takes ownership of a control made elsewhere (for example inside a container control).
  template <class T>
  T& Own(std::unique_ptr<T> control) {
    T& ref = *control;
    owned_.push_back(std::move(control));
    return ref;
  }

  // Keys as a dialog takes them (off until turned on): Tab and Shift+Tab move the focus
  // through the visible, enabled controls that take it, in the order they were made; Enter
  // clicks the default button (a multi-line text box keeps Enter); Esc clicks the cancel
  // button, or unloads the form when it has none.
  void SetDialogKeys(bool on) { dialogKeys_ = on; }
  bool DialogKeys() const { return dialogKeys_; }
  void SetDefaultButton(Control* button) { defaultButton_ = button; }
  Control* DefaultButton() const { return defaultButton_; }
  void SetCancelButton(Control* button) { cancelButton_ = button; }
  // With dialog keys, Alt+letter acts on the visible, enabled control whose caption marks that
  // letter with "&" (see Control::Mnemonic); several such controls take turns, starting after
  // the one with the focus.
  // The next (or, backwards, the previous) control after `from` that Tab gives the focus to;
  // nullptr when there is none.
  Control* NextTabStop(const Control* from, bool backwards) const;

  std::function<void()> OnLoad;
  std::function<void(bool& cancel)> OnUnload;
  std::function<void()> OnActivate;

 protected:
  platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam,
                               platform::LPARAM lParam) override;
  void Paint(gfx::Canvas& canvas) override;

 private:
  friend class Control;
  void Register(Control* control);
  void Unregister(Control* control);
  void RouteCommand(platform::UINT id);
  // A key that reached `target`: true when the form acted on it as a dialog key; the character
  // the key makes is then dropped too.
  bool DialogKey(Control& target, int keyCode, int shift);
  // Alt+letter that reached `target`: true when a control's mnemonic took it.
  bool MnemonicKey(Control& target, int keyCode, int shift);
  bool SwallowChar(int keyAscii);
  // The WM_SYSCHAR that follows an Alt+letter the form acted on.
  bool SwallowSysChar(int keyAscii);

  BorderStyle border_;
  bool loaded_ = false;
  bool modal_ = false;
  bool dialogKeys_ = false;
  Control* defaultButton_ = nullptr;
  Control* cancelButton_ = nullptr;
  int swallowChar_ = 0;
  int swallowSysChar_ = 0;
  std::optional<gfx::Image> picture_;
  bool tiled_ = false;
  Menu menus_;
  platform::HMENU menuBar_ = 0;
  std::vector<Control*> controls_;
  std::vector<std::unique_ptr<Control>> owned_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ui
