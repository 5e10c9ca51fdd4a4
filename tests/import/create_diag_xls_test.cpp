// CreateDiagXLS in its three forms: the picture of a workbook range equals
// CreateDiag's picture of the same numbers; failures keep their codes and
// leave no object or array behind.
#include <gtest/gtest.h>

#include <string>

#include "diagram/diagram_fixture.h"
#include "import/workbook_files.h"
#include "support/memory_surface.h"

namespace kestra::test {
namespace {

constexpr unsigned long kFlags = 0x3FF;  // everything drawn: values, labels, legend, grid

// Two series over three categories at B2:D3 of the second worksheet, written
// as numbers, texts with a decimal comma and a formula with a stored result.
class RangeWorkbook : public testing::Test {
 protected:
  void SetUp() override {
    XlsxWriter book(path_);
    book.sheet("Empty");
    lxw_worksheet* sheet = book.sheet("Table");
    worksheet_write_number(sheet, 1, 1, 3, nullptr);
    worksheet_write_string(sheet, 1, 2, "7,5", nullptr);
    worksheet_write_number(sheet, 1, 3, 5, nullptr);
    worksheet_write_formula_num(sheet, 2, 1, "=B2*2", nullptr, 6);
    worksheet_write_string(sheet, 2, 2, "2.25", nullptr);
    worksheet_write_number(sheet, 2, 3, 9, nullptr);
    book.save();
  }

