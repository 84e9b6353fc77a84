// The real API behind native.h. The only file of the program that includes <windows.h>.
#include "platform/win32/native.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After <windows.h>: these need its types.
#include <commdlg.h>
#include <mmsystem.h>
#include <richedit.h>
#include <shellapi.h>
#include <wininet.h>
#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/win32/hook/wire.h"

namespace platform::win32::native {

namespace {

constexpr const char* kInputBoxClass = "PallionInputBox";
constexpr UINT kMdiFirstChildId = 0xFF00;  // the seam's MDI_FIRST_CHILD_ID

Router router = nullptr;
TimerExpired timerExpired = nullptr;
KeyDown keyDown = nullptr;
std::map<DWORD, HHOOK> keyboardHooks;  // by thread
// Original procedures of system-class windows subclassed to the router.
std::map<uint32_t, WNDPROC> originalProcs;
// Paints in progress, by window.
struct Paint {
  PAINTSTRUCT ps{};
};
std::map<uint32_t, Paint> paints;

// Window and menu handles are 32-bit values, sign-extended on 64-bit Windows.
HWND W(uint32_t h) {
  return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(h)));
}
HMENU M(uint32_t h) {
  return reinterpret_cast<HMENU>(static_cast<intptr_t>(static_cast<int32_t>(h)));
}
template <typename H>
uint32_t U(H h) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h));
}
// An id or a sub-menu handle as AppendMenu takes it.
UINT_PTR IdOrMenu(uintptr_t v) {
  return static_cast<UINT_PTR>(static_cast<intptr_t>(static_cast<int32_t>(v)));
}

LRESULT CALLBACK RouterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (router) return router(U(hwnd), msg, wParam, lParam);
  return CallDefault(U(hwnd), msg, wParam, lParam);
}

void CALLBACK TimerProcThunk(HWND hwnd, UINT, UINT_PTR id, DWORD) {
  if (timerExpired) timerExpired(U(hwnd), static_cast<uint32_t>(id));
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  const bool goingDown = (static_cast<uint64_t>(lParam) & 0x80000000u) == 0;
  if (code == HC_ACTION && goingDown && keyDown) {
    int shift = 0;
    if (::GetKeyState(VK_SHIFT) < 0) shift |= 1;
    if (::GetKeyState(VK_CONTROL) < 0) shift |= 2;
    if (::GetKeyState(VK_MENU) < 0) shift |= 4;
    int key = static_cast<int>(wParam);
    const bool swallow = keyDown(key, shift);
    if (swallow || key == 0) return 1;
    if (key != static_cast<int>(wParam)) {
      // Another key than the one pressed goes on: this one is dropped, the other posted.
      PostMessageA(::GetFocus(), WM_KEYDOWN, static_cast<WPARAM>(key), lParam);
      return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void FillRect4(const RECT& r, int32_t out[4]) {
  out[0] = r.left;
  out[1] = r.top;
  out[2] = r.right;
  out[3] = r.bottom;
}

}  // namespace

void SetRouter(Router r) {
  router = r;
}

// ---- Windows ----

bool RegisterWindowClass(const std::string& name) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = RouterProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = name.c_str();
  if (RegisterClassExA(&wc)) return true;
  return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

uint32_t MakeWindow(uint32_t exStyle, const std::string& className, const std::string& title,
                    uint32_t style, int x, int y, int width, int height, uint32_t parent,
                    uint32_t id) {
  HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)) : nullptr;
  // An MDI client reads its Window menu and first child id at creation; the menu is set later
  // with WM_MDISETMENU.
  CLIENTCREATESTRUCT mdi{nullptr, kMdiFirstChildId};
  void* param = lstrcmpiA(className.c_str(), "MDIClient") == 0 ? &mdi : nullptr;
  return U(CreateWindowExA(exStyle, className.c_str(), title.c_str(), style, x, y, width, height,
                           W(parent), menu, GetModuleHandleA(nullptr), param));
}

intptr_t CallDefault(uint32_t hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  auto it = originalProcs.find(hwnd);
  if (it != originalProcs.end()) return CallWindowProcA(it->second, W(hwnd), msg, wParam, lParam);
  // An MDI child's default processing is the MDI one: it tells its MDI client of activation
  // and closing.
  if (GetWindowLongPtrA(W(hwnd), GWL_EXSTYLE) & WS_EX_MDICHILD)
    return DefMDIChildProcA(W(hwnd), msg, wParam, lParam);
  return DefWindowProcA(W(hwnd), msg, wParam, lParam);
}

bool SubclassToRouter(uint32_t hwnd) {
  if (originalProcs.count(hwnd)) return true;
  auto old = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(W(hwnd), GWLP_WNDPROC));
  if (!old || old == RouterProc) return old == RouterProc;
  originalProcs[hwnd] = old;
  SetWindowLongPtrA(W(hwnd), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RouterProc));
  return true;
}

void ForgetWindow(uint32_t hwnd) {
  originalProcs.erase(hwnd);
  paints.erase(hwnd);
}

