// Options of the plot command: every OPTION_RECT field.
#include "option_binding.h"
#include "options.h"

namespace kestra::cli {
namespace {

void add_range_options(CLI::App& command, PlotLook& look) {
  add_parsed(command, "--size", look.size, parse_size, "WIDTHxHEIGHT",
             "picture size in pixels (default 640x400)");
  add_parsed(command, "--x", look.x, parse_span, "FROM:TO",
             "horizontal scale from the left to the right side (default -10:10)");
  add_parsed(command, "--y", look.y, parse_span, "MIN:MAX",
             "vertical scale from the bottom to the top (default -10:10)");
  add_parsed(command, "--arg", look.argument, parse_span, "FROM:TO",
             "argument range sampled (default: the scale of the argument's axis)");
  add_parsed(
      command, "--step", look.step,
      [](const std::string& text) -> std::optional<double> {
        const auto step = parse_number(text);
        return step && *step > 0 ? step : std::nullopt;
      },
      "NUMBER", "argument step (default 0.01)", "a number above 0");
}

void add_look_options(CLI::App& command, PlotLook& look) {
  add_color(command, "--color", look.graph_color, "colour of the curve (default #c80000)");
  add_color(command, "--background", look.background, "background colour (default white)");
  add_color(command, "--frame-color", look.frame_color, "frame colour (default black)");
  add_color(command, "--axis-color", look.axis_color, "axis and arrow colour (default black)");
  add_color(command, "--text-color", look.text_color,
            "colour of the captions and the zero mark (default black)");
  add_integer(command, "--font", look.font, 1, 99, "caption font height, 1 to 99 (default 14)");
  command.add_option("--caption-x", look.caption_x,
                     "caption of the horizontal axis, 19 bytes of UTF-8 (default x)");
  command.add_option("--caption-y", look.caption_y,
                     "caption of the vertical axis, 19 bytes of UTF-8 (default y)");
  add_rect(command, "--frame-rect", look.frame_rect, "frame rectangle (default: picture inset 2)");
  add_rect(command, "--plot-rect", look.plot_rect,
           "plot area (default: picture inset 2, or 4 with --frame)");
  add_integer(command, "--arrow-mask", look.arrow_mask, 0, 15,
              "arrow heads with --arrows: 1 top, 2 right, 4 bottom, 8 left (default 3)");
}

void add_switches(CLI::App& command, PlotLook& look) {
  command.add_flag("--frame", look.frame_on, "draw the frame");
  command.add_flag("--arrows", look.arrows_on, "arrow heads on the axes");
  command.add_flag("--zero", look.zero_on, "write 0 beside the origin");
  command.add_flag_callback("--no-background", [&look] { look.background_on = false; },
                            "leave the background black");
  command.add_flag_callback("--no-axes", [&look] { look.axis_x_on = look.axis_y_on = false; },
                            "neither axis");
  command.add_flag_callback("--no-axis-x", [&look] { look.axis_x_on = false; },
                            "no horizontal axis");
  command.add_flag_callback("--no-axis-y", [&look] { look.axis_y_on = false; },
                            "no vertical axis");
}

}  // namespace

void add_plot_options(CLI::App& command, PlotLook& look) {
  add_range_options(command, look);
  add_look_options(command, look);
  add_switches(command, look);
  add_output_options(command, look.output);
}

}  // namespace kestra::cli
