// Loads the table from --values or from a file.
#include "table_source.h"

#include <variant>

#include "command_errors.h"
#include "values_text.h"

namespace kestra::cli {
namespace {

Table table_of_values(const std::string& text) {
  auto parsed = parse_values(text);
  if (auto* problem = std::get_if<std::string>(&parsed)) {
    throw UsageError("--values: " + *problem);
  }
  return std::get<Table>(std::move(parsed));
}

Table table_of_file(const TableSource& source, std::ostream& err) {
  TableRead read = read_table(source.path, source.options);
  if (read.status != KESTRA_OK) throw StatusError{read.status, source.path + ": " + read.message};
  for (const std::string& note : read.table.notes) print_warning(err, source.path + ": " + note);
  return std::move(read.table);
}

}  // namespace

Table load_table(const TableSource& source, std::ostream& err) {
  if (!source.path.empty() && !source.values.empty()) {
    throw UsageError("give an input file or --values, not both");
  }
  if (!source.values.empty()) return table_of_values(source.values);
  if (source.path.empty()) throw UsageError("no input: give a file or --values");
  return table_of_file(source, err);
}

}  // namespace kestra::cli
