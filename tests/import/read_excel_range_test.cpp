// The range reader over workbooks written by other programs (LibreOffice
// Calc fixtures, libxlsxwriter at test time, plain CSV text), its control flow
// over the automation interface, and damaged or hostile files.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "import/spreadsheet.h"
#include "import/workbook_files.h"
#include "support/system_files.h"

namespace kestra::import {
namespace {

using test::excel_tab;
using test::fixture;
using test::TempDir;
using test::write_file;
using test::write_one_sheet_xlsx;
using test::XlsxWriter;

struct ReadResult {
  int status;
  std::vector<double> values;
  int rows = 0, cols = 0;
};

ReadResult read(const std::string& path, int sheet, const char* range) {
  TAB_GR table{0, 0, nullptr};
  ReadResult result{read_excel_range(path.c_str(), excel_tab(sheet, range), &table), {}};
  if (table.values) {
    result.values.assign(table.values, table.values + table.rows * table.cols);
    result.rows = table.rows;
    result.cols = table.cols;
  }
  FreeTabGr(&table);
  return result;
}

void expect_values(const ReadResult& result, int rows, int cols,
                   const std::vector<double>& expected) {
  ASSERT_EQ(result.status, KESTRA_OK);
  EXPECT_EQ(result.rows, rows);
  EXPECT_EQ(result.cols, cols);
  EXPECT_EQ(result.values, expected);
}

// The first worksheet of the LibreOffice fixtures (calc_saved.fods saved as
// .xls and .xlsx), A1:D4.
const std::vector<double> kCalcSheet = {
    1,       2,
    3,       -4.75,  // numbers
    3.5,     3.5,
    1.234,   0,  // '3,5', 3.5, '1,234.5', an empty cell
    3,       0.25,
    7.5,     1234567890123456789.0,  // =A1+B1, =A1/4, ="7,"&"5", a 23-digit text cut to 19
    1,       0,
    1234567, 0.1,  // TRUE (stored as 1), 'abc', numbers
};

TEST(ReadExcelRange, ReadsLibreOfficeXlsx) {
  expect_values(read(fixture("calc_saved.xlsx"), 1, "A1:D4"), 4, 4, kCalcSheet);
  expect_values(read(fixture("calc_saved.xlsx"), 2, "$B$1:$C$2"), 2, 2, {20, 30, 50, 60});
}

// The same dates in a 1900-system and a 1904-system workbook (openpyxl):
// OLE dates in both, as the automation path gives them; times as they are.
TEST(ReadExcelRange, GivesDatesOfBothDateSystemsAsOleDates) {
  const std::string folder = std::string(KESTRA_TEST_DATA) + "/table/";
  const std::vector<double> expected = {23459, 1.5, (14 * 60 + 40) / 1440.0,
                                        39654, 2.5, (9 * 3600 + 15 * 60 + 30) / 86400.0};
  for (const char* name : {"openpyxl_1900.xlsx", "openpyxl_1904.xlsx"}) {
    SCOPED_TRACE(name);
    expect_values(read(folder + name, 1, "A2:C3"), 2, 3, expected);
  }
}

// Gnumeric's Excel 5.0/95 files give the numbers of their Excel 97 twins:
// numbers, texts read as numbers or 0, dates as OLE dates, booleans.
TEST(ReadExcelRange, ReadsExcel95WorkbooksAsTheirExcel97Twins) {
  const std::string folder = std::string(KESTRA_TEST_DATA) + "/table/";
  const struct {
    const char* biff5;
    const char* biff8;
    const char* range;
    int rows, cols;
  } pairs[] = {
      {"gnumeric_sales_biff7.xls", "gnumeric_sales.xls", "A1:G4", 4, 7},
      {"gnumeric_cyrillic_biff7.xls", "gnumeric_cyrillic.xls", "A1:C4", 4, 3},
  };
  for (const auto& pair : pairs) {
    SCOPED_TRACE(pair.biff5);
    const ReadResult twin = read(folder + pair.biff8, 1, pair.range);
    ASSERT_EQ(twin.status, KESTRA_OK);
    expect_values(read(folder + pair.biff5, 1, pair.range), pair.rows, pair.cols, twin.values);
  }
  // The dates are numbers for the exports, not gaps.
  EXPECT_EQ(read(folder + "gnumeric_cyrillic_biff7.xls", 1, "C2:C2").values,
            std::vector<double>{45413});  // 2024-05-01
}

TEST(ReadExcelRange, ReadsLibreOfficeXls) {
  std::vector<double> expected = kCalcSheet;
  expected[10] = 0;  // Calc's .xls export stores no text result for ="7,"&"5", and 0 as its value
  expect_values(read(fixture("calc_saved.xls"), 1, "A1:D4"), 4, 4, expected);
  expect_values(read(fixture("calc_saved.xls"), 2, "B1D2"), 2, 3, {20, 30, 0, 50, 60, 0});
}

// calc_long.xls: 2,000 rows of a number n, the text "n,25" and a longer
// text, saved by Calc: its workbook stream lies in regular sectors and its
// shared strings run over several CONTINUE records.
TEST(ReadExcelRange, ReadsSharedStringsAcrossContinueRecords) {
  expect_values(read(fixture("calc_long.xls"), 1, "A1:B2"), 2, 2, {1, 1.25, 2, 2.25});
  expect_values(read(fixture("calc_long.xls"), 1, "A1999:C2001"), 3, 3,
                {1999, 1999.25, 0, 2000, 2000.25, 0, 0, 0, 0});
}

TEST(ReadExcelRange, RefusesSheetIndicesOutsideTheWorkbook) {
  for (const char* name : {"calc_saved.xls", "calc_saved.xlsx"}) {
    for (int sheet : {0, -1, 3}) {
      SCOPED_TRACE(testing::Message() << name << " sheet " << sheet);
      EXPECT_EQ(read(fixture(name), sheet, "A1:B2").status, KESTRA_WORKBOOK);
    }
  }
}

// A number whose stored text is longer than the 19 characters a cell text keeps.
constexpr double kLongNumber = -0.0001234567890123456;

// The double an .xlsx holds for it: libxlsxwriter writes numbers with "%.16g".
double stored(double number) {
  char text[32];
  std::snprintf(text, sizeof text, "%.16g", number);
  return std::strtod(text, nullptr);
}

// Numbers, shared or inline strings, formulas with stored results, booleans,
// empty cells and two worksheets, as libxlsxwriter writes them.
void write_mixed_workbook(const std::string& path, bool inline_strings) {
  XlsxWriter book(path, inline_strings);
  lxw_worksheet* first = book.sheet("First");
  lxw_worksheet* second = book.sheet("Second");
  worksheet_write_number(first, 0, 0, 1.5, nullptr);
  worksheet_write_string(first, 0, 1, "3,5", nullptr);
  worksheet_write_string(first, 0, 2, "1,234.5", nullptr);
  // C1 left empty on purpose (D1 is the next cell written)
  worksheet_write_number(first, 0, 3, kLongNumber, nullptr);
  // The stored result, not what the formula would give now, is read.
  worksheet_write_formula_num(first, 1, 0, "=A1*2", nullptr, 42);
  worksheet_write_boolean(first, 1, 1, 1, nullptr);
  worksheet_write_string(first, 1, 2, "  7e2 apples", nullptr);
  worksheet_write_string(first, 1, 3, "x", nullptr);
  worksheet_write_number(second, 4, 26, 26, nullptr);  // AA5
  worksheet_write_number(second, 4, 27, 27, nullptr);  // AB5
  book.save();
}

TEST(ReadExcelRange, ReadsXlsxWrittenByLibxlsxwriter) {
  for (const bool inline_strings : {false, true}) {
    SCOPED_TRACE(inline_strings ? "inline strings" : "shared strings");
    TempDir folder;
    const std::string path = folder.file("mixed.xlsx");
    write_mixed_workbook(path, inline_strings);
    // The stored double, not its text cut to "-0.0001234567890123".
    ASSERT_NE(stored(kLongNumber), -0.0001234567890123);
    expect_values(
        read(path, 1, "A1:D2"), 2, 4,
        {1.5, 3.5, 1.234, stored(kLongNumber), 42, 0, 700, 0});  // formula result, TRUE, text, text
    expect_values(read(path, 2, "Y5:AB6"), 2, 4, {0, 0, 26, 27, 0, 0, 0, 0});
    EXPECT_EQ(read(path, 3, "A1:B2").status, KESTRA_WORKBOOK);
  }
}

// The sheet index counts worksheets only, as the application's worksheet
// collection does: chart sheets before or between them take no place.
TEST(ReadExcelRange, SheetIndexCountsWorksheetsOnly) {
  TempDir folder;
  const std::string path = folder.file("charts.xlsx");
  {
    XlsxWriter book(path);
    book.chart_sheet("Chart1", "=Data!$A$1:$A$2");
    lxw_worksheet* data = book.sheet("Data");
    book.chart_sheet("Chart2", "=More!$A$1:$A$2");
    lxw_worksheet* more = book.sheet("More");
    worksheet_write_number(data, 0, 0, 1, nullptr);
    worksheet_write_number(more, 0, 0, 2, nullptr);
    book.save();
  }
  expect_values(read(path, 1, "A1:A1"), 1, 1, {1});
  expect_values(read(path, 2, "A1:A1"), 1, 1, {2});
  EXPECT_EQ(read(path, 3, "A1:A1").status, KESTRA_WORKBOOK);
}

TEST(ReadExcelRange, ReadsCsvText) {
  struct Case {
    int line;
    std::string text;
    const char* range;
    std::vector<double> expected;
  } cases[] = {
      {__LINE__, "1,2,3\n4,5,6\n", "A1:C2", {1, 2, 3, 4, 5, 6}},
      {__LINE__, "1,2,3\r\n4,5,6\r\n", "A1:C2", {1, 2, 3, 4, 5, 6}},  // CRLF
      {__LINE__, "\"3,5\",\"1,234.5\"\n", "A1:B1", {3.5, 1.234}},     // quoted commas
      {__LINE__, "\"a\"\"b\",\"x\ny\",9\n", "C1:C1", {9}},  // doubled quotes, a quoted line break
      {__LINE__, "1,,3", "A1:C1", {1, 0, 3}},               // an empty field, no final line break
      {__LINE__,
       "\xEF\xBB\xBF"
       "8,9\n",
       "A1:B1",
       {8, 9}},                                           // a UTF-8 mark before the first field
      {__LINE__, "1\n2\n", "A1:B3", {1, 0, 2, 0, 0, 0}},  // cells past the text are empty
  };
  TempDir folder;
  const std::string path = folder.file("table.csv");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line);
    write_file(path, c.text);
    const ReadResult result = read(path, 1, c.range);
    ASSERT_EQ(result.status, KESTRA_OK);
    EXPECT_EQ(result.values, c.expected);
  }
  EXPECT_EQ(read(path, 2, "A1:B1").status, KESTRA_WORKBOOK);  // a CSV file has one worksheet
}

