// Lines of pens 2 or more pixels wide: a round cap on each end point and a
// body between them, painted solid whatever the pen style.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "platform/raster.h"

namespace kestra::platform {
namespace {

// Wider pens cover every bitmap around the line anyway; the limit keeps the
// cap table and its arithmetic small.
constexpr int max_pen_width = 1 << 17;

// How far each row of a width x width disc stays in from the disc's
// bounding square, top row first. The rows follow the midpoint stepping of
// an ellipse through the outer pixel centres (a = width - 1 between them),
// walked from the middle row outward; the upper half mirrors the lower.
std::vector<int> cap_row_insets(int width) {
  const std::int64_t a = width - 1;
  const std::int64_t odd = a % 2;
  const std::int64_t step = 8 * a * a;
  std::int64_t dx = 4 * a * a * (1 - a);
  std::int64_t dy = 4 * a * a * (1 + odd);
  std::int64_t err = dx + dy + a * a * odd;
  std::vector<int> inset(static_cast<std::size_t>(width) + 1, 0);
  int x = 0;
  int y = width / 2;
  while (x <= width / 2) {
    const std::int64_t twice = 2 * err;
    if (twice >= dx) {
      ++x;
      dx += step;
      err += dx;
    }
    if (twice <= dy) {
      ++y;
      dy += step;
      err += dy;
      inset[static_cast<std::size_t>(y)] = x;
    }
  }
  for (int row = 0; row < width / 2; ++row) {
    inset[static_cast<std::size_t>(row)] = inset[static_cast<std::size_t>(a - row)];
  }
  inset.resize(static_cast<std::size_t>(width));
  return inset;
}

// The cap covers offsets -width/2 .. width-1-width/2 on both axes.
void paint_cap(Bitmap& bitmap, const std::vector<int>& insets, Pixel color, POINT at) {
  const int width = static_cast<int>(insets.size());
  const std::int64_t left = std::int64_t{at.x} - width / 2;
  const std::int64_t top = std::int64_t{at.y} - width / 2;
  const std::int64_t first = std::max<std::int64_t>(0, -top);
  const std::int64_t last = std::min<std::int64_t>(width, bitmap.height - top);
  for (std::int64_t row = first; row < last; ++row) {
    const int inset = insets[static_cast<std::size_t>(row)];
    fill_span(bitmap, top + row, left + inset, left + width - inset, color);
  }
}

// Rows y - width/2 .. y - width/2 + width - 1 between the end points, the
// right end point's column left out; vertical lines the same transposed.
void paint_straight_body(Bitmap& bitmap, int width, Pixel color, POINT from, POINT to) {
  const std::int64_t half = width / 2;
  if (from.y == to.y) {
    const std::int64_t x_begin = std::min(from.x, to.x);
    const std::int64_t x_end = std::max(from.x, to.x);
    const std::int64_t top = std::max<std::int64_t>(0, std::int64_t{from.y} - half);
    const std::int64_t bottom = std::min<std::int64_t>(bitmap.height, from.y - half + width);
    for (std::int64_t y = top; y < bottom; ++y) fill_span(bitmap, y, x_begin, x_end, color);
    return;
  }
  const std::int64_t y_begin = std::max<std::int64_t>(0, std::min(from.y, to.y));
  const std::int64_t y_end = std::min<std::int64_t>(bitmap.height, std::max(from.y, to.y));
  for (std::int64_t y = y_begin; y < y_end; ++y) {
    fill_span(bitmap, y, std::int64_t{from.x} - half, from.x - half + width, color);
  }
}

struct Corner {
  std::int64_t x, y;
};
using Quad = std::array<Corner, 4>;

std::int64_t round_half_away(double value) { return std::llround(value); }

// The slanted body: offsets n and k perpendicular to the line, rounded
// from the pen's half width; corners P0-n, P0+k, P1+k, P1-n (y flipped as
// the offsets are applied).
Quad slanted_body(int width, POINT from, POINT to) {
  const double dx = static_cast<double>(std::int64_t{to.x} - from.x);
  const double dy = static_cast<double>(std::int64_t{to.y} - from.y);
  const double length = std::sqrt(dx * dx + dy * dy);
  const double wx = width * std::fabs(dy) / length;
  const double wy = width * std::fabs(dx) / length;
  Corner n{round_half_away(wx / 2), round_half_away(wy / 2)};
  Corner k{round_half_away((wx + 1) / 2), round_half_away((wy + 1) / 2)};
  if (dx < 0) {
    n.y = -n.y;
    k.y = -k.y;
  }
  if (dy < 0) {
    std::swap(n, k);
    n.x = -n.x;
    k.x = -k.x;
  }
  return {Corner{from.x - n.x, from.y + n.y}, Corner{from.x + k.x, from.y - k.y},
          Corner{to.x + k.x, to.y - k.y}, Corner{to.x - n.x, to.y + n.y}};
}

// Even-odd fill: on row y an edge counts when ymin <= y < ymax, and each span
// covers the integers x with x_enter <= x < x_leave.
void fill_quad(Bitmap& bitmap, const Quad& quad, Pixel color) {
  std::int64_t y_min = quad[0].y, y_max = quad[0].y;
  for (const Corner& c : quad) {
    y_min = std::min(y_min, c.y);
    y_max = std::max(y_max, c.y);
  }
  y_min = std::max<std::int64_t>(y_min, 0);
  y_max = std::min<std::int64_t>(y_max, bitmap.height);
  for (std::int64_t y = y_min; y < y_max; ++y) {
    // Unused entries sort to the end.
    std::array<std::int64_t, 4> starts;
    starts.fill(std::numeric_limits<std::int64_t>::max());
    int count = 0;
    for (std::size_t i = 0; i < quad.size(); ++i) {
      Corner a = quad[i];
      Corner b = quad[(i + 1) % quad.size()];
      if (a.y > b.y) std::swap(a, b);
      if (y < a.y || y >= b.y) continue;
      // First integer x at or right of the exact crossing.
      const __int128 numerator = static_cast<__int128>(y - a.y) * (b.x - a.x);
      const std::int64_t span = b.y - a.y;
      const __int128 whole = numerator >= 0 ? (numerator + span - 1) / span : -((-numerator) / span);
      starts[static_cast<std::size_t>(count++)] = a.x + static_cast<std::int64_t>(whole);
    }
    std::sort(starts.begin(), starts.end());
    for (int i = 0; i + 1 < count; i += 2) {
      fill_span(bitmap, y, starts[static_cast<std::size_t>(i)],
                starts[static_cast<std::size_t>(i + 1)], color);
    }
  }
}

}  // namespace

void draw_wide_line(Bitmap& bitmap, int width, Pixel color, POINT from, POINT to) {
  width = std::min(width, max_pen_width);
  const std::vector<int> insets = cap_row_insets(width);
  paint_cap(bitmap, insets, color, from);
  paint_cap(bitmap, insets, color, to);
  if (from.x == to.x && from.y == to.y) return;
  if (from.x == to.x || from.y == to.y) {
    paint_straight_body(bitmap, width, color, from, to);
  } else {
    fill_quad(bitmap, slanted_body(width, from, to), color);
  }
}

}  // namespace kestra::platform
