// One seeded scenario played from start to end with its invariants checked after every step,
// and a campaign of many, summed up in a table.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "campaign/generator.h"
#include "campaign/invariants.h"

namespace campaign {

struct ScenarioOptions {
  int steps = 30;  // random steps between the prologue and the epilogue
  Limits limits;
  // Where each scenario gets its folders (a fresh one below it); "": a folder in memory
  // (/dev/shm) when there is one, else the system's temp folder.
  std::string workFolder;
  // The transcript and script of the run go here as they happen (nullptr: kept quiet).
  std::ostream* echo = nullptr;
  // Told before each step begins (a watchdog can time the step).
  std::function<void()> stepStarting;
};

struct ScenarioResult {
  uint64_t seed = 0;
  int steps = 0;
  int refused = 0;  // steps whose command could not run (no such tab, nothing shown, ...)
  std::array<int, kFaultKinds> faults{};
  std::vector<Violation> violations;
  std::string script;  // every step as script text, in order
};

ScenarioResult RunScenario(uint64_t seed, const ScenarioOptions& options);

// The one-line command that plays a seed again.
std::string ReplayCommand(uint64_t seed, const ScenarioOptions& options);

struct CampaignTotals {
  int scenarios = 0;
  long steps = 0;
  long refused = 0;
  std::array<long, kFaultKinds> faults{};
  std::vector<ScenarioResult> failed;  // scenarios with a violation
  double wallSeconds = 0;
};

// Runs `count` scenarios with seeds first, first + 1, ...; `starting` is told each seed first.
CampaignTotals RunCampaign(uint64_t first, int count, const ScenarioOptions& options,
                           const std::function<void(uint64_t seed)>& starting = {});

// The table: scenarios, steps, faults injected by kind, violations; then each failing seed with
// its violations and its replay command.
void PrintTable(const CampaignTotals& totals, const ScenarioOptions& options, std::ostream& out);

}  // namespace campaign
