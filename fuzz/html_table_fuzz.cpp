// ReadHtmlTable over any bytes: no crash or overrun, the same items however
// the bytes are split into pieces, and a table that matches its items.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "import/html_table.h"
#include "kestra.h"

namespace {

using kestra::import::HtmlItems;
using kestra::import::HtmlScanner;
using kestra::import::ScanResult;

ScanResult scan(const std::uint8_t* data, std::size_t size, std::size_t piece, HtmlItems& items) {
  HtmlScanner scanner(items);
  ScanResult result = ScanResult::more;
  for (std::size_t at = 0; at < size && result == ScanResult::more; at += piece) {
    result = scanner.scan(reinterpret_cast<const char*>(data) + at, std::min(piece, size - at));
  }
  return result;
}

bool same_items(const HtmlItems& a, const HtmlItems& b) {
  return a.count == b.count && std::memcmp(a.kinds, b.kinds, a.count * sizeof a.kinds[0]) == 0 &&
         std::memcmp(a.numbers, b.numbers, a.count * sizeof a.numbers[0]) == 0;
}

// The input as a file of this process, rewritten for every input.
const std::string& input_path() {
  static const std::string path = "/tmp/kestra_html_fuzz_" + std::to_string(getpid()) + ".html";
  return path;
}

void write_input(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(input_path().c_str(), "wb");
  if (!file) std::abort();
  if (size && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto whole = std::make_unique<HtmlItems>();
  auto pieces = std::make_unique<HtmlItems>();
  const ScanResult result = scan(data, size, size + 1, *whole);
  const std::size_t piece = size ? 1 + data[0] % 64 : 1;
  if (scan(data, size, piece, *pieces) != result || !same_items(*whole, *pieces)) std::abort();

  write_input(data, size);
  TAB_GR table{-1, -1, nullptr};
  const int status = kestra::import::ReadHtmlTable(input_path().c_str(), &table);
  std::remove(input_path().c_str());
  if (result == ScanResult::bad_tag) {
    if (status != KESTRA_HTML_NO_TABLE || table.values) std::abort();
    return 0;
  }
  TAB_GR expected{-1, -1, nullptr};
  if (kestra::import::build_html_table(*whole, &expected) != status) std::abort();
  if (status != KESTRA_OK) {
    if (status != KESTRA_HTML_NO_TABLE || table.values) std::abort();
    return 0;
  }
  const std::size_t slots = static_cast<std::size_t>(table.rows) * table.cols;
  if (table.rows != expected.rows || table.cols != expected.cols || table.rows < 1 ||
      table.cols < 0 || slots > HtmlItems::limit ||
      (slots && std::memcmp(table.values, expected.values, slots * sizeof(double)) != 0)) {
    std::abort();
  }
  FreeTabGr(&table);
  FreeTabGr(&expected);
  return 0;
}