bool DestroyWindow(uint32_t hwnd) {
  return ::DestroyWindow(W(hwnd));
}
bool IsWindow(uint32_t hwnd) {
  return hwnd != 0 && ::IsWindow(W(hwnd));
}
uint32_t GetDesktopWindow() {
  return U(::GetDesktopWindow());
}
uint32_t GetParent(uint32_t hwnd) {
  return U(::GetParent(W(hwnd)));
}
uint32_t GetAncestor(uint32_t hwnd, uint32_t flags) {
  return U(::GetAncestor(W(hwnd), flags));
}
uint32_t SetParent(uint32_t child, uint32_t parent) {
  return U(::SetParent(W(child), W(parent)));
}
uint32_t GetWindow(uint32_t hwnd, uint32_t cmd) {
  return U(::GetWindow(W(hwnd), cmd));
}
uint32_t FindWindowExA(uint32_t parent, uint32_t after, const char* className, const char* title) {
  return U(::FindWindowExA(W(parent), W(after), className, title));
}

bool EnumChildWindows(uint32_t parent, const std::function<bool(uint32_t)>& callback) {
  struct Thunk {
    static BOOL CALLBACK Each(HWND hwnd, LPARAM data) {
      return (*reinterpret_cast<const std::function<bool(uint32_t)>*>(data))(U(hwnd));
    }
  };
  ::EnumChildWindows(W(parent), Thunk::Each, reinterpret_cast<LPARAM>(&callback));
  return true;
}

std::string GetClassNameA(uint32_t hwnd) {
  char buf[257];
  int n = ::GetClassNameA(W(hwnd), buf, sizeof buf);
  return std::string(buf, n > 0 ? n : 0);
}
int GetWindowTextLengthA(uint32_t hwnd) {
  return ::GetWindowTextLengthA(W(hwnd));
}
std::string GetWindowTextA(uint32_t hwnd) {
  int length = ::GetWindowTextLengthA(W(hwnd));
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  int n = ::GetWindowTextA(W(hwnd), text.data(), length + 1);
  text.resize(n > 0 ? n : 0);
  return text;
}
bool SetWindowTextA(uint32_t hwnd, const std::string& text) {
  return ::SetWindowTextA(W(hwnd), text.c_str());
}
intptr_t GetWindowLongValue(uint32_t hwnd, int index) {
  return ::GetWindowLongPtrA(W(hwnd), index);
}
intptr_t SetWindowLongValue(uint32_t hwnd, int index, intptr_t value) {
  return ::SetWindowLongPtrA(W(hwnd), index, value);
}
bool MoveWindow(uint32_t hwnd, int x, int y, int width, int height, bool repaint) {
  return ::MoveWindow(W(hwnd), x, y, width, height, repaint);
}
bool SetWindowPos(uint32_t hwnd, uint32_t insertAfter, int x, int y, int cx, int cy,
                  uint32_t flags) {
  return ::SetWindowPos(W(hwnd), W(insertAfter), x, y, cx, cy, flags);
}
bool BringWindowToTop(uint32_t hwnd) {
  return ::BringWindowToTop(W(hwnd));
}
bool GetWindowRect(uint32_t hwnd, int32_t rect[4]) {
  RECT r{};
  if (!::GetWindowRect(W(hwnd), &r)) return false;
  FillRect4(r, rect);
  return true;
}
bool GetClientRect(uint32_t hwnd, int32_t rect[4]) {
  RECT r{};
  if (!::GetClientRect(W(hwnd), &r)) return false;
  FillRect4(r, rect);
  return true;
}
bool ClientToScreen(uint32_t hwnd, int32_t point[2]) {
  POINT p{point[0], point[1]};
  if (!::ClientToScreen(W(hwnd), &p)) return false;
  point[0] = p.x;
  point[1] = p.y;
  return true;
}
bool ScreenToClient(uint32_t hwnd, int32_t point[2]) {
  POINT p{point[0], point[1]};
  if (!::ScreenToClient(W(hwnd), &p)) return false;
  point[0] = p.x;
  point[1] = p.y;
  return true;
}
bool ShowWindow(uint32_t hwnd, int cmd) {
  return ::ShowWindow(W(hwnd), cmd);
}
bool IsWindowVisible(uint32_t hwnd) {
  return ::IsWindowVisible(W(hwnd));
}
bool EnableWindow(uint32_t hwnd, bool enable) {
  return ::EnableWindow(W(hwnd), enable);
}
bool IsWindowEnabled(uint32_t hwnd) {
  return ::IsWindowEnabled(W(hwnd));
}
uint32_t WindowFromPoint(int x, int y) {
  return U(::WindowFromPoint(POINT{x, y}));
}
uint32_t GetForegroundWindow() {
  return U(::GetForegroundWindow());
}
bool SetForegroundWindow(uint32_t hwnd) {
  return ::SetForegroundWindow(W(hwnd));
}
uint32_t GetActiveWindow() {
  return U(::GetActiveWindow());
}
uint32_t GetWindowThreadProcessId(uint32_t hwnd, uint32_t* processId) {
  DWORD pid = 0;
  DWORD thread = ::GetWindowThreadProcessId(W(hwnd), &pid);
  if (processId) *processId = pid;
  return thread;
}
uint32_t GetCurrentProcessId() {
  return ::GetCurrentProcessId();
}
bool InvalidateRect(uint32_t hwnd) {
  return ::InvalidateRect(W(hwnd), nullptr, FALSE);
}
bool UpdateWindow(uint32_t hwnd) {
  return ::UpdateWindow(W(hwnd));
}

// ---- Messages, pump, timers ----

