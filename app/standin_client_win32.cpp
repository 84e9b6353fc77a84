// StandInClient.exe: the stand-in client as a program of its own on the real Windows desktop,
// beside Pallion as the real client is, driven over its control channel (clientsim/channel.h).
// Usage: StandInClient.exe [--aol7] [--toolbar-edits N]
// It runs until its main window is closed. Its channel then answers a little longer, so that a
// driver can still ask what the client had, and the process ends when the driver says "exit"
// or after kLingerMs.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "clientsim/channel.h"
#include "clientsim/client.h"
#include "platform/win32.h"
#include "platform/win32/backend.h"

namespace {

constexpr uint32_t kLingerMs = 15000;

bool ParseOptions(int argc, char** argv, clientsim::ClientOptions& options) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--aol7") == 0) {
      options.layout = clientsim::Layout::Aol7;
    } else if (std::strcmp(argv[i], "--toolbar-edits") == 0 && i + 1 < argc) {
      char* end = nullptr;
      const long edits = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || edits < 0 || edits > 20) return false;
      options.toolbarEdits = static_cast<int>(edits);
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  clientsim::ClientOptions options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: StandInClient.exe [--aol7] [--toolbar-edits N]\n");
    return 2;
  }
  platform::win32::Win32System system;
  platform::Install(&system);
  int status = 1;
  {
    clientsim::Client client(options);
    clientsim::channel::Server channel(client);
    if (client.Start() && channel.Open()) {
      status = 0;
      while (client.Running() && !channel.ExitAsked() && !platform::ProcessEnded())
        platform::WaitEvents(250);
      const uint32_t closed = platform::GetTickCount();
      while (!channel.ExitAsked() && !platform::ProcessEnded() &&
             platform::GetTickCount() - closed < kLingerMs) {
        platform::WaitEvents(100);
      }
    }
  }
  platform::Install(nullptr);
  return status;
}
