// CreateDiag (bitmap form): status codes, the canvas and the caller's picture.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "diagram/diagram.h"
#include "diagram/diagram_fixture.h"
#include "platform/dib_rows.h"

namespace kestra::test {
namespace {

TEST(CreateDiag, StatusCodes) {
  DiagramInput input(1, 2, {1.0, 2.0}, 0);
  double values[] = {1.0, 2.0};
  struct Case {
    int line;
    TAB_GR table;
    tagRECT picture;
    unsigned long mode;
    int expected;
  };
  const tagRECT ok{0, 0, 300, 200};
  const Case cases[] = {
      {__LINE__, input.table, ok, 0, KESTRA_MODE_ZERO},
      {__LINE__, input.table, ok, 8, KESTRA_MODE_ZERO},  // only the low three bits count
      {__LINE__, input.table, ok, 3, KESTRA_MODE_UNKNOWN},
      {__LINE__, input.table, ok, 7, KESTRA_MODE_UNKNOWN},
      {__LINE__, input.table, ok, 9, KESTRA_OK},          // acts as 1
      {__LINE__, {1, 1, values}, ok, 1, KESTRA_BAD_TABLE},
      {__LINE__, {0, 2, values}, ok, 1, KESTRA_BAD_TABLE},
      {__LINE__, {1, 2, nullptr}, ok, 1, KESTRA_BAD_TABLE},
      {__LINE__, {1, 1, values}, ok, 0, KESTRA_MODE_ZERO},  // the mode is checked first
      {__LINE__, {1, 2, values}, {0, 0, 0, 200}, 1, KESTRA_NO_BITMAP},
      {__LINE__, {1, 2, values}, {10, 0, 5, 200}, 1, KESTRA_NO_BITMAP},
      {__LINE__, {1, 2, values}, {0, 0, 300, -1}, 1, KESTRA_NO_BITMAP},
      {__LINE__, {1, 2, values}, {0, 0, 32769, 1}, 1, KESTRA_NO_BITMAP},  // the platform's limit
      {__LINE__, {1, 2, values}, {0, 0, 32768, 1}, 1, KESTRA_OK},
      {__LINE__, {1, 2, values}, {0, 0, 30000, 30000}, 1, KESTRA_NO_BITMAP},
      {__LINE__, {1, 2, values}, {-2147483647, 0, 2147483647, 10}, 1, KESTRA_NO_BITMAP},
      {__LINE__, {1, 2, values}, {0, 0, 1, 1}, 1, KESTRA_OK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    NoLeakedObjects guard;
    DIAG_DISP disp = input.disp;
    disp.rcPicture = c.picture;
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(std::uintptr_t{0x77});
    EXPECT_EQ(CreateDiag(c.table, disp, &bitmap, c.mode, KESTRA_KIND_BARS), c.expected);
    if (c.expected == KESTRA_OK) {
      EXPECT_NE(bitmap, nullptr);
      DeleteObject(bitmap);
    } else if (c.expected == KESTRA_NO_BITMAP) {
      EXPECT_EQ(bitmap, nullptr);
    }
  }
}

TEST(CreateDiag, RowStrideIsRaisedToFourBytes) {
  EXPECT_EQ(platform::dib_row_bytes(10, 24), 32u);
  EXPECT_EQ(platform::dib_row_bytes(12, 24), 36u);
  EXPECT_EQ(platform::dib_row_bytes(1, 24), 4u);
  EXPECT_EQ(platform::dib_row_bytes(4, 24), 12u);
}

TEST(CreateDiag, NewPictureStartsBlack) {
  NoLeakedObjects guard;
  DiagramInput input(1, 2, {1.0, 2.0}, 0);
  Picture picture(input.table, input.disp, 7);  // no decoration, no series
  ASSERT_EQ(picture.status, KESTRA_OK);
  ASSERT_EQ(picture.pixels.size(), 300u * 200u);
  for (COLORREF pixel : picture.pixels) ASSERT_EQ(pixel, 0u);
}

TEST(CreateDiag, ModeTwoDrawsOverTheCallersPicture) {
  NoLeakedObjects guard;
  DiagramInput input(1, 2, {1.0, 2.0}, 0x010);  // arrow heads only
  HBITMAP original = solid_bitmap(300, 200, RGB(255, 255, 255));
  HBITMAP bitmap = original;
  ASSERT_EQ(CreateDiag(input.table, input.disp, &bitmap, 10, KESTRA_KIND_LINES), KESTRA_OK);
  EXPECT_EQ(bitmap, original);
  const std::vector<COLORREF> pixels = read_pixels(bitmap, 300, 200);
  EXPECT_EQ(pixels[3 * 300 + 22], kAxis);   // arrow head of the value axis
  EXPECT_EQ(pixels[0], kBack);              // the caller's white elsewhere
  EXPECT_EQ(pixels[199 * 300 + 299], kBack);
  DeleteObject(bitmap);
}

// Every kind with every decoration releases all it creates, also for tables
// with values that are not finite, no series descriptions or no labels.
TEST(CreateDiag, ReleasesEveryObject) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (unsigned long kind : {1ul, 2ul, 101ul, 7ul}) {
    for (int variant = 0; variant < 4; ++variant) {
      SCOPED_TRACE(kind * 10 + variant);
      NoLeakedObjects guard;
      DiagramInput input(2, 3, {1.0, -2.0, 3.0, inf, nan, 1e300}, 0x3FF);
      input.disp.gridVertical = 1;
      if (variant == 1) input.disp.elements = nullptr;
      if (variant == 2) input.disp.categoryLabels = nullptr;
      if (variant == 3) input.disp.legendFill = 1;
      Picture picture(input.table, input.disp, kind);
      EXPECT_EQ(picture.status, KESTRA_OK);
    }
  }
}

TEST(CreateDiag, ArrowHeadsAreSetPixelByPixel) {
  struct Case {
    int line;
    std::int32_t style;
    std::uint8_t mask;
    bool value_axis, category_axis;
  };
  const Case cases[] = {
      {__LINE__, 2, 3, true, true},
      {__LINE__, 2, 1, true, false},
      {__LINE__, 2, 2, false, true},
      {__LINE__, 1, 3, false, false},  // style 1: no heads whatever the mask
      {__LINE__, 3, 3, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    NoLeakedObjects guard;
    DiagramInput input(1, 2, {1.0, 2.0}, 0);  // both axes off
    input.disp.arrowStyle = c.style;
    input.disp.arrowMask = c.mask;
    Picture picture(input.table, input.disp, 7);
    ASSERT_EQ(picture.status, KESTRA_OK);
    int value_pixels = 0, category_pixels = 0;
    for (int k = 1; k <= 4; ++k) {
      for (int x = 22 - k; x <= 22 + k; ++x) value_pixels += picture.at(x, 2 + k) == kAxis;
      for (int y = 158 - k; y <= 158 + k; ++y) category_pixels += picture.at(297 - k, y) == kAxis;
    }
    EXPECT_EQ(value_pixels, c.value_axis ? 24 : 0);
    EXPECT_EQ(category_pixels, c.category_axis ? 24 : 0);
    int total = 0;
    for (COLORREF pixel : picture.pixels) total += pixel != 0;
    EXPECT_EQ(total, value_pixels + category_pixels);  // nothing else, not even the tips
  }
}

}  // namespace
}  // namespace kestra::test
