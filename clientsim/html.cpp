#include "clientsim/html.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>

#include "platform/ansi.h"

namespace clientsim {
namespace {

// The tags open at a point of the text, kept so that opening and closing a tag and reading the
// format in force take constant time (amortised) however deep the nesting: a parser that
// refolded the whole stack at each tag was quadratic in the nesting depth.
class OpenTags {
 public:
  void Open(const std::string& name, bool hasColor, platform::COLORREF color) {
    const size_t id = tags_.size();
    tags_.push_back({name, hasColor, color, true});
    byName_[name].push_back(id);
    Count(name, 1);
    if (hasColor) colored_.push_back(id);
  }
  // Closes the innermost open tag of that name; nothing when none is open.
  void Close(const std::string& name) {
    auto it = byName_.find(name);
    if (it == byName_.end() || it->second.empty()) return;
    tags_[it->second.back()].open = false;
    it->second.pop_back();
    Count(name, -1);
    // Colours closed out of order stay in the list until they reach its end.
    while (!colored_.empty() && !tags_[colored_.back()].open) colored_.pop_back();
  }
  TextFormat Format() const {
    TextFormat f;
    f.bold = bold_ > 0;
    f.italic = italic_ > 0;
    f.underline = underline_ > 0;
    if (!colored_.empty()) f.color = tags_[colored_.back()].color;
    return f;
  }

