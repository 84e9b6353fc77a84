#include <string>

#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/frame.h"
#include "ui/label.h"
#include "ui/list_box.h"
#include "ui/option_button.h"
#include "ui/text_box.h"
#include "ui/ui_fixture.h"

namespace uitest {
namespace {

using namespace platform;

class ControlsTest : public UiTest {};

TEST_F(ControlsTest, OptionButtonsAreExclusivePerContainer) {
  ui::Frame& frame = form->Add<ui::Frame>("Frame1", "Mode", 200, 10, 150, 100);
  ui::OptionButton& a = form->Add<ui::OptionButton>("optA", "A", 10, 10);
  ui::OptionButton& b = form->Add<ui::OptionButton>("optB", "B", 10, 30);
  ui::OptionButton& c = form->Own(std::make_unique<ui::OptionButton>(frame, "optC", "C", 10, 20));
  int clicksB = 0;
  b.OnClick = [&] { ++clicksB; };
  a.SetValue(true);
  c.SetValue(true);
  person.Click(b);
  EXPECT_FALSE(a.Value());
  EXPECT_TRUE(b.Value());
  EXPECT_TRUE(c.Value());  // another container
  EXPECT_EQ(clicksB, 1);
  EXPECT_EQ(SendMessage(b.hwnd(), BM_GETCHECK, 0, 0), 1);
  EXPECT_EQ(SendMessage(a.hwnd(), BM_GETCHECK, 0, 0), 0);
}

TEST_F(ControlsTest, CheckBoxClickTogglesAndRaisesClick) {
  ui::CheckBox& chk = form->Add<ui::CheckBox>("chkLog", "Log IMs", 10, 10);
  std::vector<int> seen;
  chk.OnClick = [&] { seen.push_back(chk.Value()); };
  person.Click(chk);
  person.Click(chk);
  chk.SetValue(1);
  chk.SetValue(1);
  SendMessage(chk.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(seen, (std::vector<int>{1, 0, 1, 0}));
}

TEST_F(ControlsTest, CheckBoxIsDrawnAsAWhiteBoxWithAMarkWhenChecked) {
  ui::CheckBox& chk = form->Add<ui::CheckBox>("chkLog", "Log", 10, 10, 100, 17);
  desktop.RunPending();
  POINT o{0, 0};
  ClientToScreen(chk.hwnd(), o);
  const int boxY = o.y + (17 - 13) / 2;
  gfx::Canvas before = desktop.RenderScreen();
  EXPECT_EQ(before.GetPixel(o.x + 6, boxY + 6) & 0xFFFFFF, 0xFFFFFFu);
  chk.SetValue(1);
  desktop.RunPending();
  gfx::Canvas after = desktop.RenderScreen();
  int dark = 0;
  for (int y = 3; y < 10; ++y) {
    for (int x = 3; x < 10; ++x) {
      if ((after.GetPixel(o.x + x, boxY + y) & 0xFFFFFF) == 0) ++dark;
    }
  }
  EXPECT_GT(dark, 5);
}

TEST_F(ControlsTest, TypingInsertsAtTheCaretAndRaisesChange) {
  ui::TextBox& txt = form->Add<ui::TextBox>("txtName", 10, 10, 150, 21);
  int changes = 0;
  txt.OnChange = [&] { ++changes; };
  person.TypeInto(txt, "Helo");
  EXPECT_EQ(txt.Text(), "Helo");
  txt.SetSelStart(3);
  person.Type("l");
  EXPECT_EQ(txt.Text(), "Hello");
  EXPECT_EQ(txt.SelStart(), 4);
  person.Press(VK_BACK);
  EXPECT_EQ(txt.Text(), "Helo");
  person.Press(VK_RETURN);  // single line: nothing
  EXPECT_EQ(txt.Text(), "Helo");
  EXPECT_EQ(changes, 6);
  EXPECT_EQ(GetWindowText(txt.hwnd()), "Helo");
}

TEST_F(ControlsTest, SelectionIsReplacedBySelTextAndTyping) {
  ui::TextBox& txt = form->Add<ui::TextBox>("txtName", 10, 10, 150, 21);
  txt.SetText("Hello world");
  EXPECT_EQ(txt.SelStart(), 0);
  txt.SetSelStart(6);
  txt.SetSelLength(50);
  EXPECT_EQ(txt.SelLength(), 5);
  EXPECT_EQ(txt.SelText(), "world");
  txt.SetSelText("there");
  EXPECT_EQ(txt.Text(), "Hello there");
  EXPECT_EQ(txt.SelStart(), 11);
  SendMessage(txt.hwnd(), EM_SETSEL, 0, 5);
  txt.SetFocus();
  person.Type("Hi");
  EXPECT_EQ(txt.Text(), "Hi there");
  SendMessage(txt.hwnd(), EM_SETSEL, 0, -1);
  EXPECT_EQ(txt.SelLength(), 8);
}

TEST_F(ControlsTest, MultiLineEnterInsertsCrLfAndBackspaceRemovesItWhole) {
  ui::TextBox& txt = form->Add<ui::TextBox>("txtMsg", 10, 10, 150, 80, true);
  person.TypeInto(txt, "ab");
  person.Press(VK_RETURN);
  person.Type("c");
  EXPECT_EQ(txt.Text(), "ab\r\nc");
  person.Press(VK_BACK);
  person.Press(VK_BACK);
  EXPECT_EQ(txt.Text(), "ab");
}

TEST_F(ControlsTest, LockedAndDisabledBoxesKeepTheirText) {
  ui::TextBox& txt = form->Add<ui::TextBox>("txtName", 10, 10, 150, 21);
  txt.SetText("keep");
  txt.SetLocked(true);
  person.TypeInto(txt, "x");
  person.Press(VK_BACK);
  EXPECT_EQ(txt.Text(), "keep");
  txt.SetLocked(false);
  txt.SetEnabled(false);
  EXPECT_EQ(txt.Text(), "keep");
  txt.SetText("new");
  EXPECT_EQ(txt.Text(), "new");
}

TEST_F(ControlsTest, TextSetByAWindowMessageIsTheBoxText) {
  ui::TextBox& txt = form->Add<ui::TextBox>("txtName", 10, 10, 150, 21);
  int changes = 0;
  txt.OnChange = [&] { ++changes; };
  SetWindowText(txt.hwnd(), "from outside");
  EXPECT_EQ(txt.Text(), "from outside");
  EXPECT_EQ(changes, 1);
}

TEST_F(ControlsTest, MaxLengthStopsTyping) {
  ui::TextBox& txt = form->Add<ui::TextBox>("txtName", 10, 10, 150, 21);
  txt.SetMaxLength(3);
  person.TypeInto(txt, "abcdef");
  EXPECT_EQ(txt.Text(), "abc");
}

TEST_F(ControlsTest, ListBoxItemsSelectionAndMessages) {
  ui::ListBox& lst = form->Add<ui::ListBox>("List1", 10, 10, 120, 95);
  lst.SetVisible(false);
  EXPECT_EQ(lst.AddItem("1001"), 0);
  EXPECT_EQ(lst.AddItem("1002"), 1);
  lst.SetItemData(1, 42);
  EXPECT_EQ(lst.ListIndex(), -1);
  EXPECT_EQ(lst.Text(), "");
  lst.SetListIndex(1);
  EXPECT_EQ(lst.Text(), "1002");
  EXPECT_EQ(SendMessage(lst.hwnd(), LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessage(lst.hwnd(), LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessage(lst.hwnd(), LB_GETITEMDATA, 1, 0), 42);
  char buffer[16] = {};
  EXPECT_EQ(SendMessage(lst.hwnd(), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 4);
  EXPECT_STREQ(buffer, "1001");
  EXPECT_EQ(SendMessage(lst.hwnd(), LB_GETTEXT, 5, reinterpret_cast<LPARAM>(buffer)), LB_ERR);
  EXPECT_EQ(SendMessage(lst.hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("1003")), 2);
  EXPECT_EQ(SendMessage(lst.hwnd(), LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>("1003")), 2);
  EXPECT_EQ(SendMessage(lst.hwnd(), LB_DELETESTRING, 7, 0), LB_ERR);
  // Removing the selected item leaves nothing selected; earlier removals shift it.
  lst.RemoveItem(0);
  EXPECT_EQ(lst.ListIndex(), 0);
  EXPECT_EQ(lst.Text(), "1002");
  lst.RemoveItem(0);
  EXPECT_EQ(lst.ListIndex(), -1);
  EXPECT_EQ(lst.ListCount(), 1);
  lst.Clear();
  EXPECT_EQ(lst.ListCount(), 0);
}

TEST_F(ControlsTest, ListBoxClickAndKeysSelect) {
  ui::ListBox& lst = form->Add<ui::ListBox>("lstIgnorePer", 10, 10, 120, 95);
  for (const char* name : {"Bob", "Carl", "Dee"}) lst.AddItem(name);
  std::vector<int> clicks;
  lst.OnClick = [&] { clicks.push_back(lst.ListIndex()); };
  person.Click(lst, 20, 2 + lst.ItemHeight() + 2);
  EXPECT_EQ(lst.ListIndex(), 1);
  person.Press(VK_DOWN);
  person.Press(VK_DOWN);  // already the last: no change
  lst.SetListIndex(0);
  EXPECT_EQ(clicks, (std::vector<int>{1, 2, 0}));
}

TEST_F(ControlsTest, ComboBoxChoosesFromItsPopup) {
  ui::ComboBox& cbo = form->Add<ui::ComboBox>("cboFont", 10, 10, 120, 21);
  cbo.AddItem("Arial");
  cbo.AddItem("Tahoma");
  int clicks = 0;
  cbo.OnClick = [&] { ++clicks; };
  person.AnswerNextPopup("Tahoma");
  person.Click(cbo);
  EXPECT_EQ(cbo.ListIndex(), 1);
  EXPECT_EQ(cbo.Text(), "Tahoma");
  EXPECT_TRUE(cbo.SetText("arial"));
  EXPECT_FALSE(cbo.SetText("Courier"));
  EXPECT_EQ(cbo.Text(), "Arial");
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsTest, LabelWrapsAtWordsAndLineEnds) {
  gfx::Font font;
  const int width = gfx::Canvas::TextWidth("one two", font);
  auto lines = ui::Label::WrapLines("one two three\r\nfour", font, width);
  EXPECT_EQ(lines, (std::vector<std::string>{"one two", "three", "four"}));
}

TEST_F(ControlsTest, FormFindsItsControlsByNameAndIndex) {
  form->Add<ui::CheckBox>("chkOpt", "a", 0, 0, 50, 17, 0);
  ui::CheckBox& second = form->Add<ui::CheckBox>("chkOpt", "b", 0, 20, 50, 17, 1);
  ui::Label& lbl = form->Add<ui::Label>("lblX");
  EXPECT_EQ(form->Find<ui::CheckBox>("chkOpt", 1), &second);
  EXPECT_EQ(form->FindControl("lblX"), &lbl);
  EXPECT_EQ(form->Find<ui::CheckBox>("lblX"), nullptr);
  EXPECT_EQ(form->FindControl("chkOpt"), nullptr);
  EXPECT_EQ(ui::Control::FromHwnd(second.hwnd()), &second);
  {
    ui::Label temporary(*form, "lblTemp");
    EXPECT_EQ(form->FindControl("lblTemp"), &temporary);
  }
  EXPECT_EQ(form->FindControl("lblTemp"), nullptr);
}

}  // namespace
}  // namespace uitest

namespace uitest {
namespace {

class ToolTipTest : public UiTest {};

TEST_F(ToolTipTest, TheTipOfTheControlUnderThePointOrItsContainer) {
  ui::Frame& frame = form->Add<ui::Frame>("Frame1", "", 10, 10, 200, 100);
  frame.SetToolTipText("The frame");
  auto& inner = form->Own(std::make_unique<ui::Label>(frame, "lblIn", "x", 10, 10, 40, 20));
  inner.SetToolTipText("The label");
  auto& plain = form->Own(std::make_unique<ui::Label>(frame, "lblPlain", "y", 100, 10, 40, 20));
  POINT p{15, 15};
  ClientToScreen(inner.hwnd(), p);
  EXPECT_EQ(ui::Control::ToolTipAt(p), "The label");
  POINT q{5, 5};
  ClientToScreen(plain.hwnd(), q);
  EXPECT_EQ(ui::Control::ToolTipAt(q), "The frame");
  POINT outside{1, 1};
  EXPECT_EQ(ui::Control::ToolTipAt(outside), "");
}

TEST_F(ControlsTest, TheSelectedListRowIsDrawnInTheHighlightColour) {
  auto& lst = form->Add<ui::ListBox>("lstA", 10, 80, 150, 60);
  for (const char* s : {"one", "two", "three"}) lst.AddItem(s);
  lst.SetListIndex(1);
  desktop.RunPending();
  gfx::Canvas screen = desktop.RenderScreen();
  POINT o{0, 0};
  ClientToScreen(lst.hwnd(), o);
  const int y = o.y + 2 + lst.ItemHeight() + lst.ItemHeight() / 2;
  EXPECT_EQ(screen.GetPixel(o.x + 100, y) & 0xFFFFFF, GetSysColor(COLOR_HIGHLIGHT));
}

}  // namespace
}  // namespace uitest
