// What the plot command learns and shows of an expression: the engine's
// code, the place of the fault, the ignored characters and the orientation.
#include <gtest/gtest.h>

#include "expression_report.h"
#include "kestra_expression.h"

namespace kestra::cli {
namespace {

TEST(ExpressionReport, PlacesTheFaultAtTheTokenTheEngineStoppedAt) {
  struct Case {
    int line;
    std::string text;
    int code;
    std::size_t fault;  // byte offset
    const char* reason_part;
  };
  const Case cases[] = {
      {__LINE__, "y=sin(x", 11, 7, "not closed"},             // at the end
      {__LINE__, "y = (x", 10, 6, "not closed"},
      {__LINE__, "y=x)", 1, 3, "')' without its '('"},
      {__LINE__, "y=foo(x)", 1, 2, "'foo' is no name"},    // the lexer's stop
      {__LINE__, "y=Sin(x)", 1, 2, "'Sin' is no name"},
      {__LINE__, "sin(x)", 2001, 0, "must begin with"},
      {__LINE__, "y+x", 2002, 1, "'=' must follow"},
      {__LINE__, "y", 2002, 1, "'=' must follow"},            // no second token: the end
      {__LINE__, "y=2x", 8, 3, "operator is missing"},
      {__LINE__, "y=x^2", 8, 4, "operator is missing"},      // '^' ignored: x then 2
      {__LINE__, "y=x*-1", 3, 4, "is missing here"},
      {__LINE__, "y=-(x)", 2, 3, "sign must stand before"},
      {__LINE__, "y=sin x", 4, 6, "in parentheses"},
      {__LINE__, "y=x+", 9, 4, "ends after an operator"},
      {__LINE__, "y=\t\t(", 5, 5, "ends after '('"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const ExpressionCheck report = check_expression(c.text);
    EXPECT_EQ(report.code, c.code);
    EXPECT_EQ(report.offset, c.fault);
    EXPECT_NE(report.reason.find(c.reason_part), std::string::npos) << report.reason;
  }
}

TEST(ExpressionReport, AcceptedTextsAndTheirOrientation) {
  EXPECT_FALSE(check_expression("y=2*x").argument_on_vertical);
  EXPECT_TRUE(check_expression("x=2*y").argument_on_vertical);
  EXPECT_TRUE(check_expression("  x = y*y").argument_on_vertical);
  const ExpressionCheck empty = check_expression("");
  EXPECT_EQ(empty.code, 0);
  EXPECT_FALSE(empty.argument_on_vertical);
}

TEST(ExpressionReport, FindsEveryIgnoredCharacter) {
  const std::string text = "y=x^-1\t+ \xC3\xA9_2";
  const ExpressionCheck report = check_expression(text);
  EXPECT_EQ(report.code, 0);  // read as y=x-1+ 2
  EXPECT_EQ(report.ignored, (std::vector<std::size_t>{3, 6, 9, 10, 11}));
  EXPECT_EQ(describe_ignored(text, report.ignored),
            "'^' at column 4, '\\t' at column 7, '\xC3\xA9' at column 10, '_' at column 11");
  EXPECT_EQ(without_ignored(text, report.ignored), "y=x-1+ 2");
  EXPECT_TRUE(check_expression("y = x * 2").ignored.empty());  // blanks are separators
}

TEST(ExpressionReport, NotesTokensPastTheTableEnd) {
  std::string text = "y=x";
  for (int i = 0; i < 1000; ++i) text += "+1";
  EXPECT_TRUE(check_expression(text).tokens_dropped);  // 2003 tokens
  EXPECT_FALSE(check_expression("y=x+1").tokens_dropped);
}

TEST(CaretLine, OneColumnPerCharacterKeepingTabs) {
  EXPECT_EQ(caret_line("y=sin(x", 7), "       ^");
  EXPECT_EQ(caret_line("y=\tfoo", 3), "  \t^");
  EXPECT_EQ(caret_line("\xC3\xA9y=foo", 4), "   ^");  // a two-byte character is one column
}

}  // namespace
}  // namespace kestra::cli
