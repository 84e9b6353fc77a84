// The platform's private-profile (INI) format, over a file's bytes: what GetPrivateProfileStringA
// reads and how WritePrivateProfileStringA edits a file in place. Pure text logic; callers do
// the file I/O.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace platform::ini {

// GetPrivateProfileStringA over `content` (nullopt: the file does not exist). A null key lists
// the section's keys, a null section lists the section names (each followed by a NUL, the list
// by one more); a null default is "". The result is cut to the buffer `size` as the platform
// cuts it (size 0 gives ""); its length is the count the platform returns.
std::string GetProfileString(const std::optional<std::string>& content, const char* section,
                             const char* key, const char* defaultValue, size_t size);

// WritePrivateProfileStringA applied to `content` (nullopt: the file does not exist). A null key
// deletes the section, a null value deletes the key. Returns the new file bytes, or nullopt
// when the platform would fail (a null section).
std::optional<std::string> WriteProfileString(const std::optional<std::string>& content,
                                              const char* section, const char* key,
                                              const char* value);

}  // namespace platform::ini
