// What every drawing export shares: the bitmap mode and its check, the plot
// font-height limits, no exception leaving an export, and a table it read for
// itself released on every path.
#pragma once

#include "kestra.h"

namespace kestra::exports {

// Only the low three bits of bitmapMode count.
[[nodiscard]] constexpr unsigned long bitmap_mode(unsigned long bitmapMode) { return bitmapMode & 7; }

// KESTRA_OK for KESTRA_DRAW_NEW and KESTRA_DRAW_OVER, KESTRA_MODE_ZERO for 0,
// KESTRA_MODE_UNKNOWN for 3 to 7. `mode` is already bitmap_mode's.
[[nodiscard]] constexpr int mode_status(unsigned long mode) {
  if (mode == 0) return KESTRA_MODE_ZERO;
  if (mode != KESTRA_DRAW_NEW && mode != KESTRA_DRAW_OVER) return KESTRA_MODE_UNKNOWN;
  return KESTRA_OK;
}

// The plot caption font's cell height, 1 to 99.
inline constexpr int min_font_height = 1;
inline constexpr int max_font_height = 99;

[[nodiscard]] constexpr int font_height_status(int height) {
  return height < min_font_height || height > max_font_height ? KESTRA_BAD_FONT_HEIGHT : KESTRA_OK;
}

// Runs an export's body: whatever the standard library throws (no memory,
// for one) becomes KESTRA_INTERNAL.
template <class Body>
[[nodiscard]] int guarded(Body body) noexcept {
  try {
    return body();
  } catch (...) {
    return KESTRA_INTERNAL;
  }
}

// A table read from a file, released with FreeTabGr when it goes out of scope.
struct OwnedTable {
  OwnedTable() = default;
  OwnedTable(const OwnedTable&) = delete;
  OwnedTable& operator=(const OwnedTable&) = delete;
  ~OwnedTable() { FreeTabGr(&table); }

  TAB_GR table{0, 0, nullptr};
};

// Reads a table with `read` (a status, filling the table it is given) and
// draws it with the CreateDiag form of `target`.
template <class Read, class Target>
[[nodiscard]] int draw_read_table(Read read, const DIAG_DISP& disp, Target target, unsigned long mode,
                    unsigned long kind) noexcept {
  return guarded([&] {
    OwnedTable owned;
    if (const int status = read(&owned.table)) return status;
    return CreateDiag(owned.table, disp, target, mode, kind);
  });
}

}  // namespace kestra::exports
