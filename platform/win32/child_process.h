// A program started by this one, as a process of its own (the two-process scenario starts the
// stand-in client and Pallion this way). A process still running when the object goes is ended.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform::win32 {

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts the program the command line names; false when it cannot be started.
  bool Start(const std::string& commandLine);
  uint32_t Id() const { return id_; }
  // Its exit code once it has ended, waiting at most `milliseconds`; nothing while it runs (or
  // when it was never started).
  std::optional<uint32_t> ExitCode(uint32_t milliseconds = 0);
  // Ends it from outside, as the task manager does.
  void Kill();

 private:
  void* process_ = nullptr;
  uint32_t id_ = 0;
  std::optional<uint32_t> exitCode_;
};

}  // namespace platform::win32
