// The zip package of an .xlsx workbook and a streaming XML reader over its
// entries, bounded in inflated size and element depth.
#pragma once

#include <zip.h>

#include <charconv>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "import/number_formats.h"
#include "import/workbook_backend.h"
#include "import/xlsx_sheet_scan.h"

namespace kestra::import {

constexpr int kMaxXmlDepth = 64;  // workbook parts nest about 6 deep

// Receives the elements of one XML entry by local name (namespaces dropped).
// Handlers may throw; the reader carries the exception past expat.
class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  virtual void start(std::string_view name, const char** attributes) = 0;
  virtual void end(std::string_view name) = 0;
  virtual void text(std::string_view text) = 0;

  // Ends the parse early, as a success: the handler has all it needs.
  void stop() { stopped_ = true; }
  bool stopped() const { return stopped_; }

 private:
  bool stopped_ = false;
};

// Decimals of at most 15 digits and no exponent, as most cells hold them:
// the digits form an exact integer and the power of ten is exact, so one
// division rounds correctly, to what from_chars gives. False for any other
// text, which goes to from_chars.
inline bool parse_short_decimal(std::string_view text, double* out) {
  constexpr double powers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6, 1e7,
                               1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
  const bool negative = i == 1;
  std::int64_t digits = 0;
  int count = 0;
  int decimals = -1;  // digits after the point, once there is one
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digits = digits * 10 + (c - '0');
      if (++count > 15) return false;
      if (decimals >= 0) ++decimals;
    } else if (c == '.' && decimals < 0) {
      decimals = 0;
    } else {
      return false;
    }
  }
  if (count == 0) return false;
  const double value = static_cast<double>(digits) / powers[decimals > 0 ? decimals : 0];
  *out = negative ? -value : value;
  return true;
}

// A whole-text decimal number, as <v> and r="12" hold them.
template <class Number>
bool parse_number(std::string_view text, Number* out) {
  if constexpr (std::is_same_v<Number, double>) {
    if (parse_short_decimal(text, out)) return true;
  }
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *out);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// The value of the attribute with this local name, or null.
const char* find_attribute(const char** attributes, std::string_view name);

class ZipPackage {
 public:
  explicit ZipPackage(const char* path);  // throws AutomationError

  bool has_entry(const std::string& name) const;
  // Streams the entry through `handler`; throws AutomationError when it is
  // missing, larger than kMaxWorksheetBytes, or not well-formed XML. The
  // bytes go through `scanner` first when given.
  void parse(const std::string& name, XmlHandler& handler, SheetScanner* scanner = nullptr) const;

 private:
  std::unique_ptr<zip_t, int (*)(zip_t*)> zip_;
};

// How a worksheet part is read: scanned (the rows the scanner understands
// never reach expat), or every byte parsed by expat, the reference the
// scanner is checked against.
enum class SheetParse { scanned, expat_only };

// Reads the wanted cells of the worksheet part, taking the texts of shared
// string cells from `strings_part` (empty when the package has none) and
// the date formats of cells from `formats`.
std::unique_ptr<CellStore> read_xlsx_sheet(const ZipPackage& package,
                                           const std::string& sheet_part,
                                           const std::string& strings_part,
                                           const CellRange& wanted,
                                           SheetParse how = SheetParse::scanned,
                                           const CellFormats& formats = {});

}  // namespace kestra::import
