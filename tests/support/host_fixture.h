// A hand-built client window tree on the simulated desktop, for tests of code that drives the
// client's windows: the main frame, MDI client, toolbar with keyword box, and helpers to add
// document windows and controls as the client's process, with message recording.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/desktop.h"

namespace hostfix {

// A desktop whose clock starts at a given local time.
inline platform::sim::DesktopOptions StartingAt(platform::DateTime start) {
  platform::sim::DesktopOptions options;
  options.start = start;
  return options;
}

struct Message {
  platform::HWND hwnd = 0;
  platform::UINT msg = 0;
  platform::WPARAM wParam = 0;
  platform::LPARAM lParam = 0;
  std::string text;  // the text of WM_SETTEXT
  bool operator==(const Message&) const = default;
};

class ClientTree {
 public:
  // Registers the client's window classes and builds its frame in a process of its own.
  explicit ClientTree(platform::sim::Desktop& desktop);

  platform::sim::Desktop& desktop;
  platform::DWORD process = 0;
  platform::HWND frame = 0, mdi = 0, toolbar = 0, innerToolbar = 0, combo = 0, keywordBox = 0;

  // Called with the keyword box's text when Enter is typed into it.
  std::function<void(const std::string&)> onKeyword;

  // A window of the class under `parent`, made as the client (visible child).
  platform::HWND Add(platform::HWND parent, const std::string& className,
                     const std::string& text = "", platform::WNDPROC proc = {});
  // `count` windows of the class under `parent`; the handles in sibling order.
  std::vector<platform::HWND> AddMany(platform::HWND parent, const std::string& className,
                                      int count, const std::string& text = "");
  // An "AOL Child" document window under the MDI client.
  platform::HWND AddDocument(const std::string& caption, platform::WNDPROC proc = {});
  // An IM window with the controls of the AOL 6 or AOL 7 layout (11 icons, statics, text boxes).
  platform::HWND AddIM(const std::string& caption, bool aol7);

  // A procedure that records each message into `log` and then runs `then` (DefWindowProc when
  // empty).
  platform::WNDPROC Recorder(platform::WNDPROC then = {});
  std::vector<Message> log;
  // The recorded messages of one window.
  std::vector<Message> MessagesOf(platform::HWND hwnd) const;
};

// Installs a desktop with the client's tree, then makes the program's process current.
class HostTest : public ::testing::Test {
 protected:
  explicit HostTest(platform::sim::DesktopOptions options = {});
  ~HostTest() override;

  platform::sim::Desktop desktop;
  ClientTree client;
  platform::DWORD program = 0;
};

}  // namespace hostfix
