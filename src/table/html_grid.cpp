// HTML tables through libxml2's HTML parser, which copes with the markup
// real programs write (implied end tags, entities, comments, raw CSS and
// scripts, attributes across lines). The first data table, or the one asked
// for, is laid out on a grid with its colspan and rowspan; tables nested in
// cells are skipped. The exports read HTML with their own scanner
// (src/import/html_table.h says why the two must stay apart): its fixed
// counting rules are their contract, and this reader breaks every one of
// them to read pages as browsers do.
#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "table/table_reader.h"

namespace kestra::table {
namespace {

struct FreeDocument {
  void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using Document = std::unique_ptr<xmlDoc, FreeDocument>;

constexpr long kMaxColspan = 1000;   // as browsers clamp them
constexpr long kMaxRowspan = 65534;

bool is_element(const xmlNode* node, const char* name) {
  return node->type == XML_ELEMENT_NODE &&
         xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

bool is_cell(const xmlNode* node) { return is_element(node, "td") || is_element(node, "th"); }

// Elements whose text is no cell content.
bool is_skipped(const xmlNode* node) {
  return is_element(node, "table") || is_element(node, "script") || is_element(node, "style") ||
         is_element(node, "template");
}

// Elements that break a line where they start and end.
bool is_line_break(const xmlNode* node) {
  for (const char* name : {"br", "p", "div", "li", "tr", "h1", "h2", "h3", "h4", "h5", "h6"}) {
    if (is_element(node, name)) return true;
  }
  return false;
}

void append_text(const xmlNode* node, std::string& out) {
  for (const xmlNode* child = node->children; child; child = child->next) {
    if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
      if (child->content) out += reinterpret_cast<const char*>(child->content);
    } else if (child->type == XML_ELEMENT_NODE && !is_skipped(child)) {
      const bool breaks = is_line_break(child);
      if (breaks) out.push_back(' ');
      append_text(child, out);
      if (breaks) out.push_back(' ');
    }
    if (out.size() > 4 * kMaxCellText) return;
  }
}

// The text a cell shows: inline markup dropped, ASCII white space collapsed.
std::string shown_text(const xmlNode* node) {
  std::string raw;
  append_text(node, raw);
  std::string text;
  bool space = false;
  for (const char c : raw) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
      space = !text.empty();
      continue;
    }
    if (space) text.push_back(' ');
    space = false;
    text.push_back(c);
  }
  // A charset libxml2 cannot convert leaves bytes as they were.
  return is_valid_utf8(text) ? text : text_as_utf8(text);
}

long span_attribute(const xmlNode* node, const char* name, long limit) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  if (!value) return 1;
  const long span = std::strtol(reinterpret_cast<const char*>(value), nullptr, 10);
  xmlFree(value);
  return std::clamp(span, 1L, limit);
}

// The rows of a table in document order, with whether each lies in <thead>.
struct HtmlRow {
  const xmlNode* node;
  bool in_head;
};

std::vector<HtmlRow> table_rows(const xmlNode* table) {
  std::vector<HtmlRow> rows;
  for (const xmlNode* child = table->children; child; child = child->next) {
    if (is_element(child, "tr")) rows.push_back({child, false});
    if (is_element(child, "thead") || is_element(child, "tbody") || is_element(child, "tfoot")) {
      for (const xmlNode* row = child->children; row; row = row->next) {
        if (is_element(row, "tr")) rows.push_back({row, is_element(child, "thead")});
      }
    }
  }
  return rows;
}

// A cell still covering rows below its own through rowspan.
struct Carry {
  long rows_left = 0;
  SourceCell cell;  // what the covered slots read: a header's text, else nothing
};

// Lays the rows' cells on slots: colspan and rowspan cover slots; a header
// cell's text is repeated over them, a data cell's value stays in its first.
class SlotLayout {
 public:
  void add_row(const HtmlRow& row) {
    std::vector<SourceCell> slots;
    bool all_header = true;
    bool any_cell = false;
    std::size_t col = 0;
    for (const xmlNode* node = row.node->children; node; node = node->next) {
      if (!is_cell(node)) continue;
      any_cell = true;
      col = fill_carried(slots, col);
      SourceCell cell{shown_text(node), std::nullopt, row.in_head || is_element(node, "th")};
      all_header = all_header && cell.is_header;
      const long colspan = span_attribute(node, "colspan", kMaxColspan);
      const long rowspan = span_attribute(node, "rowspan", kMaxRowspan);
      for (long k = 0; k < colspan && col < kMaxColumns + 1; ++k, ++col) {
        SourceCell copy = k == 0 || cell.is_header ? cell : SourceCell{};
        if (rowspan > 1) {
          if (carries_.size() <= col) carries_.resize(col + 1);
          carries_[col] = {rowspan - 1, cell.is_header ? cell : SourceCell{}};
        }
        put(slots, col, std::move(copy));
      }
    }
    fill_trailing_carried(slots, col);
    cells_ += slots.size();
    rows_.push_back(std::move(slots));
    header_row_.push_back(any_cell && all_header);
  }

