// Area fills: the routines a brush selects (solid colour, hatch pattern with
// its gaps painted or left, nothing for a hollow brush) and the clipped fill
// that calls the selected one.
#include <algorithm>

#include "platform/hatch.h"
#include "platform/raster.h"

namespace kestra::platform {
namespace {

// A hatch brush keeps the background mode and colour of its first use after
// selection until it is selected again (GDI builds its pattern bits then).
void latch_gap_treatment(DeviceContext& dc) {
  if (dc.brush_gaps_latched) return;
  dc.brush_gaps_latched = true;
  dc.latched_bk_mode = dc.bk_mode;
  dc.latched_bk_color = dc.bk_color;
}

// The gap treatment stays a loop parameter: a loop per mode (a template
// flag) measured a third slower for opaque hatches.
void fill_hatch(Bitmap& bitmap, const HatchRows& pattern, Pixel color, bool paints_gaps,
                Pixel gap_color, const RECT& area) {
  for (int y = area.top; y < area.bottom; ++y) {
    Pixel* row = bitmap.row(y);
    for (int x = area.left; x < area.right; ++x) {
      if (is_hatch_pixel(pattern, x, y)) {
        row[x] = color;
      } else if (paints_gaps) {
        row[x] = gap_color;
      }
    }
  }
}

}  // namespace

void solid_brush_fill(DeviceContext& dc, Bitmap& bitmap, const RECT& area) {
  const Pixel color = to_pixel(dc.brush->color);
  for (int y = area.top; y < area.bottom; ++y) fill_span(bitmap, y, area.left, area.right, color);
}

void hatch_brush_fill(DeviceContext& dc, Bitmap& bitmap, const RECT& area) {
  latch_gap_treatment(dc);
  const std::size_t style = static_cast<std::size_t>(dc.brush->hatch);
  if (style >= hatch_patterns.size()) return;
  const Pixel color = to_pixel(dc.brush->color);
  const Pixel gap_color = to_pixel(dc.latched_bk_color);
  fill_hatch(bitmap, hatch_patterns[style], color, dc.latched_bk_mode == OPAQUE, gap_color, area);
}

void hollow_brush_fill(DeviceContext&, Bitmap&, const RECT&) {}

void fill_with_brush(DeviceContext& dc, Bitmap& bitmap, RECT area) {
  area.left = std::max<LONG>(area.left, 0);
  area.top = std::max<LONG>(area.top, 0);
  area.right = std::min<LONG>(area.right, bitmap.width);
  area.bottom = std::min<LONG>(area.bottom, bitmap.height);
  if (area.left >= area.right || area.top >= area.bottom) return;
  dc.brush_fill(dc, bitmap, area);
}

}  // namespace kestra::platform