intptr_t SendMessageA(uint32_t hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  return ::SendMessageA(W(hwnd), msg, wParam, lParam);
}
bool SendMessageTimeoutA(uint32_t hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam,
                         uint32_t timeoutMs, intptr_t* result) {
  DWORD_PTR answer = 0;
  if (!::SendMessageTimeoutA(W(hwnd), msg, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &answer))
    return false;
  if (result) *result = static_cast<intptr_t>(answer);
  return true;
}
bool PostMessageA(uint32_t hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  return ::PostMessageA(W(hwnd), msg, wParam, lParam);
}

bool PumpPending(bool* dispatched) {
  MSG msg;
  *dispatched = false;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    *dispatched = true;
    if (msg.message == WM_QUIT) return false;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

void WaitForInput(uint32_t milliseconds) {
  MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void PostQuitMessage() {
  ::PostQuitMessage(0);
}

void SetTimerCallback(TimerExpired expired) {
  timerExpired = expired;
}
uint32_t SetTimer(uint32_t hwnd, uint32_t id, uint32_t elapse, bool withProc) {
  return static_cast<uint32_t>(
      ::SetTimer(W(hwnd), id, elapse, withProc ? TimerProcThunk : nullptr));
}
bool KillTimer(uint32_t hwnd, uint32_t id) {
  return ::KillTimer(W(hwnd), id);
}
uint32_t GetTickCount() {
  return ::GetTickCount();
}
void GetLocalTime(int parts[7]) {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  parts[0] = t.wYear;
  parts[1] = t.wMonth;
  parts[2] = t.wDay;
  parts[3] = t.wHour;
  parts[4] = t.wMinute;
  parts[5] = t.wSecond;
  parts[6] = t.wMilliseconds;
}

std::string UserShortDateFormat() {
  const int size = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, nullptr, 0);
  if (size <= 1) return {};
  std::string picture(static_cast<size_t>(size), '\0');
  const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, picture.data(), size);
  if (n <= 1) return {};
  picture.resize(static_cast<size_t>(n - 1));  // without the terminating zero
  return picture;
}

// ---- Focus, capture, input ----

uint32_t SetFocus(uint32_t hwnd) {
  return U(::SetFocus(W(hwnd)));
}
uint32_t GetFocus() {
  return U(::GetFocus());
}
uint32_t SetCapture(uint32_t hwnd) {
  return U(::SetCapture(W(hwnd)));
}
bool ReleaseCapture() {
  return ::ReleaseCapture();
}
uint32_t GetCapture() {
  return U(::GetCapture());
}
bool GetCursorPos(int32_t point[2]) {
  POINT p{};
  if (!::GetCursorPos(&p)) return false;
  point[0] = p.x;
  point[1] = p.y;
  return true;
}
int16_t GetKeyState(int key) {
  return ::GetKeyState(key);
}
bool InstallKeyboardHook(KeyDown onKey) {
  keyDown = onKey;
  const DWORD thread = GetCurrentThreadId();
  if (keyboardHooks.count(thread)) return true;
  HHOOK hook = SetWindowsHookExA(WH_KEYBOARD, KeyboardProc, nullptr, thread);
  if (!hook) return false;
  keyboardHooks[thread] = hook;
  return true;
}
void RemoveKeyboardHook() {
  if (auto it = keyboardHooks.find(GetCurrentThreadId()); it != keyboardHooks.end()) {
    UnhookWindowsHookEx(it->second);
    keyboardHooks.erase(it);
  }
  if (keyboardHooks.empty()) keyDown = nullptr;
}

bool PressKey(int virtualKey) {
  INPUT keys[2] = {};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = static_cast<WORD>(virtualKey);
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInput(2, keys, sizeof(INPUT)) == 2;
}

// ---- Menus ----

uint32_t CreateMenu() {
  return U(::CreateMenu());
}
uint32_t CreatePopupMenu() {
  return U(::CreatePopupMenu());
}
bool DestroyMenu(uint32_t menu) {
  return ::DestroyMenu(M(menu));
}
uint32_t GetMenu(uint32_t hwnd) {
  return U(::GetMenu(W(hwnd)));
}
bool SetMenu(uint32_t hwnd, uint32_t menu) {
  return ::SetMenu(W(hwnd), M(menu));
}
uint32_t GetSubMenu(uint32_t menu, int position) {
  return U(::GetSubMenu(M(menu), position));
}
int GetMenuItemCount(uint32_t menu) {
  return ::GetMenuItemCount(M(menu));
}
uint32_t GetMenuItemID(uint32_t menu, int position) {
  return ::GetMenuItemID(M(menu), position);
}
std::string GetMenuStringA(uint32_t menu, uint32_t item, uint32_t flags) {
  char buf[512];
  int n = ::GetMenuStringA(M(menu), item, buf, sizeof buf, flags);
  return std::string(buf, n > 0 ? n : 0);
}
uint32_t GetMenuState(uint32_t menu, uint32_t item, uint32_t flags) {
  return ::GetMenuState(M(menu), item, flags);
}
bool AppendMenuA(uint32_t menu, uint32_t flags, uintptr_t idOrSubmenu, const std::string& text) {
  return ::AppendMenuA(M(menu), flags, IdOrMenu(idOrSubmenu), text.c_str());
}
bool InsertMenuA(uint32_t menu, uint32_t position, uint32_t flags, uintptr_t idOrSubmenu,
                 const std::string& text) {
  return ::InsertMenuA(M(menu), position, flags, IdOrMenu(idOrSubmenu), text.c_str());
}
bool ModifyMenuA(uint32_t menu, uint32_t position, uint32_t flags, uintptr_t idOrSubmenu,
                 const std::string& text) {
  return ::ModifyMenuA(M(menu), position, flags, IdOrMenu(idOrSubmenu), text.c_str());
}
bool DeleteMenu(uint32_t menu, uint32_t position, uint32_t flags) {
  return ::DeleteMenu(M(menu), position, flags);
}
bool RemoveMenu(uint32_t menu, uint32_t position, uint32_t flags) {
  return ::RemoveMenu(M(menu), position, flags);
}
uint32_t CheckMenuItem(uint32_t menu, uint32_t item, uint32_t flags) {
  return ::CheckMenuItem(M(menu), item, flags);
}
uint32_t EnableMenuItem(uint32_t menu, uint32_t item, uint32_t flags) {
  return static_cast<uint32_t>(::EnableMenuItem(M(menu), item, flags));
}
bool DrawMenuBar(uint32_t hwnd) {
  return ::DrawMenuBar(W(hwnd));
}
int TrackPopupMenu(uint32_t menu, uint32_t flags, int x, int y, uint32_t owner) {
  // The owner must be in front, or the menu does not close when the person clicks elsewhere.
  ::SetForegroundWindow(W(owner));
  int chosen = ::TrackPopupMenu(M(menu), flags, x, y, 0, W(owner), nullptr);
  ::PostMessageA(W(owner), WM_NULL, 0, 0);
  return chosen;
}

