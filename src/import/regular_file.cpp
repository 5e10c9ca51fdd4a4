// Regular files as the POSIX file system reports them.
#include "import/regular_file.h"

#include <filesystem>
#include <system_error>

namespace kestra::import {

bool is_regular_file(const char* path) {
  std::error_code error;
  return path && std::filesystem::is_regular_file(path, error);
}

}  // namespace kestra::import
