// The message interception components: a window watcher (subclassing), a keyboard hook, a
// mouse hook on one window, and the three helper functions of the edit/memory helper library.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/system.h"

namespace platform {

// Watches windows (of any process) and reports each of their messages before they see it.
class SubClass {
 public:
  SubClass() = default;
  ~SubClass();
  SubClass(const SubClass&) = delete;
  SubClass& operator=(const SubClass&) = delete;

  // The main watched window; 0 stops watching every window of this instance.
  void SetHWnd(HWND hwnd);
  HWND HWnd() const { return main_; }
  // Adds a further window to the same instance.
  void AddHWnd(HWND hwnd);

  std::function<void(WatchedMessage& message, bool& noPass)> onMessage;

 private:
  void StopAll();
  HWND main_ = 0;
  std::vector<HANDLE> watches_;
};

// A keyboard hook (no window) or a mouse hook on one window.
class WinHook {
 public:
  WinHook() = default;
  ~WinHook();
  WinHook(const WinHook&) = delete;
  WinHook& operator=(const WinHook&) = delete;

  // Keyboard: starts reporting the keys of `reportedKeys` to onKey; Stop() ends it.
  void StartKeyboard();
  std::vector<int> reportedKeys = {0x0D, 0x09};  // Enter and Tab
  // Mouse: reports the mouse messages of `hwnd` to onMouse; 0 stops.
  void SetHWnd(HWND hwnd);
  void Stop();
  bool Active() const { return hook_ != 0; }

  std::function<void(int& keyCode, int shift, int& noPass)> onKey;
  std::function<void(HWND hwnd, UINT& msg, WPARAM wParam, LPARAM lParam)> onMouse;

 private:
  HANDLE hook_ = 0;
};

// dwXGetEditLine: the text of one line (from 1) of an edit or rich-text control of any process.
std::string dwXGetEditLine(HWND edit, int lineFromOne);
// dwGetStringFromLPSTR: a copy of the NUL-terminated ANSI string at the address.
std::string dwGetStringFromLPSTR(const void* address);
// dwCopyData: copies `count` bytes of the source text (NUL-padded past its end) to dest.
void dwCopyData(const std::string& source, void* dest, size_t count);

}  // namespace platform
