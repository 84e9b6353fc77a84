#include "clientsim/html.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/ansi.h"

namespace clientsim {
namespace {

// One open tag and what it changes.
struct OpenTag {
  std::string name;
  bool hasColor = false;
  platform::COLORREF color = 0;
};

TextFormat Fold(const std::vector<OpenTag>& stack) {
  TextFormat f;
  for (const OpenTag& t : stack) {
    if (t.name == "B") f.bold = true;
    if (t.name == "I") f.italic = true;
    if (t.name == "U" || t.name == "A") f.underline = true;
    if (t.hasColor) f.color = t.color;
  }
  return f;
}

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
  const size_t semi = html.find(';', i);
  if (semi == std::string::npos || semi - i > 8) return 0;
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
  std::vector<OpenTag> stack;
  TextFormat current;
  size_t i = 0;
  while (i < html.size()) {
    const char c = html[i];
    if (c == '<') {
      const size_t close = html.find('>', i);
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
        for (size_t k = stack.size(); k > 0; --k) {
          if (stack[k - 1].name == name) {
            stack.erase(stack.begin() + static_cast<long>(k - 1));
            break;
          }
        }
      } else {
        OpenTag tag{name};
        if (name == "FONT") tag.hasColor = ParseColor(body, tag.color);
        if (name == "A") {
          tag.hasColor = true;
          tag.color = platform::RGB(0, 0, 255);
        }
        stack.push_back(tag);
      }
      current = Fold(stack);
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
