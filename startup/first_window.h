// Start-up: the start-up window frmFirst checks for the client, for another copy and for the
// client's age, then builds the program's home inside the client (the container), loads the
// main window, moves its panels into the container, adds the program's menu to the client's
// menu bar and unloads itself.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/form.h"

namespace container {
class MainWindow;
}

namespace startup {

// The program's application title as the build defines it: the caption of its main window, which
// a copy that is already running keeps as a top-level "ThunderRT5Form".
inline constexpr const char* kApplicationTitle = "Pallion \xB2\xB7\xBA :";
// The named lock that marks a running copy.
inline constexpr const char* kInstanceLock = "Pallion \xB2\xB7\xBA";
// The title a second copy takes before it says so and ends.
inline constexpr const char* kSecondCopyTitle = "#$#";
// How long start-up waits for the client's new window, and for the window to be stripped.
inline constexpr uint32_t kClientWaitMs = 30000;

// The application title of this run (kSecondCopyTitle once a second copy has been found).
const std::string& AppTitle();

// How start-up ended.
enum class StartResult {
  Running,         // the container is built; the main window's timers drive the program
  NoClient,        // "Please load AOL": the program ended
  AlreadyRunning,  // "Pallion already running.": the program ended
  OlderClient,     // "Older version of AOL!": the program ended
  NoContainer,     // the client opened no new window in time: told, the program ended
  Ended,           // the process was ended from elsewhere while start-up waited
};

// Connects parts of the program to the main window before it loads.
using PartsAttacher = std::function<void(container::MainWindow& main)>;
// The program's parts: its commands, the auto-answer engine, the ignore lists and the styling
// of outgoing IMs.
void AttachAllParts(container::MainWindow& main);

class FirstWindow : public ui::Form {
 public:
  FirstWindow();

  // The three checks (the window's load); false when the program has ended.
  bool RunChecks();
  // Builds the container, loads the main window (with the parts `attach` connects) into it and
  // adds the menu; false when the program has ended.
  bool BuildContainer(std::unique_ptr<container::MainWindow>& main,
                      const PartsAttacher& attach = AttachAllParts);

  StartResult result = StartResult::Running;

 private:
  void Refuse(StartResult why, const std::string& caption, const std::string& text);
};

// The program in the current process: holds the start-up window while it runs and the main
// window afterwards.
class Program {
 public:
  explicit Program(PartsAttacher attach = AttachAllParts);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Runs the start-up. With StartResult::Running the main window stays loaded and the program
  // goes on from the desktop's message loop; otherwise the process has ended.
  StartResult Start();

  // The loaded main window (nullptr before a successful start).
  container::MainWindow* Main() const { return main_.get(); }

 private:
  PartsAttacher attach_;
  std::unique_ptr<container::MainWindow> main_;
};

}  // namespace startup
