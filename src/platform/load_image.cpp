// LoadImageA for BMP files: the picture at its own size as a bitmap in the
// screen's format.
#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <span>
#include <vector>

#include "platform/bmp_decode.h"
#include "platform/file_system.h"
#include "platform/no_throw.h"

namespace kestra::platform {
namespace {

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

// Rows are read and decoded in bands of about this many bytes.
constexpr std::size_t band_bytes = 256 * 1024;

// Fills `size` bytes at `data`; false on a read error or when the file ends
// first (it shrank after its size was taken).
bool read_exactly(int descriptor, std::uint8_t* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = file_system().read(descriptor, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The file's bytes from an offset on, in order, once its head was read:
// what the head holds of them first, then the rest from the descriptor.
class ByteStream {
 public:
  ByteStream(int descriptor, std::span<const std::uint8_t> head, std::uint64_t offset)
      : descriptor_(descriptor),
        held_(head.subspan(std::min<std::uint64_t>(offset, head.size()))),
        skip_(offset > head.size() ? offset - head.size() : 0) {}

  // Fills `size` bytes at `data` with the next bytes; false when the file
  // cannot give them.
  bool take(std::uint8_t* data, std::size_t size) {
    for (; skip_ > 0; skip_ -= std::min<std::uint64_t>(skip_, size)) {
      if (!read_exactly(descriptor_, data, std::min<std::uint64_t>(skip_, size))) return false;
    }
    const std::size_t from_head = std::min(size, held_.size());
    std::copy_n(held_.begin(), from_head, data);
    held_ = held_.subspan(from_head);
    return read_exactly(descriptor_, data + from_head, size - from_head);
  }

 private:
  int descriptor_;
  std::span<const std::uint8_t> held_;
  std::uint64_t skip_;
};

// Only regular files: reading a pipe or a device may wait or never end. The
// open does not wait on a named pipe (O_NONBLOCK); its type is then checked
// on the open file, so the path cannot change kind in between. Gives the
// file's size, 0 for a file that is not read.
std::uint64_t regular_file_size(const OpenFile& file) {
  struct stat status {};
  if (file.get() < 0 || file_system().fstat(file.get(), &status) != 0 ||
      !S_ISREG(status.st_mode) || status.st_size <= 0) {
    return 0;
  }
  return static_cast<std::uint64_t>(status.st_size);
}

// Reads the rows band by band into `bitmap`; false when the file ends early.
bool read_rows(ByteStream& rows, const BmpFormat& format, const BmpRowDecoder& decoder,
               Bitmap& bitmap) {
  const int band_rows =
      static_cast<int>(std::clamp<std::size_t>(band_bytes / format.stride, 1, format.height));
  std::vector<std::uint8_t> band(static_cast<std::size_t>(band_rows) * format.stride);
  for (int first = 0; first < format.height; first += band_rows) {
    const int count = std::min(band_rows, format.height - first);
    if (!rows.take(band.data(), static_cast<std::size_t>(count) * format.stride)) return false;
    decoder.decode_rows(band.data(), first, count, bitmap.pixels.get());
  }
  return true;
}

// The picture streams from the file: the whole file is never held at once.
HBITMAP load_bitmap(const char* path, int cx, int cy) {
  const OpenFile file(file_system().open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0));
  const std::uint64_t size = regular_file_size(file);
  if (size == 0) return nullptr;
  std::vector<std::uint8_t> head(std::min<std::uint64_t>(size, bmp_head_size));
  if (!read_exactly(file.get(), head.data(), head.size())) return nullptr;
  const auto format = read_bmp_format(head, size);
  // The picture is loaded at its own size only; nothing is stretched.
  if (!format || (cx != 0 && cx != format->width) || (cy != 0 && cy != format->height)) {
    return nullptr;
  }
  auto bitmap = std::make_shared<Bitmap>(format->width, format->height);
  ByteStream rows(file.get(), head, format->pixels);
  if (!read_rows(rows, *format, BmpRowDecoder(head, *format), *bitmap)) return nullptr;
  return static_cast<HBITMAP>(ObjectTable::instance().add(std::move(bitmap)));
}

}  // namespace
}  // namespace kestra::platform

HANDLE LoadImageA(HINSTANCE, LPCSTR name, UINT type, int cx, int cy, UINT load) {
  if (!name || type != IMAGE_BITMAP || !(load & LR_LOADFROMFILE)) return nullptr;
  return kestra::platform::or_failure<HANDLE>(
      nullptr, [&]() -> HANDLE { return kestra::platform::load_bitmap(name, cx, cy); });
}
