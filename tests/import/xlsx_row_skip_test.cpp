// Rows above the wanted range dropped before parsing: what reaches expat, in
// one piece and split anywhere, and the values read through such parts.
#include "import/xlsx_row_skip.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "import/spreadsheet.h"
#include "import/workbook_files.h"

namespace kestra::import {
namespace {

using test::excel_tab;
using test::TempDir;
using test::write_one_sheet_xlsx;

std::string skipped(const std::string& part, int first_row, std::size_t piece_size) {
  RowSkipper skipper(first_row);
  std::string out;
  for (std::size_t at = 0; at < part.size(); at += piece_size) {
    out += skipper.pass(std::string_view(part).substr(at, piece_size), false);
  }
  out += skipper.pass({}, true);
  return out;
}

const std::string kHead = "<?xml version=\"1.0\"?><worksheet><sheetData>";
const std::string kTail = "</sheetData></worksheet>";

TEST(RowSkipper, DropsOnlyWholeRowsTheReaderWouldIgnore) {
  struct Case {
    int line;
    std::string part;
    int first_row;
    std::string expected;
  } cases[] = {
      {__LINE__, kHead + "<row r=\"1\"><c><v>1</v></c></row>\n<row r=\"2\"><c><v>2</v></c></row>"
                 "<row r=\"3\"><c><v>3</v></c></row>" + kTail,
       3, kHead + "<row r=\"2\"/><row r=\"3\"><c><v>3</v></c></row>" + kTail},
      // Rows without a number follow the one before; empty rows count.
      {__LINE__, kHead + "<row><c/></row><row/><row spans=\"1:2\"><c/></row>" + kTail, 3,
       kHead + "<row r=\"2\"/><row spans=\"1:2\"><c/></row>" + kTail},
      // Nothing to drop: the part is unchanged.
      {__LINE__, kHead + "<row r=\"4\"/>" + kTail, 3, kHead + "<row r=\"4\"/>" + kTail},
      // Prefixed names, a prefixed r, and an xmlns:r that is no row number.
      {__LINE__, "<x:worksheet xmlns:x=\"u\"><x:sheetData><x:row xmlns:r=\"9\" x:r=\"1\">"
                 "<x:c><x:v>1</x:v></x:c></x:row><x:row r=\"5\"/></x:sheetData></x:worksheet>",
       3, "<x:worksheet xmlns:x=\"u\"><x:sheetData><row r=\"1\"/><x:row r=\"5\"/>"
          "</x:sheetData></x:worksheet>"},
      // Comments, CDATA and processing instructions hiding markup, and a '>'
      // in an attribute value, within and between dropped rows.
      {__LINE__, "<!-- <sheetData> --><worksheet a='>'><![CDATA[<sheetData>]]><sheetData>"
                 "<!-- <row r=\"9\"> --><row r='1' x='a>b'><c><is><t>"
                 "<![CDATA[</row><row r=\"9\">]]></t></is></c><?pi </row>?></row>"
                 "<?pi <row r=\"9\"/>?><row r=\"7\"/>" + kTail,
       3, "<!-- <sheetData> --><worksheet a='>'><![CDATA[<sheetData>]]><sheetData>"
          "<row r=\"1\"/><row r=\"7\"/>" + kTail},
      // Row numbers as the reader parses them: zero, negative, not a number.
      {__LINE__, kHead + "<row r=\"-3\"/><row r=\"0\"/><row r=\" 1\"/><row r=\"2\"/>" + kTail, 3,
       kHead + "<row r=\"2\"/>" + kTail},
      // A nested row or sheet data element goes to expat with its whole row.
      {__LINE__, kHead + "<row r=\"1\"/><row r=\"2\"><row r=\"9\"/></row>" + kTail, 3,
       kHead + "<row r=\"1\"/><row r=\"2\"><row r=\"9\"/></row>" + kTail},
      {__LINE__, kHead + "<row r=\"1\"><x:sheetData/></row>" + kTail, 3,
       kHead + "<row r=\"1\"><x:sheetData/></row>" + kTail},
      // So do a mismatched end tag, a reference in r, an unknown <! construct.
      {__LINE__, kHead + "<row r=\"1\"/><row r=\"2\"><c></v></row>" + kTail, 3,
       kHead + "<row r=\"1\"/><row r=\"2\"><c></v></row>" + kTail},
      {__LINE__, kHead + "<row r=\"&#50;\"/><row/>" + kTail, 3,
       kHead + "<row r=\"&#50;\"/><row/>" + kTail},
      {__LINE__, kHead + "<row r=\"1\"><!ELEMENT x ANY></row>" + kTail, 3,
       kHead + "<row r=\"1\"><!ELEMENT x ANY></row>" + kTail},
      // Cells, rows or phonetic runs before the sheet data, a document type,
      // UTF-16: unchanged.
      {__LINE__, "<worksheet><rPh><sheetData><row r=\"1\"/><row/></sheetData></rPh></worksheet>",
       3, "<worksheet><rPh><sheetData><row r=\"1\"/><row/></sheetData></rPh></worksheet>"},
      {__LINE__, "<worksheet><c r=\"A1\"/><sheetData><row r=\"1\"/>" + kTail, 3,
       "<worksheet><c r=\"A1\"/><sheetData><row r=\"1\"/>" + kTail},
      {__LINE__, "<!DOCTYPE w><worksheet><sheetData><row r=\"1\"/>" + kTail, 3,
       "<!DOCTYPE w><worksheet><sheetData><row r=\"1\"/>" + kTail},
      {__LINE__, std::string("<\0w\0>\0<\0/\0w\0>\0", 14), 3,
       std::string("<\0w\0>\0<\0/\0w\0>\0", 14)},
      // Cut off inside a dropped row: that row goes to expat, which refuses it.
      {__LINE__, kHead + "<row r=\"1\"/><row r=\"2\"><c><v>1", 3,
       kHead + "<row r=\"1\"/><row r=\"2\"><c><v>1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line);
    for (std::size_t piece = 1; piece <= c.part.size(); ++piece) {
      ASSERT_EQ(skipped(c.part, c.first_row, piece), c.expected) << "pieces of " << piece;
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

TEST(RowSkipper, RangesBelowSkippedRowsReadAsWritten) {
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
TEST(RowSkipper, ReadsWhatTheFullParseReads) {
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

}  // namespace
}  // namespace kestra::import
