#include "ignore/ignore_lists.h"

#include <vector>

#include "host/text_files.h"
#include "host/window_access.h"
#include "platform/ansi.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "widgets/message_box.h"

namespace ignore {

using platform::HWND;

namespace {

bool OnList(const ui::ListBox& list, const std::string& screenName) {
  for (int i = 0; i < list.ListCount(); ++i) {
    if (SameName(list.List(i), screenName)) return true;
  }
  return false;
}

std::string PermanentFile() {
  return settings::FolderPath(settings::kIgnorePermFile);
}

}  // namespace

void RemoveExact(ui::ListBox& list, const std::string& name) {
  for (int i = list.ListCount() - 1; i >= 0; --i) {
    if (list.List(i) == name) list.RemoveItem(i);
  }
}

bool SameName(const std::string& listed, const std::string& screenName) {
  return platform::EqualNoCase(listed, screenName);
}

void IgnoreCheck(container::MainWindow& main, HWND im) {
  const std::string screenName = host::GetIMScreenName(im);
  if (screenName.empty()) return;
  if (!OnList(main.lstIgnoreTem, screenName) && !OnList(main.lstIgnorePer, screenName)) return;
  host::CloseWin(im);
  host::IMOffFor(screenName);
}

void LoadPermanentList(container::MainWindow& main) {
  ui::ListBox& list = main.lstIgnorePer;
  list.Clear();
  const std::string path = PermanentFile();
  if (!platform::files::Exists(path)) return;
  host::LoadList(path, [&list](const std::string& name) { list.AddItem(name); });
}

bool SavePermanentList(const container::MainWindow& main) {
  std::vector<std::string> items;
  for (int i = 0; i < main.lstIgnorePer.ListCount(); ++i)
    items.push_back(main.lstIgnorePer.List(i));
  return host::SaveList(PermanentFile(), items);
}

namespace {

// Told after the change took effect in the session, so that a full or read-only disk never
// keeps a name from being blocked or unblocked.
void TellPermanentListNotSaved(const container::MainWindow& main) {
  widgets::ShowMessageBox(main.hwnd(),
                          "The permanent ignore list could not be saved to " + PermanentFile() +
                              ". The change holds until Pallion ends.",
                          0, "List not saved");
}

}  // namespace

void mnuIgnoreClick(container::MainWindow& main, int index) {
  if (index != 0 && index != 1) return;
  // The IM asked about: the selected tab's own, also when the client has closed it already
  // (its correspondent can still be ignored). The question and the block command wait for
  // events, so the person may choose another tab meanwhile; that changes nothing here.
  const int entry = main.SelectedEntry();
  if (entry < 0) return;
  const HWND asked = main.ListIM(entry);
  const std::string screenName = main.TabStrip1.SelectedCaption();
  // Without a correspondent the block command would be "$IM_OFF" alone, which turns off
  // every IM.
  if (screenName.empty()) return;

  const bool permanent = index == 1;
  const std::string prompt = "Are you sure you want to Ignore " + screenName +
                             (permanent ? " Permanently?" : " for rest of the session?");
  const std::string title = "Ignore " + screenName + (permanent ? " Permanently?" : "?");
  if (widgets::ShowMessageBox(main.hwnd(), prompt, 4, title) != "Yes") return;
  if (main.Exited()) return;

  bool saved = true;
  if (permanent) {
    main.lstIgnorePer.AddItem(screenName);
    saved = SavePermanentList(main);
  } else {
    main.lstIgnoreTem.AddItem(screenName);
  }
  host::IMOffFor(screenName);
  if (main.Exited()) return;
  main.CloseIM(asked);
  if (!saved && !main.Exited()) TellPermanentListNotSaved(main);
}

void AddTemporary(container::MainWindow& main, const std::string& name) {
  if (name.empty()) return;
  main.lstIgnoreTem.AddItem(name);
  host::IMOffFor(name);
}

void RemoveTemporary(container::MainWindow& main, const std::string& name) {
  if (name.empty()) return;
  RemoveExact(main.lstIgnoreTem, name);
  host::IMOnFor(name);
}

void ClearTemporary(container::MainWindow& main) {
  main.lstIgnoreTem.Clear();
}

void AddPermanent(container::MainWindow& main, const std::string& name) {
  if (name.empty()) return;
  main.lstIgnorePer.AddItem(name);
  const bool saved = SavePermanentList(main);
  host::IMOffFor(name);
  if (!saved) TellPermanentListNotSaved(main);
}

void RemovePermanent(container::MainWindow& main, const std::string& name) {
  if (name.empty()) return;
  RemoveExact(main.lstIgnorePer, name);
  const bool saved = SavePermanentList(main);
  host::IMOnFor(name);
  if (!saved) TellPermanentListNotSaved(main);
}

void ClearPermanent(container::MainWindow& main) {
  main.lstIgnorePer.Clear();
  if (!SavePermanentList(main)) TellPermanentListNotSaved(main);
}

void Attach(container::MainWindow& main) {
  for (int i = 0; i < 2; ++i) {
    main.mnuIgnore[i]->OnClick = [&main, i] { mnuIgnoreClick(main, i); };
  }
  main.ignoreCheck = [&main](HWND im) { IgnoreCheck(main, im); };
  main.settingsReaders.push_back([&main] { LoadPermanentList(main); });
  if (main.Loaded()) LoadPermanentList(main);
}

}  // namespace ignore
