// Complete diagrams compared pixel by pixel with reference pictures checked
// by eye once. Run with KESTRA_UPDATE_REFERENCES=1 to rewrite them after an
// intended change, then look at them again.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "diagram/diagram_fixture.h"
#include "support/bmp_file.h"

namespace kestra::test {
namespace {

const std::string kDataDir = std::string(KESTRA_TEST_DATA) + "/diagram/";

std::vector<std::uint8_t> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Scene {
  const char* name;
  int rows, cols;
  std::vector<double> values;
  unsigned long kind;
};

DiagramInput make_input(const Scene& scene) {
  DiagramInput input(scene.rows, scene.cols, scene.values, 0x3FF);  // every decoration
  input.disp = ReturnDiagDisp({0, 0, 300, 200}, kBack, kFrame, kAxis, 4, kText, 12, kBarText, 10,
                              const_cast<char*>("Category"), const_cast<char*>("Value"),
                              input.labels, 12, static_cast<unsigned short>(scene.rows),
                              input.elements.data(), 1, 0x3FF);
  input.disp.gridVertical = 1;
  input.disp.legendFill = 1;
  input.disp.legendBackColor = RGB(230, 230, 230);
  input.elements[0].style = 2;  // dotted line, hatched bars
  if (scene.kind == KESTRA_KIND_LINES_MARKERS) input.elements[0].width = 3;
  return input;
}

TEST(DiagramReference, CompletePictures) {
  const Scene scenes[] = {
      {"bars", 2, 4, {8.0, 3.5, -2.0, 6.0, 4.0, 7.25, 1.0, 5.0}, KESTRA_KIND_BARS},
      {"lines", 2, 4, {8.0, 3.5, -2.0, 6.0, 4.0, 7.25, 1.0, 5.0}, KESTRA_KIND_LINES},
      {"markers", 2, 4, {8.0, 3.5, -2.0, 6.0, 4.0, 7.25, 1.0, 5.0}, KESTRA_KIND_LINES_MARKERS},
      {"bars_1x2", 1, 2, {3.0, -1.5}, KESTRA_KIND_BARS},
  };
  const bool update = std::getenv("KESTRA_UPDATE_REFERENCES") != nullptr;
  for (const Scene& scene : scenes) {
    SCOPED_TRACE(scene.name);
    NoLeakedObjects guard;
    DiagramInput input = make_input(scene);
    Picture picture(input.table, input.disp, scene.kind);
    ASSERT_EQ(picture.status, KESTRA_OK);
    const std::vector<std::uint8_t> bmp = encode_bmp24(picture.pixels, picture.width, picture.height);
    const std::string path = kDataDir + scene.name + ".bmp";
    if (update) {
      std::ofstream(path, std::ios::binary)
          .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
      continue;
    }
    const std::vector<std::uint8_t> expected = read_file(path);
    ASSERT_EQ(expected.size(), bmp.size()) << path;
    std::size_t first = 0;
    while (first < bmp.size() && bmp[first] == expected[first]) ++first;
    EXPECT_EQ(first, bmp.size()) << "first differing byte " << first << " of " << path;
  }
}

}  // namespace
}  // namespace kestra::test
