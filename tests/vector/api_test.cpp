// The front-end calls of kestra_vector.h: the exports' statuses in the
// exports' order, the exact bitmap at scale 1 without smoothing, scaled
// pictures, and files replaced whole or left alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "kestra_vector.h"
#include "support/canvas.h"
#include "support/temp_dir.h"
#include "support/vector_checks.h"

namespace kestra::test {
namespace {

struct Records {
  double values[4] = {1.0, 2.0, 3.0, 4.0};
  GRAPH_ELEM series = ReturnGraphElem(RGB(200, 0, 0), 1, const_cast<char*>("A"));
  TAB_GR table{1, 4, values};
  DIAG_DISP disp = ReturnDiagDisp({0, 0, 120, 80}, RGB(255, 255, 255), 0, 0, 4, 0, 12, 0, 10,
                                  const_cast<char*>("x"), const_cast<char*>("y"), nullptr, 0, 1,
                                  &series, 1, 0x3FF);
  OPTION_RECT plot = ReturnOptionRect({0, 0, 120, 80}, RGB(255, 255, 255), RGB(200, 0, 0), 0, 0,
                                      -5, -5, 5, 5, -5, 5, 0, 12, const_cast<char*>("x"),
                                      const_cast<char*>("y"), 0x7F);
};

TEST(VectorApi, StatusesAreTheExports) {
  struct Case {
    int line;
    const char* what;
    std::function<void(Records&)> change;
    const char* expression;
    int diagram, plot;  // expected statuses
  };
  const Case cases[] = {
      {__LINE__, "good records", [](Records&) {}, "y=x", KESTRA_OK, KESTRA_OK},
      {__LINE__, "one category", [](Records& r) { r.table.cols = 1; }, "y=x", KESTRA_BAD_TABLE, KESTRA_OK},
      {__LINE__, "no values", [](Records& r) { r.table.values = nullptr; }, "y=x", KESTRA_BAD_TABLE, KESTRA_OK},
      {__LINE__, "refused expression", [](Records&) {}, "y=(x", KESTRA_OK, KESTRA_BAD_EXPRESSION},
      {__LINE__, "not an expression", [](Records&) {}, "z=x", KESTRA_OK, KESTRA_BAD_EXPRESSION},
      {__LINE__, "font 0", [](Records& r) { r.plot.fontHeight = 0; }, "y=x", KESTRA_OK, KESTRA_BAD_FONT_HEIGHT},
      // The font height is checked before the expression, as CreateGraph does.
      {__LINE__, "font 100, bad text", [](Records& r) { r.plot.fontHeight = 100; }, "y=(", KESTRA_OK,
       KESTRA_BAD_FONT_HEIGHT},
      {__LINE__, "step 0", [](Records& r) { r.plot.argStep = 0; }, "y=x", KESTRA_OK, KESTRA_BAD_SAMPLING},
      // The expression is checked before the picture, the table after it.
      {__LINE__, "empty picture", [](Records& r) { r.disp.rcPicture.right = 0; r.plot.rcPicture.right = 0; },
       "y=(", KESTRA_NO_BITMAP, KESTRA_BAD_EXPRESSION},
      {__LINE__, "empty picture, bad table",
       [](Records& r) { r.disp.rcPicture.right = 0; r.plot.rcPicture.right = 0; r.table.rows = 0; },
       "y=x", KESTRA_BAD_TABLE, KESTRA_NO_BITMAP},
  };
  for (const PictureFormat format :
       {PictureFormat::svg, PictureFormat::pdf, PictureFormat::png, PictureFormat::bmp}) {
    for (const bool smooth : {true, false}) {
      for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line << " " << c.what << " format "
                                        << static_cast<int>(format) << " smooth " << smooth);
        Records records;
        c.change(records);
        const PictureOptions options{format, 1.0, smooth};
        const PictureBytes diagram = draw_diagram(records.table, records.disp, KESTRA_KIND_BARS, options);
        EXPECT_EQ(diagram.status, c.diagram);
        EXPECT_EQ(diagram.bytes.empty(), c.diagram != KESTRA_OK);
        EXPECT_EQ(draw_plot(c.expression, records.plot, options).status, c.plot);
        // The bitmap form agrees.
        HBITMAP bitmap = nullptr;
        EXPECT_EQ(CreateDiag(records.table, records.disp, &bitmap, 1, KESTRA_KIND_BARS), c.diagram);
        if (bitmap) DeleteObject(bitmap);
        EXPECT_EQ(CreateGraph(const_cast<char*>(c.expression), records.plot, &bitmap, 1), c.plot);
        if (bitmap) DeleteObject(bitmap);
      }
    }
  }
}

