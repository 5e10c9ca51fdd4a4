// Shared by the workbook fuzz targets: reads a range of the file at `path`
// and aborts on anything but a clean status with the array released.
#pragma once

#include <cstdlib>
#include <cstring>
#include <vector>

#include "import/spreadsheet.h"

// A table read from a range; empty when the read was refused.
struct RangeRead {
  int status;
  std::vector<double> values;
};

inline RangeRead read_range_or_abort(const char* path, const EXCEL_TAB& range) {
  TAB_GR table{0, 0, nullptr};
  const int status = kestra::import::read_excel_range(path, range, &table);
  if (status != KESTRA_OK && status != KESTRA_WORKBOOK && status != KESTRA_BAD_RANGE) std::abort();
  if ((status == KESTRA_OK) != (table.values != nullptr)) std::abort();
  RangeRead read{status, {}};
  if (table.values) {
    read.values.assign(table.values, table.values + std::size_t(table.rows) * std::size_t(table.cols));
  }
  FreeTabGr(&table);
  return read;
}

inline RangeRead read_range_or_abort(const char* path, int sheet, const char* cells = "A1:F30") {
  EXCEL_TAB range{sheet, {}};
  std::strncpy(range.cellRange, cells, sizeof range.cellRange - 1);
  return read_range_or_abort(path, range);
}
