#include "startup/first_window.h"

#include <gtest/gtest.h>

#include <memory>

#include "clientsim/client.h"
#include "container/main_window.h"
#include "host/window_access.h"
#include "imlog/im_log.h"
#include "platform/sim/desktop.h"
#include "platform/win32.h"
#include "startup/host_menu.h"
#include "support/container_fixture.h"
#include "support/widgets_person.h"
#include "widgets/message_box.h"

namespace {

using namespace platform;
using clientsim::Layout;

constexpr const char* kContainer = container::kContainerCaption;

// What one message box of the program showed.
struct ShownBox {
  std::string caption;
  std::string text;
};

struct Options {
  bool startClient = true;
  int toolbarEdits = 5;
};

// The simulated desktop with the stand-in client (process "AOL", signed on) and the program's
// process "Pallion", where start-up runs.
class Startup : public ::testing::TestWithParam<Layout> {
 protected:
  void SetUpWorld(Options options = {}) {
    folder = containerfix::EnterDesktop(desktop, "startup");
    aol = desktop.CreateProcess("AOL");
    clientsim::ClientOptions clientOptions;
    clientOptions.layout = GetParam();
    clientOptions.toolbarEdits = options.toolbarEdits;
    client = std::make_unique<clientsim::Client>(clientOptions);
    if (options.startClient) {
      client->Start();
      client->SignOn("Alice");
    }
    pallion = desktop.CreateProcess("Pallion");
    desktop.RunFor(1000);
  }
  void TearDown() override {
    widgets::DestroyMessageBoxes();
    second.reset();
    program.reset();
    client.reset();
    imlog::ForgetLoggedIMs();
    containerfix::LeaveDesktop(folder);
  }

  // Answers the next message box with OK, noting what it showed.
  void AnswerBox(const std::string& button = "OK") {
    widgets_person::AnswerNextMessageBox(desktop, button, std::nullopt, [this](auto& box) {
      boxes.push_back({box.lblCaption.Caption(), box.lblText.Caption()});
    });
  }

  startup::StartResult StartProgram() {
    sim::Desktop::ProcessScope scope(desktop, pallion);
    program = std::make_unique<startup::Program>();
    return program->Start();
  }

  // The "AOL Child" windows under the client's MDI client whose caption begins with `start`.
  std::vector<HWND> Documents(const std::string& start) {
    std::vector<HWND> found;
    const HWND mdi = client->MdiClient();
    for (HWND w = FindWindowEx(mdi, 0, "AOL Child", nullptr); w != 0;
         w = FindWindowEx(mdi, w, "AOL Child", nullptr)) {
      if (GetWindowText(w).rfind(start, 0) == 0) found.push_back(w);
    }
    return found;
  }
  // A document window of the client's own, as if the user had opened it.
  HWND ClientDocument(const std::string& caption) {
    sim::Desktop::ProcessScope scope(desktop, aol);
    return CreateWindowEx(0, "AOL Child", caption, WS_CHILD | WS_VISIBLE, 10, 10, 200, 150,
                          client->MdiClient(), 0, {});
  }
  int MenuBarItems() { return GetMenuItemCount(GetMenu(client->MainWindow())); }
  std::vector<HWND> ProgramWindows(DWORD process) {
    std::vector<HWND> found;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != 0; w = GetWindow(w, GW_HWNDNEXT)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == process) found.push_back(w);
    }
    return found;
  }
  void ExpectOlderClientRefused() {
    AnswerBox();
    EXPECT_EQ(StartProgram(), startup::StartResult::OlderClient);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Older version of AOL!");
    EXPECT_EQ(boxes[0].text,
              "Pallion is not compatible with this version of AOL. Please load AOL 6.0 first.");
    EXPECT_FALSE(desktop.ProcessAlive(pallion));
    EXPECT_TRUE(Documents(kContainer).empty());
    EXPECT_TRUE(Documents("Untitled").empty());
    EXPECT_EQ(MenuBarItems(), 6);
  }

  sim::Desktop desktop;
  std::string folder;
  DWORD aol = 0;
  DWORD pallion = 0;
  std::unique_ptr<clientsim::Client> client;
  std::unique_ptr<startup::Program> program;
  std::unique_ptr<startup::Program> second;
  std::vector<ShownBox> boxes;
};

