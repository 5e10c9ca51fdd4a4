// The cells of the wanted range that a workbook backend met while reading.
#include "import/workbook_backend.h"

namespace kestra::import {
namespace {

std::uint64_t key(int row, int column) {
  return static_cast<std::uint64_t>(row) << 16 | static_cast<std::uint64_t>(column);
}

}  // namespace

void CellStore::put(int row, int column, Cell cell) {
  if (!wanted_.contains(row, column)) return;
  if (cell.text.size() > kMaxStoredText) cell.text.resize(kMaxStoredText);
  cells_[key(row, column)] = std::move(cell);
}

Cell CellStore::read_cell(const char* address) {
  const CellPosition at = parse_cell_address(address);
  if (at.column == 0) fail("cell address rejected");
  const auto found = cells_.find(key(at.row, at.column));
  return found == cells_.end() ? Cell{} : found->second;
}

}  // namespace kestra::import
