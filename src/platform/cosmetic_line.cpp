// Cosmetic (width 0 and 1) lines: GDI's pixel choice, dash phase and
// clipping that keeps both, exact for any int endpoints.
#include <algorithm>
#include <cstdint>

#include "platform/raster.h"

namespace kestra::platform {
namespace {

using Wide = __int128;

// Smallest integer >= a / b for b > 0.
template <class Int>
constexpr Int ceil_div(Int a, Int b) { return a >= 0 ? (a + b - 1) / b : -((-a) / b); }

// Lines of fewer steps need no 128-bit arithmetic: with 0 <= i <= n and
// |dv| <= n, the numerator plus 2n - 1 stays within 2n^2 + 3n < 2^63, and
// |2n q| <= 2n^2. Longer lines (ends up to 2^32 - 1 apart) take the wide path.
constexpr std::int64_t narrow_steps = std::int64_t{1} << 31;

// The minor offset q = ceil(m / 2n) of step i, m = 2 i dv - n, and the
// remainder rest = 2n q - m, 0 <= rest < 2n, that the walk carries on.
struct MinorOffset {
  std::int64_t q, rest;
};

template <class Int>
MinorOffset minor_offset(std::int64_t i, std::int64_t dv, std::int64_t n) {
  const Int numerator = Int{2} * i * dv - n;
  const Int q = ceil_div<Int>(numerator, Int{2} * n);
  return {static_cast<std::int64_t>(q), static_cast<std::int64_t>(q * (Int{2} * n) - numerator)};
}

// A line walked one step at a time along its major axis u; the minor axis v
// follows v(i) = v0 + ceil((2 i dv - n) / 2n), nearest with halves down.
struct LineAxes {
  std::int64_t u0, v0;
  int u_step;           // +1 or -1
  std::int64_t dv;      // minor delta, signed
  std::int64_t n;       // steps: max(|dx|, |dy|), the number of pixels
  std::int64_t u_size, v_size;  // bitmap extent along each axis
  bool x_major;

  MinorOffset offset_at(std::int64_t i) const {
    return n < narrow_steps ? minor_offset<std::int64_t>(i, dv, n) : minor_offset<Wide>(i, dv, n);
  }
  std::int64_t minor_at(std::int64_t i) const { return v0 + offset_at(i).q; }
  bool minor_inside(std::int64_t v) const { return v >= 0 && v < v_size; }
};

LineAxes axes_of(const Bitmap& bitmap, POINT from, POINT to) {
  const std::int64_t dx = std::int64_t{to.x} - from.x;
  const std::int64_t dy = std::int64_t{to.y} - from.y;
  const std::int64_t ax = dx < 0 ? -dx : dx;
  const std::int64_t ay = dy < 0 ? -dy : dy;
  if (ax >= ay) {
    return {from.x, from.y, dx < 0 ? -1 : 1, dy, ax, bitmap.width, bitmap.height, true};
  }
  return {from.y, from.x, dy < 0 ? -1 : 1, dx, ay, bitmap.height, bitmap.width, false};
}

// First i in [lo, hi) where the monotone predicate holds, or hi.
template <class Predicate>
std::int64_t first_where(std::int64_t lo, std::int64_t hi, Predicate holds) {
  while (lo < hi) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    if (holds(mid)) hi = mid; else lo = mid + 1;
  }
  return lo;
}

struct StepRange {
  std::int64_t begin, end;
};

// The steps whose pixels lie inside the bitmap: a linear bound on the major
// axis, then a binary search on the monotone minor coordinate.
StepRange visible_steps(const LineAxes& line) {
  std::int64_t begin = 0, end = line.n;
  if (line.u_step > 0) {
    begin = std::max(begin, -line.u0);
    end = std::min(end, line.u_size - line.u0);
  } else {
    begin = std::max(begin, line.u0 - line.u_size + 1);
    end = std::min(end, line.u0 + 1);
  }
  if (begin >= end) return {0, 0};
  // v is monotone and ends at v0 + dv: a line inside along both axes
  // needs no search.
  if (begin == 0 && end == line.n && line.minor_inside(line.v0) &&
      line.minor_inside(line.v0 + line.dv)) {
    return {0, line.n};
  }
  const auto below = [&](std::int64_t limit) {
    return [&line, limit](std::int64_t i) { return line.minor_at(i) < limit; };
  };
  const auto at_least = [&](std::int64_t limit) {
    return [&line, limit](std::int64_t i) { return line.minor_at(i) >= limit; };
  };
  if (line.dv >= 0) {
    const std::int64_t first = first_where(begin, end, at_least(0));
    return {first, first_where(first, end, at_least(line.v_size))};
  }
  const std::int64_t first = first_where(begin, end, below(line.v_size));
  return {first, first_where(first, end, below(0))};
}

// Pixel painters of the line walk: one per pen kind, so the walk tests no
// pen property per pixel. A dashed painter's phase starts at the first
// visible step.
struct SolidPixels {
  Pixel color;