INSTANTIATE_TEST_SUITE_P(Layouts, Startup, containerfix::BothClients(), containerfix::ClientName);

TEST_P(Startup, WithoutTheClientOnlyTheBoxIsShown) {
  SetUpWorld({.startClient = false});
  AnswerBox();
  EXPECT_EQ(StartProgram(), startup::StartResult::NoClient);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Please load AOL");
  EXPECT_EQ(boxes[0].text, "Please load AOL 6.0 first before running this program.");
  EXPECT_FALSE(desktop.ProcessAlive(pallion));
  EXPECT_EQ(program->Main(), nullptr);
  EXPECT_TRUE(ProgramWindows(pallion).empty());
  desktop.RunFor(5000);
  EXPECT_EQ(boxes.size(), 1u);
  // The lock was never taken: a later start finds no other copy.
  sim::Desktop::ProcessScope scope(desktop, desktop.CreateProcess("Pallion"));
  EXPECT_TRUE(CreateNamedLock(startup::kInstanceLock));
}

TEST_P(Startup, ABoxClosedWithoutAButtonEndsTheProgramToo) {
  SetUpWorld({.startClient = false});
  widgets_person::CloseNextMessageBox(desktop);
  EXPECT_EQ(StartProgram(), startup::StartResult::NoClient);
  EXPECT_FALSE(desktop.ProcessAlive(pallion));
  EXPECT_TRUE(ProgramWindows(pallion).empty());
}

TEST_P(Startup, BuildsTheContainerWithThePanelsInside) {
  SetUpWorld();
  ASSERT_EQ(StartProgram(), startup::StartResult::Running);
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(desktop.ProcessAlive(pallion));
  container::MainWindow* main = program->Main();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(main->Loaded());

  auto containers = Documents(kContainer);
  ASSERT_EQ(containers.size(), 1u);
  const HWND box = containers[0];
  EXPECT_EQ(GetWindowText(box), kContainer);
  EXPECT_EQ(host::FindPallionChild(), box);
  EXPECT_FALSE(IsWindowVisible(box));  // no IM yet
  EXPECT_TRUE(Documents("Untitled").empty());
  EXPECT_EQ(containerfix::RectIn(box), (containerfix::Rect{250, 75, 450, 316}));
  for (const char* cls : {"_AOL_Icon", "_AOL_FontCombo", "_AOL_Combobox", "RICHCNTL"}) {
    EXPECT_EQ(FindWindowEx(box, 0, cls, nullptr), 0u) << cls;
  }
  EXPECT_EQ(FindWindowEx(box, 0, "_AOL_Static", nullptr), 0u);

  EXPECT_EQ(GetParent(main->Picture1.hwnd()), box);
  EXPECT_EQ(GetParent(main->TabStrip1.hwnd()), main->Picture1.hwnd());
  EXPECT_EQ(GetParent(main->picIM.hwnd()), main->Picture1.hwnd());
  EXPECT_TRUE(main->Timer1.Enabled());

  // The first IM shows the container with the IM inside.
  client->ReceiveIM("Bob", "Hi Alice");
  desktop.RunFor(3000);
  EXPECT_TRUE(IsWindowVisible(box));
  EXPECT_EQ(GetParent(client->IMWindow("Bob")), main->IMHolder());
}

