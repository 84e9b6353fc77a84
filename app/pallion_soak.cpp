// pallion-soak: the fault-injection campaign. Plays seeded random scenarios of correspondents,
// the person and faults against Pallion on the simulated desktop, checks the invariants after
// every step, and prints a table; each failing seed comes with the command that replays it.
//
//   pallion-soak [--scenarios N] [--first-seed S] [--steps N] [--step-limit-ms MS]
//   pallion-soak --seed S [--steps N]     one scenario, with its script and transcript
#include <unistd.h>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

#include "campaign/scenario.h"

namespace {

// What a crash or a hang prints: the seed and its replay command, made before the scenario runs
// (a signal handler may only write).
char gReplayLine[512] = "";
std::atomic<int64_t> gDeadline{0};  // steady-clock ms by which the scenario must end; 0: none

void SayReplay(const char* what) {
  ssize_t ignored = ::write(2, what, std::strlen(what));
  ignored = ::write(2, gReplayLine, std::strlen(gReplayLine));
  (void)ignored;
}

void OnCrash(int signal) {
  SayReplay("\npallion-soak: the program crashed in ");
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void OnSanitizerReport() {
  SayReplay("\npallion-soak: a sanitizer report ended ");
}

}  // namespace

// Present in builds with a sanitizer; its report ends the process without a signal.
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Ends the run when a scenario hangs: its steps are checked one by one, but a step that never
// returns can only be caught from outside it.
void Watch() {
  for (;;) {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const int64_t deadline = gDeadline.load();
    if (deadline != 0 && NowMs() > deadline) {
      SayReplay("\npallion-soak: a scenario hangs: ");
      std::_Exit(3);
    }
  }
}

bool Number(const std::string& text, uint64_t& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  value = std::stoull(text);
  return true;
}

int Usage() {
  std::cerr << "usage: pallion-soak [--scenarios N] [--first-seed S] [--steps N] "
               "[--step-limit-ms MS]\n"
               "       pallion-soak --seed S [--steps N]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  uint64_t scenarios = 10000, first = 1, steps = 30, limitMs = 30000, seed = 0;
  bool one = false;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    uint64_t value = 0;
    if (i + 1 >= argc || !Number(argv[i + 1], value)) return Usage();
    ++i;
    if (option == "--scenarios") {
      scenarios = value;
    } else if (option == "--first-seed") {
      first = value;
    } else if (option == "--steps") {
      steps = value;
    } else if (option == "--step-limit-ms") {
      limitMs = value;
    } else if (option == "--seed") {
      seed = value;
      one = true;
    } else {
      return Usage();
    }
  }
  campaign::ScenarioOptions options;
  options.steps = static_cast<int>(steps);
  options.limits.stepWallTime = std::chrono::milliseconds(limitMs);
  for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL}) std::signal(signal, OnCrash);
  if (__sanitizer_set_death_callback != nullptr) __sanitizer_set_death_callback(OnSanitizerReport);
  std::thread(Watch).detach();
  // A step over the limit is reported when it ends; one that runs on for twice as long is a hang.
  options.stepStarting = [limitMs] { gDeadline = NowMs() + 2 * static_cast<int64_t>(limitMs); };
  auto starting = [&](uint64_t s) {
    std::snprintf(gReplayLine, sizeof gReplayLine, "seed %llu; replay: %s\n",
                  static_cast<unsigned long long>(s), campaign::ReplayCommand(s, options).c_str());
  };

  if (one) {
    options.echo = &std::cout;
    starting(seed);
    const campaign::ScenarioResult result = campaign::RunScenario(seed, options);
    std::cout << "\nseed " << seed << ": " << result.steps << " steps, " << result.violations.size()
              << " violations\n";
    return result.violations.empty() ? 0 : 1;
  }
  uint64_t done = 0;
  const auto totals =
      campaign::RunCampaign(first, static_cast<int>(scenarios), options, [&](uint64_t s) {
        starting(s);
        if (done > 0 && done % 500 == 0) {
          std::cerr << "pallion-soak: " << done << " scenarios played\n";
        }
        ++done;
      });
  campaign::PrintTable(totals, options, std::cout);
  return totals.failed.empty() ? 0 : 1;
}
