// CreateGraph pictures pixel by pixel: axes through the origin, arrow heads,
// sampled points, orientation, captions and the zero mark.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "plot/engine_support.h"
#include "plot/plot.h"
#include "plot/plot_fixture.h"

namespace kestra::test {
namespace {

constexpr int c0 = 150;  // column where the horizontal scale reads 0
constexpr int r0 = 100;  // row where the vertical scale reads 0

TEST(RoundPixel, NearestPixelOrNothing) {
  struct Case {
    int line;
    double position;
    std::optional<int> pixel;
  };
  const Case cases[] = {
      {__LINE__, 149.6, 150},
      {__LINE__, 149.4, 149},
      {__LINE__, -2.7, -3},
      {__LINE__, -0.4, 0},
      {__LINE__, 1073741824.0, 1073741824},  // 2^30: still placed
      {__LINE__, -1073741824.4, -1073741824},
      {__LINE__, 1073741825.0, std::nullopt},  // far outside any picture
      {__LINE__, -1e300, std::nullopt},
      {__LINE__, std::numeric_limits<double>::infinity(), std::nullopt},
      {__LINE__, std::numeric_limits<double>::quiet_NaN(), std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(plot::RoundPixel(c.position), c.pixel);
  }
}

TEST(PlotPixels, AxesThroughTheOrigin) {
  NoLeakedObjects guard;
  Plot plot("y=", plot_options(kAxes));
  ASSERT_EQ(plot.status, KESTRA_OK);
  for (int x = 0; x < 300; ++x) EXPECT_EQ(plot.at(x, r0), x >= 2 && x <= 297 ? kAxis : 0u) << x;
  for (int y = 0; y < 200; ++y) EXPECT_EQ(plot.at(c0, y), y >= 2 && y <= 197 ? kAxis : 0u) << y;
  EXPECT_EQ(plot.count(kAxis), 296 + 196 - 1);
}

TEST(PlotPixels, FrameAndBackground) {
  OPTION_RECT options = plot_options(0x01 | 0x02);
  Plot plot("y=", options);
  ASSERT_EQ(plot.status, KESTRA_OK);
  EXPECT_EQ(plot.at(0, 0), kBack);
  EXPECT_EQ(plot.at(2, 2), kFrame);
  EXPECT_EQ(plot.at(297, 197), kFrame);
  EXPECT_EQ(plot.at(298, 198), kBack);
  EXPECT_EQ(plot.at(3, 3), kBack);
  EXPECT_EQ(plot.count(kFrame), 2 * 296 + 2 * 194);
}

// Rows (or columns) of 3, 5, 7 and 9 pixels, each tip one pixel inside the
// end of its axis; drawn where the axes would be even without the axes.
TEST(PlotPixels, ArrowHeadsForEveryMaskBit) {
  struct Case {
    int line;
    std::uint8_t mask;
    int dx, dy;  // step from one line of the head to the next
    int x1, y1;  // middle of the first, three-pixel line
  };
  const Case cases[] = {
      {__LINE__, 0x1, 0, 1, c0, 3},     // top: rows T + n
      {__LINE__, 0x2, -1, 0, 296, r0},  // right: columns R - 1 - n
      {__LINE__, 0x4, 0, -1, c0, 196},  // bottom: rows B - 1 - n
      {__LINE__, 0x8, 1, 0, 3, r0},     // left: columns L + n
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    OPTION_RECT options = plot_options(0x10);
    options.arrowMask = c.mask;
    Plot plot("y=", options);
    ASSERT_EQ(plot.status, KESTRA_OK);
    EXPECT_EQ(plot.count(kAxis), 3 + 5 + 7 + 9);
    for (int n = 1; n <= 4; ++n) {
      const int x = c.x1 + (n - 1) * c.dx;
      const int y = c.y1 + (n - 1) * c.dy;
      for (int k = -n; k <= n; ++k) {
        EXPECT_EQ(plot.at(x + (c.dy ? k : 0), y + (c.dx ? k : 0)), kAxis) << n << " " << k;
      }
    }
  }
  OPTION_RECT all = plot_options(0x10);
  all.arrowMask = 0xF;
  Plot heads("y=", all);
  EXPECT_EQ(heads.count(kAxis), 4 * 24);
  all.arrowStyle = 1;  // any style but 2 draws no heads
  Plot none("y=", all);
  EXPECT_EQ(none.count(kAxis), 0);
}

// 'y=x' at t = 1 lies at column 164.8 and row 90.2.
TEST(PlotPixels, OneSamplePoint) {
  NoLeakedObjects guard;
  Plot plot("y=x", plot_options(0, 1, 1));
  ASSERT_EQ(plot.status, KESTRA_OK);
  EXPECT_EQ(plot.at(165, 90), kGraph);
  EXPECT_EQ(plot.count(kGraph), 1);
}

TEST(PlotPixels, ArgumentAboveItsEndGivesOneSample) {
  for (double to : {-5.0, -std::numeric_limits<double>::infinity()}) {
    SCOPED_TRACE(to);
    Plot plot("y=x", plot_options(0, 1, to));
    ASSERT_EQ(plot.status, KESTRA_OK);
    EXPECT_EQ(plot.at(165, 90), kGraph);
    EXPECT_EQ(plot.count(kGraph), 1);
  }
}

// Points on a side of rcPlot, or without a finite value, are left out.
TEST(PlotPixels, PointsStrictlyInsideThePlotArea) {
  struct Case {
    int line;
    const char* expression;
    double t;
    int x, y;  // -1: no point
  };
  const Case cases[] = {
      {__LINE__, "y=x", -10, -1, -1},     // column L, row B
      {__LINE__, "y=x", 10, -1, -1},      // column R, row T
      {__LINE__, "y=10", 0, -1, -1},      // row T
      {__LINE__, "y=-10", 0, -1, -1},     // row B
      {__LINE__, "y=9.9", 0, 150, 3},     // row 2.98, just inside
      {__LINE__, "y=x", -9.9, 3, 197},
      {__LINE__, "y=1/x", 0, -1, -1},     // an infinity
      {__LINE__, "y=pow(x)(0.5)", -1, -1, -1},  // NaN
      {__LINE__, "y=x*pow(10)(300)*pow(10)(300)", 1, -1, -1},  // overflows
      {__LINE__, "y=x*pow(10)(300)", 1e-300, 150, 90},        // about 1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Plot plot(c.expression, plot_options(0, c.t, c.t));
    ASSERT_EQ(plot.status, KESTRA_OK);
    EXPECT_EQ(plot.count(kGraph), c.x < 0 ? 0 : 1);
    if (c.x >= 0) {
      EXPECT_EQ(plot.at(c.x, c.y), kGraph);
    }
  }
}

// Scales that are empty or tiny give positions that are never converted.
TEST(PlotPixels, DegenerateScalesDrawNoPoints) {
  struct Case {
    int line;
    double x_min, x_max, y_min, y_max;
    long axis_pixels;  // axes and the top and right arrow heads that have a place
  };
  const Case cases[] = {
      {__LINE__, 1, 1, -10, 10, 296 + 20},    // no vertical axis, no top head
      {__LINE__, -10, 10, 5, 5, 196 + 20},    // no horizontal axis, no right head
      {__LINE__, -1e-300, 1e-300, -1e-300, 1e-300, 296 + 196 - 1 + 40},
      {__LINE__, 0, 1e-320, -10, 10, 296 + 196 - 1 + 40},  // 0 at the left side
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    NoLeakedObjects guard;
    OPTION_RECT options = plot_options(kAxes | 0x10 | 0x40);
    options.xMin = c.x_min;
    options.xMax = c.x_max;
    options.yMin = c.y_min;
    options.yMax = c.y_max;
    Plot plot("y=x*x+1", options);
    ASSERT_EQ(plot.status, KESTRA_OK);
    EXPECT_EQ(plot.count(kGraph), 0);
  }
}

TEST(PlotPixels, SamplesFromMinusOneToOne) {
  OPTION_RECT options = plot_options(0, -1, 1);
  options.xMin = -1.5;
  options.xMax = 1.5;
  options.rcPlot = {0, 0, 300, 200};  // 100 columns per unit: samples one column apart
  Plot plot("y=0", options);
  ASSERT_EQ(plot.status, KESTRA_OK);
  // Whether the last sample at 1 is taken depends on the accumulated
  // rounding of the additions.
  double t = -1;
  int samples = 0;
  do {
    ++samples;
    t += 0.01;
  } while (t <= 1);
  EXPECT_EQ(plot.count(kGraph), samples);
  EXPECT_GE(samples, 200);
  EXPECT_LE(samples, 201);
  for (int x = 50; x < 50 + samples; ++x) EXPECT_EQ(plot.at(x, r0), kGraph) << x;
}

// A thousand samples, one column apart, over several batches of evaluation.
TEST(PlotPixels, EverySampleOfALongRun) {
  OPTION_RECT options = plot_options(0, 1, 1000);
  options.argStep = 1;
  options.rcPicture = {0, 0, 1001, 200};
  options.rcPlot = {0, 2, 1001, 198};
  options.xMin = 0;
  options.xMax = 1001;  // column(t) = t
  Plot plot("y=sin(x)*9", options);
  ASSERT_EQ(plot.status, KESTRA_OK);
  EXPECT_EQ(plot.count(kGraph), 1000);
  const plot::PlotScale scale(options);
  for (int t = 1; t <= 1000; ++t) {
    const int row = *plot::RoundPixel(scale.row(std::sin(static_cast<double>(t)) * 9));
    ASSERT_EQ(plot.at(t, row), kGraph) << t;
  }
}

// With argOnX off the argument runs up the vertical scale: 'x=y*y' opens to the right.
TEST(PlotPixels, ArgumentOnTheVerticalScale) {
  Plot plot("x=y*y", plot_options(0x20, -3, 3));
  ASSERT_EQ(plot.status, KESTRA_OK);
  EXPECT_GT(plot.count(kGraph), 100);
  EXPECT_EQ(plot.at(209, 80), kGraph);   // t = 2: column 209.2, row 80.4
  EXPECT_EQ(plot.at(209, 120), kGraph);  // t = -2: row 119.6
  EXPECT_EQ(plot.at(150, 100), kGraph);  // t = 0
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 150; ++x) ASSERT_NE(plot.at(x, y), kGraph) << x << "," << y;
}

// With 0 outside the horizontal range the vertical axis stands off the
// picture, and its arrow heads with it.
TEST(PlotPixels, OriginOutsideTheRange) {
  OPTION_RECT options = plot_options(kAxes | 0x10);
  options.arrowMask = 0xF;
  options.xMin = 1;
  options.xMax = 11;  // column(0) = -27.6
  Plot plot("y=", options);
  ASSERT_EQ(plot.status, KESTRA_OK);
  // The horizontal axis and its two heads, whose middle pixels lie on it.
  EXPECT_EQ(plot.count(kAxis), 296 + 2 * (24 - 4));
  EXPECT_EQ(plot.at(2, r0), kAxis);
}

// The caption font, measured and drawn as the plot must do it.
class CaptionFont {
 public:
  CaptionFont(HDC dc, int height)
      : dc_(dc),
        font_(CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, "arial")),
        previous_(SelectObject(dc, font_)) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
  }
  ~CaptionFont() {
    SelectObject(dc_, previous_);
    DeleteObject(font_);
  }
  int width(const std::string& text) const {
    SIZE size{};
    GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
  }
  void draw(int x, int y, const std::string& text) const {
    TextOutA(dc_, x, y, text.c_str(), static_cast<int>(text.size()));
  }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ previous_;
};