TEST(ReadExcelRange, FindsTheFileKindFromItsContents) {
  TempDir folder;
  write_mixed_workbook(folder.file("really-xlsx.csv"), false);
  expect_values(read(folder.file("really-xlsx.csv"), 1, "A1:A2"), 2, 1, {1.5, 42});
  write_file(folder.file("really-csv.txt"), "5,6\n");
  expect_values(read(folder.file("really-csv.txt"), 1, "A1:B1"), 1, 2, {5, 6});
  std::filesystem::copy_file(fixture("calc_saved.xls"), folder.file("really-xls.xlsx"));
  expect_values(read(folder.file("really-xls.xlsx"), 2, "A1:A2"), 2, 1, {10, 40});
}

TEST(ReadExcelRange, RefusesFilesNamedAsWorkbooksThatHoldNone) {
  TempDir folder;
  const struct {
    const char* name;
    const char* bytes;
  } cases[] = {
      {"empty.xlsx", ""}, {"empty.xls", ""}, {"text.xlsx", "5,6\n"}, {"TEXT.XLS", "5,6\n"},
      {"page.xls", "<table><tr><td>5</td></tr></table>"}, {"m.xlsm", "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    write_file(folder.file(c.name), c.bytes);
    EXPECT_EQ(read(folder.file(c.name), 1, "A1:B1").status, KESTRA_WORKBOOK);
  }
}

TEST(ReadExcelRange, SniffsTheSeparatorOfText) {
  TempDir folder;
  const struct {
    const char* bytes;
    std::vector<double> expected;
  } cases[] = {
      {"1;2,5;3\n4;5;6\n", {1, 2.5, 3, 4, 5, 6}},
      {"\xEF\xBB\xBF" "1\t2\t3\n4\t5\t6\n", {1, 2, 3, 4, 5, 6}},
      {"1,2,3\n4,5,6\n", {1, 2, 3, 4, 5, 6}},
      {"\"1;2\",2,3\n4,5,6\n", {1, 2, 3, 4, 5, 6}},  // a quoted semicolon is no separator
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    write_file(folder.file("t.csv"), c.bytes);
    expect_values(read(folder.file("t.csv"), 1, "A1:C2"), 2, 3, c.expected);
  }
}

TEST(ReadExcelRange, DamagedOrMissingFilesGiveWorkbookStatus) {
  TempDir folder;
  const auto bytes_of = [](const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  };
  const std::string xlsx = bytes_of(fixture("calc_saved.xlsx"));
  const std::string xls = bytes_of(fixture("calc_saved.xls"));
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"truncated zip", xlsx.substr(0, xlsx.size() / 2)},
      {"zip signature only", "PK\x03\x04"},
      {"truncated compound file", xls.substr(0, xls.size() / 2)},
      {"compound header only", xls.substr(0, 512)},
      {"4096-byte sectors in a 600-byte file",
       xls.substr(0, 0x1E) + '\x0C' + xls.substr(0x1F, 600 - 0x1F)},
      {"binary", std::string("\x00\x01\x02\x03", 4)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    write_file(folder.file("damaged"), c.bytes);
    EXPECT_EQ(read(folder.file("damaged"), 1, "A1:B2").status, KESTRA_WORKBOOK);
  }
  EXPECT_EQ(read(folder.file("missing.xlsx"), 1, "A1:B2").status, KESTRA_WORKBOOK);
  EXPECT_EQ(read(folder.file(""), 1, "A1:B2").status, KESTRA_WORKBOOK);  // a folder
  // Opening a pipe without a writer would wait for one forever.
  const test::BlockingPipe pipe(folder, "pipe.xlsx");
  ASSERT_TRUE(pipe.made());
  EXPECT_EQ(read(pipe.path(), 1, "A1:B2").status, KESTRA_WORKBOOK);
}

