// The POSIX file calls of the BMP loader and the file writer, behind one
// interface that tests replace to make a chosen call fail.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>

namespace kestra::platform {

// Each member makes the system call of its name and returns what it returns
// (errno set on failure). A test derives from it and overrides a few.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual int open(const char* path, int flags, mode_t mode);
  virtual ssize_t read(int descriptor, void* data, std::size_t size);
  virtual ssize_t write(int descriptor, const void* data, std::size_t size);
  virtual int fstat(int descriptor, struct stat* status);
  virtual int fchmod(int descriptor, mode_t mode);
  virtual int fsync(int descriptor);
  // Starts writing `size` bytes from `offset` to the disk without waiting
  // (sync_file_range where there is one, else nothing); a hint that lets a
  // later fsync find less to do.
  virtual int start_writeback(int descriptor, off_t offset, off_t size);
  virtual int close(int descriptor);
  virtual int rename(const char* from, const char* to);
  virtual int unlink(const char* path);
};

// The file system every file operation goes through: the real one unless a
// test installed another.
FileSystem& file_system();

// Installs `replacement` (null: the real one again) and returns the one it
// replaces (null for the real one), so a second call restores the first.
// For tests; not meant to be called while files are being written.
FileSystem* replace_file_system(FileSystem* replacement);

}  // namespace kestra::platform
