#include "platform/sim/printer.h"

namespace platform::sim {

namespace {

constexpr gfx::Color kWhite = 0xFFFFFF;
constexpr gfx::Color kInk = 0x000000;
constexpr gfx::Color kFooterInk = 0x555555;

std::string ExpandTabs(const std::string& line) {
  std::string out;
  for (char c : line) {
    if (c != '\t') {
      out += c;
      continue;
    }
    do out += ' ';
    while (out.size() % PageLayout::kTabWidth != 0);
  }
  return out;
}

// Splits at CR LF, LF or CR.
std::vector<std::string> SourceLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += c;
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

// The longest prefix of `line` (at least one character) that fits `width`.
size_t FittingLength(const std::string& line, const gfx::Font& font, int width) {
  size_t fit = 1;
  while (fit < line.size() && gfx::Canvas::TextWidth(line.substr(0, fit + 1), font) <= width) {
    ++fit;
  }
  return fit;
}

}  // namespace

gfx::Font PrintTextFont() {
  gfx::Font font;
  font.face = "Courier New";
  font.sizePoints = 10;
  return font;
}

gfx::Font PrintFooterFont() {
  gfx::Font font;
  font.face = "Arial";
  font.sizePoints = 8;
  font.bold = true;
  font.italic = true;
  return font;
}

std::vector<std::string> WrapForPrinting(const std::string& text, const gfx::Font& font,
                                         int width) {
  std::vector<std::string> out;
  for (const std::string& source : SourceLines(text)) {
    std::string rest = ExpandTabs(source);
    if (rest.empty()) out.emplace_back();
    while (!rest.empty()) {
      if (gfx::Canvas::TextWidth(rest, font) <= width) {
        out.push_back(rest);
        break;
      }
      const size_t fit = FittingLength(rest, font, width);
      size_t cut = rest.rfind(' ', fit);
      if (cut == std::string::npos || cut == 0) cut = fit;
      out.push_back(rest.substr(0, cut));
      // The space at the break is not carried to the next line.
      rest = rest.substr(cut < rest.size() && rest[cut] == ' ' ? cut + 1 : cut);
    }
  }
  return out;
}

std::vector<gfx::Canvas> LayOutPages(const std::string& documentName, const std::string& text) {
  std::vector<gfx::Canvas> pages;
  if (text.empty()) return pages;
  const gfx::Font font = PrintTextFont();
  const gfx::Font footer = PrintFooterFont();
  const int textWidth = PageLayout::kWidth - 2 * PageLayout::kMargin;
  const int lineHeight = gfx::Canvas::TextHeight(font);
  const int linesPerPage = (PageLayout::kHeight - 2 * PageLayout::kMargin) / lineHeight;
  const std::vector<std::string> lines = WrapForPrinting(text, font, textWidth);
  const int count = static_cast<int>((lines.size() + linesPerPage - 1) / linesPerPage);

  for (int page = 0; page < count; ++page) {
    gfx::Canvas canvas(PageLayout::kWidth, PageLayout::kHeight, kWhite);
    canvas.SetClip(PageLayout::kMargin, PageLayout::kMargin, textWidth,
                   PageLayout::kHeight - 2 * PageLayout::kMargin);
    for (int i = 0; i < linesPerPage; ++i) {
      const size_t index = static_cast<size_t>(page) * linesPerPage + i;
      if (index >= lines.size()) break;
      canvas.DrawText(PageLayout::kMargin, PageLayout::kMargin + i * lineHeight, lines[index], font,
                      kInk);
    }
    canvas.ResetClip();
    const int ruleY = PageLayout::kHeight - PageLayout::kFooterRule;
    canvas.Line(PageLayout::kMargin, ruleY, PageLayout::kWidth - PageLayout::kMargin, ruleY,
                kFooterInk);
    const int footerY = ruleY + 6;
    canvas.SetClip(PageLayout::kMargin, footerY, textWidth, gfx::Canvas::TextHeight(footer));
    const std::string number = "Page " + std::to_string(page + 1) + " of " + std::to_string(count);
    const int numberWidth = gfx::Canvas::TextWidth(number, footer);
    canvas.DrawText(PageLayout::kWidth - PageLayout::kMargin - numberWidth, footerY, number, footer,
                    kFooterInk);
    canvas.SetClip(PageLayout::kMargin, footerY, textWidth - numberWidth - 12,
                   gfx::Canvas::TextHeight(footer));
    canvas.DrawText(PageLayout::kMargin, footerY, documentName, footer, kFooterInk);
    canvas.ResetClip();
    pages.push_back(std::move(canvas));
  }
  return pages;
}

}  // namespace platform::sim
