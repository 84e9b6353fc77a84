#include "app/demo_runner.h"

#include "app/demo_helpers.h"

#include <algorithm>
#include <cctype>

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
    if (rest.rfind("ctrl+", 0) == 0) {
      shift |= platform::CTRL_MASK;
      rest = rest.substr(5);
    } else if (rest.rfind("shift+", 0) == 0) {
      shift |= platform::SHIFT_MASK;
      rest = rest.substr(6);
    } else if (rest.rfind("alt+", 0) == 0) {
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

}  // namespace

DemoRunner::DemoRunner(DemoWorld& world, std::ostream& out) : world_(world), out_(out) {
  AddBuiltins();
  AddProgramCommands();
  AddExpectations();
  WatchUnansweredBoxes();
}

void DemoRunner::Add(const std::string& name, Command command) {
  commands_[name] = std::move(command);
}

bool DemoRunner::Run(const std::vector<std::string>& words, std::string& error) {
  if (words.empty()) return true;
  auto it = commands_.find(Lower(words[0]));
  if (it == commands_.end()) {
    error = "unknown command '" + words[0] + "' (try 'help')";
    return false;
  }
  std::vector<std::string> args;
  for (size_t i = 1; i < words.size(); ++i) args.push_back(platform::Utf8ToAnsi(words[i]));
  if (args.size() < it->second.minArgs) {
    error = "usage: " + it->second.usage;
    return false;
  }
  bool ok = it->second.run(args, error);
  world_.ReportNews();
  return ok;
}

int DemoRunner::RunScript(const std::string& text, const std::string& sourceName) {
  ParsedScript script = ParseScript(text);
  if (!script.errors.empty()) {
    for (const auto& e : script.errors) out_ << sourceName << ": " << e << '\n';
    return 2;
  }
  for (const auto& line : script.lines) {
    std::string error;
    if (!Run(line.words, error)) {
      out_ << sourceName << ": line " << line.number << ": " << error << '\n';
      return 1;
    }
  }
  return 0;
}

void DemoRunner::RunInteractive(std::istream& in) {
  out_ << "Pallion demo. Type 'help' for the commands, 'quit-demo' to leave.\n";
  std::string line;
  while (out_ << "> " << std::flush, std::getline(in, line)) {
    std::string error;
    auto words = SplitWords(line, error);
    if (!words) {
      out_ << "error: " << error << '\n';
      continue;
    }
    if (!words->empty() && Lower((*words)[0]) == "quit-demo") break;
    if (!Run(*words, error)) out_ << "error: " << error << '\n';
  }
}

void DemoRunner::PrintHelp() const {
  out_ << "Commands:\n";
  for (const auto& [name, command] : commands_) {
    out_ << "  " << command.usage << "\n      " << command.help << '\n';
  }
}

