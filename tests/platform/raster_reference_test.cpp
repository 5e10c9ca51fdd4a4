// Replays the shared raster scenes on our layer and compares every pixel
// with the pictures real GDI drew of the same scenes.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "kestra.h"
#include "support/bmp_file.h"
#include "support/canvas.h"
// The scenes call GDI by its Win32 names, declared by kestra.h here.
#include "platform/raster_scenes.h"

namespace raster_scenes {
void PrintTo(const Scene& scene, std::ostream* out) { *out << scene.name; }
}  // namespace raster_scenes

namespace {

using kestra::test::BmpImage;
using kestra::test::Canvas;

std::string hex(COLORREF color) {
  std::ostringstream out;
  out << "0x" << std::hex << color;
  return out.str();
}

// A summary of where two pictures differ, or "" when they are equal.
std::string differences(const BmpImage& expected, const std::vector<COLORREF>& actual) {
  int count = 0, first_x = -1, first_y = -1;
  for (int y = 0; y < expected.height; ++y) {
    for (int x = 0; x < expected.width; ++x) {
      if (expected.at(x, y) == actual[static_cast<std::size_t>(y) * expected.width + x]) continue;
      if (count++ == 0) first_x = x, first_y = y;
    }
  }
  if (count == 0) return "";
  std::ostringstream out;
  out << count << " pixels differ; first at (" << first_x << ", " << first_y << "): GDI "
      << hex(expected.at(first_x, first_y)) << ", ours "
      << hex(actual[static_cast<std::size_t>(first_y) * expected.width + first_x]);
  return out.str();
}

class RasterReference : public testing::TestWithParam<raster_scenes::Scene> {};

TEST_P(RasterReference, MatchesRealGdiPixelForPixel) {
  const raster_scenes::Scene& scene = GetParam();
  const auto expected = kestra::test::read_bmp(std::string(KESTRA_TEST_DATA) +
                                               "/platform/gdi/" + scene.name + ".bmp");
  ASSERT_TRUE(expected) << "missing fixture for " << scene.name;
  ASSERT_EQ(expected->width, scene.width);
  ASSERT_EQ(expected->height, scene.height);
  kestra::test::NoLeakedObjects guard;
  Canvas canvas(scene.width, scene.height);
  raster_scenes::play(canvas.dc(), scene);
  std::vector<COLORREF> actual;
  for (int y = 0; y < scene.height; ++y)
    for (int x = 0; x < scene.width; ++x) actual.push_back(canvas.at(x, y));
  EXPECT_EQ(differences(*expected, actual), "") << scene.name;
}

INSTANTIATE_TEST_SUITE_P(Scenes, RasterReference, testing::ValuesIn(raster_scenes::all_scenes()),
                         [](const testing::TestParamInfo<raster_scenes::Scene>& info) {
                           return info.param.name;
                         });

}  // namespace
