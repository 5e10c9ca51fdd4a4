// The plot in a bitmap: checks the expression and the sampling, prepares the
// canvas and runs the drawing steps in order.
#include "plot/plot.h"

namespace kestra::plot {
namespace {

int parse_and_check_sampling(ExpressionState& expression, const char* text,
                             const OPTION_RECT& options) {
  if (parse_expression(expression, text) != expr_ok) return KESTRA_BAD_EXPRESSION;
  if (!sampling_ends(options)) return KESTRA_BAD_SAMPLING;
  return KESTRA_OK;
}

Origin find_origin(const PlotScale& scale) {
  return {RoundPixel(scale.column(0.0)), RoundPixel(scale.row(0.0))};
}

// Background under the frame, the frame under the axes, the axes under the
// points, and the captions on top.
void draw_steps(const PlotDrawing& drawing, ExpressionState& expression) {
  draw_background_and_frame(drawing);
  draw_axes_and_arrows(drawing);
  draw_points(drawing, expression);
  draw_captions(drawing);
}

}  // namespace

int create_graph(const char* text, const OPTION_RECT& options, HBITMAP* bitmap,
                 unsigned long mode) {
  // The parse fills this thread's tables, which the points are sampled from.
  ExpressionState expression = thread_expression_state();
  if (const int status = parse_and_check_sampling(expression, text, options)) return status;
  const canvas::UniqueDC dc(CreateCompatibleDC(nullptr));
  if (!dc) return KESTRA_NO_DC;

  const canvas::PictureSize size = canvas::picture_size(options.rcPicture);
  canvas::Picture picture(dc.get(), bitmap, mode, size,
                          options.fillBackground ? canvas::NewPicture::painted_over
                                                 : canvas::NewPicture::black);
  if (const int status = picture.status()) return status;
  {
    const PlotScale scale(options);
    canvas::Selection selection(dc.get());
    draw_steps({dc.get(), options, size, scale, find_origin(scale), selection}, expression);
  }
  return picture.hand_back();
}

}  // namespace kestra::plot
