#include "platform/win32/child_process.h"

#include "platform/win32/native.h"

namespace platform::win32 {

ChildProcess::~ChildProcess() {
  Kill();
}

bool ChildProcess::Start(const std::string& commandLine) {
  if (process_ != nullptr) return false;
  exitCode_.reset();
  process_ = native::StartProcess(commandLine, &id_);
  return process_ != nullptr;
}

std::optional<uint32_t> ChildProcess::ExitCode(uint32_t milliseconds) {
  if (exitCode_ || process_ == nullptr) return exitCode_;
  uint32_t code = 0;
  if (!native::WaitProcess(process_, milliseconds, &code)) return std::nullopt;
  exitCode_ = code;
  native::CloseHandle(process_);
  process_ = nullptr;
  return exitCode_;
}

void ChildProcess::Kill() {
  if (process_ == nullptr) return;
  if (!ExitCode(0)) {
    native::KillProcess(process_);
    if (!ExitCode(5000)) {
      native::CloseHandle(process_);
      process_ = nullptr;
    }
  }
}

}  // namespace platform::win32
