// The table reader's HTML and CSV paths over any bytes: no crash, overrun or
// hang, and a Table whose sizes, names, labels and values agree. The first
// byte picks the path, the table index and the header mode.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "table/table_reader.h"

namespace {

using namespace kestra::table;

void check_table(const kestra::Table& table) {
  const bool sizes_agree = table.values.size() == table.rows * table.cols &&
                           table.series_names.size() == table.rows &&
                           table.category_labels.size() == table.cols &&
                           table.rows <= kMaxRows && table.cols <= kMaxColumns;
  if (!sizes_agree) std::abort();
  for (const double value : table.values) {
    if (std::isinf(value)) std::abort();
  }
  for (const auto* texts : {&table.series_names, &table.category_labels}) {
    for (const std::string& text : *texts) {
      if (text.empty() || text.size() > kMaxCellText * 4 || !is_valid_utf8(text)) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t selector = data[0];
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const bool html = selector & 1;
  const auto mode = static_cast<kestra::HeaderMode>((selector >> 1) % 5);
  GridRead read = html ? read_html_grid(bytes, (selector >> 4) % 3)
                       : read_csv_grid(text_as_utf8(bytes));
  if (read.status != KESTRA_OK) {
    if (!html || read.status != KESTRA_HTML_NO_TABLE) std::abort();
    return 0;
  }
  trim_to_used_area(read.grid);
  const DecimalMark mark = choose_decimal_mark(read.grid);
  const HeaderEdges edges = choose_header_edges(read.grid, mode, mark);
  check_table(build_table(std::move(read.grid), edges, mark));
  return 0;
}
