// CreateTabGr and FreeTabGr: the table of values a host hands to CreateDiag.
#include <cstdarg>
#include <cstddef>
#include <cstdint>

#include "kestra.h"

namespace {

// Number of values of a rows x cols table, or 0 when the product is not
// positive or its byte size does not fit the address space.
std::size_t value_count(int rows, int cols) {
  const std::int64_t count = std::int64_t{rows} * cols;
  if (rows <= 0 || cols <= 0 || static_cast<std::uint64_t>(count) > SIZE_MAX / sizeof(double)) {
    return 0;
  }
  return static_cast<std::size_t>(count);
}

}  // namespace

TAB_GR CreateTabGr(int rows, int cols, double first, ...) {
  TAB_GR table{rows, cols, nullptr};
  const std::size_t count = value_count(rows, cols);
  if (count == 0) return table;
  auto* values = static_cast<double*>(GlobalAlloc(GMEM_FIXED, count * sizeof(double)));
  if (!values) return table;
  values[0] = first;
  va_list args;
  va_start(args, first);
  for (std::size_t i = 1; i < count; ++i) values[i] = va_arg(args, double);
  va_end(args);
  table.values = values;
  return table;
}

void FreeTabGr(TAB_GR* table) {
  if (!table) return;
  if (table->values) GlobalFree(table->values);
  *table = TAB_GR{0, 0, nullptr};
}
