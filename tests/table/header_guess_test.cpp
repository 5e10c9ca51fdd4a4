// Header rows and columns: the caller's choice, or the guess from the cells.
#include <gtest/gtest.h>

#include "table/table_files.h"

namespace kestra::test {
namespace {

struct HeaderCase {
  int line;
  const char* csv;
  HeaderMode mode;
  const char* expected;  // summary()
};

TEST(ReadTableHeaders, GuessesOrFollowsTheMode) {
  constexpr HeaderMode automatic = HeaderMode::automatic;
  const HeaderCase cases[] = {
      // Texts in the first row label, texts in the first column name.
      {__LINE__, "x,a,b\nr,1,2\n", automatic, "L|N|a,b\nr:1,2"},
      {__LINE__, "a,b\n1,2\n", automatic, "L|-|a,b\n1:1,2"},
      {__LINE__, "r,1,2\ns,3,4\n", automatic, "-|N|A,B\nr:1,2\ns:3,4"},
      {__LINE__, "1,2\n3,4\n", automatic, "-|-|A,B\n1:1,2\n2:3,4"},
      // An empty corner marks both edges, even over numbers (years) or
      // beside a numbered index (pandas' to_csv).
      {__LINE__, ",2019,2020\nr,1,2\n", automatic, "L|N|2019,2020\nr:1,2"},
      {__LINE__, ",a,b\n0,1,2\n1,3,4\n", automatic, "L|N|a,b\n0:1,2\n1:3,4"},
      // Whole numbers rising under a text corner label the rows: years, ids.
      {__LINE__, "Year,Agri,Art\n1970,4.2,11.5\n1971,4.5,12\n1975,5,13\n", automatic,
       "L|N|Agri,Art\n1970:4.2,11.5\n1971:4.5,12\n1975:5,13"},
      {__LINE__, "Id,v\n1,4\n2,\n3,6\n", automatic, "L|N|v\n1:4\n2:_\n3:6"},
      // Not rising, not whole, or only two: values.
      {__LINE__, "Year,v\n1971,1\n1970,2\n1972,3\n", automatic,
       "L|-|Year,v\n1:1971,1\n2:1970,2\n3:1972,3"},
      {__LINE__, "x,v\n1.5,1\n2.5,2\n3.5,3\n", automatic, "L|-|x,v\n1:1.5,1\n2:2.5,2\n3:3.5,3"},
      {__LINE__, "Chins,Jumps\n5,60\n12,101\n", automatic, "L|-|Chins,Jumps\n1:5,60\n2:12,101"},
      // A number in the corner with no names beside it: the first row is data.
      {__LINE__, "1,x\n2,3\n", automatic, "-|-|A,B\n1:1,_\n2:2,3"},
      // Blank labels and names take their defaults.
      {__LINE__, "x,,b\n,1,2\ns,3,4\n", automatic, "L|N|A,b\n1:1,2\ns:3,4"},
      // A lone row is named by its text, a lone column labelled.
      {__LINE__, "a,b\n", automatic, "-|N|A\na:_"},
      {__LINE__, "a,1,2\n", automatic, "-|N|A,B\na:1,2"},
      {__LINE__, "v\n1\n", automatic, "L|-|v\n1:1"},
      // Explicit modes take the edges whatever they hold.
      {__LINE__, "x,a,b\nr,1,2\n", HeaderMode::none, "-|-|A,B,C\n1:_,_,_\n2:_,1,2"},
      {__LINE__, "1,2\n3,4\n", HeaderMode::first_row, "L|-|1,2\n1:3,4"},
      {__LINE__, "1,2\n3,4\n", HeaderMode::first_column, "-|N|A\n1:2\n3:4"},
      {__LINE__, "1,2\n3,4\n", HeaderMode::both, "L|N|2\n3:4"},
      {__LINE__, "7\n", HeaderMode::both, "L|N|"},  // nothing left: no values
  };
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line);
    const TableRead read = read_bytes("h.csv", c.csv, with_header(c.mode));
    EXPECT_EQ(summary(read.table), c.expected);
  }
}

TEST(ReadTableHeaders, HtmlHeaderCellsYieldToTheMode) {
  const std::string html = "<table><tr><th>a</th><th>b</th></tr><tr><td>1</td><td>2</td></tr></table>";
  EXPECT_EQ(read_summary("t.html", html, with_header(HeaderMode::none)), "-|-|A,B\n1:_,_\n2:1,2");
  EXPECT_EQ(read_summary("t.html", html, with_header(HeaderMode::first_column)),
            "-|N|A\na:_\n1:2");
}

TEST(ReadTableNotes, ReportsGapsAndDecimalCommas) {
  const TableRead read = read_bytes("n.csv", "a;b;c;d;e\n1,5;x;y;z;w\n");
  ASSERT_EQ(read.status, KESTRA_OK);
  ASSERT_EQ(read.table.notes.size(), 2u);
  EXPECT_EQ(read.table.notes[0], "read with a decimal comma");
  EXPECT_EQ(read.table.notes[1],
            "4 cells hold text that is no number, left as a gap: B2 \"x\" C2 \"y\" D2 \"z\" ...");
}

TEST(ReadTableNotes, ReportsCuts) {
  // More columns than a table holds: cut, and said so.
  std::string wide(2 * 10001, ',');
  for (std::size_t i = 0; i < wide.size(); i += 2) wide[i] = '1';
  wide.back() = '\n';
  const TableRead read = read_bytes("wide.csv", wide);
  ASSERT_EQ(read.status, KESTRA_OK);
  EXPECT_EQ(read.table.cols, 10000u);
  ASSERT_FALSE(read.table.notes.empty());
  EXPECT_EQ(read.table.notes[0], "cut to the first 10000 columns");
  // A label longer than a cell keeps is cut at a character boundary.
  const TableRead long_label = read_bytes("l.csv", std::string(1023, 'a') + "\xC3\xA9x\n1\n");
  ASSERT_EQ(long_label.status, KESTRA_OK);
  EXPECT_EQ(long_label.table.category_labels[0], std::string(1023, 'a'));
  EXPECT_EQ(long_label.table.notes.at(0), "texts longer than 1024 bytes were cut");
}

TEST(ReadTableNotes, ReportsFilesPastTheSizeLimits) {
  // A text file past 64 MiB is read up to its last whole line there; its rows
  // are cut long before.
  std::string lines;
  for (std::size_t i = 0; lines.size() <= (std::size_t{64} << 20); ++i) lines += "1,2,3\n";
  const TableRead text = read_bytes("big.csv", lines);
  ASSERT_EQ(text.status, KESTRA_OK);
  EXPECT_EQ(text.table.rows, 100000u);
  ASSERT_EQ(text.table.notes.size(), 2u);
  EXPECT_EQ(text.table.notes[0],
            "cut to the first 100000 rows: a table holds at most 100000 rows and 2000000 cells");
  EXPECT_EQ(text.table.notes[1], "only the first 64 MiB of the file were read");
  // An HTML file past 16 MiB is refused: its parsed tree would take ~25 times that.
  const TableRead page = read_bytes("big.html", "<table><tr><td>1</td></tr></table>" +
                                                    std::string((std::size_t{16} << 20) + 1, ' '));
  EXPECT_EQ(page.status, KESTRA_HTML_OPEN);
  EXPECT_EQ(page.message, "the HTML file is larger than 16 MiB");
}

}  // namespace
}  // namespace kestra::test
