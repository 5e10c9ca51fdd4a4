// One <row> element of a worksheet part in the plain form spreadsheet
// programs write (cells holding a <v> value, a <f> formula or an <is><t>
// inline string, no entity references), read straight from its bytes. Any
// other form is left to the XML parser.
#pragma once

#include <string_view>
#include <vector>

#include "import/spreadsheet.h"

namespace kestra::import {

// A cell of the row: its column, type attribute ("n" when absent), the
// text of its value element (empty when it has none) and its style
// attribute (empty when absent).
struct PlainCell {
  int column;
  std::string_view type;
  std::string_view value;
  std::string_view style;
};

enum class PlainRow {
  read,       // the row is plain; `end` is just past its end tag
  not_plain,  // something the XML parser must judge
  cut_off,    // the bytes end inside the row
};

// Reads the row whose start tag, of qualified name `row_name`, ends just
// before `at`. With `wanted`, the row is row number `row` of the range being
// read: every cell reference must name that row, and the cells of the
// wanted columns are appended to `cells`. Without it the cells are only
// checked for form.
PlainRow read_plain_row(std::string_view bytes, std::size_t at, std::string_view row_name,
                        int row, const CellRange* wanted, std::vector<PlainCell>& cells,
                        std::size_t* end);

}  // namespace kestra::import
