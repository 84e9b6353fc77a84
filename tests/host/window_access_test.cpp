#include "host/window_access.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/win32.h"
#include "support/host_fixture.h"

namespace {

using namespace platform;
using hostfix::Message;

class WindowAccess : public hostfix::HostTest {
 protected:
  WindowAccess() {
    host::IsAOL7 = false;
    host::SetIMArea(0);
  }
  ~WindowAccess() override {
    host::IsAOL7 = false;
    host::SetIMArea(0);
  }
  // Messages of one kind sent to a window.
  std::vector<Message> Only(HWND hwnd, UINT msg) const {
    std::vector<Message> out;
    for (const Message& m : client.MessagesOf(hwnd)) {
      if (m.msg == msg) out.push_back(m);
    }
    return out;
  }
  // The recorded pressing messages (mouse and keys) of a window.
  std::vector<UINT> Presses(HWND hwnd) const {
    std::vector<UINT> out;
    for (const Message& m : client.MessagesOf(hwnd)) {
      if (m.msg == WM_LBUTTONDOWN || m.msg == WM_LBUTTONUP || m.msg == WM_KEYDOWN ||
          m.msg == WM_KEYUP) {
        out.push_back(m.msg);
      }
    }
    return out;
  }
};

TEST(WindowAccessNoClient, EverythingIsZeroOrEmpty) {
  sim::Desktop desktop;
  Install(&desktop);
  desktop.CreateProcess("pallion");
  host::SetIMArea(0);
  EXPECT_EQ(host::FindAOL(), 0u);
  EXPECT_EQ(host::FindMDI(), 0u);
  EXPECT_EQ(host::FindIMWindow(), 0u);
  EXPECT_EQ(host::FindPallionChild(), 0u);
  EXPECT_EQ(host::FindChatRoom(), 0u);
  EXPECT_EQ(host::FindCurrentIM(), 0u);
  EXPECT_EQ(host::FindIMInput(), 0u);
  EXPECT_EQ(host::GetUserSN(), "");
  EXPECT_EQ(host::GetCaption(0), "");
  EXPECT_EQ(host::GetText(0), "");
  EXPECT_EQ(host::GetEditText(0), "");
  EXPECT_EQ(host::GetIMScreenName(0), "");
  EXPECT_EQ(host::GetIMIcon11(0), 0u);
  EXPECT_FALSE(host::IsIMStaticVisible(0));
  std::vector<std::string> names;
  host::GetRoomList(names, true);
  EXPECT_TRUE(names.empty());
  host::RunKeyword("aol://3548:Bob");
  host::RunAOLMenu(0, 0);
  host::ClickSendIcon();
  host::SendChatText("hi");
  host::ClickIcon(0);
  host::CloseWin(0);
  EXPECT_EQ(host::SendIM("Bob", "hi"), host::SendIMResult::WindowMissing);
  Install(nullptr);
}

TEST_F(WindowAccess, NthChildWrapsAfterTheLastChild) {
  HWND parent = client.AddDocument("Icons");
  std::vector<HWND> icons = client.AddMany(parent, "_AOL_Icon", 4);
  client.Add(parent, "_AOL_Static");
  const std::pair<int, HWND> cases[] = {
      {1, icons[0]}, {4, icons[3]}, {5, 0},  {6, icons[0]},
      {7, icons[1]}, {9, icons[3]}, {10, 0}, {11, icons[0]},
  };
  for (const auto& [n, expected] : cases) {
    EXPECT_EQ(host::NthChild(parent, "_AOL_Icon", n), expected) << n;
  }
  EXPECT_EQ(host::NthChildExact(parent, "_AOL_Icon", 4), icons[3]);
  EXPECT_EQ(host::NthChildExact(parent, "_AOL_Icon", 7), 0u);
  EXPECT_EQ(host::NthChild(parent, "_AOL_Icon", 0), 0u);
  EXPECT_EQ(host::NthChild(0, "AOL Frame25", 1), 0u);
}

TEST_F(WindowAccess, FindsDocumentsByCaption) {
  client.AddDocument("Buddy List");
  HWND pallion = client.AddDocument("Pallion \xB2\xB7\xBA : IMs");
  client.AddDocument("Pallion \xB2\xB7\xBA : second");
  client.AddDocument("xPallion \xB2\xB7\xBA : no");
  HWND exact = client.AddDocument("Send Instant Message");
  EXPECT_EQ(host::FindPallionChild(), pallion);
  EXPECT_EQ(host::FindChildByCaption("Send Instant Message"), exact);
  EXPECT_EQ(host::FindChildByCaption("send instant message"), 0u);
  EXPECT_EQ(host::FindChildByCaption("Send Instant"), 0u);
}

TEST_F(WindowAccess, FindIMWindowTakesTheFirstPassingCaptionInSiblingOrder) {
  client.AddDocument("Buddy List");
  client.AddDocument("IM From: Nobody");  // "IM From" at position 1 does not pass
  HWND first = client.AddDocument(" IM From: Bob");
  client.AddDocument("Instant Message From: Carl");
  EXPECT_EQ(host::FindIMWindow(), first);
  EXPECT_EQ(host::GetIMScreenName(first), "Bob");
}

TEST_F(WindowAccess, ControlsOfAnIMUnderBothLayouts) {
  for (bool aol7 : {false, true}) {
    HWND im = client.AddIM("Instant Message From: Bob", aol7);
    host::IsAOL7 = aol7;
    HWND pic = desktop.CreateWindowEx(0, "PictureBox", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                      client.frame, 0, {});
    host::SetIMArea(pic);
    EXPECT_EQ(host::FindCurrentIM(), 0u);
    SetParent(im, pic);
    EXPECT_EQ(host::FindCurrentIM(), im);
    HWND expectedInput =
        aol7 ? host::NthChildExact(im, "RICHCNTL", 1) : host::NthChildExact(im, "RICHCNTL", 2);
    ASSERT_NE(expectedInput, 0u);
    EXPECT_EQ(host::FindIMInput(), expectedInput) << aol7;
    HWND status = host::NthChildExact(im, "_AOL_Static", aol7 ? 8 : 5);
    ASSERT_NE(status, 0u);
    EXPECT_TRUE(host::IsIMStaticVisible(im));
    ShowWindow(status, SW_HIDE);
    EXPECT_FALSE(host::IsIMStaticVisible(im)) << aol7;
    ShowWindow(status, SW_SHOW);
    // The other layout's position is a different, hidden static: the flag decides.
    HWND other = host::NthChildExact(im, "_AOL_Static", aol7 ? 5 : 8);
    if (other != 0) {
      ShowWindow(other, SW_HIDE);
      EXPECT_TRUE(host::IsIMStaticVisible(im));
    }
  }
}

TEST_F(WindowAccess, GetIMIcon11NeedsElevenIcons) {
  HWND full = client.AddIM("IM", false);
  EXPECT_EQ(host::GetIMIcon11(full), host::NthChildExact(full, "_AOL_Icon", 11));
  EXPECT_NE(host::GetIMIcon11(full), 0u);
  HWND few = client.AddDocument("few");
  client.AddMany(few, "_AOL_Icon", 5);
  EXPECT_EQ(host::GetIMIcon11(few), 0u);
}

TEST_F(WindowAccess, FindChatRoomNeedsAllFourKindsOfChildren) {
  HWND partial = client.AddDocument("Lobby");
  client.Add(partial, "RICHCNTL");
  client.Add(partial, "_AOL_Listbox");
  client.Add(partial, "_AOL_Icon");
  EXPECT_EQ(host::FindChatRoom(), 0u);
  HWND room = client.AddDocument("Town Square");
  client.Add(room, "_AOL_Static");
  client.Add(room, "_AOL_Icon");
  client.Add(room, "_AOL_Listbox");
  client.Add(room, "RICHCNTL");
  EXPECT_EQ(host::FindChatRoom(), room);
}

TEST_F(WindowAccess, ReadsCaptionsAndTexts) {
  HWND im = client.AddIM("Instant Message From: Bob", false);
  HWND first = host::NthChildExact(im, "_AOL_Icon", 1);
  SendMessage(first, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("OK"));
  EXPECT_EQ(host::GetCaption(im), "Instant Message From: Bob");
  EXPECT_EQ(host::GetFirstIconText(im), "OK");
  HWND live = client.Add(im, "Edit", "stored", [](HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_GETTEXTLENGTH) return LRESULT{4};
    if (msg == WM_GETTEXT) {
      if (w < 5) return LRESULT{0};
      std::memcpy(reinterpret_cast<char*>(l), "live", 5);
      return LRESULT{4};
    }
    return DefWindowProc(h, msg, w, l);
  });
  EXPECT_EQ(host::GetText(live), "live");
}

