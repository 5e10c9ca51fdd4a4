// Bitmaps in the screen's format for tests, made the way a host makes them:
// CreateDIBitmap from 24-bit bottom-up rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "kestra.h"
#include "platform/dib_rows.h"

namespace kestra::test {

// Bytes in one row of a 24-bit DIB or BMP file.
inline std::size_t row_size_24(int width) {
  return platform::dib_row_bytes(static_cast<std::size_t>(width), 24);
}

// A width x height bitmap made from 24-bit bottom-up rows, selected into no
// device context; the caller deletes it.
inline HBITMAP bitmap_from_rows(int width, int height, const std::uint8_t* rows) {
  BITMAPINFO info{};
  info.bmiHeader = {40, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(GetForegroundWindow());
  HBITMAP bitmap = CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, rows, &info, DIB_RGB_COLORS);
  ReleaseDC(GetForegroundWindow(), screen);
  return bitmap;
}

// A width x height bitmap filled with `color`, selected into no device
// context; the caller deletes it.
inline HBITMAP solid_bitmap(int width, int height, COLORREF color) {
  const std::size_t stride = row_size_24(width);
  std::vector<std::uint8_t> bits(stride * static_cast<std::size_t>(height), 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* pixel = &bits[stride * static_cast<std::size_t>(y) + 3 * static_cast<std::size_t>(x)];
      pixel[0] = GetBValue(color);
      pixel[1] = GetGValue(color);
      pixel[2] = GetRValue(color);
    }
  }
  return bitmap_from_rows(width, height, bits.data());
}

}  // namespace kestra::test
