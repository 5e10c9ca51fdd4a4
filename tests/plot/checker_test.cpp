// CheckExpression through ParseExpression: the code for every rule broken.
#include <gtest/gtest.h>

#include <string>

#include "plot/engine_support.h"

namespace kestra::test {
namespace {

TEST(CheckExpression, Codes) {
  struct Case {
    int line;
    const char* text;
    int code;
  };
  const Case cases[] = {
      {__LINE__, "y=x", 0},
      {__LINE__, "y=2", 0},
      {__LINE__, "y=pi", 0},
      {__LINE__, "y=e", 0},
      {__LINE__, "y=-x", 0},
      {__LINE__, "y=+2*x", 0},
      {__LINE__, "x=y", 0},
      {__LINE__, "y=((x))", 0},
      {__LINE__, "y=sin(cos(x))", 0},
      {__LINE__, "y=x*(x+1)", 0},
      {__LINE__, "y=pow(x)(2)", 0},
      {__LINE__, "y=log(10)(x)", 0},
      {__LINE__, "y=(-x)", 0},          // a sign may open any group
      {__LINE__, "y=abs(-pi)/tg(+e)", 0},
      {__LINE__, "y=x)", 1},            // ")" without "("
      {__LINE__, "y=(x))", 1},
      {__LINE__, "y=-(x)", 2},
      {__LINE__, "y=-sin(x)", 2},
      {__LINE__, "y=--x", 2},
      {__LINE__, "y=-y", 2},            // the left-hand variable is no value
      {__LINE__, "y=*x", 3},
      {__LINE__, "y=()", 3},
      {__LINE__, "y=x*-1", 3},          // no sign behind an infix operator
      {__LINE__, "y=y+1", 3},
      {__LINE__, "y=x+=", 3},
      {__LINE__, "y=,", 3},
      {__LINE__, "y==x", 3},
      {__LINE__, "x=x", 3},
      {__LINE__, "y=sin x", 4},
      {__LINE__, "y=pow(x)", 4},
      {__LINE__, "y=pow(x)+1", 4},
      {__LINE__, "y=log(2)", 4},
      {__LINE__, "y=(", 5},
      {__LINE__, "y=x+(", 5},
      {__LINE__, "y=sin(", 5},
      {__LINE__, "y=pow(x)(", 5},
      {__LINE__, "y=-", 6},
      {__LINE__, "y=sin", 7},
      {__LINE__, "y=x+cos", 7},
      {__LINE__, "y=2x", 8},
      {__LINE__, "y=x(2)", 8},
      {__LINE__, "y=x=1", 8},
      {__LINE__, "y=pow(x,2)", 8},      // the "," inside the first group
      {__LINE__, "y=x pi", 8},
      {__LINE__, "y=x+", 9},
      {__LINE__, "y=(x+", 9},
      {__LINE__, "y=(x", 10},
      {__LINE__, "y=x*(x", 10},
      {__LINE__, "y=((x)", 10},
      {__LINE__, "y=sin(x", 11},
      {__LINE__, "y=pow(x)(2", 11},
      {__LINE__, "y=pow(x(2)", 8},
      {__LINE__, "y=sin((x)", 11},      // the inner group is closed, the call's is not
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(plot::ParseExpression(c.text), c.code) << c.text;
  }
}

// The cursor ends at the token count on success.
TEST(CheckExpression, SuccessLeavesTheCursorAtTheEnd) {
  ASSERT_EQ(plot::ParseExpression("y=sin(x)*pow(2)(x)"), 0);
  EXPECT_EQ(plot::ExprCursor, plot::ExprTokenCount);
}

// Nesting as deep as the token table allows.
TEST(CheckExpression, DeepNesting) {
  const std::string open(999, '(');
  EXPECT_EQ(plot::ParseExpression(("y=" + open + "x" + std::string(998, ')')).c_str()), 10);
  EXPECT_EQ(plot::ParseExpression(("y=" + std::string(1997, '(') + "x").c_str()), 10);
  EXPECT_EQ(plot::ParseExpression(("y=" + std::string(2500, '(')).c_str()), 5);
}

}  // namespace
}  // namespace kestra::test
