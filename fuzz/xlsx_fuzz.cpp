// The .xlsx reader over worksheet and shared string parts taken from the
// input bytes (split at the first NUL), packed into a workbook package. Any
// input must give a status without a crash, a hang or a leaked array, and
// wherever expat alone reads a range, the scanned read gives the same cells.
#include <unistd.h>
#include <zip.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "import/workbook_backend.h"
#include "import/xlsx_package.h"
#include "spreadsheet_fuzz.h"

namespace {

constexpr char kRelations[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

bool add_entry(zip_t* zip, const char* name, std::string_view content) {
  zip_source_t* source = zip_source_buffer(zip, content.data(), content.size(), 0);
  if (source && zip_file_add(zip, name, source, ZIP_FL_OVERWRITE) >= 0) return true;
  zip_source_free(source);
  return false;
}

bool write_package(const std::string& path, std::string_view sheet, std::string_view strings) {
  const std::string rels = kRelations;
  const std::string root = "<Relationships><Relationship Id=\"r1\" Type=\"" + rels +
                           "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
  const std::string book =
      "<workbook xmlns:r=\"" + rels + "\"><sheets><sheet r:id=\"r1\"/></sheets></workbook>";
  const std::string parts = "<Relationships><Relationship Id=\"r1\" Type=\"" + rels +
                            "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship "
                            "Id=\"r2\" Type=\"" +
                            rels +
                            "/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>";
  int error = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!zip) return false;
  const bool added = add_entry(zip, "_rels/.rels", root) &&
                     add_entry(zip, "xl/workbook.xml", book) &&
                     add_entry(zip, "xl/_rels/workbook.xml.rels", parts) &&
                     add_entry(zip, "xl/worksheets/sheet1.xml", sheet) &&
                     add_entry(zip, "xl/sharedStrings.xml", strings);
  if (!added) {
    zip_discard(zip);
    return false;
  }
  return zip_close(zip) == 0;
}

using kestra::import::CellRange;
using kestra::import::CellStore;
using kestra::import::SheetParse;

std::unique_ptr<CellStore> read_sheet(const kestra::import::ZipPackage& package,
                                      const CellRange& range, SheetParse how) {
  try {
    return kestra::import::read_xlsx_sheet(package, "xl/worksheets/sheet1.xml",
                                           "xl/sharedStrings.xml", range, how);
  } catch (const kestra::import::AutomationError&) {
    return nullptr;
  }
}

// The scanner may accept damage in rows it drops, never refuse or read
// differently what expat reads.
void compare_with_expat(const char* path) {
  std::unique_ptr<kestra::import::ZipPackage> package;
  try {
    package = std::make_unique<kestra::import::ZipPackage>(path);
  } catch (const kestra::import::AutomationError&) {
    return;
  }
  for (const CellRange range : {CellRange{1, 1, 6, 40}, CellRange{2, 3, 4, 12}}) {
    const auto parsed = read_sheet(*package, range, SheetParse::expat_only);
    if (!parsed) continue;
    const auto scanned = read_sheet(*package, range, SheetParse::scanned);
    if (!scanned) std::abort();
    char address[20];
    for (int row = range.first_row; row <= range.last_row; ++row) {
      for (int column = range.first_column; column <= range.last_column; ++column) {
        kestra::import::format_cell_address(column, row, address);
        const auto a = parsed->read_cell(address);
        const auto b = scanned->read_cell(address);
        if (a.kind != b.kind || a.text != b.text ||
            std::memcmp(&a.number, &b.number, sizeof a.number) != 0) {
          std::abort();
        }
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  const std::string_view sheet = input.substr(0, split);
  const std::string_view strings = split == std::string_view::npos ? "" : input.substr(split + 1);
  const std::string path = "/tmp/kestra-xlsx-fuzz-" + std::to_string(getpid()) + ".xlsx";
  if (!write_package(path, sheet, strings)) return 0;
  // Rows above a range are skipped without full parsing: where both reads
  // succeed, the range below holds the same values as the whole block. (A
  // damaged file may be refused by one read and not the other.)
  const RangeRead whole = read_range_or_abort(path.c_str(), 1, "A1:F40");
  const RangeRead lower = read_range_or_abort(path.c_str(), 1, "B20:F40");
  if (whole.status == KESTRA_OK && lower.status == KESTRA_OK) {
    for (std::size_t row = 0; row < 21; ++row) {
      for (std::size_t col = 0; col < 5; ++col) {
        const double a = whole.values[(row + 19) * 6 + col + 1];
        const double b = lower.values[row * 5 + col];
        if (std::memcmp(&a, &b, sizeof a) != 0) std::abort();
      }
    }
  }
  compare_with_expat(path.c_str());
  std::remove(path.c_str());
  return 0;
}
