// Pixel routines shared by the line, wide-pen, rectangle and brush code:
// everything here clips to the bitmap and takes coordinates of any int size.
#pragma once

#include <cstdint>

#include "platform/dashes.h"
#include "platform/gdi_objects.h"

namespace kestra::platform {

// A width 0 or 1 pen as one line sees it: the dash pattern (null for
// solid), its phase at the line's first pixel, and the colour of the gaps
// (none in TRANSPARENT mode).
struct CosmeticPen {
  Pixel color = 0;
  const DashPattern* dashes = nullptr;
  std::int64_t first_phase = 0;
  bool paints_gaps = false;
  Pixel gap_color = 0;
};

// Draws one segment with the DC's pen as LineTo does, without touching the
// current position.
void draw_pen_line(const DeviceContext& dc, POINT from, POINT to);

// Draws the closed outline through `corners` with the DC's pen; the dash
// phase runs on from side to side.
void draw_pen_outline(const DeviceContext& dc, const POINT* corners, int count);

// Paints the pixels of a cosmetic line from `from` up to, not including,
// `to`: one pixel per step along the major axis, minor coordinate rounded to
// nearest with exact halves going to the smaller coordinate. Clipping keeps
// the unclipped line's pixels and dash phase.
void draw_cosmetic_line(Bitmap& bitmap, const CosmeticPen& pen, POINT from, POINT to);

// Paints a line of a pen `width` >= 2 pixels wide: round caps on both ends
// and the body between them, all in one colour.
void draw_wide_line(Bitmap& bitmap, int width, Pixel color, POINT from, POINT to);

// Paints row y from x_begin up to, not including, x_end (clipped).
void fill_span(Bitmap& bitmap, std::int64_t y, std::int64_t x_begin, std::int64_t x_end,
               Pixel color);

// Fills columns left..right-1 and rows top..bottom-1 with the DC's brush,
// latching a hatch brush's gap treatment at its first use after selection.
void fill_with_brush(DeviceContext& dc, Bitmap& bitmap, RECT area);

}  // namespace kestra::platform
