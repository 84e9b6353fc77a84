#include "platform/win32/backend.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "gfx/canvas.h"
#include "gfx/text.h"
#include "platform/files.h"
#include "platform/win32/hook/wire.h"
#include "platform/win32/leftovers_wire.h"
#include "platform/win32/native.h"

namespace platform::win32 {

namespace {

constexpr UINT kFirstMouseMessage = 0x0200;
constexpr UINT kLastMouseMessage = 0x020E;

Win32System* active = nullptr;

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The system's TrueType files for the canvas: Arial, Times New Roman and Courier New where
// Windows has them, Tahoma (which every Wine prefix has) for the sans face otherwise.
std::vector<unsigned char> SystemFont(gfx::FontFamily family, bool bold, bool italic) {
  static const char* const kNames[3][4] = {
      {"arial", "arialbd", "ariali", "arialbi"},
      {"times", "timesbd", "timesi", "timesbi"},
      {"cour", "courbd", "couri", "courbi"},
  };
  const std::string folder = native::FontFolder() + "\\";
  const int style = (bold ? 1 : 0) + (italic ? 2 : 0);
  std::vector<std::string> candidates = {kNames[static_cast<int>(family)][style]};
  if (family == gfx::FontFamily::Sans) candidates.push_back(bold ? "tahomabd" : "tahoma");
  for (const std::string& name : candidates) {
    std::ifstream in(folder + name + ".ttf", std::ios::binary);
    if (in)
      return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>());
  }
  return {};
}

}  // namespace

struct Win32System::State {
  struct ClassInfo {
    std::shared_ptr<WNDPROC> proc;
    COLORREF background = 0xFFFFFFFF;
  };
  struct WindowInfo {
    std::shared_ptr<WNDPROC> proc;  // null: the system's own handling
    COLORREF background = 0xFFFFFFFF;
  };
  struct Watch {
    HWND hwnd;
    std::shared_ptr<WatchProc> proc;
  };
  struct MouseHook {
    HWND hwnd;
    std::shared_ptr<MouseHookProc> proc;
  };
  struct LowBlock {
    uint32_t address;
    size_t size;
  };

  std::map<std::string, ClassInfo> classes;  // by lower-case name
  std::map<HWND, WindowInfo> windows;
  // The procedure of the window being created, taken by its first message.
  std::shared_ptr<WindowInfo> creating;
  std::map<std::pair<HWND, UINT>, std::shared_ptr<TimerProc>> timers;
  std::map<HANDLE, Watch> watches;
  std::map<HANDLE, MouseHook> mouseHooks;
  std::map<HANDLE, std::shared_ptr<KeyHookProc>> keyHooks;
  std::map<HGLOBAL, void*> globals;
  std::map<HANDLE, void*> processes;
  std::map<HWND, gfx::Canvas> canvases;
  std::vector<LowBlock> lowBlocks;
  std::vector<void*> locks;
  // Menus that live in another process, each with a window of the thread that edits them.
  std::map<HMENU, HWND> remoteMenus;
  // Pop-ups of ours put on such a menu: their copies there, which stand for them from then on.
  std::map<HMENU, HMENU> exported;
  std::map<HANDLE, HWND> guards;  // leftovers left with the process of their home window
  HANDLE nextHandle = 1;
  bool ended = false;

  HANDLE NewHandle() { return nextHandle++; }
  HGLOBAL GlobalId(void* native) {
    if (!native) return 0;
    for (auto& [id, mem] : globals)
      if (mem == native) return id;
    HGLOBAL id = NewHandle();
    globals[id] = native;
    return id;
  }
  void* NativeGlobal(HGLOBAL id) const {
    auto it = globals.find(id);
    return it == globals.end() ? nullptr : it->second;
  }
};

Win32System::Win32System() : state_(std::make_unique<State>()) {
  active = this;
  native::SetRouter(&Win32System::Route);
  native::SetTimerCallback(&Win32System::TimerExpired);
  native::SetRemoteHandlers(&Win32System::RemoteMessage, &Win32System::KeyDown);
  gfx::SetFontSource(SystemFont);
  files::SetHostMapping(files::HostMapping{
      [](const std::string& path) { return std::filesystem::path(native::WideFromAnsi(path)); },
      [](const std::filesystem::path& name) { return native::AnsiFromWide(name.wstring()); }});
}

Win32System::~Win32System() {
  native::ReleaseRemote();
  native::SetRemoteHandlers(nullptr, nullptr);
  native::RemoveKeyboardHook();
  for (void* lock : state_->locks) native::CloseHandle(lock);
  for (auto& [id, process] : state_->processes) native::CloseHandle(process);
  gfx::SetFontSource(nullptr);
  files::SetHostMapping({});
  native::SetRouter(nullptr);
  native::SetTimerCallback(nullptr);
  if (active == this) active = nullptr;
}

// ---- Routing ----

intptr_t Win32System::Route(uint32_t hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (!active) return native::CallDefault(hwnd, msg, wParam, lParam);
  return active->Deliver(hwnd, msg, wParam, lParam);
}

