#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "support/canvas.h"

using kestra::test::Canvas;
using kestra::test::NoLeakedObjects;

namespace {

constexpr COLORREF pen_color = RGB(255, 255, 0);
constexpr COLORREF gap_color = RGB(0, 0, 255);

// One row: '#' pen colour, 'o' gap colour, '.' untouched (black).
std::string row_of(const Canvas& canvas, int y) {
  std::string s;
  for (int x = 0; x < canvas.width(); ++x) {
    const COLORREF c = canvas.at(x, y);
    s += c == pen_color ? '#' : c == gap_color ? 'o' : c == 0 ? '.' : '?';
  }
  return s;
}

// Selects a pen for the scope of a test and deletes it afterwards.
class ScopedPen {
 public:
  ScopedPen(HDC dc, int style, int width) : dc_(dc), pen_(CreatePen(style, width, pen_color)) {
    previous_ = SelectObject(dc_, pen_);
  }
  ~ScopedPen() {
    SelectObject(dc_, previous_);
    DeleteObject(pen_);
  }

 private:
  HDC dc_;
  HPEN pen_;
  HGDIOBJ previous_;
};

}  // namespace

TEST(LineTo, PaintsMaxOfDxDyPixelsAndNeverTheEndPoint) {
  struct Case {
    int line;
    int x0, y0, x1, y1;
    const char* row0;
    const char* row1;
  };
  const Case cases[] = {
      {__LINE__, 3, 0, 3, 0, "..........", ".........."},  // zero length: nothing
      {__LINE__, 3, 0, 4, 0, "...#......", ".........."},  // length 1: the start pixel
      {__LINE__, 3, 0, 4, 1, "...#......", ".........."},  // length 1 diagonal
      {__LINE__, 6, 0, 2, 0, "...####...", ".........."},  // leftwards: x = 2 left out
      {__LINE__, 0, 0, 4, 1, "###.......", "...#......"},  // tie at i = 2 goes to y = 0
      {__LINE__, 4, 1, 0, 0, ".##.......", "...##....."},  // reversed: same pixels, tie at y = 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    NoLeakedObjects guard;
    Canvas canvas(10, 2);
    ScopedPen pen(canvas.dc(), PS_SOLID, 1);
    MoveToEx(canvas.dc(), c.x0, c.y0, nullptr);
    EXPECT_TRUE(LineTo(canvas.dc(), c.x1, c.y1));
    EXPECT_EQ(row_of(canvas, 0), c.row0);
    EXPECT_EQ(row_of(canvas, 1), c.row1);
  }
}

TEST(LineTo, UpdatesTheCurrentPositionEvenWithANullPen) {
  Canvas canvas(8, 1);
  ScopedPen pen(canvas.dc(), PS_NULL, 1);
  MoveToEx(canvas.dc(), 1, 0, nullptr);
  LineTo(canvas.dc(), 7, 0);
  POINT previous{};
  MoveToEx(canvas.dc(), 0, 0, &previous);
  EXPECT_EQ(previous.x, 7);
  EXPECT_EQ(row_of(canvas, 0), "........");
  EXPECT_FALSE(LineTo(nullptr, 1, 1));
}

TEST(LineTo, RestartsTheDashPatternAtEverySegment) {
  Canvas canvas(16, 1);
  ScopedPen pen(canvas.dc(), PS_DOT, 1);
  SetBkColor(canvas.dc(), gap_color);
  MoveToEx(canvas.dc(), 0, 0, nullptr);
  LineTo(canvas.dc(), 4, 0);   // phases 0..3: on on on off
  LineTo(canvas.dc(), 14, 0);  // chained: phase 0 again at x = 4
  EXPECT_EQ(row_of(canvas, 0), "###o###ooo###o..");
}

TEST(LineTo, ReadsBackgroundModeAndColourAtEachLine) {
  Canvas canvas(12, 3);
  ScopedPen pen(canvas.dc(), PS_DASHDOTDOT, 0);
  SetBkColor(canvas.dc(), gap_color);
  SetBkMode(canvas.dc(), TRANSPARENT);
  MoveToEx(canvas.dc(), 0, 0, nullptr);
  LineTo(canvas.dc(), 12, 0);
  SetBkMode(canvas.dc(), OPAQUE);
  MoveToEx(canvas.dc(), 0, 1, nullptr);
  LineTo(canvas.dc(), 12, 1);
  SetBkColor(canvas.dc(), pen_color);  // gaps now in the pen's colour
  MoveToEx(canvas.dc(), 0, 2, nullptr);
  LineTo(canvas.dc(), 12, 2);
  EXPECT_EQ(row_of(canvas, 0), "#########...");
  EXPECT_EQ(row_of(canvas, 1), "#########ooo");
  EXPECT_EQ(row_of(canvas, 2), "############");
}