// The plot without captions, with the texts added at the expected places.
std::vector<COLORREF> expected_captions(const char* expression, OPTION_RECT options) {
  const std::string x_caption = options.captionX;
  const std::string y_caption = options.captionY;
  const bool zero = options.showZero == 1;
  options.captionX[0] = options.captionY[0] = '\0';
  options.showZero = 0;
  HBITMAP bitmap = nullptr;
  EXPECT_EQ(CreateGraph(const_cast<char*>(expression), options, &bitmap, 1), KESTRA_OK);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  {
    CaptionFont font(dc, options.fontHeight);
    const RECT& plot = options.rcPlot;
    if (!x_caption.empty()) font.draw(plot.right - font.width(x_caption) - 10, r0 + 5, x_caption);
    if (!y_caption.empty()) font.draw(c0 - font.width(y_caption) - 10, plot.top + 5, y_caption);
    if (zero) font.draw(c0 + 5, r0 + 5, "0");
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
  std::vector<COLORREF> pixels = read_pixels(bitmap, 300, 200);
  DeleteObject(bitmap);
  return pixels;
}

TEST(PlotPixels, CaptionsAndZeroMark) {
  struct Case {
    int line;
    const char* caption_x;
    const char* caption_y;
    unsigned long flags;
    int font_height;
  };
  const Case cases[] = {
      {__LINE__, "time, s", "speed", kAxes, 12},
      {__LINE__, "t", "", kAxes | 0x40, 12},
      {__LINE__, "", "Value (19 letters)", 0x40, 20},
      {__LINE__, "Ab", "Cd", kAxes | 0x40, 1},
      {__LINE__, "Wide", "Tall", kAxes | 0x01, 99},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    NoLeakedObjects guard;
    OPTION_RECT options = ReturnOptionRect({0, 0, 300, 200}, kBack, kGraph, kFrame, kAxis, -10,
                                           -10, 10, 10, -10, 10, kText, c.font_height,
                                           const_cast<char*>(c.caption_x),
                                           const_cast<char*>(c.caption_y), c.flags);
    const std::vector<COLORREF> expected = expected_captions("y=x/2", options);
    Plot plot("y=x/2", options);
    ASSERT_EQ(plot.status, KESTRA_OK);
    EXPECT_TRUE(plot.pixels == expected);
    if (c.font_height > 1) {
      EXPECT_GT(plot.count(kText), 0);
    }
  }
}

// The zero mark needs showZero exactly 1.
TEST(PlotPixels, ZeroMarkOnlyForOne) {
  OPTION_RECT options = plot_options(0);
  options.showZero = 1;
  Plot one("y=", options);
  EXPECT_GT(one.count(kText), 0);
  for (std::uint8_t value : {2, 3, 255}) {
    options.showZero = value;
    Plot other("y=", options);
    EXPECT_EQ(other.count(kText), 0) << int{value};
  }
}

// A caption that fills its field without a terminator is read no further.
TEST(PlotPixels, UnterminatedCaptionStopsAtItsField) {
  OPTION_RECT options = plot_options(0);
  std::memset(options.captionX, 'W', sizeof options.captionX);
  std::memset(options.captionY, 'W', sizeof options.captionY);
  options.showZero = 0;
  Plot plot("y=", options);
  ASSERT_EQ(plot.status, KESTRA_OK);
  EXPECT_GT(plot.count(kText), 0);
}

// An expression whose reduction shares the overflow slot is plotted by the
// reduction itself, point by point: here it gives 0 wherever 997 x is meant.
TEST(PlotPixels, ReductionPlotsWhereNoProgramMay) {
  std::string text = "y=-x";
  for (int i = 0; i < 998; ++i) text += "+x";
  for (int i = 0; i < 1998; ++i) text += " 7";
  OPTION_RECT options = plot_options(0, -9.75, 9.75);
  options.argStep = 0.5;
  Plot plot(text.c_str(), options);
  ASSERT_EQ(plot.status, KESTRA_OK);
  ASSERT_EQ(plot::ParseExpression(text.c_str()), 0);
  ASSERT_FALSE(plot::Program::compile(plot::thread_expression_state()).has_value());
  int expected = 0;
  for (double t = -9.75; t <= 9.75; t += 0.5) {
    const Evaluation result = evaluate_at(t);
    ASSERT_EQ(result.code, 0);
    ASSERT_EQ(result.value, 0.0);
    const auto column = plot::RoundPixel(plot::PlotScale(options).column(t));
    EXPECT_EQ(plot.at(*column, r0), kGraph) << t;
    ++expected;
  }
  EXPECT_EQ(plot.count(kGraph), expected);
}

}  // namespace
}  // namespace kestra::test