LRESULT Win32System::Deliver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  State& s = *state_;
  auto it = s.windows.find(hwnd);
  if (it == s.windows.end()) {
    State::WindowInfo info;
    if (s.creating) {
      info = *s.creating;
      s.creating = nullptr;
    } else if (auto cls = s.classes.find(Lower(native::GetClassNameA(hwnd)));
               cls != s.classes.end()) {
      // A window of one of our classes that the system made for us (an MDI client's child).
      info = State::WindowInfo{cls->second.proc, cls->second.background};
    }
    it = s.windows.emplace(hwnd, std::move(info)).first;
  }
  std::shared_ptr<WNDPROC> proc = it->second.proc;

  const UINT original = msg;
  LRESULT result = 0;
  if (Intercept(hwnd, msg, wParam, lParam, wire::kWatchAll | wire::kWatchMouse, result)) {
    return result;
  }
  result =
      proc && *proc ? (*proc)(hwnd, msg, wParam, lParam) : DefWindowProc(hwnd, msg, wParam, lParam);
  if (original == WM_NCDESTROY) Forget(hwnd);
  return result;
}

bool Win32System::Intercept(HWND hwnd, UINT& msg, WPARAM& wParam, LPARAM& lParam, uint32_t flags,
                            LRESULT& result) {
  State& s = *state_;
  if ((flags & wire::kWatchMouse) && msg >= kFirstMouseMessage && msg <= kLastMouseMessage) {
    std::vector<std::shared_ptr<MouseHookProc>> hooks;
    for (auto& [h, hook] : s.mouseHooks)
      if (hook.hwnd == hwnd) hooks.push_back(hook.proc);
    for (auto& hook : hooks) {
      (*hook)(hwnd, msg, wParam, lParam);
      if (msg == 0) {
        result = 0;
        return true;
      }
    }
  }
  if (!(flags & wire::kWatchAll)) return false;
  WatchedMessage m{hwnd, msg, wParam, lParam, 0};
  std::vector<std::shared_ptr<WatchProc>> watchers;
  for (auto& [h, watch] : s.watches)
    if (watch.hwnd == hwnd) watchers.push_back(watch.proc);
  for (auto& watcher : watchers) {
    bool noPass = false;
    (*watcher)(m, noPass);
    if (noPass) {
      result = m.result;
      return true;
    }
  }
  msg = m.msg;
  wParam = m.wParam;
  lParam = m.lParam;
  return false;
}

bool Win32System::RemoteMessage(uint32_t hwnd, uint32_t& msg, uintptr_t& wParam, intptr_t& lParam,
                                uint32_t flags, intptr_t& result) {
  if (!active) return false;
  const UINT original = msg;
  const bool swallowed = active->Intercept(hwnd, msg, wParam, lParam, flags, result);
  // The window is going: what watched it goes with it.
  if (original == WM_NCDESTROY) active->Forget(hwnd);
  return swallowed;
}

// Tells the library in the window's process which of its messages are reported now.
bool Win32System::UpdateRemoteWatch(HWND hwnd) {
  uint32_t flags = 0;
  for (auto& [h, watch] : state_->watches)
    if (watch.hwnd == hwnd) flags |= wire::kWatchAll;
  for (auto& [h, hook] : state_->mouseHooks)
    if (hook.hwnd == hwnd) flags |= wire::kWatchMouse;
  return native::RemoteWatch(hwnd, flags);
}

void Win32System::Forget(HWND hwnd) {
  State& s = *state_;
  s.windows.erase(hwnd);
  s.canvases.erase(hwnd);
  std::erase_if(s.watches, [hwnd](const auto& e) { return e.second.hwnd == hwnd; });
  std::erase_if(s.mouseHooks, [hwnd](const auto& e) { return e.second.hwnd == hwnd; });
  std::erase_if(s.timers, [hwnd](const auto& e) { return e.first.first == hwnd; });
  native::ForgetWindow(hwnd);
}

void Win32System::TimerExpired(uint32_t hwnd, uint32_t id) {
  if (!active) return;
  auto it = active->state_->timers.find({hwnd, id});
  if (it == active->state_->timers.end()) return;
  std::shared_ptr<TimerProc> proc = it->second;
  (*proc)(hwnd, id);
}

bool Win32System::KeyDown(int& keyCode, int shift) {
  if (!active) return false;
  std::vector<std::shared_ptr<KeyHookProc>> hooks;
  for (auto& [h, hook] : active->state_->keyHooks) hooks.push_back(hook);
  for (auto& hook : hooks) {
    int noPass = 0;
    (*hook)(keyCode, shift, noPass);
    if (noPass != 0 || keyCode == 0) return true;
  }
  return false;
}

// ---- Windows ----

