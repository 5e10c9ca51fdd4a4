// Files replaced whole on Windows: written under a temporary name in the
// target's folder, created with CREATE_NEW so an existing file is never
// reused, and moved over the target with MoveFileEx once complete. The
// caller's path is bytes in the ANSI code page; it is widened once, so that
// names beyond MAX_PATH can be written too.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <atomic>
#include <string>

#include "output/output.h"

namespace kestra::output {
namespace {

constexpr int name_attempts = 16;

// The path's bytes as the caller gave them: the path was made from a char
// string byte by byte (the classic locale), so each unit narrows back to one
// byte. Empty when a unit does not fit a byte.
std::string ansi_bytes(const std::filesystem::path& path) {
  std::string bytes;
  for (const wchar_t unit : path.native()) {
    if (unit > 0xFF) return {};
    bytes += static_cast<char>(unit);
  }
  return bytes;
}

// ANSI bytes as UTF-16; empty when they are not text of the code page.
std::wstring widened(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size,
                                        nullptr, 0);
  std::wstring wide(units > 0 ? units : 0, L'\0');
  if (units <= 0 ||
      MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(),
                          units) != units) {
    return {};
  }
  return wide;
}

// The full path of `wide`, in the form that lifts the MAX_PATH limit when it
// is longer; `name` gets the position of the file name (npos for a folder).
std::wstring full_path(const std::wstring& wide, std::size_t* name) {
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return {};
  std::wstring full(needed, L'\0');
  wchar_t* file_part = nullptr;
  const DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), &file_part);
  if (length == 0 || length >= needed) return {};
  *name = file_part ? static_cast<std::size_t>(file_part - full.data()) : std::wstring::npos;
  full.resize(length);
  if (full.size() < MAX_PATH || full.starts_with(L"\\\\?\\")) return full;
  const std::size_t offset = full.starts_with(L"\\\\") ? 2 : 0;
  const std::wstring prefix = offset ? L"\\\\?\\UNC\\" : L"\\\\?\\";
  if (*name != std::wstring::npos) *name += prefix.size() - offset;
  return prefix + full.substr(offset);
}

// A hidden name in `folder` that no other writer of this process uses; the
// process id and clock keep other processes' names apart, and CREATE_NEW
// settles any clash.
std::wstring temporary_name(const std::wstring& folder) {
  static std::atomic<unsigned> counter{0};
  return folder + L".kestra-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(GetTickCount64() % 1000000007ULL) + L"-" +
         std::to_wstring(counter++) + L".tmp";
}

// A new file under `name` opened for writing, as a C runtime descriptor;
// -1 when the name exists already or cannot be created.
int create_new(const std::wstring& name) {
  HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return -1;
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
  if (descriptor == -1) {
    CloseHandle(handle);
    DeleteFileW(name.c_str());
  }
  return descriptor;
}

// Writes the file's bytes through to the disk before it is closed.
bool flush_to_disk(int descriptor) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
  return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
}

// Writes all of `size` bytes, in pieces that fit the runtime's int count.
bool write_all(int descriptor, const char* data, std::size_t size) {
  constexpr std::size_t piece = 1 << 30;
  while (size > 0) {
    const unsigned count = static_cast<unsigned>(size < piece ? size : piece);
    const int written = _write(descriptor, data, count);
    if (written <= 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

// Both names are kept in their full wide form: target_ and temporary_ hold
// what CreateFileW and MoveFileExW are given.
ReplacingFile::ReplacingFile(const std::filesystem::path& target) {
  std::size_t name = std::wstring::npos;
  const std::wstring full = full_path(widened(ansi_bytes(target)), &name);
  if (full.empty() || name == std::wstring::npos || name >= full.size()) return;
  target_ = full;
  const std::wstring folder = full.substr(0, name);
  for (int attempt = 0; attempt < name_attempts && descriptor_ < 0; ++attempt) {
    const std::wstring temporary = temporary_name(folder);
    descriptor_ = create_new(temporary);
    if (descriptor_ >= 0) temporary_ = temporary;
  }
}

ReplacingFile::~ReplacingFile() { discard(); }

bool ReplacingFile::write(const void* data, std::size_t size) {
  return descriptor_ >= 0 && write_all(descriptor_, static_cast<const char*>(data), size);
}

bool ReplacingFile::commit() {
  if (descriptor_ < 0) return false;
  const bool flushed = flush_to_disk(descriptor_);
  const bool closed = _close(descriptor_) == 0;
  descriptor_ = -1;
  if (!flushed || !closed ||
      !MoveFileExW(temporary_.c_str(), target_.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    discard();
    return false;
  }
  temporary_.clear();
  return true;
}

void ReplacingFile::discard() {
  if (descriptor_ >= 0) _close(descriptor_);
  descriptor_ = -1;
  if (!temporary_.empty()) {
    DeleteFileW(temporary_.c_str());
    temporary_.clear();
  }
}

}  // namespace kestra::output
