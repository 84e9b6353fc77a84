#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/demo_runner.h"
#include "campaign/faults.h"
#include "campaign/invariants.h"
#include "campaign/scenario.h"
#include "container/main_window.h"
#include "platform/win32.h"

namespace {

namespace fs = std::filesystem;
using campaign::Step;

std::string Describe(const std::vector<campaign::Violation>& violations) {
  std::string text;
  for (const auto& v : violations) {
    text += "step " + std::to_string(v.step) + " (" + v.invariant + "): " + v.detail + "\n";
  }
  return text;
}

// The fixed sample `make test` plays: ten groups of ten seeds, so ctest can run them side by side.
class Sample : public ::testing::TestWithParam<int> {};

TEST_P(Sample, ScenariosHoldEveryInvariant) {
  campaign::ScenarioOptions options;
  const uint64_t first = 1 + static_cast<uint64_t>(GetParam()) * 10;
  // Said before each scenario, so that a crash or a sanitizer report names its seed.
  const auto totals = campaign::RunCampaign(first, 10, options, [&](uint64_t seed) {
    std::cerr << "scenario " << campaign::ReplayCommand(seed, options) << "\n";
  });
  std::ostringstream table;
  campaign::PrintTable(totals, options, table);
  EXPECT_TRUE(totals.failed.empty()) << table.str();
  EXPECT_EQ(totals.scenarios, 10);
}

INSTANTIATE_TEST_SUITE_P(Seeds, Sample, ::testing::Range(0, 10));

// Seeds a long soak once found violating: the client closing the shown IM while the person
// reaches for it (and the step's later waits, which then never run), the client's MDI client or
// main window gone while the IMs float in Pallion's own window (then Reset IMs, a kill, or nothing
// more from the person).
class Found : public ::testing::TestWithParam<uint64_t> {};

TEST_P(Found, ScenarioHoldsEveryInvariant) {
  campaign::ScenarioOptions options;
  options.steps = 30;
  const auto result = campaign::RunScenario(GetParam(), options);
  EXPECT_TRUE(result.violations.empty()) << campaign::ReplayCommand(GetParam(), options) << "\n"
                                         << Describe(result.violations);
}

INSTANTIATE_TEST_SUITE_P(Soak, Found, ::testing::Values(5001, 2118, 8416, 5727, 8768, 3361));

TEST(Campaign, ASeedPlaysTheSameScenarioAgain) {
  campaign::ScenarioOptions options;
  options.steps = 15;
  const auto a = campaign::RunScenario(4242, options);
  const auto b = campaign::RunScenario(4242, options);
  EXPECT_EQ(a.script, b.script);
  EXPECT_EQ(a.faults, b.faults);
  EXPECT_NE(a.script, campaign::RunScenario(4243, options).script);
}

TEST(Campaign, TheTableNamesAFailingSeedWithItsReplayCommand) {
  campaign::CampaignTotals totals;
  totals.scenarios = 2;
  campaign::ScenarioResult failed;
  failed.seed = 77;
  failed.violations.push_back({3, "windows", "the IM window of Bob was destroyed"});
  totals.failed.push_back(failed);
  campaign::ScenarioOptions options;
  options.steps = 12;
  std::ostringstream out;
  campaign::PrintTable(totals, options, out);
  EXPECT_NE(out.str().find("| invariant violations         |         1 |"), std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("replay: pallion-soak --seed 77 --steps 12"), std::string::npos);
}

// A world as a scenario has it, for checking that each invariant notices its fault.
class Checks : public ::testing::Test {
 protected:
  Checks() : root(fs::temp_directory_path() / ("pallion-checks-" + std::to_string(::getpid()))) {
    fs::remove_all(root);
    fs::create_directories(root / "Pallion");
    fs::create_directories(root / "outside");
    app::DemoOptions demo;
    demo.folder = (root / "Pallion").string();
    world = std::make_unique<app::DemoWorld>(demo, out);
    runner = std::make_unique<app::DemoRunner>(*world, out);
    faults = std::make_unique<campaign::Faults>(*world, demo.folder);
    setup.logging = true;
    setup.ignoredAtStart = {"Eve"};
    invariants = std::make_unique<campaign::Invariants>(*world, *faults, setup, root.string(),
                                                        campaign::Limits{});
    for (auto line : std::vector<std::vector<std::string>>{{"setting", "LogIMs", "1"},
                                                           {"signon", "Alice"},
                                                           {"start-pallion"},
                                                           {"im", "Bob", "hi mQ1Q"},
                                                           {"wait", "1s"}}) {
      Play(Lines({line}));
    }
  }
  ~Checks() override {
    invariants.reset();
    faults.reset();
    runner.reset();
    world.reset();
    fs::remove_all(root);
  }
  static Step Lines(std::vector<std::vector<std::string>> lines) {
    Step step;
    step.lines = std::move(lines);
    return step;
  }
  void Play(const Step& step) {
    invariants->BeforeStep(++number, step);
    for (const auto& line : step.lines) {
      std::string error;
      ASSERT_TRUE(runner->Run(line, error)) << error;
    }
    invariants->AfterStep(number, step, true, std::chrono::milliseconds(1));
  }
  bool Reported(const std::string& invariant) const {
    for (const auto& v : invariants->Violations()) {
      if (v.invariant == invariant) return true;
    }
    return false;
  }

