// The bytes of a 24-bit BMP file that depend only on the picture's size.
#include <cstring>
#include <limits>

#include "output/output.h"
#include "platform/platform.h"

namespace kestra::output {
namespace {

constexpr std::uint32_t info_header_size = 40;

class LittleEndian {
 public:
  explicit LittleEndian(std::uint8_t* out) : out_(out) {}
  LittleEndian& u16(std::uint32_t value) { return put(value, 2); }
  LittleEndian& u32(std::uint32_t value) { return put(value, 4); }

 private:
  LittleEndian& put(std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) *out_++ = static_cast<std::uint8_t>(value >> (8 * i));
    return *this;
  }
  std::uint8_t* out_;
};

}  // namespace

std::optional<BmpLayout> bmp_layout(std::int64_t width, std::int64_t height) {
  constexpr std::int64_t max_side = std::numeric_limits<std::int32_t>::max();
  if (width <= 0 || height <= 0 || width > max_side || height > max_side) return std::nullopt;
  const auto row_size = static_cast<std::int64_t>(
      platform::dib_row_bytes(static_cast<std::size_t>(width), 24));
  const std::int64_t image_size = row_size * height;
  if (image_size > std::numeric_limits<std::uint32_t>::max() - bmp_headers_size) {
    return std::nullopt;
  }
  BmpLayout layout;
  layout.width = static_cast<std::int32_t>(width);
  layout.height = static_cast<std::int32_t>(height);
  layout.row_size = static_cast<std::uint32_t>(row_size);
  layout.image_size = static_cast<std::uint32_t>(image_size);
  layout.file_size = bmp_headers_size + layout.image_size;
  return layout;
}

std::array<std::uint8_t, bmp_headers_size> bmp_headers(const BmpLayout& layout) {
  std::array<std::uint8_t, bmp_headers_size> bytes{};
  const BITMAPINFOHEADER info = bmp_description(layout).bmiHeader;
  // file header: signature, file size, two reserved words, pixel data offset
  bytes[0] = 'B';
  bytes[1] = 'M';
  LittleEndian(bytes.data() + 2).u32(layout.file_size).u16(0).u16(0).u32(bmp_headers_size);
  // information header, followed by no colour table
  LittleEndian(bytes.data() + 14)
      .u32(info.biSize)
      .u32(static_cast<std::uint32_t>(info.biWidth))
      .u32(static_cast<std::uint32_t>(info.biHeight))  // positive: rows stored bottom-up
      .u16(info.biPlanes)
      .u16(info.biBitCount)
      .u32(info.biCompression)
      .u32(info.biSizeImage)
      .u32(static_cast<std::uint32_t>(info.biXPelsPerMeter))
      .u32(static_cast<std::uint32_t>(info.biYPelsPerMeter))
      .u32(info.biClrUsed)
      .u32(info.biClrImportant);
  return bytes;
}

BITMAPINFO bmp_description(const BmpLayout& layout) {
  BITMAPINFO info;
  std::memset(&info, 0, sizeof info);
  info.bmiHeader.biSize = info_header_size;
  info.bmiHeader.biWidth = layout.width;
  info.bmiHeader.biHeight = layout.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = layout.image_size;
  return info;
}

}  // namespace kestra::output
