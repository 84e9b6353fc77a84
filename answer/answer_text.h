// The texts of the auto-answer engine: the answer link, the answers made from the message
// files, the comparison of screen names, and the sign that a received message is itself an
// automatic answer.
#pragma once

#include <optional>
#include <string>

namespace answer {

// The host name of the maker's web site, as the answer link names it.
inline constexpr const char* kWebSiteHost = "www.morvanesoftware.com";
// The text of the answer link; every answer ends with a line of its own that shows it.
inline constexpr const char* kLinkText = "Pallion";

// "<A HREF=" host ">Pallion</A>".
std::string AnswerLink();

// A screen name as the engine compares it: lower case, every space removed.
std::string NormalizeName(const std::string& name);
bool SameName(const std::string& a, const std::string& b);

// The general answer: the away message with every "{SN}" (any letter case) replaced by the
// screen name, then CR and the link. The message keeps its own final line end.
std::string GeneralAnswer(std::string message, const std::string& screenName);
// The personal answer: the message without its final LF and then its final CR, sent as written,
// then CR and the link.
std::string PersonalAnswer(std::string message);

// True when the message has something to say besides blanks and line ends; an answer without
// it would be the bare link line, and is not sent.
bool HasMessageText(const std::string& message);

// The file of a message named `name` in `folder` (a folder path of the program ending in "\"):
// folder + name + ".Mes". Nothing for a name that cannot be a file of that folder (empty of
// characters before ".Mes" is allowed; a path separator or a ".." name is not).
std::optional<std::string> MessageFile(const std::string& folder, const std::string& name);

// True when the last non-blank line of an IM conversation (lines split at CR or LF) is the
// link text alone: the newest message there is an automatic answer of this program, and
// answering it would start two answering programs writing to each other without end.
bool EndsWithAutoAnswer(const std::string& conversation);

}  // namespace answer
