// The demo's commands on the world's side: the correspondents, the person at the client, waits,
// files and looks.
#include <algorithm>
#include <cctype>

#include "app/demo_commands.h"
#include "app/demo_helpers.h"
#include "app/demo_runner.h"
#include "host/text.h"
#include "host/window_access.h"
#include "platform/ansi.h"
#include "platform/files.h"
#include "platform/win32.h"

namespace app {

namespace {

using platform::HWND;

struct KeyName {
  const char* name;
  int key;
};
constexpr KeyName kKeys[] = {{"enter", platform::VK_RETURN},   {"tab", platform::VK_TAB},
                             {"space", platform::VK_SPACE},    {"esc", platform::VK_ESCAPE},
                             {"backspace", platform::VK_BACK}, {"delete", platform::VK_DELETE},
                             {"left", platform::VK_LEFT},      {"right", platform::VK_RIGHT},
                             {"up", platform::VK_UP},          {"down", platform::VK_DOWN}};

bool ParseKey(const std::string& text, int& key, int& shift) {
  std::string rest = Lower(text);
  shift = 0;
  for (;;) {
    if (rest.starts_with("ctrl+")) {
      shift |= platform::CTRL_MASK;
      rest = rest.substr(5);
    } else if (rest.starts_with("shift+")) {
      shift |= platform::SHIFT_MASK;
      rest = rest.substr(6);
    } else if (rest.starts_with("alt+")) {
      shift |= platform::ALT_MASK;
      rest = rest.substr(4);
    } else {
      break;
    }
  }
  for (const KeyName& k : kKeys) {
    if (rest == k.name) {
      key = k.key;
      return true;
    }
  }
  if (rest.size() == 1 && std::isalnum(static_cast<unsigned char>(rest[0]))) {
    key = std::toupper(static_cast<unsigned char>(rest[0]));
    return true;
  }
  return false;
}

bool Help(DemoRunner& demo, const Args&, std::string&) {
  demo.PrintHelp();
  return true;
}

bool Wait(DemoRunner& demo, const Args& args, std::string& error) {
  auto ms = ParseDuration(args[0]);
  if (!ms) {
    error = "not a duration: '" + U(args[0]) + "'";
    return false;
  }
  demo.World().Run(*ms, true);
  return true;
}

bool SignOn(DemoRunner& demo, const Args& args, std::string& error) {
  if (!NeedClient(demo.World(), error)) return false;
  demo.World().Say("the person signs on as " + U(args[0]));
  demo.World().Client().SignOn(args[0]);
  demo.World().Run(1000);
  return true;
}

bool SignOff(DemoRunner& demo, const Args&, std::string& error) {
  if (!NeedClient(demo.World(), error)) return false;
  demo.World().Say("the person signs off");
  demo.World().Client().SignOff();
  demo.World().Run(500);
  return true;
}

bool Incoming(DemoRunner& demo, const Args& args, std::string& error,
              clientsim::IncomingOptions options) {
  if (!NeedClient(demo.World(), error)) return false;
  demo.World().Client().ReceiveIM(args[0], args[1], options);
  demo.World().Run(300);
  return true;
}

bool IM(DemoRunner& demo, const Args& args, std::string& error) {
  return Incoming(demo, args, error, {});
}

bool IMInternet(DemoRunner& demo, const Args& args, std::string& error) {
  return Incoming(demo, args, error, {.internet = true});
}

bool IMRespond(DemoRunner& demo, const Args& args, std::string& error) {
  return Incoming(demo, args, error, {.needsRespond = true});
}

bool Unreachable(DemoRunner& demo, const Args& args, std::string& error) {
  if (!NeedClient(demo.World(), error)) return false;
  demo.World().Say(U(args[0]) + " cannot be reached");
  demo.World().Client().SetUnreachable(args[0]);
  return true;
}

bool Room(DemoRunner& demo, const Args& args, std::string& error) {
  if (!NeedClient(demo.World(), error)) return false;
  auto& client = demo.World().Client();
  const std::string verb = Lower(args[0]);
  std::vector<std::string> names(args.begin() + 1, args.end());
  if (verb == "open" && !names.empty()) {
    const std::string room = names.front();
    names.erase(names.begin());
    client.OpenChatRoom(room, names);
  } else if (verb == "enter") {
    for (const auto& n : names) client.EnterRoom(n);
  } else if (verb == "leave") {
    for (const auto& n : names) client.LeaveRoom(n);
  } else if (verb == "say" && names.size() >= 2) {
    client.SayInRoom(names[0], Join(names, 1));
  } else {
    error =
        "usage: room open ROOM [NAMES...] | room enter NAMES... | room leave NAMES... | "
        "room say NAME TEXT";
    return false;
  }
  demo.World().Run(300);
  return true;
}

bool UserCloses(DemoRunner& demo, const Args& args, std::string& error) {
  if (!NeedClient(demo.World(), error)) return false;
  demo.World().Client().CloseIM(args[0]);
  demo.World().Run(300);
  return true;
}

bool UserSends(DemoRunner& demo, const Args& args, std::string& error) {
  if (!NeedClient(demo.World(), error)) return false;
  demo.World().Client().TypeAndSendIM(args[0], args[1]);
  demo.World().Run(500);
  return true;
}

bool Type(DemoRunner& demo, const Args& args, std::string&) {
  demo.World().Desktop().TypeText(args[0]);
  demo.World().Run(100);
  return true;
}

bool Key(DemoRunner& demo, const Args& args, std::string& error) {
  int key = 0, shift = 0;
  if (!ParseKey(args[0], key, shift)) {
    error = "unknown key '" + U(args[0]) + "'";
    return false;
  }
  demo.World().Desktop().PressKey(key, shift);
  demo.World().Run(200);
  return true;
}

bool File(DemoRunner& demo, const Args& args, std::string& error) {
  std::string relative = args[0];
  std::replace(relative.begin(), relative.end(), '/', '\\');
  if (relative.find("..") != std::string::npos) {
    error = "the file must lie inside the program folder";
    return false;
  }
  std::string text;
  for (char c : args[1]) text += c == '\r' ? std::string("\r\n") : std::string(1, c);
  text += "\r\n";
  if (relative.empty() || relative.front() != '\\') relative = "\\" + relative;
  const std::string path = platform::files::ProgramFolder() + relative;
  if (!platform::files::WriteAll(path, text)) {
    error = "cannot write " + U(relative);
    return false;
  }
  demo.World().Say("file prepared: " + U(relative.substr(1)));
  return true;
}

bool Tree(DemoRunner& demo, const Args&, std::string&) {
  demo.Print(U(demo.World().Desktop().DumpTree()));
  return true;
}

bool Shot(DemoRunner& demo, const Args& args, std::string& error) {
  return demo.World().Shot(U(args[0]), error).has_value();
}

bool Quit(DemoRunner& demo, const Args&, std::string& error) {
  if (demo.Interactive()) {
    demo.Leave();
    if (!demo.World().ClientRunning()) return true;
  }
  if (!NeedClient(demo.World(), error)) return false;
  demo.World().Say("the person closes the client");
  demo.World().Client().Quit();
  demo.World().Run(1000);
  return true;
}

bool QuitDemo(DemoRunner& demo, const Args&, std::string&) {
  demo.Leave();
  return true;
}

// The program's side, through the host routines, run in the program's process.
bool Host(DemoRunner& demo, const Args& args, std::string& error) {
  DemoWorld& world = demo.World();
  if (!world.ProgramStarted()) {
    error = "Pallion has not been started";
    return false;
  }
  platform::sim::Desktop::ProcessScope scope(world.Desktop(), world.ProgramProcess());
  const std::string verb = Lower(args[0]);
  if (verb == "list-ims") {
    HWND mdi = host::FindMDI();
    for (HWND w = host::FirstChild(mdi, "AOL Child"); w != 0;
         w = platform::FindWindowEx(mdi, w, "AOL Child")) {
      std::string caption = host::GetCaption(w);
      if (!host::IsIMCaption(caption)) continue;
      world.Say("IM window \"" + U(caption) + "\" from " + U(host::GetIMScreenName(w)));
    }
    return true;
  }
  if (verb == "send-im" && args.size() >= 3) {
    world.Say("the program sends an IM to " + U(args[1]));
    auto result = host::SendIM(args[1], args[2]);
    world.Say(result == host::SendIMResult::Sent      ? "the IM went out"
              : result == host::SendIMResult::Refused ? "the client refused the IM"
                                                      : "the IM did not go out");
    return true;
  }
  if (verb == "room-list") {
    std::vector<std::string> names;
    host::GetRoomList(names, false);
    std::string list;
    for (const auto& n : names) list += " " + U(n);
    world.Say("in the room:" + (list.empty() ? std::string(" nobody") : list));
    return true;
  }
  if (verb == "block" && args.size() >= 2) {
    world.Say("the program asks the client to block " + U(args[1]));
    host::IMOffFor(args[1]);
    return true;
  }
  error = "usage: host list-ims | host send-im NAME TEXT | host room-list | host block NAME";
  return false;
}

constexpr CommandSpec kWorldCommands[] = {
    {"help", "help", "lists the commands", 0, Help},
    {"wait", "wait DURATION",
     "lets virtual time pass (2s, 500ms, 1m, 2h); long waits report each simulated hour", 1, Wait},
    {"signon", "signon NAME", "the person signs on to the client as NAME", 1, SignOn},
    {"signoff", "signoff", "the person signs off", 0, SignOff},
    {"im", "im NAME TEXT", "NAME sends the person an IM", 2, IM},
    {"im-internet", "im-internet NAME TEXT", "an Internet IM that waits to be accepted", 2,
     IMInternet},
    {"im-respond", "im-respond NAME TEXT", "an IM that waits for its Respond button", 2, IMRespond},
    {"unreachable", "unreachable NAME", "IMs to NAME are refused by the client", 1, Unreachable},
    {"room",
     "room open ROOM [NAMES...] | room enter NAMES... | room leave NAMES... | room say NAME TEXT",
     "a chat room and the people in it", 1, Room},
    {"user-closes", "user-closes NAME", "the person closes NAME's IM with the client's own box", 1,
     UserCloses},
    {"user-sends", "user-sends NAME TEXT",
     "the person types TEXT in NAME's IM window and presses its Send button", 2, UserSends},
    {"type", "type TEXT", "the person types TEXT into the window that has the focus", 1, Type},
    {"key", "key NAME", "the person presses a key: enter, tab, ctrl+enter, esc, a ...", 1, Key},
    {"file", "file PATH TEXT",
     "writes a text file into the program folder (\\r in TEXT starts a new line; lines end with "
     "CR LF)",
     2, File},
    {"tree", "tree", "prints the window tree", 0, Tree},
    {"shot", "shot NAME", "writes a numbered screenshot of the whole screen", 1, Shot},
    {"quit", "quit",
     "the person closes the client (which ends Pallion); at the --interactive prompt the demo "
     "then leaves",
     0, Quit},
    {"quit-demo", "quit-demo",
     "leaves the demo at once; a running Pallion is shut down first, so nothing is lost", 0,
     QuitDemo},
    {"host", "host list-ims | host send-im NAME TEXT | host room-list | host block NAME",
     "runs host routines as the program does", 1, Host},
};

}  // namespace

std::span<const CommandSpec> WorldCommands() {
  return kWorldCommands;
}

}  // namespace app
