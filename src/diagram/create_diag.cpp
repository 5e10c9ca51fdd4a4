// The diagram: checks the table and runs the drawing steps in their fixed
// order on the canvas's picture, a bitmap or a recording.
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

// The diagram as the picture set-up sees it: the table is checked once
// the device context exists.
class DiagramScene final : public canvas::Scene {
 public:
  DiagramScene(const TAB_GR& table, const DIAG_DISP& disp, unsigned long kind)
      : table_(table), disp_(disp), kind_(kind) {}

  const RECT& picture() const override { return disp_.rcPicture; }
  bool paints_background() const override { return disp_.fillBackground != 0; }
  int check_with_dc() override { return drawable(table_) ? KESTRA_OK : KESTRA_BAD_TABLE; }
  void draw(HDC dc, canvas::PictureSize size) override {
    NumberFormat numbers(disp_.decimals);
    const Geometry geometry(table_, disp_);
    Selection selection(dc);
    draw_steps({dc, table_, disp_, geometry, numbers, selection}, size, kind_);
  }

 private:
  const TAB_GR& table_;
  const DIAG_DISP& disp_;
  unsigned long kind_;
};

}  // namespace

int create_diag(const TAB_GR& table, const DIAG_DISP& disp, HBITMAP* bitmap, unsigned long mode,
                unsigned long kind) {
  DiagramScene scene(table, disp, kind);
  return canvas::draw_bitmap(scene, bitmap, mode);
}

int record_diag(const TAB_GR& table, const DIAG_DISP& disp, unsigned long kind,
                canvas::RecordedPicture& recorded) {
  DiagramScene scene(table, disp, kind);
  return canvas::draw_recording(scene, recorded);
}

}  // namespace kestra::diagram
