// Delimited text as a workbook of one worksheet: fields split at the
// separator sniffed from the first block (comma, semicolon or tab) by the
// shared tokenizer in the exports' dialect (records end at LF, a CR outside
// quotes is dropped, no comment lines). Reading stops past the wanted
// range's last row.
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "import/csv_tokenizer.h"
#include "import/workbook_backend.h"

namespace kestra::import {
namespace {

// Puts each non-empty field into the store at its row and column.
class CellSink {
 public:
  explicit CellSink(CellStore& store) : store_(store) {}

  bool field(std::string& text) {
    if (!text.empty()) store_.put(row_, column_, Cell::of_text(std::move(text)));
    ++column_;
    return true;
  }
  // False once the record past the wanted rows has begun.
  bool end_record() {
    ++row_;
    column_ = 1;
    return row_ <= store_.wanted().last_row;
  }

 private:
  CellStore& store_;
  int row_ = 1;
  int column_ = 1;
};

CsvDialect workbook_dialect(char separator) {
  CsvDialect dialect;
  dialect.separator = separator;
  dialect.max_field_bytes = kMaxStoredText;
  return dialect;
}

bool has_utf8_mark(const char* text, std::size_t size) {
  return size >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0;
}

class CsvWorkbook final : public Workbook {
 public:
  explicit CsvWorkbook(const char* path) : path_(path) {}

  std::unique_ptr<Worksheet> worksheet(int index, const CellRange& wanted) override {
    if (index != 1) fail("no worksheet at this index");
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path_.c_str(), "rb"),
                                                         std::fclose);
    if (!file) fail("workbook cannot be opened");
    auto store = std::make_unique<CellStore>(wanted);
    CellSink sink(*store);
    std::optional<CsvTokenizer<CellSink>> tokenizer;
    char buffer[1 << 16];
    std::uint64_t total = 0;
    while (const std::size_t size = std::fread(buffer, 1, sizeof buffer, file.get())) {
      const bool first = total == 0;
      total += size;
      if (total > kMaxWorksheetBytes) fail("worksheet too large");
      const std::size_t start = first && has_utf8_mark(buffer, size) ? 3 : 0;
      if (first) tokenizer.emplace(workbook_dialect(sniff_csv_separator({buffer + start, size - start})), sink);
      for (std::size_t i = start; i < size; ++i) {
        if (!tokenizer->feed(buffer[i])) return store;
      }
    }
    if (std::ferror(file.get())) fail("workbook cannot be read");
    if (tokenizer) tokenizer->finish();
    return store;
  }
  void close() override {}

 private:
  std::string path_;
};

}  // namespace

std::unique_ptr<Workbook> open_csv_workbook(const char* path) {
  return std::make_unique<CsvWorkbook>(path);
}

}  // namespace kestra::import
