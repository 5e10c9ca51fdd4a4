// The worksheet scanner: what reaches expat and which cells it reads itself,
// in one piece and split anywhere; values read through scanned parts; and
// scanned reads against expat's own on fixtures and random sheets.
#include "import/xlsx_sheet_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "import/spreadsheet.h"
#include "import/workbook_backend.h"
#include "import/workbook_files.h"
#include "import/xlsx_package.h"

namespace kestra::import {
namespace {

using test::excel_tab;
using test::TempDir;
using test::write_one_sheet_xlsx;

// Records the cells the scanner reads as "row,column,type,value;".
class CellLog final : public SheetCells {
 public:
  void cell(int row, const PlainCell& cell) override {
    log += std::to_string(row) + "," + std::to_string(cell.column) + "," +
           std::string(cell.type) + "," + std::string(cell.value) + ";";
  }
  std::string log;
};

CellRange range_of(const char* text) {
  CellRange range;
  EXPECT_EQ(parse_cell_range(text, &range), KESTRA_OK);
  return range;
}

// What reaches expat, then "|", then the cells read directly.
std::string scanned(const std::string& part, const char* range, std::size_t piece_size) {
  CellLog cells;
  SheetScanner scanner(range_of(range), cells);
  std::string out;
  for (std::size_t at = 0; at < part.size(); at += piece_size) {
    out += scanner.pass(std::string_view(part).substr(at, piece_size), false);
  }
  out += scanner.pass({}, true);
  return out + "|" + cells.log;
}

const std::string kHead = "<?xml version=\"1.0\"?><worksheet><sheetData>";
const std::string kTail = "</sheetData></worksheet>";

TEST(SheetScanner, ReadsPlainRowsAndLeavesTheRestToExpat) {
  struct Case {
    int line;
    std::string part;
    const char* range;
    std::string expected;
  } cases[] = {
      // Rows above the range dropped, a plain row of it read; an empty row
      // leaves expat's reader at that row.
      {__LINE__, kHead + "<row r=\"1\"><c><v>1</v></c></row>\n<row r=\"2\"><c><v>2</v></c></row>"
                 "<row r=\"3\"><c><v>3</v></c></row>" + kTail,
       "A3:ZZ9", kHead + "<row r=\"3\"/>" + kTail + "|3,1,n,3;"},
      // Rows without a number follow the one before; empty rows count.
      {__LINE__, kHead + "<row><c/></row><row/><row spans=\"1:2\"><c/></row>" + kTail, "A3:B9",
       kHead + "<row r=\"3\"/>" + kTail + "|3,1,n,;"},
      // Wanted columns only; references, types, formulas, inline strings;
      // the first row past the range goes to expat, which stops there.
      {__LINE__, kHead + "<row r=\"3\"><c r=\"A3\"><v>1</v></c><c r=\"B3\" s=\"2\" t=\"s\"><v>0</v>"
                 "</c>\n <c r=\"C3\" t=\"inlineStr\"><is><t xml:space=\"preserve\"> x y</t></is></c>"
                 "<c r=\"D3\"><f>A3</f><v>4</v></c></row><row><c/><c><f/><v>5</v></c></row>"
                 "<row r=\"5\"><c><v>6</v></c></row>" + kTail,
       "B3:C4", kHead + "<row r=\"4\"/><row r=\"5\"><c><v>6</v></c></row>" + kTail +
                    "|3,2,s,0;3,3,inlineStr, x y;4,2,n,5;"},
      // Prefixed names, a prefixed r, and an xmlns:r that is no row number.
      {__LINE__, "<x:worksheet xmlns:x=\"u\"><x:sheetData><x:row xmlns:r=\"9\" x:r=\"1\">"
                 "<x:c x:r=\"B1\"><x:v>1</x:v></x:c></x:row><x:row r=\"5\"/></x:sheetData></x:worksheet>",
       "A1:B4", "<x:worksheet xmlns:x=\"u\"><x:sheetData><row r=\"1\"/><x:row r=\"5\"/>"
                "</x:sheetData></x:worksheet>|1,2,n,1;"},
      // Comments, CDATA and processing instructions hiding markup, and a '>'
      // in an attribute value, within and between dropped rows.
      {__LINE__, "<!-- <sheetData> --><worksheet a='>'><![CDATA[<sheetData>]]><sheetData>"
                 "<!-- <row r=\"9\"> --><row r='1' x='a>b'><c><is><t>"
                 "<![CDATA[</row><row r=\"9\">]]></t></is></c><?pi </row>?></row>"
                 "<?pi <row r=\"9\"/>?><row r=\"7\"/>" + kTail,
       "A3:A4", "<!-- <sheetData> --><worksheet a='>'><![CDATA[<sheetData>]]><sheetData>"
                "<row r=\"1\"/><row r=\"7\"/>" + kTail + "|"},
      // Row numbers as the reader parses them: zero, negative, not a number.
      {__LINE__, kHead + "<row r=\"-3\"/><row r=\"0\"/><row r=\" 1\"/><row r=\"2\"/>" + kTail,
       "A3:A4", kHead + "<row r=\"2\"/>" + kTail + "|"},
      // A row of the range that is not plain (here: a reference) goes to
      // expat alone, after the plain rows before it were read.
      {__LINE__, kHead + "<row r=\"2\"><c><v>1</v></c></row><row r=\"3\"><c><v>&#50;</v></c></row>" +
                 kTail,
       "A2:A9", kHead + "<row r=\"2\"/><row r=\"3\"><c><v>&#50;</v></c></row>" + kTail + "|2,1,n,1;"},
      // Cut off inside a row: that row goes to expat, which refuses it.
      {__LINE__, kHead + "<row r=\"1\"/><row r=\"2\"><c><v>1", "A3:A4",
       kHead + "<row r=\"1\"/><row r=\"2\"><c><v>1|"},
      {__LINE__, kHead + "<row r=\"3\"><c><v>1</v></c>", "A3:A4",
       kHead + "<row r=\"3\"><c><v>1</v></c>|"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line);
    for (std::size_t piece = 1; piece <= c.part.size(); ++piece) {
      ASSERT_EQ(scanned(c.part, c.range, piece), c.expected) << "pieces of " << piece;
    }
  }
}

// What the scanner cannot read is handed to expat unchanged: rows of the
// range that are not plain (a carriage return, non-ASCII text, a repeated
// attribute, a tab in a value, a cell naming another row, an unknown
// element), nested rows or sheet data, a mismatched end tag, a reference in
// r, an unknown <! construct, and cells, rows or phonetic runs before the
// sheet data, a document type, UTF-16.
TEST(SheetScanner, HandsWhatItCannotReadToExpatUnchanged) {
  const struct {
    int line;
    std::string part;
    const char* range;
  } cases[] = {
      {__LINE__, kHead + "<row><c><v>1\r</v></c></row>" + kTail, "A1:A9"},
      {__LINE__, kHead + "<row><c t=\"inlineStr\"><is><t>\xC3\xA9</t></is></c></row>" + kTail,
       "A1:A9"},
      {__LINE__, kHead + "<row><c t=\"n\" t=\"s\"><v>1</v></c></row>" + kTail, "A1:A9"},
      {__LINE__, kHead + "<row><c r=\"A1\t\"><v>1</v></c></row>" + kTail, "A1:A9"},
      {__LINE__, kHead + "<row r=\"2\"><c r=\"A3\"><v>1</v></c></row>" + kTail, "A1:A9"},
      {__LINE__, kHead + "<row><c><v>1</v><extLst/></c></row>" + kTail, "A1:A9"},
      {__LINE__, kHead + "<row r=\"1\"/><row r=\"2\"><row r=\"9\"/></row>" + kTail, "A3:A4"},
      {__LINE__, kHead + "<row r=\"1\"><x:sheetData/></row>" + kTail, "A3:A4"},
      {__LINE__, kHead + "<row r=\"1\"/><row r=\"2\"><c></v></row>" + kTail, "A3:A4"},
      {__LINE__, kHead + "<row r=\"&#50;\"/><row/>" + kTail, "A3:A4"},
      {__LINE__, kHead + "<row r=\"1\"><!ELEMENT x ANY></row>" + kTail, "A3:A4"},
      {__LINE__, "<worksheet><rPh><sheetData><row r=\"1\"/><row/></sheetData></rPh></worksheet>",
       "A3:A4"},
      {__LINE__, "<worksheet><c r=\"A1\"/><sheetData><row r=\"1\"/>" + kTail, "A3:A4"},
      {__LINE__, "<!DOCTYPE w><worksheet><sheetData><row r=\"1\"/>" + kTail, "A3:A4"},
      {__LINE__, std::string("<\0w\0>\0<\0/\0w\0>\0", 14), "A3:A4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line);
    for (std::size_t piece = 1; piece <= c.part.size(); ++piece) {
      ASSERT_EQ(scanned(c.part, c.range, piece), c.part + "|") << "pieces of " << piece;
    }
  }
}

std::vector<double> read(const std::string& path, const char* range, int* status) {
  TAB_GR table{0, 0, nullptr};
  *status = read_excel_range(path.c_str(), excel_tab(1, range), &table);
  std::vector<double> values;
  if (table.values) values.assign(table.values, table.values + table.rows * table.cols);
  FreeTabGr(&table);
  return values;
}

// A sheet whose sheet data lies `depth` elements deeper than usual; row 1
// nests one element deeper than row 3.
std::string nested_sheet(int depth) {
  std::string open, close;
  for (int i = 0; i < depth; ++i) {
    open += "<a>";
    close += "</a>";
  }
  return "<worksheet>" + open + "<sheetData><row r=\"1\"><c t=\"inlineStr\"><is><t>1</t></is>"
         "</c></row><row r=\"3\"><c><v>3</v></c></row></sheetData>" + close + "</worksheet>";
}

TEST(SheetScanner, RangesReadAsWritten) {
  struct Case {
    int line;
    std::string sheet;
    const char* range;
    int status;
    std::vector<double> expected;
  } cases[] = {
      {__LINE__,
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- rows --><x:worksheet xmlns:x=\"u\">"
       "<x:sheetData><x:row x:r=\"1\"><x:c r=\"A1\"><x:v>1</x:v></x:c><!-- </x:row> --></x:row>"
       "<?keep <x:row r=\"2\">?><x:row><x:c t=\"inlineStr\"><x:is><x:t><![CDATA[</x:row>]]>"
       "</x:t></x:is></x:c></x:row><x:row><x:c r=\"A3\"><x:v>3</x:v></x:c>"
       "<x:c r=\"B3\"><x:v>4</x:v></x:c></x:row><x:row r=\"5\"><x:c><x:v>5</x:v></x:c></x:row>"
       "</x:sheetData></x:worksheet>",
       "A3:B5", KESTRA_OK, {3, 4, 0, 0, 5, 0}},
      // A cell reference in a row above the range does not move the reader.
      {__LINE__,
       "<worksheet><sheetData><row><c r=\"A9\"><v>9</v></c></row><row><c><v>7</v></c></row>"
       + kTail,
       "A2:A3", KESTRA_OK, {7, 0}},
      // A cell naming another row than its own is refused wherever the
      // range starts, rather than read at one of the two rows.
      {__LINE__, "<worksheet><sheetData><row r=\"2\"><c r=\"A5\"><v>5</v></c></row>" + kTail,
       "A1:A5", KESTRA_WORKBOOK, {}},
      // A row nested in a row above the range is read as expat reports it.
      {__LINE__,
       "<worksheet><sheetData><row r=\"1\"><row r=\"3\"/><c><v>8</v></c></row>"
       "<row><c><v>9</v></c></row>" + kTail,
       "A3:A4", KESTRA_OK, {8, 9}},
      // Cells reach the reader in document order, whoever reads them: of two
      // rows with one number, the later one's values win.
      {__LINE__,
       "<worksheet><sheetData><row r=\"1\"><c><v>&#49;</v></c><c><v>2</v></c></row>"
       "<row r=\"1\"><c><v>3</v></c></row>" + kTail,
       "A1:B1", KESTRA_OK, {3, 2}},
      // Damage above the range is still found.
      {__LINE__, "<worksheet><sheetData><row r=\"1\"><c><v>1</c></row><row r=\"3\"/>" + kTail,
       "A3:A4", KESTRA_WORKBOOK, {}},
      {__LINE__, "<worksheet><sheetData><row r=\"1\"><c><v>1</v>", "A3:A4", KESTRA_WORKBOOK, {}},
      // So is nesting deeper than 64 elements there.
      {__LINE__, nested_sheet(58), "A3:A4", KESTRA_OK, {3, 0}},
      {__LINE__, nested_sheet(59), "A3:A4", KESTRA_WORKBOOK, {}},
  };
  TempDir folder;
  const std::string path = folder.file("skipped.xlsx");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line);
    write_one_sheet_xlsx(path, c.sheet);
    int status = 0;
    const std::vector<double> values = read(path, c.range, &status);
    ASSERT_EQ(status, c.status);
    EXPECT_EQ(values, c.expected);
  }
}

// A well-formed sheet of up to 12 rows x 3 columns of small numbers, with
// comments, CDATA, processing instructions, prefixes and rows or cells with
// and without references, all placed at random.
std::string random_sheet(std::mt19937& random) {
  const auto chance = [&](int percent) {
    return std::uniform_int_distribution<int>(0, 99)(random) < percent;
  };
  const auto noise = [&]() -> std::string {
    switch (std::uniform_int_distribution<int>(0, 5)(random)) {
      case 0: return "<!-- <row r=\"1\"> </p:row> -->";
      case 1: return "<?pi </p:row><row>?>";
      case 2: return "\n  ";
      default: return "";
    }
  };
  std::string sheet = "<?xml version=\"1.0\"?>" + noise() +
                      "<p:worksheet xmlns:p=\"u\"><p:dimension ref='A1>C9'/>" + noise() +
                      "<p:sheetData>";
  int row = 0;
  for (int i = 0; i < 12; ++i) {
    sheet += noise();
    const bool numbered = chance(60);
    row += numbered && chance(30) ? 2 : 1;
    if (chance(10)) {
      sheet += numbered ? "<row r=\"" + std::to_string(row) + "\"/>" : "<row/>";
      continue;
    }
    sheet += numbered ? "<p:row p:r=\"" + std::to_string(row) + "\" spans=\"1:3\">" : "<p:row>";
    for (int column = 1; column <= 3; ++column) {
      const std::string value = std::to_string(row * 10 + column);
      const std::string ref = std::string(1, "ABC"[column - 1]) + std::to_string(row);
      sheet += "<p:c" + (chance(50) ? " r=\"" + ref + "\"" : std::string());
      if (chance(25)) {
        sheet += " t=\"inlineStr\"><p:is><p:t><![CDATA[" + value + "]]></p:t>"
                 "<p:rPh><p:t>9</p:t></p:rPh></p:is></p:c>";
      } else {
        sheet += "><p:v>" + value + "</p:v>" + noise() + "</p:c>";
      }
    }
    sheet += "</p:row>";
  }
  return sheet + noise() + "</p:sheetData></p:worksheet>";
}

// Read from the first row (nothing dropped) and from a row further down, a
// range gives the same values.
TEST(SheetScanner, RangesFurtherDownReadWhatTheWholeBlockHolds) {
  TempDir folder;
  const std::string path = folder.file("random.xlsx");
  std::mt19937 random(8);
  for (int sheet = 0; sheet < 40; ++sheet) {
    SCOPED_TRACE(testing::Message() << "sheet " << sheet);
    write_one_sheet_xlsx(path, random_sheet(random));
    int status = 0;
    const std::vector<double> whole = read(path, "A1:C30", &status);
    ASSERT_EQ(status, KESTRA_OK);
    for (int first = 2; first <= 20; first += 3) {
      const std::string range = "A" + std::to_string(first) + ":C30";
      const std::vector<double> part = read(path, range.c_str(), &status);
      ASSERT_EQ(status, KESTRA_OK);
      EXPECT_EQ(part, std::vector<double>(whole.begin() + (first - 1) * 3, whole.end())) << range;
    }
  }
}

// The cells of `range` of a worksheet part, scanned and parsed by expat
// alone: both refuse the part, or both give the same cells. True when read.
bool expect_scan_matches_expat(const std::string& path, const std::string& sheet_part,
                               const std::string& strings_part, const char* range) {
  SCOPED_TRACE(testing::Message() << sheet_part << " " << range);
  const ZipPackage package(path.c_str());
  const CellRange wanted = range_of(range);
  const auto read_as = [&](SheetParse how) -> std::unique_ptr<CellStore> {
    try {
      return read_xlsx_sheet(package, sheet_part, strings_part, wanted, how);
    } catch (const AutomationError&) {
      return nullptr;
    }
  };
  const std::unique_ptr<CellStore> scanned = read_as(SheetParse::scanned);
  const std::unique_ptr<CellStore> parsed = read_as(SheetParse::expat_only);
  EXPECT_EQ(scanned == nullptr, parsed == nullptr);
  if (!parsed || !scanned) return false;
  char address[20];
  for (int row = wanted.first_row; row <= wanted.last_row; ++row) {
    for (int column = wanted.first_column; column <= wanted.last_column; ++column) {
      format_cell_address(column, row, address);
      const Cell a = scanned->read_cell(address);
      const Cell b = parsed->read_cell(address);
      EXPECT_EQ(a.kind, b.kind) << address;
      EXPECT_EQ(a.text, b.text) << address;
      EXPECT_EQ(a.number, b.number) << address;
      if (testing::Test::HasFailure()) return true;
    }
  }
  return true;
}

TEST(SheetScanner, ReadsFixturesAsExpatDoes) {
  const std::string calc = test::fixture("calc_saved.xlsx");
  for (const char* range : {"A1:D4", "B2:C3", "A1:ZZ999", "C4:Z40"}) {
    EXPECT_TRUE(
        expect_scan_matches_expat(calc, "xl/worksheets/sheet1.xml", "xl/sharedStrings.xml", range));
    EXPECT_TRUE(
        expect_scan_matches_expat(calc, "xl/worksheets/sheet2.xml", "xl/sharedStrings.xml", range));
  }
  TempDir folder;
  for (const bool inline_strings : {false, true}) {
    const std::string path = folder.file(inline_strings ? "inline.xlsx" : "shared.xlsx");
    {
      test::XlsxWriter book(path, inline_strings);
      lxw_worksheet* sheet = book.sheet();
      for (int row = 0; row < 30; ++row) {
        worksheet_write_number(sheet, row, 0, row * 1.25, nullptr);
        worksheet_write_string(sheet, row, 1, ("t" + std::to_string(row) + " & <x>").c_str(), nullptr);
        worksheet_write_formula_num(sheet, row, 2, "=A1*2", nullptr, row);
        worksheet_write_boolean(sheet, row, 4, row % 2, nullptr);
      }
      book.save();
    }
    for (const char* range : {"A1:E30", "B7:D12", "E29:E40"}) {
      EXPECT_TRUE(expect_scan_matches_expat(path, "xl/worksheets/sheet1.xml",
                                            inline_strings ? "" : "xl/sharedStrings.xml", range));
    }
  }
}

// A well-formed sheet of rows as spreadsheet programs write them, with here
// and there what the scanner leaves to expat: references, CDATA, comments
// inside cells, rich text, phonetic runs, non-ASCII text, repeated row
// numbers, unnumbered rows and cells, empty values.
std::string random_plain_sheet(std::mt19937& random) {
  const auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
  const auto chance = [&](int percent) { return pick(100) < percent; };
  std::string sheet = "<?xml version=\"1.0\"?>\n<worksheet><sheetData>";
  int row = 0;
  for (int i = 0; i < 30; ++i) {
    const bool numbered = chance(80);
    row += numbered && chance(20) ? pick(3) : 1;  // gaps and repeats; unnumbered: the next
    sheet += numbered ? "<row r=\"" + std::to_string(row) + "\">" : "<row>";
    int column = 0;
    for (int c = 0; c < 6; ++c) {
      column += chance(80) ? 1 : 2;
      const std::string ref = std::string(1, static_cast<char>('A' + column - 1)) + std::to_string(row);
      sheet += "<c" + (chance(70) ? " r=\"" + ref + "\"" : std::string()) + " s=\"1\"";
      const std::string number = std::to_string(pick(20001) - 10000) + (chance(50) ? ".25" : "");
      switch (pick(14)) {
        case 0: sheet += "/>"; break;
        case 1: sheet += "><v/></c>"; break;
        case 2: sheet += " t=\"s\"><v>" + std::to_string(pick(4)) + "</v></c>"; break;
        case 3: sheet += " t=\"b\"><v>" + std::to_string(pick(2)) + "</v></c>"; break;
        case 4: sheet += " t=\"str\"><f>A1</f><v>" + number + " x</v></c>"; break;
        case 5: sheet += " t=\"inlineStr\"><is><t>" + number + "</t></is></c>"; break;
        case 6: sheet += "><v>" + number + "&#48;</v></c>"; break;
        case 7: sheet += " t=\"inlineStr\"><is><t><![CDATA[" + number + "]]></t></is></c>"; break;
        case 8: sheet += "><!-- c --><v>" + number + "</v></c>"; break;
        case 9: sheet += " t=\"inlineStr\"><is><r><t>1</t></r><r><t>" + number + "</t></r>"
                         "<rPh><t>9</t></rPh></is></c>"; break;
        case 10: sheet += " t=\"inlineStr\"><is><t>\xC3\xA9" + number + "</t></is></c>"; break;
        default: sheet += "><v>" + number + "</v></c>"; break;
      }
    }
    sheet += "</row>\n";
  }
  return sheet + "</sheetData></worksheet>";
}

TEST(SheetScanner, ReadsRandomSheetsAsExpatDoes) {
  TempDir folder;
  const std::string path = folder.file("plain.xlsx");
  std::mt19937 random(16);
  int read = 0;
  for (int sheet = 0; sheet < 60; ++sheet) {
    SCOPED_TRACE(testing::Message() << "sheet " << sheet);
    test::write_package(path, {{"sheet.xml", random_plain_sheet(random)},
                               {"strings.xml", "<sst><si><t>1,5</t></si><si><t>x</t></si>"
                                               "<si><r><t>2</t></r><r><t>5</t></r></si><si/></sst>"}});
    for (const char* range : {"A1:H40", "B3:D9", "C10:F30", "A25:ZZ26"}) {
      read += expect_scan_matches_expat(path, "sheet.xml", "strings.xml", range);
      ASSERT_FALSE(HasFailure());
    }
  }
  EXPECT_GT(read, 200);  // most sheets are read, not refused by both
}

}  // namespace
}  // namespace kestra::import
