// Axis captions, value labels beside the value axis and category labels
// under the category axis.
#include <cstring>

#include "diagram/diagram.h"

namespace kestra::diagram {
namespace {

constexpr int caption_x_offset = 15;  // category caption: below the axis
constexpr int category_label_offset = 3;

// A text of a fixed-size record field, which may fill the field unterminated.
template <std::size_t N>
std::string_view field_text(const char (&field)[N]) {
  return {field, strnlen(field, N)};
}

// Value labels print the scale at divisions 1 to d - 1, each with its top on
// the matching grid line; the top of the scale and the axis stay unlabelled.
void draw_value_labels(const Drawing& drawing) {
  const Geometry& g = drawing.geometry;
  if (!g.has_extent()) return;  // a scale without extent has no values to show
  const int d = drawing.disp.divisions;
  for (int i = 1; i < d; ++i) {
    const double value = g.vmax() - (g.vmax() - g.base()) * i / d;
    draw_text(drawing.dc, drawing.numbers.print(value),
              {g.left(), g.division_y(i, d), g.right(), g.bottom()}, DT_SINGLELINE);
  }
}

// The label of category c: text number c of the buffer. Only the buffer's
// first `length` bytes are searched for the terminators before it, and a
// label is cut at the buffer's end. Category 0 starts at the buffer's start.
std::optional<std::string_view> category_label(const char* buffer, std::size_t length, int c) {
  std::size_t start = 0;
  for (int found = 0; found < c; ++found) {
    const void* terminator = start < length ? std::memchr(buffer + start, '\0', length - start) : nullptr;
    if (!terminator) return std::nullopt;
    start = static_cast<std::size_t>(static_cast<const char*>(terminator) - buffer) + 1;
    if (start >= length) return std::nullopt;  // the terminator was the buffer's last byte
  }
  const char* text = buffer + start;
  return std::string_view(text, start < length ? strnlen(text, length - start) : std::strlen(text));
}

void draw_category_labels(const Drawing& drawing) {
  const char* buffer = drawing.disp.categoryLabels;
  if (!buffer) return;
  const Geometry& g = drawing.geometry;
  for (int c = 0; c < g.categories(); ++c) {
    const auto label = category_label(buffer, drawing.disp.categoryLabelsLength, c);
    if (!label) break;  // no later category has a label either
    draw_text(drawing.dc, *label,
              {g.slot_edge(c), g.axis_y() + category_label_offset, g.slot_edge(c + 1), g.bottom()},
              DT_CENTER | DT_SINGLELINE);
  }
}

void draw_captions(const Drawing& drawing) {
  const DIAG_DISP& disp = drawing.disp;
  const Geometry& g = drawing.geometry;
  drawing.selection.font(disp.captionFontHeight);
  SetTextColor(drawing.dc, disp.captionColor);
  draw_text(drawing.dc, field_text(disp.captionX),
            {g.axis_x(), g.axis_y() + caption_x_offset, g.right(), g.bottom()},
            DT_CENTER | DT_SINGLELINE);
  draw_text(drawing.dc, field_text(disp.captionY), {g.left(), g.top(), g.right(), g.bottom()},
            DT_SINGLELINE);
  if (disp.showValueLabels) draw_value_labels(drawing);
  if (disp.showCategoryLabels) draw_category_labels(drawing);
}

}  // namespace

void draw_captions_and_labels(const Drawing& drawing) {
  if (drawing.disp.showCaptions) draw_captions(drawing);
  SetBkMode(drawing.dc, OPAQUE);
}

}  // namespace kestra::diagram
