// The cells of the wanted range that a workbook backend met while reading.
#include "import/workbook_backend.h"

namespace kestra::import {
namespace {

// A range of up to this many cells keeps a slot per cell (4 bytes each); a
// larger one, such as a whole sheet, keeps slots only for the cells met.
constexpr std::uint64_t kDenseCells = std::uint64_t{1} << 22;

std::uint64_t cell_count(const CellRange& range) {
  return std::uint64_t(range.rows()) * std::uint64_t(range.columns());
}

}  // namespace

CellStore::CellStore(const CellRange& wanted)
    : wanted_(wanted), dense_(cell_count(wanted) <= kDenseCells) {
  if (dense_) slots_.resize(static_cast<std::size_t>(cell_count(wanted)));
  cells_.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(cell_count(wanted), 1 << 17)));
}

std::uint64_t CellStore::offset(int row, int column) const {
  return std::uint64_t(row - wanted_.first_row) * std::uint64_t(wanted_.columns()) +
         std::uint64_t(column - wanted_.first_column);
}

std::uint32_t CellStore::slot_at(std::uint64_t offset) const {
  if (dense_) return slots_[offset];
  const auto found = sparse_slots_.find(offset);
  return found == sparse_slots_.end() ? 0 : found->second;
}

void CellStore::put(int row, int column, Cell cell) {
  if (!wanted_.contains(row, column)) return;
  if (cell.text.size() > kMaxStoredText) cell.text.resize(kMaxStoredText);
  const std::uint64_t at = offset(row, column);
  std::uint32_t& slot = dense_ ? slots_[at] : sparse_slots_[at];
  if (slot != 0) {
    cells_[slot - 1] = std::move(cell);
    return;
  }
  cells_.push_back(std::move(cell));
  offsets_.push_back(at);
  slot = static_cast<std::uint32_t>(cells_.size());
}

Cell CellStore::read_cell(const char* address) {
  const CellPosition at = parse_cell_address(address);
  if (at.column == 0) fail("cell address rejected");
  return cell_at(at.row, at.column);
}

Cell CellStore::cell_at(int row, int column) const {
  if (!wanted_.contains(row, column)) return Cell{};
  const std::uint32_t slot = slot_at(offset(row, column));
  return slot == 0 ? Cell{} : cells_[slot - 1];
}

CellRange CellStore::used_area() const {
  if (cells_.empty()) return {};
  CellRange area{wanted_.last_column, wanted_.last_row, wanted_.first_column, wanted_.first_row};
  const std::uint64_t columns = std::uint64_t(wanted_.columns());
  for (const std::uint64_t at : offsets_) {
    const int row = wanted_.first_row + static_cast<int>(at / columns);
    const int column = wanted_.first_column + static_cast<int>(at % columns);
    area.first_row = std::min(area.first_row, row);
    area.last_row = std::max(area.last_row, row);
    area.first_column = std::min(area.first_column, column);
    area.last_column = std::max(area.last_column, column);
  }
  return area;
}

}  // namespace kestra::import
