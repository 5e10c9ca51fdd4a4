// Saving a rendered picture as a BMP file; in mode 2 the picture stored
// under the path is loaded first and drawn over.
#include "output/output.h"
#include "platform/platform.h"

namespace kestra::output {
namespace {

using platform::UniqueObject;
using platform::WindowDC;

std::int64_t width_of(const RECT& r) { return std::int64_t{r.right} - r.left; }
std::int64_t height_of(const RECT& r) { return std::int64_t{r.bottom} - r.top; }

// The picture under `path` as the canvas of a mode 2 call: KESTRA_FILE_LOAD
// when there is no loadable BMP picture, KESTRA_PICTURE_SIZE when its size
// is not the size of `picture`.
[[nodiscard]] int load_canvas(const char* path, const RECT& picture, UniqueObject& canvas) {
  if (path) canvas.reset(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  BITMAP size{};
  if (!canvas || GetObject(canvas.get(), sizeof size, &size) != sizeof size) {
    return KESTRA_FILE_LOAD;
  }
  if (size.bmWidth != width_of(picture) || size.bmHeight != height_of(picture)) {
    return KESTRA_PICTURE_SIZE;
  }
  return KESTRA_OK;
}

}  // namespace

int save_to_file(const Renderer& render, const RECT& picture, const char* path,
                 unsigned long mode) {
  UniqueObject canvas;
  if (mode == KESTRA_DRAW_OVER) {
    if (const int status = load_canvas(path, picture, canvas)) return status;
  }
  HBITMAP drawn = static_cast<HBITMAP>(canvas.get());
  if (const int status = render(&drawn, mode)) return status;
  // In mode 1 the renderer made the picture; in mode 2 it drew on the canvas.
  const UniqueObject created(drawn != canvas.get() ? drawn : nullptr);

  const auto layout = bmp_layout(width_of(picture), height_of(picture));
  if (!layout) return KESTRA_FILE_WRITE;
  const WindowDC screen(GetForegroundWindow());
  return write_bitmap_file(path, *layout, drawn, screen.get());
}

}  // namespace kestra::output
