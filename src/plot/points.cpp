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
    const double column = round_position(arg_on_x_ ? scale.column(argument) : scale.column(value));
    const double row = round_position(arg_on_x_ ? scale.row(value) : scale.row(argument));
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

// Hands the arguments over in batches of up to Program::batch. The steps
// accumulate by double addition, as the samples are defined, and the first
// sample is always taken.
template <class Batch>
void for_each_batch(const OPTION_RECT& options, Batch&& take) {
  double arguments[Program::batch];
  const double step = options.argStep;
  const double last = options.argTo;
  double t = options.argFrom;
  bool more = true;
  while (more) {
    int n = 0;
    do {
      arguments[n++] = t;
      t += step;
      more = t <= last;
    } while (more && n < Program::batch);
    take(arguments, n);
  }
}

}  // namespace

void draw_points(const PlotDrawing& drawing) {
  if (ExprTokenCount <= 2) return;  // no right-hand side: no sample has a value
  PointPlotter plotter(drawing);
  double values[Program::batch];
  if (auto program = Program::compile()) {
    for_each_batch(drawing.options, [&](const double* arguments, int n) {
      program->run(arguments, values, n);
      for (int i = 0; i < n; ++i) plotter.plot(arguments[i], values[i]);
    });
    return;
  }
  PointEvaluator evaluator;
  for_each_batch(drawing.options, [&](const double* arguments, int n) {
    for (int i = 0; i < n; ++i) {
      if (evaluator.evaluate(arguments[i], &values[i]) == expr_ok) plotter.plot(arguments[i], values[i]);
    }
  });
}

}  // namespace kestra::plot
