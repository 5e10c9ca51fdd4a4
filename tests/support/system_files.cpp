// The POSIX side of the system-specific test helpers: a FIFO, a locale built
// with localedef, and RLIMIT_FSIZE.
#include "support/system_files.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <clocale>
#include <csignal>
#include <cstdlib>

namespace kestra::test {

BlockingPipe::BlockingPipe(const TempDir& folder, const std::string& name)
    : path_(folder.file(name)), made_(mkfifo(path_.c_str(), 0600) == 0) {}

BlockingPipe::~BlockingPipe() = default;

std::string comma_locale(const TempDir& folder) {
  const std::string command =
      "localedef -i de_DE -f UTF-8 " + folder.file("de_DE.UTF-8") + " >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return "";
  setenv("LOCPATH", folder.path().string().c_str(), 1);
  const char* name = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  unsetenv("LOCPATH");
  return name ? name : "";
}

// Writes beyond the limit fail with EFBIG (for root too) instead of raising
// SIGXFSZ.
FileSizeLimit::FileSizeLimit(unsigned long bytes) {
  previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  previous_ = limit.rlim_cur;
  limit.rlim_cur = bytes;
  set_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = previous_;
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, previous_handler_);
}

}  // namespace kestra::test
