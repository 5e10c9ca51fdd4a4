// MoveToEx and LineTo: the current position and the choice of line routine
// for the selected pen.
#include <algorithm>

#include "platform/no_throw.h"
#include "platform/raster.h"
#include "platform/recording.h"

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

bool draws_nothing(const DeviceContext& dc) {
  return !dc.bitmap || !dc.pen || dc.pen->style == PS_NULL;
}

bool is_wide(const Pen& pen) { return pen.width >= 2; }

// Steps of a cosmetic line: the dash phase advances by one per pixel.
std::int64_t step_count(POINT from, POINT to) {
  const std::int64_t dx = std::int64_t{to.x} - from.x;
  const std::int64_t dy = std::int64_t{to.y} - from.y;
  return std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
}

}  // namespace

// Wide pens are solid whatever their style; PS_NULL draws nothing. The dash
// pattern starts afresh at every line.
void draw_pen_line(const DeviceContext& dc, POINT from, POINT to) {
  if (draws_nothing(dc)) return;
  if (is_wide(*dc.pen)) {
    draw_wide_line(*dc.bitmap, dc.pen->width, to_pixel(dc.pen->color), from, to);
  } else {
    draw_cosmetic_line(*dc.bitmap, cosmetic_pen_of(dc), from, to);
  }
}

void draw_pen_outline(const DeviceContext& dc, const POINT* corners, int count) {
  if (draws_nothing(dc)) return;
  CosmeticPen pen = cosmetic_pen_of(dc);
  for (int side = 0; side < count; ++side) {
    const POINT from = corners[side];
    const POINT to = corners[(side + 1) % count];
    if (is_wide(*dc.pen)) {
      draw_wide_line(*dc.bitmap, dc.pen->width, pen.color, from, to);
    } else {
      draw_cosmetic_line(*dc.bitmap, pen, from, to);
      if (pen.dashes) pen.first_phase = (pen.first_phase + step_count(from, to)) % pen.dashes->period;
    }
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
  if (const auto recording = recording_dc(dc)) return record_line_to(*recording, {x, y});
  return or_failure<BOOL>(FALSE, [&]() -> BOOL {
    auto context = dc_of(dc);
    if (!context) return FALSE;
    draw_pen_line(*context, context->position, {x, y});
    context->position = {x, y};
    return TRUE;
  });
}
