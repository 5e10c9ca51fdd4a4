// Internal contract of the diagram renderer: the drawing context shared by
// its steps, the geometry of the plot area and the objects it selects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "canvas/canvas.h"
#include "diagram/style_codes.h"
#include "kestra.h"

namespace kestra::diagram {

using canvas::Selection;

// Positions of the plot area, the value scale and the category slots. Integer
// products are formed in 64 bits, so large pictures do not overflow.
class Geometry {
 public:
  Geometry(const TAB_GR& table, const DIAG_DISP& disp);

  int left() const { return pixel(L_); }
  int top() const { return pixel(T_); }
  int right() const { return pixel(R_); }
  int bottom() const { return pixel(B_); }
  int axis_x() const { return pixel(X0_); }  // x of the value axis
  int axis_y() const { return pixel(Y0_); }  // y of the category axis
  int categories() const { return n_; }
  int series() const { return m_; }
  double vmax() const { return vmax_; }
  double base() const { return base_; }

  // False when vmax equals base or either is not finite: the scale has no
  // extent and every value sits on the category axis.
  bool has_extent() const { return has_extent_; }

  // Pixel row of a value, or nothing for a value that is not finite.
  std::optional<int> y(double value) const;
  // Row of horizontal division i of d: T + (H * i) / d.
  int division_y(int i, int d) const;
  // Point of category c in line diagrams: X0 + (W * (c + 1)) / n.
  int point_x(int c) const { return slot_edge(c + 1); }
  // Left edge of category slot c (its right edge is slot_edge(c + 1)).
  int slot_edge(int c) const;
  // Columns of the bar of series r in category c.
  struct Span {
    int left, right;
  };
  Span bar(int r, int c) const;

  // The value of series r at category c.
  double value(int r, int c) const {
    return values_[static_cast<std::size_t>(r) * static_cast<std::size_t>(n_) +
                   static_cast<std::size_t>(c)];
  }

 private:
  static int pixel(std::int64_t coordinate);
  static int pixel(double coordinate);

  const double* values_;
  int n_, m_;
  std::int64_t L_, T_, R_, B_, X0_, Y0_, W_, H_;
  double vmax_, base_;
  bool has_extent_;
};

// The number format "%01.<decimals>f" and a bounded print with it.
class NumberFormat {
 public:
  explicit NumberFormat(std::uint8_t decimals);
  // Prints a value into the 260-character text buffer; longer results are cut.
  std::string_view print(double value);

 private:
  char format_[16];
  char text_[260];
};

// Everything a drawing step works with.
struct Drawing {
  HDC dc;
  const TAB_GR& table;
  const DIAG_DISP& disp;
  const Geometry& geometry;
  NumberFormat& numbers;
  Selection& selection;
};

// Walks the texts of a category label buffer of `length` bytes in order: the
// label of category 0, then of 1, and so on. A null buffer holds no labels.
class CategoryLabels {
 public:
  CategoryLabels(const char* buffer, std::size_t length);
  // The current label, or nothing when the buffer holds no more.
  std::optional<std::string_view> current() const;
  void advance();

 private:
  const char* buffer_;
  std::size_t length_;
  std::optional<std::size_t> start_;
};

// Draws one line of text into a rectangle with DrawTextA's flags.
void draw_text(HDC dc, std::string_view text, RECT rect, UINT flags);

// CreateDiag's bitmap form behind its mode check: `mode` is KESTRA_DRAW_NEW
// or KESTRA_DRAW_OVER. Returns a KestraStatus.
[[nodiscard]] int create_diag(const TAB_GR& table, const DIAG_DISP& disp, HBITMAP* bitmap,
                              unsigned long mode, unsigned long kind);
// The same diagram as a new picture's recording, with the same statuses as
// create_diag in mode KESTRA_DRAW_NEW.
[[nodiscard]] int record_diag(const TAB_GR& table, const DIAG_DISP& disp, unsigned long kind,
                              canvas::RecordedPicture& recorded);

// The drawing steps, in the order create_diag runs them.
void draw_axes_and_grid(const Drawing& drawing);
void draw_series(const Drawing& drawing, unsigned long kind);
void draw_captions_and_labels(const Drawing& drawing);
void draw_legend(const Drawing& drawing);

}  // namespace kestra::diagram