  TempDir folder_;
  std::string path_ = folder_.file("table.xlsx");
  DiagramInput input_{2, 3, {3, 7.5, 5, 6, 2.25, 9}, kFlags};
  EXCEL_TAB range_ = excel_tab(2, "B2:D3");
};

TEST_F(RangeWorkbook, BitmapFormDrawsCreateDiagsPicture) {
  for (const unsigned long kind :
       {KESTRA_KIND_LINES, KESTRA_KIND_LINES_MARKERS, KESTRA_KIND_BARS}) {
    SCOPED_TRACE(kind);
    NoLeakedObjects guard;
    const Picture expected(input_.table, input_.disp, kind);
    ASSERT_EQ(expected.status, KESTRA_OK);
    HBITMAP bitmap = nullptr;
    ASSERT_EQ(CreateDiagXLS(path_.data(), range_, input_.disp, &bitmap, 1, kind), KESTRA_OK);
    EXPECT_EQ(read_pixels(bitmap, expected.width, expected.height), expected.pixels);
    DeleteObject(bitmap);
  }
}

TEST_F(RangeWorkbook, FileFormWritesCreateDiagsFile) {
  NoLeakedObjects guard;
  const std::string from_workbook = folder_.file("workbook.bmp");
  const std::string from_table = folder_.file("table.bmp");
  const int status = CreateDiagXLS(path_.data(), range_, input_.disp,
                                   const_cast<char*>(from_workbook.c_str()), 1, KESTRA_KIND_BARS);
  EXPECT_EQ(status, CreateDiag(input_.table, input_.disp, const_cast<char*>(from_table.c_str()), 1,
                               KESTRA_KIND_BARS));
  if (status == KESTRA_NOT_IMPLEMENTED) GTEST_SKIP() << "no file form of CreateDiag in this build";
  ASSERT_EQ(status, KESTRA_OK);
  EXPECT_EQ(read_file_bytes(from_workbook), read_file_bytes(from_table));
}

TEST_F(RangeWorkbook, SurfaceFormDrawsCreateDiagsPicture) {
  const int width = 300, height = 200;
  IDirectDrawSurface* from_workbook = CreateMemorySurface(width, height);
  IDirectDrawSurface* from_table = CreateMemorySurface(width, height);
  if (!from_workbook || !from_table) GTEST_SKIP() << "no memory surface in this build";
  {
    NoLeakedObjects guard;
    ASSERT_EQ(CreateDiagXLS(path_.data(), range_, input_.disp, from_workbook, 2, KESTRA_KIND_LINES),
              KESTRA_OK);
    ASSERT_EQ(CreateDiag(input_.table, input_.disp, from_table, 2, KESTRA_KIND_LINES), KESTRA_OK);
    EXPECT_EQ(read_pixels(MemorySurfaceBitmap(from_workbook), width, height),
              read_pixels(MemorySurfaceBitmap(from_table), width, height));
  }
  DeleteMemorySurface(from_workbook);
  DeleteMemorySurface(from_table);
}

// An Excel 5.0/95 workbook draws CreateDiag's picture of its numbers, as its
// Excel 97 twin does (both by Gnumeric).
TEST(CreateDiagXls, DrawsExcel95WorkbooksAsTheirExcel97Twins) {
  const std::string folder = std::string(KESTRA_TEST_DATA) + "/table/";
  DiagramInput input{2, 3, {-3.25, 1e-05, 1234.5, 12, -7, 1e6}, kFlags};
  NoLeakedObjects guard;
  const Picture expected(input.table, input.disp, KESTRA_KIND_BARS);
  ASSERT_EQ(expected.status, KESTRA_OK);
  for (std::string workbook : {"gnumeric_sales_biff7.xls", "gnumeric_sales.xls"}) {
    SCOPED_TRACE(workbook);
    workbook = folder + workbook;
    HBITMAP bitmap = nullptr;
    ASSERT_EQ(CreateDiagXLS(workbook.data(), excel_tab(1, "B2:D3"), input.disp, &bitmap, 1,
                            KESTRA_KIND_BARS),
              KESTRA_OK);
    EXPECT_EQ(read_pixels(bitmap, expected.width, expected.height), expected.pixels);
    DeleteObject(bitmap);
  }
}

TEST_F(RangeWorkbook, FailuresKeepTheirCodes) {
  struct Case {
    int line;
    std::string workbook;
    EXCEL_TAB range;
    unsigned long mode;
    int expected;
  } cases[] = {
      {__LINE__, path_, excel_tab(2, "b2:d3"), 1, KESTRA_BAD_RANGE},
      {__LINE__, path_, excel_tab(2, "B2"), 1, KESTRA_BAD_RANGE},
      {__LINE__, path_, excel_tab(3, "B2:D3"), 1, KESTRA_WORKBOOK},
      {__LINE__, path_, excel_tab(0, "B2:D3"), 1, KESTRA_WORKBOOK},
      {__LINE__, folder_.file("missing.xlsx"), range_, 1, KESTRA_WORKBOOK},
      {__LINE__, path_, range_, 0, KESTRA_MODE_ZERO},  // CreateDiag's codes pass through
      {__LINE__, path_, excel_tab(2, "B2:B3"), 1, KESTRA_BAD_TABLE},  // one column
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.line);
    NoLeakedObjects guard;
    HBITMAP bitmap = nullptr;
    EXPECT_EQ(
        CreateDiagXLS(c.workbook.data(), c.range, input_.disp, &bitmap, c.mode, KESTRA_KIND_BARS),
        c.expected);
    EXPECT_EQ(bitmap, nullptr);
    const std::string out = folder_.file("out.bmp");
    const int file_status = CreateDiagXLS(c.workbook.data(), c.range, input_.disp,
                                          const_cast<char*>(out.c_str()), c.mode, KESTRA_KIND_BARS);
    if (file_status != KESTRA_NOT_IMPLEMENTED) {
      EXPECT_EQ(file_status, c.expected);
    }
    EXPECT_FALSE(std::filesystem::exists(out));
  }
  HBITMAP bitmap = nullptr;
  EXPECT_EQ(CreateDiagXLS(nullptr, range_, input_.disp, &bitmap, 1, KESTRA_KIND_BARS),
            KESTRA_WORKBOOK);
}

}  // namespace
}  // namespace kestra::test
