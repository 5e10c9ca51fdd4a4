// The part of a grid that is read: an A1 range, or the used area.
#include <algorithm>
#include <cctype>

#include "import/import.h"
#include "table/table_reader.h"

namespace kestra::table {
namespace {

// The cells of rows [row0, row1) and columns [col0, col1), same notes and marks.
void keep_block(Grid& grid, std::size_t row0, std::size_t row1, std::size_t col0,
                std::size_t col1) {
  std::vector<SourceCell> cells;
  cells.reserve((row1 - row0) * (col1 - col0));
  for (std::size_t r = row0; r < row1; ++r) {
    for (std::size_t c = col0; c < col1; ++c) cells.push_back(std::move(grid.cells[r * grid.cols + c]));
  }
  grid.cells = std::move(cells);
  grid.marked_label_row = grid.marked_label_row && row0 == 0;
  grid.marked_name_column = grid.marked_name_column && col0 == 0;
  grid.first_row += static_cast<int>(row0);
  grid.first_column += static_cast<int>(col0);
  grid.rows = row1 - row0;
  grid.cols = col1 - col0;
}

bool is_empty(const SourceCell& cell) { return !cell.number && trim_spaces(cell.text).empty(); }

bool row_is_empty(const Grid& grid, std::size_t row) {
  for (std::size_t c = 0; c < grid.cols; ++c) {
    if (!is_empty(grid.at(row, c))) return false;
  }
  return true;
}

bool column_is_empty(const Grid& grid, std::size_t col) {
  for (std::size_t r = 0; r < grid.rows; ++r) {
    if (!is_empty(grid.at(r, col))) return false;
  }
  return true;
}

}  // namespace

std::optional<import::CellRange> parse_table_range(std::string_view text) {
  std::string upper;
  for (const char c : text) {
    if (c != '$' && c != ' ') upper.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  }
  import::CellRange range;
  if (import::parse_cell_range(upper.c_str(), &range) == KESTRA_OK) return range;
  const std::size_t colon = upper.find(':');
  if (colon == std::string::npos) return std::nullopt;
  const import::CellPosition a = import::parse_cell_address(upper.substr(0, colon).c_str());
  const import::CellPosition b = import::parse_cell_address(upper.substr(colon + 1).c_str());
  if (a.column == 0 || b.column == 0) return std::nullopt;
  range = {std::min(a.column, b.column), std::min(a.row, b.row), std::max(a.column, b.column),
           std::max(a.row, b.row)};
  return range;
}

void crop_to_range(Grid& grid, const import::CellRange& cells) {
  const auto row0 = static_cast<std::size_t>(cells.first_row - 1);
  const auto col0 = static_cast<std::size_t>(cells.first_column - 1);
  // A range past the text's end reads gaps there, as a worksheet's empty cells.
  const std::size_t cols = static_cast<std::size_t>(cells.columns());
  std::size_t rows = static_cast<std::size_t>(cells.rows());
  if (rows * cols > kMaxCells) {
    rows = kMaxCells / cols;
    grid.notes.push_back("the range is cut to its first " + std::to_string(rows) +
                         " rows: a table holds at most " + std::to_string(kMaxCells) + " cells");
  }
  Grid cropped;
  cropped.rows = rows;
  cropped.cols = cols;
  cropped.cells.resize(rows * cols);
  for (std::size_t r = 0; r < rows && row0 + r < grid.rows; ++r) {
    for (std::size_t c = 0; c < cols && col0 + c < grid.cols; ++c) {
      cropped.cells[r * cols + c] = std::move(grid.cells[(row0 + r) * grid.cols + col0 + c]);
    }
  }
  grid.cells = std::move(cropped.cells);
  grid.rows = rows;
  grid.cols = cols;
  grid.first_row = cells.first_row;
  grid.first_column = cells.first_column;
  grid.marked_label_row = false;
  grid.marked_name_column = false;
}

void trim_to_used_area(Grid& grid) {
  std::size_t row0 = 0, row1 = grid.rows, col0 = 0, col1 = grid.cols;
  while (row1 > row0 && row_is_empty(grid, row1 - 1)) --row1;
  while (row0 < row1 && row_is_empty(grid, row0)) ++row0;
  if (row0 == row1) {
    keep_block(grid, 0, 0, 0, 0);
    return;
  }
  while (col1 > col0 && column_is_empty(grid, col1 - 1)) --col1;
  while (col0 < col1 && column_is_empty(grid, col0)) ++col0;
  keep_block(grid, row0, row1, col0, col1);
}

}  // namespace kestra::table
