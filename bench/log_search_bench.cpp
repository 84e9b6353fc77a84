// The search across all logs over years of them: 200 correspondents with a day file for each
// of 365 days (about 70,000 files, 100 MB), made once in the temporary folder and kept for
// later runs. A cold search reads every file; a warm one finds the texts kept from the search
// before and only lists the folders and looks at the files' times.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "imlog/log_search.h"
#include "platform/files.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCorrespondents = 200;
constexpr int kDays = 365;
constexpr size_t kDayBytes = 1450;
constexpr const char* kPhrase = "blue lagoon";
constexpr const char* kTreeVersion = "log-tree-1";

const char* const kWords[] = {"hey",   "what",  "are",  "you",     "doing", "tonight", "lol",
                              "movie", "later", "sure", "sounds",  "good",  "call",    "me",
                              "work",  "was",   "long", "weekend", "plans", "maybe"};

// A small fixed generator, so every run makes the same tree.
uint32_t Next(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

std::string DayText(int who, int day) {
  uint32_t state = static_cast<uint32_t>(who * 7919 + day * 104729 + 1);
  std::string text = " Begin IM - 1/" + std::to_string(day % 28 + 1) + "/2001     9:00 PM\r\n ";
  while (text.size() < kDayBytes) {
    text += (Next(state) % 2 ? "\r\nMember" + std::to_string(who) + ": " : "\r\nAlice: ");
    const int words = 3 + static_cast<int>(Next(state) % 9);
    for (int w = 0; w < words; ++w) {
      text += kWords[Next(state) % (sizeof kWords / sizeof *kWords)];
      text += ' ';
    }
  }
  // A few conversations mention the place.
  if ((who * kDays + day) % 997 == 0) text += "\r\nAlice: meet me at the Blue Lagoon";
  text += "\r\n End IM - 1/1/2001     9:30 PM\r\n \r\n";
  return text;
}

// The program folder holding the tree (made when missing or from another version).
const std::string& TreeFolder() {
  static const std::string folder = [] {
    const fs::path root = fs::temp_directory_path() / "pallion_bench_logs";
    const fs::path marker = root / kTreeVersion;
    if (!fs::exists(marker)) {
      fs::remove_all(root);
      for (int who = 0; who < kCorrespondents; ++who) {
        const fs::path dir = root / "IM Logs" / ("Member" + std::to_string(who));
        fs::create_directories(dir);
        for (int day = 0; day < kDays; ++day) {
          const std::string name = std::to_string(day / 28 % 12 + 1) + "-" +
                                   std::to_string(day % 28 + 1) + "-" +
                                   std::to_string(2001 + day / 336) + ".txt";
          std::ofstream(dir / name, std::ios::binary) << DayText(who, day);
        }
      }
      std::ofstream(marker) << "made";
    }
    return root.string();
  }();
  return folder;
}

std::string LogRoot() {
  return TreeFolder() + "\\IM Logs\\";
}

void Report(benchmark::State& state, const imlog::SearchResult& result) {
  state.counters["files"] = static_cast<double>(result.filesSearched);
  state.counters["read"] = static_cast<double>(result.filesRead);
  state.counters["hits"] = static_cast<double>(result.hits.size());
}

void BM_LogSearchCold(benchmark::State& state) {
  const std::string root = LogRoot();
  imlog::SearchResult result;
  for (auto _ : state) {
    imlog::LogSearch search(root);
    result = search.Find(kPhrase);
    benchmark::DoNotOptimize(result.hits.data());
  }
  Report(state, result);
}
BENCHMARK(BM_LogSearchCold)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void BM_LogSearchWarm(benchmark::State& state) {
  imlog::LogSearch search(LogRoot());
  search.Find(kPhrase);
  imlog::SearchResult result;
  for (auto _ : state) {
    result = search.Find(kPhrase);
    benchmark::DoNotOptimize(result.hits.data());
  }
  Report(state, result);
}
BENCHMARK(BM_LogSearchWarm)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
