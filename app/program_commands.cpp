// The demo's commands on the program's side: starting Pallion, acting on its controls, menus
// and message boxes, and the expectations a scenario checks.
#include <algorithm>

#include "app/demo_helpers.h"
#include "app/demo_runner.h"
#include "clientsim/html.h"
#include "container/main_window.h"
#include "host/window_access.h"
#include "platform/ansi.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "startup/host_menu.h"
#include "ui/control.h"
#include "widgets/message_box.h"

namespace app {

namespace {

using platform::HWND;
using Scope = platform::sim::Desktop::ProcessScope;

// How long a message box of the program may wait for an answer before the demo closes it.
constexpr uint64_t kUnansweredBoxMs = 60000;

std::string U(const std::string& ansi) {
  return platform::AnsiToUtf8(ansi);
}

// Every window of the process, parents before children, top first.
std::vector<HWND> WindowsOf(platform::DWORD process) {
  std::vector<HWND> found;
  auto owned = [process](HWND w) {
    platform::DWORD owner = 0;
    platform::GetWindowThreadProcessId(w, &owner);
    return owner == process;
  };
  for (HWND top = platform::GetWindow(platform::GetDesktopWindow(), platform::GW_CHILD); top != 0;
       top = platform::GetWindow(top, platform::GW_HWNDNEXT)) {
    if (owned(top)) found.push_back(top);
    platform::EnumChildWindows(top, [&](HWND child) {
      if (owned(child)) found.push_back(child);
      return true;
    });
  }
  return found;
}

// A control of the program by name (and index for control arrays); visible ones first.
ui::Control* FindControl(platform::DWORD process, const std::string& name, int index) {
  ui::Control* hidden = nullptr;
  for (HWND w : WindowsOf(process)) {
    ui::Control* c = ui::Control::FromHwnd(w);
    if (c == nullptr || Lower(c->Name()) != Lower(name)) continue;
    if (index >= 0 && c->Index() != index) continue;
    if (platform::IsWindowVisible(w)) return c;
    if (hidden == nullptr) hidden = c;
  }
  return hidden;
}

// The program's message box now waiting for an answer, or nullptr.
widgets::MessageBoxForm* WaitingBox() {
  widgets::MessageBoxForm* box = widgets::CurrentMessageBox();
  if (box == nullptr || !box->IsModal() || !platform::IsWindowVisible(box->hwnd())) return nullptr;
  return box;
}

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

}  // namespace

void DemoRunner::QueueBoxAnswer(const std::string& button,
                                const std::optional<std::string>& input) {
  auto used = std::make_shared<bool>(false);
  world_.Desktop().AddResponder([this, button, input, used]() {
    if (*used) return true;
    if (answering_) return false;
    widgets::MessageBoxForm* box = WaitingBox();
    if (box == nullptr) return false;
    *used = true;
    answering_ = true;
    auto& desktop = world_.Desktop();
    world_.Say("the person answers the message box \"" + U(box->lblCaption.Caption()) + "\" (\"" +
               U(box->lblText.Caption()) + "\"): " + button +
               (input ? " with \"" + U(*input) + "\"" : ""));
    world_.Shot("message-box");
    if (input && box->txtInput.Enabled()) {
      box->txtInput.SetFocus();
      box->txtInput.SetSelStart(0);
      box->txtInput.SetSelLength(static_cast<int>(box->txtInput.Text().size()));
      desktop.TypeText(*input);
    }
    bool clicked = false;
    for (int i = 0; i < 2 && !clicked; ++i) {
      widgets::AOButton& b = box->Button(i);
      if (b.Caption() == button && platform::IsWindowVisible(b.hwnd())) {
        desktop.Click(b.hwnd());
        clicked = true;
      }
    }
    if (!clicked) {
      world_.Say("the message box has no button \"" + button + "\"; the person closes it");
      platform::PostMessage(box->hwnd(), platform::WM_CLOSE, 0, 0);
    }
    answering_ = false;
    return true;
  });
}

void DemoRunner::WatchUnansweredBoxes() {
  world_.Desktop().AddResponder([this]() {
    widgets::MessageBoxForm* box = answering_ ? nullptr : WaitingBox();
    const uint64_t now = world_.Desktop().NowMs();
    if (box == nullptr) {
      waitingBox_ = 0;
      return false;
    }
    if (box->hwnd() != waitingBox_) {
      waitingBox_ = box->hwnd();
      waitingSince_ = now;
      return false;
    }
    if (now - waitingSince_ >= kUnansweredBoxMs) {
      world_.Say("nobody answers the message box \"" + U(box->lblCaption.Caption()) + "\" (\"" +
                 U(box->lblText.Caption()) + "\"); the demo closes it");
      platform::PostMessage(box->hwnd(), platform::WM_CLOSE, 0, 0);
      waitingBox_ = 0;
    }
    return false;
  });
}

void DemoRunner::AddProgramCommands() {
  auto& desktop = world_.Desktop();

  Add("start-pallion", {"start-pallion", "starts Pallion beside the running client", 0,
                        [this](const auto&, std::string&) {
                          world_.StartProgram();
                          world_.Run(500);
                          return true;
                        }});
  Add("setting", {"setting KEY VALUE", "writes a key of Pallion.ini (section General)", 2,
                  [this](const auto& args, std::string&) {
                    settings::WriteSetting(args[0], args[1]);
                    world_.Say("setting " + U(args[0]) + " = \"" + U(args[1]) + "\"");
                    return true;
                  }});

  Add("click", {"click control NAME [INDEX] | click CLASS CAPTION | click X Y",
                "the person clicks a control of Pallion (by name and index, e.g. click control "
                "AOButtonMiddle 4), a window (by class and caption) or a screen point",
                2, [this, &desktop](const auto& args, std::string& error) {
                  int x = 0, y = 0;
                  if (Lower(args[0]) == "control") {
                    int index = -1;
                    if (args.size() >= 3 && !ParseInt(args[2], index)) {
                      error = "not an index: '" + U(args[2]) + "'";
                      return false;
                    }
                    ui::Control* control = FindControl(world_.ProgramProcess(), args[1], index);
                    const std::string named =
                        U(args[1]) + (index >= 0 ? "(" + std::to_string(index) + ")" : "");
                    if (control == nullptr) {
                      error = "Pallion has no control " + named;
                      return false;
                    }
                    if (!platform::IsWindowVisible(control->hwnd())) {
                      error = "the control " + named + " is not visible";
                      return false;
                    }
                    world_.Say("the person clicks " + named);
                    desktop.Click(control->hwnd());
                  } else if (ParseInt(args[0], x) && ParseInt(args[1], y)) {
                    desktop.ClickAt({x, y});
                  } else {
                    HWND target = FindAnywhere(args[0], args[1]);
                    if (target == 0) {
                      error = "no window of class \"" + U(args[0]) + "\" captioned \"" +
                              U(args[1]) + "\"";
                      return false;
                    }
                    desktop.Click(target);
                  }
                  world_.Run(300);
                  return true;
                }});

  Add("menu",
      {"menu pallion ITEM | menu program ITEM [ITEM...] | menu WINDOW-CAPTION ITEM [ITEM...]",
       "the person chooses an item of Pallion's pop-up on the client's menu bar, of Pallion's "
       "own menus (e.g. menu program Options Style \"List Box\"), or of a window's menu bar",
       2, [this, &desktop](const auto& args, std::string& error) {
         std::vector<std::string> path(args.begin() + 1, args.end());
         const std::string where = Lower(args[0]);
         if (where == "pallion") {
           path.insert(path.begin(), container::kHostMenuCaption);
           world_.Say("the person chooses " + U(Join(path, 0)) + " on the client's menu bar");
           if (!desktop.ChooseMenuItem(world_.Client().MainWindow(), path)) {
             error = "no enabled item \"" + U(Join(args, 1)) +
                     "\" in Pallion's menu on the "
                     "client's menu bar";
             return false;
           }
         } else if (where == "program") {
           container::MainWindow* main = world_.Main();
           if (main == nullptr) {
             error = "Pallion is not running";
             return false;
           }
           ui::Menu* item = FindMenuByCaptions(main->Menus(), path);
           if (item == nullptr || item->Count() > 0 || item->IsSeparator()) {
             error = "Pallion has no menu item \"" + U(Join(path, 0)) + "\"";
             return false;
           }
           if (!item->Enabled()) {
             error = "the menu item \"" + U(Join(path, 0)) + "\" is disabled";
             return false;
           }
           world_.Say("the person chooses " + U(Join(path, 0)) + " in Pallion's menu");
           Scope scope(desktop, world_.ProgramProcess());
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
         world_.Run(300);
         return true;
       }});

  Add("answer-box",
      {"answer-box OK|Yes|No|Cancel [INPUT] | answer-box platform OK|Yes|No|Cancel [INPUT]",
       "answers the next message box of Pallion (typing INPUT into its input line first), or "
       "with 'platform' the next message box or input box of the platform; give it before the "
       "command that brings the box",
       1, [this, &desktop](const auto& args, std::string& error) {
         const bool platformBox = Lower(args[0]) == "platform";
         const size_t at = platformBox ? 1 : 0;
         if (args.size() <= at || ButtonCaption(args[at]).empty()) {
           error = "answer with OK, Yes, No or Cancel";
           return false;
         }
         std::optional<std::string> input;
         if (args.size() > at + 1) input = args[at + 1];
         if (platformBox) {
           desktop.AnswerMessageBox(PlatformAnswer(args[at]));
           if (input) desktop.AnswerInputBox(*input);
         } else {
           QueueBoxAnswer(ButtonCaption(args[at]), input);
         }
         return true;
       }});

  Add("type-im", {"type-im TEXT", "the person clicks into the shown IM's input box and types TEXT",
                  1, [this, &desktop](const auto& args, std::string& error) {
                    HWND input = 0;
                    {
                      Scope scope(desktop, world_.ProgramProcess());
                      if (world_.Main() != nullptr) input = host::FindIMInput();
                    }
                    if (input == 0 || !platform::IsWindowVisible(input)) {
                      error = "no IM is shown in Pallion";
                      return false;
                    }
                    world_.Say("the person types \"" + U(args[0]) + "\" into the shown IM");
                    desktop.Click(input);
                    // A click into a text box gives it the keyboard, as the person expects.
                    if (platform::GetFocus() != input) {
                      Scope client(desktop, world_.ClientProcess());
                      platform::SetFocus(input);
                    }
                    desktop.TypeText(args[0]);
                    world_.Run(200);
                    return true;
                  }});

  Add("switch-to",
      {"switch-to NAME", "the person clicks NAME's tab (or NAME's row in the list look)", 1,
       [this, &desktop](const auto& args, std::string& error) {
         container::MainWindow* main = world_.Main();
         if (main == nullptr) {
           error = "Pallion is not running";
           return false;
         }
         const std::string name = Lower(args[0]);
         if (platform::IsWindowVisible(main->TabStrip1.hwnd())) {
           for (int i = 1; i <= main->TabStrip1.Count(); ++i) {
             if (Lower(main->TabStrip1.Item(i).caption) != name) continue;
             const gfx::Rect r = main->TabStrip1.TabRect(i);
             world_.Say("the person clicks the tab " + U(args[0]));
             desktop.Click(main->TabStrip1.hwnd(), r.x + r.width / 2, r.y + r.height / 2);
             world_.Run(300);
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
             world_.Say("the person clicks the row " + U(args[0]) + " of the IM list");
             desktop.Click(list.hwnd(), 10, y + list.RowHeight() / 2);
             world_.Run(300);
             return true;
           }
           error = "the row " + U(args[0]) + " is not in view";
           return false;
         }
         error = "no tab or row " + U(args[0]);
         return false;
       }});
}

void DemoRunner::AddExpectations() {
  Add("expect",
      {"expect tabs [NAMES...] | expect shown NAME | expect container visible|hidden | "
       "expect window CLASS CAPTION | expect sent NAME TEXT | expect sent-containing NAME TEXT | "
       "expect blocked NAME | "
       "expect file PATH [TEXT] | "
       "expect sound NAME | expect pallion running|ended",
       "checks the state; the run stops with the line named when it does not hold", 1,
       [this](const auto& args, std::string& error) { return Expect(args, error); }});
}

bool DemoRunner::Expect(const std::vector<std::string>& args, std::string& error) {
  auto& desktop = world_.Desktop();
  const std::string what = Lower(args[0]);
  const std::string line = "expect " + U(Join(args, 0));
  auto fail = [&](const std::string& why) {
    error = "'" + line + "' does not hold: " + why;
    return false;
  };
  auto need = [&](size_t count) {
    if (args.size() >= count) return true;
    error = "usage: " + commands_["expect"].usage;
    return false;
  };
  container::MainWindow* main = world_.Main();
  Scope scope(desktop, world_.ProgramProcess());

  if (what == "pallion") {
    if (!need(2)) return false;
    const bool running = main != nullptr;
    const std::string want = Lower(args[1]);
    if (want != "running" && want != "ended") return need(99);
    if ((want == "running") != running) {
      return fail(running ? "Pallion runs" : "Pallion does not run");
    }
    return true;
  }
  if (what == "tabs" || what == "shown" || what == "container") {
    if (main == nullptr) return fail("Pallion is not running");
  }
  if (what == "tabs") {
    std::vector<std::string> want(args.begin() + 1, args.end());
    std::vector<std::string> have;
    for (int i = 1; i <= main->TabStrip1.Count(); ++i) {
      have.push_back(main->TabStrip1.Item(i).caption);
    }
    if (have != want) return fail("the tabs are " + (have.empty() ? "none" : U(Join(have, 0))));
    return true;
  }
  if (what == "shown") {
    if (!need(2)) return false;
    const HWND im = host::FindCurrentIM();
    const std::string name = im == 0 ? "" : host::GetIMScreenName(im);
    if (Lower(name) != Lower(args[1])) {
      return fail(name.empty() ? "no IM is shown" : "the IM of " + U(name) + " is shown");
    }
    return true;
  }
  if (what == "container") {
    if (!need(2)) return false;
    const std::string want = Lower(args[1]);
    if (want != "visible" && want != "hidden") return need(99);
    const HWND box = host::FindPallionChild();
    if (box == 0) return fail("there is no container");
    const bool visible = platform::IsWindowVisible(box);
    if (visible != (want == "visible")) {
      return fail(visible ? "the container is visible" : "the container is hidden");
    }
    return true;
  }
  if (what == "window") {
    if (!need(3)) return false;
    if (FindAnywhere(args[1], args[2]) == 0) return fail("there is no such window");
    return true;
  }
  if (what == "sent") {
    if (!need(3)) return false;
    const std::string want = Join(args, 2);
    std::vector<std::string> texts;
    for (const auto& im : world_.Client().SentIMs()) {
      if (Lower(im.to) != Lower(args[1])) continue;
      const std::string plain = clientsim::StripTags(im.text);
      if (plain == want) return true;
      texts.push_back("\"" + plain + "\"");
    }
    return fail(texts.empty() ? "no IM was sent to " + U(args[1])
                              : "the IMs sent to " + U(args[1]) + " were " + U(Join(texts, 0)));
  }
  if (what == "blocked") {
    if (!need(2)) return false;
    std::vector<std::string> names = world_.Client().BlockedNames();
    for (const auto& n : names) {
      if (Lower(n) == Lower(args[1])) return true;
    }
    return fail("the client blocks " + (names.empty() ? std::string("nobody") : U(Join(names, 0))));
  }
  if (what == "sent-containing") {
    if (!need(3)) return false;
    const std::string want = Join(args, 2);
    std::vector<std::string> texts;
    for (const auto& im : world_.Client().SentIMs()) {
      if (Lower(im.to) != Lower(args[1])) continue;
      if (im.text.find(want) != std::string::npos ||
          clientsim::StripTags(im.text).find(want) != std::string::npos) {
        return true;
      }
      texts.push_back("\"" + im.text + "\"");
    }
    return fail(texts.empty() ? "no IM was sent to " + U(args[1])
                              : "the IMs sent to " + U(args[1]) + " were " + U(Join(texts, 0)));
  }
  if (what == "file") {
    if (!need(2)) return false;
    std::string relative = args[1];
    std::replace(relative.begin(), relative.end(), '/', '\\');
    if (relative.empty() || relative.front() != '\\') relative = "\\" + relative;
    const std::string path = settings::FolderPath(relative);
    auto bytes = platform::files::ReadAll(path);
    if (!bytes) return fail("there is no file " + U(relative));
    if (args.size() >= 3 && bytes->find(Join(args, 2)) == std::string::npos) {
      return fail("the file does not hold \"" + U(Join(args, 2)) + "\"");
    }
    return true;
  }
  if (what == "sound") {
    if (!need(2)) return false;
    const std::string want = Lower(args[1]);
    for (const auto& e : desktop.Events()) {
      if (e.kind != platform::sim::Event::Kind::Sound) continue;
      const std::string path = Lower(e.text);
      if (path == want || (path.size() > want.size() &&
                           path.compare(path.size() - want.size(), want.size(), want) == 0 &&
                           (path[path.size() - want.size() - 1] == '\\' ||
                            path[path.size() - want.size() - 1] == '/'))) {
        return true;
      }
    }
    return fail("no sound " + U(args[1]) + " was played");
  }
  error = "unknown expectation '" + U(args[0]) + "'; usage: " + commands_["expect"].usage;
  return false;
}

}  // namespace app
