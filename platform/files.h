// Files of the program, named with Windows-style paths ("\" separators, ANSI text) as the
// program builds them; mapped to the host file system here and nowhere else.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::files {

// The program folder (App.Path): the executable's folder, or the one given at start.
void SetProgramFolder(const std::string& folder);
const std::string& ProgramFolder();

std::filesystem::path HostPath(const std::string& path);

// How program paths (ANSI) become host paths and host names program names. Without a mapping
// "\" turns into "/" and the text into UTF-8 (Linux); the Win32 backend installs the system's
// ANSI code page.
struct HostMapping {
  std::function<std::filesystem::path(const std::string& programPath)> toHost;
  std::function<std::string(const std::filesystem::path& hostName)> fromHost;
};
void SetHostMapping(HostMapping mapping);

bool Exists(const std::string& path);
bool IsDirectory(const std::string& path);
// A symbolic link (or junction): removed as itself, never followed, by Remove.
bool IsLink(const std::string& path);
// Makes one folder; fails when its parent is missing (as MkDir does).
bool MakeDirectory(const std::string& path);
std::optional<std::string> ReadAll(const std::string& path);
bool WriteAll(const std::string& path, const std::string& bytes);  // created or replaced
bool Append(const std::string& path, const std::string& bytes);    // created when missing
bool Remove(const std::string& path);                              // a file or a link
// Removes an empty folder (as RmDir does); false for anything else.
bool RemoveDirectory(const std::string& path);
// A file's size and last-write time, enough to tell that it changed; none for a missing file
// or a folder.
struct FileStamp {
  uint64_t size = 0;
  int64_t modified = 0;  // in the file system's own ticks
  bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> Stamp(const std::string& path);
bool Copy(const std::string& from, const std::string& to);
// Names (not paths) of the files in `folder` matching `pattern` ("*.Fad", "*.*"), compared
// without regard to case as the platform does, in the platform's listing order.
std::vector<std::string> List(const std::string& folder, const std::string& pattern);
std::vector<std::string> ListDirectories(const std::string& folder);

}  // namespace platform::files
