// The legend box: a sample line and the name of every series.
#include "diagram/diagram.h"

namespace kestra::diagram {
namespace {

constexpr int sample_inset = 4;  // sample lines keep 4 pixels from the box sides
constexpr int sample_pen_fraction = 5;  // a sample line's pen is a fifth of its entry's height wide

// Entry i of m covers rows top + (h * i) / m to top + (h * (i + 1)) / m. The
// name is drawn opaque over the sample line, which shows right of the name.
void draw_entry(const Drawing& drawing, const RECT& box, int i, int m) {
  const std::int64_t h = std::int64_t{box.bottom} - box.top;
  const int top = static_cast<int>(box.top + (h * i) / m);
  const int bottom = static_cast<int>(box.top + (h * (i + 1)) / m);
  const GRAPH_ELEM& element = drawing.disp.elements[i];
  drawing.selection.pen(PS_SOLID, (bottom - top) / sample_pen_fraction, element.color);
  const int middle = (top + bottom) / 2;
  canvas::draw_line(drawing.dc, box.left + sample_inset, middle, box.right - sample_inset, middle);
  draw_text(drawing.dc, canvas::field_text(element.name),
            {box.left + 1, top, box.right - 1, bottom}, DT_VCENTER | DT_SINGLELINE);
}

}  // namespace

void draw_legend(const Drawing& drawing) {
  const DIAG_DISP& disp = drawing.disp;
  if (!disp.showLegend) return;
  const RECT box{disp.legendLeft, disp.legendTop, disp.legendRight, disp.legendBottom};
  if (disp.legendFill) canvas::fill_rect(drawing.dc, drawing.selection, box, disp.legendBackColor);
  SetBkMode(drawing.dc, TRANSPARENT);
  if (disp.legendFrame) {
    canvas::draw_outline(drawing.dc, drawing.selection, box, disp.legendFrameColor);
  }
  drawing.selection.font(disp.legendFontHeight);
  SetTextColor(drawing.dc, disp.legendTextColor);
  SetBkColor(drawing.dc, disp.legendBackColor);
  SetBkMode(drawing.dc, OPAQUE);
  // One entry per series of the table, whatever the box was sized for.
  if (!disp.elements) return;
  const int m = drawing.geometry.series();
  for (int i = 0; i < m; ++i) draw_entry(drawing, box, i, m);
}

}  // namespace kestra::diagram
