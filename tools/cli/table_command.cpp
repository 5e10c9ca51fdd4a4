// The table command: what the reader made of a file, as CSV.
#include <charconv>
#include <cmath>

#include "commands.h"
#include "table_source.h"

namespace kestra::cli {
namespace {

// RFC 4180: a field holding a comma, a quote or a line break is quoted,
// its quotes doubled.
std::string csv_field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

// The shortest text that reads back as the same double; empty for a gap.
std::string shortest_number(double value) {
  if (std::isnan(value)) return "";
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

int print_table(const TableSource& source, std::ostream& out, std::ostream& err) {
  const Table table = load_table(source, err);
  for (std::size_t c = 0; c < table.cols; ++c) out << ',' << csv_field(table.category_labels[c]);
  out << '\n';
  for (std::size_t r = 0; r < table.rows; ++r) {
    out << csv_field(table.series_names[r]);
    for (std::size_t c = 0; c < table.cols; ++c) {
      out << ',' << shortest_number(table.values[r * table.cols + c]);
    }
    out << '\n';
  }
  return 0;
}

}  // namespace kestra::cli
