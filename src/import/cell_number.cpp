// The number a cell gives: stored numbers as they are, texts through the
// 20-character cell buffer, ',' as decimal point, and a classic-locale atof.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "import/classic_number.h"
#include "import/spreadsheet.h"

namespace kestra::import {
namespace {

constexpr std::size_t kCellBuffer = 20;  // 19 characters and a terminator

}  // namespace

double cell_number(const Cell& cell) {
  if (cell.kind == Cell::Kind::number) {
    // No workbook holds an infinity or NaN; a damaged one that does gives 0,
    // as the text of such a value would.
    return std::isfinite(cell.number) ? cell.number : 0;
  }
  char buffer[kCellBuffer] = {};
  const std::size_t length = std::min(cell.text.size(), kCellBuffer - 1);
  std::memcpy(buffer, cell.text.data(), length);
  for (std::size_t i = 0; i < length; ++i) {
    if (buffer[i] == ',') buffer[i] = '.';
  }
  return classic_atof(buffer);
}

}  // namespace kestra::import
