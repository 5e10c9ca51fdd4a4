// EvaluateExpression: values of the language, the worked reduction, and the
// per-point protocol's restore of the tables.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "plot/engine_support.h"

namespace kestra::test {
namespace {

using plot::ExprTokenCount;
using plot::ExprValueCount;
using plot::ExprValues;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double any_x = 123.456;

// An expected value: bit-exact, or within a tolerance where the language
// gives it only up to rounding.
struct Expect {
  double value;
  double tolerance = 0.0;
};

// `f(x)` as the C library computes it when the program runs: the compiler
// folds constant calls with exact rounding, which not every C library's
// sin or tan gives (msvcrt's may differ in the last bit).
double at_run_time(double (*f)(double), double x) {
  volatile double argument = x;
  return f(argument);
}

TEST(EvaluateExpression, Values) {
  struct Case {
    int line;
    const char* text;
    double x;
    Expect expected;
  };
  const Case cases[] = {
      {__LINE__, "y=x", 2.5, {2.5}},
      {__LINE__, "y=-x", 2.5, {-2.5}},
      {__LINE__, "y=+x", 2.5, {2.5}},
      {__LINE__, "y=-2*x", 2.5, {-5.0}},
      {__LINE__, "y=10-1-1-1", any_x, {7.0}},   // left to right
      {__LINE__, "y=8/2/2/2", any_x, {1.0}},
      {__LINE__, "y=2*6/3*2", any_x, {8.0}},
      {__LINE__, "y=2+3*4", any_x, {14.0}},     // "*" before "+"
      {__LINE__, "y=(2+3)*4", any_x, {20.0}},
      {__LINE__, "y=1-2*3+8/4-1", any_x, {-4.0}},
      {__LINE__, "y=pi", any_x, {3.1415927}},   // the decimal constant
      {__LINE__, "y=sin(pi)", any_x, {at_run_time(std::sin, 3.1415927)}},
      {__LINE__, "y=-pi", any_x, {-3.1415927}},
      {__LINE__, "y=e", any_x, {at_run_time(std::exp, 1.0)}},
      {__LINE__, "y=pow(2)(10)", any_x, {1024.0}},
      {__LINE__, "y=pow(x)(0.5)", 2.0, {std::sqrt(2.0)}},
      {__LINE__, "y=log(10)(1000)", any_x, {3.0, 1e-15}},
      {__LINE__, "y=log(2)(x)", 8.0, {3.0}},
      {__LINE__, "y=abs(x-5)", 2.0, {3.0}},
      {__LINE__, "y=tg(x)", 1.0, {at_run_time(std::tan, 1.0)}},
      {__LINE__, "y=cos(x)*sin(x)", 0.5, {at_run_time(std::cos, 0.5) * at_run_time(std::sin, 0.5)}},
      {__LINE__, "y=1/x", 0.0, {inf}},          // IEEE results, no error
      {__LINE__, "y=-1/x", 0.0, {-inf}},
      {__LINE__, "y=log(10)(0)", any_x, {-inf}},
      {__LINE__, "x=2*y", 3.0, {6.0}},          // "y" is the free variable
      {__LINE__, "y=2*(x+1)", 3.0, {8.0}},
      {__LINE__, "y=((((x))))", -7.0, {-7.0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ASSERT_EQ(plot::ParseExpression(c.text), 0) << c.text;
    const Evaluation result = evaluate_at(c.x);
    EXPECT_EQ(result.code, 0);
    if (c.expected.tolerance == 0.0) {
      EXPECT_EQ(std::bit_cast<std::uint64_t>(result.value),
                std::bit_cast<std::uint64_t>(c.expected.value))
          << result.value << " vs " << c.expected.value;
    } else {
      EXPECT_NEAR(result.value, c.expected.value, c.expected.tolerance);
    }
  }
}

TEST(EvaluateExpression, NotANumber) {
  for (const char* text : {"y=log(10)(x)", "y=pow(x)(0.5)", "y=0/(x+1)*log(1)(2)"}) {
    SCOPED_TRACE(text);
    ASSERT_EQ(plot::ParseExpression(text), 0);
    const Evaluation result = evaluate_at(-1.0);
    EXPECT_EQ(result.code, 0);
    EXPECT_TRUE(std::isnan(result.value));
  }
}

// Nothing to reduce: an empty group at every point.
TEST(EvaluateExpression, NoRightHandSideGivesFive) {
  for (const char* text : {"", "y=", "x="}) {
    ASSERT_EQ(plot::ParseExpression(text), 0);
    const Evaluation result = evaluate_at(1.0);
    EXPECT_EQ(result.code, plot::expr_empty_group);
    EXPECT_EQ(result.value, 0.0);
  }
}

// Tokens the checker would refuse give its codes (10 for an unclosed call)
// and a result of 0.0.
TEST(EvaluateExpression, ErrorsOfUncheckedTokens) {
  struct Case {
    int line;
    const char* text;
    int code;
  };
  const Case cases[] = {
      {__LINE__, "y=-(x)", 2}, {__LINE__, "y=*x", 3},      {__LINE__, "y=sin x", 4},
      {__LINE__, "y=(", 5},    {__LINE__, "y=-", 6},       {__LINE__, "y=sin", 7},
      {__LINE__, "y=2x", 8},   {__LINE__, "y=x+", 9},      {__LINE__, "y=(x", 10},
      {__LINE__, "y=sin(x", 10}, {__LINE__, "y=pow(x)", 4}, {__LINE__, "y=x)", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    static_cast<void>(plot::ParseExpression(c.text));  // refused: the evaluator runs anyway
    const Evaluation result = evaluate_at(2.0);
    EXPECT_EQ(result.code, c.code);
    if (c.code != 1) {
      EXPECT_EQ(result.value, 0.0);
    }
  }
}

// 'y=2*(x+1)' at 3: x goes to slot 2, 3 + 1 to slot 3, the group to slot 4
// and 2 x 4 to slot 5, which the last token names.
TEST(EvaluateExpression, WorkedReduction) {
  ASSERT_EQ(plot::ParseExpression("y=2*(x+1)"), 0);
  ASSERT_EQ(ExprValueCount, 2);
  std::copy_n(plot::ExprTokens, ExprTokenCount, plot::ExprWorkTokens);
  plot::ExprCursor = 2;
  double result = -1.0;
  EXPECT_EQ(plot::EvaluateExpression(3.0, &result), 0);
  EXPECT_EQ(result, 8.0);
  EXPECT_EQ(ExprValueCount, 6);
  const std::vector<double> slots(ExprValues, ExprValues + 6);
  EXPECT_EQ(slots, (std::vector<double>{2, 1, 3, 4, 4, 8}));
  EXPECT_EQ(ExprTokenCount, 3);
  EXPECT_EQ(plot::ExprWorkTokens[2].kind, plot::kind_number);
  EXPECT_EQ(plot::ExprWorkTokens[2].code, 5);
  EXPECT_EQ(plot::ExprCursor, 3);
}

TEST(EvaluateExpression, ProtocolLeavesTheTablesAsParsed) {
  for (const char* text : {"y=2*(x+1)", "y=-x+pow(x)(2)*log(3)(x)-abs(sin(x))/tg(e)", "x=pi*y"}) {
    SCOPED_TRACE(text);
    ASSERT_EQ(plot::ParseExpression(text), 0);
    const int tokens = ExprTokenCount;
    const int values = ExprValueCount;
    const std::vector<plot::EXPR_TOKEN> before(plot::ExprTokens, plot::ExprTokens + tokens);
    const std::vector<double> literals(ExprValues, ExprValues + values);
    const double first = evaluate_at(0.75).value;
    for (double x : {0.75, -2.0, 9.5}) EXPECT_EQ(evaluate_at(x).code, 0);
    EXPECT_EQ(evaluate_at(0.75).value, first);
    EXPECT_EQ(ExprTokenCount, tokens);
    EXPECT_EQ(ExprValueCount, values);
    EXPECT_EQ(std::memcmp(before.data(), plot::ExprTokens, before.size() * sizeof before[0]), 0);
    EXPECT_EQ(std::vector<double>(ExprValues, ExprValues + values), literals);
  }
}

// Once the slots run out every new value shares the overflow entry: the
// result is whatever the reduction leaves there, but nothing is written
// out of bounds.
TEST(EvaluateExpression, SlotsBeyondTheLimitShareTheOverflowEntry) {
  std::string text = "y=-x";
  for (int i = 0; i < 998; ++i) text += "+x";
  for (int i = 0; i < 1998; ++i) text += " 7";  // dropped tokens fill the value table
  ASSERT_EQ(plot::ParseExpression(text.c_str()), 0);
  ASSERT_EQ(ExprValueCount, plot::expr_capacity - 2);
  const Evaluation result = evaluate_at(1.0);
  EXPECT_EQ(result.code, 0);
  EXPECT_EQ(ExprValueCount, plot::expr_capacity - 2);
  // -1 goes to slot 1998 and the first x to 1999; every later x and every
  // sum shares slot 2000, so the first sum -1 + 1 = 0 is all that is left.
  EXPECT_EQ(result.value, 0.0);
}

}  // namespace
}  // namespace kestra::test
