// CreateDiag, bitmap form: checks its arguments, prepares the canvas and runs
// the drawing steps in their fixed order.
#include "diagram/diagram.h"
#include "model/exports.h"

namespace kestra::diagram {
namespace {

constexpr unsigned long mode_new = 1;
constexpr unsigned long mode_over = 2;

int mode_status(unsigned long mode) {
  if (mode == 0) return KESTRA_MODE_ZERO;
  if (mode != mode_new && mode != mode_over) return KESTRA_MODE_UNKNOWN;
  return KESTRA_OK;
}

bool drawable(const TAB_GR& table) {
  return table.rows >= 1 && table.cols >= 2 && table.values != nullptr;
}

void draw_steps(const Drawing& drawing, PictureSize size, unsigned long kind) {
  draw_background(drawing, size);
  draw_frame(drawing);
  draw_axes_and_grid(drawing);
  draw_series(drawing, kind);
  draw_captions_and_labels(drawing);
  draw_legend(drawing);
}

int create_diag(const TAB_GR& table, const DIAG_DISP& disp, HBITMAP* bitmap, unsigned long mode,
                unsigned long kind) {
  if (const int status = mode_status(mode)) return status;
  UniqueDC dc(CreateCompatibleDC(nullptr));
  if (!dc) return KESTRA_NO_DC;
  if (!drawable(table)) return KESTRA_BAD_TABLE;
  NumberFormat numbers(disp.decimals);

  // Without a place to hand the picture back there is nothing to draw on.
  if (!bitmap) return mode == mode_new ? KESTRA_NO_BITMAP : KESTRA_NO_CURRENT_BITMAP;

  const PictureSize size = picture_size(disp.rcPicture);
  UniqueObject new_picture;
  if (mode == mode_new) {
    *bitmap = nullptr;
    new_picture = create_picture(size);
    if (!new_picture) return KESTRA_NO_BITMAP;
  }
  const HGDIOBJ picture = mode == mode_new ? new_picture.get() : *bitmap;
  ScopedSelect selected(dc.get(), picture);
  // Not a bitmap, or one held by another device context: nothing to draw on.
  if (!selected.selected() || GetCurrentObject(dc.get(), OBJ_BITMAP) != picture) {
    *bitmap = nullptr;
    return KESTRA_NO_CURRENT_BITMAP;
  }

  {
    const Geometry geometry(table, disp);
    Selection selection(dc.get());
    draw_steps({dc.get(), table, disp, geometry, numbers, selection}, size, kind);
  }

  return hand_back_picture(dc.get(), bitmap, new_picture);
}

}  // namespace
}  // namespace kestra::diagram

int CreateDiag(TAB_GR table, DIAG_DISP disp, HBITMAP* bitmap, unsigned long bitmapMode,
               unsigned long diagramKind) {
  return kestra::model::guarded([&] {
    return kestra::diagram::create_diag(table, disp, bitmap, bitmapMode & 7, diagramKind);
  });
}
