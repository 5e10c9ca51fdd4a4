// Parsers for the texts of command-line option values: numbers, sizes,
// spans, rectangles, lists, colours and line or fill styles.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kestra.h"

namespace kestra::cli {

struct Size {
  int width;
  int height;
};

// FROM:TO (or MIN:MAX) of a scale or of the argument.
struct Span {
  double from;
  double to;
};

// The whole text as one finite decimal number ("1e3" and "-0.5" too).
std::optional<double> parse_number(std::string_view text);
// The whole text as a whole number within [low, high].
std::optional<long long> parse_integer(std::string_view text, long long low, long long high);
// "640x400": both sides from 1 to 16384.
std::optional<Size> parse_size(std::string_view text);
// "-10:10": two finite numbers.
std::optional<Span> parse_span(std::string_view text);
// "LEFT,TOP,RIGHT,BOTTOM" in pixels.
std::optional<tagRECT> parse_rect(std::string_view text);
// The texts between commas; an empty text gives no items.
std::vector<std::string> split_list(std::string_view text, char separator = ',');
// "#rrggbb", "#rgb" or a common colour name ("steelblue" too), as a COLORREF.
std::optional<COLORREF> parse_color(std::string_view text);
// A series style: 1 to 7, or a name (solid, dot, dash, dashdot, dashdotdot
// for lines; bdiagonal, cross, diagcross, fdiagonal, vertical for bars).
std::optional<int> parse_style(std::string_view text);

}  // namespace kestra::cli
