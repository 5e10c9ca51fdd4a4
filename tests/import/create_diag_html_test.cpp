// CreateDiagHTML: the picture of an HTML table is CreateDiag's picture of the
// same numbers; reader and drawing failures come back with their codes and
// leave nothing behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diagram/diagram_fixture.h"
#include "import/html_test_files.h"

namespace kestra::test {
namespace {

using namespace html_files;

constexpr unsigned long all_decorations = 0x3FF;

const char* const two_rows =
    "<html><body><table border=1>\n"
    "<tr><td>12.5</td><td>30</td><td>7</td><td>22</td></tr>\n"
    "<tr><TD align=right>4</TD><td>18.25</td><td>26</td><td>-3</td></tr>\n"
    "</table></body></html>\n";

int draw_html(const std::string& path, const DIAG_DISP& disp, HBITMAP* bitmap, unsigned long mode,
              unsigned long kind) {
  return CreateDiagHTML(const_cast<char*>(path.c_str()), disp, bitmap, mode, kind);
}

TEST(CreateDiagHTML, DrawsTheSamePictureAsCreateDiag) {
  const TempDir folder;
  const std::string path = write_text(folder, "sales.html", two_rows);
  DiagramInput input(2, 4, {12.5, 30, 7, 22, 4, 18.25, 26, -3}, all_decorations);
  for (unsigned long kind : {KESTRA_KIND_LINES, KESTRA_KIND_LINES_MARKERS, KESTRA_KIND_BARS}) {
    SCOPED_TRACE(kind);
    NoLeakedObjects guard;
    const Picture expected(input.table, input.disp, kind);
    ASSERT_EQ(expected.status, KESTRA_OK);
    HBITMAP bitmap = nullptr;
    ASSERT_EQ(draw_html(path, input.disp, &bitmap, 1, kind), KESTRA_OK);
    EXPECT_EQ(read_pixels(bitmap, 300, 200), expected.pixels);
    DeleteObject(bitmap);
  }
}

// A green 300 x 200 bitmap not selected into any device context.
HBITMAP green_bitmap() { return solid_bitmap(300, 200, RGB(10, 200, 90)); }

TEST(CreateDiagHTML, DrawsOverTheCallersBitmap) {
  const TempDir folder;
  const std::string path = write_text(folder, "sales.html", two_rows);
  DiagramInput input(2, 4, {12.5, 30, 7, 22, 4, 18.25, 26, -3}, 0x0FE);  // no background
  NoLeakedObjects guard;
  HBITMAP expected = green_bitmap();
  HBITMAP actual = green_bitmap();
  HBITMAP handle = expected;
  ASSERT_EQ(CreateDiag(input.table, input.disp, &handle, 2, KESTRA_KIND_BARS), KESTRA_OK);
  handle = actual;
  ASSERT_EQ(draw_html(path, input.disp, &handle, 2, KESTRA_KIND_BARS), KESTRA_OK);
  EXPECT_EQ(handle, actual);
  const std::vector<COLORREF> pixels = read_pixels(actual, 300, 200);
  EXPECT_EQ(pixels, read_pixels(expected, 300, 200));
  EXPECT_EQ(pixels.front(), RGB(10, 200, 90));  // the caller's picture shows through
  DeleteObject(expected);
  DeleteObject(actual);
}

TEST(CreateDiagHTML, FailuresKeepTheirCodes) {
  const TempDir folder;
  DiagramInput input(1, 2, {1, 2}, all_decorations);
  struct Case {
    int line;
    const char* html;  // null: no file
    unsigned long mode;
    int expected;
  };
  const Case cases[] = {
      {__LINE__, nullptr, 1, KESTRA_HTML_OPEN},
      {__LINE__, "", 1, KESTRA_HTML_NO_TABLE},
      {__LINE__, "<tr><td>1</td><!-- < -->", 1, KESTRA_HTML_NO_TABLE},
      {__LINE__, "<tr><td>1</td><td>2</td>", 0, KESTRA_MODE_ZERO},  // the reader goes first
      {__LINE__, nullptr, 0, KESTRA_HTML_OPEN},
      // The table is read, drawing refuses it, and its values are released.
      {__LINE__, "<tr><td>1</td><td>2</td>", 3, KESTRA_MODE_UNKNOWN},
      {__LINE__, "<tr><td>1</td></tr>", 1, KESTRA_BAD_TABLE},      // one column
      {__LINE__, "<tr><tr><td>1</td></tr>", 1, KESTRA_BAD_TABLE},  // no column
      {__LINE__, "<tr><td>1</td><td>2</td>", 9, KESTRA_OK},        // acts as 1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    NoLeakedObjects guard;
    const std::string path =
        c.html ? write_text(folder, "case.html", c.html) : folder.file("missing.html");
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(std::uintptr_t{0x77});
    EXPECT_EQ(draw_html(path, input.disp, &bitmap, c.mode, KESTRA_KIND_LINES), c.expected);
    if (c.expected == KESTRA_OK) {
      DeleteObject(bitmap);
    } else if (c.expected == KESTRA_HTML_OPEN || c.expected == KESTRA_HTML_NO_TABLE) {
      EXPECT_EQ(bitmap, reinterpret_cast<HBITMAP>(std::uintptr_t{0x77}));  // not touched
    }
  }
}

}  // namespace
}  // namespace kestra::test
