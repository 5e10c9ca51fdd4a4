// Test helpers: a memory DC with a bitmap selected, pixel read-back, and a
// check that a piece of code leaves no GDI object behind.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kestra.h"
#include "support/live_objects.h"

namespace kestra::test {

// A black width x height bitmap selected into a memory DC.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(GetForegroundWindow());
    std::vector<unsigned char> zero(static_cast<size_t>((width * 3 + 3) / 4 * 4) * height);
    BITMAPINFO info{};
    info.bmiHeader = {40, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    bitmap_ = CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, zero.data(), &info,
                             DIB_RGB_COLORS);
    ReleaseDC(GetForegroundWindow(), screen);
    previous_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  int width() const { return width_; }
  int height() const { return height_; }
  COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }

  // One row as a string: '.' for `background`, '#' for any other colour.
  std::string row(int y, COLORREF background = 0) const {
    std::string s;
    for (int x = 0; x < width_; ++x) s += at(x, y) == background ? '.' : '#';
    return s;
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

// Pixels of any bitmap handle, top-down, as COLORREF values.
inline std::vector<COLORREF> read_pixels(HBITMAP bitmap, int width, int height) {
  std::vector<COLORREF> out;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) out.push_back(GetPixel(dc, x, y));
  SelectObject(dc, previous);
  DeleteDC(dc);
  return out;
}

// Fails the current test when GDI objects created since construction are
// still alive at the end of the scope.
class NoLeakedObjects {
 public:
  NoLeakedObjects() : before_(live_gdi_objects()) {}
  ~NoLeakedObjects() { EXPECT_EQ(live_gdi_objects(), before_) << "GDI objects leaked"; }

 private:
  std::size_t before_;
};

}  // namespace kestra::test
