// Internal contract of the spreadsheet reader: the automation-shaped interface
// the range reader drives (start, hide, open a workbook, take a worksheet by
// its 1-based index, read a cell by its A1 address, close, quit), the cell
// range it reads, and the workbook backends behind the interface on Linux.
// A Windows build implements the same interface over COM automation.
#pragma once

#include <algorithm>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

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

// One cell's value as the application hands it over: a text, or a number
// the workbook stored. Booleans are the texts "TRUE" and "FALSE", as the
// application shows them; a formula cell holds the result the workbook stored.
struct Cell {
  enum class Kind : std::uint8_t { empty, text, number };
  Kind kind = Kind::empty;
  double number = 0;
  std::string text;

  static Cell of_text(std::string t) { return {Kind::text, 0, std::move(t)}; }
  static Cell of_number(double n) { return {Kind::number, n, {}}; }
};

// Texts longer than this are cut where a backend stores them; the reader uses
// at most the first 19 characters of a cell.
constexpr std::size_t kMaxStoredText = 255;

class Worksheet {
 public:
  virtual ~Worksheet() = default;
  // The cell at an A1 address such as "AB12"; throws AutomationError when the
  // address is rejected.
  virtual Cell read_cell(const char* address) = 0;
};

class Workbook {
 public:
  virtual ~Workbook() = default;
  // The worksheet at a 1-based index of the workbook's worksheets, in
  // workbook order; throws AutomationError when there is none. `wanted` is
  // the range that will be read: a backend that reads the file itself keeps
  // only those cells and stops past its last row.
  virtual std::unique_ptr<Worksheet> worksheet(int index, const CellRange& wanted) = 0;
  virtual void close() = 0;
};

class SpreadsheetApp {
 public:
  virtual ~SpreadsheetApp() = default;
  virtual void hide() = 0;
  // Throws AutomationError when the file cannot be opened as a workbook.
  virtual std::unique_ptr<Workbook> open_workbook(const char* path) = 0;
  virtual void quit() = 0;
};

// Starts the application; throws AutomationError when it cannot be started.
using SpreadsheetStarter = std::function<std::unique_ptr<SpreadsheetApp>()>;

// The application of this platform: reads .xlsx, .xls and .csv files itself.
std::unique_ptr<SpreadsheetApp> start_spreadsheet_app();

// The workbook backends of that application, one per file kind. Each reads
// only the worksheet asked for and throws AutomationError on a file it
// cannot read.
std::unique_ptr<Workbook> open_xlsx_workbook(const char* path);
std::unique_ptr<Workbook> open_xls_workbook(const char* path);
std::unique_ptr<Workbook> open_csv_workbook(const char* path);

// Upper bound on the bytes a backend reads or inflates for one worksheet, so
// a hostile file costs bounded memory and time.
constexpr std::uint64_t kMaxWorksheetBytes = std::uint64_t{256} << 20;

// A worksheet read by a backend: the cells of the wanted range it met.
class CellStore final : public Worksheet {
 public:
  explicit CellStore(const CellRange& wanted) : wanted_(wanted) {
    cells_.reserve(std::min<std::size_t>(std::size_t(wanted.rows()) * wanted.columns(), 1 << 17));
  }
  const CellRange& wanted() const { return wanted_; }
  // Keeps the cell when it lies in the wanted range; a later value wins.
  void put(int row, int column, Cell cell);
  Cell read_cell(const char* address) override;

 private:
  CellRange wanted_;
  std::unordered_map<std::uint64_t, Cell> cells_;
};

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
CellPosition parse_cell_address(const char* address);

// The number a cell gives: a stored number directly (0 when not finite); a
// text cut to 19 characters, ',' replaced by '.', then atof in the classic locale.
double cell_number(const Cell& cell);

// Fills `table` with a new value array read from the range of `workbook_path`.
// KESTRA_OK, KESTRA_WORKBOOK or KESTRA_BAD_RANGE; on failure nothing stays
// allocated. Throws only std::bad_alloc.
[[nodiscard]] int read_excel_range(const char* workbook_path, const EXCEL_TAB& range,
                                   TAB_GR* table,
                                   const SpreadsheetStarter& start = start_spreadsheet_app);

}  // namespace kestra::import
