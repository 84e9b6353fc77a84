// The Win32 backend: the seam's calls made with the real API (through native.h, so no file
// that sees the seam's names includes <windows.h>). One per process; it routes the messages of
// the program's window classes to their seam procedures.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/system.h"

namespace gfx {
class Canvas;
}

namespace platform::win32 {

class Win32System : public System {
 public:
  Win32System();
  ~Win32System() override;
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;

  bool RegisterClass(const WindowClass& cls) override;
  HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& title,
                      DWORD style, int x, int y, int width, int height, HWND parent, UINT id,
                      WNDPROC proc) override;
  LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
  HWND CreateChildInOwner(HWND parent, int x, int y, int width, int height) override;
  bool DestroyWindow(HWND hwnd) override;
  bool IsWindow(HWND hwnd) override;
  HWND GetDesktopWindow() override;
  HWND GetParent(HWND hwnd) override;
  HWND GetAncestor(HWND hwnd, UINT flags) override;
  HWND SetParent(HWND child, HWND newParent) override;
  HWND GetWindow(HWND hwnd, UINT cmd) override;
  HWND FindWindowEx(HWND parent, HWND childAfter, const char* className,
                    const char* title) override;
  bool EnumChildWindows(HWND parent, const std::function<bool(HWND)>& callback) override;
  std::string GetClassName(HWND hwnd) override;
  int GetWindowTextLength(HWND hwnd) override;
  std::string GetWindowText(HWND hwnd) override;
  bool SetWindowText(HWND hwnd, const std::string& text) override;
  intptr_t GetWindowLong(HWND hwnd, int index) override;
  intptr_t SetWindowLong(HWND hwnd, int index, intptr_t value) override;
  bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint) override;
  bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) override;
  bool BringWindowToTop(HWND hwnd) override;
  bool GetWindowRect(HWND hwnd, RECT& rect) override;
  bool GetClientRect(HWND hwnd, RECT& rect) override;
  bool ClientToScreen(HWND hwnd, POINT& point) override;
  bool ScreenToClient(HWND hwnd, POINT& point) override;
  bool ShowWindow(HWND hwnd, int cmd) override;
  bool IsWindowVisible(HWND hwnd) override;
  bool EnableWindow(HWND hwnd, bool enable) override;
  bool IsWindowEnabled(HWND hwnd) override;
  HWND WindowFromPoint(POINT screenPoint) override;
  HWND GetForegroundWindow() override;
  bool SetForegroundWindow(HWND hwnd) override;
  HWND GetActiveWindow() override;
  DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId) override;
  DWORD GetCurrentProcessId() override;
  bool InvalidateRect(HWND hwnd) override;
  bool UpdateWindow(HWND hwnd) override;
  LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool SendMessageTimeout(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, uint32_t timeoutMs,
                          LRESULT* result) override;
  void DoEvents() override;
  void WaitEvents(uint32_t milliseconds) override;
  UINT SetTimer(HWND hwnd, UINT id, UINT elapse, TimerProc proc) override;
  bool KillTimer(HWND hwnd, UINT id) override;
  HWND SetFocus(HWND hwnd) override;
  HWND GetFocus() override;
  HWND SetCapture(HWND hwnd) override;
  bool ReleaseCapture() override;
  HWND GetCapture() override;
  bool GetCursorPos(POINT& point) override;
  int16_t GetKeyState(int virtualKey) override;
  HMENU CreateMenu() override;
  HMENU CreatePopupMenu() override;
  bool DestroyMenu(HMENU menu) override;
  HMENU GetMenu(HWND hwnd) override;
  bool SetMenu(HWND hwnd, HMENU menu) override;
  HMENU GetSubMenu(HMENU menu, int position) override;
  int GetMenuItemCount(HMENU menu) override;
  UINT GetMenuItemID(HMENU menu, int position) override;
  std::string GetMenuString(HMENU menu, UINT item, UINT flags) override;
  UINT GetMenuState(HMENU menu, UINT item, UINT flags) override;
  bool AppendMenu(HMENU menu, UINT flags, uintptr_t idOrSubmenu, const std::string& text) override;
  bool InsertMenu(HMENU menu, UINT position, UINT flags, uintptr_t idOrSubmenu,
                  const std::string& text) override;
  bool ModifyMenu(HMENU menu, UINT position, UINT flags, uintptr_t idOrSubmenu,
                  const std::string& text) override;
  bool DeleteMenu(HMENU menu, UINT position, UINT flags) override;
  bool RemoveMenu(HMENU menu, UINT position, UINT flags) override;
  DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) override;
  DWORD EnableMenuItem(HMENU menu, UINT item, UINT flags) override;
  bool DrawMenuBar(HWND hwnd) override;
  int TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) override;
  UINT RegisterClipboardFormat(const std::string& name) override;
  bool OpenClipboard(HWND owner) override;
  bool EmptyClipboard() override;
  HGLOBAL SetClipboardData(UINT format, HGLOBAL data) override;
  HGLOBAL GetClipboardData(UINT format) override;
  bool CloseClipboard() override;
  HGLOBAL GlobalAlloc(UINT flags, size_t bytes) override;
  void* GlobalLock(HGLOBAL mem) override;
  bool GlobalUnlock(HGLOBAL mem) override;
  HGLOBAL GlobalFree(HGLOBAL mem) override;
  size_t GlobalSize(HGLOBAL mem) override;
  HANDLE OpenProcess(DWORD access, bool inherit, DWORD processId) override;
  bool ReadProcessMemory(HANDLE process, uint32_t address, void* buffer, size_t size,
                         size_t* bytesRead) override;
  bool CloseHandle(HANDLE handle) override;
  uint32_t AllocProcessMemory(size_t bytes) override;
  bool WriteOwnProcessMemory(uint32_t address, const void* data, size_t size) override;
  HANDLE WatchWindow(HWND hwnd, WatchProc proc) override;
  bool UnwatchWindow(HANDLE watch) override;
  HANDLE SetKeyboardHook(KeyHookProc proc) override;
  HANDLE SetMouseHook(HWND hwnd, MouseHookProc proc) override;
  bool Unhook(HANDLE hook) override;
  std::string GetEditLine(HWND edit, int lineFromOne) override;
  gfx::Canvas* BeginPaint(HWND hwnd) override;
  void EndPaint(HWND hwnd) override;
  COLORREF GetScreenPixel(int x, int y) override;
  COLORREF GetSysColor(int index) override;
  uint32_t GetTickCount() override;
  DateTime Now() override;
  std::string GetShortDateFormat() override;
  bool PlaySound(const std::string& path, UINT flags) override;
  void PlaySystemSound(const std::string& alias) override;
  bool ShellExecute(HWND owner, const std::string& verb, const std::string& file,
                    const std::string& directory, int show) override;
  std::optional<COLORREF> ChooseColor(HWND owner, COLORREF initial) override;
  std::optional<std::string> GetOpenFileName(HWND owner, const FileDialogOptions& options) override;
  std::optional<std::string> GetSaveFileName(HWND owner, const FileDialogOptions& options) override;
  int MessageBoxA(HWND owner, const std::string& text, const std::string& caption,
                  UINT type) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& defaultText) override;
  std::optional<std::string> HttpGet(const std::string& url) override;
  bool PrintText(const std::string& documentName, const std::string& text) override;
  std::string GetPrivateProfileString(const char* section, const char* key,
                                      const char* defaultValue, size_t size,
                                      const std::string& file) override;
  bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                                 const std::string& file) override;
  bool CreateNamedLock(const std::string& name) override;
  void ExitProcess() override;
  bool ProcessEnded() override;
  HANDLE GuardLeftovers(const Leftovers& leftovers) override;
  void SetLastError(DWORD error) override;
  DWORD GetLastError() override;

 private:
  struct State;
  std::unique_ptr<State> state_;

  static intptr_t Route(uint32_t hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam);
  static void TimerExpired(uint32_t hwnd, uint32_t id);
  static bool KeyDown(int& keyCode, int shift);
  static bool RemoteMessage(uint32_t hwnd, uint32_t& msg, uintptr_t& wParam, intptr_t& lParam,
                            uint32_t flags, intptr_t& result);
  LRESULT Deliver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // Runs the mouse hooks and watchers of a window (as `flags` says: wire::kWatchMouse,
  // wire::kWatchAll) on a message; true when one swallowed it, with `result`.
  bool Intercept(HWND hwnd, UINT& msg, WPARAM& wParam, LPARAM& lParam, uint32_t flags,
                 LRESULT& result);
  bool UpdateRemoteWatch(HWND hwnd);
  // The window of the thread that edits `menu` when it lives in another process, else 0;
  // a pop-up of ours standing on such a menu is replaced by its copy there.
  HWND RemoteMenuOwner(HMENU& menu);
  // Makes a copy of a pop-up of ours (items and sub-menus) in the process of `via`'s thread.
  HMENU ExportPopup(HMENU popup, HWND via);
  // The sub-menu argument of a menu call on a menu of another process.
  uintptr_t RemoteSubmenu(UINT flags, uintptr_t idOrSubmenu, HWND via);
  void Forget(HWND hwnd);
};

// The folder of the running executable (the program folder unless one is given).
std::string ExecutableFolder();
std::string ExecutablePath();
// Another process: started from a command line (its id, 0 when it did not start), and ended
// from outside as the task manager ends it (false when it could not be).
DWORD StartProcess(const std::string& commandLine);
bool EndProcess(DWORD processId);
// A key pressed and released on the keyboard, as the person presses it.
bool PressKey(int virtualKey);

}  // namespace platform::win32
