// The hook library, inside the client's process. One agent window per thread the program
// reached: it subclasses the windows the program watches and reports their messages to the
// program before they see them, makes the menu calls and reads the lines the program asks for,
// reports the thread's keys, and holds the program's leftovers' description, undone here should
// the program's process end without letting go.
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win32/hook/handback.h"
#include "platform/win32/hook/wire.h"
#include "platform/win32/native.h"

namespace wire = platform::win32::wire;

namespace {

constexpr const char* kAgentClass = "PallionHookAgent";
constexpr const char* kProcProperty = "PallionHook.Proc";
constexpr const char* kFlagsProperty = "PallionHook.Flags";
constexpr UINT kProgramGone = WM_APP + 1;  // from the watcher thread
constexpr UINT kFirstMouseMessage = 0x0200;
constexpr UINT kLastMouseMessage = 0x020E;

HINSTANCE self = nullptr;

struct Agent {
  HWND hwnd = nullptr;
  HWND server = nullptr;  // the program's window; null once let go
  HANDLE program = nullptr;
  HANDLE stop = nullptr;
  HANDLE watcher = nullptr;
  bool keyboard = false;  // the thread's keys are reported
  std::vector<HWND> subclassed;
  std::string guard;  // the leftovers' description; empty: none
  // The verdicts awaited for the messages being reported (innermost last).
  std::vector<std::pair<wire::Verdict*, bool*>> verdicts;
};

std::mutex agentsLock;
std::map<DWORD, Agent*> agents;  // by thread

Agent* ThisThreadsAgent() {
  std::lock_guard<std::mutex> hold(agentsLock);
  auto it = agents.find(GetCurrentThreadId());
  return it == agents.end() ? nullptr : it->second;
}

uint32_t U(HWND h) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h));
}
HWND W(uint32_t h) {
  return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(h)));
}
HMENU M(uint32_t h) {
  return reinterpret_cast<HMENU>(static_cast<intptr_t>(static_cast<int32_t>(h)));
}

bool Tell(const Agent& agent, uint32_t notice, const void* data, size_t size, DWORD_PTR* answer) {
  if (!agent.server) return false;
  COPYDATASTRUCT copy{notice, static_cast<DWORD>(size), const_cast<void*>(data)};
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutA(agent.server, WM_COPYDATA, reinterpret_cast<WPARAM>(agent.hwnd),
                             reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                             wire::kReplyTimeoutMs, answer ? answer : &ignored) != 0;
}

// ---- Watched windows ----

LRESULT CALLBACK Subclassed(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

void Unsubclass(Agent& agent, HWND hwnd) {
  auto old = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kProcProperty));
  if (old && reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) == Subclassed) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    RemovePropA(hwnd, kProcProperty);
  }
  // Subclassed again by someone after us: our procedure stays in the chain, passing all on.
  RemovePropA(hwnd, kFlagsProperty);
  std::erase(agent.subclassed, hwnd);
}

bool Watch(Agent& agent, HWND hwnd, uint32_t flags) {
  if (!IsWindow(hwnd) || GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId())
    return false;
  if (flags == 0) {
    Unsubclass(agent, hwnd);
    return true;
  }
  if (!GetPropA(hwnd, kProcProperty)) {
    auto old = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    if (!old || !SetPropA(hwnd, kProcProperty, reinterpret_cast<HANDLE>(old))) return false;
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Subclassed));
    agent.subclassed.push_back(hwnd);
  }
  SetPropA(hwnd, kFlagsProperty, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(flags)));
  return true;
}

LRESULT CALLBACK Subclassed(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto old = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kProcProperty));
  const auto flags =
      static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetPropA(hwnd, kFlagsProperty)));
  Agent* agent = ThisThreadsAgent();
  uint32_t report = 0;
  if (agent && agent->server) {
    report = flags & wire::kWatchAll;
    if ((flags & wire::kWatchMouse) && msg >= kFirstMouseMessage && msg <= kLastMouseMessage &&
        !InSendMessage()) {
      report |= wire::kWatchMouse;
    }
  }
  if (report != 0) {
    const wire::MessageArgs args{U(hwnd), msg, wParam, lParam, report};
    wire::Verdict verdict{};
    bool given = false;
    agent->verdicts.emplace_back(&verdict, &given);
    DWORD_PTR answer = 0;
    const bool told = Tell(*agent, wire::kMessage, &args, sizeof args, &answer);
    agent->verdicts.pop_back();
    if (told && answer == 1 && given) {
      if (verdict.noPass) {
        if (msg == WM_NCDESTROY) Unsubclass(*agent, hwnd);
        return static_cast<LRESULT>(verdict.result);
      }
      msg = verdict.msg;
      wParam = static_cast<WPARAM>(verdict.wParam);
      lParam = static_cast<LPARAM>(verdict.lParam);
    }
  }
  if (msg == WM_NCDESTROY && agent) Unsubclass(*agent, hwnd);
  if (!old) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return CallWindowProcA(old, hwnd, msg, wParam, lParam);
}

