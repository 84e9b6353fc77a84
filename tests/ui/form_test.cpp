#include "ui/form.h"

#include <memory>

#include "ui/check_box.h"
#include "ui/frame.h"
#include "ui/label.h"
#include "ui/text_box.h"
#include "ui/ui_fixture.h"

namespace uitest {
namespace {

using namespace platform;

class FormTest : public UiTest {};

TEST_F(FormTest, TopLevelFormsHaveTheirClassAndCaption) {
  ui::Form f("frmPallion", "Pallion \xB2\xB7\xBA :");
  EXPECT_EQ(GetClassName(f.hwnd()), "ThunderRT5Form");
  EXPECT_EQ(FindWindow("ThunderRT5Form", "Pallion \xB2\xB7\xBA :"), f.hwnd());
  EXPECT_FALSE(IsWindowVisible(f.hwnd()));
}

TEST_F(FormTest, LoadIsRaisedOnceUntilUnloaded) {
  ui::Form f("frmSettings", "Settings");
  int loads = 0, unloads = 0;
  f.OnLoad = [&] { ++loads; };
  f.OnUnload = [&](bool&) { ++unloads; };
  f.Show();
  f.Show();
  EXPECT_EQ(loads, 1);
  EXPECT_TRUE(IsWindowVisible(f.hwnd()));
  EXPECT_TRUE(f.Unload());
  EXPECT_FALSE(f.Loaded());
  EXPECT_FALSE(IsWindowVisible(f.hwnd()));
  f.Show();
  EXPECT_EQ(loads, 2);
  EXPECT_EQ(unloads, 1);
}

TEST_F(FormTest, TheCloseBoxUnloadsUnlessCancelled) {
  ui::Form f("frmSettings", "Settings");
  bool cancel = true;
  f.OnUnload = [&](bool& c) { c = cancel; };
  f.Show();
  SendMessage(f.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(f.hwnd()));
  EXPECT_TRUE(IsWindowVisible(f.hwnd()));
  cancel = false;
  SendMessage(f.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(f.hwnd()));
  EXPECT_FALSE(IsWindowVisible(f.hwnd()));
}

TEST_F(FormTest, ModalLoopEndsWhenTheFormIsHidden) {
  ui::Form box("frmMsgBox", "", ui::BorderStyle::None);
  EXPECT_EQ(GetWindowLong(box.hwnd(), GWL_STYLE) & WS_CAPTION, 0);
  bool ownerDisabledMeanwhile = false;
  bool modalMeanwhile = false;
  person.WhenShown(box, [&] {
    ownerDisabledMeanwhile = !IsWindowEnabled(form->hwnd());
    modalMeanwhile = box.IsModal();
    box.Hide();
  });
  box.ShowModal(form->hwnd());
  EXPECT_TRUE(ownerDisabledMeanwhile);
  EXPECT_TRUE(modalMeanwhile);
  EXPECT_FALSE(box.IsModal());
  EXPECT_TRUE(IsWindowEnabled(form->hwnd()));
}

TEST_F(FormTest, ModalLoopEndsWhenTheFormIsUnloadedAfterAWhile) {
  ui::Form box("frmMsgBox", "");
  desktop.Schedule(5000, [&] { box.Unload(); });
  const uint64_t start = desktop.NowMs();
  box.ShowModal();
  EXPECT_GE(desktop.NowMs() - start, 5000u);
  EXPECT_FALSE(box.Loaded());
}

TEST_F(FormTest, ModalLoopEndsWhenTheProcessEnds) {
  auto box = std::make_unique<ui::Form>("frmMsgBox", "");
  desktop.Schedule(1000, [&] { ExitProcess(); });
  box->ShowModal();
  EXPECT_TRUE(ProcessEnded());
  box.reset();
  form.reset();
}

TEST_F(FormTest, MenuBarItemsCarryCheckMarksAndRouteTheirClicks) {
  ui::Menu& file = form->Menus().Add("mnuFile", "&File");
  ui::Menu& tabs = file.Add("mnuStyle", "Tabs", 0);
  ui::Menu& list = file.Add("mnuStyle", "List Box", 1);
  file.Add("mnuSep", "-");
  ui::Menu& exit = file.Add("mnuExit", "E&xit");
  tabs.SetChecked(true);
  int clicked = -1;
  for (ui::Menu* m : {&tabs, &list}) {
    m->OnClick = [&clicked, m] { clicked = m->Index(); };
  }
  HMENU bar = GetMenu(form->hwnd());
  ASSERT_NE(bar, 0u);
  HMENU sub = GetSubMenu(bar, 0);
  EXPECT_EQ(GetMenuItemCount(sub), 4);
  EXPECT_TRUE(GetMenuState(sub, tabs.Id(), MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(GetMenuState(sub, list.Id(), MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(person.ChooseMenu(*form, {"File", "List Box"}));
  EXPECT_EQ(clicked, 1);
  exit.SetEnabled(false);
  EXPECT_FALSE(person.ChooseMenu(*form, {"File", "Exit"}));
  list.SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetMenu(form->hwnd()), 0)), 3);
  EXPECT_EQ(form->FindMenu("mnuStyle", 1), &list);
}

TEST_F(FormTest, PopupMenuChoiceRaisesTheItemClick) {
  ui::Menu& pop = form->Menus().Add("mnuIM", "IM");
  pop.SetVisible(false);
  ui::Menu& ignore = pop.Add("mnuIgnore", "Ignore");
  ui::Menu& only = ignore.Add("mnuIgnoreOnly", "Only Ignore Bob this session");
  ui::Menu& send = pop.Add("mnuSend", "Send");
  std::string clicked;
  only.OnClick = [&] { clicked = "only"; };
  send.OnClick = [&] { clicked = "send"; };
  EXPECT_EQ(GetMenu(form->hwnd()), 0u);  // the only top item is hidden: no menu bar
  person.AnswerNextPopup("Send");
  form->PopupMenu(pop, 10, 10);
  EXPECT_EQ(clicked, "send");
  clicked.clear();
  person.AnswerNextPopup("");
  form->PopupMenu(pop, 10, 10);
  EXPECT_EQ(clicked, "");
  const auto& events = desktop.Events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, sim::Event::Kind::PopupMenu);
}

}  // namespace
}  // namespace uitest

