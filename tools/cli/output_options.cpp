// Options of the picture file itself, for every drawing command.
#include <cmath>

#include "option_binding.h"
#include "options.h"

namespace kestra::cli {

void add_output_options(CLI::App& command, PictureOutput& output) {
  add_parsed(
      command, "--scale", output.scale,
      [](const std::string& text) -> std::optional<double> {
        const auto scale = parse_number(text);
        return scale && std::isfinite(*scale) && *scale > 0 ? scale : std::nullopt;
      },
      "F",
      "every coordinate, width and font height times F, the same layout (default 1; "
      "2 for a sharp PNG on a high-density screen)",
      "a number above 0");
  command.add_flag("--smooth", output.smooth,
                   "anti-aliased PNG or BMP (without it, and at scale 1, the exact pixels; "
                   "SVG and PDF are always smooth)");
}

}  // namespace kestra::cli