TEST_P(Startup, TheMenuAddedToTheClient) {
  SetUpWorld();
  const HMENU bar = GetMenu(client->MainWindow());
  const int before = GetMenuItemCount(bar);
  ASSERT_EQ(StartProgram(), startup::StartResult::Running);
  ASSERT_EQ(GetMenuItemCount(bar), before + 1);
  const int last = before;
  EXPECT_EQ(GetMenuString(bar, static_cast<UINT>(last), MF_BYPOSITION), "Palli&on \xB2\xB7\xBA");
  EXPECT_EQ(GetMenuItemID(bar, last), 0xFFFFFFFFu);
  const HMENU popup = GetSubMenu(bar, last);
  ASSERT_NE(popup, 0u);
  ASSERT_EQ(GetMenuItemCount(popup), 13);
  const char* captions[] = {
      "&Control Panel", "",         "&Help", "Check for &Updates", "",
      "&Reset IMs",     "&Save IM", "",      "&Tell a Friend",     "Ad&vertise",
      "&About",         "",         "E&xit"};
  for (int i = 0; i < 13; ++i) {
    EXPECT_EQ(GetMenuItemID(popup, i), static_cast<UINT>(1001 + i)) << i;
    const bool separator =
        (GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) != 0;
    EXPECT_EQ(separator, std::string(captions[i]).empty()) << i;
    if (!separator) {
      EXPECT_EQ(GetMenuString(popup, static_cast<UINT>(i), MF_BYPOSITION), captions[i]) << i;
    }
  }
  // The client's own menus are untouched.
  EXPECT_EQ(GetMenuString(bar, 0, MF_BYPOSITION), "&File");
  EXPECT_EQ(GetMenuString(bar, static_cast<UINT>(last - 1), MF_BYPOSITION), "&Help");
}

TEST_P(Startup, ResetIMsGivesTheIMsBackAndGathersThemAgain) {
  SetUpWorld();
  ASSERT_EQ(StartProgram(), startup::StartResult::Running);
  container::MainWindow& main = *program->Main();
  client->ReceiveIM("Bob", "one");
  desktop.RunFor(3000);
  client->ReceiveIM("Carl", "two");
  desktop.RunFor(3000);
  const HWND bob = client->IMWindow("Bob");
  const HWND carl = client->IMWindow("Carl");
  ASSERT_EQ(GetParent(bob), main.IMHolder());
  ASSERT_EQ(GetParent(carl), main.IMHolder());
  ASSERT_EQ(main.List1.ListCount(), 2);

  ASSERT_TRUE(
      desktop.ChooseMenuItem(client->MainWindow(), {"Palli&on \xB2\xB7\xBA", "&Reset IMs"}));
  // Handed back before the next discovery tick: in the client's MDI area, the lists emptied.
  for (HWND im : {bob, carl}) {
    EXPECT_EQ(GetParent(im), client->MdiClient());
    EXPECT_EQ(containerfix::RectIn(im), (containerfix::Rect{220, 125, 390, 300}));
  }
  EXPECT_EQ(main.List1.ListCount(), 0);
  EXPECT_EQ(main.TabStrip1.Count(), 0);
  desktop.RunFor(5000);
  EXPECT_EQ(GetParent(bob), main.IMHolder());
  EXPECT_EQ(GetParent(carl), main.IMHolder());
  EXPECT_EQ(main.List1.ListCount(), 2);
}

TEST_P(Startup, ResetIMsKeepsTheIMsWhenTheClientsMDIClientHasGone) {
  SetUpWorld();
  ASSERT_EQ(StartProgram(), startup::StartResult::Running);
  container::MainWindow& main = *program->Main();
  main.mnuEntertoSend[2]->Click();  // Float Mode: the IMs no longer live in the MDI client
  client->ReceiveIM("Bob", "one");
  desktop.RunFor(3000);
  const HWND bob = client->IMWindow("Bob");
  ASSERT_EQ(GetParent(bob), main.IMHolder());
  {
    sim::Desktop::ProcessScope scope(desktop, aol);
    ASSERT_TRUE(DestroyWindow(client->MdiClient()));
  }
  ASSERT_TRUE(
      desktop.ChooseMenuItem(client->MainWindow(), {"Palli&on \xB2\xB7\xBA", "&Reset IMs"}));
  desktop.RunFor(5000);
  EXPECT_EQ(GetParent(bob), main.IMHolder());
  EXPECT_EQ(main.List1.ListCount(), 1);
  EXPECT_EQ(main.TabStrip1.Count(), 1);
}

