// The drawing scenes shared by the real-GDI reference program (which renders
// them to the BMP fixtures) and the raster tests (which replay them on our
// layer): one list, so fixtures and tests cannot drift apart. Compiles
// against <windows.h> as well as kestra_win32.h.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace raster_scenes {

enum class Op { pen, solid_brush, hatch_brush, null_brush, bk_mode, bk_color, move, line, rect, pixel };

struct Step {
  Op op;
  int a = 0, b = 0, c = 0, d = 0;
  COLORREF color = 0;
};

// A canvas size and the GDI calls drawn on it, starting from black pixels, a
// fresh memory DC (OPAQUE, white background, black pen, white brush).
struct Scene {
  std::string name;
  int width = 0;
  int height = 0;
  std::vector<Step> steps;

  Scene& pen(int style, int w, COLORREF c) { return add({Op::pen, style, w, 0, 0, c}); }
  Scene& solid_brush(COLORREF c) { return add({Op::solid_brush, 0, 0, 0, 0, c}); }
  Scene& hatch_brush(int style, COLORREF c) { return add({Op::hatch_brush, style, 0, 0, 0, c}); }
  Scene& null_brush() { return add({Op::null_brush}); }
  Scene& bk_mode(int mode) { return add({Op::bk_mode, mode}); }
  Scene& bk_color(COLORREF c) { return add({Op::bk_color, 0, 0, 0, 0, c}); }
  Scene& move(int x, int y) { return add({Op::move, x, y}); }
  Scene& line(int x, int y) { return add({Op::line, x, y}); }
  Scene& segment(int x0, int y0, int x1, int y1) { return move(x0, y0).line(x1, y1); }
  Scene& rect(int l, int t, int r, int b) { return add({Op::rect, l, t, r, b}); }
  Scene& pixel(int x, int y, COLORREF c) { return add({Op::pixel, x, y, 0, 0, c}); }

 private:
  Scene& add(Step step) {
    steps.push_back(step);
    return *this;
  }
};

// Draws a scene on `dc`. Pens and brushes it creates are deleted as they are
// replaced and at the end, where the DC's original objects are restored.
inline void play(HDC dc, const Scene& scene) {
  HGDIOBJ original_pen = nullptr;
  HGDIOBJ original_brush = nullptr;
  HGDIOBJ own_pen = nullptr;
  HGDIOBJ own_brush = nullptr;
  const auto select = [dc](HGDIOBJ object, HGDIOBJ& original, HGDIOBJ& owned, bool created) {
    HGDIOBJ previous = SelectObject(dc, object);
    if (!original) original = previous;
    if (owned) DeleteObject(owned);
    owned = created ? object : nullptr;
  };
  for (const Step& s : scene.steps) {
    switch (s.op) {
      case Op::pen: select(CreatePen(s.a, s.b, s.color), original_pen, own_pen, true); break;
      case Op::solid_brush: select(CreateSolidBrush(s.color), original_brush, own_brush, true); break;
      case Op::hatch_brush: select(CreateHatchBrush(s.a, s.color), original_brush, own_brush, true); break;
      case Op::null_brush: select(GetStockObject(NULL_BRUSH), original_brush, own_brush, false); break;
      case Op::bk_mode: SetBkMode(dc, s.a); break;
      case Op::bk_color: SetBkColor(dc, s.color); break;
      case Op::move: MoveToEx(dc, s.a, s.b, nullptr); break;
      case Op::line: LineTo(dc, s.a, s.b); break;
      case Op::rect: Rectangle(dc, s.a, s.b, s.c, s.d); break;
      case Op::pixel: SetPixel(dc, s.a, s.b, s.color); break;
    }
  }
  if (original_pen) SelectObject(dc, original_pen);
  if (original_brush) SelectObject(dc, original_brush);
  if (own_pen) DeleteObject(own_pen);
  if (own_brush) DeleteObject(own_brush);
}

inline constexpr COLORREF yellow = RGB(255, 255, 0);
inline constexpr COLORREF blue = RGB(0, 0, 255);
inline constexpr COLORREF red = RGB(255, 0, 0);
inline constexpr COLORREF green = RGB(0, 160, 0);
inline constexpr COLORREF grey = RGB(128, 128, 128);
inline constexpr COLORREF white = RGB(255, 255, 255);

