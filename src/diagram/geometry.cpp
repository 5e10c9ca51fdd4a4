// The plot geometry: value region, value scale, category points, slots and bars.
#include <algorithm>
#include <cmath>

#include "diagram/diagram.h"

namespace kestra::diagram {
namespace {

// GDI's coordinate space is 28 bits wide; farther coordinates are clamped to it.
constexpr std::int64_t coordinate_limit = std::int64_t{1} << 27;

// The largest finite value of the table, and at least 0. Values that are not
// finite take no part in the scale.
double largest_value(const TAB_GR& table) {
  const std::size_t count = static_cast<std::size_t>(table.rows) * static_cast<std::size_t>(table.cols);
  double vmax = 0.0;
  for (std::size_t i = 0; i < count; ++i) {
    const double v = table.values[i];
    if (std::isfinite(v) && v > vmax) vmax = v;
  }
  return vmax;
}

}  // namespace

Geometry::Geometry(const TAB_GR& table, const DIAG_DISP& disp)
    : values_(table.values),
      n_(table.cols),
      m_(table.rows),
      L_(disp.rcPlot.left),
      T_(disp.rcPlot.top),
      R_(disp.rcPlot.right),
      B_(disp.rcPlot.bottom),
      X0_(L_ + disp.marginLeft),
      Y0_(B_ - disp.marginBottom),
      W_(R_ - disp.marginLeft - L_),
      H_(Y0_ - T_),
      vmax_(largest_value(table)),
      base_(disp.baseValue),
      has_extent_(std::isfinite(vmax_ - base_) && vmax_ != base_) {}

int Geometry::pixel(std::int64_t coordinate) {
  return static_cast<int>(std::clamp(coordinate, -coordinate_limit, coordinate_limit));
}

int Geometry::pixel(double coordinate) {
  const double limit = static_cast<double>(coordinate_limit);
  return static_cast<int>(std::clamp(coordinate, -limit, limit));
}

// y(v) = T + (1 - (v - base) / (vmax - base)) * H, in this order, truncated.
std::optional<int> Geometry::y(double value) const {
  if (!std::isfinite(value)) return std::nullopt;
  if (!has_extent_) return pixel(Y0_);
  const double row = static_cast<double>(T_) +
                     (1.0 - (value - base_) / (vmax_ - base_)) * static_cast<double>(H_);
  if (std::isnan(row)) return std::nullopt;
  return pixel(row);
}

int Geometry::division_y(int i, int d) const { return pixel(T_ + (H_ * i) / d); }

int Geometry::slot_edge(int c) const { return pixel(X0_ + (W_ * c) / n_); }

// Within the slot of a category the m series stand side by side in equal
// parts, each narrowed by one pixel on either side.
Geometry::Span Geometry::bar(int r, int c) const {
  const double x0 = static_cast<double>(X0_);
  const double w = static_cast<double>(W_);
  const double share = static_cast<double>(r) / m_;
  const double next_share = static_cast<double>(r + 1) / m_;
  return {pixel(x0 + w * (c + share) / n_ + 1), pixel(x0 + w * (c + next_share) / n_ - 1)};
}

}  // namespace kestra::diagram
