// Files replaced whole: written under a temporary name in the target's
// directory (so the rename stays on one file system), flushed to disk and
// renamed over it; then the directory is flushed so the rename lasts too.
#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <optional>
#include <string>
#include <system_error>

#include "output/output.h"
#include "platform/platform.h"

namespace kestra::output {
namespace {

namespace fs = std::filesystem;
using platform::file_system;

constexpr int name_attempts = 16;
constexpr int max_link_hops = 40;  // as the kernel's own limit on a path
// Written bytes are sent to the disk in pieces of this size while the rest
// is still being produced, so the final fsync waits for the last piece only.
constexpr std::int64_t writeback_piece = std::int64_t{4} << 20;

// A hidden name in the target's directory that no other writer of this
// process uses; the clock keeps other processes' names apart in practice,
// and the exclusive open below settles any clash. Its length does not depend
// on the target's, so any name that fits the directory fits here too.
fs::path temporary_name(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  const auto ticks = static_cast<unsigned long long>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  return target.parent_path() / (".kestra-" + std::to_string(ticks % 1000000007ULL) + "-" +
                                 std::to_string(counter++) + ".tmp");
}

// The file a write to `target` reaches: symbolic links are followed to the
// file they name (which may not exist yet), as an ordinary write follows
// them. Empty when the links form a loop or cannot be read.
fs::path follow_links(fs::path target) {
  for (int hop = 0; hop < max_link_hops; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(target, error))) return target;
    const fs::path next = fs::read_symlink(target, error);
    if (error) return {};
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return {};
}

// The permission bits of the file under `target`, when there is one.
std::optional<mode_t> existing_permissions(const fs::path& target) {
  std::error_code error;
  const fs::file_status status = fs::status(target, error);
  if (error || !fs::exists(status)) return std::nullopt;
  return static_cast<mode_t>(status.permissions() & fs::perms::mask);
}

// Gives the temporary file the replaced file's permission bits. Where bits
// cannot be set (file systems with fixed bits), a file that has them anyway
// will do; otherwise the file is not replaced.
bool give_permissions(int descriptor, mode_t wanted) {
  platform::FileSystem& files = file_system();
  if (files.fchmod(descriptor, wanted) == 0) return true;
  struct stat status {};
  return files.fstat(descriptor, &status) == 0 && (status.st_mode & 07777) == wanted;
}

// Flushes the directory entry of a rename. The file is whole either way, so
// a directory that cannot be flushed only leaves the rename less durable.
void sync_directory(const fs::path& directory) {
  platform::FileSystem& files = file_system();
  const int descriptor = files.open(directory.empty() ? "." : directory.c_str(),
                                    O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (descriptor < 0) return;
  files.fsync(descriptor);
  files.close(descriptor);
}

}  // namespace

ReplacingFile::ReplacingFile(const fs::path& target) : target_(follow_links(target)) {
  if (target_.empty() || !target_.has_filename()) return;
  const std::optional<mode_t> permissions = existing_permissions(target_);
  platform::FileSystem& files = file_system();
  for (int attempt = 0; attempt < name_attempts && descriptor_ < 0; ++attempt) {
    temporary_ = temporary_name(target_);
    // O_EXCL: never reuse an existing file.
    descriptor_ = files.open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor_ < 0 && errno != EEXIST) break;
  }
  if (descriptor_ < 0) {
    temporary_.clear();
    return;
  }
  if (permissions && !give_permissions(descriptor_, *permissions)) discard();
}

ReplacingFile::~ReplacingFile() { discard(); }

bool ReplacingFile::write(const void* data, std::size_t size) {
  if (descriptor_ < 0) return false;
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = file_system().write(descriptor_, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<std::size_t>(written);
    written_ += written;
  }
  if (written_ - writeback_start_ >= writeback_piece) {
    file_system().start_writeback(descriptor_, writeback_start_, written_ - writeback_start_);
    writeback_start_ = written_;
  }
  return true;
}

bool ReplacingFile::commit() {
  if (descriptor_ < 0) return false;
  platform::FileSystem& files = file_system();
  // Taken before the rename, as nothing may fail (or throw) once it is done.
  const fs::path directory = target_.parent_path();
  // The data reach the disk before the name does: a crash leaves the old
  // file or the new one.
  const bool synced = files.fsync(descriptor_) == 0;
  const bool closed = files.close(descriptor_) == 0;
  descriptor_ = -1;
  if (!synced || !closed || files.rename(temporary_.c_str(), target_.c_str()) != 0) {
    discard();
    return false;
  }
  temporary_.clear();
  sync_directory(directory);
  return true;
}

void ReplacingFile::discard() {
  platform::FileSystem& files = file_system();
  if (descriptor_ >= 0) files.close(descriptor_);
  descriptor_ = -1;
  if (!temporary_.empty()) {
    files.unlink(temporary_.c_str());
    temporary_.clear();
  }
}

}  // namespace kestra::output