bool Win32System::RegisterClass(const WindowClass& cls) {
  if (cls.name.empty()) {
    native::SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if (!native::RegisterWindowClass(cls.name)) return false;
  state_->classes[Lower(cls.name)] =
      State::ClassInfo{std::make_shared<WNDPROC>(cls.proc), cls.background};
  return true;
}

HWND Win32System::CreateChildInOwner(HWND parent, int x, int y, int width, int height) {
  if (state_->ended) return 0;
  if (!native::IsForeign(parent)) return native::MakePlainChild(parent, x, y, width, height);
  return native::RemoteMakeChild(parent, x, y, width, height);
}

HWND Win32System::CreateWindowEx(DWORD exStyle, const std::string& className,
                                 const std::string& title, DWORD style, int x, int y, int width,
                                 int height, HWND parent, UINT id, WNDPROC proc) {
  State& s = *state_;
  if (s.ended) return 0;
  auto cls = s.classes.find(Lower(className));
  const bool ownClass = cls != s.classes.end();
  State::WindowInfo info;
  if (ownClass) info = State::WindowInfo{cls->second.proc, cls->second.background};
  if (proc) info.proc = std::make_shared<WNDPROC>(std::move(proc));
  std::shared_ptr<State::WindowInfo> outer = std::move(s.creating);
  s.creating = ownClass ? std::make_shared<State::WindowInfo>(info) : nullptr;
  HWND hwnd = native::MakeWindow(exStyle, className, title, style, x, y, width, height, parent, id);
  s.creating = std::move(outer);
  if (hwnd && !ownClass && info.proc) {
    // A system control with a procedure of the program's: its messages come to the router
    // first, and the seam's DefWindowProc hands them to the control's own procedure.
    s.windows[hwnd] = info;
    native::SubclassToRouter(hwnd);
  }
  return hwnd;
}

LRESULT Win32System::DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    auto it = state_->windows.find(hwnd);
    if (it != state_->windows.end() && it->second.background != 0xFFFFFFFF) {
      if (gfx::Canvas* canvas = BeginPaint(hwnd)) canvas->Fill(it->second.background);
      EndPaint(hwnd);
      return 0;
    }
  }
  return native::CallDefault(hwnd, msg, wParam, lParam);
}

bool Win32System::DestroyWindow(HWND hwnd) {
  return native::DestroyWindow(hwnd);
}
bool Win32System::IsWindow(HWND hwnd) {
  return native::IsWindow(hwnd);
}
HWND Win32System::GetDesktopWindow() {
  return native::GetDesktopWindow();
}
HWND Win32System::GetParent(HWND hwnd) {
  return native::GetParent(hwnd);
}
HWND Win32System::GetAncestor(HWND hwnd, UINT flags) {
  return native::GetAncestor(hwnd, flags);
}
HWND Win32System::SetParent(HWND child, HWND newParent) {
  return native::SetParent(child, newParent);
}
HWND Win32System::GetWindow(HWND hwnd, UINT cmd) {
  return native::GetWindow(hwnd, cmd);
}
HWND Win32System::FindWindowEx(HWND parent, HWND childAfter, const char* className,
                               const char* title) {
  return native::FindWindowExA(parent, childAfter, className, title);
}
bool Win32System::EnumChildWindows(HWND parent, const std::function<bool(HWND)>& callback) {
  return native::EnumChildWindows(parent, callback);
}
std::string Win32System::GetClassName(HWND hwnd) {
  return native::GetClassNameA(hwnd);
}
int Win32System::GetWindowTextLength(HWND hwnd) {
  return native::GetWindowTextLengthA(hwnd);
}
std::string Win32System::GetWindowText(HWND hwnd) {
  return native::GetWindowTextA(hwnd);
}
bool Win32System::SetWindowText(HWND hwnd, const std::string& text) {
  return native::SetWindowTextA(hwnd, text);
}
intptr_t Win32System::GetWindowLong(HWND hwnd, int index) {
  return native::GetWindowLongValue(hwnd, index);
}
intptr_t Win32System::SetWindowLong(HWND hwnd, int index, intptr_t value) {
  return native::SetWindowLongValue(hwnd, index, value);
}
bool Win32System::MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint) {
  return native::MoveWindow(hwnd, x, y, width, height, repaint);
}
bool Win32System::SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy,
                               UINT flags) {
  return native::SetWindowPos(hwnd, insertAfter, x, y, cx, cy, flags);
}
bool Win32System::BringWindowToTop(HWND hwnd) {
  return native::BringWindowToTop(hwnd);
}
bool Win32System::GetWindowRect(HWND hwnd, RECT& rect) {
  int32_t r[4];
  if (!native::GetWindowRect(hwnd, r)) return false;
  rect = RECT{r[0], r[1], r[2], r[3]};
  return true;
}
bool Win32System::GetClientRect(HWND hwnd, RECT& rect) {
  int32_t r[4];
  if (!native::GetClientRect(hwnd, r)) return false;
  rect = RECT{r[0], r[1], r[2], r[3]};
  return true;
}
bool Win32System::ClientToScreen(HWND hwnd, POINT& point) {
  int32_t p[2] = {point.x, point.y};
  if (!native::ClientToScreen(hwnd, p)) return false;
  point = POINT{p[0], p[1]};
  return true;
}
bool Win32System::ScreenToClient(HWND hwnd, POINT& point) {
  int32_t p[2] = {point.x, point.y};
  if (!native::ScreenToClient(hwnd, p)) return false;
  point = POINT{p[0], p[1]};
  return true;
}
bool Win32System::ShowWindow(HWND hwnd, int cmd) {
  return native::ShowWindow(hwnd, cmd);
}
bool Win32System::IsWindowVisible(HWND hwnd) {
  return native::IsWindowVisible(hwnd);
}
bool Win32System::EnableWindow(HWND hwnd, bool enable) {
  return native::EnableWindow(hwnd, enable);
}
bool Win32System::IsWindowEnabled(HWND hwnd) {
  return native::IsWindowEnabled(hwnd);
}
HWND Win32System::WindowFromPoint(POINT screenPoint) {
  return native::WindowFromPoint(screenPoint.x, screenPoint.y);
}
HWND Win32System::GetForegroundWindow() {
  return native::GetForegroundWindow();
}
bool Win32System::SetForegroundWindow(HWND hwnd) {
  return native::SetForegroundWindow(hwnd);
}
HWND Win32System::GetActiveWindow() {
  return native::GetActiveWindow();
}
DWORD Win32System::GetWindowThreadProcessId(HWND hwnd, DWORD* processId) {
  return native::GetWindowThreadProcessId(hwnd, processId);
}
DWORD Win32System::GetCurrentProcessId() {
  return native::GetCurrentProcessId();
}
bool Win32System::InvalidateRect(HWND hwnd) {
  return native::InvalidateRect(hwnd);
}
bool Win32System::UpdateWindow(HWND hwnd) {
  return native::UpdateWindow(hwnd);
}

