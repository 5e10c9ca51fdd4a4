// Files replaced whole: written under a temporary name in the target's
// directory (so the rename stays on one file system) and renamed over it.
#include <atomic>
#include <chrono>
#include <string>
#include <system_error>

#include "output/output.h"

namespace kestra::output {
namespace {

constexpr int name_attempts = 16;

// A hidden name in the target's directory that no other writer of this
// process uses; the clock keeps other processes' names apart in practice,
// and the exclusive open below settles any clash. Its length does not depend
// on the target's, so any name that fits the directory fits here too.
std::filesystem::path temporary_name(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  const auto ticks = static_cast<unsigned long long>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  return target.parent_path() / (".kestra-" + std::to_string(ticks % 1000000007ULL) + "-" +
                                 std::to_string(counter++) + ".tmp");
}

}  // namespace

ReplacingFile::ReplacingFile(const std::filesystem::path& target) : target_(target) {
  if (target_.empty() || !target_.has_filename()) return;
  for (int attempt = 0; attempt < name_attempts && !file_; ++attempt) {
    temporary_ = temporary_name(target_);
    file_ = std::fopen(temporary_.string().c_str(), "wbx");  // x: never reuse an existing file
  }
  if (!file_) temporary_.clear();
}

ReplacingFile::~ReplacingFile() { discard(); }

bool ReplacingFile::write(const void* data, std::size_t size) {
  return file_ && std::fwrite(data, 1, size, file_) == size;
}

bool ReplacingFile::commit() {
  if (!file_) return false;
  // fclose reports the errors of buffered writes.
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  std::error_code error;
  if (closed) std::filesystem::rename(temporary_, target_, error);
  if (!closed || error) {
    discard();
    return false;
  }
  temporary_.clear();
  return true;
}

void ReplacingFile::discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
    temporary_.clear();
  }
}

}  // namespace kestra::output
