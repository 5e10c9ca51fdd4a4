// The number format of every printed value: "%01.<decimals>f".
#include <cstdio>

#include "diagram/diagram.h"

namespace kestra::diagram {

NumberFormat::NumberFormat(std::uint8_t decimals) {
  std::snprintf(format_, sizeof format_, "%%01.%df", decimals);
  text_[0] = '\0';
}

std::string_view NumberFormat::print(double value) {
  const int length = std::snprintf(text_, sizeof text_, format_, value);
  if (length < 0) return {};
  return {text_, std::min(static_cast<std::size_t>(length), sizeof text_ - 1)};
}

}  // namespace kestra::diagram
