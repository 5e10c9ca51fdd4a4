// The diagram surface form: the copied block and the mode checks.
#include <gtest/gtest.h>

#include <climits>

#include "diagram/diagram_fixture.h"
#include "output/target_checks.h"

namespace kestra::test {
namespace {

TEST(DiagramSurface, ReceivesThePlotSizedBlockOfTheTopLeftCorner) {
  DiagramInput input(2, 4, {1, 3, 2, 4, 2, 1, 3, 2}, 0x3FF);
  input.disp.rcPlot = {4, 4, 296, 196};
  HBITMAP bitmap = nullptr;
  ASSERT_EQ(CreateDiag(input.table, input.disp, &bitmap, 1, KESTRA_KIND_BARS), KESTRA_OK);
  const Pixels picture = take_pixels(bitmap, 300, 200);
  FilledSurface surface(320, 220);
  ASSERT_NE(surface.get(), nullptr);
  {
    NoLeakedObjects no_leaks;
    ASSERT_EQ(CreateDiag(input.table, input.disp, surface.get(), 10, KESTRA_KIND_BARS), KESTRA_OK);
  }
  expect_block_on_surface(surface, picture, 292, 192);
  // The picture's right 8 columns and bottom 8 rows differ from the surface.
  EXPECT_NE(picture.at(299, 100), kSurfaceColor);
}

TEST(DiagramSurface, ABlockBeyondTheSurfaceIsClipped) {
  DiagramInput input(1, 2, {1, 2}, 0x3FF);
  FilledSurface surface(50, 40);
  NoLeakedObjects no_leaks;
  ASSERT_EQ(CreateDiag(input.table, input.disp, surface.get(), 2, 1), KESTRA_OK);
  EXPECT_FALSE(surface.untouched());
}

// Beyond the picture there is nothing to copy: a plot rectangle as large as
// its fields allow still copies the picture alone, and promptly.
TEST(DiagramSurface, APlotLargerThanThePictureCopiesThePicture) {
  DiagramInput input(2, 4, {1, 3, 2, 4, 2, 1, 3, 2}, 0x3FF);
  input.disp.rcPlot = {0, 0, INT_MAX, INT_MAX};
  HBITMAP bitmap = nullptr;
  ASSERT_EQ(CreateDiag(input.table, input.disp, &bitmap, 1, KESTRA_KIND_BARS), KESTRA_OK);
  const Pixels picture = take_pixels(bitmap, 300, 200);
  FilledSurface surface(320, 220);
  {
    NoLeakedObjects no_leaks;
    ASSERT_EQ(CreateDiag(input.table, input.disp, surface.get(), 2, KESTRA_KIND_BARS), KESTRA_OK);
  }
  expect_block_on_surface(surface, picture, 300, 200);
}

TEST(DiagramSurface, EmptyOrInvertedPlotCopiesNothing) {
  DiagramInput input(1, 2, {1, 2}, 0x3FF);
  FilledSurface surface(50, 40);
  NoLeakedObjects no_leaks;
  for (const RECT plot : {RECT{5, 5, 5, 30}, RECT{30, 30, 10, 10}}) {
    input.disp.rcPlot = plot;
    EXPECT_EQ(CreateDiag(input.table, input.disp, surface.get(), 2, 1), KESTRA_OK);
    EXPECT_TRUE(surface.untouched());
  }
}

TEST(DiagramSurface, RefusalsLeaveTheSurfaceAsItWas) {
  DiagramInput input(1, 2, {1, 2}, 0x3FF);
  const TAB_GR no_columns{1, 1, input.values.data()};
  const struct {
    int line;
    unsigned long mode;
    TAB_GR table;
    int expected;
  } cases[] = {
      {__LINE__, 1, input.table, KESTRA_SURFACE_MODE_NEW},
      {__LINE__, 9, input.table, KESTRA_SURFACE_MODE_NEW},
      {__LINE__, 3, input.table, KESTRA_MODE_UNKNOWN},
      {__LINE__, 7, input.table, KESTRA_MODE_UNKNOWN},
      {__LINE__, 0, input.table, KESTRA_MODE_ZERO},
      {__LINE__, 8, input.table, KESTRA_MODE_ZERO},
      {__LINE__, 1, no_columns, KESTRA_SURFACE_MODE_NEW},  // the mode before the table
      {__LINE__, 2, no_columns, KESTRA_BAD_TABLE},         // the renderer's code, passed on
  };
  FilledSurface surface(300, 200);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    NoLeakedObjects no_leaks;
    EXPECT_EQ(CreateDiag(c.table, input.disp, surface.get(), c.mode, 1), c.expected);
    EXPECT_TRUE(surface.untouched());
  }
}

}  // namespace
}  // namespace kestra::test