TEST(ReadExcelRange, ReadsSheetPartsOfAnyShape) {
  struct Case {
    int line;
    std::string sheet;
    const char* range;
    std::vector<double> expected;
  } cases[] = {
      // Rows and cells without references follow the ones before.
      {__LINE__,
       "<worksheet><sheetData><row><c><v>1</v></c><c><v>2</v></c></row>"
       "<row><c r=\"B2\"><v>4</v></c></row></sheetData></worksheet>",
       "A1:B2",
       {1, 2, 0, 4}},
      // Inline strings, phonetic runs left out, error values and dates as text.
      {__LINE__,
       "<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><r><t>1</t></r>"
       "<r><t>2,5</t></r><rPh><t>9</t></rPh></is></c><c r=\"B1\" t=\"e\"><v>#DIV/0!</v></c>"
       "<c r=\"C1\" t=\"d\"><v>2024-05-01</v></c></row></sheetData></worksheet>",
       "A1:C1",
       {12.5, 0, 2024}},
      // Reading stops at the first row past the range: what follows is never parsed.
      {__LINE__,
       "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>7</v></c></row>"
       "<row r=\"4\"><c r=\"A4\"><v>8</v></c></row><<<not xml",
       "A1:A3",
       {7, 0, 0}},
      // A shared string cell without a shared strings part is empty.
      {__LINE__,
       "<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
       "<c r=\"B1\"><v>5</v></c></row></sheetData></worksheet>",
       "A1:B1",
       {0, 5}},
  };
  TempDir folder;
  const std::string path = folder.file("shaped.xlsx");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line);
    write_one_sheet_xlsx(path, c.sheet);
    const ReadResult result = read(path, 1, c.range);
    ASSERT_EQ(result.status, KESTRA_OK);
    EXPECT_EQ(result.values, c.expected);
  }
}

