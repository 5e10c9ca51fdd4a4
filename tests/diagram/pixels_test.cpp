// CreateDiag's pixels: grid rows, bars, lines and markers, labels on their
// grid lines and in their slots, and the legend entries.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "diagram/diagram_fixture.h"

namespace kestra::test {
namespace {

// Columns from..to of row y: '#' where the pixel has `color`, '.' elsewhere.
std::string row(const Picture& picture, int y, int from, int to, COLORREF color) {
  std::string s;
  for (int x = from; x <= to; ++x) s += picture.at(x, y) == color ? '#' : '.';
  return s;
}

int count(const Picture& picture, COLORREF color) {
  int n = 0;
  for (COLORREF pixel : picture.pixels) n += pixel == color;
  return n;
}

// A white 300 x 200 picture with one text drawn as the diagram draws it.
std::vector<COLORREF> reference_text(const std::string& text, RECT rect, UINT flags, int height,
                                     COLORREF color = kText) {
  Canvas canvas(300, 200);
  HBRUSH white = CreateSolidBrush(kBack);
  HPEN pen = CreatePen(PS_SOLID, 1, kBack);
  HFONT font = CreateFontA(height, 0, 0, 0, 400, 0, 0, 0, 204, 0, 0, 0, 2, "arial");
  HGDIOBJ old_brush = SelectObject(canvas.dc(), white);
  HGDIOBJ old_pen = SelectObject(canvas.dc(), pen);
  HGDIOBJ old_font = SelectObject(canvas.dc(), font);
  Rectangle(canvas.dc(), 0, 0, 300, 200);
  SetBkMode(canvas.dc(), TRANSPARENT);
  SetTextColor(canvas.dc(), color);
  DrawTextA(canvas.dc(), text.c_str(), static_cast<int>(text.size()), &rect, flags);
  SelectObject(canvas.dc(), old_brush);
  SelectObject(canvas.dc(), old_pen);
  SelectObject(canvas.dc(), old_font);
  DeleteObject(white);
  DeleteObject(pen);
  DeleteObject(font);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) pixels.push_back(canvas.at(x, y));
  return pixels;
}

// Pixels of the picture differing from the reference inside a region.
int differences(const Picture& picture, const std::vector<COLORREF>& reference, RECT region) {
  int n = 0;
  for (int y = region.top; y < region.bottom; ++y)
    for (int x = region.left; x < region.right; ++x)
      n += picture.at(x, y) != reference[static_cast<std::size_t>(y) * 300 + x];
  return n;
}

TEST(DiagramPixels, GridRowsLieAtTheDivisions) {
  for (std::uint16_t style : {1, 0, 9}) {  // codes outside 1..5 draw solid too
    SCOPED_TRACE(style);
    NoLeakedObjects guard;
    DiagramInput input(1, 2, {10.0, 5.0}, 0x040);
    input.disp.gridStyle = style;
    Picture picture(input.table, input.disp, 7);
    ASSERT_EQ(picture.status, KESTRA_OK);
    const std::string full = std::string(279, '#');  // x 19 to 297: the end is left out
    for (int y : {2, 41, 80, 119}) {
      EXPECT_EQ(row(picture, y, 19, 297, kAxis), full) << y;
      EXPECT_NE(picture.at(298, y), kAxis) << y;
      EXPECT_NE(picture.at(18, y), kAxis) << y;
    }
    EXPECT_EQ(count(picture, kAxis), 4 * 279);  // nothing at the category axis
  }
}

TEST(DiagramPixels, DottedGridLeavesItsGapsUntouched) {
  NoLeakedObjects guard;
  DiagramInput input(1, 2, {10.0, 5.0}, 0x041);  // white background, dotted grid
  Picture picture(input.table, input.disp, 7);
  EXPECT_EQ(row(picture, 41, 19, 31, kAxis), "###...###...#");
  EXPECT_EQ(row(picture, 41, 19, 31, kBack), "...###...###.");
}

TEST(DiagramPixels, VerticalGridLinesReachBelowTheAxis) {
  NoLeakedObjects guard;
  DiagramInput input(1, 4, {10.0, 5.0, 1.0, 2.0}, 0x040);
  input.disp.gridStyle = 1;
  input.disp.divisions = 0;
  input.disp.gridVertical = 1;
  Picture picture(input.table, input.disp, 7);
  for (int x : {91, 160, 229, 298}) {  // the last one at R
    SCOPED_TRACE(x);
    EXPECT_EQ(picture.at(x, 161), kAxis);  // the tick 3 pixels below the axis
    EXPECT_NE(picture.at(x, 162), kAxis);
    EXPECT_EQ(picture.at(x, 3), kAxis);
    EXPECT_NE(picture.at(x, 2), kAxis);  // the line ends at T, left out
  }
}

TEST(DiagramPixels, AxesAndArrowHeads) {
  NoLeakedObjects guard;
  DiagramInput input(1, 2, {10.0, 5.0}, 0x01C);  // both axes and arrow heads
  Picture picture(input.table, input.disp, 7);
  EXPECT_EQ(row(picture, 158, 21, 298, kAxis), std::string(".").append(276, '#').append("."));
  for (int y = 2; y < 158; ++y) ASSERT_EQ(picture.at(22, y), kAxis) << y;
  EXPECT_NE(picture.at(22, 158 + 1), kAxis);
  // Value axis head: rows T + k of 3, 5, 7 and 9 pixels around x = 22.
  EXPECT_EQ(row(picture, 3, 17, 27, kAxis), "....###....");
  EXPECT_EQ(row(picture, 4, 17, 27, kAxis), "...#####...");
  EXPECT_EQ(row(picture, 6, 17, 27, kAxis), ".#########.");
  EXPECT_EQ(row(picture, 7, 17, 27, kAxis), ".....#.....");  // the axis line alone
  // Category axis head: columns R - 1 - k around y = 158.
  for (int k = 1; k <= 4; ++k) {
    SCOPED_TRACE(k);
    for (int y = 158 - 5; y <= 158 + 5; ++y)
      EXPECT_EQ(picture.at(297 - k, y) == kAxis, y == 158 || std::abs(y - 158) <= k) << y;
  }
}

TEST(DiagramPixels, BarsFillTheirSlots) {
  struct Case {
    int line;
    int rows;
    std::vector<double> values;
    std::string row150;  // x 20 to 300 of row 150
  };
  const Case cases[] = {
      // One series: x 23 to 159 and 161 to 297, the right edges left out.
      {__LINE__, 1, {10.0, 5.0},
       "..." + std::string(136, '#') + ".." + std::string(136, '#') + "..."},
      // Two series: series 1 of category 0 from 92 to 159.
      {__LINE__, 2, {10.0, 5.0, 8.0, 4.0},
       "..." + std::string(67, '#') + ".." + std::string(67, '#') + ".." + std::string(67, '#') +
           ".." + std::string(67, '#') + "..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    NoLeakedObjects guard;
    DiagramInput input(c.rows, 2, c.values, 0);
    input.disp.showBarValues = 0;
    for (GRAPH_ELEM& element : input.elements) element.color = kRed;
    Picture picture(input.table, input.disp, KESTRA_KIND_BARS);
    ASSERT_EQ(picture.status, KESTRA_OK);
    EXPECT_EQ(row(picture, 150, 20, 300 - 1, kRed), c.row150.substr(0, 280));
  }
}

TEST(DiagramPixels, BarTopsFollowTheScale) {
  NoLeakedObjects guard;
  DiagramInput input(1, 2, {10.0, -2.5}, 0);
  input.disp.showBarValues = 0;
  Picture picture(input.table, input.disp, KESTRA_KIND_BARS);
  // Bar 0 covers rows 2 to 157; bar 1 reaches down from the axis: rows 158 to 196.
  EXPECT_EQ(picture.at(50, 1), 0u);
  EXPECT_EQ(picture.at(50, 2), kRed);
  EXPECT_EQ(picture.at(50, 157), kRed);
  EXPECT_EQ(picture.at(50, 158), 0u);
  EXPECT_EQ(picture.at(200, 157), 0u);
  EXPECT_EQ(picture.at(200, 158), kRed);
  EXPECT_EQ(picture.at(200, 196), kRed);
  EXPECT_EQ(picture.at(200, 197), 0u);
}

TEST(DiagramPixels, BarFillCodes) {
  struct Case {
    int line;
    std::int32_t style;
    bool solid;
  };
  const Case cases[] = {
      {__LINE__, 1, true}, {__LINE__, 6, true}, {__LINE__, 0, true}, {__LINE__, 8, true},
      {__LINE__, 2, false}, {__LINE__, 3, false}, {__LINE__, 4, false}, {__LINE__, 5, false},
      {__LINE__, 7, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    NoLeakedObjects guard;
    DiagramInput input(1, 2, {10.0, 10.0}, 0);
    input.disp.showBarValues = 0;
    input.elements[0].style = c.style;
    Picture picture(input.table, input.disp, KESTRA_KIND_BARS);
    int red = 0;
    for (int y = 40; y < 48; ++y)
      for (int x = 40; x < 48; ++x) red += picture.at(x, y) == kRed;
    if (c.solid) {
      EXPECT_EQ(red, 64);
    } else {
      EXPECT_GT(red, 0);   // hatch lines in the series colour
      EXPECT_LT(red, 64);  // gaps left black: transparent mode
    }
  }
}

TEST(DiagramPixels, LineSegmentsAndMarkers) {
  NoLeakedObjects guard;
  DiagramInput input(1, 2, {10.0, 0.0}, 0);
  Picture lines(input.table, input.disp, KESTRA_KIND_LINES);
  // One segment from (160, 2) to (298, 158), its end left out.
  EXPECT_EQ(lines.at(160, 2), kRed);
  EXPECT_EQ(lines.at(159, 2), 0u);
  EXPECT_EQ(count(lines, kRed), 156);  // y-major: one pixel per row 2..157
}

TEST(DiagramPixels, MarkersKeepAOnePixelOutline) {
  NoLeakedObjects guard;
  DiagramInput input(1, 3, {0.0, 10.0, 0.0}, 0);
  input.elements[0].width = 3;
  Picture picture(input.table, input.disp, KESTRA_KIND_LINES_MARKERS);
  // Marker of category 0 at (114, 158): the square (111, 155, 117, 161).
  EXPECT_EQ(row(picture, 160, 109, 118, kRed), "..######..");
  EXPECT_EQ(picture.at(114, 161), 0u);
}

TEST(DiagramPixels, LineStyleCodes) {
  struct Case {
    int line;
    std::int32_t style;
    std::string pixels;  // x 160 to 172 of the line
  };
  const Case cases[] = {
      {__LINE__, 1, "#############"},
      {__LINE__, 2, "###...###...#"},
      {__LINE__, 9, "#############"},  // outside 1..5: solid
      {__LINE__, 0, "#############"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    NoLeakedObjects guard;
    DiagramInput input(1, 2, {5.0, 5.0}, 0);  // vmax 5: the line lies at T = 2
    input.elements[0].style = c.style;
    Picture picture(input.table, input.disp, KESTRA_KIND_LINES);
    EXPECT_EQ(row(picture, 2, 160, 172, kRed), c.pixels);
  }
}

TEST(DiagramPixels, ScaleWithoutExtentDrawsOnTheAxis) {
  NoLeakedObjects guard;
  DiagramInput input(1, 2, {0.0, 0.0}, 0x280);  // captions and value labels
  Picture lines(input.table, input.disp, KESTRA_KIND_LINES);
  EXPECT_EQ(row(lines, 158, 159, 298, kRed), std::string(".").append(138, '#').append("."));
  Picture bars(input.table, input.disp, KESTRA_KIND_BARS);
  EXPECT_EQ(count(bars, kRed), 0);
  EXPECT_EQ(count(bars, kBarText), 0);  // no bar values printed into empty bars
}

TEST(DiagramPixels, ValuesThatAreNotFiniteAreLeftOut) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  NoLeakedObjects guard;
  DiagramInput input(1, 3, {nan, 5.0, 10.0}, 0);
  input.disp.showBarValues = 0;
  Picture bars(input.table, input.disp, KESTRA_KIND_BARS);
  EXPECT_EQ(row(bars, 150, 20, 30, kRed), "..........."); // no bar for NaN
  EXPECT_EQ(bars.at(150, 150), kRed);
  Picture lines(input.table, input.disp, KESTRA_KIND_LINES);
  EXPECT_EQ(lines.at(114, 80), 0u);  // no segment into the missing point...
  EXPECT_EQ(lines.at(206, 80), kRed);  // ...but the next one is drawn
}

TEST(DiagramPixels, ValueLabelsSitOnTheirGridLines) {
  NoLeakedObjects guard;
  DiagramInput input(1, 2, {10.0, 5.0}, 0x281);  // background, captions, value labels
  input.disp.captionX[0] = input.disp.captionY[0] = '\0';
  Picture picture(input.table, input.disp, 7);
  const struct {
    const char* text;
    int top;
  } labels[] = {{"7.50", 41}, {"5.00", 80}, {"2.50", 119}};
  for (const auto& label : labels) {
    SCOPED_TRACE(label.text);
    const auto reference = reference_text(label.text, {2, label.top, 298, 198}, DT_SINGLELINE, 12);
    EXPECT_EQ(differences(picture, reference, {0, label.top - 2, 60, label.top + 14}), 0);
  }
  // Nothing for 10 at the top nor for 0 at the axis.
  for (int y = 0; y < 40; ++y) ASSERT_EQ(row(picture, y, 0, 299, kText), std::string(300, '.')) << y;
  for (int y = 133; y < 200; ++y) ASSERT_EQ(row(picture, y, 0, 299, kText), std::string(300, '.')) << y;
}

// Pixels of `color` in the picture that are not in the reference, and the
// other way round, over the whole picture.
int misplaced(const Picture& picture, const std::vector<COLORREF>& reference, COLORREF color) {
  int n = 0;
  for (std::size_t i = 0; i < reference.size(); ++i)
    n += (picture.pixels[i] == color) != (reference[i] == color);
  return n;
}

// Keeps the pixels of `color` of both references.
std::vector<COLORREF> merged(std::vector<COLORREF> a, const std::vector<COLORREF>& b,
                             COLORREF color) {
  for (std::size_t i = 0; i < a.size(); ++i)
    if (b[i] == color) a[i] = color;
  return a;
}

TEST(DiagramPixels, CaptionsSitBelowTheAxisAndAtTheTopLeft) {
  NoLeakedObjects guard;
  DiagramInput input(1, 2, {10.0, 5.0}, 0x081);  // background and captions
  input.disp.backColor = RGB(200, 200, 200);
  Picture picture(input.table, input.disp, 7);
  const auto reference =
      merged(reference_text("Category", {22, 173, 298, 198}, DT_CENTER | DT_SINGLELINE, 12),
             reference_text("Value", {2, 2, 298, 198}, DT_SINGLELINE, 12), kText);
  EXPECT_GT(count(picture, kText), 0);
  EXPECT_EQ(misplaced(picture, reference, kText), 0);
  EXPECT_EQ(count(picture, kBack), 0);  // transparent: no text cell painted
}

TEST(DiagramPixels, BarValuesAreCentredInTheirBars) {
  NoLeakedObjects guard;
  DiagramInput input(1, 2, {10.0, 5.0}, 0);
  const UINT centred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  Picture picture(input.table, input.disp, KESTRA_KIND_BARS);
  const auto reference =
      merged(reference_text("10.00", {23, 2, 159, 158}, centred, 10, kBarText),
             reference_text("5.00", {161, 80, 297, 158}, centred, 10, kBarText), kBarText);
  EXPECT_GT(count(picture, kBarText), 0);
  EXPECT_EQ(misplaced(picture, reference, kBarText), 0);
  EXPECT_EQ(count(picture, kBack), 0);  // transparent: no text cell painted
}

TEST(DiagramPixels, CategoryLabelsAreCentredInTheirSlots) {
  NoLeakedObjects guard;
  DiagramInput input(1, 4, {10.0, 5.0, 1.0, 2.0}, 0x181);  // background, captions, category labels
  input.disp.captionX[0] = input.disp.captionY[0] = '\0';
  input.disp.categoryLabelsLength = 9;  // "Q1\0Q2\0Q3\0": the fourth is not reached
  Picture picture(input.table, input.disp, 7);
  const int edges[] = {22, 91, 160, 229, 298};
  for (int c = 0; c < 3; ++c) {
    SCOPED_TRACE(c);
    const std::string text = std::string("Q").append(std::to_string(c + 1));
    const auto reference =
        reference_text(text, {edges[c], 161, edges[c + 1], 198}, DT_CENTER | DT_SINGLELINE, 12);
    EXPECT_EQ(differences(picture, reference, {edges[c], 158, edges[c + 1], 200}), 0);
    EXPECT_GT(count(picture, kText), 0);
  }
  for (int y = 158; y < 200; ++y) EXPECT_EQ(row(picture, y, 229, 297, kText), std::string(69, '.'));
}

TEST(DiagramPixels, LegendEntriesAndSampleLines) {
  NoLeakedObjects guard;
  DiagramInput input(4, 2, {1, 2, 3, 4, 5, 6, 7, 8}, 0x020);
  for (GRAPH_ELEM& element : input.elements) element.name[0] = '\0';
  Picture picture(input.table, input.disp, 7);
  // The box (235, 70, 295, 130): 4 entries of 15 pixels, sample lines 3 wide
  // through y = top + 7 from x 239 to 291.
  EXPECT_EQ(picture.at(235, 70), kFrame);
  EXPECT_EQ(picture.at(294, 129), kFrame);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const COLORREF color = input.elements[static_cast<std::size_t>(i)].color;
    const int middle = 70 + 15 * i + 7;
    EXPECT_EQ(row(picture, middle, 236, 293, color), ".." + std::string(55, '#') + ".");
    EXPECT_EQ(row(picture, middle - 1, 236, 293, color), "..." + std::string(53, '#') + "..");
    EXPECT_EQ(row(picture, middle + 1, 236, 293, color), "..." + std::string(53, '#') + "..");
    EXPECT_EQ(row(picture, middle - 2, 236, 293, color), std::string(58, '.'));
    EXPECT_EQ(row(picture, middle + 2, 236, 293, color), std::string(58, '.'));
  }
}

TEST(DiagramPixels, LegendSplitsItsBoxOverTheTableRows) {
  NoLeakedObjects guard;
  DiagramInput input(6, 2, std::vector<double>(12, 1.0), 0x020);
  input.disp.legendTop = 77;  // a box sized for 3 entries: 45 pixels
  input.disp.legendBottom = 122;
  for (GRAPH_ELEM& element : input.elements) element.name[0] = '\0';
  Picture picture(input.table, input.disp, 7);
  // Entries 7 or 8 pixels high; sample lines of width 1 at their middles.
  const int middles[] = {80, 88, 95, 103, 110, 118};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    const COLORREF color = input.elements[static_cast<std::size_t>(i)].color;
    EXPECT_EQ(picture.at(260, middles[i]), color);
    EXPECT_NE(picture.at(260, middles[i] - 1), color);
  }
}

TEST(DiagramPixels, LegendFillCoversTheBoxUnderItsFrame) {
  for (std::uint32_t fill : {0u, 1u}) {
    SCOPED_TRACE(fill);
    NoLeakedObjects guard;
    DiagramInput input(2, 2, {1.0, 2.0, 3.0, 4.0}, 0x020);
    input.disp.legendFill = fill;
    input.disp.legendBackColor = RGB(230, 230, 230);
    for (GRAPH_ELEM& element : input.elements) element.name[0] = '\0';
    Picture picture(input.table, input.disp, 7);
    // The box (235, 85, 295, 115): frame on its edges, fill inside.
    EXPECT_EQ(picture.at(235, 85), kFrame);
    EXPECT_EQ(picture.at(294, 114), kFrame);
    EXPECT_EQ(picture.at(237, 87), fill ? RGB(230, 230, 230) : 0u);
    EXPECT_EQ(picture.at(293, 113), fill ? RGB(230, 230, 230) : 0u);
    EXPECT_EQ(picture.at(295, 100), 0u);
  }
}

TEST(DiagramPixels, LegendNamesCoverTheSampleLine) {
  NoLeakedObjects guard;
  DiagramInput input(1, 2, {1.0, 2.0}, 0x020);
  Picture picture(input.table, input.disp, 7);
  // The box (235, 92, 295, 107); the sample line through y = 99 from x 239.
  // "Alpha" is drawn opaque in the legend's back colour over its left part.
  EXPECT_NE(picture.at(240, 99), kRed);
  EXPECT_EQ(picture.at(285, 99), kRed);
  EXPECT_GT(count(picture, kText), 0);
}

}  // namespace
}  // namespace kestra::test
