#include "platform/files.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "platform/ansi.h"

namespace platform::files {
namespace fs = std::filesystem;

namespace {

std::string& Folder() {
  static std::string folder;
  return folder;
}

HostMapping& Mapping() {
  static HostMapping mapping;
  return mapping;
}

std::string ProgramName(const fs::path& hostName) {
  if (Mapping().fromHost) return Mapping().fromHost(hostName);
  return Utf8ToAnsi(hostName.string());
}

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Wildcard match as the platform lists files: '*' any run, '?' one character, no case.
bool Matches(const std::string& name, const std::string& pattern) {
  size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
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
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Lower(x) < Lower(y); });
}

std::vector<std::string> ListEntries(const std::string& folder, bool directories,
                                     const std::string& pattern) {
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(HostPath(folder), ec);
  if (ec) return names;
  for (const auto& entry : it) {
    std::error_code typeError;
    bool isDirectory = entry.is_directory(typeError);
    if (typeError || isDirectory != directories) continue;
    std::string name = ProgramName(entry.path().filename());
    if (Matches(name, pattern)) names.push_back(name);
  }
  // The platform lists a folder in its own order; a sorted one keeps every run the same.
  std::sort(names.begin(), names.end(), LessNoCase);
  return names;
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
  if (Mapping().toHost) return Mapping().toHost(path);
  std::string converted = AnsiToUtf8(path);
  std::replace(converted.begin(), converted.end(), '\\', '/');
  return fs::path(converted);
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

std::optional<std::string> ReadAll(const std::string& path) {
  if (!Exists(path) || IsDirectory(path)) return std::nullopt;
  std::ifstream in(HostPath(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return content.str();
}

bool WriteAll(const std::string& path, const std::string& bytes) {
  if (path.empty() || IsDirectory(path)) return false;
  std::ofstream out(HostPath(path), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

bool Append(const std::string& path, const std::string& bytes) {
  if (path.empty() || IsDirectory(path)) return false;
  std::ofstream out(HostPath(path), std::ios::binary | std::ios::app);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
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

std::optional<FileStamp> Stamp(const std::string& path) {
  std::error_code ec;
  const fs::path host = HostPath(path);
  const fs::file_status status = fs::status(host, ec);
  if (ec || !fs::is_regular_file(status)) return std::nullopt;
  FileStamp stamp;
  stamp.size = fs::file_size(host, ec);
  if (ec) return std::nullopt;
  stamp.modified = fs::last_write_time(host, ec).time_since_epoch().count();
  if (ec) return std::nullopt;
  return stamp;
}

bool Copy(const std::string& from, const std::string& to) {
  std::error_code ec;
  if (!Exists(from) || IsDirectory(from)) return false;
  fs::copy_file(HostPath(from), HostPath(to), fs::copy_options::overwrite_existing, ec);
  return !ec;
}

std::vector<std::string> List(const std::string& folder, const std::string& pattern) {
  return ListEntries(folder, false, pattern);
}

std::vector<std::string> ListDirectories(const std::string& folder) {
  return ListEntries(folder, true, "*");
}

}  // namespace platform::files
