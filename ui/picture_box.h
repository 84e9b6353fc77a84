// A picture box: a child window that can hold other windows (ours, or another process's
// windows re-parented into it), with a background colour, a background picture drawn at the
// top-left unscaled, and a persistent image the program draws into (shown on every paint).
#pragma once

#include <optional>

#include "ui/control.h"

namespace ui {

class PictureBox : public Control {
 public:
  PictureBox(Parent parent, std::string name, int x = 0, int y = 0, int width = 100,
             int height = 100, int index = -1);

  void SetPicture(std::optional<gfx::Image> picture);
  const std::optional<gfx::Image>& Picture() const { return picture_; }
  // 0: no border, 1: a sunken 3D border drawn inside the client area.
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int style);

  // The persistent image: made on first use from the background colour and picture, sized to
  // the client area and shown instead of them from then on.
  gfx::Canvas& Canvas();
  bool AutoRedraw() const { return persistent_.has_value(); }
  // Clears the persistent image to the background colour and picture.
  void Cls();

  // The inner size in pixels and in twips.
  int ScaleWidth() const { return ClientWidth(); }
  int ScaleHeight() const { return ClientHeight(); }
  int ScaleWidthTwips() const { return gfx::PixelsToTwips(ClientWidth()); }
  int ScaleHeightTwips() const { return gfx::PixelsToTwips(ClientHeight()); }

  // Drawing of the program's own on each paint, after the background and persistent image.
  std::function<void(gfx::Canvas&)> OnPaint;

 protected:
  void Paint(gfx::Canvas& canvas) override;
  void HandleResize() override;

 private:
  void DrawBackground(gfx::Canvas& canvas) const;

  std::optional<gfx::Image> picture_;
  std::optional<gfx::Canvas> persistent_;
  int borderStyle_ = 0;
};

}  // namespace ui
