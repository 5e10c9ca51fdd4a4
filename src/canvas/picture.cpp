// The picture of a drawing export: a new bitmap for mode 1 or the
// caller's for mode 2, selected into the memory device context and handed
// back; or a recording of the same drawing. One set-up for both renderers.
#include <utility>

#include "canvas/canvas.h"

namespace kestra::canvas {
namespace {

// Larger pictures are refused before their pixel buffer is allocated.
bool drawable(PictureSize size) {
  return size.width > 0 && size.height > 0 && size.width <= platform::max_bitmap_side &&
         size.height <= platform::max_bitmap_side &&
         size.width * size.height <= platform::max_bitmap_pixels;
}

// Black pen and brush for the one rectangle; the context's own come back.
void paint_black(HDC dc, PictureSize size) {
  const ScopedSelect pen(dc, GetStockObject(BLACK_PEN));
  const ScopedSelect brush(dc, GetStockObject(BLACK_BRUSH));
  drawn(Rectangle(dc, 0, 0, static_cast<int>(size.width), static_cast<int>(size.height)));
}

NewPicture start_of(const Scene& scene) {
  return scene.paints_background() ? NewPicture::painted_over : NewPicture::black;
}

// A recording DC until it is closed into its metafile; dropped on every other path.
class RecordingDC {
 public:
  RecordingDC() : dc_(CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr)) {}
  ~RecordingDC() {
    if (dc_) DeleteEnhMetaFile(CloseEnhMetaFile(dc_));
  }
  RecordingDC(const RecordingDC&) = delete;
  RecordingDC& operator=(const RecordingDC&) = delete;

  HDC get() const { return dc_; }
  HENHMETAFILE close() { return CloseEnhMetaFile(std::exchange(dc_, nullptr)); }

 private:
  HDC dc_;
};

}  // namespace

int draw_bitmap(Scene& scene, HBITMAP* bitmap, unsigned long mode) {
  if (const int status = scene.check_before_dc()) return status;
  const UniqueDC dc(CreateCompatibleDC(nullptr));
  if (!dc) return KESTRA_NO_DC;
  if (const int status = scene.check_with_dc()) return status;
  const PictureSize size = picture_size(scene.picture());
  Picture picture(dc.get(), bitmap, mode, size, start_of(scene));
  if (const int status = picture.status()) return status;
  scene.draw(dc.get(), size);
  return picture.hand_back();
}

int draw_recording(Scene& scene, RecordedPicture& recorded) {
  if (const int status = scene.check_before_dc()) return status;
  RecordingDC dc;
  if (!dc.get()) return KESTRA_NO_DC;
  if (const int status = scene.check_with_dc()) return status;
  const PictureSize size = picture_size(scene.picture());
  if (!drawable(size)) return KESTRA_NO_BITMAP;
  if (start_of(scene) == NewPicture::black) paint_black(dc.get(), size);
  scene.draw(dc.get(), size);
  recorded.metafile.reset(dc.close());
  if (!recorded.metafile) return KESTRA_INTERNAL;
  recorded.size = size;
  return KESTRA_OK;
}

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
  if (create && start == NewPicture::black) paint_black(dc_, size);
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
