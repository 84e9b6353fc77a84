// Runs the demo's scenario commands against a DemoWorld: the correspondent's side, the
// person's side, waits, looks (tree, screenshots) and expectations.
#pragma once

#include <functional>
#include <istream>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/demo_world.h"
#include "app/script.h"

namespace app {

class DemoRunner {
 public:
  DemoRunner(DemoWorld& world, std::ostream& out);

  // Runs one command; false with `error` set when it is unknown, malformed or an expectation
  // does not hold.
  bool Run(const std::vector<std::string>& words, std::string& error);
  // Runs a whole script; stops at the first failing line. Returns the exit code (0 = all held).
  int RunScript(const std::string& text, const std::string& sourceName);
  // Reads commands from `in` until end of input or "quit-demo"; errors are reported, not fatal.
  void RunInteractive(std::istream& in);
  void PrintHelp() const;

  // Further commands (later features add their own).
  struct Command {
    std::string usage;
    std::string help;
    size_t minArgs = 0;
    std::function<bool(const std::vector<std::string>& args, std::string& error)> run;
  };
  void Add(const std::string& name, Command command);

 private:
  void AddBuiltins();
  void AddProgramCommands();
  void AddExpectations();
  // Answers the next message box of the program with the button (typing `input` first when
  // given); reports the answer.
  void QueueBoxAnswer(const std::string& button, const std::optional<std::string>& input);
  // Closes a message box of the program that nobody answers, so a script never hangs on it.
  void WatchUnansweredBoxes();
  bool Expect(const std::vector<std::string>& args, std::string& error);

  DemoWorld& world_;
  std::ostream& out_;
  std::map<std::string, Command> commands_;
  bool answering_ = false;
  platform::HWND waitingBox_ = 0;
  uint64_t waitingSince_ = 0;
};

// The scenario played when no script is given.
std::string DefaultScenario();

}  // namespace app