// A control of the client that claims 0x7FFFFFFF characters (or as many lines) is read up to the
// bound: the buffer offered is never larger, and the reading ends.
TEST_F(WindowAccess, TextClaimedByAnotherProgramIsReadUpToTheBound) {
  HWND doc = client.AddDocument("doc");
  size_t offered = 0;
  HWND huge = client.Add(doc, "Edit", "", [&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_GETTEXTLENGTH) return 0x7FFFFFFF;
    if (m == WM_GETTEXT) {
      offered = w;
      std::memset(reinterpret_cast<char*>(l), 'x', w - 1);
      return static_cast<LRESULT>(w - 1);
    }
    return DefWindowProc(h, m, w, l);
  });
  const std::string text = host::GetText(huge);
  EXPECT_EQ(offered, host::kMaxForeignText + 1);
  EXPECT_EQ(text.size(), host::kMaxForeignText);

  constexpr size_t kLine = 60000;
  int linesRead = 0;
  HWND endless =
      client.Add(doc, "RICHCNTL", "", [&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        switch (m) {
          case WM_GETTEXTLENGTH:
            return 0;
          case EM_GETLINECOUNT:
            return 0x7FFFFFFF;
          case EM_LINEINDEX:
            return static_cast<LRESULT>(w * kLine);
          case EM_LINELENGTH:
            return kLine;
          case EM_GETLINE: {
            ++linesRead;
            auto* buffer = reinterpret_cast<char*>(l);
            const size_t room = static_cast<unsigned char>(buffer[0]) |
                                (static_cast<size_t>(static_cast<unsigned char>(buffer[1])) << 8);
            const size_t n = std::min(room, kLine);
            std::memset(buffer, 'y', n);
            return static_cast<LRESULT>(n);
          }
          default:
            return DefWindowProc(h, m, w, l);
        }
      });
  const std::string lines = host::GetEditText(endless);
  EXPECT_EQ(lines.size(), host::kMaxForeignText);
  EXPECT_LT(linesRead, 100);
}

