// A world for scenario tests of the IM container: the simulated desktop, the stand-in client
// (process "AOL", signed on) and the program (process "Pallion") started by its own start-up,
// which takes a client "Untitled" window over as the container and loads the main window.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "clientsim/client.h"
#include "container/main_window.h"
#include "platform/sim/desktop.h"
#include "startup/first_window.h"

namespace containerfix {

// Points the platform calls at `desktop`, gives the program a new empty folder (with its
// "IM Logs") and forgets what the host routines and the IM log remember; returns the folder.
std::string EnterDesktop(platform::sim::Desktop& desktop, const std::string& tag);
// What a new process of the program starts without: what the host routines and the IM log
// remember.
void ForgetProgramMemory();
// Undoes EnterDesktop and removes the folder (when there is one).
void LeaveDesktop(const std::string& folder);

struct WorldOptions {
  clientsim::Layout layout = clientsim::Layout::Aol6;
  // The client's toolbar height (0: its usual one) and IM caption shape.
  int toolbarHeight = 0;
  clientsim::CaptionShape captions = clientsim::CaptionShape::ImFromTo;
  // Menus the client has after its own and before the program's pop-up.
  int extraClientMenus = 0;
  // Lines of Pallion.ini's section "General" written before the main window loads.
  std::vector<std::pair<std::string, std::string>> settings;
  bool startProgram = true;
  // Every part of the program connected as the program itself starts (commands, auto-answer,
  // ignore lists, outgoing styling); otherwise a test connects the parts it needs.
  bool allParts = false;
  // Otherwise the parts to connect, when given.
  startup::PartsAttacher attach;
};

// A window's place as x, y, width and height.
struct Rect {
  int x, y, w, h;
  bool operator==(const Rect&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Rect& r);
// The window's rectangle on the screen.
Rect ScreenRect(platform::HWND hwnd);
// The window's rectangle in the client coordinates of `area` (its parent when 0).
Rect RectIn(platform::HWND hwnd, platform::HWND area = 0);

// Tests that run under both clients, named "Aol6" and "Aol7".
inline auto BothClients() {
  return ::testing::Values(clientsim::Layout::Aol6, clientsim::Layout::Aol7);
}
inline std::string ClientName(const ::testing::TestParamInfo<clientsim::Layout>& info) {
  return info.param == clientsim::Layout::Aol7 ? "Aol7" : "Aol6";
}

inline WorldOptions OptionsFor(clientsim::Layout layout) {
  WorldOptions options;
  options.layout = layout;
  return options;
}

class World {
 public:
  explicit World(WorldOptions options = {});
  ~World();
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  // Runs the program's start-up in its process (done by the constructor unless startProgram is
  // false); true when the program runs.
  bool StartProgram();

  platform::sim::Desktop desktop;
  platform::DWORD aol = 0;
  platform::DWORD program = 0;
  std::unique_ptr<clientsim::Client> client;
  std::unique_ptr<startup::Program> started;
  container::MainWindow* main = nullptr;  // the started program's main window
  platform::HWND container = 0;
  std::string folder;  // the program folder (host path)

  // Kills the program's process from outside (a crash, the task manager): none of its shutdown
  // runs. Its objects are then dropped, as the process's memory goes with it, and the client's
  // process is made current.
  void KillProgram();
  // Starts the program again in a new process, as a fresh start finds the world; true when it
  // runs.
  bool RestartProgram();

  // Runs until the IM window of `name` is adopted into the IM area, at most `timeoutMs`.
  bool WaitAdopted(const std::string& name, uint64_t timeoutMs);
  // Receives an IM and waits until it is adopted and the adoption has finished.
  platform::HWND ReceiveAndAdopt(const std::string& from, const std::string& text);
  // The person puts the keyboard focus into the IM's input box and types.
  void TypeIntoIM(platform::HWND im, const std::string& text);
  // A file of the program folder, by its Windows-style relative path ("\Sounds\Chat.icp").
  std::string ProgramPath(const std::string& relative) const;
  void WriteProgramFile(const std::string& relative, const std::string& bytes);

 private:
  startup::PartsAttacher attach_;
};

}  // namespace containerfix