TEST(ReadExcelRange, HostileSheetPartsGiveWorkbookStatus) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  const std::string laughs =
      "<!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
      "<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"str\"><v>&b;</v></c></row>"
      "</sheetData></worksheet>";
  struct Case {
    const char* what;
    std::string sheet;
  } cases[] = {
      {"nested without end", "<worksheet><sheetData>" + deep},
      {"a document type with entities", laughs},
      {"a cell reference that is none",
       "<worksheet><sheetData><row r=\"1\"><c r=\"1A\"><v>1</v>"
       "</c></row></sheetData></worksheet>"},
      {"cut off inside the range", "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>1"},
  };
  TempDir folder;
  const std::string path = folder.file("hostile.xlsx");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    write_one_sheet_xlsx(path, c.sheet);
    EXPECT_EQ(read(path, 1, "A1:B2").status, KESTRA_WORKBOOK);
  }
}

TEST(ReadExcelRange, ReadsThreeRowsOfAMillionRowSheet) {
  std::string sheet = "<worksheet><sheetData>";
  for (int row = 1; row <= 1000000; ++row)
    sheet += "<row><c><v>" + std::to_string(row % 10) + "</v></c></row>";
  sheet += "</sheetData></worksheet>";
  TempDir folder;
  const std::string path = folder.file("tall.xlsx");
  write_one_sheet_xlsx(path, sheet);
  expect_values(read(path, 1, "A1:A3"), 3, 1, {1, 2, 3});
}

