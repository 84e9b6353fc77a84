// The button bar's commands and the "Get Info" pop-up: each acts on the shown IM through the
// client's own windows.
#include <string>

#include "commands/commands.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "widgets/message_box.h"

namespace commands {

using namespace platform;

namespace {

void PlaySound(const char* file) {
  host::PlaySoundFile(settings::FolderPath(std::string(settings::kSoundsFolder) + file));
}
void ClickSound() {
  PlaySound("Click.icp");
}
void MenuSound() {
  PlaySound("Menu.icp");
}

bool SignedOn() {
  return !host::GetUserSN().empty();
}

// The correspondent of the shown IM: the selected tab's caption.
std::string ShownName(container::MainWindow& main) {
  return main.TabStrip1.SelectedCaption();
}

// Lets events run until `found` gives a window or the time is up; 0 then.
HWND WaitForWindow(const std::function<HWND()>& found, uint32_t timeoutMs) {
  HWND hwnd = 0;
  host::WaitFor([&] { return (hwnd = found()) != 0; }, timeoutMs);
  return hwnd;
}

// Moves the hidden main window so that its origin lies at a screen point and pops the menu
// up there.
void PopUpAt(container::MainWindow& main, ui::Menu& menu, int x, int y) {
  main.Move(x, y, 5000, 5000);
  main.PopupMenu(menu, 0, 0);
}

RECT Picture2Rect(container::MainWindow& main) {
  RECT r{};
  GetWindowRect(main.Picture2.hwnd(), r);
  return r;
}

}  // namespace

void CloseIMClick(container::MainWindow& main) {
  ClickSound();
  // The IM asked about: the person may choose another tab while the question is open, which
  // changes nothing about the IM a "Yes" closes.
  const HWND asked = main.ChosenIM();
  if (asked == 0) return;
  const std::string name = ShownName(main);
  const std::string answer = widgets::ShowMessageBox(
      main.hwnd(), "Are you sure you want to close the IM from " + name + "?", 4,
      "Close " + name + "'s IM?");
  if (answer == "Yes" && !main.Exited()) main.CloseIM(asked);
}

void GetProfileClick(container::MainWindow& main) {
  if (!SignedOn() || main.AOButtonGetProfile.Caption() != "Get Profile") return;
  ClickSound();
  const HWND button = host::FirstChild(main.ChosenIM(), "_AOL_Button");
  if (button == 0) return;
  SendMessage(button, WM_LBUTTONDOWN, 0, 0);
  SendMessage(button, WM_KEYDOWN, VK_SPACE, 0);
  SendMessage(button, WM_LBUTTONUP, 0, 0);
  SendMessage(button, WM_KEYUP, VK_SPACE, 0);
}

void GetInfoMouseUp(container::MainWindow& main) {
  if (!SignedOn() || main.AOButtonGetProfile.Caption() != "Get Info") return;
  const HWND im = main.ChosenIM();
  if (im == 0) return;
  MenuSound();
  const RECT holder = Picture2Rect(main);
  const bool member = host::IsIMStaticVisible(im);
  main.mnuSendMail->SetVisible(member);
  main.mnuViewWebPage->SetVisible(member);
  if (member) main.mnuSep8->SetVisible(true);
  main.mnuSignOnaFriend->SetVisible(!member);
  const bool tabs = main.UseTabs();
  main.mnuViewProfile->SetVisible(tabs);
  const int k = member && tabs ? 220 : (member || tabs ? 203 : 187);
  PopUpAt(main, main.mnuGetInfo, holder.left + 150, holder.bottom - k);
}

void LocateClick(container::MainWindow& main) {
  if (!SignedOn()) return;
  const std::string name = main.ctList1.CellText(main.ctList1.ListIndex(), 0);
  if (name.empty()) return;
  host::RunKeyword(kLocateKeyword + name);
  ClickSound();
}

void NotifyAOLClick(container::MainWindow& main) {
  ClickSound();
  NotifyAOLButton(main);
}

void NotifyAOLButton(container::MainWindow& main) {
  const HWND im = main.ChosenIM();
  if (im == 0) return;
  if (!host::IsIMStaticVisible(im)) {
    widgets::ShowMessageBox(
        main.hwnd(),
        ShownName(main) + " is not an AOL user. Instant Messenger users cannot be reported.", 0,
        "Not an AOL User.");
    return;
  }
  host::ClickIcon(host::NthChildExact(im, "_AOL_Button", 2));
}

void OptionsMouseUp(container::MainWindow& main) {
  MenuSound();
  const RECT holder = Picture2Rect(main);
  PopUpAt(main, main.mnuOptions, holder.left + (main.UseTabs() ? 210 : 287), holder.bottom - 252);
}

void MailClick(container::MainWindow& main) {
  if (main.AOButtonMail.Caption() != "Mail") {
    ClickSound();
    ClickGetInfo(main, kIconViewProfile);
    return;
  }
  const HWND write = host::NthChildExact(host::FindToolbar(), "_AOL_Icon", 3);
  if (write == 0) return;
  host::ClickIcon(write);
  ClickSound();
  host::Pause(1);
  const HWND mail =
      WaitForWindow([] { return host::FindChildByCaption("Write Mail"); }, kWriteMailWaitMs);
  host::SetText(host::FirstChild(mail, "_AOL_Edit"), ShownName(main));
}

void ShowInfoWindow(container::MainWindow& main) {
  host::ClickIcon(host::NthChildExact(main.ChosenIM(), "_aol_icon", kIMInfoIcon));
}

InfoResult ClickGetInfo(container::MainWindow& main, int icon) {
  const HWND infoIcon = host::NthChildExact(main.ChosenIM(), "_aol_icon", kIMInfoIcon);
  if (infoIcon == 0) return InfoResult::NoIM;
  host::ClickIcon(infoIcon);
  const HWND info =
      WaitForWindow([] { return FindWindow(kInfoWindowClass, nullptr); }, kInfoWindowWaitMs);
  if (info == 0) return InfoResult::NoInfoWindow;
  if (!host::GetCaption(info).starts_with(kInfoWindowCaption)) return InfoResult::OtherWindow;
  const HWND target = host::NthChildExact(info, "_aol_icon", icon + 1);
  if (target == 0) return InfoResult::IconMissing;
  host::ClickIcon(target);
  return InfoResult::Pressed;
}

}  // namespace commands
