#include "ui/tab_strip.h"

#include <algorithm>

#include "gfx/classic.h"
#include "platform/win32.h"

namespace ui {

using namespace platform;
namespace classic = gfx::classic;

namespace {
constexpr int kPad = 6;
constexpr int kImageGap = 3;
constexpr int kPanelInset = 2;
constexpr int kArrowWidth = 16;
const Tab kNoTab{};
}  // namespace

TabStrip::TabStrip(Parent parent, std::string name, int x, int y, int width, int height, int index)
    : Control(parent, std::move(name), index,
              WindowParams{"TabStrip20WndClass", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, "", x,
                           y, width, height}) {}

int TabStrip::Add(const std::string& caption, const std::string& key, int image, int position) {
  if (position < 1 || position > Count() + 1) position = Count() + 1;
  tabs_.insert(tabs_.begin() + (position - 1), Tab{caption, key, image, ""});
  if (selected_ == 0) {
    selected_ = 1;
  } else if (selected_ >= position) {
    ++selected_;
  }
  KeepSelectedInView();
  Invalidate();
  return position;
}

bool TabStrip::Remove(int index) {
  if (index < 1 || index > Count()) return false;
  tabs_.erase(tabs_.begin() + (index - 1));
  Invalidate();
  if (selected_ > index) {
    --selected_;
  } else if (selected_ == index) {
    if (tabs_.empty()) {
      selected_ = 0;
    } else {
      selected_ = std::min(index, Count());
      KeepSelectedInView();
      Raise(OnClick);
      return true;
    }
  }
  KeepSelectedInView();
  return true;
}

void TabStrip::Clear() {
  tabs_.clear();
  selected_ = 0;
  first_ = 1;
  Invalidate();
}

const Tab& TabStrip::Item(int index) const {
  if (index < 1 || index > Count()) return kNoTab;
  return tabs_[index - 1];
}

void TabStrip::SetCaption(int index, const std::string& caption) {
  if (index < 1 || index > Count()) return;
  tabs_[index - 1].caption = caption;
  KeepSelectedInView();
  Invalidate();
}

void TabStrip::SetImage(int index, int image) {
  if (index < 1 || index > Count() || tabs_[index - 1].image == image) return;
  tabs_[index - 1].image = image;
  KeepSelectedInView();
  Invalidate();
}

int TabStrip::IndexOfKey(const std::string& key) const {
  for (int i = 0; i < Count(); ++i) {
    if (!key.empty() && tabs_[i].key == key) return i + 1;
  }
  return 0;
}

void TabStrip::SetSelectedItem(int index) {
  if (index < 1 || index > Count()) return;
  selected_ = index;
  KeepSelectedInView();
  Invalidate();
  Raise(OnClick);
}

void TabStrip::SetImageList(const ImageList* images) {
  images_ = images;
  KeepSelectedInView();
  Invalidate();
}

int TabStrip::TabRowHeight() const {
  int h = gfx::Canvas::TextHeight(Font());
  if (images_ != nullptr) {
    for (int i = 1; i <= images_->Count(); ++i) h = std::max(h, images_->Image(i)->height);
  }
  return h + 8;
}

int TabStrip::TabWidth(const Tab& tab) const {
  int w = 2 * kPad + gfx::Canvas::TextWidth(tab.caption, Font());
  const gfx::Image* image = images_ != nullptr ? images_->Image(tab.image) : nullptr;
  if (image != nullptr) w += image->width + kImageGap;
  return w;
}

gfx::Rect TabStrip::TabRect(int index) const {
  if (index < first_ || index > Count()) return {};
  int x = kPanelInset;
  for (int i = first_; i < index; ++i) x += TabWidth(tabs_[i - 1]);
  return {x, 0, TabWidth(tabs_[index - 1]), TabRowHeight()};
}

int TabStrip::HitTest(int x, int y) const {
  if (x >= TabsRight()) return 0;
  for (int i = first_; i <= Count(); ++i) {
    if (TabRect(i).Contains(x, y)) return i;
  }
  return 0;
}

bool TabStrip::ScrollArrowsShown() const {
  int total = kPanelInset;
  for (const Tab& tab : tabs_) total += TabWidth(tab);
  return first_ > 1 || total > Width() - kPanelInset;
}

gfx::Rect TabStrip::ScrollLeftRect() const {
  if (!ScrollArrowsShown()) return {};
  const int h = std::max(TabRowHeight() - 4, 8);
  return {Width() - kPanelInset - 2 * kArrowWidth, TabRowHeight() - h - 1, kArrowWidth, h};
}

gfx::Rect TabStrip::ScrollRightRect() const {
  gfx::Rect r = ScrollLeftRect();
  if (r.width > 0) r.x += kArrowWidth;
  return r;
}

int TabStrip::TabsRight() const {
  return ScrollArrowsShown() ? ScrollLeftRect().x : Width();
}

bool TabStrip::TabFullyShown(int index) const {
  const gfx::Rect r = TabRect(index);
  return r.width > 0 && r.Right() <= TabsRight();
}

bool TabStrip::CanScrollRight() const {
  return Count() > 0 && first_ < Count() && !TabFullyShown(Count());
}

void TabStrip::KeepSelectedInView() {
  first_ = std::clamp(first_, 1, std::max(Count(), 1));
  // Nothing hidden on the left while everything after it fits.
  while (first_ > 1 && TabRect(Count()).Right() + TabWidth(tabs_[first_ - 2]) <= TabsRight()) {
    --first_;
  }
  if (selected_ == 0) return;
  if (selected_ < first_) first_ = selected_;
  while (first_ < selected_ && !TabFullyShown(selected_)) ++first_;
}

int TabStrip::ClientLeft() const {
  return Left() + kPanelInset;
}
int TabStrip::ClientTop() const {
  return Top() + TabRowHeight() + kPanelInset;
}
int TabStrip::ClientWidth() const {
  return std::max(Width() - 2 * kPanelInset, 0);
}
int TabStrip::ClientHeight() const {
  return std::max(Height() - TabRowHeight() - 2 * kPanelInset, 0);
}

void TabStrip::HandleMouseDown(int button, int shift, int x, int y) {
  Control::HandleMouseDown(button, shift, x, y);
  if (button != kLeftButton) return;
  if (ScrollLeftRect().Contains(x, y)) {
    if (first_ > 1) --first_;
    Invalidate();
    return;
  }
  if (ScrollRightRect().Contains(x, y)) {
    if (CanScrollRight()) ++first_;
    Invalidate();
    return;
  }
  const int hit = HitTest(x, y);
  if (hit != 0) SetSelectedItem(hit);
}

void TabStrip::HandleResize() {
  KeepSelectedInView();
  Control::HandleResize();
}

void TabStrip::HandleKeyDown(int& keyCode, int shift) {
  Control::HandleKeyDown(keyCode, shift);
  if (Count() == 0) return;
  if (keyCode == VK_RIGHT && selected_ < Count()) SetSelectedItem(selected_ + 1);
  if (keyCode == VK_LEFT && selected_ > 1) SetSelectedItem(selected_ - 1);
}

void TabStrip::Paint(gfx::Canvas& canvas) {
  canvas.Fill(BackColor());
  const int row = TabRowHeight();
  classic::DrawEdge(canvas, {0, row, canvas.Width(), canvas.Height() - row}, classic::Edge::Raised);
  auto drawTab = [&](int i) {
    const gfx::Rect r = TabRect(i);
    const bool selected = i == selected_;
    classic::DrawTab(canvas, r, "", Font(), selected);
    const Tab& tab = tabs_[i - 1];
    int x = r.x + kPad;
    const int lift = selected ? 0 : 2;
    const gfx::Image* image = images_ != nullptr ? images_->Image(tab.image) : nullptr;
    if (image != nullptr) {
      canvas.DrawImage(*image, x, r.y + lift + (r.height - image->height) / 2);
      x += image->width + kImageGap;
    }
    const int ty = r.y + lift + (r.height - gfx::Canvas::TextHeight(Font())) / 2;
    canvas.DrawText(x, ty, tab.caption, Font(),
                    Enabled() ? ForeColor() : classic::SysColor(classic::kGrayText));
    if (selected && HasFocus()) {
      classic::DrawFocusRect(canvas, {r.x + 3, r.y + 3, r.width - 6, r.height - 6});
    }
  };
  // Tabs run under the arrows, which are drawn over them.
  canvas.SetClip(0, 0, TabsRight(), row + 1);
  for (int i = first_; i <= Count(); ++i) {
    if (i != selected_) drawTab(i);
  }
  if (selected_ >= first_) drawTab(selected_);
  canvas.ResetClip();
  if (ScrollArrowsShown()) {
    canvas.FillRect(TabsRight(), 0, canvas.Width() - TabsRight(), row, BackColor());
    classic::DrawScrollArrow(canvas, ScrollLeftRect(), classic::Arrow::Left, false, first_ > 1);
    classic::DrawScrollArrow(canvas, ScrollRightRect(), classic::Arrow::Right, false,
                             CanScrollRight());
  }
}

}  // namespace ui