  void start_at(std::int64_t) {}
  void operator()(Pixel& pixel) { pixel = color; }
};

template <bool PaintsGaps>
struct DashedPixels {
  const DashedPen& pen;
  std::int64_t first_phase;
  int phase = 0;

  void start_at(std::int64_t step) {
    phase = static_cast<int>((first_phase + step) % pen.dashes.period);
  }
  void operator()(Pixel& pixel) {
    if (pen.dashes.is_on(phase)) {
      pixel = pen.color;
    } else if constexpr (PaintsGaps) {
      pixel = pen.gap_color;
    }
    if (++phase == pen.dashes.period) phase = 0;
  }
};

// Hands `paint` the pixel of every visible step of the line, in order.
template <class Paint>
void walk_line(Bitmap& bitmap, POINT from, POINT to, Paint paint) {
  const LineAxes line = axes_of(bitmap, from, to);
  if (line.n == 0) return;
  const StepRange steps = visible_steps(line);
  if (steps.begin >= steps.end) return;

  // Pixels are addressed by offset into the bitmap: a step moves by
  // u_stride, a change of the minor coordinate by v_stride.
  const std::int64_t denominator = 2 * line.n;
  const MinorOffset start = line.offset_at(steps.begin);
  std::int64_t rest = start.rest;
  const std::int64_t u = line.u0 + line.u_step * steps.begin, v = line.v0 + start.q;
  const std::ptrdiff_t width = bitmap.width;
  const std::ptrdiff_t u_stride = line.x_major ? line.u_step : line.u_step * width;
  const std::ptrdiff_t v_stride = line.x_major ? width : 1;
  std::ptrdiff_t at = line.x_major ? v * width + u : u * width + v;
  Pixel* const pixels = bitmap.row(0);
  paint.start_at(steps.begin);

  // Each step adds 2 dv to the numerator, which moves q by at most one.
  for (std::int64_t i = steps.begin; i < steps.end; ++i) {
    paint(pixels[at]);
    at += u_stride;
    rest -= 2 * line.dv;
    if (rest < 0) {
      rest += denominator;
      at += v_stride;
    } else if (rest >= denominator) {
      rest -= denominator;
      at -= v_stride;
    }
  }
}

}  // namespace

void draw_solid_line(Bitmap& bitmap, Pixel color, POINT from, POINT to) {
  walk_line(bitmap, from, to, SolidPixels{color});
}

// The background mode is chosen once per line: a painter for each.
void draw_dashed_line(Bitmap& bitmap, const DashedPen& pen, std::int64_t phase, POINT from,
                      POINT to) {
  if (pen.paints_gaps) {
    walk_line(bitmap, from, to, DashedPixels<true>{pen, phase});
  } else {
    walk_line(bitmap, from, to, DashedPixels<false>{pen, phase});
  }
}

}  // namespace kestra::platform
