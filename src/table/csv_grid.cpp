// Delimited text to a grid through the shared tokenizer, in the table
// reader's dialect: records end at LF, CRLF or CR, '#' lines are comments,
// and the separator is sniffed (csv_sniff.cpp). A header one field shorter
// than the data rows leaves its corner out: the first column holds row names.
#include "import/import.h"
#include "table/table_reader.h"

namespace kestra::table {
namespace {

constexpr std::size_t kSniffedBytes = 64 * 1024;

// Fills the grid builder, and puts an empty corner before the header's first
// field when asked.
class GridSink {
 public:
  GridSink(GridBuilder& builder, bool corner_missing)
      : builder_(builder), corner_missing_(corner_missing) {}

  bool field(std::string& text) {
    if (!row_open_ && !open_row()) return false;
    builder_.add_cell(SourceCell{std::move(text), std::nullopt, false});
    return true;
  }
  bool end_record() {
    const bool go_on = row_open_ || open_row();
    row_open_ = false;
    return go_on;
  }

 private:
  bool open_row() {
    if (!builder_.start_row()) return false;
    row_open_ = true;
    if (corner_missing_) builder_.add_cell(SourceCell{});
    corner_missing_ = false;
    return true;
  }

  GridBuilder& builder_;
  bool corner_missing_;
  bool row_open_ = false;
};

// Counts the fields of the first two records, then stops.
class WidthSink {
 public:
  bool field(std::string&) {
    ++widths[records];
    return true;
  }
  bool end_record() { return ++records < 2; }

  std::size_t widths[2] = {0, 0};
  std::size_t records = 0;
};

import::CsvDialect table_dialect(char separator) {
  import::CsvDialect dialect;
  dialect.separator = separator;
  dialect.lone_cr_ends_record = true;
  dialect.skip_comment_lines = true;
  return dialect;
}

template <class Sink>
void tokenize(std::string_view text, const import::CsvDialect& dialect, Sink& sink) {
  import::CsvTokenizer<Sink> tokenizer(dialect, sink);
  for (const char c : text) {
    if (!tokenizer.feed(c)) return;
  }
  tokenizer.finish();
}

// R's write.table and others write no header for the row-name column.
bool header_lacks_corner(std::string_view text, const import::CsvDialect& dialect) {
  WidthSink widths;
  tokenize(text, dialect, widths);
  return widths.records == 2 && widths.widths[0] >= 1 && widths.widths[0] + 1 == widths.widths[1];
}

}  // namespace

GridRead read_csv_grid(std::string_view utf8_text) {
  const char separator = sniff_table_separator(utf8_text.substr(0, kSniffedBytes));
  const import::CsvDialect dialect = table_dialect(separator);
  const bool corner_missing = header_lacks_corner(utf8_text, dialect);
  GridBuilder builder;
  GridSink sink(builder, corner_missing);
  tokenize(utf8_text, dialect, sink);
  GridRead read;
  read.grid = builder.finish();
  read.grid.comma_on_tie = separator == ';';
  if (corner_missing) {
    read.grid.marked_label_row = read.grid.marked_name_column = true;
    read.grid.notes.push_back("the header row is one field short: the first column names the rows");
  }
  return read;
}

}  // namespace kestra::table
