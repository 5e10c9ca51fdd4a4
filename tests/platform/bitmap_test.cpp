#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "support/canvas.h"

using kestra::test::Canvas;
using kestra::test::NoLeakedObjects;

namespace {
BITMAPINFO dib_info(int width, int height, int bits) {
  BITMAPINFO info{};
  info.bmiHeader = {40, width, height, 1, static_cast<WORD>(bits), BI_RGB, 0, 0, 0, 0, 0};
  return info;
}
}  // namespace

TEST(Bitmap, DibRowsRoundTripBottomUpWithPadding) {
  NoLeakedObjects guard;
  // 3 x 2 picture, 24 bit: rows of 9 bytes padded to 12, bottom row first.
  std::vector<unsigned char> bits = {
      1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0,           // bottom row
      10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0,  // top row
  };
  BITMAPINFO info = dib_info(3, 2, 24);
  HDC screen = GetDC(GetForegroundWindow());
  HBITMAP bitmap = CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, bits.data(), &info,
                                  DIB_RGB_COLORS);
  ASSERT_NE(bitmap, nullptr);
  const auto pixels = kestra::test::read_pixels(bitmap, 3, 2);
  EXPECT_EQ(pixels[0], RGB(12, 11, 10)) << "top-left comes from the last DIB row";
  EXPECT_EQ(pixels[5], RGB(9, 8, 7));
  std::vector<unsigned char> back(bits.size(), 0xAA);
  EXPECT_EQ(GetDIBits(screen, bitmap, 0, 2, back.data(), &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(back, bits);
  ReleaseDC(GetForegroundWindow(), screen);
  DeleteObject(bitmap);
}

// Rows converted four pixels at a time, with the rest one by one, and zero
// blocks skipped on creation: every width's rows come back as they went in,
// zero runs among coloured pixels and top-down descriptions included.
TEST(Bitmap, DibRowsRoundTripAtEveryWidthAndDepth) {
  NoLeakedObjects guard;
  HDC screen = GetDC(GetForegroundWindow());
  for (const int bits_per_pixel : {24, 32}) {
    for (const int width : {1, 2, 3, 4, 5, 7, 8, 9, 13, 16, 17}) {
      for (const int height : {3, -3}) {
        SCOPED_TRACE(testing::Message() << bits_per_pixel << " bits, " << width << " x " << height);
        const std::size_t stride = (static_cast<std::size_t>(width) * bits_per_pixel + 31) / 32 * 4;
        std::vector<unsigned char> bits(stride * 3, 0);
        for (std::size_t i = 0; i < bits.size(); ++i) {
          const std::size_t x = i % stride;
          const bool pixel_byte = x < static_cast<std::size_t>(width) * (bits_per_pixel / 8) &&
                                  (bits_per_pixel == 24 || x % 4 != 3);
          // Bytes 12..27 of each row stay zero: at 24 bits one whole block of
          // four pixels and the first word of the next.
          if (pixel_byte && (x < 12 || x >= 28)) {
            bits[i] = static_cast<unsigned char>(i * 37 + 1);
          }
        }
        BITMAPINFO info = dib_info(width, height, bits_per_pixel);
        HBITMAP bitmap = CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, bits.data(), &info,
                                        DIB_RGB_COLORS);
        ASSERT_NE(bitmap, nullptr);
        std::vector<unsigned char> back(bits.size(), 0xAA);
        EXPECT_EQ(GetDIBits(screen, bitmap, 0, 3, back.data(), &info, DIB_RGB_COLORS), 3);
        EXPECT_EQ(back, bits);
        DeleteObject(bitmap);
      }
    }
  }
  ReleaseDC(GetForegroundWindow(), screen);
}

TEST(Bitmap, RefusesEmptyOrHugeSizes) {
  NoLeakedObjects guard;
  HDC screen = GetDC(nullptr);
  for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-3, 4}, {100000, 1}, {30000, 30000}}) {
    BITMAPINFO info = dib_info(w, h, 24);
    unsigned char pixel[4] = {};
    EXPECT_EQ(CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, pixel, &info, DIB_RGB_COLORS),
              nullptr)
        << w << " x " << h;
  }
  ReleaseDC(nullptr, screen);
}

TEST(Bitmap, SetPixelOutsideTheBitmapDoesNothing) {
  Canvas canvas(4, 3);
  for (auto [x, y] : {std::pair{-1, 0}, {4, 0}, {0, -1}, {0, 3}, {-2147483647, 1}, {1000, 1000}})
    SetPixel(canvas.dc(), x, y, RGB(255, 0, 0));
  for (int y = 0; y < 3; ++y) EXPECT_EQ(canvas.row(y), "....");
  SetPixel(canvas.dc(), 3, 2, RGB(1, 2, 3));
  EXPECT_EQ(canvas.at(3, 2), RGB(1, 2, 3));
}

TEST(Bitmap, StretchBltCopiesOnlyTheBlock) {
  NoLeakedObjects guard;
  Canvas source(10, 8), target(10, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) SetPixel(source.dc(), x, y, RGB(x, y, 7));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) SetPixel(target.dc(), x, y, RGB(200, 200, 200));
  ASSERT_TRUE(StretchBlt(target.dc(), 0, 0, 6, 5, source.dc(), 0, 0, 6, 5, SRCCOPY));
  EXPECT_EQ(target.at(5, 4), RGB(5, 4, 7));
  EXPECT_EQ(target.at(6, 4), RGB(200, 200, 200));
  EXPECT_EQ(target.at(5, 5), RGB(200, 200, 200));
}

// Blocks far larger than either bitmap, or placed near the ends of the int
// range, touch only the pixels inside the target and return at once.
TEST(Bitmap, StretchBltVisitsOnlyTheTargetsPixels) {
  NoLeakedObjects guard;
  Canvas source(10, 8), target(10, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) SetPixel(source.dc(), x, y, RGB(x, y, 7));
  ASSERT_TRUE(StretchBlt(target.dc(), 0, 0, INT_MAX, INT_MAX, source.dc(), 0, 0, INT_MAX, INT_MAX,
                         SRCCOPY));
  EXPECT_EQ(target.at(9, 7), RGB(9, 7, 7));

  Canvas shifted(10, 8);
  ASSERT_TRUE(StretchBlt(shifted.dc(), -3, INT_MIN + 1, INT_MAX, INT_MAX, source.dc(), 0, 0,
                         INT_MAX, INT_MAX, SRCCOPY));
  EXPECT_EQ(shifted.at(0, 0), RGB(0, 0, 0));  // rows land far above the bitmap
  ASSERT_TRUE(StretchBlt(shifted.dc(), INT_MAX - 1, 0, 5, 5, source.dc(), 0, 0, 5, 5, SRCCOPY));
  ASSERT_TRUE(StretchBlt(shifted.dc(), -3, 0, 8, 8, source.dc(), 0, 0, 8, 8, SRCCOPY));
  EXPECT_EQ(shifted.at(0, 2), RGB(3, 2, 7));
  EXPECT_EQ(shifted.at(5, 2), RGB(0, 0, 0));
}
