// A bitmap's pixels read back as the R G B rows numpy pictures hold.
#pragma once

#include <cstdint>
#include <memory>

#include "kestra_win32.h"

namespace kestra::python {

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::unique_ptr<std::uint8_t[]> pixels;  // top-down rows, R G B, no padding
};

// The bitmap's pixels as a new RgbPicture; false when it cannot be read.
bool read_rgb(HBITMAP bitmap, RgbPicture& out);

}  // namespace kestra::python
