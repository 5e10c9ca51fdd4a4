// The file forms on a real file system that has filled up. KESTRA_FULL_DISK_DIR
// names an empty directory on a small file system of its own (mounted by
// scripts/test-full-disk.sh); without it the test is skipped.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/export_calls.h"

namespace kestra::test {
namespace {

constexpr std::size_t kPictureBytes = 54 + kCallWidth * 3 * kCallHeight;

// A file that takes the file system's free space, all of it or all but
// `spare` bytes; removed at the end of the scope.
class Filler {
 public:
  Filler(std::string path, off_t spare) : path_(std::move(path)) {
    const int descriptor = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (descriptor < 0) return;
    const std::vector<char> block(1 << 16, 'f');
    off_t size = 0;
    // Smaller and smaller writes until not even one byte fits.
    for (std::size_t piece = block.size(); piece > 0; piece /= 2) {
      for (ssize_t written; (written = ::write(descriptor, block.data(), piece)) > 0;) {
        size += written;
      }
    }
    full_ = errno == ENOSPC && ::ftruncate(descriptor, size - std::min(size, spare)) == 0;
    ::close(descriptor);
  }
  ~Filler() { ::unlink(path_.c_str()); }
  Filler(const Filler&) = delete;
  Filler& operator=(const Filler&) = delete;

  bool full() const { return full_; }
  void free_space() { ::unlink(path_.c_str()); }

 private:
  std::string path_;
  bool full_ = false;
};

struct FileCall {
  const char* name;
  std::function<int(char* path)> draw;
};

std::vector<FileCall> file_calls() {
  const ExportInputs& in = export_inputs();
  const auto diagram = [&in](unsigned long mode) {
    return [&in, mode](char* path) {
      return CreateDiag(in.diagram.table, in.diagram.disp, path, mode, KESTRA_KIND_BARS);
    };
  };
  const auto plot = [&in](unsigned long mode) {
    return [&in, mode](char* path) {
      return CreateGraph(const_cast<char*>("y=sin(x)*2"), in.plot, path, mode);
    };
  };
  return {{"CreateDiag new picture", diagram(1)}, {"CreateDiag drawn over", diagram(2)},
          {"CreateGraph new picture", plot(1)}, {"CreateGraph drawn over", plot(2)}};
}

TEST(FullDisk, WriteFailsKeepsTheStoredPictureAndSucceedsOnceFreed) {
  const char* where = std::getenv("KESTRA_FULL_DISK_DIR");
  if (!where) GTEST_SKIP() << "KESTRA_FULL_DISK_DIR is not set (scripts/test-full-disk.sh sets it)";
  const std::filesystem::path dir(where);
  std::string path = (dir / "p.bmp").string();
  const std::string filler_path = (dir / "filler").string();
  const std::vector<std::uint8_t> stored = stored_picture(kCallWidth, kCallHeight);
  // No space at all, and space for half a picture: the write fails at once
  // or part way through the rows.
  for (const off_t spare : {off_t{0}, static_cast<off_t>(kPictureBytes / 2)}) {
    for (const FileCall& call : file_calls()) {
      SCOPED_TRACE(std::string(call.name) + ", spare bytes " + std::to_string(spare));
      write_file_bytes(path, stored);
      Filler filler(filler_path, spare);
      ASSERT_TRUE(filler.full()) << "the file system under " << where << " did not fill up";
      EXPECT_EQ(call.draw(path.data()), KESTRA_FILE_WRITE);
      EXPECT_EQ(read_file_bytes(path), stored);
      std::vector<std::string> entries;
      for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        entries.push_back(entry.path().filename().string());
      }
      std::sort(entries.begin(), entries.end());
      EXPECT_EQ(entries, (std::vector<std::string>{"filler", "p.bmp"}));

      filler.free_space();
      EXPECT_EQ(call.draw(path.data()), KESTRA_OK);
      const std::vector<std::uint8_t> drawn = read_file_bytes(path);
      EXPECT_EQ(drawn.size(), kPictureBytes);
      EXPECT_NE(drawn, stored);
    }
  }
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace kestra::test
