// Bitmaps in the screen format: their pixel storage, creation from and
// conversion to 24/32-bit DIB rows, single pixels, and block copies between
// device contexts.
#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "platform/dib_rows.h"
#include "platform/gdi_objects.h"
#include "platform/no_throw.h"
#include "platform/recording.h"

namespace kestra::platform {
namespace {

bool valid_size(int width, int height) {
  return width > 0 && height > 0 && width <= max_bitmap_side && height <= max_bitmap_side &&
         std::int64_t{width} * height <= max_bitmap_pixels;
}

// Throws std::bad_alloc when the pixels cannot be had.
HBITMAP new_bitmap(int width, int height) {
  if (!valid_size(width, height)) return nullptr;
  return static_cast<HBITMAP>(ObjectTable::instance().add(std::make_shared<Bitmap>(width, height)));
}

std::size_t dib_stride(int width, int bits) {
  return dib_row_bytes(static_cast<std::size_t>(width), static_cast<std::size_t>(bits));
}

bool supported_dib(const BITMAPINFOHEADER& header) {
  return header.biSize >= sizeof(BITMAPINFOHEADER) && header.biCompression == BI_RGB &&
         header.biPlanes == 1 && (header.biBitCount == 24 || header.biBitCount == 32) &&
         header.biWidth > 0 && header.biHeight != 0;
}

// The bitmap row that DIB row `line` (counted in storage order) describes.
int bitmap_row_of(const BITMAPINFOHEADER& header, int rows, int line) {
  return header.biHeight > 0 ? rows - 1 - line : line;
}

// A pixel's bytes in memory are a 24-bit DIB pixel's blue, green and red
// followed by a zero byte, so four pixels pack into three 32-bit words.
static_assert(std::endian::native == std::endian::little);

std::uint32_t load_word(const std::uint8_t* at) {
  std::uint32_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

void store_word(std::uint8_t* at, std::uint32_t word) { std::memcpy(at, &word, sizeof word); }

// DIB row to pixels, into a new bitmap, which is zero: blocks of zero bytes
// are skipped, so a black picture's pages stay untouched until drawn on.
void read_dib_row_into_new(const std::uint8_t* src, int bits, int count, Pixel* dst) {
  int x = 0;
  if (bits == 24) {
    for (; x + 4 <= count; x += 4, src += 12) {
      const std::uint32_t w0 = load_word(src), w1 = load_word(src + 4), w2 = load_word(src + 8);
      if ((w0 | w1 | w2) == 0) continue;
      dst[x] = w0 & 0xFFFFFF;
      dst[x + 1] = (w0 >> 24) | ((w1 & 0xFFFF) << 8);
      dst[x + 2] = (w1 >> 16) | ((w2 & 0xFF) << 16);
      dst[x + 3] = w2 >> 8;
    }
  }
  const int step = bits / 8;
  for (; x < count; ++x, src += step) {
    dst[x] = (Pixel{src[2]} << 16) | (Pixel{src[1]} << 8) | src[0];
  }
}

// Pixels to a DIB row: a 32-bit DIB pixel is the stored word, a 24-bit row
// packs four pixels into three words.
void write_dib_row(const Pixel* src, int bits, int count, std::uint8_t* dst) {
  if (bits == 32) {
    for (int x = 0; x < count; ++x, dst += 4) store_word(dst, src[x] & 0xFFFFFF);
    return;
  }
  int x = 0;
  for (; x + 4 <= count; x += 4, dst += 12) {
    const Pixel p0 = src[x], p1 = src[x + 1], p2 = src[x + 2], p3 = src[x + 3];
    store_word(dst, (p0 & 0xFFFFFF) | (p1 << 24));
    store_word(dst + 4, ((p1 >> 8) & 0xFFFF) | (p2 << 16));
    store_word(dst + 8, ((p2 >> 16) & 0xFF) | (p3 << 8));
  }
  for (; x < count; ++x, dst += 3) {
    dst[0] = static_cast<std::uint8_t>(src[x]);
    dst[1] = static_cast<std::uint8_t>(src[x] >> 8);
    dst[2] = static_cast<std::uint8_t>(src[x] >> 16);
  }
}

// Asks for huge pages over the whole pages of a large buffer: a picture of
// tens of megabytes then costs tens of page faults instead of thousands.
void prefer_huge_pages([[maybe_unused]] void* memory, [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::size_t page = 4096;
  constexpr std::size_t large = std::size_t{4} << 20;
  if (bytes < large) return;
  const auto begin = (reinterpret_cast<std::uintptr_t>(memory) + page - 1) & ~(page - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(memory) + bytes) & ~(page - 1);
  madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);  // advice only
#endif
}

}  // namespace

void FreePixels::operator()(Pixel* pixels) const { std::free(pixels); }

PixelBuffer zeroed_pixels(std::size_t count) {
  // calloc hands out fresh pages for large sizes without writing them.
  auto* pixels = static_cast<Pixel*>(std::calloc(count, sizeof(Pixel)));
  if (!pixels) throw std::bad_alloc();
  prefer_huge_pages(pixels, count * sizeof(Pixel));
  return PixelBuffer(pixels);
}

}  // namespace kestra::platform

using namespace kestra::platform;

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  return or_failure<HBITMAP>(nullptr, [&]() -> HBITMAP {
    if (!dc_of(dc)) return nullptr;
    return new_bitmap(width, height);
  });
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage) {
  return or_failure<HBITMAP>(nullptr, [&]() -> HBITMAP {
    if (!dc_of(dc) || !header || header->biWidth <= 0 || header->biHeight == 0) return nullptr;
    const int width = header->biWidth;
    const int height = header->biHeight == INT32_MIN ? 0 : std::abs(header->biHeight);
    if (!(init & CBM_INIT)) return new_bitmap(width, height);
    if (!bits || !info || usage != DIB_RGB_COLORS || !supported_dib(info->bmiHeader) ||
        info->bmiHeader.biWidth != width || std::abs(info->bmiHeader.biHeight) != height) {
      return nullptr;
    }
    HBITMAP handle = new_bitmap(width, height);
    auto bitmap = lookup<Bitmap>(handle);
    if (!bitmap) return nullptr;
    const int bpp = info->bmiHeader.biBitCount;
    const std::size_t stride = dib_stride(width, bpp);
    const auto* src = static_cast<const std::uint8_t*>(bits);
    for (int line = 0; line < height; ++line) {
      read_dib_row_into_new(src + stride * line, bpp, width,
                            bitmap->row(bitmap_row_of(info->bmiHeader, height, line)));
    }
    return handle;
  });
}

