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

// The table as the file holds it: one line per series, or, when the file's
// series are its columns, one column per series; the corner header first.
int print_table(const TableSource& source, std::ostream& out, std::ostream& err) {
  const Table table = load_table(source, err);
  const bool turned = table.series_in_columns;
  const std::vector<std::string>& top = turned ? table.series_names : table.category_labels;
  const std::vector<std::string>& side = turned ? table.category_labels : table.series_names;
  out << csv_field(table.corner);
  for (const std::string& text : top) out << ',' << csv_field(text);
  out << '\n';
  for (std::size_t line = 0; line < side.size(); ++line) {
    out << csv_field(side[line]);
    for (std::size_t i = 0; i < top.size(); ++i) {
      const std::size_t at = turned ? i * table.cols + line : line * table.cols + i;
      out << ',' << shortest_number(table.values[at]);
    }
    out << '\n';
  }
  return 0;
}

}  // namespace kestra::cli
