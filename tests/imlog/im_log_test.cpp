#include "imlog/im_log.h"

#include <gtest/gtest.h>

#include "support/host_fixture.h"

#include <filesystem>
#include <memory>

#include "clientsim/client.h"
#include "host/window_access.h"
#include "platform/files.h"
#include "platform/sim/desktop.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "support/container_fixture.h"

namespace {

using namespace platform;
using clientsim::Layout;

// The default platform, for the system's short-date format.
class IMLogText : public ::testing::Test {
 protected:
  IMLogText() { Install(&desktop); }
  ~IMLogText() override { Install(nullptr); }
  sim::Desktop desktop;
};

TEST_F(IMLogText, DatesTimesAndLines) {
  EXPECT_EQ(imlog::ShortDate({2001, 12, 24, 21, 5}), "12/24/2001");
  EXPECT_EQ(imlog::ShortDate({2002, 1, 3, 0, 0}), "1/3/2002");
  EXPECT_EQ(imlog::ShortTime({2001, 12, 24, 21, 5}), "9:05 PM");
  EXPECT_EQ(imlog::ShortTime({2001, 12, 24, 0, 0}), "12:00 AM");
  EXPECT_EQ(imlog::ShortTime({2001, 12, 24, 12, 30}), "12:30 PM");
  EXPECT_EQ(imlog::ShortTime({2001, 12, 24, 11, 59}), "11:59 AM");
  EXPECT_EQ(imlog::BeginLine({2001, 12, 24, 21, 5}), " Begin IM - 12/24/2001     9:05 PM\r\n ");
  EXPECT_EQ(imlog::EndLine({2001, 4, 26, 9, 0}), " End IM - 4/26/2001     9:00 AM\r\n ");
  EXPECT_EQ(imlog::LogFileName({2001, 12, 24, 21, 5}), "12-24-2001.txt");
}

TEST_F(IMLogText, DatesFollowTheSystemsShortDatePicture) {
  const DateTime jan3{2002, 1, 3, 9, 0};
  EXPECT_EQ(imlog::FormatDate(jan3, "dd.MM.yyyy"), "03.01.2002");
  EXPECT_EQ(imlog::FormatDate(jan3, "yyyy-MM-dd"), "2002-01-03");
  EXPECT_EQ(imlog::FormatDate(jan3, "d/M/yy"), "3/1/02");
  EXPECT_EQ(imlog::FormatDate({2005, 11, 30, 0, 0}, "y"), "5");
  EXPECT_EQ(imlog::FormatDate(jan3, "dddd, MMMM dd, yyyy"), "Thursday, January 03, 2002");
  EXPECT_EQ(imlog::FormatDate({2001, 12, 24, 0, 0}, "ddd d MMM"), "Mon 24 Dec");
  EXPECT_EQ(imlog::FormatDate(jan3, "'Day' d 'o''clock'"), "Day 3 o'clock");
  desktop.SetShortDateFormat("dd.MM.yyyy");
  EXPECT_EQ(imlog::EndLine(jan3), " End IM - 03.01.2002     9:00 AM\r\n ");
  EXPECT_EQ(imlog::LogFileName(jan3), "03.01.2002.txt");
  desktop.SetShortDateFormat("yyyy/MM/dd");
  EXPECT_EQ(imlog::LogFileName(jan3), "2002-01-03.txt");
  // Whatever the picture holds, the name stays one file name.
  desktop.SetShortDateFormat("d\\M:yyyy*?");
  EXPECT_EQ(imlog::LogFileName(jan3), "3-1-2002--.txt");
}

TEST(IMLogFolders, NamesStayInsideTheLogFolder) {
  EXPECT_EQ(imlog::LogFolderName("Bob Smith"), "Bob Smith");
  EXPECT_EQ(imlog::LogFolderName("bob smith"), "bob smith");
  EXPECT_EQ(imlog::LogFolderName("..\\..\\Windows"), ".._.._Windows");
  EXPECT_EQ(imlog::LogFolderName("a/b:c*d?e\"f<g>h|i"), "a_b_c_d_e_f_g_h_i");
  EXPECT_EQ(imlog::LogFolderName(std::string("x\ty\x01z")), "x_y_z");
  EXPECT_EQ(imlog::LogFolderName("Bob."), "Bob_");
  EXPECT_EQ(imlog::LogFolderName("Bob "), "Bob_");
  EXPECT_EQ(imlog::LogFolderName("con"), "con_");
  EXPECT_EQ(imlog::LogFolderName("LPT1"), "LPT1_");
  EXPECT_EQ(imlog::LogFolderName("Connie"), "Connie");
  EXPECT_EQ(imlog::LogFolderName("Jos\xE9"), "Jos\xE9");
  EXPECT_EQ(imlog::LogFolderName(".."), std::nullopt);
  EXPECT_EQ(imlog::LogFolderName("."), std::nullopt);
  EXPECT_EQ(imlog::LogFolderName(" . "), std::nullopt);
  EXPECT_EQ(imlog::LogFolderName(""), std::nullopt);
}

// The stand-in client in its process, the program's process current, a fresh program folder
// with its "IM Logs" root.
class IMLog : public ::testing::TestWithParam<Layout> {
 protected:
  explicit IMLog(DateTime start = {2001, 12, 24, 21, 5, 0, 0})
      : desktop(hostfix::StartingAt(start)) {
    Install(&desktop);
    root = std::filesystem::temp_directory_path() /
           ("pallion_imlog_" + std::to_string(static_cast<int>(GetParam())) + "_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "IM Logs");
    files::SetProgramFolder(root.string());
    desktop.CreateProcess("AOL");
    client = std::make_unique<clientsim::Client>(clientsim::ClientOptions{GetParam()});
    client->Start();
    program = desktop.CreateProcess("Pallion");
    host::IsAOL7 = GetParam() == Layout::Aol7;
    imlog::ForgetLoggedIMs();
    client->SignOn("Alice");
    desktop.RunFor(1000);
  }
  ~IMLog() override {
    client.reset();
    host::IsAOL7 = false;
    imlog::ForgetLoggedIMs();
    Install(nullptr);
    std::filesystem::remove_all(root);
  }
  HWND Incoming(const std::string& from, const std::string& text) {
    client->ReceiveIM(from, text);
    desktop.RunFor(500);
    return client->IMWindow(from);
  }
  std::optional<std::string> Log(const std::string& folder, const std::string& file) {
    return files::ReadAll(settings::FolderPath(settings::kLogsFolder) + folder + "\\" + file);
  }
  std::vector<std::string> LogFolders() {
    return files::ListDirectories(settings::FolderPath(settings::kLogsFolder));
  }

  sim::Desktop desktop;
  std::filesystem::path root;
  std::unique_ptr<clientsim::Client> client;
  DWORD program = 0;
};

INSTANTIATE_TEST_SUITE_P(Layouts, IMLog, containerfix::BothClients(), containerfix::ClientName);

TEST_P(IMLog, BeginLineReplacesTheFirstCharacterOfTheView) {
  HWND im = Incoming("Bob", "Hi Alice");
  ASSERT_NE(im, 0u);
  EXPECT_EQ(client->ConversationText("Bob"), "\rBob: Hi Alice");
  imlog::PutBeginLine(im);
  EXPECT_EQ(host::GetEditText(imlog::ConversationView(im)),
            " Begin IM - 12/24/2001     9:05 PM\r Bob: Hi Alice");
}

TEST_P(IMLog, TwoConversationsOnOneDayShareTheFile) {
  HWND bob = Incoming("Bob", "first");
  imlog::PutBeginLine(bob);
  ASSERT_TRUE(imlog::WriteIMLog(bob));
  client->CloseIM("Bob");
  desktop.RunFor(60 * 1000);
  ASSERT_FALSE(IsWindow(bob));
  HWND again = Incoming("Bob", "second");
  ASSERT_NE(again, 0u);
  imlog::PutBeginLine(again);
  ASSERT_TRUE(imlog::WriteIMLog(again));
  EXPECT_EQ(Log("Bob", "12-24-2001.txt"),
            " Begin IM - 12/24/2001     9:05 PM\r\n Bob: first\r\n"
            " End IM - 12/24/2001     9:05 PM\r\n \r\n"
            " Begin IM - 12/24/2001     9:06 PM\r\n Bob: second\r\n"
            " End IM - 12/24/2001     9:06 PM\r\n \r\n");
}

TEST_P(IMLog, TheSameIMLoggedTwiceIsWrittenOnce) {
  HWND bob = Incoming("Bob", "first");
  imlog::PutBeginLine(bob);
  ASSERT_TRUE(imlog::WriteIMLog(bob));
  ASSERT_TRUE(imlog::WriteIMLog(bob));
  const std::string once =
      " Begin IM - 12/24/2001     9:05 PM\r\n Bob: first\r\n"
      " End IM - 12/24/2001     9:05 PM\r\n \r\n";
  EXPECT_EQ(Log("Bob", "12-24-2001.txt"), once);
  // Lines that came after the first log are added, and only they, under the conversation's
  // begin line.
  desktop.RunFor(60 * 1000);
  client->ReceiveIM("Bob", "still there?");
  desktop.RunFor(500);
  ASSERT_TRUE(imlog::WriteIMLog(bob));
  EXPECT_EQ(Log("Bob", "12-24-2001.txt"), once +
                                              " Begin IM - 12/24/2001     9:05 PM\r\n"
                                              " Bob: still there?\r\n"
                                              " End IM - 12/24/2001     9:06 PM\r\n \r\n");
}

class IMLogMidnight : public IMLog {
 protected:
  IMLogMidnight() : IMLog({2001, 12, 31, 23, 58, 0, 0}) {}
};
INSTANTIATE_TEST_SUITE_P(Layouts, IMLogMidnight, containerfix::BothClients(),
                         containerfix::ClientName);

TEST_P(IMLogMidnight, AConversationIsFiledUnderTheDayItIsWritten) {
  HWND bob = Incoming("Bob", "before midnight");
  imlog::PutBeginLine(bob);
  ASSERT_TRUE(imlog::WriteIMLog(bob));
  client->CloseIM("Bob");
  desktop.RunFor(5 * 60 * 1000);
  HWND again = Incoming("Bob", "after midnight");
  imlog::PutBeginLine(again);
  ASSERT_TRUE(imlog::WriteIMLog(again));
  EXPECT_EQ(Log("Bob", "12-31-2001.txt"),
            " Begin IM - 12/31/2001     11:58 PM\r\n Bob: before midnight\r\n"
            " End IM - 12/31/2001     11:58 PM\r\n \r\n");
  EXPECT_EQ(Log("Bob", "1-1-2002.txt"),
            " Begin IM - 1/1/2002     12:03 AM\r\n Bob: after midnight\r\n"
            " End IM - 1/1/2002     12:03 AM\r\n \r\n");
}

TEST_P(IMLog, ScreenNamesWithSpacesAndOddCharacters) {
  HWND smith = Incoming("Bob Smith", "spaces kept");
  ASSERT_TRUE(imlog::WriteIMLog(smith));
  EXPECT_TRUE(Log("Bob Smith", "12-24-2001.txt").has_value());

  HWND odd = Incoming("..\\x:y", "odd");
  ASSERT_NE(odd, 0u);
  ASSERT_TRUE(imlog::WriteIMLog(odd));
  EXPECT_EQ(Log(".._x_y", "12-24-2001.txt"),
            "\r\n..\\x:y: odd\r\n End IM - 12/24/2001     9:05 PM\r\n \r\n");
  // Nothing was written outside the log folder.
  EXPECT_EQ(LogFolders(), (std::vector<std::string>{".._x_y", "Bob Smith"}));
  EXPECT_FALSE(files::Exists(files::ProgramFolder() + "\\x"));
}

TEST_P(IMLog, ANameOfOnlyDotsIsRefused) {
  HWND dots = Incoming("..", "where do I go?");
  ASSERT_NE(dots, 0u);
  EXPECT_EQ(host::GetIMScreenName(dots), "..");
  EXPECT_FALSE(imlog::WriteIMLog(dots));
  EXPECT_TRUE(LogFolders().empty());
  EXPECT_TRUE(files::List(files::ProgramFolder(), "*.txt").empty());
}

TEST_P(IMLog, WithoutTheRootNothingIsWritten) {
  std::filesystem::remove_all(root / "IM Logs");
  HWND bob = Incoming("Bob", "hi");
  EXPECT_FALSE(imlog::WriteIMLog(bob));
  EXPECT_FALSE(std::filesystem::exists(root / "IM Logs"));
}

TEST_P(IMLog, NoWindowNoLog) {
  EXPECT_FALSE(imlog::WriteIMLog(0));
  HWND bob = Incoming("Bob", "hi");
  client->CloseIM("Bob");
  desktop.RunFor(1000);
  EXPECT_FALSE(imlog::WriteIMLog(bob));
  EXPECT_TRUE(LogFolders().empty());
}

TEST_P(IMLog, TheWriterDoesNotReadLogIMs) {
  settings::WriteSetting(settings::keys::kLogIMs, "0");
  HWND bob = Incoming("Bob", "hi");
  imlog::PutBeginLine(bob);
  EXPECT_EQ(host::GetEditText(imlog::ConversationView(bob)).rfind(" Begin IM - ", 0), 0u);
  EXPECT_TRUE(imlog::WriteIMLog(bob));
  EXPECT_TRUE(Log("Bob", "12-24-2001.txt").has_value());
}

TEST_P(IMLog, EveryLineOfTheFileEndsWithCrLf) {
  HWND bob = Incoming("Bob", "one");
  imlog::PutBeginLine(bob);
  client->TypeAndSendIM("Bob", "two");
  desktop.RunFor(500);
  client->ReceiveIM("Bob", "three");
  desktop.RunFor(500);
  ASSERT_TRUE(imlog::WriteIMLog(bob));
  const std::string log = Log("Bob", "12-24-2001.txt").value_or("");
  EXPECT_EQ(log,
            " Begin IM - 12/24/2001     9:05 PM\r\n Bob: one\r\nAlice: two\r\nBob: three\r\n"
            " End IM - 12/24/2001     9:05 PM\r\n \r\n");
}

TEST_P(IMLog, TheLogIsNamedAndDatedAsTheSystemWritesShortDates) {
  desktop.SetShortDateFormat("dd.MM.yyyy");
  HWND bob = Incoming("Bob", "hallo");
  imlog::PutBeginLine(bob);
  ASSERT_TRUE(imlog::WriteIMLog(bob));
  EXPECT_EQ(Log("Bob", "24.12.2001.txt"),
            " Begin IM - 24.12.2001     9:05 PM\r\n Bob: hallo\r\n"
            " End IM - 24.12.2001     9:05 PM\r\n \r\n");
  desktop.SetShortDateFormat("yyyy-MM-dd");
  client->ReceiveIM("Bob", "hej");
  desktop.RunFor(500);
  ASSERT_TRUE(imlog::WriteIMLog(bob));
  EXPECT_EQ(Log("Bob", "2001-12-24.txt"),
            " Begin IM - 24.12.2001     9:05 PM\r\n Bob: hej\r\n"
            " End IM - 2001-12-24     9:05 PM\r\n \r\n");
}

TEST_P(IMLog, OneCorrespondentHasOneFolderWhateverTheCase) {
  std::filesystem::create_directory(root / "IM Logs" / "bOB");
  HWND bob = Incoming("Bob", "hi");
  ASSERT_TRUE(imlog::WriteIMLog(bob));
  EXPECT_EQ(LogFolders(), std::vector<std::string>{"bOB"});
  EXPECT_TRUE(Log("bOB", "12-24-2001.txt").has_value());
}

}  // namespace
