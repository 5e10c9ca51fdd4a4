// Delimited text files: separators, quoting, encodings, decimal commas,
// ranges and the used area.
#include <gtest/gtest.h>

#include "table/table_files.h"

namespace kestra::test {
namespace {

struct CsvCase {
  int line;
  const char* bytes;
  const char* expected;  // summary()
};

void expect_cases(std::initializer_list<CsvCase> cases, const char* name = "data.csv") {
  for (const CsvCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line);
    EXPECT_EQ(read_summary(name, c.bytes), c.expected);
  }
}

TEST(ReadCsv, SniffsTheSeparator) {
  expect_cases({
      {__LINE__, "x,a,b\nr1,1,2\nr2,3,4\n", "L|N|a,b\nr1:1,2\nr2:3,4"},
      // Semicolons with decimal commas: not the first number of each line.
      {__LINE__, "x;a;b\nr1;1,5;2\nr2;3;4,25\n", "L|N|a,b\nr1:1.5,2\nr2:3,4.25"},
      {__LINE__, "x\ta\tb\nr1\t1\t2\nr2\t3\t4\n", "L|N|a,b\nr1:1,2\nr2:3,4"},
      // Commas inside quotes are not counted against the semicolon.
      {__LINE__, "\"a,b\";c\n1;2\n", "L|-|a,b,c\n1:1,2"},
      // Ragged comma lines: the most frequent separator.
      {__LINE__, "1,2,3\n4,5\n6\n", "-|-|A,B,C\n1:1,2,3\n2:4,5,_\n3:6,_,_"},
      // One column: no separator at all.
      {__LINE__, "value\n1\n2\n", "L|-|value\n1:1\n2:2"},
      // Blank-aligned columns, leading and trailing blanks, tabs among
      // spaces: a space is no thousands separator there.
      {__LINE__, "Chins Situps Jumps\n5 162 60\n12  101\t101 \n",
       "L|-|Chins,Situps,Jumps\n1:5,162,60\n2:12,101,101"},
      {__LINE__, "  x   y\n  1   2.5\n  2  -1\n", "L|-|x,y\n1:1,2.5\n2:2,-1"},
      // Quoted texts with blanks stay one field.
      {__LINE__, "\"a b\" c\n1 2\n", "L|-|a b,c\n1:1,2"},
      // Numbers grouped by spaces are one column.
      {__LINE__, "Total\n12 000\n3 500\n", "L|-|Total\n1:12000\n2:3500"},
      // Comment lines are no records, and do not spoil the sniffing.
      {__LINE__, "# source: a, b, c\nx;a;b\nr;1;2\n", "L|N|a,b\nr:1,2"},
      {__LINE__, "# x y\n  # more\n1 2\n3 4\n", "-|-|A,B\n1:1,2\n2:3,4"},
      // A '#' inside a line or a field is text.
      {__LINE__, "n,#\nr,1\n", "L|N|#\nr:1"},
  });
}

TEST(ReadCsv, TakesAHeaderOneFieldShortAsRowNames) {
  expect_cases({
      // R's write.table: quoted, blank-separated, no corner.
      {__LINE__, "\"w\" \"f\"\n\"1\" 26.5 NA\n\"2\" 30 2\n", "L|N|w,f\n1:26.5,_\n2:30,2"},
      {__LINE__, "w,f\na,1,2\nb,3,4\n", "L|N|w,f\na:1,2\nb:3,4"},
      // Equal widths: the first column is data.
      {__LINE__, "w,f\n1,2\n3,4\n", "L|-|w,f\n1:1,2\n2:3,4"},
  });
}

TEST(ReadCsv, FollowsRfc4180Quoting) {
  expect_cases({
      // Quoted separators, doubled quotes and a line break inside quotes.
      {__LINE__, "\"a,1\",\"say \"\"hi\"\"\",\"two\nlines\"\n1,2,3\n",
       "L|-|a,1,say \"hi\",two\nlines\n1:1,2,3"},
      // CRLF records, a lone CR as a record end, no final line end.
      {__LINE__, "1,2\r\n3,4\r5,6", "-|-|A,B\n1:1,2\n2:3,4\n3:5,6"},
      // A quoted number is a number; a quoted "1,234.5" keeps its comma.
      {__LINE__, "\"7\",\"1,234.5\"\n", "-|-|A,B\n1:7,1234.5"},
      // Empty fields are gaps.
      {__LINE__, "1,,3\n,5,\n", "-|-|A,B,C\n1:1,_,3\n2:_,5,_"},
      // An unclosed quote runs to the end of the file.
      {__LINE__, "1,\"2\n3", "-|-|A,B\n1:1,_"},
  });
}

// UTF-16 text with its byte-order mark, as spreadsheet programs save it.
std::string utf16_with_mark(std::u16string_view text, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

TEST(ReadCsv, DecodesByteOrderMarks) {
  EXPECT_EQ(read_summary("bom.csv", "\xEF\xBB\xBFname,x\nr,1\n"), "L|N|x\nr:1");
  EXPECT_EQ(read_summary("le.csv", utf16_with_mark(u"a;b\r\n1,5;2\r\n", false)),
            "L|-|a,b\n1:1.5,2");
  // Big-endian, a non-ASCII label, a U+2212 minus and a surrogate pair.
  EXPECT_EQ(read_summary("be.txt", utf16_with_mark(u"x\t\u00E2\t\U0001F600\ny\t\u22123\t1", true)),
            "L|N|\xC3\xA2,\xF0\x9F\x98\x80\ny:-3,1");
  // A lone surrogate becomes U+FFFD instead of invalid UTF-8.
  const std::string lone = utf16_with_mark(u"a,b\n1,", false) + std::string("\x00\xD8", 2);
  EXPECT_EQ(read_summary("lone.csv", lone), "L|-|a,b\n1:1,_");
}

TEST(ReadCsv, ReadsBytesThatAreNotUtf8AsWindows1252) {
  // "été" and a euro sign as a Windows spreadsheet program saves them.
  EXPECT_EQ(read_summary("w.csv", "\xE9t\xE9;\x80\n1;2\n"),
            "L|-|\xC3\xA9t\xC3\xA9,\xE2\x82\xAC\n1:1,2");
}

TEST(ReadCsv, ReadsTheRangeAskedFor) {
  TableOptions options = as_laid_out();
  options.range = "B2:C3";
  EXPECT_EQ(read_summary("r.csv", "0,0,0,0\n0,1,2,0\n0,3,x,0\n", options), "-|-|A,B\n1:1,2\n2:3,_");
  // A range past the text's end reads gaps there.
  options.range = "A2:B4";
  EXPECT_EQ(read_summary("r.csv", "1,2\n3,4\n", options), "-|-|A,B\n1:3,4\n2:_,_\n3:_,_");
  options.range = "B2-";
  EXPECT_EQ(read_bytes("r.csv", "1,2\n", options).status, KESTRA_BAD_RANGE);
}

TEST(ReadCsv, ReadsTheUsedArea) {
  // Empty lines and columns around the table are not part of it.
  expect_cases({{__LINE__, "\n\n,,,\n,x,a,b\n,r,1,2\n,,,\n\n", "L|N|a,b\nr:1,2"}});
}

TEST(ReadCsv, ReadsARangeWithItsCornersInEitherOrder) {
  const std::string csv = "0,0,0\n0,1,2\n0,3,4\n";
  for (const char* range : {"B2:C3", "C3:B2", "b2:c3", "B3:C2", "$C$2:$B$3"}) {
    SCOPED_TRACE(range);
    TableOptions options = as_laid_out();
    options.range = range;
    EXPECT_EQ(read_summary("r.csv", csv, options), "-|-|A,B\n1:1,2\n2:3,4");
  }
}

TEST(ReadCsv, RefusesWhatHoldsNoNumbers) {
  const struct {
    int line;
    std::string bytes;
    const char* range;
    int status;
    const char* message_part;
  } cases[] = {
      {__LINE__, "a,b\nc,d\n", "", KESTRA_BAD_TABLE, "no numbers"},
      {__LINE__, "1,2\n3,4\n", "D5:E9", KESTRA_BAD_TABLE, "D5:E9 holds no numbers"},
      {__LINE__, std::string("1,2\0\x01\x02", 7), "", KESTRA_WORKBOOK, "no text file"},
      {__LINE__, std::string(200, '\x01') + "1,2\n", "", KESTRA_WORKBOOK, "no text file"},
      {__LINE__, "1,2\n", "B2-", KESTRA_BAD_RANGE, "B2:E5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line);
    TableOptions options;
    options.range = c.range;
    const TableRead read = read_bytes("x.csv", c.bytes, options);
    EXPECT_EQ(read.status, c.status);
    EXPECT_NE(read.message.find(c.message_part), std::string::npos) << read.message;
  }
}

TEST(ReadCsv, NamesTheEncodingItGuesses) {
  // GB2312 text no mark declares: the detector names it, the text is right.
  const TableRead read = read_bytes("cn.csv", "\xB3\xC7\xCA\xD0,\xC8\xCB\xBF\xDA\n"
                                              "\xB1\xB1\xBE\xA9,2154\n\xC9\xCF\xBA\xA3,2428\n");
  ASSERT_EQ(read.status, KESTRA_OK);
  EXPECT_EQ(summary(read.table), "L|N|\xE4\xBA\xBA\xE5\x8F\xA3\n"
                                 "\xE5\x8C\x97\xE4\xBA\xAC:2154\n\xE4\xB8\x8A\xE6\xB5\xB7:2428");
  ASSERT_FALSE(read.table.notes.empty());
  EXPECT_NE(read.table.notes.front().find("GB18030"), std::string::npos) << read.table.notes.front();
}

TEST(ReadCsv, ReportsWhatIsNotATable) {
  for (const char* bytes : {"", "\n\n", ",,\n,,\n", " ; \n", "\xEF\xBB\xBF"}) {
    SCOPED_TRACE(testing::Message() << '"' << bytes << '"');
    EXPECT_EQ(read_bytes("empty.csv", bytes).status, KESTRA_BAD_TABLE);
  }
  EXPECT_EQ(read_table("/nonexistent/file.csv").status, KESTRA_WORKBOOK);
  TempDir dir;
  EXPECT_EQ(read_table(dir.path().string()).status, KESTRA_WORKBOOK);  // a folder
}

}  // namespace
}  // namespace kestra::test
