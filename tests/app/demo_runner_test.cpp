#include "app/demo_runner.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <atomic>
#include <filesystem>
#include <sstream>

#include "app/demo_world.h"
#include "platform/files.h"

namespace {

std::string NewFolder() {
  static std::atomic<int> counter{0};
  const auto path =
      std::filesystem::temp_directory_path() /
      ("pallion-demo-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  return path.string();
}

class Demo : public ::testing::Test {
 protected:
  Demo() : folder(NewFolder()) {
    options.folder = folder;
    world = std::make_unique<app::DemoWorld>(options, out);
    runner = std::make_unique<app::DemoRunner>(*world, out);
  }
  ~Demo() override {
    runner.reset();
    world.reset();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  int Play(const std::string& script) { return runner->RunScript(script, "test.scn"); }

  std::string folder;
  app::DemoOptions options;
  std::ostringstream out;
  std::unique_ptr<app::DemoWorld> world;
  std::unique_ptr<app::DemoRunner> runner;
};

TEST_F(Demo, TheFolderIsPreparedForTheProgram) {
  for (const char* sub : {"IM Logs", "Sounds", "WallPapers", "Fades", "Messages", "MessagesPer"}) {
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(folder) / sub)) << sub;
  }
  for (const char* sound : {"Click.icp", "Menu.icp", "Chat.icp"}) {
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "Sounds" / sound));
  }
  EXPECT_TRUE(
      std::filesystem::exists(std::filesystem::path(folder) / "WallPapers" / "BrickBig.gif"));
}

TEST_F(Demo, AShortScenarioRunsEndToEnd) {
  const int code = Play(R"(setting LogIMs 1
setting Style 1
signon Alice
start-pallion
expect pallion running
expect container hidden
im Bob "Hi Alice"
wait 3s
im Carl "Lunch?"
wait 3s
expect tabs Bob Carl
expect container visible
expect sound Chat.icp
switch-to Bob
expect shown Bob
type-im "Hello Bob"
key enter
wait 1s
expect sent Bob "Hello Bob"
menu program Options Style "List Box"
switch-to Carl
expect shown Carl
quit
wait 4s
expect pallion ended
expect file "IM Logs/Bob/4-26-2001.txt" "Hello Bob"
expect file "IM Logs\Carl\4-26-2001.txt" "Lunch?"
)");
  EXPECT_EQ(code, 0) << out.str();
  const std::string transcript = out.str();
  // The caption carries the client's unread mark while the new IM has not been read yet.
  EXPECT_TRUE(
      transcript.find("Pallion adopts the IM window \" IM From: Bob\"") != std::string::npos ||
      transcript.find("Pallion adopts the IM window \">IM From: Bob\"") != std::string::npos)
      << transcript;
  EXPECT_NE(transcript.find("tabs: Bob | Carl"), std::string::npos);
  EXPECT_NE(transcript.find("the client sends an IM to Bob: \"Hello Bob\""), std::string::npos);
  EXPECT_NE(transcript.find("file written: IM Logs\\Bob\\4-26-2001.txt"), std::string::npos);
  EXPECT_NE(transcript.find("Pallion has ended"), std::string::npos);
}

TEST_F(Demo, AnExpectationThatDoesNotHoldStopsTheRunNamingTheLine) {
  const int code = Play("signon Alice\nstart-pallion\n\n# no IM yet\nexpect tabs Bob\ntree\n");
  EXPECT_EQ(code, 1);
  EXPECT_NE(out.str().find("test.scn: line 5: 'expect tabs Bob' does not hold: the tabs are none"),
            std::string::npos)
      << out.str();
}

TEST_F(Demo, ExpectationsBeforeTheProgramRunsFail) {
  EXPECT_EQ(Play("expect container visible\n"), 1);
  EXPECT_NE(out.str().find("line 1: 'expect container visible' does not hold: Pallion is not "
                           "running"),
            std::string::npos)
      << out.str();
}

