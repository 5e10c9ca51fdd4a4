// The sampled points: the argument runs from argFrom by argStep while at
// most argTo, and each value inside the plot area sets one pixel.
#include <cmath>
#include <cstdint>
#include <utility>

#include "plot/plot.h"

namespace kestra::plot {
namespace {

// Sets the pixel of each point strictly inside rcPlot. Positions are
// rounded and tested as doubles, so no position that is not finite or far
// outside ever becomes an int.
class PointPlotter {
 public:
  explicit PointPlotter(const PlotDrawing& drawing)
      : dc_(drawing.dc),
        scale_(drawing.scale),
        left_(drawing.options.rcPlot.left),
        top_(drawing.options.rcPlot.top),
        right_(drawing.options.rcPlot.right),
        bottom_(drawing.options.rcPlot.bottom),
        arg_on_x_(drawing.options.argOnX != 0),
        color_(drawing.options.graphColor) {}

  void plot(double argument, double value) {
    const double column = round_position(scale_.column(arg_on_x_ ? argument : value));
    const double row = round_position(scale_.row(arg_on_x_ ? value : argument));
    if (!(column > left_ && column < right_ && row > top_ && row < bottom_)) return;
    const int x = static_cast<int>(column);
    const int y = static_cast<int>(row);
    // Dense samples hit the same pixel many times over; once is enough.
    if (x == last_x_ && y == last_y_) return;
    SetPixel(dc_, x, y, color_);
    last_x_ = x;
    last_y_ = y;
  }

 private:
  // Copies, so the point loop keeps them in registers across SetPixel.
  HDC dc_;
  PlotScale scale_;
  double left_, top_, right_, bottom_;
  bool arg_on_x_;
  COLORREF color_;
  int last_x_ = INT32_MIN, last_y_ = INT32_MIN;  // never strictly inside rcPlot
};

// argFrom, argFrom + argStep, ... while at most argTo, the first always.
// The steps accumulate by double addition, as the samples are defined.
class Arguments {
 public:
  explicit Arguments(const OPTION_RECT& options)
      : t_(options.argFrom), step_(options.argStep), last_(options.argTo) {}
  bool more() const { return more_; }
  double next() {
    const double t = t_;
    t_ += step_;
    more_ = t_ <= last_;
    return t;
  }

 private:
  double t_;
  const double step_, last_;
  bool more_ = true;
};

// Evaluates the samples in batches and plots them. The next batch's
// arguments are added up while the current one is plotted, so the chain of
// additions runs alongside the plotting. A sample without a value is NaN.
template <class Evaluate>
void plot_samples(const OPTION_RECT& options, PointPlotter plotter, Evaluate&& evaluate) {
  Arguments arguments(options);
  double buffers[2][Program::batch];
  double* current = buffers[0];
  double* next = buffers[1];
  double values[Program::batch];
  int n = 0;
  do {
    current[n++] = arguments.next();
  } while (arguments.more() && n < Program::batch);
  while (n > 0) {
    evaluate(current, values, n);
    int following = 0;  // a batch is only short when the arguments have run out
    for (int i = 0; i < n; ++i) {
      plotter.plot(current[i], values[i]);
      if (arguments.more()) next[following++] = arguments.next();
    }
    std::swap(current, next);
    n = following;
  }
}

}  // namespace

void draw_points(const PlotDrawing& drawing, ExpressionState& expression) {
  if (expression.token_count <= 2) return;  // no right-hand side: no sample has a value
  const PointPlotter plotter(drawing);
  if (auto program = Program::compile(expression)) {
    plot_samples(drawing.options, plotter, [&](const double* arguments, double* values, int n) {
      program->run(arguments, values, n);
    });
    return;
  }
  PointEvaluator evaluator(expression);
  plot_samples(drawing.options, plotter, [&](const double* arguments, double* values, int n) {
    for (int i = 0; i < n; ++i) {
      if (evaluator.evaluate(arguments[i], &values[i]) != expr_ok) values[i] = NAN;
    }
  });
}

}  // namespace kestra::plot
