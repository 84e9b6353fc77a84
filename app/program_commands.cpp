// The demo's commands on the program's side: starting Pallion, its settings, acting on its
// controls, menus and message boxes.
#include <optional>

#include "app/demo_commands.h"
#include "app/demo_helpers.h"
#include "app/demo_runner.h"
#include "container/main_window.h"
#include "host/window_access.h"
#include "platform/ansi.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "startup/host_menu.h"
#include "ui/control.h"

namespace app {

namespace {

using platform::HWND;
using Scope = platform::sim::Desktop::ProcessScope;

int PlatformAnswer(const std::string& word) {
  const std::string a = Lower(word);
  return a == "ok"       ? platform::IDOK
         : a == "yes"    ? platform::IDYES
         : a == "no"     ? platform::IDNO
         : a == "cancel" ? platform::IDCANCEL
                         : 0;
}

std::string ButtonCaption(const std::string& word) {
  const std::string a = Lower(word);
  return a == "ok" ? "OK" : a == "yes" ? "Yes" : a == "no" ? "No" : a == "cancel" ? "Cancel" : "";
}

ui::Menu* FindMenuByCaptions(ui::Menu& root, const std::vector<std::string>& path) {
  ui::Menu* menu = &root;
  for (const std::string& caption : path) {
    ui::Menu* next = nullptr;
    for (size_t i = 0; i < menu->Count() && next == nullptr; ++i) {
      if (MenuText(menu->Item(i).Caption()) == MenuText(caption)) next = &menu->Item(i);
    }
    if (next == nullptr) return nullptr;
    menu = next;
  }
  return menu == &root ? nullptr : menu;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool StartPallion(DemoRunner& demo, const Args&, std::string& error) {
  if (!NeedClient(demo.World(), error)) return false;
  demo.World().StartProgram();
  demo.World().Run(500);
  return true;
}

bool KillPallion(DemoRunner& demo, const Args&, std::string&) {
  demo.World().KillProgram();
  demo.World().Run(500);
  return true;
}

bool Setting(DemoRunner& demo, const Args& args, std::string& error) {
  settings::WriteSetting(args[0], args[1]);
  // Read back: a file that cannot be written (read-only, a folder in its place) keeps the old
  // value, and the run must not go on as if the setting held.
  if (settings::ReadSetting(args[0]) != Trimmed(args[1])) {
    error = "cannot write the setting " + U(args[0]) + " to " + U(settings::SettingsPath()) + "";
    return false;
  }
  demo.World().Say("setting " + U(args[0]) + " = \"" + U(args[1]) + "\"");
  return true;
}

bool ClickControl(DemoRunner& demo, const Args& args, std::string& error) {
  DemoWorld& world = demo.World();
  int index = -1;
  if (args.size() >= 3 && !ParseInt(args[2], index)) {
    error = "not an index: '" + U(args[2]) + "'";
    return false;
  }
  ui::Control* control = FindProgramControl(world.ProgramProcess(), args[1], index);
  const std::string named = U(args[1]) + (index >= 0 ? "(" + std::to_string(index) + ")" : "");
  if (control == nullptr || world.Main() == nullptr) {
    error = "Pallion has no control " + named;
    return false;
  }
  if (!platform::IsWindowVisible(control->hwnd())) {
    error = "the control " + named + " is not visible";
    return false;
  }
  world.Say("the person clicks " + named);
  world.Desktop().Click(control->hwnd());
  return true;
}

bool Click(DemoRunner& demo, const Args& args, std::string& error) {
  DemoWorld& world = demo.World();
  int x = 0, y = 0;
  if (Lower(args[0]) == "control") {
    if (!ClickControl(demo, args, error)) return false;
  } else if (ParseInt(args[0], x) && ParseInt(args[1], y)) {
    world.Desktop().ClickAt({x, y});
  } else {
    HWND target = FindAnywhere(args[0], args[1]);
    if (target == 0) {
      error = "no window of class \"" + U(args[0]) + "\" captioned \"" + U(args[1]) + "\"";
      return false;
    }
    world.Desktop().Click(target);
  }
  world.Run(300);
  return true;
}

bool Menu(DemoRunner& demo, const Args& args, std::string& error) {
  DemoWorld& world = demo.World();
  auto& desktop = world.Desktop();
  std::vector<std::string> path(args.begin() + 1, args.end());
  const std::string where = Lower(args[0]);
  if (where == "pallion") {
    if (!NeedClient(world, error)) return false;
    path.insert(path.begin(), container::kHostMenuCaption);
    world.Say("the person chooses " + U(Join(path, 0)) + " on the client's menu bar");
    if (!desktop.ChooseMenuItem(world.Client().MainWindow(), path)) {
      error =
          "no enabled item \"" + U(Join(args, 1)) + "\" in Pallion's menu on the client's menu bar";
      return false;
    }
  } else if (where == "program") {
    container::MainWindow* main = RunningMain(world, error);
    if (main == nullptr) return false;
    ui::Menu* item = FindMenuByCaptions(main->Menus(), path);
    if (item == nullptr || item->Count() > 0 || item->IsSeparator()) {
      error = "Pallion has no menu item \"" + U(Join(path, 0)) + "\"";
      return false;
    }
    if (!item->Enabled()) {
      error = "the menu item \"" + U(Join(path, 0)) + "\" is disabled";
      return false;
    }
    world.Say("the person chooses " + U(Join(path, 0)) + " in Pallion's menu");
    Scope scope(desktop, world.ProgramProcess());
    item->Click();
  } else {
    HWND window = platform::FindWindowEx(0, 0, nullptr, args[0].c_str());
    if (window == 0) {
      error = "no top-level window captioned \"" + U(args[0]) + "\"";
      return false;
    }
    if (!desktop.ChooseMenuItem(window, path)) {
      error = "no enabled menu item \"" + U(Join(path, 0)) + "\"";
      return false;
    }
  }
  world.Run(300);
  return true;
}

bool AnswerBox(DemoRunner& demo, const Args& args, std::string& error) {
  const bool platformBox = Lower(args[0]) == "platform";
  const size_t at = platformBox ? 1 : 0;
  if (args.size() <= at || ButtonCaption(args[at]).empty()) {
    error = "answer with OK, Yes, No or Cancel";
    return false;
  }
  std::optional<std::string> input;
  if (args.size() > at + 1) input = args[at + 1];
  if (platformBox) {
    demo.World().Desktop().AnswerMessageBox(PlatformAnswer(args[at]));
    if (input) demo.World().Desktop().AnswerInputBox(*input);
  } else {
    demo.QueueBoxAnswer(ButtonCaption(args[at]), input);
  }
  return true;
}

bool TypeIM(DemoRunner& demo, const Args& args, std::string& error) {
  DemoWorld& world = demo.World();
  auto& desktop = world.Desktop();
  HWND input = 0;
  if (world.Main() != nullptr) {
    Scope scope(desktop, world.ProgramProcess());
    input = host::FindIMInput();
  }
  if (input == 0 || !platform::IsWindowVisible(input)) {
    error = "no IM is shown in Pallion";
    return false;
  }
  world.Say("the person types \"" + U(args[0]) + "\" into the shown IM");
  desktop.Click(input);
  // The client may close the IM while the person's hand is on the way: they see it go and
  // type nothing.
  if (!platform::IsWindow(input)) {
    error = "the shown IM was closed before the person could click into it";
    return false;
  }
  // A click into a text box gives it the keyboard, as the person expects.
  if (platform::GetFocus() != input) {
    Scope client(desktop, world.ClientProcess());
    platform::SetFocus(input);
  }
  desktop.TypeText(args[0]);
  world.Run(200);
  return true;
}

bool SwitchTo(DemoRunner& demo, const Args& args, std::string& error) {
  DemoWorld& world = demo.World();
  container::MainWindow* main = RunningMain(world, error);
  if (main == nullptr) return false;
  auto& desktop = world.Desktop();
  const std::string name = Lower(args[0]);
  if (platform::IsWindowVisible(main->TabStrip1.hwnd())) {
    for (int i = 1; i <= main->TabStrip1.Count(); ++i) {
      if (Lower(main->TabStrip1.Item(i).caption) != name) continue;
      const gfx::Rect r = main->TabStrip1.TabRect(i);
      world.Say("the person clicks the tab " + U(args[0]));
      desktop.Click(main->TabStrip1.hwnd(), r.x + r.width / 2, r.y + r.height / 2);
      world.Run(300);
      return true;
    }
    error = "no tab " + U(args[0]);
    return false;
  }
  ui::ctList& list = main->ctList1;
  for (int row = 0; row < list.RowCount(); ++row) {
    if (Lower(list.CellText(row, 0)) != name) continue;
    for (int y = 0; y < list.Height(); ++y) {
      if (list.RowAt(list.Width() / 2, y) != row) continue;
      world.Say("the person clicks the row " + U(args[0]) + " of the IM list");
      desktop.Click(list.hwnd(), 10, y + list.RowHeight() / 2);
      world.Run(300);
      return true;
    }
    error = "the row " + U(args[0]) + " is not in view";
    return false;
  }
  error = "no tab or row " + U(args[0]);
  return false;
}

constexpr CommandSpec kProgramCommands[] = {
    {"start-pallion", "start-pallion",
     "starts Pallion beside the running client (again, after it has ended)", 0, StartPallion},
    {"kill-pallion", "kill-pallion",
     "kills Pallion's process as a crash or the task manager would: none of its shutdown runs, "
     "and the client takes its IM windows back",
     0, KillPallion},
    {"setting", "setting KEY VALUE", "writes a key of Pallion.ini (section General)", 2, Setting},
    {"click", "click control NAME [INDEX] | click CLASS CAPTION | click X Y",
     "the person clicks a control of Pallion (by name and index, e.g. click control "
     "AOButtonMiddle 4), a window (by class and caption) or a screen point",
     2, Click},
    {"menu", "menu pallion ITEM | menu program ITEM [ITEM...] | menu WINDOW-CAPTION ITEM [ITEM...]",
     "the person chooses an item of Pallion's pop-up on the client's menu bar, of Pallion's own "
     "menus (e.g. menu program Options Style \"List Box\"), or of a window's menu bar",
     2, Menu},
    {"answer-box",
     "answer-box OK|Yes|No|Cancel [INPUT] | answer-box platform OK|Yes|No|Cancel [INPUT]",
     "answers the next message box of Pallion (typing INPUT into its input line first), or with "
     "'platform' the next message box or input box of the platform; give it before the command "
     "that brings the box",
     1, AnswerBox},
    {"type-im", "type-im TEXT", "the person clicks into the shown IM's input box and types TEXT", 1,
     TypeIM},
    {"switch-to", "switch-to NAME", "the person clicks NAME's tab (or NAME's row in the list look)",
     1, SwitchTo},
};

}  // namespace

std::span<const CommandSpec> ProgramCommands() {
  return kProgramCommands;
}

}  // namespace app
