// HTML tables as programs and people write them: header cells, inline
// markup, entities, comments, spans, nested tables, captions, table choice.
#include <gtest/gtest.h>

#include "table/table_files.h"

namespace kestra::test {
namespace {

struct HtmlCase {
  int line;
  const char* html;
  const char* expected;  // summary()
};

std::string page(const char* body) {
  return std::string("<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n") + body +
         "\n</body></html>\n";
}

void expect_cases(std::initializer_list<HtmlCase> cases) {
  for (const HtmlCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line);
    EXPECT_EQ(read_summary("t.html", page(c.html)), c.expected);
  }
}

TEST(ReadHtml, ReadsCellTextsThroughMarkup) {
  expect_cases({
      // Inline markup around numbers, LibreOffice's <font> among them.
      {__LINE__,
       "<table><tr><td><b>1</b></td><td><span class=x>2</span></td>"
       "<td><a href='#'>3</a></td><td><font color=\"#000000\">4</font></td>"
       "<td><i><b>5</b></i>0</td></tr></table>",
       "-|-|A,B,C,D,E\n1:1,2,3,4,50"},
      // Entities: &nbsp;1, Gnumeric's &#8722; minus in a number and an exponent.
      {__LINE__,
       "<table><tr><td>&nbsp;1</td><td>&#8722;3.25</td><td>1E&#8722;05</td>"
       "<td>&minus;2</td><td>1&#x2009;000</td></tr></table>",
       "-|-|A,B,C,D,E\n1:1,-3.25,1e-05,-2,1000"},
      // Numbers as accounts write them; text that is no number is a gap.
      {__LINE__, "<table><tr><td>1,234.50</td><td>(5)</td><td>12%</td><td>n/a</td></tr></table>",
       "-|-|A,B,C,D\n1:1234.5,-5,0.12,_"},
      // "<td" followed by a line break, attributes over several lines.
      {__LINE__, "<table><tr><td\n>1</td><td\n  class=\"a\"\n  align=right>2</td></tr></table>",
       "-|-|A,B\n1:1,2"},
      // Markup inside a comment neither ends the table nor adds cells.
      {__LINE__,
       "<table><tr><td>1</td><!-- <td>9</td></tr></table> --><td>2</td></tr>"
       "<tr><td>3</td><td>4<!-- </table> --></td></tr></table>",
       "-|-|A,B\n1:1,2\n2:3,4"},
      // Line breaks and blocks in a label become single spaces.
      {__LINE__, "<table><tr><th></th><th>North<br>East</th></tr><tr><th>a</th><td>1</td></tr></table>",
       "L|N|North East\na:1"},
      // Implied end tags, upper-case names, no quotes.
      {__LINE__, "<TABLE><TR><TD>1<TD>2<TR><TD>3<TD>4</TABLE>", "-|-|A,B\n1:1,2\n2:3,4"},
  });
}

TEST(ReadHtml, TakesLabelsFromHeaderCells) {
  expect_cases({
      // pandas' layout: <thead> of <th> labels, a <th> row name per row.
      {__LINE__,
       "<table border=\"1\" class=\"dataframe\"><thead><tr style=\"text-align: right;\">"
       "<th></th><th>a</th><th>b</th><th>c</th></tr></thead><tbody>"
       "<tr><th>x</th><td>1</td><td>2</td><td>3</td></tr>"
       "<tr><th>y</th><td>4</td><td>5</td><td>6</td></tr>"
       "<tr><th>z</th><td>7</td><td>8</td><td>9</td></tr>"
       "<tr><th>w</th><td>10</td><td>11</td><td>12</td></tr></tbody></table>",
       "L|N|a,b,c\nx:1,2,3\ny:4,5,6\nz:7,8,9\nw:10,11,12"},
      // <th> labels that are numbers (years) still label.
      {__LINE__, "<table><tr><th>2019</th><th>2020</th></tr><tr><td>1</td><td>2</td></tr></table>",
       "L|-|2019,2020\n1:1,2"},
      // A named index gives pandas a second header row: merged into the first.
      {__LINE__,
       "<table><thead><tr><th></th><th>a</th><th>b</th></tr><tr><th>k</th><th></th><th></th></tr>"
       "</thead><tbody><tr><th>x</th><td>1</td><td>2</td></tr></tbody></table>",
       "L|N|a,b\nx:1,2"},
      // Column groups over two header rows, spanned: "Sales Q1", "Sales Q2".
      {__LINE__,
       "<table><thead><tr><th rowspan=2>Region</th><th colspan=2>Sales</th></tr>"
       "<tr><th>Q1</th><th>Q2</th></tr></thead>"
       "<tr><td>North</td><td>1</td><td>2</td></tr></table>",
       "L|N|Sales Q1,Sales Q2\nNorth:1,2"},
      // Two index columns (row groups spanned down) merge into one name.
      {__LINE__,
       "<table><thead><tr><th></th><th></th><th>v</th></tr></thead><tbody>"
       "<tr><th rowspan=2>A</th><th>x</th><td>1</td></tr><tr><th>y</th><td>2</td></tr>"
       "</tbody></table>",
       "L|N|v\nA x:1\nA y:2"},
      // A table of only <th> cells: the first row labels the rest.
      {__LINE__, "<table><tr><th>a</th><th>b</th></tr><tr><th>1</th><th>2</th></tr></table>",
       "L|-|a,b\n1:1,2"},
  });
}

TEST(ReadHtml, LaysOutSpans) {
  expect_cases({
      // A data cell's value stays in its first slot: the others are gaps.
      {__LINE__,
       "<table><tr><td colspan=2>1</td><td>2</td></tr><tr><td rowspan=2>3</td><td>4</td><td>5</td></tr>"
       "<tr><td>6</td><td>7</td></tr></table>",
       "-|-|A,B,C\n1:1,_,2\n2:3,4,5\n3:_,6,7"},
      // A rowspan at the row's end covers the next row's last slot too.
      {__LINE__,
       "<table><tr><td>1</td><td rowspan=2>2</td><td>9</td></tr><tr><td>3</td></tr>"
       "<tr><td>4</td><td>5</td></tr></table>",
       "-|-|A,B,C\n1:1,2,9\n2:3,_,_\n3:4,5,_"},
      // Two header cells spanning three rows side by side at the row's end.
      {__LINE__,
       "<table><tr><td>0</td><th rowspan=3>a</th><th rowspan=3>b</th></tr><tr><td>1</td></tr>"
       "<tr><td>2</td><td>7</td></tr><tr><td>3</td><td>4</td><td>5</td></tr></table>",
       "-|-|A,B,C,D\n1:0,_,_,_\n2:1,_,_,_\n3:2,_,_,7\n4:3,4,5,_"},
      // Hostile spans are clamped, not allocated.
      {__LINE__, "<table><tr><td colspan=0>1</td><td colspan=-4 rowspan=99999999>2</td></tr></table>",
       "-|-|A,B\n1:1,2"},
  });
  const TableRead wide = read_bytes(
      "w.html", page("<table><tr><td colspan=999999>1</td><td>2</td></tr></table>"));
  EXPECT_EQ(wide.status, KESTRA_OK);
  EXPECT_EQ(wide.table.cols, 1001u);  // colspan clamped to 1000
}

TEST(ReadHtml, ChoosesTheTable) {
  const std::string html = page(
      "<table><tr><td> </td></tr></table>"  // no filled cell: no data table
      "<table><caption> First <b>one</b> </caption><tr><td>1</td><td>"
      "<table><tr><td>99</td></tr></table>"  // nested: skipped
      "2</td></tr></table>"
      "<div><table><caption>Second</caption><tr><td>3</td></tr></table></div>");
  TableOptions options = as_laid_out();
  const TableRead first = read_bytes("t.htm", html, options);
  EXPECT_EQ(summary(first.table), "-|-|A,B\n1:1,2");
  EXPECT_EQ(first.table.title, "First one");
  options.table_index = 1;
  const TableRead second = read_bytes("t.htm", html, options);
  EXPECT_EQ(summary(second.table), "-|-|A\n1:3");
  EXPECT_EQ(second.table.title, "Second");
  options.range = "B1:B1";  // a range picks cells of the chosen table
  EXPECT_EQ(summary(read_bytes("t.htm", html, options).table), "-|-|A\n1:_");
  options.table_index = 0;
  EXPECT_EQ(summary(read_bytes("t.htm", html, options).table), "-|-|A\n1:2");
  options.range.clear();
  options.table_index = 2;
  EXPECT_EQ(read_bytes("t.htm", html, options).status, KESTRA_HTML_NO_TABLE);
  options.table_index = -1;
  EXPECT_EQ(read_bytes("t.htm", html, options).status, KESTRA_HTML_NO_TABLE);
}

TEST(ReadHtml, ReportsPagesWithoutATable) {
  for (const char* html : {"", "<p>no table</p>", "<table></table>", "<table><tr></tr></table>",
                           "\x01\x02\xFF garbage <table"}) {
    SCOPED_TRACE(html);
    EXPECT_EQ(read_bytes("x.html", html).status, KESTRA_HTML_NO_TABLE);
  }
  EXPECT_EQ(read_table("/nonexistent/x.html").status, KESTRA_HTML_OPEN);
}

TEST(ReadHtml, DecodesTheCharset) {
  // UTF-8 without a declaration; Latin-1 declared by the page.
  EXPECT_EQ(read_summary("u.html", "<table><tr><td>\xC3\xA9t\xC3\xA9</td></tr><tr><td>1</td></tr></table>"),
            "L|-|\xC3\xA9t\xC3\xA9\n1:1");
  EXPECT_EQ(read_summary("l.html",
                         "<html><head><meta charset=\"iso-8859-1\"></head><body><table>"
                         "<tr><td>\xE9t\xE9</td></tr><tr><td>1</td></tr></table></body></html>"),
            "L|-|\xC3\xA9t\xC3\xA9\n1:1");
  // Neither UTF-8 nor declared: Windows-1252, as a spreadsheet program saves it.
  EXPECT_EQ(read_summary("w.html", "<table><tr><td>\x80 \xE9t\xE9</td></tr><tr><td>1</td></tr></table>"),
            "L|-|\xE2\x82\xAC \xC3\xA9t\xC3\xA9\n1:1");
  // UTF-16 with BOM, found by content without an .html name.
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("<table><tr><td>7</td></tr></table>")) utf16 += {c, '\0'};
  EXPECT_EQ(read_summary("page.dat", utf16), "-|-|A\n1:7");
}

TEST(ReadHtml, ReadsBadBytesQuietly) {
  // Bytes the declared charset cannot hold: libxml2 would print to stderr.
  testing::internal::CaptureStderr();
  const TableRead read = read_bytes(
      "bad.html", "<html><head><meta charset=\"shift_jis\"></head><body><table><tr><td>1</td>"
                  "<td>\x82\xA0\xFF</td></tr></table>");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(read.status, KESTRA_OK);
  EXPECT_EQ(read.table.values.at(0), 1);
}

}  // namespace
}  // namespace kestra::test
