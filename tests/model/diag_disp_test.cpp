// ReturnDiagDisp: flag decoding, insets, legend placement and captions.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "kestra.h"

namespace {

DIAG_DISP make(tagRECT picture, unsigned long flags, unsigned short entries = 4,
               const char* captionX = "Category", const char* captionY = "Value") {
  return ReturnDiagDisp(picture, RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9), 4, RGB(10, 11, 12), 13,
                        RGB(14, 15, 16), 9, const_cast<char*>(captionX),
                        const_cast<char*>(captionY), nullptr, 0, entries, nullptr, 2, flags);
}

void expect_rect(const tagRECT& rect, tagRECT expected) {
  EXPECT_EQ(rect.left, expected.left);
  EXPECT_EQ(rect.top, expected.top);
  EXPECT_EQ(rect.right, expected.right);
  EXPECT_EQ(rect.bottom, expected.bottom);
}

TEST(ReturnDiagDisp, NoFlagsGiveAPlainRecord) {
  const DIAG_DISP disp = make({0, 0, 300, 200}, 0);
  EXPECT_EQ(disp.fillBackground, 0u);
  EXPECT_EQ(disp.drawFrame, 0u);
  EXPECT_EQ(disp.drawAxisX, 0u);
  EXPECT_EQ(disp.drawAxisY, 0u);
  EXPECT_EQ(disp.arrowStyle, 1);
  EXPECT_EQ(disp.showLegend, 0u);
  EXPECT_EQ(disp.showGrid, 0u);
  EXPECT_EQ(disp.showCaptions, 0u);
  EXPECT_EQ(disp.showCategoryLabels, 0u);
  EXPECT_EQ(disp.showValueLabels, 0u);
  expect_rect(disp.rcFrame, {2, 2, 298, 198});
  expect_rect(disp.rcPlot, {2, 2, 298, 198});
  EXPECT_EQ(disp.marginBottom, 40);
  EXPECT_EQ(disp.marginLeft, 20);
  EXPECT_EQ(disp.arrowMask, 3);
  EXPECT_EQ(disp.baseValue, 0.0);
  EXPECT_EQ(disp.showBarValues, 1u);
  EXPECT_EQ(disp.decimals, 2);
  EXPECT_EQ(disp.divisions, 4);
  EXPECT_EQ(disp.captionFontHeight, 13);
  EXPECT_EQ(disp.barValueFontHeight, 9);
  EXPECT_EQ(disp.captionColor, RGB(10, 11, 12));
  EXPECT_EQ(disp.barValueColor, RGB(14, 15, 16));
}

TEST(ReturnDiagDisp, EachFlagBitSetsItsField) {
  struct Case {
    int line;
    unsigned long flag;
    std::uint32_t DIAG_DISP::*field;
  };
  const Case cases[] = {
      {__LINE__, 0x001, &DIAG_DISP::fillBackground},
      {__LINE__, 0x002, &DIAG_DISP::drawFrame},
      {__LINE__, 0x004, &DIAG_DISP::drawAxisX},
      {__LINE__, 0x008, &DIAG_DISP::drawAxisY},
      {__LINE__, 0x020, &DIAG_DISP::showLegend},
      {__LINE__, 0x040, &DIAG_DISP::showGrid},
      {__LINE__, 0x080, &DIAG_DISP::showCaptions},
      {__LINE__, 0x100, &DIAG_DISP::showCategoryLabels},
      {__LINE__, 0x200, &DIAG_DISP::showValueLabels},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(make({0, 0, 300, 200}, c.flag).*c.field, 1u);
    EXPECT_EQ(make({0, 0, 300, 200}, 0x3FF & ~c.flag).*c.field, 0u);
  }
  EXPECT_EQ(make({0, 0, 300, 200}, 0x010).arrowStyle, 2);
  // Bits above 9 are ignored.
  const DIAG_DISP high = make({0, 0, 300, 200}, ~0x3FFul);
  EXPECT_EQ(high.fillBackground + high.showValueLabels + high.showLegend, 0u);
}

