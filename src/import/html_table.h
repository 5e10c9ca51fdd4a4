// Reading the first table of an HTML file into a TAB_GR: a single-pass tag
// scanner that notes six table tags and the number at the start of each
// cell, and the builder that cuts those numbers into rows.
//
// The table reader's HTML grid (src/table/html_grid.cpp) is a second reader
// on purpose, and neither may take the other's place: this scanner's fixed
// counting rules are the exports' contract (six tag names matched after
// lower-casing up to a space, no entity decoding, one number per cell from
// the text before the next '<', items past 999 dropped, the first "/table"
// ending the scan even inside a nested table), so a real HTML parser here
// would change the tables hosts get; the table reader needs what a parser
// gives (entities, implied end tags, <th>, spans, charsets), which these
// rules forbid. They share no tag or entity code because this one decodes
// nothing and matches names in its own way.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kestra.h"

namespace kestra::import {

enum class HtmlItemKind : std::int32_t {
  value = 0,        // the number read from a cell's text
  table_start = 1,  // "table"
  row_start = 2,    // "tr"
  cell_start = 3,   // "td"
  cell_end = 4,     // "/td"
  row_end = 5,      // "/tr"
  table_end = 6,    // "/table"
};

// What the scanner met, in document order. Items beyond `limit` are dropped.
struct HtmlItems {
  static constexpr std::size_t limit = 999;
  HtmlItemKind kinds[limit + 1];
  double numbers[limit + 1];  // meaningful for value items only
  std::size_t count = 0;
};

enum class ScanResult {
  more,     // give the next bytes
  done,     // a "/table" tag ended the scan
  bad_tag,  // a '<' inside a tag: no usable table
};

// Scans a file in pieces of any size, keeping its state between them: the
// items come out the same however the bytes are split.
class HtmlScanner {
 public:
  explicit HtmlScanner(HtmlItems& items) : items_(items) {}
  HtmlScanner(const HtmlScanner&) = delete;
  HtmlScanner& operator=(const HtmlScanner&) = delete;

  [[nodiscard]] ScanResult scan(const char* data, std::size_t size);

 private:
  static constexpr std::size_t buffer_size = 256;  // 255 characters and a terminator

  const char* scan_text(const char* p, const char* end);
  const char* scan_tag(const char* p, const char* end);
  const char* collect_name(const char* p, const char* end);
  const char* skip_unstored_tags(const char* p, const char* end);
  void enter_tag();
  void end_tag();
  void record(HtmlItemKind kind, double number = 0.0);
  bool storing() const { return items_.count < HtmlItems::limit; }

  HtmlItems& items_;
  ScanResult result_ = ScanResult::more;
  bool in_tag_ = false;
  bool collecting_name_ = false;  // false once a space has ended the name
  bool in_cell_ = false;
  std::size_t name_length_ = 0;
  std::size_t text_length_ = 0;
  char name_[buffer_size];
  char text_[buffer_size];
};

// The table of the value items: rows from the "tr" items, columns from the
// "td" items per row. Slots the items do not fill are 0.
// Returns KESTRA_OK, KESTRA_HTML_NO_TABLE or KESTRA_INTERNAL (no memory);
// fills `table` only on success, with values from GlobalAlloc.
[[nodiscard]] int build_html_table(const HtmlItems& items, TAB_GR* table);

// Reads the first table of the HTML file at `path` into `table`. Returns
// KESTRA_OK, KESTRA_HTML_OPEN (no regular file, or it cannot be opened or
// read), KESTRA_HTML_NO_TABLE or KESTRA_INTERNAL; fills `table` only on
// success. The caller releases its values with FreeTabGr.
[[nodiscard]] int ReadHtmlTable(const char* path, TAB_GR* table);

}  // namespace kestra::import
