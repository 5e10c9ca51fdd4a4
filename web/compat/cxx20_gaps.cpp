// from_chars: the longest prefix of the pattern the format allows is found
// here, then converted, correctly rounded, by strtod. to_chars: the fewest
// significant digits that strtod reads back exactly, from snprintf. The C
// locale is the only one in the browser build.
#include "cxx20_gaps.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 17000
namespace std {
namespace {

bool has(chars_format format, chars_format part) {
  return (static_cast<unsigned>(format) & static_cast<unsigned>(part)) != 0;
}

const char* skip_digits(const char* p, const char* last) {
  while (p != last && *p >= '0' && *p <= '9') ++p;
  return p;
}

// Whether [p, last) starts with `word`, in any case.
bool starts_with_word(const char* p, const char* last, const char* word) {
  for (; *word; ++word, ++p) {
    if (p == last || (*p | 0x20) != *word) return false;
  }
  return true;
}

// "inf", "infinity", "nan" or "nan(chars)"; null when it is none of them.
const char* special_value(const char* p, const char* last, double& special) {
  if (starts_with_word(p, last, "inf")) {
    special = numeric_limits<double>::infinity();
    return starts_with_word(p, last, "infinity") ? p + 8 : p + 3;
  }
  if (!starts_with_word(p, last, "nan")) return nullptr;
  special = numeric_limits<double>::quiet_NaN();
  p += 3;
  if (p != last && *p == '(') {
    const char* q = p + 1;
    while (q != last && (isalnum(static_cast<unsigned char>(*q)) || *q == '_')) ++q;
    if (q != last && *q == ')') return q + 1;
  }
  return p;
}

// The end of the decimal number at p, or null when there is none.
const char* decimal_end(const char* p, const char* last, chars_format format) {
  const char* integer_end = skip_digits(p, last);
  const char* end = integer_end;
  if (end != last && *end == '.') end = skip_digits(end + 1, last);
  if (integer_end == p && end - p <= 1) return nullptr;  // no digit at all
  const bool exponent_mark = end != last && (*end == 'e' || *end == 'E');
  if (has(format, chars_format::scientific) && exponent_mark) {
    const char* exponent = end + 1;
    if (exponent != last && (*exponent == '+' || *exponent == '-')) ++exponent;
    const char* exponent_end = skip_digits(exponent, last);
    if (exponent_end != exponent) return exponent_end;
  }
  // Scientific alone requires the exponent.
  return has(format, chars_format::fixed) ? end : nullptr;
}

// The shortest "d.ddde±x" of a finite, positive value that reads back as it.
string shortest_scientific(double value) {
  char text[40];
  for (int precision = 0; precision < 17; ++precision) {
    snprintf(text, sizeof text, "%.*e", precision, value);
    if (strtod(text, nullptr) == value) return text;
  }
  snprintf(text, sizeof text, "%.16e", value);
  return text;
}

// The same digits without an exponent.
string as_fixed(const string& digits, int exponent) {
  const int count = static_cast<int>(digits.size());
  if (exponent < 0) return "0." + string(static_cast<size_t>(-exponent - 1), '0') + digits;
  if (exponent >= count - 1) return digits + string(static_cast<size_t>(exponent - count + 1), '0');
  return digits.substr(0, static_cast<size_t>(exponent) + 1) + '.' +
         digits.substr(static_cast<size_t>(exponent) + 1);
}

string shortest_text(double value) {
  if (isnan(value)) return signbit(value) ? "-nan" : "nan";
  const string sign = signbit(value) ? "-" : "";
  if (isinf(value)) return sign + "inf";
  if (value == 0) return sign + "0";
  const string scientific = shortest_scientific(fabs(value));
  const size_t mark = scientific.find('e');
  string digits = scientific.substr(0, mark);
  digits.erase(remove(digits.begin(), digits.end(), '.'), digits.end());
  const int exponent = atoi(scientific.c_str() + mark + 1);
  const string fixed = as_fixed(digits, exponent);
  return sign + (fixed.size() <= scientific.size() ? fixed : scientific);
}

}  // namespace

to_chars_result to_chars(char* first, char* last, double value) {
  const string text = shortest_text(value);
  if (static_cast<size_t>(last - first) < text.size()) return {last, errc::value_too_large};
  memcpy(first, text.data(), text.size());
  return {first + text.size(), errc{}};
}

from_chars_result from_chars(const char* first, const char* last, double& value,
                             chars_format format) {
  const bool negative = first != last && *first == '-';
  const char* start = negative ? first + 1 : first;
  double special = 0;
  if (const char* end = special_value(start, last, special)) {
    value = negative ? -special : special;
    return {end, errc{}};
  }
  const char* end = decimal_end(start, last, format);
  if (!end) return {first, errc::invalid_argument};
  const string text(first, end);
  errno = 0;
  const double parsed = strtod(text.c_str(), nullptr);
  if (errno == ERANGE && (isinf(parsed) || parsed == 0.0)) return {end, errc::result_out_of_range};
  value = parsed;
  return {end, errc{}};
}

}  // namespace std
#endif
