// The number a cell gives: stored numbers as they are, texts through the
// 20-character cell buffer, ',' as decimal point, and a classic-locale atof.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "import/spreadsheet.h"

namespace kestra::import {
namespace {

constexpr std::size_t kCellBuffer = 20;  // 19 characters and a terminator

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

const char* skip_digits(const char* p) {
  while (is_digit(*p)) ++p;
  return p;
}

// atof in the classic locale, whatever locale the host has set: leading
// white space, then the longest prefix of the form [sign] digits [. digits]
// [e [sign] digits]. No such prefix (also hexadecimal, infinity and NaN
// forms past their leading '0') gives 0; overflow gives +-HUGE_VAL.
double classic_atof(const char* text) {
  const char* p = text;
  while (is_space(*p)) ++p;
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  const char* start = p;
  const char* q = skip_digits(p);
  bool digits = q != p;
  if (*q == '.') {
    const char* fraction = q + 1;
    q = skip_digits(fraction);
    digits = digits || q != fraction;
  }
  if (!digits) return 0;
  if (*q == 'e' || *q == 'E') {
    const char* exponent = q + 1;
    if (*exponent == '+' || *exponent == '-') ++exponent;
    const char* end = skip_digits(exponent);
    if (end != exponent) q = end;
  }
  double value = 0;
  const auto [ptr, error] = std::from_chars(start, q, value, std::chars_format::general);
  (void)ptr;
  if (error == std::errc::result_out_of_range) {
    // from_chars leaves the value untouched; a huge exponent overflows, a tiny one underflows
    const char* e = std::strpbrk(start, "eE");
    value = e && e < q && e[1] != '-' ? HUGE_VAL : 0.0;
  }
  return negative ? -value : value;
}

}  // namespace

double cell_number(const Cell& cell) {
  if (cell.kind == Cell::Kind::number) {
    // No workbook holds an infinity or NaN; a damaged one that does gives 0,
    // as the text of such a value would.
    return std::isfinite(cell.number) ? cell.number : 0;
  }
  char buffer[kCellBuffer] = {};
  const std::size_t length = std::min(cell.text.size(), kCellBuffer - 1);
  std::memcpy(buffer, cell.text.data(), length);
  for (std::size_t i = 0; i < length; ++i) {
    if (buffer[i] == ',') buffer[i] = '.';
  }
  return classic_atof(buffer);
}

}  // namespace kestra::import
