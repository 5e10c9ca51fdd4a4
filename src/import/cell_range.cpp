// Range texts and A1 cell addresses: 'B2:E7' to corner numbers and back.
#include <charconv>

#include "import/spreadsheet.h"

namespace kestra::import {
namespace {

bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The token buffer of the range parser: at most two letters or four digits.
class Token {
 public:
  void start(char c) {
    size_ = 0;
    append(c);
  }
  bool append(char c) {  // false when the token would grow past its limit
    const int limit = is_upper(c) ? 2 : 4;
    if (size_ == limit) return false;
    chars_[size_++] = c;
    return true;
  }
  // 'A' 1 ... 'Z' 26, 'AA' 27 ... 'ZZ' 702; 0 when empty.
  int column() const {
    int n = 0;
    for (int i = 0; i < size_; ++i) n = n * 26 + (chars_[i] - 'A' + 1);
    return n;
  }
  int row() const {
    int n = 0;
    for (int i = 0; i < size_; ++i) n = n * 10 + (chars_[i] - '0');
    return n;
  }

 private:
  char chars_[4] = {};
  int size_ = 0;
};

}  // namespace

// Four states: first column, first row, second column, second row. Anything
// but 'A'-'Z' and '0'-'9' is skipped; a letter after the second row ends it.
int parse_cell_range(const char* text, CellRange* range) {
  *range = CellRange{};
  Token token;
  int state = 0;
  for (const char* p = text; *p; ++p) {
    const char c = *p;
    const bool letter = is_upper(c);
    if (!letter && !is_digit(c)) continue;
    const bool takes_letters = state == 0 || state == 2;
    if (letter == takes_letters) {  // the token goes on
      if (!token.append(c)) return KESTRA_BAD_RANGE;
      continue;
    }
    if (state == 3) break;
    switch (state) {
      case 0: range->first_column = token.column(); break;
      case 1: range->first_row = token.row(); break;
      case 2: range->last_column = token.column(); break;
    }
    token.start(c);
    ++state;
  }
  if (state == 3) range->last_row = token.row();
  if (!range->first_column || !range->first_row || !range->last_column || !range->last_row ||
      range->columns() < 1 || range->rows() < 1) {
    return KESTRA_BAD_RANGE;
  }
  return KESTRA_OK;
}

// Exact inverse of the parser's lettering: 'Z' 26, 'AZ' 52, 'ZZ' 702.
void format_cell_address(int column, int row, char* out) {
  if (column > 26) *out++ = static_cast<char>('A' + (column - 1) / 26 - 1);
  *out++ = static_cast<char>('A' + (column - 1) % 26);
  *std::to_chars(out, out + 17, row).ptr = '\0';
}

CellPosition parse_cell_address(const char* address) {
  const char* p = address;
  int column = 0;
  int letters = 0;
  for (; is_upper(*p) && letters < 3; ++p, ++letters) column = column * 26 + (*p - 'A' + 1);
  int row = 0;
  int digits = 0;
  for (; is_digit(*p) && digits < 7; ++p, ++digits) row = row * 10 + (*p - '0');
  if (letters == 0 || digits == 0 || row == 0 || *p != '\0') return {};
  return {column, row};
}

}  // namespace kestra::import