 private:
  struct Tag {
    std::string name;
    bool hasColor = false;
    platform::COLORREF color = 0;
    bool open = false;
  };
  void Count(const std::string& name, int step) {
    if (name == "B") bold_ += step;
    if (name == "I") italic_ += step;
    if (name == "U" || name == "A") underline_ += step;
  }
  std::vector<Tag> tags_;
  std::map<std::string, std::vector<size_t>> byName_;
  std::vector<size_t> colored_;
  int bold_ = 0, italic_ = 0, underline_ = 0;
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The COLOR attribute of a FONT tag ("#RRGGBB", quoted or not).
bool ParseColor(const std::string& tagBody, platform::COLORREF& color) {
  const std::string up = platform::AnsiUpper(tagBody);
  size_t at = up.find("COLOR");
  while (at != std::string::npos) {
    size_t p = at + 5;
    while (p < up.size() && up[p] == ' ') ++p;
    if (p < up.size() && up[p] == '=') {
      ++p;
      while (p < up.size() && (up[p] == ' ' || up[p] == '"' || up[p] == '\'')) ++p;
      if (p < up.size() && up[p] == '#') ++p;
      int v[6];
      bool ok = p + 6 <= up.size();
      for (int i = 0; ok && i < 6; ++i) {
        v[i] = HexDigit(up[p + i]);
        ok = v[i] >= 0;
      }
      if (!ok) return false;
      color = platform::RGB(v[0] * 16 + v[1], v[2] * 16 + v[3], v[4] * 16 + v[5]);
      return true;
    }
    at = up.find("COLOR", at + 5);
  }
  return false;
}

// Decodes an entity starting at html[i] == '&'; appends the character and returns the length
// consumed, or 0 when it is no entity.
size_t DecodeEntity(const std::string& html, size_t i, char& out) {
  // Only the next few characters are looked at, so a run of "&" stays linear.
  const size_t offset = html.substr(i, 9).find(';');
  if (offset == std::string::npos) return 0;
  const size_t semi = i + offset;
  const std::string name = platform::AnsiUpper(html.substr(i + 1, semi - i - 1));
  if (name == "AMP")
    out = '&';
  else if (name == "LT")
    out = '<';
  else if (name == "GT")
    out = '>';
  else if (name == "QUOT")
    out = '"';
  else if (name == "NBSP")
    out = ' ';
  else if (name.size() > 1 && name[0] == '#') {
    int v = 0;
    for (size_t k = 1; k < name.size(); ++k) {
      if (!std::isdigit(static_cast<unsigned char>(name[k]))) return 0;
      v = v * 10 + (name[k] - '0');
      if (v > 255) return 0;
    }
    out = static_cast<char>(v);
  } else {
    return 0;
  }
  return semi - i + 1;
}

void AppendChar(StyledText& out, char c, const TextFormat& f) {
  if (c == '\n') {
    if (!out.empty() && out.back().ch == '\r') return;
    c = '\r';
  }
  out.push_back({c, f});
}

}  // namespace

StyledText ParseHtml(const std::string& html) {
  StyledText out;
  out.reserve(html.size());
  OpenTags open;
  TextFormat current;
  size_t i = 0;
  size_t nextClose = html.find('>');  // the first ">" at or after i (npos: none)
  while (i < html.size()) {
    const char c = html[i];
    if (c == '<') {
      if (nextClose != std::string::npos && nextClose < i) nextClose = html.find('>', i);
      const size_t close = nextClose;
      if (close == std::string::npos) {
        AppendChar(out, c, current);
        ++i;
        continue;
      }
      std::string body = html.substr(i + 1, close - i - 1);
      i = close + 1;
      const bool closing = !body.empty() && body[0] == '/';
      if (closing) body.erase(0, 1);
      size_t nameEnd = 0;
      while (nameEnd < body.size() && !std::isspace(static_cast<unsigned char>(body[nameEnd]))) {
        ++nameEnd;
      }
      const std::string name = platform::AnsiUpper(body.substr(0, nameEnd));
      if (name == "BR" && !closing) {
        AppendChar(out, '\r', current);
        continue;
      }
      if (name != "B" && name != "I" && name != "U" && name != "A" && name != "FONT") continue;
      if (closing) {
        open.Close(name);
      } else {
        platform::COLORREF color = 0;
        bool hasColor = false;
        if (name == "FONT") hasColor = ParseColor(body, color);
        if (name == "A") {
          hasColor = true;
          color = platform::RGB(0, 0, 255);
        }
        open.Open(name, hasColor, color);
      }
      current = open.Format();
      continue;
    }
    if (c == '&') {
      char decoded = 0;
      const size_t used = DecodeEntity(html, i, decoded);
      if (used > 0) {
        AppendChar(out, decoded, current);
        i += used;
        continue;
      }
    }
    AppendChar(out, c, current);
    ++i;
  }
  return out;
}

StyledText PlainStyled(const std::string& text, TextFormat format) {
  StyledText out;
  for (char c : text) AppendChar(out, c, format);
  return out;
}

std::string PlainText(const StyledText& text) {
  std::string out;
  out.reserve(text.size());
  for (const StyledChar& c : text) out += c.ch;
  return out;
}

bool HasFormatting(const StyledText& text) {
  return std::any_of(text.begin(), text.end(),
                     [](const StyledChar& c) { return !(c.format == TextFormat{}); });
}

std::string ToHtml(const StyledText& text) {
  std::string out = "<HTML>";
  size_t i = 0;
  while (i < text.size()) {
    const TextFormat f = text[i].format;
    char color[32];
    std::snprintf(color, sizeof color, "<FONT COLOR=\"#%02X%02X%02X\">",
                  platform::GetRValue(f.color), platform::GetGValue(f.color),
                  platform::GetBValue(f.color));
    out += color;
    if (f.bold) out += "<B>";
    if (f.italic) out += "<I>";
    if (f.underline) out += "<U>";
    for (; i < text.size() && text[i].format == f; ++i) {
      switch (text[i].ch) {
        case '\r':
          out += "<BR>";
          break;
        case '<':
          out += "&lt;";
          break;
        case '>':
          out += "&gt;";
          break;
        case '&':
          out += "&amp;";
          break;
        default:
          out += text[i].ch;
      }
    }
    if (f.underline) out += "</U>";
    if (f.italic) out += "</I>";
    if (f.bold) out += "</B>";
    out += "</FONT>";
  }
  return out + "</HTML>";
}

std::string StripTags(const std::string& html) {
  return PlainText(ParseHtml(html));
}

}  // namespace clientsim