TEST(ReturnDiagDisp, FrameInsetsThePlotAreaByFour) {
  const DIAG_DISP disp = make({0, 0, 300, 200}, 0x002);
  expect_rect(disp.rcFrame, {2, 2, 298, 198});
  expect_rect(disp.rcPlot, {4, 4, 296, 196});
}

// The rule both record builders share: too small is not corrected, and
// sides stop at the int range instead of wrapping round it.
TEST(ReturnDiagDisp, RectanglesTooSmallOrAtTheIntLimitsStayAsComputed) {
  expect_rect(make({0, 0, 3, 3}, 0).rcFrame, {2, 2, 1, 1});
  expect_rect(make({0, 0, 3, 3}, KESTRA_DIAG_FRAME).rcPlot, {4, 4, -1, -1});
  const DIAG_DISP disp = make({INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN}, KESTRA_DIAG_FRAME);
  expect_rect(disp.rcFrame, {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN});
  expect_rect(disp.rcPlot, {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN});
}

TEST(ReturnDiagDisp, LegendBoxPlacement) {
  struct Case {
    int line;
    tagRECT picture;
    unsigned short entries;
    int left, top, right, bottom;
  };
  const Case cases[] = {
      // q = 60: a fifth of the width; 4 entries of 15 pixels centred.
      {__LINE__, {0, 0, 300, 200}, 4, 235, 70, 295, 130},
      // q = 100 > 70: the box is 70 pixels wide.
      {__LINE__, {0, 0, 500, 200}, 4, 425, 70, 495, 130},
      // 20 entries need 300 > 200 pixels: the full picture height.
      {__LINE__, {0, 0, 300, 200}, 20, 235, 0, 295, 200},
      // Centring assumes a picture whose top is 0.
      {__LINE__, {10, 20, 310, 220}, 2, 245, 85, 305, 115},
      // Coordinates keep their low 16 bits.
      {__LINE__, {0, 0, 70000, 200}, 2, (70000 - 75) & 0xFFFF, 85, (70000 - 5) & 0xFFFF, 115},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const DIAG_DISP disp = make(c.picture, 0x020, c.entries);
    EXPECT_EQ(disp.legendLeft, c.left);
    EXPECT_EQ(disp.legendTop, c.top);
    EXPECT_EQ(disp.legendRight, c.right);
    EXPECT_EQ(disp.legendBottom, c.bottom);
    EXPECT_EQ(disp.rcPlot.right, c.left - 2);
  }
  const DIAG_DISP disp = make({0, 0, 300, 200}, 0x020);
  EXPECT_EQ(disp.legendFrame, 1u);
  EXPECT_EQ(disp.legendFrameColor, RGB(4, 5, 6));
  EXPECT_EQ(disp.legendFill, 0u);
  EXPECT_EQ(disp.legendBackColor, RGB(1, 2, 3));
  EXPECT_EQ(disp.legendFontHeight, 10);
  EXPECT_EQ(disp.legendTextColor, RGB(10, 11, 12));
}

TEST(ReturnDiagDisp, GridBlock) {
  const DIAG_DISP disp = make({0, 0, 300, 200}, 0x040);
  EXPECT_EQ(disp.gridStyle, 2);
  EXPECT_EQ(disp.gridVertical, 0u);
  EXPECT_EQ(disp.gridColor, RGB(7, 8, 9));
}

TEST(ReturnDiagDisp, CaptionsAreCutToNineteenCharacters) {
  const std::string nineteen(19, 'x');
  const std::string long_text(300, 'y');
  const DIAG_DISP disp = make({0, 0, 300, 200}, 0, 4, nineteen.c_str(), long_text.c_str());
  EXPECT_EQ(std::string(disp.captionX), nineteen);
  EXPECT_EQ(std::string(disp.captionY), std::string(19, 'y'));
  const DIAG_DISP empty = make({0, 0, 300, 200}, 0, 4, nullptr, nullptr);
  EXPECT_EQ(std::string(empty.captionX), "");
  EXPECT_EQ(std::string(empty.captionY), "");
}

}  // namespace
