// A host program of the installed kestra library: draws a bar diagram and a
// function plot into BMP files, the way a host of the DLL does.
//
//   host OUT_DIRECTORY   writes OUT_DIRECTORY/diagram.bmp and plot.bmp
#include <kestra.h>

#include <cstdio>
#include <string>

namespace {

int draw_diagram(const std::string& path) {
  TAB_GR table = CreateTabGr(2, 3, 4.0, 7.5, 6.0,  //
                             3.0, 5.0, 8.5);
  char labels[16];
  CreateTextAxis(labels, 3, const_cast<char*>("Jan"), "Feb", "Mar");
  GRAPH_ELEM series[2];
  CreateGraphElem(series, 2, ReturnGraphElem(RGB(31, 119, 180), 1, const_cast<char*>("Plan")),
                  ReturnGraphElem(RGB(255, 127, 14), 2, const_cast<char*>("Actual")));
  const DIAG_DISP disp = ReturnDiagDisp(
      {0, 0, 400, 250}, RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0), 4, RGB(0, 0, 0), 12,
      RGB(255, 255, 255), 10, const_cast<char*>("Month"), const_cast<char*>("Units"), labels,
      12, 2, series, 1, 0x3FF);
  std::string target = path;
  const int status = CreateDiag(table, disp, target.data(), 1, KESTRA_KIND_BARS);
  FreeTabGr(&table);
  return status;
}

int draw_plot(const std::string& path) {
  const OPTION_RECT options = ReturnOptionRect(
      {0, 0, 400, 250}, RGB(255, 255, 255), RGB(200, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0), -7, -2,
      7, 2, -7, 7, RGB(0, 0, 0), 12, const_cast<char*>("x"), const_cast<char*>("y"), 0x5F);
  std::string target = path;
  return CreateGraph(const_cast<char*>("y=sin(x)*1.5"), options, target.data(), 1);
}

bool report(const char* what, int status) {
  std::printf("%s: %d (%s)\n", what, status, KestraStatusText(status));
  return status == KESTRA_OK;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string directory = argc > 1 ? argv[1] : ".";
  const bool diagram = report("diagram", draw_diagram(directory + "/diagram.bmp"));
  const bool plot = report("plot", draw_plot(directory + "/plot.bmp"));
  return diagram && plot ? 0 : 1;
}
