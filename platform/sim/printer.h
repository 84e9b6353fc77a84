// The simulated default printer: plain text laid out on letter-size pages at 96 dots per inch,
// with margins, the text wrapped at word breaks to the printable width, and a footer under a
// rule line that names the document and the page, in a smaller bold italic face.
#pragma once

#include <string>
#include <vector>

#include "gfx/canvas.h"

namespace platform::sim {

struct PageLayout {
  static constexpr int kWidth = 816;    // 8.5 in
  static constexpr int kHeight = 1056;  // 11 in
  static constexpr int kMargin = 72;    // 0.75 in on every side of the text
  // The footer sits in the bottom margin, below a rule this far above the page's bottom edge.
  static constexpr int kFooterRule = 56;
  static constexpr int kTabWidth = 8;
};

// The fonts of the printed text and of the footer.
gfx::Font PrintTextFont();
gfx::Font PrintFooterFont();

// The text's lines as printed: lines end at CR LF, LF or CR; tabs become spaces up to the next
// multiple of kTabWidth; each line is broken at the last space that fits the width (a word
// wider than the width is broken where it overflows). One line end at the very end adds no
// empty line.
std::vector<std::string> WrapForPrinting(const std::string& text, const gfx::Font& font, int width);

// The printed pages of one document; no pages for an empty text.
std::vector<gfx::Canvas> LayOutPages(const std::string& documentName, const std::string& text);

}  // namespace platform::sim
