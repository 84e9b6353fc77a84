// The general items of the main window's menus (Control Panel, Notify AOL, the IMs menu) and
// the wiring of every command to its button or menu item.
#include <utility>

#include "commands/commands.h"

namespace commands {

SettingsTargets& Targets() {
  static SettingsTargets targets;
  return targets;
}

namespace {

void Show(const std::function<void()>& window) {
  if (window) window();
}

}  // namespace

host::SendIMResult IMsOff() {
  return host::SendIM(kIMsOffAddress, kIMsOffOnText);
}

host::SendIMResult IMsOn() {
  return host::SendIM(kIMsOnAddress, kIMsOffOnText);
}

void IMSubClick(container::MainWindow& main, int index) {
  switch (index) {
    case 0:
      host::RunKeyword(kSendIMKeyword);
      break;
    case 2:
      // The marks follow what the client was told, not what was asked of it.
      if (IMsOff() == host::SendIMResult::Sent) {
        main.mnuIMSub[2]->SetChecked(true);
        main.mnuIMSub[3]->SetChecked(false);
      }
      break;
    case 3:
      if (IMsOn() == host::SendIMResult::Sent) {
        main.mnuIMSub[2]->SetChecked(false);
        main.mnuIMSub[3]->SetChecked(true);
      }
      break;
    case 5:
      Show(Targets().showIgnoreList);
      break;
    default:
      break;
  }
}

void AttachCommands(container::MainWindow& main) {
  container::MainWindow* m = &main;
  main.AOButtonCloseIM.OnClick = [m] { CloseIMClick(*m); };
  main.AOButtonGetProfile.OnClick = [m] { GetProfileClick(*m); };
  main.AOButtonGetProfile.OnMouseUp = [m](int, int, int, int) { GetInfoMouseUp(*m); };
  main.AOButtonLocate.OnClick = [m] { LocateClick(*m); };
  main.AOButtonNotifyAOL.OnClick = [m] { NotifyAOLClick(*m); };
  main.AOButtonOptions.OnMouseUp = [m](int, int, int, int) { OptionsMouseUp(*m); };
  main.AOButtonMail.OnClick = [m] { MailClick(*m); };

  main.mnuShowInfoWindow->OnClick = [m] { ShowInfoWindow(*m); };
  const std::pair<ui::Menu*, int> infoItems[] = {
      {main.mnuSendMail, kIconSendMail},
      {main.mnuAddtoAddressBook, kIconAddToAddressBook},
      {main.mnuAddtoBuddyList, kIconAddToBuddyList},
      {main.mnuViewProfile, kIconViewProfile},
      {main.mnuSignOnaFriend, kIconSignOnAFriend},
      {main.mnuViewWebPage, kIconViewWebPage},
  };
  for (const auto& [item, icon] : infoItems) {
    const int n = icon;
    item->OnClick = [m, n] { ClickGetInfo(*m, n); };
  }

  main.mnuControlPanel[0]->OnClick = [] { Show(Targets().showSettings); };
  main.mnuNotifyAOL.OnClick = [m] { NotifyAOLButton(*m); };
  for (int i = 0; i < static_cast<int>(main.mnuIMSub.size()); ++i) {
    main.mnuIMSub[i]->OnClick = [m, i] { IMSubClick(*m, i); };
  }
}

}  // namespace commands
