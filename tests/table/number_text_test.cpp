// Numbers as people write them in cells, with either decimal mark, and the
// mark a grid's cells agree on.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "table/table_reader.h"

namespace kestra::table {
namespace {

struct NumberCase {
  int line;
  const char* text;
  DecimalMark mark;
  std::optional<double> expected;
};

constexpr DecimalMark dot = DecimalMark::dot;
constexpr DecimalMark comma = DecimalMark::comma;

TEST(ParseNumber, ReadsNumbersAsPeopleWriteThem) {
  const NumberCase cases[] = {
      {__LINE__, "12", dot, 12},
      {__LINE__, "-2.5", dot, -2.5},
      {__LINE__, "+7", dot, 7},
      {__LINE__, ".5", dot, 0.5},          // no integer digits
      {__LINE__, "5.", dot, 5},            // no fraction digits
      {__LINE__, "1,234.50", dot, 1234.5},  // thousands separator
      {__LINE__, "1,234,567", dot, 1234567},
      {__LINE__, "1.234,5", comma, 1234.5},
      {__LINE__, "1,5", comma, 1.5},
      {__LINE__, "1 234", dot, 1234},           // space as thousands separator
      {__LINE__, "1\xC2\xA0" "234,5", comma, 1234.5},  // NBSP as thousands separator
      {__LINE__, "1\xE2\x80\xAF" "234", dot, 1234},    // narrow no-break space
      {__LINE__, "1'234.5", dot, 1234.5},       // apostrophe, as Swiss locales write
      {__LINE__, "\xE2\x88\x92" "3.25", dot, -3.25},  // U+2212 minus
      {__LINE__, "1E\xE2\x88\x92" "05", dot, 1e-5},   // U+2212 in the exponent
      {__LINE__, "1e5", dot, 1e5},
      {__LINE__, "2.5E+3", dot, 2500},
      {__LINE__, "(5)", dot, -5},               // accounting negative
      {__LINE__, "(1,234.5)", dot, -1234.5},
      {__LINE__, "12%", dot, 0.12},             // a percentage is a hundredth
      {__LINE__, "-2.5 %", dot, -0.025},
      {__LINE__, "(10%)", dot, -0.1},
      {__LINE__, "  \t7 ", dot, 7},             // spaces around
      {__LINE__, "\xC2\xA0" "1", dot, 1},       // NBSP before (&nbsp;1)
      {__LINE__, "3\xC2\xA0", dot, 3},
      // Not numbers: each is a gap, never 0.
      {__LINE__, "", dot, std::nullopt},
      {__LINE__, "n/a", dot, std::nullopt},
      {__LINE__, "-", dot, std::nullopt},
      {__LINE__, "%", dot, std::nullopt},
      {__LINE__, "()", dot, std::nullopt},
      {__LINE__, "1,5", dot, std::nullopt},      // a comma that groups no thousands
      {__LINE__, "1,2345", dot, std::nullopt},
      {__LINE__, "12,34,567", dot, std::nullopt},  // Indian grouping is not read
      {__LINE__, "1,234 567", dot, std::nullopt},  // mixed separators
      {__LINE__, "3.25", comma, std::nullopt},   // a dot that groups no thousands
      {__LINE__, "1.2.3", dot, std::nullopt},
      {__LINE__, "(-5)", dot, std::nullopt},     // two signs
      {__LINE__, "--5", dot, std::nullopt},
      {__LINE__, "5-", dot, std::nullopt},
      {__LINE__, "1e", dot, std::nullopt},
      {__LINE__, "e5", dot, std::nullopt},
      {__LINE__, "inf", dot, std::nullopt},      // from_chars would accept these
      {__LINE__, "nan", dot, std::nullopt},
      {__LINE__, "NaN", dot, std::nullopt},      // pandas' missing value
      {__LINE__, "1e999", dot, std::nullopt},    // not finite
      {__LINE__, "0x10", dot, std::nullopt},
      {__LINE__, "12 apples", dot, std::nullopt},
      {__LINE__, "TRUE ", dot, 1.0},             // booleans, as spreadsheets read them
      {__LINE__, "false", comma, 0.0},
      {__LINE__, "tRUE", dot, std::nullopt},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line << ": \"" << c.text << "\"");
    const std::optional<double> value = parse_number(c.text, c.mark);
    ASSERT_EQ(value.has_value(), c.expected.has_value());
    if (value) {
      EXPECT_DOUBLE_EQ(*value, *c.expected);
    }
  }
}

Grid text_grid(std::initializer_list<const char*> texts, bool comma_on_tie) {
  Grid grid;
  for (const char* text : texts) grid.cells.push_back(SourceCell{text, std::nullopt, false});
  grid.rows = 1;
  grid.cols = grid.cells.size();
  grid.comma_on_tie = comma_on_tie;
  return grid;
}

TEST(ChooseDecimalMark, FollowsTheCellsThenTheSeparator) {
  struct Case {
    int line;
    std::initializer_list<const char*> texts;
    bool comma_on_tie;
    DecimalMark expected;
  } cases[] = {
      {__LINE__, {"1,5", "2,25", "3"}, false, comma},
      {__LINE__, {"1.5", "2,25", "3.75"}, true, dot},   // most cells say dot
      {__LINE__, {"1,234", "7"}, true, comma},         // a tie: the semicolon decides
      {__LINE__, {"1,234", "7"}, false, dot},
      {__LINE__, {"text", "12"}, true, comma},
      {__LINE__, {"1,234.5", "1,5"}, false, dot},        // tie without the semicolon
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line);
    EXPECT_EQ(choose_decimal_mark(text_grid(c.texts, c.comma_on_tie)), c.expected);
  }
}

}  // namespace
}  // namespace kestra::table
