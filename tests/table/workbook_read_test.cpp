// Workbooks through the table reader: the used area or a range, sheets,
// dates as serial numbers, booleans as 1 and 0, and files that are none.
#include <gtest/gtest.h>

#include "import/workbook_files.h"
#include "table/table_reader.h"
#include "table/table_files.h"

namespace kestra::test {
namespace {

// A sheet whose used area is C3:E5: labels, names, a date, booleans, a text.
void write_sales_book(const std::string& path) {
  XlsxWriter book(path);
  lxw_worksheet* first = book.sheet("First");
  worksheet_write_string(first, 2, 3, "Q1", nullptr);
  worksheet_write_string(first, 2, 4, "Q2", nullptr);
  worksheet_write_string(first, 3, 2, "North", nullptr);
  worksheet_write_number(first, 3, 3, 1.5, nullptr);
  lxw_datetime day = {2024, 5, 1, 0, 0, 0};
  worksheet_write_datetime(first, 3, 4, &day, nullptr);
  worksheet_write_string(first, 4, 2, "South", nullptr);
  worksheet_write_boolean(first, 4, 3, 1, nullptr);
  worksheet_write_boolean(first, 4, 4, 0, nullptr);
  lxw_worksheet* second = book.sheet("Second");
  worksheet_write_number(second, 0, 0, 7, nullptr);
  worksheet_write_string(second, 0, 1, "seven", nullptr);
  worksheet_write_formula_num(second, 1, 0, "=A1*2", nullptr, 14);
  book.sheet("Empty");
  lxw_worksheet* years = book.sheet("Years");
  worksheet_write_number(years, 0, 1, 2019, nullptr);
  worksheet_write_number(years, 0, 2, 2020.5, nullptr);
  worksheet_write_string(years, 1, 0, "North", nullptr);
  worksheet_write_number(years, 1, 1, 1, nullptr);
  worksheet_write_number(years, 1, 2, 2, nullptr);
  book.save();
}

TEST(ReadWorkbook, ReadsTheUsedAreaOrTheRange) {
  TempDir dir;
  const std::string path = dir.file("sales.xlsx");
  write_sales_book(path);
  TableOptions options = as_laid_out();
  // 2024-05-01 is serial 45413; TRUE and FALSE read 1 and 0.
  const TableRead used = read_table(path, options);
  ASSERT_EQ(used.status, KESTRA_OK) << used.message;
  EXPECT_EQ(summary(used.table), "L|N|Q1,Q2\nNorth:1.5,45413\nSouth:1,0");
  options.range = "D4:E5";
  EXPECT_EQ(summary(read_table(path, options).table), "-|-|A,B\n1:1.5,45413\n2:1,0");
  options.range = "";
  options.sheet = 2;
  // A formula cell holds its stored result; a text among numbers is a gap.
  EXPECT_EQ(summary(read_table(path, options).table), "-|-|A,B\n1:7,_\n2:14,_");
  // Numbers beside an empty corner label the columns.
  options.sheet = 4;
  EXPECT_EQ(summary(read_table(path, options).table), "L|N|2019,2020.5\nNorth:1,2");
}

TEST(ReadWorkbook, ReportsWhatCannotBeRead) {
  TempDir dir;
  const std::string path = dir.file("sales.xlsx");
  write_sales_book(path);
  TableOptions options = as_laid_out();
  options.sheet = 3;
  EXPECT_EQ(read_table(path, options).status, KESTRA_BAD_TABLE);  // an empty sheet
  options.sheet = 5;
  EXPECT_EQ(read_table(path, options).status, KESTRA_WORKBOOK);
  options.sheet = 1;
  options.range = "A1:";
  EXPECT_EQ(read_table(path, options).status, KESTRA_BAD_RANGE);
  // Named as workbooks, holding none: refused, not read as empty text.
  for (const char* name : {"empty.xlsx", "empty.xls", "text.xls"}) {
    SCOPED_TRACE(name);
    write_bytes(dir.file(name), std::string(name).starts_with("text") ? "1,2\n" : "");
    const TableRead read = read_table(dir.file(name));
    EXPECT_EQ(read.status, KESTRA_WORKBOOK);
    EXPECT_FALSE(read.message.empty());
  }
  EXPECT_EQ(read_table(dir.file("missing.xlsx")).status, KESTRA_WORKBOOK);
}

TEST(ReadWorkbook, FindsAWorkbookByItsContent) {
  TempDir dir;
  for (const char* name : {"sales.dat", "sales.csv", "sales.html"}) {
    SCOPED_TRACE(name);
    write_sales_book(dir.file(name));
    EXPECT_EQ(summary(read_table(dir.file(name), as_laid_out()).table), "L|N|Q1,Q2\nNorth:1.5,45413\nSouth:1,0");
  }
  // A web page saved under a workbook's name is read as the page it is.
  write_bytes(dir.file("page.xls"), "<html><body><table><tr><td>4</td></tr></table>");
  EXPECT_EQ(summary(read_table(dir.file("page.xls"), as_laid_out()).table), "-|-|A\n1:4");
}

TEST(ReadWorkbook, ShowsDateCellsAsTheirDays) {
  const struct {
    int line;
    double ole_date;
    import::DateKind kind;
    const char* text;
  } cases[] = {
      {__LINE__, 39654, import::DateKind::date, "2008-07-25"},
      {__LINE__, 39654.25, import::DateKind::date_time, "2008-07-25 06:00:00"},
      {__LINE__, 0.6111111111111112, import::DateKind::time, "14:40:00"},
      {__LINE__, 61, import::DateKind::date, "1900-03-01"},
      // Below 60 the 1900 system counts a 29 February 1900 that never was.
      {__LINE__, 1, import::DateKind::date, "1900-01-01"},
      {__LINE__, 1462, import::DateKind::date, "1904-01-01"},
      {__LINE__, -1, import::DateKind::date, "1899-12-29"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line);
    EXPECT_EQ(table::date_text(c.ole_date, c.kind), c.text);
  }
}

}  // namespace
}  // namespace kestra::test
