#include "styling/preview_renderer.h"

#include <cctype>

#include "host/text.h"
#include "styling/fade_engine.h"

namespace styling {
namespace {

constexpr gfx::Color kWhite = 0xFFFFFF;
const std::string kLineMarker = "+chr13+";

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Two hex digits of a colour text from `pos`; what is missing counts as nothing.
float ColourByte(const std::string& digits, size_t pos) {
  return pos < digits.size() ? HexToNumber(digits.substr(pos, 2)) : 0.0f;
}

// "font color=#rrggbb": the six characters after the first "#".
void ApplyFontColour(const std::string& tag, PenState& pen) {
  size_t hash = tag.find('#');
  if (hash == std::string::npos) return;
  std::string digits = tag.substr(hash + 1, 6);
  float red = ColourByte(digits, 0), green = ColourByte(digits, 2), blue = ColourByte(digits, 4);
  pen.color = static_cast<gfx::Color>(red + 256.0f * green + 65536.0f * blue);
}

// "font face="name"": the text between the first two double quotes; without quotes, what
// follows "font face" and an "=". An empty name leaves the face as it is.
void ApplyFontFace(const std::string& tag, PenState& pen) {
  std::string name;
  size_t open = tag.find('"');
  if (open != std::string::npos) {
    size_t close = tag.find('"', open + 1);
    name = tag.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
  } else {
    size_t pos = std::string("font face").size();
    while (pos < tag.size() && (tag[pos] == ' ' || tag[pos] == '=')) ++pos;
    name = tag.substr(pos);
  }
  if (!name.empty()) pen.font.face = name;
}

void ApplyTag(const std::string& tag, PenState& pen) {
  if (tag == "u" || tag == "/u") {
    pen.font.underline = tag == "u";
  } else if (tag == "s" || tag == "/s") {
    pen.font.strikethrough = tag == "s";
  } else if (tag == "b" || tag == "/b") {
    pen.font.bold = tag == "b";
  } else if (tag == "i" || tag == "/i") {
    pen.font.italic = tag == "i";
  } else if (tag == "sup") {
    pen.shift = -1;
  } else if (tag == "sub") {
    pen.shift = 1;
  } else if (tag == "/sup" || tag == "/sub") {
    pen.shift = 0;
  } else if (tag.starts_with("font color")) {
    ApplyFontColour(tag, pen);
  } else if (tag.starts_with("font face")) {
    ApplyFontFace(tag, pen);
  }
}

}  // namespace

PenState DrawFormattedText(gfx::Canvas& canvas, const std::string& text) {
  std::string marked = text;
  host::ReplaceText(marked, "\r", kLineMarker);

  PenState pen;
  pen.font.face = "Arial";
  pen.font.sizePoints = 10;
  canvas.Fill(kWhite);

  const size_t length = marked.size();
  for (size_t i = 0; i < length; ++i) {
    const char c = marked[i];
    if (c == '<') {
      size_t close = marked.find('>', i + 1);
      if (close == std::string::npos) {
        pen.stopped = true;
        break;
      }
      ApplyTag(Lower(marked.substr(i + 1, close - i - 1)), pen);
      i = close;
    } else if (c == '+' && marked.compare(i, kLineMarker.size(), kLineMarker) == 0) {
      pen.y += kPreviewLineHeight;
      pen.x = 0;
      i += kLineMarker.size() - 1;
    } else {
      const std::string glyph(1, c);
      canvas.DrawText(pen.x + kPreviewLeftMargin, pen.y + pen.shift, glyph, pen.font, pen.color);
      pen.x += gfx::Canvas::TextWidth(glyph, pen.font);
    }
  }
  return pen;
}

}  // namespace styling
