// The window tree, messages, the message loop, timers and processes of the simulated desktop.
#include "platform/sim/desktop.h"

#include <algorithm>
#include <cstring>

#include "platform/leftovers.h"
#include "platform/sim/state.h"

namespace platform::sim {

namespace {

constexpr UINT kSizeRestored = 0;
constexpr UINT kSizeMinimized = 1;
constexpr UINT kSizeMaximized = 2;
constexpr LRESULT kMaActivate = 1;
constexpr LRESULT kHtClient = 1;
constexpr LRESULT kHtCaption = 2;
constexpr LRESULT kHtBorder = 18;
constexpr LRESULT kHtNowhere = 0;
constexpr uint64_t kDoEventsStep = 10;
constexpr int kBusyDispatches = 10000;
constexpr UINT kMinTimer = 10;
constexpr UINT kMaxTimer = 0x7FFFFFFF;
constexpr ptrdiff_t kPostLimit = 10000;
constexpr int kUseDefault = static_cast<int>(0x80000000u);  // CW_USEDEFAULT
constexpr int kCascadeStep = 26;
constexpr int kCascadeSteps = 8;

// Messages whose parameters carry pointers: they cannot be posted.
bool CarriesPointer(UINT msg) {
  switch (msg) {
    case WM_CREATE:
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETMINMAXINFO:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case 0x004A:  // WM_COPYDATA
    case WM_NCCREATE:
    case WM_NCCALCSIZE:
    case EM_GETSEL:
    case 0x00B2:  // EM_GETRECT
    case 0x00B3:  // EM_SETRECT
    case 0x00B4:  // EM_SETRECTNP
    case EM_REPLACESEL:
    case EM_GETLINE:
    case 0x00CB:  // EM_SETTABSTOPS
    case 0x0143:  // CB_ADDSTRING
    case 0x0148:  // CB_GETLBTEXT
    case 0x014A:  // CB_INSERTSTRING
    case 0x014C:  // CB_FINDSTRING
    case 0x014D:  // CB_SELECTSTRING
    case 0x0158:  // CB_FINDSTRINGEXACT
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_GETTEXT:
    case 0x018C:  // LB_SELECTSTRING
    case 0x018D:  // LB_DIR
    case LB_FINDSTRING:
    case 0x0191:  // LB_GETSELITEMS
    case 0x0192:  // LB_SETTABSTOPS
    case 0x0198:  // LB_GETITEMRECT
    case LB_FINDSTRINGEXACT:
    case WM_MDICREATE:
      return true;
    default:
      return false;
  }
}

// The layouts of NCCALCSIZE_PARAMS and MINMAXINFO, for the procedures that read them.
struct NcCalcSizeParams {
  RECT rects[3];
  void* windowPos = nullptr;
};
struct MinMaxInfo {
  POINT reserved;
  POINT maxSize;
  POINT maxPosition;
  POINT minTrackSize;
  POINT maxTrackSize;
};

int Clamp(int64_t v, int64_t lo, int64_t hi) {
  return static_cast<int>(std::clamp(v, lo, hi));
}

bool IsLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}
int DaysIn(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[(m - 1 + 12) % 12];
}

// A child's place in its parent's list. A walk over the children asks for the one it found last,
// which the hint gives at once; anything else is searched.
std::vector<HWND>::iterator ChildPosition(Window& parent, HWND child) {
  std::vector<HWND>& list = parent.children;
  if (parent.walkHint < list.size() && list[parent.walkHint] == child) {
    return list.begin() + static_cast<long>(parent.walkHint);
  }
  return std::find(list.begin(), list.end(), child);
}

}  // namespace

std::string ToString(Event::Kind kind) {
  switch (kind) {
    case Event::Kind::Sound:
      return "Sound";
    case Event::Kind::SystemSound:
      return "SystemSound";
    case Event::Kind::ShellOpen:
      return "ShellOpen";
    case Event::Kind::ColorDialog:
      return "ColorDialog";
    case Event::Kind::OpenDialog:
      return "OpenDialog";
    case Event::Kind::SaveDialog:
      return "SaveDialog";
    case Event::Kind::MessageBox:
      return "MessageBox";
    case Event::Kind::InputBox:
      return "InputBox";
    case Event::Kind::HttpGet:
      return "HttpGet";
    case Event::Kind::Print:
      return "Print";
    case Event::Kind::PopupMenu:
      return "PopupMenu";
    case Event::Kind::ProcessExit:
      return "ProcessExit";
  }
  return "?";
}

Desktop::Desktop(DesktopOptions options) : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.options = options;
  auto w = std::make_unique<Window>();
  w->hwnd = s.NewWindowHandle();
  w->className = "#32769";
  w->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
  w->rect = RECT{0, 0, options.width, options.height};
  w->background = kDesktopColor;
  w->inList = true;
  s.desktop = w->hwnd;
  s.AddWindow(std::move(w));
}

Desktop::~Desktop() = default;

// ---- Processes ----

DWORD Desktop::CreateProcess(const std::string& name) {
  State& s = *state_;
  DWORD id = s.nextProcessId;
  s.nextProcessId += 4;
  Process p;
  p.name = name;
  p.nextAddress = 0x00410000u + static_cast<uint32_t>(s.processes.size()) * 0x01000000u;
  s.processes[id] = std::move(p);
  s.current = id;
  return id;
}

void Desktop::SetCurrentProcess(DWORD processId) {
  state_->current = processId;
}
DWORD Desktop::CurrentProcess() const {
  return state_->current;
}

bool Desktop::ProcessAlive(DWORD processId) const {
  auto it = state_->processes.find(processId);
  return it != state_->processes.end() && it->second.alive;
}

std::string Desktop::ProcessName(DWORD processId) const {
  auto it = state_->processes.find(processId);
  if (it == state_->processes.end()) return processId == 0 ? "system" : "";
  return it->second.name;
}

Desktop::ProcessScope::ProcessScope(Desktop& desktop, DWORD processId)
    : desktop_(desktop), previous_(desktop.CurrentProcess()) {
  desktop_.SetCurrentProcess(processId);
}
Desktop::ProcessScope::~ProcessScope() {
  desktop_.SetCurrentProcess(previous_);
}

DWORD Desktop::GetCurrentProcessId() {
  return state_->current;
}

bool Desktop::ProcessEnded() {
  DWORD p = state_->current;
  return p != 0 && !ProcessAlive(p);
}

void Desktop::ExitProcess() {
  EndProcess(state_->current, "");
}

void Desktop::KillProcess(DWORD processId) {
  EndProcess(processId, "killed");
}

