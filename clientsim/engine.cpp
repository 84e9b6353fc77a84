#include "clientsim/engine.h"

#include <algorithm>
#include <cctype>

#include "platform/ansi.h"

namespace clientsim {

using namespace platform;

namespace {

constexpr UINT kDriverMessage = WM_USER + 1;
constexpr UINT kErrorBoxOk = 1;  // IDOK

// Menu command identifiers of the main window.
constexpr UINT kMenuNew = 101;
constexpr UINT kMenuExit = 103;
constexpr UINT kMenuUndo = 201;
constexpr UINT kMenuCut = 203;
constexpr UINT kMenuCopy = 204;
constexpr UINT kMenuPaste = 205;
constexpr UINT kMenuSelectAll = 206;
constexpr UINT kMenuPrint = 301;
constexpr UINT kMenuCascade = 401;
constexpr UINT kMenuCloseAll = 402;
constexpr UINT kMenuSignOff = 501;
constexpr UINT kMenuAbout = 601;

constexpr DWORD kDocStyle = WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU |
                            WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

constexpr const char* kToolbarIcons[] = {"Read",     "Mail Center", "Write",     "Print",
                                         "My Files", "My AOL",      "Favorites", "Internet",
                                         "Channels", "People",      "Quotes",    "Perks"};

const std::vector<std::string> kClassNames = {
    "AOL Frame25",    "AOL Toolbar",  "_AOL_Toolbar",   "_AOL_Icon",        "_AOL_Edit",
    "_AOL_Combobox",  "AOL Child",    "RICHCNTL",       "RICHCNTLREADONLY", "_AOL_Static",
    "_AOL_FontCombo", "_AOL_Listbox", "_AOL_EditImage", "#32770",           "ClientSim Driver"};

// The first document window under the MDI client: the active one.
HWND ActiveDocument(HWND mdi) {
  return FindWindowEx(mdi, 0, "AOL Child", nullptr);
}

// The rich-text control an Edit menu command works on: the focused one inside the active
// document, else its first "RICHCNTL".
HWND EditTarget(HWND mdi) {
  const HWND doc = ActiveDocument(mdi);
  if (doc == 0) return 0;
  const HWND focus = GetFocus();
  if (focus != 0 && GetParent(focus) == doc) {
    const std::string cls = GetClassName(focus);
    if (cls == "RICHCNTL" || cls == "RICHCNTLREADONLY") return focus;
  }
  return FindWindowEx(doc, 0, "RICHCNTL", nullptr);
}

std::string ReadLines(HWND rich) {
  std::string out;
  const int count = static_cast<int>(SendMessage(rich, EM_GETLINECOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::string buffer(4096, '\0');
    const uint16_t size = static_cast<uint16_t>(buffer.size());
    buffer[0] = static_cast<char>(size & 0xFF);
    buffer[1] = static_cast<char>(size >> 8);
    const LRESULT n = SendMessage(rich, EM_GETLINE, static_cast<WPARAM>(i),
                                  reinterpret_cast<LPARAM>(buffer.data()));
    if (i > 0) out += "\r\n";
    out += buffer.substr(0, static_cast<size_t>(std::max<LRESULT>(0, n)));
  }
  return out;
}

}  // namespace

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && EqualNoCase(s.substr(0, prefix.size()), prefix);
}

StyledText ConversationLine(const std::string& name, const std::string& html, bool self) {
  TextFormat who;
  who.bold = true;
  who.color = self ? RGB(0, 0, 255) : RGB(255, 0, 0);
  StyledText line = PlainStyled(name + ": ", who);
  const StyledText body = ParseHtml(html);
  line.insert(line.end(), body.begin(), body.end());
  return line;
}

// ---- Looks ----

gfx::Color Engine::Face() const {
  return Aol7() ? RGB(0xD6, 0xDF, 0xF0) : kFace;
}

void DocWindow::Paint(gfx::Canvas& canvas, int width, int height) {
  canvas.FillRect(0, 0, width, height, engine_->Face());
}

// ---- MainFrame and DriverWindow ----

LRESULT MainFrame::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      engine_->CloseClient();
      return 0;
    case WM_COMMAND:
      if (lParam == 0) engine_->MenuCommand(LOWORD(wParam));
      return 0;
    case WM_DESTROY:
      engine_->main = engine_->mdi = engine_->toolbar = engine_->toolbarInner = 0;
      engine_->keywordEdit = 0;
      return Default(msg, wParam, lParam);
    default:
      return Control::Handle(msg, wParam, lParam);
  }
}

