// Files replaced whole: flushed before and after the rename, with the
// replaced file's permission bits, and through symbolic links to the file
// they name.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "output/output.h"
#include "support/faulty_file_system.h"
#include "support/temp_dir.h"

namespace kestra::test {
namespace {

namespace fs = std::filesystem;
using output::ReplacingFile;

const std::vector<std::uint8_t> kOld(300, 0x11);
const std::vector<std::uint8_t> kNew{'n', 'e', 'w', ' ', 'f', 'i', 'l', 'e'};

bool replace_with(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  ReplacingFile file(path);
  return file.write(bytes.data(), bytes.size()) && file.commit();
}

mode_t permissions_of(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

TEST(ReplacingFile, DataReachTheDiskBeforeTheRenameAndTheRenameAfter) {
  TempDir dir;
  write_file_bytes(dir.file("p.bmp"), kOld);
  FaultyFileSystem files(FileFault::none);
  ASSERT_TRUE(replace_with(dir.file("p.bmp"), kNew));
  const std::vector<std::string> expected{
      "open temporary",  "fsync temporary", "close temporary", "rename",
      "open directory", "fsync directory", "close directory"};
  EXPECT_EQ(files.log(), expected);
  EXPECT_EQ(read_file_bytes(dir.file("p.bmp")), kNew);
}

// A large file is sent to the disk in whole pieces as it is written, each
// range once and in order; a refused hint changes nothing.
TEST(ReplacingFile, LargeFilesAreSentToTheDiskWhileBeingWritten) {
  std::vector<std::uint8_t> bytes(9 * 1024 * 1024 + 5);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  for (const FileFault fault : {FileFault::none, FileFault::writeback_fails}) {
    SCOPED_TRACE(static_cast<int>(fault));
    TempDir dir;
    write_file_bytes(dir.file("p.bmp"), kOld);
    FaultyFileSystem files(fault);
    {
      ReplacingFile file(dir.file("p.bmp"));
      constexpr std::size_t piece = 1024 * 1024 + 3;
      for (std::size_t at = 0; at < bytes.size(); at += piece) {
        ASSERT_TRUE(file.write(bytes.data() + at, std::min(piece, bytes.size() - at)));
      }
      ASSERT_TRUE(file.commit());
    }
    off_t next = 0;
    for (const auto& [offset, size] : files.writebacks()) {
      EXPECT_EQ(offset, next);
      EXPECT_GE(size, off_t{4} << 20);
      next = offset + size;
    }
    EXPECT_EQ(files.writebacks().size(), 2u);
    EXPECT_EQ(read_file_bytes(dir.file("p.bmp")), bytes);
  }
}

TEST(ReplacingFile, RelativeNameFlushesTheWorkingDirectory) {
  TempDir dir;
  const fs::path previous = fs::current_path();
  fs::current_path(dir.path());
  {
    FaultyFileSystem files(FileFault::none);
    EXPECT_TRUE(replace_with("p.bmp", kNew));
    EXPECT_EQ(std::count(files.log().begin(), files.log().end(), "fsync directory"), 1);
  }
  fs::current_path(previous);
  EXPECT_EQ(read_file_bytes(dir.file("p.bmp")), kNew);
}

TEST(ReplacingFile, ReplacedFileKeepsItsPermissionBits) {
  const mode_t modes[] = {0600, 0640, 0604, 0755, 0444};
  for (const mode_t mode : modes) {
    SCOPED_TRACE(mode);
    TempDir dir;
    const std::string path = dir.file("p.bmp");
    write_file_bytes(path, kOld);
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    ASSERT_TRUE(replace_with(path, kNew));
    EXPECT_EQ(permissions_of(path), mode);
    EXPECT_EQ(read_file_bytes(path), kNew);
  }
}

// Where the bits cannot be set, a file is replaced only when the new one
// has them anyway.
TEST(ReplacingFile, PermissionsThatCannotBeSet) {
  const mode_t mask = ::umask(022);
  const struct {
    int line;
    mode_t mode;
    bool replaced;
  } cases[] = {
      {__LINE__, 0644, true},   // what a new file gets under this mask
      {__LINE__, 0600, false},  // a private picture never becomes readable to others
      {__LINE__, 0444, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    TempDir dir;
    const std::string path = dir.file("p.bmp");
    write_file_bytes(path, kOld);
    ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
    FaultyFileSystem files(FileFault::fchmod_fails);
    EXPECT_EQ(replace_with(path, kNew), c.replaced);
    EXPECT_EQ(read_file_bytes(path), c.replaced ? kNew : kOld);
    EXPECT_EQ(permissions_of(path), c.mode);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"p.bmp"});
  }
  ::umask(mask);
}

TEST(ReplacingFile, NewFileGetsTheUsualPermissions) {
  TempDir dir;
  const mode_t mask = ::umask(022);
  const bool replaced = replace_with(dir.file("p.bmp"), kNew);
  ::umask(mask);
  ASSERT_TRUE(replaced);
  EXPECT_EQ(permissions_of(dir.file("p.bmp")), 0644u);
}

struct LinkCase {
  int line;
  std::vector<std::pair<std::string, std::string>> links;  // link name, what it names
  std::string written;   // the name written to
  std::string reached;   // the file that must hold the new bytes
};

TEST(ReplacingFile, SymbolicLinksAreWrittenThrough) {
  const LinkCase cases[] = {
      {__LINE__, {{"link.bmp", "p.bmp"}}, "link.bmp", "p.bmp"},
      // A link to a link, and a link into another directory.
      {__LINE__, {{"a.bmp", "b.bmp"}, {"b.bmp", "p.bmp"}}, "a.bmp", "p.bmp"},
      {__LINE__, {{"link.bmp", "sub/p.bmp"}}, "link.bmp", "sub/p.bmp"},
      {__LINE__, {{"sub/link.bmp", "../p.bmp"}}, "sub/link.bmp", "p.bmp"},
      // A link naming a file not there yet creates that file.
      {__LINE__, {{"link.bmp", "new.bmp"}}, "link.bmp", "new.bmp"},
  };
  for (const LinkCase& c : cases) {
    SCOPED_TRACE(c.line);
    TempDir dir;
    fs::create_directory(dir.path() / "sub");
    write_file_bytes(dir.file("p.bmp"), kOld);
    write_file_bytes(dir.file("sub/p.bmp"), kOld);
    ASSERT_EQ(::chmod(dir.file(c.reached).c_str(), 0640), c.reached == "new.bmp" ? -1 : 0);
    for (const auto& [link, target] : c.links) fs::create_symlink(target, dir.path() / link);

    ASSERT_TRUE(replace_with(dir.file(c.written), kNew));
    EXPECT_EQ(read_file_bytes(dir.file(c.reached)), kNew);
    for (const auto& [link, target] : c.links) {
      EXPECT_TRUE(fs::is_symlink(dir.path() / link)) << link;
      EXPECT_EQ(fs::read_symlink(dir.path() / link), target);
    }
    if (c.reached != "new.bmp") {
      EXPECT_EQ(permissions_of(dir.file(c.reached)), 0640u);
    }
    // No temporary file left beside the target or the link.
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
      if (!entry.is_directory()) {
        EXPECT_EQ(entry.path().extension(), ".bmp") << entry.path();
      }
    }
  }
}

TEST(ReplacingFile, LinkLoopIsNotWritten) {
  TempDir dir;
  fs::create_symlink("b.bmp", dir.path() / "a.bmp");
  fs::create_symlink("a.bmp", dir.path() / "b.bmp");
  ReplacingFile file(dir.file("a.bmp"));
  EXPECT_FALSE(file.is_open());
  EXPECT_FALSE(file.write(kNew.data(), kNew.size()));
  EXPECT_FALSE(file.commit());
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"a.bmp", "b.bmp"}));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "a.bmp"));
}

TEST(ReplacingFile, UncommittedFileLeavesTheTargetAlone) {
  TempDir dir;
  write_file_bytes(dir.file("p.bmp"), kOld);
  {
    ReplacingFile file(dir.file("p.bmp"));
    ASSERT_TRUE(file.write(kNew.data(), kNew.size()));
    EXPECT_EQ(dir.entries().size(), 2u);  // the target and the temporary file
  }
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"p.bmp"});
  EXPECT_EQ(read_file_bytes(dir.file("p.bmp")), kOld);
}

}  // namespace
}  // namespace kestra::test
