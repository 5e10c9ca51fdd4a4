// The BMP layout and header bytes, which depend only on the picture's size.
#include <gtest/gtest.h>

#include "output/output.h"

namespace kestra::output {
namespace {

TEST(BmpLayout, RowsArePaddedToFourBytes) {
  const struct {
    int line;
    std::int64_t width, height;
    std::uint32_t row_size, image_size, file_size;
  } cases[] = {
      {__LINE__, 10, 10, 32, 320, 374},   // 30 bytes of pixels, 2 fill bytes
      {__LINE__, 101, 1, 304, 304, 358},  // 303 bytes, 1 fill byte
      {__LINE__, 4, 3, 12, 36, 90},       // no fill
      {__LINE__, 1, 1, 4, 4, 58},
      {__LINE__, 4096, 4096, 12288, 50331648, 50331702},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto layout = bmp_layout(c.width, c.height);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->row_size, c.row_size);
    EXPECT_EQ(layout->image_size, c.image_size);
    EXPECT_EQ(layout->file_size, c.file_size);
  }
}

TEST(BmpLayout, RefusesSizesWithoutAFile) {
  EXPECT_FALSE(bmp_layout(0, 10));
  EXPECT_FALSE(bmp_layout(10, -1));
  EXPECT_FALSE(bmp_layout(std::int64_t{1} << 32, 1));  // wider than the width field
  EXPECT_FALSE(bmp_layout(65536, 65536));              // beyond the 32-bit size field
}

TEST(BmpHeaders, TenByTen) {
  const std::array<std::uint8_t, 54> expected = {
      'B', 'M',               // signature
      0x76, 0x01, 0, 0,       // file size 374
      0, 0, 0, 0,             // reserved
      54, 0, 0, 0,            // pixel data offset
      40, 0, 0, 0,            // information header size
      10, 0, 0, 0,            // width
      10, 0, 0, 0,            // height, positive: bottom-up
      1, 0,                   // planes
      24, 0,                  // bits per pixel
      0, 0, 0, 0,             // no compression
      0x40, 0x01, 0, 0,       // image size 320
      0, 0, 0, 0, 0, 0, 0, 0,  // resolution
      0, 0, 0, 0, 0, 0, 0, 0,  // colours used, important colours
  };
  EXPECT_EQ(bmp_headers(*bmp_layout(10, 10)), expected);
}

}  // namespace
}  // namespace kestra::output
