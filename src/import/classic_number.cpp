#include "import/classic_number.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace kestra::import {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

const char* skip_digits(const char* p) {
  while (is_digit(*p)) ++p;
  return p;
}

}  // namespace

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

}  // namespace kestra::import
