// Test helpers for what each system does its own way: a path that names a
// pipe nobody writes to, a locale with a decimal comma, and a cap on the
// size of the files this process writes.
#pragma once

#include <string>

#include "support/temp_dir.h"

namespace kestra::test {

// A pipe without a writer under a path (in `folder` where the system allows
// it); opening it to read would wait for data forever.
class BlockingPipe {
 public:
  BlockingPipe(const TempDir& folder, const std::string& name);
  ~BlockingPipe();
  BlockingPipe(const BlockingPipe&) = delete;
  BlockingPipe& operator=(const BlockingPipe&) = delete;

  bool made() const { return made_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  void* handle_ = nullptr;
  bool made_ = false;
};

// Switches LC_NUMERIC to a locale whose decimal separator is a comma (built
// into `folder` where the system builds locales from sources) and returns its
// name; empty when the system has none.
std::string comma_locale(const TempDir& folder);

// Lowers the size limit of the files this process writes for one scope, so
// writes beyond `bytes` fail; set() is false where the system has no such
// limit.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(unsigned long bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  bool set() const { return set_; }

 private:
  unsigned long long previous_ = 0;
  void (*previous_handler_)(int) = nullptr;
  bool set_ = false;
};

}  // namespace kestra::test
