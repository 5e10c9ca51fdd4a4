// BMP decoding: header validation first, so the pixel loops read only bytes
// that the validated offsets and sizes guarantee.
#include "platform/bmp_decode.h"

#include <bit>
#include <cstdlib>
#include <limits>

#include "platform/dib_rows.h"

namespace kestra::platform {
namespace {

constexpr std::size_t file_header_size = 14;
constexpr std::uint32_t core_header_size = 12;  // OS/2 BITMAPCOREHEADER
constexpr std::uint32_t info_header_size = 40;
constexpr std::uint32_t bitfields = 3;  // BI_BITFIELDS

std::uint32_t u16_at(std::span<const std::uint8_t> data, std::size_t at) {
  return std::uint32_t{data[at]} | std::uint32_t{data[at + 1]} << 8;
}
std::uint32_t u32_at(std::span<const std::uint8_t> data, std::size_t at) {
  return u16_at(data, at) | u16_at(data, at + 2) << 16;
}

bool known_header_size(std::uint32_t size) {
  return size == core_header_size || size == info_header_size || size == 52 || size == 56 ||
         size == 108 || size == 124;
}

bool palette_bits(int bits) { return bits == 1 || bits == 4 || bits == 8; }

// Channel masks of BI_RGB pictures: 5-5-5 at 16 bits, 8-8-8 at 32.
void set_default_masks(BmpFormat& format) {
  if (format.bits == 16) {
    format.masks[0] = 0x7C00;
    format.masks[1] = 0x03E0;
    format.masks[2] = 0x001F;
  } else {
    format.masks[0] = 0xFF0000;
    format.masks[1] = 0x00FF00;
    format.masks[2] = 0x0000FF;
  }
}

// Reads width, height, bit count, compression and masks; false when the
// header describes nothing the decoder reads.
bool read_info_header(std::span<const std::uint8_t> data, std::uint32_t header_size,
                      BmpFormat& format) {
  const std::size_t at = file_header_size + 4;
  if (header_size == core_header_size) {
    format.width = static_cast<int>(u16_at(data, at));
    format.height = static_cast<int>(u16_at(data, at + 2));
    format.bits = static_cast<int>(u16_at(data, at + 6));
    format.palette_entry = 3;
    if (palette_bits(format.bits)) format.colors = std::size_t{1} << format.bits;
    return u16_at(data, at + 4) == 1 && (palette_bits(format.bits) || format.bits == 24);
  }
  const auto width = static_cast<std::int32_t>(u32_at(data, at));
  const auto height = static_cast<std::int32_t>(u32_at(data, at + 4));
  const std::uint32_t compression = u32_at(data, at + 12);
  format.bits = static_cast<int>(u16_at(data, at + 10));
  if (u16_at(data, at + 8) != 1 || height == std::numeric_limits<std::int32_t>::min()) {
    return false;
  }
  format.width = width;
  format.height = std::abs(height);
  format.top_down = height < 0;
  const bool masked = format.bits == 16 || format.bits == 32;
  if (compression == BI_RGB) {
    if (!palette_bits(format.bits) && !masked && format.bits != 24) return false;
    if (masked) set_default_masks(format);
  } else if (compression == bitfields && masked) {
    // Masks follow a 40-byte header, or are its first fields when longer.
    const std::size_t masks_at = file_header_size + info_header_size;
    if (data.size() < masks_at + 12) return false;
    for (int i = 0; i < 3; ++i) format.masks[i] = u32_at(data, masks_at + 4 * std::size_t(i));
    format.palette += header_size == info_header_size ? 12 : 0;
  } else {
    return false;
  }
  if (palette_bits(format.bits)) {
    const std::uint32_t used = u32_at(data, at + 28);
    const std::size_t full = std::size_t{1} << format.bits;
    format.colors = used == 0 || used > full ? full : used;
  }
  return true;
}

bool within_limits(const BmpFormat& format) {
  return format.width > 0 && format.height > 0 && format.width <= max_bitmap_side &&
         format.height <= max_bitmap_side &&
         std::int64_t{format.width} * format.height <= max_bitmap_pixels;
}

// An n-bit channel value widened to 8 bits by repeating its bits.
std::uint32_t widen_channel(std::uint32_t value, int bits) {
  if (bits >= 8) return value >> (bits - 8);
  std::uint32_t out = 0;
  int filled = 0;
  while (filled < 8) {
    out = out << bits | value;
    filled += bits;
  }
  return out >> (filled - 8);
}

}  // namespace

std::optional<BmpFormat> read_bmp_format(std::span<const std::uint8_t> head,
                                         std::uint64_t file_size) {
  if (head.size() < file_header_size + 4 || head[0] != 'B' || head[1] != 'M') return std::nullopt;
  const std::uint32_t header_size = u32_at(head, file_header_size);
  if (!known_header_size(header_size) || head.size() < file_header_size + header_size) {
    return std::nullopt;
  }
  BmpFormat format;
  format.palette = file_header_size + header_size;
  if (!read_info_header(head, header_size, format) || !within_limits(format)) return std::nullopt;

  format.pixels = u32_at(head, 10);
  format.stride = dib_row_bytes(static_cast<std::size_t>(format.width),
                                static_cast<std::size_t>(format.bits));
  if (format.palette + format.colors * format.palette_entry > head.size() ||
      format.pixels > file_size ||
      format.stride * static_cast<std::uint64_t>(format.height) > file_size - format.pixels) {
    return std::nullopt;
  }
  return format;
}

BmpChannel::BmpChannel(std::uint32_t mask)
    : shift(mask ? std::countr_zero(mask) : 0), bits(mask ? std::bit_width(mask >> shift) : 0),
      mask(mask) {}

std::uint32_t BmpChannel::of(std::uint32_t value) const {
  return bits ? widen_channel((value & mask) >> shift, bits) : 0;
}

namespace {

void decode_palette_row(const std::uint8_t* row, const BmpFormat& format, const Pixel* palette,
                        Pixel* out) {
  const int per_byte = 8 / format.bits;
  const std::uint32_t index_mask = (1u << format.bits) - 1;
  for (int x = 0; x < format.width; ++x) {
    const int slot = x % per_byte;  // the leftmost pixel sits in the high bits
    const std::uint32_t index =
        row[x / per_byte] >> ((per_byte - 1 - slot) * format.bits) & index_mask;
    out[x] = index < format.colors ? palette[index] : 0;
  }
}

void decode_rgb_row(const std::uint8_t* row, int width, Pixel* out) {
  for (int x = 0; x < width; ++x, row += 3) {
    out[x] = Pixel{row[2]} << 16 | Pixel{row[1]} << 8 | row[0];
  }
}

void decode_masked_row(const std::uint8_t* row, const BmpFormat& format,
                       const BmpChannel* channels, Pixel* out) {
  const int bytes = format.bits / 8;
  for (int x = 0; x < format.width; ++x, row += bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | row[i];
    out[x] = channels[0].of(value) << 16 | channels[1].of(value) << 8 | channels[2].of(value);
  }
}

}  // namespace

BmpRowDecoder::BmpRowDecoder(std::span<const std::uint8_t> head, const BmpFormat& format)
    : format_(format),
      channels_{BmpChannel(format.masks[0]), BmpChannel(format.masks[1]),
                BmpChannel(format.masks[2])} {
  for (std::size_t i = 0; i < format.colors; ++i) {
    const std::uint8_t* entry = head.data() + format.palette + i * format.palette_entry;
    palette_[i] = Pixel{entry[2]} << 16 | Pixel{entry[1]} << 8 | entry[0];
  }
}

void BmpRowDecoder::decode_rows(const std::uint8_t* rows, int first, int count,
                                Pixel* picture) const {
  for (int stored = first; stored < first + count; ++stored, rows += format_.stride) {
    const int y = format_.top_down ? stored : format_.height - 1 - stored;
    decode_row(rows, picture + static_cast<std::size_t>(y) * format_.width);
  }
}

void BmpRowDecoder::decode_row(const std::uint8_t* row, Pixel* out) const {
  if (palette_bits(format_.bits)) {
    decode_palette_row(row, format_, palette_, out);
  } else if (format_.bits == 24) {
    decode_rgb_row(row, format_.width, out);
  } else {
    decode_masked_row(row, format_, channels_, out);
  }
}

}  // namespace kestra::platform