inline const char* mode_name(int mode) { return mode == OPAQUE ? "opaque" : "transparent"; }

// Every direction and octant, ties (dy = dx / 2), exact diagonals, a chained
// polyline, and lines leaving the canvas.
inline Scene line_scene(const char* style_name, int style, int width, int mode) {
  Scene s{std::string("lines_") + style_name + "_w" + std::to_string(width) + "_" +
              mode_name(mode),
          96, 64, {}};
  s.bk_color(blue).bk_mode(mode).pen(style, width, yellow);
  s.segment(3, 3, 90, 3).segment(90, 7, 3, 7);          // horizontal, both ways
  s.segment(3, 12, 3, 60).segment(7, 60, 7, 12);        // vertical, both ways
  s.segment(12, 12, 42, 19).segment(42, 23, 12, 30);    // x-major, down right / down left
  s.segment(12, 42, 42, 35).segment(42, 47, 12, 43);    // x-major, up right / up left
  s.segment(48, 12, 54, 44).segment(60, 44, 54, 12);    // y-major, down / up
  s.segment(70, 12, 63, 44).segment(78, 44, 85, 12);    // y-major, down left / up right
  s.segment(12, 52, 32, 62).segment(52, 62, 32, 52);    // ties: dy = dx / 2
  s.segment(66, 50, 80, 64).segment(94, 50, 80, 64);    // exact diagonals
  s.move(14, 36).line(24, 32).line(34, 38).line(44, 31);  // chained, no MoveToEx between
  s.segment(70, 20, 130, 40).segment(-30, 70, 20, 45);  // leaving and entering the canvas
  return s;
}

inline std::vector<Scene> line_scenes() {
  const std::pair<const char*, int> styles[] = {{"solid", PS_SOLID},
                                                {"dash", PS_DASH},
                                                {"dot", PS_DOT},
                                                {"dashdot", PS_DASHDOT},
                                                {"dashdotdot", PS_DASHDOTDOT}};
  std::vector<Scene> scenes;
  for (const auto& [name, style] : styles) {
    for (int width : {0, 1, 2, 3}) {
      for (int mode : {OPAQUE, TRANSPARENT}) scenes.push_back(line_scene(name, style, width, mode));
    }
  }
  Scene null_pen{"lines_null", 32, 24, {}};
  null_pen.pen(PS_NULL, 1, yellow).segment(2, 2, 30, 20).pen(PS_NULL, 3, yellow).segment(2, 20, 30, 2);
  scenes.push_back(null_pen);
  return scenes;
}

// Every short line from a cell's centre, dx and dy in -reach..reach: the
// pixel choice and tie rule in all octants.
inline Scene fan_scene(int width, int reach) {
  const int cell = 2 * reach + 2 + width;
  const int side = (2 * reach + 1) * cell;
  Scene s{"fan_w" + std::to_string(width), side, side, {}};
  s.pen(PS_SOLID, width, yellow);
  for (int dy = -reach; dy <= reach; ++dy) {
    for (int dx = -reach; dx <= reach; ++dx) {
      const int cx = (dx + reach) * cell + cell / 2;
      const int cy = (dy + reach) * cell + cell / 2;
      s.segment(cx, cy, cx + dx, cy + dy);
    }
  }
  return s;
}

// Long lines from the centre to points around the border, every few
// degrees: rounding over long runs, in every octant.
inline Scene star_scene(int style, int width) {
  Scene s{"star_" + std::to_string(style) + "_w" + std::to_string(width), 160, 120, {}};
  s.bk_color(blue).bk_mode(OPAQUE).pen(style, width, yellow);
  for (int x = -7; x < 167; x += 23) s.segment(80, 60, x, -5).segment(80 + 3, 60, x + 5, 126);
  for (int y = -5; y < 126; y += 19) s.segment(80, 60 - 1, -7, y).segment(80, 60, 168, y + 4);
  return s;
}

// Each width's round cap alone (zero-length lines), then the same widths
// along short lines.
inline Scene wide_cap_scene() {
  Scene s{"wide_caps", 160, 56, {}};
  int x = 4;
  for (int width : {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 16, 21}) {
    x += width / 2 + 1;
    s.pen(PS_SOLID, width, yellow).segment(x, 12, x, 12).segment(x, 30, x + 3, 44);
    x += width - width / 2 + 1;
  }
  return s;
}

