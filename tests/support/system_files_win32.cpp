// The Windows side of the system-specific test helpers: a named pipe, a
// locale by its Windows name, and no file size limit.
#include <windows.h>

#include <atomic>
#include <clocale>

#include "support/system_files.h"

namespace kestra::test {

// Named pipes live in the pipe namespace, not in a folder.
BlockingPipe::BlockingPipe(const TempDir&, const std::string& name) {
  static std::atomic<unsigned> counter{0};
  path_ = "\\\\.\\pipe\\kestra-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(counter++) + "-" + name;
  HANDLE pipe = CreateNamedPipeA(path_.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT,
                                 PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
  made_ = pipe != INVALID_HANDLE_VALUE;
  if (made_) handle_ = pipe;
}

BlockingPipe::~BlockingPipe() {
  if (made_) CloseHandle(handle_);
}

std::string comma_locale(const TempDir&) {
  const char* name = std::setlocale(LC_NUMERIC, "German_Germany.1252");
  return name ? name : "";
}

FileSizeLimit::FileSizeLimit(unsigned long) {}

FileSizeLimit::~FileSizeLimit() = default;

}  // namespace kestra::test
