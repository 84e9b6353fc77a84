// The simulated desktop: a small window manager with Win32 semantics, a virtual clock, and
// what a test or the demo needs to act as the person at the screen and to look at the result.
// Deterministic: the same calls give the same run.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/http_client.h"
#include "platform/system.h"

namespace gfx {
class Canvas;
}

namespace platform::sim {

struct Window;

// Something the platform did outside the window tree, recorded in order.
struct Event {
  enum class Kind {
    Sound,        // PlaySound of an existing file: text = path
    SystemSound,  // text = alias ("SystemExclamation")
    ShellOpen,    // text = file, detail = verb
    ColorDialog,  // detail = "cancel" or the chosen colour as decimal
    OpenDialog,   // text = initial folder, detail = chosen file or "cancel"
    SaveDialog,
    MessageBox,   // text = message, detail = caption
    InputBox,     // text = prompt, detail = answer
    HttpGet,      // text = url, detail = "ok" or "fail"
    Print,        // text = document name, detail = printed text
    PopupMenu,    // text = chosen item's text or "" when dismissed
    ProcessExit,  // text = process name
  };
  Kind kind;
  uint64_t timeMs = 0;
  DWORD processId = 0;
  std::string text;
  std::string detail;
};

std::string ToString(Event::Kind kind);

struct DesktopOptions {
  int width = 1024;
  int height = 768;
  DateTime start{2001, 4, 26, 9, 0, 0, 0};  // local time when the clock reads 0
  bool printerInstalled = true;
  HttpLimits http;                           // HttpGet is a real fetch within these bounds
  std::string shortDateFormat = "M/d/yyyy";  // the user's short-date picture
  bool taskbar = true;  // drawn along the bottom of the screen, over the windows
};

class Desktop : public System {
 public:
  explicit Desktop(DesktopOptions options = {});
  ~Desktop() override;
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  // ---- Processes ----
  // Creates a process and makes it current. Windows, timers and hooks made while a process is
  // current belong to it; a message delivered to a window runs with its owner current.
  DWORD CreateProcess(const std::string& name);
  void SetCurrentProcess(DWORD processId);
  DWORD CurrentProcess() const;
  bool ProcessAlive(DWORD processId) const;
  // Kills a process from outside, as the task manager does: it ends at once without running
  // any of its own code; its windows, timers, hooks and locks go as when it exits. What it left
  // with other processes (GuardLeftovers) is undone there first. The ProcessExit event says
  // "killed".
  void KillProcess(DWORD processId);
  std::string ProcessName(DWORD processId) const;
  // Makes a process current for the lifetime of the scope.
  class ProcessScope {
   public:
    ProcessScope(Desktop& desktop, DWORD processId);
    ~ProcessScope();
    ProcessScope(const ProcessScope&) = delete;
    ProcessScope& operator=(const ProcessScope&) = delete;

   private:
    Desktop& desktop_;
    DWORD previous_;
  };

  // ---- Virtual time ----
  uint64_t NowMs() const;
  // Runs the message loop for the given virtual time: posted messages, timers, scheduled
  // actions, responders.
  void RunFor(uint64_t milliseconds);
  // Runs until the predicate holds (checked after each dispatched item) or the time is up.
  bool RunUntil(const std::function<bool()>& done, uint64_t timeoutMs);
  // Dispatches everything due now, without letting time pass.
  void RunPending();
  // Lets time pass without running the loop, as while the program is busy.
  void Stall(uint64_t milliseconds);
  // Runs `action` when the clock reaches now + delay, as the given process (0: the current one).
  void Schedule(uint64_t delayMs, std::function<void()> action, DWORD processId = 0);
  // Checked whenever the loop is idle; a responder that returns true is used up. Lets a test
  // answer a modal window that the program is about to wait on.
  void AddResponder(std::function<bool()> responder);

  // ---- The person at the screen ----
  // A press and release of the left button at a screen point (hit-tested), or at a point of a
  // window's client area.
  void ClickAt(POINT screenPoint);
  void Click(HWND hwnd, int clientX = -1, int clientY = -1);  // -1: the centre
  void MouseDown(HWND hwnd, int clientX, int clientY);
  void MouseUp(HWND hwnd, int clientX, int clientY);
  void MouseMoveTo(POINT screenPoint);
  // A key press through the keyboard hooks to the focus window (WM_KEYDOWN, WM_CHAR, WM_KEYUP).
  void PressKey(int virtualKey, int shift = 0);
  void TypeText(const std::string& ansiText);
  // Chooses an item of a window's menu bar by the item texts from the bar down ("&" ignored,
  // compared without regard to case); false when there is no such enabled item.
  bool ChooseMenuItem(HWND hwnd, const std::vector<std::string>& path);
  // Answers for the next pop-up menu: the item text to choose ("" dismisses it).
  void AnswerNextPopupMenu(const std::string& itemText);
  // Called while a menu is open on the screen (a drop-down of a menu bar or a pop-up, with the
  // item about to be chosen highlighted), so that a screenshot taken then shows it.
  void SetMenuShownListener(std::function<void()> listener);

