// Everything of the plot but its points: background, frame, axes through
// the origin, arrow heads, axis captions and the zero mark.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "plot/plot.h"

namespace kestra::plot {
namespace {

constexpr int arrow_style_heads = 2;
constexpr int arrow_length = 4;
constexpr std::uint8_t arrow_top = 0x1;
constexpr std::uint8_t arrow_right = 0x2;
constexpr std::uint8_t arrow_bottom = 0x4;
constexpr std::uint8_t arrow_left = 0x8;
constexpr int caption_gap = 10;  // between a caption's right end and its reference
constexpr int text_offset = 5;   // below the axis or the plot area's top

bool in_int_range(std::int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

// Positions beyond the int range are off every picture.
void set_pixel(HDC dc, std::int64_t x, std::int64_t y, COLORREF color) {
  if (in_int_range(x) && in_int_range(y)) SetPixel(dc, static_cast<int>(x), static_cast<int>(y), color);
}

struct Point {
  std::int64_t x, y;
};

// The middle pixel of line n of an arrow head, or nothing when the axis
// has no place.
std::optional<Point> arrow_line_middle(std::uint8_t bit, int n, const RECT& plot, const Origin& origin) {
  switch (bit) {
    case arrow_top:
      if (!origin.column) return std::nullopt;
      return Point{*origin.column, std::int64_t{plot.top} + n};
    case arrow_right:
      if (!origin.row) return std::nullopt;
      return Point{std::int64_t{plot.right} - 1 - n, *origin.row};
    case arrow_bottom:
      if (!origin.column) return std::nullopt;
      return Point{*origin.column, std::int64_t{plot.bottom} - 1 - n};
    default:
      if (!origin.row) return std::nullopt;
      return Point{std::int64_t{plot.left} + n, *origin.row};
  }
}

// Lines of 3, 5, 7 and 9 single pixels, the tip one pixel inside the axis end.
void draw_arrow_head(const PlotDrawing& drawing, std::uint8_t bit) {
  const bool across_columns = bit == arrow_top || bit == arrow_bottom;
  for (int n = 1; n <= arrow_length; ++n) {
    const auto middle = arrow_line_middle(bit, n, drawing.options.rcPlot, drawing.origin);
    if (!middle) return;
    for (int k = -n; k <= n; ++k) {
      set_pixel(drawing.dc, middle->x + (across_columns ? k : 0), middle->y + (across_columns ? 0 : k),
                drawing.options.axisColor);
    }
  }
}

// The caption text: up to its terminator, and never past its field.
std::string_view caption(const char (&field)[20]) {
  return std::string_view(field, strnlen(field, sizeof field));
}

void select_text(const PlotDrawing& drawing) {
  SetBkMode(drawing.dc, TRANSPARENT);
  SetTextColor(drawing.dc, drawing.options.textColor);
}

void draw_text(const PlotDrawing& drawing, std::int64_t x, std::int64_t y, std::string_view text) {
  if (!in_int_range(x) || !in_int_range(y)) return;
  TextOutA(drawing.dc, static_cast<int>(x), static_cast<int>(y), text.data(),
           static_cast<int>(text.size()));
}

int text_width(HDC dc, std::string_view text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// A caption whose right end stands caption_gap left of `right`.
void draw_caption(const PlotDrawing& drawing, std::string_view text, std::int64_t right,
                  std::int64_t top) {
  select_text(drawing);
  draw_text(drawing, right - text_width(drawing.dc, text) - caption_gap, top, text);
}

}  // namespace

void draw_background(const PlotDrawing& drawing) {
  if (drawing.options.fillBackground) {
    diagram::fill_picture(drawing.dc, drawing.selection, drawing.size, drawing.options.backColor);
  }
}

void draw_frame(const PlotDrawing& drawing) {
  const OPTION_RECT& options = drawing.options;
  if (options.drawFrame) {
    diagram::draw_outline(drawing.dc, drawing.selection, options.rcFrame, options.frameColor);
  }
}

// The axis pen stays selected for both axes and the arrow heads.
void draw_axes_and_arrows(const PlotDrawing& drawing) {
  const OPTION_RECT& options = drawing.options;
  const RECT& plot = options.rcPlot;
  drawing.selection.pen(PS_SOLID, 1, options.axisColor);
  if (options.drawAxisX && drawing.origin.row) {
    diagram::draw_line(drawing.dc, plot.left, *drawing.origin.row, plot.right, *drawing.origin.row);
  }
  if (options.drawAxisY && drawing.origin.column) {
    diagram::draw_line(drawing.dc, *drawing.origin.column, plot.top, *drawing.origin.column,
                       plot.bottom);
  }
  if (options.arrowStyle != arrow_style_heads) return;
  for (std::uint8_t bit : {arrow_top, arrow_right, arrow_bottom, arrow_left}) {
    if (options.arrowMask & bit) draw_arrow_head(drawing, bit);
  }
}

// The horizontal axis caption ends 10 pixels left of the plot area's right
// side, 5 below the axis; the vertical one ends 10 pixels left of its axis,
// 5 below the plot area's top. The zero mark stands 5 right of and below
// the origin.
void draw_captions(const PlotDrawing& drawing) {
  const OPTION_RECT& options = drawing.options;
  const Origin& origin = drawing.origin;
  drawing.selection.font(options.fontHeight);
  const std::string_view x_caption = caption(options.captionX);
  if (!x_caption.empty() && origin.row) {
    draw_caption(drawing, x_caption, options.rcPlot.right, std::int64_t{*origin.row} + text_offset);
  }
  const std::string_view y_caption = caption(options.captionY);
  if (!y_caption.empty() && origin.column) {
    draw_caption(drawing, y_caption, *origin.column, std::int64_t{options.rcPlot.top} + text_offset);
  }
  if (options.showZero == 1 && origin.column && origin.row) {
    select_text(drawing);
    draw_text(drawing, std::int64_t{*origin.column} + text_offset,
              std::int64_t{*origin.row} + text_offset, "0");
  }
}

}  // namespace kestra::plot
