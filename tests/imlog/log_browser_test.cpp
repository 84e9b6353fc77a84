// The "Logging" page driven as a person does: a real log tree from the writer listed, days
// shown, deleted, saved elsewhere and printed, and the search across all logs.
#include <filesystem>
#include <fstream>

#include "gfx/classic.h"
#include "log_browser_support.h"
#include "platform/sim/printer.h"
#include "support/desktop_events.h"

namespace logtest {
namespace {

namespace files = platform::files;
using platform::sim::Event;

std::string Today(platform::sim::Desktop& desktop) {
  const std::string name = imlog::LogFileName(desktop.Now());
  return name.substr(0, name.size() - 4);
}

TEST_F(LogPageTest, ListsTheTreeTheWriterProducedAndShowsADay) {
  Converse("Bob Smith", "hi there", "hello Bob");
  Converse("Carl", "are you coming", "on my way");
  page->Shown();
  EXPECT_EQ(Rows(page->ctListIMLogFolder), (std::vector<std::string>{"Bob Smith", "Carl"}));
  EXPECT_EQ(page->ctListIMLogFolder.CellPicture(0, 1), 1);

  ClickRow(page->ctListIMLogFolder, 0);
  EXPECT_EQ(Rows(page->ctListIMLogFile), (std::vector<std::string>{Today(world.desktop)}));
  ClickRow(page->ctListIMLogFile, 0);
  const auto stored = files::ReadAll(Logs() + "Bob Smith\\" + Today(world.desktop) + ".txt");
  ASSERT_TRUE(stored);
  // The day as stored, without its last line end.
  EXPECT_EQ(page->txtIMLog.Text() + "\r\n", *stored);
  EXPECT_NE(page->txtIMLog.Text().find("hello Bob"), std::string::npos);

  // Showing the page again starts from the disk, with nothing chosen.
  page->Shown();
  EXPECT_EQ(page->ctListIMLogFile.RowCount(), 0);
  EXPECT_EQ(page->txtIMLog.Text(), "");
}

TEST_F(LogPageTest, SearchFindsAPhraseTypedInAnEarlierConversationAndOpensTheDay) {
  Converse("Bob Smith", "where shall we meet", "at the Blue Lagoon, at noon");
  Converse("Carl", "any plans", "nothing yet");
  page->Shown();

  person.TypeInto(page->txtSearch, "blue LAGOON");
  person.Press(platform::VK_RETURN);
  ASSERT_EQ(page->ctListSearchHits.RowCount(), 1);
  EXPECT_EQ(page->ctListSearchHits.CellText(0, 0), "Bob Smith");
  EXPECT_EQ(page->ctListSearchHits.CellText(0, 1), Today(world.desktop));
  EXPECT_NE(page->ctListSearchHits.CellText(0, 2).find("at the Blue Lagoon, at noon"),
            std::string::npos);
  EXPECT_EQ(page->lblSearchResult.Caption(), "1 line found.");

  ClickRow(page->ctListSearchHits, 0);
  EXPECT_EQ(page->ctListIMLogFolder.CellText(page->ctListIMLogFolder.ListIndex(), 0), "Bob Smith");
  EXPECT_EQ(page->ctListIMLogFile.CellText(page->ctListIMLogFile.ListIndex(), 0),
            Today(world.desktop));
  EXPECT_EQ(page->txtIMLog.SelText(), "Blue Lagoon");
  EXPECT_TRUE(page->txtIMLog.HasFocus());

  // A phrase in no log says so; the button searches as Enter does.
  person.TypeInto(page->txtSearch, "x");
  person.Click(page->AOButtonSearch);
  EXPECT_EQ(page->ctListSearchHits.RowCount(), 0);
  EXPECT_EQ(page->lblSearchResult.Caption(), "Not found in any log.");
}

TEST_F(LogPageTest, AHitDeepInALongDayIsScrolledIntoView) {
  std::string text;
  for (int i = 1; i <= 120; ++i) {
    text += i == 100 ? "Bob: the treasure is buried here\r\n" : "Bob: filler line\r\n";
  }
  WriteLog("Bob\\1-2-2001.txt", text);
  page->Shown();
  person.TypeInto(page->txtSearch, "treasure");
  person.Press(platform::VK_RETURN);
  ASSERT_EQ(page->ctListSearchHits.RowCount(), 1);
  ClickRow(page->ctListSearchHits, 0);
  ASSERT_EQ(page->txtIMLog.SelText(), "treasure");
  // The selected word is drawn highlighted inside the text box.
  const gfx::Canvas shot = world.desktop.RenderScreen();
  platform::RECT box;
  platform::GetWindowRect(page->txtIMLog.hwnd(), box);
  int highlighted = 0;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      highlighted += shot.GetPixel(x, y) == gfx::classic::SysColor(gfx::classic::kHighlight);
    }
  }
  EXPECT_GT(highlighted, 50);
}

