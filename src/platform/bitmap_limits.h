// The largest bitmap the platform layer makes, known to the renderers too so
// they refuse a larger picture before allocating its pixels. Free of platform calls.
#pragma once

#include <cstdint>

namespace kestra::platform {

// Largest bitmap side and pixel count accepted; larger requests fail.
constexpr int max_bitmap_side = 32768;
constexpr std::int64_t max_bitmap_pixels = std::int64_t{1} << 28;

}  // namespace kestra::platform
