// Pallion.exe: the program on the real Windows desktop, beside the client it works with.
// Usage: Pallion.exe [--folder DIR]; the program folder is the executable's folder otherwise.
#include <cstring>
#include <string>

#include "platform/files.h"
#include "platform/win32.h"
#include "platform/win32/backend.h"
#include "startup/first_window.h"

int main(int argc, char** argv) {
  platform::win32::Win32System system;
  platform::Install(&system);
  std::string folder = platform::win32::ExecutableFolder();
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--folder") == 0) folder = argv[++i];
  platform::files::SetProgramFolder(folder);

  int status = 1;
  {
    startup::Program program;
    if (program.Start() == startup::StartResult::Running) {
      status = 0;
      // The program runs from its windows' messages and timers until it ends itself.
      while (!platform::ProcessEnded()) platform::WaitEvents(1000);
    }
  }
  platform::Install(nullptr);
  return status;
}
