// The table and diag commands on files: what the reader made of a file as
// CSV, and diagrams of files with one description per row however many.
#include <gtest/gtest.h>

#include "cli_run.h"
#include "support/temp_dir.h"

namespace kestra::test {
namespace {

const std::string kTableData = std::string(KESTRA_TEST_DATA) + "/table/";

TEST(TableCommand, PrintsLabelsNamesAndShortestNumbers) {
  TempDir dir;
  write_text(dir.file("n.csv"), "Name,Q1,Q2\n\"Smith, J\",0.1,2\nLee,,1e21\n");
  struct Case {
    int line;
    std::vector<std::string> options;
    const char* csv;
  };
  const Case cases[] = {
      // Headers from the file; a name with a comma quoted; a gap empty.
      {__LINE__, {}, "Name,Q1,Q2\n\"Smith, J\",0.1,2\nLee,,1e+21\n"},
      // Without headers every cell is a value: texts are gaps, names and labels made up.
      {__LINE__, {"--header", "none"}, ",A,B,C\n1,,,\n2,,0.1,2\n3,,,1e+21\n"},
      {__LINE__, {"--range", "B2:C3"}, ",A,B\n1,0.1,2\n2,,1e+21\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::vector<std::string> args = {"table", dir.file("n.csv")};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliRun run = run_kestra(args);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.out, c.csv);
  }
}

TEST(TableCommand, ReadsWorkbooksAndReportsTheReadersNotes) {
  const CliRun run = run_kestra({"table", kTableData + "gnumeric_sales.xlsx"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out,
            "Region,Q1,Q2,Q3,Share,Day,Open\n"
            "North,-3.25,1e-05,1234.5,0.12,,1\n"
            "South,12,-7,1e+06,-0.025,,0\n"
            "West,,,-5,1,,1\n");
  EXPECT_NE(run.err.find("kestra: warning: "), std::string::npos);
  EXPECT_NE(run.err.find("\"n/a\""), std::string::npos) << run.err;
}

TEST(TableCommand, PrintsTheFileTurnedOnlyByTheSeriesOption) {
  TempDir dir;
  write_text(dir.file("m.csv"), "Month,Plan,Actual\nJan,10,12\nFeb,11,9\nMar,14,15\n");
  const std::string as_file = "Month,Plan,Actual\nJan,10,12\nFeb,11,9\nMar,14,15\n";
  const struct {
    int line;
    const char* series;
    std::string csv;
  } cases[] = {
      {__LINE__, "auto", as_file},  // column series: printed as the file holds them
      {__LINE__, "cols", as_file},
      {__LINE__, "rows", as_file},  // the same layout, with rows as the series
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const CliRun run = run_kestra({"table", dir.file("m.csv"), "--series", c.series});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.out, c.csv);
  }
  EXPECT_EQ(run_kestra({"table", dir.file("m.csv"), "--series", "diagonal"}).exit_code, 2);
}

// The orientation decides the series: a tall table draws its columns (two
// series, two colours), rows as series draw three.
TEST(DiagCommand, DrawsTheColumnsOfATallTableAsSeries) {
  TempDir dir;
  write_text(dir.file("m.csv"), "Month,Plan,Actual\nJan,10,12\nFeb,11,9\nMar,14,15\n");
  const COLORREF third = RGB(44, 160, 44);
  for (const auto& [series, colours] : {std::pair{"auto", 2}, std::pair{"rows", 3}}) {
    SCOPED_TRACE(series);
    const CliRun run =
        run_kestra({"diag", dir.file("m.csv"), "--series", series, "-o", dir.file("m.bmp")});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const BmpImage picture = *read_bmp(dir.file("m.bmp"));
    EXPECT_EQ(count_in(picture, third, 0, 0, 639, 399) > 0, colours == 3);
  }
}

TEST(TableCommand, RefusalsNameTheInputFile) {
  TempDir dir;
  write_text(dir.file("words.csv"), "a,b\nc,d\n");
  write_text(dir.file("one.csv"), "a\n1\n");
  const struct {
    int line;
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {__LINE__, {"table", dir.file("words.csv")}, "words.csv: the table holds no numbers"},
      {__LINE__, {"table", dir.file("words.csv"), "--range", "X1:Y2"}, "words.csv: the range"},
      // One category left: CreateDiag's refusal names the input, not the picture.
      {__LINE__, {"diag", dir.file("one.csv"), "--series", "rows", "-o", dir.file("o.png")},
       "one.csv: 1 series of 1 categories"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const CliRun run = run_kestra(c.args);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("o.png"), std::string::npos) << run.err;
  }
}

TEST(TableCommand, UnreadableFileNamesTheStatus) {
  TempDir dir;
  write_text(dir.file("empty.xlsx"), "");
  const CliRun run = run_kestra({"table", dir.file("empty.xlsx")});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("kestra: error 1012 (the workbook cannot be read as asked)"),
            std::string::npos)
      << run.err;
}

// Ten series from a worksheet range in the older form: each gets its own
// palette colour in the plot and in the legend.
TEST(DiagCommand, TenSeriesOfAWorkbookRange) {
  TempDir dir;
  std::string csv = "Symbol,Mon,Tue,Wed,Thu,Fri,Sat\n";
  for (int r = 1; r <= 10; ++r) {
    csv += "S" + std::to_string(r);
    for (int c = 1; c <= 6; ++c) csv += "," + std::to_string(r + c);
    csv += "\n";
  }
  write_text(dir.file("prices.csv"), csv);
  const CliRun run = run_kestra({"xls", dir.file("prices.csv"), "1", "B2:G11", dir.file("o.bmp")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const BmpImage picture = *read_bmp(dir.file("o.bmp"));
  const COLORREF palette[] = {RGB(31, 119, 180), RGB(255, 127, 14), RGB(44, 160, 44),
                              RGB(214, 39, 40),  RGB(148, 103, 189), RGB(140, 86, 75),
                              RGB(227, 119, 194), RGB(127, 127, 127), RGB(188, 189, 34),
                              RGB(23, 190, 207)};
  for (COLORREF color : palette) {
    SCOPED_TRACE(color);
    EXPECT_GT(count_in(picture, color, 0, 0, 560, 399), 50);    // bars
    EXPECT_GT(count_in(picture, color, 566, 0, 639, 399), 5);   // legend line
  }
}

TEST(DiagCommand, HtmlFileInTheNewAndTheOlderForm) {
  TempDir dir;
  const std::string html = std::string(KESTRA_TEST_DATA) + "/table/gnumeric_sales.html";
  const CliRun diag = run_kestra({"diag", html, "--kind", "lines", "-o", dir.file("a.bmp")});
  const CliRun older = run_kestra({"html", html, dir.file("b.bmp")});
  EXPECT_EQ(diag.exit_code, 0) << diag.err;
  EXPECT_EQ(older.exit_code, 0) << older.err;
  // Three series from the file's first column.
  const auto bars = read_bmp(dir.file("b.bmp"));
  ASSERT_TRUE(bars);
  for (COLORREF color : {RGB(31, 119, 180), RGB(255, 127, 14), RGB(44, 160, 44)}) {
    EXPECT_GT(count_in(*bars, color, 0, 0, 560, 399), 20);
  }
  EXPECT_EQ(count_in(*bars, RGB(214, 39, 40), 0, 0, 639, 399), 0);  // no fourth
}

TEST(DiagCommand, ValuesAndAFileTogetherAreAUsageError) {
  TempDir dir;
  const CliRun run = run_kestra(
      {"diag", kTableData + "gnumeric_sales.xlsx", "--values", "1 2", "-o", dir.file("a.png")});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_NE(run.err.find("not both"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace kestra::test
