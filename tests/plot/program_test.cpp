// The compiled program against the reference reduction: bit-identical
// results for random expressions, and the cases left to the reduction.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "plot/engine_support.h"

namespace kestra::test {
namespace {

// Random well-formed right-hand sides over the whole grammar.
class ExpressionGenerator {
 public:
  explicit ExpressionGenerator(unsigned seed) : random_(seed) {}

  std::string expression(char variable) {
    variable_ = variable;
    return std::string(1, variable == 'x' ? 'y' : 'x') + "=" + group(0);
  }

 private:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  std::string value() {
    static const char* const numbers[] = {"0", "1", "2", "0.5", "3.25", "10", ".125", "7."};
    switch (pick(4)) {
      case 0: return "pi";
      case 1: return "e";
      case 2: return std::string(1, variable_);
      default: return numbers[pick(8)];
    }
  }

  std::string operand(int depth) {
    static const char* const functions[] = {"sin", "cos", "tg", "abs", "pow", "log"};
    const int choice = depth > 4 ? 0 : pick(3);
    if (choice == 0) return value();
    if (choice == 1) return "(" + group(depth + 1) + ")";
    const std::string f = functions[pick(6)];
    std::string call = f + "(" + group(depth + 1) + ")";
    if (f == "pow" || f == "log") call += "(" + group(depth + 1) + ")";
    return call;
  }

  std::string group(int depth) {
    std::string text;
    if (pick(4) == 0) text = std::string(pick(2) ? "-" : "+") + value();
    else text = operand(depth);
    for (int n = pick(depth > 3 ? 2 : 5); n > 0; --n) text += "-+*/"[pick(4)] + operand(depth);
    return text;
  }

  std::mt19937 random_;
  char variable_ = 'x';
};

bool same_result(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

TEST(Program, MatchesTheReductionBitForBit) {
  ExpressionGenerator generator(20261208);
  const double points[] = {-2.5, -1.0, -0.0, 0.0, 0.3, 1.0, 7.25, 1e-3, 1e6};
  int compared = 0;
  for (int i = 0; i < 3000; ++i) {
    const std::string text = generator.expression(i % 5 ? 'x' : 'y');
    SCOPED_TRACE(text);
    ASSERT_EQ(plot::ParseExpression(text.c_str()), 0);
    auto program = plot::Program::compile(plot::thread_expression_state());
    ASSERT_TRUE(program.has_value());
    double batch[std::size(points)];
    program->run(points, batch, static_cast<int>(std::size(points)));
    for (std::size_t k = 0; k < std::size(points); ++k) {
      const Evaluation reference = evaluate_at(points[k]);
      ASSERT_EQ(reference.code, 0);
      ASSERT_TRUE(same_result(batch[k], reference.value))
          << "x=" << points[k] << ": " << batch[k] << " vs " << reference.value;
      ASSERT_TRUE(same_result(program->run(points[k]), reference.value));
      ++compared;
    }
  }
  EXPECT_EQ(compared, 3000 * 9);
}

TEST(Program, NoProgramWithoutRightHandSide) {
  for (const char* text : {"", "y=", "x="}) {
    ASSERT_EQ(plot::ParseExpression(text), 0);
    EXPECT_FALSE(plot::Program::compile(plot::thread_expression_state()).has_value());
  }
}

// The longest sum fits the value table; with the table filled by dropped
// literals the overflow slot would be shared, which only the reduction does.
TEST(Program, LeavesSharedOverflowSlotsToTheReduction) {
  std::string text = "y=-x";
  for (int i = 0; i < 998; ++i) text += "+x";
  ASSERT_EQ(plot::ParseExpression(text.c_str()), 0);
  auto program = plot::Program::compile(plot::thread_expression_state());
  ASSERT_TRUE(program.has_value());
  EXPECT_EQ(program->run(1.0), 997.0);
  EXPECT_EQ(evaluate_at(1.0).value, 997.0);

  // 4 literals + 1997 slots: only the last sum lands in the overflow entry.
  for (int i = 0; i < 4; ++i) text += " 7";
  ASSERT_EQ(plot::ParseExpression(text.c_str()), 0);
  ASSERT_TRUE(plot::Program::compile(plot::thread_expression_state()).has_value());
  EXPECT_EQ(evaluate_at(1.0).value, 997.0);

  text += " 7";  // the last two sums share it
  ASSERT_EQ(plot::ParseExpression(text.c_str()), 0);
  EXPECT_FALSE(plot::Program::compile(plot::thread_expression_state()).has_value());
}

}  // namespace
}  // namespace kestra::test
