// Pictures are read in strips of 24-bit DIB rows small enough to stay in the
// cache, and each strip is copied into the picture with red and blue
// swapped, so the picture's memory is written once.
#include "rgb_picture.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace kestra::python {
namespace {

constexpr std::size_t strip_bytes = 64 * 1024;

using Bytes16 = std::uint8_t __attribute__((vector_size(16)));

// Five pixels per 16-byte shuffle; its 16th byte, the next pixel's blue, is
// written again by the next step or the pixel-by-pixel rest.
[[gnu::always_inline]] inline void swap_red_blue(const std::uint8_t* in, std::size_t bytes,
                                                 std::uint8_t* out) {
  std::size_t x = 0;
  for (; x + sizeof(Bytes16) <= bytes; x += 15) {
    Bytes16 block;
    __builtin_memcpy(&block, in + x, sizeof block);
    block = __builtin_shufflevector(block, block, 2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13,
                                    12, 15);
    __builtin_memcpy(out + x, &block, sizeof block);
  }
  for (; x < bytes; x += 3) {
    out[x] = in[x + 2];
    out[x + 1] = in[x + 1];
    out[x + 2] = in[x];
  }
}

#if defined(__x86_64__) || defined(__i386__)
// The same with the byte shuffle instruction, which the x86-64 baseline lacks.
[[gnu::target("ssse3")]] void swap_red_blue_ssse3(const std::uint8_t* in, std::size_t bytes,
                                                  std::uint8_t* out) {
  swap_red_blue(in, bytes, out);
}
#endif

// Copies `bytes` bytes (a multiple of 3) of B G R pixels as R G B.
void copy_swapping_red_blue(const std::uint8_t* in, std::size_t bytes, std::uint8_t* out) {
#if defined(__x86_64__) || defined(__i386__)
  static const bool ssse3 = __builtin_cpu_supports("ssse3");
  if (ssse3) {
    swap_red_blue_ssse3(in, bytes, out);
    return;
  }
#endif
  swap_red_blue(in, bytes, out);
}

}  // namespace

bool read_rgb(HBITMAP bitmap, RgbPicture& out) {
  BITMAP info{};
  if (!GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) {
    return false;
  }
  const std::size_t row_bytes = static_cast<std::size_t>(info.bmWidth) * 3;
  const std::size_t stride = (row_bytes + 3) & ~std::size_t{3};
  const int strip_rows = static_cast<int>(std::max<std::size_t>(
      1, std::min<std::size_t>(strip_bytes / stride, static_cast<std::size_t>(info.bmHeight))));
  auto strip = std::make_unique_for_overwrite<std::uint8_t[]>(stride * strip_rows);
  auto pixels = std::make_unique_for_overwrite<std::uint8_t[]>(row_bytes * info.bmHeight);
  BITMAPINFO header{};
  header.bmiHeader = {sizeof(BITMAPINFOHEADER), info.bmWidth, -info.bmHeight, 1, 24, BI_RGB,
                      0, 0, 0, 0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return false;
  bool complete = true;
  for (int y = 0; complete && y < info.bmHeight; y += strip_rows) {
    const int rows = std::min(strip_rows, info.bmHeight - y);
    complete = GetDIBits(dc, bitmap, static_cast<UINT>(y), static_cast<UINT>(rows), strip.get(),
                         &header, DIB_RGB_COLORS) == rows;
    for (int i = 0; complete && i < rows; ++i) {
      copy_swapping_red_blue(strip.get() + stride * i, row_bytes,
                             pixels.get() + row_bytes * static_cast<std::size_t>(y + i));
    }
  }
  DeleteDC(dc);
  if (!complete) return false;
  out = {info.bmWidth, info.bmHeight, std::move(pixels)};
  return true;
}

}  // namespace kestra::python
