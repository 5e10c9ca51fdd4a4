// The BMP decoder over arbitrary bytes: a file it accepts must decode
// without reading outside the data, and into pixels of the screen format.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/bmp_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const auto format = kestra::platform::read_bmp_format(bytes, size);
  if (!format) return 0;
  if (format->width <= 0 || format->height <= 0 ||
      format->pixels + format->stride * static_cast<std::size_t>(format->height) > size) {
    std::abort();
  }
  std::vector<kestra::platform::Pixel> pixels(static_cast<std::size_t>(format->width) *
                                              static_cast<std::size_t>(format->height));
  const kestra::platform::BmpRowDecoder decoder(bytes, *format);
  decoder.decode_rows(data + format->pixels, 0, format->height, pixels.data());
  for (const kestra::platform::Pixel pixel : pixels) {
    if (pixel > 0xFFFFFF) std::abort();  // nothing in the unused top byte
  }
  return 0;
}
