// The vector pictures show what the bitmap shows: every raster reference
// scene and complete diagrams and plots, written as SVG and rendered by
// librsvg, or as PDF and rendered by poppler, cover the exact bitmap's
// shapes within a pixel, and every text is there as text.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include "kestra_vector.h"
#include "support/canvas.h"
#include "platform/raster_scenes.h"
#include "platform/recording.h"
#include "support/vector_checks.h"
#include "vector/vector.h"

namespace kestra::test {
namespace {

std::uint32_t to_rgb(COLORREF c) {
  return (std::uint32_t{GetRValue(c)} << 16) | (std::uint32_t{GetGValue(c)} << 8) | GetBValue(c);
}

void write_text_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A scene's exact pixels, on a black canvas as the reference program draws it.
Image exact_scene(const raster_scenes::Scene& scene) {
  Canvas canvas(scene.width, scene.height);
  raster_scenes::play(canvas.dc(), scene);
  Image image{scene.width, scene.height, {}};
  for (int y = 0; y < scene.height; ++y)
    for (int x = 0; x < scene.width; ++x) image.pixels.push_back(to_rgb(canvas.at(x, y)));
  return image;
}

// The same calls on a recording DC, after a black picture.
canvas::UniqueMetafile record_scene(const raster_scenes::Scene& scene) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  HGDIOBJ pen = SelectObject(dc, GetStockObject(BLACK_PEN));
  HGDIOBJ brush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
  Rectangle(dc, 0, 0, scene.width, scene.height);
  SelectObject(dc, pen);
  SelectObject(dc, brush);
  raster_scenes::play(dc, scene);
  return canvas::UniqueMetafile(CloseEnhMetaFile(dc));
}

// Cosmetic pens, rectangles, hatches and pixels keep to a pixel, but for a
// pixel where a line's dash or clipped end rounds the other way. Wide pens
// are true round-capped strokes, where GDI's slanted bodies and degenerate
// wide outlines have shapes of their own: a few pixels in a hundred of
// their picture differ by more than one.
std::size_t allowed_stray_pixels(const raster_scenes::Scene& scene) {
  const bool wide = scene.name.find("wide") != std::string::npos ||
                    scene.name.find("_w2") != std::string::npos ||
                    scene.name.find("_w3") != std::string::npos ||
                    scene.name.find("_w5") != std::string::npos ||
                    scene.name.find("_w6") != std::string::npos ||
                    scene.name.find("_w9") != std::string::npos;
  return wide ? static_cast<std::size_t>(scene.width * scene.height) / 100 : 1;
}

// Poppler blends the anti-aliased edges of crossing 1-pixel lines and of
// dash ends (dotted outlines) its own way: a pixel in 250 may stray.
std::size_t pdf_allowance(const Image& exact) { return exact.pixels.size() / 250; }

TEST(VectorFaithful, RasterScenesAsSvgAndPdf) {
  TempDir dir;
  for (const raster_scenes::Scene& scene : raster_scenes::all_scenes()) {
    SCOPED_TRACE(scene.name);
    const std::size_t allowed = allowed_stray_pixels(scene);
    const Image exact = exact_scene(scene);
    const canvas::UniqueMetafile metafile = record_scene(scene);
    const auto recording = platform::recording_of(metafile.get());
    ASSERT_TRUE(recording);
    const canvas::PictureSize size{scene.width, scene.height};
    const std::string svg = dir.file(scene.name + ".svg");
    write_text_file(svg, vector::write_svg(*recording, size, 1.0));
    const auto from_svg = render_svg(svg, dir);
    ASSERT_TRUE(from_svg) << "rsvg-convert (librsvg2-bin) cannot render " << svg;
    const StrayPixels svg_stray = stray_pixels(exact, *from_svg, {});
    EXPECT_LE(svg_stray.count, allowed) << "SVG: " << svg_stray.first;
    const std::string pdf = dir.file(scene.name + ".pdf");
    write_text_file(pdf, vector::write_with_cairo(*recording, size, {PictureFormat::pdf, 1.0, true}));
    const auto from_pdf = render_pdf(pdf, dir);
    ASSERT_TRUE(from_pdf) << "pdftoppm (poppler-utils) cannot render " << pdf;
    const StrayPixels pdf_stray = stray_pixels(exact, *from_pdf, {});
    EXPECT_LE(pdf_stray.count, allowed + pdf_allowance(exact)) << "PDF: " << pdf_stray.first;
  }
}

// Diagrams of every kind with every decoration, and plots; the exact
// bitmap comes from the same call with hard edges at scale 1.
struct Chart {
  const char* name;
  std::function<PictureBytes(const PictureOptions&)> draw;
  std::vector<std::string> texts;  // captions, labels, legend names
};

std::vector<Chart> charts() {
  static double values[] = {8.0, 3.5, -2.0, 6.0, 4.0, 7.25, 1.0, 5.0};
  static GRAPH_ELEM elements[] = {ReturnGraphElem(RGB(200, 0, 0), 2, const_cast<char*>("Alpha")),
                                  ReturnGraphElem(RGB(0, 0, 200), 3, const_cast<char*>("B&eta <2>"))};
  static const char labels[] = "Q1\0Q2\0Q3\0Q4";
  static DIAG_DISP disp = [] {
    DIAG_DISP d = ReturnDiagDisp({0, 0, 300, 200}, RGB(255, 255, 255), RGB(0, 0, 255),
                                 RGB(0, 128, 0), 4, 0, 12, RGB(255, 255, 0), 10,
                                 const_cast<char*>("Category"), const_cast<char*>("Value"),
                                 const_cast<char*>(labels), sizeof labels, 2, elements, 1, 0x3FF);
    d.gridVertical = 1;
    d.legendFill = 1;
    d.legendBackColor = RGB(230, 230, 230);
    return d;
  }();
  static const TAB_GR table{2, 4, values};
  static OPTION_RECT plot = ReturnOptionRect({0, 0, 300, 200}, RGB(255, 255, 255), RGB(200, 0, 0),
                                             0, 0, -7, -3, 7, 3, -7, 7, 0, 14,
                                             const_cast<char*>("x axis"),
                                             const_cast<char*>("y axis"), 0x7F);
  const std::vector<std::string> diagram_texts{"Category", "Value", "Q1", "Q2", "Q3", "Q4",
                                               "Alpha", "Beta <2>"};
  const auto diagram = [](unsigned long kind) {
    return [kind](const PictureOptions& o) { return draw_diagram(table, disp, kind, o); };
  };
  return {
      {"bars", diagram(KESTRA_KIND_BARS), diagram_texts},
      {"lines", diagram(KESTRA_KIND_LINES), diagram_texts},
      {"markers", diagram(KESTRA_KIND_LINES_MARKERS), diagram_texts},
      {"plot", [](const PictureOptions& o) { return draw_plot("y=sin(x)*2", plot, o); },
       {"x axis", "y axis", "0"}},
      {"plot_tan", [](const PictureOptions& o) { return draw_plot("y=tg(x)", plot, o); },
       {"x axis", "y axis", "0"}},
  };
}

std::optional<Image> exact_picture(const Chart& chart, const TempDir& dir) {
  const PictureBytes png = chart.draw({PictureFormat::png, 1.0, false});
  if (png.status != KESTRA_OK) return std::nullopt;
  const std::string path = dir.file(std::string(chart.name) + "-exact.png");
  write_text_file(path, png.bytes);
  return load_png(path);
}

TEST(VectorFaithful, ChartsAsSvg) {
  TempDir dir;
  for (const Chart& chart : charts()) {
    SCOPED_TRACE(chart.name);
    const auto exact = exact_picture(chart, dir);
    ASSERT_TRUE(exact);
    const PictureBytes svg = chart.draw({PictureFormat::svg, 1.0, true});
    ASSERT_EQ(svg.status, KESTRA_OK);
    const std::string path = dir.file(std::string(chart.name) + ".svg");
    write_text_file(path, svg.bytes);
    const auto rendered = render_svg(path, dir);
    ASSERT_TRUE(rendered);
    const std::vector<SvgText> texts = svg_texts(svg.bytes);
    EXPECT_EQ(first_stray_pixel(*exact, *rendered, texts), "");
    for (const std::string& wanted : chart.texts) {
      const bool found = std::any_of(texts.begin(), texts.end(),
                                     [&](const SvgText& t) { return t.text == wanted; });
      EXPECT_TRUE(found) << "no <text> holds " << wanted;
    }
  }
}

TEST(VectorFaithful, ChartsAsPdf) {
  TempDir dir;
  for (const Chart& chart : charts()) {
    SCOPED_TRACE(chart.name);
    const auto exact = exact_picture(chart, dir);
    ASSERT_TRUE(exact);
    const PictureBytes pdf = chart.draw({PictureFormat::pdf, 1.0, true});
    ASSERT_EQ(pdf.status, KESTRA_OK);
    const std::string path = dir.file(std::string(chart.name) + ".pdf");
    write_text_file(path, pdf.bytes);
    const std::string text = pdf_text(path);
    for (const std::string& wanted : chart.texts) {
      EXPECT_NE(text.find(wanted), std::string::npos) << "pdftotext misses " << wanted << " in\n" << text;
    }
    const auto rendered = render_pdf(path, dir);
    ASSERT_TRUE(rendered);
    // The texts' boxes are the SVG's: the same layout.
    const std::vector<SvgText> texts = svg_texts(chart.draw({PictureFormat::svg, 1.0, true}).bytes);
    const StrayPixels stray = stray_pixels(*exact, *rendered, texts);
    EXPECT_LE(stray.count, pdf_allowance(*exact)) << stray.first;
  }
}

}  // namespace
}  // namespace kestra::test
