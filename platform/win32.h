// The Win32-shaped free functions the program calls; each forwards to the installed backend.
#pragma once

#include "platform/system.h"

namespace platform {

inline bool RegisterClass(const WindowClass& cls) {
  return Current().RegisterClass(cls);
}
inline HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& title,
                           DWORD style, int x, int y, int width, int height, HWND parent, UINT id,
                           WNDPROC proc) {
  return Current().CreateWindowEx(exStyle, className, title, style, x, y, width, height, parent, id,
                                  proc);
}
inline LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return Current().DefWindowProc(hwnd, msg, wParam, lParam);
}
inline HWND CreateChildInOwner(HWND parent, int x, int y, int width, int height) {
  return Current().CreateChildInOwner(parent, x, y, width, height);
}
inline bool DestroyWindow(HWND hwnd) {
  return Current().DestroyWindow(hwnd);
}
inline bool IsWindow(HWND hwnd) {
  return Current().IsWindow(hwnd);
}
inline uint64_t WindowTreeVersion() {
  return Current().WindowTreeVersion();
}
inline HWND GetDesktopWindow() {
  return Current().GetDesktopWindow();
}
inline HWND GetParent(HWND hwnd) {
  return Current().GetParent(hwnd);
}
inline HWND GetAncestor(HWND hwnd, UINT flags) {
  return Current().GetAncestor(hwnd, flags);
}
inline HWND SetParent(HWND child, HWND newParent) {
  return Current().SetParent(child, newParent);
}
inline HWND GetWindow(HWND hwnd, UINT cmd) {
  return Current().GetWindow(hwnd, cmd);
}
inline HWND FindWindowEx(HWND parent, HWND childAfter, const char* className, const char* title) {
  return Current().FindWindowEx(parent, childAfter, className, title);
}
inline bool EnumChildWindows(HWND parent, const std::function<bool(HWND)>& callback) {
  return Current().EnumChildWindows(parent, callback);
}
inline std::string GetClassName(HWND hwnd) {
  return Current().GetClassName(hwnd);
}
inline int GetWindowTextLength(HWND hwnd) {
  return Current().GetWindowTextLength(hwnd);
}
inline std::string GetWindowText(HWND hwnd) {
  return Current().GetWindowText(hwnd);
}
inline bool SetWindowText(HWND hwnd, const std::string& text) {
  return Current().SetWindowText(hwnd, text);
}
inline intptr_t GetWindowLong(HWND hwnd, int index) {
  return Current().GetWindowLong(hwnd, index);
}
inline intptr_t SetWindowLong(HWND hwnd, int index, intptr_t value) {
  return Current().SetWindowLong(hwnd, index, value);
}
inline bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint) {
  return Current().MoveWindow(hwnd, x, y, width, height, repaint);
}
inline bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return Current().SetWindowPos(hwnd, insertAfter, x, y, cx, cy, flags);
}
inline bool BringWindowToTop(HWND hwnd) {
  return Current().BringWindowToTop(hwnd);
}
inline bool GetWindowRect(HWND hwnd, RECT& rect) {
  return Current().GetWindowRect(hwnd, rect);
}
inline bool GetClientRect(HWND hwnd, RECT& rect) {
  return Current().GetClientRect(hwnd, rect);
}
inline bool ClientToScreen(HWND hwnd, POINT& point) {
  return Current().ClientToScreen(hwnd, point);
}
inline bool ScreenToClient(HWND hwnd, POINT& point) {
  return Current().ScreenToClient(hwnd, point);
}
inline bool ShowWindow(HWND hwnd, int cmd) {
  return Current().ShowWindow(hwnd, cmd);
}
inline bool IsWindowVisible(HWND hwnd) {
  return Current().IsWindowVisible(hwnd);
}
inline bool EnableWindow(HWND hwnd, bool enable) {
  return Current().EnableWindow(hwnd, enable);
}
inline bool IsWindowEnabled(HWND hwnd) {
  return Current().IsWindowEnabled(hwnd);
}
inline HWND WindowFromPoint(POINT screenPoint) {
  return Current().WindowFromPoint(screenPoint);
}
inline HWND GetForegroundWindow() {
  return Current().GetForegroundWindow();
}
inline bool SetForegroundWindow(HWND hwnd) {
  return Current().SetForegroundWindow(hwnd);
}
inline HWND GetActiveWindow() {
  return Current().GetActiveWindow();
}
inline DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId) {
  return Current().GetWindowThreadProcessId(hwnd, processId);
}
inline DWORD GetCurrentProcessId() {
  return Current().GetCurrentProcessId();
}
inline bool InvalidateRect(HWND hwnd) {
  return Current().InvalidateRect(hwnd);
}
inline bool UpdateWindow(HWND hwnd) {
  return Current().UpdateWindow(hwnd);
}
inline LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return Current().SendMessage(hwnd, msg, wParam, lParam);
}
inline bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return Current().PostMessage(hwnd, msg, wParam, lParam);
}
inline bool SendMessageTimeout(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                               uint32_t timeoutMs, LRESULT* result) {
  return Current().SendMessageTimeout(hwnd, msg, wParam, lParam, timeoutMs, result);
}
inline void DoEvents() {
  Current().DoEvents();
}
inline void WaitEvents(uint32_t milliseconds) {
  Current().WaitEvents(milliseconds);
}
inline UINT SetTimer(HWND hwnd, UINT id, UINT elapse, TimerProc proc) {
  return Current().SetTimer(hwnd, id, elapse, proc);
}
inline bool KillTimer(HWND hwnd, UINT id) {
  return Current().KillTimer(hwnd, id);
}
inline HWND SetFocus(HWND hwnd) {
  return Current().SetFocus(hwnd);
}
inline HWND GetFocus() {
  return Current().GetFocus();
}
inline HWND SetCapture(HWND hwnd) {
  return Current().SetCapture(hwnd);
}
inline bool ReleaseCapture() {
  return Current().ReleaseCapture();
}
inline HWND GetCapture() {
  return Current().GetCapture();
}
inline bool GetCursorPos(POINT& point) {
  return Current().GetCursorPos(point);
}
inline int16_t GetKeyState(int virtualKey) {
  return Current().GetKeyState(virtualKey);
}
inline HMENU CreateMenu() {
  return Current().CreateMenu();
}
inline HMENU CreatePopupMenu() {
  return Current().CreatePopupMenu();
}
inline bool DestroyMenu(HMENU menu) {
  return Current().DestroyMenu(menu);
}
inline HMENU GetMenu(HWND hwnd) {
  return Current().GetMenu(hwnd);
}
inline bool SetMenu(HWND hwnd, HMENU menu) {
  return Current().SetMenu(hwnd, menu);
}
inline HMENU GetSubMenu(HMENU menu, int position) {
  return Current().GetSubMenu(menu, position);
}
inline int GetMenuItemCount(HMENU menu) {
  return Current().GetMenuItemCount(menu);
}
inline UINT GetMenuItemID(HMENU menu, int position) {
  return Current().GetMenuItemID(menu, position);
}
inline std::string GetMenuString(HMENU menu, UINT item, UINT flags) {
  return Current().GetMenuString(menu, item, flags);
}
inline UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  return Current().GetMenuState(menu, item, flags);
}
inline bool AppendMenu(HMENU menu, UINT flags, uintptr_t idOrSubmenu, const std::string& text) {
  return Current().AppendMenu(menu, flags, idOrSubmenu, text);
}
inline bool InsertMenu(HMENU menu, UINT position, UINT flags, uintptr_t idOrSubmenu,
                       const std::string& text) {
  return Current().InsertMenu(menu, position, flags, idOrSubmenu, text);
}
inline bool ModifyMenu(HMENU menu, UINT position, UINT flags, uintptr_t idOrSubmenu,
                       const std::string& text) {
  return Current().ModifyMenu(menu, position, flags, idOrSubmenu, text);
}
inline bool DeleteMenu(HMENU menu, UINT position, UINT flags) {
  return Current().DeleteMenu(menu, position, flags);
}
inline bool RemoveMenu(HMENU menu, UINT position, UINT flags) {
  return Current().RemoveMenu(menu, position, flags);
}
inline DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
  return Current().CheckMenuItem(menu, item, flags);
}
inline DWORD EnableMenuItem(HMENU menu, UINT item, UINT flags) {
  return Current().EnableMenuItem(menu, item, flags);
}
inline bool DrawMenuBar(HWND hwnd) {
  return Current().DrawMenuBar(hwnd);
}
inline int TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
  return Current().TrackPopupMenu(menu, flags, x, y, owner);
}
inline UINT RegisterClipboardFormat(const std::string& name) {
  return Current().RegisterClipboardFormat(name);
}
inline bool OpenClipboard(HWND owner) {
  return Current().OpenClipboard(owner);
}
inline bool EmptyClipboard() {
  return Current().EmptyClipboard();
}
inline HGLOBAL SetClipboardData(UINT format, HGLOBAL data) {
  return Current().SetClipboardData(format, data);
}
inline HGLOBAL GetClipboardData(UINT format) {
  return Current().GetClipboardData(format);
}
inline bool CloseClipboard() {
  return Current().CloseClipboard();
}
inline HGLOBAL GlobalAlloc(UINT flags, size_t bytes) {
  return Current().GlobalAlloc(flags, bytes);
}
inline void* GlobalLock(HGLOBAL mem) {
  return Current().GlobalLock(mem);
}
inline bool GlobalUnlock(HGLOBAL mem) {
  return Current().GlobalUnlock(mem);
}
inline HGLOBAL GlobalFree(HGLOBAL mem) {
  return Current().GlobalFree(mem);
}
inline size_t GlobalSize(HGLOBAL mem) {
  return Current().GlobalSize(mem);
}
inline HANDLE OpenProcess(DWORD access, bool inherit, DWORD processId) {
  return Current().OpenProcess(access, inherit, processId);
}
inline bool ReadProcessMemory(HANDLE process, uint32_t address, void* buffer, size_t size,
                              size_t* bytesRead) {
  return Current().ReadProcessMemory(process, address, buffer, size, bytesRead);
}
inline bool CloseHandle(HANDLE handle) {
  return Current().CloseHandle(handle);
}
inline uint32_t AllocProcessMemory(size_t bytes) {
  return Current().AllocProcessMemory(bytes);
}
inline bool WriteOwnProcessMemory(uint32_t address, const void* data, size_t size) {
  return Current().WriteOwnProcessMemory(address, data, size);
}
inline HANDLE WatchWindow(HWND hwnd, WatchProc proc) {
  return Current().WatchWindow(hwnd, proc);
}
inline bool UnwatchWindow(HANDLE watch) {
  return Current().UnwatchWindow(watch);
}
inline HANDLE SetKeyboardHook(KeyHookProc proc) {
  return Current().SetKeyboardHook(proc);
}
inline HANDLE SetMouseHook(HWND hwnd, MouseHookProc proc) {
  return Current().SetMouseHook(hwnd, proc);
}
inline bool Unhook(HANDLE hook) {
  return Current().Unhook(hook);
}
inline std::string GetEditLine(HWND edit, int lineFromOne) {
  return Current().GetEditLine(edit, lineFromOne);
}
inline gfx::Canvas* BeginPaint(HWND hwnd) {
  return Current().BeginPaint(hwnd);
}
inline void EndPaint(HWND hwnd) {
  Current().EndPaint(hwnd);
}
inline COLORREF GetScreenPixel(int x, int y) {
  return Current().GetScreenPixel(x, y);
}
inline COLORREF GetSysColor(int index) {
  return Current().GetSysColor(index);
}
inline uint32_t GetTickCount() {
  return Current().GetTickCount();
}
inline DateTime Now() {
  return Current().Now();
}
inline std::string GetShortDateFormat() {
  return Current().GetShortDateFormat();
}
inline bool PlaySound(const std::string& path, UINT flags) {
  return Current().PlaySound(path, flags);
}
inline void PlaySystemSound(const std::string& alias) {
  Current().PlaySystemSound(alias);
}
inline bool ShellExecute(HWND owner, const std::string& verb, const std::string& file,
                         const std::string& directory, int show) {
  return Current().ShellExecute(owner, verb, file, directory, show);
}
inline std::optional<COLORREF> ChooseColor(HWND owner, COLORREF initial) {
  return Current().ChooseColor(owner, initial);
}
inline std::optional<std::string> GetOpenFileName(HWND owner, const FileDialogOptions& options) {
  return Current().GetOpenFileName(owner, options);
}
inline std::optional<std::string> GetSaveFileName(HWND owner, const FileDialogOptions& options) {
  return Current().GetSaveFileName(owner, options);
}
inline int MessageBoxA(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  return Current().MessageBoxA(owner, text, caption, type);
}
inline std::string InputBox(const std::string& prompt, const std::string& title,
                            const std::string& defaultText) {
  return Current().InputBox(prompt, title, defaultText);
}
inline std::optional<std::string> HttpGet(const std::string& url) {
  return Current().HttpGet(url);
}
inline bool PrintText(const std::string& documentName, const std::string& text) {
  return Current().PrintText(documentName, text);
}
inline std::string GetPrivateProfileString(const char* section, const char* key,
                                           const char* defaultValue, size_t size,
                                           const std::string& file) {
  return Current().GetPrivateProfileString(section, key, defaultValue, size, file);
}
inline bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                                      const std::string& file) {
  return Current().WritePrivateProfileString(section, key, value, file);
}
inline bool CreateNamedLock(const std::string& name) {
  return Current().CreateNamedLock(name);
}
inline void ExitProcess() {
  Current().ExitProcess();
}
inline bool ProcessEnded() {
  return Current().ProcessEnded();
}
inline HANDLE GuardLeftovers(const Leftovers& leftovers) {
  return Current().GuardLeftovers(leftovers);
}
inline void SetLastError(DWORD error) {
  Current().SetLastError(error);
}
inline DWORD GetLastError() {
  return Current().GetLastError();
}

// Convenience forms used throughout the program.
inline HWND FindWindowEx(HWND parent, HWND childAfter, const std::string& className) {
  return FindWindowEx(parent, childAfter, className.c_str(), nullptr);
}
inline HWND FindWindow(const char* className, const char* title) {
  return FindWindowEx(0, 0, className, title);
}

}  // namespace platform
