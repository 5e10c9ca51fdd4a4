// Regular files on Windows: a file on a disk, not a folder, device or pipe.
// The path is bytes in the ANSI code page, as the A functions take it.
#include <windows.h>

#include "import/regular_file.h"

namespace kestra::import {

bool is_regular_file(const char* path) {
  if (!path || !*path) return false;
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))) {
    return false;
  }
  // Pipes and devices report plain attributes: ask the handle what it is.
  // Opening for attributes only reads nothing, so it cannot wait for data.
  HANDLE handle = CreateFileA(path, FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool on_disk = GetFileType(handle) == FILE_TYPE_DISK;
  CloseHandle(handle);
  return on_disk;
}

}  // namespace kestra::import
