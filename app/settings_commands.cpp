// The demo's commands for the program's own windows: the Control Panel's tabs, typing into a
// control, choosing an item of a list by its text.
#include <algorithm>

#include "app/demo_commands.h"
#include "app/demo_helpers.h"
#include "app/demo_runner.h"
#include "platform/win32.h"
#include "settings/settings_window.h"
#include "ui/control.h"
#include "ui/ct_list.h"
#include "ui/list_box.h"

namespace app {

namespace {

// A control of the running program, shown on screen; nullptr with `error` set otherwise.
ui::Control* ShownControl(DemoWorld& world, const std::string& name, std::string& error) {
  if (RunningMain(world, error) == nullptr) return nullptr;
  ui::Control* control = FindProgramControl(world.ProgramProcess(), name, -1);
  if (control == nullptr) {
    error = "Pallion has no control " + U(name);
    return nullptr;
  }
  if (!platform::IsWindowVisible(control->hwnd())) {
    error = "the control " + U(name) + " is not visible";
    return nullptr;
  }
  return control;
}

bool SettingsTab(DemoRunner& demo, const Args& args, std::string& error) {
  DemoWorld& world = demo.World();
  if (RunningMain(world, error) == nullptr) return false;
  settings::SettingsWindow* window = settings::frmSettings();
  if (window == nullptr || !platform::IsWindowVisible(window->hwnd())) {
    error = "the Control Panel is not open";
    return false;
  }
  ui::TabStrip& strip = window->TabStrip1;
  for (int i = 1; i <= strip.Count(); ++i) {
    if (Lower(strip.Item(i).caption) != Lower(args[0])) continue;
    const gfx::Rect r = strip.TabRect(i);
    world.Say("the person clicks the Control Panel's tab " + U(strip.Item(i).caption));
    world.Desktop().Click(strip.hwnd(), r.x + r.width / 2, r.y + r.height / 2);
    world.Run(300);
    return true;
  }
  error = "the Control Panel has no tab " + U(args[0]);
  return false;
}

bool TypeInto(DemoRunner& demo, const Args& args, std::string& error) {
  DemoWorld& world = demo.World();
  ui::Control* control = ShownControl(world, args[0], error);
  if (control == nullptr) return false;
  world.Say("the person types \"" + U(args[1]) + "\" into " + U(control->Name()));
  world.Desktop().Click(control->hwnd());
  world.Desktop().TypeText(args[1]);
  world.Run(300);
  return true;
}

bool Choose(DemoRunner& demo, const Args& args, std::string& error) {
  DemoWorld& world = demo.World();
  ui::Control* control = ShownControl(world, args[0], error);
  if (control == nullptr) return false;
  const std::string wanted = Lower(args[1]);
  bool clicked = false;
  int row = -1;
  if (auto* list = dynamic_cast<ui::ListBox*>(control)) {
    for (int i = 0; i < list->ListCount() && row < 0; ++i) {
      if (Lower(list->List(i)) == wanted) row = i;
    }
    if (row >= 0) {
      // The person scrolls the item into view first.
      if (row < list->TopIndex() || row >= list->TopIndex() + list->VisibleRows()) {
        list->SetTopIndex(row);
      }
      const int y = 2 + (row - list->TopIndex()) * list->ItemHeight() + list->ItemHeight() / 2;
      world.Desktop().Click(list->hwnd(), 10, y);
      clicked = true;
    }
  } else if (auto* rows = dynamic_cast<ui::ctList*>(control)) {
    for (int r = 0; r < rows->RowCount() && row < 0; ++r) {
      for (int c = 0; c < rows->ColumnCount() && row < 0; ++c) {
        if (Lower(rows->CellText(r, c)) == wanted) row = r;
      }
    }
    if (row >= 0) {
      int first = -1, last = -1;
      for (int y = 0; y < rows->ClientHeight(); ++y) {
        if (rows->RowAt(rows->ClientWidth() / 2, y) != row) continue;
        if (first < 0) first = y;
        last = y;
      }
      clicked = first >= 0;
      if (clicked) world.Desktop().Click(rows->hwnd(), 20, (first + last) / 2);
      if (!clicked) {
        error = "the row \"" + U(args[1]) + "\" of " + U(args[0]) + " is not in view";
        return false;
      }
    }
  } else {
    error = "the control " + U(args[0]) + " is not a list";
    return false;
  }
  if (!clicked) {
    error = U(args[0]) + " has no item \"" + U(args[1]) + "\"";
    return false;
  }
  world.Say("the person clicks \"" + U(args[1]) + "\" in " + U(control->Name()));
  world.Run(300);
  return true;
}

constexpr CommandSpec kSettingsCommands[] = {
    {"settings-tab", "settings-tab CAPTION",
     "the person clicks a tab of the open Control Panel (General, Auto Answer, Fade Features, "
     "Ignore List, Logging)",
     1, SettingsTab},
    {"type-into", "type-into NAME TEXT",
     "the person clicks into Pallion's text box NAME (e.g. txtSearch) and types TEXT", 2, TypeInto},
    {"choose", "choose NAME TEXT",
     "the person clicks the item TEXT of Pallion's list NAME (a row of a multi-column list is "
     "found by the text of any of its columns)",
     2, Choose},
};

}  // namespace

std::span<const CommandSpec> SettingsCommands() {
  return kSettingsCommands;
}

}  // namespace app
