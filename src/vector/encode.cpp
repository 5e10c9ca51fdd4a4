// Pixels as the bytes of a PNG (cairo's encoder) or a 24-bit BMP file (the
// layout the file forms of the exports write).
#include <cairo.h>

#include <cstring>
#include <new>

#include "output/output.h"
#include "vector/vector.h"

namespace kestra::vector {
namespace {


std::string encode_png(const std::uint32_t* pixels, int width, int height) {
  // RGB24 rows are the same 32-bit 0x00RRGGBB pixels, 4 x width bytes apart.
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(pixels)), CAIRO_FORMAT_RGB24,
      width, height, width * 4);
  std::string out;
  const cairo_status_t status = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS
                                    ? cairo_surface_write_to_png_stream(surface, append_to_string, &out)
                                    : cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status == CAIRO_STATUS_NO_MEMORY) throw std::bad_alloc();
  if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error(cairo_status_to_string(status));
  return out;
}

// Bottom-up rows of blue, green, red, each row padded to 4 bytes.
std::string encode_bmp(const std::uint32_t* pixels, int width, int height) {
  const auto layout = output::bmp_layout(width, height);
  if (!layout) throw std::length_error("picture too large for a BMP file");
  const auto headers = output::bmp_headers(*layout);
  std::string out(layout->file_size, '\0');
  std::memcpy(out.data(), headers.data(), headers.size());
  for (int y = 0; y < height; ++y) {
    char* row = out.data() + headers.size() +
                static_cast<std::size_t>(height - 1 - y) * layout->row_size;
    const std::uint32_t* from = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<char>(from[x] & 0xFF);
      row[3 * x + 1] = static_cast<char>((from[x] >> 8) & 0xFF);
      row[3 * x + 2] = static_cast<char>((from[x] >> 16) & 0xFF);
    }
  }
  return out;
}

}  // namespace

cairo_status_t append_to_string(void* closure, const unsigned char* data, unsigned int length) {
  try {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
  } catch (...) {
    return CAIRO_STATUS_WRITE_ERROR;
  }
}

std::string encode_pixels(const std::uint32_t* pixels, int width, int height, PictureFormat format) {
  return format == PictureFormat::bmp ? encode_bmp(pixels, width, height)
                                      : encode_png(pixels, width, height);
}

}  // namespace kestra::vector
