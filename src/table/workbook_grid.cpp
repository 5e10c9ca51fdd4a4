// .xlsx and .xls worksheets through the spreadsheet application's workbook
// backends: the range asked for, or the used area of the sheet. Date and
// time cells become their texts, which label rather than count; booleans
// read 1 and 0.
#include <algorithm>
#include <memory>

#include "import/import.h"
#include "table/table_reader.h"

namespace kestra::table {
namespace {

// The largest worksheet area a workbook file can address.
constexpr int kSheetRows = 1048576;
constexpr int kSheetColumns = 16384;

SourceCell source_cell(const import::Cell& cell) {
  switch (cell.kind) {
    case import::Cell::Kind::empty: return {};
    case import::Cell::Kind::number:
      if (cell.date != import::DateKind::none) return {date_text(cell.number, cell.date), std::nullopt, false};
      return {{}, cell.number, false};
    case import::Cell::Kind::text: break;
  }
  if (cell.text == "TRUE") return {cell.text, 1.0, false};
  if (cell.text == "FALSE") return {cell.text, 0.0, false};
  return {cell.text, std::nullopt, false};
}

// The cells of `area` from the store, row by row, within the grid's limits.
Grid grid_of_area(const import::CellStore& store, const import::CellRange& area) {
  GridBuilder builder;
  for (int row = area.first_row; row <= area.last_row; ++row) {
    if (!builder.start_row()) break;
    for (int column = area.first_column; column <= area.last_column; ++column) {
      builder.add_cell(source_cell(store.cell_at(row, column)));
    }
  }
  Grid grid = builder.finish();
  grid.first_row = area.first_row;
  grid.first_column = area.first_column;
  return grid;
}

// The range to read: the one asked for, else the sheet up to the row limit.
import::CellRange wanted_area(const import::CellRange* range) {
  if (range) return *range;
  return {1, 1, kSheetColumns, static_cast<int>(std::min<std::size_t>(kMaxRows + 1, kSheetRows))};
}

}  // namespace

GridRead read_workbook_grid(const std::string& path, int sheet, const import::CellRange* range) {
  GridRead read;
  const import::CellRange wanted = wanted_area(range);
  try {
    const std::unique_ptr<import::SpreadsheetApp> app = import::start_spreadsheet_app();
    const std::unique_ptr<import::Workbook> workbook = app->open_workbook(path.c_str());
    const std::unique_ptr<import::Worksheet> worksheet = workbook->worksheet(sheet, wanted);
    const auto* store = dynamic_cast<const import::CellStore*>(worksheet.get());
    if (!store) import::fail("worksheet not read from the file");
    const import::CellRange area = range ? wanted : store->used_area();
    read.grid = area.first_row == 0 ? Grid{} : grid_of_area(*store, area);
    if (!range && area.last_row == wanted.last_row) {
      read.grid.notes.push_back("the sheet was read up to row " + std::to_string(wanted.last_row));
    }
    workbook->close();
  } catch (const import::AutomationError& error) {
    read.status = KESTRA_WORKBOOK;
    read.message = std::string("the workbook cannot be read: ") + error.what();
  }
  return read;
}

}  // namespace kestra::table
