// The contract suite's fixture: a fresh backend of the platform this build runs on, installed
// for one test. The tests use only the seam's free functions, so the same file runs against the
// simulated desktop on Linux and against the real system under Windows.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win32.h"

#ifdef _WIN32
#include "platform/win32/backend.h"
#else
#include "platform/sim/desktop.h"
#endif

namespace contract {

class Contract : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A window of the test's class, whose procedure records every message it gets, in order.
  platform::HWND MakeWindow(platform::HWND parent, const std::string& title = "",
                            platform::DWORD style = 0, int x = 0, int y = 0, int width = 100,
                            int height = 80, const std::string& className = kClass);
  static constexpr const char* kClass = "ContractWindow";

  struct Recorded {
    platform::HWND hwnd;
    platform::UINT msg;
    platform::WPARAM wParam;
    platform::LPARAM lParam;
  };
  std::vector<Recorded> log;
  // The messages of the log that are in `wanted`, as (window, message) pairs, from `from` on.
  std::vector<std::pair<platform::HWND, platform::UINT>> Only(
      const std::vector<platform::UINT>& wanted, size_t from = 0) const;

  // Runs the platform's message loop for a while (real time on Windows, virtual in the simulator).
  void Pump(uint32_t milliseconds) { platform::WaitEvents(milliseconds); }

 private:
#ifdef _WIN32
  std::unique_ptr<platform::win32::Win32System> backend_;
#else
  std::unique_ptr<platform::sim::Desktop> backend_;
#endif
  std::vector<platform::HWND> made_;
};

inline void Contract::SetUp() {
#ifdef _WIN32
  backend_ = std::make_unique<platform::win32::Win32System>();
  platform::Install(backend_.get());
#else
  backend_ = std::make_unique<platform::sim::Desktop>();
  platform::Install(backend_.get());
  backend_->CreateProcess("contract");
#endif
  platform::WindowClass cls;
  cls.name = kClass;
  cls.proc = [this](platform::HWND h, platform::UINT m, platform::WPARAM w, platform::LPARAM l) {
    log.push_back({h, m, w, l});
    return platform::DefWindowProc(h, m, w, l);
  };
  ASSERT_TRUE(platform::RegisterClass(cls));
}

inline void Contract::TearDown() {
  for (auto it = made_.rbegin(); it != made_.rend(); ++it)
    if (platform::IsWindow(*it)) platform::DestroyWindow(*it);
  platform::DoEvents();
  platform::Install(nullptr);
  backend_.reset();
}

inline platform::HWND Contract::MakeWindow(platform::HWND parent, const std::string& title,
                                           platform::DWORD style, int x, int y, int width,
                                           int height, const std::string& className) {
  if (parent != 0) style |= platform::WS_CHILD;
  platform::HWND h =
      platform::CreateWindowEx(0, className, title, style, x, y, width, height, parent, 0, nullptr);
  if (parent == 0) made_.push_back(h);
  return h;
}

inline std::vector<std::pair<platform::HWND, platform::UINT>> Contract::Only(
    const std::vector<platform::UINT>& wanted, size_t from) const {
  std::vector<std::pair<platform::HWND, platform::UINT>> out;
  for (size_t i = from; i < log.size(); ++i)
    for (platform::UINT m : wanted)
      if (log[i].msg == m) out.emplace_back(log[i].hwnd, m);
  return out;
}

}  // namespace contract
