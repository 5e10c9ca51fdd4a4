// GDI's dash patterns for cosmetic styled pens: one pattern unit per painted
// pixel, starting "on" at the first pixel of every LineTo.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "kestra_win32.h"

namespace kestra::platform {

struct DashPattern {
  int period = 0;
  std::uint32_t on_mask = 0;  // bit k set: phase k is painted with the pen

  constexpr bool is_on(int phase) const { return (on_mask >> phase) & 1u; }
};

// Builds a pattern from alternating run lengths, "on" first.
constexpr DashPattern make_dash_pattern(std::initializer_list<int> runs) {
  DashPattern pattern;
  bool on = true;
  for (int run : runs) {
    for (int k = 0; k < run; ++k, ++pattern.period) {
      if (on) pattern.on_mask |= 1u << pattern.period;
    }
    on = !on;
  }
  return pattern;
}

inline constexpr DashPattern dash_pattern_dash = make_dash_pattern({18, 6});              // PS_DASH
inline constexpr DashPattern dash_pattern_dot = make_dash_pattern({3, 3});                // PS_DOT
inline constexpr DashPattern dash_pattern_dashdot = make_dash_pattern({9, 6, 3, 6});      // PS_DASHDOT
inline constexpr DashPattern dash_pattern_dashdotdot = make_dash_pattern({9, 3, 3, 3, 3, 3});  // PS_DASHDOTDOT

static_assert(dash_pattern_dash.period == 24 && dash_pattern_dot.period == 6 &&
              dash_pattern_dashdot.period == 24 && dash_pattern_dashdotdot.period == 24);

// The pattern of a pen style; null for PS_SOLID and any other style.
constexpr const DashPattern* dash_pattern_of(int style) {
  switch (style) {
    case PS_DASH: return &dash_pattern_dash;
    case PS_DOT: return &dash_pattern_dot;
    case PS_DASHDOT: return &dash_pattern_dashdot;
    case PS_DASHDOTDOT: return &dash_pattern_dashdotdot;
    default: return nullptr;
  }
}

}  // namespace kestra::platform
