// The .xlsx reader over worksheet and shared string parts taken from the
// input bytes (split at the first NUL), packed into a workbook package. Any
// input must give a status without a crash, a hang or a leaked array.
#include <unistd.h>
#include <zip.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

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
  std::remove(path.c_str());
  return 0;
}
