// The system's control classes: Edit, Button, ListBox, Static and MDIClient, made by class name
// and driven by their messages.
#include <algorithm>
#include <cstring>
#include <tuple>

#include "contract/contract_fixture.h"

namespace contract {
namespace {

using namespace platform;

class Controls : public Contract {
 protected:
  void SetUp() override {
    Contract::SetUp();
    parent = MakeWindow(0, "Parent", WS_POPUP | WS_VISIBLE, 10, 10, 400, 300);
  }

  // A control of a system class on the parent window; `logged` subclasses it so that its
  // messages join the log (its behaviour still comes through DefWindowProc).
  HWND Make(const std::string& cls, const std::string& text, DWORD style, UINT id,
            bool logged = false) {
    WNDPROC proc;
    if (logged) {
      proc = [this](HWND h, UINT m, WPARAM w, LPARAM l) {
        log.push_back({h, m, w, l});
        return DefWindowProc(h, m, w, l);
      };
    }
    return CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, 10, 300, 120, parent, id,
                          proc);
  }

  // The notifications the parent got from its controls since `from`: (id, code, control).
  struct Notice {
    UINT id, code;
    HWND control;
    bool operator==(const Notice&) const = default;
  };
  std::vector<Notice> Notices(size_t from) const {
    std::vector<Notice> out;
    for (size_t i = from; i < log.size(); ++i)
      if (log[i].hwnd == parent && log[i].msg == WM_COMMAND)
        out.push_back(
            {LOWORD(log[i].wParam), HIWORD(log[i].wParam), static_cast<HWND>(log[i].lParam)});
    return out;
  }

  std::string Text(HWND h) {
    char buffer[256] = {};
    SendMessage(h, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  std::pair<DWORD, DWORD> Selection(HWND edit) {
    DWORD start = 99, end = 99;
    const LRESULT both = SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                     reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(LOWORD(static_cast<uintptr_t>(both)), start);
    EXPECT_EQ(HIWORD(static_cast<uintptr_t>(both)), end);
    return {start, end};
  }
  void SetText(HWND h, const char* text) {
    EXPECT_EQ(SendMessage(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)), 1);
  }
  // EM_GETLINE into a buffer whose first WORD gives its size; the rest of it stays '#'.
  std::pair<LRESULT, std::string> GetLine(HWND edit, int line, uint16_t size) {
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    std::memcpy(buffer, &size, sizeof size);
    const LRESULT n =
        SendMessage(edit, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer));
    return {n, std::string(buffer, 12)};
  }

  HWND parent = 0;
};

TEST_F(Controls, SystemClassesAreFoundByNameInAnyCaseAndKeepTheirSpelling) {
  const std::vector<std::pair<std::string, std::string>> names = {{"EDIT", "Edit"},
                                                                  {"button", "Button"},
                                                                  {"listbox", "ListBox"},
                                                                  {"STATIC", "Static"},
                                                                  {"mdiclient", "MDIClient"}};
  for (const auto& [asked, spelled] : names) {
    HWND h = Make(asked, "", 0, 1);
    ASSERT_NE(h, 0u) << asked;
    EXPECT_EQ(GetClassName(h), spelled);
  }
  HWND label = Make("Static", "first", 0, 2);
  EXPECT_EQ(GetWindowText(label), "first");
  EXPECT_TRUE(SetWindowText(label, "second"));
  EXPECT_EQ(GetWindowText(label), "second");
}

TEST_F(Controls, AnEditKeepsItsTextAndSelectionAndTellsItsParentOfChanges) {
  HWND edit = Make("Edit", "start", ES_AUTOHSCROLL, 11);
  EXPECT_EQ(Text(edit), "start");
  size_t mark = log.size();
  SetText(edit, "hello world");
  std::vector<Notice> notices = Notices(mark);
  EXPECT_EQ(std::count(notices.begin(), notices.end(), Notice{11, EN_CHANGE, edit}), 1);
  EXPECT_EQ(std::count(notices.begin(), notices.end(), Notice{11, EN_UPDATE, edit}), 1);
  EXPECT_EQ(SendMessage(edit, WM_GETTEXTLENGTH, 0, 0), 11);
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{0})) << "new text, no selection";

  SendMessage(edit, EM_SETSEL, 6, -1);
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{6}, DWORD{11})) << "-1 reaches the end";
  SendMessage(edit, EM_SETSEL, 8, 2);
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{2}, DWORD{8})) << "reported low to high";
  SendMessage(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{2}, DWORD{2})) << "-1 keeps only the caret";

  SendMessage(edit, EM_SETSEL, 2, 8);
  mark = log.size();
  SendMessage(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("X"));
  EXPECT_EQ(Text(edit), "heXrld");
  EXPECT_EQ(Selection(edit), std::make_pair(DWORD{3}, DWORD{3})) << "the caret follows the insert";
  notices = Notices(mark);
  EXPECT_EQ(std::count(notices.begin(), notices.end(), Notice{11, EN_CHANGE, edit}), 1);
  SendMessage(edit, WM_CHAR, 'Z', 1);
  EXPECT_EQ(Text(edit), "heXZrld") << "a typed character goes in at the caret";
  mark = log.size();
  SetFocus(edit);
  SetFocus(parent);
  EXPECT_EQ(Notices(mark),
            (std::vector<Notice>{{11, EN_SETFOCUS, edit}, {11, EN_KILLFOCUS, edit}}));
}

