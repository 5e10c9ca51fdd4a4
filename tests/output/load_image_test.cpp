// LoadImageA over BMP files of every layout the loader reads, and over files
// it must refuse without a crash or a leaked object.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <limits>

#include "support/bmp_file.h"
#include "support/canvas.h"
#include "support/temp_dir.h"

namespace kestra::test {
namespace {

constexpr COLORREF kColors[4] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 0, 0),
                                 RGB(0, 255, 255)};
constexpr int kWidth = 13;  // odd, so rows of every bit count need fill bytes
constexpr int kHeight = 5;

// Colour index of a pixel: no two neighbouring rows or columns alike.
std::uint32_t pattern(int x, int y, int colors) {
  return static_cast<std::uint32_t>((x + 2 * y + x * y) % colors);
}

HBITMAP load(const std::string& path) {
  return static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

TEST(LoadImage, ReadsEveryLayoutRowsAndColours) {
  const std::vector<COLORREF> two(kColors, kColors + 2), four(kColors, kColors + 4);
  struct Case {
    int line;
    BmpShape shape;
  };
  const Case cases[] = {
      {__LINE__, {.bits = 24}},
      {__LINE__, {.bits = 24, .top_down = true}},
      {__LINE__, {.bits = 32}},
      {__LINE__, {.bits = 32, .top_down = true}},
      {__LINE__, {.bits = 8, .palette = four}},                    // 4 of 256 entries stored
      {__LINE__, {.bits = 8, .top_down = true, .palette = four}},
      {__LINE__, {.bits = 4, .palette = four}},                    // two pixels a byte
      {__LINE__, {.bits = 1, .palette = two}},                     // eight pixels a byte
      {__LINE__, {.bits = 16, .masks = {0x7C00, 0x03E0, 0x001F}}},  // BI_RGB 5-5-5
      {__LINE__, {.bits = 16, .bitfields = true, .masks = {0xF800, 0x07E0, 0x001F}}},  // 5-6-5
      {__LINE__, {.bits = 32, .bitfields = true, .masks = {0x0000FF, 0x00FF00, 0xFF0000}}},
      {__LINE__, {.bits = 32, .header_size = 124, .bitfields = true,
                  .masks = {0xFF000000, 0x00FF0000, 0x0000FF00}}},  // V5 header, masks inside
      {__LINE__, {.bits = 24, .header_size = 108}},
      {__LINE__, {.bits = 24, .header_size = 12}},                  // OS/2 core header
      {__LINE__, {.bits = 8, .header_size = 12, .palette = std::vector<COLORREF>(256, 0)}},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    BmpShape shape = c.shape;
    shape.width = kWidth;
    shape.height = kHeight;
    const int colors = shape.bits == 1 ? 2 : 4;
    if (shape.header_size == 12 && shape.bits == 8) {
      std::copy(kColors, kColors + 4, shape.palette.begin());
    }
    const auto bytes = build_bmp(shape, [&](int x, int y) {
      const std::uint32_t index = pattern(x, y, colors);
      return shape.bits <= 8 ? index : kColors[index];
    });
    const std::string path = dir.file("picture.bmp");
    write_file_bytes(path, bytes);

    NoLeakedObjects no_leaks;
    const HBITMAP bitmap = load(path);
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_EQ(GetObject(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, kWidth);
    EXPECT_EQ(info.bmHeight, kHeight);
    const auto pixels = read_pixels(bitmap, kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        ASSERT_EQ(pixels[static_cast<std::size_t>(y * kWidth + x)], kColors[pattern(x, y, colors)])
            << "pixel " << x << "," << y;
      }
    }
    DeleteObject(bitmap);
  }
}

TEST(LoadImage, WidensNarrowChannelsByRepeatingTheirBits) {
  TempDir dir;
  BmpShape shape{.width = 2, .height = 1, .bits = 16, .masks = {0x7C00, 0x03E0, 0x001F}};
  // 5-bit 0b10000 becomes 0b10000100 = 132; 0b00001 becomes 0b00001000 = 8.
  write_file_bytes(dir.file("a.bmp"), build_bmp(shape, [](int x, int) {
                     return x == 0 ? RGB(128, 8, 255) : RGB(0, 255, 8);
                   }));
  NoLeakedObjects no_leaks;
  const HBITMAP bitmap = load(dir.file("a.bmp"));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(read_pixels(bitmap, 2, 1), (std::vector<COLORREF>{RGB(132, 8, 255), RGB(0, 255, 8)}));
  DeleteObject(bitmap);
}

TEST(LoadImage, PaletteIndexBeyondTheTableIsBlack) {
  TempDir dir;
  BmpShape shape{.width = 2, .height = 1, .bits = 8, .palette = {RGB(10, 20, 30)}};
  write_file_bytes(dir.file("a.bmp"),
                   build_bmp(shape, [](int x, int) { return x == 0 ? 0u : 7u; }));
  NoLeakedObjects no_leaks;
  const HBITMAP bitmap = load(dir.file("a.bmp"));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(read_pixels(bitmap, 2, 1), (std::vector<COLORREF>{RGB(10, 20, 30), 0}));
  DeleteObject(bitmap);
}

// Pictures larger than one read: rows that begin inside the first bytes the
// loader reads, rows behind a gap, and a file that ends within its last row.
TEST(LoadImage, ReadsLargePicturesWhereverTheirRowsBegin) {
  constexpr int width = 301, height = 517;  // rows of several reads
  const auto colour = [](int x, int y) { return RGB(x % 251, y % 241, (x * y) % 239); };
  const auto index = [](int x, int y) { return static_cast<std::uint32_t>((x + 3 * y) % 256); };
  std::vector<COLORREF> grey(256);
  for (int i = 0; i < 256; ++i) grey[static_cast<std::size_t>(i)] = RGB(i, i, 255 - i);

  const auto direct = build_bmp({.width = width, .height = height}, colour);
  const auto palette = build_bmp({.width = width, .height = height, .bits = 8, .palette = grey},
                                 index);  // rows start within the headers' read
  const auto top_down = build_bmp({.width = width, .height = height, .top_down = true}, colour);
  auto gap = direct;  // 5000 unused bytes before the rows
  gap.insert(gap.begin() + 54, 5000, 0xEE);
  const std::uint32_t offset = 54 + 5000;
  for (int i = 0; i < 4; ++i) gap[10 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(offset >> (8 * i));
  auto short_last_row = direct;
  short_last_row.pop_back();

  const auto expected_colour = [&](int x, int y) { return colour(x, y); };
  const auto expected_grey = [&](int x, int y) { return grey[index(x, y)]; };
  const struct {
    int line;
    const std::vector<std::uint8_t>& bytes;
    std::function<COLORREF(int, int)> expected;
  } cases[] = {
      {__LINE__, direct, expected_colour},
      {__LINE__, palette, expected_grey},
      {__LINE__, top_down, expected_colour},
      {__LINE__, gap, expected_colour},
      {__LINE__, short_last_row, nullptr},
  };
  TempDir dir;
  NoLeakedObjects no_leaks;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    write_file_bytes(dir.file("large.bmp"), c.bytes);
    const HBITMAP bitmap = load(dir.file("large.bmp"));
    if (!c.expected) {
      EXPECT_EQ(bitmap, nullptr);
      continue;
    }
    ASSERT_NE(bitmap, nullptr);
    const auto pixels = read_pixels(bitmap, width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        ASSERT_EQ(pixels[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)],
                  c.expected(x, y))
            << "pixel " << x << "," << y;
      }
    }
    DeleteObject(bitmap);
  }
}

