// The built-in spreadsheet application: no program to start or hide;
// opening a workbook picks the backend by the file's first bytes, and a file
// named as a workbook must hold one.
#include <cstdio>
#include <cctype>
#include <cstring>
#include <string_view>
#include <memory>

#include "import/regular_file.h"
#include "import/workbook_backend.h"

namespace kestra::import {
namespace {

enum class FileKind { zip, compound, text, unknown };

// Zip packages (.xlsx) and compound files (.xls) by their signatures; text
// (.csv) when the first bytes hold no NUL.
FileKind sniff_file_kind(const char* path) {
  if (!is_regular_file(path)) fail("no workbook file");
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "rb"), std::fclose);
  if (!file) fail("workbook cannot be opened");
  unsigned char head[4096];
  const std::size_t size = std::fread(head, 1, sizeof head, file.get());
  if (std::ferror(file.get())) fail("workbook cannot be read");
  constexpr unsigned char kZip[] = {'P', 'K', 3, 4};
  constexpr unsigned char kCompound[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  if (size >= sizeof kZip && std::memcmp(head, kZip, sizeof kZip) == 0) return FileKind::zip;
  if (size >= sizeof kCompound && std::memcmp(head, kCompound, sizeof kCompound) == 0) {
    return FileKind::compound;
  }
  if (std::memchr(head, 0, size) == nullptr) return FileKind::text;
  return FileKind::unknown;
}

// True when the name ends in `suffix`, compared without case.
bool has_suffix(std::string_view path, std::string_view suffix) {
  if (path.size() < suffix.size()) return false;
  const std::string_view tail = path.substr(path.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(tail[i])) != suffix[i]) return false;
  }
  return true;
}

// A name saying .xlsx or .xls promises a workbook: an empty file or text is
// refused instead of read as CSV. A workbook of the other kind is still read.
void check_named_kind(const char* path, FileKind kind) {
  const bool named_workbook =
      has_suffix(path, ".xlsx") || has_suffix(path, ".xlsm") || has_suffix(path, ".xls");
  if (named_workbook && kind != FileKind::zip && kind != FileKind::compound) {
    fail("the file named as a workbook holds none");
  }
}

class LocalSpreadsheetApp final : public SpreadsheetApp {
 public:
  void hide() override {}
  std::unique_ptr<Workbook> open_workbook(const char* path) override {
    const FileKind kind = sniff_file_kind(path);
    check_named_kind(path, kind);
    switch (kind) {
      case FileKind::zip: return open_xlsx_workbook(path);
      case FileKind::compound: return open_xls_workbook(path);
      case FileKind::text: return open_csv_workbook(path);
      case FileKind::unknown: break;
    }
    fail("not a workbook");
  }
  void quit() override {}
};

}  // namespace

std::unique_ptr<SpreadsheetApp> start_builtin_spreadsheet_app() {
  return std::make_unique<LocalSpreadsheetApp>();
}

}  // namespace kestra::import