  fs::path root;
  std::ostringstream out;
  std::unique_ptr<app::DemoWorld> world;
  std::unique_ptr<app::DemoRunner> runner;
  std::unique_ptr<campaign::Faults> faults;
  campaign::ScenarioSetup setup;
  std::unique_ptr<campaign::Invariants> invariants;
  int number = 0;
};

TEST_F(Checks, AQuietWorldHoldsEveryInvariant) {
  Play(Lines({{"switch-to", "Bob"}, {"type-im", "re tQ2Q"}, {"key", "enter"}, {"wait", "2s"}}));
  Play(Lines({{"user-closes", "Bob"}, {"wait", "1s"}}));
  invariants->AtEnd(++number);
  EXPECT_TRUE(invariants->Violations().empty()) << Describe(invariants->Violations());
}

TEST_F(Checks, AnIMWindowThatVanishesWithoutTheClosingIsReported) {
  const Step wait = Lines({{"wait", "500ms"}});
  invariants->BeforeStep(++number, wait);
  {
    // The program closes Bob's IM of its own accord.
    platform::sim::Desktop::ProcessScope scope(world->Desktop(), world->ProgramProcess());
    platform::SendMessage(world->Client().IMWindow("Bob"), platform::WM_CLOSE, 0, 0);
  }
  ASSERT_EQ(world->Client().IMWindow("Bob"), 0u);
  invariants->AfterStep(number, wait, true, std::chrono::milliseconds(1));
  EXPECT_TRUE(Reported("windows")) << Describe(invariants->Violations());
}

TEST_F(Checks, AnIMWindowLeftOutsideBothContainerAndClientIsReported) {
  {
    platform::sim::Desktop::ProcessScope scope(world->Desktop(), world->ClientProcess());
    platform::SetParent(world->Client().IMWindow("Bob"), 0);
  }
  Play(Lines({{"wait", "100ms"}}));
  EXPECT_TRUE(Reported("windows")) << Describe(invariants->Violations());
}

TEST_F(Checks, TextSentToAnotherCorrespondentIsReported) {
  Play(Lines({{"im", "Carl", "hello mQ3Q"}, {"wait", "1s"}, {"switch-to", "Bob"}}));
  // Typed for Bob, then sent by hand to Carl.
  invariants->BeforeStep(++number, Lines({{"type-im", "for bob tQ9Q"}}));
  Play(Lines({{"user-sends", "Carl", "for bob tQ9Q"}, {"wait", "1s"}}));
  EXPECT_TRUE(Reported("sending")) << Describe(invariants->Violations());
}

TEST_F(Checks, AnAutomaticAnswerToAnIgnoredNameOrToAnAutomaticAnswerIsReported) {
  Play(Lines({{"im", "Carl", "AutoQ I am away\r<A HREF=\"x\">Pallion</A>"}, {"wait", "1s"}}));
  Play(Lines({{"user-sends", "Carl", "AwayQ back soon"}, {"wait", "1s"}}));
  EXPECT_TRUE(Reported("answering")) << Describe(invariants->Violations());
}

TEST_F(Checks, ALogEntryCutShortOrWrittenTwiceIsReported) {
  fs::create_directories(root / "Pallion" / "IM Logs" / "Bob");
  std::ofstream(root / "Pallion" / "IM Logs" / "Bob" / "x.txt", std::ios::binary)
      << " Begin IM - 4/26/2001     9:00 AM\r\n Bob: mQ1Q\r\n";
  Play(Lines({{"wait", "100ms"}}));
  EXPECT_TRUE(Reported("logging")) << Describe(invariants->Violations());
}

TEST_F(Checks, AConversationMissingFromTheLogIsReportedAtTheEnd) {
  // Bob's conversation was held by Pallion; the log is emptied behind its back.
  Play(Lines({{"menu", "pallion", "Exit"}, {"wait", "4s"}}));
  fs::remove_all(root / "Pallion" / "IM Logs" / "Bob");
  invariants->AtEnd(++number);
  EXPECT_TRUE(Reported("logging")) << Describe(invariants->Violations());
}

TEST_F(Checks, AnEmptySettingsFileAndAWriteOutsideTheFolderAreReported) {
  std::ofstream(root / "Pallion" / "Pallion.ini", std::ios::trunc);
  std::ofstream(root / "outside" / "stray.txt") << "x";
  Play(Lines({{"wait", "100ms"}}));
  int files = 0;
  for (const auto& v : invariants->Violations()) files += v.invariant == "files";
  EXPECT_EQ(files, 2) << Describe(invariants->Violations());
}

}  // namespace
