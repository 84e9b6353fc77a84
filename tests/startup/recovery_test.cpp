#include "startup/recovery.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/window_access.h"
#include "imlog/im_log.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "startup/host_menu.h"
#include "support/container_fixture.h"
#include "support/host_files.h"
#include "support/widgets_person.h"
#include "widgets/message_box.h"

namespace {

using namespace platform;
using containerfix::World;

constexpr int kVkReturn = 0x0D;
// The day the simulated clock starts on, as the log's file names spell it.
constexpr const char* kDayFile = "4-26-2001.txt";

containerfix::WorldOptions Logging(const std::string& logIMs = "1") {
  containerfix::WorldOptions options;
  options.attach = startup::AttachRecovery;
  options.settings = {{"LogIMs", logIMs}};
  return options;
}

std::string JournalPath(World& world) {
  return world.ProgramPath(imlog::kRecoveryFile);
}

bool JournalExists(World& world) {
  return std::filesystem::exists(JournalPath(world));
}

// The journal file's identity: each whole-file write replaces it with a new file.
ino_t JournalInode(World& world) {
  struct stat st {};
  return ::stat(JournalPath(world).c_str(), &st) == 0 ? st.st_ino : 0;
}

std::string DayLog(World& world, const std::string& name, const std::string& day = kDayFile) {
  return testfiles::Read(world.ProgramPath("\\IM Logs\\" + name + "\\" + day));
}

// Runs on, counting the journal's writes (seen every 100 ms).
int JournalWritesDuring(World& world, uint64_t ms) {
  int writes = 0;
  ino_t last = JournalInode(world);
  for (uint64_t t = 0; t < ms; t += 100) {
    world.desktop.RunFor(100);
    const ino_t now = JournalInode(world);
    if (now != last && now != 0) ++writes;
    last = now;
  }
  return writes;
}

// Kills the program, restarts it and answers the notice of what was recovered, if one comes.
std::vector<std::string> RestartAnsweringNotices(World& world) {
  auto notices = std::make_shared<std::vector<std::string>>();
  widgets_person::AnswerNextMessageBox(world.desktop, "OK", std::nullopt, [notices](auto& box) {
    notices->push_back(box.lblCaption.Caption() + ": " + box.lblText.Caption());
  });
  EXPECT_TRUE(world.RestartProgram());
  world.desktop.RunFor(startup::kRecoveredNoticeMs + 2000);
  return *notices;
}

TEST(Recovery, ThreeConversationsOfAKilledProgramComeBackAndBecomeThreeLogEntries) {
  World world(Logging());
  std::vector<HWND> ims;
  for (const char* name : {"Bob", "Carl", "Dave"}) {
    ims.push_back(world.ReceiveAndAdopt(name, std::string("hello from ") + name));
  }
  world.TypeIntoIM(ims[0], "fine, thanks");
  world.desktop.PressKey(kVkReturn);
  world.desktop.RunFor(500);
  world.TypeIntoIM(ims[0], "and how is the");
  world.TypeIntoIM(ims[2], "see you at");
  world.desktop.RunFor(imlog::RecoveryJournal::kSaveIntervalMs);
  std::vector<std::string> conversations;
  for (const char* name : {"Bob", "Carl", "Dave"}) {
    conversations.push_back(world.client->ConversationText(name));
  }
  ASSERT_TRUE(JournalExists(world));

  world.KillProgram();
  world.desktop.RunFor(500);

  const HWND mdi = world.client->MdiClient();
  const std::vector<std::string> inputs = {"and how is the", "", "see you at"};
  for (size_t i = 0; i < ims.size(); ++i) {
    ASSERT_TRUE(IsWindow(ims[i]));
    EXPECT_EQ(GetParent(ims[i]), mdi);
    EXPECT_TRUE(IsWindowVisible(ims[i]));
    EXPECT_EQ(host::GetEditText(host::FindIMInputOf(ims[i])), inputs[i]);
  }
  // Nothing was logged by the program that died.
  EXPECT_FALSE(std::filesystem::exists(world.ProgramPath("\\IM Logs\\Bob")));
  ASSERT_TRUE(JournalExists(world));

  const std::vector<std::string> notices = RestartAnsweringNotices(world);

  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0], std::string(startup::kRecoveredCaption) +
                            ": Pallion did not end properly last time. 3 conversations that "
                            "were open then have been saved to your IM logs.");
  EXPECT_FALSE(JournalExists(world));
  const char* names[] = {"Bob", "Carl", "Dave"};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(names[i]);
    const std::string log = DayLog(world, names[i]);
    EXPECT_EQ(testfiles::Occurrences(log, " Begin IM - 4/26/2001     9:00 AM\r\n"), 1u);
    EXPECT_EQ(testfiles::Occurrences(log, " End IM - 4/26/2001     9:00 AM\r\n \r\n"), 1u);
    EXPECT_TRUE(log.starts_with(" Begin IM - ")) << log;
    EXPECT_TRUE(log.ends_with(" End IM - 4/26/2001     9:00 AM\r\n \r\n")) << log;
    EXPECT_NE(log.find(std::string("hello from ") + names[i]), std::string::npos) << log;
  }
  EXPECT_NE(DayLog(world, "Bob").find("Alice: fine, thanks"), std::string::npos);
  // The input typed but not sent is no part of the conversation.
  EXPECT_EQ(DayLog(world, "Dave").find("see you at"), std::string::npos);
  // The three are taken in again, their input still waiting.
  for (const char* name : names) EXPECT_TRUE(world.WaitAdopted(name, 1000)) << name;
  EXPECT_EQ(host::GetEditText(host::FindIMInputOf(ims[2])), "see you at");
}

