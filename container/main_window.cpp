#include "container/main_window.h"

#include <cstdlib>
#include <initializer_list>

#include "host/window_access.h"
#include "platform/win32.h"
#include "settings/settings_store.h"

namespace container {

using namespace platform;

namespace {

MainWindow* instance = nullptr;

// A control owned by the form, made inside another of its controls.
template <class T, class... Args>
T& Make(ui::Form& form, ui::Parent parent, Args&&... args) {
  return form.Own(std::make_unique<T>(parent, std::forward<Args>(args)...));
}

widgets::AOLFButton& Button(ui::Form& form, ui::Control& parent, const char* name,
                            const char* caption, const char* toolTip) {
  auto& b = Make<widgets::AOLFButton>(form, parent, name, 0, 0, 60, 15);
  b.SetCaption(caption);
  b.SetToolTipMessage(toolTip);
  b.SetToolTipText(toolTip);
  return b;
}

// Appends a menu array to `parent` and returns `parent`, so the items made in the constructor's
// member list keep their designed order.
ui::Menu& WithArray(ui::Menu& parent, const char* name,
                    std::initializer_list<const char*> captions) {
  int i = 0;
  for (const char* caption : captions) parent.Add(name, caption, i++);
  return parent;
}

ui::ListBox& HiddenList(ui::Form& form, const char* name) {
  auto& list = form.Add<ui::ListBox>(name);
  list.SetVisible(false);
  return list;
}

// Designed colours of the fade, until Color1 to Color4 are stored.
constexpr COLORREF kDesignColors[5] = {0, RGB(0, 0, 255), RGB(255, 0, 0), RGB(0, 160, 0),
                                       RGB(128, 0, 128)};

}  // namespace

MainWindow* frmPallion() {
  return instance;
}

MainWindow* MainWindow::Instance() {
  return instance;
}

MainWindow::MainWindow()
    : ui::Form("frmPallion", kContainerCaption, ui::BorderStyle::Sizable),
      Picture1(Add<ui::PictureBox>("Picture1", 0, 0, 343, 289)),
      TabStrip1(Make<ui::TabStrip>(*this, Picture1, "TabStrip1", 4, 5, 327, 239)),
      picIM(Make<ui::PictureBox>(*this, Picture1, "picIM", 8, 30, 319, 175)),
      ctList1(Make<ui::ctList>(*this, Picture1, "ctList1", 6, 10, 112, 10)),
      Frame1(Make<ui::Frame>(*this, Picture1, "Frame1", "", 10, 227, 322, 4)),
      picButtonsHold(Make<ui::PictureBox>(*this, Picture1, "picButtonsHold", 8, 229, 326, 53)),
      Picture2(Make<ui::PictureBox>(*this, picButtonsHold, "Picture2", 0, 2, 290, 44)),
      AOButtonSend(Button(*this, Picture2, "AOButtonSend", "Send", "Send Instant Message")),
      AOButtonCloseIM(Button(*this, Picture2, "AOButtonCloseIM", "Close IM", "Close Top IM")),
      AOButtonGetProfile(
          Button(*this, Picture2, "AOButtonGetProfile", "Get Profile", "Get Profile")),
      AOButtonLocate(Button(*this, Picture2, "AOButtonLocate", "Locate", "Locate")),
      AOButtonIMAnswer(Button(*this, Picture2, "AOButtonIMAnswer", "IM Answer", "IM Answer")),
      AOButtonNotifyAOL(Button(*this, Picture2, "AOButtonNotifyAOL", "Notify AOL", "Notify AOL")),
      AOButtonOptions(Button(*this, Picture2, "AOButtonOptions", "Options", "Options")),
      AOButtonMail(Button(*this, Picture2, "AOButtonMail", "Mail", "Send Mail")),
      picMiddleBar(Make<ui::PictureBox>(*this, Picture1, "picMiddleBar", 5, 100, 300, 24)),
      picIMSide(Make<ui::PictureBox>(*this, Picture1, "picIMSide", 300, 100, 5, 28)),
      picMenuIM(Add<ui::PictureBox>("picMenuIM", 0, 0, 51, 24)),
      picIMtile(Add<ui::PictureBox>("picIMtile", 0, 0, 100, 100)),
      picIMLoad(Add<ui::PictureBox>("picIMLoad", 0, 0, 32, 32)),
      List1(HiddenList(*this, "List1")),
      lstIgnoreTem(HiddenList(*this, "lstIgnoreTem")),
      lstIgnorePer(HiddenList(*this, "lstIgnorePer")),
      lstPersonalized(HiddenList(*this, "lstPersonalized")),
      lstListedMembers(HiddenList(*this, "lstListedMembers")),
      lstRoom(HiddenList(*this, "lstRoom")),
      Timer1(Add<ui::Timer>("Timer1", 100u, false)),
      TimerScanIM(Add<ui::Timer>("TimerScanIM", 500u, true)),
      TimerIMAnswer(Add<ui::Timer>("TimerIMAnswer", 500u, false)),
      TimerUrgentNews(Add<ui::Timer>("TimerUrgentNews", 12000u, false)),
      TimerTellaFriend(Add<ui::Timer>("TimerTellaFriend", 5u, false)),
      TimerAdvertise(Add<ui::Timer>("TimerAdvertise", 5u, false)),
      mnuFadeOptions(Menus().Add("mnuFadeOptions", "Fade Options")),
      mnuOptions(WithArray(Menus().Add("mnuOptions", "Options"), "mnuControlPanel",
                           {"Control Panel", "-"})),
      mnuStyle(mnuOptions.Add("mnuStyle", "Style")),
      mnuGraphical(mnuOptions.Add("mnuGraphical", "Graphical")),
      mnuStyleSep(mnuOptions.Add("mnuStyleSep", "-")),
      mnuNotifyAOL(WithArray(WithArray(mnuOptions, "mnuEntertoSend",
                                       {"Enter to Send", "Tab to Switch IMs", "Float Mode", "-"}),
                             "mnuIgnore", {"Ignore SN", "Always Ignore SN", "-"})
                       .Add("mnuNotifyAOL", "Notify AOL")),
      mnuIMS(Menus().Add("mnuIMS", "IMs")),
      mnuIManswerMain(Menus().Add("mnuIManswerMain", "IM Answer")),
      mnuAOLmenu(Menus().Add("mnuAOLmenu", "AOL Menu")),
      mnuGetInfo(Menus().Add("mnuGetInfo", "Get Info")) {
  instance = this;
  host::SetIMArea(picIM.hwnd());
  BuildMenus();
  BuildButtons();
  BuildPictures();
  picMenuIM.SetVisible(false);
  picMenuIM.SetBackColor(0xC0C0C0);
  picMenuIM.OnPaint = [this](gfx::Canvas& c) {
    gfx::Font font;
    font.bold = true;
    const std::string text = "IMs";
    const int w = gfx::Canvas::TextWidth(text, font);
    c.DrawText((picMenuIM.ClientWidth() - w) / 2,
               (picMenuIM.ClientHeight() - gfx::Canvas::TextHeight(font)) / 2, text, font,
               RGB(0, 56, 120));
  };
  picIMtile.SetVisible(false);
  picIMLoad.SetVisible(false);
  ctList1.AddColumn("", 0);
  ctList1.AddColumn("", 20);
  ctList1.AddColumn("", 20);
  ctList1.SetHeaderText("Current IMs: 0");
  TabStrip1.SetImageList(&ImageList1);

  TabStrip1.OnClick = [this] { TabStrip1Click(); };
  ctList1.OnClick = [this] { ctList1Click(); };
  ctList1.OnCurrentRowChanged = [this] { ctList1CurrentRowChanged(); };
  Picture1.OnClick = [this] { PanelClicked(); };
  Picture2.OnClick = [this] { PanelClicked(); };
  picButtonsHold.OnMouseDown = [this](int, int, int, int) { PanelClicked(); };
  Frame1.OnMouseDown = [this](int, int, int, int) { PanelClicked(); };
  Timer1.OnTick = [this] { Timer1Tick(); };
  TimerScanIM.OnTick = [this] { TimerScanIMTick(); };
  SubClassPallion.onMessage = [this](WatchedMessage& m, bool& noPass) {
    SubClassPallionMessage(m, noPass);
  };
  SubClass2.onMessage = [this](WatchedMessage& m, bool& noPass) { SubClass2Message(m, noPass); };
  SubClassMDI.onMessage = [this](WatchedMessage& m, bool& noPass) {
    SubClassMDIMessage(m, noPass);
  };
  SubClassIMs.onMessage = [this](WatchedMessage& m, bool& noPass) {
    SubClassIMsMessage(m, noPass);
  };
  WinHook3.onMouse = [this](HWND hwnd, UINT& msg, WPARAM wParam, LPARAM lParam) {
    WinHook3Mouse(hwnd, msg, wParam, lParam);
  };
  OnLoad = [this] { FormLoad(); };
}

MainWindow::~MainWindow() {
  SubClass2.SetHWnd(0);
  SubClassPallion.SetHWnd(0);
  SubClassMDI.SetHWnd(0);
  SubClassMenu.SetHWnd(0);
  SubClassIMs.SetHWnd(0);
  WinHook1.Stop();
  WinHook3.Stop();
  StopGuardingLeftovers();
  float_.reset();
  if (host::IMArea() == IMHolder()) host::SetIMArea(0);
  if (instance == this) instance = nullptr;
}

void MainWindow::BuildMenus() {
  const char* fade[] = {"Random Fade Off", "-", "Random Fade", "Random From Saved CS"};
  for (int i = 0; i < 4; ++i) {
    mnuSubRandomFade[i] = &mnuFadeOptions.Add("mnuSubRandomFade", fade[i], i);
  }
  mnuSubRandomFade[0]->SetChecked(true);

  for (int i = 0; i < 2; ++i) mnuControlPanel[i] = mnuOptions.Find("mnuControlPanel", i);
  for (int i = 0; i < 4; ++i) mnuEntertoSend[i] = mnuOptions.Find("mnuEntertoSend", i);
  for (int i = 0; i < 3; ++i) mnuIgnore[i] = mnuOptions.Find("mnuIgnore", i);
  mnuStyleSub[0] = &mnuStyle.Add("mnuStyleSub", "Tabs", 0);
  mnuStyleSub[1] = &mnuStyle.Add("mnuStyleSub", "List Box", 1);
  mnuStyleSub[0]->SetChecked(true);
  mnuGraphicalSub[0] = &mnuGraphical.Add("mnuGraphicalSub", "True", 0);
  mnuGraphicalSub[1] = &mnuGraphical.Add("mnuGraphicalSub", "False", 1);
  mnuGraphicalSub[1]->SetChecked(true);
  mnuEntertoSend[0]->SetChecked(true);
  mnuEntertoSend[1]->SetChecked(true);

  const char* ims[] = {"Send &IM", "-", "Turn IMs O&ff", "Turn IMs O&n", "-", "IM I&gnore List"};
  for (int i = 0; i < 6; ++i) mnuIMSub[i] = &mnuIMS.Add("mnuIMSub", ims[i], i);
  mnuIMSub[3]->SetChecked(true);

  const char* answer[] = {"Off",
                          "-",
                          "All IMs",
                          "All Expect Chat Room",
                          "Only Chat Room",
                          "All Except Listed Members",
                          "Only Listed Members"};
  for (int i = 0; i < 7; ++i) mnuIManswer[i] = &mnuIManswerMain.Add("mnuIManswer", answer[i], i);
  mnuIManswer[0]->SetChecked(true);

  mnuAOLControlPanel = &mnuAOLmenu.Add("mnuAOLControlPanel", "Control Panel");
  mnuSepAOL = &mnuAOLmenu.Add("mnuSepAOL", "-");
  mnuHelpAOL = &mnuAOLmenu.Add("mnuHelpAOL", "Help");
  mnuCheckForUpdates = &mnuAOLmenu.Add("mnuCheckForUpdates", "Check for Updates");
  mnuSep7 = &mnuAOLmenu.Add("mnuSep7", "-");
  mnuResetIMs = &mnuAOLmenu.Add("mnuResetIMs", "Reset IMs");
  mnuSaveIM = &mnuAOLmenu.Add("mnuSaveIM", "Save IM");
  mnuSepAOL3 = &mnuAOLmenu.Add("mnuSepAOL3", "-");
  mnuAOLtellaFriend = &mnuAOLmenu.Add("mnuAOLtellaFriend", "Tell a Friend");
  mnuAOLAdvertise = &mnuAOLmenu.Add("mnuAOLAdvertise", "Advertise");
  mnuAOlAbout = &mnuAOLmenu.Add("mnuAOlAbout", "About");
  mnusepAOL2 = &mnuAOLmenu.Add("mnusepAOL2", "-");
  mnuExitaolMenu = &mnuAOLmenu.Add("mnuExitaolMenu", "Exit");

  mnuShowInfoWindow = &mnuGetInfo.Add("mnuShowInfoWindow", "Show Info Window");
  mnuSep9 = &mnuGetInfo.Add("mnuSep9", "-");
  mnuSendMail = &mnuGetInfo.Add("mnuSendMail", "Send Mail");
  mnuAddtoAddressBook = &mnuGetInfo.Add("mnuAddtoAddressBook", "Add to Address Book");
  mnuAddtoBuddyList = &mnuGetInfo.Add("mnuAddtoBuddyList", "Add to Buddy List");
  mnuSep8 = &mnuGetInfo.Add("mnuSep8", "-");
  mnuViewProfile = &mnuGetInfo.Add("mnuViewProfile", "View Profile");
  mnuSignOnaFriend = &mnuGetInfo.Add("mnuSignOnaFriend", "Sign On a Friend");
  mnuViewWebPage = &mnuGetInfo.Add("mnuViewWebPage", "View Web Page");

  // The layout and hook toggles; the other items' actions belong to their own parts.
  for (int i = 0; i < 2; ++i) {
    mnuStyleSub[i]->OnClick = [this, i] {
      mnuStyleSub[0]->SetChecked(i == 0);
      mnuStyleSub[1]->SetChecked(i == 1);
      settings::WriteSetting(settings::keys::kStyle, i == 0 ? "1" : "2");
      AdjustSize2();
      AdjustSize3();
      ctList1.SetFontSizes(8.25);
    };
    mnuGraphicalSub[i]->OnClick = [this, i] {
      mnuGraphicalSub[0]->SetChecked(i == 0);
      mnuGraphicalSub[1]->SetChecked(i == 1);
      settings::WriteSetting(settings::keys::kGraphical, i == 0 ? "2" : "1");
      AdjustSize2();
    };
  }
  mnuEntertoSend[0]->OnClick = [this] {
    const bool on = !mnuEntertoSend[0]->Checked();
    mnuEntertoSend[0]->SetChecked(on);
    settings::WriteSetting(settings::keys::kEnterKeySendsIM, on ? "1" : "0");
  };
  mnuEntertoSend[1]->OnClick = [this] {
    const bool on = !mnuEntertoSend[1]->Checked();
    mnuEntertoSend[1]->SetChecked(on);
    settings::WriteSetting(settings::keys::kTabKeySwitchesIM, on ? "1" : "0");
  };
  mnuEntertoSend[2]->OnClick = [this] { SetFloatMode(!FloatMode()); };
}

void MainWindow::BuildButtons() {
  struct Middle {
    const char* caption;
    const char* toolTip;
    int x, width;
  };
  const Middle middle[9] = {
      {"S", "Save Color Scheme", 2, 18},   {"L", "Load Color Scheme", 21, 18},
      {"-", "Subtract Color", 40, 18},     {"+", "Add Color", 59, 18},
      {"Fade", "Fade IM", 148, 34},        {"R", "Random Fade Options", 183, 18},
      {":)", "Insert Smilie", 202, 22},    {">", "Show IM ToolBar", 225, 18},
      {"Link", "Send Hyperlink", 262, 30},
  };
  for (int i = 0; i < 9; ++i) {
    auto& b = Make<widgets::AOButton>(*this, picMiddleBar, "AOButtonMiddle", middle[i].caption,
                                      middle[i].x, 2, middle[i].width, 20, i);
    b.SetToolTipMessage(middle[i].toolTip);
    b.SetToolTipText(middle[i].toolTip);
    AOButtonMiddle[i] = &b;
  }
  for (int i = 1; i <= 4; ++i) {
    const std::string n = std::to_string(i);
    auto& b = Make<widgets::AOButton>(*this, picMiddleBar, "cmdColor", n, 80 + (i - 1) * 17, 4, 16,
                                      16, i);
    b.SetBackColor(kDesignColors[i]);
    b.SetToolTipMessage("Fade Color " + n);
    b.SetToolTipText("Fade Color " + n);
    cmdColor[i] = &b;
  }
}

void MainWindow::BuildPictures() {
  // Tab pictures: a read IM (an open envelope) and an unread one (a red closed envelope).
  ImageList1.AddDrawn(12, 12, 0xC0C0C0, [](gfx::Canvas& c) {
    c.FillRect(1, 3, 10, 7, 0xFFFFFF);
    c.DrawRect(1, 3, 10, 7, 0x808080);
    c.Line(1, 3, 6, 7, 0x808080);
    c.Line(10, 3, 5, 7, 0x808080);
  });
  ImageList1.AddDrawn(12, 12, 0xC0C0C0, [](gfx::Canvas& c) {
    c.FillRect(1, 3, 10, 7, RGB(255, 64, 64));
    c.DrawRect(1, 3, 10, 7, RGB(128, 0, 0));
    c.Line(1, 3, 6, 7, 0xFFFFFF);
    c.Line(10, 3, 5, 7, 0xFFFFFF);
  });
  // IM-list pictures: 1 status hidden, 2 status shown, 3 unread, 4 nothing unread.
  ui::ImageList& pics = ctList1.Pictures();
  pics.AddDrawn(12, 12, 0xFFFFFF, [](gfx::Canvas& c) {
    c.FillRect(3, 3, 6, 6, 0xA0A0A0);
    c.DrawRect(3, 3, 6, 6, 0x606060);
  });
  pics.AddDrawn(12, 12, 0xFFFFFF, [](gfx::Canvas& c) {
    c.FillRect(3, 3, 6, 6, RGB(0, 176, 0));
    c.DrawRect(3, 3, 6, 6, RGB(0, 96, 0));
  });
  pics.AddDrawn(12, 12, 0xFFFFFF, [](gfx::Canvas& c) {
    c.FillRect(1, 3, 10, 7, RGB(255, 64, 64));
    c.DrawRect(1, 3, 10, 7, RGB(128, 0, 0));
  });
  pics.AddDrawn(12, 12, 0xFFFFFF, [](gfx::Canvas& c) {
    c.FillRect(1, 3, 10, 7, 0xFFFFFF);
    c.DrawRect(1, 3, 10, 7, 0x808080);
  });
}

void MainWindow::FormLoad() {
  TabStrip1.Clear();
  BringWindowToTop(Frame1.hwnd());
  NumOfColors = 4;

  const HWND pallion = host::FindPallionChild();
  SubClassMDI.SetHWnd(host::FindMDI());
  SubClassMDI.AddHWnd(host::FindAOL());
  SubClassPallion.SetHWnd(pallion);
  SubClass2.SetHWnd(pallion);
  WinHook3.SetHWnd(picMenuIM.hwnd());
  WinHook1.StartKeyboard();
  MakeIMHolder(pallion);
  GuardLeftovers();

  AdjustSize();
  Picture1.Refresh();
  Frame1.ZOrder();
  Picture2.ZOrder();

  SettingsFromINI();
  AdjustSize2();

  const HWND toolbar = host::FindToolbar();
  const HWND icon = host::NthChildExact(toolbar, "_AOL_Icon", 5);
  if (icon != 0) {
    picMenuIM.SetParent(icon);
    picMenuIM.Move(2, -1, 51, 24);
    picMenuIM.SetVisible(true);
    picMenuIM.Refresh();
  }

  Timer1.SetEnabled(true);
  TimerUrgentNews.SetEnabled(true);
  host::CloseWin(host::FindChildByCaption("AOL Channels"));
}

void MainWindow::SettingsFromINI() {
  const bool tabs = settings::ReadSetting(settings::keys::kStyle) == "1";
  mnuStyleSub[0]->SetChecked(tabs);
  mnuStyleSub[1]->SetChecked(!tabs);
  const bool plain = settings::ReadSetting(settings::keys::kGraphical) == "1";
  mnuGraphicalSub[1]->SetChecked(plain);
  mnuGraphicalSub[0]->SetChecked(!plain);
  for (const auto& reader : std::vector<std::function<void()>>(settingsReaders)) {
    if (reader) reader();
  }
}

bool MainWindow::UseTabs() const {
  return mnuStyleSub[0] != nullptr && mnuStyleSub[0]->Checked();
}
bool MainWindow::Graphical() const {
  return mnuGraphicalSub[0] != nullptr && mnuGraphicalSub[0]->Checked();
}
bool MainWindow::FloatMode() const {
  return mnuEntertoSend[2] != nullptr && mnuEntertoSend[2]->Checked();
}

HWND MainWindow::ListIM(int index) const {
  const std::string text = List1.List(index);
  if (text.empty()) return 0;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, 10);
  if (end == nullptr || *end != '\0' || value == 0 || value > 0xFFFFFFFFul) return 0;
  return static_cast<HWND>(value);
}

HWND MainWindow::SelectedIM() const {
  return ListIM(List1.ListIndex() >= 0 ? List1.ListIndex() : 0);
}

void MainWindow::ClearIMs() {
  TabStrip1.Clear();
  ctList1.Clear();
  ctList1.SetHeaderText("Current IMs: 0");
  List1.Clear();
}

}  // namespace container
