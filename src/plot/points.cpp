// The sampled points: the argument runs from argFrom by argStep while at
// most argTo, and each value inside the plot area sets one pixel.
#include <cmath>
#include <cstdint>

#include "plot/plot.h"

namespace kestra::plot {
namespace {

// Sets the pixel of each point strictly inside rcPlot. Positions are
// rounded and tested as doubles, so no position that is not finite or far
// outside ever becomes an int.
class PointPlotter {
 public:
  explicit PointPlotter(const PlotDrawing& drawing)
      : drawing_(drawing),
        plot_(drawing.options.rcPlot),
        arg_on_x_(drawing.options.argOnX != 0),
        color_(drawing.options.graphColor) {}

  void plot(double argument, double value) {
    const PlotScale& scale = drawing_.scale;
    const double column = std::round(arg_on_x_ ? scale.column(argument) : scale.column(value));
    const double row = std::round(arg_on_x_ ? scale.row(value) : scale.row(argument));
    if (!(column > plot_.left && column < plot_.right && row > plot_.top && row < plot_.bottom)) return;
    const int x = static_cast<int>(column);
    const int y = static_cast<int>(row);
    // Dense samples hit the same pixel many times over; once is enough.
    if (x == last_x_ && y == last_y_) return;
    SetPixel(drawing_.dc, x, y, color_);
    last_x_ = x;
    last_y_ = y;
  }

 private:
  const PlotDrawing& drawing_;
  const RECT plot_;
  const bool arg_on_x_;
  const COLORREF color_;
  int last_x_ = INT32_MIN, last_y_ = INT32_MIN;  // never strictly inside rcPlot
};

// Accumulates the steps by double addition, as the samples are defined.
template <class Sample>
void for_each_argument(const OPTION_RECT& options, Sample&& sample) {
  double t = options.argFrom;
  do {
    sample(t);
    t += options.argStep;
  } while (t <= options.argTo);
}

}  // namespace

void draw_points(const PlotDrawing& drawing) {
  if (ExprTokenCount <= 2) return;  // no right-hand side: no sample has a value
  PointPlotter plotter(drawing);
  if (const auto program = Program::compile()) {
    for_each_argument(drawing.options, [&](double t) { plotter.plot(t, program->run(t)); });
    return;
  }
  PointEvaluator evaluator;
  for_each_argument(drawing.options, [&](double t) {
    double v;
    if (evaluator.evaluate(t, &v) == expr_ok) plotter.plot(t, v);
  });
}

}  // namespace kestra::plot