// ---- Messages and the pump ----

LRESULT Win32System::SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return native::SendMessageA(hwnd, msg, wParam, lParam);
}
bool Win32System::SendMessageTimeout(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                     uint32_t timeoutMs, LRESULT* result) {
  return native::SendMessageTimeoutA(hwnd, msg, wParam, lParam, timeoutMs, result);
}
bool Win32System::PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (state_->ended) return false;
  return native::PostMessageA(hwnd, msg, wParam, lParam);
}

void Win32System::DoEvents() {
  if (state_->ended) return;
  bool dispatched = false;
  if (!native::PumpPending(&dispatched)) {
    state_->ended = true;
    return;
  }
  // Nothing was waiting: block briefly for input instead of letting a polling loop spin.
  if (!dispatched) native::WaitForInput(10);
}

void Win32System::WaitEvents(uint32_t milliseconds) {
  const uint32_t start = native::GetTickCount();
  while (!state_->ended) {
    bool dispatched = false;
    if (!native::PumpPending(&dispatched)) {
      state_->ended = true;
      return;
    }
    const uint32_t passed = native::GetTickCount() - start;
    if (passed >= milliseconds) return;
    native::WaitForInput(milliseconds - passed);
  }
}

UINT Win32System::SetTimer(HWND hwnd, UINT id, UINT elapse, TimerProc proc) {
  State& s = *state_;
  if (s.ended) return 0;
  const bool withProc = static_cast<bool>(proc);
  UINT result = native::SetTimer(hwnd, id, elapse, withProc);
  if (result == 0) return 0;
  const UINT key = hwnd ? id : result;
  if (withProc)
    s.timers[{hwnd, key}] = std::make_shared<TimerProc>(std::move(proc));
  else
    s.timers.erase({hwnd, key});
  return result;
}

bool Win32System::KillTimer(HWND hwnd, UINT id) {
  state_->timers.erase({hwnd, id});
  return native::KillTimer(hwnd, id);
}

// ---- Focus, capture, input state ----

HWND Win32System::SetFocus(HWND hwnd) {
  return native::SetFocus(hwnd);
}
HWND Win32System::GetFocus() {
  return native::GetFocus();
}
HWND Win32System::SetCapture(HWND hwnd) {
  return native::SetCapture(hwnd);
}
bool Win32System::ReleaseCapture() {
  return native::ReleaseCapture();
}
HWND Win32System::GetCapture() {
  return native::GetCapture();
}
bool Win32System::GetCursorPos(POINT& point) {
  int32_t p[2];
  if (!native::GetCursorPos(p)) return false;
  point = POINT{p[0], p[1]};
  return true;
}
int16_t Win32System::GetKeyState(int virtualKey) {
  return native::GetKeyState(virtualKey);
}

// ---- Menus ----
// The menus of another process's windows are read and edited from inside that process, by the
// hook library (some systems refuse such calls from outside).

HWND Win32System::RemoteMenuOwner(HMENU& menu) {
  State& s = *state_;
  if (auto copy = s.exported.find(menu); copy != s.exported.end()) menu = copy->second;
  auto it = s.remoteMenus.find(menu);
  return it == s.remoteMenus.end() ? 0 : it->second;
}

HMENU Win32System::ExportPopup(HMENU popup, HWND via) {
  State& s = *state_;
  const auto copy = static_cast<HMENU>(
      native::RemoteMenu(via, wire::kCreatePopup, 0, 0, 0, 0, std::string(), nullptr));
  if (copy == 0) return 0;
  s.remoteMenus[copy] = via;
  const int count = native::GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    const UINT position = static_cast<UINT>(i);
    const UINT state = native::GetMenuState(popup, position, MF_BYPOSITION);
    const std::string text = native::GetMenuStringA(popup, position, MF_BYPOSITION);
    UINT flags = state & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR);
    uintptr_t item = native::GetMenuItemID(popup, i);
    if (HMENU sub = native::GetSubMenu(popup, i); sub != 0) {
      flags |= MF_POPUP;
      item = ExportPopup(sub, via);
    }
    native::RemoteMenu(via, wire::kAppend, copy, 0, flags, item, text, nullptr);
  }
  s.exported[popup] = copy;
  return copy;
}

uintptr_t Win32System::RemoteSubmenu(UINT flags, uintptr_t idOrSubmenu, HWND via) {
  if (!(flags & MF_POPUP) || idOrSubmenu == 0) return idOrSubmenu;
  auto sub = static_cast<HMENU>(idOrSubmenu);
  if (RemoteMenuOwner(sub) != 0) return sub;
  return ExportPopup(sub, via);
}

