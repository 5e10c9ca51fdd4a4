// MoveToEx and LineTo: the current position and the choice of line routine
// for the selected pen.
#include "platform/raster.h"

namespace kestra::platform {
namespace {

CosmeticPen cosmetic_pen_of(const DeviceContext& dc) {
  CosmeticPen pen;
  pen.color = to_pixel(dc.pen->color);
  pen.dashes = dash_pattern_of(dc.pen->style);
  // Styled pens read the background mode and colour at every LineTo.
  pen.paints_gaps = pen.dashes && dc.bk_mode == OPAQUE;
  pen.gap_color = to_pixel(dc.bk_color);
  return pen;
}

}  // namespace

// Wide pens are solid whatever their style; PS_NULL draws nothing.
void draw_pen_line(const DeviceContext& dc, POINT from, POINT to) {
  if (!dc.bitmap || !dc.pen || dc.pen->style == PS_NULL) return;
  if (dc.pen->width >= 2) {
    draw_wide_line(*dc.bitmap, dc.pen->width, to_pixel(dc.pen->color), from, to);
  } else {
    draw_cosmetic_line(*dc.bitmap, cosmetic_pen_of(dc), from, to);
  }
}

}  // namespace kestra::platform

using namespace kestra::platform;

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
  auto context = dc_of(dc);
  if (!context) return FALSE;
  if (previous) *previous = context->position;
  context->position = {x, y};
  return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
  auto context = dc_of(dc);
  if (!context) return FALSE;
  draw_pen_line(*context, context->position, {x, y});
  context->position = {x, y};
  return TRUE;
}
