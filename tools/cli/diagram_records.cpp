// Diagram records from a table and the options: names and labels from the
// options, else from the table's headers (which the reader fills with
// "1, 2, ..." and "A, B, ..." where the input has none).
#include "diagram_records.h"

#include <array>
#include <limits>

#include "diagram_text.h"
#include "kestra_text.h"

namespace kestra::cli {
namespace {

constexpr std::size_t max_name = sizeof(GRAPH_ELEM::name) - 1;        // 39
constexpr std::size_t max_caption = sizeof(DIAG_DISP::captionX) - 1;  // 19
constexpr std::size_t max_label = 255;  // the longest text CreateTextAxis takes
constexpr std::size_t max_label_bytes = std::numeric_limits<std::uint16_t>::max();
constexpr std::size_t max_series = std::numeric_limits<std::uint16_t>::max();

// A ten-colour palette, cycled when no --colors are given.
constexpr std::array<COLORREF, 10> palette{
    RGB(31, 119, 180), RGB(255, 127, 14), RGB(44, 160, 44),  RGB(214, 39, 40),
    RGB(148, 103, 189), RGB(140, 86, 75), RGB(227, 119, 194), RGB(127, 127, 127),
    RGB(188, 189, 34),  RGB(23, 190, 207)};

template <class T>
T cycled(const std::vector<T>& items, std::size_t i, T fallback) {
  return items.empty() ? fallback : items[i % items.size()];
}

const std::string& pick(const std::vector<std::string>& chosen,
                        const std::vector<std::string>& from_table, std::size_t i) {
  return i < chosen.size() ? chosen[i] : from_table[i];
}

void build_elements(const Table& table, const DiagramLook& look, DiagramRecords& records) {
  records.elements.clear();
  for (std::size_t r = 0; r < table.rows; ++r) {
    std::string name =
        field_text(pick(look.names, table.series_names, r), max_name, "series name", records.notes);
    GRAPH_ELEM element = ReturnGraphElem(cycled(look.colors, r, palette[r % palette.size()]),
                                         cycled(look.styles, r, 1), name.data());
    element.width = static_cast<std::uint8_t>(cycled(look.widths, r, 1));
    records.elements.push_back(element);
  }
}

void build_labels(const Table& table, const DiagramLook& look, DiagramRecords& records) {
  records.labels.clear();
  for (std::size_t c = 0; c < table.cols; ++c) {
    const std::string label =
        field_text(pick(look.labels, table.category_labels, c), max_label, "label", records.notes);
    records.labels.insert(records.labels.end(), label.begin(), label.end());
    records.labels.push_back('\0');
  }
}


// Fields that ReturnDiagDisp fixes or derives, where an option says otherwise.
void apply_overrides(const DiagramLook& look, DIAG_DISP& disp) {
  if (look.frame_rect) disp.rcFrame = *look.frame_rect;
  if (look.plot_rect) disp.rcPlot = *look.plot_rect;
  if (look.margin_bottom) disp.marginBottom = *look.margin_bottom;
  if (look.margin_left) disp.marginLeft = *look.margin_left;
  if (look.arrow_mask) disp.arrowMask = *look.arrow_mask;
  if (look.base_value) disp.baseValue = *look.base_value;
  disp.showBarValues = look.bar_values_on ? 1 : 0;
  if (disp.showLegend) {
    if (look.legend_box) {
      disp.legendLeft = static_cast<std::uint16_t>(look.legend_box->left);
      disp.legendTop = static_cast<std::uint16_t>(look.legend_box->top);
      disp.legendRight = static_cast<std::uint16_t>(look.legend_box->right);
      disp.legendBottom = static_cast<std::uint16_t>(look.legend_box->bottom);
    }
    if (!look.legend_frame_on) disp.legendFrame = 0;
    if (look.legend_fill) disp.legendFill = 1;
    if (look.legend_frame_color) disp.legendFrameColor = *look.legend_frame_color;
    if (look.legend_background) disp.legendBackColor = *look.legend_background;
    if (look.legend_text_color) disp.legendTextColor = *look.legend_text_color;
    if (look.legend_font) disp.legendFontHeight = *look.legend_font;
  }
  if (disp.showGrid) {
    if (look.grid_style) disp.gridStyle = *look.grid_style;
    if (look.grid_vertical) disp.gridVertical = 1;
    if (look.grid_color) disp.gridColor = *look.grid_color;
  }
}

}  // namespace

unsigned long diagram_flags(const DiagramLook& look) {
  const bool bits[] = {look.background_on, look.frame_on,  look.axis_x_on,
                       look.axis_y_on,     look.arrows_on, look.legend_on,
                       look.grid_on,       look.captions_on, look.category_labels_on,
                       look.value_labels_on};
  unsigned long flags = 0;
  for (std::size_t bit = 0; bit < std::size(bits); ++bit) {
    if (bits[bit]) flags |= 1UL << bit;
  }
  return flags;
}

std::optional<std::string> check_look(const Table& table, const DiagramLook& look) {
  if (look.names.size() > table.rows) {
    return std::to_string(look.names.size()) + " names given for " + std::to_string(table.rows) +
           " series";
  }
  if (look.labels.size() > table.cols) {
    return std::to_string(look.labels.size()) + " labels given for " +
           std::to_string(table.cols) + " categories";
  }
  if (table.rows > max_series) return "more than 65535 series";
  std::size_t label_bytes = 0;
  for (std::size_t c = 0; c < table.cols; ++c) {
    const std::string& label = pick(look.labels, table.category_labels, c);
    label_bytes += utf8_fit(label, max_label) + 1;
  }
  if (label_bytes > max_label_bytes) return "the category labels take more than 65535 bytes";
  return std::nullopt;
}

void build_records(const Table& table, const DiagramLook& look, DiagramRecords& records) {
  records.notes.clear();
  build_elements(table, look, records);
  build_labels(table, look, records);
  std::string caption_x = field_text(look.caption_x, max_caption, "caption", records.notes);
  std::string caption_y = field_text(look.caption_y, max_caption, "caption", records.notes);
  const unsigned short entries =
      look.legend_entries.value_or(static_cast<unsigned short>(table.rows));
  records.disp = ReturnDiagDisp(
      {0, 0, look.size.width, look.size.height}, look.background, look.frame_color,
      look.axis_color, look.divisions, look.text_color, look.caption_font, look.bar_value_color,
      look.bar_value_font, caption_x.data(), caption_y.data(), records.labels.data(),
      static_cast<unsigned short>(records.labels.size()), entries, records.elements.data(),
      look.decimals, diagram_flags(look));
  apply_overrides(look, records.disp);
  records.table = {static_cast<std::int32_t>(table.rows), static_cast<std::int32_t>(table.cols),
                   const_cast<double*>(table.values.data())};
}

}  // namespace kestra::cli