HMENU Win32System::CreateMenu() {
  return native::CreateMenu();
}
HMENU Win32System::CreatePopupMenu() {
  return native::CreatePopupMenu();
}
bool Win32System::DestroyMenu(HMENU menu) {
  State& s = *state_;
  const HMENU own = menu;
  if (HWND via = RemoteMenuOwner(menu)) {
    s.remoteMenus.erase(menu);
    if (s.exported.erase(own) != 0) native::DestroyMenu(own);
    return native::RemoteMenu(via, wire::kDestroyMenu, menu, 0, 0, 0, std::string(), nullptr);
  }
  return native::DestroyMenu(menu);
}
HMENU Win32System::GetMenu(HWND hwnd) {
  if (!native::IsForeign(hwnd)) return native::GetMenu(hwnd);
  const auto menu = static_cast<HMENU>(
      native::RemoteMenu(hwnd, wire::kGetMenu, 0, 0, 0, 0, std::string(), nullptr));
  if (menu != 0) state_->remoteMenus[menu] = hwnd;
  return menu;
}
bool Win32System::SetMenu(HWND hwnd, HMENU menu) {
  if (!native::IsForeign(hwnd)) return native::SetMenu(hwnd, menu);
  if (RemoteMenuOwner(menu) == 0 && menu != 0) {
    native::SetLastError(ERROR_INVALID_MENU_HANDLE);
    return false;
  }
  return native::RemoteMenu(hwnd, wire::kSetMenu, menu, 0, 0, 0, std::string(), nullptr);
}
HMENU Win32System::GetSubMenu(HMENU menu, int position) {
  HWND via = RemoteMenuOwner(menu);
  if (via == 0) return native::GetSubMenu(menu, position);
  const auto sub = static_cast<HMENU>(native::RemoteMenu(
      via, wire::kGetSubMenu, menu, static_cast<UINT>(position), 0, 0, std::string(), nullptr));
  if (sub != 0) state_->remoteMenus[sub] = via;
  return sub;
}
int Win32System::GetMenuItemCount(HMENU menu) {
  HWND via = RemoteMenuOwner(menu);
  if (via == 0) return native::GetMenuItemCount(menu);
  return static_cast<int>(
      native::RemoteMenu(via, wire::kItemCount, menu, 0, 0, 0, std::string(), nullptr));
}
UINT Win32System::GetMenuItemID(HMENU menu, int position) {
  HWND via = RemoteMenuOwner(menu);
  if (via == 0) return native::GetMenuItemID(menu, position);
  return static_cast<UINT>(native::RemoteMenu(via, wire::kItemId, menu, static_cast<UINT>(position),
                                              0, 0, std::string(), nullptr));
}
std::string Win32System::GetMenuString(HMENU menu, UINT item, UINT flags) {
  HWND via = RemoteMenuOwner(menu);
  if (via == 0) return native::GetMenuStringA(menu, item, flags);
  std::string text;
  native::RemoteMenu(via, wire::kItemString, menu, item, flags, 0, std::string(), &text);
  return text;
}
UINT Win32System::GetMenuState(HMENU menu, UINT item, UINT flags) {
  HWND via = RemoteMenuOwner(menu);
  if (via == 0) return native::GetMenuState(menu, item, flags);
  return static_cast<UINT>(
      native::RemoteMenu(via, wire::kItemState, menu, item, flags, 0, std::string(), nullptr));
}
bool Win32System::AppendMenu(HMENU menu, UINT flags, uintptr_t idOrSubmenu,
                             const std::string& text) {
  HWND via = RemoteMenuOwner(menu);
  if (via == 0) return native::AppendMenuA(menu, flags, idOrSubmenu, text);
  return native::RemoteMenu(via, wire::kAppend, menu, 0, flags,
                            RemoteSubmenu(flags, idOrSubmenu, via), text, nullptr);
}
bool Win32System::InsertMenu(HMENU menu, UINT position, UINT flags, uintptr_t idOrSubmenu,
                             const std::string& text) {
  HWND via = RemoteMenuOwner(menu);
  if (via == 0) return native::InsertMenuA(menu, position, flags, idOrSubmenu, text);
  return native::RemoteMenu(via, wire::kInsert, menu, position, flags,
                            RemoteSubmenu(flags, idOrSubmenu, via), text, nullptr);
}
bool Win32System::ModifyMenu(HMENU menu, UINT position, UINT flags, uintptr_t idOrSubmenu,
                             const std::string& text) {
  HWND via = RemoteMenuOwner(menu);
  if (via == 0) return native::ModifyMenuA(menu, position, flags, idOrSubmenu, text);
  return native::RemoteMenu(via, wire::kModify, menu, position, flags,
                            RemoteSubmenu(flags, idOrSubmenu, via), text, nullptr);
}
bool Win32System::DeleteMenu(HMENU menu, UINT position, UINT flags) {
  HWND via = RemoteMenuOwner(menu);
  if (via == 0) return native::DeleteMenu(menu, position, flags);
  return native::RemoteMenu(via, wire::kDelete, menu, position, flags, 0, std::string(), nullptr);
}
bool Win32System::RemoveMenu(HMENU menu, UINT position, UINT flags) {
  HWND via = RemoteMenuOwner(menu);
  if (via == 0) return native::RemoveMenu(menu, position, flags);
  return native::RemoteMenu(via, wire::kRemove, menu, position, flags, 0, std::string(), nullptr);
}
DWORD Win32System::CheckMenuItem(HMENU menu, UINT item, UINT flags) {
  HWND via = RemoteMenuOwner(menu);
  if (via == 0) return native::CheckMenuItem(menu, item, flags);
  return static_cast<DWORD>(
      native::RemoteMenu(via, wire::kCheck, menu, item, flags, 0, std::string(), nullptr));
}
DWORD Win32System::EnableMenuItem(HMENU menu, UINT item, UINT flags) {
  HWND via = RemoteMenuOwner(menu);
  if (via == 0) return native::EnableMenuItem(menu, item, flags);
  return static_cast<DWORD>(
      native::RemoteMenu(via, wire::kEnable, menu, item, flags, 0, std::string(), nullptr));
}
bool Win32System::DrawMenuBar(HWND hwnd) {
  if (!native::IsForeign(hwnd)) return native::DrawMenuBar(hwnd);
  return native::RemoteMenu(hwnd, wire::kDrawBar, 0, 0, 0, 0, std::string(), nullptr);
}
int Win32System::TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
  return native::TrackPopupMenu(menu, flags, x, y, owner);
}

