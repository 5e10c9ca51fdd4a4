// Runs the kestra program in-process and reads the pictures it writes.
#pragma once

#include <png.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app.h"
#include "support/bmp_file.h"

namespace kestra::test {

struct CliRun {
  int exit_code;
  std::string out;
  std::string err;
};

inline CliRun run_kestra(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int code = cli::run(args, out, err);
  return {code, out.str(), err.str()};
}

inline void write_text(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A PNG file's pixels as COLORREFs, top-down, like read_bmp.
inline std::optional<BmpImage> read_png(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
  image.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return std::nullopt;
  BmpImage result;
  result.width = static_cast<int>(image.width);
  result.height = static_cast<int>(image.height);
  for (std::size_t at = 0; at + 2 < rgb.size(); at += 3) {
    result.pixels.push_back(RGB(rgb[at], rgb[at + 1], rgb[at + 2]));
  }
  return result;
}

// How many pixels of the colour lie in columns [x0, x1] and rows [y0, y1].
inline int count_in(const BmpImage& image, COLORREF color, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) n += image.at(x, y) == color;
  }
  return n;
}

}  // namespace kestra::test