LRESULT DriverWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kDriverMessage) {
    engine_->RunPosted(static_cast<uint32_t>(wParam));
    return 0;
  }
  return Control::Handle(msg, wParam, lParam);
}

// ---- Engine ----

Engine::Engine(ClientOptions o) : options(o) {}

Engine::~Engine() {
  registry_->Clear();
}

bool Engine::Start() {
  if (main != 0 && IsWindow(main)) return false;
  for (const std::string& name : kClassNames) RegisterClass({name, nullptr, 0xFFFFFFFF});

  if (!driver_) {
    driver_ = std::make_shared<DriverWindow>(this);
    if (Control::Create(registry_, driver_, 0, "ClientSim Driver", "", WS_POPUP, 0, 0, 0, 0, 0) ==
        0) {
      driver_.reset();
      return false;
    }
  }

  auto frame = std::make_shared<MainFrame>(this);
  frame->SetFace(Face());
  main = Control::Create(registry_, frame, 0, "AOL Frame25", "America Online",
                         WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, -4, -4, 1032, 744, 0);
  if (main == 0) return false;
  BuildMenus();

  RECT client;
  GetClientRect(main, client);
  POINT origin{0, 0};
  ClientToScreen(main, origin);
  // By default the toolbar's height puts the MDI area 105 pixels below the top of the screen.
  int toolbarHeight = options.toolbarHeight;
  if (toolbarHeight <= 0) {
    toolbarHeight = 105 - origin.y;
    if (toolbarHeight < 60 || toolbarHeight > 120) toolbarHeight = 68;
  }
  toolbarHeight = std::clamp(toolbarHeight, 30, std::max(30, client.Height() / 2));
  BuildToolbar(client.Width(), toolbarHeight);

  // The system's MDI client holds the document windows and keeps track of the active one.
  mdi = CreateWindowEx(0, "MDIClient", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                       toolbarHeight, client.Width(), std::max(0, client.Height() - toolbarHeight),
                       main, 0, nullptr);
  return mdi != 0;
}

void Engine::BuildMenus() {
  const HMENU bar = CreateMenu();
  const HMENU file = CreatePopupMenu();
  AppendMenu(file, MF_STRING, kMenuNew, "&New");
  AppendMenu(file, MF_SEPARATOR, 0, "");
  AppendMenu(file, MF_STRING, kMenuExit, "E&xit");
  const HMENU edit = CreatePopupMenu();
  AppendMenu(edit, MF_STRING | MF_GRAYED, kMenuUndo, "&Undo");
  AppendMenu(edit, MF_SEPARATOR, 0, "");
  AppendMenu(edit, MF_STRING, kMenuCut, "Cu&t");
  AppendMenu(edit, MF_STRING, kMenuCopy, "&Copy");
  AppendMenu(edit, MF_STRING, kMenuPaste, "&Paste");
  AppendMenu(edit, MF_STRING, kMenuSelectAll, "Select &All");
  const HMENU print = CreatePopupMenu();
  AppendMenu(print, MF_STRING, kMenuPrint, "&Print...");
  const HMENU window = CreatePopupMenu();
  AppendMenu(window, MF_STRING, kMenuCascade, "&Cascade");
  AppendMenu(window, MF_STRING, kMenuCloseAll, "Close &All");
  const HMENU signOff = CreatePopupMenu();
  AppendMenu(signOff, MF_STRING, kMenuSignOff, "&Sign Off");
  const HMENU help = CreatePopupMenu();
  AppendMenu(help, MF_STRING, kMenuAbout, "&About America Online");
  AppendMenu(bar, MF_POPUP, file, "&File");
  AppendMenu(bar, MF_POPUP, edit, "&Edit");
  AppendMenu(bar, MF_POPUP, print, "&Print");
  AppendMenu(bar, MF_POPUP, window, "&Window");
  AppendMenu(bar, MF_POPUP, signOff, "&Sign Off");
  AppendMenu(bar, MF_POPUP, help, "&Help");
  SetMenu(main, bar);
}