int GetDIBits(HDC dc, HBITMAP handle, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info,
              UINT usage) {
  return or_failure<int>(0, [&]() -> int {
    auto bitmap = lookup<Bitmap>(handle);
    if (!dc_of(dc) || !bitmap || !info || usage != DIB_RGB_COLORS) return 0;
    BITMAPINFOHEADER& header = info->bmiHeader;
    if (!bits) {  // describe the bitmap
      if (header.biSize < sizeof(BITMAPINFOHEADER)) return 0;
      header.biWidth = bitmap->width;
      header.biHeight = bitmap->height;
      header.biPlanes = 1;
      if (header.biBitCount == 0) header.biBitCount = 32;
      header.biCompression = BI_RGB;
      header.biSizeImage = static_cast<DWORD>(dib_stride(bitmap->width, header.biBitCount) *
                                              static_cast<std::size_t>(bitmap->height));
      return bitmap->height;
    }
    if (!supported_dib(header) || header.biWidth != bitmap->width) return 0;
    const int rows = std::min(std::abs(header.biHeight), bitmap->height);
    if (start >= static_cast<UINT>(rows)) return 0;
    const int count = static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(rows) - start));
    const std::size_t stride = dib_stride(bitmap->width, header.biBitCount);
    auto* dst = static_cast<std::uint8_t*>(bits);
    for (int i = 0; i < count; ++i) {
      const int line = static_cast<int>(start) + i;
      std::uint8_t* out = dst + stride * static_cast<std::size_t>(i);
      write_dib_row(bitmap->row(bitmap_row_of(header, rows, line)), header.biBitCount,
                    bitmap->width, out);
      const std::size_t used = static_cast<std::size_t>(bitmap->width) * (header.biBitCount / 8);
      std::memset(out + used, 0, stride - used);
    }
    return count;
  });
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  if (const auto recording = recording_dc(dc)) return record_pixel(*recording, x, y, color);
  auto context = dc_of(dc);
  if (!context) return CLR_INVALID;
  Bitmap* bitmap = context->bitmap.get();
  if (!bitmap || !bitmap->contains(x, y)) return CLR_INVALID;
  bitmap->row(y)[x] = to_pixel(color);
  return color & 0xFFFFFF;
}

COLORREF GetPixel(HDC dc, int x, int y) {
  auto context = dc_of(dc);
  Bitmap* bitmap = context ? context->bitmap.get() : nullptr;
  if (!bitmap || !bitmap->contains(x, y)) return CLR_INVALID;
  return to_colorref(bitmap->row(y)[x]);
}

BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy,
                int swidth, int sheight, DWORD rop) {
  return or_failure<BOOL>(FALSE, [&]() -> BOOL {
    auto target = dc_of(dst);
    auto source = dc_of(src);
    if (!target || !source || rop != SRCCOPY || width <= 0 || height <= 0 || swidth <= 0 ||
        sheight <= 0) {
      return FALSE;
    }
    Bitmap* from = source->bitmap.get();
    Bitmap* to = target->bitmap.get();
    if (!from || !to) return FALSE;
    // Nearest source pixel for each destination pixel, visiting only the
    // destination pixels inside the target bitmap; sizes are usually equal.
    const auto visible = [](int origin, int extent, int limit) {
      const std::int64_t first = std::max<std::int64_t>(0, -std::int64_t{origin});
      const std::int64_t end = std::min<std::int64_t>(extent, std::int64_t{limit} - origin);
      return std::pair<std::int64_t, std::int64_t>{first, std::max(first, end)};
    };
    const auto [first_row, end_row] = visible(y, height, to->height);
    const auto [first_col, end_col] = visible(x, width, to->width);
    for (std::int64_t row = first_row; row < end_row; ++row) {
      const std::int64_t fy = sy + row * sheight / height;
      if (fy < 0 || fy >= from->height) continue;
      Pixel* out = to->row(static_cast<int>(y + row));
      const Pixel* in = from->row(static_cast<int>(fy));
      for (std::int64_t col = first_col; col < end_col; ++col) {
        const std::int64_t fx = sx + col * swidth / width;
        if (fx >= 0 && fx < from->width) out[x + col] = in[fx];
      }
    }
    return TRUE;
  });
}

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int sx, int sy, DWORD rop) {
  return StretchBlt(dst, x, y, width, height, src, sx, sy, width, height, rop);
}

HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes) {
  void* memory = std::malloc(bytes == 0 ? 1 : bytes);
  if (memory && (flags & GMEM_ZEROINIT)) std::memset(memory, 0, bytes);
  return memory;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  std::free(memory);
  return nullptr;
}
