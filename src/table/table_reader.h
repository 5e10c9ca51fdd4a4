// Internal contract of the table reader: the grid of source cells each file
// kind yields, its size limits, and the steps that turn a grid into a Table
// (range, used area, headers, numbers).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/import.h"
#include "kestra_table.h"

namespace kestra::table {

// Size limits: a grid never holds more, and a cut is reported in the notes.
constexpr std::size_t kMaxRows = 100000;
constexpr std::size_t kMaxColumns = 10000;
constexpr std::size_t kMaxCells = 2000000;
constexpr std::size_t kMaxCellText = 1024;           // bytes kept of one cell's text
constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;  // text read of a CSV file
constexpr std::size_t kMaxHtmlBytes = std::size_t{16} << 20;  // its parsed tree takes ~25x

// One cell as its source gave it: a text, or a number a workbook stored.
struct SourceCell {
  std::string text;
  std::optional<double> number;
  bool is_header = false;  // an HTML <th> or a cell of <thead>
};

// The cells of one table before headers and numbers are decided.
struct Grid {
  std::size_t rows = 0;
  std::size_t cols = 0;
  std::vector<SourceCell> cells;  // rows x cols, row-major
  int first_row = 1;              // source position of cell (0, 0), for notes
  int first_column = 1;
  bool marked_label_row = false;    // the source says row 0 holds labels (<thead>, <th>)
  bool marked_name_column = false;  // the source says column 0 holds names (<th>)
  bool comma_on_tie = false;        // semicolon text: "1,234" reads as 1.234
  std::string title;
  std::vector<std::string> notes;

  const SourceCell& at(std::size_t row, std::size_t col) const { return cells[row * cols + col]; }
};

// Collects a source's rows into a Grid within the size limits.
class GridBuilder {
 public:
  // Starts a row; false once the grid is full, and the source stops.
  bool start_row();
  // Adds a cell to the current row; cells past kMaxColumns are dropped.
  void add_cell(SourceCell cell);
  // Pads every row to the widest and notes what was cut.
  Grid finish();

 private:
  std::vector<std::vector<SourceCell>> rows_;
  std::size_t cells_ = 0;
  bool rows_cut_ = false;
  bool columns_cut_ = false;
  bool texts_cut_ = false;
};

// A reader's result before a Table is built from it.
struct GridRead {
  int status = KESTRA_OK;
  std::string message;
  Grid grid;
};

// --- file kinds and text ---
enum class FileKind { html, xlsx, xls, csv };
// A workbook's signature, else the name's extension, else the first bytes
// (up to 4096); web pages named .xls or .xlsx are read as HTML.
FileKind sniff_file_kind(const std::string& path, std::string_view head);
// Text bytes as UTF-8: a UTF-8 BOM dropped, UTF-16 with a BOM converted,
// bytes that are not UTF-8 read as Windows-1252.
std::string text_as_utf8(std::string_view bytes);
bool has_byte_order_mark(std::string_view bytes);
// Text with no byte-order mark that is not UTF-8 in the encoding the
// detector guesses, with a note naming the guess; else as text_as_utf8.
struct DecodedText {
  std::string utf8;
  std::string guess;  // the note, empty when nothing was guessed
};
DecodedText decode_text(std::string_view bytes);
// NUL bytes, or more than 1 in 100 control bytes, in the first 64 KiB of
// bytes that are not UTF-16.
bool looks_binary(std::string_view bytes);
bool is_valid_utf8(std::string_view text);
// Cuts UTF-8 text to at most `limit` bytes at a character boundary.
void cut_utf8(std::string& text, std::size_t limit);
// The first bytes that are no whitespace (ASCII, NBSP and the Unicode spaces
// people paste) and the last, removed.
std::string_view trim_spaces(std::string_view text);

// A workbook's date or time cell (an OLE date) as the text people read:
// "2008-07-25", "14:40:00" or "2008-07-25 14:40:00".
std::string date_text(double ole_date, import::DateKind kind);

// --- readers ---
// The separator of delimited text: a tab, semicolon or comma found equally
// often on every line that is no '#' comment, else blank-aligned columns
// (import::kWhitespaceSeparator), else the most frequent of the three.
char sniff_table_separator(std::string_view head);
GridRead read_csv_grid(std::string_view utf8_text);
// KESTRA_HTML_NO_TABLE when there is no such table; `bytes` are at most kMaxHtmlBytes.
GridRead read_html_grid(std::string_view bytes, int table_index);
// `range` null reads the used area of the sheet.
GridRead read_workbook_grid(const std::string& path, int sheet, const import::CellRange* range);

// --- grid steps ---
// An A1 range such as "B2:E5", in any case, its corners in either order
// ("E5:B2" is the same rectangle); nullopt when the text is none.
std::optional<import::CellRange> parse_table_range(std::string_view text);
// Keeps the cells of the range; cells past the grid's end are empty.
void crop_to_range(Grid& grid, const import::CellRange& range);
// Drops empty rows and columns at the edges.
void trim_to_used_area(Grid& grid);

// --- numbers ---
enum class DecimalMark { dot, comma };
// The number a person wrote: thousands separators, a Unicode minus, (5) as
// -5, a trailing % as a hundredth, spaces around; nullopt when it is none.
std::optional<double> parse_number(std::string_view text, DecimalMark mark);
// The decimal mark most cells agree on; ties go to the comma when the grid
// says so.
DecimalMark choose_decimal_mark(const Grid& grid);

// --- headers and the table ---
struct HeaderEdges {
  bool label_row = false;
  bool name_column = false;
};
HeaderEdges choose_header_edges(const Grid& grid, HeaderMode mode, DecimalMark mark);
// A table built with the file's rows as series; series_in_columns reads 0.
Table build_table(Grid grid, HeaderEdges edges, DecimalMark mark);
// Turns a table built from the file's rows when, by the rule of Series
// (kestra_table.h), its series are the columns.
void orient_table(Table& table, Series series);

}  // namespace kestra::table
