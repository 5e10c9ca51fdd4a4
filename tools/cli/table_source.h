// The table a diagram or the table command works on: --values, or a file
// read by the table reader.
#pragma once

#include <ostream>

#include "kestra_table.h"
#include "settings.h"

namespace kestra::cli {

// Throws UsageError (no input, or both; bad --values) or StatusError (the
// file cannot be read as a table). The reader's notes go to `err` as warnings.
Table load_table(const TableSource& source, std::ostream& err);

}  // namespace kestra::cli
