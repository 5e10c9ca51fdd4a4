// What the options of each command set: the look of a diagram or a plot,
// where the table comes from, and the output file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "kestra.h"
#include "kestra_table.h"
#include "option_values.h"

namespace kestra::cli {

// How a picture file is drawn: every coordinate, width and font height
// times `scale`; `smooth` anti-aliases a PNG or BMP.
struct PictureOutput {
  double scale = 1.0;
  bool smooth = false;
};

// Where a diagram's or the table command's numbers come from.
struct TableSource {
  std::string path;    // an .html, .xlsx, .xls or .csv file, or empty
  std::string values;  // --values "1 2 3; 4 5 6", or empty
  TableOptions options;
};

// Every field of DIAG_DISP and GRAPH_ELEM the diagram command can set. The
// plain members are ReturnDiagDisp's arguments and flags; the optional ones
// override what ReturnDiagDisp fixes or derives.
struct DiagramLook {
  Size size{640, 400};
  unsigned long kind = KESTRA_KIND_BARS;
  std::string caption_x;
  std::string caption_y;
  std::vector<std::string> labels;  // one per category; the rest from the table
  std::vector<std::string> names;   // one per series; the rest from the table
  std::vector<COLORREF> colors;     // cycled over the series
  std::vector<int> styles;          // cycled over the series
  std::vector<int> widths;          // cycled over the series
  unsigned short divisions = 5;
  unsigned char decimals = 1;
  COLORREF background = RGB(255, 255, 255);
  COLORREF frame_color = RGB(0, 0, 0);
  COLORREF axis_color = RGB(0, 0, 0);
  COLORREF text_color = RGB(0, 0, 0);
  COLORREF bar_value_color = RGB(255, 255, 255);
  unsigned short caption_font = 12;
  unsigned short bar_value_font = 10;
  // Flag word bits, all on unless switched off.
  bool background_on = true, frame_on = true, axis_x_on = true, axis_y_on = true,
       arrows_on = true, legend_on = true, grid_on = true, captions_on = true,
       category_labels_on = true, value_labels_on = true;
  bool bar_values_on = true;
  // Overrides of the record's derived and fixed fields.
  std::optional<tagRECT> frame_rect, plot_rect;
  std::optional<unsigned short> margin_bottom, margin_left;
  std::optional<unsigned char> arrow_mask;
  std::optional<double> base_value;
  std::optional<unsigned short> legend_entries, legend_font, grid_style;
  std::optional<tagRECT> legend_box;
  std::optional<COLORREF> legend_frame_color, legend_background, legend_text_color, grid_color;
  bool legend_frame_on = true, legend_fill = false, grid_vertical = false;
  PictureOutput output;
};

// Every field of OPTION_RECT the plot command can set.
struct PlotLook {
  Size size{640, 400};
  COLORREF background = RGB(255, 255, 255);
  COLORREF graph_color = RGB(200, 0, 0);
  COLORREF frame_color = RGB(0, 0, 0);
  COLORREF axis_color = RGB(0, 0, 0);
  COLORREF text_color = RGB(0, 0, 0);
  Span x{-10, 10};
  Span y{-10, 10};
  std::optional<Span> argument;  // default: the scale the argument runs along
  double step = 0.01;
  int font = 14;
  std::string caption_x = "x";
  std::string caption_y = "y";
  bool background_on = true, axis_x_on = true, axis_y_on = true;
  bool frame_on = false, arrows_on = false, zero_on = false;
  std::optional<tagRECT> frame_rect, plot_rect;
  std::optional<unsigned char> arrow_mask;
  PictureOutput output;
};

}  // namespace kestra::cli