TEST(VectorApi, ScaleMustGiveAPicture) {
  Records records;
  struct Case {
    int line;
    double scale;
    int expected;
  };
  const Case cases[] = {
      {__LINE__, 1.0, KESTRA_OK},     {__LINE__, 0.5, KESTRA_OK},
      {__LINE__, 0.0, KESTRA_NO_BITMAP}, {__LINE__, -2.0, KESTRA_NO_BITMAP},
      {__LINE__, NAN, KESTRA_NO_BITMAP}, {__LINE__, INFINITY, KESTRA_NO_BITMAP},
      {__LINE__, 0.001, KESTRA_OK},         // a picture of one pixel
      {__LINE__, 300.0, KESTRA_NO_BITMAP},  // 36000 x 24000: more than a bitmap's side
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const int expected = c.expected;
    EXPECT_EQ(draw_diagram(records.table, records.disp, KESTRA_KIND_BARS, {PictureFormat::svg, c.scale, true})
                  .status,
              expected);
    EXPECT_EQ(draw_plot("y=x", records.plot, {PictureFormat::png, c.scale, true}).status, expected);
  }
}

TEST(VectorApi, ExactPngIsTheBitmap) {
  Records records;
  TempDir dir;
  const PictureBytes png = draw_diagram(records.table, records.disp, KESTRA_KIND_BARS,
                                        {PictureFormat::png, 1.0, false});
  ASSERT_EQ(png.status, KESTRA_OK);
  std::ofstream(dir.file("exact.png"), std::ios::binary) << png.bytes;
  const auto image = load_png(dir.file("exact.png"));
  ASSERT_TRUE(image);
  HBITMAP bitmap = nullptr;
  ASSERT_EQ(CreateDiag(records.table, records.disp, &bitmap, 1, KESTRA_KIND_BARS), KESTRA_OK);
  const std::vector<COLORREF> pixels = read_pixels(bitmap, 120, 80);
  DeleteObject(bitmap);
  ASSERT_EQ(image->pixels.size(), pixels.size());
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const COLORREF c = pixels[i];
    ASSERT_EQ(image->pixels[i], (std::uint32_t{GetRValue(c)} << 16) | (GetGValue(c) << 8) | GetBValue(c))
        << "pixel " << i;
  }
}

TEST(VectorApi, ScaledPicturesHaveScaledSizes) {
  Records records;
  TempDir dir;
  for (const bool smooth : {true, false}) {
    const PictureBytes png = draw_plot("y=x", records.plot, {PictureFormat::png, 2.5, smooth});
    ASSERT_EQ(png.status, KESTRA_OK);
    std::ofstream(dir.file("scaled.png"), std::ios::binary) << png.bytes;
    const auto image = load_png(dir.file("scaled.png"));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 300);
    EXPECT_EQ(image->height, 200);
  }
  const PictureBytes bmp = draw_plot("y=x", records.plot, {PictureFormat::bmp, 2.0, true});
  ASSERT_EQ(bmp.status, KESTRA_OK);
  ASSERT_GE(bmp.bytes.size(), 54u);
  EXPECT_EQ(bmp.bytes.substr(0, 2), "BM");
  EXPECT_EQ(bmp.bytes.size(), 54u + 240u * 3 * 160);
  const std::string svg = draw_plot("y=x", records.plot, {PictureFormat::svg, 2.0, true}).bytes;
  EXPECT_NE(svg.find("width=\"240\" height=\"160\" viewBox=\"0 0 120 80\""), std::string::npos) << svg;
}

TEST(VectorApi, FilesAreReplacedWholeOrLeftAlone) {
  Records records;
  TempDir dir;
  const std::string path = dir.file("chart.svg");
  std::ofstream(path) << "old";
  // A refused expression writes nothing.
  EXPECT_EQ(save_plot(path, "y=(x", records.plot, {}), KESTRA_BAD_EXPRESSION);
  EXPECT_EQ(read_file_bytes(path), std::vector<std::uint8_t>({'o', 'l', 'd'}));
  // A folder that does not exist cannot take the file.
  EXPECT_EQ(save_plot(dir.file("missing/chart.svg"), "y=x", records.plot, {}), KESTRA_FILE_WRITE);
  EXPECT_EQ(save_diagram("", records.table, records.disp, KESTRA_KIND_BARS, {}), KESTRA_FILE_WRITE);
  // A folder in the file's place cannot be replaced, and stays.
  std::filesystem::create_directory(dir.file("taken.pdf"));
  EXPECT_EQ(save_diagram(dir.file("taken.pdf"), records.table, records.disp, KESTRA_KIND_BARS,
                         {PictureFormat::pdf, 1.0, true}),
            KESTRA_FILE_WRITE);
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken.pdf")));
  EXPECT_EQ(save_diagram(path, records.table, records.disp, KESTRA_KIND_BARS, {}), KESTRA_OK);
  const std::vector<std::uint8_t> bytes = read_file_bytes(path);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
            draw_diagram(records.table, records.disp, KESTRA_KIND_BARS, {}).bytes);
  // Only the files asked for, no temporary one left.
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"chart.svg", "taken.pdf"}));
}

}  // namespace
}  // namespace kestra::test