TEST_F(WindowAccess, UserScreenNameFromTheWelcomeWindow) {
  EXPECT_EQ(host::GetUserSN(), "");
  client.AddDocument("Welcome to nothing");
  EXPECT_EQ(host::GetUserSN(), "");
  HWND welcome = client.AddDocument("Welcome, Alice Smith!");
  client.AddDocument("Welcome, Zed!");
  EXPECT_EQ(host::GetUserSN(), "Alice Smith");
  SendMessage(welcome, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Welcome, Alice"));
  EXPECT_EQ(host::GetUserSN(), "");  // the first Welcome window decides
}

// A rich-text control whose WM_GETTEXT gives nothing; its lines come through EM_GETLINE.
LRESULT LinesControl(const std::vector<std::string>& lines, HWND h, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_GETTEXTLENGTH:
      return 0;
    case WM_GETTEXT:
      if (w > 0) reinterpret_cast<char*>(l)[0] = '\0';
      return 0;
    case EM_GETLINECOUNT:
      return static_cast<LRESULT>(lines.size());
    case EM_LINEINDEX: {
      size_t index = 0;
      for (size_t i = 0; i < w && i < lines.size(); ++i) index += lines[i].size();
      return w < lines.size() ? static_cast<LRESULT>(index) : -1;
    }
    case EM_LINELENGTH: {
      size_t start = 0;
      for (size_t i = 0; i < lines.size(); ++i) {
        if (static_cast<size_t>(w) < start + lines[i].size() || i + 1 == lines.size())
          return static_cast<LRESULT>(lines[i].size());
        start += lines[i].size();
      }
      return 0;
    }
    case EM_GETLINE: {
      if (w >= lines.size()) return 0;
      auto* buffer = reinterpret_cast<char*>(l);
      size_t room = static_cast<unsigned char>(buffer[0]) |
                    (static_cast<size_t>(static_cast<unsigned char>(buffer[1])) << 8);
      size_t n = std::min(room, lines[w].size());
      std::memcpy(buffer, lines[w].data(), n);
      return static_cast<LRESULT>(n);
    }
    default:
      return DefWindowProc(h, msg, w, l);
  }
}

