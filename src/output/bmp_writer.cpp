// Saving a bitmap as a 24-bit BMP file: rows are converted and written in
// bands, bottom row first, so the picture never needs a second full copy.
#include <algorithm>
#include <memory>
#include <new>

#include "output/output.h"

namespace kestra::output {
namespace {

// Rows per band: about 256 KiB, and at least one row.
constexpr std::uint32_t band_bytes = 256 * 1024;

}  // namespace

int write_bitmap_file(const char* path, const BmpLayout& layout, HBITMAP bitmap, HDC reference) {
  if (!path || !*path) return KESTRA_FILE_WRITE;
  const std::uint32_t band_rows =
      std::clamp<std::uint32_t>(band_bytes / layout.row_size, 1, layout.height);
  std::unique_ptr<std::uint8_t[]> band(
      new (std::nothrow) std::uint8_t[std::size_t{band_rows} * layout.row_size]);
  if (!band) return KESTRA_FILE_WRITE;

  ReplacingFile file(path);
  const auto headers = bmp_headers(layout);
  if (!file.write(headers.data(), headers.size())) return KESTRA_FILE_WRITE;
  BITMAPINFO description = bmp_description(layout);
  const auto height = static_cast<std::uint32_t>(layout.height);
  for (std::uint32_t start = 0; start < height; start += band_rows) {
    const std::uint32_t rows = std::min(band_rows, height - start);
    // Scan lines count from the bottom row of a bottom-up description.
    if (GetDIBits(reference, bitmap, start, rows, band.get(), &description, DIB_RGB_COLORS) !=
            static_cast<int>(rows) ||
        !file.write(band.get(), std::size_t{rows} * layout.row_size)) {
      return KESTRA_FILE_WRITE;
    }
  }
  return file.commit() ? KESTRA_OK : KESTRA_FILE_WRITE;
}

}  // namespace kestra::output
