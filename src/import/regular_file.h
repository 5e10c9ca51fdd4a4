// Which paths the readers open.
#pragma once

#include <filesystem>
#include <system_error>

namespace kestra::import {

// Only regular files are read: a folder cannot be, and opening a pipe or a
// device may wait for a writer or never end.
inline bool is_regular_file(const char* path) {
  std::error_code error;
  return path && std::filesystem::is_regular_file(path, error);
}

}  // namespace kestra::import
