#include "imlog/log_search.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <tuple>

#include "platform/ansi.h"

namespace imlog {

namespace files = platform::files;

namespace {

constexpr const char* kDayFiles = "*.txt";

// The platform's case mapping as a table, for the byte-by-byte search.
const std::array<unsigned char, 256>& FoldTable() {
  static const std::array<unsigned char, 256> table = [] {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c) {
      t[c] = static_cast<unsigned char>(platform::AnsiLower(static_cast<char>(c)));
    }
    return t;
  }();
  return table;
}

// Finds a folded needle in a text without regard to case (Horspool's shifts on folded bytes).
class FoldedFinder {
 public:
  explicit FoldedFinder(const std::string& phrase) : fold_(FoldTable()) {
    for (char c : phrase) needle_.push_back(fold_[static_cast<unsigned char>(c)]);
    shift_.fill(needle_.size());
    for (size_t i = 0; i + 1 < needle_.size(); ++i) shift_[needle_[i]] = needle_.size() - 1 - i;
  }

  // The first match at or after `from`, or npos.
  size_t Next(const std::string& text, size_t from) const {
    const size_t n = needle_.size();
    const auto* hay = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    size_t i = from;
    while (i + n <= size) {
      const unsigned char last = fold_[hay[i + n - 1]];
      if (last == needle_[n - 1]) {
        size_t j = 0;
        while (j + 1 < n && fold_[hay[i + j]] == needle_[j]) ++j;
        if (j + 1 >= n) return i;
      }
      i += shift_[last];
    }
    return std::string::npos;
  }

 private:
  const std::array<unsigned char, 256>& fold_;
  std::vector<unsigned char> needle_;
  std::array<size_t, 256> shift_{};
};

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

// Month, day and year of a day file named "M-D-YYYY"; none for any other name.
std::optional<std::tuple<int, int, int>> DayOf(const std::string& name) {
  int month = 0, day = 0, year = 0;
  char a = 0, b = 0;
  int used = 0;
  if (std::sscanf(name.c_str(), "%d%c%d%c%d%n", &month, &a, &day, &b, &year, &used) != 5 ||
      a != '-' || b != '-' || used != static_cast<int>(name.size())) {
    return std::nullopt;
  }
  return std::make_tuple(year, month, day);
}

// Where a day file goes in the listing: dates in date order first, then other names by name.
using DayOrder = std::tuple<bool, int, int, int, std::string>;
DayOrder OrderOf(const std::string& name) {
  const auto date = DayOf(name);
  const auto [year, month, day] = date.value_or(std::make_tuple(0, 0, 0));
  return {!date.has_value(), year, month, day, name};
}

}  // namespace

unsigned char FoldCase(unsigned char c) {
  return FoldTable()[c];
}

const std::string* LogSearch::Text(const std::string& path, const files::FileStamp& stamp,
                                   SearchResult& result,
                                   std::unordered_map<std::string, KeptFile>& fresh) {
  auto kept = kept_.find(path);
  if (kept == kept_.end() || !(kept->second.stamp == stamp)) {
    auto text = files::ReadAll(path);
    if (!text) return nullptr;
    ++result.filesRead;
    // The stamp from before the read: a file written meanwhile is read again next time.
    kept = kept_.insert_or_assign(path, KeptFile{stamp, std::move(*text)}).first;
  }
  auto& entry = fresh[path] = std::move(kept->second);
  kept_.erase(kept);
  return &entry.text;
}

SearchResult LogSearch::Find(const std::string& phrase, size_t maxHits) {
  SearchResult result;
  if (phrase.empty()) return result;
  const FoldedFinder finder(phrase);
  std::unordered_map<std::string, KeptFile> fresh;
  for (const std::string& folder : files::ListDirectories(root_)) {
    const std::string folderPath = root_ + folder + "\\";
    std::vector<files::StampedFile> days = files::ListStamped(folderPath, kDayFiles);
    for (files::StampedFile& day : days) day.name.resize(day.name.size() - 4);
    // Each name is read as a date once, not at every comparison of the sort.
    std::vector<std::pair<DayOrder, const files::StampedFile*>> ordered;
    ordered.reserve(days.size());
    for (const files::StampedFile& day : days) ordered.emplace_back(OrderOf(day.name), &day);
    std::sort(ordered.begin(), ordered.end());
    for (const auto& [order, file] : ordered) {
      const auto& [day, stamp] = *file;
      const std::string* text = Text(folderPath + day + ".txt", stamp, result, fresh);
      if (text == nullptr) continue;
      ++result.filesSearched;
      size_t at = 0;
      while ((at = finder.Next(*text, at)) != std::string::npos) {
        if (result.hits.size() == maxHits) {
          result.truncated = true;
          break;
        }
        size_t begin = at;
        while (begin > 0 && !IsLineEnd((*text)[begin - 1])) --begin;
        size_t end = at;
        while (end < text->size() && !IsLineEnd((*text)[end])) ++end;
        result.hits.push_back({folder, day, text->substr(begin, end - begin), at});
        at = std::max(end, at + 1);  // one hit per line
      }
    }
  }
  // Files that are gone are forgotten with the rest of the old map.
  kept_ = std::move(fresh);
  return result;
}

}  // namespace imlog
