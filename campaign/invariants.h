// What must hold after every step of a scenario, whatever the faults:
// - time: virtual time goes on and a step ends within a bounded wall time;
// - windows: every IM window the client showed is in the container, in the client, or was
//   closed by the person (or because its sender is ignored); the program destroys none;
// - sending: text typed for one correspondent is never sent to another; an automatic answer
//   never goes to an ignored name and never answers an automatic answer;
// - logging: every conversation Pallion held while logging ends up in the log exactly once,
//   never cut, never twice;
// - files: no file the program rewrites is empty or partial; nothing is written outside the
//   program folder.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/demo_world.h"
#include "campaign/faults.h"
#include "campaign/generator.h"

namespace campaign {

struct Violation {
  int step = 0;           // 1-based, counted over the whole scenario
  std::string invariant;  // "windows", "sending", "answering", "logging", "files", "time"
  std::string detail;
};

struct Limits {
  std::chrono::milliseconds stepWallTime{30000};
};

class Invariants {
 public:
  // `root` is the host folder that holds the program folder "Pallion" and the empty working
  // folder "outside", and nothing else.
  Invariants(app::DemoWorld& world, const Faults& faults, const ScenarioSetup& setup,
             std::string root, Limits limits);

  // Called before the step runs: notes what the person is about to close, type or ignore.
  void BeforeStep(int number, const Step& step);
  // Called after the step ran (`completed`: every line of it could run): checks everything.
  void AfterStep(int number, const Step& step, bool completed,
                 std::chrono::steady_clock::duration wallTime);
  // Called once the scenario has ended (Pallion shut down): every conversation in the log.
  void AtEnd(int number);

  const std::vector<Violation>& Violations() const { return violations_; }
  // The view the generator chooses from.
  WorldView View();

 private:
  struct Tracked {
    std::string name;
  };
  void Report(int step, const char* invariant, const std::string& detail);
  std::vector<platform::HWND> ClientIMWindows() const;
  std::string ShownName();
  void CheckWindows(int step, const Step& last);
  void CheckSent(int step);
  void CheckLogs(int step, bool atEnd);
  void CheckFiles(int step);
  void NoteAdoptedText();
  bool Ignored(const std::string& name, uint64_t beforeMs) const;

  app::DemoWorld& world_;
  const Faults& faults_;
  ScenarioSetup setup_;
  std::string root_;
  Limits limits_;
  std::vector<Violation> violations_;

  std::map<platform::HWND, Tracked> tracked_;
  // What the person may close in the running step.
  bool mayCloseAll_ = false;
  std::set<std::string> mayClose_;  // normalised names
  std::set<platform::HWND> mayCloseWindows_;
  // Names that Pallion closes on sight, and since when (virtual ms).
  std::map<std::string, uint64_t> sessionIgnored_;
  std::map<std::string, uint64_t> permanentIgnored_;
  std::set<std::string> everIgnored_;
  // An ignore command of the running step: the name, and whether for good.
  std::optional<std::pair<std::string, bool>> pendingIgnore_;

  std::map<std::string, std::string> typedFor_;  // token -> correspondent
  size_t sentSeen_ = 0;
  std::map<std::string, uint64_t> lastAnswer_;  // correspondent -> time of the last answer

  // Seen in an IM while Pallion held it, with the time it was first seen so.
  std::map<std::string, uint64_t> adoptedTokens_;
  // Seen first within the recovery journal's save interval before Pallion was killed: the
  // journal may not hold them, and losing them is the bound a kill has.
  std::set<std::string> lostToKill_;
  std::set<std::string> outsideTokens_;  // seen in an IM before any Pallion held it
  bool writeFaultSeen_ = false;
  uint64_t nowBefore_ = 0;
};

}  // namespace campaign
