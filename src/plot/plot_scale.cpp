// Whole-pixel positions of the plot, its scales, and the sampling limits.
#include <algorithm>
#include <cmath>
#include <limits>

#include "plot/plot.h"

namespace kestra::plot {
namespace {

// Beyond this distance from the origin nothing can reach a picture, even
// with a caption of the widest font beside it.
constexpr double pixel_limit = 1 << 30;
constexpr double max_samples = 1e8;

}  // namespace

std::optional<int> RoundPixel(double position) {
  const double pixel = round_position(position);
  if (!(std::fabs(pixel) <= pixel_limit)) return std::nullopt;  // also NaN
  return static_cast<int>(pixel);
}

PlotScale::PlotScale(const OPTION_RECT& options)
    : left_(options.rcPlot.left),
      bottom_(options.rcPlot.bottom),
      width_(static_cast<double>(options.rcPlot.right) - options.rcPlot.left),
      height_(static_cast<double>(options.rcPlot.bottom) - options.rcPlot.top),
      x_min_(options.xMin),
      x_span_(options.xMax - options.xMin),
      y_min_(options.yMin),
      y_span_(options.yMax - options.yMin) {}

// The argument only grows and stays within its bounds until the last
// sample, so each step must move it at the larger bound's magnitude.
bool sampling_ends(const OPTION_RECT& options) {
  const double from = options.argFrom;
  const double to = options.argTo;
  const double step = options.argStep;
  if (!std::isfinite(step) || !(step > 0.0)) return false;
  if (from > to) return true;  // the one sample at argFrom, even at an infinite bound
  if (!std::isfinite(from) || !std::isfinite(to)) return false;
  const double magnitude = std::max(std::fabs(from), std::fabs(to));
  const double spacing =
      std::nextafter(magnitude, std::numeric_limits<double>::infinity()) - magnitude;
  if (step < spacing) return false;
  return (to - from) / step <= max_samples;
}

}  // namespace kestra::plot
