// The contract suite's fixture: a fresh backend of the platform this build runs on, installed
// for one test. The tests use only the seam's free functions, so the same file runs against the
// simulated desktop on Linux and against the real system under Windows.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "contract/partner.h"
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
  // Runs it until `done` holds or the time is up; whether it held.
  bool PumpUntil(const std::function<bool()>& done, uint32_t milliseconds = 10000);

  // ---- A second process (see partner.h); one per test, ended with it ----
  // A partner with a client's windows: its frame (0 when it did not come up).
  platform::HWND StartClientPartner();
  // A partner that adopts `im` into a window of its own, puts a pop-up on the menu bar of
  // `menuOwner` and leaves that with this process to undo: its window (0 when the partner did
  // not come up or was refused).
  platform::HWND StartInterceptorPartner(platform::HWND home, platform::HWND im,
                                         platform::HWND menuOwner);
  void KillPartner();   // from outside, as the task manager ends a process
  void CrashPartner();  // a fault nobody handles (on the simulated desktop, as a kill)
  // The adopter ends itself through the seam without its shutdown, having taken its leftovers
  // back with Unhook first or not.
  void ExitPartner(bool takenBack = false);
  // The person's click on a window, and the person's choice of a menu item by its texts from
  // the bar down (Windows: the system's messages for them, posted to the window).
  void ClickAsPerson(platform::HWND hwnd);
  bool ChooseMenuItem(platform::HWND owner, const std::vector<std::string>& path);
  // A key the person presses (Windows: on the keyboard, to the foreground window's focus).
  void PressKeyAsPerson(int virtualKey);

 private:
#ifdef _WIN32
  std::unique_ptr<platform::win32::Win32System> backend_;
#else
  std::unique_ptr<platform::sim::Desktop> backend_;
#endif
  std::vector<platform::HWND> made_;
  platform::DWORD partner_ = 0;
  platform::HWND partnerArea_ = 0;
  platform::HANDLE partnerGuard_ = 0;
  std::string NextPartnerTag();
#ifndef _WIN32
  platform::DWORD self_ = 0;
#endif
};

inline void Contract::SetUp() {
#ifdef _WIN32
  backend_ = std::make_unique<platform::win32::Win32System>();
  platform::Install(backend_.get());
#else
  backend_ = std::make_unique<platform::sim::Desktop>();
  platform::Install(backend_.get());
  self_ = backend_->CreateProcess("contract");
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
  if (partner_ != 0) KillPartner();
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

inline bool Contract::PumpUntil(const std::function<bool()>& done, uint32_t milliseconds) {
  const uint32_t start = platform::GetTickCount();
  while (!done()) {
    if (platform::GetTickCount() - start >= milliseconds) return false;
    platform::WaitEvents(20);
  }
  return true;
}

inline std::string Contract::NextPartnerTag() {
  static int started = 0;
  return std::to_string(platform::GetCurrentProcessId()) + "-" + std::to_string(++started);
}

inline platform::HWND Contract::StartClientPartner() {
  const std::string tag = NextPartnerTag();
#ifdef _WIN32
  partner_ = platform::win32::StartProcess("\"" + platform::win32::ExecutablePath() +
                                           "\" --partner client " + tag);
#else
  partner_ = backend_->CreateProcess("partner");
  partner::MakeClient(tag);
  backend_->SetCurrentProcess(self_);
#endif
  const std::string caption = partner::ClientCaption(tag);
  platform::HWND frame = 0;
  PumpUntil([&] {
    return (frame = platform::FindWindowEx(0, 0, partner::kClass, caption.c_str())) != 0;
  });
  return frame;
}

inline platform::HWND Contract::StartInterceptorPartner(platform::HWND home, platform::HWND im,
                                                        platform::HWND menuOwner) {
  const std::string tag = NextPartnerTag();
#ifdef _WIN32
  partner_ = platform::win32::StartProcess(
      "\"" + platform::win32::ExecutablePath() + "\" --partner interceptor " + tag + " " +
      std::to_string(home) + " " + std::to_string(im) + " " + std::to_string(menuOwner));
#else
  partner_ = backend_->CreateProcess("partner");
  partnerGuard_ = partner::Adopt(tag, home, im, menuOwner);
  backend_->SetCurrentProcess(self_);
#endif
  const std::string caption = partner::GuardedCaption(tag);
  PumpUntil([&] {
    return (partnerArea_ = platform::FindWindowEx(0, 0, partner::kClass, caption.c_str())) != 0;
  });
  return partnerArea_;
}

inline void Contract::KillPartner() {
#ifdef _WIN32
  platform::win32::EndProcess(partner_);
#else
  backend_->KillProcess(partner_);
#endif
  partner_ = 0;
}

inline void Contract::CrashPartner() {
#ifdef _WIN32
  const platform::DWORD crashing = partner_;
  partner_ = 0;
  platform::SetWindowText(partnerArea_, partner::kCrashCaption);
  PumpUntil([&] { return !platform::IsWindow(partnerArea_); });
  if (platform::IsWindow(partnerArea_)) platform::win32::EndProcess(crashing);
#else
  KillPartner();
#endif
}

inline void Contract::ExitPartner(bool takenBack) {
#ifdef _WIN32
  partner_ = 0;
  platform::SetWindowText(partnerArea_,
                          takenBack ? partner::kReleaseCaption : partner::kExitCaption);
  PumpUntil([&] { return !platform::IsWindow(partnerArea_); });
#else
  backend_->SetCurrentProcess(partner_);
  if (takenBack) platform::Unhook(partnerGuard_);
  platform::ExitProcess();
  backend_->SetCurrentProcess(self_);
  partner_ = 0;
#endif
}

inline void Contract::ClickAsPerson(platform::HWND hwnd) {
#ifdef _WIN32
  platform::PostMessage(hwnd, platform::WM_LBUTTONDOWN, platform::MK_LBUTTON,
                        platform::MAKELPARAM(5, 5));
  platform::PostMessage(hwnd, platform::WM_LBUTTONUP, 0, platform::MAKELPARAM(5, 5));
#else
  backend_->Click(hwnd, 5, 5);
#endif
}

inline void Contract::PressKeyAsPerson(int virtualKey) {
#ifdef _WIN32
  platform::win32::PressKey(virtualKey);
#else
  backend_->PressKey(virtualKey);
#endif
}

inline bool Contract::ChooseMenuItem(platform::HWND owner, const std::vector<std::string>& path) {
#ifdef _WIN32
  auto plain = [](std::string text) {
    std::erase(text, '&');
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  };
  platform::HMENU menu = platform::GetMenu(owner);
  for (size_t level = 0; level < path.size() && menu != 0; ++level) {
    const int count = platform::GetMenuItemCount(menu);
    int found = -1;
    for (int i = 0; i < count && found < 0; ++i) {
      if (plain(platform::GetMenuString(menu, static_cast<platform::UINT>(i),
                                        platform::MF_BYPOSITION)) == plain(path[level])) {
        found = i;
      }
    }
    if (found < 0) return false;
    if (level + 1 == path.size()) {
      return platform::PostMessage(owner, platform::WM_COMMAND,
                                   platform::GetMenuItemID(menu, found), 0);
    }
    menu = platform::GetSubMenu(menu, found);
  }
  return false;
#else
  return backend_->ChooseMenuItem(owner, path);
#endif
}

}  // namespace contract