void Engine::BuildToolbar(int width, int height) {
  auto outer = Child<Panel>(main, "AOL Toolbar", "", WS_VISIBLE, 0, 0, width, height);
  if (!outer) return;
  toolbar = outer->hwnd();
  auto inner = Child<Panel>(toolbar, "_AOL_Toolbar", "", WS_VISIBLE, 0, 0, width, height);
  if (!inner) return;
  toolbarInner = inner->hwnd();
  int x = 4;
  for (const char* label : kToolbarIcons) {
    auto icon = Child<Icon>(toolbarInner, "_AOL_Icon", label, WS_VISIBLE, x, 2, 56, 40);
    x += 58;
    if (!icon) continue;
    const std::string name = label;
    if (name == "Write") {
      icon->onClick = [this] {
        auto doc = std::make_shared<DocWindow>(this);
        const HWND w = NewDocument(doc, "Write Mail", 460, 320);
        if (w == 0) return;
        Child<Label>(w, "_AOL_Static", "Send To:", WS_VISIBLE, 8, 10, 60, 18);
        Child<LineEdit>(w, "_AOL_Edit", "", WS_VISIBLE, 70, 8, 360, 20);
        Child<Label>(w, "_AOL_Static", "Copy To:", WS_VISIBLE, 8, 36, 60, 18);
        Child<LineEdit>(w, "_AOL_Edit", "", WS_VISIBLE, 70, 34, 360, 20);
        Child<Label>(w, "_AOL_Static", "Subject:", WS_VISIBLE, 8, 62, 60, 18);
        Child<LineEdit>(w, "_AOL_Edit", "", WS_VISIBLE, 70, 60, 360, 20);
        Child<RichText>(w, "RICHCNTL", "", WS_VISIBLE, 8, 88, 422, 154, false);
        Child<Icon>(w, "_AOL_Icon", "Send Now", WS_VISIBLE, 350, 250, 80, 30);
      };
    } else if (name == "Channels") {
      icon->onClick = [this] { RunKeyword("Channels"); };
    }
  }
  for (int i = 0; i < options.toolbarEdits; ++i) {
    Child<LineEdit>(toolbarInner, "_AOL_Edit", "", 0, x + i * 10, 2, 8, 8);
  }
  auto combo = Child<Panel>(toolbarInner, "_AOL_Combobox", "", WS_VISIBLE, 4, height - 24, 320, 22,
                            gfx::Color{0xFFFFFF}, false, true);
  if (!combo) return;
  auto edit =
      Child<KeywordEdit>(combo->hwnd(), "Edit", "", WS_VISIBLE | ES_AUTOHSCROLL, 2, 2, 316, 18);
  if (!edit) return;
  keywordEdit = edit->hwnd();
  const HWND box = keywordEdit;
  edit->onEnter = [this, box] {
    const std::string keyword = Trim(GetWindowText(box));
    if (!keyword.empty()) RunKeyword(keyword);
  };
}

uint32_t Engine::NextJob(std::function<void()> action) {
  const uint32_t id = nextJob_++;
  jobs_[id] = std::move(action);
  return id;
}

void Engine::Post(std::function<void()> action) {
  if (!driver_ || driver_->hwnd() == 0) return;
  const uint32_t id = NextJob(std::move(action));
  if (!PostMessage(driver_->hwnd(), kDriverMessage, id, 0)) jobs_.erase(id);
}

void Engine::RunPosted(uint32_t id) {
  auto it = jobs_.find(id);
  if (it == jobs_.end()) return;
  auto action = std::move(it->second);
  jobs_.erase(it);
  driver_->Later(std::max<uint32_t>(options.actionDelayMs, 1), std::move(action));
}

HWND Engine::NewDocument(const std::shared_ptr<Control>& doc, const std::string& caption, int width,
                         int height) {
  if (mdi == 0) return 0;
  const int step = (cascade_++ % 10) * 22;
  return Control::Create(registry_, doc, WS_EX_MDICHILD, "AOL Child", caption, kDocStyle, 8 + step,
                         8 + step, width, height, mdi);
}

