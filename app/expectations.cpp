// What a scenario's `expect` checks: one function per expectation.
#include <algorithm>
#include <functional>

#include "app/demo_commands.h"
#include "app/demo_helpers.h"
#include "app/demo_runner.h"
#include "clientsim/html.h"
#include "container/main_window.h"
#include "host/window_access.h"
#include "platform/ansi.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "ui/ct_list.h"
#include "ui/list_box.h"
#include "ui/text_box.h"

namespace app {

namespace {

using platform::HWND;
using Scope = platform::sim::Desktop::ProcessScope;

// `word` when it is one of the two choices; "" with a usage in `why` otherwise.
std::string Choice(const std::string& word, const char* a, const char* b, const char* usage,
                   std::string& why) {
  const std::string w = Lower(word);
  if (w == a || w == b) return w;
  why = std::string("usage: expect ") + usage;
  return "";
}

bool Pallion(DemoRunner& demo, const Args& args, std::string& why) {
  const std::string want = Choice(args[0], "running", "ended", "pallion running|ended", why);
  if (want.empty()) return false;
  const bool running = demo.World().Main() != nullptr;
  if ((want == "running") == running) return true;
  why = running ? "Pallion runs" : "Pallion does not run";
  return false;
}

bool Tabs(DemoRunner& demo, const Args& args, std::string& why) {
  container::MainWindow* main = RunningMain(demo.World(), why);
  if (main == nullptr) return false;
  std::vector<std::string> have;
  for (int i = 1; i <= main->TabStrip1.Count(); ++i)
    have.push_back(main->TabStrip1.Item(i).caption);
  if (have == args) return true;
  why = "the tabs are " + (have.empty() ? "none" : U(Join(have, 0)));
  return false;
}

bool Shown(DemoRunner& demo, const Args& args, std::string& why) {
  DemoWorld& world = demo.World();
  if (RunningMain(world, why) == nullptr) return false;
  Scope scope(world.Desktop(), world.ProgramProcess());
  const HWND im = host::FindCurrentIM();
  const std::string name = im == 0 ? "" : host::GetIMScreenName(im);
  if (Lower(name) == Lower(args[0])) return true;
  why = name.empty() ? "no IM is shown" : "the IM of " + U(name) + " is shown";
  return false;
}

bool Container(DemoRunner& demo, const Args& args, std::string& why) {
  DemoWorld& world = demo.World();
  const std::string want = Choice(args[0], "visible", "hidden", "container visible|hidden", why);
  if (want.empty() || RunningMain(world, why) == nullptr) return false;
  Scope scope(world.Desktop(), world.ProgramProcess());
  const HWND box = host::FindPallionChild();
  if (box == 0) {
    why = "there is no container";
    return false;
  }
  const bool visible = platform::IsWindowVisible(box);
  if (visible == (want == "visible")) return true;
  why = visible ? "the container is visible" : "the container is hidden";
  return false;
}

bool Window(DemoRunner&, const Args& args, std::string& why) {
  if (FindAnywhere(args[0], args[1]) != 0) return true;
  why = "there is no such window";
  return false;
}

// Whether an IM sent to `to` matches; otherwise `why` lists what was sent.
bool SentMatching(DemoWorld& world, const std::string& to, std::string& why,
                  const std::function<bool(const std::string& html)>& matches) {
  std::vector<std::string> texts;
  for (const auto& im : world.Client().SentIMs()) {
    if (Lower(im.to) != Lower(to)) continue;
    if (matches(im.text)) return true;
    texts.push_back("\"" + im.text + "\"");
  }
  why = texts.empty() ? "no IM was sent to " + U(to)
                      : "the IMs sent to " + U(to) + " were " + U(Join(texts, 0));
  return false;
}

bool Sent(DemoRunner& demo, const Args& args, std::string& why) {
  const std::string want = Join(args, 1);
  return SentMatching(demo.World(), args[0], why,
                      [&](const std::string& html) { return clientsim::StripTags(html) == want; });
}

bool SentContaining(DemoRunner& demo, const Args& args, std::string& why) {
  const std::string want = Join(args, 1);
  return SentMatching(demo.World(), args[0], why, [&](const std::string& html) {
    return html.find(want) != std::string::npos ||
           clientsim::StripTags(html).find(want) != std::string::npos;
  });
}

bool Blocked(DemoRunner& demo, const Args& args, std::string& why) {
  const std::vector<std::string> names = demo.World().Client().BlockedNames();
  for (const auto& n : names) {
    if (Lower(n) == Lower(args[0])) return true;
  }
  why = "the client blocks " + (names.empty() ? std::string("nobody") : U(Join(names, 0)));
  return false;
}

bool File(DemoRunner&, const Args& args, std::string& why) {
  std::string relative = args[0];
  std::replace(relative.begin(), relative.end(), '/', '\\');
  if (relative.empty() || relative.front() != '\\') relative = "\\" + relative;
  auto bytes = platform::files::ReadAll(settings::FolderPath(relative));
  if (!bytes) {
    why = "there is no file " + U(relative);
    return false;
  }
  if (args.size() >= 2 && bytes->find(Join(args, 1)) == std::string::npos) {
    why = "the file does not hold \"" + U(Join(args, 1)) + "\"";
    return false;
  }
  return true;
}

bool Unblocked(DemoRunner& demo, const Args& args, std::string& why) {
  for (const auto& n : demo.World().Client().BlockedNames()) {
    if (Lower(n) == Lower(args[0])) {
      why = "the client still blocks " + U(args[0]);
      return false;
    }
  }
  return true;
}

bool Printed(DemoRunner& demo, const Args& args, std::string& why) {
  int want = 0;
  if (!ParseInt(args[0], want)) {
    why = "usage: expect printed PAGES";
    return false;
  }
  const size_t pages = demo.World().Desktop().PrintedPages().size();
  if (pages == static_cast<size_t>(want)) return true;
  why = std::to_string(pages) + " pages were printed";
  return false;
}

// The text a control shows: a list's items or rows, a text box's text, a caption.
std::string ShownText(ui::Control& control) {
  std::string text;
  if (auto* list = dynamic_cast<ui::ListBox*>(&control)) {
    for (int i = 0; i < list->ListCount(); ++i) text += list->List(i) + "\n";
  } else if (auto* rows = dynamic_cast<ui::ctList*>(&control)) {
    for (int r = 0; r < rows->RowCount(); ++r) {
      for (int c = 0; c < rows->ColumnCount(); ++c) text += rows->CellText(r, c) + "\t";
      text += "\n";
    }
  } else if (auto* box = dynamic_cast<ui::TextBox*>(&control)) {
    text = box->Text();
  } else {
    text = control.WindowText();
  }
  return text;
}

bool Text(DemoRunner& demo, const Args& args, std::string& why) {
  DemoWorld& world = demo.World();
  if (RunningMain(world, why) == nullptr) return false;
  ui::Control* control = FindProgramControl(world.ProgramProcess(), args[0], -1);
  if (control == nullptr) {
    why = "Pallion has no control " + U(args[0]);
    return false;
  }
  if (ShownText(*control).find(Join(args, 1)) != std::string::npos) return true;
  why = U(args[0]) + " does not show \"" + U(Join(args, 1)) + "\"";
  return false;
}

bool Sound(DemoRunner& demo, const Args& args, std::string& why) {
  const std::string want = Lower(args[0]);
  for (const auto& e : demo.World().Desktop().Events()) {
    if (e.kind != platform::sim::Event::Kind::Sound) continue;
    const std::string path = Lower(e.text);
    if (path == want || (path.size() > want.size() && path.ends_with(want) &&
                         (path[path.size() - want.size() - 1] == '\\' ||
                          path[path.size() - want.size() - 1] == '/'))) {
      return true;
    }
  }
  why = "no sound " + U(args[0]) + " was played";
  return false;
}

constexpr ExpectationSpec kExpectations[] = {
    {"tabs", "tabs [NAMES...]", 0, Tabs},
    {"shown", "shown NAME", 1, Shown},
    {"container", "container visible|hidden", 1, Container},
    {"window", "window CLASS CAPTION", 2, Window},
    {"sent", "sent NAME TEXT", 2, Sent},
    {"sent-containing", "sent-containing NAME TEXT", 2, SentContaining},
    {"blocked", "blocked NAME", 1, Blocked},
    {"unblocked", "unblocked NAME", 1, Unblocked},
    {"printed", "printed PAGES", 1, Printed},
    {"text", "text CONTROL TEXT", 2, Text},
    {"file", "file PATH [TEXT]", 1, File},
    {"sound", "sound NAME", 1, Sound},
    {"pallion", "pallion running|ended", 1, Pallion},
    {"notice", "notice TEXT", 1, NoticeShows},
};

}  // namespace

std::span<const ExpectationSpec> Expectations() {
  return kExpectations;
}

}  // namespace app
