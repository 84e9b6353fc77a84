#include "app/demo_runner.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/demo_commands.h"
#include "app/demo_world.h"
#include "platform/files.h"
#include "platform/sim/web_server.h"
#include "platform/win32.h"
#include "widgets/about.h"

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
    Restart();
  }
  ~Demo() override {
    runner.reset();
    world.reset();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  int Play(const std::string& script) { return runner->RunScript(script, "test.scn"); }
  // A new world and runner with the options as they are now.
  void Restart() {
    runner.reset();
    world.reset();  // the old world leaves the desktop before the new one takes it
    world = std::make_unique<app::DemoWorld>(options, out);
    runner = std::make_unique<app::DemoRunner>(*world, out);
  }

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
  const struct {
    const char* script;
    int code;
    const char* error;
  } cases[] = {
      {"signon Alice\nfrobnicate now\n", 1, "test.scn: line 2: unknown command 'frobnicate'"},
      {"wait soon\n", 1, "line 1: not a duration: 'soon'"},
      {"expect\n", 1, "line 1: usage: expect"},
      {"expect weather sunny\n", 1, "line 1: unknown expectation 'weather'"},
      {"answer-box Maybe\n", 1, "line 1: answer with OK, Yes, No or Cancel"},
      {"im Bob \"not closed\n", 2, "test.scn: line 1: a quoted text is not closed"},
  };
  for (const auto& c : cases) {
    out.str("");
    EXPECT_EQ(Play(c.script), c.code) << c.script;
    EXPECT_NE(out.str().find(c.error), std::string::npos) << out.str();
  }
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

TEST_F(Demo, TheControlPanelIsDrivenByTabTypingAndChoosingAndSaysWhatIsMissing) {
  options.shots = folder + "/shots";
  Restart();
  // A conversation the writer logs when its IM is closed.
  ASSERT_EQ(Play("setting LogIMs 1\nsignon Alice\nstart-pallion\n"
                 "im Bob \"the blue kite flies\"\nwait 3s\n"
                 "answer-box Yes\nclick control AOButtonCloseIM\nwait 2s\n"),
            0)
      << out.str();
  EXPECT_EQ(Play("settings-tab Logging\n"), 1);
  EXPECT_NE(out.str().find("the Control Panel is not open"), std::string::npos);
  ASSERT_EQ(Play("menu pallion \"Control Panel\"\nsettings-tab logging\n"
                 "type-into txtSearch \"blue kite\"\nkey enter\n"
                 "expect text ctListSearchHits \"the blue kite flies\"\n"
                 "choose ctListSearchHits Bob\nexpect text txtIMLog \"blue kite\"\n"
                 "click control AOButtonIMLog 4\nexpect printed 1\n"),
            0)
      << out.str();
  EXPECT_TRUE(std::filesystem::exists(folder + "/shots/print-001-page-001.png"));
  EXPECT_EQ(Play("expect printed 2\n"), 1);
  EXPECT_EQ(Play("choose ctListIMLogFolder Nobody\n"), 1);
  EXPECT_NE(out.str().find("ctListIMLogFolder has no item \"Nobody\""), std::string::npos);
  EXPECT_EQ(Play("choose txtSearch Bob\n"), 1);
  EXPECT_NE(out.str().find("the control txtSearch is not a list"), std::string::npos);
  EXPECT_EQ(Play("type-into lstFades x\n"), 1);
  EXPECT_NE(out.str().find("the control lstFades is not visible"), std::string::npos);
  EXPECT_EQ(Play("settings-tab Nonsense\n"), 1);
  EXPECT_NE(out.str().find("the Control Panel has no tab Nonsense"), std::string::npos);
}

TEST_F(Demo, TheAboutWindowGoesWithTheProgram) {
  ASSERT_EQ(Play("signon Alice\nstart-pallion\nmenu pallion About\n"), 0) << out.str();
  ASSERT_NE(widgets::frmAbout(), nullptr);
  EXPECT_TRUE(platform::IsWindowVisible(widgets::frmAbout()->hwnd()));
  runner.reset();
  world.reset();
  EXPECT_EQ(widgets::frmAbout(), nullptr);
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

// ---- Errors the demo reports, and how a run ends ----

// The whole executable's run: arguments, output and error output, exit code.
struct DemoRun {
  int code = 0;
  std::string out, err;
};
DemoRun RunDemoWith(const std::vector<std::string>& arguments, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  DemoRun run;
  run.code = app::RunDemo(arguments, in, out, err, "/nonexistent/bin/pallion-demo");
  run.out = out.str();
  run.err = err.str();
  return run;
}

std::string WriteScript(const std::string& folder, const std::string& text) {
  const std::string path = folder + "/test.scn";
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

TEST(DemoArguments, AScriptThatIsAFolderOrAnUnknownClientIsRefusedSayingWhy) {
  const std::string folder = NewFolder();
  DemoRun run = RunDemoWith({"--folder", folder + "/p", "--script", folder});
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.err.find("the script " + folder + " is a folder"), std::string::npos) << run.err;
  run = RunDemoWith({"--folder", folder + "/p", "--client", "aol8"});
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.err.find("unknown client 'aol8'; the clients are aol6 and aol7"), std::string::npos)
      << run.err;
  std::filesystem::remove_all(folder);
}

TEST(DemoArguments, AScriptThatStopsOnAnErrorStillShutsPallionDownAndWritesTheReport) {
  const std::string folder = NewFolder();
  const std::string script = WriteScript(folder, R"(setting LogIMs 1
signon Alice
start-pallion
im Bob "hello there"
wait 3s
shot bob-adopted
expect tabs Nobody
shot never-taken
)");
  const DemoRun run =
      RunDemoWith({"--folder", folder + "/p", "--shots", folder + "/s", "--script", script});
  EXPECT_EQ(run.code, 1) << run.out;
  // Shut down as by Exit: the open conversation is in the log.
  std::ifstream logFile(folder + "/p/IM Logs/Bob/4-26-2001.txt", std::ios::binary);
  std::stringstream logText;
  logText << logFile.rdbuf();
  EXPECT_NE(logText.str().find("hello there"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Pallion has ended"), std::string::npos) << run.out;
  // The report: the transcript with the screenshot where it was taken.
  EXPECT_NE(run.out.find("Report: " + folder + "/s/report.html"), std::string::npos) << run.out;
  std::ifstream reportFile(folder + "/s/report.html", std::ios::binary);
  std::stringstream report;
  report << reportFile.rdbuf();
  const std::string html = report.str();
  const size_t image = html.find("<img src=\"01-bob-adopted.png\"");
  ASSERT_NE(image, std::string::npos) << html;
  EXPECT_LT(html.find("Pallion adopts the IM window"), image);
  EXPECT_GT(html.find("does not hold: the tabs are Bob"), image);
  EXPECT_EQ(html.find("never-taken"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(folder + "/s/01-bob-adopted.png"));
  std::filesystem::remove_all(folder);
}

// A program folder named in UTF-8 is printed as named, and the program's own names after it too.
TEST(DemoArguments, PathsUnderANonAsciiFolderArePrintedAsTheHostNamesThem) {
  const std::string folder = NewFolder();
  const std::string script =
      WriteScript(folder, "signon Alice\nstart-pallion\nim Bob \"hi\"\nwait 3s\n");
  const DemoRun run = RunDemoWith({"--folder",
                                   folder + "/donn\xC3\xA9"
                                            "es",
                                   "--script", script});
  EXPECT_EQ(run.code, 0) << run.out;
  EXPECT_NE(run.out.find("Sound: " + folder +
                         "/donn\xC3\xA9"
                         "es\\Sounds\\Chat.icp"),
            std::string::npos)
      << run.out;
  std::filesystem::remove_all(folder);
}

// The script publishes the site's files; Pallion's update check reads them from there, and an
// error of the site is shown as one.
TEST_F(Demo, TheScriptsWebSiteAnswersTheUpdateCheck) {
  ASSERT_EQ(Play(R"(web-page IMVersion.txt " 2.0.55 "
signon Alice
start-pallion
wait 25s
menu pallion "Check for Updates"
expect notice "There are no updated versions"
click control AOButtonLiveUpdate 1
web-page /IMVersion.txt "2.0.56"
menu pallion "Check for Updates"
expect notice "There is an updated version of Pallion"
click control AOButtonLiveUpdate 1
web-error /IMVersion.txt 500
menu pallion "Check for Updates"
expect notice "Could not reach the Pallion web site"
)"),
            0)
      << out.str();
  EXPECT_NE(out.str().find("Pallion's web site is http://127.0.0.1:"), std::string::npos);
  EXPECT_EQ(Play("web-error /IMVersion.txt 200\n"), 1);
  EXPECT_NE(out.str().find("usage: web-error PATH STATUS"), std::string::npos) << out.str();
}

TEST(DemoArguments, SiteNamesTheWebSitePallionReaches) {
  const std::string folder = NewFolder();
  platform::sim::WebServer site;
  site.Set("/IMVersion.txt", platform::sim::Body("2.0.56"));
  const std::string script = WriteScript(folder, R"(web-page /IMVersion.txt "2.0.55"
signon Alice
start-pallion
wait 25s
menu pallion "Check for Updates"
expect notice "There is an updated version of Pallion"
)");
  const DemoRun run =
      RunDemoWith({"--folder", folder + "/p", "--site", site.Base(), "--script", script});
  EXPECT_EQ(run.code, 0) << run.out << run.err;
  EXPECT_EQ(site.Requests("/IMVersion.txt"), 1);
  EXPECT_EQ(RunDemoWith({"--folder", folder + "/p", "--site", ""}).code, 2);
  std::filesystem::remove_all(folder);
}

TEST_F(Demo, AScreenshotOrASettingThatCannotBeWrittenFailsTheCommand) {
  // A file where the screenshot folder should be; a folder where the settings file should be.
  const std::string shots = folder + "/shots-file";
  std::ofstream(shots) << "not a folder";
  options.shots = shots;
  Restart();
  EXPECT_EQ(Play("shot first\n"), 1);
  EXPECT_NE(out.str().find("line 1: cannot make the screenshot folder"), std::string::npos)
      << out.str();
  std::filesystem::create_directories(folder + "/Pallion.ini");
  EXPECT_EQ(Play("setting Style 1\n"), 1);
  EXPECT_NE(out.str().find("line 1: cannot write the setting Style to"), std::string::npos)
      << out.str();
}

TEST_F(Demo, CommandsThatNeedTheClientAfterItClosedSaySo) {
  ASSERT_EQ(Play("signon Alice\nquit\n"), 0) << out.str();
  for (const char* line : {"im Bob \"hi\"\n", "signon Alice\n", "start-pallion\n", "quit\n",
                           "menu pallion Exit\n", "user-closes Bob\n"}) {
    out.str("");
    EXPECT_EQ(Play(line), 1) << line;
    EXPECT_NE(out.str().find("line 1: the client has been closed; this command needs it"),
              std::string::npos)
        << line << out.str();
  }
}

TEST_F(Demo, AByteOrderMarkIsAcceptedAndTextsAreSentSayingHow) {
  ASSERT_EQ(Play("\xEF\xBB\xBFsignon Alice\nstart-pallion\nim Bob \"hi\"\nwait 3s\n"), 0)
      << out.str();
  // UTF-8 with characters the client's character set has no place for: sent with "?", and said.
  out.str("");
  ASSERT_EQ(Play("type-im \"Grüße aus 東京\"\nkey enter\nwait 2s\n"), 0) << out.str();
  EXPECT_NE(out.str().find("note: \"Grüße aus 東京\" is sent as \"Grüße aus ??\""),
            std::string::npos)
      << out.str();
  EXPECT_EQ(Play("expect sent Bob \"Grüße aus ??\"\n"), 0) << out.str();
  // Latin-1 bytes are not UTF-8: taken as the client's own characters, and said.
  out.str("");
  ASSERT_EQ(Play("im Bob \"caf\xE9\"\nwait 1s\n"), 0) << out.str();
  EXPECT_NE(out.str().find("note: \"café\" is not UTF-8; its bytes are taken as Windows-1252"),
            std::string::npos)
      << out.str();
  EXPECT_EQ(world->Client().ReceivedIMs().back().text, "caf\xE9");
}

TEST_F(Demo, ALongWaitReportsEachSimulatedHour) {
  ASSERT_EQ(Play("wait 3h\n"), 0) << out.str();
  EXPECT_NE(out.str().find("waiting: 1 h of 3 h have passed"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("waiting: 2 h of 3 h have passed"), std::string::npos) << out.str();
  EXPECT_EQ(out.str().find("waiting: 3 h"), std::string::npos) << out.str();
  EXPECT_GE(world->Desktop().NowMs(), 3u * 3600000u);
}

TEST_F(Demo, AtThePromptQuitClosesTheClientAndLeaves) {
  std::istringstream in("signon Alice\nstart-pallion\nquit\nsignon Bob\n");
  EXPECT_EQ(runner->RunInteractive(in), 0) << out.str();
  EXPECT_FALSE(world->ClientRunning());
  EXPECT_NE(out.str().find("the person closes the client"), std::string::npos);
  EXPECT_EQ(out.str().find("signs on as Bob"), std::string::npos) << out.str();
}

TEST_F(Demo, AtThePromptHelpListsEveryCommandAndAFailureSetsTheExitCode) {
  std::istringstream in("help\nfrobnicate\nquit-demo\nsignon Alice\n");
  EXPECT_EQ(runner->RunInteractive(in), 1);
  const std::string text = out.str();
  for (const auto& table : {app::WorldCommands(), app::ProgramCommands()}) {
    for (const app::CommandSpec& c : table) {
      EXPECT_NE(text.find(std::string("  ") + c.usage + "\n"), std::string::npos) << c.name;
    }
  }
  EXPECT_NE(text.find("  quit-demo\n      leaves the demo at once"), std::string::npos);
  EXPECT_NE(text.find("  quit\n      the person closes the client"), std::string::npos);
  EXPECT_NE(text.find("expect tabs [NAMES...] | expect shown NAME"), std::string::npos);
  EXPECT_NE(text.find("error: unknown command 'frobnicate'"), std::string::npos);
  EXPECT_EQ(text.find("signs on as Alice"), std::string::npos);
}

// ---- The world goes on around Pallion ----

TEST_F(Demo, AfterPallionEndsTheWorldGoesOnAndStartPallionStartsItAgain) {
  ASSERT_EQ(Play("signon Alice\nstart-pallion\nmenu pallion Exit\nwait 4s\nexpect pallion ended\n"),
            0)
      << out.str();
  const uint64_t ended = world->Desktop().NowMs();
  ASSERT_EQ(Play("im Bob \"still there?\"\nwait 3s\n"), 0) << out.str();
  EXPECT_GE(world->Desktop().NowMs(), ended + 3000);
  EXPECT_NE(out.str().find("Bob sends an IM \"still there?\": shown"), std::string::npos)
      << out.str();
  EXPECT_EQ(Play("start-pallion\nwait 3s\nexpect pallion running\nexpect tabs Bob\n"), 0)
      << out.str();
}

TEST_F(Demo, KillPallionGivesTheIMsBackAndStartPallionRecoversAndTakesThemInAgain) {
  ASSERT_EQ(Play(R"(kill-pallion
setting LogIMs 1
signon Alice
start-pallion
im Bob "Hi Alice"
wait 3s
expect tabs Bob
wait 10s
kill-pallion
expect pallion ended
answer-box OK
start-pallion
wait 3s
expect pallion running
expect tabs Bob
expect file "IM Logs/Bob/4-26-2001.txt" "Hi Alice"
)"),
            0)
      << out.str();
  const std::string transcript = out.str();
  EXPECT_NE(transcript.find("Pallion is not running; nothing to kill"), std::string::npos);
  EXPECT_NE(transcript.find("ProcessExit: Pallion (killed)"), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("the client has 1 of the 1 adopted IM windows back"), std::string::npos)
      << transcript;
  EXPECT_NE(transcript.find("the person answers the message box \"Conversations Recovered\""),
            std::string::npos)
      << transcript;
}

// ---- Simulated time that runs away ----

TEST_F(Demo, AnAnswerModeThatPausesInsideItsTickDoesNotRunTheClockAway) {
  ASSERT_EQ(Play(R"(signon Alice
start-pallion
im Kate "a"
im Olga "b"
im Kate "c"
im Olga "d"
im Kate "e"
menu program "IM Answer" "All Expect Chat Room"
wait 100ms
wait 100ms
setting X 1
)"),
            0)
      << out.str();
  const uint64_t before = world->Desktop().NowMs();
  EXPECT_LT(before, 60000u);
  ASSERT_EQ(Play("wait 40s\n"), 0);
  EXPECT_GE(world->Desktop().NowMs(), before + 40000);
  EXPECT_LT(world->Desktop().NowMs(), before + 40000 + 10000);
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
