#include "campaign/generator.h"

namespace campaign {

namespace {

constexpr const char* kFaultNames[kFaultKinds] = {
    "close-in-adoption", "close-in-send", "main-window-gone", "mdi-client-gone",
    "folder-unwritable", "disk-full",     "damaged-settings", "damaged-list",
    "clock-jump",        "midnight",      "pallion-killed"};

// A word as the script language writes it: in double quotes when it holds blanks, quotes,
// backslashes or line ends.
std::string ScriptWord(const std::string& word) {
  const bool plain = !word.empty() && word.find_first_of(" \t\"\\\r\n#") == std::string::npos;
  if (plain) return word;
  std::string quoted = "\"";
  for (char c : word) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c == '\r' ? ' ' : c == '\n' ? ' ' : c;
  }
  return quoted + "\"";
}

// The answer modes of Pallion's "IM Answer" menu.
const std::vector<std::string> kAnswerModes = {"Off",
                                               "All IMs",
                                               "All Expect Chat Room",
                                               "Only Chat Room",
                                               "All Except Listed Members",
                                               "Only Listed Members"};

}  // namespace

const char* FaultName(FaultKind kind) {
  return kFaultNames[static_cast<size_t>(kind)];
}

std::optional<FaultKind> FaultByName(const std::string& name) {
  for (size_t i = 0; i < kFaultKinds; ++i) {
    if (name == kFaultNames[i]) return static_cast<FaultKind>(i);
  }
  return std::nullopt;
}

std::string Step::Text() const {
  std::string text;
  if (fault) {
    text += std::string("fault ") + FaultName(*fault);
    for (const auto& a : faultArgs) text += " " + ScriptWord(a);
    text += "\n";
  }
  for (const auto& line : lines) {
    std::string joined;
    for (const auto& w : line) joined += (joined.empty() ? "" : " ") + ScriptWord(w);
    text += joined + "\n";
  }
  return text;
}

const std::vector<std::string>& Correspondents() {
  static const std::vector<std::string> names = {"Bob", "Carl", "Dana Lee", "Eve", "Fritz"};
  return names;
}

std::string Token(char kind, int number) {
  return std::string(1, kind) + "Q" + std::to_string(number) + "Q";
}

std::vector<std::string> TokensIn(const std::string& text, char kind) {
  std::vector<std::string> found;
  for (size_t at = text.find(std::string(1, kind) + "Q"); at != std::string::npos;
       at = text.find(std::string(1, kind) + "Q", at + 1)) {
    size_t end = at + 2;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    if (end > at + 2 && end < text.size() && text[end] == 'Q') {
      found.push_back(text.substr(at, end + 1 - at));
    }
  }
  return found;
}

Generator::Generator(uint64_t seed, int steps) : random_(seed), stepsLeft_(steps) {
  setup_.logging = random_.Chance(75);
  setup_.closeIMs = random_.Chance(70) ? "0" : "1";
  setup_.aol7 = random_.Chance(40);
  for (const auto& name : Correspondents()) {
    if (random_.Chance(8)) setup_.ignoredAtStart.push_back(name);
    if (random_.Chance(30)) setup_.listedMembers.push_back(name);
  }
}

std::string Generator::Message(char kind) {
  const std::string token = Token(kind, nextToken_++);
  switch (random_.Below(6)) {
    case 0:
      return "hi " + token + ", are you there?";
    case 1:
      return "<b>bold</b> & <i>" + token + "</i> \"quoted\"";
    case 2:
      return "caf\xC3\xA9 " + token + " na\xC3\xAFve";
    case 3:
      return std::string(random_.Between(100, 400), 'x') + " " + token;
    case 4:
      return token;
    default:
      return "see you " + token + " later {SN} 100%";
  }
}

std::string Generator::Anyone() {
  return random_.Pick(Correspondents());
}

