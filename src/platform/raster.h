// Pixel routines shared by the line, wide-pen, rectangle and brush code:
// everything here clips to the bitmap and takes coordinates of any int size.
#pragma once

#include <cstdint>

#include "platform/dashes.h"
#include "platform/gdi_objects.h"

namespace kestra::platform {

// A cosmetic styled pen as one call sees it: its pattern and colour, and the
// background mode and colour of the call, which paint the gaps or leave them.
struct DashedPen {
  const DashPattern& dashes;
  Pixel color;
  bool paints_gaps;
  Pixel gap_color;
};

// The line routines a pen selects (PenLines): nothing for PS_NULL, solid or
// dashed cosmetic lines for widths 0 and 1, wide lines for the rest.
void null_pen_lines(const DeviceContext& dc, Bitmap& bitmap, const POINT* points, int count,
                    bool closed);
void solid_pen_lines(const DeviceContext& dc, Bitmap& bitmap, const POINT* points, int count,
                     bool closed);
void dashed_pen_lines(const DeviceContext& dc, Bitmap& bitmap, const POINT* points, int count,
                      bool closed);
void wide_pen_lines(const DeviceContext& dc, Bitmap& bitmap, const POINT* points, int count,
                    bool closed);

// The fill routines a brush selects (BrushFill).
void solid_brush_fill(DeviceContext& dc, Bitmap& bitmap, const RECT& area);
void hatch_brush_fill(DeviceContext& dc, Bitmap& bitmap, const RECT& area);
void hollow_brush_fill(DeviceContext& dc, Bitmap& bitmap, const RECT& area);

// Draws one segment with the DC's pen as LineTo does, without touching the
// current position. The dash pattern starts afresh at every line.
void draw_pen_line(const DeviceContext& dc, POINT from, POINT to);

// Draws the closed outline through `corners` with the DC's pen; the dash
// phase runs on from side to side.
void draw_pen_outline(const DeviceContext& dc, const POINT* corners, int count);

// Paint the pixels of a cosmetic line from `from` up to, not including,
// `to`: one pixel per step along the major axis, minor coordinate rounded to
// nearest with exact halves going to the smaller coordinate. Clipping keeps
// the unclipped line's pixels and dash phase, which is `phase` at `from`.
void draw_solid_line(Bitmap& bitmap, Pixel color, POINT from, POINT to);
void draw_dashed_line(Bitmap& bitmap, const DashedPen& pen, std::int64_t phase, POINT from,
                      POINT to);

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
