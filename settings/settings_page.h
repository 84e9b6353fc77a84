// What a page of the settings window is: an object that builds its controls inside the frame
// the window gives it, loads its stored state when the window loads, and fills itself each
// time its tab is chosen. Pages live in the folders of the features they set; this header
// needs nothing above the controls, so a page of any folder can be one.
#pragma once

#include <memory>
#include <utility>

#include "ui/control.h"
#include "ui/form.h"

namespace settings {

// A control of a page: made inside `parent` (the page's frame or a frame on it) and owned by
// the settings window, so that it is found by name on the window.
template <class T, class... Args>
T& MakeControl(ui::Form& window, ui::Control& parent, Args&&... args) {
  return window.Own(std::make_unique<T>(parent, std::forward<Args>(args)...));
}

class SettingsPage {
 public:
  virtual ~SettingsPage() = default;
  // A step of the window's SettingsFromINI: the stored state into the page's controls. Runs
  // each time the window is loaded, in the order of the tabs.
  virtual void LoadSettings() {}
  // The page's tab was chosen and its frame is now the one shown.
  virtual void Shown() {}
};

}  // namespace settings
