#include "ui/image_list.h"

namespace ui {

int ImageList::Add(gfx::Image image, const std::string& key) {
  images_.push_back(Entry{std::move(image), key});
  return Count();
}

int ImageList::AddDrawn(int width, int height, gfx::Color back,
                        const std::function<void(gfx::Canvas&)>& draw, const std::string& key) {
  gfx::Canvas canvas(width, height, back);
  if (draw) draw(canvas);
  return Add(canvas.ToImage(), key);
}

bool ImageList::Remove(int index) {
  if (index < 1 || index > Count()) return false;
  images_.erase(images_.begin() + (index - 1));
  return true;
}

const gfx::Image* ImageList::Image(int index) const {
  if (index < 1 || index > Count()) return nullptr;
  return &images_[index - 1].image;
}

int ImageList::IndexOf(const std::string& key) const {
  for (int i = 0; i < Count(); ++i) {
    if (!key.empty() && images_[i].key == key) return i + 1;
  }
  return 0;
}

}  // namespace ui