// ---- Clipboard and global memory ----

uint32_t RegisterClipboardFormatA(const std::string& name) {
  return ::RegisterClipboardFormatA(name.c_str());
}
bool OpenClipboard(uint32_t owner) {
  return ::OpenClipboard(W(owner));
}
bool EmptyClipboard() {
  return ::EmptyClipboard();
}
void* SetClipboardData(uint32_t format, void* data) {
  return ::SetClipboardData(format, data);
}
void* GetClipboardData(uint32_t format) {
  return ::GetClipboardData(format);
}
bool CloseClipboard() {
  return ::CloseClipboard();
}
void* GlobalAlloc(uint32_t flags, size_t bytes) {
  return ::GlobalAlloc(flags, bytes);
}
void* GlobalLock(void* mem) {
  return ::GlobalLock(mem);
}
bool GlobalUnlock(void* mem) {
  return ::GlobalUnlock(mem);
}
void* GlobalFree(void* mem) {
  return ::GlobalFree(mem);
}
size_t GlobalSize(void* mem) {
  return ::GlobalSize(mem);
}

// ---- Processes ----

void* OpenProcess(uint32_t access, bool inherit, uint32_t processId) {
  return ::OpenProcess(access, inherit, processId);
}
bool ReadProcessMemory(void* process, uint32_t address, void* buffer, size_t size,
                       size_t* bytesRead) {
  SIZE_T n = 0;
  BOOL ok = ::ReadProcessMemory(process, reinterpret_cast<LPCVOID>(static_cast<uintptr_t>(address)),
                                buffer, size, &n);
  if (bytesRead) *bytesRead = n;
  return ok;
}
bool CloseHandle(void* handle) {
  return ::CloseHandle(handle);
}

uint32_t AllocLowMemory(size_t bytes) {
  // Walks the free regions below 4 GB and takes the first that fits: another process reads
  // this memory with 32-bit addresses, as the 32-bit client's memory is read.
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  const uintptr_t granularity = info.dwAllocationGranularity;
  uintptr_t at = 0x00100000;
  while (at < 0xFFF00000u) {
    MEMORY_BASIC_INFORMATION region;
    if (!VirtualQuery(reinterpret_cast<LPCVOID>(at), &region, sizeof region)) break;
    const uintptr_t base = reinterpret_cast<uintptr_t>(region.BaseAddress);
    const uintptr_t end = base + region.RegionSize;
    if (region.State == MEM_FREE) {
      const uintptr_t start = (std::max(base, at) + granularity - 1) / granularity * granularity;
      if (start + bytes <= end && start + bytes <= 0xFFFFFFFFu) {
        void* p = VirtualAlloc(reinterpret_cast<LPVOID>(start), bytes, MEM_RESERVE | MEM_COMMIT,
                               PAGE_READWRITE);
        if (p) return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p));
      }
    }
    at = end;
  }
  ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return 0;
}

void* CreateOwnedMutex(const std::string& name) {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, name.c_str());
  if (mutex && ::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(mutex);
    return nullptr;
  }
  return mutex;
}
void SetLastError(uint32_t error) {
  ::SetLastError(error);
}
uint32_t GetLastError() {
  return ::GetLastError();
}

// ---- Painting ----

bool BeginPaint(uint32_t hwnd, int* width, int* height) {
  Paint& paint = paints[hwnd];
  if (!::BeginPaint(W(hwnd), &paint.ps)) {
    paints.erase(hwnd);
    return false;
  }
  RECT client{};
  ::GetClientRect(W(hwnd), &client);
  *width = client.right - client.left;
  *height = client.bottom - client.top;
  return true;
}