void Engine::SignOn(const std::string& name) {
  if (main == 0 || name.empty()) return;
  if (!screenName.empty()) SignOff();
  screenName = name;
  auto channelsDoc = std::make_shared<DocWindow>(this);
  channels = NewDocument(channelsDoc, "AOL Channels", 520, 340);
  if (channels != 0) {
    const char* names[] = {"Welcome", "News", "Sports", "Entertainment", "Games", "Shopping"};
    int y = 10;
    for (const char* n : names) {
      auto icon = Child<Icon>(channels, "_AOL_Icon", n, WS_VISIBLE, 10, y, 120, 30);
      if (icon) icon->onClick = [this, k = std::string(n)] { RunKeyword(k); };
      y += 36;
    }
  }
  auto welcomeDoc = std::make_shared<DocWindow>(this);
  welcome = NewDocument(welcomeDoc, "Welcome, " + name + "!", 460, 320);
  if (welcome != 0) {
    Child<Label>(welcome, "_AOL_Static", "You've Got Mail", WS_VISIBLE, 10, 10, 200, 20);
    Child<Label>(welcome, "_AOL_Static", "Top News", WS_VISIBLE, 10, 40, 200, 20);
    Child<Icon>(welcome, "_AOL_Icon", "Read Mail", WS_VISIBLE, 10, 70, 100, 30);
    Child<Icon>(welcome, "_AOL_Icon", "Buddy List", WS_VISIBLE, 120, 70, 100, 30);
  }
}

void Engine::SignOff() {
  // Signing off ends the session's windows, wherever they are now.
  std::vector<HWND> doomed = {welcome, channels};
  for (auto& weak : ims) {
    if (auto im = weak.lock()) doomed.push_back(im->hwnd());
  }
  for (auto& weak : sendIms) {
    if (auto s = weak.lock()) doomed.push_back(s->hwnd());
  }
  if (auto r = room.lock()) doomed.push_back(r->hwnd());
  for (HWND w : doomed) {
    if (w != 0 && IsWindow(w)) DestroyWindow(w);
  }
  welcome = channels = 0;
  screenName.clear();
}

void Engine::CloseClient() {
  if (mdi != 0) {
    documentsAtClose.clear();
    for (HWND doc = ActiveDocument(mdi); doc != 0;
         doc = FindWindowEx(mdi, doc, "AOL Child", nullptr)) {
      documentsAtClose.push_back(GetWindowText(doc));
    }
  }
  for (HWND box : errorBoxes) {
    if (IsWindow(box)) DestroyWindow(box);
  }
  errorBoxes.clear();
  screenName.clear();
  welcome = channels = 0;
  if (main != 0) DestroyWindow(main);
  main = mdi = toolbar = toolbarInner = keywordEdit = 0;
}

void Engine::RunKeyword(const std::string& keyword) {
  keywords.push_back(keyword);
  static const std::string kSendIm = "aol://9293:";
  static const std::string kLocate = "aol://3548:";
  if (StartsWithNoCase(keyword, kSendIm)) {
    OpenSendIm(Trim(keyword.substr(kSendIm.size())));
  } else if (StartsWithNoCase(keyword, kLocate)) {
    OpenLocate(Trim(keyword.substr(kLocate.size())));
  } else if (EqualNoCase(keyword, "Channels") && !screenName.empty() &&
             (channels == 0 || !IsWindow(channels))) {
    auto doc = std::make_shared<DocWindow>(this);
    channels = NewDocument(doc, "AOL Channels", 520, 340);
  }
}

