// The thin layer between the Win32 backend and the real API. Only native.cpp includes
// <windows.h>; this header uses plain integer types and none of the seam's names or constants,
// because <windows.h> defines macros for most of them. Handles are the 32-bit values the seam
// uses (window and menu handles are 32-bit on 64-bit Windows too); memory and kernel handles
// that may not fit travel as pointers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::win32::native {

// Every window of a class registered here, and every system-class window handed to
// SubclassToRouter, sends its messages to the router.
using Router = intptr_t (*)(uint32_t hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam);
void SetRouter(Router router);

// ---- Windows ----
bool RegisterWindowClass(const std::string& name);
uint32_t MakeWindow(uint32_t exStyle, const std::string& className, const std::string& title,
                    uint32_t style, int x, int y, int width, int height, uint32_t parent,
                    uint32_t id);
// The system's default handling: the original class procedure of a subclassed system-class
// window, DefWindowProc otherwise.
intptr_t CallDefault(uint32_t hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam);
bool SubclassToRouter(uint32_t hwnd);
void ForgetWindow(uint32_t hwnd);  // after WM_NCDESTROY
bool DestroyWindow(uint32_t hwnd);
bool IsWindow(uint32_t hwnd);
uint32_t GetDesktopWindow();
uint32_t GetParent(uint32_t hwnd);
uint32_t GetAncestor(uint32_t hwnd, uint32_t flags);
uint32_t SetParent(uint32_t child, uint32_t parent);
uint32_t GetWindow(uint32_t hwnd, uint32_t cmd);
uint32_t FindWindowExA(uint32_t parent, uint32_t after, const char* className, const char* title);
bool EnumChildWindows(uint32_t parent, const std::function<bool(uint32_t)>& callback);
std::string GetClassNameA(uint32_t hwnd);
int GetWindowTextLengthA(uint32_t hwnd);
std::string GetWindowTextA(uint32_t hwnd);
bool SetWindowTextA(uint32_t hwnd, const std::string& text);
intptr_t GetWindowLongValue(uint32_t hwnd, int index);
intptr_t SetWindowLongValue(uint32_t hwnd, int index, intptr_t value);
bool MoveWindow(uint32_t hwnd, int x, int y, int width, int height, bool repaint);
// insertAfter: the seam's value (0 top, 1 bottom, 0xFFFFFFFF topmost, 0xFFFFFFFE not topmost).
bool SetWindowPos(uint32_t hwnd, uint32_t insertAfter, int x, int y, int cx, int cy,
                  uint32_t flags);
bool BringWindowToTop(uint32_t hwnd);
// Rectangles as left, top, right, bottom; points as x, y.
bool GetWindowRect(uint32_t hwnd, int32_t rect[4]);
bool GetClientRect(uint32_t hwnd, int32_t rect[4]);
bool ClientToScreen(uint32_t hwnd, int32_t point[2]);
bool ScreenToClient(uint32_t hwnd, int32_t point[2]);
bool ShowWindow(uint32_t hwnd, int cmd);
bool IsWindowVisible(uint32_t hwnd);
bool EnableWindow(uint32_t hwnd, bool enable);
bool IsWindowEnabled(uint32_t hwnd);
uint32_t WindowFromPoint(int x, int y);
uint32_t GetForegroundWindow();
bool SetForegroundWindow(uint32_t hwnd);
uint32_t GetActiveWindow();
uint32_t GetWindowThreadProcessId(uint32_t hwnd, uint32_t* processId);
uint32_t GetCurrentProcessId();
bool InvalidateRect(uint32_t hwnd);
bool UpdateWindow(uint32_t hwnd);

// ---- Messages, pump, timers ----
intptr_t SendMessageA(uint32_t hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam);
// SMTO_ABORTIFHUNG within `timeoutMs`; false when the window is gone, hung or too slow.
bool SendMessageTimeoutA(uint32_t hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam,
                         uint32_t timeoutMs, intptr_t* result);
bool PostMessageA(uint32_t hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam);
// Dispatches every pending message; false once WM_QUIT was taken. `dispatched` tells whether
// there was any.
bool PumpPending(bool* dispatched);
// Blocks until input arrives or the time is up.
void WaitForInput(uint32_t milliseconds);
void PostQuitMessage();
// A timer whose expiry calls `expired(hwnd, id)` instead of posting WM_TIMER when `withProc`.
using TimerExpired = void (*)(uint32_t hwnd, uint32_t id);
void SetTimerCallback(TimerExpired expired);
uint32_t SetTimer(uint32_t hwnd, uint32_t id, uint32_t elapse, bool withProc);
bool KillTimer(uint32_t hwnd, uint32_t id);
uint32_t GetTickCount();
// year, month, day, hour, minute, second, millisecond
void GetLocalTime(int parts[7]);
// The user's short-date picture from the regional settings; "" when the system gives none.
std::string UserShortDateFormat();

