// The table of --values "1 2 3; 4 5 6": rows are series, separated by ';' or
// line breaks; values are separated by blanks or commas.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "kestra_table.h"

namespace kestra::cli {

// The table with names "1, 2, ..." and labels "A, B, ...", or why the text
// is no table (a text that is no number, rows of different lengths, ...).
std::variant<Table, std::string> parse_values(std::string_view text);

// "A", "B", ..., "Z", "AA", "AB", ...: the label of column `index` (from 0).
std::string column_letters(std::size_t index);

}  // namespace kestra::cli
