// kestra table reader: tables as real programs write them.
//
// The drawing exports read HTML and workbooks exactly as hosts expect them to
// (first table, fixed cell texts). This reader is for people: it understands
// <thead>/<th>, inline markup, entities, CSV with any common separator,
// header rows and columns, and numbers as people write them ("1,234.50",
// "(5)", "12%", a Unicode minus). It never draws; the command line and the
// bindings turn its Table into the records of kestra.h.
//
// "12%" reads 0.12. A cell holding no number is a gap (NaN), never 0. Date
// and time cells of workbooks (by their number format) are texts, such as
// "2008-07-25", so they label categories. Limits:
// 100,000 rows, 10,000 columns, 2,000,000 cells, 1,024 bytes of text per
// cell, 64 MiB per text file (16 MiB for HTML); a table cut to fit says so
// in its notes.
//
// Example:
//   kestra::TableOptions options;
//   options.range = "B2:E5";
//   kestra::TableRead read = kestra::read_table("sales.xlsx", options);
//   if (read.status != KESTRA_OK) { puts(read.message.c_str()); return; }
//   for (const std::string& note : read.table.notes) puts(note.c_str());
#ifndef KESTRA_TABLE_H
#define KESTRA_TABLE_H

#include "kestra.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kestra {

// Which edges of the table hold texts instead of numbers. The edge along
// the series names them, the other labels the categories (see Series).
enum class HeaderMode {
  // A first row of texts is a header; so is a first column of texts, or of
  // whole numbers rising down it under a text (years, ids). An empty corner
  // beside one header makes the other edge a header too, and what the file
  // marks (<th>, <thead>, a header one field short) is a header.
  automatic,
  none,          // every cell is a value
  first_row,     // the first row is a header
  first_column,  // the first column is a header
  both,          // the first row and the first column are headers
};

// Which way the file's table holds its series.
enum class Series {
  automatic,  // the columns when there are more data rows than data columns, else the rows
  rows,
  columns,
};

struct TableOptions {
  int sheet = 1;            // workbooks: worksheet number, from 1
  std::string range;        // "B2:E5" (HTML and CSV too); empty reads the used area
  int table_index = 0;      // HTML: which data table, from 0 (nested tables skipped)
  HeaderMode header = HeaderMode::automatic;
  Series series = Series::automatic;
};

// Rows are series, columns are categories, as in TAB_GR, whichever way the
// file holds them.
struct Table {
  std::size_t rows = 0;
  std::size_t cols = 0;
  std::vector<double> values;                 // rows x cols, row-major; NaN marks a gap
  std::vector<std::string> series_names;      // one per row: the input's, else "1", "2", ...
  std::vector<std::string> category_labels;   // one per column: the input's, else "A", "B", ...
  bool has_series_names = false;              // the names came from the input
  bool has_category_labels = false;           // the labels came from the input
  bool series_in_columns = false;             // the file's columns are the series
  std::string corner;                         // the top-left header cell's text, else empty
  std::string title;                          // HTML <caption>, else empty
  std::vector<std::string> notes;             // what the user should know: cuts, skipped cells
};

struct TableRead {
  int status = KESTRA_OK;  // KESTRA_OK, or 1009-1013 / KESTRA_INTERNAL as the exports use them
  std::string message;     // why, when status is not KESTRA_OK
  Table table;
};

// Reads a table from an .html/.htm, .xlsx, .xls or .csv/.tsv/.txt file; the
// kind is taken from the file's content where the name does not say it.
// Never throws.
KESTRA_API TableRead read_table(const std::string& path, const TableOptions& options = {}) noexcept;

}  // namespace kestra

#endif  // KESTRA_TABLE_H