// ---- Focus, capture, input ----
uint32_t SetFocus(uint32_t hwnd);
uint32_t GetFocus();
uint32_t SetCapture(uint32_t hwnd);
bool ReleaseCapture();
uint32_t GetCapture();
bool GetCursorPos(int32_t point[2]);
int16_t GetKeyState(int key);
// The keyboard hook of the calling thread (one handler for every thread that has one): called
// for each key going down there with the key code (changeable; 0 swallows) and the shift state
// (1 Shift, 2 Ctrl, 4 Alt); returning true swallows the key.
using KeyDown = bool (*)(int& keyCode, int shift);
bool InstallKeyboardHook(KeyDown onKey);
void RemoveKeyboardHook();
// A key pressed and released on the keyboard, as the person presses it.
bool PressKey(int virtualKey);

// ---- Menus ----
uint32_t CreateMenu();
uint32_t CreatePopupMenu();
bool DestroyMenu(uint32_t menu);
uint32_t GetMenu(uint32_t hwnd);
bool SetMenu(uint32_t hwnd, uint32_t menu);
uint32_t GetSubMenu(uint32_t menu, int position);
int GetMenuItemCount(uint32_t menu);
uint32_t GetMenuItemID(uint32_t menu, int position);
std::string GetMenuStringA(uint32_t menu, uint32_t item, uint32_t flags);
uint32_t GetMenuState(uint32_t menu, uint32_t item, uint32_t flags);
bool AppendMenuA(uint32_t menu, uint32_t flags, uintptr_t idOrSubmenu, const std::string& text);
bool InsertMenuA(uint32_t menu, uint32_t position, uint32_t flags, uintptr_t idOrSubmenu,
                 const std::string& text);
bool ModifyMenuA(uint32_t menu, uint32_t position, uint32_t flags, uintptr_t idOrSubmenu,
                 const std::string& text);
bool DeleteMenu(uint32_t menu, uint32_t position, uint32_t flags);
bool RemoveMenu(uint32_t menu, uint32_t position, uint32_t flags);
uint32_t CheckMenuItem(uint32_t menu, uint32_t item, uint32_t flags);
uint32_t EnableMenuItem(uint32_t menu, uint32_t item, uint32_t flags);
bool DrawMenuBar(uint32_t hwnd);
int TrackPopupMenu(uint32_t menu, uint32_t flags, int x, int y, uint32_t owner);

// ---- Clipboard and global memory (memory handles as pointers) ----
uint32_t RegisterClipboardFormatA(const std::string& name);
bool OpenClipboard(uint32_t owner);
bool EmptyClipboard();
void* SetClipboardData(uint32_t format, void* data);
void* GetClipboardData(uint32_t format);
bool CloseClipboard();
void* GlobalAlloc(uint32_t flags, size_t bytes);
void* GlobalLock(void* mem);
bool GlobalUnlock(void* mem);
void* GlobalFree(void* mem);
size_t GlobalSize(void* mem);

// ---- Processes (kernel handles as pointers) ----
void* OpenProcess(uint32_t access, bool inherit, uint32_t processId);
bool ReadProcessMemory(void* process, uint32_t address, void* buffer, size_t size,
                       size_t* bytesRead);
bool CloseHandle(void* handle);
// Committed read-write memory whose address fits in 32 bits; 0 when none is free.
uint32_t AllocLowMemory(size_t bytes);
// A named mutex held by this process; null when another process holds one of that name.
void* CreateOwnedMutex(const std::string& name);
// Starts a program by its command line: its process handle (null on failure) and id.
void* StartProcess(const std::string& commandLine, uint32_t* processId);
// Waits up to `milliseconds` for the process to end; true, with its exit code, once it has.
bool WaitProcess(void* process, uint32_t milliseconds, uint32_t* exitCode);
bool KillProcess(void* process);
void SetLastError(uint32_t error);
uint32_t GetLastError();

