// The plot in a bitmap: checks the expression and the sampling, prepares the
// canvas and runs the drawing steps in order.
#include "plot/plot.h"

namespace kestra::plot {
namespace {

int check_expression_and_sampling(const char* expression, const OPTION_RECT& options) {
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
  draw_background_and_frame(drawing);
  draw_axes_and_arrows(drawing);
  draw_points(drawing);
  draw_captions(drawing);
}

}  // namespace

int create_graph(const char* expression, const OPTION_RECT& options, HBITMAP* bitmap,
                 unsigned long mode) {
  if (const int status = check_expression_and_sampling(expression, options)) return status;
  const canvas::UniqueDC dc(CreateCompatibleDC(nullptr));
  if (!dc) return KESTRA_NO_DC;

  const canvas::PictureSize size = canvas::picture_size(options.rcPicture);
  canvas::Picture picture(dc.get(), bitmap, mode, size);
  if (const int status = picture.status()) return status;
  {
    const PlotScale scale(options);
    canvas::Selection selection(dc.get());
    draw_steps({dc.get(), options, size, scale, find_origin(scale), selection});
  }
  return picture.hand_back();
}

}  // namespace kestra::plot
