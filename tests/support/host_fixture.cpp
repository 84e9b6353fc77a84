#include "support/host_fixture.h"

#include "platform/win32.h"

namespace hostfix {

using namespace platform;

namespace {

const char* const kClasses[] = {
    "AOL Frame25",      "MDIClient",     "AOL Child",   "AOL Toolbar",
    "_AOL_Toolbar",     "_AOL_Combobox", "Edit",        "RICHCNTL",
    "RICHCNTLREADONLY", "_AOL_Icon",     "_AOL_Static", "_AOL_Listbox",
    "_AOL_EditImage",   "#32770",        "Button",      "PictureBox",
};

}  // namespace

ClientTree::ClientTree(sim::Desktop& d) : desktop(d) {
  Install(&desktop);
  for (const char* name : kClasses) desktop.RegisterClass(WindowClass{name, {}, 0xFFFFFFFF});
  process = desktop.CreateProcess("client");
  frame = desktop.CreateWindowEx(0, "AOL Frame25", "America  Online",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, 0, 0, {});
  toolbar = Add(frame, "AOL Toolbar");
  innerToolbar = Add(toolbar, "_AOL_Toolbar");
  combo = Add(innerToolbar, "_AOL_Combobox");
  keywordBox = Add(combo, "Edit", "", Recorder([this](HWND h, UINT m, WPARAM w, LPARAM l) {
                     LRESULT result = desktop.DefWindowProc(h, m, w, l);
                     if (m == WM_CHAR && w == 0x0D && onKeyword)
                       onKeyword(desktop.GetWindowText(h));
                     return result;
                   }));
  mdi = Add(frame, "MDIClient");
}

HWND ClientTree::Add(HWND parent, const std::string& className, const std::string& text,
                     WNDPROC proc) {
  sim::Desktop::ProcessScope scope(desktop, process);
  return desktop.CreateWindowEx(0, className, text, WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent, 0,
                                proc);
}

std::vector<HWND> ClientTree::AddMany(HWND parent, const std::string& className, int count,
                                      const std::string& text) {
  std::vector<HWND> made;
  for (int i = 0; i < count; ++i) made.push_back(Add(parent, className, text));
  return made;
}

HWND ClientTree::AddDocument(const std::string& caption, WNDPROC proc) {
  return Add(mdi, "AOL Child", caption, proc);
}

HWND ClientTree::AddIM(const std::string& caption, bool aol7) {
  HWND im = AddDocument(caption);
  if (aol7) {
    Add(im, "RICHCNTLREADONLY");
    Add(im, "RICHCNTL");
  } else {
    AddMany(im, "RICHCNTL", 2);
  }
  AddMany(im, "_AOL_Icon", 11);
  AddMany(im, "_AOL_Static", aol7 ? 8 : 5);
  return im;
}

WNDPROC ClientTree::Recorder(WNDPROC then) {
  return [this, then](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
    Message m{hwnd, msg, wParam, lParam, ""};
    if (msg == WM_SETTEXT && lParam != 0) m.text = reinterpret_cast<const char*>(lParam);
    log.push_back(m);
    if (then) return then(hwnd, msg, wParam, lParam);
    return desktop.DefWindowProc(hwnd, msg, wParam, lParam);
  };
}

std::vector<Message> ClientTree::MessagesOf(HWND hwnd) const {
  std::vector<Message> out;
  for (const Message& m : log) {
    if (m.hwnd == hwnd) out.push_back(m);
  }
  return out;
}

HostTest::HostTest(sim::DesktopOptions options) : desktop(options), client(desktop) {
  program = desktop.CreateProcess("pallion");
}

HostTest::~HostTest() {
  Install(nullptr);
}

}  // namespace hostfix
