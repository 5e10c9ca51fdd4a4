// The range text over any bytes: an accepted range has its corners in order
// and within two letters and four digits, its corners written back as
// addresses read as the same cells, and the range reader given the same
// 20-character field reads a small CSV workbook without a crash or a leak.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "spreadsheet_fuzz.h"

namespace {

using kestra::import::CellPosition;
using kestra::import::CellRange;

// A workbook of 30 rows x 6 columns of numbers, written once per process.
const std::string& workbook_path() {
  static const std::string path = [] {
    const std::string name = "/tmp/kestra-range-fuzz-" + std::to_string(getpid()) + ".csv";
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (!file) std::abort();
    for (int row = 1; row <= 30; ++row) {
      std::fprintf(file, "%d,%d.5,-%d,x%d,\"%d,5\",%de1\n", row, row, row, row, row, row);
    }
    std::fclose(file);
    return name;
  }();
  return path;
}

void check_corner(int column, int row) {
  char address[20];
  kestra::import::format_cell_address(column, row, address);
  const CellPosition read = kestra::import::parse_cell_address(address);
  if (read.column != column || read.row != row) std::abort();
}

void check_range(const CellRange& range) {
  if (range.first_column < 1 || range.last_column > 702 || range.first_row < 1 ||
      range.last_row > 9999 || range.columns() < 1 || range.rows() < 1) {
    std::abort();
  }
  check_corner(range.first_column, range.first_row);
  check_corner(range.last_column, range.last_row);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CellRange range;
  if (kestra::import::parse_cell_range(text.c_str(), &range) == KESTRA_OK) check_range(range);

  // The record's field holds 20 characters, without a terminator when full.
  EXCEL_TAB field{1, {}};
  std::memcpy(field.cellRange, data, std::min(size, sizeof field.cellRange));
  const std::string cells(field.cellRange, strnlen(field.cellRange, sizeof field.cellRange));
  CellRange expected;
  if (kestra::import::parse_cell_range(cells.c_str(), &expected) != KESTRA_OK) {
    if (read_range_or_abort(workbook_path().c_str(), field).status != KESTRA_BAD_RANGE) std::abort();
    return 0;
  }
  // Large ranges only cost time: their cells past the workbook's are zeros.
  const std::size_t slots = std::size_t(expected.rows()) * std::size_t(expected.columns());
  if (slots > 4096) return 0;
  const RangeRead read = read_range_or_abort(workbook_path().c_str(), field);
  if (read.status != KESTRA_OK || read.values.size() != slots) std::abort();
  return 0;
}
