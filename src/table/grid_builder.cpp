// A source's rows gathered into a rectangular grid within the size limits.
#include <algorithm>

#include "table/table_reader.h"

namespace kestra::table {

bool GridBuilder::start_row() {
  if (rows_.size() == kMaxRows || cells_ >= kMaxCells) {
    rows_cut_ = true;
    return false;
  }
  rows_.emplace_back();
  return true;
}

void GridBuilder::add_cell(SourceCell cell) {
  std::vector<SourceCell>& row = rows_.back();
  if (row.size() == kMaxColumns) {
    columns_cut_ = true;
    return;
  }
  if (cell.text.size() > kMaxCellText) {
    cut_utf8(cell.text, kMaxCellText);
    texts_cut_ = true;
  }
  row.push_back(std::move(cell));
  ++cells_;
}

Grid GridBuilder::finish() {
  Grid grid;
  for (const auto& row : rows_) grid.cols = std::max(grid.cols, row.size());
  grid.rows = grid.cols == 0 ? 0 : rows_.size();
  // Ragged rows are padded, so keep the padded grid within the cell limit too.
  if (grid.cols > 0 && grid.rows * grid.cols > kMaxCells) {
    grid.rows = kMaxCells / grid.cols;
    rows_cut_ = true;
  }
  grid.cells.reserve(grid.rows * grid.cols);
  for (std::size_t r = 0; r < grid.rows; ++r) {
    std::vector<SourceCell>& row = rows_[r];
    row.resize(grid.cols);
    std::move(row.begin(), row.end(), std::back_inserter(grid.cells));
  }
  rows_.clear();
  if (rows_cut_) {
    grid.notes.push_back("cut to the first " + std::to_string(grid.rows) +
                         " rows: a table holds at most " + std::to_string(kMaxRows) +
                         " rows and " + std::to_string(kMaxCells) + " cells");
  }
  if (columns_cut_) {
    grid.notes.push_back("cut to the first " + std::to_string(kMaxColumns) + " columns");
  }
  if (texts_cut_) {
    grid.notes.push_back("texts longer than " + std::to_string(kMaxCellText) +
                         " bytes were cut");
  }
  return grid;
}

}  // namespace kestra::table
