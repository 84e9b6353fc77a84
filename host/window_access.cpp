#include "host/window_access.h"

#include <algorithm>
#include <cstring>

#include "host/text.h"
#include "platform/files.h"
#include "platform/interception.h"
#include "platform/win32.h"

namespace host {

using namespace platform;

bool IsAOL7 = false;

namespace {

HWND imArea = 0;

constexpr const char* kChildClass = "AOL Child";
constexpr const char* kPallionCaptionStart = "Pallion \xB2\xB7\xBA :";
constexpr const char* kWelcomeStart = "Welcome, ";
constexpr const char* kSendIMCaption = "Send Instant Message";
constexpr const char* kErrorBoxClass = "#32770";
constexpr const char* kErrorBoxCaption = "America Online";

// The rich-text control's own commands.
constexpr WPARAM kRichSelectAll = 20005;
constexpr WPARAM kRichCopy = 20002;
constexpr WPARAM kRichPaste = 20003;

constexpr DWORD kRoomReadAccess = STANDARD_RIGHTS_REQUIRED | PROCESS_VM_READ;  // 0xF0010
constexpr uint32_t kItemPointerOffset = 28;
constexpr uint32_t kNameOffset = 6;
constexpr size_t kNameBytes = 16;

// The first "AOL Child" under the MDI client that satisfies the test.
HWND FindDocument(const std::function<bool(HWND)>& test) {
  HWND mdi = FindMDI();
  if (mdi == 0) return 0;
  for (HWND child = FindWindowEx(mdi, 0, kChildClass, nullptr); child != 0;
       child = FindWindowEx(mdi, child, kChildClass, nullptr)) {
    if (test(child)) return child;
  }
  return 0;
}

LPARAM TextParam(const std::string& text) {
  return reinterpret_cast<LPARAM>(text.c_str());
}

// The client's error boxes now on the screen.
std::vector<HWND> ErrorBoxes() {
  std::vector<HWND> boxes;
  for (HWND box = FindWindowEx(0, 0, kErrorBoxClass, kErrorBoxCaption); box != 0;
       box = FindWindowEx(0, box, kErrorBoxClass, kErrorBoxCaption)) {
    boxes.push_back(box);
  }
  return boxes;
}

double SecondsSinceMidnight() {
  DateTime now = Now();
  return now.hour * 3600.0 + now.minute * 60.0 + now.second + now.millisecond / 1000.0;
}

// Reads `size` bytes of another process; a block that ends sooner is read up to its end.
size_t ReadForeign(HANDLE process, uint32_t address, char* buffer, size_t size) {
  size_t read = 0;
  if (ReadProcessMemory(process, address, buffer, size, &read) && read == size) return size;
  size_t got = 0;
  while (got < size &&
         ReadProcessMemory(process, address + static_cast<uint32_t>(got), buffer + got, 1, &read) &&
         read == 1) {
    if (buffer[got] == '\0') return got + 1;
    ++got;
  }
  return got;
}

}  // namespace

void SetIMArea(HWND picIM) {
  imArea = picIM;
}
HWND IMArea() {
  return imArea;
}

HWND NthChild(HWND parent, const std::string& className, int n) {
  if (parent == 0 || n < 1) return 0;
  HWND found = 0;
  for (int i = 0; i < n; ++i) found = FindWindowEx(parent, found, className.c_str(), nullptr);
  return found;
}

HWND NthChildExact(HWND parent, const std::string& className, int n) {
  if (parent == 0 || n < 1) return 0;
  HWND found = 0;
  for (int i = 0; i < n; ++i) {
    found = FindWindowEx(parent, found, className.c_str(), nullptr);
    if (found == 0) return 0;
  }
  return found;
}

HWND FirstChild(HWND parent, const char* className) {
  if (parent == 0) return 0;
  return FindWindowEx(parent, 0, className, nullptr);
}

HWND FindAOL() {
  return FindWindow("AOL Frame25", nullptr);
}

HWND FindToolbar() {
  return FirstChild(FirstChild(FindAOL(), "AOL Toolbar"), "_AOL_Toolbar");
}

HWND FindMDI() {
  return FirstChild(FindAOL(), "MDIClient");
}

HWND FindChildByCaption(const std::string& caption) {
  return FindDocument([&](HWND child) { return GetCaption(child) == caption; });
}

HWND FindPallionChild() {
  return FindDocument(
      [](HWND child) { return GetCaption(child).starts_with(kPallionCaptionStart); });
}

HWND FindIMWindow() {
  return FindDocument([](HWND child) { return IsIMCaption(GetCaption(child)); });
}

HWND FindCurrentIM() {
  return FirstChild(imArea, kChildClass);
}

HWND FindIMInput() {
  return FindIMInputOf(FindCurrentIM());
}

HWND FindIMInputOf(HWND im) {
  return NthChild(im, "RICHCNTL", IsAOL7 ? 1 : 2);
}

HWND FindChatRoom() {
  return FindDocument([](HWND child) {
    return FirstChild(child, "RICHCNTL") != 0 && FirstChild(child, "_AOL_Listbox") != 0 &&
           FirstChild(child, "_AOL_Icon") != 0 && FirstChild(child, "_AOL_Static") != 0;
  });
}

HWND GetIMIcon11(HWND im) {
  return NthChildExact(im, "_AOL_Icon", 11);
}

bool IsIMStaticVisible(HWND im) {
  HWND status = NthChild(im, "_AOL_Static", IsAOL7 ? 8 : 5);
  return status != 0 && IsWindowVisible(status);
}

std::string GetCaption(HWND hwnd) {
  if (hwnd == 0 || GetWindowTextLength(hwnd) <= 0) return "";
  std::string caption = GetWindowText(hwnd);
  if (caption.size() > kMaxForeignText) caption.resize(kMaxForeignText);
  return caption;
}

std::string GetText(HWND hwnd) {
  if (hwnd == 0) return "";
  LRESULT claimed = SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0);
  if (claimed <= 0) return "";
  const size_t length = std::min(static_cast<size_t>(claimed), kMaxForeignText);
  std::string buffer(length + 1, '\0');
  LRESULT copied =
      SendMessage(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  if (copied <= 0) return "";
  buffer.resize(std::min(static_cast<size_t>(copied), length));
  return buffer;
}

std::string GetEditText(HWND richText) {
  if (richText == 0) return "";
  std::string text = GetText(richText);
  if (!text.empty() && text[0] != '\0') return text;
  LRESULT lines = SendMessage(richText, EM_GETLINECOUNT, 0, 0);
  std::string result = dwXGetEditLine(richText, 1);
  // Every line adds at least its separator, so the bound also ends a claimed count of billions.
  for (LRESULT n = 2; n <= lines && result.size() < kMaxForeignText; ++n) {
    std::string line = dwXGetEditLine(richText, static_cast<int>(n));
    if (line == "\r") {
      result += line;
    } else {
      result += '\r';
      result += line;
    }
  }
  if (result.size() > kMaxForeignText) result.resize(kMaxForeignText);
  return result;
}

std::string GetFirstIconText(HWND im) {
  return GetText(FirstChild(im, "_AOL_Icon"));
}

std::string GetIMScreenName(HWND im) {
  return ScreenNameFromCaption(GetCaption(im));
}

std::string GetUserSN() {
  HWND welcome =
      FindDocument([](HWND child) { return GetCaption(child).starts_with(kWelcomeStart); });
  if (welcome == 0) return "";
  std::string caption = GetCaption(welcome);
  size_t start = std::strlen(kWelcomeStart);
  size_t bang = caption.find('!', start);
  if (bang == std::string::npos) return "";
  return caption.substr(start, bang - start);
}

void GetRoomList(const std::function<void(const std::string&)>& add, bool includeSelf) {
  HWND room = FindChatRoom();
  if (room == 0) return;
  HWND list = FirstChild(room, "_AOL_Listbox");
  DWORD processId = 0;
  GetWindowThreadProcessId(list, &processId);
  HANDLE process = OpenProcess(kRoomReadAccess, false, processId);
  if (process == 0) return;
  const std::string self = GetUserSN();
  LRESULT count = SendMessage(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT data = SendMessage(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0);
    if (data == LB_ERR) continue;
    uint32_t pointer = 0;
    size_t read = 0;
    if (!ReadProcessMemory(process, static_cast<uint32_t>(data) + kItemPointerOffset, &pointer,
                           sizeof pointer, &read) ||
        read != sizeof pointer) {
      continue;
    }
    char name[kNameBytes] = {};
    size_t got = ReadForeign(process, pointer + kNameOffset, name, kNameBytes);
    std::string member(name, strnlen(name, got));
    if (member.empty()) continue;
    if (includeSelf || member != self) {
      if (add) add(member);
    }
  }
  CloseHandle(process);
}

void GetRoomList(std::vector<std::string>& names, bool includeSelf) {
  GetRoomList([&](const std::string& name) { names.push_back(name); }, includeSelf);
}

std::string GetRichHTML(HWND richText, HWND owner) {
  (void)owner;
  if (richText == 0) return "";
  SendMessage(richText, WM_COMMAND, kRichSelectAll, 0);
  SendMessage(richText, WM_COMMAND, kRichCopy, 0);
  std::string html;
  if (OpenClipboard(richText)) {
    HGLOBAL data = GetClipboardData(RegisterClipboardFormat("AOLMAIL"));
    void* locked = GlobalLock(data);
    if (locked == nullptr) {
      data = GetClipboardData(RegisterClipboardFormat("AOLMAIL2"));
      locked = GlobalLock(data);
    }
    if (locked != nullptr) {
      // Bounded by the block, in case the client left its text without an ending NUL.
      const char* text = static_cast<const char*>(locked);
      html.assign(text, strnlen(text, GlobalSize(data)));
      GlobalUnlock(data);
    }
    CloseClipboard();
  }
  SendMessage(richText, EM_SETSEL, 0, 0);
  return html;
}

void SetText(HWND hwnd, const std::string& text) {
  if (hwnd == 0) return;
  SendMessage(hwnd, WM_SETTEXT, 0, TextParam(text));
}

void HideWin(HWND hwnd) {
  if (hwnd != 0) ShowWindow(hwnd, SW_HIDE);
}

void ShowWin(HWND hwnd) {
  if (hwnd != 0) ShowWindow(hwnd, SW_SHOW);
}

void CloseWin(HWND hwnd) {
  if (hwnd != 0) PostMessage(hwnd, WM_CLOSE, 0, 0);
}

void ClickIcon(HWND icon) {
  if (icon == 0) return;
  SendMessage(icon, WM_LBUTTONDOWN, 0, 0);
  SendMessage(icon, WM_KEYDOWN, VK_SPACE, 0);
  SendMessage(icon, WM_KEYUP, VK_SPACE, 0);
}

void ClickSendIcon() {
  DoEvents();
  HWND im = FindCurrentIM();
  if (im == 0) return;
  ClickSendIconOf(im);
}

void ClickSendIconOf(HWND im) {
  ClickIcon(NthChild(im, "_AOL_Icon", 10));
}

void ClickIntoInput(HWND im) {
  SendMessage(FindIMInputOf(im), WM_LBUTTONDOWN, 0, 0);
}

void ClickOKIcon(HWND im) {
  HWND first = FirstChild(im, "_AOL_Icon");
  if (first != 0 && GetText(first) == "OK") ClickIcon(first);
}

void ClickRespondIcon(HWND im) {
  HWND respond = GetIMIcon11(im);
  if (respond != 0 && GetText(respond) == "Respond") ClickIcon(respond);
}

void CloseEditImage(HWND im) {
  HWND editor = FirstChild(im, "_AOL_EditImage");
  if (editor != 0 && IsWindowVisible(editor)) SendMessage(editor, WM_CLOSE, 0, 0);
}

void RunAOLMenu(int menuPosition, int itemPosition) {
  HWND aol = FindAOL();
  if (aol == 0) return;
  HMENU bar = GetMenu(aol);
  HMENU sub = bar == 0 ? 0 : GetSubMenu(bar, menuPosition);
  if (sub == 0) return;
  UINT id = GetMenuItemID(sub, itemPosition);
  // A pop-up item or a position past the end has no command to run.
  if (id == 0xFFFFFFFF) return;
  SendMessage(aol, WM_COMMAND, id, 0);
}

void RunKeyword(const std::string& keyword) {
  HWND box = FirstChild(FirstChild(FindToolbar(), "_AOL_Combobox"), "Edit");
  if (box == 0) return;
  SetText(box, keyword);
  if (keyword.empty()) return;
  SendMessage(box, WM_CHAR, 0x20, 0);
  SendMessage(box, WM_CHAR, 0x0D, 0);
}

void PutRichHTML(HWND richText, HWND owner, const std::string& html) {
  if (html.empty() || richText == 0) return;
  // Offered in both formats in one go: whichever the control reads, it pastes the text once.
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  bool placed = false;
  for (const char* format : {"AOLMAIL", "AOLMAIL2"}) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, html.size() + 1);
    if (memory == 0) continue;
    UINT id = RegisterClipboardFormat(format);
    void* locked = GlobalLock(memory);
    if (locked == nullptr) {
      GlobalFree(memory);
      continue;
    }
    dwCopyData(html, locked, html.size());
    GlobalUnlock(memory);
    if (SetClipboardData(id, memory) != 0) {
      placed = true;
    } else {
      GlobalFree(memory);
    }
  }
  CloseClipboard();
  if (placed) SendMessage(richText, WM_COMMAND, kRichPaste, 0);
}

