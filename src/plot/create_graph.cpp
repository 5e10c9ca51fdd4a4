// CreateGraph, bitmap form: checks the mode, the font height, the expression
// and the sampling, prepares the canvas and runs the drawing steps in order.
#include "model/exports.h"
#include "plot/plot.h"

namespace kestra::plot {
namespace {

constexpr unsigned long mode_new = 1;
constexpr unsigned long mode_over = 2;
constexpr int min_font_height = 1;
constexpr int max_font_height = 99;

int check_arguments(const char* expression, const OPTION_RECT& options, unsigned long mode) {
  if (mode == 0) return KESTRA_MODE_ZERO;
  if (mode != mode_new && mode != mode_over) return KESTRA_MODE_UNKNOWN;
  if (options.fontHeight < min_font_height || options.fontHeight > max_font_height) {
    return KESTRA_BAD_FONT_HEIGHT;
  }
  if (ParseExpression(expression) != expr_ok) return KESTRA_BAD_EXPRESSION;
  if (!sampling_ends(options)) return KESTRA_BAD_SAMPLING;
  return KESTRA_OK;
}

Origin find_origin(const PlotScale& scale) {
  return {RoundPixel(scale.column(0.0)), RoundPixel(scale.row(0.0))};
}

// Background under the frame, the frame under the axes, the axes under the
// points, and the captions on top.
void draw_steps(const PlotDrawing& drawing) {
  draw_background(drawing);
  draw_frame(drawing);
  draw_axes_and_arrows(drawing);
  draw_points(drawing);
  draw_captions(drawing);
}

int create_graph(const char* expression, const OPTION_RECT& options, HBITMAP* bitmap,
                 unsigned long mode) {
  if (const int status = check_arguments(expression, options, mode)) return status;
  // Without a place to hand the picture back there is nothing to draw on.
  if (!bitmap) return KESTRA_NO_BITMAP;
  platform::UniqueDC dc(CreateCompatibleDC(nullptr));
  if (!dc) return KESTRA_NO_DC;

  const diagram::PictureSize size = diagram::picture_size(options.rcPicture);
  platform::UniqueObject new_picture;
  if (mode == mode_new) {
    *bitmap = nullptr;
    new_picture = diagram::create_picture(size);
    if (!new_picture) return KESTRA_NO_BITMAP;
  }
  const HGDIOBJ picture = mode == mode_new ? new_picture.get() : *bitmap;
  platform::ScopedSelect selected(dc.get(), picture);
  // Mode 2 with a bitmap that is none, or is held by another device context:
  // the caller's handle is left as it was.
  if (!selected.selected() || GetCurrentObject(dc.get(), OBJ_BITMAP) != picture) {
    return KESTRA_NO_BITMAP;
  }

  {
    const PlotScale scale(options);
    diagram::Selection selection(dc.get());
    draw_steps({dc.get(), options, size, scale, find_origin(scale), selection});
  }

  return diagram::hand_back_picture(dc.get(), bitmap, new_picture);
}

}  // namespace
}  // namespace kestra::plot

int CreateGraph(char* expression, OPTION_RECT options, HBITMAP* bitmap, unsigned long bitmapMode) {
  return kestra::model::guarded([&] {
    return kestra::plot::create_graph(expression, options, bitmap, bitmapMode & 7);
  });
}
