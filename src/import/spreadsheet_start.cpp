// The spreadsheet application where there is no automation: the built-in
// workbook reader.
#include "import/spreadsheet.h"

namespace kestra::import {

std::unique_ptr<SpreadsheetApp> start_spreadsheet_app() { return start_builtin_spreadsheet_app(); }

}  // namespace kestra::import
