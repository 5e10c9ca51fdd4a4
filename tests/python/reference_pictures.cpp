// Draws the pytest suite's reference pictures as a C++ host would: records
// filled by the builders, pictures written by the file forms of the exports.
// Usage: kestra_python_reference OUT_DIR  (writes bars.bmp, markers.bmp,
// sine.bmp, parabola.bmp; exit status 1 on the first failing export).
#include <cstdio>
#include <string>
#include <vector>

#include "kestra.h"

namespace {

// The first colours of matplotlib's cycle, as the binding defaults to.
constexpr COLORREF kBlue = RGB(0x1f, 0x77, 0xb4);
constexpr COLORREF kOrange = RGB(0xff, 0x7f, 0x0e);
constexpr COLORREF kGreen = RGB(0x2c, 0xa0, 0x2c);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Three series over four quarters, with the binding's default look.
int draw_sales(const std::string& path, unsigned long kind, const int (&styles)[3],
               const int (&widths)[3]) {
  GRAPH_ELEM elements[3];
  CreateGraphElem(elements, 3, ReturnGraphElem(kBlue, styles[0], const_cast<char*>("North")),
                  ReturnGraphElem(kOrange, styles[1], const_cast<char*>("South")),
                  ReturnGraphElem(kGreen, styles[2], const_cast<char*>("East")));
  for (int i = 0; i < 3; ++i) elements[i].width = static_cast<std::uint8_t>(widths[i]);
  char labels[12];
  CreateTextAxis(labels, 4, const_cast<char*>("Q1"), "Q2", "Q3", "Q4");
  const DIAG_DISP disp = ReturnDiagDisp({0, 0, 640, 400}, kWhite, kBlack, kBlack, 5, kBlack, 14,
                                        kBlack, 10, const_cast<char*>("Quarter"),
                                        const_cast<char*>("Sales"), labels, sizeof labels, 3,
                                        elements, 1, 0x3FF);
  TAB_GR table = CreateTabGr(3, 4, 12.5, 17.0, 9.5, 21.0,  //
                             8.0, 11.5, 14.0, 16.5,         //
                             5.5, 7.0, 10.0, 12.0);
  std::string target = path;
  const int status = CreateDiag(table, disp, target.data(), 1, kind);
  FreeTabGr(&table);
  return status;
}

int draw_plot(const std::string& path, const char* expression, unsigned long flags,
              double arg_from, double arg_to) {
  const OPTION_RECT options = ReturnOptionRect({0, 0, 640, 480}, kWhite, kBlue, kBlack, kBlack,
                                               -10, -3, 10, 3, arg_from, arg_to, kBlack, 14,
                                               const_cast<char*>("x"), const_cast<char*>("y"),
                                               flags);
  std::string text = expression;
  std::string target = path;
  return CreateGraph(text.data(), options, target.data(), 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: kestra_python_reference OUT_DIR\n", stderr);
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  const int statuses[] = {
      draw_sales(dir + "bars.bmp", KESTRA_KIND_BARS, {1, 2, 4}, {1, 1, 1}),
      draw_sales(dir + "markers.bmp", KESTRA_KIND_LINES_MARKERS, {2, 3, 1}, {2, 1, 3}),
      draw_plot(dir + "sine.bmp", "y=sin(x)*2", 0x5F, -10, 10),
      draw_plot(dir + "parabola.bmp", "x=y*y/3", 0x7F, -3, 3),
  };
  for (const int status : statuses) {
    if (status != KESTRA_OK) {
      std::fprintf(stderr, "kestra_python_reference: status %d\n", status);
      return 1;
    }
  }
  return 0;
}
