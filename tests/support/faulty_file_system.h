// A file system for tests: forwards every call to the real one, logs the
// calls that matter for durability, and fails or disturbs one kind of call
// on demand. Installed for the length of its scope.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"

namespace kestra::test {

enum class FileFault {
  none,
  open_fails,        // the temporary file cannot be created (EACCES)
  write_halfway,     // the disk fills after `limit` bytes: a short write, then ENOSPC
  short_writes,      // every write takes at most 7 bytes
  interrupted,       // every other write is interrupted (EINTR) before writing
  fchmod_fails,      // permission bits cannot be set (EPERM)
  fsync_fails,       // flushing the temporary file fails (EIO)
  close_fails,       // closing the temporary file reports a deferred error (EIO)
  rename_fails,      // the rename over the target fails (EACCES)
  source_shrinks,    // a file opened for reading is cut to `limit` bytes right after
  source_vanishes,   // a file opened for reading is unlinked right after
  read_fails,        // reading fails (EIO)
  writeback_fails,   // starting the write to the disk fails (EIO)
};

class FaultyFileSystem final : public platform::FileSystem {
 public:
  explicit FaultyFileSystem(FileFault fault, std::size_t limit = 0)
      : fault_(fault), limit_(limit), previous_(platform::replace_file_system(this)) {}
  ~FaultyFileSystem() override { platform::replace_file_system(previous_); }
  FaultyFileSystem(const FaultyFileSystem&) = delete;
  FaultyFileSystem& operator=(const FaultyFileSystem&) = delete;

  // "open temporary", "fsync temporary", "close temporary", "rename",
  // "open directory", "fsync directory", ... in call order.
  const std::vector<std::string>& log() const { return log_; }
  // The byte ranges (offset, size) sent to the disk early, in call order.
  const std::vector<std::pair<off_t, off_t>>& writebacks() const { return writebacks_; }
  // Descriptors opened through this file system and not closed yet.
  std::size_t open_descriptors() const { return roles_.size(); }

  int open(const char* path, int flags, mode_t mode) override {
    const std::string role = flags & O_CREAT ? "temporary" : flags & O_DIRECTORY ? "directory" : "source";
    log_.push_back("open " + role);
    if (fault_ == FileFault::open_fails && role == "temporary") return fail(EACCES);
    const int descriptor = FileSystem::open(path, flags, mode);
    if (descriptor < 0) return descriptor;
    roles_[descriptor] = role;
    if (role == "source" && fault_ == FileFault::source_shrinks) {
      if (::truncate(path, static_cast<off_t>(limit_)) != 0) return fail(EIO);
    }
    if (role == "source" && fault_ == FileFault::source_vanishes) ::unlink(path);
    return descriptor;
  }
  ssize_t read(int descriptor, void* data, std::size_t size) override {
    if (fault_ == FileFault::read_fails) return fail(EIO);
    return FileSystem::read(descriptor, data, size);
  }
  ssize_t write(int descriptor, const void* data, std::size_t size) override {
    switch (fault_) {
      case FileFault::write_halfway:
        if (written_ >= limit_) return fail(ENOSPC);
        size = std::min(size, limit_ - written_);
        break;
      case FileFault::short_writes:
        size = std::min<std::size_t>(size, 7);
        break;
      case FileFault::interrupted:
        if (++writes_ % 2) return fail(EINTR);
        break;
      default:
        break;
    }
    const ssize_t written = FileSystem::write(descriptor, data, size);
    if (written > 0) written_ += static_cast<std::size_t>(written);
    return written;
  }
  int fchmod(int descriptor, mode_t mode) override {
    if (fault_ == FileFault::fchmod_fails) return fail(EPERM);
    return FileSystem::fchmod(descriptor, mode);
  }
  int fsync(int descriptor) override {
    log_.push_back("fsync " + roles_[descriptor]);
    if (fault_ == FileFault::fsync_fails && roles_[descriptor] == "temporary") return fail(EIO);
    return FileSystem::fsync(descriptor);
  }
  int start_writeback(int descriptor, off_t offset, off_t size) override {
    writebacks_.emplace_back(offset, size);
    if (fault_ == FileFault::writeback_fails) return fail(EIO);
    return FileSystem::start_writeback(descriptor, offset, size);
  }
  int close(int descriptor) override {
    const std::string role = roles_[descriptor];
    roles_.erase(descriptor);
    log_.push_back("close " + role);
    const int closed = FileSystem::close(descriptor);
    if (fault_ == FileFault::close_fails && role == "temporary") return fail(EIO);
    return closed;
  }
  int rename(const char* from, const char* to) override {
    log_.push_back("rename");
    if (fault_ == FileFault::rename_fails) return fail(EACCES);
    return FileSystem::rename(from, to);
  }

 private:
  static int fail(int error) {
    errno = error;
    return -1;
  }

  FileFault fault_;
  std::size_t limit_;
  platform::FileSystem* previous_;
  std::vector<std::string> log_;
  std::vector<std::pair<off_t, off_t>> writebacks_;
  std::map<int, std::string> roles_;
  std::size_t written_ = 0;
  int writes_ = 0;
};

}  // namespace kestra::test
