// Options of the table reader, shared by the diag and table commands.
#include <map>

#include "option_binding.h"
#include "options.h"

namespace kestra::cli {

void add_table_options(CLI::App& command, TableSource& source) {
  TableOptions& options = source.options;
  add_integer(command, "--sheet", options.sheet, 1, 65535, "workbooks: worksheet number, from 1");
  command.add_option("--range", options.range,
                     "a cell range such as B2:E5 (default: the whole table or used area)");
  add_integer(command, "--table", options.table_index, 0, 65535,
              "HTML: which data table, from 0 (default 0)");
  const std::map<std::string, HeaderMode> modes{{"auto", HeaderMode::automatic},
                                               {"none", HeaderMode::none},
                                               {"rows", HeaderMode::first_row},
                                               {"cols", HeaderMode::first_column},
                                               {"both", HeaderMode::both}};
  command.add_option("--header", options.header,
                     "which edges hold names: auto (texts there), none, rows (first row: "
                     "category labels), cols (first column: series names), both")
      ->transform(CLI::CheckedTransformer(modes, CLI::ignore_case))
      ->type_name("auto|none|rows|cols|both");
}

}  // namespace kestra::cli
