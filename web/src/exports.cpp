// The C functions kestra.mjs calls. A call: kestra_web_begin, its inputs
// (options, names, labels, values), one command, then the result's getters;
// everything stays valid until the next kestra_web_begin.
#include <malloc.h>

#include <string>

#include "call.h"

using kestra::web::call_input;
using kestra::web::call_result;

namespace {

// Texts of the table result that kestra_web_table_text hands out.
enum TableText { series_name = 0, category_label = 1, table_title = 2, table_note = 3 };

const char* item(const std::vector<std::string>& items, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return nullptr;
  return items[static_cast<std::size_t>(index)].c_str();
}

}  // namespace

extern "C" {

void kestra_web_begin() { kestra::web::begin_call(); }
void kestra_web_add_arg(const char* arg) { call_input().args.emplace_back(arg); }
void kestra_web_add_name(const char* name) { call_input().names.emplace_back(name); }
void kestra_web_add_label(const char* label) { call_input().labels.emplace_back(label); }

// A rows x cols table, row-major, NaN for a gap; named 1, 2, ... and A, B, ...
void kestra_web_set_values(int rows, int cols, const double* values) {
  kestra::web::set_values(rows, cols, values);
}

int kestra_web_diagram() { return kestra::web::run_command(kestra::web::draw_diagram); }
int kestra_web_example() { return kestra::web::run_command(kestra::web::draw_example); }
int kestra_web_plot(const char* expression) {
  return kestra::web::run_command(kestra::web::draw_plot, expression);
}
int kestra_web_read_table(const char* path) {
  return kestra::web::run_command(kestra::web::read_table_file, path);
}

int kestra_web_width() { return call_result().width; }
int kestra_web_height() { return call_result().height; }
const std::uint32_t* kestra_web_pixels() { return call_result().rgba.get(); }

int kestra_web_table_rows() { return static_cast<int>(call_result().table.rows); }
int kestra_web_table_cols() { return static_cast<int>(call_result().table.cols); }
const double* kestra_web_table_values() { return call_result().table.values.data(); }
// Bit 0: the names came from the input; bit 1: the labels did.
int kestra_web_table_flags() {
  const kestra::Table& table = call_result().table;
  return (table.has_series_names ? 1 : 0) | (table.has_category_labels ? 2 : 0);
}
// One text of the table, or null past the end.
const char* kestra_web_table_text(int kind, int index) {
  const kestra::Table& table = call_result().table;
  switch (kind) {
    case series_name: return item(table.series_names, index);
    case category_label: return item(table.category_labels, index);
    case table_title: return index == 0 ? table.title.c_str() : nullptr;
    case table_note: return item(table.notes, index);
    default: return nullptr;
  }
}

const char* kestra_web_message() { return call_result().message.c_str(); }
int kestra_web_warning_count() { return static_cast<int>(call_result().warnings.size()); }
const char* kestra_web_warning(int index) { return item(call_result().warnings, index); }

// Bytes the allocator has handed out and not taken back: for leak tests.
int kestra_web_heap_in_use() { return static_cast<int>(mallinfo().uordblks); }

}  // extern "C"
