// Small helpers of the demo's commands: text, numbers and finding windows.
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

namespace container {
class MainWindow;
}
namespace ui {
class Control;
}

namespace app {

class DemoWorld;

// ANSI (the client's Windows-1252) text as UTF-8, for the transcript.
std::string U(const std::string& ansi);
// The program's main window; nullptr with `error` set when Pallion is not running.
container::MainWindow* RunningMain(DemoWorld& world, std::string& error);

std::string Lower(std::string text);
bool ParseInt(const std::string& text, int& value);
// The words from `from` on, joined by single blanks.
std::string Join(const std::vector<std::string>& words, size_t from);
// The first window anywhere on the desktop with the class (without regard to case) and the
// caption (ANSI), top first.
platform::HWND FindAnywhere(const std::string& className, const std::string& caption);
// True when the text is well-formed UTF-8.
bool IsUtf8(const std::string& text);
// False with `error` set once the client has been closed: the command needs it.
bool NeedClient(DemoWorld& world, std::string& error);
// A control of the program's process by name (without regard to case) and, for control arrays,
// index (-1: any); a visible one before a hidden one; nullptr when there is none.
ui::Control* FindProgramControl(platform::DWORD process, const std::string& name, int index);
// A menu caption as the person reads it: "&" marks dropped, lower case.
std::string MenuText(const std::string& caption);

}  // namespace app