void DemoRunner::AddBuiltins() {
  auto& client = world_.Client();
  auto& desktop = world_.Desktop();

  Add("help", {"help", "lists the commands", 0, [this](const auto&, std::string&) {
                 PrintHelp();
                 return true;
               }});
  Add("wait", {"wait DURATION", "lets virtual time pass (2s, 500ms, 1m)", 1,
               [this](const auto& args, std::string& error) {
                 auto ms = ParseDuration(args[0]);
                 if (!ms) {
                   error = "not a duration: '" + args[0] + "'";
                   return false;
                 }
                 world_.Run(*ms);
                 return true;
               }});
  Add("signon", {"signon NAME", "the person signs on to the client as NAME", 1,
                 [this, &client](const auto& args, std::string&) {
                   world_.Say("the person signs on as " + platform::AnsiToUtf8(args[0]));
                   client.SignOn(args[0]);
                   world_.Run(1000);
                   return true;
                 }});
  Add("signoff", {"signoff", "the person signs off", 0, [this, &client](const auto&, std::string&) {
                    world_.Say("the person signs off");
                    client.SignOff();
                    world_.Run(500);
                    return true;
                  }});
  auto incoming = [this, &client](clientsim::IncomingOptions options) {
    return [this, &client, options](const std::vector<std::string>& args, std::string&) {
      client.ReceiveIM(args[0], args[1], options);
      world_.Run(300);
      return true;
    };
  };
  Add("im", {"im NAME TEXT", "NAME sends the person an IM", 2, incoming({})});
  Add("im-internet", {"im-internet NAME TEXT", "an Internet IM that waits to be accepted", 2,
                      incoming({.internet = true})});
  Add("im-respond", {"im-respond NAME TEXT", "an IM that waits for its Respond button", 2,
                     incoming({.needsRespond = true})});
  Add("unreachable", {"unreachable NAME", "IMs to NAME are refused by the client", 1,
                      [this, &client](const auto& args, std::string&) {
                        world_.Say(platform::AnsiToUtf8(args[0]) + " cannot be reached");
                        client.SetUnreachable(args[0]);
                        return true;
                      }});
  Add("room", {"room open ROOM [NAMES...] | room enter NAMES... | room leave NAMES... | "
               "room say NAME TEXT",
               "a chat room and the people in it", 1,
               [this, &client](const auto& args, std::string& error) {
                 std::string verb = Lower(args[0]);
                 std::vector<std::string> names(args.begin() + 1, args.end());
                 if (verb == "open" && !names.empty()) {
                   std::string room = names.front();
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
                       "usage: room open ROOM [NAMES...] | room enter NAMES... | "
                       "room leave NAMES... | room say NAME TEXT";
                   return false;
                 }
                 world_.Run(300);
                 return true;
               }});
  Add("user-closes", {"user-closes NAME", "the person closes NAME's IM with the client's own box",
                      1, [this, &client](const auto& args, std::string&) {
                        client.CloseIM(args[0]);
                        world_.Run(300);
                        return true;
                      }});
  Add("user-sends", {"user-sends NAME TEXT",
                     "the person types TEXT in NAME's IM window and presses its Send button", 2,
                     [this, &client](const auto& args, std::string&) {
                       client.TypeAndSendIM(args[0], args[1]);
                       world_.Run(500);
                       return true;
                     }});
  Add("type", {"type TEXT", "the person types TEXT into the window that has the focus", 1,
               [this, &desktop](const auto& args, std::string&) {
                 desktop.TypeText(args[0]);
                 world_.Run(100);
                 return true;
               }});
  Add("key", {"key NAME", "the person presses a key: enter, tab, ctrl+enter, esc, a ...", 1,
              [this, &desktop](const auto& args, std::string& error) {
                int key = 0, shift = 0;
                if (!ParseKey(args[0], key, shift)) {
                  error = "unknown key '" + args[0] + "'";
                  return false;
                }
                desktop.PressKey(key, shift);
                world_.Run(200);
                return true;
              }});
  Add("file", {"file PATH TEXT",
               "writes a text file into the program folder (\\r in TEXT starts a new line; lines "
               "end with CR LF)",
               2, [this](const auto& args, std::string& error) {
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
                   error = "cannot write " + platform::AnsiToUtf8(relative);
                   return false;
                 }
                 world_.Say("file prepared: " + platform::AnsiToUtf8(relative.substr(1)));
                 return true;
               }});
  Add("tree", {"tree", "prints the window tree", 0, [this, &desktop](const auto&, std::string&) {
                 out_ << platform::AnsiToUtf8(desktop.DumpTree());
                 return true;
               }});
  Add("shot", {"shot NAME", "writes a numbered screenshot of the whole screen", 1,
               [this](const auto& args, std::string&) {
                 world_.Shot(args[0]);
                 return true;
               }});
  Add("quit",
      {"quit", "the person closes the client", 0, [this, &client](const auto&, std::string&) {
         world_.Say("the person closes the client");
         client.Quit();
         world_.Run(1000);
         return true;
       }});

  // The program's side, through the host routines, run in the program's process.
  Add("host",
      {"host list-ims | host send-im NAME TEXT | host room-list | host block NAME",
       "runs host routines as the program does", 1, [this](const auto& args, std::string& error) {
         platform::sim::Desktop::ProcessScope scope(world_.Desktop(), world_.ProgramProcess());
         std::string verb = Lower(args[0]);
         if (verb == "list-ims") {
           HWND mdi = host::FindMDI();
           for (HWND w = platform::FindWindowEx(mdi, 0, "AOL Child"); w != 0;
                w = platform::FindWindowEx(mdi, w, "AOL Child")) {
             std::string caption = host::GetCaption(w);
             if (!host::IsIMCaption(caption)) continue;
             world_.Say("IM window \"" + platform::AnsiToUtf8(caption) + "\" from " +
                        platform::AnsiToUtf8(host::GetIMScreenName(w)));
           }
           return true;
         }
         if (verb == "send-im" && args.size() >= 3) {
           world_.Say("the program sends an IM to " + platform::AnsiToUtf8(args[1]));
           auto result = host::SendIM(args[1], args[2]);
           world_.Say(result == host::SendIMResult::Sent ? "the IM went out"
                                                         : "the IM did not go out");
           return true;
         }
         if (verb == "room-list") {
           std::vector<std::string> names;
           host::GetRoomList(names, false);
           std::string list;
           for (const auto& n : names) list += " " + platform::AnsiToUtf8(n);
           world_.Say("in the room:" + (list.empty() ? std::string(" nobody") : list));
           return true;
         }
         if (verb == "block" && args.size() >= 2) {
           world_.Say("the program asks the client to block " + platform::AnsiToUtf8(args[1]));
           host::IMOffFor(args[1]);
           return true;
         }
         error =
             "usage: host list-ims | host send-im NAME TEXT | host room-list | "
             "host block NAME";
         return false;
       }});
}