  // ---- Answers to the platform's dialogs (used in order; unanswered ones are cancelled) ----
  void AnswerColorDialog(std::optional<COLORREF> color);
  void AnswerFileDialog(std::optional<std::string> path);
  void AnswerMessageBox(int result);
  void AnswerInputBox(std::string text);
  // The user's choice in the regional settings.
  void SetShortDateFormat(const std::string& format);
  // The wall clock (Now) jumps forward or back, as when the person or a time service sets it;
  // the tick count, timers and scheduled actions go on undisturbed.
  void ShiftWallClock(int64_t milliseconds);

  // ---- Looking ----
  const std::vector<Event>& Events() const;
  void SetEventListener(std::function<void(const Event&)> listener);
  // The window tree as text: one line per window, indented, in sibling order (top first),
  // with handle, class, caption, visibility, screen rectangle and owning process.
  std::string DumpTree(HWND root = 0) const;
  // Paints every visible window in z-order.
  gfx::Canvas RenderScreen();
  bool SaveScreenshot(const std::string& hostPath);
  bool SaveWindowShot(HWND hwnd, const std::string& hostPath);
  // Host folder where the default printer writes each printed page as a PNG
  // (print-NNN-page-NNN.png); by default pages are only kept in memory.
  void SetPrinterFolder(const std::string& hostFolder);
  // Every page the default printer printed in this run, in order.
  const std::vector<gfx::Canvas>& PrintedPages() const;
  // The menu of a window as text (items, check marks, ids), for tests and dumps.
  std::string DumpMenu(HMENU menu) const;
  // The taskbar's buttons, one for each shown top-level window with a caption that no window
  // owns, in the order the windows were made: the window and the button's screen rectangle.
  // A click on one brings its window back and to the front.
  std::vector<std::pair<HWND, RECT>> TaskbarButtons() const;

  // ---- System ----
  bool RegisterClass(const WindowClass& cls) override;
  HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& title,
                      DWORD style, int x, int y, int width, int height, HWND parent, UINT id,
                      WNDPROC proc) override;
  LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
  HWND CreateChildInOwner(HWND parent, int x, int y, int width, int height) override;
  bool DestroyWindow(HWND hwnd) override;
  bool IsWindow(HWND hwnd) override;
  uint64_t WindowTreeVersion() override;
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
  friend class SystemControl;
  // DefWindowProc without a system control's behaviour: what every window gets.
  LRESULT BaseDefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  DWORD InputGroup(DWORD process) const;
  void JoinInput(DWORD a, DWORD b);
  bool InputJoined(DWORD a, DWORD b) const;
  struct State;
  std::unique_ptr<State> state_;

  Window* Find(HWND hwnd) const;  // nullptr for 0, dead or unknown handles
  Window* Need(HWND hwnd);        // as Find, setting the invalid-handle error
  LRESULT Deliver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool input);
  bool HasPendingNow() const;
  bool DispatchOne();
  bool RunResponders();
  bool RunLoop(uint64_t end, const std::function<bool()>* done);
  std::optional<uint64_t> NextDue() const;
  void Unlink(Window& w);
  void LinkTop(Window& w);
  void LinkBottom(Window& w);
  void LinkBelow(Window& w, HWND sibling);
  RECT Insets(const Window& w) const;
  POINT WindowOrigin(const Window& w) const;  // screen position of the window's top-left
  POINT ClientOrigin(const Window& w) const;  // screen position of the client area
  RECT ClientRectIn(const Window& w) const;   // client rectangle in the parent's client coords
  bool IsDescendant(HWND ancestor, HWND hwnd) const;
  void SendPositionChanged(HWND hwnd);
  void Activate(HWND hwnd);
  void MoveFocus(HWND hwnd);
  // Ends a process; `how` is the ProcessExit event's detail.
  void EndProcess(DWORD processId, const std::string& how);
  void DestroyInternal(HWND hwnd);
  void SendDestroy(HWND hwnd);
  void FreeWindow(HWND hwnd);
  void Record(Event::Kind kind, std::string text, std::string detail);
  void DeliverMouse(HWND target, UINT msg, WPARAM wParam, POINT screenPoint);
  void PressMouse(HWND target, POINT screenPoint);
  void RenderWindow(gfx::Canvas& screen, HWND hwnd, RECT clip);
  void PaintNonClient(gfx::Canvas& screen, const Window& w, RECT clip);
  void PaintOpenMenus(gfx::Canvas& screen);
  void PaintTaskbar(gfx::Canvas& screen);
  // Where the item of a window's menu bar lies on the screen (an empty rectangle if nowhere).
  RECT MenuBarItemRect(const Window& w, int position) const;
  // Opens a menu on the screen at a point, kept on the screen.
  void OpenMenuAt(HMENU menu, POINT at);
  // Where a submenu opens: right of the open menu's item at `position`.
  POINT SubmenuCorner(HMENU parent, POINT parentAt, int position) const;
  bool ReadProcess(DWORD process, uint32_t address, void* buffer, size_t size) const;
};

}  // namespace platform::sim
