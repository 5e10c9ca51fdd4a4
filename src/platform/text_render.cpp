// Measuring, prefix handling and painting of one line of text: the opaque
// cell, the glyphs blended by GDI's coverage levels, and the prefix underline.
#include "platform/text_render.h"

#include <algorithm>
#include <array>

namespace kestra::platform {
namespace {

// The value a channel takes at each coverage level when it moves all the way
// from 0 to 255 (white text on black), measured on GDI. The blend is not
// linear: a channel falling from 255 to 0 reaches 255 - level_reach[16 - level].
constexpr std::array<int, full_coverage + 1> level_reach = {
    0, 77, 104, 124, 140, 154, 167, 178, 189, 199, 208, 217, 225, 233, 240, 248, 255};

// Levels below this leave the pixel untouched.
constexpr int first_visible_level = 2;

// One channel of a destination pixel moved towards the text colour by a
// coverage level: the whole range between the channel's value and the text
// value is scaled so that 0 (or 255) would land on the measured reach.
int blend_channel(int destination, int text, int level) {
  if (destination == text) return destination;
  if (destination < text) {
    const int reach = level_reach[level] * text / 255;
    return text - (text - destination) * (text - reach) / text;
  }
  const int rest = level_reach[full_coverage - level];
  const int reach = rest + (255 - rest) * text / 255;
  return text + (destination - text) * (reach - text) / (255 - text);
}

Pixel blend_pixel(Pixel destination, Pixel text, int level) {
  Pixel out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int channel = blend_channel(static_cast<int>((destination >> shift) & 0xFF),
                                      static_cast<int>((text >> shift) & 0xFF), level);
    out |= static_cast<Pixel>(channel) << shift;
  }
  return out;
}

ClipBox intersect(ClipBox a, ClipBox b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

// Fills a box already clipped to the bitmap; an empty box changes nothing.
void fill_box(Bitmap& bitmap, ClipBox box, Pixel color) {
  if (box.left >= box.right) return;
  for (Coord y = box.top; y < box.bottom; ++y) {
    Pixel* row = bitmap.row(static_cast<int>(y));
    std::fill(row + box.left, row + box.right, color);
  }
}

void draw_glyph(Bitmap& bitmap, const Glyph& glyph, Coord pen_x, Coord baseline, Pixel color,
                ClipBox clip) {
  const Coord left = pen_x + glyph.left, top = baseline - glyph.top;
  const ClipBox box = intersect(clip, {left, top, left + glyph.width, top + glyph.height});
  for (Coord y = box.top; y < box.bottom; ++y) {
    const std::uint8_t* levels = glyph.coverage.data() + static_cast<std::size_t>(y - top) * glyph.width;
    Pixel* row = bitmap.row(static_cast<int>(y));
    for (Coord x = box.left; x < box.right; ++x) {
      const int level = levels[x - left];
      if (level >= full_coverage) {
        row[x] = color;
      } else if (level >= first_visible_level) {
        row[x] = blend_pixel(row[x], color, level);
      }
    }
  }
}

}  // namespace

Coord text_width(const GlyphRun& run) {
  Coord width = 0;
  run.for_each([&width](const Glyph& glyph, bool) {
    width += glyph.advance;
    return true;
  });
  return width;
}

PrefixedText strip_prefixes(std::string_view text) {
  PrefixedText out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != '&') out.underlined = static_cast<int>(out.text.size());
    }
    out.text += text[i];
  }
  return out;
}

namespace {

// The prefix underline: one row below the baseline under the measured
// position of the character, its measured advance less one pixel wide.
void draw_underline(Bitmap& bitmap, Coord x, Coord baseline, const GlyphRun& run, Pixel color,
                    ClipBox clip) {
  Coord left = x;
  int advance = -1;
  run.for_each([&](const Glyph& glyph, bool underlined) {
    if (underlined) advance = glyph.advance;
    else left += glyph.advance;
    return !underlined;
  });
  if (advance < 0) return;  // the mark was on the text's last byte, dropped
  fill_box(bitmap, intersect(clip, {left, baseline + 1, left + advance - 1, baseline + 2}), color);
}

}  // namespace

void paint_text(Bitmap& bitmap, const FontFace& face, Coord x, Coord y, const GlyphRun& run,
                const TextStyle& style, ClipBox clip) {
  clip = intersect(clip, {0, 0, bitmap.width, bitmap.height});
  if (clip.left >= clip.right || clip.top >= clip.bottom) return;
  const TEXTMETRICA& metrics = face.metrics();
  if (style.opaque) {
    const ClipBox cell{x, y, x + text_width(run), y + metrics.tmHeight};
    fill_box(bitmap, intersect(clip, cell), to_pixel(style.bk_color));
  }
  const Pixel color = to_pixel(style.text_color);
  const Coord baseline = y + metrics.tmAscent;
  Coord pen_x = x;
  run.for_each([&](const Glyph& glyph, bool) {
    if (pen_x - face.ppem() >= clip.right) return false;
    draw_glyph(bitmap, glyph, pen_x, baseline, color, clip);
    pen_x += glyph.pen_advance;
    return true;
  });
  if (run.has_underline()) draw_underline(bitmap, x, baseline, run, color, clip);
}

}  // namespace kestra::platform
