// Every drawing export on fixed inputs, into each target form, and the
// picture each call leaves: what the fault and thread tests repeat and
// compare with a clean, serial run.
#pragma once

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "kestra.h"
#include "output/target_checks.h"

namespace kestra::test {

constexpr int kCallWidth = 120;
constexpr int kCallHeight = 80;

enum class Form { bitmap, surface, file_new, file_over };

// Where one call draws: a new bitmap, a filled memory surface, or a BMP file
// that holds a stored picture beforehand (replaced in mode 1, drawn over in
// mode 2). What the call left is read back with take().
class Target {
 public:
  Target(Form form, std::string path) : form_(form), path_(std::move(path)) {
    if (form_ == Form::surface) surface_ = CreateMemorySurface(kCallWidth, kCallHeight);
    if (form_ == Form::file_new || form_ == Form::file_over) {
      write_file_bytes(path_, stored_picture(kCallWidth, kCallHeight));
    }
  }
  ~Target() {
    if (bitmap_) DeleteObject(bitmap_);
    if (surface_) DeleteMemorySurface(surface_);
  }
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;

  // Calls `draw` with the target of this form and its mode: a generic
  // callable taking (HBITMAP*, mode), (IDirectDrawSurface*, mode) or (char*, mode).
  template <class Draw>
  int draw(Draw&& draw) {
    switch (form_) {
      case Form::bitmap: return draw(&bitmap_, 1ul);
      case Form::surface: return draw(surface_, 2ul);
      case Form::file_new: return draw(path_.data(), 1ul);
      case Form::file_over: return draw(path_.data(), 2ul);
    }
    return -1;
  }

  // The pixels of the bitmap or surface, or the bytes of the file; a new
  // bitmap is deleted.
  std::vector<std::uint8_t> take() {
    if (form_ == Form::file_new || form_ == Form::file_over) return read_file_bytes(path_);
    HBITMAP bitmap = form_ == Form::surface ? MemorySurfaceBitmap(surface_) : bitmap_;
    if (!bitmap) return {};
    const std::vector<COLORREF> pixels = read_pixels(bitmap, kCallWidth, kCallHeight);
    std::vector<std::uint8_t> bytes(pixels.size() * sizeof(COLORREF));
    std::memcpy(bytes.data(), pixels.data(), bytes.size());
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
    return bytes;
  }

 private:
  Form form_;
  std::string path_;
  HBITMAP bitmap_ = nullptr;
  IDirectDrawSurface* surface_ = nullptr;
};

// The records of a two-series diagram with every part shown.
struct DiagramRecords {
  DiagramRecords() {
    elements[0] = ReturnGraphElem(RGB(200, 0, 0), 2, const_cast<char*>("North"));
    elements[1] = ReturnGraphElem(RGB(0, 0, 200), 4, const_cast<char*>("South"));
    disp = ReturnDiagDisp({0, 0, kCallWidth, kCallHeight}, RGB(255, 255, 255), RGB(0, 0, 255),
                          RGB(0, 128, 0), 4, RGB(0, 0, 0), 10, RGB(255, 255, 0), 8,
                          const_cast<char*>("Quarter"), const_cast<char*>("Sales"), labels,
                          sizeof labels, 2, elements, 1, 0x3FF);
  }
  double values[8] = {3, 1, 4, 1.5, 2, 6, 5, 3};
  GRAPH_ELEM elements[2];
  char labels[12] = "Q1\0Q2\0Q3\0Q4";
  TAB_GR table{2, 4, values};
  DIAG_DISP disp;
};

inline OPTION_RECT plot_records() {
  OPTION_RECT options = ReturnOptionRect({0, 0, kCallWidth, kCallHeight}, RGB(255, 255, 255),
                                         RGB(200, 0, 0), RGB(0, 0, 255), RGB(0, 128, 0), -5, -3,
                                         5, 3, -5, 5, RGB(0, 0, 0), 10, const_cast<char*>("x"),
                                         const_cast<char*>("y"), 0x7F);
  options.argStep = 0.01;
  return options;
}

// One export on its inputs; the inputs are shared, read-only, by every call.
struct ExportCall {
  std::string name;
  std::function<int(Target&)> run;
};

inline std::string import_fixture(const char* name) {
  return std::string(KESTRA_TEST_DATA) + "/import/" + name;
}

// The inputs every call reads: records, and the HTML and workbook fixtures.
struct ExportInputs {
  DiagramRecords diagram;
  OPTION_RECT plot = plot_records();
  std::string html = import_fixture("html_calc_plain.html");
  std::string xlsx = import_fixture("calc_saved.xlsx");
  std::string xls = import_fixture("calc_saved.xls");
  EXCEL_TAB range{1, "A1:D4"};
};

inline const ExportInputs& export_inputs() {
  static const ExportInputs inputs;
  return inputs;
}

// Diagrams of each kind, a plot, an HTML table and .xlsx and .xls ranges.
inline std::vector<ExportCall> export_calls() {
  const ExportInputs& in = export_inputs();
  std::vector<ExportCall> calls;
  for (const unsigned long kind : {KESTRA_KIND_LINES, KESTRA_KIND_LINES_MARKERS, KESTRA_KIND_BARS}) {
    calls.push_back({"diagram " + std::to_string(kind), [&in, kind](Target& target) {
                       return target.draw([&](auto where, unsigned long mode) {
                         return CreateDiag(in.diagram.table, in.diagram.disp, where, mode, kind);
                       });
                     }});
  }
  calls.push_back({"plot", [&in](Target& target) {
                     return target.draw([&](auto where, unsigned long mode) {
                       return CreateGraph(const_cast<char*>("y=sin(x)*2+pow(x)(2)/10"), in.plot,
                                          where, mode);
                     });
                   }});
  calls.push_back({"html", [&in](Target& target) {
                     return target.draw([&](auto where, unsigned long mode) {
                       return CreateDiagHTML(const_cast<char*>(in.html.c_str()), in.diagram.disp,
                                             where, mode, KESTRA_KIND_BARS);
                     });
                   }});
  for (const std::string* workbook : {&in.xlsx, &in.xls}) {
    calls.push_back({workbook == &in.xlsx ? "xlsx" : "xls", [&in, workbook](Target& target) {
                       return target.draw([&](auto where, unsigned long mode) {
                         return CreateDiagXLS(const_cast<char*>(workbook->c_str()), in.range,
                                              in.diagram.disp, where, mode, KESTRA_KIND_LINES);
                       });
                     }});
  }
  return calls;
}

inline const char* form_name(Form form) {
  switch (form) {
    case Form::bitmap: return "bitmap";
    case Form::surface: return "surface";
    case Form::file_new: return "new file";
    case Form::file_over: return "file drawn over";
  }
  return "?";
}

constexpr Form kForms[] = {Form::bitmap, Form::surface, Form::file_new, Form::file_over};

}  // namespace kestra::test
