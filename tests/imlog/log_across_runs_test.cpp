// An IM adopted again reaches the log once, under one begin line: after the program's exit and
// a new start (the first part logged at the first exit, the rest at the second), and after
// Reset IMs within one run.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "app/demo_runner.h"
#include "app/demo_world.h"
#include "platform/files.h"
#include "support/host_files.h"

namespace {

namespace fs = std::filesystem;

// Plays the script in a fresh program folder; Carl's log afterwards.
std::string CarlsLogAfter(const std::string& script) {
  const fs::path folder =
      fs::temp_directory_path() / ("pallion-runs-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::ostringstream out;
  {
    app::DemoOptions options;
    options.folder = folder.string();
    app::DemoWorld world(options, out);
    app::DemoRunner runner(world, out);
    EXPECT_EQ(runner.RunScript(script, "runs.scn"), 0) << out.str();
  }
  std::string log;
  for (const auto& file : fs::directory_iterator(folder / "IM Logs" / "Carl")) {
    log += platform::files::ReadHostFile(file.path()).value_or("");
  }
  fs::remove_all(folder);
  return log;
}

TEST(ImLogAcrossRuns, AnIMHandedBackAndAdoptedAgainIsLoggedOnce) {
  const std::string log = CarlsLogAfter(R"(setting LogIMs 1
setting CloseIMs 0
signon Alice
start-pallion
im Carl "first part"
wait 2s
menu pallion Exit
wait 4s
start-pallion
wait 2s
expect tabs Carl
im Carl "second part"
wait 2s
menu pallion Exit
wait 4s
)");
  EXPECT_EQ(testfiles::Occurrences(log, "first part"), 1u) << log;
  EXPECT_EQ(testfiles::Occurrences(log, "second part"), 1u) << log;
  EXPECT_EQ(testfiles::Occurrences(log, " Begin IM - "), 2u) << log;
  EXPECT_EQ(testfiles::Occurrences(log, " End IM - "), 2u) << log;
  // The second entry holds only what came after the first exit.
  EXPECT_GT(log.find("second part"), log.find(" End IM - ")) << log;
}

TEST(ImLogAcrossRuns, AnIMResetWithinOneRunKeepsOneBeginLineAndIsLogged) {
  const std::string log = CarlsLogAfter(R"(setting LogIMs 1
setting CloseIMs 1
signon Alice
start-pallion
im Carl "first part"
wait 2s
menu pallion "Reset IMs"
wait 2s
expect tabs Carl
menu pallion Exit
wait 4s
)");
  EXPECT_EQ(testfiles::Occurrences(log, "first part"), 1u) << log;
  EXPECT_EQ(testfiles::Occurrences(log, " Begin IM - "), 1u) << log;
  EXPECT_EQ(testfiles::Occurrences(log, " End IM - "), 1u) << log;
}

}  // namespace
