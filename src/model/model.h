// Internal helpers shared by the record builders.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "kestra.h"

namespace kestra::model {

// Both records' rectangles: the frame 2 pixels inside the picture, the plot
// area at 4 inside a frame, else at the frame.
inline constexpr int frame_inset = 2;
inline constexpr int plot_inset_framed = 4;

// An on/off field of a record: 1 when `flags` holds `flag`, else 0.
constexpr std::uint32_t flag_field(unsigned long flags, unsigned long flag) {
  return (flags & flag) ? 1 : 0;
}

// The rectangle moved inward by `by` on every side. A rectangle too small for
// the inset is not corrected: (0, 0, 3, 3) inset by 2 is (2, 2, 1, 1). Sides
// beyond the int range stop at its ends.
inline tagRECT inset(const tagRECT& rect, int by) {
  const auto move = [](LONG side, int delta) {
    return static_cast<LONG>(
        std::clamp<std::int64_t>(std::int64_t{side} + delta, INT32_MIN, INT32_MAX));
  };
  return {move(rect.left, by), move(rect.top, by), move(rect.right, -by), move(rect.bottom, -by)};
}

// Copies at most capacity - 1 characters of `text` into `out` and terminates
// it; a null text counts as empty. Returns the number of characters copied.
inline std::size_t copy_text(char* out, std::size_t capacity, const char* text) {
  const std::size_t length = text ? strnlen(text, capacity - 1) : 0;
  if (length) std::memcpy(out, text, length);
  out[length] = '\0';
  return length;
}

}  // namespace kestra::model
