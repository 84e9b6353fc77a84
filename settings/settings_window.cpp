#include "settings/settings_window.h"

#include "answer/answer_page.h"
#include "commands/commands.h"
#include "ignore/ignore_page.h"
#include "imlog/log_browser.h"
#include "platform/win32.h"
#include "settings/settings_window_general.h"
#include "styling/fade_page.h"

namespace settings {

namespace {

SettingsWindow* current = nullptr;

constexpr const char* kTabCaptions[] = {"General", "Auto Answer", "Fade Features", "Ignore List",
                                        "Logging"};
constexpr const char* kFrameCaptions[] = {"General", "Auto IM Answer", "Fade Features",
                                          "Ignore List", ""};

}  // namespace

SettingsWindow::SettingsWindow(container::MainWindow& main)
    : ui::Form("frmSettings", kSettingsCaption, ui::BorderStyle::FixedSingle),
      TabStrip1(Add<ui::TabStrip>("TabStrip1", 6, 6, kWidth - 18, kHeight - 42)),
      main_(main) {
  Move(120, 80, kWidth, kHeight);
  for (const char* caption : kTabCaptions) TabStrip1.Add(caption);
  for (int i = 0; i < 5; ++i) {
    ui::Frame& frame =
        Add<ui::Frame>("Frame" + std::to_string(i + 1), kFrameCaptions[i], TabStrip1.ClientLeft(),
                       TabStrip1.ClientTop(), TabStrip1.ClientWidth(), TabStrip1.ClientHeight());
    frame.SetVisible(i == 0);
    frame.ZOrder();
    Frames[i] = &frame;
  }
  // The log browser's frame has no border of its own: its lists fill the panel.
  Frames[4]->SetBorderStyle(0);
  TabStrip1.OnClick = [this] { TabStrip1Click(); };
  // No OK or Cancel: Tab walks the page shown, Esc closes the window.
  SetDialogKeys(true);
  OnLoad = [this] { FormLoad(); };
  CreatePages();
  current = this;
}

SettingsWindow::~SettingsWindow() {
  if (current == this) current = nullptr;
}

// The one place where the pages are made. A page is a class deriving from SettingsPage whose
// constructor takes a PageContext and builds its controls inside context.frame (made with
// context.window.Own(...) so that they are found by name on this window); LoadSettings runs on
// each load of the window and Shown each time its tab is chosen. To add a page, make it here
// for its frame: pages_[kTabXxx - 1] = std::make_unique<Page>(Context(kTabXxx)).
void SettingsWindow::CreatePages() {
  const auto context = [this](int tab) { return PageContext{*this, *Frames[tab - 1], main_}; };
  pages_[kTabGeneral - 1] = std::make_unique<GeneralPage>(context(kTabGeneral));
  pages_[kTabAutoAnswer - 1] = std::make_unique<answer::AnswerPage>(context(kTabAutoAnswer));
  pages_[kTabFadeFeatures - 1] = std::make_unique<styling::FadePage>(context(kTabFadeFeatures));
  pages_[kTabIgnoreList - 1] = std::make_unique<ignore::IgnorePage>(context(kTabIgnoreList));
  pages_[kTabLogging - 1] =
      std::make_unique<imlog::LogBrowserPage>(*this, *Frames[kTabLogging - 1]);
}

SettingsPage* SettingsWindow::Page(int tab) const {
  if (tab < 1 || tab > static_cast<int>(pages_.size())) return nullptr;
  return pages_[tab - 1].get();
}

void SettingsWindow::FormLoad() {
  SettingsFromINI();
}

void SettingsWindow::SettingsFromINI() {
  for (const auto& page : pages_) {
    if (page) page->LoadSettings();
  }
}

void SettingsWindow::TabStrip1Click() {
  const std::string caption = TabStrip1.SelectedCaption();
  int tab = kTabGeneral;
  for (int i = 1; i < 5; ++i) {
    if (caption == kTabCaptions[i]) tab = i + 1;
  }
  for (int i = 0; i < 5; ++i) Frames[i]->SetVisible(i == tab - 1);
  if (tab != kTabGeneral) Frames[tab - 1]->SetLeft(Frames[0]->Left());
  if (SettingsPage* page = Page(tab)) page->Shown();
}

void SettingsWindow::ShowTab(int tab) {
  TabStrip1.SetSelectedItem(tab);
}

SettingsWindow* frmSettings() {
  return current;
}

SettingsWindow& ShowSettingsWindow(container::MainWindow& main, int tab) {
  SettingsWindow* window = current;
  if (window == nullptr || &window->Main() != &main) {
    window = &main.Own(std::make_unique<SettingsWindow>(main));
  }
  window->Show();
  platform::BringWindowToTop(window->hwnd());
  if (tab != 0) window->ShowTab(tab);
  return *window;
}

void AttachSettingsWindow(container::MainWindow& main) {
  container::MainWindow* m = &main;
  commands::Targets().showSettings = [m] { ShowSettingsWindow(*m); };
  commands::Targets().showIgnoreList = [m] { ShowSettingsWindow(*m, kTabIgnoreList); };
  main.unloaders.push_back([m] {
    if (current != nullptr && &current->Main() == m) current->Unload();
  });
}

}  // namespace settings
