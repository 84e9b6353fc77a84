// What the program and its hook library inside another process say to each other. Plain types
// only: both sides include it, one beside <windows.h>. The program and the library are always
// built for the same architecture, so the layouts match.
//
// The program loads the library into a thread of the other process with a WH_CALLWNDPROC hook
// and sends a window of that thread kHelloMessage (wParam: the program's server window, lParam:
// the program's process id). The library then makes an agent window in that thread and
// announces it with kReady. Requests go to the agent as WM_COPYDATA (dwData: the request);
// notices come to the server window the same way (dwData: the notice). A text answer travels
// as a kText notice sent while the request is being handled; a verdict on a reported message
// as a kVerdict request sent while the notice is being handled.
#pragma once

#include <cstdint>

namespace platform::win32::wire {

constexpr const char* kLibraryName = "PallionHook.dll";
constexpr const char* kLoaderProc = "PallionLoaderProc";  // the WH_CALLWNDPROC procedure
constexpr const char* kHelloMessage = "PallionHookHello";

// How long either side waits on the other before it gives up and goes on: a hung program never
// hangs the client, a hung client never hangs the program.
constexpr uint32_t kReplyTimeoutMs = 5000;

enum Request : uint32_t {
  kWatch = 1,     // WatchArgs: which messages of a window are reported
  kVerdict = 2,   // Verdict: the answer to the kMessage notice being handled
  kEditLine = 3,  // EditLineArgs: the text of one line, answered as kText
  kMenu = 4,      // MenuArgs then the item text: one menu call, a text result as kText
  kGuard = 5,     // the leftovers' description, undone should the program end unannounced
  kUnguard = 6,
  kRunGuard = 7,    // the program is failing: undo the leftovers now
  kKeyboard = 8,    // uint32_t: 1 reports the keys of the agent's thread, 0 stops
  kBye = 9,         // the program lets go of everything
  kMakeChild = 10,  // ChildArgs: a plain child window made by the agent's thread; LRESULT: it
};

enum Notice : uint32_t {
  kReady = 100,    // ReadyArgs
  kMessage = 101,  // MessageArgs; LRESULT 1 when a kVerdict was sent meanwhile
  kText = 102,     // the bytes of a text answer
  kKey = 103,      // KeyArgs; LRESULT: bit 0 swallows, bits 8-15 a replacement key code
};

// kWatch flags.
constexpr uint32_t kWatchAll = 1;    // every message, before the window sees it
constexpr uint32_t kWatchMouse = 2;  // mouse input (not sent messages)

struct ReadyArgs {
  uint32_t agent;
  uint32_t thread;
};
struct WatchArgs {
  uint32_t hwnd;
  uint32_t flags;
};
struct MessageArgs {
  uint32_t hwnd;
  uint32_t msg;
  uint64_t wParam;
  int64_t lParam;
  uint32_t flags;  // kWatchAll: reported to the watchers; kWatchMouse: mouse input
};
struct Verdict {
  uint32_t noPass;
  uint32_t msg;
  uint64_t wParam;
  int64_t lParam;
  int64_t result;
};
struct ChildArgs {
  uint32_t parent;
  int32_t x, y, width, height;
};
struct EditLineArgs {
  uint32_t hwnd;
  int32_t lineFromOne;
};
struct KeyArgs {
  int32_t key;
  int32_t shift;  // 1 Shift, 2 Ctrl, 4 Alt
};

enum MenuOp : uint32_t {
  kGetMenu = 1,
  kSetMenu,
  kCreatePopup,
  kDestroyMenu,
  kGetSubMenu,
  kItemCount,
  kItemId,
  kItemString,
  kItemState,
  kAppend,
  kInsert,
  kModify,
  kDelete,
  kRemove,
  kCheck,
  kEnable,
  kDrawBar,
};
struct MenuArgs {
  uint32_t op;
  uint32_t hwnd;
  uint32_t menu;
  uint32_t position;
  uint32_t flags;
  uint64_t idOrSubmenu;
  // followed by the item text, without its NUL
};

}  // namespace platform::win32::wire
