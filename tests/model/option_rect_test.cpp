// ReturnOptionRect: switches from the flag word, derived rectangles, fixed
// fields and captions.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kestra.h"

namespace kestra::test {
namespace {

OPTION_RECT make(unsigned long flags, tagRECT picture = {0, 0, 300, 200},
                 const char* caption_x = "time", const char* caption_y = "speed",
                 int font_height = 12) {
  return ReturnOptionRect(picture, 1, 2, 3, 4, -1.5, -2.5, 3.5, 4.5, -5.5, 6.5, 5, font_height,
                          const_cast<char*>(caption_x), const_cast<char*>(caption_y), flags);
}

bool same_rect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(ReturnOptionRect, FlagWordZero) {
  const OPTION_RECT o = make(0);
  EXPECT_EQ(o.fillBackground, 0u);
  EXPECT_EQ(o.drawFrame, 0u);
  EXPECT_EQ(o.drawAxisX, 0u);
  EXPECT_EQ(o.drawAxisY, 0u);
  EXPECT_EQ(o.arrowStyle, 1);
  EXPECT_EQ(o.argOnX, 1u);
  EXPECT_EQ(o.showZero, 0u);
  EXPECT_EQ(o.arrowMask, 3u);
  EXPECT_EQ(o.argStep, 0.01);
  EXPECT_TRUE(same_rect(o.rcFrame, {2, 2, 298, 198}));
  EXPECT_TRUE(same_rect(o.rcPlot, {2, 2, 298, 198}));
}

TEST(ReturnOptionRect, EverySwitchOn) {
  const OPTION_RECT o = make(0x7F);
  EXPECT_EQ(o.fillBackground, 1u);
  EXPECT_EQ(o.drawFrame, 1u);
  EXPECT_EQ(o.drawAxisX, 1u);
  EXPECT_EQ(o.drawAxisY, 1u);
  EXPECT_EQ(o.arrowStyle, 2);
  EXPECT_EQ(o.argOnX, 0u);  // the inverted bit
  EXPECT_EQ(o.showZero, 1u);
  EXPECT_TRUE(same_rect(o.rcFrame, {2, 2, 298, 198}));
  EXPECT_TRUE(same_rect(o.rcPlot, {4, 4, 296, 196}));
}

TEST(ReturnOptionRect, SingleFlags) {
  struct Case {
    int line;
    unsigned long flags;
    std::uint32_t OPTION_RECT::*field;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {__LINE__, 0x01, &OPTION_RECT::fillBackground, 1}, {__LINE__, 0x02, &OPTION_RECT::drawFrame, 1},
      {__LINE__, 0x04, &OPTION_RECT::drawAxisX, 1},      {__LINE__, 0x08, &OPTION_RECT::drawAxisY, 1},
      {__LINE__, 0x20, &OPTION_RECT::argOnX, 0},         {__LINE__, 0x7E, &OPTION_RECT::fillBackground, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(make(c.flags).*c.field, c.expected);
  }
  EXPECT_EQ(make(0x10).arrowStyle, 2);
  EXPECT_EQ(make(0x40).showZero, 1u);
}

TEST(ReturnOptionRect, HigherBitsChangeNothing) {
  const OPTION_RECT a = make(0);
  const OPTION_RECT b = make(0xFFFFFF80);
  EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
}

TEST(ReturnOptionRect, ValuesStoredUnchanged) {
  const OPTION_RECT o = make(0, {10, 20, 110, 220}, "x", "y", 150);
  EXPECT_TRUE(same_rect(o.rcPicture, {10, 20, 110, 220}));
  EXPECT_EQ(o.backColor, 1u);
  EXPECT_EQ(o.graphColor, 2u);
  EXPECT_EQ(o.frameColor, 3u);
  EXPECT_EQ(o.axisColor, 4u);
  EXPECT_EQ(o.textColor, 5u);
  EXPECT_EQ(o.xMin, -1.5);
  EXPECT_EQ(o.yMin, -2.5);
  EXPECT_EQ(o.xMax, 3.5);
  EXPECT_EQ(o.yMax, 4.5);
  EXPECT_EQ(o.argFrom, -5.5);
  EXPECT_EQ(o.argTo, 6.5);
  EXPECT_EQ(o.fontHeight, 150);  // CreateGraph refuses it later
}

TEST(ReturnOptionRect, RectanglesTooSmallOrAtTheIntLimitsStayAsComputed) {
  EXPECT_TRUE(same_rect(make(0, {0, 0, 3, 3}).rcFrame, {2, 2, 1, 1}));
  EXPECT_TRUE(same_rect(make(2, {0, 0, 3, 3}).rcPlot, {4, 4, -1, -1}));
  const OPTION_RECT o = make(2, {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN});
  EXPECT_TRUE(same_rect(o.rcPlot, {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN}));
}

TEST(ReturnOptionRect, Captions) {
  const std::string nineteen(19, 'a');
  const OPTION_RECT whole = make(0, {0, 0, 300, 200}, nineteen.c_str(), "");
  EXPECT_EQ(std::string(whole.captionX), nineteen);
  EXPECT_EQ(whole.captionY[0], '\0');

  const OPTION_RECT cut = make(0, {0, 0, 300, 200}, "a caption of 25 letters..", nullptr);
  EXPECT_EQ(std::string(cut.captionX), "a caption of 25 let");
  EXPECT_EQ(cut.captionY[0], '\0');  // null counts as empty
}

}  // namespace
}  // namespace kestra::test
