// An image list: pictures by 1-based index (and optional key), for tab strips and lists.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "gfx/canvas.h"

namespace ui {

class ImageList {
 public:
  // Appends a picture; returns its index (from 1).
  int Add(gfx::Image image, const std::string& key = "");
  // A picture drawn in code: `draw` paints on a canvas of the given size, filled with `back`.
  int AddDrawn(int width, int height, gfx::Color back,
               const std::function<void(gfx::Canvas&)>& draw, const std::string& key = "");
  bool Remove(int index);
  void Clear() { images_.clear(); }
  int Count() const { return static_cast<int>(images_.size()); }
  // nullptr for an index out of range (0 included: no picture).
  const gfx::Image* Image(int index) const;
  int IndexOf(const std::string& key) const;  // 0 when absent

 private:
  struct Entry {
    gfx::Image image;
    std::string key;
  };
  std::vector<Entry> images_;
};

}  // namespace ui
