// HTML written by a spreadsheet program (LibreOffice Calc 7.4, "HTML
// (StarCalc)" export): attributes on every cell, a style block in the head,
// text cells and formatted numbers, one table per sheet.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/html_test_files.h"

namespace kestra::test {
namespace {

using namespace html_files;

struct Case {
  const char* file;
  int rows;
  int cols;
  std::vector<double> values;
};

TEST(ReadHtmlTable, ReadsSpreadsheetExports) {
  const Case cases[] = {
      // Two rows of three plain numbers.
      {"html_calc_plain.html", 2, 3, {1, 2, 3, 4, 5, 6}},
      // A label row and a label column: their cells read as 0.
      {"html_calc_labels.html", 3, 4, {0, 0, 0, 0, 0, 12.5, 14, 9.75, 0, -3, 0.5, 1000}},
      // A bold 8 is wrapped in <b> (0), "1,234.50" reads as 1, "25%" as 25 and
      // "n/a" as 0; the second sheet's table is not read.
      {"html_calc_formats.html", 2, 3, {7, 0, 1, 25, -2.5, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const ReadResult result = read_html_file(std::string(KESTRA_TEST_DATA "/import/") + c.file);
    EXPECT_EQ(result.status, KESTRA_OK);
    EXPECT_EQ(result.rows, c.rows);
    EXPECT_EQ(result.cols, c.cols);
    EXPECT_EQ(result.values, c.values);
  }
}

}  // namespace
}  // namespace kestra::test
