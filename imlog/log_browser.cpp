#include "imlog/log_browser.h"

#include <algorithm>
#include <memory>

#include "host/text_files.h"
#include "host/window_access.h"
#include "platform/ansi.h"
#include "platform/files.h"
#include "platform/win32.h"
#include "settings/settings_store.h"
#include "widgets/message_box.h"

namespace imlog {

namespace files = platform::files;

namespace {

constexpr const char* kTextFilter = "Text Files (txt)|*.txt;";
constexpr int kFolderPicture = 1;

std::string LogRoot() {
  return settings::FolderPath(settings::kLogsFolder);
}

// A name from a listing used as one part of a path: no separators, no "." or "..".
bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("\\/:") == std::string::npos;
}

// True when `path` names something strictly inside the log root, by names alone.
bool InsideLogRoot(const std::string& path) {
  const std::string root = LogRoot();
  if (path.size() <= root.size() || !platform::EqualNoCase(path.substr(0, root.size()), root)) {
    return false;
  }
  size_t start = root.size();
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    if (!IsPlainName(part) && !(part.empty() && end == path.size())) return false;
    start = end + 1;
  }
  return true;
}

bool RemoveTreeInside(const std::string& folder) {
  for (const std::string& name : files::List(folder + "\\", "*")) {
    files::Remove(folder + "\\" + name);
  }
  for (const std::string& name : files::ListDirectories(folder + "\\")) {
    const std::string sub = folder + "\\" + name;
    if (files::IsLink(sub)) {
      files::Remove(sub);
    } else {
      RemoveTreeInside(sub);
    }
  }
  return files::RemoveDirectory(folder);
}

void PlayClick() {
  host::PlaySoundFile(settings::FolderPath(widgets::kClickSound));
}

}  // namespace

bool DeleteFolderTree(const std::string& path) {
  std::string folder = path;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  if (!files::IsDirectory(folder)) {
    platform::MessageBoxA(0, "Not Valid Folder", "", platform::MB_OK);
    return false;
  }
  if (!InsideLogRoot(folder)) return false;
  // A link goes as itself; what it points to stays.
  if (files::IsLink(folder)) return files::Remove(folder);
  return RemoveTreeInside(folder);
}

using settings::MakeControl;

LogBrowserPage::LogBrowserPage(ui::Form& window, ui::Control& frame)
    : ctListIMLogFolder(
          MakeControl<ui::ctList>(window, frame, "ctListIMLogFolder", 8, 18, 150, 120)),
      ctListIMLogFile(MakeControl<ui::ctList>(window, frame, "ctListIMLogFile", 8, 144, 150, 120)),
      txtIMLog(MakeControl<ui::TextBox>(window, frame, "txtIMLog", 166, 18,
                                        frame.ClientWidth() - 174, 246, true)),
      lblSearch(
          MakeControl<ui::Label>(window, frame, "lblSearch", "&Search all logs:", 8, 276, 90, 17)),
      txtSearch(MakeControl<ui::TextBox>(window, frame, "txtSearch", 100, 272, 180, 21)),
      AOButtonSearch(MakeControl<widgets::AOButton>(window, frame, "AOButtonSearch", "Search", 286,
                                                    271, 70, 23)),
      ctListSearchHits(MakeControl<ui::ctList>(window, frame, "ctListSearchHits", 8, 298,
                                               frame.ClientWidth() - 16, 0)),
      lblSearchResult(MakeControl<ui::Label>(window, frame, "lblSearchResult", "", 362, 276,
                                             frame.ClientWidth() - 370, 17)),
      window_(window),
      search_(LogRoot()) {
  const int width = frame.ClientWidth();
  const int height = frame.ClientHeight();
  const int buttonTop = height - 31;
  ctListSearchHits.SetHeight(std::max(buttonTop - 6 - ctListSearchHits.Top(), 40));
  ctListIMLogFolder.SetHeaderText("Member Log Folders");
  ctListIMLogFile.SetHeaderText("Member Log Files");
  for (ui::ctList* list : {&ctListIMLogFolder, &ctListIMLogFile}) {
    list->AddColumn("", 0);
    list->AddColumn("", 20);
  }
  // Picture 1 of each list: a yellow folder, and a written page.
  ctListIMLogFolder.Pictures().AddDrawn(14, 12, 0xFFFFFF, [](gfx::Canvas& c) {
    c.FillRect(1, 3, 12, 8, 0x40D0F0);
    c.FillRect(1, 1, 5, 2, 0x40D0F0);
    c.DrawRect(1, 3, 12, 8, 0x006080);
  });
  ctListIMLogFile.Pictures().AddDrawn(12, 12, 0xFFFFFF, [](gfx::Canvas& c) {
    c.FillRect(2, 0, 8, 12, 0xFFFFFF);
    c.DrawRect(2, 0, 8, 12, 0x808080);
    for (int y = 3; y < 10; y += 2) c.Line(4, y, 8, y, 0x808080);
  });
  txtIMLog.SetLocked(true);
  lblSearch.SetUseMnemonic(true);
  ctListSearchHits.AddColumn("Member", 110);
  ctListSearchHits.AddColumn("Date", 80);
  ctListSearchHits.AddColumn("Line", 0);
  ctListSearchHits.SetHeaderText("Search Results");

  const char* captions[] = {"", "Delete Folder", "Delete File", "Save Log File As", "Print Log"};
  const int buttonWidth = (width - 16 - 3 * 6) / 4;
  for (int i = 1; i <= 4; ++i) {
    AOButtonIMLog[i] = &MakeControl<widgets::AOButton>(window, frame, "AOButtonIMLog", captions[i],
                                                       8 + (i - 1) * (buttonWidth + 6), buttonTop,
                                                       buttonWidth, 25, i);
    AOButtonIMLog[i]->OnClick = [this, i] { ButtonClick(i); };
  }
  ctListIMLogFolder.OnCurrentRowChanged = [this] { FolderClick(); };
  ctListIMLogFile.OnCurrentRowChanged = [this] { FileClick(); };
  ctListSearchHits.OnCurrentRowChanged = [this] { OpenHit(ctListSearchHits.ListIndex()); };
  AOButtonSearch.OnClick = [this] { Search(); };
  txtSearch.OnKeyDown = [this](int& keyCode, int) {
    if (keyCode != platform::VK_RETURN) return;
    keyCode = 0;
    Search();
  };
}

