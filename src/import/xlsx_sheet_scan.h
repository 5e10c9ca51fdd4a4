// Reads the rows of a worksheet part's sheet data before expat sees them: a
// byte scan costs far less than parsing. Rows above the wanted range are
// dropped, plain rows of the range (xlsx_plain_row.h) hand their cells
// over directly, and the first row past the range goes to expat, whose
// reader stops there. A whole, balanced row of the range that is not plain
// goes to expat alone, and so do the rows after it in the same piece. Before anything goes to expat after rows it did not
// see, an empty <row r="N"/> with the number of the last of them leaves the
// reader where those rows would have. Anything the scan does not fully
// understand hands the rest of the part to expat as is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "import/spreadsheet.h"
#include "import/xlsx_plain_row.h"

namespace kestra::import {

// Receives the wanted cells of the rows the scanner reads itself.
class SheetCells {
 public:
  virtual ~SheetCells() = default;
  virtual void cell(int row, const PlainCell& cell) = 0;
};

class SheetScanner {
 public:
  SheetScanner(const CellRange& wanted, SheetCells& cells) : wanted_(wanted), cells_(cells) {}

  // The bytes to parse for the next piece of the part; valid until the next
  // call. `last` marks the end of the part.
  std::string_view pass(std::string_view piece, bool last);

 private:
  enum class Mode { scanning, rows, passing };
  enum class Kind { text, comment, start, empty, end, other };  // comment: also PI, CDATA
  struct Token {
    Kind kind;
    std::size_t begin;
    std::size_t end;
    std::string_view name;  // qualified name of a tag
  };

  bool has_plain_encoding() const;
  bool next_token(Token& token);
  bool take(const Token& token);
  void scan(const Token& token);
  bool between_rows(const Token& token);
  void in_row(const Token& token);
  bool start_row(const Token& token);
  bool read_plain(const Token& token, int number);
  void end_row();
  void open(std::string_view name);
  void catch_up();
  void pass_from(std::size_t at);
  void drop_consumed();

  CellRange wanted_;
  SheetCells& cells_;
  int outer_depth_ = 0;  // elements open around the rows, sheet data included
  Mode mode_ = Mode::scanning;
  bool encoding_checked_ = false;
  std::string held_;    // bytes not yet handed on or dropped
  std::size_t at_ = 0;  // first byte of held_ not yet tokenised
  std::string out_;
  int last_row_ = 0;   // number of the last row read or dropped
  int parsed_row_ = 0;  // the row expat's reader is at
  bool handed_row_ = false;  // in this piece
  std::vector<PlainCell> plain_;
  // Inside a row that is not plain: where it starts, its number and its
  // open elements.
  bool in_row_ = false;
  std::size_t row_begin_ = 0;
  int row_number_ = 0;
  std::vector<std::string> open_;
  int depth_ = 0;
};

}  // namespace kestra::import
