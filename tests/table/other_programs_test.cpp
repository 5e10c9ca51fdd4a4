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

// Gnumeric stores the dates as serial numbers and TRUE/FALSE as booleans.
constexpr const char* kGnumericWorkbook =
    "L|N|Q1,Q2,Q3,Share,Day,Open\n"
    "North:-3.25,1e-05,1234.5,0.12,45413,1\n"
    "South:12,-7,1e+06,-0.025,45414,0\n"
    "West:_,_,-5,1,45415,1";

TEST(OtherPrograms, ReadsGnumericFiles) {
  const struct {
    const char* file;
    const char* expected;
  } cases[] = {
      {"gnumeric_sales.xlsx", kGnumericWorkbook},
      {"gnumeric_sales.xls", kGnumericWorkbook},
      // In HTML the minus is &#8722;; dates and booleans are texts: gaps.
      {"gnumeric_sales.html",
       "L|N|Q1,Q2,Q3,Share,Day,Open\n"
       "North:-3.25,1e-05,1234.5,0.12,_,_\n"
       "South:12,-7,1e+06,-0.025,_,_\n"
       "West:_,_,-5,1,_,_"},
      // Semicolons and U+2212 minus signs, decimal dots.
      {"gnumeric_sales_semicolon.csv",
       "L|N|Q1,Q2,Q3,Share,Day,Open\n"
       "North:-3.25,1e-05,1234.5,0.12,_,_\n"
       "South:12,-7,1e+06,-0.025,_,_\n"
       "West:_,_,-5,1,_,_"},
      // The hand-written source: "1,234.50" quoted, 12%, (5).
      {"gnumeric_sales_source.csv",
       "L|N|Q1,Q2,Q3,Share,Day,Open\n"
       "North:-3.25,1e-05,1234.5,0.12,_,_\n"
       "South:12,-7,1e+06,-0.025,_,_\n"
       "West:_,_,-5,1,_,_"},
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

}  // namespace
}  // namespace kestra::test
