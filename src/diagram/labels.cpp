// Axis captions, value labels beside the value axis and category labels
// under the category axis.
#include <cstring>

#include "diagram/diagram.h"

namespace kestra::diagram {

CategoryLabels::CategoryLabels(const char* buffer, std::size_t length)
    : buffer_(buffer), length_(length), start_() {
  if (buffer) start_ = 0;
}

// Label c begins right behind the c-th terminator, found within the buffer's
// first `length` bytes; a terminator in the last byte ends the labels. A label
// is cut at the buffer's end, except the first one of an empty buffer.
std::optional<std::string_view> CategoryLabels::current() const {
  if (!start_) return std::nullopt;
  const char* text = buffer_ + *start_;
  return std::string_view(text, *start_ < length_ ? strnlen(text, length_ - *start_) : std::strlen(text));
}

void CategoryLabels::advance() {
  if (!start_) return;
  const void* terminator =
      *start_ < length_ ? std::memchr(buffer_ + *start_, '\0', length_ - *start_) : nullptr;
  const std::size_t next =
      terminator ? static_cast<std::size_t>(static_cast<const char*>(terminator) - buffer_) + 1 : length_;
  start_ = next < length_ ? std::optional<std::size_t>(next) : std::nullopt;
}

namespace {

constexpr int caption_x_offset = 15;  // category caption: below the axis
constexpr int category_label_offset = 3;

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

void draw_category_labels(const Drawing& drawing) {
  const Geometry& g = drawing.geometry;
  CategoryLabels labels(drawing.disp.categoryLabels, drawing.disp.categoryLabelsLength);
  for (int c = 0; c < g.categories(); labels.advance(), ++c) {
    const auto label = labels.current();
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
  draw_text(drawing.dc, canvas::field_text(disp.captionX),
            {g.axis_x(), g.axis_y() + caption_x_offset, g.right(), g.bottom()},
            DT_CENTER | DT_SINGLELINE);
  draw_text(drawing.dc, canvas::field_text(disp.captionY), {g.left(), g.top(), g.right(), g.bottom()},
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
