// GDI's 8x8 hatch patterns. Pixel (x, y) is a hatch pixel when bit
// 7 - x mod 8 of row y mod 8 is set: the patterns are tied to the bitmap
// origin, not to the filled shape.
#pragma once

#include <array>
#include <cstdint>

#include "kestra_win32.h"

namespace kestra::platform {

using HatchRows = std::array<std::uint8_t, 8>;

inline constexpr std::array<HatchRows, 6> hatch_patterns = {{
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},  // HS_HORIZONTAL
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // HS_BDIAGONAL
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},  // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // HS_DIAGCROSS
}};

constexpr bool is_hatch_pixel(const HatchRows& rows, int x, int y) {
  return (rows[static_cast<std::size_t>(y & 7)] >> (7 - (x & 7))) & 1u;
}

}  // namespace kestra::platform