SendIMResult SendIM(const std::string& screenName, const std::string& message) {
  RunKeyword("aol://9293:" + screenName);
  HWND window = 0;
  HWND input = 0;
  HWND send = 0;
  auto ready = [&] {
    window = FindChildByCaption(kSendIMCaption);
    input = FirstChild(window, "RICHCNTL");
    send = NthChildExact(window, "_AOL_Icon", 10);
    return input != 0 && send != 0;
  };
  if (!WaitFor(ready, kSendIMTimeoutMs)) {
    CloseWin(window);
    return SendIMResult::WindowMissing;
  }
  SetText(input, message);
  // Only a box that comes up after Send is the client's answer to it; one the person already had
  // open is about something else and is left alone.
  const std::vector<HWND> earlierBoxes = ErrorBoxes();
  ClickIcon(send);
  HWND errorBox = 0;
  auto outcome = [&] {
    if (!IsWindow(window)) return true;
    for (HWND box : ErrorBoxes()) {
      if (std::find(earlierBoxes.begin(), earlierBoxes.end(), box) == earlierBoxes.end()) {
        errorBox = box;
        return true;
      }
    }
    return false;
  };
  if (!WaitFor(outcome, kSendIMTimeoutMs)) {
    CloseWin(window);
    return SendIMResult::TimedOut;
  }
  if (errorBox == 0) return SendIMResult::Sent;
  HWND ok = FirstChild(errorBox, "Button");
  if (ok != 0) {
    PostMessage(ok, WM_KEYDOWN, VK_SPACE, 0);
    PostMessage(ok, WM_KEYUP, VK_SPACE, 0);
  }
  CloseWin(window);
  return SendIMResult::Refused;
}