// ---- Windows of other processes, through the hook library loaded there (native_agent.cpp) ----
// A reported message of a watched window of another process (flags: wire::kWatchAll and / or
// wire::kWatchMouse), before that window sees it. The handler may change it; returning true
// swallows it with `result`.
using RemoteMessage = bool (*)(uint32_t hwnd, uint32_t& msg, uintptr_t& wParam, intptr_t& lParam,
                               uint32_t flags, intptr_t& result);
void SetRemoteHandlers(RemoteMessage onMessage, KeyDown onKey);
// A live window of another process.
bool IsForeign(uint32_t hwnd);
// Which messages of a window of another process are reported (wire::kWatchAll,
// wire::kWatchMouse; 0 none). False, with the error set, when the library is not there.
bool RemoteWatch(uint32_t hwnd, uint32_t flags);
// The text of one line of an edit or rich-text control of another process.
std::optional<std::string> RemoteEditLine(uint32_t edit, int lineFromOne);
// One menu call (wire::MenuOp) made inside the process of `hwnd`'s thread; a text result in
// `textOut`.
intptr_t RemoteMenu(uint32_t hwnd, uint32_t op, uint32_t menu, uint32_t position, uint32_t flags,
                    uintptr_t idOrSubmenu, const std::string& text, std::string* textOut);
// Leaves the leftovers' description with the library in the process of `home`; false when it
// cannot. Should this process end unannounced, the library undoes them there. A failing
// process (an unhandled fault) has them undone before it ends.
bool RemoteGuard(uint32_t home, const std::string& description);
// A plain child of `parent` made by its thread, in its process (see MakePlainChild); 0 on failure.
uint32_t RemoteMakeChild(uint32_t parent, int x, int y, int width, int height);
// A visible "Static" child without text, clipping its siblings, made by the calling thread.
uint32_t MakePlainChild(uint32_t parent, int x, int y, int width, int height);
bool RemoteUnguard(uint32_t home);
// Has every guarded leftovers' description undone now, in the processes that hold them.
void RunRemoteGuards();
// Reports the keys of every thread the library is in to the key handler (and of threads it
// comes to later), or stops.
bool RemoteKeyboard(bool on);
// Lets go of every window, hook and guard in other processes (the program's own end).
void ReleaseRemote();
// The text of one line of an edit or rich-text control of the calling process, whatever its
// length.
std::string ReadEditLine(uint32_t edit, int lineFromOne);

// ---- Painting ----
// Starts painting the client area; its size in pixels. False when the window is gone.
bool BeginPaint(uint32_t hwnd, int* width, int* height);
// Copies 0x00BBGGRR pixels (row-major, width * height) to the client area and ends painting.
void EndPaint(uint32_t hwnd, const uint32_t* pixels, int width, int height);
uint32_t GetScreenPixel(int x, int y);
uint32_t GetSysColor(int index);
// The system's font folder ("C:\Windows\Fonts").
std::string FontFolder();

// ---- Outside the window tree ----
bool PlaySoundFile(const std::string& path, uint32_t flags);
void PlaySoundAlias(const std::string& alias);
bool ShellExecuteA(uint32_t owner, const std::string& verb, const std::string& file,
                   const std::string& directory, int show);
std::optional<uint32_t> ChooseColorA(uint32_t owner, uint32_t initial);
// filter: "Description|*.ext;|..." as the program writes it.
std::optional<std::string> GetFileNameA(bool save, uint32_t owner, const std::string& title,
                                        const std::string& initialDir, const std::string& filter,
                                        const std::string& fileName);
int MessageBoxA(uint32_t owner, const std::string& text, const std::string& caption, uint32_t type);
// A small modal window with the prompt, a text line and OK / Cancel; nullopt when cancelled.
std::optional<std::string> InputBoxA(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText);
std::optional<std::string> HttpGet(const std::string& url);
bool PrintText(const std::string& documentName, const std::string& text);
// The value, or with a null key the key names (each NUL-ended), as the system returns them.
std::string GetPrivateProfileStringA(const char* section, const char* key, const char* def,
                                     size_t size, const std::string& file);
bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const std::string& file);
// Text in the system's ANSI code page and in UTF-16 (file names are UTF-16 on Windows).
std::wstring WideFromAnsi(const std::string& text);
std::string AnsiFromWide(const std::wstring& text);
// The folder of the running executable, and its full path.
std::string ExecutableFolder();
std::string ExecutablePath();
// Starts a program (a command line); its process id, 0 when it did not start.
uint32_t StartProcess(const std::string& commandLine);
// Ends a process from outside, as the task manager does, and waits until it has ended.
bool EndProcess(uint32_t processId);

}  // namespace platform::win32::native