TEST_F(LogPageTest, DeleteFolderRemovesTheWholeTreeAfterAskingAndOnlyOnYes) {
  WriteLog("Bob\\1-2-2001.txt", "one\r\n");
  WriteLog("Bob\\old\\deeper\\3-4-2000.txt", "two\r\n");
  WriteLog("Carl\\1-2-2001.txt", "three\r\n");
  page->Shown();

  widgets_person::AnswerNextMessageBox(world.desktop, "OK");  // nothing chosen
  ClickButton(1);
  EXPECT_EQ(widgets::MessageBoxResult, "OK");
  EXPECT_EQ(widgets::CurrentMessageBox()->lblText.Caption(),
            "Please choose a folder from Members Log Folder to Delete.");

  ClickRow(page->ctListIMLogFolder, 0);
  widgets_person::AnswerNextMessageBox(world.desktop, "No");
  ClickButton(1);
  EXPECT_TRUE(files::IsDirectory(Logs() + "Bob\\old\\deeper"));

  widgets_person::AnswerNextMessageBox(world.desktop, "Yes");
  ClickButton(1);
  EXPECT_EQ(widgets::CurrentMessageBox()->lblText.Caption(),
            "Are you sure you want to permanently Delete the folder 'Bob' and all its contents?");
  EXPECT_FALSE(files::Exists(Logs() + "Bob"));
  EXPECT_TRUE(files::Exists(Logs() + "Carl\\1-2-2001.txt"));
  EXPECT_EQ(Rows(page->ctListIMLogFolder), (std::vector<std::string>{"Carl"}));
  EXPECT_EQ(page->ctListIMLogFile.RowCount(), 0);
}

TEST_F(LogPageTest, DeletingNeverReachesOutsideTheLogFolder) {
  const std::filesystem::path outside = std::filesystem::path(world.folder) / "Keep";
  std::filesystem::create_directories(outside / "inner");
  std::ofstream(outside / "inner" / "precious.txt") << "keep me";
  // A correspondent's folder holding a link to a folder elsewhere, and a log folder that is
  // itself a link.
  WriteLog("Bob\\1-2-2001.txt", "one\r\n");
  std::filesystem::create_directory_symlink(
      outside, std::filesystem::path(world.folder) / "IM Logs" / "Bob" / "elsewhere");
  std::filesystem::create_directory_symlink(
      outside, std::filesystem::path(world.folder) / "IM Logs" / "Dan");
  page->Shown();
  ASSERT_EQ(Rows(page->ctListIMLogFolder), (std::vector<std::string>{"Bob", "Dan"}));

  for (int i = 0; i < 2; ++i) {
    ClickRow(page->ctListIMLogFolder, 0);
    widgets_person::AnswerNextMessageBox(world.desktop, "Yes");
    ClickButton(1);
  }
  EXPECT_FALSE(files::Exists(Logs() + "Bob"));
  EXPECT_FALSE(std::filesystem::exists(
      std::filesystem::symlink_status(std::filesystem::path(world.folder) / "IM Logs" / "Dan")));
  EXPECT_TRUE(std::filesystem::exists(outside / "inner" / "precious.txt"));

  // Paths outside the log folder, or climbing out of it, are refused outright.
  EXPECT_FALSE(imlog::DeleteFolderTree(settings::FolderPath("\\Keep")));
  EXPECT_FALSE(imlog::DeleteFolderTree(Logs() + "..\\Keep"));
  EXPECT_FALSE(imlog::DeleteFolderTree(Logs()));
  EXPECT_TRUE(std::filesystem::exists(outside / "inner" / "precious.txt"));
  // A folder that is not there: the platform's plain notice.
  EXPECT_FALSE(imlog::DeleteFolderTree(Logs() + "Nobody"));
  EXPECT_EQ(world.desktop.Events().back().kind, Event::Kind::MessageBox);
  EXPECT_EQ(world.desktop.Events().back().text, "Not Valid Folder");
}

