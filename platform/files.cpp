#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "platform/ansi.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform::files {
namespace fs = std::filesystem;

namespace {

// A file being replaced is written under its own name and this ending first.
constexpr const char* kTemporaryEnding = ".~new";

std::string& Folder() {
  static std::string folder;
  return folder;
}

HostMapping& Mapping() {
  static HostMapping mapping;
  return mapping;
}

std::optional<size_t>& WriteAllowance() {
  static std::optional<size_t> allowance;
  return allowance;
}

fs::path FromUtf8(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string ToUtf8(const fs::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

// The program's (ANSI) name of a host entry's name.
std::string ProgramName(const fs::path& hostName) {
  if (Mapping().fromHost) return Mapping().fromHost(hostName);
  return Utf8ToAnsi(ToUtf8(hostName));
}

#ifndef _WIN32
// The entry of `folder` that the platform would take for `name`: the one so spelt, else the
// first (in host order of names) that differs only in case; `name` itself when none does.
fs::path MatchEntry(const fs::path& folder, const std::string& name) {
  const fs::path exact = folder / FromUtf8(AnsiToUtf8(name));
  std::error_code ec;
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  std::optional<fs::path> found;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
  if (ec) return exact;
  for (const auto& entry : it) {
    if (!EqualNoCase(ProgramName(entry.path().filename()), name)) continue;
    fs::path candidate = folder / entry.path().filename();
    if (!found || candidate < *found) found = candidate;
  }
  return found.value_or(exact);
}
#endif

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// Wildcard match as the platform lists files: '*' any run, '?' one character, no case.
bool Matches(const std::string& name, const std::string& pattern) {
  size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || AnsiLower(pattern[p]) == AnsiLower(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(AnsiLower(x)) < static_cast<unsigned char>(AnsiLower(y));
  });
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

struct Entry {
  std::string name;  // the program's name of it
  fs::directory_entry host;
};

std::vector<Entry> ListEntries(const std::string& folder, bool directories,
                               const std::string& pattern) {
  std::vector<Entry> entries;
  std::error_code ec;
  fs::directory_iterator it(HostPath(folder), ec);
  if (ec) return entries;
  for (const auto& entry : it) {
    std::error_code typeError;
    const bool isDirectory = entry.is_directory(typeError);
    if (typeError || isDirectory != directories) continue;
    std::string name = ProgramName(entry.path().filename());
    if (!directories && EndsWith(name, kTemporaryEnding)) continue;
    if (Matches(name, pattern)) entries.push_back({std::move(name), entry});
  }
  // The platform lists a folder in its own order; a sorted one keeps every run the same.
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return LessNoCase(a.name, b.name); });
  return entries;
}

std::vector<std::string> NamesOf(std::vector<Entry> entries) {
  std::vector<std::string> names;
  names.reserve(entries.size());
  for (Entry& entry : entries) names.push_back(std::move(entry.name));
  return names;
}

// Writes the bytes to an open stream within what the write limit allows; false when any byte
// was refused or the stream failed.
bool Put(std::FILE* out, const std::string& bytes) {
  size_t allowed = bytes.size();
  auto& allowance = WriteAllowance();
  if (allowance) allowed = std::min(allowed, *allowance);
  const size_t written = allowed == 0 ? 0 : std::fwrite(bytes.data(), 1, allowed, out);
  if (allowance) *allowance -= written;
  return written == bytes.size();
}

// Pushes what was written to the disk, so that a rename after it never exposes a file whose
// contents are still missing.
bool Flush(std::FILE* out) {
  if (std::fflush(out) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(out)) == 0;
#else
  return fsync(fileno(out)) == 0;
#endif
}

std::FILE* Open(const fs::path& path, const char* mode) {
#ifdef _WIN32
  const std::wstring wide = path.wstring();
  const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(wide.c_str(), wideMode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

bool IsRegularOrMissing(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  return !fs::exists(status) || fs::is_regular_file(status);
}

// The path begins with the program folder as a whole (not only with its first letters).
bool InProgramFolder(const std::string& path) {
  const std::string& folder = ProgramFolder();
  if (folder.empty() || !path.starts_with(folder)) return false;
  return path.size() == folder.size() || IsSeparator(folder.back()) ||
         IsSeparator(path[folder.size()]);
}

}  // namespace

void SetProgramFolder(const std::string& folder) {
  Folder() = folder;
}
const std::string& ProgramFolder() {
  return Folder();
}

void SetHostMapping(HostMapping mapping) {
  Mapping() = std::move(mapping);
}

fs::path HostPath(const std::string& path) {
  const bool inFolder = InProgramFolder(path);
  size_t at = inFolder ? ProgramFolder().size() : 0;
  if (const auto& toHost = Mapping().toHost) {
    // The host's own mapping, which matches names without regard to case itself. The folder is
    // text of the host's, in the same code page as the program's, and goes through it as it is.
    fs::path host = inFolder ? toHost(ProgramFolder()) : fs::path();
    host += toHost(path.substr(at)).native();
    return host;
  }
#ifdef _WIN32
  // The platform matches names without regard to case itself.
  fs::path host = inFolder ? fs::path(ProgramFolder()) : fs::path();
  host += FromUtf8(AnsiToUtf8(path.substr(at)));
  return host;
#else
  fs::path host = inFolder ? fs::path(ProgramFolder()) : fs::path();
  if (!inFolder && !path.empty() && IsSeparator(path.front())) host = "/";
  while (at < path.size()) {
    while (at < path.size() && IsSeparator(path[at])) ++at;
    size_t end = at;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    if (end == at) break;
    const std::string part = path.substr(at, end - at);
    host = part == "." || part == ".." ? host / part : MatchEntry(host, part);
    at = end;
  }
  // A path that ends with a separator names a folder.
  if (!path.empty() && IsSeparator(path.back()) && host.has_filename()) host /= "";
  return host;
#endif
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(HostPath(path), ec);
}

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(HostPath(path), ec);
}

bool IsLink(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_symlink(fs::symlink_status(HostPath(path), ec));
}

bool MakeDirectory(const std::string& path) {
  std::error_code ec;
  fs::path host = HostPath(path);
  while (!host.empty() && !host.has_filename()) host = host.parent_path();
  if (host.empty() || !fs::is_directory(host.parent_path(), ec)) return false;
  return fs::create_directory(host, ec) && !ec;
}

std::optional<std::string> ReadHostFile(const fs::path& hostPath, size_t limit) {
#ifdef _WIN32
  std::error_code ec;
  if (!fs::is_regular_file(hostPath, ec)) return std::nullopt;
  std::FILE* in = Open(hostPath, "rb");
#else
  // Opened without waiting (a pipe would wait for a writer), then checked by what was opened,
  // so that nothing swapped in between is read.
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::FILE* in = fdopen(fd, "rb");
  if (!in) ::close(fd);
#endif
  if (!in) return std::nullopt;
  std::string content;
  char buffer[65536];
  bool ok = true;
  for (;;) {
    const size_t got = std::fread(buffer, 1, sizeof buffer, in);
    if (got > limit - std::min(limit, content.size())) {
      ok = false;
      break;
    }
    content.append(buffer, got);
    if (got < sizeof buffer) {
      ok = !std::ferror(in);
      break;
    }
  }
  std::fclose(in);
  if (!ok) return std::nullopt;
  return content;
}

std::optional<std::string> ReadAll(const std::string& path, size_t limit) {
  if (path.empty()) return std::nullopt;
  return ReadHostFile(HostPath(path), limit);
}

bool WriteAll(const std::string& path, const std::string& bytes) {
  if (path.empty()) return false;
  const fs::path target = HostPath(path);
  if (!target.has_filename() || !IsRegularOrMissing(target)) return false;
  fs::path temporary = target;
  temporary += kTemporaryEnding;
  std::FILE* out = Open(temporary, "wb");
  if (!out) return false;
  const bool written = Put(out, bytes) && Flush(out);
  const bool closed = std::fclose(out) == 0;
  std::error_code ec;
  if (written && closed) {
    fs::rename(temporary, target, ec);
    if (!ec) return true;
  }
  fs::remove(temporary, ec);
  return false;
}

bool Append(const std::string& path, const std::string& bytes) {
  if (path.empty()) return false;
  const fs::path target = HostPath(path);
  if (!target.has_filename() || !IsRegularOrMissing(target)) return false;
  std::error_code ec;
  const bool existed = fs::exists(target, ec);
  const uintmax_t oldSize = existed ? fs::file_size(target, ec) : 0;
  if (ec) return false;
  std::FILE* out = Open(target, "ab");
  if (!out) return false;
  const bool written = Put(out, bytes) && Flush(out);
  const bool closed = std::fclose(out) == 0;
  if (written && closed) return true;
  if (existed) {
    fs::resize_file(target, oldSize, ec);
  } else {
    fs::remove(target, ec);
  }
  return false;
}

bool Remove(const std::string& path) {
  std::error_code ec;
  return !path.empty() && (IsLink(path) || !IsDirectory(path)) && fs::remove(HostPath(path), ec) &&
         !ec;
}

bool RemoveDirectory(const std::string& path) {
  std::error_code ec;
  if (!IsDirectory(path) || IsLink(path) || !fs::is_empty(HostPath(path), ec) || ec) return false;
  return fs::remove(HostPath(path), ec) && !ec;
}

bool Copy(const std::string& from, const std::string& to) {
  std::optional<std::string> bytes = ReadAll(from);
  return bytes && WriteAll(to, *bytes);
}

std::vector<std::string> List(const std::string& folder, const std::string& pattern) {
  return NamesOf(ListEntries(folder, false, pattern));
}

std::vector<std::string> ListDirectories(const std::string& folder) {
  return NamesOf(ListEntries(folder, true, "*"));
}

std::vector<StampedFile> ListStamped(const std::string& folder, const std::string& pattern) {
  std::vector<StampedFile> files;
  for (Entry& entry : ListEntries(folder, false, pattern)) {
    std::error_code ec;
    if (!entry.host.is_regular_file(ec) || ec) continue;
    FileStamp stamp;
    stamp.size = entry.host.file_size(ec);
    if (ec) continue;
    stamp.modified = entry.host.last_write_time(ec).time_since_epoch().count();
    if (ec) continue;
    files.push_back({std::move(entry.name), stamp});
  }
  return files;
}

void LimitWrites(std::optional<size_t> bytes) {
  WriteAllowance() = bytes;
}

}  // namespace platform::files
