// The platform seam: one interface with the Win32-shaped calls the program needs.
// A backend (the simulated desktop, later the real Win32 API) implements it and is installed
// once at start; program code calls the free functions of win32.h, which forward here.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace gfx {
class Canvas;
}

namespace platform {

struct WindowClass {
  std::string name;
  WNDPROC proc;                      // class window procedure (may be empty: DefWindowProc)
  COLORREF background = 0xFFFFFFFF;  // 0xFFFFFFFF: no background painted by DefWindowProc
};

// A message of a watched window, as a subclass component reports it.
struct WatchedMessage {
  HWND hwnd = 0;
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  LRESULT result = 0;
};
// Called before the watched window sees the message; set noPass to keep it from the window.
using WatchProc = std::function<void(WatchedMessage& m, bool& noPass)>;
// Keyboard hook: the key code by reference, the shift state (1 Shift, 2 Ctrl, 4 Alt) and a
// do-not-pass-on value by reference (non-zero swallows the key).
using KeyHookProc = std::function<void(int& keyCode, int shift, int& noPass)>;
// Mouse hook on one window: the message number by reference (0 makes the message do nothing).
using MouseHookProc = std::function<void(HWND hwnd, UINT& msg, WPARAM wParam, LPARAM lParam)>;
using TimerProc = std::function<void(HWND hwnd, UINT id)>;

// Options of the platform's file dialogs.
struct FileDialogOptions {
  std::string title;
  std::string initialDir;  // Windows-style path
  std::string filter;      // "Description|*.ext;|..."
  std::string fileName;
};

// What a program has put into another process's windows (the client's): undone in that process
// should the program end without undoing it itself (see System::GuardLeftovers).
struct Leftovers {
  HWND area = 0;          // the program's window that holds adopted windows of the client
  HWND home = 0;          // where those windows go back: the client's MDI client
  HWND container = 0;     // the client's window that the program took over: closed
  HWND menuBarOwner = 0;  // the client's window whose menu bar holds the program's pop-up
  std::vector<std::string> menuCaptions;  // the captions that pop-up may carry
};

class System {
 public:
  virtual ~System() = default;

