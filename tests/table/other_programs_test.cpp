// Tables as other programs write them: Gnumeric's and LibreOffice's files
// (fixtures), a hand-made page in the shape of a spreadsheet's "Save as Web
// Page", and pandas' to_html, to_csv and to_excel run at test time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "table/table_files.h"

namespace kestra::test {
namespace {

std::string table_fixture(const std::string& name) {
  return std::string(KESTRA_TEST_DATA) + "/table/" + name;
}

std::string read_summary_of(const std::string& path, const TableOptions& options = as_laid_out()) {
  const TableRead read = read_table(path, options);
  EXPECT_EQ(read.status, KESTRA_OK) << read.message;
  return summary(read.table);
}

// Gnumeric's dates are date cells, texts that are no values; TRUE and FALSE
// read 1 and 0.
constexpr const char* kGnumericWorkbook =
    "L|N|Q1,Q2,Q3,Share,Day,Open\n"
    "North:-3.25,1e-05,1234.5,0.12,_,1\n"
    "South:12,-7,1e+06,-0.025,_,0\n"
    "West:_,_,-5,1,_,1";

TEST(OtherPrograms, ReadsGnumericFiles) {
  const struct {
    const char* file;
    const char* expected;
  } cases[] = {
      {"gnumeric_sales.xlsx", kGnumericWorkbook},
      {"gnumeric_sales.xls", kGnumericWorkbook},
      {"gnumeric_sales_biff7.xls", kGnumericWorkbook},  // Excel 5.0/95
      // The same table from text: in HTML the minus is &#8722;, the semicolon
      // file has U+2212 minus signs, the source "1,234.50" quoted, 12%, (5).
      // Dates are texts; TRUE and FALSE read 1 and 0 as in the workbooks.
      {"gnumeric_sales.html", kGnumericWorkbook},
      {"gnumeric_sales_semicolon.csv", kGnumericWorkbook},
      {"gnumeric_sales_source.csv", kGnumericWorkbook},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(read_summary_of(table_fixture(c.file)), c.expected);
  }
  EXPECT_EQ(read_table(table_fixture("gnumeric_sales.html")).table.title,
            "gnumeric_sales_source.csv");
}

TEST(OtherPrograms, ReadsLibreOfficeFiles) {
  const std::string folder = std::string(KESTRA_TEST_DATA) + "/import/";
  // A bold 8, "1,234.50", "25%" and "n/a" as LibreOffice's HTML export writes them.
  EXPECT_EQ(read_summary_of(folder + "html_calc_formats.html"), "-|-|A,B,C\n1:7,8,1234.5\n2:0.25,-2.5,_");
  EXPECT_EQ(read_summary_of(folder + "html_calc_labels.html"),
            "L|N|Q1,Q2,Q3\nNorth:12.5,14,9.75\nSouth:-3,0.5,1000");
  TableOptions second = as_laid_out();
  second.table_index = 1;
  EXPECT_EQ(read_table(folder + "html_calc_formats.html", second).status, KESTRA_OK);
  TableOptions range = as_laid_out();
  range.range = "A1:B2";
  EXPECT_EQ(read_summary_of(folder + "calc_saved.xlsx", range), "-|-|A,B\n1:1,2\n2:3.5,3.5");
  EXPECT_EQ(read_summary_of(folder + "calc_saved.xls", range), "-|-|A,B\n1:1,2\n2:3.5,3.5");
}

TEST(OtherPrograms, ReadsASpreadsheetWebPage) {
  // A '<' in the style block, an XML island in a conditional comment, a
  // hidden sizing row of empty cells.
  EXPECT_EQ(read_summary_of(table_fixture("excel_style_web_page.html")),
            "L|N|Q1,Q2,Share\nNorth:1234.5,-5,0.12\nSouth:98765.43,7,0.5");
}

// Runs a Python script with Debian's interpreter (pandas is a Debian
// package); false when pandas is missing.
bool run_python(const TempDir& dir, const std::string& script) {
  const std::string path = dir.file("write.py");
  std::ofstream(path) << script;
  const std::string command = "cd '" + dir.path().string() + "' && /usr/bin/python3 write.py";
  return std::system(command.c_str()) == 0;
}

TEST(OtherPrograms, ReadsWhatPandasWrites) {
  TempDir dir;
  const bool written = run_python(dir, R"(
import pandas as pd, numpy as np
df = pd.DataFrame({"a": [1.5, -2.0, np.nan], "b": [1000, 2, 3]}, index=["x", "y", "z"])
df.to_html("plain.html")
df.to_csv("plain.csv")
df.to_csv("semicolon.csv", sep=";", decimal=",")
df.to_csv("tab.tsv", sep="\t")
df.to_csv("utf16.csv", encoding="utf-16")
df.to_csv("bom.csv", encoding="utf-8-sig")
named = df.copy(); named.index.name = "key"
named.to_html("named.html")
wide = pd.DataFrame([[1, 2, 3, 4]], index=["r"],
                    columns=pd.MultiIndex.from_product([["S", "T"], ["q1", "q2"]]))
wide.to_html("multi_columns.html")
rows = pd.DataFrame({"v": [1, 2, 3]},
                    index=pd.MultiIndex.from_tuples([("A", "x"), ("A", "y"), ("B", "x")]))
rows.to_html("multi_rows.html")
big = pd.DataFrame({"n": [1234567.5, -0.25]}, index=["p", "q"])
big.to_html("formatted.html", float_format=lambda v: f"{v:,.2f}")
try:
    df.to_excel("book.xlsx")
except ImportError:
    pass
)");
  if (!written) GTEST_SKIP() << "python3-pandas is not installed";
  const char* kFrame = "L|N|a,b\nx:1.5,1000\ny:-2,2\nz:_,3";
  const struct {
    const char* file;
    const char* expected;
  } cases[] = {
      // The table charted 4x3 with shuffled values before: a <th> corner,
      // <th> labels and <th> row names.
      {"plain.html", kFrame},
      {"named.html", kFrame},  // the index name's header row is merged
      {"plain.csv", kFrame},
      {"semicolon.csv", kFrame},  // decimal commas
      {"tab.tsv", kFrame},
      {"utf16.csv", kFrame},
      {"bom.csv", kFrame},
      {"multi_columns.html", "L|N|S q1,S q2,T q1,T q2\nr:1,2,3,4"},
      {"multi_rows.html", "L|N|v\nA x:1\nA y:2\nB x:3"},
      {"formatted.html", "L|N|n\np:1234567.5\nq:-0.25"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(read_summary_of(dir.file(c.file)), c.expected);
  }
  if (std::ifstream(dir.file("book.xlsx"))) {  // openpyxl wrote it
    EXPECT_EQ(read_summary_of(dir.file("book.xlsx")), kFrame);
  }
}

// Files R, pandas, openpyxl, xlwt and Gnumeric wrote (make_fixtures.sh).
TEST(OtherPrograms, ReadsStatisticsAndSpreadsheetLibraryFiles) {
  const struct {
    const char* file;
    const char* expected;  // summary() with the file's rows as series
  } cases[] = {
      // Row names, R's NA as a gap; the corner "" or missing.
      {"r_write_csv.csv", "L|N|Weight,Feed,Water\n1:26.5,4.1,1\n2:_,4.4,2\n3:31.2,_,2\n"
                          "4:28.9,4.9,3\n5:30.4,5.2,3"},
      {"r_write_table.txt", "L|N|Weight,Feed,Water\n1:26.5,4.1,1\n2:_,4.4,2\n3:31.2,_,2\n"
                            "4:28.9,4.9,3\n5:30.4,5.2,3"},
      // A comment line above the header; ISO dates label the rows.
      {"r_comment_first.csv", "L|N|IBM,AAPL\n2008-07-21:127.5,166.3\n2008-07-22:128.25,162\n"
                              "2008-07-23:126.75,166.3\n2008-07-24:125.5,159\n"
                              "2008-07-25:124.9,162.1"},
      // Blank-aligned columns under a comment, a minus among them.
      {"r_aligned_columns.dat", "-|-|A,B,C\n1:0,0,1\n2:0.5,0.4794,0.8776\n3:1,0.8415,0.5403\n"
                                "4:1.5,0.9975,0.0707\n5:2,0.9093,-0.4161"},
      {"pandas_years.csv", "L|N|Agriculture,Art\n1970:4.23,11.5\n1971:4.69,12\n"
                           "1972:4.97,12.1\n1973:5.3,12.3"},
      // Date cells by their formats: ISO texts, in both date systems alike.
      {"pandas_dates.xlsx", "L|N|Visits,Orders\n2008-07-25 00:00:00:120,12\n"
                            "2008-07-26 00:00:00:135,15\n2008-07-27 00:00:00:128,11"},
      {"openpyxl_1900.xlsx", "L|N|Amount,At\n1964-03-23:1.5,_\n2008-07-25:2.5,_"},
      {"openpyxl_1904.xlsx", "L|N|Amount,At\n1964-03-23:1.5,_\n2008-07-25:2.5,_"},
      {"xlwt_dates.xls", "L|N|North,South\n2008-07-25:12.5,8\n2008-07-26:17,11.5\n"
                         "2008-07-27:9.5,14"},
      // GB2312 without a declared charset.
      {"python_gb2312.html", "L|N|\xE4\xBA\xBA\xE5\x8F\xA3\n\xE5\x8C\x97\xE4\xBA\xAC:2154\n"
                             "\xE4\xB8\x8A\xE6\xB5\xB7:2428\n\xE5\xB9\xBF\xE5\xB7\x9E:1530"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(read_summary_of(table_fixture(c.file)), c.expected);
  }
}

// Cyrillic texts of an Excel 5.0/95 workbook in Windows-1251 read as those
// of its Excel 97 twin; the dates, outside the first column, are gaps.
TEST(OtherPrograms, ReadsExcel95TextsInTheWorkbooksCodePage) {
  constexpr const char* kCyrillic =
      // Продажи №,Дата
      "L|N|\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB4\xD0\xB0\xD0\xB6\xD0\xB8 \xE2\x84\x96,"
      "\xD0\x94\xD0\xB0\xD1\x82\xD0\xB0\n"
      "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0:12.5,_\n"  // Москва
      "\xD0\x9A\xD0\xB8\xD1\x97\xD0\xB2:7,_\n"                  // Київ
      // Мінськ Ёлка
      "\xD0\x9C\xD1\x96\xD0\xBD\xD1\x81\xD1\x8C\xD0\xBA \xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0:3.25,_";
  for (const char* name : {"gnumeric_cyrillic_biff7.xls", "gnumeric_cyrillic.xls"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(read_summary_of(table_fixture(name)), kCyrillic);
  }
}

}  // namespace
}  // namespace kestra::test
