// The data series: polylines, polylines with square markers, or grouped bars.
#include "diagram/diagram.h"

namespace kestra::diagram {
namespace {

constexpr int marker_half = 3;  // markers are 6 x 6 squares centred on the point

// Values that are not finite have no pixel row: their segments, markers and
// bars are left out.
void draw_line_series(const Drawing& drawing, int r, bool markers) {
  const Geometry& g = drawing.geometry;
  const GRAPH_ELEM& element = drawing.disp.elements[r];
  drawing.selection.pen(pen_style(element.style), element.width, element.color);
  for (int c = 0; c + 1 < g.categories(); ++c) {
    const auto y0 = g.y(g.value(r, c));
    const auto y1 = g.y(g.value(r, c + 1));
    if (y0 && y1) canvas::draw_line(drawing.dc, g.point_x(c), *y0, g.point_x(c + 1), *y1);
  }
  if (!markers) return;
  drawing.selection.pen(PS_SOLID, 1, element.color);
  drawing.selection.solid_brush(element.color);
  for (int c = 0; c < g.categories(); ++c) {
    const auto y = g.y(g.value(r, c));
    if (!y) continue;
    const int x = g.point_x(c);
    canvas::drawn(
        Rectangle(drawing.dc, x - marker_half, *y - marker_half, x + marker_half, *y + marker_half));
  }
}

void select_bar_brush(const Drawing& drawing, const GRAPH_ELEM& element) {
  const int hatch = fill_hatch(element.style);
  if (hatch == fill_solid) {
    drawing.selection.solid_brush(element.color);
  } else {
    drawing.selection.hatch_brush(hatch, element.color);
  }
}

// Bars of series r, each with its value printed centred in it.
void draw_bar_series(const Drawing& drawing, int r) {
  const Geometry& g = drawing.geometry;
  const GRAPH_ELEM& element = drawing.disp.elements[r];
  drawing.selection.pen(PS_SOLID, 1, element.color);
  select_bar_brush(drawing, element);
  for (int c = 0; c < g.categories(); ++c) {
    const double value = g.value(r, c);
    const auto top = g.y(value);
    if (!top) continue;
    const Geometry::Span span = g.bar(r, c);
    canvas::drawn(Rectangle(drawing.dc, span.left, *top, span.right, g.axis_y()));
    if (drawing.disp.showBarValues) {
      draw_text(drawing.dc, drawing.numbers.print(value), {span.left, *top, span.right, g.axis_y()},
                DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
  }
}

void draw_bars(const Drawing& drawing) {
  if (drawing.disp.showBarValues) {
    drawing.selection.font(drawing.disp.barValueFontHeight);
    SetTextColor(drawing.dc, drawing.disp.barValueColor);
  }
  for (int r = 0; r < drawing.geometry.series(); ++r) draw_bar_series(drawing, r);
}

}  // namespace

void draw_series(const Drawing& drawing, unsigned long kind) {
  if (!drawing.disp.elements) return;  // no series descriptions, no series
  switch (kind) {
    case KESTRA_KIND_LINES:
    case KESTRA_KIND_LINES_MARKERS:
      for (int r = 0; r < drawing.geometry.series(); ++r)
        draw_line_series(drawing, r, kind == KESTRA_KIND_LINES_MARKERS);
      break;
    case KESTRA_KIND_BARS:
      draw_bars(drawing);
      break;
    default:
      break;  // any other kind draws no series
  }
}

}  // namespace kestra::diagram