std::vector<Step> Generator::Prologue() {
  std::vector<Step> steps;
  auto line = [&](std::vector<std::string> words) {
    Step s;
    s.lines.push_back(std::move(words));
    steps.push_back(std::move(s));
  };
  line({"setting", "LogIMs", setup_.logging ? "1" : "0"});
  line({"setting", "CloseIMs", setup_.closeIMs});
  line({"setting", "LastMessage", "Away"});
  line({"file", "Messages/Away.Mes", std::string(kAwayMark) + " I am away, {SN}."});
  if (!setup_.ignoredAtStart.empty()) {
    std::string list;
    for (const auto& n : setup_.ignoredAtStart) list += (list.empty() ? "" : "\r") + n;
    line({"file", "IgnorePerm.lst", list});
  }
  if (!setup_.listedMembers.empty()) {
    std::string list;
    for (const auto& n : setup_.listedMembers) list += (list.empty() ? "" : "\r") + n;
    line({"file", "ListedMembers.lst", list});
  }
  line({"signon", kPerson});
  line({"start-pallion"});
  return steps;
}

std::optional<Step> Generator::Next(const WorldView& view) {
  if (stepsLeft_ <= 0) return std::nullopt;
  --stepsLeft_;
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (auto step = Choose(view)) return step;
  }
  Step wait;
  wait.lines.push_back({"wait", "1s"});
  return wait;
}

std::optional<Step> Generator::Choose(const WorldView& view) {
  Step step;
  auto line = [&](std::vector<std::string> words) {
    step.lines.push_back(std::move(words));
    return std::optional<Step>(step);
  };
  if (!view.clientRunning) return line({"wait", std::to_string(random_.Between(1, 5)) + "s"});
  if (!view.signedOn && random_.Chance(60)) return line({"signon", kPerson});
  if (!view.pallionRunning && random_.Chance(40)) return line({"start-pallion"});

  const int roll = random_.Below(100);
  if (roll < 12) return ChooseFault(view);
  if (roll < 32) return line({"im", Anyone(), Message('m')});
  if (roll < 35) {
    return line({"im", Anyone(),
                 std::string(kTheirAutoMark) + " " + Message('m') +
                     "\r<A HREF=\"http://elsewhere.example\">Pallion</A>"});
  }
  if (roll < 45) {
    return line({"wait", random_.Chance(70) ? std::to_string(random_.Between(100, 2000)) + "ms"
                                            : std::to_string(random_.Between(3, 25)) + "s"});
  }
  if (roll < 52) {
    if (view.tabs.empty()) return std::nullopt;
    return line({"switch-to", random_.Pick(view.tabs)});
  }
  if (roll < 62) {
    if (view.shown.empty()) return std::nullopt;
    line({"type-im", "re " + Message('t')});
    if (random_.Chance(85)) {
      if (random_.Chance(75)) {
        line({"key", "enter"});
      } else {
        line({"click", "control", "AOButtonSend"});
      }
    }
    return line({"wait", "1s"});
  }
  if (roll < 65) {
    if (view.clientIMs.empty()) return std::nullopt;
    return line({"user-sends", random_.Pick(view.clientIMs), "typed " + Message('t')});
  }
  if (roll < 70) {
    if (view.shown.empty()) return std::nullopt;
    return line({"click", "control", "AOButtonCloseIM"});
  }
  if (roll < 73) {
    if (view.clientIMs.empty()) return std::nullopt;
    return line({"user-closes", random_.Pick(view.clientIMs)});
  }
  if (roll < 75) {
    if (view.shown.empty() || !view.pallionRunning) return std::nullopt;
    line({"answer-box", random_.Chance(80) ? "Yes" : "No"});
    // The items name the shown correspondent.
    return line({"menu", "program", "Options",
                 random_.Chance(60) ? "Only Ignore " + view.shown + " this session"
                                    : "Always Ignore " + view.shown});
  }
  if (roll < 79) {
    if (!view.pallionRunning) return std::nullopt;
    switch (random_.Below(3)) {
      case 0:
        return line({"menu", "program", "Options", "Style", "List Box"});
      case 1:
        return line({"menu", "program", "Options", "Style", "Tabs"});
      default:
        return line({"menu", "program", "Options", "Float Mode"});
    }
  }
  if (roll < 84) {
    if (!view.pallionRunning) return std::nullopt;
    return line({"menu", "program", "IM Answer", random_.Pick(kAnswerModes)});
  }
  if (roll < 87) {
    std::vector<std::string> room = {"room", "open", "Lobby"};
    for (const auto& n : Correspondents()) {
      if (random_.Chance(50)) room.push_back(n);
    }
    switch (random_.Below(4)) {
      case 0:
        return line(room);
      case 1:
        return line({"room", "enter", Anyone()});
      case 2:
        return line({"room", "leave", Anyone()});
      default:
        return line({"room", "say", Anyone(), "hello room"});
    }
  }
  if (roll < 89) return line({"signoff"});
  if (roll < 91) {
    if (!view.pallionRunning) return std::nullopt;
    return line({"menu", "pallion", "Reset IMs"});
  }
  if (roll < 93) {
    if (!view.pallionRunning) return std::nullopt;
    line({"menu", "pallion", "Exit"});
    return line({"wait", "4s"});
  }
  if (roll < 96 && view.writesFailing) {
    step.lifts = true;
    return line({"wait", "500ms"});
  }
  return line({"wait", std::to_string(random_.Between(200, 1500)) + "ms"});
}