void EndPaint(uint32_t hwnd, const uint32_t* pixels, int width, int height) {
  auto it = paints.find(hwnd);
  if (it == paints.end()) return;
  if (pixels && width > 0 && height > 0) {
    // The canvas holds 0x00BBGGRR; a 32-bit DIB wants blue in the low byte.
    std::vector<uint32_t> bgr(static_cast<size_t>(width) * height);
    std::transform(pixels, pixels + bgr.size(), bgr.begin(), [](uint32_t c) {
      return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    });
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;  // top-down rows
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(it->second.ps.hdc, 0, 0, width, height, 0, 0, 0, height, bgr.data(), &bmi,
                      DIB_RGB_COLORS);
  }
  ::EndPaint(W(hwnd), &it->second.ps);
  paints.erase(it);
}

uint32_t GetScreenPixel(int x, int y) {
  HDC dc = GetDC(nullptr);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(nullptr, dc);
  return c == CLR_INVALID ? 0 : c;
}
uint32_t GetSysColor(int index) {
  return ::GetSysColor(index);
}
std::string FontFolder() {
  char buf[MAX_PATH];
  UINT n = GetWindowsDirectoryA(buf, MAX_PATH);
  return std::string(buf, n) + "\\Fonts";
}

// ---- Outside the window tree ----

