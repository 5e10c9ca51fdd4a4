// The table of an HTML file's cells: rows counted from "tr" items, columns as
// the "td" items per row, the value items poured in row by row.
#include "import/html_table.h"

#include <algorithm>

namespace kestra::import {
namespace {

std::size_t count_kind(const HtmlItems& items, HtmlItemKind kind) {
  return static_cast<std::size_t>(std::count(items.kinds, items.kinds + items.count, kind));
}

}  // namespace

int build_html_table(const HtmlItems& items, TAB_GR* table) {
  const std::size_t rows = count_kind(items, HtmlItemKind::row_start);
  const std::size_t cells = count_kind(items, HtmlItemKind::cell_start);
  if (rows == 0 || cells == 0) return KESTRA_HTML_NO_TABLE;
  const std::size_t cols = cells / rows;  // fewer cells than rows give 0 columns
  const std::size_t slots = rows * cols;  // at most 999 x 999: no overflow

  // Zeroed, so slots without a value item (a file ending inside its last
  // cell, items dropped at the limit) read as 0.
  auto* values = static_cast<double*>(GlobalAlloc(GMEM_ZEROINIT, slots * sizeof(double)));
  if (!values) return KESTRA_INTERNAL;
  std::size_t filled = 0;
  for (std::size_t i = 0; i < items.count && filled < slots; ++i) {
    if (items.kinds[i] == HtmlItemKind::value) values[filled++] = items.numbers[i];
  }
  *table = TAB_GR{static_cast<std::int32_t>(rows), static_cast<std::int32_t>(cols), values};
  return KESTRA_OK;
}

}  // namespace kestra::import
