// A small reader for the BMP fixtures tests compare against: uncompressed
// 4- or 8-bit palette or 24-bit images with a 40-byte (or longer) info header.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "kestra.h"

namespace kestra::test {

struct BmpImage {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;  // top-down rows

  COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The image in `path`, or nothing when the file is missing or not a BMP of
// a supported kind.
inline std::optional<BmpImage> read_bmp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<unsigned char> data((std::istreambuf_iterator<char>(file)),
                                        std::istreambuf_iterator<char>());
  const auto u16 = [&](std::size_t at) { return std::uint32_t{data[at]} | std::uint32_t{data[at + 1]} << 8; };
  const auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  if (data.size() < 54 || data[0] != 'B' || data[1] != 'M') return std::nullopt;
  const std::uint32_t offset = u32(10);
  const std::uint32_t header = u32(14);
  const auto width = static_cast<std::int32_t>(u32(18));
  const auto stored_height = static_cast<std::int32_t>(u32(22));
  const std::uint32_t bits = u16(28);
  const std::uint32_t colors = u32(46);
  if (u32(30) != 0 || (bits != 4 && bits != 8 && bits != 24) || width <= 0 || width > 65536 ||
      stored_height == 0 || std::abs(stored_height) > 65536) {
    return std::nullopt;
  }
  BmpImage image;
  image.width = width;
  image.height = std::abs(stored_height);
  const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  const std::size_t palette = 14 + std::size_t{header};
  const std::size_t palette_size = bits == 24 ? 0 : colors ? colors : std::size_t{1} << bits;
  if (palette + 4 * palette_size > data.size() ||
      std::size_t{offset} + stride * image.height > data.size()) {
    return std::nullopt;
  }
  const auto colorref_at = [&](std::size_t at) {  // blue, green, red bytes
    return static_cast<COLORREF>(RGB(data[at + 2], data[at + 1], data[at]));
  };
  image.pixels.reserve(static_cast<std::size_t>(width) * image.height);
  for (int y = 0; y < image.height; ++y) {
    const std::size_t row = offset + stride * static_cast<std::size_t>(
                                              stored_height > 0 ? image.height - 1 - y : y);
    for (int x = 0; x < width; ++x) {
      if (bits == 24) {
        image.pixels.push_back(colorref_at(row + 3 * static_cast<std::size_t>(x)));
      } else {
        const unsigned char byte = data[row + static_cast<std::size_t>(x) * bits / 8];
        const std::size_t index = bits == 8 ? byte : x % 2 == 0 ? byte >> 4 : byte & 0x0F;
        if (index >= palette_size) return std::nullopt;
        image.pixels.push_back(colorref_at(palette + 4 * index));
      }
    }
  }
  return image;
}

}  // namespace kestra::test
