// What the surface and file tests of both renderers check: a surface filled
// with one colour, the block a surface form copies, and the picture a file
// form saves.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "output/bmp_builder.h"
#include "support/bmp_reader.h"
#include "support/canvas.h"
#include "support/memory_surface.h"
#include "support/temp_dir.h"

namespace kestra::test {

constexpr COLORREF kSurfaceColor = RGB(12, 34, 56);

// A memory surface filled with kSurfaceColor, deleted at the end of the scope.
class FilledSurface {
 public:
  FilledSurface(int width, int height)
      : surface_(CreateMemorySurface(width, height)), width_(width), height_(height) {
    HDC dc = nullptr;
    if (!surface_ || surface_->GetDC(&dc) != S_OK) return;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) SetPixel(dc, x, y, kSurfaceColor);
    surface_->ReleaseDC(dc);
  }
  ~FilledSurface() { DeleteMemorySurface(surface_); }
  FilledSurface(const FilledSurface&) = delete;
  FilledSurface& operator=(const FilledSurface&) = delete;

  IDirectDrawSurface* get() const { return surface_; }
  int width() const { return width_; }
  int height() const { return height_; }
  std::vector<COLORREF> pixels() const {
    return read_pixels(MemorySurfaceBitmap(surface_), width_, height_);
  }
  bool untouched() const {
    for (COLORREF pixel : pixels())
      if (pixel != kSurfaceColor) return false;
    return true;
  }

 private:
  IDirectDrawSurface* surface_;
  int width_, height_;
};

// A picture's pixels, top-down rows.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> colors;

  COLORREF at(int x, int y) const { return colors[static_cast<std::size_t>(y) * width + x]; }
};

// Reads and deletes a picture a bitmap form returned.
inline Pixels take_pixels(HBITMAP bitmap, int width, int height) {
  Pixels pixels{width, height, read_pixels(bitmap, width, height)};
  DeleteObject(bitmap);
  return pixels;
}

// The surface holds the picture's top-left block_width x block_height block
// at its own top-left corner and its fill colour everywhere else.
inline void expect_block_on_surface(const FilledSurface& surface, const Pixels& picture,
                                    int block_width, int block_height) {
  const auto pixels = surface.pixels();
  int drawn = 0;
  for (int y = 0; y < surface.height(); ++y) {
    for (int x = 0; x < surface.width(); ++x) {
      const bool in_block = x < block_width && y < block_height;
      const COLORREF expected = in_block ? picture.at(x, y) : kSurfaceColor;
      ASSERT_EQ(pixels[static_cast<std::size_t>(y * surface.width() + x)], expected)
          << x << "," << y;
      drawn += in_block && expected != picture.at(0, 0);
    }
  }
  EXPECT_GT(drawn, 100);  // the block holds a drawing, not only background
}

// The BMP file under `path` holds exactly `picture`.
inline void expect_file_holds(const std::string& path, const Pixels& picture) {
  const auto saved = read_bmp(path);
  ASSERT_TRUE(saved);
  ASSERT_EQ(saved->width, picture.width);
  ASSERT_EQ(saved->height, picture.height);
  EXPECT_EQ(saved->pixels, picture.colors);
}

// A picture no renderer's colour can be mistaken for.
inline COLORREF stored_color(int x, int y) { return RGB(x % 256, y % 256, 77); }

inline std::vector<std::uint8_t> stored_picture(int width, int height) {
  return build_bmp({.width = width, .height = height},
                   [](int x, int y) { return stored_color(x, y); });
}

// A bitmap holding the pixels of a 24-bit BMP file made by build_bmp.
inline HBITMAP bitmap_of(const std::vector<std::uint8_t>& bmp, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader = {40, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(GetForegroundWindow());
  HBITMAP bitmap =
      CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, bmp.data() + 54, &info, DIB_RGB_COLORS);
  ReleaseDC(GetForegroundWindow(), screen);
  return bitmap;
}

// Pixels where the drawn picture kept the stored one, and where it did not.
inline std::pair<int, int> kept_and_drawn(const Pixels& picture) {
  int kept = 0;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) kept += picture.at(x, y) == stored_color(x, y);
  return {kept, picture.width * picture.height - kept};
}

// Entries of the directory and bytes of the target before and after a call
// that must leave both alone.
inline void expect_untouched(const TempDir& dir, const std::string& path,
                             const std::vector<std::string>& entries,
                             const std::vector<std::uint8_t>& bytes) {
  EXPECT_EQ(dir.entries(), entries);
  EXPECT_EQ(read_file_bytes(path), bytes);
}

// A file form called with a path under which `stored` lies, and the status
// it must return without changing the file or adding any.
struct FileRefusal {
  int line;
  std::vector<std::uint8_t> stored;
  std::function<int(char* path)> call;
  int expected;
};

inline void expect_file_refusals(const std::vector<FileRefusal>& cases) {
  for (const FileRefusal& c : cases) {
    SCOPED_TRACE(c.line);
    TempDir dir;
    const std::string path = dir.file("p.bmp");
    write_file_bytes(path, c.stored);
    NoLeakedObjects no_leaks;
    EXPECT_EQ(c.call(const_cast<char*>(path.c_str())), c.expected);
    expect_untouched(dir, path, {"p.bmp"}, c.stored);
  }
}

}  // namespace kestra::test