// ---- Clipboard and global memory ----

UINT Win32System::RegisterClipboardFormat(const std::string& name) {
  return native::RegisterClipboardFormatA(name);
}
bool Win32System::OpenClipboard(HWND owner) {
  return native::OpenClipboard(owner);
}
bool Win32System::EmptyClipboard() {
  return native::EmptyClipboard();
}
HGLOBAL Win32System::SetClipboardData(UINT format, HGLOBAL data) {
  void* mem = state_->NativeGlobal(data);
  if (data && !mem) {
    native::SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (!native::SetClipboardData(format, mem)) return 0;
  return data;  // the clipboard owns the memory now; the handle still names it
}
HGLOBAL Win32System::GetClipboardData(UINT format) {
  return state_->GlobalId(native::GetClipboardData(format));
}
bool Win32System::CloseClipboard() {
  return native::CloseClipboard();
}
HGLOBAL Win32System::GlobalAlloc(UINT flags, size_t bytes) {
  return state_->GlobalId(native::GlobalAlloc(flags, bytes));
}
void* Win32System::GlobalLock(HGLOBAL mem) {
  void* m = state_->NativeGlobal(mem);
  if (!m) {
    native::SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return native::GlobalLock(m);
}
bool Win32System::GlobalUnlock(HGLOBAL mem) {
  void* m = state_->NativeGlobal(mem);
  if (!m) {
    native::SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return native::GlobalUnlock(m);
}
HGLOBAL Win32System::GlobalFree(HGLOBAL mem) {
  void* m = state_->NativeGlobal(mem);
  if (!m) {
    native::SetLastError(ERROR_INVALID_HANDLE);
    return mem;
  }
  if (native::GlobalFree(m)) return mem;
  state_->globals.erase(mem);
  return 0;
}
size_t Win32System::GlobalSize(HGLOBAL mem) {
  void* m = state_->NativeGlobal(mem);
  return m ? native::GlobalSize(m) : 0;
}

// ---- Process memory ----

HANDLE Win32System::OpenProcess(DWORD access, bool inherit, DWORD processId) {
  void* process = native::OpenProcess(access, inherit, processId);
  if (!process) return 0;
  HANDLE h = state_->NewHandle();
  state_->processes[h] = process;
  return h;
}
bool Win32System::ReadProcessMemory(HANDLE process, uint32_t address, void* buffer, size_t size,
                                    size_t* bytesRead) {
  auto it = state_->processes.find(process);
  if (it == state_->processes.end()) {
    if (bytesRead) *bytesRead = 0;
    native::SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return native::ReadProcessMemory(it->second, address, buffer, size, bytesRead);
}
bool Win32System::CloseHandle(HANDLE handle) {
  auto it = state_->processes.find(handle);
  if (it == state_->processes.end()) {
    native::SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  native::CloseHandle(it->second);
  state_->processes.erase(it);
  return true;
}
uint32_t Win32System::AllocProcessMemory(size_t bytes) {
  if (state_->ended) return 0;
  const size_t size = std::max<size_t>(bytes, 1);
  uint32_t address = native::AllocLowMemory(size);
  if (address) state_->lowBlocks.push_back({address, size});
  return address;
}
bool Win32System::WriteOwnProcessMemory(uint32_t address, const void* data, size_t size) {
  for (const State::LowBlock& block : state_->lowBlocks) {
    if (address >= block.address && size <= block.size &&
        address - block.address <= block.size - size) {
      std::memcpy(reinterpret_cast<void*>(static_cast<uintptr_t>(address)), data, size);
      return true;
    }
  }
  native::SetLastError(ERROR_ACCESS_DENIED);
  return false;
}

// ---- Interception components ----

namespace {
// Whether the messages of `hwnd` can be intercepted: a live window with a procedure given
// (`missingProcError` otherwise). A window of another process is intercepted from inside that
// process, by the hook library; one of the calling process, by routing it here.
bool CanIntercept(HWND hwnd, bool hasProc, DWORD missingProcError) {
  if (!native::IsWindow(hwnd)) {
    native::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  if (!hasProc) {
    native::SetLastError(missingProcError);
    return false;
  }
  if (!native::IsForeign(hwnd) && !native::SubclassToRouter(hwnd)) {
    native::SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return true;
}
}  // namespace

HANDLE Win32System::WatchWindow(HWND hwnd, WatchProc proc) {
  if (!CanIntercept(hwnd, static_cast<bool>(proc), ERROR_INVALID_PARAMETER)) return 0;
  HANDLE h = state_->NewHandle();
  state_->watches[h] = State::Watch{hwnd, std::make_shared<WatchProc>(std::move(proc))};
  if (native::IsForeign(hwnd) && !UpdateRemoteWatch(hwnd)) {
    state_->watches.erase(h);
    return 0;
  }
  return h;
}
bool Win32System::UnwatchWindow(HANDLE watch) {
  auto it = state_->watches.find(watch);
  if (it == state_->watches.end()) {
    native::SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  const HWND hwnd = it->second.hwnd;
  state_->watches.erase(it);
  if (native::IsForeign(hwnd)) UpdateRemoteWatch(hwnd);
  return true;
}
HANDLE Win32System::SetKeyboardHook(KeyHookProc proc) {
  if (!proc) {
    native::SetLastError(ERROR_INVALID_FILTER_PROC);
    return 0;
  }
  // The keys of this thread, and of the other processes' threads the hook library is in (now
  // and later).
  if (!native::InstallKeyboardHook(&Win32System::KeyDown)) return 0;
  native::RemoteKeyboard(true);
  HANDLE h = state_->NewHandle();
  state_->keyHooks[h] = std::make_shared<KeyHookProc>(std::move(proc));
  return h;
}
HANDLE Win32System::SetMouseHook(HWND hwnd, MouseHookProc proc) {
  if (!CanIntercept(hwnd, static_cast<bool>(proc), ERROR_INVALID_FILTER_PROC)) return 0;
  HANDLE h = state_->NewHandle();
  state_->mouseHooks[h] = State::MouseHook{hwnd, std::make_shared<MouseHookProc>(std::move(proc))};
  if (native::IsForeign(hwnd) && !UpdateRemoteWatch(hwnd)) {
    state_->mouseHooks.erase(h);
    return 0;
  }
  return h;
}
bool Win32System::Unhook(HANDLE hook) {
  State& s = *state_;
  if (auto guard = s.guards.find(hook); guard != s.guards.end()) {
    const HWND home = guard->second;
    s.guards.erase(guard);
    return native::RemoteUnguard(home);
  }
  if (auto mouse = s.mouseHooks.find(hook); mouse != s.mouseHooks.end()) {
    const HWND hwnd = mouse->second.hwnd;
    s.mouseHooks.erase(mouse);
    if (native::IsForeign(hwnd)) UpdateRemoteWatch(hwnd);
    return true;
  }
  if (s.keyHooks.erase(hook) == 0) {
    native::SetLastError(ERROR_INVALID_HOOK_HANDLE);
    return false;
  }
  if (s.keyHooks.empty()) {
    native::RemoveKeyboardHook();
    native::RemoteKeyboard(false);
  }
  return true;
}
std::string Win32System::GetEditLine(HWND edit, int lineFromOne) {
  if (native::IsForeign(edit)) return native::RemoteEditLine(edit, lineFromOne).value_or("");
  return native::ReadEditLine(edit, lineFromOne);
}

// ---- Painting ----

gfx::Canvas* Win32System::BeginPaint(HWND hwnd) {
  int width = 0, height = 0;
  if (!native::BeginPaint(hwnd, &width, &height)) return nullptr;
  gfx::Canvas& canvas = state_->canvases[hwnd];
  if (canvas.Width() != width || canvas.Height() != height)
    canvas = gfx::Canvas(std::max(width, 0), std::max(height, 0));
  canvas.SetOrigin(0, 0);
  canvas.ResetClip();
  canvas.SetInvert(false);
  // Where the window does not paint all of itself (a transparent label), its parent's picture
  // shows, as on the simulated desktop, which paints each window over its parent.
  const HWND parent = native::GetParent(hwnd);
  if (auto under = state_->canvases.find(parent); under != state_->canvases.end()) {
    POINT mine{0, 0}, theirs{0, 0};
    if (ClientToScreen(hwnd, mine) && ClientToScreen(parent, theirs)) {
      canvas.Blit(under->second, mine.x - theirs.x, mine.y - theirs.y, width, height, 0, 0);
    }
  }
  return &canvas;
}
void Win32System::EndPaint(HWND hwnd) {
  auto it = state_->canvases.find(hwnd);
  if (it == state_->canvases.end()) {
    native::EndPaint(hwnd, nullptr, 0, 0);
    return;
  }
  const gfx::Canvas& canvas = it->second;
  native::EndPaint(hwnd, canvas.Pixels().data(), canvas.Width(), canvas.Height());
}
COLORREF Win32System::GetScreenPixel(int x, int y) {
  return native::GetScreenPixel(x, y);
}
COLORREF Win32System::GetSysColor(int index) {
  return native::GetSysColor(index);
}

// ---- Time ----

uint32_t Win32System::GetTickCount() {
  return native::GetTickCount();
}
DateTime Win32System::Now() {
  int p[7];
  native::GetLocalTime(p);
  return DateTime{p[0], p[1], p[2], p[3], p[4], p[5], p[6]};
}

std::string Win32System::GetShortDateFormat() {
  std::string picture = native::UserShortDateFormat();
  return picture.empty() ? std::string("M/d/yyyy") : picture;
}

// ---- Outside the window tree ----

bool Win32System::PlaySound(const std::string& path, UINT flags) {
  return native::PlaySoundFile(path, flags);
}
void Win32System::PlaySystemSound(const std::string& alias) {
  native::PlaySoundAlias(alias);
}
bool Win32System::ShellExecute(HWND owner, const std::string& verb, const std::string& file,
                               const std::string& directory, int show) {
  return native::ShellExecuteA(owner, verb, file, directory, show);
}
std::optional<COLORREF> Win32System::ChooseColor(HWND owner, COLORREF initial) {
  return native::ChooseColorA(owner, initial);
}
std::optional<std::string> Win32System::GetOpenFileName(HWND owner,
                                                        const FileDialogOptions& options) {
  return native::GetFileNameA(false, owner, options.title, options.initialDir, options.filter,
                              options.fileName);
}
std::optional<std::string> Win32System::GetSaveFileName(HWND owner,
                                                        const FileDialogOptions& options) {
  return native::GetFileNameA(true, owner, options.title, options.initialDir, options.filter,
                              options.fileName);
}
int Win32System::MessageBoxA(HWND owner, const std::string& text, const std::string& caption,
                             UINT type) {
  return native::MessageBoxA(owner, text, caption, type);
}
std::string Win32System::InputBox(const std::string& prompt, const std::string& title,
                                  const std::string& defaultText) {
  return native::InputBoxA(prompt, title, defaultText).value_or(std::string());
}
std::optional<std::string> Win32System::HttpGet(const std::string& url) {
  return native::HttpGet(url);
}
bool Win32System::PrintText(const std::string& documentName, const std::string& text) {
  return native::PrintText(documentName, text);
}

// ---- Private-profile files ----

std::string Win32System::GetPrivateProfileString(const char* section, const char* key,
                                                 const char* defaultValue, size_t size,
                                                 const std::string& file) {
  return native::GetPrivateProfileStringA(section, key, defaultValue, size, file);
}
bool Win32System::WritePrivateProfileString(const char* section, const char* key, const char* value,
                                            const std::string& file) {
  return native::WritePrivateProfileStringA(section, key, value, file);
}

// ---- Process ----

bool Win32System::CreateNamedLock(const std::string& name) {
  void* lock = native::CreateOwnedMutex(name);
  if (!lock) return false;
  state_->locks.push_back(lock);
  return true;
}

void Win32System::ExitProcess() {
  State& s = *state_;
  if (s.ended) return;
  // What was left with other processes and not taken back is undone there while the program's
  // windows still stand (adopted windows inside them would go with them).
  native::RunRemoteGuards();
  s.guards.clear();
  // The windows, timers, hooks and locks of the program go now; the main loop sees the end and
  // returns, and the process ends there.
  std::vector<HWND> own;
  for (auto& [hwnd, info] : s.windows) {
    DWORD owner = 0;
    native::GetWindowThreadProcessId(hwnd, &owner);
    if (owner == native::GetCurrentProcessId() && native::GetParent(hwnd) == 0) own.push_back(hwnd);
  }
  for (HWND hwnd : own) native::DestroyWindow(hwnd);
  for (auto& [key, proc] : s.timers) native::KillTimer(key.first, key.second);
  s.timers.clear();
  s.keyHooks.clear();
  native::RemoveKeyboardHook();
  s.mouseHooks.clear();
  s.watches.clear();
  s.guards.clear();
  s.remoteMenus.clear();
  s.exported.clear();
  native::ReleaseRemote();
  for (void* lock : s.locks) native::CloseHandle(lock);
  s.locks.clear();
  s.ended = true;
  native::PostQuitMessage();
}

bool Win32System::ProcessEnded() {
  return state_->ended;
}

HANDLE Win32System::GuardLeftovers(const Leftovers& leftovers) {
  State& s = *state_;
  if (s.ended) return 0;
  if (!native::IsWindow(leftovers.home)) {
    native::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  // Only another living process can undo them.
  if (!native::IsForeign(leftovers.home)) {
    native::SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!native::RemoteGuard(leftovers.home, EncodeLeftovers(leftovers))) return 0;
  HANDLE h = s.NewHandle();
  s.guards[h] = leftovers.home;
  return h;
}

void Win32System::SetLastError(DWORD error) {
  native::SetLastError(error);
}
DWORD Win32System::GetLastError() {
  return native::GetLastError();
}

std::string ExecutableFolder() {
  return native::ExecutableFolder();
}
std::string ExecutablePath() {
  return native::ExecutablePath();
}
DWORD StartProcess(const std::string& commandLine) {
  return native::StartProcess(commandLine);
}
bool EndProcess(DWORD processId) {
  return native::EndProcess(processId);
}
bool PressKey(int virtualKey) {
  return native::PressKey(virtualKey);
}

}  // namespace platform::win32
