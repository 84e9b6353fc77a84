// The multi-column list: a header line of text over rows of cells, each cell a text and an
// optional picture (1-based, from the control's own picture list). One row is current (or
// none, -1). Rows are numbered from 0.
//
// Events: Click when a row is clicked (the row is current by then); CurrentRowChanged whenever
// the current row changes, by a click, by the keyboard or from code.
#pragma once

#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/image_list.h"

namespace ui {

class ctList : public Control {
 public:
  ctList(Parent parent, std::string name, int x = 0, int y = 0, int width = 150, int height = 200,
         int index = -1);

  // Columns: a title and a width in pixels; a width of 0 takes the room the others leave.
  // Cells of columns beyond the defined ones are kept and drawn kDefaultColumnWidth wide.
  int AddColumn(const std::string& title, int width);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  static constexpr int kDefaultColumnWidth = 20;

  // Appends a row with `text` in its first cell; returns the row's index.
  int AddItem(const std::string& text);
  // Removes a row; later rows move up by one. Removing the current row leaves no row current
  // (no event). False out of range.
  bool RemoveItem(int row);
  void Clear();  // no rows, no current row, no event
  int RowCount() const { return static_cast<int>(rows_.size()); }

  std::string CellText(int row, int column) const;  // "" out of range
  void SetCellText(int row, int column, const std::string& text);
  int CellPicture(int row, int column) const;  // 0: none
  void SetCellPicture(int row, int column, int picture);

  int ListIndex() const { return current_; }
  // Makes a row current (-1: none) and raises CurrentRowChanged when it changed; out of range
  // is ignored.
  void SetListIndex(int row);

  const std::string& HeaderText() const { return header_; }
  void SetHeaderText(const std::string& text);
  // Both fonts (rows and header) take the size.
  void SetFontSizes(double points);
  const gfx::Font& HeaderFont() const { return headerFont_; }

  ImageList& Pictures() { return pictures_; }

  int HeaderHeight() const;
  int RowHeight() const;
  int TopRow() const { return topRow_; }
  // The row at a point of the client area, or -1.
  int RowAt(int x, int y) const;

  std::function<void()> OnCurrentRowChanged;

 protected:
  void Paint(gfx::Canvas& canvas) override;
  bool TakesFocus() const override { return true; }
  void HandleMouseDown(int button, int shift, int x, int y) override;
  void HandleClick() override;
  void HandleKeyDown(int& keyCode, int shift) override;

 private:
  struct Cell {
    std::string text;
    int picture = 0;
  };
  struct Column {
    std::string title;
    int width = 0;
  };
  Cell* CellAt(int row, int column, bool create);
  const Cell* CellAt(int row, int column) const;
  std::vector<int> ColumnWidths(int total, int columns) const;
  int VisibleRows() const;
  void ScrollIntoView();

  std::vector<Column> columns_;
  std::vector<std::vector<Cell>> rows_;
  int current_ = -1;
  int topRow_ = 0;
  int clickedRow_ = -1;
  std::string header_;
  gfx::Font headerFont_;
  ImageList pictures_;
};

}  // namespace ui
