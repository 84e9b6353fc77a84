// The demo's commands and expectations as tables: each row names one function. A new command is
// one row in a table (a feature with several adds its own table to kCommandTables in
// demo_runner.cpp).
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace app {

class DemoRunner;

// The words after the command's name, in the client's character set (Windows-1252).
using Args = std::vector<std::string>;

// Runs a command; false with `error` set when it cannot run.
using CommandFn = bool (*)(DemoRunner& demo, const Args& args, std::string& error);

struct CommandSpec {
  const char* name;
  const char* usage;
  const char* help;
  size_t minArgs;
  CommandFn run;
};

// Checks one expectation (`args` start after its name); false with `why` set when it does not
// hold.
using ExpectationFn = bool (*)(DemoRunner& demo, const Args& args, std::string& why);

struct ExpectationSpec {
  const char* name;
  const char* usage;  // "expect " + usage
  size_t minArgs;
  ExpectationFn check;
};

// The correspondent's and the person's side of the world, waits and looks.
std::span<const CommandSpec> WorldCommands();
// The program's side: starting Pallion, its controls, menus and message boxes, its settings.
std::span<const CommandSpec> ProgramCommands();
// The web site the program fetches from.
std::span<const CommandSpec> OnlineCommands();
// `expect notice TEXT`: the program's notification window is shown and says TEXT.
bool NoticeShows(DemoRunner& demo, const Args& args, std::string& why);
// The program's own windows: the Control Panel's tabs, typing into controls, choosing in lists.
std::span<const CommandSpec> SettingsCommands();
// What `expect` can check.
std::span<const ExpectationSpec> Expectations();

}  // namespace app
