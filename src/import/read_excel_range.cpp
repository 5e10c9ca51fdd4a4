// Reads a cell range of one worksheet into a new table of values by driving
// the spreadsheet application step by step: start, hide, open the workbook,
// take the worksheet, read every cell, close, quit.
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "import/spreadsheet.h"

namespace kestra::import {
namespace {

// The value array until it is handed to the table.
struct GlobalArray {
  explicit GlobalArray(std::size_t count)
      : values(static_cast<double*>(GlobalAlloc(GMEM_FIXED, count * sizeof(double)))) {}
  ~GlobalArray() {
    if (values) GlobalFree(values);
  }
  GlobalArray(const GlobalArray&) = delete;
  GlobalArray& operator=(const GlobalArray&) = delete;
  double* release() { return std::exchange(values, nullptr); }

  double* values;
};

// The protected section: open, take the worksheet, read row by row, close.
void read_cells(SpreadsheetApp& app, const char* path, int sheet_index, const CellRange& range,
                double* values) {
  const std::unique_ptr<Workbook> workbook = app.open_workbook(path);
  const std::unique_ptr<Worksheet> sheet = workbook->worksheet(sheet_index, range);
  const int cols = range.columns();
  for (int i = 0; i < range.rows(); ++i) {
    for (int j = 0; j < cols; ++j) {
      values[static_cast<std::size_t>(i) * cols + j] =
          cell_number(sheet->read_cell_at(range.first_column + j, range.first_row + i));
    }
  }
  workbook->close();
}

// Runs the application from start to quit; false on any automation failure.
// Once started, the application quits whatever fails: a failed hide or
// section skips the rest and goes straight to quitting.
bool drive_application(const SpreadsheetStarter& start, const char* path, int sheet_index,
                       const CellRange& range, double* values) {
  std::unique_ptr<SpreadsheetApp> app;
  try {
    app = start();
  } catch (const AutomationError&) {
    return false;
  }
  if (!app) return false;
  bool read = true;
  try {
    app->hide();
    read_cells(*app, path, sheet_index, range, values);
  } catch (const AutomationError&) {
    read = false;
  } catch (...) {  // out of memory: the caller hears of it once the application quit
    try {
      app->quit();
    } catch (const AutomationError&) {  // the failure that goes on is the one to report
    }
    throw;
  }
  try {
    app->quit();
  } catch (const AutomationError&) {
    return false;
  }
  return read;
}

}  // namespace

Cell Worksheet::read_cell_at(int column, int row) {
  char address[20];
  format_cell_address(column, row, address);
  return read_cell(address);
}

int read_excel_range(const char* workbook_path, const EXCEL_TAB& range, TAB_GR* table,
                     const SpreadsheetStarter& start) {
  char text[sizeof range.cellRange + 1] = {};  // the host's text may lack its terminator
  std::memcpy(text, range.cellRange, sizeof range.cellRange);
  CellRange cells;
  if (const int status = parse_cell_range(text, &cells); status != KESTRA_OK) return status;

  const auto count = static_cast<std::size_t>(cells.rows()) * cells.columns();
  GlobalArray values(count);
  if (!values.values) throw std::bad_alloc();
  if (!workbook_path ||
      !drive_application(start, workbook_path, range.sheetIndex, cells, values.values)) {
    return KESTRA_WORKBOOK;
  }
  *table = TAB_GR{cells.rows(), cells.columns(), values.release()};
  return KESTRA_OK;
}

}  // namespace kestra::import
