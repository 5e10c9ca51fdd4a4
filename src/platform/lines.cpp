// MoveToEx and LineTo, and the line routines a selected pen brings.
#include <algorithm>

#include "platform/no_throw.h"
#include "platform/raster.h"
#include "platform/recording.h"

namespace kestra::platform {
namespace {

// Calls draw(from, to) for each segment through `points`, and for the one
// closing them when `closed`.
template <class Draw>
void for_each_segment(const POINT* points, int count, bool closed, Draw draw) {
  for (int i = 0; i + 1 < count; ++i) draw(points[i], points[i + 1]);
  if (closed && count > 1) draw(points[count - 1], points[0]);
}

// Steps of a cosmetic line: the dash phase advances by one per pixel.
std::int64_t step_count(POINT from, POINT to) {
  const std::int64_t dx = std::int64_t{to.x} - from.x;
  const std::int64_t dy = std::int64_t{to.y} - from.y;
  return std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
}

}  // namespace

void null_pen_lines(const DeviceContext&, Bitmap&, const POINT*, int, bool) {}

void solid_pen_lines(const DeviceContext& dc, Bitmap& bitmap, const POINT* points, int count,
                     bool closed) {
  const Pixel color = to_pixel(dc.pen->color);
  for_each_segment(points, count, closed,
                   [&](POINT from, POINT to) { draw_solid_line(bitmap, color, from, to); });
}

// Styled pens read the background mode and colour at every call.
void dashed_pen_lines(const DeviceContext& dc, Bitmap& bitmap, const POINT* points, int count,
                      bool closed) {
  const DashedPen pen{*dash_pattern_of(dc.pen->style), to_pixel(dc.pen->color),
                      dc.bk_mode == OPAQUE, to_pixel(dc.bk_color)};
  std::int64_t phase = 0;
  for_each_segment(points, count, closed, [&](POINT from, POINT to) {
    draw_dashed_line(bitmap, pen, phase, from, to);
    phase = (phase + step_count(from, to)) % pen.dashes.period;
  });
}

void wide_pen_lines(const DeviceContext& dc, Bitmap& bitmap, const POINT* points, int count,
                    bool closed) {
  const Pixel color = to_pixel(dc.pen->color);
  for_each_segment(points, count, closed, [&](POINT from, POINT to) {
    draw_wide_line(bitmap, dc.pen->width, color, from, to);
  });
}

void draw_pen_line(const DeviceContext& dc, POINT from, POINT to) {
  if (!dc.bitmap) return;
  const POINT points[] = {from, to};
  dc.pen_lines(dc, *dc.bitmap, points, 2, false);
}

void draw_pen_outline(const DeviceContext& dc, const POINT* corners, int count) {
  if (dc.bitmap) dc.pen_lines(dc, *dc.bitmap, corners, count, true);
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
