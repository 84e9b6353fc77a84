// The commands of the main window: the button bar under the gathered IMs (Close IM, Get
// Profile / Get Info, Locate, Notify AOL, Options, Mail / Get Profile), the "Get Info" pop-up
// that drives the client's info window, and the general items of the Options and IMs menus.
// Each command acts on the IM of the selected tab (MainWindow::ChosenIM) by driving the client's
// own windows; an entry whose IM has gone is dropped rather than acted on.
//
// Attach once per main window, before or after it loads:
//   commands::AttachCommands(main);
// The handlers refer to the main window only; they live as long as its controls do.
#pragma once

#include <cstdint>
#include <functional>

#include "container/main_window.h"
#include "host/window_access.h"

namespace commands {

// Waits for windows the client opens on a command give up quietly after this long.
inline constexpr uint32_t kInfoWindowWaitMs = 10000;
inline constexpr uint32_t kWriteMailWaitMs = 10000;

// The client's info window: a top-level "_aol_modal" whose caption begins with "Info for".
inline constexpr const char* kInfoWindowClass = "_aol_modal";
inline constexpr const char* kInfoWindowCaption = "Info for";
// The IM window's own info icon: its 15th "_aol_icon".
inline constexpr int kIMInfoIcon = 15;

// Icon numbers of the info window: the icon pressed is the (n + 1)-th "_aol_icon".
inline constexpr int kIconSendMail = 1;
inline constexpr int kIconAddToAddressBook = 4;
inline constexpr int kIconAddToBuddyList = 6;
inline constexpr int kIconViewProfile = 10;
inline constexpr int kIconViewWebPage = 12;
inline constexpr int kIconSignOnAFriend = 16;

inline constexpr const char* kLocateKeyword = "aol://3548:";
inline constexpr const char* kSendIMKeyword = "aol://9293:";
// The client's commands to refuse and accept all IMs, sent as IMs to these names.
inline constexpr const char* kIMsOffAddress = "$IM_OFF";
inline constexpr const char* kIMsOnAddress = "$IM_ON";
inline constexpr const char* kIMsOffOnText = "Pallion \xB2\xB7\xBA By: Morvane Software";

// Windows of other parts that the menus open; an item whose window is not given does nothing.
struct SettingsTargets {
  std::function<void()> showSettings;    // "Control Panel": frmSettings, not modal
  std::function<void()> showIgnoreList;  // "IM Ignore List": frmSettings on its "Ignore List" tab
};
SettingsTargets& Targets();

// Wires the button bar, the "Get Info" pop-up and the Options and IMs items to their commands.
void AttachCommands(container::MainWindow& main);

// ---- Button bar ----
void CloseIMClick(container::MainWindow& main);
void GetProfileClick(container::MainWindow& main);
void GetInfoMouseUp(container::MainWindow& main);
void LocateClick(container::MainWindow& main);
void NotifyAOLClick(container::MainWindow& main);
void OptionsMouseUp(container::MainWindow& main);
void MailClick(container::MainWindow& main);

// "Notify AOL": for an AOL member, presses the IM window's report button; otherwise says that
// Instant Messenger users cannot be reported. Nothing without a shown IM.
void NotifyAOLButton(container::MainWindow& main);

// ---- The client's info window ----
// Presses the chosen IM's info icon (nothing without one).
void ShowInfoWindow(container::MainWindow& main);

enum class InfoResult {
  Pressed,       // the info window's icon was pressed
  NoIM,          // no chosen IM, or it has no info icon
  NoInfoWindow,  // no info window came up in time
  OtherWindow,   // a "_aol_modal" came up that is not an info window
  IconMissing,   // the info window has fewer icons
};
// Opens the chosen IM's info window and presses its icon number `icon`.
InfoResult ClickGetInfo(container::MainWindow& main, int icon);

// ---- Options and IMs menus ----
host::SendIMResult IMsOff();
host::SendIMResult IMsOn();
// The items of mnuIMSub by index: 0 "Send IM", 2 "Turn IMs Off", 3 "Turn IMs On",
// 5 "IM Ignore List"; the separators do nothing.
void IMSubClick(container::MainWindow& main, int index);

}  // namespace commands
