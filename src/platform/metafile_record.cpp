// What a recording device context keeps of each drawing call: lines,
// rectangles and pixels with the pen, brush and background state GDI draws
// them with, and texts with the font, layout, colours and clip the layer
// computed for them.
#include <algorithm>

#include "platform/dashes.h"
#include "platform/font_face.h"
#include "platform/no_throw.h"
#include "platform/glyph_run.h"
#include "platform/recording.h"

namespace kestra::platform {
namespace {

// The pen part of a style. Styled cosmetic pens paint their gaps in
// OPAQUE mode with the background colour of the call; wide pens are solid.
RecordedStyle pen_style_of(const DeviceContext& dc) {
  RecordedStyle style;
  if (!dc.pen) {
    style.pen_style = PS_NULL;
    return style;
  }
  style.pen_style = dc.pen->style;
  style.pen_width = dc.pen->width;
  style.pen_color = dc.pen->color;
  const bool cosmetic = dc.pen->width < 2;
  if (cosmetic && dash_pattern_of(dc.pen->style) && dc.bk_mode == OPAQUE)
    style.pen_gaps = dc.bk_color;
  return style;
}

// A hatch brush keeps the background mode and colour of its first fill
// after selection until it is selected again, as brush_fill.cpp paints it.
void latch_hatch_gaps(DeviceContext& dc) {
  if (dc.brush_gaps_latched) return;
  dc.brush_gaps_latched = true;
  dc.latched_bk_mode = dc.bk_mode;
  dc.latched_bk_color = dc.bk_color;
}

void add_utf8(std::string& out, char32_t c) {
  if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) c = 0xFFFD;  // no character
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::int32_t clamp32(Coord v) {
  return static_cast<std::int32_t>(std::clamp<Coord>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

std::uint32_t Recording::style_index(const RecordedStyle& style) {
  // Consecutive calls mostly share their style: look back a little.
  const std::size_t count = styles.size();
  for (std::size_t back = 0; back < std::min<std::size_t>(count, 8); ++back) {
    if (styles[count - 1 - back] == style) return static_cast<std::uint32_t>(count - 1 - back);
  }
  styles.push_back(style);
  return static_cast<std::uint32_t>(count);
}

std::size_t Recording::font_index(const FontFace& face) {
  for (std::size_t i = fonts.size(); i-- > 0;) {
    const RecordedFont& font = fonts[i];
    if (font.ppem == face.ppem() && font.file_index == face.file_index() && font.file == face.file() &&
        font.metrics.tmHeight == face.metrics().tmHeight &&
        font.metrics.tmAscent == face.metrics().tmAscent &&
        font.metrics.tmWeight == face.metrics().tmWeight && font.family == face.family()) {
      return i;
    }
  }
  fonts.push_back({face.family(), face.file(), face.file_index(), face.ppem(), face.metrics()});
  return fonts.size() - 1;
}

BOOL record_line_to(DeviceContext& dc, POINT to) {
  return or_failure<BOOL>(FALSE, [&]() -> BOOL {
    Recording& recording = *dc.recording;
    const POINT from = dc.position;
    dc.position = to;
    const RecordedStyle style = pen_style_of(dc);
    if (style.pen_style == PS_NULL) return TRUE;
    recording.ops.push_back(
        {RecordedKind::line, recording.style_index(style), from.x, from.y, to.x, to.y});
    return TRUE;
  });
}

BOOL record_rectangle(DeviceContext& dc, int left, int top, int right, int bottom) {
  return or_failure<BOOL>(FALSE, [&]() -> BOOL {
    const RECT box{std::min(left, right), std::min(top, bottom), std::max(left, right),
                   std::max(top, bottom)};
    if (box.left == box.right || box.top == box.bottom) return TRUE;  // nothing, not even a latch
    RecordedStyle style = pen_style_of(dc);
    if (dc.brush) {
      style.fill = dc.brush->fill;
      style.brush_color = dc.brush->color;
      if (style.fill == Brush::Fill::hatch) {
        style.hatch = dc.brush->hatch;
        // The fill area as rectangle.cpp takes it: inside the outline, or
        // from the corner without one. An empty area is no first use.
        const int inset = style.pen_style == PS_NULL ? 0 : 1;
        if (box.left + inset < box.right - 1 && box.top + inset < box.bottom - 1) {
          latch_hatch_gaps(dc);
          if (dc.latched_bk_mode == OPAQUE) style.hatch_gaps = dc.latched_bk_color;
        }
      }
    }
    Recording& recording = *dc.recording;
    recording.ops.push_back({RecordedKind::rectangle, recording.style_index(style), box.left,
                             box.top, box.right, box.bottom});
    return TRUE;
  });
}

COLORREF record_pixel(DeviceContext& dc, int x, int y, COLORREF color) {
  return or_failure<COLORREF>(CLR_INVALID, [&]() -> COLORREF {
    color &= 0xFFFFFF;
    dc.recording->ops.push_back({RecordedKind::pixel, color, x, y, 0, 0});
    return color;
  });
}

void record_text(DeviceContext& dc, const FontFace& face, Coord x, Coord y, std::string_view text,
                 std::optional<ClipBox> clip, int underlined, UINT align) {
  if (text.empty()) return;  // paints nothing, not even an opaque cell
  Recording& recording = *dc.recording;
  RecordedText recorded;
  recorded.x = x;
  recorded.y = y;
  recorded.width = text_width(GlyphRun(face, text));
  recorded.font = recording.font_index(face);
  recorded.color = dc.text_color;
  if (dc.bk_mode == OPAQUE) recorded.background = dc.bk_color;
  recorded.clip = clip;
  int underline_advance = 0;
  GlyphRun(face, text, underlined).for_each_character([&](char32_t c, const Glyph& glyph, bool marked) {
    add_utf8(recorded.utf8, c);
    recorded.advances.push_back(glyph.pen_advance);
    if (marked) underline_advance = glyph.advance;
    return true;
  });
  if (underlined >= 0 && static_cast<std::size_t>(underlined) < text.size()) {
    // As text_render.cpp draws it: a row under the baseline, the
    // character's measured advance less one pixel wide.
    const Coord left =
        x + text_width(GlyphRun(face, text.substr(0, static_cast<std::size_t>(underlined))));
    const Coord baseline = y + face.metrics().tmAscent;
    recorded.underline = ClipBox{left, baseline + 1, left + underline_advance - 1, baseline + 2};
  }
  recorded.align = align & (DT_CENTER | DT_RIGHT);
  recording.texts.push_back(std::move(recorded));
  recording.ops.push_back({RecordedKind::text, static_cast<std::uint32_t>(recording.texts.size() - 1),
                           clamp32(x), clamp32(y), 0, 0});
}

}  // namespace kestra::platform
