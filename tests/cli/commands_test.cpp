// Each command end to end through the program's run(): exit codes, what
// goes to stdout and stderr, and the pixels of the pictures written.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_run.h"
#include "support/temp_dir.h"

namespace kestra::test {
namespace {

constexpr COLORREF kCurve = RGB(200, 0, 0);

TEST(Help, EveryCommandExplainsItselfOnStdout) {
  const std::vector<std::vector<std::string>> calls = {
      {"--help"}, {"diag", "--help"}, {"plot", "--help"}, {"table", "--help"},
      {"example", "--help"}};
  for (const auto& args : calls) {
    SCOPED_TRACE(args.front());
    const CliRun run = run_kestra(args);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_NE(run.out.find("Example"), std::string::npos);
    EXPECT_NE(run.out.find("kestra "), std::string::npos);
    EXPECT_EQ(run.err, "");
  }
  const CliRun version = run_kestra({"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out, "kestra 0.2.0\n");
}

TEST(UsageErrors, AreReportedOnStderrWithExitTwoAndNoFile) {
  TempDir dir;
  const std::string out = dir.file("out.png");
  struct Case {
    int line;
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {__LINE__, {}, "A subcommand is required"},
      {__LINE__, {"frobnicate"}, "frobnicate"},
      {__LINE__, {"plot", "y=x", "--font", "abc", "-o", out}, "--font: 'abc' is not a whole"},
      {__LINE__, {"plot", "y=x", "--font", "0", "-o", out}, "from 1 to 99"},
      {__LINE__, {"plot", "y=x", "--x", "1:", "-o", out}, "--x: '1:' is not FROM:TO"},
      {__LINE__, {"plot", "y=x", "--step", "0", "-o", out}, "not a number above 0"},
      {__LINE__, {"plot", "y=x", "--size", "640x0", "-o", out}, "WIDTHxHEIGHT"},
      {__LINE__, {"plot", "y=x"}, "no output file"},
      {__LINE__, {"plot", "y=x", dir.file("o.gif")}, "must end in .png or .bmp"},
      {__LINE__, {"plot", "y=x", out, "-o", out}, "the output is given twice"},
      {__LINE__, {"diag", "--values", "1 2", "--decimals", "-1", out}, "--decimals"},
      {__LINE__, {"diag", "--values", "1 2", "--colors", "red,#zzz", out}, "--colors"},
      {__LINE__, {"diag", "--values", "1 2", "--kind", "pie", out}, "--kind"},
      {__LINE__, {"diag", "--values", "1 2", "--legend-box", "1,2,3,-4", out}, "of 0 or more"},
      {__LINE__, {"diag", "--values", "1 2", "--plot-rect", "1,2,3", out}, "--plot-rect"},
      {__LINE__, {"diag", "--values", "1 2", "--names", "a,b", out}, "2 names given for 1 series"},
      {__LINE__, {"diag", "--values", "1 2;3", out}, "row 2 has 1 values"},
      {__LINE__, {"diag", "-o", out}, "no input"},
      {__LINE__, {"xls", "book.xlsx", "first", "B2:C3", out}, "sheet: 'first'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const CliRun run = run_kestra(c.args);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--help"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

TEST(PlotCommand, RefusedExpressionShowsCodeReasonAndCaret) {
  TempDir dir;
  const CliRun run = run_kestra({"plot", "y=sin(x", "-o", dir.file("p.png")});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err,
            "kestra: error 1006 (the expression is refused): the parentheses of a function are "
            "not closed\n  y=sin(x\n         ^\n");
  EXPECT_TRUE(dir.entries().empty());
}

TEST(PlotCommand, LibraryStatusIsNamedWithItsMeaning) {
  TempDir dir;
  // The step is positive, but too small to move the argument: sampling never ends.
  const CliRun run = run_kestra({"plot", "y=x", "--step", "1e-300", "-o", dir.file("p.bmp")});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("error 1015 (plot sampling cannot end"), std::string::npos) << run.err;
  EXPECT_TRUE(dir.entries().empty());
}

TEST(PlotCommand, WarnsAboutIgnoredCharactersAndDrawsWhatIsRead) {
  TempDir dir;
  const CliRun run = run_kestra({"plot", "y=x^-1", "-o", dir.file("p.bmp")});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.err,
            "kestra: warning: the expression language ignores '^' at column 4; the expression "
            "is read as 'y=x-1'\n");
  const CliRun plain = run_kestra({"plot", "y=x-1", "-o", dir.file("q.bmp")});
  EXPECT_EQ(plain.err, "");
  EXPECT_EQ(read_bmp(dir.file("p.bmp"))->pixels, read_bmp(dir.file("q.bmp"))->pixels);
}

TEST(PlotCommand, XEqualsPutsTheArgumentOnTheVerticalAxis) {
  TempDir dir;
  const std::vector<std::string> common = {"--size", "200x200", "--x", "-10:10", "--y", "-10:10"};
  auto draw = [&](const std::string& expression, const std::string& name) {
    std::vector<std::string> args = {"plot", expression, "-o", dir.file(name)};
    args.insert(args.end(), common.begin(), common.end());
    EXPECT_EQ(run_kestra(args).exit_code, 0);
    return *read_bmp(dir.file(name));
  };
  const BmpImage steep = draw("y=2*x", "y.bmp");
  const BmpImage flat = draw("x=2*y", "x.bmp");
  // Columns near x = 8: y=2x is far above the range there, x=2y is at y = 4.
  EXPECT_EQ(count_in(steep, kCurve, 175, 3, 196, 196), 0);
  EXPECT_GT(count_in(flat, kCurve, 175, 3, 196, 196), 10);
  // Rows near y = 8: y=2x is at x = 4 there, x=2y is far right of the range.
  EXPECT_GT(count_in(steep, kCurve, 3, 15, 196, 28), 10);
  EXPECT_EQ(count_in(flat, kCurve, 3, 15, 196, 28), 0);
}

TEST(Output, PngInAnyCaseHoldsTheSamePixelsAsBmp) {
  TempDir dir;
  for (const char* name : {"p.bmp", "p.PNG", "q.png"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(run_kestra({"plot", "y=sin(x)*2", "--size", "120x80", "--zero", "--arrows",
                          dir.file(name)})
                  .exit_code,
              0);
  }
  const auto bmp = read_bmp(dir.file("p.bmp"));
  const auto png = read_png(dir.file("p.PNG"));
  ASSERT_TRUE(bmp && png);
  EXPECT_EQ(png->width, 120);
  EXPECT_EQ(png->height, 80);
  EXPECT_EQ(png->pixels, bmp->pixels);
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"p.PNG", "p.bmp", "q.png"}));  // no leftovers
}

TEST(DiagCommand, ManyRowsGetOneDescriptionEach) {
  // Seven series, each its own colour; a fixed set of four descriptions
  // would make the library read past its end.
  TempDir dir;
  const std::vector<COLORREF> colors = {RGB(255, 0, 0), RGB(0, 128, 0),   RGB(0, 0, 255),
                                        RGB(255, 165, 0), RGB(128, 0, 128), RGB(0, 128, 128),
                                        RGB(165, 42, 42)};
  const CliRun run = run_kestra(
      {"diag", "--values", "1 2 3; 2 3 4; 3 4 5; 4 5 6; 5 6 7; 6 7 8; 7 8 9", "--colors",
       "red,green,blue,orange,purple,teal,brown", "--no-values", "-o", dir.file("d.bmp")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const BmpImage picture = *read_bmp(dir.file("d.bmp"));
  EXPECT_EQ(picture.width, 640);
  EXPECT_EQ(picture.height, 400);
  // Every series has bars in the plot and a line in the legend (the right fifth).
  for (std::size_t r = 0; r < colors.size(); ++r) {
    SCOPED_TRACE(r);
    EXPECT_GT(count_in(picture, colors[r], 0, 0, 560, 399), 50);
    EXPECT_GT(count_in(picture, colors[r], 566, 0, 639, 399), 5);
  }
}

TEST(DiagCommand, SwitchesReachThePicture) {
  TempDir dir;
  const std::string values = "4 8";
  auto draw = [&](const std::string& name, std::vector<std::string> extra) {
    std::vector<std::string> args = {"diag", "--values", values, "--size", "200x150",
                                     "-o", dir.file(name)};
    args.insert(args.end(), extra.begin(), extra.end());
    const CliRun run = run_kestra(args);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    return *read_bmp(dir.file(name));
  };
  const BmpImage bars = draw("bars.bmp", {"--colors", "#00ff00"});
  const BmpImage bare = draw("bare.bmp", {"--colors", "#00ff00", "--no-background"});
  const BmpImage blue_back = draw("blue.bmp", {"--colors", "#00ff00", "--background", "navy"});
  EXPECT_GT(count_in(bars, RGB(0, 255, 0), 0, 0, 199, 149), 500);
  EXPECT_EQ(bars.at(1, 1), RGB(255, 255, 255));  // outside the frame
  EXPECT_EQ(bare.at(1, 1), RGB(0, 0, 0));          // black where nothing is drawn
  EXPECT_EQ(blue_back.at(1, 1), RGB(0, 0, 128));
}

TEST(ExampleCommand, DrawsTheBuiltInDiagramInBothForms) {
  TempDir dir;
  EXPECT_EQ(run_kestra({"example", dir.file("e.bmp")}).exit_code, 0);
  EXPECT_EQ(run_kestra({"example", "-o", dir.file("e.png")}).exit_code, 0);
  const auto bmp = read_bmp(dir.file("e.bmp"));
  const auto png = read_png(dir.file("e.png"));
  ASSERT_TRUE(bmp && png);
  EXPECT_EQ(bmp->pixels, png->pixels);
  EXPECT_GT(count_in(*bmp, RGB(31, 119, 180), 0, 0, 639, 399), 1000);  // the first series
}

}  // namespace
}  // namespace kestra::test
