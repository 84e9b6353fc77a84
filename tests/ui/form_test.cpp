#include "ui/form.h"
#include "ui/label.h"
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
  f.SetCaption("Other");
  EXPECT_EQ(f.Caption(), "Other");
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
