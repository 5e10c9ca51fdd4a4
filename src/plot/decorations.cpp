// Everything of the plot but its points: background, frame, axes through
// the origin, arrow heads, axis captions and the zero mark.
#include <cstdint>
#include <string_view>

#include "plot/plot.h"

namespace kestra::plot {
namespace {

constexpr int caption_gap = 10;  // between a caption's right end and its reference
constexpr int text_offset = 5;   // below the axis or the plot area's top

bool in_int_range(std::int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

void select_text(const PlotDrawing& drawing) {
  SetBkMode(drawing.dc, TRANSPARENT);
  SetTextColor(drawing.dc, drawing.options.textColor);
}

void draw_text(const PlotDrawing& drawing, std::int64_t x, std::int64_t y, std::string_view text) {
  if (!in_int_range(x) || !in_int_range(y)) return;
  canvas::drawn(TextOutA(drawing.dc, static_cast<int>(x), static_cast<int>(y), text.data(),
                         static_cast<int>(text.size())));
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

// The background covers the whole bitmap; the frame is an outline only.
void draw_background_and_frame(const PlotDrawing& drawing) {
  const OPTION_RECT& options = drawing.options;
  if (options.fillBackground) {
    canvas::fill_picture(drawing.dc, drawing.selection, drawing.size, options.backColor);
  }
  if (options.drawFrame) {
    canvas::draw_outline(drawing.dc, drawing.selection, options.rcFrame, options.frameColor);
  }
}

// The axis pen stays selected for both axes and the arrow heads.
void draw_axes_and_arrows(const PlotDrawing& drawing) {
  const OPTION_RECT& options = drawing.options;
  const RECT& plot = options.rcPlot;
  drawing.selection.pen(PS_SOLID, 1, options.axisColor);
  if (options.drawAxisX && drawing.origin.row) {
    canvas::draw_line(drawing.dc, plot.left, *drawing.origin.row, plot.right, *drawing.origin.row);
  }
  if (options.drawAxisY && drawing.origin.column) {
    canvas::draw_line(drawing.dc, *drawing.origin.column, plot.top, *drawing.origin.column,
                       plot.bottom);
  }
  if (options.arrowStyle != KESTRA_ARROWS_HEADS) return;
  canvas::draw_arrow_heads(drawing.dc, options.arrowMask, plot, drawing.origin, options.axisColor);
}

// The horizontal axis caption ends 10 pixels left of the plot area's right
// side, 5 below the axis; the vertical one ends 10 pixels left of its axis,
// 5 below the plot area's top. The zero mark stands 5 right of and below
// the origin.
void draw_captions(const PlotDrawing& drawing) {
  const OPTION_RECT& options = drawing.options;
  const Origin& origin = drawing.origin;
  drawing.selection.font(options.fontHeight);
  const std::string_view x_caption = canvas::field_text(options.captionX);
  if (!x_caption.empty() && origin.row) {
    draw_caption(drawing, x_caption, options.rcPlot.right, std::int64_t{*origin.row} + text_offset);
  }
  const std::string_view y_caption = canvas::field_text(options.captionY);
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
