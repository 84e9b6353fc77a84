#include "support/host_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

namespace testfiles {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadAllIn(const fs::path& dir) {
  std::error_code error;
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(dir, error)) {
    if (e.is_regular_file()) files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  std::string all;
  for (const auto& f : files) all += Read(f);
  return all;
}

int FilesIn(const fs::path& dir) {
  std::error_code error;
  int n = 0;
  for (const auto& e : fs::directory_iterator(dir, error)) n += e.is_regular_file();
  return n;
}

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

}  // namespace testfiles
