// read_table: the file's kind, its grid, the range or used area, the header
// edges and the numbers, each a step; failures become status codes.
#include <cstdio>
#include <memory>
#include <new>

#include "import/regular_file.h"
#include "table/table_reader.h"

namespace kestra {
namespace table {
namespace {

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The whole file, when it is a regular file no larger than the limit.
int read_file(const std::string& path, int open_status, std::string* bytes) {
  std::unique_ptr<std::FILE, CloseFile> file(
      import::is_regular_file(path.c_str()) ? std::fopen(path.c_str(), "rb") : nullptr);
  if (!file) return open_status;
  char block[1 << 16];
  while (const std::size_t n = std::fread(block, 1, sizeof block, file.get())) {
    if (bytes->size() + n > kMaxFileBytes) return open_status;
    bytes->append(block, n);
  }
  return std::ferror(file.get()) ? open_status : KESTRA_OK;
}

std::string first_bytes(const std::string& path) {
  std::unique_ptr<std::FILE, CloseFile> file(
      import::is_regular_file(path.c_str()) ? std::fopen(path.c_str(), "rb") : nullptr);
  if (!file) return {};
  char head[4096];
  return std::string(head, std::fread(head, 1, sizeof head, file.get()));
}

GridRead failure(int status, std::string message) {
  GridRead read;
  read.status = status;
  read.message = std::move(message);
  return read;
}

GridRead read_text_grid(const std::string& path, FileKind kind, int table_index) {
  const int open_status = kind == FileKind::html ? KESTRA_HTML_OPEN : KESTRA_WORKBOOK;
  std::string bytes;
  if (read_file(path, open_status, &bytes) != KESTRA_OK) {
    return failure(open_status, "cannot read " + path + " (a regular file of at most " +
                                    std::to_string(kMaxFileBytes >> 20) + " MiB)");
  }
  if (kind == FileKind::html) return read_html_grid(bytes, table_index);
  return read_csv_grid(text_as_utf8(bytes));
}

GridRead read_grid(const std::string& path, const TableOptions& options) {
  const FileKind kind = sniff_file_kind(path, first_bytes(path));
  if (kind == FileKind::xlsx || kind == FileKind::xls) {
    return read_workbook_grid(path, options.sheet, options.range);
  }
  GridRead read = read_text_grid(path, kind, options.table_index);
  if (read.status != KESTRA_OK || options.range.empty()) return read;
  if (crop_to_range(read.grid, options.range) != KESTRA_OK) {
    return failure(KESTRA_BAD_RANGE, "the range \"" + options.range + "\" is not of the form B2:E5");
  }
  return read;
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
  if (result.table.rows == 0 || result.table.cols == 0) {
    result.status = KESTRA_BAD_TABLE;
    result.message = "the table holds no values";
  }
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
