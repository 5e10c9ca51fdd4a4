// Option value parsers: every text is read whole, so "12px" or "1,5" is
// refused instead of read as 12 or 1.
#include "option_values.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace kestra::cli {
namespace {

constexpr int max_side = 16384;

struct NamedColor {
  std::string_view name;
  unsigned char red, green, blue;
};

constexpr std::array<NamedColor, 22> named_colors{{
    {"black", 0, 0, 0},         {"white", 255, 255, 255},   {"red", 255, 0, 0},
    {"green", 0, 128, 0},       {"lime", 0, 255, 0},        {"blue", 0, 0, 255},
    {"yellow", 255, 255, 0},    {"cyan", 0, 255, 255},      {"magenta", 255, 0, 255},
    {"gray", 128, 128, 128},    {"grey", 128, 128, 128},    {"silver", 192, 192, 192},
    {"orange", 255, 165, 0},    {"purple", 128, 0, 128},    {"brown", 165, 42, 42},
    {"pink", 255, 192, 203},    {"navy", 0, 0, 128},        {"teal", 0, 128, 128},
    {"olive", 128, 128, 0},     {"maroon", 128, 0, 0},      {"steelblue", 70, 130, 180},
    {"lightgray", 211, 211, 211},
}};

struct NamedStyle {
  std::string_view name;
  int code;
};

// Pen styles of line diagrams and hatch fills of bar diagrams share codes.
constexpr std::array<NamedStyle, 9> named_styles{{
    {"solid", 1}, {"dot", 2}, {"dash", 3}, {"dashdot", 4}, {"dashdotdot", 5},
    {"bdiagonal", 2}, {"cross", 3}, {"diagcross", 4}, {"fdiagonal", 5},
}};
constexpr int vertical_hatch = 7;

std::string lower(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return result;
}

// Splits at the first `separator`; nothing when it is absent.
std::optional<std::pair<std::string_view, std::string_view>> split_pair(std::string_view text,
                                                                        char separator) {
  const auto at = text.find(separator);
  if (at == std::string_view::npos) return std::nullopt;
  return std::pair{text.substr(0, at), text.substr(at + 1)};
}

std::optional<int> hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

std::optional<COLORREF> parse_hex_color(std::string_view digits) {
  if (digits.size() != 3 && digits.size() != 6) return std::nullopt;
  std::array<int, 6> nibbles{};
  for (std::size_t i = 0; i < digits.size(); ++i) {
    const auto digit = hex_digit(digits[i]);
    if (!digit) return std::nullopt;
    nibbles[i] = *digit;
  }
  if (digits.size() == 3) {  // #rgb is #rrggbb
    return RGB(nibbles[0] * 17, nibbles[1] * 17, nibbles[2] * 17);
  }
  return RGB(nibbles[0] * 16 + nibbles[1], nibbles[2] * 16 + nibbles[3],
             nibbles[4] * 16 + nibbles[5]);
}

}  // namespace

std::optional<double> parse_number(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<long long> parse_integer(std::string_view text, long long low, long long high) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < low ||
      value > high) {
    return std::nullopt;
  }
  return value;
}

std::optional<Size> parse_size(std::string_view text) {
  const std::string folded = lower(text);
  const auto sides = split_pair(folded, 'x');
  if (!sides) return std::nullopt;
  const auto width = parse_integer(sides->first, 1, max_side);
  const auto height = parse_integer(sides->second, 1, max_side);
  if (!width || !height) return std::nullopt;
  return Size{static_cast<int>(*width), static_cast<int>(*height)};
}

std::optional<Span> parse_span(std::string_view text) {
  const auto ends = split_pair(text, ':');
  if (!ends) return std::nullopt;
  const auto from = parse_number(ends->first);
  const auto to = parse_number(ends->second);
  if (!from || !to) return std::nullopt;
  return Span{*from, *to};
}

std::optional<tagRECT> parse_rect(std::string_view text) {
  const std::vector<std::string> sides = split_list(text);
  if (sides.size() != 4) return std::nullopt;
  std::array<LONG, 4> values{};
  for (std::size_t i = 0; i < 4; ++i) {
    const auto value = parse_integer(sides[i], -max_side, max_side);
    if (!value) return std::nullopt;
    values[i] = static_cast<LONG>(*value);
  }
  return tagRECT{values[0], values[1], values[2], values[3]};
}

std::vector<std::string> split_list(std::string_view text, char separator) {
  std::vector<std::string> items;
  if (text.empty()) return items;
  while (true) {
    const auto at = text.find(separator);
    items.emplace_back(text.substr(0, at));
    if (at == std::string_view::npos) return items;
    text.remove_prefix(at + 1);
  }
}

std::optional<COLORREF> parse_color(std::string_view text) {
  if (!text.empty() && text.front() == '#') return parse_hex_color(text.substr(1));
  const std::string name = lower(text);
  for (const NamedColor& color : named_colors) {
    if (color.name == name) return RGB(color.red, color.green, color.blue);
  }
  return std::nullopt;
}

std::optional<int> parse_style(std::string_view text) {
  if (const auto code = parse_integer(text, 1, vertical_hatch)) return static_cast<int>(*code);
  const std::string name = lower(text);
  if (name == "vertical") return vertical_hatch;
  for (const NamedStyle& style : named_styles) {
    if (style.name == name) return style.code;
  }
  return std::nullopt;
}

}  // namespace kestra::cli