// A valid 3 x 2 24-bit file with one byte changed (or the file cut short).
std::vector<std::uint8_t> damaged(std::size_t at, std::uint8_t value) {
  auto bytes = build_bmp({.width = 3, .height = 2}, [](int, int) { return RGB(1, 2, 3); });
  if (at < bytes.size()) bytes[at] = value;
  return bytes;
}

TEST(LoadImage, RefusesWhatItCannotRead) {
  const auto valid = damaged(~std::size_t{0}, 0);
  auto cut = valid;
  cut.resize(valid.size() - 1);
  auto huge = valid;  // 40000 x 2: beyond the side limit
  huge[18] = 0x40, huge[19] = 0x9C;
  auto wide = valid;  // 2^31 - 1 wide
  wide[18] = wide[19] = wide[20] = 0xFF, wide[21] = 0x7F;
  auto lowest = valid;  // height INT32_MIN
  lowest[22] = lowest[23] = lowest[24] = 0, lowest[25] = 0x80;
  auto far_rows = valid;  // pixel data offset beyond the file
  far_rows[13] = 0x7F;
  auto big_palette = build_bmp({.width = 1, .height = 1, .bits = 8, .palette = {0, 0}},
                               [](int, int) { return 0u; });
  big_palette[46] = 200;  // 200 entries claimed, 2 stored
  const struct {
    int line;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {__LINE__, {}},
      {__LINE__, {'B', 'M'}},
      {__LINE__, damaged(0, 'X')},   // signature
      {__LINE__, damaged(14, 41)},   // unknown header size
      {__LINE__, damaged(18, 0)},    // width 0 (with byte 18 the only non-zero one)
      {__LINE__, damaged(22, 0)},    // height 0
      {__LINE__, damaged(26, 2)},    // two planes
      {__LINE__, damaged(28, 2)},    // 2 bits a pixel
      {__LINE__, damaged(30, 1)},    // RLE8 compression
      {__LINE__, damaged(30, 3)},    // bit fields at 24 bits
      {__LINE__, cut},
      {__LINE__, huge},
      {__LINE__, wide},
      {__LINE__, lowest},
      {__LINE__, far_rows},
      {__LINE__, big_palette},
  };
  TempDir dir;
  NoLeakedObjects no_leaks;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    write_file_bytes(dir.file("bad.bmp"), c.bytes);
    EXPECT_EQ(load(dir.file("bad.bmp")), nullptr);
  }
}

TEST(LoadImage, LoadsOnlyBitmapsFromFilesAtTheirOwnSize) {
  TempDir dir;
  write_file_bytes(dir.file("a.bmp"), damaged(~std::size_t{0}, 0));
  const std::string name = dir.file("a.bmp");
  NoLeakedObjects no_leaks;
  EXPECT_EQ(LoadImageA(nullptr, name.c_str(), IMAGE_BITMAP, 0, 0, 0), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, name.c_str(), 1, 0, 0, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, name.c_str(), IMAGE_BITMAP, 6, 4, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, nullptr, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(load(dir.file("missing.bmp")), nullptr);
  EXPECT_EQ(load(dir.path().string()), nullptr);  // a directory
  HANDLE same_size = LoadImageA(nullptr, name.c_str(), IMAGE_BITMAP, 3, 2, LR_LOADFROMFILE);
  EXPECT_NE(same_size, nullptr);
  DeleteObject(same_size);
}

// Opening a pipe without a writer would wait for one forever.
TEST(LoadImage, ANamedPipeIsNoPicture) {
  TempDir dir;
  ASSERT_EQ(mkfifo(dir.file("pipe.bmp").c_str(), 0600), 0);
  NoLeakedObjects no_leaks;
  EXPECT_EQ(load(dir.file("pipe.bmp")), nullptr);
}

}  // namespace
}  // namespace kestra::test
