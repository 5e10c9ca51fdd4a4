// Axes, arrow heads and grid of the plot area.
#include "diagram/diagram.h"

namespace kestra::diagram {
namespace {

// The diagram's arrows: the value axis points up, the category axis right.
constexpr std::uint8_t diagram_arrows = KESTRA_ARROW_TOP | KESTRA_ARROW_RIGHT;
constexpr int tick_length = 3;

void draw_axes(const Drawing& drawing) {
  const Geometry& g = drawing.geometry;
  if (drawing.disp.drawAxisX) canvas::draw_line(drawing.dc, g.axis_x(), g.axis_y(), g.right(), g.axis_y());
  if (drawing.disp.drawAxisY) canvas::draw_line(drawing.dc, g.axis_x(), g.top(), g.axis_x(), g.axis_y());
}

// Arrow heads at the top of the value axis and the right end of the category
// axis, set whether or not the axes themselves are drawn.
void draw_arrow_heads(const Drawing& drawing) {
  const DIAG_DISP& disp = drawing.disp;
  if (disp.arrowStyle != KESTRA_ARROWS_HEADS) return;
  const Geometry& g = drawing.geometry;
  const RECT area{g.left(), g.top(), g.right(), g.bottom()};
  canvas::draw_arrow_heads(drawing.dc, disp.arrowMask & diagram_arrows, area, {g.axis_x(), g.axis_y()},
                           disp.axisColor);
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
      canvas::draw_line(drawing.dc, x, g.axis_y() + tick_length, x, g.top());
    }
  }
  const int d = disp.divisions;
  for (int i = 0; i < d; ++i) {
    const int y = g.division_y(i, d);
    canvas::draw_line(drawing.dc, g.axis_x() - tick_length, y, g.right(), y);
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
