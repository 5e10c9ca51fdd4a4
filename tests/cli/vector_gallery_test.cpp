// The gallery's charts through the program as SVG and PDF: rendered by
// librsvg and poppler they cover the exact PNG's shapes within a pixel, and
// every caption, label, legend name and value is there as text.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli_run.h"
#include "support/temp_dir.h"
#include "support/vector_checks.h"

namespace kestra::test {
namespace {

const std::string kGalleryData = std::string(KESTRA_TEST_DATA) + "/../../docs/gallery/data/";

struct GalleryChart {
  const char* name;
  std::vector<std::string> args;
  std::vector<std::string> texts;
};

std::vector<std::string> quarters(std::vector<std::string> more) {
  std::vector<std::string> args{"diag", "--values", "12.5 17 9.5 21; 8 11.5 14 16.5; 5.5 7 10 12",
                                "--names", "North,South,East", "--labels", "Q1,Q2,Q3,Q4",
                                "--caption-x", "Quarter", "--caption-y", "Sales, kEUR",
                                "--size", "400x250"};
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

const std::vector<std::string> kQuarterTexts{"Quarter", "Sales, kEUR", "Q1", "Q2", "Q3",
                                             "Q4", "North", "South", "East", "16.8"};

std::vector<GalleryChart> gallery() {
  std::vector<std::string> with_values = kQuarterTexts;
  with_values.insert(with_values.end(), {"12.5", "21.0", "5.5"});
  return {
      {"bars", quarters({}), with_values},
      {"lines", quarters({"--kind", "lines", "--widths", "2"}), kQuarterTexts},
      {"markers", quarters({"--kind", "markers", "--no-value-labels"}),
       {"Quarter", "Sales, kEUR", "Q1", "Q4", "North", "East"}},
      {"fills",
       {"diag", "--values", "5 6; 6 7; 7 8; 8 9; 9 10; 10 11; 11 12", "--styles", "1,2,3,4,5,6,7",
        "--no-values", "--size", "400x250"},
       {"1", "7", "A", "B"}},
      {"line-styles",
       {"diag", "--values", "1 3 2 4; 2 4 3 5; 3 5 4 6; 4 6 5 7; 5 7 6 8", "--kind", "lines",
        "--styles", "solid,dot,dash,dashdot,dashdotdot", "--no-grid", "--size", "400x250"},
       {"1", "5", "A", "D"}},
      {"plot",
       {"plot", "y=sin(x)*2", "--x", "-7:7", "--y", "-3:3", "--arrows", "--zero", "--frame",
        "--size", "400x250"},
       {"x", "y", "0"}},
      {"plot-sideways",
       {"plot", "x=pow(y)(2)/4", "--x", "-1:7", "--y", "-5:5", "--arrows", "--zero", "--size",
        "400x250"},
       {"x", "y", "0"}},
      {"html",
       {"diag", kGalleryData + "revenue.html", "--caption-x", "Year", "--caption-y", "EUR m",
        "--size", "400x250"},
       {"Year", "EUR m"}},
      {"xlsx",
       {"diag", kGalleryData + "visitors.xlsx", "--kind", "markers", "--caption-y", "Visitors",
        "--decimals", "0", "--size", "400x250"},
       {"Visitors"}},
  };
}

std::string drawn(const GalleryChart& chart, const std::string& out) {
  std::vector<std::string> args = chart.args;
  args.insert(args.end(), {"-o", out});
  const CliRun run = run_kestra(args);
  return run.exit_code == 0 ? "" : run.err;
}

TEST(VectorGallery, SvgAndPdfShowTheExactPicture) {
  TempDir dir;
  for (const GalleryChart& chart : gallery()) {
    SCOPED_TRACE(chart.name);
    const std::string png = dir.file(std::string(chart.name) + ".png");
    const std::string svg = dir.file(std::string(chart.name) + ".svg");
    const std::string pdf = dir.file(std::string(chart.name) + ".pdf");
    for (const std::string& out : {png, svg, pdf}) ASSERT_EQ(drawn(chart, out), "") << out;
    const auto exact = load_png(png);
    ASSERT_TRUE(exact);
    const std::vector<std::uint8_t> svg_bytes = read_file_bytes(svg);
    const std::vector<SvgText> texts = svg_texts(std::string(svg_bytes.begin(), svg_bytes.end()));
    const std::string pdf_words = pdf_text(pdf);
    for (const std::string& wanted : chart.texts) {
      EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const SvgText& t) { return t.text == wanted; }))
          << "no <text> holds " << wanted;
      EXPECT_NE(pdf_words.find(wanted), std::string::npos) << "pdftotext misses " << wanted;
    }
    const auto from_svg = render_svg(svg, dir);
    ASSERT_TRUE(from_svg) << "rsvg-convert (librsvg2-bin) cannot render " << svg;
    // Wide pens (line widths, legend samples) are true round-capped strokes
    // where GDI's slanted wide bodies have shapes of their own; poppler
    // blends crossing thin lines its own way: a pixel in 250 may stray.
    const std::size_t allowed = exact->pixels.size() / 250;
    const StrayPixels svg_stray = stray_pixels(*exact, *from_svg, texts);
    EXPECT_LE(svg_stray.count, allowed) << "SVG: " << svg_stray.first;
    const auto from_pdf = render_pdf(pdf, dir);
    ASSERT_TRUE(from_pdf) << "pdftoppm (poppler-utils) cannot render " << pdf;
    const StrayPixels pdf_stray = stray_pixels(*exact, *from_pdf, texts);
    EXPECT_LE(pdf_stray.count, allowed) << "PDF: " << pdf_stray.first;
  }
}

TEST(VectorGallery, ScaleAndSmoothChangeOnlyWhatTheySay) {
  TempDir dir;
  const GalleryChart chart = gallery()[0];
  std::vector<std::string> args = chart.args;
  args.insert(args.end(), {"--scale", "2", "--smooth", "-o", dir.file("big.png")});
  ASSERT_EQ(run_kestra(args).exit_code, 0);
  const auto big = load_png(dir.file("big.png"));
  ASSERT_TRUE(big);
  EXPECT_EQ(big->width, 800);
  EXPECT_EQ(big->height, 500);
  for (const char* bad : {"0", "-1", "x", "nan"}) {
    SCOPED_TRACE(bad);
    args = chart.args;
    args.insert(args.end(), {"--scale", bad, "-o", dir.file("bad.png")});
    const CliRun run = run_kestra(args);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_NE(run.err.find("--scale"), std::string::npos) << run.err;
  }
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"big.png"});
}

}  // namespace
}  // namespace kestra::test
