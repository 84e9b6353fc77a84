// With logging on, every conversation the program adopted reaches its log exactly once, however
// it ends: Close IM, an ignore command, the client's own close box, the container's close box.
// With logging off (any value but "1") nothing at all is written.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/window_access.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"
#include "support/host_files.h"
#include "support/ui_person.h"
#include "support/widgets_person.h"
#include "widgets/message_box.h"

namespace {

using namespace platform;
using clientsim::Layout;
using containerfix::World;

// The program started with every part, logging as "LogIMs" says.
class LoggingWorld {
 public:
  LoggingWorld(Layout layout, const std::string& logIMs) : world(Options(layout, logIMs)) {}
  ~LoggingWorld() { widgets::DestroyMessageBoxes(); }
  static containerfix::WorldOptions Options(Layout layout, const std::string& logIMs) {
    auto options = containerfix::OptionsFor(layout);
    options.allParts = true;
    options.settings = {{"LogIMs", logIMs}};
    return options;
  }
  container::MainWindow& main() { return *world.main; }

  // Every log file's text of the correspondent, one after the other.
  std::string LogText(const std::string& name) {
    return testfiles::ReadAllIn(world.ProgramPath("\\IM Logs\\" + name));
  }
  void ExpectLoggedOnce(const std::string& name, const std::string& said) {
    const std::string text = LogText(name);
    EXPECT_EQ(testfiles::Occurrences(text, said), 1u) << text;
    EXPECT_EQ(testfiles::Occurrences(text, "End IM - "), 1u) << text;
  }
  void CloseShownIMWithTheButton() {
    widgets_person::AnswerNextMessageBox(world.desktop, "Yes");
    person.Click(main().AOButtonCloseIM);
    world.desktop.RunFor(1000);
  }

  World world;
  uitest::Person person{world.desktop};
};

class ClosingLog : public ::testing::TestWithParam<Layout>, public LoggingWorld {
 protected:
  ClosingLog() : LoggingWorld(GetParam(), "1") {}
};

INSTANTIATE_TEST_SUITE_P(Layouts, ClosingLog, containerfix::BothClients(),
                         containerfix::ClientName);

TEST_P(ClosingLog, CloseIMLogsTheConversation) {
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello from Bob"), 0u);
  CloseShownIMWithTheButton();
  ASSERT_EQ(world.client->IMWindow("Bob"), 0u);
  ExpectLoggedOnce("Bob", "hello from Bob");
  EXPECT_EQ(testfiles::Occurrences(LogText("Bob"), "Begin IM - "), 1u);
}

TEST_P(ClosingLog, TheClientsOwnCloseBoxLogsTheConversation) {
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello from Bob"), 0u);
  ASSERT_NE(world.ReceiveAndAdopt("Carl", "hi from Carl"), 0u);
  world.client->CloseIM("Carl");
  ASSERT_TRUE(world.desktop.RunUntil([&] { return world.client->IMWindow("Carl") == 0; }, 1000));
  ExpectLoggedOnce("Carl", "hi from Carl");
  EXPECT_EQ(LogText("Bob"), "");
}

TEST_P(ClosingLog, IgnoringLogsTheConversation) {
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello from Bob"), 0u);
  widgets_person::AnswerNextMessageBox(world.desktop, "Yes");
  person.AnswerNextPopup("Only Ignore Bob this session");
  person.Click(main().AOButtonOptions);
  world.desktop.RunFor(2000);
  ASSERT_EQ(world.client->IMWindow("Bob"), 0u);
  ExpectLoggedOnce("Bob", "hello from Bob");
}

TEST_P(ClosingLog, TheContainersCloseBoxAndTheExitLogEachConversationOnce) {
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello from Bob"), 0u);
  SendMessage(world.container, WM_SYSCOMMAND, SC_CLOSE, 0);
  world.desktop.RunFor(300);
  ASSERT_EQ(world.client->IMWindow("Bob"), 0u);
  ExpectLoggedOnce("Bob", "hello from Bob");

  ASSERT_NE(world.ReceiveAndAdopt("Carl", "hi from Carl"), 0u);
  settings::WriteSetting("CloseIMs", "1");
  main().ExitProgram();
  ASSERT_EQ(world.client->IMWindow("Carl"), 0u);
  ExpectLoggedOnce("Carl", "hi from Carl");
  ExpectLoggedOnce("Bob", "hello from Bob");
}

TEST_P(ClosingLog, TheClientsMainWindowGoneWithoutAWordLogsTheFloatingIMsAndEndsPallion) {
  main().mnuEntertoSend[2]->Click();  // Float Mode: the IMs outlive the client's window
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "hello from Bob"), 0u);
  {
    sim::Desktop::ProcessScope scope(world.desktop, world.aol);
    ASSERT_TRUE(DestroyWindow(world.client->MainWindow()));
  }
  world.desktop.RunFor(1000);
  ExpectLoggedOnce("Bob", "hello from Bob");
  EXPECT_FALSE(world.desktop.ProcessAlive(world.program));
}

// "LogIMs" other than "1": no conversation is written, whichever way it ends.
class NoLogging : public ::testing::TestWithParam<const char*>, public LoggingWorld {
 protected:
  NoLogging() : LoggingWorld(Layout::Aol6, GetParam()) {}
};

INSTANTIATE_TEST_SUITE_P(Values, NoLogging, ::testing::Values("0", "", "2", "yes", "01"),
                         [](const auto& info) {
                           const std::string value = info.param;
                           return value.empty() ? std::string("Empty") : "Value" + value;
                         });

TEST_P(NoLogging, NoConversationIsWritten) {
  settings::WriteSetting("CloseIMs", "1");
  ASSERT_NE(world.ReceiveAndAdopt("Bob", "one"), 0u);
  ASSERT_NE(world.ReceiveAndAdopt("Carl", "two"), 0u);
  ASSERT_NE(world.ReceiveAndAdopt("Dave", "three"), 0u);
  CloseShownIMWithTheButton();
  world.client->CloseIM("Carl");
  world.desktop.RunFor(500);
  ASSERT_NE(world.ReceiveAndAdopt("Eve", "four"), 0u);
  SendMessage(world.container, WM_SYSCOMMAND, SC_CLOSE, 0);
  world.desktop.RunFor(300);
  ASSERT_NE(world.ReceiveAndAdopt("Fred", "five"), 0u);
  main().ExitProgram();
  for (const char* name : {"Bob", "Carl", "Dave", "Eve", "Fred"}) {
    EXPECT_EQ(world.client->IMWindow(name), 0u) << name;
  }
  // The logs' root is there, and empty.
  const std::filesystem::path root = world.ProgramPath("\\IM Logs");
  ASSERT_TRUE(std::filesystem::is_directory(root));
  EXPECT_TRUE(std::filesystem::is_empty(root));
}

}  // namespace