TEST_F(Demo, BadLinesAreErrorsWithTheirNumbers) {
  EXPECT_EQ(Play("signon Alice\nfrobnicate now\n"), 1);
  EXPECT_NE(out.str().find("test.scn: line 2: unknown command 'frobnicate'"), std::string::npos);
  out.str("");
  EXPECT_EQ(Play("wait soon\n"), 1);
  EXPECT_NE(out.str().find("line 1: not a duration: 'soon'"), std::string::npos);
  out.str("");
  EXPECT_EQ(Play("expect\n"), 1);
  EXPECT_NE(out.str().find("line 1: usage: expect"), std::string::npos);
  out.str("");
  EXPECT_EQ(Play("expect weather sunny\n"), 1);
  EXPECT_NE(out.str().find("line 1: unknown expectation 'weather'"), std::string::npos);
  out.str("");
  EXPECT_EQ(Play("answer-box Maybe\n"), 1);
  EXPECT_NE(out.str().find("line 1: answer with OK, Yes, No or Cancel"), std::string::npos);
  out.str("");
  EXPECT_EQ(Play("im Bob \"not closed\n"), 2);
  EXPECT_NE(out.str().find("test.scn: line 1: a quoted text is not closed"), std::string::npos);
}

TEST_F(Demo, ClickingAControlByNameAndIndex) {
  ASSERT_EQ(Play("signon Alice\nstart-pallion\nim Bob hi\nwait 3s\n"), 0) << out.str();
  EXPECT_EQ(Play("click control AOButtonMiddle 4\n"), 0) << out.str();
  EXPECT_NE(out.str().find("the person clicks AOButtonMiddle(4)"), std::string::npos);
  EXPECT_EQ(Play("click control NoSuchButton\n"), 1);
  EXPECT_NE(out.str().find("Pallion has no control NoSuchButton"), std::string::npos);
  EXPECT_EQ(Play("click control AOButtonMiddle x\n"), 1);
  EXPECT_NE(out.str().find("not an index: 'x'"), std::string::npos);
}

TEST_F(Demo, ThePallionMenuOnTheClientsMenuBar) {
  ASSERT_EQ(Play("signon Alice\nstart-pallion\nim Bob hi\nwait 3s\nexpect tabs Bob\n"), 0)
      << out.str();
  EXPECT_EQ(Play("menu pallion \"Reset IMs\"\nwait 2s\nexpect tabs Bob\n"), 0) << out.str();
  EXPECT_EQ(Play("menu pallion Nonsense\n"), 1);
  EXPECT_NE(out.str().find("no enabled item \"Nonsense\""), std::string::npos);
  EXPECT_EQ(Play("menu pallion Exit\nwait 4s\nexpect pallion ended\n"), 0) << out.str();
}

TEST_F(Demo, AnsweringTheProgramsMessageBox) {
  // "Check for Updates" before sign-on asks the person to sign on first.
  ASSERT_EQ(Play("signon Alice\nstart-pallion\nsignoff\n"), 0) << out.str();
  EXPECT_EQ(Play("answer-box OK\nmenu pallion \"Check for Updates\"\n"), 0) << out.str();
  EXPECT_NE(out.str().find("the person answers the message box \"Not signed on\""),
            std::string::npos)
      << out.str();
}

TEST_F(Demo, AMessageBoxNobodyAnswersIsClosedInTime) {
  ASSERT_EQ(Play("signon Alice\nstart-pallion\nsignoff\n"), 0) << out.str();
  EXPECT_EQ(Play("menu pallion \"Check for Updates\"\nexpect pallion running\n"), 0) << out.str();
  EXPECT_NE(out.str().find("nobody answers the message box \"Not signed on\""), std::string::npos)
      << out.str();
}

TEST_F(Demo, CloseIMAfterTheClientClosedAnIMClosesOnlyTheIMItAsksAbout) {
  // Carl's tab, left by the client's own close, goes when chosen: the question and the close
  // then concern Bob, the IM shown.
  const int code = Play(R"(setting Style 1
signon Alice
start-pallion
im Bob "one"
wait 2s
im Carl "two"
wait 2s
user-closes Carl
wait 1s
switch-to Carl
expect tabs Bob
expect shown Bob
answer-box Yes
click control AOButtonCloseIM
wait 1s
expect container hidden
)");
  EXPECT_EQ(code, 0) << out.str();
  EXPECT_NE(out.str().find("the person answers the message box \"Close Bob's IM?\""),
            std::string::npos)
      << out.str();
  EXPECT_EQ(out.str().find("Close Carl's IM?"), std::string::npos) << out.str();
}

TEST(DemoScenario, TheDefaultScenarioRunsToItsEnd) {
  const std::string folder = NewFolder();
  std::ostringstream out;
  {
    app::DemoOptions options;
    options.folder = folder;
    app::DemoWorld world(options, out);
    app::DemoRunner runner(world, out);
    EXPECT_EQ(runner.RunScript(app::DefaultScenario(), "default scenario"), 0) << out.str();
  }
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

}  // namespace
