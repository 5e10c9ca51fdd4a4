// BMP files built byte by byte, in every layout the loader reads, from a
// picture given as a function of the pixel position.
#pragma once

#include <bit>
#include <cstdint>
#include <functional>
#include <vector>

#include "kestra.h"

namespace kestra::test {

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
  const std::size_t stride = (static_cast<std::size_t>(shape.width) * shape.bits + 31) / 32 * 4;
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

}  // namespace kestra::test