TEST_F(WindowAccess, GetEditTextReadsLinesWhenTheTextIsEmpty) {
  std::vector<std::string> lines = {"Hello", "\r", "world", "again"};
  HWND doc = client.AddDocument("doc");
  HWND rich = client.Add(doc, "RICHCNTL", "", [&](HWND h, UINT m, WPARAM w, LPARAM l) {
    return LinesControl(lines, h, m, w, l);
  });
  EXPECT_EQ(host::GetEditText(rich), "Hello\r\rworld\ragain");
  HWND plain = client.Add(doc, "RICHCNTL", "Whole text\r\nhere");
  EXPECT_EQ(host::GetEditText(plain), "Whole text\r\nhere");
}

// The member list of a chat room: items whose data points (at +28) to a record holding the
// name at +6, laid out in the client's memory.
class RoomList : public WindowAccess {
 protected:
  HWND MakeRoom(const std::vector<std::string>& members, bool exactBlocks) {
    HWND room = client.AddDocument("Town Square");
    client.Add(room, "RICHCNTL");
    client.Add(room, "_AOL_Icon");
    client.Add(room, "_AOL_Static");
    sim::Desktop::ProcessScope scope(desktop, client.process);
    for (const std::string& name : members) {
      // The record: 6 bytes, then the name; exact blocks end right after the name's bytes.
      size_t nameBytes = exactBlocks ? std::min<size_t>(name.size() + 1, 16) : 32;
      if (exactBlocks && name.size() >= 16) nameBytes = 16;
      uint32_t record = AllocProcessMemory(6 + nameBytes);
      std::string bytes(6 + nameBytes, '\0');
      bytes.replace(6, std::min(name.size(), nameBytes), name.substr(0, nameBytes));
      WriteOwnProcessMemory(record, bytes.data(), bytes.size());
      uint32_t item = AllocProcessMemory(32);
      WriteOwnProcessMemory(item + 28, &record, 4);
      items_.push_back(item);
    }
    client.Add(room, "_AOL_Listbox", "", [this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if (m == LB_GETCOUNT) return static_cast<LRESULT>(items_.size());
      if (m == LB_GETITEMDATA) return w < items_.size() ? items_[w] : LB_ERR;
      return DefWindowProc(h, m, w, l);
    });
    return room;
  }
  std::vector<uint32_t> items_;
};

TEST_F(RoomList, ReadsNamesOutOfTheClientsMemory) {
  client.AddDocument("Welcome, Alice!");
  MakeRoom({"Bob", "Alice", "Sixteen Chars AB", "Carl"}, false);
  std::vector<std::string> others;
  host::GetRoomList(others, false);
  EXPECT_EQ(others, (std::vector<std::string>{"Bob", "Sixteen Chars AB", "Carl"}));
  std::vector<std::string> all;
  host::GetRoomList(all, true);
  EXPECT_EQ(all, (std::vector<std::string>{"Bob", "Alice", "Sixteen Chars AB", "Carl"}));
}