TEST_F(Controls, AMultiLineEditReadsItsLines) {
  HWND edit = Make("Edit", "", ES_MULTILINE | ES_AUTOHSCROLL, 12);
  EXPECT_EQ(SendMessage(edit, EM_GETLINECOUNT, 0, 0), 1) << "an empty edit has one line";
  SetText(edit, "one\r\ntwo lines\r\n");
  EXPECT_EQ(SendMessage(edit, EM_GETLINECOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessage(edit, EM_LINEINDEX, 1, 0), 5);
  EXPECT_EQ(SendMessage(edit, EM_LINEINDEX, 2, 0), 16);
  EXPECT_EQ(SendMessage(edit, EM_LINEINDEX, 3, 0), -1);
  EXPECT_EQ(SendMessage(edit, EM_LINELENGTH, 7, 0), 9) << "the line holding character 7";
  EXPECT_EQ(SendMessage(edit, EM_LINELENGTH, 16, 0), 0);
  EXPECT_EQ(SendMessage(edit, EM_LINEFROMCHAR, 7, 0), 1);

  auto [n, bytes] = GetLine(edit, 1, 40);
  EXPECT_EQ(n, 9);
  EXPECT_EQ(bytes.substr(0, 10), std::string("two lines\0", 10));
  std::tie(n, bytes) = GetLine(edit, 1, 3);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(bytes.substr(0, 4), "two#") << "a full buffer is not terminated";
  EXPECT_EQ(GetLine(edit, 5, 40).first, 0) << "past the last line";

  SendMessage(edit, EM_SETSEL, 3, 3);
  EXPECT_EQ(SendMessage(edit, WM_CHAR, VK_RETURN, 1), 1);
  EXPECT_EQ(Text(edit), "one\r\n\r\ntwo lines\r\n");
  EXPECT_EQ(SendMessage(edit, EM_GETLINECOUNT, 0, 0), 4);
}

TEST_F(Controls, ASingleLineEditIsOneLineWhateverTheLineNumber) {
  HWND edit = Make("Edit", "alpha", ES_AUTOHSCROLL, 13);
  EXPECT_EQ(SendMessage(edit, EM_GETLINECOUNT, 0, 0), 1);
  auto [n, bytes] = GetLine(edit, 4, 40);
  EXPECT_EQ(n, 5);
  EXPECT_EQ(bytes.substr(0, 5), "alpha");
  EXPECT_EQ(SendMessage(edit, EM_LINELENGTH, 3, 0), 5);
  SendMessage(edit, EM_SETSEL, 5, 5);
  EXPECT_EQ(SendMessage(edit, WM_CHAR, VK_RETURN, 1), 1);
  EXPECT_EQ(Text(edit), "alpha") << "Enter adds no line to a single-line edit";
  SendMessage(edit, WM_CHAR, VK_BACK, 1);
  EXPECT_EQ(Text(edit), "alph");
}

TEST_F(Controls, BmClickPressesAndReleasesAndTheParentHearsAfterTheCaptureIsGone) {
  HWND button = Make("Button", "OK", BS_PUSHBUTTON, 21, true);
  const size_t mark = log.size();
  SendMessage(button, BM_CLICK, 0, 0);
  std::vector<std::pair<HWND, UINT>> expected = {{button, WM_LBUTTONDOWN},
                                                 {button, WM_LBUTTONUP},
                                                 {button, WM_CAPTURECHANGED},
                                                 {parent, WM_COMMAND}};
  EXPECT_EQ(Only({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_CAPTURECHANGED, WM_COMMAND}, mark), expected);
  EXPECT_EQ(Notices(mark), (std::vector<Notice>{{21, BN_CLICKED, button}}));
}

TEST_F(Controls, AButtonClicksOnlyWhenAPressEndsInsideIt) {
  HWND button = Make("Button", "OK", BS_PUSHBUTTON, 22);
  size_t mark = log.size();
  SendMessage(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(Notices(mark).empty()) << "a release without a press";

  SendMessage(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(SendMessage(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_EQ(GetCapture(), button);
  EXPECT_TRUE(Notices(mark).empty()) << "a press alone";
  SendMessage(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Notices(mark), (std::vector<Notice>{{22, BN_CLICKED, button}}));
  EXPECT_FALSE(SendMessage(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_EQ(GetCapture(), 0u);

  mark = log.size();
  SendMessage(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessage(button, WM_LBUTTONUP, 0, MAKELPARAM(-20, 5));
  EXPECT_TRUE(Notices(mark).empty()) << "released outside";
}

TEST_F(Controls, TheSpaceBarClicksAButton) {
  HWND button = Make("Button", "OK", BS_PUSHBUTTON, 23);
  size_t mark = log.size();
  SendMessage(button, WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_TRUE(Notices(mark).empty()) << "a key-up alone";
  SendMessage(button, WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_TRUE(Notices(mark).empty());
  SendMessage(button, WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_EQ(Notices(mark), (std::vector<Notice>{{23, BN_CLICKED, button}}));
}

TEST_F(Controls, AnAutoCheckBoxTogglesWhenClickedAndAPushButtonNeverChecks) {
  HWND box = Make("Button", "Away", BS_AUTOCHECKBOX, 24);
  EXPECT_EQ(SendMessage(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessage(box, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessage(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessage(box, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessage(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  HWND push = Make("Button", "Go", BS_PUSHBUTTON, 25);
  SendMessage(push, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessage(push, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Controls, AListBoxKeepsItemsInOrderOrSorted) {
  HWND list = Make("ListBox", "", 0, 31);
  auto add = [](HWND h, const char* text) {
    return SendMessage(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  };
  EXPECT_EQ(add(list, "carol"), 0);
  EXPECT_EQ(add(list, "alice"), 1);
  EXPECT_EQ(SendMessage(list, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("bob")), 1);
  EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 3);
  char buffer[32] = {};
  EXPECT_EQ(SendMessage(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer)), 3);
  EXPECT_STREQ(buffer, "bob");
  EXPECT_EQ(SendMessage(list, LB_GETTEXTLEN, 2, 0), 5);
  EXPECT_EQ(SendMessage(list, LB_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer)), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_GETTEXTLEN, 3, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_SETITEMDATA, 0, 42), 1);
  EXPECT_EQ(SendMessage(list, LB_GETITEMDATA, 0, 0), 42);
  EXPECT_EQ(SendMessage(list, LB_GETITEMDATA, 1, 0), 0);
  EXPECT_EQ(
      SendMessage(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("AL")), 2);
  EXPECT_EQ(SendMessage(list, LB_FINDSTRING, 2, reinterpret_cast<LPARAM>("c")), 0)
      << "the search wraps round";
  EXPECT_EQ(SendMessage(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>("bo")),
            LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_DELETESTRING, 0, 0), 2);
  EXPECT_EQ(SendMessage(list, LB_DELETESTRING, 5, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 2);

  HWND sorted = Make("ListBox", "", LBS_SORT, 32);
  EXPECT_EQ(add(sorted, "mike"), 0);
  EXPECT_EQ(add(sorted, "Alice"), 0);
  EXPECT_EQ(add(sorted, "bob"), 1);
  EXPECT_EQ(add(sorted, "Carl"), 2) << "sorted without regard to case";
}

TEST_F(Controls, AListBoxSelectionSetByTheProgramIsNotNotified) {
  HWND list = Make("ListBox", "", LBS_NOTIFY, 33);
  for (const char* name : {"a", "b", "c"})
    SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  const size_t mark = log.size();
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 1, 0), 1);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 7, 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1) << "a bad index changes nothing";
  EXPECT_EQ(SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR) << "-1 clears the selection";
  EXPECT_TRUE(Notices(mark).empty());
}

TEST_F(Controls, AClickOrAnArrowKeyOnAListBoxSelectsAndNotifies) {
  HWND list = Make("ListBox", "", LBS_NOTIFY, 34);
  for (const char* name : {"a", "b", "c"})
    SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  RECT item;
  ASSERT_NE(SendMessage(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item)), LB_ERR);
  EXPECT_GT(item.top, 0);
  const LPARAM at = MAKELPARAM(item.left + 3, (item.top + item.bottom) / 2);
  size_t mark = log.size();
  SendMessage(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessage(list, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Notices(mark),
            (std::vector<Notice>{{34, LBN_SETFOCUS, list}, {34, LBN_SELCHANGE, list}}))
      << "the click gave it the focus too";
  mark = log.size();
  SendMessage(list, WM_KEYDOWN, VK_UP, 1);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Notices(mark), (std::vector<Notice>{{34, LBN_SELCHANGE, list}}));
}

TEST_F(Controls, AnMdiClientMakesActivatesAndDestroysItsChildren) {
  HWND client = CreateWindowEx(0, "MDIClient", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                               400, 300, parent, 0, nullptr);
  ASSERT_NE(client, 0u);
  auto create = [&](const char* title, int x) {
    MDICREATESTRUCTA cs;
    cs.szClass = kClass;
    cs.szTitle = title;
    cs.x = x;
    cs.y = 10;
    cs.cx = 150;
    cs.cy = 100;
    return static_cast<HWND>(SendMessage(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&cs)));
  };
  const size_t mark = log.size();
  HWND one = create("one", 10);
  HWND two = create("two", 40);
  ASSERT_NE(one, 0u);
  ASSERT_NE(two, 0u);
  EXPECT_EQ(GetAncestor(one, GA_PARENT), client);
  EXPECT_TRUE(GetWindowLong(one, GWL_EXSTYLE) & WS_EX_MDICHILD);
  EXPECT_TRUE(IsWindowVisible(one)) << "MDI children are shown";
  EXPECT_EQ(GetWindowText(two), "two");
  EXPECT_EQ(static_cast<HWND>(SendMessage(client, WM_MDIGETACTIVE, 0, 0)), two);
  EXPECT_EQ(GetWindow(client, GW_CHILD), two) << "the newest child is on top";

  // Each activation tells the child losing it, then the child gaining it (wParam: the one
  // losing, lParam: the one gaining).
  std::vector<std::tuple<HWND, WPARAM, LPARAM>> activations;
  for (size_t i = mark; i < log.size(); ++i)
    if (log[i].msg == WM_MDIACTIVATE)
      activations.emplace_back(log[i].hwnd, log[i].wParam, log[i].lParam);
  const std::vector<std::tuple<HWND, WPARAM, LPARAM>> expected = {
      {one, 0, one}, {one, one, two}, {two, one, two}};
  EXPECT_EQ(activations, expected);

  SendMessage(client, WM_MDIACTIVATE, one, 0);
  EXPECT_EQ(static_cast<HWND>(SendMessage(client, WM_MDIGETACTIVE, 0, 0)), one);
  EXPECT_EQ(GetWindow(client, GW_CHILD), one) << "activating brings it up";

  SendMessage(client, WM_MDIDESTROY, one, 0);
  EXPECT_FALSE(IsWindow(one));
  EXPECT_EQ(static_cast<HWND>(SendMessage(client, WM_MDIGETACTIVE, 0, 0)), two)
      << "the next child takes over";
  HWND three = create("three", 70);
  SendMessage(three, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(three)) << "closing a child destroys it through its client";
  EXPECT_EQ(static_cast<HWND>(SendMessage(client, WM_MDIGETACTIVE, 0, 0)), two);
}

}  // namespace
}  // namespace contract
