// The seeded scenario generator: the correspondents and the person act through the demo's script
// commands, and faults strike at random points. Each step is chosen from what the world shows at
// that moment, so the same seed plays the same scenario again.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "campaign/random.h"

namespace campaign {

enum class FaultKind {
  CloseInAdoption,   // the client closes a new IM window while it is being adopted
  CloseInSend,       // the client closes the IM window the person is sending from
  MainWindowGone,    // the client's main window is destroyed
  MdiClientGone,     // the client's MDI client is destroyed
  FolderUnwritable,  // the program folder refuses writes (lifted by a later step)
  DiskFull,          // file writes fail after a few bytes (lifted by a later step)
  DamagedSettings,   // Pallion.ini is overwritten with damaged text
  DamagedList,       // a list file is overwritten with damaged text
  ClockJump,         // the wall clock is set forward or back
  Midnight,          // the wall clock is set to just before midnight
  PallionKilled,     // Pallion's process is killed: none of its shutdown runs
  kCount
};
constexpr size_t kFaultKinds = static_cast<size_t>(FaultKind::kCount);
const char* FaultName(FaultKind kind);
std::optional<FaultKind> FaultByName(const std::string& name);

// What the generator sees before it chooses the next step.
struct WorldView {
  bool clientRunning = false;
  bool signedOn = false;
  bool pallionRunning = false;
  std::vector<std::string> tabs;       // correspondents with a tab (or row) in Pallion
  std::string shown;                   // the correspondent whose IM Pallion shows
  std::vector<std::string> clientIMs;  // correspondents with an IM window of the client
  bool writesFailing = false;          // a folder or disk fault is in force
};

struct Step {
  // Demo script lines, run in order; a fault step carries its fault instead (and may add
  // lines that run after the fault is set up).
  std::vector<std::vector<std::string>> lines;
  std::optional<FaultKind> fault;
  std::vector<std::string> faultArgs;
  bool lifts = false;  // the step lifts the folder and disk faults
  // The step as script text, one line per command ("fault KIND ARGS" for the fault).
  std::string Text() const;
};

// How the scenario's program is set up; chosen once from the seed.
struct ScenarioSetup {
  bool logging = true;
  std::string closeIMs = "0";  // Pallion.ini's CloseIMs: hand IMs back (0) or close them (1)
  bool aol7 = false;
  std::vector<std::string> ignoredAtStart;  // IgnorePerm.lst
  std::vector<std::string> listedMembers;   // ListedMembers.lst
};

// The correspondents of every scenario and the person's own screen name.
const std::vector<std::string>& Correspondents();
inline constexpr const char* kPerson = "Alice";
// The mark in the person's away message, so its answers can be told from other IMs.
inline constexpr const char* kAwayMark = "AwayQ";
// The mark of an automatic answer that a correspondent's own program sends.
inline constexpr const char* kTheirAutoMark = "AutoQ";
// Each message carries a token no other message has: "mQ12Q" written by a correspondent,
// "tQ12Q" typed by the person.
std::string Token(char kind, int number);
// The tokens of the kind found in a text.
std::vector<std::string> TokensIn(const std::string& text, char kind);

class Generator {
 public:
  Generator(uint64_t seed, int steps);

  const ScenarioSetup& Setup() const { return setup_; }
  // The steps before the random ones: settings and files, signing on, starting Pallion.
  std::vector<Step> Prologue();
  // The next random step, or nothing when the scenario has had its steps.
  std::optional<Step> Next(const WorldView& view);
  // The steps that end the scenario: faults lifted, Pallion shut down as its Exit does.
  std::vector<Step> Epilogue(const WorldView& view);

 private:
  std::optional<Step> Choose(const WorldView& view);
  std::optional<Step> ChooseFault(const WorldView& view);
  std::string Message(char kind);
  std::string Anyone();

  Random random_;
  int stepsLeft_;
  int nextToken_ = 1;
  ScenarioSetup setup_;
};

}  // namespace campaign
