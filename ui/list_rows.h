// What the list controls (ListBox, ctList, ComboBox) share: a selection that follows inserted
// and removed items, a top row that keeps the selection in view, the arrow keys, and the
// scroll bar drawn at the right of the rows.
#pragma once

#include <optional>
#include <string>

#include "gfx/canvas.h"
#include "gfx/classic.h"

namespace ui::listrows {

inline constexpr int kBorder = 2;
inline constexpr int kScrollWidth = 16;

// The selected index after an item was inserted at, or removed from, `index` (-1: none).
int AfterInsertion(int selected, int index);
int AfterRemoval(int selected, int index);

// A top row between 0 and the last one that still fills the visible rows.
int ClampTop(int top, int count, int visible);
// The top row that shows the selected one, moving as little as possible.
int TopShowing(int selected, int top, int visible);
// The top row after a click at (x, y) on the scroll bar `bar`: a row up or down on its arrows,
// a page up or down on the track above or below the thumb.
int TopAfterScrollClick(const gfx::Rect& bar, int x, int y, int top, int visible, int count);

// The index the up and down arrow keys move the selection to, or nothing for other keys.
std::optional<int> ArrowKeyTarget(int keyCode, int selected, int count);

// The scroll bar at `x` from `top` to `bottom`, its arrows enabled when rows are hidden above
// or below, its thumb showing which part of the rows is in view.
void PaintScrollBar(gfx::Canvas& canvas, int x, int top, int bottom, int topRow, int visible,
                    int count);

}  // namespace ui::listrows