void LogBrowserPage::Shown() {
  ctListIMLogFolder.Clear();
  ctListIMLogFile.Clear();
  txtIMLog.SetText("");
  DirMap();
}

void LogBrowserPage::DirMap() {
  for (const std::string& name : files::ListDirectories(LogRoot())) {
    const int row = ctListIMLogFolder.AddItem(name);
    ctListIMLogFolder.SetCellPicture(row, 1, kFolderPicture);
  }
}

std::string LogBrowserPage::SelectedFolder() const {
  const int row = ctListIMLogFolder.ListIndex();
  return row < 0 ? std::string() : ctListIMLogFolder.CellText(row, 0);
}

std::string LogBrowserPage::SelectedFilePath() const {
  const int row = ctListIMLogFile.ListIndex();
  const std::string folder = SelectedFolder();
  if (row < 0 || !IsPlainName(folder)) return {};
  const std::string file = ctListIMLogFile.CellText(row, 0);
  if (!IsPlainName(file)) return {};
  return LogRoot() + folder + "\\" + file + ".txt";
}

void LogBrowserPage::FolderClick() {
  ctListIMLogFile.Clear();
  const std::string folder = SelectedFolder();
  if (!IsPlainName(folder)) return;
  for (const std::string& name : files::List(LogRoot() + folder + "\\", "*.txt")) {
    const int row = ctListIMLogFile.AddItem(name.substr(0, name.size() - 4));
    ctListIMLogFile.SetCellPicture(row, 1, kFolderPicture);
  }
}

void LogBrowserPage::FileClick() {
  const std::string path = SelectedFilePath();
  if (path.empty()) return;
  if (auto text = host::LoadTextFile(path)) txtIMLog.SetText(*text);
}

void LogBrowserPage::ButtonClick(int index) {
  PlayClick();
  switch (index) {
    case 1:
      DeleteFolder();
      break;
    case 2:
      DeleteFile();
      break;
    case 3:
      SaveLogFileAs();
      break;
    case 4:
      PrintLog();
      break;
    default:
      break;
  }
}

void LogBrowserPage::DeleteFolder() {
  const platform::HWND owner = window_.hwnd();
  if (ctListIMLogFolder.ListIndex() < 0) {
    widgets::ShowMessageBox(owner, "Please choose a folder from Members Log Folder to Delete.", 0,
                            "Choose Folder");
    return;
  }
  const std::string name = SelectedFolder();
  if (widgets::ShowMessageBox(owner,
                              "Are you sure you want to permanently Delete the folder '" + name +
                                  "' and all its contents?",
                              4, "Delete " + name + "?") != "Yes") {
    return;
  }
  const std::string path = LogRoot() + name;
  const bool existed = IsPlainName(name) && files::IsDirectory(path);
  if (!DeleteFolderTree(path) && existed) {
    // What could be removed is gone; the lists show what is left.
    Shown();
    SelectRowWithText(ctListIMLogFolder, name);
    widgets::ShowMessageBox(owner, "The folder '" + name + "' could not be deleted completely.", 0,
                            "Not Deleted");
    return;
  }
  ctListIMLogFolder.RemoveItem(ctListIMLogFolder.ListIndex());
  ctListIMLogFile.Clear();
  txtIMLog.SetText("");
}

