// Which way a file's table holds its series, the rule spreadsheet programs
// use for a chart of a range: the columns when there are more data rows than
// data columns, else the rows. A Table always has its series as rows, so a
// table of column series is turned.
#include "table/table_reader.h"

namespace kestra::table {
namespace {

void turn(Table& table) {
  std::vector<double> values(table.values.size());
  for (std::size_t r = 0; r < table.rows; ++r) {
    for (std::size_t c = 0; c < table.cols; ++c) {
      values[c * table.rows + r] = table.values[r * table.cols + c];
    }
  }
  table.values = std::move(values);
  std::swap(table.rows, table.cols);
  std::swap(table.series_names, table.category_labels);
  std::swap(table.has_series_names, table.has_category_labels);
  table.series_in_columns = !table.series_in_columns;
}

bool series_are_columns(std::size_t data_rows, std::size_t data_columns, Series series) {
  switch (series) {
    case Series::rows: return false;
    case Series::columns: return true;
    case Series::automatic: break;
  }
  return data_rows > data_columns;
}

}  // namespace

void orient_table(Table& table, Series series) {
  if (series_are_columns(table.rows, table.cols, series)) turn(table);
}

}  // namespace kestra::table
