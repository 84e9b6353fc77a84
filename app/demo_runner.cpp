#include "app/demo_runner.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/demo_helpers.h"
#include "platform/ansi.h"
#include "platform/win32.h"
#include "widgets/message_box.h"

namespace app {

namespace {

// How long a message box of the program may wait for an answer before the demo closes it.
constexpr uint64_t kUnansweredBoxMs = 60000;

// Every table of commands; a feature with demo commands of its own adds its table here.
constexpr std::span<const CommandSpec> (*kCommandTables[])() = {WorldCommands, ProgramCommands,
                                                                OnlineCommands, SettingsCommands};

constexpr CommandSpec kExpect = {
    "expect", "expect WHAT ...",
    "checks the state; the run stops with the line named when it does not hold", 1, nullptr};

bool RunExpectation(DemoRunner& demo, const Args& args, std::string& error) {
  const std::string line = "expect " + U(Join(args, 0));
  for (const ExpectationSpec& e : Expectations()) {
    if (Lower(args[0]) != e.name) continue;
    const Args rest(args.begin() + 1, args.end());
    if (rest.size() < e.minArgs) {
      error = std::string("usage: expect ") + e.usage;
      return false;
    }
    std::string why;
    if (e.check(demo, rest, why)) return true;
    error = why.rfind("usage:", 0) == 0 ? why : "'" + line + "' does not hold: " + why;
    return false;
  }
  error = "unknown expectation '" + U(args[0]) + "'; usage: " + DemoRunner::ExpectUsage();
  return false;
}

}  // namespace

DemoRunner::DemoRunner(DemoWorld& world, std::ostream& out) : world_(world), out_(out) {
  for (auto table : kCommandTables) {
    for (const CommandSpec& command : table()) Add(command);
  }
  CommandSpec expect = kExpect;
  static const std::string usage = ExpectUsage();
  expect.usage = usage.c_str();
  expect.run = RunExpectation;
  Add(expect);
  WatchUnansweredBoxes();
}

std::string DemoRunner::ExpectUsage() {
  std::string usage;
  for (const ExpectationSpec& e : Expectations()) {
    usage += (usage.empty() ? "" : " | ") + std::string("expect ") + e.usage;
  }
  return usage;
}

void DemoRunner::Add(const CommandSpec& command) {
  commands_[command.name] = command;
}

void DemoRunner::Print(const std::string& text) {
  world_.Print(text);
}

Args DemoRunner::ClientWords(const std::vector<std::string>& words) {
  Args args;
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (!IsUtf8(word)) {
      // Latin-1 text (a script saved in the old code page): its bytes are the client's already.
      Print("note: \"" + U(word) +
            "\" is not UTF-8; its bytes are taken as Windows-1252 (Latin-1) and sent unchanged");
      args.push_back(word);
      continue;
    }
    const std::string ansi = platform::Utf8ToAnsi(word);
    if (U(ansi) != word) {
      Print("note: \"" + word + "\" is sent as \"" + U(ansi) +
            "\": the client's character set, Windows-1252, has no place for the characters "
            "shown as \"?\"");
    }
    args.push_back(ansi);
  }
  return args;
}

bool DemoRunner::Run(const std::vector<std::string>& words, std::string& error) {
  if (words.empty()) return true;
  auto it = commands_.find(Lower(words[0]));
  if (it == commands_.end()) {
    error = "unknown command '" + words[0] + "' (try 'help')";
    return false;
  }
  const Args args = ClientWords(words);
  if (args.size() < it->second.minArgs) {
    error = std::string("usage: ") + it->second.usage;
    return false;
  }
  bool ok = it->second.run(*this, args, error);
  world_.ReportNews();
  return ok;
}

int DemoRunner::RunScript(const std::string& text, const std::string& sourceName) {
  ParsedScript script = ParseScript(text);
  if (!script.errors.empty()) {
    for (const auto& e : script.errors) Print(sourceName + ": " + e);
    return 2;
  }
  for (const auto& line : script.lines) {
    std::string error;
    if (!Run(line.words, error)) {
      Print(sourceName + ": line " + std::to_string(line.number) + ": " + error);
      return 1;
    }
  }
  return 0;
}

int DemoRunner::RunInteractive(std::istream& in) {
  interactive_ = true;
  Print(
      "Pallion demo. Type 'help' for the commands; 'quit' closes the client and leaves, "
      "'quit-demo' leaves at once.");
  bool failed = false;
  std::string line;
  while (!leave_ && (out_ << "> " << std::flush, std::getline(in, line))) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string error;
    auto words = SplitWords(line, error);
    if (!words) {
      Print("error: " + error);
      failed = true;
      continue;
    }
    if (!Run(*words, error)) {
      Print("error: " + error);
      failed = true;
    }
  }
  interactive_ = false;
  return failed ? 1 : 0;
}

void DemoRunner::PrintHelp() const {
  std::string text = "Commands:\n";
  for (const auto& [name, command] : commands_) {
    text += std::string("  ") + command.usage + "\n      " + command.help + '\n';
  }
  text +=
      "Texts are UTF-8; they reach the client in its character set, Windows-1252 (a note says "
      "when a character has no place there).\n";
  world_.Print(text);
}

