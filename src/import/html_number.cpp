// Cell texts to numbers as atof reads them in the classic locale, whatever
// locale the host process has set.
#include <clocale>
#include <cstdlib>

#include "import/html_table.h"

namespace kestra::import {
namespace {

locale_t classic_locale() {
  static const locale_t classic = newlocale(LC_ALL_MASK, "C", locale_t{});
  return classic;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The classic locale's white space: space, tab, LF, VT, FF, CR.
bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

double html_cell_number(const char* text) {
  const char* p = text;
  while (is_space(*p)) ++p;
  const char* digits = p + (*p == '+' || *p == '-');
  // Only a decimal number counts: strtod would also take "inf", "nan" and
  // "0x1p3". Of a hexadecimal text only the leading "0" is decimal.
  if (!is_digit(*digits) && *digits != '.') return 0.0;
  if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) return *p == '-' ? -0.0 : 0.0;
  return strtod_l(p, nullptr, classic_locale());
}

}  // namespace kestra::import
