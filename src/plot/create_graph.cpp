// The plot: checks the expression and the sampling and runs the drawing
// steps in order on the canvas's picture, a bitmap or a recording.
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

// The plot as the picture set-up sees it: the expression and the sampling
// are checked before the device context is made. The parse fills this
// thread's tables, which the points are sampled from.
class PlotScene final : public canvas::Scene {
 public:
  PlotScene(const char* text, const OPTION_RECT& options)
      : text_(text), options_(options), expression_(thread_expression_state()) {}

  const RECT& picture() const override { return options_.rcPicture; }
  bool paints_background() const override { return options_.fillBackground != 0; }
  int check_before_dc() override { return parse_and_check_sampling(expression_, text_, options_); }
  void draw(HDC dc, canvas::PictureSize size) override {
    const PlotScale scale(options_);
    canvas::Selection selection(dc);
    draw_steps({dc, options_, size, scale, find_origin(scale), selection}, expression_);
  }

 private:
  const char* text_;
  const OPTION_RECT& options_;
  ExpressionState expression_;
};

}  // namespace

int create_graph(const char* text, const OPTION_RECT& options, HBITMAP* bitmap,
                 unsigned long mode) {
  PlotScene scene(text, options);
  return canvas::draw_bitmap(scene, bitmap, mode);
}

int record_graph(const char* text, const OPTION_RECT& options, canvas::RecordedPicture& recorded) {
  PlotScene scene(text, options);
  return canvas::draw_recording(scene, recorded);
}

}  // namespace kestra::plot
