// Pen and brush objects, and their selection: a selected pen brings its line
// routine and a selected brush its fill routine, chosen once here.
#include "platform/no_throw.h"
#include "platform/raster.h"

namespace kestra::platform {
namespace {

// PS_NULL draws nothing; pens 2 pixels wide or more draw solid whatever
// their style; cosmetic styled pens dash.
PenLines pen_lines_of(const Pen& pen) {
  if (pen.style == PS_NULL) return null_pen_lines;
  if (pen.width >= 2) return wide_pen_lines;
  if (dash_pattern_of(pen.style)) return dashed_pen_lines;
  return solid_pen_lines;
}

BrushFill brush_fill_of(const Brush& brush) {
  switch (brush.fill) {
    case Brush::Fill::solid: return solid_brush_fill;
    case Brush::Fill::hatch: return hatch_brush_fill;
    case Brush::Fill::hollow: break;
  }
  return hollow_brush_fill;
}

}  // namespace

HGDIOBJ select_pen(DeviceContext& dc, HPEN handle, std::shared_ptr<Pen> pen) {
  HGDIOBJ previous = dc.pen_handle;
  dc.pen_lines = pen_lines_of(*pen);
  dc.pen_handle = handle;
  dc.pen = std::move(pen);
  return previous;
}

// A hatch brush takes its gap treatment anew at its first use after selection.
HGDIOBJ select_brush(DeviceContext& dc, HBRUSH handle, std::shared_ptr<Brush> brush) {
  HGDIOBJ previous = dc.brush_handle;
  dc.brush_fill = brush_fill_of(*brush);
  dc.brush_handle = handle;
  dc.brush = std::move(brush);
  dc.brush_gaps_latched = false;
  return previous;
}

}  // namespace kestra::platform

using namespace kestra::platform;

HPEN CreatePen(int style, int width, COLORREF color) {
  return or_failure<HPEN>(nullptr, [&]() -> HPEN {
    if (style < PS_SOLID || style > PS_NULL) return nullptr;
    return static_cast<HPEN>(ObjectTable::instance().add(
        std::make_shared<Pen>(style, width < 0 ? 0 : width, color & 0xFFFFFF)));
  });
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return or_failure<HBRUSH>(nullptr, [&]() -> HBRUSH {
    return static_cast<HBRUSH>(ObjectTable::instance().add(
        std::make_shared<Brush>(Brush::Fill::solid, 0, color & 0xFFFFFF)));
  });
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  return or_failure<HBRUSH>(nullptr, [&]() -> HBRUSH {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
    return static_cast<HBRUSH>(ObjectTable::instance().add(
        std::make_shared<Brush>(Brush::Fill::hatch, hatch, color & 0xFFFFFF)));
  });
}