  bool full() const { return rows_.size() > kMaxRows || cells_ > kMaxCells; }
  std::vector<std::vector<SourceCell>>& rows() { return rows_; }
  const std::vector<bool>& header_rows() const { return header_row_; }

 private:
  static void put(std::vector<SourceCell>& slots, std::size_t col, SourceCell cell) {
    if (slots.size() <= col) slots.resize(col + 1);
    slots[col] = std::move(cell);
  }
  // Slots from `col` on still covered from rows above, up to the first free one.
  std::size_t fill_carried(std::vector<SourceCell>& slots, std::size_t col) {
    while (col < carries_.size() && carries_[col].rows_left > 0) {
      --carries_[col].rows_left;
      put(slots, col, carries_[col].cell);
      ++col;
    }
    return col;
  }

  // Covered slots right of the row's last cell, gaps between them allowed.
  void fill_trailing_carried(std::vector<SourceCell>& slots, std::size_t col) {
    while (col < carries_.size()) {
      col = carries_[col].rows_left > 0 ? fill_carried(slots, col) : col + 1;
    }
  }

  std::vector<std::vector<SourceCell>> rows_;
  std::vector<bool> header_row_;
  std::vector<Carry> carries_;
  std::size_t cells_ = 0;
};

// Joins the texts of the first `count` slots of a line into its first: a
// multi-row header into one label per column, a multi-column index into one
// name per row. Repeats (a spanned header) are kept once.
void merge_slots(std::vector<SourceCell*> line) {
  std::string merged;
  std::string previous;
  for (SourceCell* cell : line) {
    if (cell->text.empty() || cell->text == previous) continue;
    if (!merged.empty()) merged.push_back(' ');
    merged += cell->text;
    previous = cell->text;
  }
  line.front()->text = std::move(merged);
}

std::size_t leading_header_rows(const std::vector<bool>& header_rows) {
  std::size_t count = 0;
  while (count < header_rows.size() && header_rows[count]) ++count;
  return count;
}

// Leading columns whose cells below the header rows are all header cells.
std::size_t leading_header_columns(const std::vector<std::vector<SourceCell>>& rows,
                                   std::size_t header_rows) {
  if (header_rows >= rows.size()) return 0;
  std::size_t count = 0;
  while (true) {
    for (std::size_t r = header_rows; r < rows.size(); ++r) {
      if (rows[r].size() <= count || !rows[r][count].is_header) return count;
    }
    ++count;
  }
}

// Header rows merged into row 0 and index columns into column 0.
void merge_headers(std::vector<std::vector<SourceCell>>& rows, std::size_t header_rows,
                   std::size_t header_columns) {
  if (header_columns > 1) {
    for (auto& row : rows) {
      std::vector<SourceCell*> line;
      for (std::size_t c = 0; c < header_columns && c < row.size(); ++c) line.push_back(&row[c]);
      if (!line.empty()) merge_slots(line);
      row.erase(row.begin() + 1, row.begin() + static_cast<long>(std::min(header_columns, row.size())));
    }
  }
  if (header_rows > 1) {
    std::size_t width = 0;
    for (std::size_t r = 0; r < header_rows; ++r) width = std::max(width, rows[r].size());
    for (auto& row : rows) row.resize(std::max(row.size(), width));
    for (std::size_t c = 0; c < width; ++c) {
      std::vector<SourceCell*> line;
      for (std::size_t r = 0; r < header_rows; ++r) line.push_back(&rows[r][c]);
      merge_slots(line);
    }
    rows.erase(rows.begin() + 1, rows.begin() + static_cast<long>(header_rows));
  }
}

