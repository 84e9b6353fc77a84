#include "platform/ini_file.h"

#include <string_view>
#include <vector>

#include "platform/ansi.h"

namespace platform::ini {

namespace {

// Blanks around names and values in the file; CR and LF never reach here (they end lines).
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v';
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Section and key arguments lose leading and trailing spaces only; tabs stay significant.
std::string TrimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

enum class Kind { kBlank, kComment, kHeader, kKey, kOther };

struct Line {
  size_t begin = 0;    // first byte of the line
  size_t textEnd = 0;  // where its line break starts
  size_t end = 0;      // after its line break
  Kind kind = Kind::kBlank;
  std::string name;   // section name of a header, key name of a key line (trimmed)
  std::string value;  // raw value of a key line, blanks trimmed, quotes kept
};

bool HasBreak(const Line& line) {
  return line.end != line.textEnd;
}

Line Classify(std::string_view text) {
  Line line;
  // Names and values are C strings to the platform: a NUL ends what the line says.
  if (size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  std::string_view body = TrimBlanks(text);
  if (body.empty()) return line;
  if (body.front() == ';') {
    line.kind = Kind::kComment;
    return line;
  }
  if (body.front() == '[') {
    std::string_view name = body.substr(1);
    if (size_t close = name.find(']'); close != std::string_view::npos) {
      name = name.substr(0, close);
    }
    line.kind = Kind::kHeader;
    line.name = std::string(TrimBlanks(name));
    return line;
  }
  size_t eq = body.find('=');
  if (eq == std::string_view::npos) {
    line.kind = Kind::kOther;
    return line;
  }
  line.kind = Kind::kKey;
  line.name = std::string(TrimBlanks(body.substr(0, eq)));
  line.value = std::string(TrimBlanks(body.substr(eq + 1)));
  return line;
}

std::vector<Line> Parse(const std::string& content) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < content.size()) {
    size_t textEnd = content.find_first_of("\r\n", pos);
    size_t end;
    if (textEnd == std::string::npos) {
      textEnd = end = content.size();
    } else if (content[textEnd] == '\r' && textEnd + 1 < content.size() &&
               content[textEnd + 1] == '\n') {
      end = textEnd + 2;
    } else {
      end = textEnd + 1;
    }
    Line line = Classify(std::string_view(content).substr(pos, textEnd - pos));
    line.begin = pos;
    line.textEnd = textEnd;
    line.end = end;
    lines.push_back(std::move(line));
    pos = end;
  }
  return lines;
}

// Lines [header, end) of one section; lines before the first header belong to none.
struct Section {
  size_t header = 0;
  size_t end = 0;
};

// Only the first section of a name counts, for reading and for writing.
std::optional<Section> FindSection(const std::vector<Line>& lines, std::string_view name) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != Kind::kHeader || !EqualNoCase(lines[i].name, name)) continue;
    Section section{i, i + 1};
    while (section.end < lines.size() && lines[section.end].kind != Kind::kHeader) ++section.end;
    return section;
  }
  return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<Line>& lines, const Section& section,
                              std::string_view key) {
  for (size_t i = section.header + 1; i < section.end; ++i) {
    if (lines[i].kind == Kind::kKey && EqualNoCase(lines[i].name, key)) return i;
  }
  return std::nullopt;
}

// One matching pair of outer quotes goes; anything else stays as it is.
std::string StripQuotes(std::string value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string CutToBuffer(std::string text, size_t size) {
  if (text.size() >= size) text.resize(size - 1);
  return text;
}

// Names each followed by a NUL; when the list and its final NUL do not fit with room to
// spare, it is cut to size - 2 (the platform ends a cut list with two NULs after that).
std::string NameList(const std::vector<std::string>& names, size_t size) {
  std::string list;
  for (const std::string& name : names) {
    if (name.empty()) continue;  // an empty name would read as the end of the list
    list += name;
    list += '\0';
  }
  if (size >= 2 && list.size() <= size - 2) return list;
  list.resize(size >= 2 ? size - 2 : 0);
  return list;
}

void Erase(std::string& text, const Line& line) {
  text.erase(line.begin, line.end - line.begin);
}

}  // namespace

std::string GetProfileString(const std::optional<std::string>& content, const char* section,
                             const char* key, const char* defaultValue, size_t size) {
  if (size == 0) return "";
  std::string fallback = defaultValue ? defaultValue : "";
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();

  const std::vector<Line> lines = content ? Parse(*content) : std::vector<Line>{};
  if (!section) {
    std::vector<std::string> names;
    for (const Line& line : lines) {
      if (line.kind == Kind::kHeader) names.push_back(line.name);
    }
    return NameList(names, size);
  }
  std::optional<Section> found = FindSection(lines, TrimSpaces(section));
  if (!found) return CutToBuffer(fallback, size);
  if (!key) {
    std::vector<std::string> names;
    for (size_t i = found->header + 1; i < found->end; ++i) {
      if (lines[i].kind == Kind::kKey) names.push_back(lines[i].name);
    }
    return NameList(names, size);
  }
  std::optional<size_t> at = FindKey(lines, *found, TrimSpaces(key));
  if (!at) return CutToBuffer(fallback, size);
  return CutToBuffer(StripQuotes(lines[*at].value), size);
}

std::optional<std::string> WriteProfileString(const std::optional<std::string>& content,
                                              const char* section, const char* key,
                                              const char* value) {
  if (!section) return std::nullopt;
  std::string text = content.value_or("");
  const std::vector<Line> lines = Parse(text);
  const std::string sectionName = TrimSpaces(section);
  std::optional<Section> found = FindSection(lines, sectionName);

  if (!key) {
    if (!found) return text;
    // Back to front so that earlier offsets stay valid; comments and blank lines survive.
    for (size_t i = found->end; i-- > found->header;) {
      if (lines[i].kind != Kind::kComment && lines[i].kind != Kind::kBlank) Erase(text, lines[i]);
    }
    return text;
  }

  const std::string keyName = TrimSpaces(key);
  std::optional<size_t> at = found ? FindKey(lines, *found, keyName) : std::nullopt;
  if (!value) {
    if (at) Erase(text, lines[*at]);
    return text;
  }

  if (!found) {
    if (!text.empty() && text.back() != '\r' && text.back() != '\n') text += "\r\n";
    text += "[" + sectionName + "]\r\n" + keyName + "=" + value + "\r\n";
    return text;
  }

  if (at) {
    const Line& line = lines[*at];
    std::string rewritten = line.name + "=" + value;
    if (!HasBreak(line)) rewritten += "\r\n";
    text.replace(line.begin, line.textEnd - line.begin, rewritten);
    return text;
  }

  // A new key goes after the section's last key line (or its header), so that comments and
  // blank lines closing the section stay below it.
  size_t after = found->header;
  for (size_t i = found->header + 1; i < found->end; ++i) {
    if (lines[i].kind == Kind::kKey) after = i;
  }
  std::string inserted = keyName + "=" + value + "\r\n";
  if (!HasBreak(lines[after])) inserted = "\r\n" + inserted;
  text.insert(lines[after].end, inserted);
  return text;
}

}  // namespace platform::ini
