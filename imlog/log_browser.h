// The "Logging" page of the settings window: the correspondents' log folders, the day files
// of the chosen folder, the chosen day's text, and buttons that delete a folder or a file,
// save the shown day elsewhere and print it; and a search box that finds a word or phrase in
// every day of every correspondent and opens the day at a hit.
//
// The page builds its controls inside the frame it is given; the settings window owns them,
// finds them by name, and makes the page for its "Logging" frame.
#pragma once

#include <array>
#include <string>

#include "imlog/log_search.h"
#include "settings/settings_page.h"
#include "ui/ct_list.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/text_box.h"
#include "widgets/ao_button.h"

namespace imlog {

// Removes a folder and everything in it, deepest entries first. Only folders inside the log
// root ("\IM Logs\" of the program folder) are touched: any other path, and a link met on the
// way (removed as a link, never followed), cannot lead outside it. True when the folder is
// gone. A path that is no folder shows the platform's "Not Valid Folder" notice.
bool DeleteFolderTree(const std::string& path);

class LogBrowserPage : public settings::SettingsPage {
 public:
  // Builds the page's controls inside `frame`, owned by `window`.
  LogBrowserPage(ui::Form& window, ui::Control& frame);

  ui::ctList& ctListIMLogFolder;
  ui::ctList& ctListIMLogFile;
  ui::TextBox& txtIMLog;
  // AOButtonIMLog(1) "Delete Folder" ... (4) "Print Log"; element 0 is unused.
  std::array<widgets::AOButton*, 5> AOButtonIMLog{};
  ui::Label& lblSearch;
  ui::TextBox& txtSearch;
  widgets::AOButton& AOButtonSearch;
  ui::ctList& ctListSearchHits;  // columns: member, date, line
  ui::Label& lblSearchResult;

  // The page is shown: both lists and the text emptied, the folders listed afresh.
  void Shown() override;
  void FolderClick();
  void FileClick();
  void ButtonClick(int index);
  // Searches every log for the search box's text and lists the hits.
  void Search();
  // Opens the day of hit row `row` with the match selected.
  void OpenHit(int row);

  const SearchResult& LastSearch() const { return lastSearch_; }

 private:
  void DirMap();
  void DeleteFolder();
  void DeleteFile();
  void SaveLogFileAs();
  void PrintLog();
  std::string SelectedFolder() const;
  std::string SelectedFilePath() const;
  bool SelectRowWithText(ui::ctList& list, const std::string& text);

  ui::Form& window_;
  LogSearch search_;
  SearchResult lastSearch_;
  std::string lastPhrase_;
};

}  // namespace imlog