bool PlaySoundFile(const std::string& path, uint32_t flags) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  return PlaySoundA(path.c_str(), nullptr, SND_FILENAME | flags);
}
void PlaySoundAlias(const std::string& alias) {
  PlaySoundA(alias.c_str(), nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT);
}
bool ShellExecuteA(uint32_t owner, const std::string& verb, const std::string& file,
                   const std::string& directory, int show) {
  auto result = reinterpret_cast<intptr_t>(
      ::ShellExecuteA(W(owner), verb.empty() ? nullptr : verb.c_str(), file.c_str(), nullptr,
                      directory.empty() ? nullptr : directory.c_str(), show));
  return result > 32;
}
std::optional<uint32_t> ChooseColorA(uint32_t owner, uint32_t initial) {
  static COLORREF custom[16] = {};
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = W(owner);
  cc.rgbResult = initial;
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!::ChooseColorA(&cc)) return std::nullopt;
  return cc.rgbResult;
}
std::optional<std::string> GetFileNameA(bool save, uint32_t owner, const std::string& title,
                                        const std::string& initialDir, const std::string& filter,
                                        const std::string& fileName) {
  // "Text|*.txt;|All|*.*" becomes "Text\0*.txt\0All\0*.*\0\0"; a trailing ';' of a pattern
  // list is dropped.
  std::string filters;
  size_t start = 0;
  while (start <= filter.size() && !filter.empty()) {
    size_t bar = filter.find('|', start);
    std::string part =
        filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    while (!part.empty() && part.back() == ';') part.pop_back();
    filters += part;
    filters.push_back('\0');
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  filters.push_back('\0');
  char buf[MAX_PATH * 4] = {};
  fileName.copy(buf, sizeof buf - 1);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = W(owner);
  ofn.lpstrFilter = filter.empty() ? nullptr : filters.c_str();
  ofn.lpstrFile = buf;
  ofn.nMaxFile = sizeof buf;
  ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
              (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
  BOOL ok = save ? ::GetSaveFileNameA(&ofn) : ::GetOpenFileNameA(&ofn);
  if (!ok) return std::nullopt;
  return std::string(buf);
}
int MessageBoxA(uint32_t owner, const std::string& text, const std::string& caption,
                uint32_t type) {
  return ::MessageBoxA(W(owner), text.c_str(), caption.c_str(), type);
}

namespace {
struct InputBoxState {
  HWND edit = nullptr;
  bool done = false;
  std::optional<std::string> answer;
};

LRESULT CALLBACK InputBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (state && msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    if (LOWORD(wParam) == IDOK) {
      const int length = ::GetWindowTextLengthA(state->edit);
      std::string text(static_cast<size_t>(length) + 1, '\0');
      text.resize(::GetWindowTextA(state->edit, text.data(), length + 1));
      state->answer = std::move(text);
    }
    state->done = true;
    return 0;
  }
  if (state && msg == WM_CLOSE) {
    state->done = true;
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
}  // namespace

std::optional<std::string> InputBoxA(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = InputBoxProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kInputBoxClass;
  RegisterClassExA(&wc);
  HWND owner = ::GetActiveWindow();
  HWND box = CreateWindowExA(WS_EX_DLGMODALFRAME, kInputBoxClass, title.c_str(),
                             WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 380,
                             150, owner, nullptr, instance, nullptr);
  if (!box) return std::nullopt;
  InputBoxState state;
  SetWindowLongPtrA(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  auto child = [&](const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
                   int id) {
    HWND c = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, box,
                             reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), instance, nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return c;
  };
  child("STATIC", prompt.c_str(), 0, 10, 10, 260, 50, -1);
  child("BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 285, 10, 75, 24, IDOK);
  child("BUTTON", "Cancel", WS_TABSTOP, 285, 40, 75, 24, IDCANCEL);
  state.edit = child("EDIT", defaultText.c_str(), WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 10, 80,
                     350, 22, 100);
  if (owner) ::EnableWindow(owner, FALSE);
  ::ShowWindow(box, SW_SHOW);
  ::SetFocus(state.edit);
  SendMessageA(state.edit, EM_SETSEL, 0, -1);
  MSG msg;
  while (!state.done && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageA(box, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  if (!state.done) ::PostQuitMessage(0);  // WM_QUIT ended the wait: leave it for the main loop
  if (owner) ::EnableWindow(owner, TRUE);
  ::DestroyWindow(box);
  return state.answer;
}

std::optional<std::string> HttpGet(const std::string& url) {
  HINTERNET session = InternetOpenA("Pallion", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!session) return std::nullopt;
  std::optional<std::string> body;
  HINTERNET request = InternetOpenUrlA(session, url.c_str(), nullptr, 0,
                                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  if (request) {
    DWORD status = 0, length = sizeof status;
    const bool httpOk = !HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                                        &status, &length, nullptr) ||
                        (status >= 200 && status < 300);
    std::string data;
    char chunk[4096];
    DWORD read = 0;
    bool complete = true;
    while (true) {
      if (!InternetReadFile(request, chunk, sizeof chunk, &read)) {
        complete = false;
        break;
      }
      if (read == 0) break;
      data.append(chunk, read);
    }
    if (httpOk && complete) body = std::move(data);
    InternetCloseHandle(request);
  }
  InternetCloseHandle(session);
  return body;
}

bool PrintText(const std::string& documentName, const std::string& text) {
  char printer[512];
  DWORD size = sizeof printer;
  if (!GetDefaultPrinterA(printer, &size)) return false;
  HDC dc = CreateDCA("WINSPOOL", printer, nullptr, nullptr);
  if (!dc) return false;
  DOCINFOA doc{};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = documentName.c_str();
  bool ok = StartDocA(dc, &doc) > 0;
  if (ok) {
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    const int lineHeight = tm.tmHeight + tm.tmExternalLeading;
    const int pageHeight = GetDeviceCaps(dc, VERTRES);
    const int margin = GetDeviceCaps(dc, LOGPIXELSY) / 2;
    int y = margin;
    StartPage(dc);
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find('\n', start);
      std::string line =
          text.substr(start, end == std::string::npos ? std::string::npos : end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (y + lineHeight > pageHeight - margin) {
        EndPage(dc);
        StartPage(dc);
        y = margin;
      }
      TextOutA(dc, margin, y, line.c_str(), static_cast<int>(line.size()));
      y += lineHeight;
      if (end == std::string::npos) break;
      start = end + 1;
    }
    EndPage(dc);
    ok = EndDoc(dc) > 0;
  }
  DeleteDC(dc);
  return ok;
}

std::string GetPrivateProfileStringA(const char* section, const char* key, const char* def,
                                     size_t size, const std::string& file) {
  if (size == 0) return {};
  std::string buf(size, '\0');
  DWORD n = ::GetPrivateProfileStringA(section, key, def, buf.data(), static_cast<DWORD>(size),
                                       file.c_str());
  buf.resize(n);
  return buf;
}
bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const std::string& file) {
  return ::WritePrivateProfileStringA(section, key, value, file.c_str());
}

std::wstring WideFromAnsi(const std::string& text) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}
std::string AnsiFromWide(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), n,
                      nullptr, nullptr);
  return ansi;
}

void* StartProcess(const std::string& commandLine, uint32_t* processId) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string line = commandLine;  // CreateProcessA may write into it
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return nullptr;
  }
  ::CloseHandle(info.hThread);
  if (processId) *processId = info.dwProcessId;
  return info.hProcess;
}
bool WaitProcess(void* process, uint32_t milliseconds, uint32_t* exitCode) {
  if (::WaitForSingleObject(process, milliseconds) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  ::GetExitCodeProcess(process, &code);
  if (exitCode) *exitCode = code;
  return true;
}
bool KillProcess(void* process) {
  return ::TerminateProcess(process, 1);
}

std::string ExecutablePath() {
  char buf[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  return std::string(buf, n);
}

std::string ExecutableFolder() {
  const std::string path = ExecutablePath();
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

uint32_t StartProcess(const std::string& commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    return 0;
  }
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return info.dwProcessId;
}

bool EndProcess(uint32_t processId) {
  HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
  if (!process) return false;
  const bool ended = TerminateProcess(process, 1) &&
                     WaitForSingleObject(process, wire::kReplyTimeoutMs) == WAIT_OBJECT_0;
  ::CloseHandle(process);
  return ended;
}

// ---- Windows of other processes ----

namespace {

constexpr const char* kServerClass = "PallionHookServer";

RemoteMessage onRemoteMessage = nullptr;
KeyDown onRemoteKey = nullptr;
HWND server = nullptr;  // where the agents' notices arrive
HMODULE library = nullptr;
HOOKPROC loader = nullptr;
bool keyboardOn = false;
std::map<DWORD, HWND> agents;  // by the thread each lives in
std::map<HWND, bool> guards;   // agents holding a leftovers' description
// Where the text answer of each request being made goes (innermost last; null: none wanted).
std::vector<std::string*> textAnswers;

template <typename T>
bool Read(const COPYDATASTRUCT* data, T& out) {
  if (data->cbData != sizeof out) return false;
  std::memcpy(&out, data->lpData, sizeof out);
  return true;
}

bool Ask(HWND agent, uint32_t request, const void* data, size_t size, intptr_t* result,
         std::string* text, UINT how = SMTO_NORMAL) {
  COPYDATASTRUCT copy{request, static_cast<DWORD>(size), const_cast<void*>(data)};
  textAnswers.push_back(text);
  DWORD_PTR answer = 0;
  const LRESULT ok = SendMessageTimeoutA(agent, WM_COPYDATA, reinterpret_cast<WPARAM>(server),
                                         reinterpret_cast<LPARAM>(&copy), how | SMTO_ABORTIFHUNG,
                                         wire::kReplyTimeoutMs, &answer);
  textAnswers.pop_back();
  if (result) *result = static_cast<intptr_t>(answer);
  return ok != 0;
}

LRESULT CALLBACK ServerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_COPYDATA) return DefWindowProcA(hwnd, msg, wParam, lParam);
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  const HWND agent = reinterpret_cast<HWND>(wParam);
  switch (data->dwData) {
    case wire::kReady: {
      wire::ReadyArgs ready{};
      if (!Read(data, ready)) return 0;
      agents[ready.thread] = W(ready.agent);
      return 1;
    }
    case wire::kText:
      if (!textAnswers.empty() && textAnswers.back())
        textAnswers.back()->assign(static_cast<const char*>(data->lpData), data->cbData);
      return 1;
    case wire::kMessage: {
      wire::MessageArgs m{};
      if (!Read(data, m) || !onRemoteMessage) return 0;
      uint32_t message = m.msg;
      uintptr_t w = static_cast<uintptr_t>(m.wParam);
      intptr_t l = static_cast<intptr_t>(m.lParam);
      intptr_t result = 0;
      const bool swallow = onRemoteMessage(m.hwnd, message, w, l, m.flags, result);
      if (!swallow && message == m.msg && w == m.wParam && l == m.lParam) return 0;
      wire::Verdict verdict{swallow ? 1u : 0u, message, w, l, result};
      return Ask(agent, wire::kVerdict, &verdict, sizeof verdict, nullptr, nullptr) ? 1 : 0;
    }
    case wire::kKey: {
      wire::KeyArgs k{};
      if (!Read(data, k) || !onRemoteKey) return 0;
      int key = k.key;
      const bool swallow = onRemoteKey(key, k.shift);
      if (swallow || key == 0) return 1;
      return key != k.key ? static_cast<LRESULT>((key & 0xFF) << 8) : 0;
    }
    default:
      return 0;
  }
}

bool EnsureServer() {
  if (server && ::IsWindow(server)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ServerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kServerClass;
  RegisterClassExA(&wc);
  server = CreateWindowExA(0, kServerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  return server != nullptr;
}

bool EnsureLibrary() {
  if (loader) return true;
  const std::string path = ExecutableFolder() + "\\" + wire::kLibraryName;
  library = LoadLibraryA(path.c_str());
  if (library)
    loader = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(library, wire::kLoaderProc)));
  if (!loader) ::SetLastError(ERROR_MOD_NOT_FOUND);
  return loader != nullptr;
}

// The agent of the thread of `hwnd` (a window of another process), loading the library into
// that thread first if it is not there yet.
HWND AgentFor(uint32_t hwnd) {
  DWORD process = 0;
  const DWORD thread = ::GetWindowThreadProcessId(W(hwnd), &process);
  if (thread == 0 || process == ::GetCurrentProcessId()) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (auto it = agents.find(thread); it != agents.end()) {
    if (::IsWindow(it->second)) return it->second;
    agents.erase(it);
  }
  if (!EnsureServer() || !EnsureLibrary()) return nullptr;
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, loader, library, thread);
  if (!hook) return nullptr;
  // The hook brings the library into the thread; the hello makes it start its agent there,
  // which announces itself before the send returns. The library keeps itself loaded.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(W(hwnd), RegisterWindowMessageA(wire::kHelloMessage),
                      reinterpret_cast<WPARAM>(server), ::GetCurrentProcessId(),
                      SMTO_NORMAL | SMTO_ABORTIFHUNG, wire::kReplyTimeoutMs, &ignored);
  UnhookWindowsHookEx(hook);
  auto it = agents.find(thread);
  if (it == agents.end()) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  if (keyboardOn) {
    const uint32_t on = 1;
    Ask(it->second, wire::kKeyboard, &on, sizeof on, nullptr, nullptr);
  }
  return it->second;
}

