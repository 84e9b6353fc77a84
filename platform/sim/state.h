// Internal state of the simulated desktop, shared by its implementation files.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "gfx/canvas.h"
#include "platform/ansi.h"
#include "platform/sim/controls.h"
#include "platform/sim/desktop.h"

namespace platform::sim {

// Fixed non-client metrics of the classic look.
inline constexpr int kCaptionHeight = 18;
inline constexpr int kMenuBarHeight = 19;
inline constexpr int kTaskbarHeight = 28;
inline constexpr int kThickFrame = 4;
inline constexpr int kDialogFrame = 3;
inline constexpr int kThinBorder = 1;
inline constexpr COLORREF kDesktopColor = 0x808000;
inline constexpr int TRUE = 1;
inline constexpr int FALSE = 0;

struct Window {
  HWND hwnd = 0;
  std::string className;
  std::string text;
  DWORD style = 0;
  DWORD exStyle = 0;
  UINT id = 0;
  intptr_t userData = 0;
  HWND parent = 0;  // the real parent (the desktop for top-level windows)
  HWND owner = 0;
  std::vector<HWND> children;  // z-order, index 0 = top
  // Where in `children` the last child found by a FindWindowEx or GetWindow walk was: the next
  // step of a walk starts there instead of searching the list again.
  size_t walkHint = 0;
  RECT rect;  // window rectangle in the parent's client coordinates
  WNDPROC proc;
  COLORREF background = 0xFFFFFFFF;
  DWORD process = 0;
  HMENU menu = 0;
  std::shared_ptr<SystemControl> control;  // windows of the system's control classes
  bool destroying = false;
  bool inList = false;  // joined the parent's child list (after WM_NCCREATE)
  // The client origin and size last reported by WM_MOVE / WM_SIZE.
  POINT reportedOrigin;
  POINT reportedSize;
};

struct Process {
  std::string name;
  bool alive = true;
  uint32_t nextAddress = 0;
  std::map<uint32_t, std::vector<uint8_t>> memory;  // base address -> bytes
};

struct Posted {
  HWND hwnd = 0;
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  bool input = false;    // the person's input: passes the mouse hooks
  DWORD process = 0;     // the poster, for thread messages
  DWORD queue = 0;       // the process whose queue holds it
  WPARAM character = 0;  // for a key press: the WM_CHAR its translation posts (0: none)
};

struct Timer {
  HWND hwnd = 0;
  UINT id = 0;
  UINT elapse = 0;
  uint64_t due = 0;
  TimerProc proc;
  DWORD process = 0;
  uint64_t order = 0;
};

struct Scheduled {
  uint64_t due = 0;
  uint64_t order = 0;
  std::function<void()> action;
  DWORD process = 0;
};

struct MenuItem {
  UINT flags = 0;  // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_SEPARATOR, MF_POPUP
  UINT id = 0;
  HMENU sub = 0;
  std::string text;
};

struct Menu {
  bool popup = false;
  std::vector<MenuItem> items;
};

struct Watch {
  HWND hwnd = 0;
  WatchProc proc;
  DWORD process = 0;
};

struct KeyHook {
  KeyHookProc proc;
  DWORD process = 0;
};

struct MouseHook {
  HWND hwnd = 0;
  MouseHookProc proc;
  DWORD process = 0;
};

// Leftovers a process left with another (the client), undone there should it end unguarded.
struct Guard {
  Leftovers leftovers;
  DWORD process = 0;  // the process that left them
  DWORD host = 0;     // the process that undoes them
};

struct Global {
  std::vector<uint8_t> bytes;
  size_t size = 0;
  int locks = 0;
};

struct ClipEntry {
  HGLOBAL data = 0;
  DWORD process = 0;                // the process that set it
  std::map<DWORD, HGLOBAL> copies;  // separate blocks handed to other processes
};

struct ProcessHandle {
  DWORD process = 0;
  DWORD access = 0;
};

struct Desktop::State {
  DesktopOptions options;
  uint64_t now = 0;
  int64_t wallShiftMs = 0;  // how far the wall clock has been set away from `now`
  DWORD lastError = 0;

  // Handles are never reused in a run; each kind has its own range.
  static constexpr HWND kFirstWindow = 0x00010010;
  HWND nextWindow = kFirstWindow;
  HWND NewWindowHandle() {
    HWND h = nextWindow;
    nextWindow += 2;
    return h;
  }
  HMENU nextMenu = 0x00200010;
  HANDLE nextHandle = 0x00400010;
  // Process handles, hooks and watches share one range of handles, never reused.
  HANDLE NewHandle() {
    HANDLE h = nextHandle;
    nextHandle += 4;
    return h;
  }
  HGLOBAL nextGlobal = 0x00600010;
  DWORD nextProcessId = 1000;
  uint64_t nextOrder = 1;