TEST(ReadExcelRange, RefusesZipEntriesClaimingGigabytes) {
  TempDir folder;
  const std::string path = folder.file("claims.xlsx");
  write_one_sheet_xlsx(path, "<worksheet><sheetData/></worksheet>");
  std::ifstream in(path, std::ios::binary);
  std::string bytes(std::istreambuf_iterator<char>(in), {});
  // Every central directory record claims 3 GiB of inflated data.
  for (std::size_t at = bytes.find("PK\x01\x02"); at != std::string::npos;
       at = bytes.find("PK\x01\x02", at + 4)) {
    bytes.replace(at + 24, 4, "\x00\x00\x00\xC0", 4);
  }
  write_file(path, bytes);
  EXPECT_EQ(read(path, 1, "A1:B2").status, KESTRA_WORKBOOK);
}

// An automation backend that logs every step and fails where told to.
struct Script {
  std::string log;
  std::string fail_at;           // a step or a cell address
  std::string out_of_memory_at;  // where memory runs out instead

  void step(const std::string& name) {
    log += name + " ";
    if (fail_at == name) fail("step failed");
    if (out_of_memory_at == name) throw std::bad_alloc();
  }
};

class ScriptedSheet final : public Worksheet {
 public:
  explicit ScriptedSheet(Script& script) : script_(script) {}
  Cell read_cell(const char* address) override {
    script_.step(address);
    return Cell::of_text(std::to_string(script_.log.size()));
  }

 private:
  Script& script_;
};

class ScriptedBook final : public Workbook {
 public:
  explicit ScriptedBook(Script& script) : script_(script) {}
  std::unique_ptr<Worksheet> worksheet(int index, const CellRange&) override {
    script_.step("sheet" + std::to_string(index));
    return std::make_unique<ScriptedSheet>(script_);
  }
  void close() override { script_.step("close"); }

 private:
  Script& script_;
};

class ScriptedApp final : public SpreadsheetApp {
 public:
  explicit ScriptedApp(Script& script) : script_(script) { script_.step("start"); }
  void hide() override { script_.step("hide"); }
  std::unique_ptr<Workbook> open_workbook(const char*) override {
    script_.step("open");
    return std::make_unique<ScriptedBook>(script_);
  }
  void quit() override { script_.step("quit"); }

 private:
  Script& script_;
};

