// The program's pop-up on the client's menu bar: built once by start-up over the item it
// appended, and the handling of its commands (WM_COMMAND 1001 to 1013 sent to the client's
// main window, seen through the main window's SubClassMenu).
#pragma once

#include <functional>

#include "platform/types.h"

namespace container {
class MainWindow;
}

namespace startup {

// The items of the pop-up, in order; item i (from 1) has the identifier 1000 + i.
inline constexpr int kFirstCommand = 1001;
inline constexpr int kLastCommand = 1013;
inline constexpr const char* kHostMenuItems[] = {
    "&Control Panel", "-",        "&Help", "Check for &Updates", "-",
    "&Reset IMs",     "&Save IM", "-",     "&Tell a Friend",     "Ad&vertise",
    "&About",         "-",        "E&xit"};

// Windows of other parts of the program that the commands open; a command whose window is
// not given does nothing.
struct HostMenuWindows {
  std::function<void()> showSettings;    // 1001, frmSettings, not modal
  std::function<void()> showLiveUpdate;  // 1004 when signed on and the news check is done
  std::function<void()> showAbout;       // 1011, frmAbout, not modal
};
HostMenuWindows& HostMenuTargets();

// Turns the item start-up appended (the last item of the client's menu bar, captioned
// "&Pallion²·º") into the program's pop-up with its 13 items, redraws the bar and attaches the
// main window's SubClassMenu to the client's main window. False when the client's window, its
// menu bar or the appended item is missing (then nothing is changed).
bool BuildHostMenu(container::MainWindow& main);

// Acts on one command identifier; identifiers outside 1001 to 1013 and the separators do
// nothing.
void HostMenuCommand(container::MainWindow& main, platform::UINT id);

// The commands on their own, as the menu runs them.
void ResetIMs(container::MainWindow& main);
void SaveIM(container::MainWindow& main);

}  // namespace startup