  HWND desktop = 0;
  std::map<std::string, WindowClass> classes;  // key: lower-case name
  std::map<HWND, std::unique_ptr<Window>> windows;
  // The same windows by handle number, so that a lookup costs no tree walk.
  std::vector<Window*> windowSlots;
  // Counts every window made or destroyed, every change of a parent's list of children and
  // every new window text (WindowTreeVersion).
  uint64_t treeVersion = 0;
  static size_t SlotOf(HWND h) { return (h - kFirstWindow) / 2; }
  void AddWindow(std::unique_ptr<Window> w) {
    const size_t slot = SlotOf(w->hwnd);
    if (slot >= windowSlots.size()) windowSlots.resize(slot + 1, nullptr);
    windowSlots[slot] = w.get();
    ++treeVersion;
    const HWND h = w->hwnd;
    windows[h] = std::move(w);
  }
  void RemoveWindow(HWND h) {
    if (h >= kFirstWindow && SlotOf(h) < windowSlots.size()) windowSlots[SlotOf(h)] = nullptr;
    ++treeVersion;
    windows.erase(h);
  }
  Window* FindWindow(HWND h) const {
    if (h < kFirstWindow || (h - kFirstWindow) % 2 != 0 || SlotOf(h) >= windowSlots.size()) {
      return nullptr;
    }
    return windowSlots[SlotOf(h)];
  }
  std::map<DWORD, Process> processes;
  // Processes whose input states are joined, as re-parenting a child window across processes
  // joins them: each process maps to the representative of its group (absent: alone).
  std::map<DWORD, DWORD> inputGroup;
  DWORD current = 0;

  std::deque<Posted> posted;
  std::deque<Posted> input;  // the person's input, retrieved after posted messages
  std::vector<Timer> timers;
  std::vector<Scheduled> scheduled;
  struct Responder {
    uint64_t id = 0;
    std::function<bool()> answer;
    bool running = false;  // answering now; a nested loop must not run it again
  };
  std::vector<Responder> responders;
  uint64_t nextResponder = 1;
  UINT nextThreadTimer = 1;

  HWND focus = 0;
  HWND capture = 0;
  HWND active = 0;
  std::optional<DWORD> activeProcess;  // whose windows last heard WM_ACTIVATEAPP(TRUE)
  int defaultPlacements = 0;           // windows placed by CW_USEDEFAULT so far
  POINT cursor;
  int heldShift = 0;
  int heldKey = 0;

  std::map<HMENU, Menu> menus;
  bool tracking = false;
  std::deque<std::string> popupAnswers;
  // Menus open on the screen while a choice is being made, outermost first, and the window
  // whose menu bar item is dropped down (0 for a pop-up menu).
  struct OpenMenu {
    HMENU menu = 0;
    POINT at;              // screen position of the top-left corner
    int highlighted = -1;  // the item chosen or leading to the next menu
  };
  std::vector<OpenMenu> openMenus;
  HWND menuBarWindow = 0;
  int menuBarItem = -1;
  std::function<void()> menuShownListener;

  std::map<HANDLE, Watch> watches;  // ordered by handle = installation order
  // Whether a window has watches, without a walk over all of them for every message: the set
  // of watched windows is made again whenever `watches` changed. Handles only grow, so any
  // change shows in the map's size or in its last handle.
  bool Watched(HWND hwnd) {
    const HANDLE last = watches.empty() ? 0 : watches.rbegin()->first;
    if (watches.size() != watchedFromSize || last != watchedFromLast) {
      watchedWindows.clear();
      for (const auto& [h, watch] : watches) watchedWindows.insert(watch.hwnd);
      watchedFromSize = watches.size();
      watchedFromLast = last;
    }
    return watchedWindows.count(hwnd) != 0;
  }
  std::set<HWND> watchedWindows;
  size_t watchedFromSize = 0;
  HANDLE watchedFromLast = 0;
  std::map<HANDLE, KeyHook> keyHooks;
  std::map<HANDLE, MouseHook> mouseHooks;
  std::map<HANDLE, ProcessHandle> processHandles;
  std::map<HANDLE, Guard> guards;

  std::map<HGLOBAL, Global> globals;
  std::map<std::string, UINT> formats;  // lower-case name -> id
  UINT nextFormat = 0xC000;
  std::map<UINT, ClipEntry> clipboard;
  bool clipOpen = false;
  DWORD clipOpenProcess = 0;
  HWND clipOpenWindow = 0;
  HWND clipOwner = 0;

  std::map<std::string, DWORD> locks;  // lower-case name -> process

  std::deque<std::optional<COLORREF>> colorAnswers;
  std::deque<std::optional<std::string>> fileAnswers;
  std::deque<int> messageBoxAnswers;
  std::deque<std::string> inputBoxAnswers;
  std::vector<Event> events;
  std::vector<gfx::Canvas> printedPages;
  std::string printerFolder;
  int printedDocuments = 0;
  std::function<void(const Event&)> listener;

  // Painting: while rendering, the screen canvas set up for the window being painted.
  gfx::Canvas* paintTarget = nullptr;
  HWND paintWindow = 0;
  gfx::Canvas scratch;  // BeginPaint outside a render
};

// A menu item's text as compared when choosing it: no "&", no accelerator part, any case.
std::string MenuKey(const std::string& text);

}  // namespace platform::sim
