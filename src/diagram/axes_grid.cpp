// Axes, arrow heads and grid of the plot area.
#include "diagram/diagram.h"

namespace kestra::diagram {
namespace {

constexpr int arrow_style_heads = 2;
constexpr std::uint8_t arrow_value_axis = 0x1;     // top of the value axis
constexpr std::uint8_t arrow_category_axis = 0x2;  // right end of the category axis
constexpr int arrow_length = 4;
constexpr int tick_length = 3;

void draw_axes(const Drawing& drawing) {
  const Geometry& g = drawing.geometry;
  if (drawing.disp.drawAxisX) draw_line(drawing.dc, g.axis_x(), g.axis_y(), g.right(), g.axis_y());
  if (drawing.disp.drawAxisY) draw_line(drawing.dc, g.axis_x(), g.top(), g.axis_x(), g.axis_y());
}

// Arrow heads are pixel rows (or columns) of 3, 5, 7 and 9 pixels behind the
// tip, set whether or not the axes themselves are drawn.
void draw_arrow_heads(const Drawing& drawing) {
  const DIAG_DISP& disp = drawing.disp;
  if (disp.arrowStyle != arrow_style_heads) return;
  const Geometry& g = drawing.geometry;
  const COLORREF color = disp.axisColor;
  if (disp.arrowMask & arrow_value_axis) {
    for (int k = 1; k <= arrow_length; ++k)
      for (int x = g.axis_x() - k; x <= g.axis_x() + k; ++x) SetPixel(drawing.dc, x, g.top() + k, color);
  }
  if (disp.arrowMask & arrow_category_axis) {
    for (int k = 1; k <= arrow_length; ++k)
      for (int y = g.axis_y() - k; y <= g.axis_y() + k; ++y)
        SetPixel(drawing.dc, g.right() - 1 - k, y, color);
  }
}

// Vertical lines at the category boundaries reach 3 pixels below the axis as
// ticks; horizontal lines at the divisions start 3 pixels left of the value
// axis. No line is drawn at the category axis itself.
void draw_grid(const Drawing& drawing) {
  const DIAG_DISP& disp = drawing.disp;
  const Geometry& g = drawing.geometry;
  drawing.selection.pen(pen_style(disp.gridStyle), 1, disp.gridColor);
  // Gaps of dotted and dashed lines leave the picture untouched.
  SetBkMode(drawing.dc, TRANSPARENT);
  if (disp.gridVertical) {
    for (int k = 1; k <= g.categories(); ++k) {
      const int x = g.slot_edge(k);
      draw_line(drawing.dc, x, g.axis_y() + tick_length, x, g.top());
    }
  }
  const int d = disp.divisions;
  for (int i = 0; i < d; ++i) {
    const int y = g.division_y(i, d);
    draw_line(drawing.dc, g.axis_x() - tick_length, y, g.right(), y);
  }
  SetBkMode(drawing.dc, OPAQUE);
}

}  // namespace

void draw_axes_and_grid(const Drawing& drawing) {
  // The axis pen is selected whether or not an axis is drawn.
  drawing.selection.pen(PS_SOLID, 1, drawing.disp.axisColor);
  draw_axes(drawing);
  draw_arrow_heads(drawing);
  if (drawing.disp.showGrid) draw_grid(drawing);
  // Series and captions are drawn in transparent mode.
  SetBkMode(drawing.dc, TRANSPARENT);
}

}  // namespace kestra::diagram
