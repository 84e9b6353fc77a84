// Runs the demo's scenario commands against a DemoWorld: the correspondent's side, the
// person's side, waits, looks (tree, screenshots) and expectations.
#pragma once

#include <istream>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <memory>
#include <vector>

#include "app/demo_commands.h"
#include "app/demo_world.h"
#include "app/script.h"

namespace app {

class DemoRunner {
 public:
  DemoRunner(DemoWorld& world, std::ostream& out);

  // Runs one command; false with `error` set when it is unknown, malformed, cannot run or an
  // expectation does not hold.
  bool Run(const std::vector<std::string>& words, std::string& error);
  // Runs a whole script; stops at the first failing line. Returns the exit code (0 = all held).
  int RunScript(const std::string& text, const std::string& sourceName);
  // Reads commands from `in` until end of input, "quit" (which closes the client first) or
  // "quit-demo"; errors are reported and the prompt goes on. Returns 1 when a command failed.
  int RunInteractive(std::istream& in);
  void PrintHelp() const;
  // Registers a command (see demo_commands.h).
  void Add(const CommandSpec& command);

  DemoWorld& World() { return world_; }
  // A line of output that is not a transcript event (errors, help, trees); also in the report.
  void Print(const std::string& text);
  // The session at the prompt ends after the running command.
  void Leave() { leave_ = true; }
  bool Interactive() const { return interactive_; }
  // Answers the next message box of the program with the button (typing `input` first when
  // given); reports the answer.
  void QueueBoxAnswer(const std::string& button, const std::optional<std::string>& input);
  // Drops the answers queued for boxes that have not come (a scenario's step that ended).
  void ForgetBoxAnswers();
  // The usage of `expect`, built from the table of expectations.
  static std::string ExpectUsage();

 private:
  // Closes a message box of the program that nobody answers, so a script never hangs on it.
  void WatchUnansweredBoxes();
  // The words of a line in the client's character set, with a note for each text that is not
  // sent exactly as written.
  Args ClientWords(const std::vector<std::string>& words);

  DemoWorld& world_;
  std::ostream& out_;
  std::map<std::string, CommandSpec> commands_;
  bool answering_ = false;
  std::vector<std::shared_ptr<bool>> queuedAnswers_;  // each set once used or dropped
  bool leave_ = false;
  bool interactive_ = false;
  platform::HWND waitingBox_ = 0;
  uint64_t waitingSince_ = 0;
};

// The scenario played when no script is given.
std::string DefaultScenario();

// The whole demo as the executable runs it: arguments, folders, the script or the prompt, and at
// the end Pallion shut down (so nothing is lost) and the report written. Returns the exit code.
int RunDemo(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
            std::ostream& err, const std::string& executablePath);

}  // namespace app