  // ---- Windows ----
  virtual bool RegisterClass(const WindowClass& cls) = 0;
  // `proc`, when given, replaces the class procedure for this window (from WM_NCCREATE on).
  virtual HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& title,
                              DWORD style, int x, int y, int width, int height, HWND parent,
                              UINT id, WNDPROC proc) = 0;
  virtual LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  // A plain, visible child of `parent` ("Static", no text) made by the thread that owns `parent`,
  // so that it belongs to that process: windows of that process put into it live on when the
  // caller's process is killed (a window's children go with it, whoever owns them). 0 when it
  // cannot be made.
  virtual HWND CreateChildInOwner(HWND parent, int x, int y, int width, int height) = 0;
  virtual bool DestroyWindow(HWND hwnd) = 0;
  virtual bool IsWindow(HWND hwnd) = 0;
  virtual HWND GetDesktopWindow() = 0;
  virtual HWND GetParent(HWND hwnd) = 0;
  virtual HWND GetAncestor(HWND hwnd, UINT flags) = 0;
  virtual HWND SetParent(HWND child, HWND newParent) = 0;
  virtual HWND GetWindow(HWND hwnd, UINT cmd) = 0;
  // Null class or title pointers match any; see the notes on FindWindowEx semantics.
  virtual HWND FindWindowEx(HWND parent, HWND childAfter, const char* className,
                            const char* title) = 0;
  virtual bool EnumChildWindows(HWND parent, const std::function<bool(HWND)>& callback) = 0;
  // A count that changes whenever a window is made or destroyed, a parent's list of children
  // changes (a new child, a new place in the z-order) or a window's text (as the system keeps
  // it) changes: what a scan
  // of windows by class and caption found holds while it stays the same. A backend that cannot
  // tell gives a new count at every call, so that nothing is ever taken as unchanged.
  virtual uint64_t WindowTreeVersion() { return ++untoldTreeVersion_; }
  virtual std::string GetClassName(HWND hwnd) = 0;
  virtual int GetWindowTextLength(HWND hwnd) = 0;
  virtual std::string GetWindowText(HWND hwnd) = 0;
  virtual bool SetWindowText(HWND hwnd, const std::string& text) = 0;
  virtual intptr_t GetWindowLong(HWND hwnd, int index) = 0;
  virtual intptr_t SetWindowLong(HWND hwnd, int index, intptr_t value) = 0;
  virtual bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint) = 0;
  virtual bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy,
                            UINT flags) = 0;
  virtual bool BringWindowToTop(HWND hwnd) = 0;
  virtual bool GetWindowRect(HWND hwnd, RECT& rect) = 0;
  virtual bool GetClientRect(HWND hwnd, RECT& rect) = 0;
  virtual bool ClientToScreen(HWND hwnd, POINT& point) = 0;
  virtual bool ScreenToClient(HWND hwnd, POINT& point) = 0;
  virtual bool ShowWindow(HWND hwnd, int cmd) = 0;  // previous visibility
  virtual bool IsWindowVisible(HWND hwnd) = 0;
  virtual bool EnableWindow(HWND hwnd, bool enable) = 0;  // true if it was disabled
  virtual bool IsWindowEnabled(HWND hwnd) = 0;
  virtual HWND WindowFromPoint(POINT screenPoint) = 0;
  virtual HWND GetForegroundWindow() = 0;
  virtual bool SetForegroundWindow(HWND hwnd) = 0;
  virtual HWND GetActiveWindow() = 0;
  virtual DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId) = 0;
  virtual DWORD GetCurrentProcessId() = 0;
  virtual bool InvalidateRect(HWND hwnd) = 0;
  virtual bool UpdateWindow(HWND hwnd) = 0;

  // ---- Messages and the pump ----
  virtual LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  virtual bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  // SendMessageTimeout (SMTO_ABORTIFHUNG): false when the window is gone or its thread did not
  // answer within the time; the caller goes on handling messages sent to it meanwhile. A backend
  // whose sends cannot hang sends plainly.
  virtual bool SendMessageTimeout(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                  uint32_t timeoutMs, LRESULT* result) {
    (void)timeoutMs;
    if (!IsWindow(hwnd)) return false;
    const LRESULT r = SendMessage(hwnd, msg, wParam, lParam);
    if (result) *result = r;
    return true;
  }
  // Dispatches what is pending now. When nothing was pending, lets time run on to the next
  // due event (at most a short step), so that loops polling with it see the clock move.
  virtual void DoEvents() = 0;
  // Runs the message loop for the given time (or until the process ends).
  virtual void WaitEvents(uint32_t milliseconds) = 0;
  virtual UINT SetTimer(HWND hwnd, UINT id, UINT elapse, TimerProc proc) = 0;
  virtual bool KillTimer(HWND hwnd, UINT id) = 0;

  // ---- Focus, capture, input state ----
  virtual HWND SetFocus(HWND hwnd) = 0;
  virtual HWND GetFocus() = 0;
  virtual HWND SetCapture(HWND hwnd) = 0;
  virtual bool ReleaseCapture() = 0;
  virtual HWND GetCapture() = 0;
  virtual bool GetCursorPos(POINT& point) = 0;
  virtual int16_t GetKeyState(int virtualKey) = 0;  // high bit set while held

  // ---- Menus ----
  virtual HMENU CreateMenu() = 0;
  virtual HMENU CreatePopupMenu() = 0;
  virtual bool DestroyMenu(HMENU menu) = 0;
  virtual HMENU GetMenu(HWND hwnd) = 0;
  virtual bool SetMenu(HWND hwnd, HMENU menu) = 0;
  virtual HMENU GetSubMenu(HMENU menu, int position) = 0;
  virtual int GetMenuItemCount(HMENU menu) = 0;
  virtual UINT GetMenuItemID(HMENU menu, int position) = 0;  // 0xFFFFFFFF for a pop-up
  virtual std::string GetMenuString(HMENU menu, UINT item, UINT flags) = 0;
  virtual UINT GetMenuState(HMENU menu, UINT item, UINT flags) = 0;
  virtual bool AppendMenu(HMENU menu, UINT flags, uintptr_t idOrSubmenu,
                          const std::string& text) = 0;
  virtual bool InsertMenu(HMENU menu, UINT position, UINT flags, uintptr_t idOrSubmenu,
                          const std::string& text) = 0;
  virtual bool ModifyMenu(HMENU menu, UINT position, UINT flags, uintptr_t idOrSubmenu,
                          const std::string& text) = 0;
  virtual bool DeleteMenu(HMENU menu, UINT position, UINT flags) = 0;
  virtual bool RemoveMenu(HMENU menu, UINT position, UINT flags) = 0;
  virtual DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) = 0;
  virtual DWORD EnableMenuItem(HMENU menu, UINT item, UINT flags) = 0;
  virtual bool DrawMenuBar(HWND hwnd) = 0;
  virtual int TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) = 0;

  // ---- Clipboard and global memory ----
  virtual UINT RegisterClipboardFormat(const std::string& name) = 0;
  virtual bool OpenClipboard(HWND owner) = 0;
  virtual bool EmptyClipboard() = 0;
  virtual HGLOBAL SetClipboardData(UINT format, HGLOBAL data) = 0;
  virtual HGLOBAL GetClipboardData(UINT format) = 0;
  virtual bool CloseClipboard() = 0;
  virtual HGLOBAL GlobalAlloc(UINT flags, size_t bytes) = 0;
  virtual void* GlobalLock(HGLOBAL mem) = 0;
  virtual bool GlobalUnlock(HGLOBAL mem) = 0;
  virtual HGLOBAL GlobalFree(HGLOBAL mem) = 0;
  virtual size_t GlobalSize(HGLOBAL mem) = 0;

  // ---- Process memory (32-bit addresses) ----
  virtual HANDLE OpenProcess(DWORD access, bool inherit, DWORD processId) = 0;
  virtual bool ReadProcessMemory(HANDLE process, uint32_t address, void* buffer, size_t size,
                                 size_t* bytesRead) = 0;
  virtual bool CloseHandle(HANDLE handle) = 0;
  // Memory of the calling process, addressable by other processes through ReadProcessMemory.
  virtual uint32_t AllocProcessMemory(size_t bytes) = 0;
  virtual bool WriteOwnProcessMemory(uint32_t address, const void* data, size_t size) = 0;

  // ---- Interception components ----
  virtual HANDLE WatchWindow(HWND hwnd, WatchProc proc) = 0;
  virtual bool UnwatchWindow(HANDLE watch) = 0;
  virtual HANDLE SetKeyboardHook(KeyHookProc proc) = 0;
  virtual HANDLE SetMouseHook(HWND hwnd, MouseHookProc proc) = 0;
  virtual bool Unhook(HANDLE hook) = 0;
  virtual std::string GetEditLine(HWND edit, int lineFromOne) = 0;  // dwXGetEditLine

  // ---- Painting ----
  // Inside WM_PAINT: the canvas of the window's client area (origin at the client's top-left).
  virtual gfx::Canvas* BeginPaint(HWND hwnd) = 0;
  virtual void EndPaint(HWND hwnd) = 0;
  virtual COLORREF GetScreenPixel(int x, int y) = 0;
  virtual COLORREF GetSysColor(int index) = 0;

  // ---- Time ----
  virtual uint32_t GetTickCount() = 0;
  virtual DateTime Now() = 0;
  // The user's short-date picture ("M/d/yyyy", "dd.MM.yyyy", "yyyy-MM-dd"): d, dd, M, MM, y,
  // yy, yyyy and 'quoted' text, the rest as it stands.
  virtual std::string GetShortDateFormat() = 0;

  // ---- Outside the window tree ----
  virtual bool PlaySound(const std::string& path, UINT flags) = 0;  // false if not played
  virtual void PlaySystemSound(const std::string& alias) = 0;
  virtual bool ShellExecute(HWND owner, const std::string& verb, const std::string& file,
                            const std::string& directory, int show) = 0;
  virtual std::optional<COLORREF> ChooseColor(HWND owner, COLORREF initial) = 0;
  virtual std::optional<std::string> GetOpenFileName(HWND owner,
                                                     const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> GetSaveFileName(HWND owner,
                                                     const FileDialogOptions& options) = 0;
  virtual int MessageBoxA(HWND owner, const std::string& text, const std::string& caption,
                          UINT type) = 0;
  // The platform's input box; "" when cancelled.
  virtual std::string InputBox(const std::string& prompt, const std::string& title,
                               const std::string& defaultText) = 0;
  // One synchronous fetch of a URL's body; nullopt on failure.
  virtual std::optional<std::string> HttpGet(const std::string& url) = 0;
  // Prints plain text on the default printer; false when there is none.
  virtual bool PrintText(const std::string& documentName, const std::string& text) = 0;

  // ---- Private-profile (INI) files ----
  // GetPrivateProfileStringA: the value (or the key list when key is null) cut to size - 1;
  // the returned count is the result's length.
  virtual std::string GetPrivateProfileString(const char* section, const char* key,
                                              const char* defaultValue, size_t size,
                                              const std::string& file) = 0;
  // WritePrivateProfileStringA: a null key deletes the section, a null value the key.
  virtual bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                                         const std::string& file) = 0;

  // ---- Process ----
  // A named lock that lives as long as the process; false when another process holds it.
  virtual bool CreateNamedLock(const std::string& name) = 0;
  // Ends the calling process: its windows, timers, hooks and locks go. Returns to the caller,
  // which must do nothing more.
  virtual void ExitProcess() = 0;
  virtual bool ProcessEnded() = 0;  // the calling process has ended
  // Leaves the leftovers' description with the process of `leftovers.home` (on Windows, with the
  // hook library the program loads there). Should the calling process end without taking it
  // back with Unhook (killed, crashed), UndoLeftovers runs there, in that process. A killed
  // process's windows are gone by then, with every window inside them whoever owns it: windows
  // that are to live on must be kept in windows of that process (CreateChildInOwner). 0 when it
  // cannot be left.
  virtual HANDLE GuardLeftovers(const Leftovers& leftovers) = 0;

  virtual void SetLastError(DWORD error) = 0;
  virtual DWORD GetLastError() = 0;

 private:
  uint64_t untoldTreeVersion_ = 0;
};

// The installed backend. Installing replaces the previous one.
System& Current();
void Install(System* system);

}  // namespace platform
