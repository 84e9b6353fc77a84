// The simulated default printer: pages a person can open, with empty margins, the text wrapped
// to the printable width, and a footer set apart under a rule.
#include "platform/sim/printer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/sim/desktop.h"
#include "platform/win32.h"

namespace platform::sim {
namespace {

constexpr gfx::Color kWhite = 0xFFFFFF;

bool Blank(const gfx::Canvas& page, int x0, int y0, int x1, int y1) {
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      if (page.GetPixel(x, y) != kWhite) return false;
    }
  }
  return true;
}

// The rows between y0 and y1 that hold any ink.
std::vector<int> InkedRows(const gfx::Canvas& page, int y0, int y1) {
  std::vector<int> rows;
  for (int y = y0; y < y1; ++y) {
    for (int x = 0; x < page.Width(); ++x) {
      if (page.GetPixel(x, y) != kWhite) {
        rows.push_back(y);
        break;
      }
    }
  }
  return rows;
}

std::string LongLog(int lines) {
  std::string text;
  for (int i = 1; i <= lines; ++i) {
    text += "Bob: line " + std::to_string(i) +
            (i == 3 ? " and a very long sentence that cannot fit on one printed line at this size "
                      "of type so it wraps"
                    : "") +
            "\r\n";
  }
  return text;
}

TEST(SimPrinter, WrapsAtWordBreaksAndKeepsEmptyLines) {
  const gfx::Font font = PrintTextFont();
  const int width = gfx::Canvas::TextWidth("aaaa bbbb", font);
  EXPECT_EQ(WrapForPrinting("aaaa bbbb cccc\r\n\r\nd\te", font, width),
            (std::vector<std::string>{"aaaa bbbb", "cccc", "", "d       e"}));
  // A word wider than the line is broken where it overflows.
  const std::string word = "abcdefghijklmnopqrstuvwxyz";
  const auto broken = WrapForPrinting(word, font, width);
  ASSERT_GT(broken.size(), 1u);
  std::string joined;
  for (const std::string& part : broken) {
    EXPECT_LE(gfx::Canvas::TextWidth(part, font), width);
    joined += part;
  }
  EXPECT_EQ(joined, word);
  EXPECT_TRUE(WrapForPrinting("", font, width).empty());
  EXPECT_EQ(WrapForPrinting("one\n", font, width), (std::vector<std::string>{"one"}));
}

TEST(SimPrinter, PagesHaveEmptyMarginsAndAFooterApartFromTheText) {
  const auto pages = LayOutPages("Bob\\1-2-2001.txt", LongLog(80));
  ASSERT_EQ(pages.size(), 2u);
  const gfx::Canvas& page = pages[0];
  EXPECT_EQ(page.Width(), PageLayout::kWidth);
  EXPECT_EQ(page.Height(), PageLayout::kHeight);
  const int m = PageLayout::kMargin;
  const int ruleY = PageLayout::kHeight - PageLayout::kFooterRule;
  // Top, left and right margins are empty; the text area has ink.
  EXPECT_TRUE(Blank(page, 0, 0, PageLayout::kWidth, m));
  EXPECT_TRUE(Blank(page, 0, 0, m, PageLayout::kHeight));
  EXPECT_TRUE(Blank(page, PageLayout::kWidth - m, 0, PageLayout::kWidth, PageLayout::kHeight));
  EXPECT_FALSE(InkedRows(page, m, PageLayout::kHeight - m).empty());
  // Between the text's bottom edge and the rule nothing is drawn; the rule and the footer are
  // below, and the footer's ink is grey, not the text's black.
  EXPECT_TRUE(Blank(page, 0, PageLayout::kHeight - m, PageLayout::kWidth, ruleY));
  EXPECT_EQ(page.GetPixel(PageLayout::kWidth / 2, ruleY), 0x555555u);
  const auto footerRows = InkedRows(page, ruleY + 1, PageLayout::kHeight);
  ASSERT_FALSE(footerRows.empty());
  EXPECT_GT(footerRows.front(), ruleY + 2);
  for (int y : footerRows) {
    for (int x = 0; x < page.Width(); ++x) EXPECT_NE(page.GetPixel(x, y), 0x000000u);
  }
  // The second page holds the rest and its own footer; an empty text prints no page.
  EXPECT_FALSE(InkedRows(pages[1], m, m + 20).empty());
  EXPECT_TRUE(
      Blank(pages[1], 0, PageLayout::kHeight / 2, PageLayout::kWidth, PageLayout::kHeight - m));
  EXPECT_TRUE(LayOutPages("x", "").empty());
}

TEST(SimPrinter, TheDefaultPrinterWritesEachPageAsAPng) {
  const auto dir = std::filesystem::temp_directory_path() / "pallion_sim_printer";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  Desktop desktop;
  desktop.SetPrinterFolder(dir.string());
  Install(&desktop);
  EXPECT_TRUE(PrintText("Bob\\1-2-2001.txt", LongLog(80)));
  EXPECT_TRUE(PrintText("Carl\\1-2-2001.txt", ""));
  EXPECT_TRUE(std::filesystem::exists(dir / "print-001-page-001.png"));
  EXPECT_TRUE(std::filesystem::exists(dir / "print-001-page-002.png"));
  EXPECT_FALSE(std::filesystem::exists(dir / "print-002-page-001.png"));
  ASSERT_EQ(desktop.PrintedPages().size(), 2u);
  const auto decoded = gfx::Image::Load((dir / "print-001-page-001.png").string());
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->width, PageLayout::kWidth);
  Install(nullptr);
  std::filesystem::remove_all(dir);

  DesktopOptions none;
  none.printerInstalled = false;
  Desktop without(none);
  Install(&without);
  EXPECT_FALSE(PrintText("Bob", "text"));
  EXPECT_TRUE(without.PrintedPages().empty());
  Install(nullptr);
}

}  // namespace
}  // namespace platform::sim
