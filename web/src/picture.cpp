// A drawing export's new bitmap read back as RGBA rows, ready for a
// canvas's ImageData.
#include <bit>
#include <cstddef>
#include <memory>
#include <utility>

#include "call.h"
#include "command_errors.h"

namespace kestra::web {
namespace {

// GetDIBits as a 32-bit top-down DIB gives the words 0x00RRGGBB; they
// become R G B 255 in place, so the pixels are written and read once each.
bool read_rgba(HBITMAP bitmap, CallResult& out) {
  BITMAP info{};
  if (!GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) {
    return false;
  }
  const std::size_t count = static_cast<std::size_t>(info.bmWidth) * info.bmHeight;
  std::unique_ptr<std::uint32_t[]> pixels(new std::uint32_t[count]);  // left unset: all written
  BITMAPINFO header{};
  header.bmiHeader = {sizeof(BITMAPINFOHEADER), info.bmWidth, -info.bmHeight, 1, 32, BI_RGB,
                      0, 0, 0, 0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return false;
  const int lines = GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.get(),
                              &header, DIB_RGB_COLORS);
  DeleteDC(dc);
  if (lines != info.bmHeight) return false;
  static_assert(std::endian::native == std::endian::little);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t bgr = pixels[i];
    pixels[i] = 0xFF000000 | (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
  }
  out.width = info.bmWidth;
  out.height = info.bmHeight;
  out.rgba = std::move(pixels);
  return true;
}

}  // namespace

int keep_picture(int status, HBITMAP bitmap) {
  if (status == KESTRA_OK && !read_rgba(bitmap, call_result())) status = KESTRA_INTERNAL;
  if (bitmap) DeleteObject(bitmap);
  if (status != KESTRA_OK) throw cli::StatusError{status, {}};
  return status;
}

}  // namespace kestra::web
