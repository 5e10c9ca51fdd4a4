// Date and time number formats, and date cells as OLE dates.
#include "import/number_formats.h"

#include <cctype>
#include <string>

namespace kestra::import {

DateKind builtin_date_kind(int id) {
  if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || (id >= 34 && id <= 36) ||
      (id >= 50 && id <= 58)) {
    return DateKind::date;
  }
  if ((id >= 18 && id <= 21) || id == 32 || id == 33 || (id >= 45 && id <= 47)) {
    return DateKind::time;
  }
  return id == 22 ? DateKind::date_time : DateKind::none;
}

DateKind code_date_kind(std::string_view code) {
  bool date = false;
  bool time = false;
  bool month_or_minute = false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(code[i])));
    if (c == '"') {
      const std::size_t close = code.find('"', i + 1);
      if (close == std::string_view::npos) break;
      i = close;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;  // the next character is shown as it is (or as padding)
    } else if (c == '[') {
      const std::size_t close = code.find(']', i + 1);
      if (close == std::string_view::npos) break;
      const std::string_view inside = code.substr(i + 1, close - i - 1);
      // [h], [mm], [ss]: elapsed time; anything else (colours, locales, conditions) shows none.
      time = time || (!inside.empty() && std::string_view("hHmMsS").find(inside[0]) !=
                                             std::string_view::npos);
      i = close;
    } else if (c == ';') {
      break;  // only the first section decides
    } else {
      date = date || c == 'y' || c == 'd';
      time = time || c == 'h' || c == 's';
      month_or_minute = month_or_minute || c == 'm';
    }
  }
  if (month_or_minute && !time) date = true;  // "mmm yy": months beside no hour
  if (date && time) return DateKind::date_time;
  if (date) return DateKind::date;
  return time ? DateKind::time : DateKind::none;
}

Cell CellFormats::number_cell(double number, std::size_t format_index) const {
  const DateKind kind = format_index < by_index.size() ? by_index[format_index] : DateKind::none;
  if (kind == DateKind::none) return Cell::of_number(number);
  Cell cell = Cell::of_number(date1904 && kind != DateKind::time ? number + kDate1904Offset : number);
  cell.date = kind;
  return cell;
}

}  // namespace kestra::import
