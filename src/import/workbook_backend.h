// The workbook backends of the Linux spreadsheet application, one per file
// kind, and the cell store they fill.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "import/spreadsheet.h"

namespace kestra::import {

// Texts longer than this are cut where a backend stores them; the reader uses
// at most the first 19 characters of a cell.
constexpr std::size_t kMaxStoredText = 255;

// One backend per file kind; the application picks it by the file's first
// bytes. Each reads only the worksheet asked for and throws AutomationError
// on a file it cannot read.
[[nodiscard]] std::unique_ptr<Workbook> open_xlsx_workbook(const char* path);
[[nodiscard]] std::unique_ptr<Workbook> open_xls_workbook(const char* path);
[[nodiscard]] std::unique_ptr<Workbook> open_csv_workbook(const char* path);

// The field separator of delimited text, from its first lines: a tab or a
// semicolon found equally often on every line, else a comma found so, else
// the most frequent of the three; a comma when there is none.
[[nodiscard]] char sniff_csv_separator(std::string_view head);
// The tab, semicolon or comma found equally often on every line, if any.
[[nodiscard]] std::optional<char> consistent_csv_separator(std::string_view head);

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
  Cell read_cell_at(int column, int row) override { return cell_at(row, column); }
  Cell cell_at(int row, int column) const;
  // The smallest range holding every cell kept; all zeros when none was.
  CellRange used_area() const;

 private:
  std::uint64_t offset(int row, int column) const;  // of a cell in the range, row by row
  std::uint32_t slot_at(std::uint64_t offset) const;

  CellRange wanted_;
  bool dense_;                                                // a slot for every cell
  std::vector<std::uint32_t> slots_;                          // 1 + index in cells_, 0 for none
  std::unordered_map<std::uint64_t, std::uint32_t> sparse_slots_;  // the same, when not dense
  std::vector<Cell> cells_;
  std::vector<std::uint64_t> offsets_;                          // each cell's offset
};

}  // namespace kestra::import
