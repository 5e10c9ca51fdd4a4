// kestra: draws diagrams and function plots from the command line.
//
//   kestra example OUT                 the built-in example diagram
//   kestra plot EXPRESSION OUT         a function plot, e.g. 'y=sin(x)*2'
//   kestra html TABLE.html OUT         a bar diagram of an HTML table
//   kestra xls WORKBOOK SHEET RANGE OUT  a bar diagram of a worksheet range
//
// OUT ending in .png is written as PNG, anything else as BMP.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "kestra.h"
#include "png_file.h"

namespace {

constexpr tagRECT kPicture{0, 0, 640, 400};

bool wants_png(const std::string& path) {
  return path.size() > 4 && path.compare(path.size() - 4, 4, ".png") == 0;
}

// Calls `draw` with a bitmap target for PNG output, or with the path for BMP.
template <class Draw>
int render(const std::string& out, Draw draw) {
  if (!wants_png(out)) {
    std::string path = out;
    return draw(path.data());
  }
  HBITMAP bitmap = nullptr;
  const int status = draw(&bitmap);
  if (status != KESTRA_OK) return status;
  const bool written = kestra::tools::write_png(bitmap, out);
  DeleteObject(bitmap);
  return written ? KESTRA_OK : KESTRA_FILE_WRITE;
}

// Series names, category labels and the look shared by every diagram command.
struct DiagramLook {
  explicit DiagramLook(unsigned short series) {
    const char* names[] = {"North", "South", "East", "West"};
    for (unsigned short i = 0; i < series; ++i) {
      elements.push_back(ReturnGraphElem(kColors[i % 4], 1, const_cast<char*>(names[i % 4])));
    }
    disp = ReturnDiagDisp(kPicture, RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0), 5,
                          RGB(0, 0, 0), 14, RGB(255, 255, 255), 11,
                          const_cast<char*>("Quarter"), const_cast<char*>("Sales, kEUR"),
                          labels, sizeof labels, series, elements.data(), 1, 0x3FF);
  }

  static constexpr COLORREF kColors[4] = {RGB(31, 119, 180), RGB(255, 127, 14),
                                          RGB(44, 160, 44), RGB(214, 39, 40)};
  char labels[12] = "Q1\0Q2\0Q3\0Q4";
  std::vector<GRAPH_ELEM> elements;
  DIAG_DISP disp{};
};

int example(const std::string& out) {
  DiagramLook look(3);
  TAB_GR table = CreateTabGr(3, 4, 12.5, 17.0, 9.5, 21.0,  //
                             8.0, 11.5, 14.0, 16.5,         //
                             5.5, 7.0, 10.0, 12.0);
  const int status = render(out, [&](auto target) {
    return CreateDiag(table, look.disp, target, 1, KESTRA_KIND_BARS);
  });
  FreeTabGr(&table);
  return status;
}

int plot(std::string expression, const std::string& out) {
  OPTION_RECT options = ReturnOptionRect(kPicture, RGB(255, 255, 255), RGB(200, 0, 0),
                                         RGB(0, 0, 0), RGB(0, 0, 0), -10, -5, 10, 5, -10, 10,
                                         RGB(0, 0, 0), 14, const_cast<char*>("x"),
                                         const_cast<char*>("y"), 0x5F);
  return render(out, [&](auto target) { return CreateGraph(expression.data(), options, target, 1); });
}

int html(std::string table, const std::string& out) {
  DiagramLook look(4);
  return render(out, [&](auto target) {
    return CreateDiagHTML(table.data(), look.disp, target, 1, KESTRA_KIND_BARS);
  });
}

int xls(std::string workbook, const std::string& sheet, const std::string& range,
        const std::string& out) {
  DiagramLook look(4);
  EXCEL_TAB where{std::atoi(sheet.c_str()), {}};
  std::strncpy(where.cellRange, range.c_str(), sizeof where.cellRange - 1);
  return render(out, [&](auto target) {
    return CreateDiagXLS(workbook.data(), where, look.disp, target, 1, KESTRA_KIND_BARS);
  });
}

int usage() {
  std::fputs(
      "usage: kestra example OUT\n"
      "       kestra plot EXPRESSION OUT\n"
      "       kestra html TABLE.html OUT\n"
      "       kestra xls WORKBOOK SHEET RANGE OUT\n"
      "OUT ending in .png is written as PNG, anything else as BMP.\n",
      stderr);
  return 2;
}

int run(const std::vector<std::string>& args) {
  const std::string& command = args[0];
  if (command == "example" && args.size() == 2) return example(args[1]);
  if (command == "plot" && args.size() == 3) return plot(args[1], args[2]);
  if (command == "html" && args.size() == 3) return html(args[1], args[2]);
  if (command == "xls" && args.size() == 5) return xls(args[1], args[2], args[3], args[4]);
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const int status = run(std::vector<std::string>(argv + 1, argv + argc));
  if (status < 0) return usage();
  if (status != KESTRA_OK) {
    std::fprintf(stderr, "kestra: failed with status %d\n", status);
    return 1;
  }
  return 0;
}
