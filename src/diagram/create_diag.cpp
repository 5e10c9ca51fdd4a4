// The diagram in a bitmap: checks the table, prepares the canvas and runs the
// drawing steps in their fixed order.
#include "diagram/diagram.h"

namespace kestra::diagram {
namespace {

bool drawable(const TAB_GR& table) {
  return table.rows >= 1 && table.cols >= 2 && table.values != nullptr;
}

// The background covers the whole bitmap; the frame is an outline only.
void draw_background_and_frame(const Drawing& drawing, canvas::PictureSize size) {
  const DIAG_DISP& disp = drawing.disp;
  if (disp.fillBackground) canvas::fill_picture(drawing.dc, drawing.selection, size, disp.backColor);
  if (disp.drawFrame) canvas::draw_outline(drawing.dc, drawing.selection, disp.rcFrame, disp.frameColor);
}

void draw_steps(const Drawing& drawing, canvas::PictureSize size, unsigned long kind) {
  draw_background_and_frame(drawing, size);
  draw_axes_and_grid(drawing);
  draw_series(drawing, kind);
  draw_captions_and_labels(drawing);
  draw_legend(drawing);
}

}  // namespace

int create_diag(const TAB_GR& table, const DIAG_DISP& disp, HBITMAP* bitmap, unsigned long mode,
                unsigned long kind) {
  const canvas::UniqueDC dc(CreateCompatibleDC(nullptr));
  if (!dc) return KESTRA_NO_DC;
  if (!drawable(table)) return KESTRA_BAD_TABLE;
  NumberFormat numbers(disp.decimals);

  const canvas::PictureSize size = canvas::picture_size(disp.rcPicture);
  canvas::Picture picture(dc.get(), bitmap, mode, size,
                          disp.fillBackground ? canvas::NewPicture::painted_over
                                              : canvas::NewPicture::black);
  if (const int status = picture.status()) return status;
  {
    const Geometry geometry(table, disp);
    Selection selection(dc.get());
    draw_steps({dc.get(), table, disp, geometry, numbers, selection}, size, kind);
  }
  return picture.hand_back();
}

}  // namespace kestra::diagram