namespace uitest {
namespace {

using namespace platform;

// A dialog of a label before a text box, a check box, a frame around a text box, and two
// buttons that mark the same letter; each button counts its clicks.
class MnemonicTest : public UiTest {
 protected:
  MnemonicTest()
      : label(form->Add<ui::Label>("lblName", "&Name:", 8, 8, 60, 17)),
        name(form->Add<ui::TextBox>("txtName", 70, 6, 120, 21)),
        loud(form->Add<ui::CheckBox>("chkLoud", "&Loud", 8, 34, 80, 17)),
        group(form->Add<ui::Frame>("fraMore", "&More", 8, 60, 200, 60)),
        more(form->Own(std::make_unique<ui::TextBox>(group, "txtMore", 8, 20, 120, 21))),
        go(form->Add<ui::CheckBox>("chkGo", "&Go", 8, 130, 80, 17)),
        goAgain(form->Add<ui::CheckBox>("chkGoAgain", "&Go on", 8, 150, 80, 17)) {
    label.SetUseMnemonic(true);
    form->SetDialogKeys(true);
    name.SetFocus();
    desktop.RunPending();
  }
  void Alt(int key) { person.Press(key, ALT_MASK); }
  static bool Focused(const ui::Control& c) { return GetFocus() == c.hwnd(); }

  ui::Label& label;
  ui::TextBox& name;
  ui::CheckBox& loud;
  ui::Frame& group;
  ui::TextBox& more;
  ui::CheckBox& go;
  ui::CheckBox& goAgain;
};

TEST_F(MnemonicTest, AltWithTheMarkedLetterClicksAButtonOrFocusesWhatFollowsALabel) {
  Alt('L');
  EXPECT_EQ(loud.Value(), 1);
  EXPECT_TRUE(Focused(loud));
  Alt('N');
  EXPECT_TRUE(Focused(name));
  EXPECT_EQ(name.Text(), "");  // the letter is not typed
  Alt('M');
  EXPECT_TRUE(Focused(more));
  Alt('L');
  EXPECT_EQ(loud.Value(), 0);
  // Without Alt the letter is typed as usual.
  name.SetFocus();
  person.Press('L');
  EXPECT_EQ(name.Text(), "l");
  EXPECT_EQ(loud.Value(), 0);
}

TEST_F(MnemonicTest, ControlsSharingALetterTakeTurnsAndHiddenOrDisabledOnesAreSkipped) {
  Alt('G');
  EXPECT_EQ(go.Value(), 1);
  Alt('G');
  EXPECT_EQ(goAgain.Value(), 1);
  Alt('G');
  EXPECT_EQ(go.Value(), 0);
  go.SetEnabled(false);
  Alt('G');
  Alt('G');
  EXPECT_EQ(go.Value(), 0);
  EXPECT_EQ(goAgain.Value(), 1);
  loud.SetVisible(false);
  Alt('L');
  EXPECT_EQ(loud.Value(), 0);
}

TEST_F(MnemonicTest, OnlyAltAloneWithDialogKeysOnActs) {
  person.Press('L', ALT_MASK | CTRL_MASK);
  EXPECT_EQ(loud.Value(), 0);
  more.SetFocus();
  label.SetUseMnemonic(false);
  Alt('N');
  EXPECT_FALSE(Focused(name));
  form->SetDialogKeys(false);
  Alt('L');
  EXPECT_EQ(loud.Value(), 0);
}

TEST_F(MnemonicTest, TheMarkedLetterIsUnderlinedAndTheAmpersandNotShown) {
  // "&Name:" draws as "Name:" with a line under the N; "&&" would draw one "&".
  ui::Label plain(*form, "lblPlain", "Name:", 8, 200, 60, 17);
  plain.SetOpaque(true);
  desktop.RunPending();
  const gfx::Canvas screen = desktop.RenderScreen();
  const auto row = [&](const ui::Control& c, int y) {
    std::vector<gfx::Color> pixels;
    RECT r;
    GetWindowRect(c.hwnd(), r);
    for (int x = 0; x < 60; ++x) pixels.push_back(screen.GetPixel(r.left + x, r.top + y));
    return pixels;
  };
  int underlined = -1;
  for (int y = 0; y < 17; ++y) {
    if (row(label, y) != row(plain, y)) {
      EXPECT_EQ(underlined, -1) << "more than one row differs: " << y;
      underlined = y;
    }
  }
  EXPECT_GT(underlined, 8);
}

}  // namespace
}  // namespace uitest
