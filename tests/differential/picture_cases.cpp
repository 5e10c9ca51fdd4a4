// The case list of the differential test, drawn through the public exports
// only, so that one source serves the Windows and the Linux program.
#include "picture_cases.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "kestra.h"

namespace kestra::differential {
namespace {

constexpr COLORREF kPalette[] = {RGB(200, 0, 0), RGB(0, 0, 200), RGB(0, 150, 0), RGB(180, 0, 180)};
constexpr const char* kSeriesNames[] = {"Alpha", "Beta", "Gamma", "Delta"};
constexpr unsigned long kAllDecorations = 0x3FF;

char* text(const char* literal) { return const_cast<char*>(literal); }

// A diagram's table, series and labels, owned together with the record that
// points to them.
struct Diagram {
  Diagram(int rows, int cols, std::vector<double> numbers, unsigned long flags, int style = 1)
      : values(std::move(numbers)), elements(static_cast<std::size_t>(rows)) {
    table = {rows, cols, values.data()};
    for (int r = 0; r < rows; ++r) {
      elements[static_cast<std::size_t>(r)] =
          ReturnGraphElem(kPalette[r % 4], style, text(kSeriesNames[r % 4]));
    }
    for (int c = 1; c <= cols; ++c) labels += "Q" + std::to_string(c) + '\0';
    disp = ReturnDiagDisp({0, 0, 300, 200}, RGB(255, 255, 255), RGB(0, 0, 255), RGB(0, 128, 0), 4,
                          RGB(0, 0, 0), 12, RGB(255, 255, 0), 10, text("Category"), text("Value"),
                          labels.data(), static_cast<unsigned short>(labels.size()),
                          static_cast<unsigned short>(rows), elements.data(), 1, flags);
  }
  Diagram(const Diagram&) = delete;
  Diagram& operator=(const Diagram&) = delete;

  int draw(const std::string& path, unsigned long kind) {
    return CreateDiag(table, disp, const_cast<char*>(path.c_str()), 1, kind);
  }