void LogBrowserPage::DeleteFile() {
  const platform::HWND owner = window_.hwnd();
  if (ctListIMLogFile.ListIndex() < 0) {
    widgets::ShowMessageBox(owner, "Please choose a file from Members Log Files to Delete.", 0,
                            "Choose File");
    return;
  }
  const std::string path = SelectedFilePath();
  if (path.empty() || (files::Exists(path) && !files::Remove(path))) {
    widgets::ShowMessageBox(owner,
                            "The file '" +
                                ctListIMLogFile.CellText(ctListIMLogFile.ListIndex(), 0) +
                                "' could not be deleted.",
                            0, "Not Deleted");
    return;
  }
  const int k = ctListIMLogFile.ListIndex();
  ctListIMLogFile.RemoveItem(k);
  txtIMLog.SetText("");
  // The row after the deleted one, else the one before it, is shown next.
  ctListIMLogFile.SetListIndex(k < ctListIMLogFile.RowCount() ? k : k - 1);
}

void LogBrowserPage::SaveLogFileAs() {
  const platform::HWND owner = window_.hwnd();
  if (ctListIMLogFile.ListIndex() < 0) {
    widgets::ShowMessageBox(owner, "Please choose a file from Members Log Files to Save As..", 0,
                            "Choose File");
    return;
  }
  platform::FileDialogOptions options;
  options.initialDir = settings::FolderPath("\\IM Logs");
  options.filter = kTextFilter;
  const auto chosen = platform::GetSaveFileName(owner, options);
  if (!chosen || chosen->empty()) return;
  if (!host::SaveTextFile(*chosen, txtIMLog.Text())) {
    widgets::ShowMessageBox(owner, "The log could not be saved to " + *chosen + ".", 0,
                            "Not Saved");
  }
}

void LogBrowserPage::PrintLog() {
  const std::string text = txtIMLog.Text();
  if (text.empty()) return;
  const std::string document =
      SelectedFolder() + "\\" + ctListIMLogFile.CellText(ctListIMLogFile.ListIndex(), 0) + ".txt";
  if (!platform::PrintText(document, text)) {
    widgets::ShowMessageBox(window_.hwnd(), "The log could not be printed: there is no printer.", 0,
                            "Not Printed");
  }
}

void LogBrowserPage::Search() {
  lastPhrase_ = txtSearch.Text();
  ctListSearchHits.Clear();
  lastSearch_ = search_.Find(lastPhrase_);
  for (const SearchHit& hit : lastSearch_.hits) {
    const int row = ctListSearchHits.AddItem(hit.folder);
    ctListSearchHits.SetCellText(row, 1, hit.day);
    ctListSearchHits.SetCellText(row, 2, hit.line);
  }
  const size_t count = lastSearch_.hits.size();
  if (lastPhrase_.empty()) {
    lblSearchResult.SetCaption("Type a word to find.");
  } else if (count == 0) {
    lblSearchResult.SetCaption("Not found in any log.");
  } else {
    lblSearchResult.SetCaption((lastSearch_.truncated ? "First " : "") + std::to_string(count) +
                               (count == 1 ? " line found." : " lines found."));
  }
}

bool LogBrowserPage::SelectRowWithText(ui::ctList& list, const std::string& text) {
  for (int row = 0; row < list.RowCount(); ++row) {
    if (list.CellText(row, 0) == text) {
      if (list.ListIndex() == row) list.SetListIndex(-1);
      list.SetListIndex(row);
      return true;
    }
  }
  return false;
}

void LogBrowserPage::OpenHit(int row) {
  if (row < 0 || static_cast<size_t>(row) >= lastSearch_.hits.size()) return;
  const SearchHit hit = lastSearch_.hits[row];
  if (!SelectRowWithText(ctListIMLogFolder, hit.folder)) {
    Shown();
    if (!SelectRowWithText(ctListIMLogFolder, hit.folder)) return;
  }
  if (!SelectRowWithText(ctListIMLogFile, hit.day)) return;
  if (hit.offset + lastPhrase_.size() > txtIMLog.Text().size()) return;
  txtIMLog.SetSelStart(static_cast<int>(hit.offset));
  txtIMLog.SetSelLength(static_cast<int>(lastPhrase_.size()));
  txtIMLog.SetFocus();
}

}  // namespace imlog
