// The import folder's contract with the rest of the library: the HTML table
// reader and the spreadsheet range reader of the exports, and what the
// people's table reader (src/table) takes from them: the workbook backends,
// their cell store and the rule for which paths are read.
#pragma once

#include "import/html_table.h"
#include "import/regular_file.h"
#include "import/spreadsheet.h"
#include "import/workbook_backend.h"
#include "import/csv_tokenizer.h"