std::optional<Step> Generator::ChooseFault(const WorldView& view) {
  Step step;
  const auto kind = static_cast<FaultKind>(random_.Below(static_cast<int>(kFaultKinds)));
  step.fault = kind;
  switch (kind) {
    case FaultKind::CloseInAdoption: {
      const std::string name = Anyone();
      step.faultArgs = {name, std::to_string(random_.Between(0, 250))};
      step.lines.push_back({"im", name, Message('m')});
      step.lines.push_back({"wait", "1s"});
      break;
    }
    case FaultKind::CloseInSend:
      if (view.shown.empty()) return std::nullopt;
      step.faultArgs = {view.shown, std::to_string(random_.Between(150, 900))};
      step.lines.push_back({"type-im", "re " + Message('t')});
      step.lines.push_back({"key", "enter"});
      step.lines.push_back({"wait", "2s"});
      break;
    case FaultKind::MainWindowGone:
    case FaultKind::MdiClientGone:
      // Rare: the client is as good as gone afterwards.
      if (!random_.Chance(15)) return std::nullopt;
      step.lines.push_back({"wait", "2s"});
      break;
    case FaultKind::FolderUnwritable:
      step.lines.push_back({"wait", "200ms"});
      break;
    case FaultKind::DiskFull:
      step.faultArgs = {std::to_string(random_.Between(0, 300))};
      step.lines.push_back({"wait", "200ms"});
      break;
    case FaultKind::DamagedSettings:
    case FaultKind::DamagedList:
      step.faultArgs = {std::to_string(random_.Next() % 1000000)};
      if (kind == FaultKind::DamagedList) {
        step.faultArgs.push_back(random_.Chance(50) ? "IgnorePerm.lst" : "ListedMembers.lst");
      }
      if (random_.Chance(50) && view.pallionRunning) {
        // The program reads the damaged file again at its next start.
        step.lines.push_back({"menu", "pallion", "Exit"});
        step.lines.push_back({"wait", "4s"});
        step.lines.push_back({"start-pallion"});
      } else {
        step.lines.push_back({"wait", "500ms"});
      }
      break;
    case FaultKind::ClockJump: {
      const int minutes = random_.Chance(50) ? random_.Between(1, 48 * 60) : random_.Between(1, 90);
      step.faultArgs = {(random_.Chance(50) ? "-" : "+") + std::to_string(minutes) + "m"};
      step.lines.push_back({"wait", "500ms"});
      break;
    }
    case FaultKind::Midnight:
      step.faultArgs = {std::to_string(random_.Between(1, 20)) + "s"};
      step.lines.push_back({"wait", "500ms"});
      break;
    case FaultKind::PallionKilled:
      if (!view.pallionRunning) return std::nullopt;
      step.lines.push_back({"kill-pallion"});
      step.lines.push_back({"wait", std::to_string(random_.Between(1, 30)) + "s"});
      // Half the time the person starts it again at once; otherwise later steps may.
      if (random_.Chance(50)) step.lines.push_back({"start-pallion"});
      break;
    case FaultKind::kCount:
      return std::nullopt;
  }
  return step;
}

std::vector<Step> Generator::Epilogue(const WorldView& view) {
  std::vector<Step> steps;
  Step lift;
  lift.lifts = true;
  lift.lines.push_back({"wait", "500ms"});
  steps.push_back(lift);
  if (view.clientRunning && view.pallionRunning) {
    Step exit;
    exit.lines.push_back({"menu", "pallion", "Exit"});
    exit.lines.push_back({"wait", "4s"});
    steps.push_back(exit);
  }
  return steps;
}

}  // namespace campaign