// ---- Keys ----

// The keys of an agent's thread, told to the program: true swallows the key.
bool ReportKey(int& keyCode, int shift) {
  Agent* agent = ThisThreadsAgent();
  if (!agent || !agent->server) return false;
  const wire::KeyArgs args{keyCode, shift};
  DWORD_PTR answer = 0;
  if (!Tell(*agent, wire::kKey, &args, sizeof args, &answer)) return false;
  if (answer & 1) return true;
  if (const int replacement = static_cast<int>((answer >> 8) & 0xFF); replacement != 0)
    keyCode = replacement;
  return false;
}

void SetKeyboard(Agent& agent, bool on) {
  namespace native = platform::win32::native;
  if (on && !agent.keyboard) agent.keyboard = native::InstallKeyboardHook(&ReportKey);
  if (!on && agent.keyboard) {
    native::RemoveKeyboardHook();
    agent.keyboard = false;
  }
}

// ---- Menus ----

LRESULT MenuCall(const wire::MenuArgs& a, const std::string& text, std::string& answer) {
  namespace native = platform::win32::native;
  switch (a.op) {
    case wire::kGetMenu:
      return U(reinterpret_cast<HWND>(GetMenu(W(a.hwnd))));
    case wire::kSetMenu:
      return SetMenu(W(a.hwnd), M(a.menu));
    case wire::kCreatePopup:
      return native::CreatePopupMenu();
    case wire::kDestroyMenu:
      return native::DestroyMenu(a.menu);
    case wire::kGetSubMenu:
      return native::GetSubMenu(a.menu, static_cast<int>(a.position));
    case wire::kItemCount:
      return native::GetMenuItemCount(a.menu);
    case wire::kItemId:
      return native::GetMenuItemID(a.menu, static_cast<int>(a.position));
    case wire::kItemString:
      answer = native::GetMenuStringA(a.menu, a.position, a.flags);
      return static_cast<LRESULT>(answer.size());
    case wire::kItemState:
      return native::GetMenuState(a.menu, a.position, a.flags);
    case wire::kAppend:
      return native::AppendMenuA(a.menu, a.flags, a.idOrSubmenu, text);
    case wire::kInsert:
      return native::InsertMenuA(a.menu, a.position, a.flags, a.idOrSubmenu, text);
    case wire::kModify:
      return native::ModifyMenuA(a.menu, a.position, a.flags, a.idOrSubmenu, text);
    case wire::kDelete:
      return native::DeleteMenu(a.menu, a.position, a.flags);
    case wire::kRemove:
      return native::RemoveMenu(a.menu, a.position, a.flags);
    case wire::kCheck:
      return native::CheckMenuItem(a.menu, a.position, a.flags);
    case wire::kEnable:
      return native::EnableMenuItem(a.menu, a.position, a.flags);
    case wire::kDrawBar:
      return native::DrawMenuBar(a.hwnd);
    default:
      return 0;
  }
}

// ---- The agent ----

DWORD WINAPI WatchProgram(void* data) {
  auto* agent = static_cast<Agent*>(data);
  HANDLE waits[2] = {agent->program, agent->stop};
  if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0)
    PostMessageA(agent->hwnd, kProgramGone, 0, 0);
  return 0;
}

// Lets go of everything the program asked for: its windows see their messages unreported.
void LetGo(Agent& agent) {
  agent.server = nullptr;
  while (!agent.subclassed.empty()) Unsubclass(agent, agent.subclassed.back());
  SetKeyboard(agent, false);
  if (agent.watcher) {
    SetEvent(agent.stop);
    WaitForSingleObject(agent.watcher, INFINITE);
    CloseHandle(agent.watcher);
    agent.watcher = nullptr;
  }
  for (HANDLE* h : {&agent.program, &agent.stop}) {
    if (*h) CloseHandle(*h);
    *h = nullptr;
  }
}

// The program ended without letting go, or is failing: its leftovers are undone here.
void UndoGuard(Agent& agent) {
  const std::string guard = std::move(agent.guard);
  agent.guard.clear();
  LetGo(agent);
  if (!guard.empty()) platform::win32::hook::UndoDescribedLeftovers(guard);
}

