// Whole text files and list files of the program folder (ANSI text, CRLF line ends). Each call
// opens the file for that one operation; a file that cannot be read leaves the caller's data as
// it was.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace host {

// The whole file with one final line end removed (a final LF, then a final CR); nullopt when the
// file cannot be read, so the caller keeps its text unchanged.
std::optional<std::string> LoadTextFile(const std::string& path);

// Writes the text followed by one CRLF, creating or replacing the file; false on failure.
bool SaveTextFile(const std::string& path, const std::string& text);

// Reads the file item by item and hands each to `add`, dispatching pending events between
// items. An item ends at a line end (CR, LF or CRLF) or at a comma; spaces around an item are
// dropped and empty items skipped. False when the file cannot be read.
bool LoadList(const std::string& path, const std::function<void(const std::string&)>& add);

// Writes the items one per line (each followed by CRLF), creating or replacing the file.
bool SaveList(const std::string& path, const std::vector<std::string>& items);

}  // namespace host
