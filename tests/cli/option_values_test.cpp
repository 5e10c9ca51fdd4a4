// Option value parsers: what each accepts, and that every malformed or
// out-of-range text is refused rather than read as 0 or a prefix.
#include <gtest/gtest.h>

#include <cmath>

#include "option_values.h"
#include "picture_file.h"
#include "values_text.h"

namespace kestra::cli {
namespace {

TEST(ParseNumber, ReadsWholeFiniteNumbersOnly) {
  struct Case {
    int line;
    const char* text;
    std::optional<double> expected;
  };
  const Case cases[] = {
      {__LINE__, "2.5", 2.5},   {__LINE__, "-10", -10.0}, {__LINE__, "+3", 3.0},
      {__LINE__, "1e3", 1000},  {__LINE__, ".5", 0.5},
      {__LINE__, "", std::nullopt},      // nothing is not 0
      {__LINE__, "abc", std::nullopt},   // atof would give 0
      {__LINE__, "12px", std::nullopt},  // atof would give 12
      {__LINE__, "1,5", std::nullopt},   // a decimal comma is not read as 1
      {__LINE__, "nan", std::nullopt},   {__LINE__, "inf", std::nullopt},
      {__LINE__, "1e999", std::nullopt},  // out of range
      {__LINE__, " 1", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(parse_number(c.text), c.expected);
  }
}

TEST(ParseInteger, ChecksItsRange) {
  EXPECT_EQ(parse_integer("99", 1, 99), 99);
  EXPECT_EQ(parse_integer("+1", 1, 99), 1);
  EXPECT_EQ(parse_integer("0", 1, 99), std::nullopt);
  EXPECT_EQ(parse_integer("100", 1, 99), std::nullopt);
  EXPECT_EQ(parse_integer("2.5", 1, 99), std::nullopt);
  EXPECT_EQ(parse_integer("99999999999999999999", 1, 99), std::nullopt);  // overflow
}

TEST(ParseShapes, SizesSpansAndRectangles) {
  const auto size = parse_size("640X400");
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, 640);
  EXPECT_EQ(size->height, 400);
  for (const char* bad : {"640", "0x400", "640x", "x400", "640x-1", "20000x10", "6.4x4"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(parse_size(bad));
  }
  const auto span = parse_span("-5:2.5");
  ASSERT_TRUE(span);
  EXPECT_EQ(span->from, -5.0);
  EXPECT_EQ(span->to, 2.5);
  for (const char* bad : {"5", "-5:", ":5", "a:b", "1:2:3"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(parse_span(bad));
  }
  const auto rect = parse_rect("2,3,298,-4");
  ASSERT_TRUE(rect);
  EXPECT_EQ(rect->left, 2);
  EXPECT_EQ(rect->top, 3);
  EXPECT_EQ(rect->right, 298);
  EXPECT_EQ(rect->bottom, -4);
  EXPECT_FALSE(parse_rect("1,2,3"));
  EXPECT_FALSE(parse_rect("1,2,3,x"));
}

TEST(SplitList, KeepsEmptyItemsBetweenCommas) {
  EXPECT_EQ(split_list("Q1,Q2,,Q4"), (std::vector<std::string>{"Q1", "Q2", "", "Q4"}));
  EXPECT_EQ(split_list("one"), (std::vector<std::string>{"one"}));
  EXPECT_TRUE(split_list("").empty());
}

TEST(ParseColor, HexAndNamesAsColorrefs) {
  struct Case {
    int line;
    const char* text;
    std::optional<COLORREF> expected;
  };
  const Case cases[] = {
      {__LINE__, "#1f77b4", RGB(0x1f, 0x77, 0xb4)},  // red in the lowest byte
      {__LINE__, "#FF7F0E", RGB(255, 127, 14)},
      {__LINE__, "#f80", RGB(255, 136, 0)},  // #rgb doubles each digit
      {__LINE__, "Red", RGB(255, 0, 0)},     // names in any case
      {__LINE__, "grey", RGB(128, 128, 128)},
      {__LINE__, "#12345", std::nullopt},
      {__LINE__, "#12345g", std::nullopt},
      {__LINE__, "1f77b4", std::nullopt},
      {__LINE__, "reddish", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(parse_color(c.text), c.expected);
  }
}

TEST(ParseStyle, CodesAndNames) {
  EXPECT_EQ(parse_style("7"), 7);
  EXPECT_EQ(parse_style("DASH"), 3);
  EXPECT_EQ(parse_style("diagcross"), 4);
  EXPECT_EQ(parse_style("vertical"), 7);
  EXPECT_EQ(parse_style("0"), std::nullopt);
  EXPECT_EQ(parse_style("8"), std::nullopt);
  EXPECT_EQ(parse_style("wavy"), std::nullopt);
}

TEST(PictureFormat, FromTheExtensionInAnyCase) {
  EXPECT_EQ(picture_format("a.png"), PictureFormat::png);
  EXPECT_EQ(picture_format("dir.v2/A.PNG"), PictureFormat::png);
  EXPECT_EQ(picture_format("a.Bmp"), PictureFormat::bmp);
  EXPECT_EQ(picture_format("a.gif"), std::nullopt);
  EXPECT_EQ(picture_format("dir.png/picture"), std::nullopt);  // a dot in the folder only
  EXPECT_EQ(picture_format("png"), std::nullopt);
}

TEST(ColumnLetters, LikeSpreadsheetColumns) {
  EXPECT_EQ(column_letters(0), "A");
  EXPECT_EQ(column_letters(25), "Z");
  EXPECT_EQ(column_letters(26), "AA");
  EXPECT_EQ(column_letters(27), "AB");
  EXPECT_EQ(column_letters(701), "ZZ");
  EXPECT_EQ(column_letters(702), "AAA");
}

TEST(ParseValues, RowsAreSeries) {
  auto parsed = parse_values(" 1 2 3; 4,5,6\n7 8 9 ;");
  ASSERT_TRUE(std::holds_alternative<Table>(parsed)) << std::get<std::string>(parsed);
  const Table& table = std::get<Table>(parsed);
  EXPECT_EQ(table.rows, 3u);
  EXPECT_EQ(table.cols, 3u);
  EXPECT_EQ(table.values, (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(table.series_names, (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(table.category_labels, (std::vector<std::string>{"A", "B", "C"}));
}

TEST(ParseValues, RefusesWhatIsNoTable) {
  struct Case {
    int line;
    const char* text;
    const char* problem;
  };
  const Case cases[] = {
      {__LINE__, "1 2; 3", "row 2 has 1 values, row 1 has 2"},
      {__LINE__, "1 two 3", "'two' is not a number"},
      {__LINE__, " ; ", "no values"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    auto parsed = parse_values(c.text);
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed));
    EXPECT_EQ(std::get<std::string>(parsed), c.problem);
  }
}

}  // namespace
}  // namespace kestra::cli
