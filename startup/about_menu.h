// The About window from both menus: "&About" of the program's pop-up in the client and
// "About" of the main window's AOL menu. Its "Updates" button runs the menus' "Check for
// Updates" command, with the same checks.
#pragma once

namespace container {
class MainWindow;
}

namespace startup {

void AttachAbout(container::MainWindow& main);

}  // namespace startup
