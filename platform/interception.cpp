#include "platform/interception.h"

#include <algorithm>
#include <cstring>

#include "platform/win32.h"

namespace platform {

SubClass::~SubClass() {
  StopAll();
}

void SubClass::StopAll() {
  for (HANDLE watch : watches_) UnwatchWindow(watch);
  watches_.clear();
}

void SubClass::SetHWnd(HWND hwnd) {
  StopAll();
  main_ = hwnd;
  if (hwnd != 0) AddHWnd(hwnd);
}

void SubClass::AddHWnd(HWND hwnd) {
  if (hwnd == 0) return;
  HANDLE watch = WatchWindow(hwnd, [this](WatchedMessage& message, bool& noPass) {
    if (onMessage) onMessage(message, noPass);
  });
  if (watch != 0) watches_.push_back(watch);
}

WinHook::~WinHook() {
  Stop();
}

void WinHook::Stop() {
  if (hook_ != 0) Unhook(hook_);
  hook_ = 0;
}

void WinHook::StartKeyboard() {
  Stop();
  hook_ = SetKeyboardHook([this](int& keyCode, int shift, int& noPass) {
    if (!onKey) return;
    if (std::find(reportedKeys.begin(), reportedKeys.end(), keyCode) == reportedKeys.end()) return;
    onKey(keyCode, shift, noPass);
  });
}

void WinHook::SetHWnd(HWND hwnd) {
  Stop();
  if (hwnd == 0) return;
  hook_ = SetMouseHook(hwnd, [this](HWND target, UINT& msg, WPARAM wParam, LPARAM lParam) {
    if (onMouse) onMouse(target, msg, wParam, lParam);
  });
}

std::string dwXGetEditLine(HWND edit, int lineFromOne) {
  return GetEditLine(edit, lineFromOne);
}

std::string dwGetStringFromLPSTR(const void* address) {
  if (address == nullptr) return {};
  return std::string(static_cast<const char*>(address));
}

void dwCopyData(const std::string& source, void* dest, size_t count) {
  if (dest == nullptr) return;
  auto* out = static_cast<char*>(dest);
  size_t n = std::min(count, source.size());
  std::memcpy(out, source.data(), n);
  if (count > n) std::memset(out + n, 0, count - n);
}

}  // namespace platform
