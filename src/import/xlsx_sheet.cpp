// The cells of an .xlsx worksheet part: <row r> holding <c r t> with a <v>
// value or an <is> inline string. Only cells of the wanted range are kept;
// the scanner reads most rows without expat, and the read stops at the first
// row past the range. Shared string cells keep their index until the shared
// strings part is read, for those indices only.
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "import/xlsx_package.h"

namespace kestra::import {
namespace {

// Appends text up to the stored limit.
void append_text(std::string& to, std::string_view text) {
  if (to.size() < kMaxStoredText) to.append(text.substr(0, kMaxStoredText - to.size()));
}

struct SharedCell {
  int row;
  int column;
  std::uint32_t index;
};

class SheetReader final : public XmlHandler, public SheetCells {
 public:
  SheetReader(CellStore& store, const CellFormats& formats) : store_(store), formats_(formats) {}

  void start(std::string_view name, const char** attributes) override {
    if (name == "row") {
      start_row(find_attribute(attributes, "r"));
    } else if (name == "c") {
      if (row_ < store_.wanted().first_row) return;  // a row above the range: no cell wanted
      start_cell(find_attribute(attributes, "r"), find_attribute(attributes, "t"));
      const char* style = find_attribute(attributes, "s");
      style_ = style ? style : "";
    } else if (wanted_ && (name == "v" || name == "t")) {
      capturing_ = !in_phonetic_;
    } else if (name == "rPh") {
      in_phonetic_ = true;
    }
  }

  void end(std::string_view name) override {
    if (name == "c") {
      if (wanted_) end_cell();
      wanted_ = false;
    } else if (name == "v" || name == "t") {
      capturing_ = false;
    } else if (name == "rPh") {
      in_phonetic_ = false;
    } else if (name == "sheetData") {
      stop();
    }
  }

  void text(std::string_view text) override {
    if (capturing_) append_text(value_, text);
  }

  // A cell the scanner read.
  void cell(int row, const PlainCell& cell) override {
    store_cell(row, cell.column, cell.type, cell.value.substr(0, kMaxStoredText), cell.style);
  }

  std::vector<SharedCell> shared_cells;

 private:
  void start_row(const char* r) {
    int number = 0;
    row_ = r && parse_number(std::string_view(r), &number) ? number : row_ + 1;
    column_ = 0;
    if (row_ > store_.wanted().last_row) stop();
  }

  void start_cell(const char* r, const char* type) {
    if (r) {
      const CellPosition at = parse_cell_address(r);
      if (at.column == 0) fail("cell reference rejected");
      // A cell naming another row would be read differently depending on
      // where the range starts.
      if (at.row != row_) fail("cell outside its row");
      column_ = at.column;
    } else {
      ++column_;
    }
    wanted_ = store_.wanted().contains(row_, column_);
    type_ = type ? type : "n";
    value_.clear();
  }

  void end_cell() { store_cell(row_, column_, type_, value_, style_); }

  void store_cell(int row, int column, std::string_view type, std::string_view value,
                  std::string_view style) {
    if (type == "s") {
      std::uint32_t index = 0;
      if (parse_number(value, &index)) shared_cells.push_back({row, column, index});
      return;
    }
    if (type == "b") {
      store_.put(row, column, Cell::of_text(value == "1" ? "TRUE" : "FALSE"));
      return;
    }
    double number = 0;
    if (type == "n" && parse_number(value, &number)) {
      std::size_t format = 0;
      if (!parse_number(style, &format)) format = 0;
      store_.put(row, column, formats_.number_cell(number, format));
    } else if (!value.empty()) {  // str (a formula's text result), inlineStr, e, d
      store_.put(row, column, Cell::of_text(std::string(value)));
    }
  }

  CellStore& store_;
  const CellFormats& formats_;
  int row_ = 0;
  int column_ = 0;
  bool wanted_ = false;
  bool capturing_ = false;
  bool in_phonetic_ = false;
  std::string type_;
  std::string value_;
  std::string style_;
};

// The texts of the wanted <si> items, phonetic runs left out.
class SharedStringsReader final : public XmlHandler {
 public:
  explicit SharedStringsReader(std::unordered_map<std::uint32_t, std::string>& wanted)
      : wanted_(wanted) {
    for (const auto& [index, text] : wanted_) last_ = std::max(last_, index);
  }

  void start(std::string_view name, const char**) override {
    if (name == "si") {
      current_ = wanted_.find(index_);
    } else if (name == "t") {
      capturing_ = !in_phonetic_ && current_ != wanted_.end();
    } else if (name == "rPh") {
      in_phonetic_ = true;
    }
  }

  void end(std::string_view name) override {
    if (name == "si") {
      current_ = wanted_.end();
      if (index_++ == last_) stop();
    } else if (name == "t") {
      capturing_ = false;
    } else if (name == "rPh") {
      in_phonetic_ = false;
    }
  }

  void text(std::string_view text) override {
    if (capturing_) append_text(current_->second, text);
  }

 private:
  std::unordered_map<std::uint32_t, std::string>& wanted_;
  std::unordered_map<std::uint32_t, std::string>::iterator current_ = wanted_.end();
  std::uint32_t index_ = 0;
  std::uint32_t last_ = 0;
  bool capturing_ = false;
  bool in_phonetic_ = false;
};

void resolve_shared_strings(const ZipPackage& package, const std::string& strings_part,
                            const std::vector<SharedCell>& cells, CellStore& store) {
  if (cells.empty()) return;
  std::unordered_map<std::uint32_t, std::string> texts;
  for (const SharedCell& cell : cells) texts.emplace(cell.index, std::string());
  if (!strings_part.empty()) {
    SharedStringsReader reader(texts);
    package.parse(strings_part, reader);
  }
  for (const SharedCell& cell : cells) {
    store.put(cell.row, cell.column, Cell::of_text(texts[cell.index]));
  }
}

}  // namespace

std::unique_ptr<CellStore> read_xlsx_sheet(const ZipPackage& package,
                                           const std::string& sheet_part,
                                           const std::string& strings_part,
                                           const CellRange& wanted, SheetParse how,
                                           const CellFormats& formats) {
  auto store = std::make_unique<CellStore>(wanted);
  SheetReader sheet(*store, formats);
  SheetScanner scanner(wanted, sheet);
  package.parse(sheet_part, sheet, how == SheetParse::scanned ? &scanner : nullptr);
  resolve_shared_strings(package, strings_part, sheet.shared_cells, *store);
  return store;
}

}  // namespace kestra::import
