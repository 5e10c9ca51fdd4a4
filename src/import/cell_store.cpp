// The cells of the wanted range that a workbook backend met while reading.
#include "import/workbook_backend.h"

namespace kestra::import {

CellStore::CellStore(const CellRange& wanted)
    : wanted_(wanted), slots_(std::size_t(wanted.rows()) * std::size_t(wanted.columns())) {
  cells_.reserve(std::min<std::size_t>(slots_.size(), 1 << 17));
}

void CellStore::put(int row, int column, Cell cell) {
  if (!wanted_.contains(row, column)) return;
  if (cell.text.size() > kMaxStoredText) cell.text.resize(kMaxStoredText);
  std::uint32_t& slot = slots_[std::size_t(row - wanted_.first_row) * wanted_.columns() +
                               std::size_t(column - wanted_.first_column)];
  if (slot != 0) {
    cells_[slot - 1] = std::move(cell);
    return;
  }
  cells_.push_back(std::move(cell));
  slot = static_cast<std::uint32_t>(cells_.size());
}

Cell CellStore::read_cell(const char* address) {
  const CellPosition at = parse_cell_address(address);
  if (at.column == 0) fail("cell address rejected");
  if (!wanted_.contains(at.row, at.column)) return Cell{};
  const std::uint32_t slot = slots_[std::size_t(at.row - wanted_.first_row) * wanted_.columns() +
                                    std::size_t(at.column - wanted_.first_column)];
  return slot == 0 ? Cell{} : cells_[slot - 1];
}

}  // namespace kestra::import
