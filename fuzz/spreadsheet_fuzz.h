// Shared by the workbook fuzz targets: reads a range of the file at `path`
// and aborts on anything but a clean status with the array released.
#pragma once

#include <cstdlib>

#include "import/spreadsheet.h"

inline void read_range_or_abort(const char* path, int sheet) {
  TAB_GR table{0, 0, nullptr};
  const EXCEL_TAB range{sheet, "A1:F30"};
  const int status = kestra::import::read_excel_range(path, range, &table);
  if (status != KESTRA_OK && status != KESTRA_WORKBOOK) std::abort();
  if ((status == KESTRA_OK) != (table.values != nullptr)) std::abort();
  FreeTabGr(&table);
}