// Killed right after an adoption, before any save of the journal was due: what the IM held
// then and what was said after it both reach the log once, when the next run ends.
TEST(Recovery, AnIMAdoptedJustBeforeAKillIsLoggedWholeByTheNextRun) {
  World world(Logging());
  const HWND im = world.ReceiveAndAdopt("Bob", "first words");
  world.TypeIntoIM(im, "said before the kill");
  world.desktop.PressKey(kVkReturn);
  world.desktop.RunFor(1000);
  world.KillProgram();
  world.desktop.RunFor(500);
  RestartAnsweringNotices(world);
  ASSERT_TRUE(world.WaitAdopted("Bob", 1000));
  world.client->ReceiveIM("Bob", "said after the restart");
  world.desktop.RunFor(2000);
  world.main->ExitProgram();

  const std::string log = DayLog(world, "Bob");
  for (const char* text : {"first words", "said before the kill", "said after the restart"}) {
    EXPECT_EQ(testfiles::Occurrences(log, text), 1u) << text << " in\n" << log;
  }
}

TEST(Recovery, TheJournalIsWrittenAtMostEveryTenSecondsAndNotWhenNothingChanged) {
  World world(Logging());
  world.ReceiveAndAdopt("Bob", "message 0");
  world.desktop.RunFor(imlog::RecoveryJournal::kSaveIntervalMs);
  ASSERT_TRUE(JournalExists(world));

  // A message every second for a minute: written six times, each within ten seconds.
  for (int i = 1; i <= 60; ++i) {
    world.desktop.Schedule(static_cast<uint64_t>(i) * 1000, [&world, i] {
      world.client->ReceiveIM("Bob", "message " + std::to_string(i));
    });
  }
  EXPECT_LE(JournalWritesDuring(world, 60000), 6);
  world.desktop.RunFor(imlog::RecoveryJournal::kSaveIntervalMs);
  EXPECT_NE(testfiles::Read(JournalPath(world)).find("message 60"), std::string::npos);

  // Nothing changes: nothing is written.
  EXPECT_EQ(JournalWritesDuring(world, 60000), 0);
  EXPECT_TRUE(JournalExists(world));
}

TEST(Recovery, ACleanExitLeavesNoJournalAndLogsEachConversationOnce) {
  World world(Logging());
  world.ReceiveAndAdopt("Bob", "hi there");
  world.desktop.RunFor(imlog::RecoveryJournal::kSaveIntervalMs);
  ASSERT_TRUE(JournalExists(world));

  world.main->ExitProgram();

  EXPECT_FALSE(world.desktop.ProcessAlive(world.program));
  EXPECT_FALSE(JournalExists(world));
  EXPECT_EQ(testfiles::Occurrences(DayLog(world, "Bob"), "hi there"), 1u);
}

TEST(Recovery, WithLoggingOffNoJournalIsWrittenAndTurningItOffRemovesOne) {
  World world(Logging("0"));
  world.ReceiveAndAdopt("Bob", "hi");
  world.desktop.RunFor(3 * imlog::RecoveryJournal::kSaveIntervalMs);
  EXPECT_FALSE(JournalExists(world));

  settings::WriteSetting("LogIMs", "1");
  world.desktop.RunFor(imlog::RecoveryJournal::kSaveIntervalMs);
  ASSERT_TRUE(JournalExists(world));
  settings::WriteSetting("LogIMs", "0");
  world.desktop.RunFor(imlog::RecoveryJournal::kSaveIntervalMs);
  EXPECT_FALSE(JournalExists(world));
}

TEST(Recovery, ARecoveredConversationIsNeverLoggedTwice) {
  World world(Logging());
  const HWND bob = world.ReceiveAndAdopt("Bob", "before the crash");
  world.desktop.RunFor(imlog::RecoveryJournal::kSaveIntervalMs);
  world.KillProgram();
  world.desktop.RunFor(500);
  RestartAnsweringNotices(world);
  ASSERT_TRUE(world.WaitAdopted("Bob", 1000));
  EXPECT_EQ(testfiles::Occurrences(DayLog(world, "Bob"), "before the crash"), 1u);
  world.client->ReceiveIM("Bob", "after the start");
  world.desktop.RunFor(imlog::RecoveryJournal::kSaveIntervalMs + 1000);

  // Closed by the person in the client: logged as it goes, with only what came since.
  world.client->CloseIM("Bob");
  world.desktop.RunFor(1000);
  ASSERT_FALSE(IsWindow(bob));
  const std::string log = DayLog(world, "Bob");
  EXPECT_EQ(testfiles::Occurrences(log, "before the crash"), 1u) << log;
  EXPECT_EQ(testfiles::Occurrences(log, "after the start"), 1u) << log;
  EXPECT_EQ(testfiles::Occurrences(log, " End IM - "), 2u) << log;
  // Nothing of it is left to recover, even from a journal written just before.
  EXPECT_FALSE(JournalExists(world));
  world.KillProgram();
  EXPECT_TRUE(RestartAnsweringNotices(world).empty());
  EXPECT_EQ(DayLog(world, "Bob"), log);
}

