// Clipped horizontal runs of one colour, the unit every fill is made of.
#include <algorithm>

#include "platform/raster.h"

namespace kestra::platform {

void fill_span(Bitmap& bitmap, std::int64_t y, std::int64_t x_begin, std::int64_t x_end,
               Pixel color) {
  if (y < 0 || y >= bitmap.height) return;
  x_begin = std::max<std::int64_t>(x_begin, 0);
  x_end = std::min<std::int64_t>(x_end, bitmap.width);
  if (x_begin >= x_end) return;
  Pixel* row = bitmap.row(static_cast<int>(y));
  std::fill(row + x_begin, row + x_end, color);
}

}  // namespace kestra::platform
