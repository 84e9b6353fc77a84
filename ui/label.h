// A label: a caption drawn in the control's font, aligned left, right or centred, wrapped at
// word breaks and at line ends, over its back colour or transparent.
#pragma once

#include "ui/control.h"

namespace ui {

enum class Alignment { Left, Right, Center };

class Label : public Control {
 public:
  Label(Parent parent, std::string name, const std::string& caption = "", int x = 0, int y = 0,
        int width = 100, int height = 17, int index = -1);

  std::string Caption() const { return WindowText(); }
  void SetCaption(const std::string& caption);
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment alignment);
  // false: the label paints no background of its own.
  bool Opaque() const { return opaque_; }
  void SetOpaque(bool opaque);

  // The caption's lines as drawn for a given width.
  static std::vector<std::string> WrapLines(const std::string& text, const gfx::Font& font,
                                            int width);

 protected:
  void Paint(gfx::Canvas& canvas) override;

 private:
  Alignment alignment_ = Alignment::Left;
  bool opaque_ = true;
};

}  // namespace ui
