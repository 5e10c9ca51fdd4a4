// Plot geometry, value scale, number format, category labels and pen styles.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "diagram/diagram.h"
#include "diagram/diagram_fixture.h"

namespace kestra::test {
namespace {

using diagram::Geometry;

TEST(Geometry, PlotAreaPointsSlotsAndDivisions) {
  DiagramInput input(1, 4, {10.0, 5.0, 0.0, 2.0}, 0);
  const Geometry g(input.table, input.disp);
  EXPECT_EQ(g.axis_x(), 22);
  EXPECT_EQ(g.axis_y(), 158);
  EXPECT_EQ(g.right(), 298);
  const int points[] = {91, 160, 229, 298};
  const int edges[] = {22, 91, 160, 229, 298};
  const int rows[] = {2, 41, 80, 119, 158};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(g.point_x(c), points[c]) << c;
  for (int c = 0; c <= 4; ++c) EXPECT_EQ(g.slot_edge(c), edges[c]) << c;
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(g.division_y(i, 4), rows[i]) << i;
  EXPECT_EQ(g.vmax(), 10.0);
  EXPECT_EQ(g.y(10.0), 2);
  EXPECT_EQ(g.y(5.0), 80);
  EXPECT_EQ(g.y(0.0), 158);
  EXPECT_EQ(g.y(-5.0), 236);  // below the base: below the category axis
}

TEST(Geometry, BarSpans) {
  struct Case {
    int line;
    int rows, r, c, left, right;
  };
  const Case cases[] = {
      {__LINE__, 1, 0, 0, 23, 159},
      {__LINE__, 1, 0, 1, 161, 297},
      {__LINE__, 2, 0, 0, 23, 90},
      {__LINE__, 2, 1, 0, 92, 159},
      {__LINE__, 2, 1, 1, 230, 297},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    DiagramInput input(c.rows, 2, std::vector<double>(static_cast<std::size_t>(c.rows) * 2, 1.0), 0);
    const Geometry::Span span = Geometry(input.table, input.disp).bar(c.r, c.c);
    EXPECT_EQ(span.left, c.left);
    EXPECT_EQ(span.right, c.right);
  }
}

TEST(Geometry, ValueScaleEdgeCases) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    int line;
    std::vector<double> values;
    double base;
    double vmax;
    bool extent;
  };
  const Case cases[] = {
      {__LINE__, {-3.0, -1.0}, 0.0, 0.0, false},  // all negative: vmax stays 0
      {__LINE__, {0.0, 0.0}, 0.0, 0.0, false},    // no extent
      {__LINE__, {4.0, 4.0}, 4.0, 4.0, false},
      {__LINE__, {inf, 2.0}, 0.0, 2.0, true},     // values that are not finite are skipped
      {__LINE__, {nan, 2.0}, 0.0, 2.0, true},
      {__LINE__, {1.0, 2.0}, nan, 2.0, false},
      {__LINE__, {1.0, 1e308}, -1e308, 1e308, false},  // extent overflows
      {__LINE__, {1.0, 2.0}, 5.0, 2.0, true},     // base above every value: inverted scale
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    DiagramInput input(1, 2, c.values, 0);
    input.disp.baseValue = c.base;
    const Geometry g(input.table, input.disp);
    EXPECT_EQ(g.vmax(), c.vmax);
    EXPECT_EQ(g.has_extent(), c.extent);
    if (!c.extent) {
      EXPECT_EQ(g.y(1.0), 158);  // everything sits on the category axis
    }
    EXPECT_FALSE(g.y(nan).has_value());
    EXPECT_FALSE(g.y(inf).has_value());
  }
}

TEST(Geometry, FarRowsAreClampedToTheCoordinateSpace) {
  DiagramInput input(1, 2, {1e-300, -1e300}, 0);
  const Geometry g(input.table, input.disp);
  ASSERT_TRUE(g.has_extent());
  EXPECT_EQ(g.y(-1e300), 1 << 27);
  EXPECT_EQ(g.y(-1.7e308), 1 << 27);
}

TEST(NumberFormat, PrintsWithTheGivenDecimals) {
  struct Case {
    int line;
    std::uint8_t decimals;
    double value;
    std::string expected;
  };
  const Case cases[] = {
      {__LINE__, 2, 3.14159, "3.14"},
      {__LINE__, 0, 7.5, "8"},  // no decimal point
      {__LINE__, 0, 2.0, "2"},
      {__LINE__, 2, -2.5, "-2.50"},
      {__LINE__, 1, 0.0, "0.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    diagram::NumberFormat format(c.decimals);
    EXPECT_EQ(std::string(format.print(c.value)), c.expected);
  }
}

TEST(NumberFormat, LongNumbersAreCutToTheTextBuffer) {
  diagram::NumberFormat format(255);
  const std::string text(format.print(1e300));
  EXPECT_EQ(text.size(), 259u);
  EXPECT_EQ(text.substr(0, 4), "1000");
}

std::string all_labels(const char* buffer, std::size_t length, int count) {
  std::string out;
  diagram::CategoryLabels labels(buffer, length);
  for (int c = 0; c < count; labels.advance(), ++c) {
    const auto label = labels.current();
    if (label) {
      out.append("[").append(*label).append("]");
    } else {
      out += "-";
    }
  }
  return out;
}

TEST(CategoryLabels, ScansTheBufferForTerminators) {
  struct Case {
    int line;
    std::string buffer;
    std::size_t length;
    std::string expected;
  };
  const Case cases[] = {
      {__LINE__, std::string("ab\0cd\0ef\0", 9), 9, "[ab][cd][ef]--"},  // three texts, five categories
      {__LINE__, std::string("ab\0cd\0ef", 9), 9, "[ab][cd][ef]--"},    // no last terminator counted
      {__LINE__, std::string("ab\0cd\0", 6), 0, "[ab]----"},             // length 0: category 0 only
      {__LINE__, std::string("ab\0cd\0", 6), 3, "[ab]----"},             // terminator in the last byte
      {__LINE__, std::string("ab\0cd\0", 6), 4, "[ab][c]---"},           // cut at the buffer's end
      {__LINE__, std::string("\0\0x\0", 4), 4, "[][][x]--"},             // empty texts
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(all_labels(c.buffer.c_str(), c.length, 5), c.expected);
  }
  EXPECT_EQ(all_labels(nullptr, 8, 2), "--");
}

TEST(PenStyle, CodesOneToFiveAndSolidOtherwise) {
  EXPECT_EQ(diagram::pen_style(1), PS_SOLID);
  EXPECT_EQ(diagram::pen_style(2), PS_DOT);
  EXPECT_EQ(diagram::pen_style(3), PS_DASH);
  EXPECT_EQ(diagram::pen_style(4), PS_DASHDOT);
  EXPECT_EQ(diagram::pen_style(5), PS_DASHDOTDOT);
  for (int code : {0, 6, -1, 1000}) EXPECT_EQ(diagram::pen_style(code), PS_SOLID) << code;
}

}  // namespace
}  // namespace kestra::test