TEST(LineTo, ClipsLinesFromTheEdgesOfTheIntRange) {
  // Each line's pixels in a 64 x 48 bitmap follow from y = y0 + i dy / n
  // rounded (halves down) with n = 2^32 - 2 steps: hand-derived rows below.
  NoLeakedObjects guard;
  Canvas canvas(64, 48);
  {
    ScopedPen pen(canvas.dc(), PS_SOLID, 1);
    // x = 0 is step 2^31 - 1, exactly half way: y = 5 + 17.5 rounds down.
    MoveToEx(canvas.dc(), -INT_MAX, 5, nullptr);
    LineTo(canvas.dc(), INT_MAX, 40);
  }
  EXPECT_EQ(row_of(canvas, 22), "#" + std::string(63, '.'));
  EXPECT_EQ(row_of(canvas, 23), "." + std::string(63, '#'));

  Canvas dotted(8, 2);
  {
    ScopedPen pen(dotted.dc(), PS_DOT, 1);
    SetBkColor(dotted.dc(), gap_color);
    // The dash phase counts from the real start: x = 0 is step 2^31 - 1,
    // phase (2^31 - 1) mod 6 = 1.
    MoveToEx(dotted.dc(), -INT_MAX, 0, nullptr);
    LineTo(dotted.dc(), INT_MAX, 0);
    // A full-range diagonal passes through (k, k).
    MoveToEx(dotted.dc(), INT_MIN, INT_MIN, nullptr);
    LineTo(dotted.dc(), INT_MAX, INT_MAX);
  }
  EXPECT_EQ(row_of(dotted, 0), "##ooo###");
  EXPECT_EQ(row_of(dotted, 1), ".o......");  // (1, 1): step 2^31 + 1, phase 3
}

TEST(LineTo, IgnoresLinesThatMissTheBitmap) {
  Canvas canvas(16, 16);
  for (int width : {1, 4}) {
    ScopedPen pen(canvas.dc(), PS_SOLID, width);
    MoveToEx(canvas.dc(), -100, INT_MIN, nullptr);
    LineTo(canvas.dc(), -10, INT_MAX);
    MoveToEx(canvas.dc(), INT_MIN, -50, nullptr);
    LineTo(canvas.dc(), INT_MAX, -40);
  }
  for (int y = 0; y < 16; ++y) EXPECT_EQ(row_of(canvas, y), std::string(16, '.'));
}

TEST(LineTo, WidePensAreSolidWithRoundCapsOnBothEnds) {
  Canvas canvas(12, 5);
  ScopedPen pen(canvas.dc(), PS_DASH, 3);
  SetBkColor(canvas.dc(), gap_color);
  MoveToEx(canvas.dc(), 2, 2, nullptr);
  LineTo(canvas.dc(), 2, 2);  // zero length: the plus-shaped cap alone
  MoveToEx(canvas.dc(), 6, 2, nullptr);
  LineTo(canvas.dc(), 10, 2);
  EXPECT_EQ(row_of(canvas, 0), "............");
  EXPECT_EQ(row_of(canvas, 1), "..#...#####.");
  EXPECT_EQ(row_of(canvas, 2), ".###.#######");
  EXPECT_EQ(row_of(canvas, 3), "..#...#####.");
}

TEST(LineTo, WideLinesFromTheEdgesOfTheIntRangeKeepTheirShape) {
  Canvas canvas(8, 6);
  ScopedPen pen(canvas.dc(), PS_SOLID, 2);
  // A 45 degree body of width 2 has corners one pixel off the line on either
  // side: row y covers x = y - 2 .. y + 1.
  MoveToEx(canvas.dc(), INT_MIN, INT_MIN, nullptr);
  LineTo(canvas.dc(), INT_MAX, INT_MAX);
  EXPECT_EQ(row_of(canvas, 0), "##......");
  EXPECT_EQ(row_of(canvas, 3), ".####...");
  EXPECT_EQ(row_of(canvas, 5), "...####.");
}
