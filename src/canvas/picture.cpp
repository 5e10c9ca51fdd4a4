// The picture of a drawing export: a new bitmap for mode 1 or the
// caller's for mode 2, selected into the memory device context and handed back.
#include "canvas/canvas.h"

namespace kestra::canvas {
namespace {

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

UniqueObject create_picture(PictureSize size) {
  if (!drawable(size)) return UniqueObject();
  const WindowDC screen(GetForegroundWindow());
  if (!screen.get()) return UniqueObject();
  return UniqueObject(
      CreateCompatibleBitmap(screen.get(), static_cast<int>(size.width), static_cast<int>(size.height)));
}

Picture::Picture(HDC dc, HBITMAP* bitmap, unsigned long mode, PictureSize size, NewPicture start)
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
    return;
  }
  if (create && start == NewPicture::black) blacken(size);
}

// Black pen and brush for the one rectangle; the context's own come back.
void Picture::blacken(PictureSize size) {
  const ScopedSelect pen(dc_, GetStockObject(BLACK_PEN));
  const ScopedSelect brush(dc_, GetStockObject(BLACK_BRUSH));
  drawn(Rectangle(dc_, 0, 0, static_cast<int>(size.width), static_cast<int>(size.height)));
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
