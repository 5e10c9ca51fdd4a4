// Internal contract of the spreadsheet reader: the automation-shaped interface
// the range reader drives (start, hide, open a workbook, take a worksheet by
// its 1-based index, read a cell by its A1 address, close, quit), the cell
// range it reads, and the number a cell gives. The built-in application reads
// workbook files itself (workbook_backend.h); on Windows the same interface is
// also implemented over COM automation.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "kestra.h"

namespace kestra::import {

// A failure while driving the spreadsheet application: what a COM error is to
// an automation backend. The range reader turns it into KESTRA_WORKBOOK.
class AutomationError : public std::exception {
 public:
  explicit AutomationError(const char* what) : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;
};

[[noreturn]] inline void fail(const char* what) { throw AutomationError(what); }

// The rectangle of cells a range text names; columns 1 ('A') to 702 ('ZZ'),
// rows 1 to 9999.
struct CellRange {
  int first_column = 0;
  int first_row = 0;
  int last_column = 0;
  int last_row = 0;

  int columns() const { return last_column - first_column + 1; }
  int rows() const { return last_row - first_row + 1; }
  bool contains(int row, int column) const {
    return row >= first_row && row <= last_row && column >= first_column &&
           column <= last_column;
  }
};

// How a number cell's format shows it: as a number, or as a date or time.
enum class DateKind : std::uint8_t { none, date, time, date_time };

// One cell's value as the application hands it over: a text, or a number
// the workbook stored. Booleans are the texts "TRUE" and "FALSE", as the
// application shows them; a formula cell holds the result the workbook stored.
// A date or time cell's number is an OLE date (days from 1899-12-30).
struct Cell {
  enum class Kind : std::uint8_t { empty, text, number };
  Kind kind = Kind::empty;
  DateKind date = DateKind::none;
  double number = 0;
  std::string text;

  static Cell of_text(std::string t) { return {Kind::text, DateKind::none, 0, std::move(t)}; }
  static Cell of_number(double n) { return {Kind::number, DateKind::none, n, {}}; }
};

class Worksheet {
 public:
  virtual ~Worksheet() = default;
  // The cell at an A1 address such as "AB12"; throws AutomationError when the
  // address is rejected.
  [[nodiscard]] virtual Cell read_cell(const char* address) = 0;
  // The cell at a 1-based column and row of a valid address; by default
  // read by that address.
  [[nodiscard]] virtual Cell read_cell_at(int column, int row);
};

class Workbook {
 public:
  virtual ~Workbook() = default;
  // The worksheet at a 1-based index of the workbook's worksheets, in
  // workbook order; throws AutomationError when there is none. `wanted` is
  // the range that will be read: a backend that reads the file itself keeps
  // only those cells and stops past its last row.
  [[nodiscard]] virtual std::unique_ptr<Worksheet> worksheet(int index, const CellRange& wanted) = 0;
  virtual void close() = 0;
};

class SpreadsheetApp {
 public:
  virtual ~SpreadsheetApp() = default;
  virtual void hide() = 0;
  // Throws AutomationError when the file cannot be opened as a workbook.
  [[nodiscard]] virtual std::unique_ptr<Workbook> open_workbook(const char* path) = 0;
  virtual void quit() = 0;
};

// Starts the application; throws AutomationError when it cannot be started.
using SpreadsheetStarter = std::function<std::unique_ptr<SpreadsheetApp>()>;

// The application of this platform: on Windows the automation server
// registered as "Excel.Application" where there is one, else the built-in one.
[[nodiscard]] std::unique_ptr<SpreadsheetApp> start_spreadsheet_app();

// The built-in application: reads .xlsx, .xls and .csv files itself.
[[nodiscard]] std::unique_ptr<SpreadsheetApp> start_builtin_spreadsheet_app();

// Range text of an EXCEL_TAB to a range; KESTRA_OK or KESTRA_BAD_RANGE.
[[nodiscard]] int parse_cell_range(const char* text, CellRange* range);

// "A1" address of a cell: column letters (1 'A' ... 26 'Z', 27 'AA' ... 702
// 'ZZ') and the row in decimal. `out` holds at least 20 characters.
void format_cell_address(int column, int row, char* out);

// Column and row of an A1 address ("AB12" is column 28, row 12), or zeros
// when it is not 1 to 3 upper-case letters followed by 1 to 7 digits.
struct CellPosition {
  int column = 0;
  int row = 0;
};
[[nodiscard]] CellPosition parse_cell_address(const char* address);

// The number a cell gives: a stored number directly (0 when not finite); a
// text cut to 19 characters, ',' replaced by '.', then atof in the classic locale.
[[nodiscard]] double cell_number(const Cell& cell);

// Fills `table` with a new value array read from the range of `workbook_path`.
// KESTRA_OK, KESTRA_WORKBOOK or KESTRA_BAD_RANGE; on failure nothing stays
// allocated. Throws only what the standard library throws when memory runs out.
[[nodiscard]] int read_excel_range(const char* workbook_path, const EXCEL_TAB& range,
                                   TAB_GR* table,
                                   const SpreadsheetStarter& start = start_spreadsheet_app);

}  // namespace kestra::import
