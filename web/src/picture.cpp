// A drawing export's new bitmap read back as RGBA rows, ready for a
// canvas's ImageData.
#include <cstddef>
#include <utility>

#include "call.h"
#include "command_errors.h"

namespace kestra::web {
namespace {

// GetDIBits as a 32-bit top-down DIB gives B G R 0 per pixel.
bool read_rgba(HBITMAP bitmap, CallResult& out) {
  BITMAP info{};
  if (!GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) {
    return false;
  }
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(info.bmWidth) * info.bmHeight * 4);
  BITMAPINFO header{};
  header.bmiHeader = {sizeof(BITMAPINFOHEADER), info.bmWidth, -info.bmHeight, 1, 32, BI_RGB,
                      0, 0, 0, 0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return false;
  const int lines = GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(),
                              &header, DIB_RGB_COLORS);
  DeleteDC(dc);
  if (lines != info.bmHeight) return false;
  for (std::size_t i = 0; i < pixels.size(); i += 4) {
    std::swap(pixels[i], pixels[i + 2]);
    pixels[i + 3] = 255;
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