TEST_F(LogPageTest, DeleteFileShowsTheNextDayThenThePreviousAndReportsAFailure) {
  WriteLog("Bob\\1-1-2001.txt", "first\r\n");
  WriteLog("Bob\\1-2-2001.txt", "second\r\n");
  WriteLog("Bob\\1-3-2001.txt", "third\r\n");
  page->Shown();
  ClickRow(page->ctListIMLogFolder, 0);
  ClickRow(page->ctListIMLogFile, 1);
  ClickButton(2);
  EXPECT_FALSE(files::Exists(Logs() + "Bob\\1-2-2001.txt"));
  EXPECT_EQ(Rows(page->ctListIMLogFile), (std::vector<std::string>{"1-1-2001", "1-3-2001"}));
  EXPECT_EQ(page->ctListIMLogFile.ListIndex(), 1);
  EXPECT_EQ(page->txtIMLog.Text(), "third");

  ClickButton(2);  // the last row: the one before it is shown
  EXPECT_EQ(page->ctListIMLogFile.ListIndex(), 0);
  EXPECT_EQ(page->txtIMLog.Text(), "first");
  ClickButton(2);  // the only row: nothing left to show
  EXPECT_EQ(page->ctListIMLogFile.RowCount(), 0);
  EXPECT_EQ(page->ctListIMLogFile.ListIndex(), -1);
  EXPECT_EQ(page->txtIMLog.Text(), "");

  // A day that cannot be deleted stays listed, and the person is told; so does a folder.
  WriteLog("Carl\\5-5-2001.txt", "kept\r\n");
  const std::string stuck =
      (std::filesystem::path(world.folder) / "IM Logs" / "Carl" / "5-5-2001.txt").string();
  if (!SetUndeletable(stuck, true)) GTEST_SKIP() << "files cannot be made undeletable here";
  page->Shown();
  ClickRow(page->ctListIMLogFolder, 1);
  ClickRow(page->ctListIMLogFile, 0);
  widgets_person::AnswerNextMessageBox(world.desktop, "OK");
  ClickButton(2);
  EXPECT_EQ(widgets::CurrentMessageBox()->lblText.Caption(),
            "The file '5-5-2001' could not be deleted.");
  EXPECT_EQ(Rows(page->ctListIMLogFile), (std::vector<std::string>{"5-5-2001"}));

  WriteLog("Carl\\6-6-2001.txt", "goes\r\n");
  widgets_person::AnswerNextMessageBox(world.desktop, "Yes");
  // The notice that follows the question is answered once it is up.
  world.desktop.AddResponder([this] {
    widgets::MessageBoxForm* box = widgets::CurrentMessageBox();
    if (box == nullptr || !box->IsModal() || !platform::IsWindowVisible(box->hwnd()) ||
        box->lblCaption.Caption() != "Not Deleted") {
      return false;
    }
    world.desktop.Click(box->Button(0).hwnd());
    return true;
  });
  ClickButton(1);
  EXPECT_EQ(widgets::CurrentMessageBox()->lblText.Caption(),
            "The folder 'Carl' could not be deleted completely.");
  SetUndeletable(stuck, false);
  EXPECT_EQ(Rows(page->ctListIMLogFolder), (std::vector<std::string>{"Bob", "Carl"}));
  EXPECT_EQ(Rows(page->ctListIMLogFile), (std::vector<std::string>{"5-5-2001"}));
}

TEST_F(LogPageTest, SaveLogFileAsWritesTheShownDayAndReportsAFailedWrite) {
  WriteLog("Bob\\1-2-2001.txt", "line one\r\nline two\r\n");
  page->Shown();
  ClickRow(page->ctListIMLogFolder, 0);
  ClickRow(page->ctListIMLogFile, 0);
  const std::string target = settings::FolderPath("\\copy.txt");
  world.desktop.AnswerFileDialog(target);
  ClickButton(3);
  EXPECT_EQ(world.desktop.Events().back().kind, Event::Kind::SaveDialog);
  EXPECT_EQ(world.desktop.Events().back().text, settings::FolderPath("\\IM Logs"));
  EXPECT_EQ(files::ReadAll(target).value_or(""), "line one\r\nline two\r\n");

  world.desktop.AnswerFileDialog(settings::FolderPath("\\missing\\copy.txt"));
  widgets_person::AnswerNextMessageBox(world.desktop, "OK");
  ClickButton(3);
  EXPECT_EQ(widgets::CurrentMessageBox()->lblText.Caption(),
            "The log could not be saved to " + settings::FolderPath("\\missing\\copy.txt") + ".");

  // Cancelled: nothing written, nothing said.
  const size_t boxes = testevents::Count(world.desktop, Event::Kind::SaveDialog);
  ClickButton(3);
  EXPECT_EQ(testevents::Count(world.desktop, Event::Kind::SaveDialog), boxes + 1);
}

TEST_F(LogPageTest, PrintLogPrintsTheShownDayOnPagesAndAnEmptyTextNothing) {
  std::string text;
  for (int i = 1; i <= 90; ++i) {
    text += " Bob: message number " + std::to_string(i) +
            (i % 10 == 0 ? " with a long tail that goes on and on past the right margin of the "
                           "printed page so that it has to wrap onto the next line"
                         : "") +
            "\r\n";
  }
  WriteLog("Bob\\1-2-2001.txt", text);
  WriteLog("Carl\\1-2-2001.txt", "");
  page->Shown();
  ClickButton(4);  // nothing shown: nothing printed
  EXPECT_EQ(testevents::Count(world.desktop, Event::Kind::Print), 0u);

  ClickRow(page->ctListIMLogFolder, 0);
  ClickRow(page->ctListIMLogFile, 0);
  ClickButton(4);
  ASSERT_EQ(testevents::Count(world.desktop, Event::Kind::Print), 1u);
  EXPECT_EQ(world.desktop.Events().back().text, "Bob\\1-2-2001.txt");
  EXPECT_EQ(world.desktop.PrintedPages().size(), 2u);

  ClickRow(page->ctListIMLogFolder, 1);
  ClickRow(page->ctListIMLogFile, 0);
  ClickButton(4);
  EXPECT_EQ(testevents::Count(world.desktop, Event::Kind::Print), 1u);
  EXPECT_EQ(world.desktop.PrintedPages().size(), 2u);
}

}  // namespace
}  // namespace logtest
