// Each thread has its own expression tables: plots on several threads at
// once give the pictures they give one after another.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "plot/engine_support.h"
#include "plot/plot_fixture.h"

namespace kestra::test {
namespace {

const char* const kExpressions[] = {
    "y=sin(x)*5", "y=x*x/10-5", "x=y*y/4", "y=log(2)(abs(x)+1)*3-pow(x)(3)/100",
};

std::vector<COLORREF> draw(const char* expression) {
  OPTION_RECT options = plot_options(kAxes | 0x10 | 0x40, -10, 10);
  options.argOnX = expression[0] == 'y';
  options.argStep = 0.001;
  Plot plot(expression, options);
  EXPECT_EQ(plot.status, KESTRA_OK);
  return plot.pixels;
}

TEST(PlotThreads, ConcurrentPlotsMatchSequentialOnes) {
  std::vector<std::vector<COLORREF>> expected;
  for (const char* expression : kExpressions) expected.push_back(draw(expression));

  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < std::size(kExpressions); ++i) {
    threads.emplace_back([&, i] {
      for (int round = 0; round < 4; ++round) {
        if (draw(kExpressions[i]) != expected[i]) ++mismatches;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches, 0);
}

// A thread's parse leaves another thread's tables alone.
TEST(PlotThreads, TablesBelongToTheirThread) {
  ASSERT_EQ(plot::ParseExpression("y=2*(x+1)"), 0);
  std::thread other([] {
    EXPECT_EQ(plot::ExprTokenCount, 0);
    ASSERT_EQ(plot::ParseExpression("y=sin(x)+cos(x)*3"), 0);
    EXPECT_EQ(evaluate_at(0.0).value, 3.0);
  });
  other.join();
  EXPECT_EQ(token_text(), "y = 2 * ( x + 1 )");
  EXPECT_EQ(evaluate_at(3.0).value, 8.0);
}

}  // namespace
}  // namespace kestra::test