// Slanted wide lines in every direction and many slopes, one per cell.
inline Scene wide_slant_scene(int width) {
  Scene s{"wide_slants_w" + std::to_string(width), 128, 96, {}};
  const std::pair<int, int> deltas[] = {{18, 5}, {5, 18},   {-18, 7}, {-7, 18},
                                        {18, -9}, {9, -18}, {-18, -11}, {-11, -18},
                                        {16, 16}, {-16, 16}, {17, 1},  {1, -17}};
  s.pen(PS_DASH, width, yellow);
  for (int i = 0; i < 12; ++i) {
    const int cx = 16 + 32 * (i % 4);
    const int cy = 16 + 32 * (i / 4);
    const auto [dx, dy] = deltas[i];
    s.segment(cx - dx / 2, cy - dy / 2, cx + dx - dx / 2, cy + dy - dy / 2);
  }
  return s;
}

// End points far outside: the clipped line keeps its pixels and dash phase.
// (Wine's own clipping overflows near 2^31, so the reference stays within
// a few million; the unit tests cover the full int range.)
inline Scene clipping_scene() {
  Scene s{"clipping", 64, 48, {}};
  s.bk_color(blue).bk_mode(OPAQUE);
  s.pen(PS_SOLID, 1, white).segment(-1000000, -1000000, 1000000, 1000000);
  s.pen(PS_DASHDOT, 1, yellow).segment(-1000001, 5, 1000001, 40);  // tie at x = 0
  s.pen(PS_DOT, 0, red).segment(30, -1000000, 40, 1000000);
  s.pen(PS_DASH, 1, green).segment(-1000003, 20, 1000001, 25);
  s.pen(PS_DASHDOTDOT, 1, yellow).segment(200000, 47, -200000, 44);
  s.pen(PS_DASH, 1, white).segment(60, 10, 3000060, 3000010);
  s.pen(PS_SOLID, 1, red).segment(-100, -100, -10, 200);
  s.pen(PS_SOLID, 3, green).segment(-40, 30, 100, 36).segment(50, -1000, 50, 1000);
  s.pen(PS_SOLID, 2, white).segment(-5000, 4000, 5000, -4000);
  return s;
}

// Every hatch style at offsets that are not multiples of 8, over a grey
// ground so transparent gaps show.
inline Scene hatch_scene(int mode, int shift) {
  Scene s{std::string("hatch_") + mode_name(mode) + "_" + std::to_string(shift), 112, 64, {}};
  s.pen(PS_SOLID, 1, grey).solid_brush(grey).rect(0, 0, 112, 64);
  s.bk_mode(mode).bk_color(blue).pen(PS_SOLID, 1, red);
  for (int style = HS_HORIZONTAL; style <= HS_DIAGCROSS; ++style) {
    const int left = 2 + 37 * (style % 3) + shift + style;
    const int top = 3 + 31 * (style / 3) + shift / 2 + style % 2;
    s.hatch_brush(style, yellow).rect(left, top, left + 31, top + 25);
  }
  return s;
}

// The gap treatment of a hatch brush is fixed at its first use after
// selection; styled cosmetic pens read the mode at every LineTo.
inline Scene latch_scene() {
  Scene s{"hatch_latch", 112, 48, {}};
  s.pen(PS_SOLID, 1, grey).solid_brush(grey).rect(0, 0, 112, 48);
  s.bk_mode(OPAQUE).bk_color(blue).pen(PS_SOLID, 1, red).hatch_brush(HS_CROSS, yellow);
  s.bk_mode(TRANSPARENT).rect(2, 2, 22, 22);
  s.bk_mode(OPAQUE).bk_color(red).rect(24, 2, 44, 22).bk_color(green).rect(46, 2, 66, 22);
  // A first use that fills nothing (2 x 2: no interior; fully outside).
  s.bk_mode(TRANSPARENT).hatch_brush(HS_DIAGCROSS, yellow).rect(70, 2, 72, 4);
  s.bk_mode(OPAQUE).bk_color(blue).rect(74, 2, 94, 22);
  s.bk_mode(TRANSPARENT).hatch_brush(HS_BDIAGONAL, yellow).rect(-30, -30, -10, -10);
  s.bk_mode(OPAQUE).rect(2, 24, 22, 44);
  s.pen(PS_DOT, 1, yellow).bk_mode(TRANSPARENT).segment(26, 28, 100, 28);
  s.bk_mode(OPAQUE).segment(26, 32, 100, 32).bk_color(red).line(26, 40);
  return s;
}

