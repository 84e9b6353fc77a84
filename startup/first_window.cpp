#include "startup/first_window.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <utility>
#include <vector>

#include "answer/auto_answer.h"
#include "commands/commands.h"
#include "container/main_window.h"
#include "host/window_access.h"
#include "ignore/ignore_lists.h"
#include "online/live_update.h"
#include "online/online.h"
#include "platform/leftovers.h"
#include "platform/win32.h"
#include "settings/settings_window.h"
#include "startup/about_menu.h"
#include "startup/host_menu.h"
#include "startup/recovery.h"
#include "styling/outgoing.h"
#include "ui/timer.h"
#include "widgets/about.h"
#include "widgets/message_box.h"

namespace startup {

using namespace platform;

namespace {

constexpr const char* kChildClass = "AOL Child";
constexpr const char* kUntitled = "Untitled";
// Where the container first stands in the client's MDI area, until a place is saved: wide enough
// for the whole fade bar and button bar in either look.
constexpr RECT kFirstPlace{250, 75, 250 + 450, 75 + 316};

std::string& Title() {
  static std::string title = kApplicationTitle;
  return title;
}

// The "AOL Child" windows under the client's MDI client, top first.
std::vector<HWND> Documents() {
  std::vector<HWND> found;
  const HWND mdi = host::FindMDI();
  if (mdi == 0) return found;
  for (HWND child = FindWindowEx(mdi, 0, kChildClass, nullptr); child != 0;
       child = FindWindowEx(mdi, child, kChildClass, nullptr)) {
    found.push_back(child);
  }
  return found;
}

// A top-level "ThunderRT5Form" of another process whose caption is the application title.
bool OtherCopyWindow() {
  const DWORD self = GetCurrentProcessId();
  for (HWND w = FindWindowEx(0, 0, ui::kFormClass, AppTitle().c_str()); w != 0;
       w = FindWindowEx(0, w, ui::kFormClass, AppTitle().c_str())) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner != self) return true;
  }
  return false;
}

}  // namespace

void AttachAllParts(container::MainWindow& main) {
  commands::AttachCommands(main);
  answer::Attach(main);
  ignore::Attach(main);
  styling::AttachOutgoing(main);
  settings::AttachSettingsWindow(main);
  HostMenuTargets().showSettings = [m = &main] { settings::ShowSettingsWindow(*m); };
  online::Attach(main);
  HostMenuTargets().showLiveUpdate = online::ShowLiveUpdate;
  AttachAbout(main);
  AttachRecovery(main);
}

const std::string& AppTitle() {
  return Title();
}

FirstWindow::FirstWindow() : ui::Form("frmFirst", kApplicationTitle, ui::BorderStyle::None) {
  Title() = kApplicationTitle;
  Move(0, 0, 1, 1);
}

void FirstWindow::Refuse(StartResult why, const std::string& caption, const std::string& text) {
  result = why;
  widgets::ShowMessageBox(hwnd(), text, 0, caption);
  // The program ends whatever the box gave back, also when it was closed without a button.
  Unload();
  ExitProcess();
}

bool FirstWindow::RunChecks() {
  const HWND aol = host::FindAOL();
  if (aol == 0) {
    Refuse(StartResult::NoClient, "Please load AOL",
           "Please load AOL 6.0 first before running this program.");
    return false;
  }

  const bool lockTaken = CreateNamedLock(kInstanceLock);
  if (!lockTaken || OtherCopyWindow()) {
    Title() = kSecondCopyTitle;
    SetCaption(kSecondCopyTitle);
    Refuse(StartResult::AlreadyRunning, "Pallion already running.",
           "This program is already running. Please Exit before running it.");
    return false;
  }

  // Counted without wrapping round: a toolbar with fewer than five edits is an older client.
  const HWND toolbar = host::FindToolbar();
  if (host::NthChildExact(toolbar, "_AOL_Edit", 5) == 0) {
    Refuse(StartResult::OlderClient, "Older version of AOL!",
           "Pallion is not compatible with this version of AOL. Please load AOL 6.0 first.");
    return false;
  }

  host::StayOnTop(hwnd());
  return true;
}

