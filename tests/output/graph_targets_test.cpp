// CreateGraph's surface and file forms over the plot renderer.
#include <gtest/gtest.h>

#include "output/target_checks.h"

namespace kestra::test {
namespace {

char kSine[] = "y=sin(x)*2";
char kRefused[] = "y=sin(";

// A sine over -4..4 on a 300 x 200 picture whose plot area is (4, 4, 296, 196).
OPTION_RECT plot_options(unsigned long flags) {
  OPTION_RECT options = ReturnOptionRect({0, 0, 300, 200}, RGB(255, 255, 255), RGB(200, 0, 0),
                                         RGB(0, 0, 255), RGB(0, 128, 0), -4, -3, 4, 3, -4, 4,
                                         RGB(0, 0, 0), 12, const_cast<char*>("x"),
                                         const_cast<char*>("y"), flags);
  options.rcPlot = {4, 4, 296, 196};
  return options;
}

Pixels plot_pixels(const OPTION_RECT& options, HBITMAP bitmap, unsigned long mode) {
  EXPECT_EQ(CreateGraph(kSine, options, &bitmap, mode), KESTRA_OK);
  return take_pixels(bitmap, 300, 200);
}

TEST(GraphSurface, ReceivesThePlotSizedBlockOfTheTopLeftCorner) {
  const OPTION_RECT options = plot_options(0x5F);  // everything, argument on the horizontal
  const Pixels picture = plot_pixels(options, nullptr, 1);
  FilledSurface surface(320, 220);
  {
    NoLeakedObjects no_leaks;
    ASSERT_EQ(CreateGraph(kSine, options, surface.get(), 2), KESTRA_OK);
  }
  expect_block_on_surface(surface, picture, 292, 192);
}

TEST(GraphSurface, ChecksModeThenFontHeightThenNewPicture) {
  OPTION_RECT options = plot_options(0x5F);
  const struct {
    int line;
    unsigned long mode;
    int font_height;
    int expected;
  } cases[] = {
      {__LINE__, 0, 0, KESTRA_MODE_ZERO},
      {__LINE__, 8, 12, KESTRA_MODE_ZERO},
      {__LINE__, 3, 0, KESTRA_MODE_UNKNOWN},
      {__LINE__, 1, 0, KESTRA_BAD_FONT_HEIGHT},  // before the surface's own mode test
      {__LINE__, 2, 100, KESTRA_BAD_FONT_HEIGHT},
      {__LINE__, 1, 99, KESTRA_SURFACE_MODE_NEW},
      {__LINE__, 9, 1, KESTRA_SURFACE_MODE_NEW},
  };
  FilledSurface surface(300, 200);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    options.fontHeight = c.font_height;
    NoLeakedObjects no_leaks;
    EXPECT_EQ(CreateGraph(kSine, options, surface.get(), c.mode), c.expected);
    EXPECT_TRUE(surface.untouched());
  }
}

TEST(GraphSurface, RefusedExpressionLeavesTheSurface) {
  FilledSurface surface(300, 200);
  NoLeakedObjects no_leaks;
  EXPECT_EQ(CreateGraph(kRefused, plot_options(0x5F), surface.get(), 2), KESTRA_BAD_EXPRESSION);
  EXPECT_TRUE(surface.untouched());
}

TEST(GraphFile, NewPictureIsTheBitmapFormsPicture) {
  const OPTION_RECT options = plot_options(0x5F);
  TempDir dir;
  {
    NoLeakedObjects no_leaks;
    ASSERT_EQ(CreateGraph(kSine, options, const_cast<char*>(dir.file("p.bmp").c_str()), 1),
              KESTRA_OK);
  }
  expect_file_holds(dir.file("p.bmp"), plot_pixels(options, nullptr, 1));
}

TEST(GraphFile, DrawsOverTheStoredPicture) {
  const OPTION_RECT options = plot_options(0x5E);  // no background
  TempDir dir;
  const auto stored = stored_picture(300, 200);
  write_file_bytes(dir.file("p.bmp"), stored);
  {
    NoLeakedObjects no_leaks;
    ASSERT_EQ(CreateGraph(kSine, options, const_cast<char*>(dir.file("p.bmp").c_str()), 2),
              KESTRA_OK);
  }
  const Pixels expected = plot_pixels(options, bitmap_of(stored, 300, 200), 2);
  expect_file_holds(dir.file("p.bmp"), expected);
  const auto [kept, drawn] = kept_and_drawn(expected);
  EXPECT_GT(kept, 300 * 200 / 2);
  EXPECT_GT(drawn, 300);
}

TEST(GraphFile, RefusalsLeaveTheFileAsItWas) {
  const OPTION_RECT options = plot_options(0x5F);
  OPTION_RECT no_font = options;
  no_font.fontHeight = 0;
  OPTION_RECT smaller = options;
  smaller.rcPicture = {0, 0, 300, 150};
  const auto graph = [](char* expression, const OPTION_RECT& options, unsigned long mode) {
    return [=](char* path) { return CreateGraph(expression, options, path, mode); };
  };
  const auto picture = stored_picture(300, 200);
  expect_file_refusals({
      {__LINE__, picture, graph(kRefused, options, 1), KESTRA_BAD_EXPRESSION},
      {__LINE__, picture, graph(kRefused, options, 2), KESTRA_BAD_EXPRESSION},
      {__LINE__, picture, graph(kSine, no_font, 1), KESTRA_BAD_FONT_HEIGHT},
      {__LINE__, picture, graph(kSine, options, 0), KESTRA_MODE_ZERO},
      {__LINE__, picture, graph(kSine, options, 11), KESTRA_MODE_UNKNOWN},
      {__LINE__, picture, graph(kSine, smaller, 2), KESTRA_PICTURE_SIZE},
      {__LINE__, {'B', 'M'}, graph(kSine, options, 2), KESTRA_FILE_LOAD},
  });
}

}  // namespace
}  // namespace kestra::test