Grid layout_table(const xmlNode* table) {
  SlotLayout layout;
  for (const HtmlRow& row : table_rows(table)) {
    if (layout.full()) break;
    layout.add_row(row);
  }
  auto& rows = layout.rows();
  std::size_t header_rows = leading_header_rows(layout.header_rows());
  std::size_t header_columns = leading_header_columns(rows, header_rows);
  if (header_rows == rows.size()) {  // all <th>: the first row labels the others
    header_rows = std::min<std::size_t>(header_rows, 1);
    header_columns = 0;
  }
  merge_headers(rows, header_rows, header_columns);
  GridBuilder builder;
  for (auto& row : rows) {
    if (!builder.start_row()) break;
    for (SourceCell& cell : row) builder.add_cell(std::move(cell));
  }
  Grid grid = builder.finish();
  grid.marked_label_row = header_rows > 0;
  grid.marked_name_column = header_columns > 0;
  return grid;
}

bool has_text_cell(const xmlNode* table) {
  for (const HtmlRow& row : table_rows(table)) {
    for (const xmlNode* node = row.node->children; node; node = node->next) {
      if (is_cell(node) && !trim_spaces(shown_text(node)).empty()) return true;
    }
  }
  return false;
}

// The `index`-th table holding a non-empty cell, not counting tables nested
// in another table; nullptr when there are fewer.
const xmlNode* find_data_table(const xmlNode* node, int& index) {
  for (; node; node = node->next) {
    if (is_element(node, "table")) {
      if (has_text_cell(node) && index-- == 0) return node;
      continue;
    }
    if (node->type == XML_ELEMENT_NODE) {
      if (const xmlNode* found = find_data_table(node->children, index)) return found;
    }
  }
  return nullptr;
}

std::string caption_of(const xmlNode* table) {
  for (const xmlNode* child = table->children; child; child = child->next) {
    if (is_element(child, "caption")) return std::string(trim_spaces(shown_text(child)));
  }
  return {};
}

void ignore_message(void*, const char*, ...) {}

// libxml2 reports conversion errors through its generic handler, which
// prints to stderr; that handler is per thread, so it is silenced for the
// parse and restored after.
class QuietErrors {
 public:
  QuietErrors() : handler_(xmlGenericError), context_(xmlGenericErrorContext) {
    xmlSetGenericErrorFunc(nullptr, ignore_message);
  }
  ~QuietErrors() { xmlSetGenericErrorFunc(context_, handler_); }
  QuietErrors(const QuietErrors&) = delete;
  QuietErrors& operator=(const QuietErrors&) = delete;

 private:
  xmlGenericErrorFunc handler_;
  void* context_;
};

// Parses UTF-8 (BOM or valid bytes) as such; other bytes as the page's own
// charset says, else as the encoding detector guesses (named in `guess`).
Document parse_html(std::string_view bytes, std::string* guess) {
  static std::once_flag initialised;
  std::call_once(initialised, xmlInitParser);  // its first run is not thread-safe
  const QuietErrors quiet;
  constexpr int kOptions = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                           HTML_PARSE_NONET | HTML_PARSE_COMPACT;
  if (!has_byte_order_mark(bytes) && !is_valid_utf8(bytes)) {
    Document declared(htmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                     nullptr, kOptions));
    if (!declared || declared->encoding) return declared;
  }
  DecodedText text = decode_text(bytes);
  *guess = std::move(text.guess);
  const std::string& utf8 = text.utf8;
  return Document(htmlReadMemory(utf8.data(), static_cast<int>(utf8.size()), nullptr, "UTF-8",
                                 kOptions | HTML_PARSE_IGNORE_ENC));
}

}  // namespace

GridRead read_html_grid(std::string_view bytes, int table_index) {
  GridRead read;
  std::string guess;
  const Document document = parse_html(bytes, &guess);
  int index = table_index;
  const xmlNode* table =
      document && table_index >= 0 ? find_data_table(xmlDocGetRootElement(document.get()), index)
                                   : nullptr;
  if (!table) {
    read.status = KESTRA_HTML_NO_TABLE;
    read.message = table_index == 0 ? "the HTML file holds no table with a filled cell"
                                    : "the HTML file holds no table " +
                                          std::to_string(table_index) + " (counted from 0)";
    return read;
  }
  read.grid = layout_table(table);
  read.grid.title = caption_of(table);
  if (!guess.empty()) read.grid.notes.insert(read.grid.notes.begin(), std::move(guess));
  return read;
}

}  // namespace kestra::table
