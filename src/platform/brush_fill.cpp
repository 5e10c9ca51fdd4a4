// Area fills with the selected brush: solid colour, hatch pattern with its
// gaps painted or left, or nothing for a hollow brush.
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

void fill_with_brush(DeviceContext& dc, Bitmap& bitmap, RECT area) {
  if (!dc.brush || dc.brush->fill == Brush::Fill::hollow) return;
  area.left = std::max<LONG>(area.left, 0);
  area.top = std::max<LONG>(area.top, 0);
  area.right = std::min<LONG>(area.right, bitmap.width);
  area.bottom = std::min<LONG>(area.bottom, bitmap.height);
  if (area.left >= area.right || area.top >= area.bottom) return;

  const Pixel color = to_pixel(dc.brush->color);
  if (dc.brush->fill == Brush::Fill::solid) {
    for (int y = area.top; y < area.bottom; ++y) fill_span(bitmap, y, area.left, area.right, color);
    return;
  }
  latch_gap_treatment(dc);
  const std::size_t style = static_cast<std::size_t>(dc.brush->hatch);
  if (style >= hatch_patterns.size()) return;
  fill_hatch(bitmap, hatch_patterns[style], color, dc.latched_bk_mode == OPAQUE,
             to_pixel(dc.latched_bk_color), area);
}

}  // namespace kestra::platform
