// The objects behind GDI handles and the device context state that drawing
// routines work on. This header is the platform layer's internal contract.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "kestra_win32.h"
#include "platform/bitmap_limits.h"
#include "platform/object_table.h"

namespace kestra::platform {

// Pixels are stored as 0x00RRGGBB (BGRX in memory), the screen format of a
// 32-bit display; COLORREF is 0x00BBGGRR.
using Pixel = std::uint32_t;

constexpr Pixel to_pixel(COLORREF color) {
  return ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}
constexpr COLORREF to_colorref(Pixel pixel) {
  return ((pixel >> 16) & 0xFFu) | (pixel & 0xFF00u) | ((pixel & 0xFFu) << 16);
}

struct FreePixels {
  void operator()(Pixel* pixels) const;
};
using PixelBuffer = std::unique_ptr<Pixel[], FreePixels>;

// `count` zero pixels; throws std::bad_alloc. Large buffers come from fresh
// pages, zero without being written, that are touched only when drawn on.
PixelBuffer zeroed_pixels(std::size_t count);

struct Bitmap final : GdiObject {
  static constexpr ObjectKind object_kind = ObjectKind::bitmap;
  Bitmap(int w, int h) : GdiObject(object_kind), width(w), height(h),
      pixels(zeroed_pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h))) {}
  int width;
  int height;
  PixelBuffer pixels;  // top-down rows
  void* selected_into = nullptr;  // the memory DC holding it, if any

  Pixel* row(int y) { return pixels.get() + static_cast<std::size_t>(y) * width; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

struct Pen final : GdiObject {
  static constexpr ObjectKind object_kind = ObjectKind::pen;
  Pen(int s, int w, COLORREF c) : GdiObject(object_kind), style(s), width(w), color(c) {}
  int style;   // PS_SOLID ... PS_NULL
  int width;   // 0 and 1 are cosmetic
  COLORREF color;
};

struct Brush final : GdiObject {
  static constexpr ObjectKind object_kind = ObjectKind::brush;
  enum class Fill { solid, hatch, hollow };
  Brush(Fill f, int h, COLORREF c) : GdiObject(object_kind), fill(f), hatch(h), color(c) {}
  Fill fill;
  int hatch;  // HS_* when fill is hatch
  COLORREF color;
};

class FontFace;  // a resolved, sized face (text rendering)
class Recording;  // the calls a recording device context keeps (recording.h)

struct Font final : GdiObject {
  static constexpr ObjectKind object_kind = ObjectKind::font;
  explicit Font(std::shared_ptr<const FontFace> f) : GdiObject(object_kind), face(std::move(f)) {}
  std::shared_ptr<const FontFace> face;
};

struct DeviceContext;

// The line routine of a pen and the fill routine of a brush, chosen when the
// object is selected (select_pen, select_brush), so drawing calls and their
// pixel loops test no fixed property of either.
// PenLines draws the segments through `points`, each up to, not including,
// the next point, and the closing one back to the first when `closed`; a
// styled pen's pattern starts at the first point and runs on around.
using PenLines = void (*)(const DeviceContext& dc, Bitmap& bitmap, const POINT* points, int count,
                          bool closed);
// BrushFill fills `area`, which lies inside the bitmap and is not empty.
using BrushFill = void (*)(DeviceContext& dc, Bitmap& bitmap, const RECT& area);

struct DeviceContext final : GdiObject {
  static constexpr ObjectKind object_kind = ObjectKind::dc;
  DeviceContext() : GdiObject(object_kind) {}
  bool is_memory = true;
  // Selected objects: the handle as given (what SelectObject returns) and the
  // object itself, kept alive while selected.
  HBITMAP bitmap_handle = nullptr;
  std::shared_ptr<Bitmap> bitmap;  // null while the stock bitmap is selected
  HPEN pen_handle = nullptr;
  std::shared_ptr<Pen> pen;
  PenLines pen_lines = nullptr;
  HBRUSH brush_handle = nullptr;
  std::shared_ptr<Brush> brush;
  BrushFill brush_fill = nullptr;
  HFONT font_handle = nullptr;
  std::shared_ptr<Font> font;
  int bk_mode = OPAQUE;
  COLORREF bk_color = RGB(255, 255, 255);
  COLORREF text_color = RGB(0, 0, 0);
  POINT position{0, 0};
  // Hatch brushes take their gap treatment at their first use after being
  // selected (GDI's behaviour); cleared on selection.
  bool brush_gaps_latched = false;
  int latched_bk_mode = OPAQUE;
  COLORREF latched_bk_color = 0;
  // Set for a recording device context (CreateEnhMetaFileA): the drawing
  // calls are kept there instead of painting a bitmap.
  std::shared_ptr<Recording> recording;
};

inline std::shared_ptr<DeviceContext> dc_of(HDC dc) { return lookup<DeviceContext>(dc); }

// Selects a pen or a brush with its routine; returns the handle selected before.
HGDIOBJ select_pen(DeviceContext& dc, HPEN handle, std::shared_ptr<Pen> pen);
HGDIOBJ select_brush(DeviceContext& dc, HBRUSH handle, std::shared_ptr<Brush> brush);

}  // namespace kestra::platform
