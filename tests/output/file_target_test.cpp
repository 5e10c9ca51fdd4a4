// CreateDiag's file form: the bytes written, drawing over a stored picture,
// and what every refusal and failure leaves on disk.
#include <gtest/gtest.h>


#include "diagram/diagram_fixture.h"
#include "output/target_checks.h"
#include "support/system_files.h"
#include "support/temp_dir.h"

namespace kestra::test {
namespace {

std::uint32_t u32_at(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | std::uint32_t{bytes[at + 3]} << 24;
}

int save(const DiagramInput& input, const std::string& path, unsigned long mode,
         const DIAG_DISP* disp = nullptr) {
  return CreateDiag(input.table, disp ? *disp : input.disp, const_cast<char*>(path.c_str()), mode,
                    KESTRA_KIND_BARS);
}

// Every byte of the file: header fields, then rows bottom-up in blue, green,
// red order with zero fill, matching the picture the bitmap form draws.
void expect_bmp_of_picture(int width, int height, std::uint32_t row_size) {
  DiagramInput input(2, 4, {1, 3, 2, 4, 2, 1, 3, 2}, 0x3FF);
  input.disp.rcPicture = {0, 0, width, height};
  const Picture picture(input.table, input.disp, KESTRA_KIND_BARS);
  ASSERT_EQ(picture.status, KESTRA_OK);
  TempDir dir;
  NoLeakedObjects no_leaks;
  ASSERT_EQ(save(input, dir.file("p.bmp"), 1), KESTRA_OK);
  const auto bytes = read_file_bytes(dir.file("p.bmp"));

  const std::uint32_t image_size = row_size * static_cast<std::uint32_t>(height);
  ASSERT_EQ(bytes.size(), 54 + image_size);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(u32_at(bytes, 2), 54 + image_size);
  EXPECT_EQ(u32_at(bytes, 6), 0u);  // both reserved words
  EXPECT_EQ(u32_at(bytes, 10), 54u);
  EXPECT_EQ(u32_at(bytes, 14), 40u);
  EXPECT_EQ(u32_at(bytes, 18), static_cast<std::uint32_t>(width));
  EXPECT_EQ(u32_at(bytes, 22), static_cast<std::uint32_t>(height));
  EXPECT_EQ(u32_at(bytes, 26), 1u | 24u << 16);  // planes, bits per pixel
  EXPECT_EQ(u32_at(bytes, 30), 0u);
  EXPECT_EQ(u32_at(bytes, 34), image_size);
  for (std::size_t at = 38; at < 54; at += 4) EXPECT_EQ(u32_at(bytes, at), 0u) << at;

  int coloured = 0;
  for (int y = 0; y < height; ++y) {
    const std::size_t row = 54 + std::size_t{row_size} * static_cast<std::size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = &bytes[row + 3 * static_cast<std::size_t>(x)];
      ASSERT_EQ(RGB(p[2], p[1], p[0]), picture.at(x, y)) << "pixel " << x << "," << y;
      coloured += picture.at(x, y) != 0;
    }
    for (std::size_t fill = 3 * static_cast<std::size_t>(width); fill < row_size; ++fill) {
      EXPECT_EQ(bytes[row + fill], 0) << "row " << y;
    }
  }
  EXPECT_GT(coloured, 0);  // the comparison saw a drawn picture
}

TEST(DiagramFile, TenByTenFileIs374Bytes) { expect_bmp_of_picture(10, 10, 32); }

TEST(DiagramFile, RowOf101PixelsEndsWithOneFillByte) { expect_bmp_of_picture(101, 7, 304); }

// 300 000 bytes of rows: converted and written in more than one band.
TEST(DiagramFile, RowsKeepTheirOrderAcrossBands) { expect_bmp_of_picture(1000, 100, 3000); }

TEST(DiagramFile, NewPictureReplacesAnExistingFileCompletely) {
  DiagramInput input(2, 4, {1, 3, 2, 4, 2, 1, 3, 2}, 0x3FF);
  TempDir dir;
  write_file_bytes(dir.file("p.bmp"), std::vector<std::uint8_t>(500000, 0xAB));
  ASSERT_EQ(save(input, dir.file("p.bmp"), 9), KESTRA_OK);  // 9 counts as 1
  ASSERT_EQ(save(input, dir.file("fresh.bmp"), 1), KESTRA_OK);
  EXPECT_EQ(read_file_bytes(dir.file("p.bmp")), read_file_bytes(dir.file("fresh.bmp")));
  EXPECT_EQ(read_file_bytes(dir.file("p.bmp")).size(), 54u + 900u * 200u);
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"fresh.bmp", "p.bmp"}));
}

TEST(DiagramFile, LongestFileNameIsWritten) {
  DiagramInput input(2, 4, {1, 3, 2, 4, 2, 1, 3, 2}, 0x3FF);
  TempDir dir;
  const std::string name = std::string(251, 'n') + ".bmp";  // 255 bytes, the usual limit
  NoLeakedObjects no_leaks;
  ASSERT_EQ(save(input, dir.file(name), 1), KESTRA_OK);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{name});
}

