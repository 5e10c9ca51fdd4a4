// Several inputs in one command: output names from the pattern, pictures
// equal to one-input runs, one line per failed input and the exit code.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "batch.h"
#include "cli_run.h"
#include "command_errors.h"
#include "support/temp_dir.h"

namespace kestra::test {
namespace {

TEST(OutputNames, ReplaceStemAndIndexAndRefuseClashes) {
  struct Case {
    int line;
    std::string pattern;
    std::vector<std::string> inputs;
    std::vector<std::string> names;  // empty: refused
  };
  const Case cases[] = {
      {__LINE__, "out/{stem}.png", {"a/sales.csv", "b/costs.xlsx"},
       {"out/sales.png", "out/costs.png"}},
      {__LINE__, "p{index}-{stem}.bmp", {"x.csv", "x.html"}, {"p1-x.bmp", "p2-x.bmp"}},
      {__LINE__, "one.png", {"only.csv"}, {"one.png"}},
      {__LINE__, "one.png", {"a.csv", "b.csv"}, {}},                  // no placeholder
      {__LINE__, "{stem}.png", {"a/x.csv", "b/x.csv"}, {}},           // equal stems
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    if (c.names.empty()) {
      EXPECT_THROW(cli::output_names(c.pattern, c.inputs), cli::UsageError);
    } else {
      EXPECT_EQ(cli::output_names(c.pattern, c.inputs), c.names);
    }
  }
}

// Lines of `text` that hold `part`.
std::size_t count_lines(const std::string& text, const std::string& part) {
  std::istringstream lines(text);
  std::size_t count = 0;
  for (std::string line; std::getline(lines, line);) count += line.find(part) != std::string::npos;
  return count;
}

TEST(BatchDiag, DrawsEveryInputAsAloneAndNamesEachFailure) {
  TempDir dir;
  const std::vector<std::string> tables = {"Q,A,B\nx,1,2\ny,3,4\n", "Q,A,B,C\nx,5,6,7\n",
                                           "no numbers here\n", "Q,A,B\nz,9,8\n"};
  std::vector<std::string> args = {"diag"};
  for (std::size_t i = 0; i < tables.size(); ++i) {
    args.push_back(dir.file("t" + std::to_string(i) + ".csv"));
    write_text(args.back(), tables[i]);
  }
  args.insert(args.end(), {"-o", dir.file("out/{stem}.png"), "--jobs", "3"});
  const CliRun batch = run_kestra(args);
  EXPECT_EQ(batch.exit_code, 1);
  // One error line, for the table without values, and every line names its input.
  EXPECT_EQ(count_lines(batch.err, "error"), 1u) << batch.err;
  EXPECT_EQ(count_lines(batch.err, "t2.csv"), count_lines(batch.err, "kestra: ") - 1) << batch.err;
  EXPECT_EQ(count_lines(batch.err, "error 1009"), 1u) << batch.err;
  EXPECT_NE(batch.err.find(dir.file("t2.csv") + ": the table holds no numbers"), std::string::npos);
  EXPECT_NE(batch.err.find("1 of 4 inputs failed, 3 pictures written"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.file("out/t2.png")));
  for (const std::string stem : {"t0", "t1", "t3"}) {
    SCOPED_TRACE(stem);
    const std::string alone = dir.file(stem + "-alone.png");
    ASSERT_EQ(run_kestra({"diag", dir.file(stem + ".csv"), "-o", alone}).exit_code, 0);
    const auto drawn = read_png(dir.file("out/" + stem + ".png")), expected = read_png(alone);
    ASSERT_TRUE(drawn && expected);
    EXPECT_EQ(drawn->pixels, expected->pixels);
  }
}

TEST(BatchPlot, DrawsEachExpressionToItsIndex) {
  TempDir dir;
  const CliRun batch = run_kestra({"plot", "y=sin(x)", "y=(x", "y=x/2",
                                   dir.file("plot-{index}.bmp")});
  EXPECT_EQ(batch.exit_code, 1);
  EXPECT_NE(batch.err.find("kestra: y=(x: error 1006"), std::string::npos) << batch.err;
  EXPECT_TRUE(std::filesystem::exists(dir.file("plot-1.bmp")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("plot-2.bmp")));
  EXPECT_TRUE(std::filesystem::exists(dir.file("plot-3.bmp")));
}

TEST(BatchPlot, RefusesAnOutputEveryInputWouldWrite) {
  TempDir dir;
  const CliRun batch = run_kestra({"plot", "y=x", "y=-x", "-o", dir.file("same.png")});
  EXPECT_EQ(batch.exit_code, cli::exit_usage);
  EXPECT_NE(batch.err.find("would both write"), std::string::npos);
}

}  // namespace
}  // namespace kestra::test
