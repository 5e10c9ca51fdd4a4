// Row size of device-independent bitmaps, shared by the platform layer, the
// renderers and the BMP writer. Free of platform calls: builds everywhere.
#pragma once

#include <cstddef>

namespace kestra::platform {

// Bytes in one DIB row: width x bits per pixel, padded to a multiple of 4.
constexpr std::size_t dib_row_bytes(std::size_t width, std::size_t bits) {
  return (width * bits + 31) / 32 * 4;
}

}  // namespace kestra::platform
