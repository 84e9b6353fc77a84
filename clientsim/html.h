// The client's rich text: characters with their formatting, read from and written as the
// client's HTML (FONT COLOR, B, I, U, A, BR). Line breaks are single carriage returns.
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

namespace clientsim {

struct TextFormat {
  platform::COLORREF color = 0;  // 0x00BBGGRR
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool operator==(const TextFormat&) const = default;
};

struct StyledChar {
  char ch = 0;
  TextFormat format;
};

using StyledText = std::vector<StyledChar>;

// Parses the client's HTML. Unknown tags are dropped, entities decoded, CR LF and lone LF become
// CR. A "<" without a closing ">" is kept as text.
StyledText ParseHtml(const std::string& html);
// Plain text in one format; CR LF and lone LF become CR.
StyledText PlainStyled(const std::string& text, TextFormat format = {});
std::string PlainText(const StyledText& text);
bool HasFormatting(const StyledText& text);
// The client's HTML for the text: "<HTML>" runs of FONT/B/I/U "</HTML>", CR as "<BR>".
std::string ToHtml(const StyledText& text);
// Tags removed and entities decoded, as the text reads on screen.
std::string StripTags(const std::string& html);

}  // namespace clientsim