LRESULT Handle(Agent& agent, const COPYDATASTRUCT& data) {
  const auto* bytes = static_cast<const char*>(data.lpData);
  auto answerText = [&agent](const std::string& text) {
    Tell(agent, wire::kText, text.data(), text.size(), nullptr);
  };
  switch (data.dwData) {
    case wire::kWatch: {
      wire::WatchArgs a{};
      if (data.cbData != sizeof a) return 0;
      std::memcpy(&a, bytes, sizeof a);
      return Watch(agent, W(a.hwnd), a.flags) ? 1 : 0;
    }
    case wire::kVerdict:
      if (data.cbData != sizeof(wire::Verdict) || agent.verdicts.empty()) return 0;
      std::memcpy(agent.verdicts.back().first, bytes, sizeof(wire::Verdict));
      *agent.verdicts.back().second = true;
      return 1;
    case wire::kEditLine: {
      wire::EditLineArgs a{};
      if (data.cbData != sizeof a) return 0;
      std::memcpy(&a, bytes, sizeof a);
      answerText(platform::win32::native::ReadEditLine(a.hwnd, a.lineFromOne));
      return 1;
    }
    case wire::kMenu: {
      wire::MenuArgs a{};
      if (data.cbData < sizeof a) return 0;
      std::memcpy(&a, bytes, sizeof a);
      std::string answer;
      const LRESULT result =
          MenuCall(a, std::string(bytes + sizeof a, data.cbData - sizeof a), answer);
      if (a.op == wire::kItemString) answerText(answer);
      return result;
    }
    case wire::kMakeChild: {
      wire::ChildArgs a{};
      if (data.cbData != sizeof a) return 0;
      std::memcpy(&a, bytes, sizeof a);
      return platform::win32::native::MakePlainChild(a.parent, a.x, a.y, a.width, a.height);
    }
    case wire::kGuard:
      agent.guard.assign(bytes, data.cbData);
      return 1;
    case wire::kUnguard:
      agent.guard.clear();
      return 1;
    case wire::kRunGuard:
      UndoGuard(agent);
      return 1;
    case wire::kKeyboard: {
      uint32_t on = 0;
      if (data.cbData != sizeof on) return 0;
      std::memcpy(&on, bytes, sizeof on);
      SetKeyboard(agent, on != 0);
      return 1;
    }
    case wire::kBye:
      agent.guard.clear();
      LetGo(agent);
      return 1;
    default:
      return 0;
  }
}

LRESULT CALLBACK AgentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Agent* agent = ThisThreadsAgent();
  if (agent && agent->hwnd == hwnd) {
    if (msg == WM_COPYDATA && agent->server && reinterpret_cast<HWND>(wParam) == agent->server) {
      return Handle(*agent, *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    }
    if (msg == kProgramGone) {
      UndoGuard(*agent);
      return 0;
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The program says hello from `server` in process `programId`: this thread gets its agent
// (a fresh one for a new program), which announces itself.
void Hello(HWND server, DWORD programId) {
  // Kept loaded for the life of the process: windows may be subclassed to it when the program
  // unhooks or ends.
  char path[MAX_PATH];
  if (GetModuleFileNameA(self, path, MAX_PATH)) LoadLibraryA(path);

  Agent* agent = ThisThreadsAgent();
  if (!agent) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = AgentProc;
    wc.hInstance = self;
    wc.lpszClassName = kAgentClass;
    RegisterClassExA(&wc);
    agent = new Agent;
    {
      std::lock_guard<std::mutex> hold(agentsLock);
      agents[GetCurrentThreadId()] = agent;
    }
    agent->hwnd =
        CreateWindowExA(0, kAgentClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, self, nullptr);
  }
  if (agent->server != server) {
    agent->guard.clear();
    LetGo(*agent);
    agent->server = server;
    agent->program = OpenProcess(SYNCHRONIZE, FALSE, programId);
    agent->stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (agent->program && agent->stop)
      agent->watcher = CreateThread(nullptr, 0, WatchProgram, agent, 0, nullptr);
  }
  const wire::ReadyArgs ready{U(agent->hwnd), static_cast<uint32_t>(GetCurrentThreadId())};
  Tell(*agent, wire::kReady, &ready, sizeof ready, nullptr);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    PallionLoaderProc(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT hello = RegisterWindowMessageA(wire::kHelloMessage);
  if (code == HC_ACTION) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (sent->message == hello)
      Hello(reinterpret_cast<HWND>(sent->wParam), static_cast<DWORD>(sent->lParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    self = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}
