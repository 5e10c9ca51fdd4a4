// ReturnOptionRect: a plot record from plain arguments and a flag word.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "plot/plot.h"

namespace kestra::plot {
namespace {

constexpr int frame_inset = 2;
constexpr int plot_inset_framed = 4;
constexpr std::uint8_t arrows_top_and_right = KESTRA_ARROW_TOP | KESTRA_ARROW_RIGHT;
constexpr double default_step = 0.01;

// Sides beyond the int range stop at its ends.
LONG shift(LONG side, int by) {
  return static_cast<LONG>(std::clamp<std::int64_t>(std::int64_t{side} + by, INT32_MIN, INT32_MAX));
}

RECT inset(const RECT& r, int by) {
  return {shift(r.left, by), shift(r.top, by), shift(r.right, -by), shift(r.bottom, -by)};
}

std::uint32_t flag(unsigned long flags, unsigned long bit) { return (flags & bit) ? 1 : 0; }

// Copies a caption cut to its field's 19 characters; null is empty.
void copy_caption(char (&field)[20], const char* text) {
  if (!text) return;
  std::strncpy(field, text, sizeof field - 1);
}

}  // namespace
}  // namespace kestra::plot

OPTION_RECT ReturnOptionRect(tagRECT picture, unsigned long backColor, unsigned long graphColor,
                             unsigned long frameColor, unsigned long axisColor, double xMin,
                             double yMin, double xMax, double yMax, double argFrom, double argTo,
                             unsigned long textColor, int fontHeight, char* captionX,
                             char* captionY, unsigned long flags) {
  using namespace kestra::plot;
  OPTION_RECT options{};
  options.rcPicture = picture;
  options.fillBackground = flag(flags, KESTRA_PLOT_BACKGROUND);
  options.backColor = static_cast<std::uint32_t>(backColor);
  options.graphColor = static_cast<std::uint32_t>(graphColor);
  options.drawFrame = flag(flags, KESTRA_PLOT_FRAME);
  options.rcFrame = inset(picture, frame_inset);
  options.frameColor = static_cast<std::uint32_t>(frameColor);
  options.drawAxisX = flag(flags, KESTRA_PLOT_AXIS_X);
  options.drawAxisY = flag(flags, KESTRA_PLOT_AXIS_Y);
  options.axisColor = static_cast<std::uint32_t>(axisColor);
  options.arrowStyle = (flags & KESTRA_PLOT_ARROWS) ? KESTRA_ARROWS_HEADS : KESTRA_ARROWS_PLAIN;
  options.arrowMask = arrows_top_and_right;
  options.rcPlot = inset(picture, options.drawFrame ? plot_inset_framed : frame_inset);
  options.xMin = xMin;
  options.yMin = yMin;
  options.xMax = xMax;
  options.yMax = yMax;
  options.argOnX = 1 - flag(flags, KESTRA_PLOT_ARGUMENT_VERTICAL);
  options.argFrom = argFrom;
  options.argTo = argTo;
  options.argStep = default_step;
  options.textColor = static_cast<std::uint32_t>(textColor);
  options.fontHeight = fontHeight;
  copy_caption(options.captionX, captionX);
  copy_caption(options.captionY, captionY);
  options.showZero = static_cast<std::uint8_t>(flag(flags, KESTRA_PLOT_ZERO_MARK));
  return options;
}
