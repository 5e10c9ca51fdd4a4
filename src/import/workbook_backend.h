// The workbook backends of the Linux spreadsheet application, one per file
// kind, and the cell store they fill.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "import/spreadsheet.h"

namespace kestra::import {

// Texts longer than this are cut where a backend stores them; the reader uses
// at most the first 19 characters of a cell.
constexpr std::size_t kMaxStoredText = 255;

// One backend per file kind; the application picks it by the file's first
// bytes. Each reads only the worksheet asked for and throws AutomationError
// on a file it cannot read.
std::unique_ptr<Workbook> open_xlsx_workbook(const char* path);
std::unique_ptr<Workbook> open_xls_workbook(const char* path);
std::unique_ptr<Workbook> open_csv_workbook(const char* path);

// Upper bound on the bytes a backend reads or inflates for one worksheet, so
// a hostile file costs bounded memory and time.
constexpr std::uint64_t kMaxWorksheetBytes = std::uint64_t{256} << 20;

// A worksheet read by a backend: the cells of the wanted range it met. A
// slot per cell of the range (4 bytes, half of what the range's values take)
// leads to the cells met, in the order met.
class CellStore final : public Worksheet {
 public:
  explicit CellStore(const CellRange& wanted);
  const CellRange& wanted() const { return wanted_; }
  // Keeps the cell when it lies in the wanted range; a later value wins.
  void put(int row, int column, Cell cell);
  Cell read_cell(const char* address) override;

 private:
  CellRange wanted_;
  std::vector<std::uint32_t> slots_;  // row by row: 1 + index in cells_, 0 for none
  std::vector<Cell> cells_;
};

}  // namespace kestra::import
