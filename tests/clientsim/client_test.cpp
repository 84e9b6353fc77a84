#include "clientsim/client.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "gfx/canvas.h"
#include "host/window_access.h"
#include "platform/sim/desktop.h"
#include "platform/win32.h"

namespace clientsim {
namespace {

using namespace platform;

// The n-th (from 1) child of a class, counted in sibling order; 0 when there are fewer.
HWND Nth(HWND parent, const char* cls, int n) {
  HWND w = 0;
  for (int i = 0; i < n; ++i) {
    w = FindWindowEx(parent, w, cls, nullptr);
    if (w == 0) return 0;
  }
  return w;
}

int CountOf(HWND parent, const char* cls) {
  int n = 0;
  for (HWND w = FindWindowEx(parent, 0, cls, nullptr); w != 0;
       w = FindWindowEx(parent, w, cls, nullptr)) {
    ++n;
  }
  return n;
}

std::string Text(HWND hwnd) {
  const LRESULT len = SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::string buffer(static_cast<size_t>(len) + 1, '\0');
  const LRESULT n =
      SendMessage(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  return buffer.substr(0, static_cast<size_t>(n));
}

void SetText(HWND hwnd, const std::string& text) {
  SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Presses an icon as the add-on does: button down, space down, space up.
void Press(HWND icon) {
  SendMessage(icon, WM_LBUTTONDOWN, 0, 0);
  SendMessage(icon, WM_KEYDOWN, VK_SPACE, 0);
  SendMessage(icon, WM_KEYUP, VK_SPACE, 0);
}

std::string Line(HWND rich, int index, uint16_t size = 256) {
  std::string buffer(size + 2, '\x7F');
  std::memcpy(buffer.data(), &size, sizeof size);
  const LRESULT n = SendMessage(rich, EM_GETLINE, static_cast<WPARAM>(index),
                                reinterpret_cast<LPARAM>(buffer.data()));
  return buffer.substr(0, static_cast<size_t>(n));
}

std::string ClipboardText(const char* format) {
  std::string out;
  if (!OpenClipboard(0)) return out;
  const HGLOBAL mem = GetClipboardData(RegisterClipboardFormat(format));
  if (mem != 0) {
    if (const char* p = static_cast<const char*>(GlobalLock(mem))) {
      out = p;
      GlobalUnlock(mem);
    }
  }
  CloseClipboard();
  return out;
}

class ClientFixture {
 public:
  explicit ClientFixture(ClientOptions options = {}) {
    Install(&desktop);
    aol = desktop.CreateProcess("AOL");
    client = std::make_unique<Client>(options);
    started = client->Start();
    addon = desktop.CreateProcess("Addon");
  }
  ~ClientFixture() {
    client.reset();
    Install(nullptr);
  }
  void Run(uint64_t ms = 1000) { desktop.RunFor(ms); }
  HWND Doc(const std::string& caption) {
    return FindWindowEx(client->MdiClient(), 0, "AOL Child", caption.c_str());
  }

  sim::Desktop desktop;
  DWORD aol = 0, addon = 0;
  std::unique_ptr<Client> client;
  bool started = false;
};

class ClientTest : public ::testing::TestWithParam<Layout> {
 protected:
  ClientTest() : f(ClientOptions{GetParam()}) {}
  ClientFixture f;
  Client& client() { return *f.client; }
  bool Aol7() const { return GetParam() == Layout::Aol7; }
  HWND View(HWND im) { return Aol7() ? Nth(im, "RICHCNTLREADONLY", 1) : Nth(im, "RICHCNTL", 1); }
  HWND Input(HWND im) { return Aol7() ? Nth(im, "RICHCNTL", 1) : Nth(im, "RICHCNTL", 2); }
  void SignOn() {
    client().SignOn("Alice");
    f.Run();
  }
};

INSTANTIATE_TEST_SUITE_P(Layouts, ClientTest, ::testing::Values(Layout::Aol6, Layout::Aol7),
                         [](const auto& info) {
                           return info.param == Layout::Aol6 ? std::string("Aol6")
                                                             : std::string("Aol7");
                         });

TEST_P(ClientTest, MainWindowTreeAsTheAddOnFindsIt) {
  ASSERT_TRUE(f.started);
  const HWND main = FindWindow("AOL Frame25", nullptr);
  ASSERT_EQ(main, client().MainWindow());
  EXPECT_EQ(GetWindowText(main), "America Online");
  EXPECT_EQ(FindWindowEx(main, 0, "MDIClient", nullptr), client().MdiClient());
  const HWND toolbar =
      FindWindowEx(FindWindowEx(main, 0, "AOL Toolbar", nullptr), 0, "_AOL_Toolbar", nullptr);
  ASSERT_NE(toolbar, 0u);
  EXPECT_GE(CountOf(toolbar, "_AOL_Icon"), 5);
  EXPECT_NE(Nth(toolbar, "_AOL_Edit", 5), 0u);
  EXPECT_EQ(Nth(toolbar, "_AOL_Edit", 6), 0u);
  const HWND edit =
      FindWindowEx(FindWindowEx(toolbar, 0, "_AOL_Combobox", nullptr), 0, "Edit", nullptr);
  EXPECT_EQ(edit, client().KeywordBox());
  // The MDI area starts 105 pixels below the top of the screen, at its left edge.
  RECT r;
  GetWindowRect(client().MdiClient(), r);
  EXPECT_EQ(r.top, 105);
  EXPECT_EQ(r.left, 0);
  // Six menus, so that an appended one sits at position 6.
  EXPECT_EQ(GetMenuItemCount(GetMenu(main)), 6);
}

TEST(ClientOlder, FewerToolbarEdits) {
  ClientFixture f(ClientOptions{Layout::Aol6, 4});
  const HWND toolbar = FindWindowEx(FindWindowEx(f.client->MainWindow(), 0, "AOL Toolbar", nullptr),
                                    0, "_AOL_Toolbar", nullptr);
  EXPECT_NE(Nth(toolbar, "_AOL_Edit", 4), 0u);
  EXPECT_EQ(Nth(toolbar, "_AOL_Edit", 5), 0u);
}

TEST_P(ClientTest, SignOnShowsWelcomeAndChannels) {
  EXPECT_EQ(client().WelcomeWindow(), 0u);
  SignOn();
  EXPECT_EQ(client().ScreenName(), "Alice");
  EXPECT_NE(f.Doc("Welcome, Alice!"), 0u);
  EXPECT_NE(f.Doc("AOL Channels"), 0u);
  client().SignOff();
  f.Run();
  EXPECT_EQ(f.Doc("Welcome, Alice!"), 0u);
  EXPECT_EQ(client().ScreenName(), "");
}

TEST_P(ClientTest, FirstMenuItemOpensUntitledWithClosableChildren) {
  const HWND main = client().MainWindow();
  const HMENU file = GetSubMenu(GetMenu(main), 0);
  SendMessage(main, WM_COMMAND, GetMenuItemID(file, 0), 0);
  const HWND doc = f.Doc("Untitled");
  ASSERT_NE(doc, 0u);
  EXPECT_EQ(FindWindowEx(client().MdiClient(), 0, "AOL Child", nullptr), doc);  // on top
  EXPECT_GE(CountOf(doc, "_AOL_Icon"), 2);
  for (const char* cls : {"_AOL_FontCombo", "_AOL_Combobox", "RICHCNTL", "_AOL_Static"}) {
    EXPECT_EQ(CountOf(doc, cls), 1) << cls;
  }
  while (HWND icon = FindWindowEx(doc, 0, "_aol_icon", nullptr)) {
    SendMessage(icon, WM_CLOSE, 0, 0);
    ASSERT_FALSE(IsWindow(icon));
  }
  for (const char* cls : {"_AOL_FontCombo", "_AOL_Combobox", "RICHCNTL", "_AOL_Static"}) {
    SendMessage(FindWindowEx(doc, 0, cls, nullptr), WM_CLOSE, 0, 0);
  }
  EXPECT_EQ(GetWindow(doc, GW_CHILD), 0u);
}

TEST_P(ClientTest, KeywordRunsOnSpaceThenEnterOnly) {
  SignOn();
  const HWND box = client().KeywordBox();
  SetText(box, "aol://9293:Bob");
  f.Run(100);
  EXPECT_TRUE(client().KeywordsRun().empty());
  EXPECT_EQ(f.Doc("Send Instant Message"), 0u);
  SendMessage(box, WM_CHAR, ' ', 0);
  SendMessage(box, WM_CHAR, '\r', 0);
  ASSERT_EQ(client().KeywordsRun().size(), 1u);
  EXPECT_EQ(client().KeywordsRun()[0], "aol://9293:Bob");
  const HWND send = f.Doc("Send Instant Message");
  ASSERT_NE(send, 0u);
  EXPECT_EQ(GetWindowText(FindWindowEx(send, 0, "_AOL_Edit", nullptr)), "Bob");
  EXPECT_NE(Nth(send, "RICHCNTL", 1), 0u);
  EXPECT_NE(Nth(send, "_AOL_Icon", 10), 0u);
  // An empty box runs nothing.
  SetText(box, "");
  SendMessage(box, WM_CHAR, '\r', 0);
  EXPECT_EQ(client().KeywordsRun().size(), 1u);
  // Locate opens the member's locate window.
  SetText(box, "aol://3548:Bob");
  SendMessage(box, WM_CHAR, ' ', 0);
  SendMessage(box, WM_CHAR, '\r', 0);
  EXPECT_NE(f.Doc("Locate Member Online"), 0u);
}

TEST_P(ClientTest, SendImDeliveredClosesWindowAndOpensConversation) {
  SignOn();
  SetText(client().KeywordBox(), "aol://9293:Bob");
  SendMessage(client().KeywordBox(), WM_CHAR, '\r', 0);
  const HWND send = client().SendIMWindow();
  ASSERT_NE(send, 0u);
  SetText(Nth(send, "RICHCNTL", 1), "<b>hello</b>");
  Press(Nth(send, "_AOL_Icon", 10));
  ASSERT_EQ(client().SentIMs().size(), 1u);
  EXPECT_EQ(client().SentIMs()[0].to, "Bob");
  EXPECT_EQ(client().SentIMs()[0].text, "<b>hello</b>");
  EXPECT_TRUE(IsWindow(send));  // closes after a short delay
  f.Run(1000);
  EXPECT_FALSE(IsWindow(send));
  const HWND im = client().IMWindow("Bob");
  ASSERT_NE(im, 0u);
  EXPECT_EQ(GetWindowText(im), " IM To: Bob");
  EXPECT_EQ(client().ConversationText("Bob"), "\rAlice: hello");
}

TEST_P(ClientTest, SendImRefusedShowsErrorBoxDismissedBySpace) {
  SignOn();
  client().SetUnreachable("Carl");
  SetText(client().KeywordBox(), "aol://9293:Carl");
  SendMessage(client().KeywordBox(), WM_CHAR, '\r', 0);
  const HWND send = client().SendIMWindow();
  SetText(Nth(send, "RICHCNTL", 1), "hi");
  Press(Nth(send, "_AOL_Icon", 10));
  f.Run(1000);
  const HWND box = FindWindow("#32770", "America Online");
  ASSERT_NE(box, 0u);
  EXPECT_EQ(box, client().ErrorBox());
  const HWND ok = FindWindowEx(box, 0, "Button", nullptr);
  ASSERT_NE(ok, 0u);
  PostMessage(ok, WM_KEYDOWN, VK_SPACE, 0);
  PostMessage(ok, WM_KEYUP, VK_SPACE, 0);
  f.Run(100);
  EXPECT_FALSE(IsWindow(box));
  EXPECT_TRUE(IsWindow(send));
  PostMessage(send, WM_CLOSE, 0, 0);
  f.Run(100);
  EXPECT_FALSE(IsWindow(send));
}

void SendThroughWindow(ClientFixture& f, const std::string& to) {
  SetText(f.client->KeywordBox(), "aol://9293:" + to);
  SendMessage(f.client->KeywordBox(), WM_CHAR, '\r', 0);
  const HWND send = f.client->SendIMWindow();
  ASSERT_NE(send, 0u);
  SetText(Nth(send, "RICHCNTL", 1), "Pallion");
  Press(Nth(send, "_AOL_Icon", 10));
  f.Run(1000);
  EXPECT_FALSE(IsWindow(send));
}

TEST_P(ClientTest, ImOffAndOnBlockAndAnswer) {
  SignOn();
  SendThroughWindow(f, "$IM_OFF Bob");
  EXPECT_EQ(client().BlockedNames(), std::vector<std::string>{"Bob"});
  EXPECT_FALSE(client().AllIMsBlocked());
  EXPECT_NE(f.Doc(">IM From: $im_off"), 0u);
  client().ReceiveIM("bob", "hi");
  client().ReceiveIM("Dan", "hey");
  f.Run();
  EXPECT_EQ(client().IMWindow("Bob"), 0u);
  ASSERT_EQ(client().BlockedIMs().size(), 1u);
  EXPECT_EQ(client().BlockedIMs()[0].from, "bob");
  EXPECT_NE(client().IMWindow("Dan"), 0u);

  SendThroughWindow(f, "$IM_OFF");
  EXPECT_TRUE(client().AllIMsBlocked());
  client().ReceiveIM("Eve", "x");
  f.Run();
  EXPECT_EQ(client().IMWindow("Eve"), 0u);

  SendThroughWindow(f, "$IM_ON");
  EXPECT_FALSE(client().AllIMsBlocked());
  EXPECT_NE(f.Doc(">IM From: $im_on"), 0u);
  SendThroughWindow(f, "$IM_ON Bob");
  EXPECT_TRUE(client().BlockedNames().empty());
  client().ReceiveIM("Bob", "again");
  f.Run();
  EXPECT_NE(client().IMWindow("Bob"), 0u);
  // The commands are no IMs to anybody.
  EXPECT_TRUE(client().SentIMs().empty());
}

TEST_P(ClientTest, IncomingImWindowLayoutAndUnreadMarker) {
  SignOn();
  client().ReceiveIM("Bob", "<Font Color=#FF0000>hi</Font>", {.statusVisible = true});
  f.Run();
  const HWND im = client().IMWindow("Bob");
  ASSERT_NE(im, 0u);
  EXPECT_EQ(GetClassName(im), "AOL Child");
  EXPECT_EQ(GetParent(im), client().MdiClient());
  EXPECT_EQ(GetWindowText(im), ">IM From: Bob");
  EXPECT_EQ(CountOf(im, "RICHCNTLREADONLY"), Aol7() ? 1 : 0);
  EXPECT_EQ(CountOf(im, "RICHCNTL"), Aol7() ? 1 : 2);
  EXPECT_EQ(CountOf(im, "_AOL_Listbox"), 0);
  EXPECT_EQ(GetWindowText(Nth(im, "_AOL_Icon", 10)), "Send");
  EXPECT_EQ(Text(Nth(im, "_AOL_Icon", 11)), "Respond");
  EXPECT_FALSE(IsWindowVisible(Nth(im, "_AOL_Icon", 11)));
  EXPECT_NE(Text(Nth(im, "_AOL_Icon", 1)), "OK");
  const HWND status = Nth(im, "_AOL_Static", Aol7() ? 8 : 5);
  ASSERT_NE(status, 0u);
  EXPECT_TRUE(IsWindowVisible(status));
  const HWND pane = FindWindowEx(im, 0, "_AOL_EditImage", nullptr);
  ASSERT_NE(pane, 0u);
  EXPECT_FALSE(IsWindowVisible(pane));

  // A click into the input box reads the message.
  SendMessage(Input(im), WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(GetWindowText(im), " IM From: Bob");
  client().ReceiveIM("Bob", "more");
  f.Run();
  EXPECT_EQ(GetWindowText(im), ">IM From: Bob");
  EXPECT_EQ(client().IMWindow("Bob"), im);  // the same window is reused
  EXPECT_EQ(client().ConversationText("Bob"), "\rBob: hi\rBob: more");
  SendMessage(Input(im), WM_SETFOCUS, 0, 0);
  EXPECT_EQ(GetWindowText(im), " IM From: Bob");
}

TEST_P(ClientTest, SendFromImWindowAppendsClearsAndMarksRead) {
  SignOn();
  client().ReceiveIM("Bob", "hi");
  f.Run();
  const HWND im = client().IMWindow("Bob");
  SetText(Input(im), "<Font Color=#0000FF>yo</Font>");
  Press(Nth(im, "_AOL_Icon", 10));
  ASSERT_EQ(client().SentIMs().size(), 1u);
  EXPECT_EQ(client().SentIMs()[0].text, "<Font Color=#0000FF>yo</Font>");
  EXPECT_EQ(Text(Input(im)), "");
  EXPECT_EQ(GetWindowText(im), " IM From: Bob");
  EXPECT_EQ(client().ConversationText("Bob"), "\rBob: hi\rAlice: yo");
}

TEST_P(ClientTest, RealClickPressesOnceAndDriverSends) {
  SignOn();
  client().ReceiveIM("Bob", "hi");
  f.Run();
  const HWND im = client().IMWindow("Bob");
  SetText(Input(im), "one");
  const HWND send = Nth(im, "_AOL_Icon", 10);
  SendMessage(send, WM_LBUTTONDOWN, 0, 0);
  SendMessage(send, WM_KEYDOWN, VK_SPACE, 0);
  SendMessage(send, WM_LBUTTONUP, 0, 0);
  SendMessage(send, WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(client().SentIMs().size(), 1u);
  client().TypeAndSendIM("Bob", "two");
  f.Run();
  ASSERT_EQ(client().SentIMs().size(), 2u);
  EXPECT_EQ(client().SentIMs()[1].text, "two");
}

TEST_P(ClientTest, InternetImWaitsForAcceptance) {
  SignOn();
  client().ReceiveIM("net@example.com", "secret", {.internet = true, .statusVisible = false});
  f.Run();
  const HWND im = client().IMWindow("net@example.com");
  ASSERT_NE(im, 0u);
  EXPECT_FALSE(IsWindowVisible(Nth(im, "_AOL_Static", Aol7() ? 8 : 5)));
  const HWND accept = Nth(im, "_AOL_Icon", 1);
  EXPECT_EQ(Text(accept), "OK");
  EXPECT_EQ(client().ConversationText("net@example.com"), "");
  Press(accept);
  EXPECT_NE(Text(accept), "OK");
  EXPECT_EQ(client().ConversationText("net@example.com"), "\rnet@example.com: secret");
  EXPECT_EQ(GetWindowText(im), ">IM From: net@example.com");
}

TEST_P(ClientTest, RespondTurnsIntoConversation) {
  SignOn();
  client().ReceiveIM("Bob", "hi", {.needsRespond = true});
  f.Run();
  const HWND im = client().IMWindow("Bob");
  const HWND respond = Nth(im, "_AOL_Icon", 11);
  EXPECT_TRUE(IsWindowVisible(respond));
  Press(respond);
  EXPECT_FALSE(IsWindowVisible(respond));
}

TEST_P(ClientTest, ConversationViewReadByLinesOnly) {
  SignOn();
  client().ReceiveIM("Bob", "first");
  client().ReceiveIM("Bob", "second line");
  f.Run();
  const HWND view = View(client().IMWindow("Bob"));
  EXPECT_EQ(Text(view), "");
  char buffer[8] = "xxxxxxx";
  EXPECT_EQ(SendMessage(view, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 0);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(SendMessage(view, EM_GETLINECOUNT, 0, 0), 3);
  EXPECT_EQ(Line(view, 0), "");
  EXPECT_EQ(Line(view, 1), "Bob: first");
  EXPECT_EQ(Line(view, 2), "Bob: second line");
  EXPECT_EQ(Line(view, 3), "");
  EXPECT_EQ(Line(view, 2, 4), "Bob:");  // a full buffer: exactly its size

  // The add-on's begin line replaces the first character.
  SendMessage(view, EM_SETSEL, 0, 1);
  SendMessage(view, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(" Begin IM\r\n "));
  EXPECT_EQ(Line(view, 0), " Begin IM");
  EXPECT_EQ(Line(view, 1), " Bob: first");
  DWORD a = 9, b = 9;
  SendMessage(view, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
  EXPECT_EQ(a, 11u);
  EXPECT_EQ(b, 11u);
}

TEST(ClientRichText, EmptyControlHasOneLine) {
  ClientFixture f;
  f.client->SignOn("Alice");
  f.client->ReceiveIM("Bob", "x", {.internet = true});
  f.Run();
  const HWND view = Nth(f.client->IMWindow("Bob"), "RICHCNTL", 1);
  EXPECT_EQ(SendMessage(view, EM_GETLINECOUNT, 0, 0), 1);
  SendMessage(view, EM_SETSEL, 0, 1);
  SendMessage(view, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("top"));
  EXPECT_EQ(Line(view, 0), "top");
}

TEST_P(ClientTest, CopyAndPasteThroughClientFormats) {
  SignOn();
  client().ReceiveIM("Bob", "<b>bold</b> text");
  f.Run();
  const HWND view = View(client().IMWindow("Bob"));
  SendMessage(view, WM_COMMAND, 20005, 0);
  SendMessage(view, WM_COMMAND, 20002, 0);
  const std::string html = ClipboardText("AOLMAIL");
  EXPECT_EQ(ClipboardText("AOLMAIL2"), html);
  EXPECT_NE(html.find("bold"), std::string::npos);
  EXPECT_NE(html.find("<B>"), std::string::npos);

  // Paste into a new document.
  SendMessage(client().MainWindow(), WM_COMMAND,
              GetMenuItemID(GetSubMenu(GetMenu(client().MainWindow()), 0), 0), 0);
  const HWND doc = f.Doc("Untitled");
  const HWND rich = FindWindowEx(doc, 0, "RICHCNTL", nullptr);
  SendMessage(rich, WM_COMMAND, 20003, 0);
  EXPECT_EQ(Line(rich, 1), "Bob: bold text");

  // The add-on's own paste: "AOLMAIL2" alone is taken as well.
  OpenClipboard(0);
  EmptyClipboard();
  const std::string mine = "<Font Color=#00FF00>green</Font>";
  const HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, mine.size() + 1);
  std::memcpy(GlobalLock(mem), mine.c_str(), mine.size());
  GlobalUnlock(mem);
  SetClipboardData(RegisterClipboardFormat("AOLMAIL2"), mem);
  CloseClipboard();
  SendMessage(rich, WM_COMMAND, 20005, 0);
  SendMessage(rich, WM_COMMAND, 20003, 0);
  EXPECT_EQ(SendMessage(rich, EM_GETLINECOUNT, 0, 0), 1);
  EXPECT_EQ(Line(rich, 0), "green");
}

TEST_P(ClientTest, ChatRoomMembersReadFromClientMemory) {
  SignOn();
  client().OpenChatRoom("Town Square", {"Bob", "SixteenCharName1"});
  f.Run();
  const HWND room = client().ChatRoom();
  ASSERT_NE(room, 0u);
  for (const char* cls : {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static"}) {
    EXPECT_NE(FindWindowEx(room, 0, cls, nullptr), 0u) << cls;
  }
  const HWND list = FindWindowEx(room, 0, "_AOL_Listbox", nullptr);
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  EXPECT_EQ(pid, f.aol);
  const HANDLE process = OpenProcess(STANDARD_RIGHTS_REQUIRED | PROCESS_VM_READ, false, pid);
  ASSERT_NE(process, 0u);
  std::vector<std::string> names;
  const LRESULT count = SendMessage(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const uint32_t data = static_cast<uint32_t>(SendMessage(list, LB_GETITEMDATA, i, 0));
    uint32_t pointer = 0;
    size_t read = 0;
    ASSERT_TRUE(ReadProcessMemory(process, data + 28, &pointer, 4, &read));
    char name[16];
    ASSERT_TRUE(ReadProcessMemory(process, pointer + 6, name, 16, &read));
    names.emplace_back(name, strnlen(name, 16));
  }
  CloseHandle(process);
  EXPECT_EQ(names, (std::vector<std::string>{"Alice", "Bob", "SixteenCharName1"}));

  client().EnterRoom("Carl");
  client().LeaveRoom("Bob");
  f.Run();
  EXPECT_EQ(client().RoomMembers(),
            (std::vector<std::string>{"Alice", "SixteenCharName1", "Carl"}));
  EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 3);
}

TEST_P(ClientTest, ChatInputSaysLineOnEnter) {
  SignOn();
  client().OpenChatRoom("Town Square", {"Bob"});
  f.Run();
  const HWND room = client().ChatRoom();
  const HWND input = Aol7() ? Nth(room, "RICHCNTL", 1) : Nth(room, "RICHCNTL", 2);
  SetText(input, "hello room");
  SendMessage(input, WM_CHAR, '\r', 0);
  ASSERT_EQ(client().ChatLines().size(), 1u);
  EXPECT_EQ(client().ChatLines()[0].text, "hello room");
  EXPECT_EQ(client().ChatLines()[0].room, "Town Square");
  EXPECT_EQ(Text(input), "");
}

TEST_P(ClientTest, ImageEditorPaneOpensAndCloses) {
  SignOn();
  client().ReceiveIM("Bob", "hi");
  f.Run();
  client().OpenImageEditor("Bob");
  f.Run();
  const HWND pane = FindWindowEx(client().IMWindow("Bob"), 0, "_AOL_EditImage", nullptr);
  EXPECT_TRUE(IsWindowVisible(pane));
  SendMessage(pane, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(pane));
}

TEST_P(ClientTest, ClosingImAndMainWindow) {
  SignOn();
  client().ReceiveIM("Bob", "hi");
  f.Run();
  const HWND im = client().IMWindow("Bob");
  client().CloseIM("Bob");
  f.Run();
  EXPECT_FALSE(IsWindow(im));
  EXPECT_EQ(client().IMWindow("Bob"), 0u);
  const HWND main = client().MainWindow();
  PostMessage(main, WM_CLOSE, 0, 0);
  f.Run(100);
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(FindWindow("AOL Frame25", nullptr), 0u);
  EXPECT_FALSE(client().Running());
}

TEST_P(ClientTest, ScreenshotShowsTheClient) {
  SignOn();
  client().ReceiveIM("Bob", "<Font Color=#00C000>green</Font>");
  f.Run();
  gfx::Canvas screen = f.desktop.RenderScreen();
  RECT mdi;
  GetWindowRect(client().MdiClient(), mdi);
  // Bottom-right corner of the MDI area: no document covers it.
  EXPECT_EQ(screen.GetPixel(mdi.right - 5, mdi.bottom - 5) & 0xFFFFFF, 0x808080u);
  RECT view;
  GetWindowRect(View(client().IMWindow("Bob")), view);
  bool green = false;
  for (int y = view.top; y < view.bottom && !green; ++y) {
    for (int x = view.left; x < view.right && !green; ++x) {
      const auto c = screen.GetPixel(x, y) & 0xFFFFFF;
      green = GetGValue(c) > 150 && GetRValue(c) < 80 && GetBValue(c) < 80;
    }
  }
  EXPECT_TRUE(green) << "the message is painted in its colour";
  if (const char* dir = std::getenv("CLIENTSIM_SHOTS")) {
    f.desktop.SaveScreenshot(std::string(dir) + "/client.png");
  }
}

TEST(ClientSendIm, RefusalsShowTheErrorBoxAndSendNothing) {
  struct Case {
    const char* name;
    bool signOn;
    std::string to;
    std::string text;
  };
  const Case cases[] = {
      {"signed off", false, "Bob", "hi"},          {"no addressee", true, "", "hi"},
      {"empty message", true, "Bob", "<b> </b>"},  {"unreachable", true, "carl", "hi"},
      {"not a command", true, "$IM_OFFBob", "hi"},
  };
  for (const Case& c : cases) {
    ClientFixture f;
    f.client->SetUnreachable("Carl");
    f.client->SetUnreachable("$IM_OFFBob");
    if (c.signOn) f.client->SignOn("Alice");
    f.client->TypeKeyword("aol://9293:" + c.to);
    f.Run();
    const HWND send = f.client->SendIMWindow();
    ASSERT_NE(send, 0u) << c.name;
    SetText(Nth(send, "RICHCNTL", 1), c.text);
    Press(Nth(send, "_AOL_Icon", 10));
    f.Run();
    EXPECT_NE(FindWindow("#32770", "America Online"), 0u) << c.name;
    EXPECT_TRUE(f.client->SentIMs().empty()) << c.name;
    EXPECT_TRUE(IsWindow(send)) << c.name;
    EXPECT_FALSE(f.client->AllIMsBlocked()) << c.name;
    EXPECT_TRUE(f.client->BlockedNames().empty()) << c.name;
  }
}

TEST(ClientRichText, SelectionClampsAndReplaces) {
  ClientFixture f;
  f.client->SignOn("Alice");
  f.client->ReceiveIM("Bob", "hi");
  f.Run();
  const HWND input = Nth(f.client->IMWindow("Bob"), "RICHCNTL", 2);
  SetText(input, "abcdef");
  struct Case {
    WPARAM start;
    LPARAM end;
    DWORD a, b;
  };
  const Case cases[] = {{0, -1, 0, 6}, {2, 4, 2, 4}, {4, 2, 2, 4}, {3, 100, 3, 6}, {9, 9, 6, 6}};
  for (const Case& c : cases) {
    SendMessage(input, EM_SETSEL, c.start, c.end);
    const LRESULT sel = SendMessage(input, EM_GETSEL, 0, 0);
    EXPECT_EQ(LOWORD(static_cast<uintptr_t>(sel)), c.a) << c.start << "," << c.end;
    EXPECT_EQ(HIWORD(static_cast<uintptr_t>(sel)), c.b) << c.start << "," << c.end;
  }
  SendMessage(input, EM_SETSEL, 1, 3);
  EXPECT_EQ(SendMessage(input, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("XYZ")), 3);
  EXPECT_EQ(Text(input), "aXYZdef");
  // Typing goes in at the caret.
  SendMessage(input, WM_CHAR, '!', 0);
  SendMessage(input, WM_CHAR, '\b', 0);
  SendMessage(input, WM_CHAR, '?', 0);
  EXPECT_EQ(Text(input), "aXYZ?def");
}

TEST_P(ClientTest, LineIndexAndLengthAnswerForTheLineAsked) {
  SignOn();
  const std::string longText(3000, 'w');
  client().ReceiveIM("Bob", "first");
  client().ReceiveIM("Bob", longText);
  client().ReceiveIM("Bob", "third");
  f.Run();
  const HWND view = View(client().IMWindow("Bob"));
  // Lines: "", "Bob: first", "Bob: www...", "Bob: third", each after a CR.
  EXPECT_EQ(SendMessage(view, EM_LINEINDEX, 0, 0), 0);
  EXPECT_EQ(SendMessage(view, EM_LINEINDEX, 1, 0), 1);
  EXPECT_EQ(SendMessage(view, EM_LINEINDEX, 2, 0), 12);
  EXPECT_EQ(SendMessage(view, EM_LINEINDEX, 3, 0), 12 + 3005 + 1);
  EXPECT_EQ(SendMessage(view, EM_LINEINDEX, 4, 0), -1);
  EXPECT_EQ(SendMessage(view, EM_LINELENGTH, 0, 0), 0);
  EXPECT_EQ(SendMessage(view, EM_LINELENGTH, 1, 0), 10);
  EXPECT_EQ(SendMessage(view, EM_LINELENGTH, 12, 0), 3005);
  EXPECT_EQ(SendMessage(view, EM_LINELENGTH, 2000, 0), 3005);  // any character of the line
  EXPECT_EQ(SendMessage(view, EM_LINELENGTH, 12 + 3005 + 1, 0), 10);
  EXPECT_EQ(SendMessage(view, EM_LINELENGTH, 100000, 0), 0);  // past the end
  EXPECT_EQ(SendMessage(view, EM_LINEFROMCHAR, 2000, 0), 2);

  // -1: the caret's line, and the characters left unselected on the selected lines.
  SendMessage(view, EM_SETSEL, 5, 20);  // "Bob: first" from "f", line 2 up to its 8th char
  EXPECT_EQ(SendMessage(view, EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 12);
  EXPECT_EQ(SendMessage(view, EM_LINELENGTH, static_cast<WPARAM>(-1), 0), 4 + (3005 - 8));

  std::string buffer(3100, '\0');
  TEXTRANGEA range;
  range.chrg = {12, 12 + 3005};
  range.lpstrText = buffer.data();
  EXPECT_EQ(SendMessage(view, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)), 3005);
  EXPECT_EQ(std::string(buffer.c_str()), "Bob: " + longText);
}

// The add-on reads a conversation view line by line; lines far longer than any buffer it
// starts with come back whole, also one longer than a line read can hold at once.
TEST_P(ClientTest, ConversationOf100KbReadWholeByLines) {
  SignOn();
  std::string lines;
  for (int i = 0; i < 50; ++i) {
    if (i > 0) lines += "<BR>";
    lines += std::string(2000, static_cast<char>('a' + i % 26));
  }
  const std::string oneLine(100 * 1024, 'q');
  client().ReceiveIM("Bob", "hi");
  client().ReceiveIM("Bob", lines);
  client().ReceiveIM("Bob", oneLine);
  f.Run();
  const HWND view = View(client().IMWindow("Bob"));
  const std::string read = host::GetEditText(view);
  EXPECT_EQ(read.size(), client().ConversationText("Bob").size());
  EXPECT_TRUE(read == client().ConversationText("Bob"));
  EXPECT_NE(read.find("\rBob: " + oneLine), std::string::npos);
  EXPECT_NE(read.find("\rBob: " + std::string(2000, 'a') + "\r" + std::string(2000, 'b') + "\r"),
            std::string::npos);
}

// Rows of text with ink in a window's client area on the screen: bands of the view's line
// height from its top inset, with a pixel darker than the view's paper.
int InkedRows(const gfx::Canvas& screen, HWND rich, int rightMargin) {
  RECT r;
  GetWindowRect(rich, r);
  const int lineHeight = gfx::Canvas::TextHeight({}) + 1;
  int rows = 0;
  for (int top = r.top + 2; top + lineHeight <= r.bottom - 2; top += lineHeight) {
    bool ink = false;
    for (int y = top; y < top + lineHeight && !ink; ++y) {
      for (int x = r.left + 3; x < r.right - rightMargin && !ink; ++x) {
        const auto c = screen.GetPixel(x, y) & 0xFFFFFF;
        ink = GetRValue(c) < 0x90 && GetGValue(c) < 0x90;
      }
    }
    if (ink) ++rows;
  }
  return rows;
}

TEST_P(ClientTest, ConversationViewWrapsLongLines) {
  SignOn();
  std::string words;
  for (int i = 0; i < 60; ++i) words += "word ";
  client().ReceiveIM("Bob", words);
  f.Run();
  const HWND view = View(client().IMWindow("Bob"));
  // One line of text, shown on several rows within the view's width.
  EXPECT_EQ(SendMessage(view, EM_GETLINECOUNT, 0, 0), 2);
  const gfx::Canvas screen = f.desktop.RenderScreen();
  EXPECT_GE(InkedRows(screen, view, 4), 3);
  RECT r;
  GetWindowRect(view, r);
  for (int y = r.top + 2; y < r.bottom - 2; ++y) {
    EXPECT_EQ(screen.GetPixel(r.right - 3, y) & 0xFFFFFF, Aol7() ? 0xFFF8F4u : 0xFFFFFFu)
        << "nothing runs past the right edge, row " << y;
  }
}

TEST_P(ClientTest, ConversationViewScrollsBackWithItsScrollBar) {
  SignOn();
  for (int i = 0; i < 40; ++i) client().ReceiveIM("Bob", "message " + std::to_string(i));
  f.Run();
  const HWND view = View(client().IMWindow("Bob"));
  RECT r;
  GetClientRect(view, r);
  const int lineHeight = gfx::Canvas::TextHeight({}) + 1;
  const int rows = (r.Height() - 4) / lineHeight;
  const int last = 41 - rows;  // 41 lines: the empty first one and 40 messages
  // The view follows its end.
  EXPECT_EQ(SendMessage(view, EM_GETFIRSTVISIBLELINE, 0, 0), last);

  // The scroll bar at the right: its up arrow, the track above the thumb, the thumb.
  const int barX = r.Width() - 2 - 8;
  f.desktop.Click(view, barX, 2 + 4);
  EXPECT_EQ(SendMessage(view, EM_GETFIRSTVISIBLELINE, 0, 0), last - 1);
  f.desktop.Click(view, barX, 2 + 16 + 2);  // the track's top: above the thumb
  EXPECT_EQ(SendMessage(view, EM_GETFIRSTVISIBLELINE, 0, 0), std::max(0, last - 1 - (rows - 1)));
  SendMessage(view, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(SendMessage(view, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

  // Scrolled back, a new message does not pull the view down; at the end it does.
  client().ReceiveIM("Bob", "one more");
  f.Run();
  EXPECT_EQ(SendMessage(view, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  // Drag the thumb from the top of the track to its bottom: the end is in view again.
  POINT grab{barX, 2 + 16 + 3};
  ClientToScreen(view, grab);
  f.desktop.MouseDown(view, barX, 2 + 16 + 3);
  f.desktop.MouseMoveTo(POINT{grab.x, grab.y + r.Height()});
  f.desktop.MouseUp(view, barX, r.Height());
  EXPECT_EQ(SendMessage(view, EM_GETFIRSTVISIBLELINE, 0, 0), last + 1);
  client().ReceiveIM("Bob", "and another");
  f.Run();
  EXPECT_EQ(SendMessage(view, EM_GETFIRSTVISIBLELINE, 0, 0), last + 2);

  // The thumb is drawn at the bottom of the track: a button face between the arrows.
  const gfx::Canvas screen = f.desktop.RenderScreen();
  RECT w;
  GetWindowRect(view, w);
  const int x = w.right - 2 - 8;
  EXPECT_EQ(screen.GetPixel(x, w.bottom - 2 - 16 - 3) & 0xFFFFFF, 0xC0C0C0u);
  EXPECT_EQ(screen.GetPixel(x, w.bottom - 2 - 16 - 3) & 0xFFFFFF,
            screen.GetPixel(x + 1, w.bottom - 2 - 16 - 3) & 0xFFFFFF)
      << "the thumb is plain face, not the track's half-tone";
}

TEST_P(ClientTest, InputBoxTakesTheFocusFromAClickOrAButtonDown) {
  SignOn();
  client().ReceiveIM("Bob", "hi");
  f.Run();
  const HWND im = client().IMWindow("Bob");
  f.desktop.Click(Input(im));
  EXPECT_EQ(GetFocus(), Input(im));
  EXPECT_EQ(GetWindowText(im), " IM From: Bob");  // read once the person is in it
  f.desktop.Click(View(im));
  EXPECT_EQ(GetFocus(), View(im));
  // Sent from another program, as a message without a real click.
  SendMessage(Input(im), WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(GetFocus(), Input(im));
  f.desktop.TypeText("typed");
  EXPECT_EQ(Text(Input(im)), "typed");
}

// ---- Variations of the client the add-on meets ----

TEST(ClientVariations, ToolbarHeightPlacesTheMdiArea) {
  for (const int height : {40, 68, 97}) {
    ClientOptions options;
    options.toolbarHeight = height;
    ClientFixture f(options);
    ASSERT_TRUE(f.started);
    RECT toolbar, mdi, main;
    GetWindowRect(FindWindowEx(f.client->MainWindow(), 0, "AOL Toolbar", nullptr), toolbar);
    GetWindowRect(f.client->MdiClient(), mdi);
    GetWindowRect(f.client->MainWindow(), main);
    EXPECT_EQ(toolbar.Height(), height);
    EXPECT_EQ(mdi.top, toolbar.bottom) << height;
    EXPECT_EQ(mdi.bottom, main.bottom - 4) << "the MDI area fills the rest, " << height;
  }
}

TEST(ClientVariations, CaptionShapes) {
  struct Case {
    CaptionShape shape;
    bool away;
    const char* unread;
    const char* read;
    const char* to;
  };
  const Case cases[] = {
      {CaptionShape::ImFromTo, false, ">IM From: Bob", " IM From: Bob", " IM To: Carl"},
      {CaptionShape::ImFromTo, true, ">IM From: Bob [Away]", " IM From: Bob [Away]",
       " IM To: Carl [Away]"},
      {CaptionShape::InstantMessage, false, ">Instant Message From: Bob",
       "Instant Message From: Bob", "Instant Message To: Carl"},
      {CaptionShape::InternetMessage, true, "Internet Message From: Bob [Away]",
       "Internet Message From: Bob [Away]", "Internet Message To: Carl [Away]"},
  };
  for (const Case& c : cases) {
    ClientOptions options;
    options.captions = c.shape;
    ClientFixture f(options);
    f.client->SignOn("Alice");
    f.client->ReceiveIM("Bob", "hi", {.away = c.away});
    f.Run();
    const HWND bob = f.client->IMWindow("Bob");
    EXPECT_EQ(GetWindowText(bob), c.unread);
    SendMessage(Nth(bob, "RICHCNTL", 2), WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(GetWindowText(bob), c.read);
    f.client->TypeKeyword("aol://9293:Carl");
    f.Run();
    SetText(Nth(f.client->SendIMWindow(), "RICHCNTL", 1), "hello");
    Press(Nth(f.client->SendIMWindow(), "_AOL_Icon", 10));
    f.Run();
    f.client->SetAway("Carl", c.away);
    f.Run();
    EXPECT_EQ(GetWindowText(f.client->IMWindow("Carl")), c.to);
  }
  // One IM may read differently from the client's others.
  ClientFixture f;
  f.client->SignOn("Alice");
  f.client->ReceiveIM("Bob", "hi", {.caption = CaptionShape::InstantMessage});
  f.client->ReceiveIM("Dan", "hi");
  f.client->SetAway("Dan", true);
  f.Run();
  EXPECT_EQ(GetWindowText(f.client->IMWindow("Bob")), ">Instant Message From: Bob");
  EXPECT_EQ(GetWindowText(f.client->IMWindow("Dan")), ">IM From: Dan [Away]");
}

TEST_P(ClientTest, ImWindowLaysOutAgainWhenResized) {
  SignOn();
  client().ReceiveIM("Bob", "hi");
  f.Run();
  const HWND im = client().IMWindow("Bob");
  auto inWindow = [&](HWND child) {
    RECT r;
    GetWindowRect(child, r);
    POINT p{r.left, r.top};
    ScreenToClient(im, p);
    return RECT{p.x, p.y, p.x + r.Width(), p.y + r.Height()};
  };
  for (const auto& [w, h] : {std::pair{600, 500}, std::pair{300, 260}}) {
    MoveWindow(im, 10, 10, w, h, true);
    RECT client;
    GetClientRect(im, client);
    const RECT send = inWindow(Nth(im, "_AOL_Icon", 10));
    const RECT view = inWindow(View(im));
    const RECT input = inWindow(Input(im));
    EXPECT_EQ(view.right, client.Width() - 4) << w;
    EXPECT_EQ(input.right, client.Width() - 4) << w;
    EXPECT_EQ(send.bottom, client.Height() - 4 - (Aol7() ? 19 : 0)) << w;
    EXPECT_LT(view.bottom, input.top) << w;
    EXPECT_LT(input.bottom, send.top) << w;
    EXPECT_EQ(send.right, client.Width() - 68) << w;
  }
}

// Where the window tables of the two clients differ, so does what the screen shows: AOL 7's
// own face colour and its status strip under the buttons, with the status static in it.
TEST_P(ClientTest, EachClientHasItsOwnLook) {
  SignOn();
  client().ReceiveIM("Bob", "hi");
  f.Run();
  const HWND im = client().IMWindow("Bob");
  const gfx::Canvas screen = f.desktop.RenderScreen();
  RECT send, status, view;
  GetWindowRect(Nth(im, "_AOL_Icon", 10), send);
  GetWindowRect(Nth(im, "_AOL_Static", Aol7() ? 8 : 5), status);
  GetWindowRect(View(im), view);
  const auto face = screen.GetPixel(send.left + 3, send.top + 3) & 0xFFFFFF;
  EXPECT_EQ(face, Aol7() ? RGB(0xD6, 0xDF, 0xF0) : 0xC0C0C0u);
  if (Aol7()) {
    EXPECT_GT(status.top, send.bottom) << "the status strip lies under the buttons";
    EXPECT_EQ(screen.GetPixel(view.left + 3, view.bottom - 4) & 0xFFFFFF, RGB(0xF4, 0xF8, 0xFF));
  } else {
    EXPECT_LT(status.bottom, view.top) << "the status static sits at the top";
    EXPECT_EQ(screen.GetPixel(view.left + 3, view.bottom - 4) & 0xFFFFFF, 0xFFFFFFu);
  }
}

}  // namespace
}  // namespace clientsim