  std::vector<double> values;
  std::vector<GRAPH_ELEM> elements;
  std::string labels;
  TAB_GR table{};
  DIAG_DISP disp{};
};

const std::vector<double> kMixed = {8.0, 3.5, -2.0, 6.0, 4.0, 7.25, 1.0, 5.0};
const std::vector<double> kPositive = {1, 4, 9, 16, 25, 36, 30, 20, 12, 8, 5, 2, 3, 3, 7, 7, 2, 2};

struct Kind {
  const char* name;
  unsigned long code;
};
constexpr Kind kKinds[] = {
    {"lines", KESTRA_KIND_LINES}, {"markers", KESTRA_KIND_LINES_MARKERS}, {"bars", KESTRA_KIND_BARS}};

using Draw = std::function<int(const std::string&, const std::string&)>;

void add(std::vector<PictureCase>& cases, const char* group, std::string name, Draw draw) {
  cases.push_back({group, std::move(name), std::move(draw)});
}

// Every kind over tables of different shapes, all decorations on.
void add_kinds(std::vector<PictureCase>& cases) {
  for (const Kind& kind : kKinds) {
    add(cases, "kinds", std::string("kind-") + kind.name + "-2x4", [kind](auto& path, auto&) {
      return Diagram(2, 4, kMixed, kAllDecorations).draw(path, kind.code);
    });
    add(cases, "kinds", std::string("kind-") + kind.name + "-3x6", [kind](auto& path, auto&) {
      return Diagram(3, 6, kPositive, kAllDecorations).draw(path, kind.code);
    });
    add(cases, "kinds", std::string("kind-") + kind.name + "-1x2", [kind](auto& path, auto&) {
      return Diagram(1, 2, {3.0, -1.5}, kAllDecorations).draw(path, kind.code);
    });
  }
}

// Each decoration alone, then the record fields the flag word leaves alone.
void add_decorations(std::vector<PictureCase>& cases) {
  constexpr const char* kBits[] = {"background", "frame",    "axis-x",   "axis-y",
                                   "arrows",     "legend",   "grid",     "captions",
                                   "categories", "values"};
  for (int bit = 0; bit < 10; ++bit) {
    for (const Kind& kind : {kKinds[0], kKinds[2]}) {
      add(cases, "decorations", std::string("only-") + kBits[bit] + "-" + kind.name,
          [bit, kind](auto& path, auto&) {
            return Diagram(2, 4, kMixed, 1ul << bit).draw(path, kind.code);
          });
    }
  }
  const std::pair<const char*, std::function<void(DIAG_DISP&)>> tweaks[] = {
      {"grid-vertical", [](DIAG_DISP& d) { d.gridVertical = 1; }},
      {"legend-filled", [](DIAG_DISP& d) { d.legendFill = 1, d.legendBackColor = RGB(230, 230, 230); }},
      {"legend-unframed", [](DIAG_DISP& d) { d.legendFrame = 0; }},
      {"decimals-0", [](DIAG_DISP& d) { d.decimals = 0; }},
      {"decimals-3", [](DIAG_DISP& d) { d.decimals = 3; }},
      {"caption-font-8", [](DIAG_DISP& d) { d.captionFontHeight = 8; }},
      {"caption-font-20", [](DIAG_DISP& d) { d.captionFontHeight = 20; }},
      {"bar-font-14", [](DIAG_DISP& d) { d.barValueFontHeight = 14; }},
      {"base-value-3", [](DIAG_DISP& d) { d.baseValue = 3; }},
      {"divisions-7", [](DIAG_DISP& d) { d.divisions = 7; }},
      {"arrow-top-only", [](DIAG_DISP& d) { d.arrowMask = 1; }},
      {"plot-inset", [](DIAG_DISP& d) { d.rcPlot = {30, 20, 280, 170}; }},
      {"picture-301x151", [](DIAG_DISP& d) { d.rcPicture = {0, 0, 301, 151}, d.rcPlot = {2, 2, 299, 149}; }},
  };
  for (const auto& entry : tweaks) {
    for (const Kind& kind : {kKinds[1], kKinds[2]}) {
      add(cases, "decorations", std::string(entry.first) + "-" + kind.name,
          [tweak = entry.second, kind](auto& path, auto&) {
            Diagram diagram(2, 4, kMixed, kAllDecorations);
            tweak(diagram.disp);
            return diagram.draw(path, kind.code);
          });
    }
  }
}

// Bar fills 0 to 8 (0 and 8 lie outside the table), and pen styles 0 to 6
// at widths 1 to 3 for series lines and the grid.
void add_styles(std::vector<PictureCase>& cases) {
  for (int fill = 0; fill <= 8; ++fill) {
    add(cases, "fills", "fill-" + std::to_string(fill), [fill](auto& path, auto&) {
      return Diagram(2, 4, kMixed, kAllDecorations, fill).draw(path, KESTRA_KIND_BARS);
    });
  }
  for (int style = 0; style <= 6; ++style) {
    for (int width = 1; width <= 3; ++width) {
      add(cases, "pens", "pen-" + std::to_string(style) + "-width-" + std::to_string(width),
          [style, width](auto& path, auto&) {
            Diagram diagram(2, 4, kMixed, 0x3FF & ~0x40ul, style);  // no grid
            for (GRAPH_ELEM& element : diagram.elements) element.width = std::uint8_t(width);
            return diagram.draw(path, KESTRA_KIND_LINES);
          });
    }
    add(cases, "pens", "grid-style-" + std::to_string(style), [style](auto& path, auto&) {
      Diagram diagram(2, 4, kMixed, kAllDecorations);
      diagram.disp.gridStyle = std::uint16_t(style);
      diagram.disp.gridVertical = 1;
      return diagram.draw(path, KESTRA_KIND_BARS);
    });
  }
}

// Function plots: every function of the language, both orientations, every
// decoration, several caption heights.
void add_plots(std::vector<PictureCase>& cases) {
  struct Plot {
    const char* name;
    const char* expression;
    double x_min, y_min, x_max, y_max;
    unsigned long flags;
    int font_height;
  };
  constexpr Plot kPlots[] = {
      {"sine", "y=sin(x)*2", -7, -3, 7, 3, 0x7F & ~0x20ul, 12},
      {"sine-vertical", "y=sin(x)*2", -7, -3, 7, 3, 0x7F, 12},
      {"parabola", "y=x*x-1", -3, -2, 3, 8, 0x5F, 10},
      {"cubic", "y=pow(x)(3)/4", -3, -7, 3, 7, 0x1F, 16},
      {"cosine-e", "y=cos(x)+e", -3.14159265358979, 0, 3.14159265358979, 4, 0x4F, 8},
      {"tangent", "y=tg(x)", -4, -10, 4, 10, 0x5F, 12},
      {"absolute", "y=abs(x)-(2)", -5, -3, 5, 4, 0x7B, 20},
      {"logarithm", "y=log(2)(x)", -1, -4, 10, 3, 0x5F, 12},
      {"plain", "y=x/2+1", -4, -2, 4, 4, 0x00, 12},
  };
  for (const Plot& plot : kPlots) {
    add(cases, "plots", std::string("plot-") + plot.name, [plot](auto& path, auto&) {
      OPTION_RECT options = ReturnOptionRect(
          {0, 0, 300, 200}, RGB(255, 255, 240), RGB(200, 0, 0), RGB(0, 0, 255), RGB(0, 128, 0),
          plot.x_min, plot.y_min, plot.x_max, plot.y_max, plot.x_min, plot.x_max, RGB(0, 0, 0),
          plot.font_height, text("x axis"), text("y axis"), plot.flags);
      return CreateGraph(text(plot.expression), options, const_cast<char*>(path.c_str()), 1);
    });
  }
}

// The scenes of tests/data/diagram, drawn as the reference test draws them.
void add_references(std::vector<PictureCase>& cases) {
  struct Scene {
    const char* name;
    int rows, cols;
    std::vector<double> values;
    unsigned long kind;
  };
  const Scene scenes[] = {
      {"bars", 2, 4, kMixed, KESTRA_KIND_BARS},
      {"lines", 2, 4, kMixed, KESTRA_KIND_LINES},
      {"markers", 2, 4, kMixed, KESTRA_KIND_LINES_MARKERS},
      {"bars_1x2", 1, 2, {3.0, -1.5}, KESTRA_KIND_BARS},
  };
  for (const Scene& scene : scenes) {
    add(cases, "references", std::string("reference-") + scene.name, [scene](auto& path, auto&) {
      Diagram diagram(scene.rows, scene.cols, scene.values, kAllDecorations);
      static const char kLabels[] = "Q1\0Q2\0Q3\0Q4";
      diagram.disp.categoryLabels = const_cast<char*>(kLabels);
      diagram.disp.categoryLabelsLength = 12;
      diagram.disp.gridVertical = 1;
      diagram.disp.legendFill = 1;
      diagram.disp.legendBackColor = RGB(230, 230, 230);
      diagram.elements[0].style = 2;  // dotted line, hatched bars
      if (scene.kind == KESTRA_KIND_LINES_MARKERS) diagram.elements[0].width = 3;
      return diagram.draw(path, scene.kind);
    });
  }
}

// The look of imported tables: series descriptions for up to eight rows,
// the legend naming the first two.
struct ImportLook : Diagram {
  ImportLook() : Diagram(8, 4, std::vector<double>(32), kAllDecorations) { disp.legendEntries = 2; }
};

// Tables read from the HTML and workbook fixtures of tests/data/import.
void add_imports(std::vector<PictureCase>& cases) {
  for (const char* file : {"html_calc_plain", "html_calc_formats", "html_calc_labels"}) {
    for (const Kind& kind : {kKinds[1], kKinds[2]}) {
      add(cases, "imports", std::string(file) + "-" + kind.name, [file, kind](auto& path, auto& data) {
        const ImportLook look;
        const std::string html = data + "/import/" + file + ".html";
        return CreateDiagHTML(const_cast<char*>(html.c_str()), look.disp,
                              const_cast<char*>(path.c_str()), 1, kind.code);
      });
    }
  }
  struct Range {
    const char* file;
    int sheet;
    const char* cells;
  };
  constexpr Range kRanges[] = {
      {"calc_saved.xlsx", 1, "A1:D4"}, {"calc_saved.xlsx", 2, "$B$1:$C$2"},
      {"calc_saved.xls", 1, "A1:D4"},  {"calc_saved.xls", 2, "A1:C2"},
      {"calc_long.xls", 1, "A1995:B2000"},
  };
  for (const Range& range : kRanges) {
    for (const Kind& kind : {kKinds[0], kKinds[2]}) {
      std::string name = std::string(range.file) + "-" + std::to_string(range.sheet) + "-" +
                         range.cells + "-" + kind.name;
      for (char& c : name) c = c == ':' || c == '$' || c == '.' ? '_' : c;
      add(cases, "imports", name, [range, kind](auto& path, auto& data) {
        const ImportLook look;
        const std::string workbook = data + "/import/" + range.file;
        EXCEL_TAB tab{range.sheet, {}};
        std::snprintf(tab.cellRange, sizeof tab.cellRange, "%s", range.cells);
        return CreateDiagXLS(const_cast<char*>(workbook.c_str()), tab, look.disp,
                             const_cast<char*>(path.c_str()), 1, kind.code);
      });
    }
  }
}

// Mode 2 over a picture stored in the file: a plot drawn over a diagram.
void add_redraws(std::vector<PictureCase>& cases) {
  add(cases, "redraws", "plot-over-bars", [](auto& path, auto&) {
    if (const int status = Diagram(2, 4, kMixed, kAllDecorations).draw(path, KESTRA_KIND_BARS)) {
      return status;
    }
    OPTION_RECT options = ReturnOptionRect({0, 0, 300, 200}, RGB(255, 255, 255), RGB(0, 0, 0),
                                           RGB(0, 0, 255), RGB(0, 128, 0), -7, -3, 7, 3, -7, 7,
                                           RGB(0, 0, 0), 12, text("x"), text("y"), 0x1C);
    return CreateGraph(text("y=sin(x)*2"), options, const_cast<char*>(path.c_str()), 2);
  });
}

}  // namespace

std::vector<PictureCase> picture_cases() {
  std::vector<PictureCase> cases;
  add_kinds(cases);
  add_decorations(cases);
  add_styles(cases);
  add_plots(cases);
  add_references(cases);
  add_imports(cases);
  add_redraws(cases);
  return cases;
}

}  // namespace kestra::differential
