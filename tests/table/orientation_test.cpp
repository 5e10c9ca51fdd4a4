// Which way a table holds its series: the columns when there are more data
// rows than data columns, else the rows; the caller may say which. Files of
// other programs are read the way each one's shape says.
#include <gtest/gtest.h>

#include "table/table_files.h"

namespace kestra::test {
namespace {

TableOptions with_series(Series series) {
  TableOptions options;
  options.series = series;
  return options;
}

TEST(TableOrientation, FollowsTheShapeUnlessTold) {
  const std::string tall = "Month,Plan,Actual\nJan,10,12\nFeb,11,9\nMar,14,15\n";
  const std::string square = "x,a,b\nr,1,2\ns,3,4\n";
  const struct {
    int line;
    const std::string& csv;
    Series series;
    const char* expected;  // summary()
    bool turned;
  } cases[] = {
      {__LINE__, tall, Series::automatic, "L|N|Jan,Feb,Mar\nPlan:10,11,14\nActual:12,9,15", true},
      {__LINE__, tall, Series::rows, "L|N|Plan,Actual\nJan:10,12\nFeb:11,9\nMar:14,15", false},
      {__LINE__, square, Series::automatic, "L|N|a,b\nr:1,2\ns:3,4", false},
      {__LINE__, square, Series::columns, "L|N|r,s\na:1,3\nb:2,4", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line);
    const TableRead read = read_bytes("t.csv", c.csv, with_series(c.series));
    ASSERT_EQ(read.status, KESTRA_OK) << read.message;
    EXPECT_EQ(summary(read.table), c.expected);
    EXPECT_EQ(read.table.series_in_columns, c.turned);
    EXPECT_EQ(read.table.corner, c.csv.substr(0, c.csv.find(',')));
  }
}

// Each fixture that another program wrote, and whether its columns are
// its series by the rule (data rows x data columns).
TEST(TableOrientation, OfTheFilesOtherProgramsWrote) {
  const std::string data = KESTRA_TEST_DATA;
  const struct {
    const char* file;
    bool turned;
  } cases[] = {
      {"/table/gnumeric_sales.xlsx", false},     // 3 x 6
      {"/table/gnumeric_sales.xls", false},
      {"/table/gnumeric_sales.html", false},
      {"/table/gnumeric_sales_semicolon.csv", false},
      {"/table/excel_style_web_page.html", false},  // 2 x 3
      {"/table/r_write_csv.csv", true},             // 5 x 3
      {"/table/r_write_table.txt", true},
      {"/table/r_comment_first.csv", true},         // 5 x 2
      {"/table/r_aligned_columns.dat", true},       // 5 x 3
      {"/table/pandas_years.csv", true},            // 4 x 2
      {"/table/pandas_dates.xlsx", true},           // 3 x 2
      {"/table/xlwt_dates.xls", true},              // 3 x 2
      {"/table/python_gb2312.html", true},          // 3 x 1
      {"/import/calc_long.xls", true},              // 2000 x 3
      {"/import/calc_saved.xlsx", false},           // 4 x 4
      {"/import/html_calc_labels.html", false},     // 2 x 3
      {"/../../docs/gallery/data/revenue.html", false},  // 3 x 4
      {"/../../docs/gallery/data/visitors.xlsx", false}, // 3 x 5
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const TableRead read = read_table(data + c.file);
    ASSERT_EQ(read.status, KESTRA_OK) << read.message;
    EXPECT_EQ(read.table.series_in_columns, c.turned);
  }
}

}  // namespace
}  // namespace kestra::test