TEST_F(RoomList, NamesAtTheEndOfTheirBlocksAreReadWhole) {
  MakeRoom({"Sixteen Chars AB", "Bo", "Seventeen chars!!"}, true);
  std::vector<std::string> names;
  host::GetRoomList(names, true);
  EXPECT_EQ(names, (std::vector<std::string>{"Sixteen Chars AB", "Bo", "Seventeen chars!"}));
}

// A rich-text control of the client that copies and pastes its content in the client's
// private clipboard formats.
class RichControl {
 public:
  RichControl(hostfix::ClientTree& client, std::string copyFormat,
              std::vector<std::string> pasteFormats)
      : copyFormat_(std::move(copyFormat)), pasteFormats_(std::move(pasteFormats)) {
    HWND doc = client.AddDocument("IM");
    hwnd = client.Add(
        doc, "RICHCNTL", "",
        client.Recorder([this](HWND h, UINT m, WPARAM w, LPARAM l) { return Proc(h, m, w, l); }));
  }
  HWND hwnd = 0;
  std::string html;
  int pastes = 0;
  bool selectedAll = false;

 private:
  LRESULT Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_COMMAND && w == 20005) selectedAll = true;
    if (m == WM_COMMAND && w == 20002 && selectedAll && OpenClipboard(h)) {
      EmptyClipboard();
      HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, html.size() + 1);
      auto* p = static_cast<char*>(GlobalLock(mem));
      std::memcpy(p, html.c_str(), html.size() + 1);
      GlobalUnlock(mem);
      SetClipboardData(RegisterClipboardFormat(copyFormat_), mem);
      CloseClipboard();
    }
    if (m == WM_COMMAND && w == 20003 && OpenClipboard(h)) {
      for (const std::string& format : pasteFormats_) {
        HGLOBAL mem = GetClipboardData(RegisterClipboardFormat(format));
        if (auto* p = static_cast<const char*>(GlobalLock(mem))) {
          html += std::string(p, strnlen(p, GlobalSize(mem)));
          ++pastes;
          GlobalUnlock(mem);
          break;
        }
      }
      CloseClipboard();
    }
    if (m == EM_SETSEL) selectedAll = false;
    return DefWindowProc(h, m, w, l);
  }
  std::string copyFormat_;
  std::vector<std::string> pasteFormats_;
};

TEST_F(WindowAccess, RichHTMLRoundTripThroughTheClipboard) {
  HWND owner = desktop.CreateWindowEx(0, "PictureBox", "", WS_POPUP, 0, 0, 1, 1, 0, 0, {});
  struct Case {
    std::string copy;
    std::vector<std::string> paste;
  };
  const Case cases[] = {
      {"AOLMAIL", {"AOLMAIL", "AOLMAIL2"}}, {"AOLMAIL2", {"AOLMAIL2"}}, {"AOLMAIL", {"AOLMAIL"}}};
  for (const Case& c : cases) {
    RichControl rich(client, c.copy, c.paste);
    const std::string html = "<FONT COLOR=\"#FF0000\">Hi \xE9</FONT>";
    host::PutRichHTML(rich.hwnd, owner, html);
    EXPECT_EQ(rich.html, html) << c.copy;
    EXPECT_EQ(rich.pastes, 1) << "pasted once whatever format the control reads";
    EXPECT_EQ(host::GetRichHTML(rich.hwnd, owner), html) << c.copy;
    auto sel = Only(rich.hwnd, EM_SETSEL);
    ASSERT_EQ(sel.size(), 1u);
    EXPECT_EQ(sel[0].wParam, 0u);
    EXPECT_EQ(sel[0].lParam, 0);
    std::vector<WPARAM> commands;
    for (const Message& m : Only(rich.hwnd, WM_COMMAND)) commands.push_back(m.wParam);
    EXPECT_EQ(commands, (std::vector<WPARAM>{20003, 20005, 20002}));
  }
}

