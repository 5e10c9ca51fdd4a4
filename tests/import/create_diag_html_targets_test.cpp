// CreateDiagHTML's surface and file forms: what CreateDiag's forms make from
// the same numbers, and the table released when they refuse.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "diagram/diagram_fixture.h"
#include "import/html_test_files.h"
#include "support/memory_surface.h"

namespace kestra::test {
namespace {

using namespace html_files;

const char* const two_rows =
    "<table><tr><td>12.5<td>30<td>7<td>22</tr><tr><td>4<td>18.25<td>26<td>-3</tr></table>";

// A memory surface deleted at the end of the scope.
class Surface {
 public:
  Surface() : surface_(CreateMemorySurface(300, 200)) {}
  ~Surface() { DeleteMemorySurface(surface_); }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  IDirectDrawSurface* get() const { return surface_; }
  std::vector<COLORREF> pixels() const {
    return read_pixels(MemorySurfaceBitmap(surface_), 300, 200);
  }

 private:
  IDirectDrawSurface* surface_;
};

int draw_html(const std::string& html, const DIAG_DISP& disp, IDirectDrawSurface* surface,
              unsigned long mode, unsigned long kind) {
  return CreateDiagHTML(const_cast<char*>(html.c_str()), disp, surface, mode, kind);
}

int draw_html(const std::string& html, const DIAG_DISP& disp, std::string bmp, unsigned long mode,
              unsigned long kind) {
  return CreateDiagHTML(const_cast<char*>(html.c_str()), disp, bmp.data(), mode, kind);
}

int draw_table(const TAB_GR& table, const DIAG_DISP& disp, std::string bmp, unsigned long mode,
               unsigned long kind) {
  return CreateDiag(table, disp, bmp.data(), mode, kind);
}

// Two rows of four numbers as an HTML file and as the table CreateDiag gets,
// and a file of one column.
class CreateDiagHTMLTargets : public testing::Test {
 protected:
  const TempDir folder;
  const std::string html = write_text(folder, "sales.html", two_rows);
  const std::string one_column = write_text(folder, "one.html", "<tr><td>1</td></tr>");
  DiagramInput input{2, 4, {12.5, 30, 7, 22, 4, 18.25, 26, -3}, 0x3FF};
};

TEST_F(CreateDiagHTMLTargets, SurfaceFormCopiesCreateDiagsPicture) {
  for (unsigned long kind : {KESTRA_KIND_LINES, KESTRA_KIND_LINES_MARKERS, KESTRA_KIND_BARS}) {
    SCOPED_TRACE(kind);
    NoLeakedObjects guard;
    const Surface untouched, expected, actual;
    ASSERT_EQ(CreateDiag(input.table, input.disp, expected.get(), 2, kind), KESTRA_OK);
    ASSERT_EQ(draw_html(html, input.disp, actual.get(), 2, kind), KESTRA_OK);
    EXPECT_EQ(actual.pixels(), expected.pixels());
    EXPECT_NE(actual.pixels(), untouched.pixels());
  }
}

TEST_F(CreateDiagHTMLTargets, SurfaceFormRefusalsLeaveTheSurfaceAlone) {
  struct Case {
    int line;
    const std::string& html;
    unsigned long mode;
    int expected;
  };
  const Case cases[] = {
      {__LINE__, html, 1, KESTRA_SURFACE_MODE_NEW}, {__LINE__, html, 9, KESTRA_SURFACE_MODE_NEW},
      {__LINE__, html, 0, KESTRA_MODE_ZERO},        {__LINE__, html, 3, KESTRA_MODE_UNKNOWN},
      {__LINE__, one_column, 2, KESTRA_BAD_TABLE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    NoLeakedObjects guard;
    const Surface untouched, surface;
    EXPECT_EQ(draw_html(c.html, input.disp, surface.get(), c.mode, KESTRA_KIND_BARS), c.expected);
    EXPECT_EQ(surface.pixels(), untouched.pixels());
  }
}

TEST_F(CreateDiagHTMLTargets, FileFormWritesCreateDiagsFile) {
  for (unsigned long kind : {KESTRA_KIND_LINES, KESTRA_KIND_LINES_MARKERS, KESTRA_KIND_BARS}) {
    SCOPED_TRACE(kind);
    NoLeakedObjects guard;
    const std::string expected = folder.file("expected.bmp"), actual = folder.file("actual.bmp");
    ASSERT_EQ(draw_table(input.table, input.disp, expected, 1, kind), KESTRA_OK);
    ASSERT_EQ(draw_html(html, input.disp, actual, 1, kind), KESTRA_OK);
    const std::vector<std::uint8_t> bytes = read_file_bytes(actual);
    EXPECT_EQ(bytes.size(), 54u + 900u * 200u);
    EXPECT_EQ(bytes, read_file_bytes(expected));
  }
}

TEST_F(CreateDiagHTMLTargets, FileFormDrawsOverTheStoredPicture) {
  DiagramInput stored(1, 2, {5, 1}, 0x3FF);
  input.disp.fillBackground = 0;
  NoLeakedObjects guard;
  const std::string expected = folder.file("expected.bmp"), actual = folder.file("actual.bmp");
  for (const std::string& path : {expected, actual}) {
    ASSERT_EQ(draw_table(stored.table, stored.disp, path, 1, KESTRA_KIND_BARS), KESTRA_OK);
  }
  const std::vector<std::uint8_t> before = read_file_bytes(actual);
  ASSERT_EQ(draw_table(input.table, input.disp, expected, 2, KESTRA_KIND_LINES), KESTRA_OK);
  ASSERT_EQ(draw_html(html, input.disp, actual, 2, KESTRA_KIND_LINES), KESTRA_OK);
  EXPECT_EQ(read_file_bytes(actual), read_file_bytes(expected));
  EXPECT_NE(read_file_bytes(actual), before);
}

TEST_F(CreateDiagHTMLTargets, FileFormRefusalsWriteNothing) {
  const std::string bmp = folder.file("out.bmp");
  NoLeakedObjects guard;
  EXPECT_EQ(draw_html(html, input.disp, bmp, 0, KESTRA_KIND_BARS), KESTRA_MODE_ZERO);
  EXPECT_EQ(draw_html(html, input.disp, bmp, 3, KESTRA_KIND_BARS), KESTRA_MODE_UNKNOWN);
  EXPECT_EQ(draw_html(one_column, input.disp, bmp, 1, KESTRA_KIND_BARS), KESTRA_BAD_TABLE);
  EXPECT_EQ(draw_html(html, input.disp, bmp, 2, KESTRA_KIND_BARS),
            KESTRA_FILE_LOAD);  // nothing to draw over
  EXPECT_FALSE(std::filesystem::exists(bmp));
}

// The file is read before the target form looks at its mode.
TEST_F(CreateDiagHTMLTargets, ReaderFailuresComeFirst) {
  const std::string missing = folder.file("missing.html");
  const std::string empty = write_text(folder, "empty.html", "");
  const std::string bmp = folder.file("out.bmp");
  NoLeakedObjects guard;
  for (const std::string& path : {missing, empty}) {
    const int expected = path == missing ? KESTRA_HTML_OPEN : KESTRA_HTML_NO_TABLE;
    const Surface untouched, surface;
    EXPECT_EQ(draw_html(path, input.disp, surface.get(), 1, KESTRA_KIND_BARS), expected);
    EXPECT_EQ(surface.pixels(), untouched.pixels());
    EXPECT_EQ(draw_html(path, input.disp, bmp, 0, KESTRA_KIND_BARS), expected);
    EXPECT_FALSE(std::filesystem::exists(bmp));
  }
}

}  // namespace
}  // namespace kestra::test
