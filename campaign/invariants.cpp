#include "campaign/invariants.h"

#include <filesystem>

#include "answer/answer_text.h"
#include "app/script.h"
#include "clientsim/client.h"
#include "clientsim/html.h"
#include "container/main_window.h"
#include "host/text.h"
#include "host/window_access.h"
#include "imlog/recovery_journal.h"
#include "platform/files.h"
#include "platform/win32.h"

namespace campaign {

namespace fs = std::filesystem;
using platform::HWND;
using Scope = platform::sim::Desktop::ProcessScope;

namespace {

// An automatic answer may be decided a few seconds before it goes out; a name ignored within
// that time may still get it.
constexpr uint64_t kAnswerInFlightMs = 6000;

std::string Norm(const std::string& name) {
  return answer::NormalizeName(name);
}

uint64_t WaitedMs(const Step& step) {
  uint64_t total = 0;
  for (const auto& line : step.lines) {
    if (line.size() >= 2 && line[0] == "wait") total += app::ParseDuration(line[1]).value_or(0);
  }
  return total;
}

bool Has(const std::vector<std::string>& line, size_t at, const std::string& word) {
  return line.size() > at && line[at] == word;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, at - start));
    start = at + 2;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace

Invariants::Invariants(app::DemoWorld& world, const Faults& faults, const ScenarioSetup& setup,
                       std::string root, Limits limits)
    : world_(world), faults_(faults), setup_(setup), root_(std::move(root)), limits_(limits) {
  for (const auto& n : setup.ignoredAtStart) {
    permanentIgnored_[Norm(n)] = 0;
    everIgnored_.insert(Norm(n));
  }
}

void Invariants::Report(int step, const char* invariant, const std::string& detail) {
  for (const auto& v : violations_) {
    if (v.invariant == invariant && v.detail == detail) return;
  }
  violations_.push_back({step, invariant, detail});
}

std::vector<HWND> Invariants::ClientIMWindows() const {
  std::vector<HWND> found;
  const platform::DWORD client = world_.ClientProcess();
  auto consider = [&](HWND w) {
    platform::DWORD owner = 0;
    platform::GetWindowThreadProcessId(w, &owner);
    // "$im_off" and "$im_on" are the client's own commands that the program sends and closes,
    // not conversations.
    if (owner == client && platform::GetClassName(w) == "AOL Child" &&
        host::IsIMCaption(platform::GetWindowText(w)) &&
        !host::GetIMScreenName(w).starts_with("$im_")) {
      found.push_back(w);
    }
  };
  for (HWND top = platform::GetWindow(platform::GetDesktopWindow(), platform::GW_CHILD); top != 0;
       top = platform::GetWindow(top, platform::GW_HWNDNEXT)) {
    consider(top);
    platform::EnumChildWindows(top, [&](HWND child) {
      consider(child);
      return true;
    });
  }
  return found;
}

std::string Invariants::ShownName() {
  if (world_.Main() == nullptr) return "";
  Scope scope(world_.Desktop(), world_.ProgramProcess());
  const HWND im = host::FindCurrentIM();
  return im == 0 ? "" : host::GetIMScreenName(im);
}

WorldView Invariants::View() {
  WorldView view;
  auto& client = world_.Client();
  view.clientRunning = world_.ClientRunning();
  view.signedOn = view.clientRunning && !client.ScreenName().empty();
  container::MainWindow* main = world_.Main();
  view.pallionRunning = main != nullptr;
  if (main != nullptr) {
    Scope scope(world_.Desktop(), world_.ProgramProcess());
    if (platform::IsWindowVisible(main->TabStrip1.hwnd())) {
      for (int i = 1; i <= main->TabStrip1.Count(); ++i) {
        view.tabs.push_back(main->TabStrip1.Item(i).caption);
      }
    } else {
      for (int row = 0; row < main->ctList1.RowCount(); ++row) {
        view.tabs.push_back(main->ctList1.CellText(row, 0));
      }
    }
  }
  view.shown = ShownName();
  if (view.clientRunning) {
    for (const auto& name : Correspondents()) {
      if (client.IMWindow(name) != 0) view.clientIMs.push_back(name);
    }
  }
  view.writesFailing = faults_.WritesFailing();
  return view;
}

bool Invariants::Ignored(const std::string& name, uint64_t atMs) const {
  for (const auto* list : {&sessionIgnored_, &permanentIgnored_}) {
    auto it = list->find(name);
    if (it != list->end() && it->second + kAnswerInFlightMs <= atMs) return true;
  }
  return false;
}

void Invariants::BeforeStep(int, const Step& step) {
  nowBefore_ = world_.Desktop().NowMs();
  if (step.fault == FaultKind::PallionKilled) {
    for (const auto& [token, seen] : adoptedTokens_) {
      if (seen + imlog::RecoveryJournal::kSaveIntervalMs > nowBefore_) lostToKill_.insert(token);
    }
  }
  mayCloseAll_ = false;
  mayClose_.clear();
  mayCloseWindows_.clear();
  HWND shownWindow = 0;
  if (world_.Main() != nullptr) {
    Scope scope(world_.Desktop(), world_.ProgramProcess());
    shownWindow = host::FindCurrentIM();
  }
  const std::string shown = ShownName();
  bool yes = false;
  for (const auto& line : step.lines) {
    const std::string& command = line[0];
    if (command == "answer-box") yes = Has(line, 1, "Yes");
    if (command == "user-closes") mayClose_.insert(Norm(line[1]));
    if (command == "click" && Has(line, 2, "AOButtonCloseIM")) mayCloseWindows_.insert(shownWindow);
    if (command == "signoff" || command == "quit") mayCloseAll_ = true;
    if (command == "menu" && Has(line, 1, "pallion") && Has(line, 2, "Exit") &&
        setup_.closeIMs == "1") {
      mayCloseAll_ = true;
    }
    if (command == "menu" && line.size() >= 4 && line[3].find("Ignore ") != std::string::npos &&
        yes && !shown.empty()) {
      // The question is about the shown IM's correspondent; "Yes" closes the IM shown then.
      mayCloseWindows_.insert(shownWindow);
      mayClose_.insert(Norm(shown));
      everIgnored_.insert(Norm(shown));
      pendingIgnore_ = {Norm(shown), line[3].starts_with("Always")};
    }
    if (command == "start-pallion" && world_.Main() == nullptr) sessionIgnored_.clear();
    if (command == "type-im" && !shown.empty()) {
      for (const auto& t : TokensIn(line[1], 't')) typedFor_.emplace(t, shown);
    }
    if (command == "user-sends") {
      for (const auto& t : TokensIn(line[2], 't')) typedFor_.emplace(t, line[1]);
    }
  }
  if (step.fault) {
    switch (*step.fault) {
      case FaultKind::CloseInAdoption:
      case FaultKind::CloseInSend:
        mayClose_.insert(Norm(step.faultArgs.at(0)));
        break;
      case FaultKind::MainWindowGone:
      case FaultKind::MdiClientGone:
        mayCloseAll_ = true;
        break;
      case FaultKind::PallionKilled:
        // A kill takes every window inside Pallion's own windows along: in Float Mode the
        // container with its IMs is one of them (their text is in the recovery journal). And
        // with the client's MDI client gone there is nowhere to give IMs back to.
        if (!platform::IsWindow(world_.Client().MdiClient()) ||
            (world_.Main() != nullptr && world_.Main()->FloatMode())) {
          mayCloseAll_ = true;
        }
        break;
      case FaultKind::DamagedList:
        // The program may have lost its permanent list at its next start.
        if (step.faultArgs.at(1) == "IgnorePerm.lst") permanentIgnored_.clear();
        break;
      default:
        break;
    }
  }
}

void Invariants::AfterStep(int number, const Step& step, bool completed,
                           std::chrono::steady_clock::duration wallTime) {
  const uint64_t now = world_.Desktop().NowMs();
  if (completed && pendingIgnore_) {
    auto& list = pendingIgnore_->second ? permanentIgnored_ : sessionIgnored_;
    list.emplace(pendingIgnore_->first, nowBefore_);
  }
  pendingIgnore_.reset();
  if (now < nowBefore_) Report(number, "time", "virtual time went backwards");
  // A refused line ends its step: the waits after it never ran.
  if (completed && now - nowBefore_ < WaitedMs(step)) {
    Report(number, "time",
           "virtual time stood still: " + std::to_string(now - nowBefore_) + " ms passed of " +
               std::to_string(WaitedMs(step)) + " ms waited");
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(wallTime);
  if (ms > limits_.stepWallTime) {
    Report(number, "time", "the step took " + std::to_string(ms.count()) + " ms of wall time");
  }
  if (faults_.WritesFailing()) writeFaultSeen_ = true;
  CheckWindows(number, step);
  CheckSent(number);
  NoteAdoptedText();
  CheckLogs(number, false);
  CheckFiles(number);
}

void Invariants::AtEnd(int number) {
  CheckWindows(number, Step{});
  CheckSent(number);
  CheckLogs(number, true);
  CheckFiles(number);
}

void Invariants::CheckWindows(int step, const Step&) {
  for (auto it = tracked_.begin(); it != tracked_.end();) {
    if (platform::IsWindow(it->first)) {
      ++it;
      continue;
    }
    const std::string n = Norm(it->second.name);
    if (!mayCloseAll_ && mayClose_.count(n) == 0 && mayCloseWindows_.count(it->first) == 0 &&
        everIgnored_.count(n) == 0) {
      Report(step, "windows",
             "the IM window of " + it->second.name + " was destroyed, and nobody closed it");
    }
    it = tracked_.erase(it);
  }
  const std::vector<HWND> live = ClientIMWindows();
  for (HWND w : live) {
    if (tracked_.count(w) == 0) tracked_[w] = {host::GetIMScreenName(w)};
  }
  const HWND mdi = world_.ClientRunning() ? world_.Client().MdiClient() : 0;
  container::MainWindow* main = world_.Main();
  for (HWND w : live) {
    const HWND parent = platform::GetParent(w);
    if (parent != 0 && parent == mdi) continue;
    // Without its MDI client the client shows its windows on the desktop.
    const bool onDesktop = parent == 0 || parent == platform::GetDesktopWindow();
    if (onDesktop && !platform::IsWindow(mdi)) continue;
    // Pallion's IM holder is a window of the client's, laid over its IM area.
    bool inProgram = main != nullptr && parent == main->IMHolder();
    for (HWND a = parent; a != 0 && !inProgram; a = platform::GetParent(a)) {
      platform::DWORD owner = 0;
      platform::GetWindowThreadProcessId(a, &owner);
      inProgram = owner == world_.ProgramProcess();
    }
    const std::string& name = tracked_[w].name;
    if (!inProgram) {
      Report(step, "windows",
             "the IM window of " + name +
                 " is neither in the container nor in the client (its parent: \"" +
                 platform::GetClassName(parent) + "\" \"" + platform::GetWindowText(parent) +
                 "\")");
      continue;
    }
    if (main == nullptr) {
      Report(step, "windows", "the IM window of " + name + " is held by a Pallion that has ended");
      continue;
    }
    Scope scope(world_.Desktop(), world_.ProgramProcess());
    bool listed = false;
    for (int i = 0; i < main->List1.ListCount() && !listed; ++i) listed = main->ListIM(i) == w;
    if (!listed) {
      Report(step, "windows",
             "the IM window of " + name + " is inside Pallion without a tab or row to reach it");
    }
  }
}

void Invariants::CheckSent(int step) {
  const auto& sent = world_.Client().SentIMs();
  const auto& received = world_.Client().ReceivedIMs();
  for (; sentSeen_ < sent.size(); ++sentSeen_) {
    const clientsim::SentIM& im = sent[sentSeen_];
    const std::string plain = clientsim::StripTags(im.text);
    for (const auto& token : TokensIn(plain, 't')) {
      auto it = typedFor_.find(token);
      if (it != typedFor_.end() && !answer::SameName(it->second, im.to)) {
        Report(step, "sending",
               "text typed for " + it->second + " (" + token + ") was sent to " + im.to);
      }
    }
    if (plain.find(kAwayMark) == std::string::npos) continue;
    const std::string n = Norm(im.to);
    if (Ignored(n, im.timeMs)) {
      Report(step, "answering", "an automatic answer went to " + im.to + ", who is ignored");
    }
    auto last = lastAnswer_.find(n);
    bool ownMessage = false;
    for (const auto& r : received) {
      const bool after = last == lastAnswer_.end() || r.timeMs > last->second;
      if (after && r.timeMs <= im.timeMs && Norm(r.from) == n &&
          r.fate == clientsim::ReceivedIM::Fate::Shown &&
          r.text.find(kTheirAutoMark) == std::string::npos) {
        ownMessage = true;
      }
    }
    if (!ownMessage) {
      Report(step, "answering",
             "an automatic answer went to " + im.to +
                 " with no new message of their own to answer (only automatic answers)");
    }
    lastAnswer_[n] = im.timeMs;
  }
}

void Invariants::NoteAdoptedText() {
  if (!setup_.logging) return;
  container::MainWindow* main = world_.Main();
  std::set<HWND> held;
  if (main != nullptr) {
    Scope scope(world_.Desktop(), world_.ProgramProcess());
    for (int i = 0; i < main->List1.ListCount(); ++i) held.insert(main->ListIM(i));
  }
  for (const auto& [im, tracked] : tracked_) {
    if (!platform::IsWindow(im)) continue;
    // The view as the program reads it: the layout of the IM's own client decides which one.
    const HWND view = host::FirstChild(
        im, platform::FindWindowEx(im, 0, "RICHCNTLREADONLY", nullptr) != 0 ? "RICHCNTLREADONLY"
                                                                            : "RICHCNTL");
    const std::string text = host::GetEditText(view);
    const bool isHeld = held.count(im) != 0;
    for (char kind : {'m', 't'}) {
      for (const auto& token : TokensIn(text, kind)) {
        // Text Pallion held stays its to log after it hands the IM back.
        if (isHeld) {
          adoptedTokens_.emplace(token, world_.Desktop().NowMs());
        } else if (adoptedTokens_.count(token) == 0) {
          outsideTokens_.insert(token);
        }
      }
    }
  }
}

void Invariants::CheckLogs(int step, bool atEnd) {
  const fs::path logs = fs::path(root_) / "Pallion" / "IM Logs";
  std::map<std::string, int> entries;  // token -> log entries holding it
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(logs, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_regular_file()) continue;
    const std::string file = fs::relative(it->path(), logs).string();
    const std::string bytes = platform::files::ReadHostFile(it->path()).value_or("");
    bool inside = false;
    std::set<std::string> entry;
    for (const std::string& line : Lines(bytes)) {
      if (line.starts_with(" Begin IM - ")) {
        if (inside) Report(step, "logging", "a log entry in " + file + " is cut: a new one begins");
        inside = true;
        entry.clear();
      } else if (line.starts_with(" End IM - ")) {
        if (!inside) Report(step, "logging", "an end line in " + file + " has no begin line");
        for (const auto& t : entry) ++entries[t];
        inside = false;
      } else if (!inside && line.find_first_not_of(' ') != std::string::npos) {
        Report(step, "logging", "text in " + file + " stands outside any log entry");
      }
      for (char kind : {'m', 't'}) {
        for (const auto& token : TokensIn(line, kind)) entry.insert(token);
      }
    }
    if (inside) Report(step, "logging", "the last log entry in " + file + " is cut");
    if (!bytes.empty() && !bytes.ends_with("\r\n")) {
      Report(step, "logging", file + " ends in the middle of a line");
    }
  }
  for (const auto& [token, count] : entries) {
    if (count > 1) {
      Report(step, "logging", token + " is in " + std::to_string(count) + " log entries");
    }
  }
  const bool strict = !writeFaultSeen_ && faults_.Damaged().count("Pallion.ini") == 0;
  if (!atEnd || !setup_.logging || !strict) return;
  // A journal a killed Pallion left, which no start has turned into log entries yet.
  const std::string journal =
      platform::files::ReadHostFile(fs::path(root_) / "Pallion" / (imlog::kRecoveryFile + 1))
          .value_or("");
  for (const auto& [token, seen] : adoptedTokens_) {
    // Text that stood in an IM while no Pallion held it is not the program's to log.
    if (entries.count(token) == 0 && outsideTokens_.count(token) == 0 &&
        lostToKill_.count(token) == 0 && journal.find(token) == std::string::npos) {
      Report(step, "logging", token + " was in an IM Pallion held, and is in no log entry");
    }
  }
}

void Invariants::CheckFiles(int step) {
  const fs::path folder = fs::path(root_) / "Pallion";
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->path().filename().string().ends_with(".~new")) {
      Report(step, "files",
             "a half-written file was left: " + fs::relative(it->path(), folder).string());
    }
  }
  const auto& damaged = faults_.Damaged();
  for (const char* name : {"Pallion.ini", "IgnorePerm.lst", "ListedMembers.lst"}) {
    if (damaged.count(name) != 0) continue;
    auto bytes = platform::files::ReadHostFile(folder / name);
    if (!bytes) continue;
    const bool settings = std::string(name) == "Pallion.ini";
    if (bytes->empty()) {
      if (settings) Report(step, "files", std::string(name) + " is empty");
      continue;
    }
    if (!bytes->ends_with("\r\n")) {
      Report(step, "files", std::string(name) + " ends in the middle of a line");
    }
    if (!settings) continue;
    for (const std::string& line : Lines(*bytes)) {
      const bool section = line.starts_with("[") && line.ends_with("]");
      if (!line.empty() && !section && line.find('=') == std::string::npos) {
        Report(step, "files", "Pallion.ini holds a broken line: \"" + line.substr(0, 40) + "\"");
      }
    }
  }
  for (const auto& entry : fs::directory_iterator(root_, ec)) {
    const std::string name = entry.path().filename().string();
    if (name != "Pallion" && name != "outside") {
      Report(step, "files", "something was written beside the program folder: " + name);
    }
  }
  for (const auto& entry : fs::directory_iterator(fs::path(root_) / "outside", ec)) {
    Report(step, "files",
           "something was written into the working folder: " + entry.path().filename().string());
  }
}

}  // namespace campaign
