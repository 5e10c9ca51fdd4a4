// Delimited text as a workbook of one worksheet: fields split at the
// separator sniffed from the first block (comma, semicolon or tab), quoted fields may hold commas, doubled quotes and line breaks,
// records end at LF or CRLF. Reading stops past the wanted range's last row.
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "import/workbook_backend.h"

namespace kestra::import {
namespace {

class CsvReader {
 public:
  CsvReader(CellStore& store, char separator) : store_(store), separator_(separator) {}

  // False once the record past the wanted rows has begun.
  bool feed(char c) {
    if (quoted_) {
      if (quote_pending_) {
        quote_pending_ = false;
        if (c == '"') {
          append('"');
          return true;
        }
        quoted_ = false;  // the closing quote; c is read as unquoted below
      } else {
        if (c == '"') {
          quote_pending_ = true;
        } else {
          append(c);
        }
        return true;
      }
    }
    if (c == separator_) {
      end_field();
      return true;
    }
    switch (c) {
      case '"':
        if (field_.empty()) quoted_ = true; else append(c);
        return true;
      case '\r':
        return true;  // CRLF ends a record at its LF; a lone CR is dropped
      case '\n':
        end_field();
        ++row_;
        column_ = 1;
        return row_ <= store_.wanted().last_row;
      default:
        append(c);
        return true;
    }
  }

  void finish() {
    if (!field_.empty() || column_ > 1 || quoted_) end_field();
  }

 private:
  void append(char c) {
    if (field_.size() < kMaxStoredText) field_.push_back(c);
  }
  void end_field() {
    if (!field_.empty()) store_.put(row_, column_, Cell::of_text(field_));
    field_.clear();
    quoted_ = quote_pending_ = false;
    ++column_;
  }

  CellStore& store_;
  const char separator_;
  std::string field_;
  bool quoted_ = false;
  bool quote_pending_ = false;
  int row_ = 1;
  int column_ = 1;
};

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
    std::optional<CsvReader> reader;
    char buffer[1 << 16];
    std::uint64_t total = 0;
    while (const std::size_t size = std::fread(buffer, 1, sizeof buffer, file.get())) {
      const bool first = total == 0;
      total += size;
      if (total > kMaxWorksheetBytes) fail("worksheet too large");
      const std::size_t start = first && has_utf8_mark(buffer, size) ? 3 : 0;
      if (first) reader.emplace(*store, sniff_csv_separator({buffer + start, size - start}));
      for (std::size_t i = start; i < size; ++i) {
        if (!reader->feed(buffer[i])) return store;
      }
    }
    if (std::ferror(file.get())) fail("workbook cannot be read");
    if (reader) reader->finish();
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