// A fault nobody handles: the guarded leftovers are undone in the other processes before this
// one ends (its windows, and the windows of others inside them, go with it).
LONG WINAPI Failing(EXCEPTION_POINTERS*) {
  RunRemoteGuards();
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void SetRemoteHandlers(RemoteMessage onMessage, KeyDown onKey) {
  onRemoteMessage = onMessage;
  onRemoteKey = onKey;
}

bool IsForeign(uint32_t hwnd) {
  DWORD process = 0;
  return hwnd != 0 && ::GetWindowThreadProcessId(W(hwnd), &process) != 0 &&
         process != ::GetCurrentProcessId();
}

bool RemoteWatch(uint32_t hwnd, uint32_t flags) {
  HWND agent = AgentFor(hwnd);
  if (!agent) return false;
  const wire::WatchArgs args{hwnd, flags};
  intptr_t done = 0;
  if (!Ask(agent, wire::kWatch, &args, sizeof args, &done, nullptr) || done != 1) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return true;
}

std::optional<std::string> RemoteEditLine(uint32_t edit, int lineFromOne) {
  HWND agent = AgentFor(edit);
  if (!agent) return std::nullopt;
  const wire::EditLineArgs args{edit, lineFromOne};
  std::string text;
  intptr_t done = 0;
  if (!Ask(agent, wire::kEditLine, &args, sizeof args, &done, &text) || done != 1)
    return std::nullopt;
  return text;
}

uint32_t RemoteMakeChild(uint32_t parent, int x, int y, int width, int height) {
  HWND agent = AgentFor(parent);
  if (!agent) return 0;
  const wire::ChildArgs args{parent, x, y, width, height};
  intptr_t made = 0;
  if (!Ask(agent, wire::kMakeChild, &args, sizeof args, &made, nullptr)) return 0;
  return static_cast<uint32_t>(made);
}

uint32_t MakePlainChild(uint32_t parent, int x, int y, int width, int height) {
  return U(::CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width,
                             height, W(parent), nullptr, ::GetModuleHandleA(nullptr), nullptr));
}