TEST_P(Startup, ResetIMsWithoutIMsDoesNothing) {
  SetUpWorld();
  ASSERT_EQ(StartProgram(), startup::StartResult::Running);
  ASSERT_TRUE(
      desktop.ChooseMenuItem(client->MainWindow(), {"Palli&on \xB2\xB7\xBA", "&Reset IMs"}));
  EXPECT_TRUE(program->Main()->Timer1.Enabled());
  EXPECT_TRUE(desktop.ProcessAlive(pallion));
}

TEST_P(Startup, CheckForUpdatesBeforeSignOnSaysSo) {
  SetUpWorld();
  ASSERT_EQ(StartProgram(), startup::StartResult::Running);
  client->SignOff();
  desktop.RunFor(1000);
  AnswerBox();
  {
    sim::Desktop::ProcessScope scope(desktop, pallion);
    startup::HostMenuCommand(*program->Main(), 1004);
  }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Not signed on");
  EXPECT_EQ(boxes[0].text, "You are not signed on to AOL. Please sign on to AOL.");
}

TEST_P(Startup, SeparatorsAndOtherCommandsDoNothing) {
  SetUpWorld();
  ASSERT_EQ(StartProgram(), startup::StartResult::Running);
  container::MainWindow& main = *program->Main();
  client->ReceiveIM("Bob", "one");
  desktop.RunFor(3000);
  for (UINT id : {1002u, 1005u, 1008u, 1012u, 1000u, 1014u, 101u}) {
    SendMessage(client->MainWindow(), WM_COMMAND, id == 101u ? 999u : id, 0);
  }
  desktop.RunFor(500);
  EXPECT_TRUE(desktop.ProcessAlive(pallion));
  EXPECT_EQ(main.List1.ListCount(), 1);
  EXPECT_EQ(GetParent(client->IMWindow("Bob")), main.IMHolder());
}

TEST_P(Startup, OnlyMenuChoicesRunTheProgramsCommands) {
  SetUpWorld();
  ASSERT_EQ(StartProgram(), startup::StartResult::Running);
  container::MainWindow& main = *program->Main();
  client->ReceiveIM("Bob", "one");
  desktop.RunFor(3000);
  const HWND bob = client->IMWindow("Bob");
  ASSERT_EQ(GetParent(bob), main.IMHolder());
  // A button of the client's whose identifier is that of "Reset IMs" tells its parent it was
  // pressed, as the client's controls do.
  HWND button = 0;
  {
    sim::Desktop::ProcessScope scope(desktop, aol);
    WindowClass cls;
    cls.name = "ClientButton";
    RegisterClass(cls);
    button = CreateWindowEx(0, "ClientButton", "Press", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20,
                            client->MainWindow(), 1006,
                            [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
                              if (msg == WM_LBUTTONUP) {
                                SendMessage(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(1006, 0),
                                            static_cast<LPARAM>(hwnd));
                              }
                              return DefWindowProc(hwnd, msg, wParam, lParam);
                            });
  }
  // "Reset IMs" would hand Bob's IM back at once (and gather it again on a later tick).
  desktop.Click(button);
  EXPECT_EQ(GetParent(bob), main.IMHolder());
  EXPECT_EQ(main.List1.ListCount(), 1);
  // One of the client's accelerators with such an identifier.
  SendMessage(client->MainWindow(), WM_COMMAND, MAKEWPARAM(1006, 1), 0);
  desktop.RunPending();
  EXPECT_EQ(GetParent(bob), main.IMHolder());
  EXPECT_EQ(main.List1.ListCount(), 1);
  ASSERT_TRUE(
      desktop.ChooseMenuItem(client->MainWindow(), {"Palli&on \xB2\xB7\xBA", "&Reset IMs"}));
  EXPECT_EQ(GetParent(bob), client->MdiClient());
}

