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

// Bytes at the start of a BMP file that hold everything before its rows
// that the decoder reads: headers, channel masks and the largest colour table.
constexpr std::size_t bmp_head_size = 14 + 124 + 256 * 4;

// The format of a BMP file of `file_size` bytes whose first bytes are `head`
// (at least min(file_size, bmp_head_size) of them), or nothing when it is not
// one the decoder reads, exceeds the bitmap size limits, or its rows or
// colour table lie beyond the file.
std::optional<BmpFormat> read_bmp_format(std::span<const std::uint8_t> head,
                                         std::uint64_t file_size);

// One colour channel of a masked (16- or 32-bit) picture.
struct BmpChannel {
  explicit BmpChannel(std::uint32_t mask);
  std::uint32_t of(std::uint32_t value) const;  // the channel widened to 8 bits
  int shift;
  int bits;
  std::uint32_t mask;
};

// Turns stored rows into rows of the screen format, in any number of calls,
// so a file can be decoded band by band as it is read.
class BmpRowDecoder {
 public:
  // `head` is the one `format` was read from; the format is kept, the head not.
  BmpRowDecoder(std::span<const std::uint8_t> head, const BmpFormat& format);

  // Decodes `count` consecutive stored rows from `rows`, the first of them
  // the file's row number `first`, into `picture` (width x height pixels,
  // top row first). Palette indexes beyond the table give black.
  void decode_rows(const std::uint8_t* rows, int first, int count, Pixel* picture) const;

 private:
  void decode_row(const std::uint8_t* row, Pixel* out) const;

  BmpFormat format_;
  Pixel palette_[256] = {};
  BmpChannel channels_[3];  // red, green, blue
};

}  // namespace kestra::platform