intptr_t RemoteMenu(uint32_t hwnd, uint32_t op, uint32_t menu, uint32_t position, uint32_t flags,
                    uintptr_t idOrSubmenu, const std::string& text, std::string* textOut) {
  HWND agent = AgentFor(hwnd);
  if (!agent) return 0;
  const wire::MenuArgs args{op, hwnd, menu, position, flags, idOrSubmenu};
  std::string request(reinterpret_cast<const char*>(&args), sizeof args);
  request += text;
  intptr_t result = 0;
  if (!Ask(agent, wire::kMenu, request.data(), request.size(), &result, textOut)) {
    ::SetLastError(ERROR_TIMEOUT);
    return 0;
  }
  return result;
}

bool RemoteGuard(uint32_t home, const std::string& description) {
  HWND agent = AgentFor(home);
  if (!agent) return false;
  intptr_t done = 0;
  if (!Ask(agent, wire::kGuard, description.data(), description.size(), &done, nullptr) ||
      done != 1) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  guards[agent] = true;
  static bool filterSet = false;
  if (!filterSet) SetUnhandledExceptionFilter(Failing);
  filterSet = true;
  return true;
}

void RunRemoteGuards() {
  // Blocking: the library lets go of this process's windows before it undoes anything, so
  // nothing it does waits on this process meanwhile.
  for (const auto& [agent, held] : guards)
    if (held) Ask(agent, wire::kRunGuard, nullptr, 0, nullptr, nullptr, SMTO_BLOCK);
  guards.clear();
}

bool RemoteUnguard(uint32_t home) {
  HWND agent = AgentFor(home);
  if (!agent) return false;
  guards.erase(agent);
  return Ask(agent, wire::kUnguard, nullptr, 0, nullptr, nullptr);
}

bool RemoteKeyboard(bool on) {
  keyboardOn = on;
  const uint32_t value = on ? 1 : 0;
  bool all = true;
  for (const auto& [thread, agent] : agents)
    all = Ask(agent, wire::kKeyboard, &value, sizeof value, nullptr, nullptr) && all;
  return all;
}

void ReleaseRemote() {
  for (const auto& [thread, agent] : agents) Ask(agent, wire::kBye, nullptr, 0, nullptr, nullptr);
  agents.clear();
  guards.clear();
  keyboardOn = false;
  if (server) ::DestroyWindow(server);
  server = nullptr;
}

std::string ReadEditLine(uint32_t edit, int lineFromOne) {
  if (lineFromOne < 1 || !::IsWindow(W(edit))) return {};
  const WPARAM line = static_cast<WPARAM>(lineFromOne - 1);
  const LRESULT start = ::SendMessageA(W(edit), EM_LINEINDEX, line, 0);
  if (start < 0) return {};
  const LRESULT length = ::SendMessageA(W(edit), EM_LINELENGTH, start, 0);
  if (length <= 0) return {};
  std::string text;
  if (length + 2 <= 0xFFFF) {
    // EM_GETLINE: the buffer's first word holds its size; the line may fill it unterminated.
    const size_t room = std::max<size_t>(static_cast<size_t>(length) + 2, 1024);
    text.assign(room + 1, '\0');
    const uint16_t word = static_cast<uint16_t>(room);
    std::memcpy(text.data(), &word, sizeof word);
    const LRESULT copied =
        ::SendMessageA(W(edit), EM_GETLINE, line, reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::min(static_cast<size_t>(std::max<LRESULT>(copied, 0)), room));
  } else {
    // Longer than EM_GETLINE's word-sized buffer: a rich edit gives the range, an edit control
    // its whole text to cut the line from.
    text.assign(static_cast<size_t>(length) + 1, '\0');
    TEXTRANGEA range{{static_cast<LONG>(start), static_cast<LONG>(start + length)}, text.data()};
    const LRESULT got =
        ::SendMessageA(W(edit), EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    if (got > 0) {
      text.resize(std::min<size_t>(static_cast<size_t>(got), static_cast<size_t>(length)));
    } else {
      const int all = ::GetWindowTextLengthA(W(edit));
      std::string whole(static_cast<size_t>(std::max(all, 0)) + 1, '\0');
      whole.resize(
          static_cast<size_t>(std::max(::GetWindowTextA(W(edit), whole.data(), all + 1), 0)));
      text = static_cast<size_t>(start) < whole.size()
                 ? whole.substr(static_cast<size_t>(start), static_cast<size_t>(length))
                 : std::string();
    }
  }
  // A rich edit's lines end in a carriage return.
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
  return text;
}

}  // namespace platform::win32::native
