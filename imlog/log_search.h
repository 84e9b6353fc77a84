// Search across every log: a word or phrase looked up in each day file of each correspondent's
// folder under "\IM Logs\", without regard to case (Windows-1252 letters, accented ones
// included). The files' texts are kept between searches and read again whenever a file's size
// or write time changed, so a repeated search touches the disk only for the listing; every
// search lists the folders afresh, so new, changed and deleted files are always seen.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/files.h"

namespace imlog {

// The Windows-1252 lower-case letter of a byte (the byte itself when it is no upper-case one).
unsigned char FoldCase(unsigned char c);

struct SearchHit {
  std::string folder;  // the correspondent's folder
  std::string day;     // the day file's name without ".txt"
  std::string line;    // the line that holds the match
  size_t offset = 0;   // where the match begins in the file's text
};

struct SearchResult {
  std::vector<SearchHit> hits;
  bool truncated = false;  // more lines matched than were kept
  size_t filesSearched = 0;
  size_t filesRead = 0;  // of those, read from disk (the others were kept from before)
};

class LogSearch {
 public:
  static constexpr size_t kDefaultMaxHits = 1000;

  // `root`: the log folder as a Windows-style path ending in "\".
  explicit LogSearch(std::string root) : root_(std::move(root)) {}

  // Every line holding `phrase`, one hit per line at its first match: folders in listing order,
  // each folder's days in date order (names that are no date after them, by name). Nothing for
  // an empty phrase.
  SearchResult Find(const std::string& phrase, size_t maxHits = kDefaultMaxHits);

  // Forgets the kept texts (the next search reads every file).
  void Forget() { kept_.clear(); }

 private:
  struct KeptFile {
    platform::files::FileStamp stamp;
    std::string text;
  };
  const std::string* Text(const std::string& path, const platform::files::FileStamp& stamp,
                          SearchResult& result, std::unordered_map<std::string, KeptFile>& fresh);

  std::string root_;
  std::unordered_map<std::string, KeptFile> kept_;
};

}  // namespace imlog