SendIMResult IMOffFor(const std::string& screenName) {
  return SendIM("$IM_OFF " + screenName, "Pallion \xB2\xB7\xBA");
}

SendIMResult IMOnFor(const std::string& screenName) {
  return SendIM("$IM_ON " + screenName, "Palli&on \xB2\xB7\xBA");
}

void SendChatText(const std::string& text) {
  HWND input = NthChild(FindChatRoom(), "RICHCNTL", IsAOL7 ? 1 : 2);
  if (input == 0) return;
  SetText(input, text);
  SendMessage(input, WM_CHAR, 0x0D, 0);
}

void StayOnTop(HWND hwnd) {
  if (hwnd != 0) SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void DragForm(HWND hwnd) {
  if (hwnd == 0) return;
  ReleaseCapture();
  SendMessage(hwnd, WM_SYSCOMMAND, SC_MOVE_CAPTION, 0);
}

void Pause(double seconds) {
  const int64_t wanted = RoundHalfEven(seconds);
  double last = static_cast<double>(RoundHalfEven(SecondsSinceMidnight()));
  double elapsed = 0;
  for (;;) {
    double now = SecondsSinceMidnight();
    double step = now - last;
    // The clock restarts at midnight; the rounded start may lie up to half a second ahead.
    if (step < -43200.0) step += 86400.0;
    elapsed += step;
    last = now;
    if (elapsed >= static_cast<double>(wanted) || ProcessEnded()) return;
    DoEvents();
  }
}

bool WaitFor(const std::function<bool()>& done, uint32_t timeoutMs) {
  const uint32_t start = GetTickCount();
  while (!done()) {
    if (ProcessEnded() || GetTickCount() - start >= timeoutMs) return false;
    DoEvents();
  }
  return true;
}

void PlaySoundFile(const std::string& path) {
  if (!platform::files::Exists(path) || platform::files::IsDirectory(path)) return;
  PlaySound(path, SND_ASYNC | SND_NODEFAULT);
}

}  // namespace host