// Rectangles: normalisation, degenerate sizes, hollow and null pens, styled
// and wide outlines, clipping.
inline Scene rectangle_scene() {
  Scene s{"rectangles", 96, 64, {}};
  s.bk_color(blue).pen(PS_SOLID, 1, white).solid_brush(green);
  s.rect(2, 2, 12, 10).rect(24, 10, 14, 2).rect(26, 12, 36, 2);  // normal, both swapped, t > b
  s.rect(40, 2, 40, 10).rect(44, 5, 54, 5).rect(58, 2, 59, 3);   // width 0, height 0, 1 x 1
  s.rect(62, 2, 63, 10).rect(66, 2, 76, 3).rect(80, 2, 82, 4);   // 1 x N, N x 1, 2 x 2
  s.rect(86, 2, 88, 10).rect(2, 14, 12, 16).rect(16, 14, 19, 17);  // 2 x N, N x 2, 3 x 3
  s.rect(24, 14, 30, 20);                                        // 6 x 6 marker
  s.rect(4, 58, 14, 44);                                         // bar below its axis
  s.null_brush().rect(34, 14, 44, 24);
  s.pen(PS_NULL, 1, white).solid_brush(red).rect(48, 14, 58, 24);
  s.pen(PS_DOT, 1, yellow).rect(62, 14, 92, 30);
  s.bk_mode(TRANSPARENT).pen(PS_DASH, 1, yellow).rect(18, 26, 56, 40);
  s.pen(PS_SOLID, 3, white).rect(62, 36, 76, 50);
  s.pen(PS_SOLID, 2, white).null_brush().rect(80, 36, 92, 50);
  s.pen(PS_SOLID, 1, red).solid_brush(green).rect(84, 56, 120, 90).rect(-20, -20, 4, 8);
  return s;
}

// Rectangles outlined with wide pens, down to degenerate sizes.
inline Scene wide_rectangle_scene() {
  Scene s{"wide_rectangles", 128, 64, {}};
  s.solid_brush(green);
  int x = 4;
  for (int width : {2, 3, 4, 5}) {
    s.pen(PS_DOT, width, yellow);
    s.rect(x, 4, x + 16, 20).rect(x, 26, x + 1, 36).rect(x + 8, 26, x + 8, 36);
    s.rect(x + 12, 26, x + 14, 28).rect(x, 44, x + 3, 47).rect(x + 8, 44, x + 9, 45);
    x += 30;
  }
  return s;
}

// SetPixel inside and far outside the bitmap.
inline Scene pixel_scene() {
  Scene s{"set_pixel", 16, 12, {}};
  s.pixel(0, 0, red).pixel(15, 11, green).pixel(7, 5, RGB(1, 2, 3));
  const std::pair<int, int> outside[] = {{-1, 0}, {16, 0}, {0, -1}, {0, 12}, {-2147483647, 3},
                                         {3, 2147483647}, {-100, -100}, {1000, 1000}};
  for (const auto& [x, y] : outside) s.pixel(x, y, yellow);
  return s;
}

inline std::vector<Scene> all_scenes() {
  std::vector<Scene> scenes = line_scenes();
  scenes.push_back(fan_scene(1, 8));
  for (int width : {2, 3, 5}) scenes.push_back(fan_scene(width, 6));
  for (int width : {1, 2, 3, 6}) scenes.push_back(star_scene(width == 1 ? PS_DASHDOT : PS_SOLID, width));
  scenes.push_back(wide_cap_scene());
  for (int width : {2, 3, 4, 5, 6, 9}) scenes.push_back(wide_slant_scene(width));
  scenes.push_back(clipping_scene());
  for (int mode : {TRANSPARENT, OPAQUE}) {
    for (int shift : {0, 3}) scenes.push_back(hatch_scene(mode, shift));
  }
  scenes.push_back(latch_scene());
  scenes.push_back(rectangle_scene());
  scenes.push_back(wide_rectangle_scene());
  scenes.push_back(pixel_scene());
  return scenes;
}

}  // namespace raster_scenes
