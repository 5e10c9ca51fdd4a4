// Parses the --values table.
#include "values_text.h"

#include <algorithm>
#include <vector>

#include "command_errors.h"
#include "option_values.h"

namespace kestra::cli {
namespace {

std::vector<std::string_view> split_any(std::string_view text, std::string_view separators) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find_first_of(separators, start), text.size());
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

bool is_blank(std::string_view text) {
  return text.find_first_not_of(" \t\r") == std::string_view::npos;
}

}  // namespace

std::string column_letters(std::size_t index) {
  std::string letters;
  for (std::size_t n = index + 1; n > 0; n = (n - 1) / 26) {
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  }
  return letters;
}

std::variant<Table, std::string> parse_values(std::string_view text) {
  Table table;
  for (std::string_view row_text : split_any(text, ";\n")) {
    if (is_blank(row_text)) continue;
    std::size_t cols = 0;
    for (std::string_view cell : split_any(row_text, " \t\r,")) {
      if (cell.empty()) continue;
      const auto value = parse_number(cell);
      if (!value) return in_quotes(cell) + " is not a number";
      table.values.push_back(*value);
      ++cols;
    }
    if (table.rows > 0 && cols != table.cols) {
      return "row " + std::to_string(table.rows + 1) + " has " + std::to_string(cols) +
             " values, row 1 has " + std::to_string(table.cols);
    }
    table.cols = cols;
    ++table.rows;
  }
  if (table.rows == 0) return std::string("no values");
  for (std::size_t r = 0; r < table.rows; ++r) table.series_names.push_back(std::to_string(r + 1));
  for (std::size_t c = 0; c < table.cols; ++c) table.category_labels.push_back(column_letters(c));
  return table;
}

}  // namespace kestra::cli
