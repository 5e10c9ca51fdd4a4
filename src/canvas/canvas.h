// What both renderers draw with: the picture of modes 1 and 2 in a memory
// device context, the objects selected into it, fills, outlines, lines,
// arrow heads and the text of fixed-size record fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <type_traits>

#include "kestra.h"
#include "platform/platform.h"

namespace kestra::canvas {

using platform::ScopedSelect;
using platform::UniqueDC;
using platform::UniqueObject;
using platform::WindowDC;

// Width and height of the picture rectangle.
struct PictureSize {
  std::int64_t width, height;
};
[[nodiscard]] PictureSize picture_size(const RECT& picture);

// A new picture bitmap of the given size in the screen's format, its pixels
// undefined until drawn; null when the size is not positive, beyond the
// platform's limit, or creation fails.
[[nodiscard]] UniqueObject create_picture(PictureSize size);

// How a new picture starts: black, or as made when the renderer's first step
// paints every pixel (a background), which spares a pass over a large picture.
enum class NewPicture { black, painted_over };

// The bitmap a drawing export draws on, selected into its memory device
// context for as long as this lives: a new picture (KESTRA_DRAW_NEW), which
// starts as `start` says, or the caller's bitmap in *bitmap (KESTRA_DRAW_OVER).
//
// Failures: a new picture that cannot be made gives KESTRA_NO_BITMAP; a
// caller's bitmap that cannot be selected (null, not a bitmap, or held by
// another device context) gives KESTRA_NO_CURRENT_BITMAP. Either way *bitmap
// is left null. A null `bitmap` gives the same codes and is not written.
class Picture {
 public:
  Picture(HDC dc, HBITMAP* bitmap, unsigned long mode, PictureSize size, NewPicture start);
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // KESTRA_OK when the picture is selected and may be drawn on.
  [[nodiscard]] int status() const { return status_; }
  // Hands the bitmap selected into the context back through *bitmap; a new
  // picture becomes the caller's. KESTRA_NO_CURRENT_BITMAP, and *bitmap null,
  // when the context holds no bitmap.
  [[nodiscard]] int hand_back();

 private:
  int refuse(int status);

  HDC dc_;
  HBITMAP* bitmap_;
  UniqueObject new_picture_;  // declared before the selection: deleted after it is undone
  std::optional<ScopedSelect> selected_;
  int status_ = KESTRA_OK;
};

// A renderer's picture as the set-up sees it: its records' checks, made
// where its export has always made them, and its ordered drawing steps on
// any device context (a memory DC holding the picture, or a recording DC).
class Scene {
 public:
  // rcPicture: the picture's size is its width and height.
  virtual const RECT& picture() const = 0;
  // Whether the first step paints every pixel (a background).
  virtual bool paints_background() const = 0;
  // Checks made before the device context is made, and once it exists;
  // KESTRA_OK or the status that ends the call.
  [[nodiscard]] virtual int check_before_dc() { return KESTRA_OK; }
  [[nodiscard]] virtual int check_with_dc() { return KESTRA_OK; }
  virtual void draw(HDC dc, PictureSize size) = 0;

 protected:
  ~Scene() = default;
};

// The bitmap form of a drawing export behind its mode check (`mode` is
// KESTRA_DRAW_NEW or KESTRA_DRAW_OVER): the checks, the memory DC
// (KESTRA_NO_DC), the picture (see Picture), the drawing, the hand-back.
[[nodiscard]] int draw_bitmap(Scene& scene, HBITMAP* bitmap, unsigned long mode);

struct DeleteMetafileHandle {
  void operator()(HENHMETAFILE metafile) const { DeleteEnhMetaFile(metafile); }
};
using UniqueMetafile = std::unique_ptr<std::remove_pointer_t<HENHMETAFILE>, DeleteMetafileHandle>;

// A scene recorded as a new picture would be drawn, and the picture's size.
struct RecordedPicture {
  UniqueMetafile metafile;
  PictureSize size{0, 0};
};

// The same checks in the same order as draw_bitmap in mode KESTRA_DRAW_NEW,
// with a recording DC (CreateEnhMetaFileA) in place of the memory DC and the
// bitmap: KESTRA_NO_DC when it cannot be made, KESTRA_NO_BITMAP for a size
// no new picture may have. A picture without a background starts black.
[[nodiscard]] int draw_recording(Scene& scene, RecordedPicture& recorded);

// The pen, brush and font currently selected by a renderer. A selection
// stays until a later step replaces it; each created object is deleted once
// replaced, the rest when the drawing ends, after the originals are back.
// Thrown when a pen, brush or font cannot be made or selected, or a drawing
// call fails (no memory, for one): going on would hand back a wrong picture
// as a good one. The exports report it as KESTRA_INTERNAL.
struct DrawingFailed : std::runtime_error {
  DrawingFailed() : std::runtime_error("drawing call failed") {}
};

// Ends the picture when a drawing call reports failure.
inline void drawn(bool succeeded) {
  if (!succeeded) throw DrawingFailed();
}

class Selection {
 public:
  explicit Selection(HDC dc) : dc_(dc) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection();

  void pen(int style, int width, COLORREF color);
  void solid_brush(COLORREF color);
  void hatch_brush(int hatch, COLORREF color);
  void hollow_brush();
  // The renderers' font of the given cell height: Arial, normal weight,
  // Cyrillic character set, variable pitch.
  void font(int height);

 private:
  enum Kind { kind_pen, kind_brush, kind_font, kind_count };
  void select(Kind kind, HGDIOBJ object, bool owned);

  HDC dc_;
  HGDIOBJ original_[kind_count] = {};
  UniqueObject current_[kind_count];
};

// Fills a rectangle, outline included, with a solid 1-pixel pen and a solid
// brush of one colour.
void fill_rect(HDC dc, Selection& selection, const RECT& rect, COLORREF color);

// Fills the whole bitmap from its origin, whatever the picture rectangle's corner.
void fill_picture(HDC dc, Selection& selection, PictureSize size, COLORREF color);

// Outlines a rectangle with a solid 1-pixel pen, leaving the inside as it is.
void draw_outline(HDC dc, Selection& selection, const RECT& rect, COLORREF color);

// Draws one line: a move to the first point and a line to the second.
inline void draw_line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  drawn(LineTo(dc, x1, y1));
}

// Where the axes cross the area their arrows point out of: the column of the
// vertical axis and the row of the horizontal one; nothing for an axis that
// has no place.
struct AxisPlaces {
  std::optional<int> column;
  std::optional<int> row;
};

// Arrow heads at the ends of `area`'s axes that `mask` names, top, right,
// bottom, left: lines of 3, 5, 7 and 9 single pixels behind the tip, which
// lies one pixel inside the axis end. Pixels beyond the int range are skipped.
void draw_arrow_heads(HDC dc, std::uint8_t mask, const RECT& area, const AxisPlaces& axes,
                      COLORREF color);

// The text of a fixed-size record field: up to its terminator, and never
// past the field, which it may fill unterminated.
template <std::size_t N>
std::string_view field_text(const char (&field)[N]) {
  std::size_t length = 0;
  while (length < N && field[length] != '\0') ++length;
  return {field, length};
}

}  // namespace kestra::canvas
