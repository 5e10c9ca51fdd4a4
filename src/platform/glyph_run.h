// The glyphs of a text argument, in the reading of the thread's text mode:
// one byte each in the font's code page, or one character each in UTF-8.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/font_face.h"

namespace kestra::platform {

struct GlyphRun {
  std::vector<const Glyph*> glyphs;  // owned by the face, which outlives the run
  int underlined = -1;               // index into glyphs, or -1
};

// The code point at the front of non-empty `text` and its length in bytes.
// A malformed or cut sequence reads as U+FFFD and one byte.
struct CodePoint {
  char32_t value;
  std::size_t length;
};
CodePoint next_code_point(std::string_view text);

// The glyphs of `text`; `underlined` is a byte index of text (or -1) and
// becomes the index of the glyph its character makes.
GlyphRun glyph_run(const FontFace& face, std::string_view text, int underlined = -1);

}  // namespace kestra::platform
