#include "png_file.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace kestra::cli {
namespace {

struct Rgb {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rows;  // top-down, 3 bytes a pixel, no padding
};

// Reads the bitmap as top-down 24-bit rows and turns BGR into RGB.
bool read_rgb(HBITMAP bitmap, Rgb& out) {
  BITMAP info{};
  if (!GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) {
    return false;
  }
  out.width = info.bmWidth;
  out.height = info.bmHeight;
  const std::size_t stride = (static_cast<std::size_t>(out.width) * 3 + 3) & ~std::size_t{3};
  std::vector<unsigned char> dib(stride * static_cast<std::size_t>(out.height));
  BITMAPINFO header{};
  header.bmiHeader = {sizeof(BITMAPINFOHEADER), out.width, -out.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  const int lines = GetDIBits(dc, bitmap, 0, static_cast<UINT>(out.height), dib.data(), &header,
                              DIB_RGB_COLORS);
  DeleteDC(dc);
  if (lines != out.height) return false;

  out.rows.resize(static_cast<std::size_t>(out.width) * 3 * static_cast<std::size_t>(out.height));
  unsigned char* to = out.rows.data();
  for (int y = 0; y < out.height; ++y) {
    const unsigned char* from = dib.data() + stride * static_cast<std::size_t>(y);
    for (int x = 0; x < out.width; ++x, from += 3, to += 3) {
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
    }
  }
  return true;
}

bool encode(const Rgb& picture, std::FILE* file) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
               static_cast<png_uint_32>(picture.height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const std::size_t row_bytes = static_cast<std::size_t>(picture.width) * 3;
  for (int y = 0; y < picture.height; ++y) {
    png_write_row(png, picture.rows.data() + row_bytes * static_cast<std::size_t>(y));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool write_png(HBITMAP bitmap, const std::string& path) {
  Rgb picture;
  if (!read_rgb(bitmap, picture)) return false;
  const std::string temporary = path + ".part";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return false;
  const bool encoded = encode(picture, file);
  const bool closed = std::fclose(file) == 0;
  if (encoded && closed && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  std::remove(temporary.c_str());
  return false;
}

}  // namespace kestra::cli
