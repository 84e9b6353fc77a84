// Files of the program, named with Windows-style paths ("\" separators, ANSI text) as the
// program builds them; mapped to the host file system here and nowhere else.
//
// A path that begins with the program folder keeps that folder as the host names it (any bytes,
// "\" included); what follows it, and every other path, is the program's own Windows-style name:
// ANSI text whose parts are separated by "\" (or "/"). Those parts are matched without regard to
// case, as the platform matches file names (Windows-1252 letters), when a file or folder is
// opened, listed, removed or created: "warm.fad" finds "Warm.FAD", and writing "bob\a.txt" where
// "Bob" exists writes into "Bob".
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::files {

// The program folder (App.Path): a host path, the executable's folder or the one given at start.
void SetProgramFolder(const std::string& folder);
const std::string& ProgramFolder();

// The host path of a program path, matched to what exists without regard to case.
std::filesystem::path HostPath(const std::string& path);

// How program paths (ANSI) become host paths and host names program names. Without a mapping
// the text becomes UTF-8 and each part is matched as above (Linux). The Win32 backend installs
// the system's ANSI code page: its file system matches names without regard to case itself, and
// the program folder, ANSI text from the same system, goes through `toHost` too.
struct HostMapping {
  std::function<std::filesystem::path(const std::string& programPath)> toHost;
  std::function<std::string(const std::filesystem::path& hostName)> fromHost;
};
void SetHostMapping(HostMapping mapping);

bool Exists(const std::string& path);
bool IsDirectory(const std::string& path);
// A symbolic link (or junction): removed as itself, never followed, by Remove.
bool IsLink(const std::string& path);
// Makes one folder; fails when its parent is missing or the name exists (as MkDir does).
bool MakeDirectory(const std::string& path);

// The whole of a regular file; nothing for a missing file, a folder, a pipe or a device (which
// could block or never end), a file larger than `limit` bytes, or a failed read.
std::optional<std::string> ReadAll(const std::string& path, size_t limit = SIZE_MAX);
// ReadAll on a host path.
std::optional<std::string> ReadHostFile(const std::filesystem::path& hostPath,
                                        size_t limit = SIZE_MAX);

// Creates or replaces the file as a whole: the bytes go to a temporary file beside it, which is
// flushed to the disk and then renamed over the old file. On any failure the old file stays as
// it was (or no file appears) and the result is false.
bool WriteAll(const std::string& path, const std::string& bytes);
// Adds the bytes at the end of the file (created when missing). All of them or none: a failed
// append cuts the file back to its old length and gives false.
bool Append(const std::string& path, const std::string& bytes);
bool Remove(const std::string& path);  // a file or a link
// Removes an empty folder (as RmDir does); false for anything else.
bool RemoveDirectory(const std::string& path);
// Replaces `to` as WriteAll does.
bool Copy(const std::string& from, const std::string& to);
// Names (not paths) of the files in `folder` matching `pattern` ("*.Fad", "*.*"), compared
// without regard to case as the platform does, sorted without regard to case.
std::vector<std::string> List(const std::string& folder, const std::string& pattern);
std::vector<std::string> ListDirectories(const std::string& folder);
// A file's size and last-write time, enough to tell that it changed.
struct FileStamp {
  uint64_t size = 0;
  int64_t modified = 0;  // in the file system's own ticks
  bool operator==(const FileStamp&) const = default;
};
struct StampedFile {
  std::string name;
  FileStamp stamp;
};
// The regular files List would name, each with its stamp, read in the same pass over the folder
// (no lookup of each name again: a folder of thousands of files is looked at once).
std::vector<StampedFile> ListStamped(const std::string& folder, const std::string& pattern);

// Fault injection, for tests: after `bytes` more bytes have gone to files through WriteAll,
// Append and Copy, writing fails as on a full disk (what fits is written, the rest refused).
// Nothing lifts the limit.
void LimitWrites(std::optional<size_t> bytes);

}  // namespace platform::files
