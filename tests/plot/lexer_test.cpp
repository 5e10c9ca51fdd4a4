// ParseExpression: tokens, literal values, the head of the expression and
// the limits of runs and of the tables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "plot/engine_support.h"

namespace kestra::test {
namespace {

using plot::ExprTokenCount;
using plot::ExprValueCount;
using plot::ParseExpression;

TEST(ParseExpression, Tokens) {
  struct Case {
    int line;
    const char* text;
    int code;
    const char* tokens;
  };
  const Case cases[] = {
      {__LINE__, "", 0, ""},
      {__LINE__, "   ", 0, ""},
      {__LINE__, "\t^_\xC3\xA9", 0, ""},  // ignored characters only
      {__LINE__, "y=", 0, "y ="},
      {__LINE__, "y=sin(x)", 0, "y = sin ( x )"},
      {__LINE__, "y = sin ( x )", 0, "y = sin ( x )"},
      {__LINE__, "y\t=\tx", 0, "y = x"},
      {__LINE__, "y=x^2", 8, "y = x 2"},          // '^' is ignored
      {__LINE__, "y=2x", 8, "y = 2 x"},           // letters and digits never join
      {__LINE__, "y=x2", 8, "y = x 2"},
      {__LINE__, "y=1e5", 8, "y = 1 e 5"},        // no exponent notation
      {__LINE__, "y=1.2.3", 0, "y = 1.2"},        // atof reads the longest number
      {__LINE__, "y=.5", 0, "y = 0.5"},
      {__LINE__, "y=5.", 0, "y = 5"},
      {__LINE__, "y=.", 0, "y = 0"},
      {__LINE__, "y=..5", 0, "y = 0"},
      {__LINE__, "y=007.50", 0, "y = 7.5"},
      {__LINE__, "y=-+*/()=,", 2, "y = - + * / ( ) = ,"},
      {__LINE__, "x=pow(y)(e)+pi", 0, "x = pow ( y ) ( e ) + pi"},
      {__LINE__, "x=2*y", 0, "x = 2 * y"},
      {__LINE__, "y", 2002, "y"},
      {__LINE__, "y+x", 2002, "y + x"},
      {__LINE__, "sin(x)", 2001, "sin ( x )"},
      {__LINE__, "2=x", 2001, "2 = x"},
      {__LINE__, "=x", 2001, "= x"},
      {__LINE__, "Y=x", 1, ""},            // words are case-sensitive
      {__LINE__, "y=Sin(x)", 1, "y ="},    // scanning stops at the unknown word
      {__LINE__, "y=sinx", 1, "y ="},      // a run of letters is one word
      {__LINE__, "y=xx", 1, "y ="},
      {__LINE__, "foo=1", 1, ""},          // before the head is looked at
      {__LINE__, "y=sin x", 4, "y = sin x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(ParseExpression(c.text), c.code);
    EXPECT_EQ(token_text(), c.tokens);
  }
}

TEST(ParseExpression, NullTextIsEmpty) {
  EXPECT_EQ(ParseExpression(nullptr), 0);
  EXPECT_EQ(ExprTokenCount, 0);
}

TEST(ParseExpression, LiteralsTakeSlotsInTextOrder) {
  ASSERT_EQ(ParseExpression("y=3*x+0.25/7"), 0);
  EXPECT_EQ(ExprValueCount, 3);
  EXPECT_EQ(plot::ExprValues[0], 3.0);
  EXPECT_EQ(plot::ExprValues[1], 0.25);
  EXPECT_EQ(plot::ExprValues[2], 7.0);
  EXPECT_EQ(plot::ExprTokens[2].kind, plot::kind_number);
  EXPECT_EQ(plot::ExprTokens[2].code, 0);
  EXPECT_EQ(plot::ExprTokens[8].code, 2);
}

// A later parse starts from scratch.
TEST(ParseExpression, RebuildsTheTables) {
  ASSERT_EQ(ParseExpression("y=1+2+3"), 0);
  ASSERT_EQ(ParseExpression("x=9"), 0);
  EXPECT_EQ(ExprTokenCount, 3);
  EXPECT_EQ(ExprValueCount, 1);
  EXPECT_EQ(token_text(), "x = 9");
}

TEST(ParseExpression, LongWordIsNoKeyword) {
  EXPECT_EQ(ParseExpression(("y=" + std::string(300, 'x')).c_str()), 1);
  EXPECT_EQ(ParseExpression(("y=" + std::string(100000, 'a')).c_str()), 1);
}

// A number is read from the first 255 characters of its run.
TEST(ParseExpression, LongNumberReadsItsFirst255Characters) {
  const std::string digits = std::string(254, '1') + "." + std::string(200, '9');
  ASSERT_EQ(ParseExpression(("y=" + digits).c_str()), 0);
  EXPECT_EQ(plot::ExprValues[0], std::atof(std::string(254, '1').c_str()));
  EXPECT_EQ(plot::ExprValues[0], std::atof(digits.substr(0, 255).c_str()));

  ASSERT_EQ(ParseExpression(("y=0." + std::string(400, '0') + "1").c_str()), 0);
  EXPECT_EQ(plot::ExprValues[0], 0.0);
}

// Beyond 2000 tokens every token lands in the overflow entry, without error.
TEST(ParseExpression, TokensBeyondTheLimitAreDropped) {
  std::string text = "y=1";
  for (int i = 0; i < 1200; ++i) text += "+1";
  // Tokens 2..1999 stand; the last stored one is a "+".
  EXPECT_EQ(ParseExpression(text.c_str()), plot::expr_operator_at_end);
  EXPECT_EQ(ExprTokenCount, plot::expr_capacity);
  EXPECT_EQ(ExprValueCount, 1201);

  text = "y=-x";
  for (int i = 0; i < 998; ++i) text += "+x";  // exactly 2000 tokens
  for (int i = 0; i < 2500; ++i) text += " 7";  // dropped, their values kept up to the limit
  EXPECT_EQ(ParseExpression(text.c_str()), 0);
  EXPECT_EQ(ExprTokenCount, plot::expr_capacity);
  EXPECT_EQ(ExprValueCount, plot::expr_capacity);
  EXPECT_EQ(plot::ExprValues[plot::expr_capacity], 7.0);
}

}  // namespace
}  // namespace kestra::test
