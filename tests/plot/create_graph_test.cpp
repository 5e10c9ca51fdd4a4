// CreateGraph (bitmap form): status codes in their order, the refusal of
// sampling that cannot end, and the target modes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "plot/plot_fixture.h"

namespace kestra::test {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
const HBITMAP kUntouched = reinterpret_cast<HBITMAP>(std::uintptr_t{0x77});

TEST(CreateGraph, StatusCodes) {
  struct Case {
    int line;
    const char* expression;
    unsigned long mode;
    int font_height;
    double from, to, step;
    int expected;
  };
  const Case cases[] = {
      {__LINE__, "y=x", 1, 12, -1, 1, 0.01, KESTRA_OK},
      {__LINE__, "y=x", 9, 12, -1, 1, 0.01, KESTRA_OK},  // only the low three bits count
      {__LINE__, "y=x", 0, 12, -1, 1, 0.01, KESTRA_MODE_ZERO},
      {__LINE__, "y=x", 8, 12, -1, 1, 0.01, KESTRA_MODE_ZERO},
      {__LINE__, "y=x", 3, 12, -1, 1, 0.01, KESTRA_MODE_UNKNOWN},
      {__LINE__, "y=x", 7, 12, -1, 1, 0.01, KESTRA_MODE_UNKNOWN},
      {__LINE__, "y=x", 1, 0, -1, 1, 0.01, KESTRA_BAD_FONT_HEIGHT},
      {__LINE__, "y=x", 1, 100, -1, 1, 0.01, KESTRA_BAD_FONT_HEIGHT},
      {__LINE__, "y=x", 1, -5, -1, 1, 0.01, KESTRA_BAD_FONT_HEIGHT},
      {__LINE__, "y=x", 1, 1, -1, 1, 0.01, KESTRA_OK},
      {__LINE__, "y=x", 1, 99, -1, 1, 0.01, KESTRA_OK},
      {__LINE__, "y=", 1, 12, -1, 1, 0.01, KESTRA_OK},
      {__LINE__, "", 1, 12, -1, 1, 0.01, KESTRA_OK},
      {__LINE__, nullptr, 1, 12, -1, 1, 0.01, KESTRA_OK},
      // Every refusal of the engine is 1006.
      {__LINE__, "y=sin(x", 1, 12, -1, 1, 0.01, KESTRA_BAD_EXPRESSION},
      {__LINE__, "z=x", 1, 12, -1, 1, 0.01, KESTRA_BAD_EXPRESSION},
      {__LINE__, "sin(x)", 1, 12, -1, 1, 0.01, KESTRA_BAD_EXPRESSION},
      {__LINE__, "y", 1, 12, -1, 1, 0.01, KESTRA_BAD_EXPRESSION},
      {__LINE__, "y=x)", 1, 12, -1, 1, 0.01, KESTRA_BAD_EXPRESSION},
      {__LINE__, "y=-(x)", 1, 12, -1, 1, 0.01, KESTRA_BAD_EXPRESSION},
      {__LINE__, "y=x+", 1, 12, -1, 1, 0.01, KESTRA_BAD_EXPRESSION},
      // Sampling that would never end.
      {__LINE__, "y=x", 1, 12, -1, 1, 0, KESTRA_BAD_SAMPLING},
      {__LINE__, "y=x", 1, 12, -1, 1, -0.01, KESTRA_BAD_SAMPLING},
      {__LINE__, "y=x", 1, 12, -1, 1, nan, KESTRA_BAD_SAMPLING},
      {__LINE__, "y=x", 1, 12, -1, 1, inf, KESTRA_BAD_SAMPLING},
      {__LINE__, "y=x", 1, 12, nan, 1, 0.01, KESTRA_BAD_SAMPLING},
      {__LINE__, "y=x", 1, 12, -inf, 1, 0.01, KESTRA_BAD_SAMPLING},
      {__LINE__, "y=x", 1, 12, -1, nan, 0.01, KESTRA_BAD_SAMPLING},
      {__LINE__, "y=x", 1, 12, -1, inf, 0.01, KESTRA_BAD_SAMPLING},
      {__LINE__, "y=x", 1, 12, inf, inf, 0.01, KESTRA_BAD_SAMPLING},
      // An argument past its end is sampled once, whatever the bounds.
      {__LINE__, "y=x", 1, 12, 1, -inf, 0.01, KESTRA_OK},
      {__LINE__, "y=x", 1, 12, inf, 1, 0.01, KESTRA_OK},
      {__LINE__, "y=x", 1, 12, inf, -inf, 0.01, KESTRA_OK},
      {__LINE__, "y=x", 1, 12, 1e20, 1e20, 1, KESTRA_BAD_SAMPLING},  // t + step == t
      {__LINE__, "y=x", 1, 12, -1e300, 1e300, 1e200, KESTRA_BAD_SAMPLING},
      {__LINE__, "y=x", 1, 12, -1, 1, 1e-9, KESTRA_BAD_SAMPLING},  // 2e9 samples
      {__LINE__, "y=", 1, 12, -1, 1, 0, KESTRA_BAD_SAMPLING},
      {__LINE__, "y=x", 1, 12, 5, 1, 1e-300, KESTRA_OK},  // one sample
      {__LINE__, "y=x", 1, 12, 1e20, 1e20, 16384, KESTRA_OK},
      // The first fault in the table's order wins.
      {__LINE__, "z=x", 0, 0, 1, 1, 0, KESTRA_MODE_ZERO},
      {__LINE__, "z=x", 3, 0, 1, 1, 0, KESTRA_MODE_UNKNOWN},
      {__LINE__, "z=x", 1, 0, 1, 1, 0, KESTRA_BAD_FONT_HEIGHT},
      {__LINE__, "z=x", 1, 12, 1, 1, 0, KESTRA_BAD_EXPRESSION},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    NoLeakedObjects guard;
    OPTION_RECT options = plot_options(0, c.from, c.to);
    options.fontHeight = c.font_height;
    options.argStep = c.step;
    HBITMAP bitmap = kUntouched;
    EXPECT_EQ(CreateGraph(const_cast<char*>(c.expression), options, &bitmap, c.mode), c.expected);
    if (c.expected == KESTRA_OK) {
      EXPECT_NE(bitmap, kUntouched);
      DeleteObject(bitmap);
    } else {
      EXPECT_EQ(bitmap, kUntouched);  // nothing done
    }
  }
}

TEST(CreateGraph, PictureThatCannotBeMade) {
  for (tagRECT picture : {tagRECT{0, 0, 0, 200}, tagRECT{10, 0, 5, 200}, tagRECT{0, 0, 40000, 10}}) {
    NoLeakedObjects guard;
    OPTION_RECT options = plot_options(0);
    options.rcPicture = picture;
    HBITMAP bitmap = kUntouched;
    EXPECT_EQ(CreateGraph(const_cast<char*>("y=x"), options, &bitmap, 1), KESTRA_NO_BITMAP);
    EXPECT_EQ(bitmap, nullptr);
  }
  EXPECT_EQ(CreateGraph(const_cast<char*>("y=x"), plot_options(0), static_cast<HBITMAP*>(nullptr), 1),
            KESTRA_NO_BITMAP);
}

TEST(CreateGraph, DrawsOverTheCallersPicture) {
  NoLeakedObjects guard;
  HBITMAP mine = solid_bitmap(300, 200, RGB(255, 255, 255));
  {
    Plot plot("y=x", plot_options(0), 10, mine);  // 10 acts as 2
    ASSERT_EQ(plot.status, KESTRA_OK);
    EXPECT_EQ(plot.bitmap, mine);
    EXPECT_EQ(plot.at(0, 0), RGB(255, 255, 255));  // untouched where nothing is drawn
    EXPECT_EQ(plot.at(165, 90), kGraph);
  }
  {
    OPTION_RECT options = plot_options(0x01);
    options.backColor = RGB(1, 2, 3);
    Plot plot("y=", options, 2, mine);
    ASSERT_EQ(plot.status, KESTRA_OK);
    EXPECT_EQ(plot.count(RGB(1, 2, 3)), 300 * 200);  // the background covers it all
  }
  DeleteObject(mine);
}

TEST(CreateGraph, NewPictureWithoutBackgroundIsBlack) {
  NoLeakedObjects guard;
  Plot plot("y=", plot_options(0));
  ASSERT_EQ(plot.status, KESTRA_OK);
  EXPECT_EQ(plot.count(0), 300 * 200);
}

}  // namespace
}  // namespace kestra::test