void Desktop::EndProcess(DWORD p, const std::string& how) {
  State& s = *state_;
  auto it = s.processes.find(p);
  if (it == s.processes.end() || !it->second.alive) return;
  it->second.alive = false;
  std::vector<Guard> left;
  for (auto g = s.guards.begin(); g != s.guards.end();) {
    if (g->second.process == p) left.push_back(g->second);
    g = g->second.process == p || g->second.host == p ? s.guards.erase(g) : std::next(g);
  }
  auto undoLeft = [&] {
    for (const Guard& guard : left) {
      if (!ProcessAlive(guard.host)) continue;
      ProcessScope scope(*this, guard.host);
      UndoLeftovers(*this, guard.leftovers);
    }
  };
  // A process that ends by itself has what it left with others undone there while its windows
  // still stand; a killed one runs nothing more, and the others notice its end only once its
  // windows are gone.
  const bool killed = how == "killed";
  if (!killed) undoLeft();
  // Its windows go without running its procedures; windows of others inside them go too.
  std::vector<HWND> mine;
  for (auto& [h, w] : s.windows)
    if (w->process == p) mine.push_back(h);
  for (HWND h : mine)
    if (Find(h)) DestroyInternal(h);
  if (killed) undoLeft();
  std::erase_if(s.timers, [p](const Timer& t) { return t.process == p; });
  std::erase_if(s.scheduled, [p](const Scheduled& a) { return a.process == p; });
  std::erase_if(s.watches, [p](const auto& e) { return e.second.process == p; });
  std::erase_if(s.keyHooks, [p](const auto& e) { return e.second.process == p; });
  std::erase_if(s.mouseHooks, [p](const auto& e) { return e.second.process == p; });
  std::erase_if(s.locks, [p](const auto& e) { return e.second == p; });
  std::erase_if(s.posted, [p](const Posted& m) { return m.hwnd == 0 && m.process == p; });
  std::erase_if(s.input, [p](const Posted& m) { return m.queue == p; });
  if (s.clipOpen && s.clipOpenProcess == p) s.clipOpen = false;
  it->second.memory.clear();
  ProcessScope scope(*this, p);
  Record(Event::Kind::ProcessExit, it->second.name, how);
}