TEST_F(WindowAccess, PutRichHTMLOfNothingDoesNothing) {
  RichControl rich(client, "AOLMAIL", {"AOLMAIL"});
  host::PutRichHTML(rich.hwnd, 0, "");
  EXPECT_TRUE(Only(rich.hwnd, WM_COMMAND).empty());
}

// An IM whose icons record their messages.
HWND RecordingIM(hostfix::ClientTree& client, std::vector<HWND>& icons,
                 const std::string& firstText, const std::string& eleventhText) {
  HWND im = client.AddDocument("Instant Message From: Bob");
  client.AddMany(im, "RICHCNTL", 2);
  for (int i = 1; i <= 11; ++i) {
    std::string text = i == 1 ? firstText : i == 11 ? eleventhText : "";
    icons.push_back(client.Add(im, "_AOL_Icon", text, client.Recorder()));
  }
  return im;
}

TEST_F(WindowAccess, PressesTheNamedButtonsOfAnIM) {
  std::vector<HWND> icons;
  HWND im = RecordingIM(client, icons, "OK", "Respond");
  host::ClickSendIconOf(im);
  host::ClickOKIcon(im);
  host::ClickRespondIcon(im);
  const std::vector<UINT> pressed = {WM_LBUTTONDOWN, WM_KEYDOWN, WM_KEYUP};
  EXPECT_EQ(Presses(icons[9]), pressed);
  EXPECT_EQ(Presses(icons[0]), pressed);
  EXPECT_EQ(Presses(icons[10]), pressed);
  for (int i : {1, 2, 8}) EXPECT_TRUE(Presses(icons[i]).empty()) << i;
}

TEST_F(WindowAccess, OKAndRespondNeedTheirExactTexts) {
  std::vector<HWND> icons;
  HWND im = RecordingIM(client, icons, "ok", "Respond ");
  host::ClickOKIcon(im);
  host::ClickRespondIcon(im);
  host::ClickRespondIcon(0);
  for (HWND icon : icons) EXPECT_TRUE(Presses(icon).empty());
}

TEST_F(WindowAccess, ClickSendIconPressesTheShownIMsSendButton) {
  host::ClickSendIcon();  // no IM shown: nothing
  std::vector<HWND> icons;
  HWND im = RecordingIM(client, icons, "", "");
  EXPECT_TRUE(Presses(icons[9]).empty());
  HWND pic = desktop.CreateWindowEx(0, "PictureBox", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                    client.frame, 0, {});
  host::SetIMArea(pic);
  SetParent(im, pic);
  host::ClickSendIcon();
  EXPECT_EQ(Presses(icons[9]).size(), 3u);
}

TEST_F(WindowAccess, CloseEditImageOnlyWhenVisible) {
  HWND im = client.AddDocument("IM");
  HWND editor = client.Add(im, "_AOL_EditImage");
  ShowWindow(editor, SW_HIDE);
  host::CloseEditImage(im);
  EXPECT_TRUE(IsWindow(editor));
  ShowWindow(editor, SW_SHOW);
  host::CloseEditImage(im);
  EXPECT_FALSE(IsWindow(editor));  // sent, so closed at once
}

TEST_F(WindowAccess, SetShowHideAndCloseWindows) {
  HWND doc = client.AddDocument("doc", client.Recorder());
  host::SetText(doc, "New caption");
  EXPECT_EQ(host::GetCaption(doc), "New caption");
  host::HideWin(doc);
  EXPECT_FALSE(IsWindowVisible(doc));
  host::ShowWin(doc);
  EXPECT_TRUE(IsWindowVisible(doc));
  host::CloseWin(doc);
  EXPECT_TRUE(IsWindow(doc)) << "posted, not yet handled";
  desktop.RunPending();
  EXPECT_FALSE(IsWindow(doc));
  auto closes = Only(doc, WM_CLOSE);
  ASSERT_EQ(closes.size(), 1u);
  EXPECT_EQ(closes[0].wParam, 0u);
  EXPECT_EQ(closes[0].lParam, 0);
}

