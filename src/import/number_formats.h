// Which number formats show a cell's number as a date or a time, and the
// workbook date systems: serials count days from 1899-12-30 (the 1900 system,
// as OLE dates do) or from 1904-01-01 (the 1904 system, 1462 days later).
#pragma once

#include <string_view>
#include <vector>

#include "import/spreadsheet.h"

namespace kestra::import {

// Days from 1899-12-30 to 1904-01-01: a 1904-system serial plus this is the
// OLE date the application hands over for the same day.
constexpr double kDate1904Offset = 1462;

// The built-in formats Excel numbers 14-22, 27-36, 45-47 and 50-58.
DateKind builtin_date_kind(int format_id);
// A format code such as "yyyy-mm-dd" or "h:mm AM/PM": day, month or year
// parts make a date, hour or second parts a time; quoted texts, escapes and
// [colour] sections are left out.
DateKind code_date_kind(std::string_view code);

// What a workbook says about its cells' formats: the date kind of each cell
// format (by its index) and the date system.
struct CellFormats {
  std::vector<DateKind> by_index;
  bool date1904 = false;

  // A number cell of this cell format: a date cell's serial as an OLE date.
  Cell number_cell(double number, std::size_t format_index) const;
};

}  // namespace kestra::import