TEST_P(Startup, ASecondCopyIsRefusedAndTheFirstGoesOn) {
  SetUpWorld();
  ASSERT_EQ(StartProgram(), startup::StartResult::Running);
  const HWND box = host::FindPallionChild();
  const int items = MenuBarItems();

  const DWORD other = desktop.CreateProcess("Pallion");
  desktop.SetCurrentProcess(pallion);
  AnswerBox();
  startup::StartResult result;
  {
    sim::Desktop::ProcessScope scope(desktop, other);
    second = std::make_unique<startup::Program>();
    result = second->Start();
    EXPECT_EQ(startup::AppTitle(), "#$#");
  }
  EXPECT_EQ(result, startup::StartResult::AlreadyRunning);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Pallion already running.");
  EXPECT_EQ(boxes[0].text, "This program is already running. Please Exit before running it.");
  EXPECT_FALSE(desktop.ProcessAlive(other));

  EXPECT_TRUE(desktop.ProcessAlive(pallion));
  EXPECT_EQ(Documents(kContainer), std::vector<HWND>{box});
  EXPECT_EQ(MenuBarItems(), items);
  client->ReceiveIM("Bob", "still gathered?");
  desktop.RunFor(3000);
  EXPECT_EQ(GetParent(client->IMWindow("Bob")), program->Main()->IMHolder());
}

TEST_P(Startup, AWindowWithTheTitleMarksAnotherCopy) {
  SetUpWorld();
  const DWORD other = desktop.CreateProcess("Pallion");
  desktop.SetCurrentProcess(pallion);
  std::unique_ptr<ui::Form> stranger;
  {
    sim::Desktop::ProcessScope scope(desktop, other);
    stranger = std::make_unique<ui::Form>("frmPallion", startup::kApplicationTitle);
  }
  AnswerBox();
  EXPECT_EQ(StartProgram(), startup::StartResult::AlreadyRunning);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Pallion already running.");
  EXPECT_TRUE(Documents(kContainer).empty());
  EXPECT_EQ(MenuBarItems(), 6);
  {
    sim::Desktop::ProcessScope scope(desktop, other);
    stranger.reset();
  }
}

TEST_P(Startup, AnOlderClientWithFourToolbarEditsIsRefused) {
  SetUpWorld({.toolbarEdits = 4});
  ExpectOlderClientRefused();
}

// Counted round and round, three edits would give a fifth; they are still too few.
TEST_P(Startup, AnOlderClientWithThreeToolbarEditsIsRefused) {
  SetUpWorld({.toolbarEdits = 3});
  ExpectOlderClientRefused();
}

TEST_P(Startup, ALeftoverContainerIsClosedSoOnlyOneRemains) {
  SetUpWorld();
  const HWND leftover = ClientDocument(kContainer);
  const HWND named = ClientDocument(std::string(kContainer) + " Bob");
  ASSERT_EQ(Documents(kContainer).size(), 2u);
  ASSERT_EQ(StartProgram(), startup::StartResult::Running);
  desktop.RunFor(500);
  EXPECT_FALSE(IsWindow(leftover));
  EXPECT_FALSE(IsWindow(named));
  auto containers = Documents(kContainer);
  ASSERT_EQ(containers.size(), 1u);
  EXPECT_EQ(containers[0], host::FindPallionChild());
}

TEST_P(Startup, OnlyTheExactUntitledIsTaken) {
  SetUpWorld();
  const HWND numbered = ClientDocument("Untitled 2");
  ASSERT_EQ(StartProgram(), startup::StartResult::Running);
  EXPECT_TRUE(IsWindow(numbered));
  EXPECT_EQ(GetWindowText(numbered), "Untitled 2");
  EXPECT_NE(host::FindPallionChild(), numbered);
  EXPECT_EQ(Documents(kContainer).size(), 1u);
}

