// The output targets' contract: the bitmap form of a renderer as the surface
// and file forms see it, the BMP encoder, the writer and the file it writes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>

#include "kestra.h"

namespace kestra::output {

// A bitmap form bound to its records: draws into *bitmap in `mode`
// (KESTRA_DRAW_NEW or KESTRA_DRAW_OVER over *bitmap) and returns its status.
using Renderer = std::function<int(HBITMAP* bitmap, unsigned long mode)>;

// Renders a new picture and copies the block of `plot`'s size from the
// picture's top-left corner to the surface's. The caller has checked the mode.
[[nodiscard]] int copy_to_surface(const Renderer& render, const RECT& plot,
                                  IDirectDrawSurface* surface);

// Renders in `mode`, the low bits of bitmapMode (KESTRA_DRAW_OVER over the
// BMP picture stored under `path`, which must be of `picture`'s size), and
// saves the result under `path`.
[[nodiscard]] int save_to_file(const Renderer& render, const RECT& picture, const char* path,
                               unsigned long mode);

// Sizes of an uncompressed 24-bit bottom-up BMP file.
struct BmpLayout {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t row_size = 0;    // width x 3 bytes, raised to a multiple of 4
  std::uint32_t image_size = 0;  // row_size x height
  std::uint32_t file_size = 0;   // headers + image
};

constexpr std::uint32_t bmp_headers_size = 14 + 40;

// The layout of a width x height picture; nothing when a side is not
// positive or the file would not fit its 32-bit size field.
[[nodiscard]] std::optional<BmpLayout> bmp_layout(std::int64_t width, std::int64_t height);

// The file header and information header that precede the pixel rows.
[[nodiscard]] std::array<std::uint8_t, bmp_headers_size> bmp_headers(const BmpLayout& layout);

// The description GetDIBits converts the picture's rows to.
[[nodiscard]] BITMAPINFO bmp_description(const BmpLayout& layout);

// Saves `bitmap` as a 24-bit BMP file of `layout` under `path`, reading its
// rows through `reference`. KESTRA_FILE_WRITE when any step fails; the file
// under `path` is then left as it was.
[[nodiscard]] int write_bitmap_file(const char* path, const BmpLayout& layout, HBITMAP bitmap,
                                    HDC reference);

// A file written under a temporary name beside its target and renamed over
// the target only once complete and flushed to disk: the target holds the
// old file or the new one, never part of one. A target that is a symbolic
// link is written through to the file it names; a replaced file keeps its
// permission bits. Uncommitted, the temporary file is removed.
class ReplacingFile {
 public:
  explicit ReplacingFile(const std::filesystem::path& target);
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool is_open() const { return descriptor_ >= 0; }
  [[nodiscard]] bool write(const void* data, std::size_t size);
  // Closes the file and renames it over the target.
  [[nodiscard]] bool commit();

 private:
  void discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int descriptor_ = -1;
  std::int64_t written_ = 0;          // bytes written so far
  std::int64_t writeback_start_ = 0;  // the first byte not yet sent to the disk
};

}  // namespace kestra::output