TEST_F(WindowAccess, RunKeywordTypesSpaceAndEnterOnlyForText) {
  host::RunKeyword("");
  auto typed = Only(client.keywordBox, WM_CHAR);
  EXPECT_TRUE(typed.empty());
  auto set = Only(client.keywordBox, WM_SETTEXT);
  ASSERT_EQ(set.size(), 1u);
  EXPECT_EQ(set[0].text, "");
  client.log.clear();
  host::RunKeyword("aol://3548:Bob");
  set = Only(client.keywordBox, WM_SETTEXT);
  ASSERT_EQ(set.size(), 1u);
  EXPECT_EQ(set[0].text, "aol://3548:Bob");
  typed = Only(client.keywordBox, WM_CHAR);
  ASSERT_EQ(typed.size(), 2u);
  EXPECT_EQ(typed[0].wParam, 0x20u);
  EXPECT_EQ(typed[1].wParam, 0x0Du);
}

TEST_F(WindowAccess, RunAOLMenuSendsTheItemsCommandToTheFrame) {
  std::vector<WPARAM> commands;
  HWND frame = 0;
  {
    sim::Desktop::ProcessScope scope(desktop, client.process);
    frame = desktop.CreateWindowEx(0, "AOL Frame25", "other", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, 0,
                                   0, [&](HWND h, UINT m, WPARAM w, LPARAM l) {
                                     if (m == WM_COMMAND) commands.push_back(w);
                                     return DefWindowProc(h, m, w, l);
                                   });
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenu(file, MF_STRING, 101, "&New");
    AppendMenu(file, MF_STRING, 102, "&Open");
    HMENU people = CreatePopupMenu();
    AppendMenu(people, MF_STRING, 201, "&Instant Message");
    AppendMenu(people, MF_POPUP, CreatePopupMenu(), "&More");
    AppendMenu(bar, MF_POPUP, file, "&File");
    AppendMenu(bar, MF_POPUP, people, "&People");
    SetMenu(frame, bar);
  }
  ASSERT_EQ(host::FindAOL(), frame) << "the newest top-level frame is found first";
  host::RunAOLMenu(1, 0);
  host::RunAOLMenu(0, 1);
  host::RunAOLMenu(1, 1);  // a pop-up item: no command
  host::RunAOLMenu(5, 0);  // no such menu
  EXPECT_EQ(commands, (std::vector<WPARAM>{201, 102}));
}

TEST_F(WindowAccess, SendChatTextUsesTheRoomsInputBoxOfTheLayout) {
  for (bool aol7 : {false, true}) {
    client.log.clear();
    HWND room = client.AddDocument("Town Square");
    client.Add(room, "_AOL_Listbox");
    client.Add(room, "_AOL_Icon");
    client.Add(room, "_AOL_Static");
    HWND first = client.Add(room, "RICHCNTL", "", client.Recorder());
    HWND second = client.Add(room, "RICHCNTL", "", client.Recorder());
    host::IsAOL7 = aol7;
    host::SendChatText("Hello room");
    HWND input = aol7 ? first : second;
    HWND other = aol7 ? second : first;
    auto set = Only(input, WM_SETTEXT);
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(set[0].text, "Hello room");
    auto typed = Only(input, WM_CHAR);
    ASSERT_EQ(typed.size(), 1u);
    EXPECT_EQ(typed[0].wParam, 0x0Du);
    EXPECT_TRUE(Only(other, WM_SETTEXT).empty());
    sim::Desktop::ProcessScope scope(desktop, client.process);
    ASSERT_TRUE(DestroyWindow(room));
  }
}

}  // namespace
