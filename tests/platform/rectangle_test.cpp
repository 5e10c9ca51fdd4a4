#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "support/canvas.h"

using kestra::test::Canvas;
using kestra::test::NoLeakedObjects;

namespace {

constexpr COLORREF pen_color = RGB(255, 255, 255);
constexpr COLORREF brush_color = RGB(0, 160, 0);
constexpr COLORREF gap_color = RGB(0, 0, 255);

// The picture as rows: 'P' pen, 'B' brush, 'o' gap colour, '.' untouched.
std::vector<std::string> picture(const Canvas& canvas) {
  std::vector<std::string> rows;
  for (int y = 0; y < canvas.height(); ++y) {
    std::string s;
    for (int x = 0; x < canvas.width(); ++x) {
      const COLORREF c = canvas.at(x, y);
      s += c == pen_color ? 'P' : c == brush_color ? 'B' : c == gap_color ? 'o' : c == 0 ? '.' : '?';
    }
    rows.push_back(s);
  }
  return rows;
}

// A canvas with a width-1 pen and a solid brush selected; both are deleted
// with it.
class PaintedCanvas : public Canvas {
 public:
  PaintedCanvas(int width, int height, int pen_style = PS_SOLID)
      : Canvas(width, height),
        pen_(CreatePen(pen_style, 1, pen_color)),
        brush_(CreateSolidBrush(brush_color)) {
    old_pen_ = SelectObject(dc(), pen_);
    old_brush_ = SelectObject(dc(), brush_);
  }
  ~PaintedCanvas() {
    SelectObject(dc(), old_pen_);
    SelectObject(dc(), old_brush_);
    DeleteObject(pen_);
    DeleteObject(brush_);
  }

 private:
  HPEN pen_;
  HBRUSH brush_;
  HGDIOBJ old_pen_, old_brush_;
};

}  // namespace

TEST(Rectangle, NormalisesCornersAndHandlesDegenerateSizes) {
  struct Case {
    int line;
    int l, t, r, b;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {__LINE__, 1, 1, 1, 4, {"......", "......", "......", "......", "......"}},  // width 0
      {__LINE__, 1, 2, 5, 2, {"......", "......", "......", "......", "......"}},  // height 0
      {__LINE__, 1, 1, 2, 2, {"......", "......", "......", "......", "......"}},  // 1 x 1
      {__LINE__, 2, 1, 3, 4, {"......", "..P...", "..P...", "..P...", "......"}},  // 1 x N
      {__LINE__, 1, 1, 3, 3, {"......", ".PP...", ".PP...", "......", "......"}},  // 2 x 2
      {__LINE__, 1, 1, 4, 4, {"......", ".PPP..", ".PBP..", ".PPP..", "......"}},  // 3 x 3
      // A bar below its axis: top (4) lies below bottom (1); rows 1..3.
      {__LINE__, 1, 4, 5, 1, {"......", ".PPPP.", ".PBBP.", ".PPPP.", "......"}},
      {__LINE__, 5, 4, 1, 1, {"......", ".PPPP.", ".PBBP.", ".PPPP.", "......"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    NoLeakedObjects guard;
    PaintedCanvas canvas(6, 5);
    EXPECT_TRUE(Rectangle(canvas.dc(), c.l, c.t, c.r, c.b));
    EXPECT_EQ(picture(canvas), c.rows);
  }
}

TEST(Rectangle, SixBySixMarkerCoversThreeLeftAndTwoRightOfItsCentre) {
  PaintedCanvas canvas(8, 8);
  Rectangle(canvas.dc(), 4 - 3, 4 - 3, 4 + 3, 4 + 3);
  const std::vector<std::string> expected = {"........", ".PPPPPP.", ".PBBBBP.", ".PBBBBP.",
                                             ".PBBBBP.", ".PBBBBP.", ".PPPPPP.", "........"};
  EXPECT_EQ(picture(canvas), expected);
}

TEST(Rectangle, NullPenFillsTheLeftAndTopOutlineTooButNotRightOrBottom) {
  PaintedCanvas canvas(6, 5);
  SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  Rectangle(canvas.dc(), 1, 1, 5, 4);
  const std::vector<std::string> expected = {"......", ".BBB..", ".BBB..", "......", "......"};
  EXPECT_EQ(picture(canvas), expected);
}

TEST(Rectangle, StyledOutlineRunsAnticlockwiseFromTheTopRight) {
  PaintedCanvas canvas(8, 4, PS_DOT);
  SetBkColor(canvas.dc(), gap_color);
  SelectObject(canvas.dc(), GetStockObject(NULL_BRUSH));
  Rectangle(canvas.dc(), 0, 0, 8, 4);
  // Top from x = 7 leftwards (phases 0..6), down the left side (7..9), the
  // bottom rightwards (10..16), up the right side (17..19); dots are 3 on, 3 off.
  const std::vector<std::string> expected = {"PPoooPPP", "P......P", "o......P", "ooPPPooo"};
  EXPECT_EQ(picture(canvas), expected);
}

TEST(Rectangle, ClipsHugeRectanglesWithoutWalkingTheirOutline) {
  NoLeakedObjects guard;
  PaintedCanvas canvas(5, 3, PS_DASH);
  EXPECT_TRUE(Rectangle(canvas.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX));
  for (const std::string& row : picture(canvas)) EXPECT_EQ(row, "BBBBB");
}

TEST(Rectangle, HatchGapsFollowTheModeOfTheBrushsFirstUse) {
  NoLeakedObjects guard;
  Canvas canvas(16, 8);
  HBRUSH hatch = CreateHatchBrush(HS_HORIZONTAL, brush_color);
  HGDIOBJ old_pen = SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
  SetBkColor(canvas.dc(), gap_color);
  HGDIOBJ old_brush = SelectObject(canvas.dc(), hatch);
  SetBkMode(canvas.dc(), TRANSPARENT);
  Rectangle(canvas.dc(), 0, 4, 2, 6);   // 2 x 2 fills one pixel: the first use
  SetBkMode(canvas.dc(), OPAQUE);
  Rectangle(canvas.dc(), 0, 0, 9, 5);   // still transparent gaps
  SelectObject(canvas.dc(), hatch);     // selecting again takes the mode anew
  Rectangle(canvas.dc(), 8, 0, 17, 9);
  SelectObject(canvas.dc(), old_brush);
  SelectObject(canvas.dc(), old_pen);
  DeleteObject(hatch);
  // Hatch rows are y mod 8 == 3, tied to the bitmap origin.
  const std::vector<std::string> expected = {
      "........oooooooo", "........oooooooo", "........oooooooo", "BBBBBBBBBBBBBBBB",
      "........oooooooo", "........oooooooo", "........oooooooo", "........oooooooo"};
  EXPECT_EQ(picture(canvas), expected);
}
