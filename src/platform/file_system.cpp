// The real file system: each call forwards to the POSIX function of its name.
#include "platform/file_system.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace kestra::platform {
namespace {

FileSystem real_file_system;
std::atomic<FileSystem*> current{&real_file_system};

}  // namespace

int FileSystem::open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t FileSystem::read(int descriptor, void* data, std::size_t size) {
  return ::read(descriptor, data, size);
}
ssize_t FileSystem::write(int descriptor, const void* data, std::size_t size) {
  return ::write(descriptor, data, size);
}
int FileSystem::fstat(int descriptor, struct stat* status) { return ::fstat(descriptor, status); }
int FileSystem::fchmod(int descriptor, mode_t mode) { return ::fchmod(descriptor, mode); }
int FileSystem::fsync(int descriptor) { return ::fsync(descriptor); }
int FileSystem::start_writeback([[maybe_unused]] int descriptor, [[maybe_unused]] off_t offset,
                                [[maybe_unused]] off_t size) {
#if defined(__linux__) && defined(SYNC_FILE_RANGE_WRITE)
  return ::sync_file_range(descriptor, offset, size, SYNC_FILE_RANGE_WRITE);
#else
  return 0;
#endif
}
int FileSystem::close(int descriptor) { return ::close(descriptor); }
int FileSystem::rename(const char* from, const char* to) { return std::rename(from, to); }
int FileSystem::unlink(const char* path) { return ::unlink(path); }

FileSystem& file_system() { return *current.load(std::memory_order_acquire); }

FileSystem* replace_file_system(FileSystem* replacement) {
  FileSystem* previous =
      current.exchange(replacement ? replacement : &real_file_system, std::memory_order_acq_rel);
  return previous == &real_file_system ? nullptr : previous;
}

}  // namespace kestra::platform
