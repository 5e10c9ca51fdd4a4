// Which edges hold texts: the caller's choice, or a guess from the cells the
// way pandas and spreadsheet programs guess a header row and an index column.
#include <cmath>

#include "table/table_reader.h"

namespace kestra::table {
namespace {

enum class CellKind { empty, number, text };

CellKind kind_of(const SourceCell& cell, DecimalMark mark) {
  if (cell.number) return CellKind::number;
  if (trim_spaces(cell.text).empty()) return CellKind::empty;
  return parse_number(cell.text, mark) ? CellKind::number : CellKind::text;
}

// Counts of each kind along the first row (from column `from`) or down the
// first column (from row `from`).
struct KindCounts {
  std::size_t numbers = 0;
  std::size_t texts = 0;
  std::size_t filled() const { return numbers + texts; }
};

KindCounts count_edge(const Grid& grid, bool along_row, std::size_t from, DecimalMark mark) {
  KindCounts counts;
  const std::size_t count = along_row ? grid.cols : grid.rows;
  for (std::size_t i = from; i < count; ++i) {
    const CellKind kind = kind_of(along_row ? grid.at(0, i) : grid.at(i, 0), mark);
    counts.numbers += kind == CellKind::number;
    counts.texts += kind == CellKind::text;
  }
  return counts;
}

// Texts and no numbers along an edge (past the corner) name the other cells.
bool is_text_edge(const KindCounts& counts) { return counts.texts > 0 && counts.numbers == 0; }

std::optional<double> number_of(const SourceCell& cell, DecimalMark mark) {
  return cell.number ? cell.number : parse_number(cell.text, mark);
}

// Under a text corner, three or more whole numbers rising down the first
// column (empty cells aside): years or ids, which label the rows rather than
// being values.
bool has_rising_whole_numbers(const Grid& grid, DecimalMark mark) {
  if (grid.cols < 2 || kind_of(grid.at(0, 0), mark) != CellKind::text) return false;
  std::optional<double> previous;
  std::size_t count = 0;
  for (std::size_t r = 1; r < grid.rows; ++r) {
    if (kind_of(grid.at(r, 0), mark) == CellKind::empty) continue;
    const std::optional<double> value = number_of(grid.at(r, 0), mark);
    if (!value || *value != std::floor(*value) || (previous && *value <= *previous)) return false;
    previous = value;
    ++count;
  }
  return count >= 3;
}

HeaderEdges guess_header_edges(const Grid& grid, DecimalMark mark) {
  HeaderEdges edges;
  if (grid.rows == 0 || grid.cols == 0) return edges;
  const std::size_t past_corner_col = grid.cols > 1 ? 1 : 0;
  const std::size_t past_corner_row = grid.rows > 1 ? 1 : 0;
  const KindCounts first_row = count_edge(grid, true, past_corner_col, mark);
  const KindCounts first_column = count_edge(grid, false, past_corner_row, mark);
  // Without the other edge the corner cell belongs to this one: no number there.
  const CellKind corner = kind_of(grid.at(0, 0), mark);
  const bool number_corner = corner == CellKind::number;
  const bool texts_right = grid.rows > 1 && is_text_edge(first_row);
  const bool texts_below = grid.cols > 1 && is_text_edge(first_column);
  edges.label_row = grid.marked_label_row || (texts_right && (texts_below || !number_corner));
  edges.name_column = grid.marked_name_column || (texts_below && (texts_right || !number_corner)) ||
                      (edges.label_row && has_rising_whole_numbers(grid, mark));
  // An empty top-left cell over a column of names marks a header row even of
  // numbers (years, say), and beside a row of labels a column of names.
  if (corner == CellKind::empty && grid.rows > 1 && grid.cols > 1) {
    if (edges.name_column && first_row.filled() > 0) edges.label_row = true;
    if (edges.label_row && first_column.filled() > 0) edges.name_column = true;
  }
  return edges;
}

}  // namespace

HeaderEdges choose_header_edges(const Grid& grid, HeaderMode mode, DecimalMark mark) {
  switch (mode) {
    case HeaderMode::automatic: return guess_header_edges(grid, mark);
    case HeaderMode::none: return {false, false};
    case HeaderMode::first_row: return {true, false};
    case HeaderMode::first_column: return {false, true};
    case HeaderMode::both: return {true, true};
  }
  return {};
}

}  // namespace kestra::table
