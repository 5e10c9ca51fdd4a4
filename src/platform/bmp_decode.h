// Decoding BMP files into the screen format: uncompressed 1-, 4- and 8-bit
// palette pictures, 16- and 32-bit pictures with or without channel masks,
// and 24-bit pictures, stored bottom-up or top-down.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/gdi_objects.h"

namespace kestra::platform {

struct BmpFormat {
  int width = 0;
  int height = 0;
  bool top_down = false;
  int bits = 0;                   // 1, 4, 8, 16, 24 or 32
  std::uint32_t masks[3] = {};    // red, green, blue for 16 and 32 bits
  std::size_t palette = 0;        // offset of the colour table
  std::size_t palette_entry = 4;  // bytes per table entry (3 in OS/2 core files)
  std::size_t colors = 0;         // table entries
  std::size_t pixels = 0;         // offset of the first stored row
  std::size_t stride = 0;         // bytes per stored row
};

// The format of the BMP file in `data`, or nothing when it is not one the
// decoder reads, exceeds the bitmap size limits, or its rows or colour table
// lie beyond the data.
std::optional<BmpFormat> read_bmp_format(std::span<const std::uint8_t> data);

// Decodes the rows of `data` (whose format is `format`) into `out`, top row
// first, width x height pixels. Palette indexes beyond the table give black.
void decode_bmp_pixels(std::span<const std::uint8_t> data, const BmpFormat& format, Pixel* out);

}  // namespace kestra::platform
