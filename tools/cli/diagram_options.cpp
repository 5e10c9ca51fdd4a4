// Options of the diag command: kind, size, texts, series looks, colours and
// fonts, the switches of the flag word, and the record fields the builder
// fixes (margins, legend box, grid style, ...).
#include <map>

#include "option_binding.h"
#include "options.h"

namespace kestra::cli {
namespace {

template <class Item, class Parse>
CLI::Option* add_list(CLI::App& command, const std::string& name, std::vector<Item>& target,
                      Parse parse_item, const std::string& type, const std::string& help) {
  return add_parsed(
      command, name, target,
      [parse_item](const std::string& text) -> std::optional<std::vector<Item>> {
        std::vector<Item> items;
        for (const std::string& part : split_list(text)) {
          auto item = parse_item(part);
          if (!item) return std::nullopt;
          items.push_back(*item);
        }
        return items;
      },
      type, help);
}

std::optional<std::string> as_text(const std::string& text) { return text; }
std::optional<int> as_width(const std::string& text) {
  const auto width = parse_integer(text, 0, 255);
  return width ? std::optional<int>(static_cast<int>(*width)) : std::nullopt;
}

void add_shape_options(CLI::App& command, DiagramLook& look) {
  const std::map<std::string, unsigned long> kinds{{"bars", KESTRA_KIND_BARS},
                                                  {"lines", KESTRA_KIND_LINES},
                                                  {"markers", KESTRA_KIND_LINES_MARKERS}};
  command.add_option("--kind", look.kind, "bars (default), lines, or markers (lines with squares)")
      ->transform(CLI::CheckedTransformer(kinds, CLI::ignore_case))
      ->type_name("bars|lines|markers");
  add_parsed(command, "--size", look.size, parse_size, "WIDTHxHEIGHT",
             "picture size in pixels (default 640x400)");
  command.add_option("--caption-x", look.caption_x,
                     "caption of the category axis (19 bytes of UTF-8)");
  command.add_option("--caption-y", look.caption_y, "caption of the value axis (19 bytes of UTF-8)");
  add_list(command, "--labels", look.labels, as_text, "TEXT,TEXT,...",
           "category labels (default: the table's, else A,B,...)");
  add_list(command, "--names", look.names, as_text, "TEXT,TEXT,...",
           "series names (default: the table's, else 1,2,...)");
  add_list(command, "--colors", look.colors, parse_color, "COLOUR,COLOUR,...",
           "series colours, #rrggbb or names, cycled (default: a 10-colour palette)");
  add_list(command, "--styles", look.styles, parse_style, "STYLE,STYLE,...",
           "series styles, cycled: bars 1 solid, 2 bdiagonal, 3 cross, 4 diagcross, "
           "5 fdiagonal, 6 solid, 7 vertical; lines 1 solid, 2 dot, 3 dash, 4 dashdot, "
           "5 dashdotdot (default 1)");
  add_list(command, "--widths", look.widths, as_width, "PIXELS,PIXELS,...",
           "series line widths, cycled (default 1)");
  add_integer(command, "--divisions", look.divisions, 0, 1000,
              "value divisions: grid lines and value labels (default 5)");
  add_integer(command, "--decimals", look.decimals, 0, 20, "digits after the point (default 1)");
  add_number(command, "--base", look.base_value, "value on the category axis (default 0)");
}

void add_color_and_font_options(CLI::App& command, DiagramLook& look) {
  add_color(command, "--background", look.background, "background colour (default white)");
  add_color(command, "--frame-color", look.frame_color, "frame colour (default black)");
  add_color(command, "--axis-color", look.axis_color, "axis colour (default black)");
  add_color(command, "--text-color", look.text_color,
            "colour of captions, labels and legend texts (default black)");
  add_color(command, "--value-color", look.bar_value_color,
            "colour of the values in bars (default white)");
  add_color(command, "--grid-color", look.grid_color, "grid colour (default: the axis colour)");
  add_color(command, "--legend-frame-color", look.legend_frame_color,
            "legend outline colour (default: the frame colour)");
  add_color(command, "--legend-background", look.legend_background,
            "legend fill colour (default: the background)");
  add_color(command, "--legend-text-color", look.legend_text_color,
            "legend text colour (default: the text colour)");
  add_integer(command, "--caption-font", look.caption_font, 1, 1000,
              "font height of captions and labels (default 12)");
  add_integer(command, "--value-font", look.bar_value_font, 1, 1000,
              "font height of the values in bars (default 10)");
  add_integer(command, "--legend-font", look.legend_font, 1, 1000,
              "legend font height (default 10)");
}

void add_switches(CLI::App& command, DiagramLook& look) {
  struct Switch {
    const char* name;
    bool* on;
    const char* help;
  };
  const Switch switches[] = {
      {"--no-background", &look.background_on, "leave the background black"},
      {"--no-frame", &look.frame_on, "no frame"},
      {"--no-axis-x", &look.axis_x_on, "no category axis"},
      {"--no-axis-y", &look.axis_y_on, "no value axis"},
      {"--no-arrows", &look.arrows_on, "no arrow heads"},
      {"--no-legend", &look.legend_on, "no legend"},
      {"--no-grid", &look.grid_on, "no grid"},
      {"--no-captions", &look.captions_on, "no captions and no labels"},
      {"--no-labels", &look.category_labels_on, "no category labels"},
      {"--no-value-labels", &look.value_labels_on, "no value labels"},
      {"--no-values", &look.bar_values_on, "no values printed in bars"},
      {"--no-legend-frame", &look.legend_frame_on, "no legend outline"},
  };
  for (const Switch& s : switches) {
    command.add_flag_callback(s.name, [on = s.on] { *on = false; }, s.help);
  }
  command.add_flag_callback("--no-axes", [&look] { look.axis_x_on = look.axis_y_on = false; },
                            "neither axis");
  command.add_flag("--legend-fill", look.legend_fill, "fill the legend box");
  command.add_flag("--grid-vertical", look.grid_vertical,
                   "also vertical grid lines at the category boundaries");
}

void add_geometry_options(CLI::App& command, DiagramLook& look) {
  add_rect(command, "--frame-rect", look.frame_rect, "frame rectangle (default: picture inset 2)");
  add_rect(command, "--plot-rect", look.plot_rect,
           "plot area (default: picture inset 4, left of the legend)");
  // The record keeps the legend box in unsigned 16-bit fields.
  add_parsed(
      command, "--legend-box", look.legend_box,
      [](const std::string& text) -> std::optional<tagRECT> {
        const auto box = parse_rect(text);
        if (!box || box->left < 0 || box->top < 0 || box->right < 0 || box->bottom < 0) {
          return std::nullopt;
        }
        return box;
      },
      "LEFT,TOP,RIGHT,BOTTOM",
      "legend box (default: right fifth, at most 70 wide, 15 pixels per entry)",
      "LEFT,TOP,RIGHT,BOTTOM of 0 or more");
  add_integer(command, "--legend-entries", look.legend_entries, 0, 65535,
              "entries the legend box is sized for (default: the series count)");
  add_integer(command, "--margin-bottom", look.margin_bottom, 0, 65535,
              "plot area bottom to category axis (default 40)");
  add_integer(command, "--margin-left", look.margin_left, 0, 65535,
              "plot area left to value axis (default 20)");
  add_integer(command, "--arrow-mask", look.arrow_mask, 0, 255,
              "arrow heads: 1 value axis top, 2 category axis right (default 3)");
  add_integer(command, "--grid-style", look.grid_style, 1, 5,
              "grid line style: 1 solid, 2 dot, 3 dash, 4 dashdot, 5 dashdotdot (default 2)");
}

}  // namespace

void add_diagram_options(CLI::App& command, DiagramLook& look) {
  add_shape_options(command, look);
  add_color_and_font_options(command, look);
  add_switches(command, look);
  add_geometry_options(command, look);
  add_output_options(command, look.output);
}

}  // namespace kestra::cli
