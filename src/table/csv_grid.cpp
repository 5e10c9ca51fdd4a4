// Delimited text to a grid: RFC 4180 quoting (quoted fields hold separators,
// doubled quotes and line breaks), records ending at LF, CRLF or CR, and the
// separator sniffed from the first lines.
#include "import/import.h"
#include "table/table_reader.h"

namespace kestra::table {
namespace {

class CsvParser {
 public:
  CsvParser(std::string_view text, char separator) : text_(text), separator_(separator) {}

  // Fills the builder record by record until the text or the grid ends.
  void parse(GridBuilder& builder) {
    while (pos_ < text_.size()) {
      if (!builder.start_row()) return;
      read_record(builder);
    }
  }

 private:
  void read_record(GridBuilder& builder) {
    while (true) {
      builder.add_cell(SourceCell{read_field(), std::nullopt, false});
      if (pos_ >= text_.size()) return;
      const char end = text_[pos_++];
      if (end == separator_) continue;
      if (end == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
      return;
    }
  }

  // One field up to (not past) its separator or line end. A quote opens a
  // quoted part only at the field's start; text after the closing quote is kept.
  std::string read_field() {
    std::string field;
    if (pos_ < text_.size() && text_[pos_] == '"') {
      ++pos_;
      while (pos_ < text_.size()) {
        const char c = text_[pos_++];
        if (c != '"') {
          field.push_back(c);
        } else if (pos_ < text_.size() && text_[pos_] == '"') {
          field.push_back('"');
          ++pos_;
        } else {
          break;
        }
      }
    }
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == separator_ || c == '\n' || c == '\r') break;
      field.push_back(c);
      ++pos_;
    }
    return field;
  }

  std::string_view text_;
  const char separator_;
  std::size_t pos_ = 0;
};

constexpr std::size_t kSniffedBytes = 64 * 1024;

}  // namespace

GridRead read_csv_grid(std::string_view utf8_text) {
  const char separator = import::sniff_csv_separator(utf8_text.substr(0, kSniffedBytes));
  GridBuilder builder;
  CsvParser(utf8_text, separator).parse(builder);
  GridRead read;
  read.grid = builder.finish();
  read.grid.comma_on_tie = separator == ';';
  return read;
}

}  // namespace kestra::table
