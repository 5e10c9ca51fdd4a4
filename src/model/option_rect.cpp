// ReturnOptionRect: a plot record from plain arguments and a flag word.
#include <cstdint>

#include "kestra.h"
#include "model/model.h"

namespace {

constexpr std::uint8_t arrows_top_and_right = KESTRA_ARROW_TOP | KESTRA_ARROW_RIGHT;
constexpr double default_step = 0.01;

}  // namespace

OPTION_RECT ReturnOptionRect(tagRECT picture, unsigned long backColor, unsigned long graphColor,
                             unsigned long frameColor, unsigned long axisColor, double xMin,
                             double yMin, double xMax, double yMax, double argFrom, double argTo,
                             unsigned long textColor, int fontHeight, char* captionX,
                             char* captionY, unsigned long flags) {
  using namespace kestra::model;
  OPTION_RECT options{};
  options.rcPicture = picture;
  options.fillBackground = flag_field(flags, KESTRA_PLOT_BACKGROUND);
  options.backColor = static_cast<std::uint32_t>(backColor);
  options.graphColor = static_cast<std::uint32_t>(graphColor);
  options.drawFrame = flag_field(flags, KESTRA_PLOT_FRAME);
  options.rcFrame = inset(picture, frame_inset);
  options.frameColor = static_cast<std::uint32_t>(frameColor);
  options.drawAxisX = flag_field(flags, KESTRA_PLOT_AXIS_X);
  options.drawAxisY = flag_field(flags, KESTRA_PLOT_AXIS_Y);
  options.axisColor = static_cast<std::uint32_t>(axisColor);
  options.arrowStyle = (flags & KESTRA_PLOT_ARROWS) ? KESTRA_ARROWS_HEADS : KESTRA_ARROWS_PLAIN;
  options.arrowMask = arrows_top_and_right;
  options.rcPlot = inset(picture, options.drawFrame ? plot_inset_framed : frame_inset);
  options.xMin = xMin;
  options.yMin = yMin;
  options.xMax = xMax;
  options.yMax = yMax;
  options.argOnX = 1 - flag_field(flags, KESTRA_PLOT_ARGUMENT_VERTICAL);
  options.argFrom = argFrom;
  options.argTo = argTo;
  options.argStep = default_step;
  options.textColor = static_cast<std::uint32_t>(textColor);
  options.fontHeight = fontHeight;
  copy_text(options.captionX, sizeof options.captionX, captionX);
  copy_text(options.captionY, sizeof options.captionY, captionY);
  options.showZero = static_cast<std::uint8_t>(flag_field(flags, KESTRA_PLOT_ZERO_MARK));
  return options;
}
