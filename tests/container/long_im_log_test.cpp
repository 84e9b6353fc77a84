// A conversation with lines far longer than any first guess of a line's size reaches the log
// whole: the IM is read back from the client's conversation view line by line.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win32.h"
#include "support/container_fixture.h"
#include "support/host_files.h"

namespace {

using namespace platform;
using containerfix::World;

class LongIMLog : public ::testing::TestWithParam<clientsim::Layout> {};

INSTANTIATE_TEST_SUITE_P(Clients, LongIMLog, containerfix::BothClients(), containerfix::ClientName);

TEST_P(LongIMLog, A100KbIMIsLoggedWholeWhenTheContainerClosesIt) {
  auto options = containerfix::OptionsFor(GetParam());
  options.settings = {{"LogIMs", "1"}};
  World world(options);
  std::string words;
  while (words.size() < 100 * 1024) words += "longword" + std::to_string(words.size()) + " ";
  const std::string lines = std::string(3000, 'x') + "<BR>" + std::string(1500, 'y');
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "short"), 0u);
  world.client->ReceiveIM("Bob", words);
  world.client->ReceiveIM("Bob", lines);
  world.desktop.RunFor(2000);

  // The person closes the container with its close box: every IM is logged, then closed.
  SendMessage(world.container, WM_CLOSE, 0, 0);
  world.desktop.RunFor(1000);
  const std::filesystem::path folder = world.ProgramPath("\\IM Logs\\Bob");
  ASSERT_TRUE(std::filesystem::is_directory(folder));
  const std::string log = testfiles::ReadAllIn(folder);
  EXPECT_NE(log.find("Bob: short"), std::string::npos);
  EXPECT_NE(log.find("Bob: " + words.substr(0, words.size() - 1)), std::string::npos)
      << "the 100 KB line, whole";
  EXPECT_NE(log.find("Bob: " + std::string(3000, 'x')), std::string::npos);
  EXPECT_NE(log.find(std::string(1500, 'y')), std::string::npos);
}

}  // namespace
