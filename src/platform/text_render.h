// Measuring and painting one line of text with a sized face: what TextOutA
// and DrawTextA share.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "platform/font_face.h"
#include "platform/gdi_objects.h"
#include "platform/glyph_run.h"

namespace kestra::platform {

// Text positions are 64-bit so that sums of far-out coordinates and long
// texts cannot overflow.
using Coord = std::int64_t;

// Pixels that may change, columns left..right-1 and rows top..bottom-1.
struct ClipBox {
  Coord left, top, right, bottom;
};
constexpr ClipBox unclipped{std::numeric_limits<std::int32_t>::min(),
                            std::numeric_limits<std::int32_t>::min(),
                            std::numeric_limits<std::int32_t>::max(),
                            std::numeric_limits<std::int32_t>::max()};

struct TextStyle {
  COLORREF text_color;
  COLORREF bk_color;
  bool opaque;  // fill the text's cell with bk_color first
};

// Sum of the advance widths, without kerning, as GetTextExtentPoint32A.
Coord text_width(const GlyphRun& run);

// Text as DrawTextA shows it without DT_NOPREFIX: a single '&' is dropped
// and marks the next character for underlining (the last mark wins), "&&"
// shows one '&', and a trailing '&' shows as itself.
struct PrefixedText {
  std::string text;
  int underlined = -1;  // index into text, or -1
};
PrefixedText strip_prefixes(std::string_view text);

// Paints the run with the cell's top-left corner at (x, y): the opaque cell
// first, then the glyphs on the baseline y + tmAscent of the face, then the
// underline of the run's underlined glyph. Nothing outside clip changes.
void paint_text(Bitmap& bitmap, const FontFace& face, Coord x, Coord y, const GlyphRun& run,
                const TextStyle& style, ClipBox clip);

}  // namespace kestra::platform
