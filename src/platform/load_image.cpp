// LoadImageA for BMP files: the picture at its own size as a bitmap in the
// screen's format.
#include <fcntl.h>

#include <cerrno>
#include <new>
#include <vector>

#include "platform/bmp_decode.h"
#include "platform/file_system.h"

namespace kestra::platform {
namespace {

// Largest file read: a 32-bit picture at the pixel limit plus its headers.
constexpr std::uintmax_t max_file_size = static_cast<std::uintmax_t>(max_bitmap_pixels) * 4 + 4096;

// Closes a descriptor at the end of its scope.
class OpenFile {
 public:
  explicit OpenFile(int descriptor) : descriptor_(descriptor) {}
  ~OpenFile() {
    if (descriptor_ >= 0) file_system().close(descriptor_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int get() const { return descriptor_; }

 private:
  int descriptor_;
};

// Fills `data` whole; false on a read error or when the file ends first
// (it shrank after its size was taken).
bool read_exactly(int descriptor, std::vector<std::uint8_t>& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = file_system().read(descriptor, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Only regular files: reading a pipe or a device may wait or never end. The
// open does not wait on a named pipe (O_NONBLOCK); its type is then checked
// on the open file, so the path cannot change kind in between.
std::vector<std::uint8_t> read_file(const char* path) {
  const OpenFile file(file_system().open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0));
  struct stat status {};
  if (file.get() < 0 || file_system().fstat(file.get(), &status) != 0 ||
      !S_ISREG(status.st_mode) || status.st_size <= 0 ||
      static_cast<std::uintmax_t>(status.st_size) > max_file_size) {
    return {};
  }
  std::vector<std::uint8_t> data(static_cast<std::size_t>(status.st_size));
  if (!read_exactly(file.get(), data)) return {};
  return data;
}

HBITMAP load_bitmap(const char* path, int cx, int cy) {
  const std::vector<std::uint8_t> data = read_file(path);
  const auto format = read_bmp_format(data);
  // The picture is loaded at its own size only; nothing is stretched.
  if (!format || (cx != 0 && cx != format->width) || (cy != 0 && cy != format->height)) {
    return nullptr;
  }
  auto bitmap = std::make_shared<Bitmap>(format->width, format->height);
  decode_bmp_pixels(data, *format, bitmap->pixels.get());
  return static_cast<HBITMAP>(ObjectTable::instance().add(std::move(bitmap)));
}

}  // namespace
}  // namespace kestra::platform

HANDLE LoadImageA(HINSTANCE, LPCSTR name, UINT type, int cx, int cy, UINT load) {
  if (!name || type != IMAGE_BITMAP || !(load & LR_LOADFROMFILE)) return nullptr;
  try {
    return kestra::platform::load_bitmap(name, cx, cy);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