std::string DefaultScenario() {
  return R"(# Alice signs on and starts Pallion; three correspondents write, Pallion gathers
# their IMs into tabs; Alice switches tabs, answers one, closes one, switches to the
# list look and closes the client, which ends Pallion (logging the conversations).
# On the way Alice sends a colour-faded IM, Pallion answers an IM while she is away,
# and closes the IM of a correspondent on her permanent ignore list.
setting LogIMs 1
setting Style 1
setting Left 140
setting Top 150
setting Width 520
setting Height 420
file IgnorePerm.lst "Frank"
file Messages/Away.Mes "Sorry {SN}, I am away from my desk. Back soon!"
setting LastMessage Away
signon Alice
start-pallion
expect pallion running
expect window "AOL Child" "Pallion ²·º :"
expect container hidden
shot pallion-started

im Bob "Hi Alice, are you there?"
wait 2s
im Carl "Lunch at noon?"
wait 2s
im Dave "Did you see the game?"
wait 3s
expect tabs Bob Carl Dave
expect container visible
expect sound Chat.icp
shot three-ims-in-tabs

switch-to Carl
expect shown Carl
shot carl-shown
type-im "Noon works for me!"
key enter
wait 2s
expect sent Carl "Noon works for me!"
shot carl-answered

click control AOButtonMiddle 4
type-im "See you there, a faded hello from Alice!"
key enter
wait 2s
expect sent Carl "See you there, a faded hello from Alice!"
expect sent-containing Carl "<Font Color=#"
shot faded-im

menu program "IM Answer" "All IMs"
im Erin "Are you coming to the party tonight?"
wait 8s
expect sent-containing Erin "Sorry Erin, I am away from my desk. Back soon!"
menu program "IM Answer" "Off"
switch-to Erin
shot away-answer

im Frank "Hey Alice, remember me?"
wait 2s
expect tabs Bob Carl Dave Erin
expect blocked Frank

switch-to Bob
expect shown Bob
answer-box Yes
click control AOButtonCloseIM
wait 2s
expect tabs Carl Dave Erin
shot after-close-im

menu program Options Style "List Box"
wait 1s
shot list-look

quit
wait 4s
expect pallion ended
expect file "IM Logs/Carl/4-26-2001.txt" "Noon works for me!"
expect file "IM Logs/Dave/4-26-2001.txt" "Did you see the game?"
shot client-closed
)";
}

}  // namespace app