TEST(DiagramFile, DrawsOverTheStoredPicture) {
  DiagramInput input(2, 4, {1, 3, 2, 4, 2, 1, 3, 2}, 0x01C);  // axes, arrows and bars only
  TempDir dir;
  const auto stored = stored_picture(300, 200);
  write_file_bytes(dir.file("p.bmp"), stored);
  {
    NoLeakedObjects no_leaks;
    ASSERT_EQ(save(input, dir.file("p.bmp"), 2), KESTRA_OK);
  }
  // The bitmap form drawing over the same picture gives the same pixels.
  HBITMAP bitmap = bitmap_of(stored, 300, 200);
  ASSERT_EQ(CreateDiag(input.table, input.disp, &bitmap, 2, KESTRA_KIND_BARS), KESTRA_OK);
  const Pixels expected = take_pixels(bitmap, 300, 200);
  expect_file_holds(dir.file("p.bmp"), expected);
  const auto [kept, drawn] = kept_and_drawn(expected);
  EXPECT_EQ(expected.at(0, 0), stored_color(0, 0));  // outside the plot area
  EXPECT_GT(kept, 300 * 200 / 2);
  EXPECT_GT(drawn, 1000);
}

TEST(DiagramFile, RefusalsLeaveTheFileAsItWas) {
  DiagramInput input(2, 4, {1, 3, 2, 4, 2, 1, 3, 2}, 0x3FF);
  DIAG_DISP smaller = input.disp;
  smaller.rcPicture = {0, 0, 299, 200};
  const TAB_GR no_rows{0, 4, input.values.data()};
  const auto diagram = [](const TAB_GR& table, const DIAG_DISP& disp, unsigned long mode) {
    return [=](char* path) { return CreateDiag(table, disp, path, mode, KESTRA_KIND_BARS); };
  };
  const auto picture = stored_picture(300, 200);
  expect_file_refusals({
      {__LINE__, picture, diagram(input.table, input.disp, 0), KESTRA_MODE_ZERO},
      {__LINE__, picture, diagram(input.table, input.disp, 8), KESTRA_MODE_ZERO},
      {__LINE__, picture, diagram(input.table, input.disp, 3), KESTRA_MODE_UNKNOWN},
      {__LINE__, picture, diagram(no_rows, input.disp, 1), KESTRA_BAD_TABLE},
      {__LINE__, picture, diagram(no_rows, input.disp, 2), KESTRA_BAD_TABLE},
      {__LINE__, picture, diagram(input.table, smaller, 2), KESTRA_PICTURE_SIZE},
      {__LINE__, stored_picture(300, 201), diagram(input.table, input.disp, 2),
       KESTRA_PICTURE_SIZE},
      {__LINE__, {'n', 'o', 't', ' ', 'B', 'M', 'P'}, diagram(input.table, input.disp, 2),
       KESTRA_FILE_LOAD},
      {__LINE__, {}, diagram(input.table, input.disp, 2), KESTRA_FILE_LOAD},
  });
}

TEST(DiagramFile, StoredPictureOfTheSizeIsAcceptedWherePlaced) {
  DiagramInput input(2, 4, {1, 3, 2, 4, 2, 1, 3, 2}, 0x3FF);
  input.disp.rcPicture = {10, 20, 310, 220};
  TempDir dir;
  write_file_bytes(dir.file("p.bmp"), stored_picture(300, 200));
  NoLeakedObjects no_leaks;
  EXPECT_EQ(save(input, dir.file("p.bmp"), 2), KESTRA_OK);
}

TEST(DiagramFile, MissingPictureIsNotCreated) {
  DiagramInput input(2, 4, {1, 3, 2, 4, 2, 1, 3, 2}, 0x3FF);
  TempDir dir;
  NoLeakedObjects no_leaks;
  EXPECT_EQ(save(input, dir.file("missing.bmp"), 2), KESTRA_FILE_LOAD);
  EXPECT_EQ(CreateDiag(input.table, input.disp, static_cast<char*>(nullptr), 2, 1),
            KESTRA_FILE_LOAD);
  EXPECT_TRUE(dir.entries().empty());
}

TEST(DiagramFile, UnwritablePathsReportWriteFailure) {
  DiagramInput input(2, 4, {1, 3, 2, 4, 2, 1, 3, 2}, 0x3FF);
  TempDir dir;
  std::filesystem::create_directory(dir.file("folder"));
  NoLeakedObjects no_leaks;
  EXPECT_EQ(save(input, dir.file("no/such/dir/p.bmp"), 1), KESTRA_FILE_WRITE);
  EXPECT_EQ(save(input, dir.file("folder"), 1), KESTRA_FILE_WRITE);  // a directory, even for root
  EXPECT_EQ(save(input, dir.file("folder") + "/", 1), KESTRA_FILE_WRITE);
  EXPECT_EQ(save(input, "", 1), KESTRA_FILE_WRITE);
  EXPECT_EQ(CreateDiag(input.table, input.disp, static_cast<char*>(nullptr), 1, 1),
            KESTRA_FILE_WRITE);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"folder"});
  EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "folder"));
}

TEST(DiagramFile, FailedWriteKeepsTheOldPictureByteForByte) {
  DiagramInput input(2, 4, {1, 3, 2, 4, 2, 1, 3, 2}, 0x3FF);
  TempDir dir;
  const auto stored = stored_picture(300, 200);
  write_file_bytes(dir.file("p.bmp"), stored);
  NoLeakedObjects no_leaks;
  for (unsigned long mode : {1ul, 2ul}) {
    SCOPED_TRACE(mode);
    int status;
    {
      FileSizeLimit limit(64 * 1024);  // the 180 054-byte picture stops a third of the way
      if (!limit.set()) GTEST_SKIP() << "no limit on the size of written files here";
      status = save(input, dir.file("p.bmp"), mode);
    }
    EXPECT_EQ(status, KESTRA_FILE_WRITE);
    expect_untouched(dir, dir.file("p.bmp"), {"p.bmp"}, stored);
  }
}

}  // namespace
}  // namespace kestra::test
