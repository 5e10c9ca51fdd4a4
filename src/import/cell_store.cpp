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
  return cell_at(at.row, at.column);
}

Cell CellStore::cell_at(int row, int column) const {
  const auto found = cells_.find(key(row, column));
  return found == cells_.end() ? Cell{} : found->second;
}

CellRange CellStore::used_area() const {
  if (cells_.empty()) return {};
  CellRange area{wanted_.last_column, wanted_.last_row, wanted_.first_column, wanted_.first_row};
  for (const auto& [at, cell] : cells_) {
    const int row = static_cast<int>(at >> 16);
    const int column = static_cast<int>(at & 0xFFFF);
    area.first_row = std::min(area.first_row, row);
    area.last_row = std::max(area.last_row, row);
    area.first_column = std::min(area.first_column, column);
    area.last_column = std::max(area.last_column, column);
  }
  return area;
}

}  // namespace kestra::import
