#include "ui/label.h"

#include "gfx/classic.h"
#include "platform/win32.h"

namespace ui {

using namespace platform;

Label::Label(Parent parent, std::string name, const std::string& caption, int x, int y, int width,
             int height, int index)
    : Control(parent, std::move(name), index,
              WindowParams{"ThunderRT5Label", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, caption,
                           x, y, width, height}) {}

void Label::SetCaption(const std::string& caption) {
  SetWindowTextRaw(caption);
  Invalidate();
}

void Label::SetAlignment(Alignment alignment) {
  alignment_ = alignment;
  Invalidate();
}

void Label::SetOpaque(bool opaque) {
  opaque_ = opaque;
  Invalidate();
}

std::vector<std::string> Label::WrapLines(const std::string& text, const gfx::Font& font,
                                          int width) {
  std::vector<std::string> lines;
  std::string paragraph;
  auto wrap = [&](const std::string& para) {
    std::string line;
    size_t i = 0;
    while (i <= para.size()) {
      size_t end = para.find(' ', i);
      if (end == std::string::npos) end = para.size();
      std::string word = para.substr(i, end - i);
      std::string candidate = line.empty() ? word : line + " " + word;
      if (!line.empty() && gfx::Canvas::TextWidth(candidate, font) > width) {
        lines.push_back(line);
        line = word;
      } else {
        line = candidate;
      }
      i = end + 1;
    }
    lines.push_back(line);
  };
  size_t start = 0;
  while (true) {
    size_t nl = text.find('\n', start);
    std::string para = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
    if (!para.empty() && para.back() == '\r') para.pop_back();
    wrap(para);
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  return lines;
}

void Label::SetUseMnemonic(bool on) {
  useMnemonic_ = on;
  Invalidate();
}

void Label::Paint(gfx::Canvas& canvas) {
  if (opaque_) canvas.Fill(BackColor());
  const int lineHeight = gfx::Canvas::TextHeight(Font());
  int y = 0;
  for (const std::string& line : WrapLines(Caption(), Font(), canvas.Width())) {
    const std::string shown = useMnemonic_ ? gfx::classic::StripMnemonic(line) : line;
    const int w = gfx::Canvas::TextWidth(shown, Font());
    int x = 0;
    if (alignment_ == Alignment::Right) x = canvas.Width() - w;
    if (alignment_ == Alignment::Center) x = (canvas.Width() - w) / 2;
    if (!Enabled()) {
      gfx::classic::DrawEmbossedText(canvas, x, y, shown, Font());
    } else if (useMnemonic_) {
      gfx::classic::DrawMnemonicText(canvas, x, y, line, Font(), ForeColor());
    } else {
      canvas.DrawText(x, y, line, Font(), ForeColor());
    }
    y += lineHeight;
  }
}

}  // namespace ui