TEST(Recovery, AReadAgainJournalIsNotLoggedTwice) {
  World world(Logging());
  world.ReceiveAndAdopt("Bob", "only once");
  world.desktop.RunFor(imlog::RecoveryJournal::kSaveIntervalMs);
  const std::string journal = testfiles::Read(JournalPath(world));
  world.KillProgram();
  RestartAnsweringNotices(world);
  world.KillProgram();
  // The same journal back again, as when it could not be removed.
  world.WriteProgramFile(imlog::kRecoveryFile, journal);
  EXPECT_TRUE(RestartAnsweringNotices(world).empty());
  EXPECT_EQ(testfiles::Occurrences(DayLog(world, "Bob"), "only once"), 1u);
  EXPECT_FALSE(JournalExists(world));
}

TEST(Recovery, ADamagedJournalGivesWhatCanBeReadAndKeepsTheRest) {
  World world(Logging());
  world.ReceiveAndAdopt("Bob", "from Bob");
  world.ReceiveAndAdopt("Carl", "from Carl");
  world.ReceiveAndAdopt("Dave", "from Dave");
  world.desktop.RunFor(imlog::RecoveryJournal::kSaveIntervalMs);
  std::string journal = testfiles::Read(JournalPath(world));
  world.KillProgram();
  // Carl's entry is hit in the middle, and the file ends short.
  const size_t carl = journal.find("from Carl");
  ASSERT_NE(carl, std::string::npos);
  journal[carl + 2] = '#';
  journal.resize(journal.size() - 5);
  world.WriteProgramFile(imlog::kRecoveryFile, journal);

  const std::vector<std::string> notices = RestartAnsweringNotices(world);

  EXPECT_TRUE(world.desktop.ProcessAlive(world.program));
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find("1 conversation that was open then"), std::string::npos) << notices[0];
  EXPECT_NE(notices[0].find("Part of the recovery file could not be read; it is kept as "
                            "Recovery.bad in Pallion's folder."),
            std::string::npos)
      << notices[0];
  EXPECT_EQ(testfiles::Occurrences(DayLog(world, "Bob"), "from Bob"), 1u);
  EXPECT_FALSE(
      std::filesystem::exists(world.ProgramPath("\\IM Logs\\Carl\\" + std::string(kDayFile))))
      << DayLog(world, "Carl") << "|" << DayLog(world, "Dave");
  EXPECT_FALSE(JournalExists(world));
  EXPECT_EQ(testfiles::Read(world.ProgramPath(imlog::kDamagedRecoveryFile)), journal);
}

TEST(Recovery, AJournalThatIsNotOneOrCannotBeReadStopsNothing) {
  World world(Logging());
  world.KillProgram();
  world.WriteProgramFile(imlog::kRecoveryFile,
                         std::string("\0\xff garbage\r\nentry 1 2 3\r\n", 25));
  const std::vector<std::string> notices = RestartAnsweringNotices(world);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0], std::string(startup::kRecoveredCaption) +
                            ": Part of the recovery file could not be read; it is kept as "
                            "Recovery.bad in Pallion's folder.");
  world.KillProgram();
  // A folder where the journal would be.
  std::filesystem::remove(JournalPath(world));
  std::filesystem::create_directory(JournalPath(world));
  EXPECT_TRUE(RestartAnsweringNotices(world).empty());
  world.ReceiveAndAdopt("Bob", "hi");
  world.desktop.RunFor(imlog::RecoveryJournal::kSaveIntervalMs);
  EXPECT_TRUE(std::filesystem::is_directory(JournalPath(world)));
}

TEST(Recovery, ResetIMsAfterARecoveryStillLogsEachPartOnce) {
  World world(Logging());
  world.ReceiveAndAdopt("Bob", "said once");
  world.desktop.RunFor(imlog::RecoveryJournal::kSaveIntervalMs);
  world.KillProgram();
  RestartAnsweringNotices(world);
  ASSERT_TRUE(world.WaitAdopted("Bob", 1000));
  world.desktop.RunFor(2000);

  startup::ResetIMs(*world.main);
  ASSERT_TRUE(world.WaitAdopted("Bob", 1000));
  world.desktop.RunFor(2000);
  world.client->ReceiveIM("Bob", "said later");
  world.desktop.RunFor(1000);
  world.client->CloseIM("Bob");
  world.desktop.RunFor(1000);

  const std::string log = DayLog(world, "Bob");
  EXPECT_EQ(testfiles::Occurrences(log, "said once"), 1u) << log;
  EXPECT_EQ(testfiles::Occurrences(log, "said later"), 1u) << log;
}

}  // namespace
