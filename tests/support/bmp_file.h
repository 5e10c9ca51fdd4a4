// The BMP files tests read and write: a reader for the fixtures pictures are
// compared against (uncompressed 4- or 8-bit palette or 24-bit images), and
// a writer of every layout the loader reads, from a picture given as a
// function of the pixel position.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "kestra.h"
#include "platform/dib_rows.h"

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
  const std::size_t stride = platform::dib_row_bytes(static_cast<std::size_t>(width), bits);
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

struct BmpShape {
  int width = 1;
  int height = 1;
  int bits = 24;                    // 1, 4, 8, 16, 24 or 32
  bool top_down = false;
  std::uint32_t header_size = 40;   // 12 (OS/2 core), 40, 108 or 124
  bool bitfields = false;           // BI_BITFIELDS with `masks` (16 and 32 bits)
  std::uint32_t masks[3] = {0xFF0000, 0x00FF00, 0x0000FF};
  std::vector<COLORREF> palette = {};  // 1 to 8 bits: the colour table, as many entries as given
};

// `value` gives a palette index (1 to 8 bits) or a colour (16 to 32 bits).
inline std::vector<std::uint8_t> build_bmp(const BmpShape& shape,
                                           const std::function<std::uint32_t(int, int)>& value) {
  std::vector<std::uint8_t> out;
  const auto put = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  const bool core = shape.header_size == 12;
  const bool masks_after_header = shape.bitfields && shape.header_size == 40;
  const std::size_t entry = core ? 3 : 4;
  const std::size_t stride =
      platform::dib_row_bytes(static_cast<std::size_t>(shape.width), static_cast<std::size_t>(shape.bits));
  const std::size_t offset =
      14 + shape.header_size + (masks_after_header ? 12 : 0) + entry * shape.palette.size();

  out.push_back('B');
  out.push_back('M');
  put(static_cast<std::uint32_t>(offset + stride * shape.height), 4);
  put(0, 4);
  put(static_cast<std::uint32_t>(offset), 4);
  put(shape.header_size, 4);
  if (core) {
    put(static_cast<std::uint32_t>(shape.width), 2);
    put(static_cast<std::uint32_t>(shape.height), 2);
    put(1, 2);
    put(static_cast<std::uint32_t>(shape.bits), 2);
  } else {
    put(static_cast<std::uint32_t>(shape.width), 4);
    put(static_cast<std::uint32_t>(shape.top_down ? -shape.height : shape.height), 4);
    put(1, 2);
    put(static_cast<std::uint32_t>(shape.bits), 2);
    put(shape.bitfields ? 3 : 0, 4);
    put(static_cast<std::uint32_t>(stride * shape.height), 4);
    put(0, 4);  // resolution
    put(0, 4);
    put(static_cast<std::uint32_t>(shape.palette.size()), 4);
    put(0, 4);
    for (std::uint32_t mask : shape.masks) {
      if (shape.bitfields) put(mask, 4);
    }
    out.resize(14 + shape.header_size + (masks_after_header ? 12 : 0));
  }
  for (COLORREF color : shape.palette) {
    put(GetBValue(color), 1);
    put(GetGValue(color), 1);
    put(GetRValue(color), 1);
    if (!core) put(0, 1);
  }

  const auto pack = [&](COLORREF color) {  // a colour in the channel masks
    std::uint32_t packed = 0;
    const std::uint32_t channels[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
    for (int i = 0; i < 3; ++i) {
      const int shift = std::countr_zero(shape.masks[i]);
      const int width = std::bit_width(shape.masks[i] >> shift);
      packed |= (channels[i] >> (8 - width)) << shift;
    }
    return packed;
  };
  for (int stored = 0; stored < shape.height; ++stored) {
    const int y = shape.top_down ? stored : shape.height - 1 - stored;
    std::vector<std::uint8_t> row(stride, 0);
    for (int x = 0; x < shape.width; ++x) {
      const std::uint32_t v = value(x, y);
      if (shape.bits <= 8) {
        const int per_byte = 8 / shape.bits;
        const int shift = (per_byte - 1 - x % per_byte) * shape.bits;
        row[static_cast<std::size_t>(x / per_byte)] |= static_cast<std::uint8_t>(v << shift);
      } else if (shape.bits == 24) {
        std::uint8_t* p = &row[static_cast<std::size_t>(x) * 3];
        p[0] = GetBValue(v);
        p[1] = GetGValue(v);
        p[2] = GetRValue(v);
      } else {
        const std::uint32_t packed = pack(v);
        for (int i = 0; i < shape.bits / 8; ++i) {
          row[static_cast<std::size_t>(x * shape.bits / 8 + i)] =
              static_cast<std::uint8_t>(packed >> (8 * i));
        }
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

// Where the pixel rows of a 24-bit file with a 40-byte header begin.
inline constexpr std::size_t bmp24_pixel_offset = 14 + 40;

// A 24-bit bottom-up BMP file of top-down pixels.
inline std::vector<std::uint8_t> encode_bmp24(const std::vector<COLORREF>& pixels, int width,
                                              int height) {
  return build_bmp({.width = width, .height = height}, [&](int x, int y) {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  });
}

}  // namespace kestra::test
