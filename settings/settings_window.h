// frmSettings, the "Control Panel": a tab strip over five page frames, one shown at a time,
// without OK or Cancel (every change is written at once). The window is made on first use
// and reads the stored settings each time it is loaded (SettingsFromINI).
//
// Attach once per main window, before or after it loads:
//   settings::AttachSettingsWindow(main);
// which makes both menus' "Control Panel" and "IM Ignore List" open it.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "container/main_window.h"
#include "settings/settings_window_page.h"
#include "ui/form.h"
#include "ui/frame.h"
#include "ui/tab_strip.h"

namespace settings {

inline constexpr const char* kSettingsCaption = "Control Panel";

// The tabs, numbered as TabStrip1 numbers them.
enum SettingsTab {
  kTabGeneral = 1,
  kTabAutoAnswer = 2,
  kTabFadeFeatures = 3,
  kTabIgnoreList = 4,
  kTabLogging = 5,
};

class SettingsWindow : public ui::Form {
 public:
  static constexpr int kWidth = 520;
  static constexpr int kHeight = 430;

  explicit SettingsWindow(container::MainWindow& main);
  ~SettingsWindow() override;

  container::MainWindow& Main() const { return main_; }

  ui::TabStrip& TabStrip1;
  // Frame1 "General", Frame2 "Auto IM Answer", Frame3 "Fade Features", Frame4 "Ignore List",
  // Frame5 the log browser; Frames[0] is Frame1.
  std::array<ui::Frame*, 5> Frames{};

  // Loads every page's stored state, in the order of the tabs.
  void SettingsFromINI();
  // The tab strip's click: shows the frame of the selected tab alone, at Frame1's place,
  // and lets its page fill itself.
  void TabStrip1Click();
  // Selects a tab as a click on it does.
  void ShowTab(int tab);

  // The page of a tab (nullptr for a number outside 1 to 5).
  SettingsPage* Page(int tab) const;
  template <class T>
  T* PageAs(int tab) const {
    return dynamic_cast<T*>(Page(tab));
  }

 private:
  void FormLoad();
  void CreatePages();

  container::MainWindow& main_;
  std::array<std::unique_ptr<SettingsPage>, 5> pages_;
};

// The settings window of the main window given to AttachSettingsWindow (nullptr before it
// was first opened).
SettingsWindow* frmSettings();

// Opens the settings window of `main` (made and loaded when needed, shown, brought to the
// front) at a tab; 0 keeps the tab it shows.
SettingsWindow& ShowSettingsWindow(container::MainWindow& main, int tab = 0);

// Wires "Control Panel" of the main window's Options menu and "IM Ignore List" of its IMs menu
// (at the "Ignore List" tab) to the settings window; the window is unloaded with the program.
// Start-up points the client's pop-up's "Control Panel" at ShowSettingsWindow.
void AttachSettingsWindow(container::MainWindow& main);

}  // namespace settings
