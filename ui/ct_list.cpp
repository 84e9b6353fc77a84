#include "ui/ct_list.h"

#include <algorithm>

#include "gfx/classic.h"
#include "platform/win32.h"
#include "ui/list_rows.h"

namespace ui {

using namespace platform;
using namespace listrows;
namespace classic = gfx::classic;

ctList::ctList(Parent parent, std::string name, int x, int y, int width, int height, int index)
    : Control(parent, std::move(name), index,
              WindowParams{"ctListWndClass", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, "", x, y,
                           width, height}) {
  SetBackColor(GetSysColor(COLOR_WINDOW));
  headerFont_ = Font();
  headerFont_.bold = true;
}

int ctList::AddColumn(const std::string& title, int width) {
  columns_.push_back(Column{title, std::max(width, 0)});
  Invalidate();
  return ColumnCount() - 1;
}

int ctList::AddItem(const std::string& text) {
  rows_.push_back({Cell{text, 0}});
  Invalidate();
  return RowCount() - 1;
}

bool ctList::RemoveItem(int row) {
  if (row < 0 || row >= RowCount()) return false;
  rows_.erase(rows_.begin() + row);
  current_ = AfterRemoval(current_, row);
  topRow_ = ClampTop(topRow_, RowCount(), 1);
  Invalidate();
  return true;
}

void ctList::Clear() {
  rows_.clear();
  current_ = -1;
  topRow_ = 0;
  Invalidate();
}

ctList::Cell* ctList::CellAt(int row, int column, bool create) {
  if (row < 0 || row >= RowCount() || column < 0) return nullptr;
  auto& cells = rows_[row];
  if (column >= static_cast<int>(cells.size())) {
    if (!create) return nullptr;
    cells.resize(column + 1);
  }
  return &cells[column];
}

const ctList::Cell* ctList::CellAt(int row, int column) const {
  if (row < 0 || row >= RowCount() || column < 0) return nullptr;
  const auto& cells = rows_[row];
  if (column >= static_cast<int>(cells.size())) return nullptr;
  return &cells[column];
}

std::string ctList::CellText(int row, int column) const {
  const Cell* cell = CellAt(row, column);
  return cell ? cell->text : "";
}

void ctList::SetCellText(int row, int column, const std::string& text) {
  if (Cell* cell = CellAt(row, column, true)) {
    cell->text = text;
    Invalidate();
  }
}

int ctList::CellPicture(int row, int column) const {
  const Cell* cell = CellAt(row, column);
  return cell ? cell->picture : 0;
}

void ctList::SetCellPicture(int row, int column, int picture) {
  if (Cell* cell = CellAt(row, column, true)) {
    cell->picture = std::max(picture, 0);
    Invalidate();
  }
}

void ctList::SetListIndex(int row) {
  if (row < -1 || row >= RowCount() || row == current_) return;
  current_ = row;
  ScrollIntoView();
  Invalidate();
  Raise(OnCurrentRowChanged);
}

void ctList::SetHeaderText(const std::string& text) {
  header_ = text;
  Invalidate();
}

void ctList::SetFontSizes(double points) {
  SetFontSize(points);
  headerFont_.sizePoints = points;
  Invalidate();
}

int ctList::HeaderHeight() const {
  return gfx::Canvas::TextHeight(headerFont_) + 4;
}

int ctList::RowHeight() const {
  int h = gfx::Canvas::TextHeight(Font());
  for (int i = 1; i <= pictures_.Count(); ++i) h = std::max(h, pictures_.Image(i)->height);
  return h + 2;
}

int ctList::VisibleRows() const {
  const int room = Control::ClientHeight() - 2 * kBorder - HeaderHeight();
  return std::max(room / std::max(RowHeight(), 1), 1);
}

void ctList::ScrollIntoView() {
  topRow_ = TopShowing(current_, topRow_, VisibleRows());
}

int ctList::RowAt(int x, int y) const {
  if (x < kBorder || x >= Control::ClientWidth() - kBorder) return -1;
  const int top = kBorder + HeaderHeight();
  if (y < top) return -1;
  const int row = topRow_ + (y - top) / std::max(RowHeight(), 1);
  return row < RowCount() ? row : -1;
}

void ctList::HandleMouseDown(int button, int shift, int x, int y) {
  clickedRow_ = -1;
  const bool scroll = RowCount() > VisibleRows();
  const int barTop = kBorder + HeaderHeight();
  const gfx::Rect bar{Control::ClientWidth() - kBorder - kScrollWidth, barTop, kScrollWidth,
                      Control::ClientHeight() - kBorder - barTop};
  if (scroll && bar.Contains(x, y)) {
    topRow_ = TopAfterScrollClick(bar, x, y, topRow_, VisibleRows(), RowCount());
    Invalidate();
  } else if (button == kLeftButton) {
    const int row = RowAt(x, y);
    if (row >= 0) {
      clickedRow_ = row;
      SetListIndex(row);
    }
  }
  Control::HandleMouseDown(button, shift, x, y);
}

void ctList::HandleClick() {
  if (clickedRow_ >= 0) Raise(OnClick);
  clickedRow_ = -1;
}

void ctList::HandleKeyDown(int& keyCode, int shift) {
  Control::HandleKeyDown(keyCode, shift);
  if (const auto target = ArrowKeyTarget(keyCode, current_, RowCount())) SetListIndex(*target);
}

std::vector<int> ctList::ColumnWidths(int total, int columns) const {
  std::vector<int> widths(columns, kDefaultColumnWidth);
  int fill = -1;
  int used = 0;
  for (int c = 0; c < columns; ++c) {
    if (c < ColumnCount()) widths[c] = columns_[c].width;
    if (widths[c] == 0 && fill < 0) {
      fill = c;
    } else {
      used += widths[c];
    }
  }
  if (ColumnCount() == 0) {
    fill = 0;
    used = 0;
    for (int c = 1; c < columns; ++c) used += widths[c];
  }
  if (fill >= 0) widths[fill] = std::max(total - used, 0);
  return widths;
}

void ctList::Paint(gfx::Canvas& canvas) {
  canvas.Fill(BackColor());
  const gfx::Rect inner =
      classic::DrawEdge(canvas, {0, 0, canvas.Width(), canvas.Height()}, classic::Edge::Sunken);
  const int headerH = HeaderHeight();
  gfx::Rect header{inner.x, inner.y, inner.width, headerH};
  canvas.FillRect(header.x, header.y, header.width, header.height,
                  classic::SysColor(classic::kBtnFace));
  classic::DrawEdge(canvas, header, classic::Edge::RaisedThin);
  canvas.SetClip(header.x, header.y, header.width, header.height);
  canvas.DrawText(header.x + 3, header.y + 2, header_, headerFont_,
                  classic::SysColor(classic::kBtnText));
  canvas.ResetClip();

  int columns = std::max(ColumnCount(), 1);
  for (const auto& row : rows_) columns = std::max(columns, static_cast<int>(row.size()));
  const bool scroll = RowCount() > VisibleRows();
  const int rowsWidth = inner.width - (scroll ? kScrollWidth : 0);
  const std::vector<int> widths = ColumnWidths(rowsWidth, columns);
  const int rowH = RowHeight();
  const int top = inner.y + headerH;
  canvas.SetClip(inner.x, top, rowsWidth, inner.Bottom() - top);
  for (int r = topRow_, y = top; r < RowCount() && y < inner.Bottom(); ++r, y += rowH) {
    const bool current = r == current_;
    gfx::Color textColor = Enabled() ? ForeColor() : classic::SysColor(classic::kGrayText);
    if (current) {
      canvas.FillRect(inner.x, y, rowsWidth, rowH, classic::SysColor(classic::kHighlight));
      textColor = classic::SysColor(classic::kHighlightText);
    }
    int x = inner.x;
    for (int c = 0; c < columns; ++c) {
      const Cell* cell = CellAt(r, c);
      if (cell != nullptr) {
        canvas.SetClip(std::max(x, inner.x), y, std::max(std::min(widths[c], rowsWidth - x), 0),
                       rowH);
        int tx = x + 2;
        if (const gfx::Image* picture = pictures_.Image(cell->picture)) {
          const int px = cell->text.empty() ? x + (widths[c] - picture->width) / 2 : x + 2;
          canvas.DrawImage(*picture, px, y + (rowH - picture->height) / 2);
          tx = px + picture->width + 2;
        }
        if (!cell->text.empty()) {
          canvas.DrawText(tx, y + (rowH - gfx::Canvas::TextHeight(Font())) / 2, cell->text, Font(),
                          textColor);
        }
      }
      x += widths[c];
    }
    canvas.SetClip(inner.x, top, rowsWidth, inner.Bottom() - top);
    if (current && HasFocus()) classic::DrawFocusRect(canvas, {inner.x, y, rowsWidth, rowH});
  }
  canvas.ResetClip();
  if (scroll) {
    PaintScrollBar(canvas, inner.Right() - kScrollWidth, top, inner.Bottom(), topRow_,
                   VisibleRows(), RowCount());
  }
}

}  // namespace ui