TEST_P(Startup, AnUntitledDocumentOfTheUserIsLeftAlone) {
  SetUpWorld();
  const HWND mine = ClientDocument("Untitled");
  ASSERT_EQ(StartProgram(), startup::StartResult::Running);
  EXPECT_TRUE(IsWindow(mine));
  EXPECT_EQ(GetWindowText(mine), "Untitled");
  EXPECT_NE(host::FindPallionChild(), mine);
  EXPECT_EQ(Documents(kContainer).size(), 1u);
}

TEST_P(Startup, AClientThatOpensNoWindowIsGivenUpOn) {
  SetUpWorld();
  {
    sim::Desktop::ProcessScope scope(desktop, aol);
    // The first item of the first menu no longer opens a document.
    DeleteMenu(GetSubMenu(GetMenu(client->MainWindow()), 0), 0, MF_BYPOSITION);
  }
  AnswerBox();
  const uint64_t start = desktop.NowMs();
  EXPECT_EQ(StartProgram(), startup::StartResult::NoContainer);
  EXPECT_GE(desktop.NowMs() - start, startup::kClientWaitMs);
  EXPECT_LE(desktop.NowMs() - start, startup::kClientWaitMs + 5000);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "AOL did not respond");
  EXPECT_FALSE(desktop.ProcessAlive(pallion));
  EXPECT_TRUE(Documents(kContainer).empty());
  EXPECT_EQ(MenuBarItems(), 6);
  EXPECT_TRUE(client->Running());
}

TEST_P(Startup, AWindowTheClientOpensTooLateIsClosedAgain) {
  SetUpWorld();
  {
    sim::Desktop::ProcessScope scope(desktop, aol);
    DeleteMenu(GetSubMenu(GetMenu(client->MainWindow()), 0), 0, MF_BYPOSITION);
  }
  // The client opens the window 3 seconds after the program gave up; the person reads the
  // notice for 10 seconds.
  HWND late = 0;
  desktop.Schedule(
      startup::kClientWaitMs + 3000, [&] { late = ClientDocument("Untitled"); }, aol);
  desktop.Schedule(startup::kClientWaitMs + 10000, [&] { AnswerBox(); });
  EXPECT_EQ(StartProgram(), startup::StartResult::NoContainer);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "AOL did not respond");
  ASSERT_NE(late, 0u);
  desktop.RunFor(1000);
  EXPECT_FALSE(IsWindow(late));
  EXPECT_TRUE(Documents("Untitled").empty());
  EXPECT_TRUE(Documents(kContainer).empty());
  EXPECT_EQ(MenuBarItems(), 6);
  EXPECT_FALSE(desktop.ProcessAlive(pallion));
}

TEST_P(Startup, AWindowWhoseButtonsCannotBeRemovedIsGivenBack) {
  SetUpWorld();
  HWND stubborn = 0;
  {
    sim::Desktop::ProcessScope scope(desktop, aol);
    DeleteMenu(GetSubMenu(GetMenu(client->MainWindow()), 0), 0, MF_BYPOSITION);
  }
  // Instead, a window whose button ignores being closed.
  desktop.Schedule(
      500,
      [&] {
        stubborn = ClientDocument("Untitled");
        CreateWindowEx(0, "_AOL_Icon", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, stubborn, 0,
                       [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
                         if (msg == WM_CLOSE) return 0;
                         return DefWindowProc(hwnd, msg, wParam, lParam);
                       });
      },
      aol);
  AnswerBox();
  const uint64_t start = desktop.NowMs();
  EXPECT_EQ(StartProgram(), startup::StartResult::NoContainer);
  EXPECT_LE(desktop.NowMs() - start, startup::kClientWaitMs + 5000);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "AOL did not respond");
  desktop.RunFor(1000);
  ASSERT_NE(stubborn, 0u);
  EXPECT_FALSE(IsWindow(stubborn));
  EXPECT_TRUE(Documents(kContainer).empty());
  EXPECT_EQ(MenuBarItems(), 6);
  EXPECT_FALSE(desktop.ProcessAlive(pallion));
  EXPECT_TRUE(client->Running());
}

}  // namespace
