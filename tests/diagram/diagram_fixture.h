// A diagram on a 300 x 200 picture whose plot area is (2, 2, 298, 198):
// X0 = 22, Y0 = 158, W = 276, H = 156.
#pragma once

#include <cstring>
#include <vector>

#include "kestra.h"
#include "support/canvas.h"

namespace kestra::test {

constexpr COLORREF kBack = RGB(255, 255, 255);
constexpr COLORREF kFrame = RGB(0, 0, 255);
constexpr COLORREF kAxis = RGB(0, 128, 0);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kBarText = RGB(255, 255, 0);
constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);

// Owns the table, series descriptions and labels a DIAG_DISP points to.
struct DiagramInput {
  DiagramInput(int rows, int cols, std::vector<double> v, unsigned long flags)
      : values(std::move(v)), elements(static_cast<std::size_t>(rows)) {
    table = {rows, cols, values.data()};
    for (int r = 0; r < rows; ++r) {
      elements[static_cast<std::size_t>(r)] =
          ReturnGraphElem(r % 2 ? kBlue : kRed, 1, const_cast<char*>(r % 2 ? "Beta" : "Alpha"));
    }
    const char text[] = "Q1\0Q2\0Q3\0Q4";
    std::memcpy(labels, text, sizeof text);
    disp = ReturnDiagDisp({0, 0, 300, 200}, kBack, kFrame, kAxis, 4, kText, 12, kBarText, 10,
                          const_cast<char*>("Category"), const_cast<char*>("Value"), labels,
                          sizeof text, static_cast<unsigned short>(rows), elements.data(), 2,
                          flags);
    // Keep the plot area at (2, 2, 298, 198) even with a legend.
    disp.rcPlot = {2, 2, 298, 198};
  }

  std::vector<double> values;
  std::vector<GRAPH_ELEM> elements;
  char labels[16];
  TAB_GR table;
  DIAG_DISP disp;
};

// A picture drawn in mode 1 and deleted at the end of the scope.
struct Picture {
  Picture(const TAB_GR& table, const DIAG_DISP& disp, unsigned long kind)
      : status(CreateDiag(table, disp, &bitmap, 1, kind)) {
    if (bitmap) {
      width = disp.rcPicture.right - disp.rcPicture.left;
      height = disp.rcPicture.bottom - disp.rcPicture.top;
      pixels = read_pixels(bitmap, width, height);
    }
  }
  ~Picture() {
    if (bitmap) DeleteObject(bitmap);
  }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }

  HBITMAP bitmap = nullptr;
  int status;
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
};

}  // namespace kestra::test
