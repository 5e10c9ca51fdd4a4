// ReadHtmlTable: opening the file, cutting the cell numbers into rows, and the
// refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/html_test_files.h"

namespace kestra::test {
namespace {

using namespace html_files;

std::string repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

struct Case {
  int line;
  std::string html;
  int status;
  int rows;
  int cols;
  std::vector<double> values;
};

TEST(ReadHtmlTable, ReadsTheCellNumbersOfTheFirstTable) {
  const std::string header = "<tr><th>a</th><th>b</th><th>c</th><th>d</th></tr>";
  const std::string row = "<tr><td>1</td><td>2</td><td>3</td><td>4</td></tr>";
  const Case cases[] = {
      {__LINE__,
       "<table><tr><td>1</td><td>2</td></tr><tr><td>3</td><td>4</td></tr></table>",
       KESTRA_OK,
       2,
       2,
       {1, 2, 3, 4}},
      // A header row of "th" cells adds a row but no cells: 4 rows of 3.
      {__LINE__,
       "<table>" + header + row + row + row + "</table>",
       KESTRA_OK,
       4,
       3,
       {1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4}},
      // A row with one cell more shifts the cells after it; the last is dropped.
      {__LINE__,
       "<tr><td>1<td>2<td>3</tr><tr><td>4<td>5<td>6<td>7</tr><tr><td>8<td>9<td>10</tr>",
       KESTRA_OK,
       3,
       3,
       {1, 2, 3, 4, 5, 6, 7, 8, 9}},
      // "tr" and "td" count without a "table" tag, and empty rows count.
      {__LINE__, "<tr></tr><tr><td>1<td>2<td>3<td>4</td></tr>", KESTRA_OK, 2, 2, {1, 2, 3, 4}},
      // Fewer cells than rows: no columns. The reader succeeds; drawing refuses.
      {__LINE__, "<tr></tr><tr><td>1</td></tr>", KESTRA_OK, 2, 0, {}},
      // The file ends inside the last cell: its slot is 0.
      {__LINE__, "<tr><td>1</td><td>2", KESTRA_OK, 1, 2, {1, 0}},
      {__LINE__,
       "<tr><td>5</td><td>6</td><td>7</td></tr></table><tr><td>8",
       KESTRA_OK,
       1,
       3,
       {5, 6, 7}},
      // Tag names: lower-cased and ended by a space, but not by a line break.
      {__LINE__, "<tr><TD ALIGN=right>5</TD><td>6</td></tr>", KESTRA_OK, 1, 2, {5, 6}},
      {__LINE__, "<tr><td>1</td><td\nalign=right>5</td><td>6</td></tr>", KESTRA_OK, 1, 2, {1, 6}},
      // The number comes from the text between "td" and the next '<' only.
      {__LINE__, "<tr><td><b>7</b></td><td>8</td></tr>", KESTRA_OK, 1, 2, {0, 8}},
      {__LINE__,
       "<tr><td> 12.5 kg</td><td>3,5</td><td>&minus;4</td></tr>",
       KESTRA_OK,
       1,
       3,
       {12.5, 3, 0}},
      {__LINE__,
       "<tr><td>" + std::string(254, ' ') + "789</td><td>1</td></tr>",
       KESTRA_OK,
       1,
       2,
       {7, 1}},
      // A '>' in an attribute ends the tag early.
      {__LINE__, "<tr><td title='a>b'>5</td><td>6</td></tr>", KESTRA_OK, 1, 2, {0, 6}},
      // A nested table's end ends the scan: two rows, two cells.
      {__LINE__,
       "<table><tr><td><table><tr><td>2</td></tr></table></td><td>3</td></tr></table>",
       KESTRA_OK,
       2,
       1,
       {0, 2}},
      // Refusals.
      {__LINE__, "", KESTRA_HTML_NO_TABLE, 0, 0, {}},
      {__LINE__, "<html><body><p>12</p><th>3</th></body></html>", KESTRA_HTML_NO_TABLE, 0, 0, {}},
      {__LINE__, "<table></table>", KESTRA_HTML_NO_TABLE, 0, 0, {}},
      {__LINE__, "<table><tr></tr></table>", KESTRA_HTML_NO_TABLE, 0, 0, {}},
      {__LINE__, "<td>1</td><td>2</td>", KESTRA_HTML_NO_TABLE, 0, 0, {}},
      {__LINE__, "<tr><td>1</td><td>2</td></tr><!-- a < b -->", KESTRA_HTML_NO_TABLE, 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const ReadResult result = read_html(c.html);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.rows, c.rows);
    EXPECT_EQ(result.cols, c.cols);
    EXPECT_EQ(result.values, c.values);
  }
}

TEST(ReadHtmlTable, SlotsBeyondTheStoredItemsAreZero) {
  // "table", "tr", then 498 cells of two items each and the "td" of the
  // 499th: 999 items. Its value and everything after are dropped.
  const ReadResult result = read_html("<table><tr>" + repeat("<td>7", 600) + "</table>");
  ASSERT_EQ(result.status, KESTRA_OK);
  EXPECT_EQ(result.rows, 1);
  ASSERT_EQ(result.cols, 499);
  EXPECT_EQ(result.values, [] {
    std::vector<double> v(499, 7.0);
    v.back() = 0.0;
    return v;
  }());
}

TEST(ReadHtmlTable, ReadsAcrossBlockBoundaries) {
  // The "table" tag straddles the end of the first 64 KiB block; the rows
  // after it fill the second.
  std::string html;
  std::vector<double> expected;
  for (int i = 0; html.size() < 300000; ++i) {
    html += "<tr>" + std::string(static_cast<std::size_t>(i % 97), ' ') + "<td align=right>" +
            std::to_string(i) + ".25</td><TD>-" + std::to_string(i) + "</td></tr>\r\n";
    expected.push_back(i + 0.25);
    expected.push_back(-i);
    if (expected.size() >= 998) break;
  }
  html = std::string(65530, ' ') + "<table>" + html + "</table>";
  const ReadResult result = read_html(html);
  ASSERT_EQ(result.status, KESTRA_OK);
  EXPECT_EQ(result.cols, 2);
  expected.resize(static_cast<std::size_t>(result.rows) * 2);
  EXPECT_EQ(result.values, expected);
}

TEST(ReadHtmlTable, FilesThatCannotBeRead) {
  const TempDir folder;
  TAB_GR table{-1, -1, nullptr};
  EXPECT_EQ(import::ReadHtmlTable(folder.file("missing.html").c_str(), &table), KESTRA_HTML_OPEN);
  EXPECT_EQ(import::ReadHtmlTable(folder.path().string().c_str(), &table),
            KESTRA_HTML_OPEN);  // a folder
  EXPECT_EQ(import::ReadHtmlTable("", &table), KESTRA_HTML_OPEN);
  EXPECT_EQ(import::ReadHtmlTable("/dev/zero", &table), KESTRA_HTML_OPEN);  // would never end
  EXPECT_EQ(import::ReadHtmlTable(nullptr, &table), KESTRA_HTML_OPEN);
  EXPECT_EQ(table.values, nullptr);
  EXPECT_EQ(table.rows, -1);
}

}  // namespace
}  // namespace kestra::test
