// Options of the table reader, shared by the diag and table commands.
#include <map>

#include "option_binding.h"
#include "options.h"

namespace kestra::cli {
namespace {

void add_header_option(CLI::App& command, TableOptions& options) {
  const std::map<std::string, HeaderMode> modes{{"auto", HeaderMode::automatic},
                                               {"none", HeaderMode::none},
                                               {"rows", HeaderMode::first_row},
                                               {"cols", HeaderMode::first_column},
                                               {"both", HeaderMode::both}};
  command
      .add_option("--header", options.header,
                  "which edges are headers: auto (default: a first row of texts; a first "
                  "column of texts, or of whole numbers rising under a text such as Year; an "
                  "empty corner beside one header makes the other a header too), none, rows "
                  "(the first row), cols (the first column), both. The header along the "
                  "series names them, the other labels the categories")
      ->transform(CLI::CheckedTransformer(modes, CLI::ignore_case))
      ->type_name("auto|none|rows|cols|both");
}

void add_series_option(CLI::App& command, TableOptions& options) {
  const std::map<std::string, Series> ways{
      {"auto", Series::automatic}, {"rows", Series::rows}, {"cols", Series::columns}};
  command
      .add_option("--series", options.series,
                  "which way a file holds its series: auto (default: the columns when the "
                  "table has more data rows than data columns, else the rows, as spreadsheet "
                  "programs chart a range), rows, cols. --values always has rows as series")
      ->transform(CLI::CheckedTransformer(ways, CLI::ignore_case))
      ->type_name("auto|rows|cols");
}

}  // namespace

void add_table_options(CLI::App& command, TableSource& source) {
  TableOptions& options = source.options;
  add_integer(command, "--sheet", options.sheet, 1, 65535, "workbooks: worksheet number, from 1");
  command.add_option("--range", options.range,
                     "a cell range such as B2:E5, corners in either order (default: the used "
                     "area)");
  add_integer(command, "--table", options.table_index, 0, 65535,
              "HTML: which data table, from 0 (default 0)");
  add_header_option(command, options);
  add_series_option(command, options);
}

}  // namespace kestra::cli
