// The line walk against the rule it implements, computed column by column
// with 128-bit division: random endpoints near, across and far outside
// random bitmaps, up to the ends of the int range.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>

#include "platform/raster.h"

namespace kestra::platform {
namespace {

using Wide = __int128;

// The minor coordinate of step i: v0 + ceil((2 i dv - n) / 2n).
std::int64_t expected_minor(std::int64_t v0, std::int64_t dv, std::int64_t n, std::int64_t i) {
  const Wide numerator = Wide{2} * i * dv - n, denominator = Wide{2} * n;
  Wide q = numerator / denominator;  // truncated: already the ceiling below zero
  if (numerator % denominator > 0) ++q;
  return v0 + static_cast<std::int64_t>(q);
}

// Calls paint(i, x, y) for each step i < n of from -> to whose pixel lies in
// a w x h bitmap, visiting the major-axis coordinates of the bitmap.
template <class Paint>
void expected_pixels(int w, int h, POINT from, POINT to, Paint paint) {
  const std::int64_t dx = std::int64_t{to.x} - from.x, dy = std::int64_t{to.y} - from.y;
  const bool x_major = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
  const std::int64_t du = x_major ? dx : dy, dv = x_major ? dy : dx;
  const std::int64_t u0 = x_major ? from.x : from.y, v0 = x_major ? from.y : from.x;
  const std::int64_t n = du < 0 ? -du : du;
  const int u_size = x_major ? w : h, v_size = x_major ? h : w;
  if (n == 0) return;
  for (std::int64_t u = 0; u < u_size; ++u) {
    const std::int64_t i = du > 0 ? u - u0 : u0 - u;
    if (i < 0 || i >= n) continue;
    const std::int64_t v = expected_minor(v0, dv, n, i);
    if (v < 0 || v >= v_size) continue;
    paint(i, x_major ? u : v, x_major ? v : u);
  }
}

bool same_pixels(Bitmap& a, Bitmap& b) {
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (a.row(y)[x] != b.row(y)[x]) return false;
    }
  }
  return true;
}

// Endpoint coordinates by scale: inside a bitmap side, near it, far out, the
// whole int range, its two ends; the last scale mixes them per coordinate.
constexpr int scales = 6;
int random_coordinate(std::mt19937& random, int side, int scale) {
  switch (scale) {
    case 0: return std::uniform_int_distribution<int>(0, side - 1)(random);
    case 1: return std::uniform_int_distribution<int>(-2 * side, 3 * side)(random);
    case 2: return std::uniform_int_distribution<int>(-100000, 100000)(random);
    case 3: return std::uniform_int_distribution<int>(INT_MIN, INT_MAX)(random);
    case 4: return std::uniform_int_distribution<int>(0, 1)(random) ? INT_MIN : INT_MAX;
    default:
      return random_coordinate(random, side, std::uniform_int_distribution<int>(0, 4)(random));
  }
}

TEST(CosmeticLine, PaintsThePixelsOfTheRuleForRandomLinesAndClipBoxes) {
  std::mt19937 random(20261209);
  const DashPattern* patterns[] = {&dash_pattern_dash, &dash_pattern_dot, &dash_pattern_dashdot,
                                   &dash_pattern_dashdotdot};
  constexpr Pixel pen = 0xFFFF00, gap = 0x0000FF;
  for (int trial = 0; trial < 4000; ++trial) {
    SCOPED_TRACE(trial);
    const int w = std::uniform_int_distribution<int>(1, 48)(random);
    const int h = std::uniform_int_distribution<int>(1, 48)(random);
    const int kind = trial % 3;  // solid, dashed over gaps, dashed leaving gaps
    const DashedPen dashed{*patterns[trial % 4], pen, kind == 1, gap};
    Bitmap drawn(w, h), expected(w, h);
    for (int line = 0; line < 6; ++line) {
      const int scale = std::uniform_int_distribution<int>(0, scales - 1)(random);
      const POINT from{random_coordinate(random, w, scale), random_coordinate(random, h, scale)};
      const POINT to{random_coordinate(random, w, scale), random_coordinate(random, h, scale)};
      const std::int64_t phase = std::uniform_int_distribution<int>(0, 23)(random) %
                                 dashed.dashes.period;
      if (kind == 0) {
        draw_solid_line(drawn, pen, from, to);
      } else {
        draw_dashed_line(drawn, dashed, phase, from, to);
      }
      expected_pixels(w, h, from, to, [&](std::int64_t i, std::int64_t x, std::int64_t y) {
        Pixel& pixel = expected.row(static_cast<int>(y))[x];
        if (kind == 0 || dashed.dashes.is_on(static_cast<int>((phase + i) % dashed.dashes.period))) {
          pixel = pen;
        } else if (kind == 1) {
          pixel = gap;
        }
      });
      ASSERT_TRUE(same_pixels(drawn, expected))
          << w << "x" << h << " line " << line << ": (" << from.x << ", " << from.y << ") -> ("
          << to.x << ", " << to.y << ")";
    }
  }
}

}  // namespace
}  // namespace kestra::platform