void DemoRunner::QueueBoxAnswer(const std::string& button,
                                const std::optional<std::string>& input) {
  auto used = std::make_shared<bool>(false);
  std::erase_if(queuedAnswers_, [](const auto& done) { return *done; });
  queuedAnswers_.push_back(used);
  world_.Desktop().AddResponder([this, button, input, used]() {
    if (*used) return true;
    if (answering_) return false;
    widgets::MessageBoxForm* box = widgets::WaitingMessageBox();
    if (box == nullptr) return false;
    *used = true;
    answering_ = true;
    auto& desktop = world_.Desktop();
    world_.Say("the person answers the message box \"" + U(box->lblCaption.Caption()) + "\" (\"" +
               U(box->lblText.Caption()) + "\"): " + button +
               (input ? " with \"" + U(*input) + "\"" : ""));
    std::string shotError;
    if (!world_.Shot("message-box", shotError)) world_.Say(shotError);
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

void DemoRunner::ForgetBoxAnswers() {
  for (const auto& used : queuedAnswers_) *used = true;
  queuedAnswers_.clear();
}

void DemoRunner::WatchUnansweredBoxes() {
  world_.Desktop().AddResponder([this]() {
    widgets::MessageBoxForm* box = answering_ ? nullptr : widgets::WaitingMessageBox();
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

namespace {

void Usage(std::ostream& out) {
  out << "usage: pallion-demo [--client aol6|aol7] [--folder DIR] [--shots DIR] [--site URL]\n"
         "                    [--script FILE | --interactive]\n";
}

// A fresh program folder under the build folder, unless one is given.
std::string FreshFolder(const std::string& executable) {
  auto base = std::filesystem::absolute(executable).parent_path().parent_path() / "demo";
  auto stamp = std::chrono::system_clock::now().time_since_epoch().count();
  return (base / ("folder-" + std::to_string(stamp))).string();
}

// The script's text; nothing with `error` set when it cannot be read.
std::optional<std::string> ReadScript(const std::string& path, std::string& error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    error = "the script " + path + " is a folder; give a script file";
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the script " + path;
    return std::nullopt;
  }
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) {
    error = "cannot read the script " + path;
    return std::nullopt;
  }
  return content.str();
}

}  // namespace

int RunDemo(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
            std::ostream& err, const std::string& executablePath) {
  DemoOptions options;
  std::string script;
  bool interactive = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= arguments.size()) return false;
      into = arguments[++i];
      return true;
    };
    std::string text;
    if (arg == "--client" && value(text)) {
      if (text != "aol6" && text != "aol7") {
        err << "pallion-demo: unknown client '" << text << "'; the clients are aol6 and aol7\n";
        return 2;
      }
      options.layout = text == "aol7" ? clientsim::Layout::Aol7 : clientsim::Layout::Aol6;
    } else if (arg == "--folder" && value(options.folder)) {
    } else if (arg == "--shots" && value(options.shots)) {
    } else if (arg == "--site" && value(options.site)) {
      if (options.site.empty()) {
        err << "pallion-demo: --site needs an address, such as www.example.com or "
               "http://127.0.0.1:8080\n";
        return 2;
      }
    } else if (arg == "--script" && value(script)) {
    } else if (arg == "--interactive") {
      interactive = true;
    } else if (arg == "--help" || arg == "-h") {
      Usage(out);
      return 0;
    } else {
      err << "pallion-demo: bad argument '" << arg << "'\n";
      Usage(err);
      return 2;
    }
  }
  if (interactive && !script.empty()) {
    err << "pallion-demo: give either --script or --interactive\n";
    return 2;
  }
  std::string scriptText = DefaultScenario();
  std::string source = "default scenario";
  if (!script.empty()) {
    std::string error;
    auto text = ReadScript(script, error);
    if (!text) {
      err << "pallion-demo: " << error << '\n';
      return 2;
    }
    scriptText = *text;
    source = script;
  }
  if (options.folder.empty()) options.folder = FreshFolder(executablePath);
  if (options.shots.empty()) options.shots = options.folder + "-shots";
  std::error_code ec;
  std::filesystem::create_directories(options.folder, ec);
  if (ec) {
    err << "pallion-demo: cannot make the folder " << options.folder << ": " << ec.message()
        << '\n';
    return 2;
  }

  out << "Program folder: " << options.folder << "\nScreenshots: " << options.shots << "\n";
  DemoWorld world(options, out);
  DemoRunner runner(world, out);
  int code = interactive ? runner.RunInteractive(in) : runner.RunScript(scriptText, source);
  world.Finish();
  if (!interactive) {
    world.Print(code == 0 ? "The scenario ran to its end." : "The scenario stopped.");
  }
  std::string error;
  if (auto report = world.WriteReport(error)) {
    out << "Report: " << *report << '\n';
  } else if (!error.empty()) {
    err << "pallion-demo: " << error << '\n';
    if (code == 0) code = 1;
  }
  return code;
}

}  // namespace app
