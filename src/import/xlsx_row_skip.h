// Drops the rows of a worksheet part that lie above the wanted range before
// expat sees them: a plain byte scan costs far less than parsing. Only whole,
// balanced <row> elements that the sheet reader would ignore are dropped; the
// run of dropped rows is replaced by an empty <row r="N"/> with the number of
// the last one, which leaves the reader where those rows would have. Anything
// the scan does not fully understand hands the rest of the part to expat as is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestra::import {

class RowSkipper {
 public:
  // Rows numbered below `first_row` are dropped.
  explicit RowSkipper(int first_row) : first_row_(first_row) {}

  // The bytes to parse for the next piece of the part; valid until the next
  // call. `last` marks the end of the part.
  std::string_view pass(std::string_view piece, bool last);

 private:
  enum class Mode { scanning, skipping, passing };
  enum class Kind { text, comment, start, empty, end, other };  // comment: also PI, CDATA
  struct Token {
    Kind kind;
    std::size_t begin;
    std::size_t end;
    std::string_view name;  // qualified name of a tag
  };

  bool has_plain_encoding() const;
  bool next_token(Token& token);
  void scan(const Token& token);
  void skip(const Token& token);
  void skip_in_row(const Token& token);
  void start_row(const Token& token);
  void open(std::string_view name);
  void pass_from(std::size_t at);
  void drop_consumed();

  int first_row_;
  int outer_depth_ = 0;  // elements open around the rows, sheet data included
  Mode mode_ = Mode::scanning;
  bool encoding_checked_ = false;
  std::string held_;    // bytes not yet handed on or dropped
  std::size_t at_ = 0;  // first byte of held_ not yet tokenised
  std::string out_;
  // Skipping: the number of the last dropped row, and while inside a row,
  // where it starts, its number and its open elements.
  int last_dropped_ = 0;
  bool dropped_any_ = false;
  bool in_row_ = false;
  std::size_t row_begin_ = 0;
  int row_number_ = 0;
  std::vector<std::string> open_;
  int depth_ = 0;
};

}  // namespace kestra::import
