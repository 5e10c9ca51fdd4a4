// The engine's stages work on the state they are handed: a state over
// tables of its own leaves this thread's documented tables untouched.
#include <gtest/gtest.h>

#include <vector>

#include "plot/engine_support.h"
#include "plot/plot.h"

namespace kestra::test {
namespace {

// Tables of their own, the sizes of the documented ones.
struct OwnTables {
  std::vector<plot::EXPR_TOKEN> tokens = std::vector<plot::EXPR_TOKEN>(plot::expr_capacity + 1);
  std::vector<double> values = std::vector<double>(plot::expr_capacity + 1);
  std::vector<plot::EXPR_TOKEN> work = std::vector<plot::EXPR_TOKEN>(plot::expr_capacity);
  std::int32_t token_count = 0, value_count = 0, cursor = 0;

  plot::ExpressionState state() {
    return {tokens.data(), token_count, values.data(), value_count, cursor, work.data()};
  }
};

TEST(ExpressionState, StagesWorkOnTheStateTheyAreGiven) {
  ASSERT_EQ(plot::ParseExpression("y=1+x"), plot::expr_ok);
  const std::string thread_tokens = token_text();
  const std::int32_t thread_values = plot::ExprValueCount;

  OwnTables own;
  plot::ExpressionState state = own.state();
  ASSERT_EQ(plot::parse_expression(state, "y=2*x-pow(x)(2)+log(2)(8)"), plot::expr_ok);
  EXPECT_EQ(own.token_count, 21);
  double value = 0;
  EXPECT_EQ(plot::PointEvaluator(state).evaluate(3.0, &value), plot::expr_ok);
  EXPECT_DOUBLE_EQ(value, 6.0 - 9.0 + 3.0);
  auto program = plot::Program::compile(state);
  ASSERT_TRUE(program.has_value());
  EXPECT_EQ(program->run(3.0), value);

  EXPECT_EQ(plot::parse_expression(state, "y=(x"), plot::expr_group_unclosed);
  EXPECT_EQ(token_text(), thread_tokens);  // the thread's parse is still there
  EXPECT_EQ(plot::ExprValueCount, thread_values);
  EXPECT_EQ(evaluate_at(2.0).value, 3.0);
}

}  // namespace
}  // namespace kestra::test
