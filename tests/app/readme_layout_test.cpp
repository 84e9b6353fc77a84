// The README's layout table stays true: every folder of the tree has its row, and every row
// names a folder that exists.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// The folders named in the first column of the README's "## Layout" table, without their "/".
std::set<std::string> LayoutRows(const std::string& readme) {
  std::set<std::string> rows;
  const size_t start = readme.find("## Layout");
  if (start == std::string::npos) return rows;
  std::istringstream in(readme.substr(start));
  std::string line;
  while (std::getline(in, line)) {
    if (line.starts_with("## ") && !line.starts_with("## Layout")) break;
    if (!line.starts_with("| `")) continue;
    const size_t end = line.find('`', 3);
    std::string folder = line.substr(3, end - 3);
    if (folder.ends_with("/")) folder.pop_back();
    rows.insert(folder);
  }
  return rows;
}

// The folders of the tree: top-level ones (not hidden, not build output or `make dist`'s zip
// folder, both ignored by git) and the source folders below them (those with a CMakeLists.txt).
std::set<std::string> Folders(const fs::path& root) {
  std::set<std::string> folders;
  for (const auto& entry : fs::directory_iterator(root)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_directory() || name.starts_with(".") || name.starts_with("build") ||
        name == "dist") {
      continue;
    }
    folders.insert(name);
    if (name == "tests") continue;
    for (const auto& sub : fs::directory_iterator(entry.path())) {
      if (sub.is_directory() && fs::exists(sub.path() / "CMakeLists.txt")) {
        folders.insert(name + "/" + sub.path().filename().string());
      }
    }
  }
  return folders;
}

TEST(ReadmeLayout, ListsEveryFolderAndNothingElse) {
  const fs::path root = PALLION_SOURCE_DIR;
  std::ifstream in(root / "README.md");
  std::stringstream readme;
  readme << in.rdbuf();
  const std::set<std::string> rows = LayoutRows(readme.str());
  ASSERT_FALSE(rows.empty());
  for (const std::string& folder : Folders(root)) {
    EXPECT_TRUE(rows.count(folder)) << "the layout table has no row for " << folder << "/";
  }
  for (const std::string& row : rows) {
    EXPECT_TRUE(fs::is_directory(root / row))
        << "the layout table names " << row << "/, which does not exist";
  }
}

}  // namespace
