#include "campaign/scenario.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iomanip>
#include <sstream>

#include "app/demo_runner.h"
#include "app/demo_world.h"
#include "campaign/faults.h"
#include "platform/files.h"

namespace campaign {

namespace fs = std::filesystem;

namespace {

// Scenarios write many small files, each flushed to its disk: a folder in memory, when the
// system has one, keeps a campaign from waiting on the disk.
fs::path DefaultWorkFolder() {
  std::error_code ec;
  const fs::path memory = "/dev/shm";
  if (fs::is_directory(memory, ec) && ::access(memory.c_str(), W_OK) == 0) return memory;
  return fs::temp_directory_path();
}

// A fresh folder for the scenario: "Pallion" (the program folder) and "outside" (the working
// folder while it runs); both are checked for stray writes.
fs::path MakeRoot(const ScenarioOptions& options, uint64_t seed) {
  const fs::path base =
      options.workFolder.empty() ? DefaultWorkFolder() : fs::path(options.workFolder);
  const fs::path root =
      base / ("pallion-campaign-" + std::to_string(::getpid()) + "-" + std::to_string(seed));
  std::error_code ec;
  fs::remove_all(root, ec);
  fs::create_directories(root / "Pallion", ec);
  fs::create_directories(root / "outside", ec);
  return root;
}

void RemoveRoot(const fs::path& root) {
  std::error_code ec;
  // A folder left unwritable by a fault is made writable so it can go.
  for (auto it = fs::recursive_directory_iterator(root, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(root, ec);
}

// The working folder of the process, set for the scenario and put back after it.
class WorkingFolder {
 public:
  explicit WorkingFolder(const fs::path& folder) {
    std::error_code ec;
    previous_ = fs::current_path(ec);
    fs::current_path(folder, ec);
  }
  ~WorkingFolder() {
    std::error_code ec;
    fs::current_path(previous_, ec);
  }

 private:
  fs::path previous_;
};

}  // namespace

ScenarioResult RunScenario(uint64_t seed, const ScenarioOptions& options) {
  ScenarioResult result;
  result.seed = seed;
  Generator generator(seed, options.steps);
  const fs::path root = MakeRoot(options, seed);
  {
    WorkingFolder working(root / "outside");
    std::ostringstream quiet;
    std::ostream& out = options.echo != nullptr ? *options.echo : quiet;
    app::DemoOptions demo;
    demo.layout = generator.Setup().aol7 ? clientsim::Layout::Aol7 : clientsim::Layout::Aol6;
    demo.folder = (root / "Pallion").string();
    // Looking at the log folder as time passes only serves a transcript someone reads.
    demo.reportFiles = options.echo != nullptr;
    app::DemoWorld world(demo, out);
    app::DemoRunner runner(world, out);
    Faults faults(world, demo.folder);
    Invariants invariants(world, faults, generator.Setup(), root.string(), options.limits);

    int number = 0;
    auto play = [&](const Step& step) {
      ++number;
      result.script += step.Text();
      if (options.echo != nullptr) *options.echo << "--- step " << number << ":\n" << step.Text();
      if (options.stepStarting) options.stepStarting();
      invariants.BeforeStep(number, step);
      const auto start = std::chrono::steady_clock::now();
      if (step.fault) {
        ++result.faults[static_cast<size_t>(*step.fault)];
        world.Say(faults.Apply(step));
      }
      if (step.lifts) faults.Lift();
      bool completed = true;
      for (const auto& line : step.lines) {
        std::string error;
        if (!runner.Run(line, error)) {
          ++result.refused;
          completed = false;
          if (options.echo != nullptr) *options.echo << "(refused: " << error << ")\n";
          break;
        }
      }
      // An answer queued for a box the step did not bring is not left for a later step's box.
      runner.ForgetBoxAnswers();
      invariants.AfterStep(number, step, completed, std::chrono::steady_clock::now() - start);
    };
    for (const Step& step : generator.Prologue()) play(step);
    while (auto step = generator.Next(invariants.View())) play(*step);
    for (const Step& step : generator.Epilogue(invariants.View())) play(step);
    faults.Lift();
    invariants.AtEnd(number);
    result.steps = number;
    result.violations = invariants.Violations();
    if (options.echo != nullptr) {
      for (const auto& v : result.violations) {
        *options.echo << "VIOLATION at step " << v.step << " (" << v.invariant << "): " << v.detail
                      << "\n";
      }
    }
  }
  platform::files::LimitWrites(std::nullopt);
  RemoveRoot(root);
  return result;
}

std::string ReplayCommand(uint64_t seed, const ScenarioOptions& options) {
  return "pallion-soak --seed " + std::to_string(seed) + " --steps " +
         std::to_string(options.steps);
}

CampaignTotals RunCampaign(uint64_t first, int count, const ScenarioOptions& options,
                           const std::function<void(uint64_t seed)>& starting) {
  CampaignTotals totals;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) {
    const uint64_t seed = first + static_cast<uint64_t>(i);
    if (starting) starting(seed);
    ScenarioResult r = RunScenario(seed, options);
    ++totals.scenarios;
    totals.steps += r.steps;
    totals.refused += r.refused;
    for (size_t k = 0; k < kFaultKinds; ++k) totals.faults[k] += r.faults[k];
    if (!r.violations.empty()) totals.failed.push_back(std::move(r));
  }
  totals.wallSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return totals;
}

void PrintTable(const CampaignTotals& totals, const ScenarioOptions& options, std::ostream& out) {
  size_t violations = 0;
  for (const auto& r : totals.failed) violations += r.violations.size();
  auto row = [&](const std::string& what, long value) {
    out << "| " << std::left << std::setw(28) << what << " | " << std::right << std::setw(9)
        << value << " |\n";
  };
  out << "| " << std::left << std::setw(28) << "what"
      << " | " << std::right << std::setw(9) << "count"
      << " |\n";
  out << "|------------------------------|-----------|\n";
  row("scenarios", totals.scenarios);
  row("steps", totals.steps);
  row("steps refused", totals.refused);
  long faults = 0;
  for (size_t k = 0; k < kFaultKinds; ++k) {
    row(std::string("fault: ") + FaultName(static_cast<FaultKind>(k)), totals.faults[k]);
    faults += totals.faults[k];
  }
  row("faults injected", faults);
  row("invariant violations", static_cast<long>(violations));
  row("scenarios with violations", static_cast<long>(totals.failed.size()));
  out << "wall time: " << std::fixed << std::setprecision(1) << totals.wallSeconds << " s\n";
  for (const auto& r : totals.failed) {
    out << "\nseed " << r.seed << ":\n";
    for (const auto& v : r.violations) {
      out << "  step " << v.step << " (" << v.invariant << "): " << v.detail << "\n";
    }
    out << "  replay: " << ReplayCommand(r.seed, options) << "\n";
  }
}

}  // namespace campaign