HANDLE Desktop::GuardLeftovers(const Leftovers& leftovers) {
  State& s = *state_;
  if (ProcessEnded()) return 0;
  Window* home = Need(leftovers.home);
  if (!home) return 0;
  // Only another living process can undo them.
  const DWORD host = home->process;
  if (host == 0 || host == s.current || !ProcessAlive(host)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  HANDLE h = s.NewHandle();
  s.guards[h] = Guard{leftovers, s.current, host};
  return h;
}

bool Desktop::CreateNamedLock(const std::string& name) {
  State& s = *state_;
  if (ProcessEnded()) return false;
  auto key = AnsiLower(name);
  auto it = s.locks.find(key);
  if (it != s.locks.end()) {
    if (it->second == s.current) return true;
    if (ProcessAlive(it->second)) {
      SetLastError(183);  // already exists
      return false;
    }
  }
  s.locks[key] = s.current;
  return true;
}

void Desktop::SetLastError(DWORD error) {
  state_->lastError = error;
}
DWORD Desktop::GetLastError() {
  return state_->lastError;
}

// ---- Window lookup and geometry ----

Window* Desktop::Find(HWND hwnd) const {
  return state_->FindWindow(hwnd);
}

Window* Desktop::Need(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

bool Desktop::IsWindow(HWND hwnd) {
  return Find(hwnd) != nullptr;
}
uint64_t Desktop::WindowTreeVersion() {
  return state_->treeVersion;
}
HWND Desktop::GetDesktopWindow() {
  return state_->desktop;
}

RECT Desktop::Insets(const Window& w) const {
  RECT r;
  int border = 0;
  if (w.style & WS_THICKFRAME) {
    border = kThickFrame;
  } else if (w.style & WS_DLGFRAME) {
    border = kDialogFrame;
  } else if (w.style & WS_BORDER) {
    border = kThinBorder;
  }
  r.left = r.right = r.bottom = border;
  r.top = border;
  if ((w.style & WS_CAPTION) == WS_CAPTION) r.top += kCaptionHeight;
  if (!(w.style & WS_CHILD) && w.menu != 0) r.top += kMenuBarHeight;
  return r;
}

POINT Desktop::WindowOrigin(const Window& w) const {
  POINT p{w.rect.left, w.rect.top};
  if (Window* parent = Find(w.parent)) {
    POINT o = ClientOrigin(*parent);
    p.x += o.x;
    p.y += o.y;
  }
  return p;
}

POINT Desktop::ClientOrigin(const Window& w) const {
  POINT p = WindowOrigin(w);
  RECT in = Insets(w);
  return POINT{p.x + in.left, p.y + in.top};
}

RECT Desktop::ClientRectIn(const Window& w) const {
  RECT in = Insets(w);
  RECT r{w.rect.left + in.left, w.rect.top + in.top, w.rect.right - in.right,
         w.rect.bottom - in.bottom};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

bool Desktop::IsDescendant(HWND ancestor, HWND hwnd) const {
  for (Window* w = Find(hwnd); w; w = Find(w->parent))
    if (w->parent == ancestor) return true;
  return false;
}

// ---- Z-order ----

void Desktop::Unlink(Window& w) {
  ++state_->treeVersion;
  if (Window* p = Find(w.parent)) std::erase(p->children, w.hwnd);
}

void Desktop::LinkTop(Window& w) {
  Window* p = Find(w.parent);
  if (!p) return;
  std::erase(p->children, w.hwnd);
  size_t at = 0;
  if (w.parent == state_->desktop && !(w.exStyle & WS_EX_TOPMOST)) {
    while (at < p->children.size()) {
      Window* c = Find(p->children[at]);
      if (!c || !(c->exStyle & WS_EX_TOPMOST)) break;
      ++at;
    }
  }
  p->children.insert(p->children.begin() + static_cast<ptrdiff_t>(at), w.hwnd);
  ++state_->treeVersion;
}

void Desktop::LinkBottom(Window& w) {
  Window* p = Find(w.parent);
  if (!p) return;
  std::erase(p->children, w.hwnd);
  w.exStyle &= ~WS_EX_TOPMOST;
  p->children.push_back(w.hwnd);
  ++state_->treeVersion;
}

void Desktop::LinkBelow(Window& w, HWND sibling) {
  Window* p = Find(w.parent);
  Window* sib = Find(sibling);
  if (!p || !sib || sibling == w.hwnd) return;
  if (w.parent == state_->desktop) {
    bool sibTop = (sib->exStyle & WS_EX_TOPMOST) != 0;
    if (!sibTop) w.exStyle &= ~WS_EX_TOPMOST;
    if (sibTop && !(w.exStyle & WS_EX_TOPMOST)) {
      LinkTop(w);  // a normal window never joins the topmost band
      return;
    }
  }
  std::erase(p->children, w.hwnd);
  auto it = std::find(p->children.begin(), p->children.end(), sibling);
  p->children.insert(it == p->children.end() ? it : it + 1, w.hwnd);
  ++state_->treeVersion;
}

// ---- Classes and creation ----

bool Desktop::RegisterClass(const WindowClass& cls) {
  State& s = *state_;
  if (cls.name.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  auto key = AnsiLower(cls.name);
  if (s.classes.count(key)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return false;
  }
  s.classes[key] = cls;
  return true;
}

HWND Desktop::CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& title,
                             DWORD style, int x, int y, int width, int height, HWND parent, UINT id,
                             WNDPROC proc) {
  State& s = *state_;
  if (ProcessEnded()) return 0;
  // A class the program registered comes before the system's class of the same name.
  auto cls = s.classes.find(AnsiLower(className));
  std::shared_ptr<SystemControl> control;
  WindowClass systemClass;
  if (cls == s.classes.end()) {
    control = MakeSystemControl(*this, className, style, title);
    if (!control) {
      SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
      return 0;
    }
    for (const std::string& name : SystemControlClasses())
      if (AnsiLower(name) == AnsiLower(className)) systemClass.name = name;
  }
  const WindowClass& found = control ? systemClass : cls->second;
  if ((style & WS_CHILD) && parent == 0) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return 0;
  }
  if (parent != 0 && !Find(parent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  auto owned = std::make_unique<Window>();
  Window& w = *owned;
  w.hwnd = s.NewWindowHandle();
  w.className = found.name;
  w.control = std::move(control);
  w.text = title;
  w.style = style & ~WS_VISIBLE;
  w.exStyle = exStyle;
  w.id = (style & WS_CHILD) ? id : 0;
  w.proc = proc ? proc : found.proc;
  w.background = found.background;
  w.process = s.current;
  if (style & WS_CHILD) {
    w.parent = parent;
  } else {
    w.parent = s.desktop;
    if (parent != 0 && parent != s.desktop) {
      // The owner is the top-level window of the given one.
      HWND root = GetAncestor(parent, GA_ROOT);
      w.owner = root ? root : parent;
      if (Window* o = Find(w.owner); o && (o->exStyle & WS_EX_TOPMOST)) w.exStyle |= WS_EX_TOPMOST;
    }
  }
  // CW_USEDEFAULT: an overlapped window gets a cascaded place (y then unused) and a default
  // size; pop-ups and children get 0.
  const bool overlapped = !(style & (WS_POPUP | WS_CHILD));
  if (x == kUseDefault) {
    if (overlapped) {
      x = y = kCascadeStep * (s.defaultPlacements++ % kCascadeSteps);
    } else {
      x = y = 0;
    }
  }
  if (y == kUseDefault) y = 0;
  if (width == kUseDefault) {
    if (overlapped) {
      width = s.options.width * 3 / 4;
      height = s.options.height * 3 / 4;
    } else {
      width = height = 0;
    }
  }
  if (height == kUseDefault) height = 0;
  width = Clamp(width, 0, 32767);
  height = Clamp(height, 0, 32767);
  x = Clamp(x, -32768, 32767);
  y = Clamp(y, -32768, 32767);
  w.rect = RECT{x, y, x + width, y + height};
  if (style & WS_MAXIMIZE) {
    Window* p = Find(w.parent);
    RECT pc = ClientRectIn(*p);
    w.rect = RECT{0, 0, pc.Width(), pc.Height()};
  }
  HWND hwnd = w.hwnd;
  s.AddWindow(std::move(owned));

  if (overlapped || (style & WS_THICKFRAME)) {
    RECT screen = ClientRectIn(*Find(s.desktop));
    MinMaxInfo info;
    info.maxSize = POINT{screen.Width(), screen.Height()};
    info.minTrackSize = POINT{112, 27};
    info.maxTrackSize = POINT{screen.Width() + 12, screen.Height() + 12};
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    if (!Find(hwnd)) return 0;
  }
  if (!SendMessage(hwnd, WM_NCCREATE, 0, 0)) {
    if (Find(hwnd)) FreeWindow(hwnd);
    return 0;
  }
  Window* wp = Find(hwnd);
  if (!wp) return 0;
  wp->inList = true;
  Window* pw = Find(wp->parent);
  if (!pw) {
    FreeWindow(hwnd);
    return 0;
  }
  if ((wp->style & WS_CHILD) && !(wp->exStyle & WS_EX_MDICHILD) && !(wp->style & WS_MAXIMIZE)) {
    pw->children.push_back(hwnd);
    ++s.treeVersion;
  } else {
    LinkTop(*wp);
  }
  RECT frame = wp->rect;
  SendMessage(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&frame));
  if (!Find(hwnd)) return 0;
  if (SendMessage(hwnd, WM_CREATE, 0, 0) == -1) {
    if (Find(hwnd)) DestroyInternal(hwnd);
    return 0;
  }
  if (!(wp = Find(hwnd))) return 0;
  RECT c = ClientRectIn(*wp);
  wp->reportedSize = POINT{c.Width(), c.Height()};
  wp->reportedOrigin = POINT{c.left, c.top};
  UINT sizeType = (style & WS_MAXIMIZE) ? kSizeMaximized : kSizeRestored;
  SendMessage(hwnd, WM_SIZE, sizeType, MAKELPARAM(c.Width(), c.Height()));
  SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(c.left, c.top));
  if (!(wp = Find(hwnd))) return 0;
  if ((wp->style & WS_CHILD) && !(wp->exStyle & WS_EX_NOPARENTNOTIFY))
    SendMessage(wp->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, static_cast<int>(wp->id)),
                static_cast<LPARAM>(hwnd));
  if (!Find(hwnd)) return 0;
  if (style & WS_VISIBLE) {
    ShowWindow(hwnd, (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOW);
    // Showing does not activate a child; a new MDI child is activated by being put on top.
    if (Find(hwnd) && (exStyle & WS_EX_MDICHILD))
      SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  return Find(hwnd) ? hwnd : 0;
}

HWND Desktop::CreateChildInOwner(HWND parent, int x, int y, int width, int height) {
  const Window* p = Need(parent);
  if (!p) return 0;
  ProcessScope scope(*this, p->process);
  return CreateWindowEx(0, "Static", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width,
                        height, parent, 0, nullptr);
}

// ---- Destruction ----

bool Desktop::DestroyWindow(HWND hwnd) {
  State& s = *state_;
  Window* w = Need(hwnd);
  if (!w) return false;
  if (hwnd == s.desktop || (s.current != 0 && w->process != s.current)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  if (w->destroying) return false;
  DestroyInternal(hwnd);
  return true;
}

void Desktop::DestroyInternal(HWND hwnd) {
  State& s = *state_;
  Window* w = Find(hwnd);
  if (!w || w->destroying) return;
  // Owned windows first, each completely.
  std::vector<HWND> owned;
  for (auto& [h, o] : s.windows)
    if (o->owner == hwnd) owned.push_back(h);
  for (HWND h : owned) DestroyInternal(h);
  if (!(w = Find(hwnd)) || w->destroying) return;
  bool child = (w->style & WS_CHILD) != 0;
  if (child && !(w->exStyle & WS_EX_NOPARENTNOTIFY))
    SendMessage(w->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, static_cast<int>(w->id)),
                static_cast<LPARAM>(hwnd));
  if (!(w = Find(hwnd)) || w->destroying) return;
  if (w->style & WS_VISIBLE) {
    if (child) SendMessage(hwnd, WM_SHOWWINDOW, FALSE, 0);
    if (!(w = Find(hwnd))) return;
    w->style &= ~WS_VISIBLE;
    if (!child || IsWindowVisible(w->parent)) {
      SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, 0);
      SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, 0);
    }
    if (!(w = Find(hwnd))) return;
  }
  if (s.focus == hwnd || IsDescendant(hwnd, s.focus)) MoveFocus(child ? w->parent : 0);
  if (s.active == hwnd) s.active = 0;
  SendDestroy(hwnd);
  if (s.capture == hwnd || IsDescendant(hwnd, s.capture)) {
    HWND old = s.capture;
    s.capture = 0;
    SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  }
  FreeWindow(hwnd);
  if (s.active == 0) {
    // The next visible top-level window becomes active.
    if (Window* d = Find(s.desktop)) {
      for (HWND h : d->children) {
        Window* c = Find(h);
        if (c && (c->style & WS_VISIBLE) && !c->destroying) {
          Activate(h);
          break;
        }
      }
    }
  }
}

void Desktop::SendDestroy(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return;
  w->destroying = true;
  for (HWND c : w->children)
    if (Window* cw = Find(c)) cw->destroying = true;
  SendMessage(hwnd, WM_DESTROY, 0, 0);
  if (!(w = Find(hwnd))) return;
  std::vector<HWND> kids = w->children;
  for (HWND c : kids) SendDestroy(c);
}

void Desktop::FreeWindow(HWND hwnd) {
  State& s = *state_;
  Window* w = Find(hwnd);
  if (!w) return;
  w->destroying = true;
  std::vector<HWND> kids = w->children;
  for (HWND c : kids) FreeWindow(c);
  if (!(w = Find(hwnd))) return;
  for (HWND c : std::vector<HWND>(w->children)) FreeWindow(c);
  SendMessage(hwnd, WM_NCDESTROY, 0, 0);
  if (!(w = Find(hwnd))) return;
  Unlink(*w);
  std::erase_if(s.timers, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
  std::erase_if(s.posted, [hwnd](const Posted& m) { return m.hwnd == hwnd; });
  std::erase_if(s.input, [hwnd](const Posted& m) { return m.hwnd == hwnd; });
  std::erase_if(s.watches, [hwnd](const auto& e) { return e.second.hwnd == hwnd; });
  std::erase_if(s.mouseHooks, [hwnd](const auto& e) { return e.second.hwnd == hwnd; });
  if (s.clipOwner == hwnd) s.clipOwner = 0;
  if (s.focus == hwnd) s.focus = 0;
  if (s.capture == hwnd) s.capture = 0;
  if (s.active == hwnd) s.active = 0;
  if (!(w->style & WS_CHILD) && w->menu != 0) DestroyMenu(w->menu);
  for (auto& [h, o] : s.windows)
    if (o->owner == hwnd) o->owner = 0;
  s.RemoveWindow(hwnd);
}

// ---- Tree queries ----

HWND Desktop::GetParent(HWND hwnd) {
  Window* w = Need(hwnd);
  if (!w) return 0;
  if (w->style & WS_CHILD) return w->parent;
  return w->owner;
}

HWND Desktop::GetAncestor(HWND hwnd, UINT flags) {
  State& s = *state_;
  Window* w = Need(hwnd);
  if (!w || hwnd == s.desktop) return 0;
  if (flags == GA_PARENT) return w->parent;
  while (w->parent != s.desktop && Find(w->parent)) w = Find(w->parent);
  if (flags == 3) {  // GA_ROOTOWNER
    while (w->owner != 0 && Find(w->owner)) w = Find(w->owner);
  }
  return w->hwnd;
}

HWND Desktop::SetParent(HWND child, HWND newParent) {
  State& s = *state_;
  Window* w = Need(child);
  if (!w) return 0;
  if (newParent == 0) newParent = s.desktop;
  if (!Find(newParent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (child == s.desktop || newParent == child || IsDescendant(child, newParent)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  HWND old = w->parent;
  bool wasVisible = (w->style & WS_VISIBLE) != 0;
  // A child window re-parented into another process's window joins the two processes' input
  // state: focus and activation are shared from then on.
  if (w->style & WS_CHILD) {
    if (Window* p = Find(newParent); p && p->process != w->process) {
      JoinInput(w->process, p->process);
    }
  }
  // As the system does: a visible window is hidden, moved into its new parent (keeping its
  // parent-relative place, activated there as a child) and shown again.
  if (wasVisible) {
    ShowWindow(child, SW_HIDE);
    if (!(w = Find(child))) return old;
  }
  Unlink(*w);
  w->parent = newParent;
  if (newParent == s.desktop && (w->style & WS_CHILD)) w->owner = 0;
  LinkTop(*w);
  // The new parent's window is told where the window is, even at the same relative place.
  w->reportedOrigin = POINT{INT32_MIN, INT32_MIN};
  SetWindowPos(child, HWND_TOP, w->rect.left, w->rect.top, 0, 0,
               SWP_NOSIZE | ((w->style & WS_CHILD) ? 0 : SWP_NOACTIVATE));
  if (wasVisible && Find(child)) ShowWindow(child, SW_SHOW);
  return old;
}

HWND Desktop::GetWindow(HWND hwnd, UINT cmd) {
  Window* w = Need(hwnd);
  if (!w) return 0;
  if (cmd == GW_CHILD) return w->children.empty() ? 0 : w->children.front();
  if (cmd == GW_OWNER) return w->owner;
  Window* p = Find(w->parent);
  if (!p) return 0;
  auto& list = p->children;
  auto it = ChildPosition(*p, hwnd);
  if (it == list.end()) return 0;
  p->walkHint = static_cast<size_t>(it - list.begin());
  switch (cmd) {
    case GW_HWNDFIRST:
      return list.front();
    case GW_HWNDLAST:
      return list.back();
    case GW_HWNDNEXT:
      return it + 1 == list.end() ? 0 : *(it + 1);
    case GW_HWNDPREV:
      return it == list.begin() ? 0 : *(it - 1);
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
  }
}

HWND Desktop::FindWindowEx(HWND parent, HWND childAfter, const char* className, const char* title) {
  State& s = *state_;
  if (parent == 0) parent = s.desktop;
  Window* p = Need(parent);
  if (!p) return 0;
  // Atoms (small integers in the pointer) name no class here.
  if (className && reinterpret_cast<uintptr_t>(className) < 0x10000) return 0;
  size_t start = 0;
  if (childAfter != 0) {
    auto it = ChildPosition(*p, childAfter);
    if (it == p->children.end()) return 0;
    start = static_cast<size_t>(it - p->children.begin()) + 1;
  }
  for (size_t i = start; i < p->children.size(); ++i) {
    Window* c = Find(p->children[i]);
    if (!c) continue;
    if (className && (*className == 0 || !EqualNoCase(c->className, className))) continue;
    if (title && !EqualNoCase(c->text, title)) continue;
    p->walkHint = i;
    return c->hwnd;
  }
  return 0;
}

bool Desktop::EnumChildWindows(HWND parent, const std::function<bool(HWND)>& callback) {
  State& s = *state_;
  if (parent == 0) parent = s.desktop;
  Window* p = Need(parent);
  if (!p) return false;
  std::vector<HWND> order;
  std::function<void(const Window&)> walk = [&](const Window& w) {
    for (HWND c : w.children) {
      order.push_back(c);
      if (Window* cw = Find(c)) walk(*cw);
    }
  };
  walk(*p);
  if (order.empty()) return false;
  for (HWND h : order) {
    if (!Find(h)) continue;
    if (!callback(h)) return false;
  }
  return true;
}

std::string Desktop::GetClassName(HWND hwnd) {
  Window* w = Need(hwnd);
  return w ? w->className : std::string();
}

int Desktop::GetWindowTextLength(HWND hwnd) {
  Window* w = Need(hwnd);
  if (!w) return 0;
  if (w->process == state_->current)
    return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
  return static_cast<int>(w->text.size());
}

std::string Desktop::GetWindowText(HWND hwnd) {
  Window* w = Need(hwnd);
  if (!w) return {};
  if (w->process != state_->current) return w->text;
  size_t size = std::max<size_t>(65536, w->text.size() + 1);
  for (;;) {
    std::vector<char> buf(size, '\0');
    LRESULT n = SendMessage(hwnd, WM_GETTEXT, size, reinterpret_cast<LPARAM>(buf.data()));
    size_t got = n < 0 ? 0 : std::min(static_cast<size_t>(n), size - 1);
    if (got < size - 1 || size >= (size_t{1} << 26)) return std::string(buf.data(), got);
    size *= 4;  // the text may have been cut: ask again with room for more
  }
}

bool Desktop::SetWindowText(HWND hwnd, const std::string& text) {
  Window* w = Need(hwnd);
  if (!w) return false;
  if (w->process != state_->current && (w->style & WS_CHILD)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

intptr_t Desktop::GetWindowLong(HWND hwnd, int index) {
  Window* w = Need(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWL_STYLE:
      return static_cast<intptr_t>(static_cast<int32_t>(w->style));
    case GWL_EXSTYLE:
      return static_cast<intptr_t>(static_cast<int32_t>(w->exStyle));
    case GWL_ID:
      return static_cast<intptr_t>(w->id);
    case GWL_USERDATA:
      return w->userData;
    default:
      SetLastError(1413);
      return 0;  // invalid index
  }
}

intptr_t Desktop::SetWindowLong(HWND hwnd, int index, intptr_t value) {
  Window* w = Need(hwnd);
  if (!w) return 0;
  intptr_t old = GetWindowLong(hwnd, index);
  switch (index) {
    case GWL_STYLE:
      w->style = static_cast<DWORD>(value);
      break;
    case GWL_EXSTYLE:
      w->exStyle = static_cast<DWORD>(value);
      break;
    case GWL_ID:
      w->id = static_cast<UINT>(value);
      break;
    case GWL_USERDATA:
      w->userData = value;
      break;
    default:
      return 0;
  }
  return old;
}

// ---- Position and size ----

void Desktop::SendPositionChanged(HWND hwnd) {
  SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, 0);
}

bool Desktop::MoveWindow(HWND hwnd, int x, int y, int width, int height, bool) {
  return SetWindowPos(hwnd, 0, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Desktop::SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  State& s = *state_;
  Window* w = Need(hwnd);
  if (!w) return false;
  if (hwnd == s.desktop || insertAfter == s.desktop) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  bool child = (w->style & WS_CHILD) != 0;
  bool band = insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST;
  if (!(flags & SWP_NOZORDER)) {
    if (band && child) return true;
    if (!band && insertAfter != HWND_TOP && insertAfter != HWND_BOTTOM) {
      Window* sib = Find(insertAfter);
      if (!sib || sib->parent != w->parent) return true;
    }
  }
  const RECT before = w->rect;
  SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, 0);
  if (!(w = Find(hwnd))) return false;
  if (!(flags & SWP_NOMOVE)) {
    int width = w->rect.Width(), height = w->rect.Height();
    w->rect.left = Clamp(x, -32768, 32767);
    w->rect.top = Clamp(y, -32768, 32767);
    w->rect.right = w->rect.left + width;
    w->rect.bottom = w->rect.top + height;
  }
  if (!(flags & SWP_NOSIZE)) {
    w->rect.right = w->rect.left + Clamp(cx, 0, 32767);
    w->rect.bottom = w->rect.top + Clamp(cy, 0, 32767);
  }
  if (!(flags & SWP_NOZORDER)) {
    if (insertAfter == HWND_TOPMOST) {
      w->exStyle |= WS_EX_TOPMOST;
      LinkTop(*w);
    } else if (insertAfter == HWND_NOTOPMOST) {
      w->exStyle &= ~WS_EX_TOPMOST;
      LinkTop(*w);
    } else if (insertAfter == HWND_TOP) {
      LinkTop(*w);
    } else if (insertAfter == HWND_BOTTOM) {
      LinkBottom(*w);
    } else {
      LinkBelow(*w, insertAfter);
    }
  }
  if ((flags & SWP_FRAMECHANGED) || w->rect.Width() != before.Width() ||
      w->rect.Height() != before.Height()) {
    NcCalcSizeParams params;
    params.rects[0] = w->rect;
    params.rects[1] = before;
    params.rects[2] = ClientRectIn(*w);
    SendMessage(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    if (!(w = Find(hwnd))) return false;
  }
  if (flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
  if (flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
  // Sending a window to the bottom is not undone by activating it: it is not activated.
  bool activate = !(flags & SWP_NOACTIVATE) && !(flags & SWP_HIDEWINDOW) &&
                  (child || (flags & SWP_NOZORDER) || insertAfter != HWND_BOTTOM);
  if (activate && !child) {
    if (!band) LinkTop(*w);
    Activate(hwnd);
  }
  // A child is activated as a child between the two position messages.
  if (activate && child) {
    SendMessage(hwnd, WM_CHILDACTIVATE, 0, 0);
    if (!Find(hwnd)) return true;
  }
  SendPositionChanged(hwnd);
  return true;
}

bool Desktop::BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool Desktop::GetWindowRect(HWND hwnd, RECT& rect) {
  Window* w = Need(hwnd);
  if (!w) return false;
  POINT o = WindowOrigin(*w);
  rect = RECT{o.x, o.y, o.x + w->rect.Width(), o.y + w->rect.Height()};
  return true;
}

bool Desktop::GetClientRect(HWND hwnd, RECT& rect) {
  Window* w = Need(hwnd);
  if (!w) return false;
  RECT c = ClientRectIn(*w);
  rect = RECT{0, 0, c.Width(), c.Height()};
  return true;
}

bool Desktop::ClientToScreen(HWND hwnd, POINT& point) {
  Window* w = Need(hwnd);
  if (!w) return false;
  POINT o = ClientOrigin(*w);
  point.x += o.x;
  point.y += o.y;
  return true;
}

bool Desktop::ScreenToClient(HWND hwnd, POINT& point) {
  Window* w = Need(hwnd);
  if (!w) return false;
  POINT o = ClientOrigin(*w);
  point.x -= o.x;
  point.y -= o.y;
  return true;
}

// ---- Visibility, enabling, activation ----

bool Desktop::ShowWindow(HWND hwnd, int cmd) {
  State& s = *state_;
  Window* w = Need(hwnd);
  if (!w) return false;
  bool was = (w->style & WS_VISIBLE) != 0;
  bool show = cmd != SW_HIDE;
  bool child = (w->style & WS_CHILD) != 0;
  if (show != was || cmd == SW_SHOWNA) SendMessage(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  if (!(w = Find(hwnd))) return was;
  bool sizeChange = false;
  if (cmd == SW_SHOWMAXIMIZED) {
    w->style = (w->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
    if (Window* p = Find(w->parent)) {
      RECT pc = ClientRectIn(*p);
      w->rect = RECT{0, 0, pc.Width(), pc.Height()};
      sizeChange = true;
    }
  } else if (cmd == SW_SHOWMINIMIZED || cmd == SW_MINIMIZE) {
    w->style = (w->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
  } else if (cmd == SW_RESTORE || cmd == SW_SHOWNORMAL) {
    w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
  }
  if (show != was || sizeChange) {
    if (show) {
      w->style |= WS_VISIBLE;
    } else {
      w->style &= ~WS_VISIBLE;
    }
    if (!child || IsWindowVisible(w->parent)) {
      // SW_SHOWNA raises a top-level without activating it; SW_SHOWNOACTIVATE leaves it in place.
      if (!child && show && s.active != hwnd &&
          (cmd == SW_SHOW || cmd == SW_SHOWNORMAL || cmd == SW_SHOWMAXIMIZED || cmd == SW_RESTORE ||
           cmd == SW_SHOWNA)) {
        LinkTop(*w);
      }
      SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, 0);
      SendPositionChanged(hwnd);
    }
  }
  if (!(w = Find(hwnd))) return was;
  if (!show) {
    if (s.focus == hwnd) MoveFocus(child ? w->parent : 0);
    if (s.active == hwnd) {
      s.active = 0;
      if (Window* d = Find(s.desktop)) {
        for (HWND h : d->children) {
          Window* c = Find(h);
          if (c && h != hwnd && (c->style & WS_VISIBLE)) {
            Activate(h);
            break;
          }
        }
      }
    }
  } else if (!child && (cmd == SW_SHOW || cmd == SW_SHOWNORMAL || cmd == SW_SHOWMAXIMIZED ||
                        cmd == SW_RESTORE)) {
    Activate(hwnd);
  }
  return was;
}

bool Desktop::IsWindowVisible(HWND hwnd) {
  State& s = *state_;
  Window* w = Find(hwnd);
  if (!w) return false;
  for (; w; w = Find(w->parent)) {
    if (!(w->style & WS_VISIBLE)) return false;
    if (w->hwnd == s.desktop) break;
  }
  return true;
}

bool Desktop::EnableWindow(HWND hwnd, bool enable) {
  Window* w = Need(hwnd);
  if (!w) return false;
  bool wasDisabled = (w->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable) {
    w->style &= ~WS_DISABLED;
  } else {
    w->style |= WS_DISABLED;
    if (state_->focus == hwnd || IsDescendant(hwnd, state_->focus)) MoveFocus(0);
    if (state_->capture == hwnd) ReleaseCapture();
  }
  SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

bool Desktop::IsWindowEnabled(HWND hwnd) {
  Window* w = Need(hwnd);
  return w && !(w->style & WS_DISABLED);
}

void Desktop::Activate(HWND hwnd) {
  State& s = *state_;
  if (s.active == hwnd) return;
  HWND old = s.active;
  s.active = hwnd;
  if (Window* w = Find(hwnd)) LinkTop(*w);
  if (Find(old)) {
    SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    SendMessage(old, WM_ACTIVATE, 0, static_cast<LPARAM>(hwnd));
  }
  // When activation passes to another thread (here: process), every top-level window of the
  // losing one hears WM_ACTIVATEAPP(FALSE), then every one of the winning one (TRUE); lParam
  // names the other thread.
  if (Window* w = Find(hwnd); w && s.active == hwnd && s.activeProcess != w->process) {
    DWORD gaining = w->process;
    std::optional<DWORD> losing = s.activeProcess;
    s.activeProcess = gaining;
    auto tell = [this](DWORD process, bool active, LPARAM otherThread) {
      State& st = *state_;
      std::vector<HWND> tops;
      if (Window* d = Find(st.desktop))
        for (HWND h : d->children)
          if (Window* t = Find(h); t && t->process == process) tops.push_back(h);
      for (HWND h : tops)
        if (Find(h)) SendMessage(h, WM_ACTIVATEAPP, active ? TRUE : FALSE, otherThread);
    };
    if (losing) tell(*losing, false, static_cast<LPARAM>(gaining + 1));
    tell(gaining, true, losing ? static_cast<LPARAM>(*losing + 1) : 0);
  }
  if (Find(hwnd) && s.active == hwnd) {
    SendMessage(hwnd, WM_NCACTIVATE, TRUE, 0);
    SendMessage(hwnd, WM_ACTIVATE, 1, static_cast<LPARAM>(old));
  }
}

HWND Desktop::GetForegroundWindow() {
  return state_->active;
}
HWND Desktop::GetActiveWindow() {
  return state_->active;
}

bool Desktop::SetForegroundWindow(HWND hwnd) {
  Window* w = Need(hwnd);
  if (!w || hwnd == state_->desktop) return false;
  HWND root = GetAncestor(hwnd, GA_ROOT);
  Activate(root);
  return true;
}

DWORD Desktop::GetWindowThreadProcessId(HWND hwnd, DWORD* processId) {
  Window* w = Need(hwnd);
  if (!w) return 0;
  if (processId) *processId = w->process;
  return w->process + 1;  // the owning process's one thread
}

bool Desktop::InvalidateRect(HWND hwnd) {
  return Need(hwnd) != nullptr;
}

bool Desktop::UpdateWindow(HWND hwnd) {
  return Need(hwnd) != nullptr;
}

// ---- Focus and capture ----

void Desktop::MoveFocus(HWND hwnd) {
  State& s = *state_;
  HWND old = s.focus;
  if (old == hwnd) return;
  s.focus = hwnd;
  if (Find(old)) SendMessage(old, WM_KILLFOCUS, hwnd, 0);
  if (Find(hwnd) && s.focus == hwnd) SendMessage(hwnd, WM_SETFOCUS, old, 0);
}

HWND Desktop::SetFocus(HWND hwnd) {
  State& s = *state_;
  HWND old = s.focus;
  if (hwnd == 0) {
    MoveFocus(0);
    return old;
  }
  Window* w = Need(hwnd);
  if (!w) return 0;
  HWND root = GetAncestor(hwnd, GA_ROOT);
  Window* r = Find(root);
  if (hwnd == s.desktop || (s.current != 0 && !InputJoined(w->process, s.current) &&
                            !(r && InputJoined(r->process, s.current)))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
  }
  // A disabled or minimized window, or one inside such a window, cannot take the focus.
  for (Window* a = w; a && a->hwnd != s.desktop; a = Find(a->parent)) {
    if (a->style & (WS_DISABLED | WS_MINIMIZE)) return 0;
    if (!(a->style & WS_CHILD)) break;
  }
  if (root != s.active && root != 0) {
    Activate(root);
    old = s.focus;
  }
  MoveFocus(hwnd);
  return old;
}

DWORD Desktop::InputGroup(DWORD process) const {
  const auto& groups = state_->inputGroup;
  for (auto it = groups.find(process); it != groups.end() && it->second != process;
       it = groups.find(process)) {
    process = it->second;
  }
  return process;
}

void Desktop::JoinInput(DWORD a, DWORD b) {
  DWORD ga = InputGroup(a), gb = InputGroup(b);
  if (ga == gb) return;
  state_->inputGroup[ga] = gb;
  state_->inputGroup.try_emplace(gb, gb);
}

bool Desktop::InputJoined(DWORD a, DWORD b) const {
  return a == b || InputGroup(a) == InputGroup(b);
}

HWND Desktop::GetFocus() {
  return state_->focus;
}

HWND Desktop::SetCapture(HWND hwnd) {
  State& s = *state_;
  if (hwnd != 0 && !Need(hwnd)) return 0;
  HWND old = s.capture;
  s.capture = hwnd;
  if (Find(old)) SendMessage(old, WM_CAPTURECHANGED, 0, static_cast<LPARAM>(hwnd));
  return old;
}

bool Desktop::ReleaseCapture() {
  State& s = *state_;
  HWND old = s.capture;
  if (old == 0) return true;
  s.capture = 0;
  if (Find(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  // The mouse "moves" so that the window under it can set its cursor: input, like a real move.
  if (HWND under = WindowFromPoint(s.cursor); under != s.desktop && Find(under))
    DeliverMouse(under, WM_MOUSEMOVE, 0, s.cursor);
  return true;
}

HWND Desktop::GetCapture() {
  return state_->capture;
}

bool Desktop::GetCursorPos(POINT& point) {
  point = state_->cursor;
  return true;
}

// ---- Messages ----

LRESULT Desktop::SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!Find(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return Deliver(hwnd, msg, wParam, lParam, false);
}

LRESULT Desktop::Deliver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool input) {
  State& s = *state_;
  Window* w = Find(hwnd);
  if (!w) return 0;
  DWORD owner = w->process;
  if (owner != 0 && !ProcessAlive(owner)) return 0;
  ProcessScope scope(*this, owner);
  if (input) {
    std::vector<HANDLE> hooks;
    for (auto& [h, hook] : s.mouseHooks)
      if (hook.hwnd == hwnd) hooks.push_back(h);
    for (HANDLE h : hooks) {
      auto it = s.mouseHooks.find(h);
      if (it == s.mouseHooks.end()) continue;
      if (it->second.process != 0 && !ProcessAlive(it->second.process)) continue;
      MouseHookProc proc = it->second.proc;
      ProcessScope hookScope(*this, it->second.process);
      proc(hwnd, msg, wParam, lParam);
      if (msg == 0) return 0;
    }
  }
  WatchedMessage m{hwnd, msg, wParam, lParam, 0};
  std::vector<HANDLE> watches;
  if (s.Watched(hwnd)) {
    for (auto& [h, watch] : s.watches)
      if (watch.hwnd == hwnd) watches.push_back(h);
  }
  for (HANDLE h : watches) {
    auto it = s.watches.find(h);
    if (it == s.watches.end()) continue;
    if (it->second.process != 0 && !ProcessAlive(it->second.process)) continue;
    WatchProc proc = it->second.proc;
    bool noPass = false;
    {
      ProcessScope watchScope(*this, it->second.process);
      proc(m, noPass);
    }
    if (noPass) return m.result;
  }
  if (!(w = Find(hwnd))) return 0;
  WNDPROC proc = w->proc;
  if (proc) return proc(hwnd, m.msg, m.wParam, m.lParam);
  return DefWindowProc(hwnd, m.msg, m.wParam, m.lParam);
}

bool Desktop::PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  State& s = *state_;
  if (CarriesPointer(msg)) {
    SetLastError(ERROR_MESSAGE_SYNC_ONLY);
    return false;
  }
  if (hwnd != 0 && !Need(hwnd)) return false;
  if (ProcessEnded()) return false;
  DWORD queue = hwnd != 0 ? Find(hwnd)->process : s.current;
  // Each queue holds at most kPostLimit messages; counted only when the total could reach it.
  if (s.posted.size() >= kPostLimit &&
      std::count_if(s.posted.begin(), s.posted.end(),
                    [queue](const Posted& m) { return m.queue == queue; }) >= kPostLimit) {
    SetLastError(ERROR_NOT_ENOUGH_QUOTA);
    return false;
  }
  Posted m{hwnd, msg, wParam, lParam, false, s.current};
  m.queue = queue;
  s.posted.push_back(m);
  return true;
}

LRESULT Desktop::DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (w->exStyle & WS_EX_MDICHILD) {
    const HWND parent = w->parent;
    if (Window* client = Find(parent); client && client->control) {
      std::shared_ptr<SystemControl> keep = client->control;
      if (auto result = keep->ChildDefault(parent, hwnd, msg)) return *result;
    }
    if (!(w = Find(hwnd))) return 0;
  }
  if (w->control) {
    // Held here: the control may destroy its own window while handling the message.
    std::shared_ptr<SystemControl> control = w->control;
    return control->Handle(hwnd, msg, wParam, lParam);
  }
  return BaseDefWindowProc(hwnd, msg, wParam, lParam);
}

LRESULT Desktop::BaseDefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  switch (msg) {
    case WM_NCCREATE:
      return TRUE;
    case WM_SETTEXT: {
      std::string text =
          lParam ? std::string(reinterpret_cast<const char*>(lParam)) : std::string();
      if (text != w->text) {
        w->text = std::move(text);
        ++state_->treeVersion;
      }
      return TRUE;
    }
    case WM_GETTEXT: {
      auto* buf = reinterpret_cast<char*>(lParam);
      if (wParam == 0 || buf == nullptr) return 0;
      size_t n = std::min(static_cast<size_t>(wParam) - 1, w->text.size());
      std::memcpy(buf, w->text.data(), n);
      buf[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_CLOSE:
      DestroyInternal(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessage(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_WINDOWPOSCHANGED: {
      RECT c = ClientRectIn(*w);
      POINT origin{c.left, c.top};
      POINT size{c.Width(), c.Height()};
      if (origin != w->reportedOrigin) {
        w->reportedOrigin = origin;
        SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
      }
      if (!(w = Find(hwnd))) return 0;
      if (size != w->reportedSize) {
        w->reportedSize = size;
        UINT type = (w->style & WS_MINIMIZE)   ? kSizeMinimized
                    : (w->style & WS_MAXIMIZE) ? kSizeMaximized
                                               : kSizeRestored;
        SendMessage(hwnd, WM_SIZE, type, MAKELPARAM(size.x, size.y));
      }
      return 0;
    }
    case WM_PAINT: {
      gfx::Canvas* canvas = BeginPaint(hwnd);
      if (canvas && w->background != 0xFFFFFFFF) canvas->Fill(w->background);
      EndPaint(hwnd);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      if (w->style & WS_CHILD) {
        if (LRESULT r = SendMessage(w->parent, WM_MOUSEACTIVATE, wParam, lParam)) return r;
      }
      return kMaActivate;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != 0 && !(w->style & WS_MINIMIZE)) MoveFocus(hwnd);
      return 0;
    case WM_NCACTIVATE:
      return TRUE;
    case WM_NCHITTEST: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      POINT wo = WindowOrigin(*w);
      RECT in = Insets(*w);
      if (p.x < wo.x || p.y < wo.y || p.x >= wo.x + w->rect.Width() ||
          p.y >= wo.y + w->rect.Height())
        return kHtNowhere;
      POINT co = ClientOrigin(*w);
      if (p.x >= co.x && p.y >= co.y && p.x < wo.x + w->rect.Width() - in.right &&
          p.y < wo.y + w->rect.Height() - in.bottom)
        return kHtClient;
      if ((w->style & WS_CAPTION) == WS_CAPTION && p.y < co.y) return kHtCaption;
      return kHtBorder;
    }
    default:
      return 0;
  }
}

// ---- The message loop ----

bool Desktop::HasPendingNow() const {
  const State& s = *state_;
  if (!s.posted.empty() || !s.input.empty()) return true;
  for (const auto& a : s.scheduled)
    if (a.due <= s.now) return true;
  for (const auto& t : s.timers)
    if (t.due <= s.now) return true;
  return false;
}

std::optional<uint64_t> Desktop::NextDue() const {
  const State& s = *state_;
  std::optional<uint64_t> next;
  for (const auto& a : s.scheduled)
    if (!next || a.due < *next) next = a.due;
  for (const auto& t : s.timers)
    if (!next || t.due < *next) next = t.due;
  return next;
}

bool Desktop::DispatchOne() {
  State& s = *state_;
  if (!s.posted.empty()) {
    Posted m = s.posted.front();
    s.posted.pop_front();
    if (m.hwnd != 0 && Find(m.hwnd)) Deliver(m.hwnd, m.msg, m.wParam, m.lParam, m.input);
    return true;
  }
  if (!s.input.empty()) {
    Posted m = s.input.front();
    s.input.pop_front();
    if (!Find(m.hwnd)) return true;
    // The loop translates a key press before dispatching it: its WM_CHAR is posted first.
    if (m.character != 0) {
      Posted c{m.hwnd, WM_CHAR, m.character, m.lParam, true, 0};
      c.queue = m.queue;
      s.posted.push_back(c);
    }
    Deliver(m.hwnd, m.msg, m.wParam, m.lParam, m.input);
    return true;
  }
  auto action = s.scheduled.end();
  for (auto it = s.scheduled.begin(); it != s.scheduled.end(); ++it) {
    if (it->due > s.now) continue;
    if (action == s.scheduled.end() || it->due < action->due ||
        (it->due == action->due && it->order < action->order))
      action = it;
  }
  if (action != s.scheduled.end()) {
    Scheduled a = std::move(*action);
    s.scheduled.erase(action);
    if (a.process == 0 || ProcessAlive(a.process)) {
      ProcessScope scope(*this, a.process);
      a.action();
    }
    return true;
  }
  auto timer = s.timers.end();
  for (auto it = s.timers.begin(); it != s.timers.end(); ++it) {
    if (it->due > s.now) continue;
    if (timer == s.timers.end() || it->due < timer->due ||
        (it->due == timer->due && it->order < timer->order))
      timer = it;
  }
  if (timer != s.timers.end()) {
    // One WM_TIMER however many periods went by; the next one at the next period boundary.
    uint64_t periods = (s.now - timer->due) / timer->elapse + 1;
    timer->due += periods * timer->elapse;
    Timer t = *timer;
    if (t.proc) {
      if (t.process == 0 || ProcessAlive(t.process)) {
        ProcessScope scope(*this, t.process);
        TimerProc proc = t.proc;
        proc(t.hwnd, t.id);
      }
    } else if (Find(t.hwnd)) {
      Deliver(t.hwnd, WM_TIMER, t.id, 0, false);
    }
    return true;
  }
  return false;
}

bool Desktop::RunResponders() {
  State& s = *state_;
  bool used = false;
  // Answering may run a nested loop that runs (and removes) other responders, so each one is
  // found again by its id rather than by its place in the list.
  std::vector<uint64_t> ids;
  for (const auto& r : s.responders) ids.push_back(r.id);
  for (uint64_t id : ids) {
    auto find = [&s, id] {
      return std::find_if(s.responders.begin(), s.responders.end(),
                          [id](const State::Responder& r) { return r.id == id; });
    };
    auto it = find();
    if (it == s.responders.end() || it->running) continue;
    it->running = true;
    auto answer = it->answer;
    const bool done = answer();
    it = find();
    if (it == s.responders.end()) continue;
    it->running = false;
    if (done) {
      s.responders.erase(it);
      used = true;
    }
  }
  return used;
}

bool Desktop::RunLoop(uint64_t end, const std::function<bool()>* done) {
  State& s = *state_;
  DWORD self = s.current;
  int busy = 0;  // dispatches without the clock moving
  for (;;) {
    if (done && (*done)()) return true;
    if (self != 0 && !ProcessAlive(self)) return false;
    if (DispatchOne()) {
      // A handler that waits inside itself lets time pass; the loop ends once its end is past,
      // whatever it dispatched.
      if (s.now > end) return done && (*done)();
      // A program that keeps its queue full still sees time pass, so every wait ends.
      if (++busy >= kBusyDispatches) {
        if (s.now >= end) return done && (*done)();
        ++s.now;
        busy = 0;
      }
      continue;
    }
    if (RunResponders() || HasPendingNow()) continue;
    if (s.now >= end) return done && (*done)();
    auto next = NextDue();
    s.now = next ? std::clamp(*next, s.now, end) : end;
    busy = 0;
  }
}

void Desktop::DoEvents() {
  State& s = *state_;
  // What is pending now; what handlers post meanwhile waits for the next call.
  size_t budget = s.posted.size() + s.input.size() + s.scheduled.size() + s.timers.size();
  for (const Posted& m : s.input)
    if (m.character != 0) ++budget;
  bool any = false;
  for (size_t i = 0; i < budget && DispatchOne(); ++i) any = true;
  if (any) return;
  if (RunResponders()) return;
  auto next = NextDue();
  uint64_t step = s.now + kDoEventsStep;
  s.now = next ? std::clamp(*next, s.now, step) : step;
}

void Desktop::WaitEvents(uint32_t milliseconds) {
  RunLoop(state_->now + milliseconds, nullptr);
}

void Desktop::RunFor(uint64_t milliseconds) {
  RunLoop(state_->now + milliseconds, nullptr);
}

bool Desktop::RunUntil(const std::function<bool()>& done, uint64_t timeoutMs) {
  return RunLoop(state_->now + timeoutMs, &done);
}

void Desktop::RunPending() {
  // Only what is due now: once a handler has waited, what fell due meanwhile belongs to the
  // loop that waits; dispatching it here too would never end while each handler waits again.
  const uint64_t start = state_->now;
  for (int i = 0; i < kBusyDispatches && state_->now == start && (DispatchOne() || RunResponders());
       ++i) {
  }
}

void Desktop::Stall(uint64_t milliseconds) {
  state_->now += milliseconds;
}

void Desktop::Schedule(uint64_t delayMs, std::function<void()> action, DWORD processId) {
  State& s = *state_;
  s.scheduled.push_back(Scheduled{s.now + delayMs, s.nextOrder++, std::move(action),
                                  processId ? processId : s.current});
}

void Desktop::AddResponder(std::function<bool()> responder) {
  state_->responders.push_back({state_->nextResponder++, std::move(responder), false});
}

uint64_t Desktop::NowMs() const {
  return state_->now;
}

UINT Desktop::SetTimer(HWND hwnd, UINT id, UINT elapse, TimerProc proc) {
  State& s = *state_;
  if (hwnd != 0 && !Need(hwnd)) return 0;
  if (ProcessEnded()) return 0;
  elapse = std::clamp(elapse, kMinTimer, kMaxTimer);
  auto same = [&](const Timer& t) {
    return t.hwnd == hwnd && t.id == id && (hwnd != 0 || t.process == s.current);
  };
  auto it = std::find_if(s.timers.begin(), s.timers.end(), same);
  if (hwnd == 0 && it == s.timers.end()) id = s.nextThreadTimer++;
  if (it != s.timers.end()) s.timers.erase(it);
  s.timers.push_back(
      Timer{hwnd, id, elapse, s.now + elapse, std::move(proc), s.current, s.nextOrder++});
  return id;
}

bool Desktop::KillTimer(HWND hwnd, UINT id) {
  State& s = *state_;
  auto it = std::find_if(s.timers.begin(), s.timers.end(), [&](const Timer& t) {
    return t.hwnd == hwnd && t.id == id && (hwnd != 0 || t.process == s.current);
  });
  if (it == s.timers.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  s.timers.erase(it);
  return true;
}

// ---- Time ----

uint32_t Desktop::GetTickCount() {
  return static_cast<uint32_t>(state_->now);
}

DateTime Desktop::Now() {
  DateTime t = state_->options.start;
  constexpr int64_t kDayMs = 86400000;
  int64_t ms = static_cast<int64_t>(state_->now) + state_->wallShiftMs + t.millisecond +
               1000ll * (t.second + 60ll * (t.minute + 60ll * t.hour));
  // Whole days, rounded down, so a clock set back before the first day lands on an earlier date.
  int64_t days = ms >= 0 ? ms / kDayMs : -((-ms + kDayMs - 1) / kDayMs);
  ms -= days * kDayMs;
  t.hour = static_cast<int>(ms / 3600000);
  t.minute = static_cast<int>(ms / 60000 % 60);
  t.second = static_cast<int>(ms / 1000 % 60);
  t.millisecond = static_cast<int>(ms % 1000);
  while (days > 0) {
    int left = DaysIn(t.year, t.month) - t.day;
    if (days <= left) {
      t.day += static_cast<int>(days);
      break;
    }
    days -= left + 1;
    t.day = 1;
    if (++t.month > 12) {
      t.month = 1;
      ++t.year;
    }
  }
  while (days < 0) {
    if (-days < t.day) {
      t.day += static_cast<int>(days);
      break;
    }
    days += t.day;
    if (--t.month < 1) {
      t.month = 12;
      --t.year;
    }
    t.day = DaysIn(t.year, t.month);
  }
  return t;
}

void Desktop::ShiftWallClock(int64_t milliseconds) {
  state_->wallShiftMs += milliseconds;
}

std::string Desktop::GetShortDateFormat() {
  return state_->options.shortDateFormat;
}

void Desktop::SetShortDateFormat(const std::string& format) {
  state_->options.shortDateFormat = format;
}

void Desktop::Record(Event::Kind kind, std::string text, std::string detail) {
  State& s = *state_;
  s.events.push_back(Event{kind, s.now, s.current, std::move(text), std::move(detail)});
  if (s.listener) {
    auto listener = s.listener;
    listener(s.events.back());
  }
}

const std::vector<Event>& Desktop::Events() const {
  return state_->events;
}

void Desktop::SetEventListener(std::function<void(const Event&)> listener) {
  state_->listener = std::move(listener);
}

}  // namespace platform::sim
