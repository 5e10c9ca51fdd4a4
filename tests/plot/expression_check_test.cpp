// check_expression: the engine's code, the byte of the fault and a reason
// for each rule a text can break.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "kestra_expression.h"

namespace kestra::test {
namespace {

TEST(ExpressionCheck, SaysWhereAndWhy) {
  struct Case {
    int line;
    std::string text;
    int code;
    std::size_t offset;
    const char* reason;  // a part of the reason
  };
  const Case cases[] = {
      {__LINE__, "y=sin(x)*2", 0, 0, ""},
      {__LINE__, "", 0, 0, ""},                            // plots nothing, but is no fault
      {__LINE__, "y=foo(x)", 1, 2, "'foo' is no name"},    // from the lexer
      {__LINE__, "y = 2 * bar", 1, 8, "'bar'"},
      {__LINE__, "y=(x))", 1, 5, "')' without"},           // from the checker
      {__LINE__, "y=--x", 2, 3, "leading sign"},
      {__LINE__, "y=x*-1", 3, 4, "missing here"},
      {__LINE__, "y=sin x", 4, 6, "in parentheses"},
      {__LINE__, "y=pow(x)+1", 4, 8, "in parentheses"},
      {__LINE__, "y=x+(", 5, 5, "after '('"},
      {__LINE__, "y=-", 6, 3, "after a sign"},
      {__LINE__, "y=x+cos", 7, 7, "function's name"},
      {__LINE__, "y=2x", 8, 3, "operator is missing"},
      {__LINE__, "y=x+", 9, 4, "after an operator"},
      {__LINE__, "y=(x+1", 10, 6, "'(' is not closed"},
      {__LINE__, "y=sin(x", 11, 7, "function are not closed"},
      {__LINE__, "2=x", 2001, 0, "begin with 'y=' or 'x='"},
      {__LINE__, "  z=x", 1, 2, "'z'"},                    // z is no keyword at all
      {__LINE__, "y x", 2002, 2, "'=' must follow"},
      {__LINE__, "y^x", 2002, 2, "'=' must follow"},       // '^' is skipped: x is token 1
      {__LINE__, "y=x\xc3\xa4+", 9, 6, "after an operator"},  // bytes above 127 are skipped
      {__LINE__, std::string("y=x+\0junk", 9), 9, 4, "after an operator"},  // up to the NUL
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line << ": " << c.text);
    const ExpressionCheck check = check_expression(c.text);
    EXPECT_EQ(check.code, c.code);
    EXPECT_EQ(check.offset, c.offset);
    EXPECT_NE(check.reason.find(c.reason), std::string::npos) << check.reason;
    EXPECT_EQ(check.reason.empty(), c.code == 0);
  }
}

TEST(ExpressionCheck, AgreesWithCreateGraphOnEveryThread) {
  const OPTION_RECT options = ReturnOptionRect({0, 0, 20, 20}, 0, 0, 0, 0, -1, -1, 1, 1, -1, 1,
                                               0, 10, nullptr, nullptr, 0);
  auto agree = [&](const char* text) {
    HBITMAP bitmap = nullptr;
    const int status = CreateGraph(const_cast<char*>(text), options, &bitmap, 1);
    if (bitmap) DeleteObject(bitmap);
    return (status == KESTRA_BAD_EXPRESSION) == (check_expression(text).code != 0);
  };
  bool agreed[2] = {};
  std::thread first([&] { agreed[0] = agree("y=sin(x") && agree("y=sin(x)"); });
  std::thread second([&] { agreed[1] = agree("x=pow(y)(2)") && agree("x=pow(y)"); });
  first.join();
  second.join();
  EXPECT_TRUE(agreed[0]);
  EXPECT_TRUE(agreed[1]);
}

}  // namespace
}  // namespace kestra::test
