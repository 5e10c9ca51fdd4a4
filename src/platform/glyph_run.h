// The glyphs of a text argument, in the reading of the thread's text mode:
// one byte each in the font's code page, or one character each in UTF-8.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/font_face.h"

namespace kestra::platform {

// The code point at the front of non-empty `text` and its length in bytes.
// A malformed or cut sequence reads as U+FFFD and one byte.
struct CodePoint {
  char32_t value;
  std::size_t length;
};
CodePoint next_code_point(std::string_view text);

// A view of a text as glyphs; the face and the text must outlive it. It
// stores nothing, so measuring needs no memory beyond the face's caches.
class GlyphRun {
 public:
  // `underlined` is a byte index of text, or -1: the glyph its character
  // makes is the underlined one.
  GlyphRun(const FontFace& face, std::string_view text, int underlined = -1);

  // Calls visit(glyph, underlined) for each glyph in order until it returns false.
  template <class Visit>
  void for_each(Visit visit) const {
    for_each_character([&](char32_t, const Glyph& glyph, bool underlined) {
      return visit(glyph, underlined);
    });
  }

  // The same with the character each glyph draws: visit(character, glyph, underlined).
  template <class Visit>
  void for_each_character(Visit visit) const {
    const auto marked = static_cast<std::size_t>(underlined_);
    for (std::size_t at = 0; at < text_.size();) {
      const auto byte = static_cast<unsigned char>(text_[at]);
      const CodePoint point = utf8_ ? next_code_point(text_.substr(at))
                                    : CodePoint{face_.code_page_character(byte), 1};
      const Glyph& glyph = utf8_ ? face_.character_glyph(point.value) : face_.glyph(byte);
      if (!visit(point.value, glyph, underlined_ >= 0 && at <= marked && marked < at + point.length)) {
        return;
      }
      at += point.length;
    }
  }

  bool has_underline() const { return underlined_ >= 0; }

 private:
  const FontFace& face_;
  std::string_view text_;
  int underlined_;
  bool utf8_;
};

}  // namespace kestra::platform