bool FirstWindow::BuildContainer(std::unique_ptr<container::MainWindow>& main,
                                 const PartsAttacher& attach) {
  for (HWND doc : Documents()) {
    if (host::GetCaption(doc).starts_with(container::kContainerCaption)) host::CloseWin(doc);
  }

  // A document of the user's that is already called "Untitled" is not taken over.
  const std::vector<HWND> before = Documents();
  const auto newUntitled = [&before]() -> HWND {
    for (HWND doc : Documents()) {
      if (host::GetCaption(doc) == kUntitled &&
          std::find(before.begin(), before.end(), doc) == before.end()) {
        return doc;
      }
    }
    return 0;
  };
  host::RunAOLMenu(0, 0);
  HWND pallion = 0;
  const bool opened = host::WaitFor([&] { return (pallion = newUntitled()) != 0; }, kClientWaitMs);
  if (!opened) {
    if (ProcessEnded()) {
      result = StartResult::Ended;
      return false;
    }
    // The window asked for may still come while the person reads why the program ends: it is
    // closed then, so that nothing of this start stays in the client.
    auto& sweep = Add<ui::Timer>("TimerLateWindow", 100u, true);
    sweep.OnTick = [&newUntitled] { host::CloseWin(newUntitled()); };
    Refuse(StartResult::NoContainer, "AOL did not respond",
           "AOL did not open the new window that Pallion needs. Please close a few AOL "
           "windows and start Pallion again.");
    return false;
  }

  host::HideWin(pallion);
  MoveWindow(pallion, kFirstPlace.left, kFirstPlace.top, kFirstPlace.Width(), kFirstPlace.Height(),
             true);
  host::SetText(pallion, container::kContainerCaption);

  const bool stripped = host::WaitFor(
      [&] {
        const HWND icon = FindWindowEx(pallion, 0, "_aol_icon", nullptr);
        if (icon == 0) return true;
        SendMessage(icon, WM_CLOSE, 0, 0);
        return false;
      },
      kClientWaitMs);
  if (ProcessEnded()) {
    result = StartResult::Ended;
    return false;
  }
  if (!stripped) {
    // A container that keeps the client's buttons is no home for the IMs: the window goes back
    // to the client closed, and the person is told.
    host::CloseWin(pallion);
    Refuse(StartResult::NoContainer, "AOL did not respond",
           "AOL did not let Pallion set up its window. Please close a few AOL windows and "
           "start Pallion again.");
    return false;
  }
  for (const char* cls : {"_AOL_FontCombo", "_AOL_Combobox", "RICHCNTL", "_AOL_Static"}) {
    const HWND child = FindWindowEx(pallion, 0, cls, nullptr);
    if (child != 0) SendMessage(child, WM_CLOSE, 0, 0);
  }

  main = std::make_unique<container::MainWindow>();
  if (attach) attach(*main);
  main->Load();
  if (ProcessEnded()) {
    result = StartResult::Ended;
    return false;
  }
  main->Picture1.SetParent(pallion);
  main->TabStrip1.SetParent(main->Picture1.hwnd());
  main->picIM.SetParent(main->Picture1.hwnd());
  main->PlaceIMHolder();

  const HWND aol = host::FindAOL();
  // A copy that died without its shutdown may have left its menu on the client's menu bar.
  RemoveMenuBarItems(Current(), aol, container::HostMenuCaptions());
  AppendMenu(GetMenu(aol), MF_POPUP, 0, container::kHostMenuCaptionAppended);
  DrawMenuBar(aol);
  BuildHostMenu(*main);

  if (host::FindCurrentIM() != 0) host::ShowWin(host::FindPallionChild());
  return true;
}

Program::Program(PartsAttacher attach) : attach_(std::move(attach)) {}

// The program's single windows outlive no program: each is destroyed while the platform that
// made it is still there.
Program::~Program() {
  main_.reset();
  widgets::DestroyAbout();
  online::DestroyLiveUpdate();
  widgets::DestroyMessageBoxes();
}

StartResult Program::Start() {
  FirstWindow first;
  first.Load();
  if (!first.RunChecks()) return first.result;
  first.Show();
  if (!first.BuildContainer(main_, attach_)) return first.result;
  first.Unload();
  return StartResult::Running;
}

}  // namespace startup
