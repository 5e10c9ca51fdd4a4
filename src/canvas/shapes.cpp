// Fills, outlines and arrow heads, drawn alike by both renderers.
#include <algorithm>
#include <climits>

#include "canvas/canvas.h"

namespace kestra::canvas {
namespace {

constexpr int arrow_length = 4;  // lines of 3, 5, 7 and 9 pixels

bool in_int_range(std::int64_t v) { return v >= INT_MIN && v <= INT_MAX; }

// Positions beyond the int range are off every picture.
void set_pixel(HDC dc, std::int64_t x, std::int64_t y, COLORREF color) {
  if (in_int_range(x) && in_int_range(y)) SetPixel(dc, static_cast<int>(x), static_cast<int>(y), color);
}

struct Point {
  std::int64_t x, y;
};

// The middle pixel of line n of the arrow head at `end`, or nothing when its
// axis has no place.
std::optional<Point> arrow_line_middle(KestraArrowEnd end, int n, const RECT& area,
                                       const AxisPlaces& axes) {
  switch (end) {
    case KESTRA_ARROW_TOP:
      if (!axes.column) return std::nullopt;
      return Point{*axes.column, std::int64_t{area.top} + n};
    case KESTRA_ARROW_RIGHT:
      if (!axes.row) return std::nullopt;
      return Point{std::int64_t{area.right} - 1 - n, *axes.row};
    case KESTRA_ARROW_BOTTOM:
      if (!axes.column) return std::nullopt;
      return Point{*axes.column, std::int64_t{area.bottom} - 1 - n};
    case KESTRA_ARROW_LEFT:
      break;
  }
  if (!axes.row) return std::nullopt;
  return Point{std::int64_t{area.left} + n, *axes.row};
}

void draw_arrow_head(HDC dc, KestraArrowEnd end, const RECT& area, const AxisPlaces& axes,
                     COLORREF color) {
  const bool across_columns = end == KESTRA_ARROW_TOP || end == KESTRA_ARROW_BOTTOM;
  for (int n = 1; n <= arrow_length; ++n) {
    const auto middle = arrow_line_middle(end, n, area, axes);
    if (!middle) return;
    for (int k = -n; k <= n; ++k) {
      set_pixel(dc, middle->x + (across_columns ? k : 0), middle->y + (across_columns ? 0 : k), color);
    }
  }
}

}  // namespace

void fill_rect(HDC dc, Selection& selection, const RECT& rect, COLORREF color) {
  selection.pen(PS_SOLID, 1, color);
  selection.solid_brush(color);
  drawn(Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom));
}

void fill_picture(HDC dc, Selection& selection, PictureSize size, COLORREF color) {
  const auto side = [](std::int64_t v) {
    return static_cast<LONG>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
  };
  fill_rect(dc, selection, {0, 0, side(size.width), side(size.height)}, color);
}

void draw_outline(HDC dc, Selection& selection, const RECT& rect, COLORREF color) {
  selection.pen(PS_SOLID, 1, color);
  selection.hollow_brush();
  drawn(Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom));
}

void draw_arrow_heads(HDC dc, std::uint8_t mask, const RECT& area, const AxisPlaces& axes,
                      COLORREF color) {
  for (KestraArrowEnd end :
       {KESTRA_ARROW_TOP, KESTRA_ARROW_RIGHT, KESTRA_ARROW_BOTTOM, KESTRA_ARROW_LEFT}) {
    if (mask & end) draw_arrow_head(dc, end, area, axes, color);
  }
}

}  // namespace kestra::canvas
