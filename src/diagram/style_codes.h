// The style codes of the records as GDI styles: a series or grid line style
// code is a pen style, a bar fill code a solid or hatched brush.
#pragma once

#include <cstdint>

#include "kestra.h"

namespace kestra::diagram {

struct PenCode {
  std::int32_t code;
  int pen_style;
};

inline constexpr PenCode pen_codes[] = {
    {1, PS_SOLID}, {2, PS_DOT}, {3, PS_DASH}, {4, PS_DASHDOT}, {5, PS_DASHDOTDOT},
};

// GDI pen style of a line style code; a code without a style draws solid.
constexpr int pen_style(std::int32_t code) {
  for (const PenCode& entry : pen_codes) {
    if (entry.code == code) return entry.pen_style;
  }
  return PS_SOLID;
}

// A bar fill: solid, or hatched in the series colour.
inline constexpr int fill_solid = -1;

struct FillCode {
  std::int32_t code;
  int hatch;  // a HS_ style, or fill_solid
};

inline constexpr FillCode fill_codes[] = {
    {1, fill_solid},   {2, HS_BDIAGONAL}, {3, HS_CROSS},    {4, HS_DIAGCROSS},
    {5, HS_FDIAGONAL}, {6, fill_solid},   {7, HS_VERTICAL},
};

// The hatch of a bar fill code, or fill_solid; a code without a fill is solid.
constexpr int fill_hatch(std::int32_t code) {
  for (const FillCode& entry : fill_codes) {
    if (entry.code == code) return entry.hatch;
  }
  return fill_solid;
}

static_assert(pen_style(2) == PS_DOT && pen_style(0) == PS_SOLID && fill_hatch(7) == HS_VERTICAL &&
              fill_hatch(8) == fill_solid);

}  // namespace kestra::diagram
