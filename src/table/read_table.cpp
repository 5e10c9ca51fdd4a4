// read_table: the file's kind, its grid, the range or used area, the header
// edges and the numbers, each a step; failures become status codes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <new>

#include "import/import.h"
#include "table/table_reader.h"

namespace kestra {
namespace table {
namespace {

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Up to `limit` bytes of a regular file; false when it cannot be read.
bool read_prefix(const std::string& path, std::size_t limit, std::string* bytes) {
  std::unique_ptr<std::FILE, CloseFile> file(
      import::is_regular_file(path.c_str()) ? std::fopen(path.c_str(), "rb") : nullptr);
  if (!file) return false;
  char block[1 << 16];
  while (bytes->size() < limit) {
    const std::size_t n = std::fread(block, 1, std::min(sizeof block, limit - bytes->size()),
                                     file.get());
    if (n == 0) break;
    bytes->append(block, n);
  }
  return !std::ferror(file.get());
}

std::string first_bytes(const std::string& path) {
  std::string head;
  return read_prefix(path, 4096, &head) ? head : std::string();
}

GridRead failure(int status, std::string message) {
  GridRead read;
  read.status = status;
  read.message = std::move(message);
  return read;
}

GridRead read_html_file(const std::string& path, int table_index) {
  std::string bytes;
  if (!read_prefix(path, kMaxHtmlBytes + 1, &bytes)) {
    return failure(KESTRA_HTML_OPEN, "cannot read the file");
  }
  if (bytes.size() > kMaxHtmlBytes) {
    return failure(KESTRA_HTML_OPEN, "the HTML file is larger than " +
                                         std::to_string(kMaxHtmlBytes >> 20) + " MiB");
  }
  return read_html_grid(bytes, table_index);
}

// A text file past the limit is read up to its last whole line there.
GridRead read_csv_file(const std::string& path) {
  std::string bytes;
  if (!read_prefix(path, kMaxFileBytes + 1, &bytes)) {
    return failure(KESTRA_WORKBOOK, "cannot read the file");
  }
  if (looks_binary(bytes)) {
    return failure(KESTRA_WORKBOOK, "this is no text file (it holds NUL or control bytes), "
                                    "and no workbook or web page either");
  }
  const bool cut = bytes.size() > kMaxFileBytes;
  if (cut) bytes.resize(bytes.find_last_of('\n', kMaxFileBytes - 1) + 1);
  DecodedText text = decode_text(bytes);
  GridRead read = read_csv_grid(text.utf8);
  if (!text.guess.empty()) read.grid.notes.insert(read.grid.notes.begin(), text.guess);
  if (cut) {
    read.grid.notes.push_back("only the first " + std::to_string(kMaxFileBytes >> 20) +
                              " MiB of the file were read");
  }
  return read;
}

GridRead read_grid(const std::string& path, const TableOptions& options) {
  std::optional<import::CellRange> range;
  if (!options.range.empty()) {
    range = parse_table_range(options.range);
    if (!range) {
      return failure(KESTRA_BAD_RANGE, "the range \"" + options.range +
                                           "\" is not two cells such as B2:E5");
    }
  }
  const FileKind kind = sniff_file_kind(path, first_bytes(path));
  if (kind == FileKind::xlsx || kind == FileKind::xls) {
    return read_workbook_grid(path, options.sheet, range ? &*range : nullptr);
  }
  GridRead read = kind == FileKind::html ? read_html_file(path, options.table_index)
                                          : read_csv_file(path);
  if (read.status != KESTRA_OK || !range) return read;
  crop_to_range(read.grid, *range);
  return read;
}

bool holds_a_number(const Table& table) {
  return std::any_of(table.values.begin(), table.values.end(),
                     [](double value) { return !std::isnan(value); });
}

TableRead read_table_steps(const std::string& path, const TableOptions& options) {
  GridRead read = read_grid(path, options);
  TableRead result;
  result.status = read.status;
  result.message = std::move(read.message);
  if (read.status != KESTRA_OK) return result;
  if (options.range.empty()) trim_to_used_area(read.grid);
  const DecimalMark mark = choose_decimal_mark(read.grid);
  const HeaderEdges edges = choose_header_edges(read.grid, options.header, mark);
  result.table = build_table(std::move(read.grid), edges, mark);
  if (result.table.rows == 0 || result.table.cols == 0 || !holds_a_number(result.table)) {
    result.status = KESTRA_BAD_TABLE;
    result.message = options.range.empty()
                         ? "the table holds no numbers"
                         : "the range " + options.range + " holds no numbers of the table";
    return result;
  }
  orient_table(result.table, options.series);
  return result;
}

}  // namespace
}  // namespace table

TableRead read_table(const std::string& path, const TableOptions& options) noexcept {
  try {
    return table::read_table_steps(path, options);
  } catch (const std::bad_alloc&) {
    TableRead read;
    read.status = KESTRA_INTERNAL;
    read.message = "out of memory while reading the table";
    return read;
  } catch (...) {
    TableRead read;
    read.status = KESTRA_INTERNAL;
    read.message = "unexpected failure while reading the table";
    return read;
  }
}

}  // namespace kestra
