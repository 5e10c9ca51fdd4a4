// The picture of a drawing export: a new black bitmap for mode 1 or the
// caller's for mode 2, selected into the memory device context and handed back.
#include <cstdlib>
#include <memory>

#include "canvas/canvas.h"
#include "platform/bitmap_limits.h"
#include "platform/dib_rows.h"

namespace kestra::canvas {
namespace {

struct FreeDeleter {
  void operator()(void* memory) const { std::free(memory); }
};

// Larger pictures are refused before their pixel buffer is allocated.
bool drawable(PictureSize size) {
  return size.width > 0 && size.height > 0 && size.width <= platform::max_bitmap_side &&
         size.height <= platform::max_bitmap_side &&
         size.width * size.height <= platform::max_bitmap_pixels;
}

}  // namespace

PictureSize picture_size(const RECT& picture) {
  return {std::int64_t{picture.right} - picture.left, std::int64_t{picture.bottom} - picture.top};
}

// A bitmap in the screen's format made from zeroed 24-bit DIB rows, so the
// picture starts black.
UniqueObject create_picture(PictureSize size) {
  if (!drawable(size)) return UniqueObject();
  const int width = static_cast<int>(size.width);
  const int height = static_cast<int>(size.height);
  const std::size_t stride = platform::dib_row_bytes(static_cast<std::size_t>(width), 24);
  std::unique_ptr<void, FreeDeleter> pixels(std::calloc(stride * static_cast<std::size_t>(height), 1));
  if (!pixels) return UniqueObject();

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: rows stored bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(stride * static_cast<std::size_t>(height));

  const HWND window = GetForegroundWindow();
  WindowDC screen(window);
  if (!screen.get()) return UniqueObject();
  return UniqueObject(CreateDIBitmap(screen.get(), &info.bmiHeader, CBM_INIT, pixels.get(), &info,
                                     DIB_RGB_COLORS));
}

Picture::Picture(HDC dc, HBITMAP* bitmap, unsigned long mode, PictureSize size)
    : dc_(dc), bitmap_(bitmap) {
  const bool create = mode == KESTRA_DRAW_NEW;
  // Without a place to hand the picture back there is nothing to draw on.
  if (!bitmap_) {
    status_ = create ? KESTRA_NO_BITMAP : KESTRA_NO_CURRENT_BITMAP;
    return;
  }
  if (create) {
    new_picture_ = create_picture(size);
    if (!new_picture_) {
      refuse(KESTRA_NO_BITMAP);
      return;
    }
  }
  const HGDIOBJ picture = create ? new_picture_.get() : *bitmap_;
  selected_.emplace(dc_, picture);
  // Not a bitmap, or one held by another device context: nothing to draw on.
  if (!selected_->selected() || GetCurrentObject(dc_, OBJ_BITMAP) != picture) {
    refuse(KESTRA_NO_CURRENT_BITMAP);
  }
}

int Picture::refuse(int status) {
  *bitmap_ = nullptr;
  status_ = status;
  return status;
}

int Picture::hand_back() {
  const auto current = static_cast<HBITMAP>(GetCurrentObject(dc_, OBJ_BITMAP));
  if (!current) return refuse(KESTRA_NO_CURRENT_BITMAP);
  *bitmap_ = current;
  new_picture_.release();  // the caller owns it now
  return KESTRA_OK;
}

}  // namespace kestra::canvas