void Engine::MenuCommand(UINT id) {
  switch (id) {
    case kMenuNew:
      OpenUntitled();
      break;
    case kMenuExit:
      CloseClient();
      break;
    case kMenuCut:
    case kMenuCopy:
      if (const HWND target = EditTarget(mdi)) {
        SendMessage(target, WM_COMMAND, kCmdCopy, 0);
        if (id == kMenuCut) SendMessage(target, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(""));
      }
      break;
    case kMenuPaste:
      if (const HWND target = EditTarget(mdi)) SendMessage(target, WM_COMMAND, kCmdPaste, 0);
      break;
    case kMenuSelectAll:
      if (const HWND target = EditTarget(mdi)) SendMessage(target, WM_COMMAND, kCmdSelectAll, 0);
      break;
    case kMenuPrint:
      if (const HWND doc = ActiveDocument(mdi)) {
        HWND rich = FindWindowEx(doc, 0, "RICHCNTLREADONLY", nullptr);
        if (rich == 0) rich = FindWindowEx(doc, 0, "RICHCNTL", nullptr);
        PrintText(GetWindowText(doc), rich != 0 ? ReadLines(rich) : std::string());
      }
      break;
    case kMenuCascade: {
      std::vector<HWND> docs;
      for (HWND w = FindWindowEx(mdi, 0, "AOL Child", nullptr); w != 0;
           w = FindWindowEx(mdi, w, "AOL Child", nullptr)) {
        docs.push_back(w);
      }
      int k = 0;
      for (auto it = docs.rbegin(); it != docs.rend(); ++it, ++k) {
        SetWindowPos(*it, 0, 8 + 22 * k, 8 + 22 * k, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      }
      break;
    }
    case kMenuCloseAll: {
      std::vector<HWND> docs;
      for (HWND w = FindWindowEx(mdi, 0, "AOL Child", nullptr); w != 0;
           w = FindWindowEx(mdi, w, "AOL Child", nullptr)) {
        docs.push_back(w);
      }
      for (HWND w : docs) SendMessage(w, WM_CLOSE, 0, 0);
      break;
    }
    case kMenuSignOff:
      SignOff();
      break;
    case kMenuAbout: {
      auto doc = std::make_shared<DocWindow>(this);
      const HWND w = NewDocument(doc, "About America Online", 360, 160);
      if (w != 0) {
        Child<Label>(w, "_AOL_Static", "America Online for Windows", WS_VISIBLE, 10, 20, 300, 20);
      }
      break;
    }
    default:
      break;
  }
}

void Engine::OpenUntitled() {
  auto doc = std::make_shared<DocWindow>(this);
  const HWND w = NewDocument(doc, "Untitled", 480, 340);
  if (w == 0) return;
  const char* icons[] = {"Save", "Print", "Mail", "Link"};
  int x = 8;
  for (const char* label : icons) {
    Child<Icon>(w, "_AOL_Icon", label, WS_VISIBLE, x, 4, 50, 24);
    x += 54;
  }
  Child<Panel>(w, "_AOL_FontCombo", "", WS_VISIBLE, x + 4, 6, 110, 20, gfx::Color{0xFFFFFF}, false,
               true);
  Child<Panel>(w, "_AOL_Combobox", "", WS_VISIBLE, x + 118, 6, 50, 20, gfx::Color{0xFFFFFF}, false,
               true);
  Child<RichText>(w, "RICHCNTL", "", WS_VISIBLE, 8, 34, 450, 240, false);
  Child<Label>(w, "_AOL_Static", "Untitled document", WS_VISIBLE, 8, 280, 300, 18);
}

void Engine::OpenLocate(const std::string& name) {
  auto doc = std::make_shared<DocWindow>(this);
  const HWND w = NewDocument(doc, "Locate Member Online", 360, 140);
  if (w == 0) return;
  std::string text;
  if (name.empty()) {
    text = "Please enter a screen name.";
  } else if (!Reachable(name)) {
    text = name + " is not currently signed on.";
  } else {
    text = name + " is online, but not in a chat room.";
  }
  Child<Label>(w, "_AOL_Static", text, WS_VISIBLE, 10, 20, 330, 20);
  Child<Icon>(w, "_AOL_Icon", "OK", WS_VISIBLE, 140, 60, 70, 26);
}

void Engine::ShowError(const std::string& text) {
  auto box = std::make_shared<Panel>();
  RECT screen;
  GetWindowRect(GetDesktopWindow(), screen);
  const int w = 320, h = 130;
  const int x = std::max(0, (screen.Width() - w) / 2), y = std::max(0, (screen.Height() - h) / 2);
  const HWND hwnd = Control::Create(registry_, box, 0, "#32770", "America Online",
                                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, x, y, w, h, 0);
  if (hwnd == 0) return;
  errorBoxes.push_back(hwnd);
  // The system's static and button controls; the button's click closes the box.
  CreateWindowEx(0, "Static", text, WS_CHILD | WS_VISIBLE, 12, 16, w - 30, 20, hwnd, 0, nullptr);
  CreateWindowEx(0, "Button", "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, (w - 80) / 2, 56, 75,
                 23, hwnd, kErrorBoxOk, nullptr);
  box->onCommand = [hwnd](UINT id, UINT code) {
    if (id == kErrorBoxOk && code == BN_CLICKED) DestroyWindow(hwnd);
  };
}

bool Engine::Reachable(const std::string& name) const {
  return std::none_of(unreachable.begin(), unreachable.end(),
                      [&](const std::string& n) { return EqualNoCase(n, name); });
}

bool Engine::Blocked(const std::string& name) const {
  if (blockAll) return true;
  return std::any_of(blockedNames.begin(), blockedNames.end(),
                     [&](const std::string& n) { return EqualNoCase(n, name); });
}

bool Engine::BlockCommand(const std::string& address, std::string& answerFrom,
                          std::string& answerText) {
  for (const bool off : {true, false}) {
    const std::string command = off ? "$IM_OFF" : "$IM_ON";
    if (!StartsWithNoCase(address, command)) continue;
    const std::string rest = address.substr(command.size());
    if (!rest.empty() && rest[0] != ' ') return false;
    const std::string name = Trim(rest);
    auto it = std::find_if(blockedNames.begin(), blockedNames.end(),
                           [&](const std::string& n) { return EqualNoCase(n, name); });
    if (off) {
      if (name.empty()) {
        blockAll = true;
      } else if (it == blockedNames.end()) {
        blockedNames.push_back(name);
      }
    } else {
      if (name.empty()) {
        blockAll = false;
      } else if (it != blockedNames.end()) {
        blockedNames.erase(it);
      }
    }
    answerFrom = off ? "$im_off" : "$im_on";
    answerText =
        (name.empty() ? std::string("Instant Messages") : "Instant Messages from " + name) +
        (off ? " are now blocked." : " are now allowed.");
    return true;
  }
  return false;
}

void Engine::RecordSent(const std::string& to, const std::string& text) {
  sent.push_back({to, text, GetTickCount()});
}

void Engine::RecordChat(const std::string& roomName, const std::string& text) {
  chat.push_back({roomName, text, GetTickCount()});
}

void Engine::Receive(const std::string& from, const std::string& text,
                     const IncomingOptions& incoming) {
  ReceivedIM record{from, text, ReceivedIM::Fate::Shown, GetTickCount()};
  if (screenName.empty() || mdi == 0) {
    record.fate = ReceivedIM::Fate::SignedOff;
    received.push_back(record);
    return;
  }
  if (Blocked(from)) {
    record.fate = ReceivedIM::Fate::Blocked;
    received.push_back(record);
    return;
  }
  received.push_back(record);
  auto im = Conversation(from, false);
  if (!im) {
    im = std::make_shared<ImWindow>(this, from, incoming);
    if (NewDocument(im, "", 380, 300) == 0) return;
    im->Build();
    ims.push_back(im);
  }
  im->Incoming(text);
}

std::shared_ptr<ImWindow> Engine::Conversation(const std::string& name, bool create) {
  for (auto& weak : ims) {
    auto im = weak.lock();
    if (im && im->hwnd() != 0 && EqualNoCase(im->Name(), name)) return im;
  }
  if (!create) return nullptr;
  auto im = std::make_shared<ImWindow>(this, name, IncomingOptions{});
  if (NewDocument(im, "", 380, 300) == 0) return nullptr;
  im->Build();
  ims.push_back(im);
  return im;
}

void Engine::OpenSendIm(const std::string& to) {
  auto window = std::make_shared<SendImWindow>(this, to);
  if (NewDocument(window, "Send Instant Message", 380, 260) == 0) return;
  window->Build();
  sendIms.push_back(window);
}

void Engine::OpenChat(const std::string& roomName, const std::vector<std::string>& members) {
  if (auto old = room.lock()) {
    if (old->hwnd() != 0) DestroyWindow(old->hwnd());
  }
  auto window = std::make_shared<ChatRoomWindow>(this, roomName);
  if (NewDocument(window, roomName, 520, 340) == 0) return;
  std::vector<std::string> all;
  if (!screenName.empty()) all.push_back(screenName);
  for (const std::string& m : members) {
    if (!EqualNoCase(m, screenName)) all.push_back(m);
  }
  window->Build(all);
  room = window;
}

}  // namespace clientsim
