// ReturnDiagDisp: a diagram display record from plain arguments and the
// option flag word.
#include <algorithm>
#include <cstdint>

#include "kestra.h"
#include "model/model.h"

namespace {

using kestra::model::flag_field;
using kestra::model::frame_inset;
using kestra::model::inset;
using kestra::model::plot_inset_framed;

// The look every display record gets.
constexpr int plot_legend_gap = 2;     // between the plot area and the legend box
constexpr std::uint16_t bottom_margin = 40;
constexpr std::uint16_t left_margin = 20;
constexpr std::uint8_t value_and_category_arrows = KESTRA_ARROW_TOP | KESTRA_ARROW_RIGHT;
constexpr std::uint16_t legend_font_height = 10;
constexpr std::uint16_t dotted_grid = 2;  // the line style code of PS_DOT

// The legend box: one fifth of the picture wide, at most 70 pixels, 5 pixels
// from the right edge, 15 pixels per entry.
constexpr std::int64_t picture_per_legend_width = 5;
constexpr std::int64_t max_legend_width = 70;
constexpr std::int64_t legend_right_gap = 5;
constexpr std::int64_t legend_entry_height = 15;

// The legend box, centred vertically in a picture whose top is 0.
// Coordinates keep their low 16 bits.
void place_legend(DIAG_DISP& disp, unsigned short entries) {
  const tagRECT& picture = disp.rcPicture;
  const std::int64_t width = std::int64_t{picture.right} - picture.left;
  const std::int64_t height = std::int64_t{picture.bottom} - picture.top;
  const std::int64_t q = width / picture_per_legend_width;
  const std::int64_t left = std::int64_t{picture.right} - std::min(q, max_legend_width) - legend_right_gap;
  const std::int64_t h = legend_entry_height * std::int64_t{entries};
  std::int64_t top = picture.top;
  std::int64_t bottom = picture.bottom;
  if (h <= height) {
    top = (height - h) / 2;
    bottom = (height + h) / 2;
  }
  disp.legendLeft = static_cast<std::uint16_t>(left);
  disp.legendRight = static_cast<std::uint16_t>(std::int64_t{picture.right} - legend_right_gap);
  disp.legendTop = static_cast<std::uint16_t>(top);
  disp.legendBottom = static_cast<std::uint16_t>(bottom);
}

}  // namespace

DIAG_DISP ReturnDiagDisp(tagRECT picture, unsigned long backColor, unsigned long frameColor,
                         unsigned long axisColor, unsigned short divisions,
                         unsigned long textColor, unsigned short captionFontHeight,
                         unsigned long barValueColor, unsigned short barValueFontHeight,
                         char* captionX, char* captionY, void* categoryLabels,
                         unsigned short categoryLabelsLength, unsigned short legendEntries,
                         void* elements, unsigned char decimals, unsigned long flags) {
  DIAG_DISP disp{};
  disp.rcPicture = picture;
  disp.rcFrame = inset(picture, frame_inset);

  disp.fillBackground = flag_field(flags, KESTRA_DIAG_BACKGROUND);
  disp.drawFrame = flag_field(flags, KESTRA_DIAG_FRAME);
  disp.drawAxisX = flag_field(flags, KESTRA_DIAG_AXIS_X);
  disp.drawAxisY = flag_field(flags, KESTRA_DIAG_AXIS_Y);
  disp.arrowStyle = (flags & KESTRA_DIAG_ARROWS) ? KESTRA_ARROWS_HEADS : KESTRA_ARROWS_PLAIN;
  disp.showCaptions = flag_field(flags, KESTRA_DIAG_CAPTIONS);
  disp.showCategoryLabels = flag_field(flags, KESTRA_DIAG_CATEGORY_LABELS);
  disp.showValueLabels = flag_field(flags, KESTRA_DIAG_VALUE_LABELS);

  disp.marginBottom = bottom_margin;
  disp.marginLeft = left_margin;
  disp.arrowMask = value_and_category_arrows;
  disp.baseValue = 0.0;
  disp.showBarValues = 1;

  disp.backColor = static_cast<std::uint32_t>(backColor);
  disp.frameColor = static_cast<std::uint32_t>(frameColor);
  disp.axisColor = static_cast<std::uint32_t>(axisColor);
  disp.captionColor = static_cast<std::uint32_t>(textColor);
  disp.captionFontHeight = captionFontHeight;
  disp.barValueColor = static_cast<std::uint32_t>(barValueColor);
  disp.barValueFontHeight = barValueFontHeight;
  disp.divisions = divisions;
  disp.categoryLabels = static_cast<char*>(categoryLabels);
  disp.categoryLabelsLength = categoryLabelsLength;
  disp.legendEntries = legendEntries;
  disp.elements = static_cast<GRAPH_ELEM*>(elements);
  disp.decimals = decimals;

  if (flags & KESTRA_DIAG_LEGEND) {
    disp.showLegend = 1;
    place_legend(disp, legendEntries);
    disp.legendFrame = 1;
    disp.legendFrameColor = static_cast<std::uint32_t>(frameColor);
    disp.legendFill = 0;
    disp.legendBackColor = static_cast<std::uint32_t>(backColor);
    disp.legendFontHeight = legend_font_height;
    disp.legendTextColor = static_cast<std::uint32_t>(textColor);
  }

  disp.rcPlot = inset(picture, (flags & KESTRA_DIAG_FRAME) ? plot_inset_framed : frame_inset);
  if (flags & KESTRA_DIAG_LEGEND) disp.rcPlot.right = disp.legendLeft - plot_legend_gap;

  if (flags & KESTRA_DIAG_GRID) {
    disp.showGrid = 1;
    disp.gridStyle = dotted_grid;
    disp.gridVertical = 0;
    disp.gridColor = static_cast<std::uint32_t>(axisColor);
  }

  kestra::model::copy_text(disp.captionX, sizeof disp.captionX, captionX);
  kestra::model::copy_text(disp.captionY, sizeof disp.captionY, captionY);
  return disp;
}
