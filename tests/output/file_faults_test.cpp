// The file forms when the file system fails or changes under them: every
// fault gives its status, closes what it opened, leaves no stray file and
// keeps the stored picture byte for byte.
#include <gtest/gtest.h>

#include "diagram/diagram_fixture.h"
#include "output/target_checks.h"
#include "support/faulty_file_system.h"
#include "support/temp_dir.h"

namespace kestra::test {
namespace {

constexpr std::size_t kFileSize = 54 + 900 * 200;  // a 300 x 200 picture

struct FaultCase {
  int line;
  FileFault fault;
  std::size_t limit;
  unsigned long mode;
  int expected;
};

// Draws the diagram into p.bmp, which holds the stored picture, under `fault`.
void expect_fault_outcome(const FaultCase& c) {
  SCOPED_TRACE(c.line);
  DiagramInput input(2, 4, {1, 3, 2, 4, 2, 1, 3, 2}, 0x3FF);
  TempDir dir;
  const std::string path = dir.file("p.bmp");
  const auto stored = stored_picture(300, 200);
  write_file_bytes(path, stored);
  int status;
  std::size_t left_open;
  {
    FaultyFileSystem files(c.fault, c.limit);
    status = CreateDiag(input.table, input.disp, const_cast<char*>(path.c_str()), c.mode,
                        KESTRA_KIND_BARS);
    left_open = files.open_descriptors();
  }
  EXPECT_EQ(status, c.expected);
  EXPECT_EQ(left_open, 0u);
  if (c.expected != KESTRA_OK) {
    expect_untouched(dir, path, {"p.bmp"}, stored);
    return;
  }
  // A fault the writer works through gives the file a clean run gives.
  const std::string clean = dir.file("clean.bmp");
  write_file_bytes(clean, stored);
  ASSERT_EQ(CreateDiag(input.table, input.disp, const_cast<char*>(clean.c_str()), c.mode,
                       KESTRA_KIND_BARS),
            KESTRA_OK);
  EXPECT_EQ(read_file_bytes(path), read_file_bytes(clean));
  EXPECT_EQ(read_file_bytes(path).size(), kFileSize);
}

TEST(FileFaults, WritingFailuresKeepTheStoredPicture) {
  const FaultCase cases[] = {
      {__LINE__, FileFault::open_fails, 0, 1, KESTRA_FILE_WRITE},
      // The disk fills half way through the rows.
      {__LINE__, FileFault::write_halfway, kFileSize / 2, 1, KESTRA_FILE_WRITE},
      {__LINE__, FileFault::write_halfway, kFileSize / 2, 2, KESTRA_FILE_WRITE},
      // ... or within the headers, or one byte before the end.
      {__LINE__, FileFault::write_halfway, 10, 1, KESTRA_FILE_WRITE},
      {__LINE__, FileFault::write_halfway, kFileSize - 1, 1, KESTRA_FILE_WRITE},
      {__LINE__, FileFault::fsync_fails, 0, 1, KESTRA_FILE_WRITE},
      {__LINE__, FileFault::close_fails, 0, 2, KESTRA_FILE_WRITE},
      {__LINE__, FileFault::rename_fails, 0, 1, KESTRA_FILE_WRITE},
      {__LINE__, FileFault::rename_fails, 0, 2, KESTRA_FILE_WRITE},
  };
  for (const FaultCase& c : cases) expect_fault_outcome(c);
}

TEST(FileFaults, PartialAndInterruptedWritesAreCompleted) {
  const FaultCase cases[] = {
      {__LINE__, FileFault::short_writes, 0, 1, KESTRA_OK},
      {__LINE__, FileFault::interrupted, 0, 1, KESTRA_OK},
      {__LINE__, FileFault::interrupted, 0, 2, KESTRA_OK},
      // Exactly the file's size fits: the limit is never hit.
      {__LINE__, FileFault::write_halfway, kFileSize, 1, KESTRA_OK},
  };
  for (const FaultCase& c : cases) expect_fault_outcome(c);
}

TEST(FileFaults, StoredPictureChangingUnderTheReader) {
  const FaultCase cases[] = {
      // Cut after the open: the reader meets the end early and loads nothing.
      {__LINE__, FileFault::source_shrinks, kFileSize / 2, 2, KESTRA_FILE_LOAD},
      {__LINE__, FileFault::source_shrinks, 0, 2, KESTRA_FILE_LOAD},
      {__LINE__, FileFault::read_fails, 0, 2, KESTRA_FILE_LOAD},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.line);
    DiagramInput input(2, 4, {1, 3, 2, 4, 2, 1, 3, 2}, 0x3FF);
    TempDir dir;
    const std::string path = dir.file("p.bmp");
    write_file_bytes(path, stored_picture(300, 200));
    FaultyFileSystem files(c.fault, c.limit);
    EXPECT_EQ(CreateDiag(input.table, input.disp, const_cast<char*>(path.c_str()), c.mode,
                         KESTRA_KIND_BARS),
              c.expected);
    EXPECT_EQ(files.open_descriptors(), 0u);
    // Nothing written: the file is what the disturbance left.
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"p.bmp"});
    EXPECT_EQ(read_file_bytes(path).size(), c.fault == FileFault::read_fails ? kFileSize : c.limit);
  }
}

TEST(FileFaults, PictureUnlinkedAfterItsOpenIsStillReadWhole) {
  DiagramInput input(2, 4, {1, 3, 2, 4, 2, 1, 3, 2}, 0x01C);
  TempDir dir;
  const auto stored = stored_picture(300, 200);
  write_file_bytes(dir.file("p.bmp"), stored);
  write_file_bytes(dir.file("q.bmp"), stored);
  {
    FaultyFileSystem files(FileFault::source_vanishes);
    ASSERT_EQ(CreateDiag(input.table, input.disp, const_cast<char*>(dir.file("p.bmp").c_str()), 2,
                         KESTRA_KIND_BARS),
              KESTRA_OK);
    EXPECT_EQ(files.open_descriptors(), 0u);
  }
  // The open descriptor still read the picture; the drawing is written anew.
  ASSERT_EQ(CreateDiag(input.table, input.disp, const_cast<char*>(dir.file("q.bmp").c_str()), 2,
                       KESTRA_KIND_BARS),
            KESTRA_OK);
  EXPECT_EQ(read_file_bytes(dir.file("p.bmp")), read_file_bytes(dir.file("q.bmp")));
}

}  // namespace
}  // namespace kestra::test
