// CreateTabGr, FreeTabGr, ReturnGraphElem, CreateGraphElem and CreateTextAxis.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "kestra.h"

namespace {

TEST(CreateTabGr, StoresValuesRowByRow) {
  TAB_GR table = CreateTabGr(2, 3, 1.0, 2.0, 3.0, 4.0, 5.0, 6.5);
  ASSERT_NE(table.values, nullptr);
  EXPECT_EQ(table.rows, 2);
  EXPECT_EQ(table.cols, 3);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(table.values[i], i + 1.0);
  EXPECT_EQ(table.values[5], 6.5);
  FreeTabGr(&table);
  EXPECT_EQ(table.values, nullptr);
  EXPECT_EQ(table.rows, 0);
  FreeTabGr(&table);  // a cleared table is released again harmlessly
  FreeTabGr(nullptr);
}

TEST(CreateTabGr, SizesWithoutValuesGiveNoArray) {
  struct Case {
    int line;
    int rows, cols;
  };
  const Case cases[] = {
      {__LINE__, 0, 2},
      {__LINE__, 2, 0},
      {__LINE__, -1, 2},
      {__LINE__, -2, -3},               // a positive product of negative sizes
      {__LINE__, INT_MAX, INT_MAX},     // beyond any address space
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TAB_GR table = CreateTabGr(c.rows, c.cols, 1.0);
    EXPECT_EQ(table.values, nullptr);
    EXPECT_EQ(table.rows, c.rows);
    EXPECT_EQ(table.cols, c.cols);
    FreeTabGr(&table);
  }
}

TEST(ReturnGraphElem, KeepsNamesUpToThirtyNineCharacters) {
  struct Case {
    int line;
    const char* name;
    std::string expected;
  };
  const std::string n39(39, 'a');
  const std::string n40(40, 'b');
  const std::string n200(200, 'c');
  const Case cases[] = {
      {__LINE__, "Sales", "Sales"},
      {__LINE__, n39.c_str(), n39},
      {__LINE__, n40.c_str(), " "},   // too long: a single space
      {__LINE__, n200.c_str(), " "},
      {__LINE__, "", ""},
      {__LINE__, nullptr, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const GRAPH_ELEM element = ReturnGraphElem(RGB(1, 2, 3), 4, const_cast<char*>(c.name));
    EXPECT_EQ(element.color, RGB(1, 2, 3));
    EXPECT_EQ(element.width, 1);
    EXPECT_EQ(element.style, 4);
    EXPECT_EQ(std::string(element.name), c.expected);
  }
}

TEST(CreateGraphElem, CopiesCountRecordsFiftyTwoBytesApart) {
  static_assert(sizeof(GRAPH_ELEM) == 52);
  std::vector<unsigned char> buffer(4 * 52, 0xEE);
  const GRAPH_ELEM a = ReturnGraphElem(1, 1, const_cast<char*>("a"));
  const GRAPH_ELEM b = ReturnGraphElem(2, 2, const_cast<char*>("b"));
  const GRAPH_ELEM c = ReturnGraphElem(3, 3, const_cast<char*>("c"));
  EXPECT_EQ(CreateGraphElem(buffer.data(), 3, a, b, c), 0);
  const GRAPH_ELEM* out = reinterpret_cast<const GRAPH_ELEM*>(buffer.data());
  EXPECT_EQ(out[0].color, 1u);
  EXPECT_EQ(out[1].style, 2);
  EXPECT_STREQ(out[2].name, "c");
  for (std::size_t i = 3 * 52; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xEE) << i;
}

TEST(CreateTextAxis, WritesTextsWithTheirTerminators) {
  char buffer[16];
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(CreateTextAxis(buffer, 2, const_cast<char*>("abc"), "def"), 0);
  EXPECT_EQ(std::string(buffer, 9), std::string("abc\0def\0z", 9));
}

TEST(CreateTextAxis, CutsLongTextsAndTakesNullAsEmpty) {
  std::vector<char> buffer(600, 'z');
  const std::string long_text(400, 'x');
  CreateTextAxis(buffer.data(), 3, const_cast<char*>(long_text.c_str()), nullptr, "q");
  EXPECT_EQ(std::string(buffer.data()), std::string(255, 'x'));
  EXPECT_EQ(buffer[256], '\0');          // the null text: an empty label
  EXPECT_EQ(std::string(&buffer[257]), "q");
  EXPECT_EQ(buffer[259], 'z');
}

}  // namespace
