// The ignore lists of the main window: the session list lstIgnoreTem and the permanent list
// lstIgnorePer (kept in "\IgnorePerm.lst", one screen name per line). A listed name is blocked
// in the client ("$IM_OFF", host::IMOffFor) and IM windows from it are closed before adoption.
//
// Attach once per main window, before or after it loads:
//   ignore::Attach(main);
// The settings page calls the Add/Remove/Clear functions for its buttons.
#pragma once

#include <string>

#include "container/main_window.h"
#include "platform/types.h"
#include "ui/list_box.h"

namespace ignore {

// The ignore rule: equal after lower-casing both (spaces and every other character count).
bool SameName(const std::string& listed, const std::string& screenName);
// Removes every item exactly equal to the name (letter case counts).
void RemoveExact(ui::ListBox& list, const std::string& name);

// The ignore check of a new IM window before adoption (run by discovery once attached): when
// its screen name is on the session or the permanent list, the window is closed and the name
// blocked in the client.
void IgnoreCheck(container::MainWindow& main, platform::HWND im);

// Start step: lstIgnorePer from "\IgnorePerm.lst" when the file exists.
void LoadPermanentList(container::MainWindow& main);
// Writes lstIgnorePer to "\IgnorePerm.lst"; false when the file cannot be written.
bool SavePermanentList(const container::MainWindow& main);

// A click on item `index` of mnuIgnore: asks about the correspondent of the selected tab
// (0: for the session, 1: for good); on "Yes" lists and blocks the name and closes the IM
// asked about (whichever IM is shown by then).
void mnuIgnoreClick(container::MainWindow& main, int index);

// The settings page. Add lists the name and blocks it ("" does nothing); Remove takes every
// item exactly equal to the name off the list and unblocks it; Clear empties the list without
// unblocking. The permanent list's file is rewritten after each change.
void AddTemporary(container::MainWindow& main, const std::string& name);
void RemoveTemporary(container::MainWindow& main, const std::string& name);
void ClearTemporary(container::MainWindow& main);
void AddPermanent(container::MainWindow& main, const std::string& name);
void RemovePermanent(container::MainWindow& main, const std::string& name);
void ClearPermanent(container::MainWindow& main);

// Wires the mnuIgnore items, discovery's ignore check and the start step; when the window has
// already loaded, the start step runs now.
void Attach(container::MainWindow& main);

}  // namespace ignore
