// LoadImageA for BMP files: the picture at its own size as a bitmap in the
// screen's format.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <vector>

#include "platform/bmp_decode.h"

namespace kestra::platform {
namespace {

// Largest file read: a 32-bit picture at the pixel limit plus its headers.
constexpr std::uintmax_t max_file_size = static_cast<std::uintmax_t>(max_bitmap_pixels) * 4 + 4096;

// Only regular files: opening a pipe or a device may wait or never end.
std::vector<std::uint8_t> read_file(const char* path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return {};
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return {};
  const std::streamoff size = file.tellg();
  if (size <= 0 || static_cast<std::uintmax_t>(size) > max_file_size) return {};
  std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
  file.seekg(0);
  if (!file.read(reinterpret_cast<char*>(data.data()), size)) return {};
  return data;
}

HBITMAP load_bitmap(const char* path, int cx, int cy) {
  const std::vector<std::uint8_t> data = read_file(path);
  const auto format = read_bmp_format(data);
  // The picture is loaded at its own size only; nothing is stretched.
  if (!format || (cx != 0 && cx != format->width) || (cy != 0 && cy != format->height)) {
    return nullptr;
  }
  auto bitmap = std::make_shared<Bitmap>(format->width, format->height);
  decode_bmp_pixels(data, *format, bitmap->pixels.get());
  return static_cast<HBITMAP>(ObjectTable::instance().add(std::move(bitmap)));
}

}  // namespace
}  // namespace kestra::platform

HANDLE LoadImageA(HINSTANCE, LPCSTR name, UINT type, int cx, int cy, UINT load) {
  if (!name || type != IMAGE_BITMAP || !(load & LR_LOADFROMFILE)) return nullptr;
  try {
    return kestra::platform::load_bitmap(name, cx, cy);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
