// What the program left in the host's files, read back by tests.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace testfiles {

// The file's bytes; "" when it cannot be read.
std::string Read(const std::filesystem::path& path);
// The regular files directly in `dir`, in name order, one after the other; "" when none.
std::string ReadAllIn(const std::filesystem::path& dir);
// How many files lie directly in `dir`; 0 when it is missing.
int FilesIn(const std::filesystem::path& dir);
// How often `part` occurs in `text`.
size_t Occurrences(const std::string& text, const std::string& part);

}  // namespace testfiles