TEST(ReadExcelRange, DrivesTheApplicationStepByStep) {
  struct Case {
    int line;
    const char* range;
    const char* fail_at;
    int status;
    const char* log;
  } cases[] = {
      {__LINE__, "Y1:AB1", "", KESTRA_OK, "start hide open sheet2 Y1 Z1 AA1 AB1 close quit "},
      {__LINE__, "B2:C3", "", KESTRA_OK, "start hide open sheet2 B2 C2 B3 C3 close quit "},
      // A failure in the section skips the close; the application still quits.
      {__LINE__, "B2:C3", "C2", KESTRA_WORKBOOK, "start hide open sheet2 B2 C2 quit "},
      {__LINE__, "B2:C3", "sheet2", KESTRA_WORKBOOK, "start hide open sheet2 quit "},
      {__LINE__, "B2:C3", "close", KESTRA_WORKBOOK,
       "start hide open sheet2 B2 C2 B3 C3 close quit "},
      // Failures around the section are reported as well.
      {__LINE__, "B2:C3", "start", KESTRA_WORKBOOK, "start "},
      {__LINE__, "B2:C3", "hide", KESTRA_WORKBOOK, "start hide quit "},  // started, so it quits
      {__LINE__, "B2:C3", "quit", KESTRA_WORKBOOK,
       "start hide open sheet2 B2 C2 B3 C3 close quit "},
      // A malformed range starts nothing.
      {__LINE__, "b2:d4", "", KESTRA_BAD_RANGE, ""},
      {__LINE__, "B2", "", KESTRA_BAD_RANGE, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line);
    Script script;
    script.fail_at = c.fail_at;
    TAB_GR table{0, 0, nullptr};
    const int status = read_excel_range("book.xlsx", excel_tab(2, c.range), &table,
                                        [&] { return std::make_unique<ScriptedApp>(script); });
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(script.log, c.log);
    EXPECT_EQ(table.values != nullptr, status == KESTRA_OK);
    FreeTabGr(&table);
  }
}

// Running out of memory is no automation failure and goes on to the caller,
// but only after the application was told to quit.
TEST(ReadExcelRange, QuitsBeforeRunningOutOfMemoryGoesOn) {
  for (const char* step : {"open", "sheet2", "C2", "close"}) {
    SCOPED_TRACE(step);
    Script script;
    script.out_of_memory_at = step;
    TAB_GR table{0, 0, nullptr};
    EXPECT_THROW(static_cast<void>(read_excel_range(
                     "book.xlsx", excel_tab(2, "B2:C3"), &table,
                     [&] { return std::make_unique<ScriptedApp>(script); })),
                 std::bad_alloc);
    EXPECT_TRUE(script.log.ends_with(std::string(step) + " quit ")) << script.log;
    EXPECT_EQ(table.values, nullptr);
  }
}

TEST(ReadExcelRange, StoresCellsRowByRow) {
  Script script;
  TAB_GR table{0, 0, nullptr};
  ASSERT_EQ(read_excel_range("book.xlsx", excel_tab(1, "A1:B2"), &table,
                             [&] { return std::make_unique<ScriptedApp>(script); }),
            KESTRA_OK);
  // Each cell's text is the log length when it was read: "start hide open sheet1 A1 " is 26.
  ASSERT_EQ(table.rows, 2);
  ASSERT_EQ(table.cols, 2);
  EXPECT_EQ(std::vector<double>(table.values, table.values + 4),
            (std::vector<double>{26, 29, 32, 35}));
  FreeTabGr(&table);
}

// A host may fill all 20 characters of the range text without a terminator:
// the 20th character counts, the bytes after the record do not.
TEST(ReadExcelRange, ReadsTheRangeTextWithinItsTwentyCharacters) {
  struct Padded {
    EXCEL_TAB range;
    char after[4];
  } padded{};
  static_assert(offsetof(Padded, after) == sizeof(EXCEL_TAB));
  std::memcpy(padded.range.cellRange, "$$$$$$$$$$$$$$$A1:B2", sizeof padded.range.cellRange);
  std::memcpy(padded.after, "9", 2);  // would make the second row 29
  padded.range.sheetIndex = 1;
  Script script;
  TAB_GR table{0, 0, nullptr};
  ASSERT_EQ(read_excel_range("book.xlsx", padded.range, &table,
                             [&] { return std::make_unique<ScriptedApp>(script); }),
            KESTRA_OK);
  EXPECT_EQ(table.rows, 2);
  EXPECT_EQ(table.cols, 2);
  FreeTabGr(&table);
}

}  // namespace
}  // namespace kestra::import
