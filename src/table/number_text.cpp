// Numbers as people write them in cells: "1,234.50", "1.234,5", "(5)",
// "12%", "−3.25" with a Unicode minus, "1E−05", spaces and NBSP around.
#include <charconv>
#include <cmath>
#include <utility>

#include "table/table_reader.h"

namespace kestra::table {
namespace {

constexpr std::string_view kUnicodeMinus = "\xE2\x88\x92";  // U+2212

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Reads a leading sign; true when it is a minus.
bool take_sign(std::string_view& text) {
  if (text.starts_with('-')) {
    text.remove_prefix(1);
    return true;
  }
  if (text.starts_with(kUnicodeMinus)) {
    text.remove_prefix(kUnicodeMinus.size());
    return true;
  }
  if (text.starts_with('+')) text.remove_prefix(1);
  return false;
}

// Length of a thousands separator at the start of `text` for this decimal
// mark: ',' or '.' (whichever is not the mark), a space, NBSP, thin or narrow
// no-break space, or an apostrophe; 0 when none.
std::size_t group_separator_length(std::string_view text, DecimalMark mark) {
  if (text.empty()) return 0;
  const char c = text.front();
  if (c == (mark == DecimalMark::dot ? ',' : '.')) return 1;
  if (c == ' ' || c == '\'') return 1;
  for (const std::string_view space : {"\xC2\xA0", "\xE2\x80\x89", "\xE2\x80\xAF"}) {
    if (text.starts_with(space)) return space.size();
  }
  return 0;
}

// The integer digits with their thousands separators: groups of three after
// the first group of one to three, all with the same separator. Appends the
// digits to `out`; false when the grouping is wrong.
bool take_integer_digits(std::string_view& text, DecimalMark mark, std::string& out) {
  std::size_t group = 0;
  while (!text.empty() && is_digit(text.front())) {
    out.push_back(text.front());
    text.remove_prefix(1);
    ++group;
  }
  std::string_view separator;
  while (const std::size_t length = group_separator_length(text, mark)) {
    const std::string_view this_separator = text.substr(0, length);
    const std::string_view rest = text.substr(length);
    const bool three_digits = rest.size() >= 3 && is_digit(rest[0]) && is_digit(rest[1]) &&
                              is_digit(rest[2]) && (rest.size() == 3 || !is_digit(rest[3]));
    if (!three_digits || group == 0 || (separator.empty() && group > 3) ||
        (!separator.empty() && this_separator != separator)) {
      return false;
    }
    separator = this_separator;
    out.append(rest.substr(0, 3));
    text = rest.substr(3);
    group = 3;
  }
  return true;
}

bool take_fraction_digits(std::string_view& text, std::string& out) {
  while (!text.empty() && is_digit(text.front())) {
    out.push_back(text.front());
    text.remove_prefix(1);
  }
  return true;
}

// "e5", "E-05", "E−05": appended to `out` as "e-05"; true when there is none.
bool take_exponent(std::string_view& text, std::string& out) {
  if (text.empty() || (text.front() != 'e' && text.front() != 'E')) return true;
  text.remove_prefix(1);
  out.push_back('e');
  if (take_sign(text)) out.push_back('-');
  if (text.empty() || !is_digit(text.front())) return false;
  while (!text.empty() && is_digit(text.front())) {
    out.push_back(text.front());
    text.remove_prefix(1);
  }
  return true;
}

// Sign, digits, mark, digits, exponent, and nothing else, as a C number text.
std::optional<double> parse_plain_number(std::string_view text, DecimalMark mark) {
  std::string c_text;
  if (take_sign(text)) c_text.push_back('-');
  const std::size_t digits_start = c_text.size();
  if (!take_integer_digits(text, mark, c_text)) return std::nullopt;
  const char mark_char = mark == DecimalMark::dot ? '.' : ',';
  if (text.starts_with(mark_char)) {
    text.remove_prefix(1);
    c_text.push_back('.');
    take_fraction_digits(text, c_text);
  }
  if (c_text.find_first_of("0123456789", digits_start) == std::string::npos) return std::nullopt;
  if (!take_exponent(text, c_text) || !text.empty()) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(c_text.data(), c_text.data() + c_text.size(), value);
  if (error != std::errc() || end != c_text.data() + c_text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// TRUE and FALSE as spreadsheet programs and pandas read them: 1 and 0.
std::optional<double> parse_boolean(std::string_view text) {
  for (const auto& [name, value] : {std::pair{"TRUE", 1.0}, std::pair{"True", 1.0},
                                    std::pair{"true", 1.0}, std::pair{"FALSE", 0.0},
                                    std::pair{"False", 0.0}, std::pair{"false", 0.0}}) {
    if (text == name) return value;
  }
  return std::nullopt;
}

}  // namespace

std::optional<double> parse_number(std::string_view text, DecimalMark mark) {
  text = trim_spaces(text);
  if (const std::optional<double> boolean = parse_boolean(text)) return boolean;
  bool negative = false;
  if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {  // accounting: (5) is -5
    negative = true;
    text = trim_spaces(text.substr(1, text.size() - 2));
  }
  bool percent = false;
  if (text.ends_with('%')) {
    percent = true;
    text = trim_spaces(text.substr(0, text.size() - 1));
  }
  if (negative && (text.starts_with('-') || text.starts_with(kUnicodeMinus))) return std::nullopt;
  std::optional<double> value = parse_plain_number(text, mark);
  if (!value) return std::nullopt;
  if (percent) *value /= 100;
  if (negative) *value = -*value;
  return value;
}

DecimalMark choose_decimal_mark(const Grid& grid) {
  std::size_t dot_votes = 0;
  std::size_t comma_votes = 0;
  for (const SourceCell& cell : grid.cells) {
    if (cell.number || cell.text.empty()) continue;
    const bool as_dot = parse_number(cell.text, DecimalMark::dot).has_value();
    const bool as_comma = parse_number(cell.text, DecimalMark::comma).has_value();
    dot_votes += as_dot && !as_comma;
    comma_votes += as_comma && !as_dot;
  }
  if (comma_votes > dot_votes) return DecimalMark::comma;
  if (comma_votes == dot_votes && grid.comma_on_tie) return DecimalMark::comma;
  return DecimalMark::dot;
}

}  // namespace kestra::table
