// ReadHtmlTable: the file is read in large blocks and fed to the scanner;
// it is closed before the table is built, on every path.
#include <cstdio>
#include <memory>

#include "import/html_table.h"
#include "import/regular_file.h"

namespace kestra::import {
namespace {

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, CloseFile>;

constexpr std::size_t block_size = 64 * 1024;

// Scans the file up to its end or its first "/table" tag. A read error
// counts as a file that cannot be read, not as a shorter file.
int scan_file(const char* path, HtmlItems& items) {
  UniqueFile file(is_regular_file(path) ? std::fopen(path, "rb") : nullptr);
  if (!file) return KESTRA_HTML_OPEN;
  std::setvbuf(file.get(), nullptr, _IONBF, 0);  // read straight into our block
  HtmlScanner scanner(items);
  char block[block_size];
  while (const std::size_t n = std::fread(block, 1, block_size, file.get())) {
    switch (scanner.scan(block, n)) {
      case ScanResult::more:
        continue;
      case ScanResult::done:
        return KESTRA_OK;
      case ScanResult::bad_tag:
        return KESTRA_HTML_NO_TABLE;
    }
  }
  return std::ferror(file.get()) ? KESTRA_HTML_OPEN : KESTRA_OK;
}

}  // namespace

int ReadHtmlTable(const char* path, TAB_GR* table) {
  HtmlItems items;
  if (const int status = scan_file(path, items)) return status;
  return build_html_table(items, table);
}

}  // namespace kestra::import
