// A plot on a 300 x 200 picture whose plot area is (2, 2, 298, 198) with
// both scales from -10 to 10: the origin is at column 150, row 100.
#pragma once

#include <algorithm>
#include <vector>

#include "kestra.h"
#include "support/canvas.h"

namespace kestra::test {

constexpr COLORREF kBack = RGB(255, 255, 255);
constexpr COLORREF kGraph = RGB(200, 0, 0);
constexpr COLORREF kFrame = RGB(0, 0, 255);
constexpr COLORREF kAxis = RGB(0, 128, 0);
constexpr COLORREF kText = RGB(10, 20, 30);

constexpr unsigned long kAxes = 0x04 | 0x08;

inline OPTION_RECT plot_options(unsigned long flags, double from = -10, double to = 10) {
  return ReturnOptionRect({0, 0, 300, 200}, kBack, kGraph, kFrame, kAxis, -10, -10, 10, 10, from,
                          to, kText, 12, const_cast<char*>(""), const_cast<char*>(""), flags);
}

// A picture drawn in mode 1 (or over `bitmap` in mode 2) and read back.
struct Plot {
  Plot(const char* expression, const OPTION_RECT& options, unsigned long mode = 1,
       HBITMAP over = nullptr)
      : bitmap(over),
        status(CreateGraph(const_cast<char*>(expression), options, &bitmap, mode)),
        owned((mode & 7) == 1 && status == KESTRA_OK),
        width(options.rcPicture.right - options.rcPicture.left),
        height(options.rcPicture.bottom - options.rcPicture.top) {
    if (status == KESTRA_OK) pixels = read_pixels(bitmap, width, height);
  }
  ~Plot() {
    if (owned) DeleteObject(bitmap);
  }
  Plot(const Plot&) = delete;
  Plot& operator=(const Plot&) = delete;

  COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  long count(COLORREF color) const { return std::count(pixels.begin(), pixels.end(), color); }

  HBITMAP bitmap;
  int status;
  bool owned;
  int width, height;
  std::vector<COLORREF> pixels;
};

}  // namespace kestra::test
